#pragma once

#include <QDialog>

class QPushButton;
class QStatusBar;

namespace velmor {

struct AppContext;

// "Salvare - Incarcare": saves the data directory into a ".kt" archive and restores it from one.
// A restore asks for the program to end: programEndRequested() is emitted,
// isProgramEndRequested() turns true and Deschide() throws data::ProgramTermination once the
// window is closed; the caller that owns the run ends it.
class TForm21 : public QDialog {
    Q_OBJECT
public:
    explicit TForm21(AppContext& ctx, QWidget* parent = nullptr);

    // Shows the window modally. Throws data::ProgramTermination when the program must end.
    void Deschide();
    // The automatic backup when the main window closes, with its end message.
    void SalvareAutomata(const QString& archivePath);

    bool isProgramEndRequested() const { return m_endRequested; }

    QPushButton* BitBtn1() const { return m_bitBtn1; }
    QPushButton* BitBtn2() const { return m_bitBtn2; }
    QStatusBar* statusBar() const { return m_status; }

public slots:
    void BitBtn1Click();
    void BitBtn2Click();

signals:
    void programEndRequested();

private:
    AppContext& m_ctx;
    QPushButton* m_bitBtn1 = nullptr;
    QPushButton* m_bitBtn2 = nullptr;
    QStatusBar* m_status = nullptr;
    bool m_endRequested = false;
};

}
