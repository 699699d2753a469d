#pragma once

#include "search/NameSearch.h"

#include "register/RepeatGuard.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace velmor {

struct AppContext;
namespace grid {
class StandardGrid;
}

// "Cautare dupa nume": finds a household of the working year by one of its members (name, personal
// code, company, street, number, locality of stable domicile, heads only) and hands the chosen one
// back. The rows and the matching are NameSearch's; the window only shows them.
class TForm33 : public QDialog {
    Q_OBJECT
public:
    explicit TForm33(AppContext& ctx, QWidget* parent = nullptr);
    ~TForm33() override;

    search::NameSearch& logic() { return m_logic; }

    // Shows the window modally over the members of `village` ("TOATE": every village); returns the
    // chosen household's code, or -1 when nothing was chosen. The rows stay loaded and the chosen
    // one current until close().
    qint64 Cautare(const QString& village);
    // The size that shows every column of the loaded rows, the address columns included, within
    // `available` (the screen's free area).
    QSize preferredSize(const QSize& available) const;
    // Cautare without the modal loop: loads the rows, clears the fields and shows the window.
    void Pregateste(const QString& village);
    // Cautare for the household register editor: the chosen household's place, the rows closed
    // again; nullopt when nothing was chosen.
    std::optional<HouseholdPlace> Alege(const QString& village);

    // Empties every entry field (the heads-only box keeps its state) and fills the street and
    // locality lists again, without rebuilding the filter in between.
    void CurataCampurile();
    // Rebuilds the criteria from the entry fields.
    void Filtreaza();
    // "&Am ales".
    void B11Click();

    qint64 result() const { return m_result; }

    // ---- controls ----
    QLabel* LabelSat() const { return m_village; }
    grid::StandardGrid* Grid() const { return m_grid; }
    QLineEdit* Edit1() const { return m_name; }
    QLineEdit* CNPE() const { return m_cnp; }
    QComboBox* Denumire() const { return m_company; }
    QComboBox* StradaE() const { return m_street; }
    QLineEdit* NrE() const { return m_number; }
    QComboBox* Loc() const { return m_domicile; }
    QCheckBox* CheckBox1() const { return m_headsOnly; }
    QPushButton* B11() const { return m_choose; }
    QPushButton* GlyphButton1() const { return m_cancel; }
    QStatusBar* statusBar() const { return m_status; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillList(QComboBox* combo, QStringList values, bool withEmpty);
    void showCurrent(int row);
    void upperCaseWhileTyping(QLineEdit* edit);

    AppContext& m_ctx;
    search::NameSearch m_logic;
    qint64 m_result = -1;
    bool m_clearing = false;
    bool m_syncingGrid = false;
    RepeatGuard m_filterGuard;

    QLabel* m_village = nullptr;
    grid::StandardGrid* m_grid = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_cnp = nullptr;
    QComboBox* m_company = nullptr;
    QComboBox* m_street = nullptr;
    QLineEdit* m_number = nullptr;
    QComboBox* m_domicile = nullptr;
    QCheckBox* m_headsOnly = nullptr;
    QPushButton* m_choose = nullptr;
    QPushButton* m_cancel = nullptr;
    QStatusBar* m_status = nullptr;
};

}
