#pragma once

#include "register/EditorPageHooks.h"
#include "register/RepeatGuard.h"

#include "data/dbf/DbfValue.h"
#include "grid/ClientFilterProxy.h"
#include "grid/QueryTableModel.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace velmor {

struct AppContext;

namespace engine {
class Query;
struct ResultSet;
}

// The logic of the household register editor TForm6: the household list of the working year
// (QTitular) with its village/type filter and position/volume locate, the year take-over offered
// for an empty year, the current household and the navigator, the lines of the scrolling member
// label and the state of the fourteen pages. Talks to the user only through the context's
// interaction seam, so tests drive it without a window.
class HouseholdEditor : public QObject {
    Q_OBJECT
public:
    static constexpr int PageCount = 14;
    // Page number = button number - 1.
    static constexpr int ListPage = 0;
    static constexpr int IdentificationPage = 1;

    // The "LOCALITATEA" choice meaning every village.
    static QString allVillages() { return QStringLiteral("TOATE"); }

    // Captions of the page buttons But1..But14, in order.
    static QStringList pageCaptions();

    // What the list page's fields choose: village ("TOATE" for every village), register type
    // "1".."4", position and volume to locate (0: none).
    struct ListChoice {
        QString village = allVillages();
        QString type = QStringLiteral("1");
        qint64 position = 0;
        qint64 volume = 0;
    };

    enum class Move { First, Prior, Next, Last };

    explicit HouseholdEditor(AppContext& ctx, QObject* parent = nullptr);
    ~HouseholdEditor() override;

    AppContext& context() { return m_ctx; }

    // ---- the household list ----
    // The list query (over the context's engine, made at first use).
    engine::Query& QTitular();
    // The grid's rows: every row of the list query plus ADRESA, and the filter the query has.
    grid::QueryTableModel& listModel() { return m_model; }
    grid::ClientFilterProxy& listProxy() { return m_proxy; }

    // Loads the working year's households. When the year has none, the program is unlocked and
    // the year is later than the latest year with households, offers the year take-over; after
    // the take-over (done or failed) throws data::ProgramTermination.
    void IncarcaQuery();

    // The filter text of a choice: "(TIPRA=type)", with " AND (LOCALIT='village')" unless the
    // village is "TOATE".
    static QString filterFor(const QString& village, const QString& type);

    const ListChoice& choice() const { return m_choice; }
    void setChoice(const ListChoice& choice) { m_choice = choice; }
    // Applies the choice's filter to the list and locates its position and/or volume (a failed
    // locate keeps the current household). Guarded against re-entry: a call during a run makes
    // the run repeat once at its end.
    void applyPositionChoice();
    // Households passing the filter ("Gospodarii afisate:").
    int shownCount() const;
    bool isListEmpty() const { return shownCount() == 0; }

    // ---- the current household ----
    bool hasCurrent() const;
    // Row of the current household among the filtered rows; -1 when there is none.
    int currentRow() const;
    qint64 currentCodid() const;
    // A field of the current household; null without one.
    dbf::Value currentValue(const QString& field) const;
    // The navigator's moves and a row chosen in the grid. On pages 2 to 13 the shown page is
    // left (StopCap) before and loaded (IncarcaPagina) after the move.
    void move(Move where);
    void moveToRow(int row);

    // Lines of the scrolling member label for the current household: the legal person's name
    // between two pairs of grave accents when the chosen type is "3" or "4", then the members'
    // names (NUMEP, ordered by COD, NUMEP) or " ***  fara membri  ***". Empty without a current
    // household.
    QStringList memberLines();

    // ---- pages ----
    // The hooks of page 1..13 (not owned; null: a page that does nothing).
    void setPageHooks(int page, EditorPageHooks* hooks);
    int currentPage() const { return m_page; }
    // The page button that is down, 1..14; 0 when none is.
    int pressedButton() const { return m_pressed; }
    // A page button was pressed: with an empty list it pops up again and nothing else happens;
    // otherwise the shown page is left (StopCap), only `button` stays down, page button - 1 is
    // shown and loaded (IncarcaPagina). Ignored while a page change runs.
    void pressPageButton(int button);

    // Deschide step 6: the pages prepare for the working year.
    void editorOpened();
    // The unlocked state for every page.
    void applyUnlocked(bool unlocked);
    // Deschide step 10: the shown page is left, every page and the list query are closed, the
    // list page becomes the shown page and no button is down.
    void editorClosed();

    // The working year's text and whether the program is unlocked.
    QString year() const;
    bool unlocked() const;

    // A list-page function whose window this version does not have yet.
    void notAvailable(const QString& name);

    // ---- after a change of the households ----
    // Closes the list query (its rows stay in the grid until it is opened again).
    void closeList();
    // Opens the working year's list again (never offering the take-over), applies the filter of
    // the current choice and makes the household `codid` current when it passes the filter.
    void reopenList(qint64 codid = 0);
    // Forgets the choice's position and volume to locate (the list page empties its fields).
    void clearLocate();
    // Hides or shows the navigator while a household's data are edited.
    void setNavigatorShown(bool shown) { emit navigatorShown(shown); }
    // Tells the frame that the current household's members changed.
    void notifyMembersChanged() { emit membersChanged(); }

signals:
    // The list was loaded again (rows and columns of the grid changed).
    void listLoaded();
    // The filter or the located household changed (refresh the grid and the count).
    void filterApplied();
    // Another household is current (or none is).
    void currentChanged();
    // Another page is shown or another button is down.
    void pageChanged(int page);
    void pressedChanged(int button);
    // The navigator is hidden while a page edits the current household, shown again after.
    void navigatorShown(bool shown);
    // The choice's position and volume were forgotten (empty the list page's fields).
    void locateCleared();
    // The current household's members changed (rebuild the member label).
    void membersChanged();

private:
    // The list filtered to the chosen village and register type (query and grid view).
    engine::Query& filterToChoice();
    EditorPageHooks* hooks(int page) const;
    bool pageLoadsHousehold() const { return m_page >= 2; }
    void loadModel();
    void openListStatement();
    void locateChoice();
    void setPage(int page);
    void setPressed(int button);
    void runTakeover(const QString& year);

    AppContext& m_ctx;
    std::unique_ptr<engine::Query> m_titular;
    void* m_titularEngine = nullptr;
    grid::QueryTableModel m_model;
    grid::ClientFilterProxy m_proxy;
    ListChoice m_choice;
    RepeatGuard m_filterGuard;
    bool m_pageChanging = false;
    std::array<EditorPageHooks*, PageCount> m_hooks {};
    int m_page = ListPage;
    int m_pressed = 0;
};

// The address of every row of an Identificare result, added as the text column ADRESA.
engine::ResultSet withAddresses(const engine::ResultSet& households);

}
