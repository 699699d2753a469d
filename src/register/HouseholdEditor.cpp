#include "register/HouseholdEditor.h"

#include "data/dbf/ValueConversions.h"
#include "register/HouseholdAddress.h"
#include "register/YearTakeover.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "core/Paths.h"
#include "data/Schema.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "services/AppContext.h"

#include <cstdlib>

namespace velmor {

using engine::quotedPath;

QStringList HouseholdEditor::pageCaptions()
{
    return {
        QStringLiteral("Titulari"),
        QStringLiteral("Date de identificare"),
        QStringLiteral("1. Componenta gospodariei"),
        QStringLiteral("2. Terenuri in proprietate"),
        QStringLiteral("3. Modul de utilizare a suprafetei"),
        QStringLiteral("4. Suprafata arabila cultivata"),
        QStringLiteral("5. Pomi fructiferi"),
        QStringLiteral("6. Suprafete amenajate pentru irigat"),
        QStringLiteral("7. Animale domestice la inceput de an"),
        QStringLiteral("8. Evolutia efectivelor de animale"),
        QStringLiteral("9. Utilaje, instalatii agricole"),
        QStringLiteral("10.Constructii pe raza localitatii"),
        QStringLiteral("     Mentiuni speciale"),
        QStringLiteral("2b Identificarea pe parcele"),
    };
}

engine::ResultSet withAddresses(const engine::ResultSet& households)
{
    engine::ResultSet rows = households;
    rows.fields.append(engine::ResultField {QStringLiteral("ADRESA"), engine::FieldType::Text, AddressWidth, 0});
    for (size_t r = 0; r < rows.rows.size(); ++r) {
        const auto text = [&](const char* field) { return dbf::toText(households.value(r, field)); };
        AddressColumns columns;
        columns.TIPRA = dbf::toWhole(households.value(r, "TIPRA"));
        columns.STRADA = text("STRADA");
        columns.NR = text("NR");
        columns.JUDET = text("JUDET");
        columns.LOC = text("LOC");
        columns.STR2 = text("STR2");
        columns.NR2 = text("NR2");
        rows.rows[r].push_back(CalculeazaAdresa(columns));
    }
    return rows;
}

HouseholdEditor::HouseholdEditor(AppContext& ctx, QObject* parent)
    : QObject(parent)
    , m_ctx(ctx)
{
    m_proxy.setQueryModel(&m_model);
}

HouseholdEditor::~HouseholdEditor() = default;

QString HouseholdEditor::year() const
{
    return m_ctx.workingYear();
}

bool HouseholdEditor::unlocked() const
{
    return m_ctx.unlocked();
}

engine::Query& HouseholdEditor::QTitular()
{
    if (!m_titular || m_titularEngine != m_ctx.engine) {
        m_titular = std::make_unique<engine::Query>(*m_ctx.engine);
        m_titularEngine = m_ctx.engine;
    }
    return *m_titular;
}

// ---- the household list ----

void HouseholdEditor::IncarcaQuery()
{
    engine::Query& q = QTitular();
    openListStatement();
    loadModel();
    if (!q.isEmpty())
        return;

    // An empty year: the take-over is offered only in the unlocked state, and only for a year
    // later than the latest one with households; otherwise the list stays empty.
    if (!unlocked())
        return;
    const QString y = year();
    YearTakeover takeover(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.programDirectory, *m_ctx.settings,
                          *m_ctx.interaction);
    const QString latest = takeover.latestYear();
    if (latest.isEmpty() || !(y > latest))
        return;

    Interaction& ui = *m_ctx.interaction;
    if (ui.Mesaj(QStringLiteral("Gospodarii"),
                 QStringLiteral("In anul ") + y + QStringLiteral(" nu aveti nici o inregistrare !") + CR
                     + QStringLiteral("DORITI SA LE PREIAU DIN ANUL ") + latest + QStringLiteral(" ?"),
                 KindConfirmation, ButtonsDaNu)
        != ResultDa)
        return;
    if (ui.Mesaj(QStringLiteral("Gospodarii"),
                 QStringLiteral("Este recomandat sa salvati baza de date inainte de aceasta operatie!") + CR
                     + QStringLiteral("Doriti sa continuati?"),
                 KindWarning, ButtonsDaNu)
        != ResultDa)
        return;
    runTakeover(y);
}

void HouseholdEditor::openListStatement()
{
    engine::Query& q = QTitular();
    engine::QueryRst(q);
    q.add(QStringLiteral("SELECT *"));
    q.add(QStringLiteral("FROM ") + quotedPath(m_ctx.tablePath(QStringLiteral("IDENTIFICARE.DBF"))));
    q.add(QStringLiteral("WHERE ANUL=:ANUL"));
    q.add(QStringLiteral("ORDER BY LOCALIT,VOLUM,POZ"));
    q.bind(QStringLiteral("ANUL"), dbf::yearValue(year()));
    q.open();
}

void HouseholdEditor::closeList()
{
    if (m_titular)
        m_titular->close();
}

engine::Query& HouseholdEditor::filterToChoice()
{
    const QString filter = filterFor(m_choice.village, m_choice.type);
    engine::Query& q = QTitular();
    q.setFilter(filter);
    q.setFiltered(true);
    if (!m_model.fields().isEmpty())
        m_proxy.setFilterText(filter);
    return q;
}

void HouseholdEditor::reopenList(qint64 codid)
{
    openListStatement();
    loadModel();
    m_filterGuard.run([this, codid] {
        engine::Query& q = filterToChoice();
        if (codid > 0)
            q.locate({QStringLiteral("CODID")}, {dbf::Value(std::int64_t(codid))});
        emit filterApplied();
        emit currentChanged();
    });
}

void HouseholdEditor::clearLocate()
{
    m_choice.position = 0;
    m_choice.volume = 0;
    emit locateCleared();
}

void HouseholdEditor::runTakeover(const QString& targetYear)
{
    Interaction& ui = *m_ctx.interaction;
    QTitular().close();
    m_model.clear();
    emit listLoaded();
    YearTakeover takeover(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.programDirectory, *m_ctx.settings, ui);
    try {
        takeover.run(targetYear);
        ui.Mesaj(QStringLiteral("Copiere baza"),
                 QStringLiteral("Baza a fost copiata cu succes!") + CR + QStringLiteral("Porniti programul din nou!"),
                 KindWarning, ButtonsOk);
    } catch (const data::ProgramTermination&) {
        throw;
    } catch (const std::exception& error) {
        // TakeoverError says what failed and that the register is as it was.
        showError(ui, error);
    }
    // The take-over always ends the program; the next start rebuilds the indexes.
    throw data::ProgramTermination(QStringLiteral("Preluarea anului ") + targetYear + QStringLiteral(" s-a incheiat."));
}

void HouseholdEditor::loadModel()
{
    engine::Query& q = QTitular();
    m_model.load(withAddresses(q.result()));
    const QString filter = q.filtered() ? q.filter() : QString();
    m_proxy.setFilterText(filter);
    emit listLoaded();
    emit currentChanged();
}

QString HouseholdEditor::filterFor(const QString& village, const QString& type)
{
    QString text = QStringLiteral("(TIPRA=") + type + QLatin1Char(')');
    if (village != allVillages())
        text += QStringLiteral(" AND (LOCALIT=") + engine::filterText(village) + QLatin1Char(')');
    return text;
}

void HouseholdEditor::applyPositionChoice()
{
    m_filterGuard.run([this] {
        filterToChoice();
        locateChoice();
        emit filterApplied();
        emit currentChanged();
    });
}

void HouseholdEditor::locateChoice()
{
    engine::Query& q = QTitular();
    if (!q.active())
        return;
    const qint64 p = m_choice.position;
    const qint64 v = m_choice.volume;
    const dbf::Value position = std::int64_t(p);
    const dbf::Value volume = std::int64_t(v);
    if (p != 0 && v != 0)
        q.locate({QStringLiteral("POZ"), QStringLiteral("VOLUM")}, {position, volume});
    else if (p > 0)
        q.locate({QStringLiteral("POZ")}, {position});
    else if (v > 0)
        q.locate({QStringLiteral("VOLUM")}, {volume});
}

int HouseholdEditor::shownCount() const
{
    return m_titular && m_titular->active() ? m_titular->recordCount() : 0;
}

// ---- the current household ----

bool HouseholdEditor::hasCurrent() const
{
    // Past the last row the query stays on it (eof only says a move went past the end).
    return m_titular && m_titular->active() && !m_titular->isEmpty();
}

int HouseholdEditor::currentRow() const
{
    return hasCurrent() ? m_titular->recNo() - 1 : -1;
}

dbf::Value HouseholdEditor::currentValue(const QString& field) const
{
    if (!hasCurrent())
        return {};
    const int column = m_titular->fieldIndex(field);
    return column < 0 ? dbf::Value() : m_titular->currentValue(column);
}

qint64 HouseholdEditor::currentCodid() const
{
    return dbf::toWhole(currentValue(QStringLiteral("CODID")));
}

void HouseholdEditor::move(Move where)
{
    if (!hasCurrent())
        return;
    const bool reload = pageLoadsHousehold();
    if (reload && hooks(m_page))
        hooks(m_page)->StopCap();
    engine::Query& q = QTitular();
    switch (where) {
    case Move::First: q.first(); break;
    case Move::Prior: q.prior(); break;
    case Move::Next: q.next(); break;
    case Move::Last: q.last(); break;
    }
    emit currentChanged();
    if (reload && hooks(m_page))
        hooks(m_page)->IncarcaPagina();
}

void HouseholdEditor::moveToRow(int row)
{
    if (!hasCurrent() || row < 0 || row >= shownCount() || row == currentRow())
        return;
    const bool reload = pageLoadsHousehold();
    if (reload && hooks(m_page))
        hooks(m_page)->StopCap();
    engine::Query& q = QTitular();
    // Rows move one at a time: start from the first row, the last row or the current one,
    // whichever is nearest.
    const int fromHere = std::abs(row - currentRow());
    if (row < fromHere)
        q.first();
    else if (shownCount() - 1 - row < fromHere)
        q.last();
    while (currentRow() < row)
        q.next();
    while (currentRow() > row)
        q.prior();
    emit currentChanged();
    if (reload && hooks(m_page))
        hooks(m_page)->IncarcaPagina();
}

QStringList HouseholdEditor::memberLines()
{
    QStringList lines;
    if (!hasCurrent())
        return lines;
    if (m_choice.type == QLatin1String("3") || m_choice.type == QLatin1String("4")) {
        const dbf::Value name = currentValue(QStringLiteral("DENUMIRE"));
        const QString* text = std::get_if<QString>(&name);
        lines << QStringLiteral("``") + (text ? *text : QString()) + QStringLiteral("``");
    }
    engine::Query members(*m_ctx.engine);
    members.add(QStringLiteral("SELECT NUMEP,COD FROM ") + quotedPath(m_ctx.tablePath(QStringLiteral("CAP1.dbf"))));
    members.add(QStringLiteral("WHERE CODID=:CODID AND ANUL=:ANUL"));
    members.add(QStringLiteral("ORDER BY COD,NUMEP"));
    members.bind(QStringLiteral("CODID"), std::int64_t(currentCodid()));
    members.bind(QStringLiteral("ANUL"), dbf::yearValue(year()));
    members.open();
    if (members.isEmpty())
        lines << QStringLiteral(" ***  fara membri  ***");
    for (members.first(); !members.eof(); members.next())
        lines << members.fieldByName(QStringLiteral("NUMEP")).asString();
    members.close();
    return lines;
}

// ---- pages ----

EditorPageHooks* HouseholdEditor::hooks(int page) const
{
    return page >= 0 && page < PageCount ? m_hooks[size_t(page)] : nullptr;
}

void HouseholdEditor::setPageHooks(int page, EditorPageHooks* pageHooks)
{
    if (page > ListPage && page < PageCount)
        m_hooks[size_t(page)] = pageHooks;
}

void HouseholdEditor::setPage(int page)
{
    if (page == m_page)
        return;
    m_page = page;
    emit pageChanged(page);
}

void HouseholdEditor::setPressed(int button)
{
    // A button that pops up again is reported even when the same one was down before.
    m_pressed = button;
    emit pressedChanged(button);
}

void HouseholdEditor::pressPageButton(int button)
{
    if (button < 1 || button > PageCount)
        return;
    if (isListEmpty()) {
        // The pressed button pops up again: none stays down and the list page stays shown.
        setPressed(0);
        return;
    }
    if (m_pageChanging)
        return;
    m_pageChanging = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset {m_pageChanging};
    if (m_page != ListPage && hooks(m_page))
        hooks(m_page)->StopCap();
    setPressed(button);
    setPage(button - 1);
    if (hooks(m_page))
        hooks(m_page)->IncarcaPagina();
}

void HouseholdEditor::editorOpened()
{
    const QString y = year();
    for (EditorPageHooks* page : m_hooks)
        if (page)
            page->editorOpened(y);
}

void HouseholdEditor::applyUnlocked(bool on)
{
    for (EditorPageHooks* page : m_hooks)
        if (page)
            page->applyUnlocked(on);
}

void HouseholdEditor::editorClosed()
{
    if (m_page != ListPage && hooks(m_page))
        hooks(m_page)->StopCap();
    for (EditorPageHooks* page : m_hooks)
        if (page)
            page->editorClosed();
    if (m_titular)
        engine::QueryRst(*m_titular);
    m_model.clear();
    m_proxy.setFilterText(QString());
    setPage(ListPage);
    setPressed(0);
    emit listLoaded();
    emit currentChanged();
}

void HouseholdEditor::notAvailable(const QString& name)
{
    m_ctx.interaction->Mesaj(QStringLiteral("Informatie"),
                             QStringLiteral("Functia \"") + name
                                 + QStringLiteral("\" nu este disponibila in aceasta versiune."),
                             KindInformation, ButtonsOk);
}

}
