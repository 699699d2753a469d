#pragma once

#include "app/StartupSequence.h"
#include "services/AppContext.h"

#include <QObject>
#include <QString>

#include <memory>

namespace velmor {

class Interaction;
class RegistryStore;
class TContor;
class TErori;
class TForm1;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm21;
class TForm33;
class TForm34;
class TForm39;
namespace search {
class TForm8;
}
class TTarlaC;
namespace reports {
class TForm7;
class TRecensamantF;
}
class TFTarife;

// The program of one run: the context, every window created once, the start-up sequence and the
// hand-over to the main window.
class ProgramShell : public QObject {
    Q_OBJECT
public:
    // `registry` and `interaction` replace the real ones (tests, screenshots); the shell does not
    // own them. With none given it uses the user's registry store and the desktop dialogs.
    explicit ProgramShell(const QString& programHome, RegistryStore* registry = nullptr,
                          Interaction* interaction = nullptr);
    ~ProgramShell() override;

    AppContext& context() { return m_ctx; }
    const QString& programHome() const { return m_home; }

    // Step 4 of the program entry: every window, each once, in order.
    void createWindows();
    // Copies the delivered models into the program home when they are missing; returns the files
    // written.
    QStringList installDeliveredModels();

    // Shows the splash; its timer runs the start-up sequence and then hands over.
    void start();
    // The start-up sequence right now (steps 1 to 19), without the splash's timer.
    StartupSequence::Result runStartup();
    // Step 20: hides the splash and shows the main window.
    void handOver();
    // Brings the running window to the front (a second copy asked for it).
    void activate();

    TForm1* form1() const { return m_form1.get(); }
    TForm3* form3() const { return m_form3.get(); }
    TErori* erori() const { return m_erori.get(); }
    TContor* contor() const { return m_contor.get(); }
    TForm4* form4() const { return m_form4.get(); }
    TForm5* form5() const { return m_form5.get(); }
    TForm6* form6() const { return m_form6.get(); }
    TForm21* form21() const { return m_form21.get(); }
    TForm33* form33() const { return m_form33.get(); }
    TForm34* form34() const { return m_form34.get(); }
    TForm39* form39() const { return m_form39.get(); }
    search::TForm8* form8() const { return m_form8.get(); }
    reports::TForm7* form7() const { return m_form7.get(); }
    reports::TRecensamantF* recensamant() const { return m_recensamant.get(); }
    TTarlaC* tarlaC() const { return m_tarlaC.get(); }
    TFTarife* tarife() const { return m_tarife.get(); }

    StartupSequence* sequence() const { return m_sequence.get(); }

signals:
    // The program ends with this exit code (main window closed, or start-up could not go on).
    void finished(int exitCode);

private:
    StartupSequence::Hooks makeHooks();
    void wireMainWindow();
    // "R.AGR.2" of the reports menu: the header dialog, then the filled form opened.
    void exportRAgr2();

    // Declared in the order they are needed; destroyed windows first, the engine after them.
    QString m_home;
    AppContext m_ctx;
    std::unique_ptr<RegistryStore> m_ownRegistry;
    std::unique_ptr<TErori> m_erori;
    std::unique_ptr<TContor> m_contor;
    std::unique_ptr<Interaction> m_ownInteraction;
    std::unique_ptr<StartupSequence> m_sequence;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm3> m_form3;
    std::unique_ptr<TForm4> m_form4;
    std::unique_ptr<TForm5> m_form5;
    std::unique_ptr<TForm6> m_form6;
    std::unique_ptr<TForm21> m_form21;
    std::unique_ptr<TForm33> m_form33;
    std::unique_ptr<TForm34> m_form34;
    std::unique_ptr<TForm39> m_form39;
    std::unique_ptr<search::TForm8> m_form8;
    std::unique_ptr<reports::TForm7> m_form7;
    std::unique_ptr<reports::TRecensamantF> m_recensamant;
    std::unique_ptr<TTarlaC> m_tarlaC;
    std::unique_ptr<TFTarife> m_tarife;
};

}
