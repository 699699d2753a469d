#pragma once

#include "register/HouseholdEditor.h"
#include "register/HouseholdPlace.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;
class QStatusBar;
class QToolButton;

namespace velmor {

struct AppContext;
class EditorPage;
class HouseholdPositions;
class PlaceDialogs;
class ScrollingLabel;
class TNumericF;
namespace grid {
class StandardGrid;
}

// The household register editor: the list of the working year's households and, on pages 1 to
// 13, the current household's identification, members, chapters and plots. The header shows the
// current household's place, the navigator and the scrolling member label; a column of fourteen
// page buttons chooses the page. The algorithms are HouseholdEditor's; the window only shows them.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(AppContext& ctx, QWidget* parent = nullptr);
    ~TForm6() override;

    HouseholdEditor& logic() { return m_logic; }

    // Prepares the editor for the working year and shows it modally; returns when it is closed.
    // Throws data::ProgramTermination after a year take-over.
    void Deschide();
    // Deschide without the modal loop: prepares and shows the list page (steps 1 to 9).
    void Pregateste();
    // What closing does (step 10): every page and query closed, back to page 0.
    void Inchide();

    // The change handler of "LOCALITATEA", "TIP", "Pozitia" and "Volumul".
    void PozitiaChange();
    // Rebuilds the scrolling member label for the current household.
    void AfiseazaMembri();
    // The handler of the page buttons (1..14). The page's grid (or first field) takes the
    // keyboard, so what is typed next reaches it.
    void ButClick(int button);

    // The registry value holding the editor's size on this computer ("width,height").
    static constexpr const char* SizeValue = "MarimeEvidente";
    // The size that shows chapter 2's columns and the plots' grid up to their area whole, within
    // `available` (the screen's free area).
    QSize preferredSize(const QSize& available) const;
    // Sizes the window as it was last left on this computer, else at the preferred size; within
    // the screen.
    void restoreSize();
    // Remembers the window's size in the registry store.
    void rememberSize();

    // The search by name behind "&Cautare dupa nume": shown over the village selector's text, it
    // returns the chosen household's place (nullopt: none chosen). Without one the button says the
    // function is not available.
    using SearchByName = std::function<std::optional<HouseholdPlace>(const QString& village)>;
    void setSearchByName(SearchByName search) { m_searchByName = std::move(search); }
    // The certificate window behind "&Listeaza adeverinta", for the current household's CODID.
    void setCertificate(std::function<void(qint64 household)> open) { m_certificateWindow = std::move(open); }
    // Shows a household's place on the list: register type and village chosen (a village not in
    // the list leaves the selector empty, a type not in it keeps the type), position and volume
    // written, then the list filtered and the household located once.
    void showPlace(const HouseholdPlace& place);

    // Page 1..13 is replaced by `page` (the window takes it; its hooks are the page's).
    void setPage(int number, EditorPage* page);
    EditorPage* page(int number) const;

    // ---- controls ----
    QPushButton* But(int n) const { return m_buttons[size_t(n - 1)]; }
    QStackedWidget* Pages() const { return m_pages; }
    QLabel* Titlu() const { return m_title; }
    QLabel* Localitate() const { return m_village; }
    QLabel* Pozitie() const { return m_position; }
    QLabel* Volum() const { return m_volume; }
    QToolButton* Navigator(HouseholdEditor::Move move) const { return m_navigator[size_t(move)]; }
    QWidget* NavigatorPanel() const { return m_navigatorPanel; }
    ScrollingLabel* Membri() const { return m_members; }
    QStatusBar* statusBar() const { return m_status; }

    grid::StandardGrid* Grid() const { return m_grid; }
    QComboBox* Localitatea() const { return m_villages; }
    QComboBox* Tip() const { return m_type; }
    TNumericF* Pozitia() const { return m_positionField; }
    TNumericF* Volumul() const { return m_volumeField; }
    QLabel* Afisate() const { return m_shown; }
    QPushButton* Adauga() const { return m_add; }
    QPushButton* Modifica() const { return m_modify; }
    QPushButton* Sterge() const { return m_delete; }
    QPushButton* Insereaza() const { return m_insert; }
    QPushButton* Cautare() const { return m_search; }
    QPushButton* Adeverinta() const { return m_certificate; }
    QPushButton* Exporta() const { return m_export; }

    // The position operations of the list page and their dialogs.
    HouseholdPositions& positions() { return *m_positionsLogic; }
    PlaceDialogs& placeDialogs() { return *m_placeDialogs; }

public slots:
    void AdaugaClick();
    void InsereazaClick();
    void ModificaClick();
    void StergeClick();
    void CautareClick();
    void AdeverintaClick();
    void ExportaClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildListPage();
    void readChoice();
    void showCurrent();
    void showList();
    void showPressed(int button);
    void selectCurrentRow();
    void navigate(HouseholdEditor::Move move);
    void applyUnlocked();
    void runSafely(const std::function<void()>& action);
    void runPositionOperation(const std::function<void()>& operation);
    void focusCurrentPage();

    AppContext& m_ctx;
    HouseholdEditor m_logic;

    QLabel* m_title = nullptr;
    QLabel* m_village = nullptr;
    QLabel* m_position = nullptr;
    QLabel* m_volume = nullptr;
    QWidget* m_navigatorPanel = nullptr;
    std::array<QToolButton*, 4> m_navigator {};
    ScrollingLabel* m_members = nullptr;
    std::array<QPushButton*, HouseholdEditor::PageCount> m_buttons {};
    QWidget* m_buttonColumn = nullptr;
    QStackedWidget* m_pages = nullptr;
    std::array<EditorPage*, HouseholdEditor::PageCount> m_pageWidgets {};
    QStatusBar* m_status = nullptr;

    grid::StandardGrid* m_grid = nullptr;
    QComboBox* m_villages = nullptr;
    QComboBox* m_type = nullptr;
    TNumericF* m_positionField = nullptr;
    TNumericF* m_volumeField = nullptr;
    QLabel* m_shown = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_modify = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_insert = nullptr;
    QPushButton* m_search = nullptr;
    QPushButton* m_certificate = nullptr;
    QPushButton* m_export = nullptr;

    SearchByName m_searchByName;
    std::function<void(qint64)> m_certificateWindow;
    std::unique_ptr<PlaceDialogs> m_placeDialogs;
    std::unique_ptr<HouseholdPositions> m_positionsLogic;

    bool m_handlersAttached = false;
    bool m_syncingGrid = false;
    bool m_membersSuspended = false;
    RepeatGuard m_membersGuard;
};

}
