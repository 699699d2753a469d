#include "search/NameSearch.h"

#include "core/Interaction.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/ValueConversions.h"
#include "data/engine/DistinctValues.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "domain/TextCase.h"
#include "services/AppContext.h"
#include "services/TextFunctions.h"

#include <algorithm>
#include <cmath>

namespace velmor::search {

namespace {

// A blank address part shows as " -".
QString guard(const QString& part)
{
    const QString trimmed = Trim(part);
    return trimmed.isEmpty() ? QStringLiteral(" -") : trimmed;
}

int textLength(const QString& text) { return int(text.size()); }
}

// ---- addresses ----

SearchAddress searchAddress(qint64 tipra, const QString& county, const QString& judet, const QString& loc,
                            const QString& strada, const QString& nr, const QString& str2, const QString& nr2)
{
    SearchAddress address;
    switch (tipra) {
    case 1:
    case 3:
        address.adresa = QStringLiteral("jud.") + guard(county) + QStringLiteral(" loc.") + guard(loc)
            + QStringLiteral(" str.") + guard(strada) + QStringLiteral(" nr.") + guard(nr);
        break;
    case 2:
        address.domstab = QStringLiteral("jud.") + guard(judet) + QStringLiteral(" loc.") + guard(loc);
        address.adresa = QStringLiteral("str.") + guard(str2) + QStringLiteral(" nr.") + guard(nr2);
        break;
    case 4:
        address.domstab = QStringLiteral("jud.") + guard(judet) + QStringLiteral(" loc.") + guard(loc);
        address.adresa = QStringLiteral("str.") + guard(strada) + QStringLiteral(" nr.") + guard(nr);
        break;
    default: break;
    }
    return address;
}

// ---- the filter ----

SearchResultsProxy::SearchResultsProxy(grid::QueryTableModel* rows, QObject* parent)
    : QSortFilterProxyModel(parent)
    , m_rows(rows)
{
    setSourceModel(rows);
}

QString typedSearchText(const QString& text)
{
    return dbf::cp1250::storedForm(upperRomanian(text));
}

void SearchResultsProxy::setCriteria(const SearchCriteria& criteria)
{
    // Typed with a Romanian keyboard: comma-below letters are stored as cedillas, and the typed
    // fields compare in capitals, diacritics included. The listed values are compared as stored.
    m_criteria = criteria;
    m_criteria.name = typedSearchText(criteria.name);
    m_criteria.cnp = typedSearchText(criteria.cnp);
    m_criteria.number = typedSearchText(criteria.number);
    m_criteria.company = dbf::cp1250::storedForm(criteria.company);
    m_criteria.street = dbf::cp1250::storedForm(criteria.street);
    m_criteria.domicile = dbf::cp1250::storedForm(criteria.domicile);
    invalidateFilter();
}

QString SearchResultsProxy::text(int row, const char* field) const
{
    const int column = m_rows->fieldIndex(QString::fromLatin1(field));
    return column < 0 ? QString() : dbf::toText(m_rows->value(row, column));
}

bool SearchResultsProxy::accepts(int row) const
{
    const SearchCriteria& c = m_criteria;
    // The name is tested as typed, so a name of blanks still asks for names starting with blanks.
    if (!c.name.isEmpty() && !text(row, "NUMEP").startsWith(c.name))
        return false;
    if (c.headsOnly) {
        const int column = m_rows->fieldIndex(QStringLiteral("COD"));
        if (column < 0 || dbf::toWhole(m_rows->value(row, column)) != 1)
            return false;
    }
    if (!Trim(c.cnp).isEmpty() && !text(row, "CNP").startsWith(c.cnp))
        return false;
    if (!Trim(c.street).isEmpty() && text(row, "STRADA") != c.street)
        return false;
    if (!Trim(c.company).isEmpty() && text(row, "DENUMIRE") != c.company)
        return false;
    if (!Trim(c.number).isEmpty() && text(row, "NR") != c.number)
        return false;
    if (!Trim(c.domicile).isEmpty() && text(row, "LOC") != c.domicile)
        return false;
    return true;
}

bool SearchResultsProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    Q_UNUSED(sourceParent);
    return accepts(sourceRow);
}

// ---- the search ----

QStringList NameSearch::headings()
{
    return {
        QStringLiteral("NUME si PRENUME"), QStringLiteral("TIP"), QStringLiteral("Volum"),
        QStringLiteral("Poz."), QStringLiteral("C.N.P."), QStringLiteral("Localitatea"),
        QStringLiteral("Societatea"), QStringLiteral("Adresa"), QStringLiteral("Domiciliul stabil"),
    };
}

NameSearch::NameSearch(AppContext& ctx, QObject* parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_proxy(&m_model)
{
}

void NameSearch::open(const QString& village)
{
    m_village = village;
    engine::Query q(*m_ctx.engine);
    q.add(QStringLiteral("SELECT I.POZ, I.VOLUM, I.JUDET, I.LOCALIT, I.STRADA, I.NR, I.STR2, I.NR2, C.NUMEP, "
                         "I.DENUMIRE, I.LOC, C.CODID, C.COD, C.CNP, I.TIPRA"));
    q.add(QStringLiteral("FROM ") + engine::quotedPath(m_ctx.tablePath(QStringLiteral("CAP1.DBF"))) + QStringLiteral(" C,"));
    q.add(engine::quotedPath(m_ctx.tablePath(QStringLiteral("Identificare.DBF"))) + QStringLiteral(" I"));
    q.add(QStringLiteral("WHERE (C.ANUL=:ANUL)"));
    q.bind(QStringLiteral("ANUL"), dbf::yearValue(m_ctx.workingYear()));
    if (Trim(village) != allVillages()) {
        q.add(QStringLiteral("AND (I.LOCALIT=:LOCALIT)"));
        q.bind(QStringLiteral("LOCALIT"), village);
    }
    // Households of the members' own year, even where an older register reused a code.
    q.add(QStringLiteral("AND C.CODID=I.CODID AND I.ANUL=C.ANUL"));
    // Members of one name in one village keep the order they were entered in.
    q.add(QStringLiteral("ORDER BY I.LOCALIT, C.NUMEP, C.COD1"));
    q.open();

    engine::ResultSet rows = q.result();
    q.close();
    const QString county = m_ctx.profile.constants().JUDET;
    auto field = [&rows](const char* name) { return rows.fieldIndex(QString::fromLatin1(name)); };
    const int tipra = field("TIPRA"), judet = field("JUDET"), loc = field("LOC"), strada = field("STRADA"),
              nr = field("NR"), str2 = field("STR2"), nr2 = field("NR2");
    auto part = [](const std::vector<dbf::Value>& row, int column) {
        return column < 0 ? QString() : dbf::toText(row[size_t(column)]);
    };
    int addressWidth = textLength(QStringLiteral("Adresa"));
    int domicileWidth = textLength(QStringLiteral("Domiciliul stabil"));
    for (auto& row : rows.rows) {
        const SearchAddress address =
            searchAddress(tipra < 0 ? 0 : dbf::toWhole(row[size_t(tipra)]), county, part(row, judet), part(row, loc),
                          part(row, strada), part(row, nr), part(row, str2), part(row, nr2));
        row.push_back(address.adresa);
        row.push_back(address.domstab);
        addressWidth = std::max(addressWidth, textLength(address.adresa));
        domicileWidth = std::max(domicileWidth, textLength(address.domstab));
    }
    rows.fields.append(engine::ResultField {QStringLiteral("ADRESA"), engine::FieldType::Text, addressWidth, 0});
    rows.fields.append(engine::ResultField {QStringLiteral("DOMSTAB"), engine::FieldType::Text, domicileWidth, 0});

    // The address columns are as wide as their longest text, so nothing is cut.
    const QStringList titles = headings();
    m_model.setColumns({
        {QStringLiteral("NUMEP"), titles[0], 30, grid::DisplayFormat::text()},
        {QStringLiteral("TIPRA"), titles[1], 3, grid::DisplayFormat::wholeNumber()},
        {QStringLiteral("VOLUM"), titles[2], 6, grid::DisplayFormat::wholeNumber()},
        {QStringLiteral("POZ"), titles[3], 6, grid::DisplayFormat::wholeNumber()},
        {QStringLiteral("CNP"), titles[4], 14, grid::DisplayFormat::text()},
        {QStringLiteral("LOCALIT"), titles[5], 18, grid::DisplayFormat::text()},
        {QStringLiteral("DENUMIRE"), titles[6], 20, grid::DisplayFormat::text()},
        {QStringLiteral("ADRESA"), titles[7], addressWidth, grid::DisplayFormat::text()},
        {QStringLiteral("DOMSTAB"), titles[8], domicileWidth, grid::DisplayFormat::text()},
    });
    m_model.load(std::move(rows));

    SearchCriteria cleared;
    cleared.headsOnly = m_proxy.criteria().headsOnly;
    m_open = true;
    m_current = -1;
    setCriteria(cleared);
}

void NameSearch::close()
{
    m_model.clear();
    m_open = false;
    m_current = -1;
    emit resultsChanged();
    emit currentChanged(-1);
}

QStringList NameSearch::companies()
{
    engine::Query q(*m_ctx.engine);
    return engine::ValoriDistincte(q, m_ctx.tablePath(QStringLiteral("Identificare.DBF")), QStringLiteral("DENUMIRE"),
                                   QString(), {}, m_ctx.interaction);
}

QStringList NameSearch::streets()
{
    engine::Query q(*m_ctx.engine);
    engine::Parameters year;
    year.bind(QStringLiteral("ANUL"), dbf::yearValue(m_ctx.workingYear()));
    return engine::ValoriDistincte(q, m_ctx.tablePath(QStringLiteral("Identificare.DBF")), QStringLiteral("STRADA"),
                                   QStringLiteral("ANUL=:ANUL"), year, m_ctx.interaction);
}

QStringList NameSearch::domiciles()
{
    engine::Query q(*m_ctx.engine);
    engine::Parameters year;
    year.bind(QStringLiteral("ANUL"), dbf::yearValue(m_ctx.workingYear()));
    return engine::ValoriDistincte(q, m_ctx.tablePath(QStringLiteral("Identificare.DBF")), QStringLiteral("LOC"),
                                   QStringLiteral("ANUL=:ANUL"), year, m_ctx.interaction);
}

void NameSearch::setCriteria(const SearchCriteria& criteria)
{
    m_proxy.setCriteria(criteria);
    // A new filter starts at its first row.
    m_current = m_proxy.rowCount() > 0 ? 0 : -1;
    emit resultsChanged();
    emit currentChanged(m_current);
}

int NameSearch::currentRow() const
{
    return m_current < m_proxy.rowCount() ? m_current : -1;
}

void NameSearch::setCurrentRow(int row)
{
    if (row < 0 || row >= m_proxy.rowCount() || row == m_current)
        return;
    m_current = row;
    emit currentChanged(row);
}

void NameSearch::moveUp()
{
    if (currentRow() > 0)
        setCurrentRow(currentRow() - 1);
}

void NameSearch::moveDown()
{
    if (currentRow() >= 0 && currentRow() + 1 < m_proxy.rowCount())
        setCurrentRow(currentRow() + 1);
}

std::optional<qint64> NameSearch::choose(const QString& anchor)
{
    if (shownCount() == 0 || currentRow() < 0) {
        m_ctx.interaction->ArataProblema(QStringLiteral("Nu ati ales pe nimeni !"), anchor);
        return std::nullopt;
    }
    return shownCodid(currentRow());
}

QString NameSearch::shownText(int row, const QString& field) const
{
    if (row < 0 || row >= m_proxy.rowCount())
        return QString();
    const int column = m_model.fieldIndex(field);
    if (column < 0)
        return QString();
    const int source = m_proxy.mapToSource(m_proxy.index(row, 0)).row();
    return dbf::toText(m_model.value(source, column));
}

qint64 NameSearch::shownCodid(int row) const
{
    if (row < 0 || row >= m_proxy.rowCount())
        return -1;
    const int source = m_proxy.mapToSource(m_proxy.index(row, 0)).row();
    return dbf::toWhole(m_model.value(source, m_model.fieldIndex(QStringLiteral("CODID"))));
}

HouseholdPlace NameSearch::currentPlace() const
{
    HouseholdPlace place;
    const int row = currentRow();
    if (row < 0)
        return place;
    place.codid = shownCodid(row);
    place.type = shownText(row, QStringLiteral("TIPRA"));
    place.village = shownText(row, QStringLiteral("LOCALIT"));
    place.position = shownText(row, QStringLiteral("POZ")).toLongLong();
    place.volume = shownText(row, QStringLiteral("VOLUM")).toLongLong();
    return place;
}

}
