#include "search/HouseholdLists.h"

#include "data/ChapterCatalogue.h"
#include "data/engine/Engine.h"
#include "data/engine/Parameters.h"
#include "data/engine/SqlText.h"
#include "data/dbf/ValueConversions.h"
#include "services/TextFunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace velmor::search {

using engine::quotedPath;

namespace {

const char* const chapterTexts[] = {
    "CAP   1. - Componenta gospodariei",
    "CAP   2. - Terenuri in proprietate",
    "CAP   3. - Modul de utlizare a suprafetei agricole pe raza loc.",
    "CAP   4. - Suprafata arabila cultivata",
    "CAP   5. - Pomi fructiferi",
    "CAP   7 - Animale domestice la inceputul anului",
    "CAP   8 - Evolutia efectivelor de animale",
    "CAP   9 - Utilaje, instalatii agricole si mijloace de transport",
    "CAP 10 - Constructii pe raza localitatii",
};

const char* const chapter10Names[] = {
    "Suprafata construita", "Cod material constructie", "Anul darii in folosinta", "Grajduri", "Patule",
    "Magazii, hambare pentru cereale", "Sura, fanar", "Remize, soproane", "Garaje", "Cladiri Anexe",
};

const char* const sexRowName = "COD SEX (1 = M, 2 = F)";

qint64 tenths(double code) { return std::llround(code * 10); }
bool sameCode(double a, double b) { return tenths(a) == tenths(b); }

// Square metres of an area pair in a statement (blank fields count as 0).
QString metresSql(const QString& ha, const QString& ari)
{
    return QStringLiteral("ROUND(COALESCE(%1,0)*10000+COALESCE(%2,0)*100)").arg(ha, ari);
}

QString hectaresSql(const QString& ha, const QString& ari)
{
    return QStringLiteral("(%1/10000.0)").arg(metresSql(ha, ari));
}

bool isAreaChapter(int chapter) { return chapter == 2 || chapter == 3 || chapter == 4; }

qint64 boundMetres(double hectares) { return std::llround(hectares * 10000); }

// Bound conditions "(x>=:MIN)", "(x<=:MAX)" for the given expression; areas in square metres.
QStringList boundConditions(const QString& expression, const std::optional<double>& minimum, const std::optional<double>& maximum,
                            bool metres, const QString& tag, engine::Parameters& parameters)
{
    QStringList parts;
    auto bind = [&](const QString& name, double value) {
        if (metres)
            parameters.bind(name, std::int64_t(boundMetres(value)));
        else
            parameters.bind(name, value);
    };
    if (minimum) {
        parts << QStringLiteral("(%1>=:%2MIN)").arg(expression, tag);
        bind(tag + QStringLiteral("MIN"), *minimum);
    }
    if (maximum) {
        parts << QStringLiteral("(%1<=:%2MAX)").arg(expression, tag);
        bind(tag + QStringLiteral("MAX"), *maximum);
    }
    return parts;
}

void removeFile(engine::Engine& engine, const QString& path)
{
    engine.forget(path);
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw Error(QStringLiteral("Nu pot sterge tabelul temporar %1.").arg(QDir::toNativeSeparators(path)));
}

}

const std::vector<int>& listChapters()
{
    static const std::vector<int> chapters{1, 2, 3, 4, 5, 7, 8, 9, 10};
    return chapters;
}

bool isListChapter(int chapter)
{
    const auto& all = listChapters();
    return std::find(all.begin(), all.end(), chapter) != all.end();
}

QString listChapterText(int chapter)
{
    const auto& all = listChapters();
    const auto it = std::find(all.begin(), all.end(), chapter);
    return it == all.end() ? QString() : QString::fromLatin1(chapterTexts[it - all.begin()]);
}

QString columnTakenMessage(const QString& name) { return QStringLiteral("Coloana ") + name + QStringLiteral(" este deja adaugata!"); }
QString conditionTakenMessage(const QString& name) { return QStringLiteral("Randul ") + name + QStringLiteral(" mai este deja adaugat!"); }
QString noConditionMessage() { return QStringLiteral("Nu ati pus nici o conditie!"); }
QString noRowMessage() { return QStringLiteral("Nu exista nici un rand definit!"); }
QString notANumberMessage(const QString& text)
{
    return QStringLiteral("Valoarea \"%1\" nu este un numar!").arg(text);
}
QString rowNotOfferedMessage(int chapter, const QString& code)
{
    return QStringLiteral("Capitolul %1 nu are in acest an randul %2!").arg(chapter).arg(code);
}

QString rowCodeText(double code)
{
    const qint64 t = tenths(code);
    const qint64 whole = t / 10;
    const qint64 rest = std::llabs(t % 10);
    return rest == 0 ? QString::number(whole) : QStringLiteral("%1%2.%3").arg(t < 0 && whole == 0 ? "-" : "").arg(whole).arg(rest);
}

QString itemName(const QString& rowName)
{
    QString name = Curata(rowName);
    qsizetype start = 0;
    while (start < name.size()) {
        const QChar c = name[start];
        if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')))
            break;
        ++start;
    }
    return name.mid(start);
}

std::optional<double> parseBound(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        throw ListRefusal(notANumberMessage(text), RefusalAnchor::Bound);
    return value;
}

// ---------------------------------------------------------------- row lists

RowLists::RowLists(engine::Engine& engine, QString dataDirectory, std::int64_t year)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_year(year)
{
}

std::vector<ListRow> RowLists::rows(int chapter) const
{
    std::vector<ListRow> result;
    if (chapter == 1) {
        result.push_back({1, QString::fromLatin1(sexRowName)});
        return result;
    }
    if (chapter == 10) {
        for (int i = 0; i < 10; ++i)
            result.push_back({double(i + 1), QString::fromLatin1(chapter10Names[i])});
        return result;
    }
    if (!isListChapter(chapter))
        return result;
    engine::Parameters parameters;
    parameters.bind(QStringLiteral("ANUL"), m_year);
    const engine::ResultSet codes = m_engine.select(
        QStringLiteral("SELECT DISTINCT RAND FROM ")
            + quotedPath(QDir(m_dataDirectory).filePath(QStringLiteral("CAP%1.dbf").arg(chapter)))
            + QStringLiteral(" WHERE ANUL=:ANUL AND RAND IS NOT NULL"),
        parameters);
    std::vector<int> positions;
    for (const auto& row : codes.rows) {
        const int position = data::chapterPositionOfCode(chapter, dbf::numberOnly(row[0]));
        if (position > 0)
            positions.push_back(position);
    }
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    for (int position : positions)
        result.push_back({data::chapterRowCode(chapter, position), data::chapterRowName(chapter, position)});
    return result;
}

ListRow RowLists::offered(int chapter, double code) const
{
    for (const ListRow& row : rows(chapter)) {
        if (sameCode(row.code, code))
            return row;
    }
    throw ListRefusal(rowNotOfferedMessage(chapter, rowCodeText(code)), RefusalAnchor::Row);
}

// ---------------------------------------------------------------- items

QString ListItem::columnName() const
{
    QString name = QStringLiteral("C%1%2").arg(chapter).arg(codeText());
    name.replace(QLatin1Char('.'), QLatin1Char('_')).replace(QLatin1Char(','), QLatin1Char('_'));
    return name;
}

QStringList ListItem::columnNames() const
{
    if (chapter == 1)
        return {QStringLiteral("CODSEX")};
    const QString name = columnName();
    if (chapter == 2)
        return {name + QLatin1Char('1'), name + QLatin1Char('2'), name + QLatin1Char('3'), name + QLatin1Char('4')};
    if (chapter == 8)
        return {name + QLatin1Char('1'), name + QLatin1Char('2')};
    return {name};
}

ListChoices::ListChoices()
{
    clear();
}

int ListChoices::find(const std::vector<ListItem>& items, int chapter, double code)
{
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].chapter == chapter && sameCode(items[i].code, code))
            return int(i);
    }
    return -1;
}

void ListChoices::addColumn(int chapter, const ListRow& row)
{
    const QString name = itemName(row.name);
    for (size_t i = fixedColumns; i < m_columns.size(); ++i) {
        if (m_columns[i].chapter == chapter && sameCode(m_columns[i].code, row.code))
            throw ListRefusal(columnTakenMessage(name), RefusalAnchor::ColumnAdd);
    }
    m_columns.push_back({chapter, row.code, name, {}, {}});
}

void ListChoices::addCondition(int chapter, const ListRow& row, const QString& minimum, const QString& maximum)
{
    if (minimum.trimmed().isEmpty() && maximum.trimmed().isEmpty())
        throw ListRefusal(noConditionMessage(), RefusalAnchor::Minimum);
    parseBound(minimum);
    parseBound(maximum);
    const QString name = itemName(row.name);
    if (find(m_conditions, chapter, row.code) >= 0)
        throw ListRefusal(conditionTakenMessage(name), RefusalAnchor::ConditionAdd);
    ListItem item{chapter, row.code, name, minimum.trimmed(), maximum.trimmed()};
    // Sorted by the item's text, its chapter caption.
    auto at = std::upper_bound(m_conditions.begin(), m_conditions.end(), item, [](const ListItem& a, const ListItem& b) {
        return QString::number(a.chapter) < QString::number(b.chapter);
    });
    m_conditions.insert(at, item);
}

void ListChoices::removeColumn(int index)
{
    if (index < 0 || index >= int(m_columns.size()))
        throw ListRefusal(QStringLiteral("Alegeti din tabel o linie!"), RefusalAnchor::ColumnRemove);
    if (index < fixedColumns)
        throw ListRefusal(QStringLiteral("Primele 3 coloane sunt obligatorii!"), RefusalAnchor::ColumnRemove);
    m_columns.erase(m_columns.begin() + index);
}

void ListChoices::removeCondition(int index)
{
    if (m_conditions.empty())
        throw ListRefusal(QStringLiteral("Nu mai aveti ce sterge!"), RefusalAnchor::ConditionRemove);
    if (index < 0 || index >= int(m_conditions.size()))
        throw ListRefusal(QStringLiteral("Alegeti mai intai o linie din tabel!"), RefusalAnchor::ConditionRemove);
    m_conditions.erase(m_conditions.begin() + index);
}

void ListChoices::clear()
{
    m_columns = {{0, 0, QStringLiteral("LOCALITATEA"), {}, {}},
                 {0, 0, QStringLiteral("Cap gospodarie"), {}, {}},
                 {1, 0, QStringLiteral("CNP"), {}, {}}};
    m_conditions.clear();
}

// ---------------------------------------------------------------- advanced list

namespace {

// Column types of an item in the work tables: areas with four decimals, counts and chapter 10
// values with room for a legal person's sums.
QString columnType(int chapter)
{
    if (isAreaChapter(chapter))
        return QStringLiteral("DECIMAL(12,4)");
    if (chapter == 10)
        return QStringLiteral("DECIMAL(12,2)");
    return QStringLiteral("DECIMAL(12,0)");
}

QStringList valueExpressions(int chapter)
{
    switch (chapter) {
    case 2:
        return {hectaresSql(QStringLiteral("C.AHA"), QStringLiteral("C.AARI")), hectaresSql(QStringLiteral("C.BHA"), QStringLiteral("C.BARI")),
                hectaresSql(QStringLiteral("C.CHA"), QStringLiteral("C.CARI")), hectaresSql(QStringLiteral("C.IHA"), QStringLiteral("C.IARI"))};
    case 3:
    case 4: return {hectaresSql(QStringLiteral("C.HA"), QStringLiteral("C.ARI"))};
    case 8: return {QStringLiteral("C.SEM_1"), QStringLiteral("C.SEM_2")};
    case 10: return {QStringLiteral("C.DETALII")};
    default: return {QStringLiteral("C.NR")};
    }
}

// The table rows of an item: chapter 10 rows 1..3 stand for the four dwellings.
QString rowCondition(const ListItem& item, engine::Parameters& parameters)
{
    if (item.chapter == 10) {
        const int r = int(std::llround(item.code));
        if (r >= 1 && r <= 3)
            return QStringLiteral("C.RAND IN (%1,%2,%3,%4)").arg(r).arg(r + 3).arg(r + 6).arg(r + 9);
        parameters.bind(QStringLiteral("RAND"), std::int64_t(r + 9));
        return QStringLiteral("C.RAND=:RAND");
    }
    parameters.bind(QStringLiteral("RAND"), item.code);
    return QStringLiteral("C.RAND=:RAND");
}

// The condition of an item on its result column(s), on table alias F.
QString itemCondition(const ListItem& item, int index, engine::Parameters& parameters)
{
    const std::optional<double> minimum = parseBound(item.minimum);
    const std::optional<double> maximum = parseBound(item.maximum);
    const QStringList names = item.columnNames();
    const QString tag = QStringLiteral("K%1").arg(index);
    auto on = [&](const QString& column, const QString& suffix) {
        const bool area = isAreaChapter(item.chapter);
        const QString expression = area ? QStringLiteral("ROUND(F.%1*10000)").arg(column) : QStringLiteral("F.") + column;
        return boundConditions(expression, minimum, maximum, area, tag + suffix, parameters).join(QStringLiteral(" AND "));
    };
    if (item.chapter == 8)
        return QStringLiteral("((%1) OR (%2))").arg(on(names[0], QStringLiteral("A")), on(names[1], QStringLiteral("B")));
    return QStringLiteral("(%1)").arg(on(names[0], QString()));
}

}

AdvancedList::AdvancedList(engine::Engine& engine, QString dataDirectory, QString workDirectory, std::int64_t year)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_workDirectory(std::move(workDirectory))
    , m_year(year)
{
    m_engine.addTableRoot(m_workDirectory);
}

QStringList AdvancedList::tableFiles()
{
    return {QStringLiteral("ListCap.dbf"), QStringLiteral("ListBig.dbf"), QStringLiteral("ListRez.dbf")};
}

QString AdvancedList::workTable(const QString& file) const
{
    return quotedPath(QDir(m_workDirectory).filePath(file));
}

QString AdvancedList::dataTable(const QString& file) const
{
    return quotedPath(QDir(m_dataDirectory).filePath(file));
}

void AdvancedList::removeTable(const QString& file)
{
    removeFile(m_engine, QDir(m_workDirectory).filePath(file));
}

void AdvancedList::removeTables()
{
    for (const QString& file : tableFiles())
        removeTable(file);
}

engine::ResultSet AdvancedList::build(const ListChoices& choices, const ListFilter& filter)
{
    removeTables();
    try {
        return buildTables(choices, filter);
    } catch (...) {
        // The work tables go with a failed list too; the failure is what the caller hears of.
        try {
            removeTables();
        } catch (const Error&) {
        }
        throw;
    }
}

engine::ResultSet AdvancedList::buildTables(const ListChoices& choices, const ListFilter& filter)
{
    const auto& columns = choices.columns();
    const auto& conditions = choices.conditions();
    const bool sexColumn = ListChoices::find(columns, 1, 1) >= 0;
    const int sexCondition = ListChoices::find(conditions, 1, 1);

    // The heads of household.
    m_engine.execute(QStringLiteral("CREATE TABLE ") + workTable(QStringLiteral("ListCap.dbf"))
                     + QStringLiteral(" (LOCALIT CHAR(40), NUMEP CHAR(40), CNP CHAR(13), ")
                     + (sexColumn ? QStringLiteral("CODSEX DECIMAL(2,0), ") : QString()) + QStringLiteral("CODID DECIMAL(10,0))"));
    {
        engine::Parameters p;
        p.bind(QStringLiteral("ANUL"), m_year);
        QString statement = QStringLiteral("INSERT INTO ") + workTable(QStringLiteral("ListCap.dbf"))
            + QStringLiteral(" (LOCALIT, NUMEP, CNP, ") + (sexColumn ? QStringLiteral("CODSEX, ") : QString())
            + QStringLiteral("CODID) SELECT I.LOCALIT, C.NUMEP, C.CNP, ") + (sexColumn ? QStringLiteral("C.CODSEX, ") : QString())
            + QStringLiteral("C.CODID FROM ") + dataTable(QStringLiteral("Identificare.dbf")) + QStringLiteral(" I, ")
            + dataTable(QStringLiteral("CAP1.dbf"))
            + QStringLiteral(" C WHERE I.CODID=C.CODID AND I.ANUL=:ANUL AND C.ANUL=:ANUL AND C.COD=1");
        if (!filter.village.isEmpty()) {
            statement += QStringLiteral(" AND I.LOCALIT=:LOCALIT");
            p.bind(QStringLiteral("LOCALIT"), filter.village);
        }
        if (filter.type > 0) {
            statement += QStringLiteral(" AND I.TIPRA=:TIPRA");
            p.bind(QStringLiteral("TIPRA"), std::int64_t(filter.type));
        }
        if (filter.volume) {
            statement += QStringLiteral(" AND I.VOLUM=:VOLUM");
            p.bind(QStringLiteral("VOLUM"), *filter.volume);
        }
        if (sexCondition >= 0) {
            const ListItem& item = conditions[size_t(sexCondition)];
            const QStringList parts = boundConditions(QStringLiteral("C.CODSEX"), parseBound(item.minimum), parseBound(item.maximum),
                                                      false, QStringLiteral("SEX"), p);
            for (const QString& part : parts)
                statement += QStringLiteral(" AND ") + part;
        }
        m_engine.execute(statement, p);
    }

    // The chapter items: the columns beyond the fixed three, then the conditions that are no column.
    std::vector<ListItem> items;
    for (size_t i = ListChoices::fixedColumns; i < columns.size(); ++i) {
        if (columns[i].chapter > 1)
            items.push_back(columns[i]);
    }
    const size_t columnItems = items.size();
    for (const ListItem& item : conditions) {
        if (item.chapter > 1 && ListChoices::find(columns, item.chapter, item.code) < 0)
            items.push_back(item);
    }

    const QString headColumns = QStringLiteral("T.LOCALIT, T.NUMEP, T.CNP") + (sexColumn ? QStringLiteral(", T.CODSEX") : QString());
    engine::ResultSet result;
    if (items.empty()) {
        // Only chapter-1 items: the selected heads themselves.
        result = m_engine.select(QStringLiteral("SELECT ") + headColumns + QStringLiteral(" FROM ")
                                 + workTable(QStringLiteral("ListCap.dbf")) + QStringLiteral(" T ORDER BY T.LOCALIT, T.NUMEP, T.CODID"));
        removeTables();
        return result;
    }

    QStringList definitions;
    QStringList allColumns;
    for (const ListItem& item : items) {
        for (const QString& name : item.columnNames()) {
            definitions << name + QLatin1Char(' ') + columnType(item.chapter);
            allColumns << name;
        }
    }
    definitions << QStringLiteral("CODID DECIMAL(10,0)");
    for (const QString& file : {QStringLiteral("ListBig.dbf"), QStringLiteral("ListRez.dbf")})
        m_engine.execute(QStringLiteral("CREATE TABLE ") + workTable(file) + QStringLiteral(" (") + definitions.join(QStringLiteral(", "))
                         + QStringLiteral(")"));

    // One row per household, matching chapter row and item.
    for (const ListItem& item : items) {
        engine::Parameters p;
        p.bind(QStringLiteral("ANUL"), m_year);
        const QString rows = rowCondition(item, p);
        m_engine.execute(QStringLiteral("INSERT INTO ") + workTable(QStringLiteral("ListBig.dbf")) + QStringLiteral(" (")
                             + item.columnNames().join(QStringLiteral(", ")) + QStringLiteral(", CODID) SELECT ")
                             + valueExpressions(item.chapter).join(QStringLiteral(", ")) + QStringLiteral(", T.CODID FROM ")
                             + dataTable(QStringLiteral("CAP%1.dbf").arg(item.chapter)) + QStringLiteral(" C, ")
                             + workTable(QStringLiteral("ListCap.dbf"))
                             + QStringLiteral(" T WHERE C.CODID=T.CODID AND C.ANUL=:ANUL AND ") + rows,
                         p);
    }

    // The sums per household, missing values as 0.
    QStringList sums;
    for (const QString& name : allColumns)
        sums << QStringLiteral("SUM(COALESCE(%1,0))").arg(name);
    m_engine.execute(QStringLiteral("INSERT INTO ") + workTable(QStringLiteral("ListRez.dbf")) + QStringLiteral(" (")
                     + allColumns.join(QStringLiteral(", ")) + QStringLiteral(", CODID) SELECT ") + sums.join(QStringLiteral(", "))
                     + QStringLiteral(", CODID FROM ") + workTable(QStringLiteral("ListBig.dbf")) + QStringLiteral(" GROUP BY CODID"));
    removeTable(QStringLiteral("ListBig.dbf"));

    // The result: the heads joined with their sums, the conditions applied, condition-only
    // columns left out.
    QStringList shown;
    for (size_t i = 0; i < columnItems; ++i) {
        for (const QString& name : items[i].columnNames())
            shown << QStringLiteral("F.") + name;
    }
    engine::Parameters p;
    QString statement = QStringLiteral("SELECT ") + headColumns + (shown.isEmpty() ? QString() : QStringLiteral(", ") + shown.join(QStringLiteral(", ")))
        + QStringLiteral(" FROM ") + workTable(QStringLiteral("ListCap.dbf")) + QStringLiteral(" T, ")
        + workTable(QStringLiteral("ListRez.dbf")) + QStringLiteral(" F WHERE T.CODID=F.CODID");
    for (size_t i = 0; i < conditions.size(); ++i) {
        if (conditions[i].chapter > 1)
            statement += QStringLiteral(" AND ") + itemCondition(conditions[i], int(i), p);
    }
    statement += QStringLiteral(" ORDER BY T.LOCALIT, T.NUMEP, T.CODID");
    result = m_engine.select(statement, p);
    removeTables();
    return result;
}

// ---------------------------------------------------------------- selection lists

SelectionList::SelectionList(engine::Engine& engine, QString dataDirectory, std::int64_t year)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_year(year)
{
}

QString SelectionList::dataTable(const QString& file) const
{
    return quotedPath(QDir(m_dataDirectory).filePath(file));
}

// The heads (C, CAP1) of the chosen households (I, Identificare) of the year.
QString SelectionList::headsCondition(const ListFilter& filter, engine::Parameters& parameters) const
{
    QString condition = QStringLiteral("C.CODID=I.CODID AND C.ANUL=:ANUL AND I.ANUL=:ANUL AND C.COD=1");
    parameters.bind(QStringLiteral("ANUL"), m_year);
    if (!filter.village.isEmpty()) {
        condition += QStringLiteral(" AND I.LOCALIT=:LOCALIT");
        parameters.bind(QStringLiteral("LOCALIT"), filter.village);
    }
    if (filter.type > 0) {
        condition += QStringLiteral(" AND I.TIPRA=:TIPRA");
        parameters.bind(QStringLiteral("TIPRA"), std::int64_t(filter.type));
    }
    if (filter.volume) {
        condition += QStringLiteral(" AND I.VOLUM=:VOLUM");
        parameters.bind(QStringLiteral("VOLUM"), *filter.volume);
    }
    return condition;
}

QString SelectionList::subjectLine(int chapter, const ListRow& row, const ListFilter& filter)
{
    const int p = int(std::llround(row.code)) - 1;
    switch (chapter) {
    case 1:
        return filter.village.isEmpty() ? QStringLiteral("cu persoanele de pe raza localitatii")
                                        : QStringLiteral("cu persoanele de pe raza localitatii ") + filter.village;
    case 2: return QStringLiteral("cu proprietarii de ") + row.name;
    case 3:
        if (p >= 2 && p <= 6)
            return QStringLiteral("cu suprafete agricole primite ") + row.name;
        if (p >= 8 && p <= 12)
            return QStringLiteral("cu suprafete agricole date ") + row.name;
        return QStringLiteral("cu ") + row.name;
    case 4: return QStringLiteral("cu suprafate arabile cultivate :") + row.name;
    case 5: return QStringLiteral("cu pomi fructiferi :") + row.name;
    case 7: return QStringLiteral("Animale domestice :") + row.name;
    case 8: {
        const char* prefix = p <= 6 ? "Bovine " : p <= 12 ? "Vaci si Bovolite " : p <= 19 ? "Ovine. " : p <= 26 ? "Caprine. " : p <= 33 ? "Porcine. " : "Cabaline. ";
        return QString::fromLatin1(prefix) + row.name;
    }
    case 9: return QStringLiteral("Utilaje, instalatii, mijloace de transport :") + row.name;
    case 10:
        return (p <= 2 ? QStringLiteral("Case de locuit") : QStringLiteral("Constructii pe raza localitatii")) + QStringLiteral(". ") + row.name;
    }
    return {};
}

QString SelectionList::filterLine(int chapter, const ListFilter& filter)
{
    const QString type = filter.type > 0 ? QString::number(filter.type) : QString();
    const QString village = filter.village.isEmpty() ? QString() : QStringLiteral("pe raza localitatii ") + filter.village;
    switch (chapter) {
    case 2: return village;
    case 8: return (type.isEmpty() ? QString() : QStringLiteral("posesori : Persoane ") + type + QStringLiteral(", ")) + village;
    case 3:
    case 4:
    case 5:
    case 7:
    case 9:
    case 10: {
        QString line = (type.isEmpty() ? QString() : QStringLiteral("Persoane ") + type + QStringLiteral(", ")) + village;
        if ((chapter == 3 || chapter == 4 || chapter == 5) && filter.volume)
            line += (chapter == 5 ? QStringLiteral(" volumul ") : QStringLiteral(" Volumul ")) + QString::number(*filter.volume);
        return line;
    }
    }
    return {};
}

// The statement of a chapter 10 selection list; its value column is C1.
QString SelectionList::dwellingStatement(const ListRow& row, std::optional<double> minimum, std::optional<double> maximum,
                                         const QString& heads, const QString& head, engine::Parameters& p) const
{
    const QString identificare = dataTable(QStringLiteral("Identificare.dbf"));
    const QString cap1 = dataTable(QStringLiteral("CAP1.dbf"));
    const QString from = QStringLiteral(" FROM ") + cap1 + QStringLiteral(" C, ") + identificare + QStringLiteral(" I");
    const QString table = dataTable(QStringLiteral("CAP10.dbf"));
    QString statement;
    const int r = int(std::llround(row.code));
    if (r == 1) {
        // Built surface of the four dwellings, bounded after summing.
        statement = head + QStringLiteral("SUM(D.DETALII) AS C1") + QStringLiteral(" FROM ") + cap1 + QStringLiteral(" C JOIN ")
            + identificare + QStringLiteral(" I ON C.CODID=I.CODID LEFT JOIN ") + table
            + QStringLiteral(" D ON D.CODID=C.CODID AND D.ANUL=:ANUL AND D.RAND IN (1,4,7,10) WHERE ") + heads
            + QStringLiteral(" GROUP BY C.CODID");
        const QStringList bounds = boundConditions(QStringLiteral("SUM(D.DETALII)"), minimum, maximum, false, QStringLiteral("B"), p);
        if (!bounds.isEmpty())
            statement += QStringLiteral(" HAVING ") + bounds.join(QStringLiteral(" AND "));
        statement += QStringLiteral(" ORDER BY I.LOCALIT, NUMEP, C.CODID");
    } else if (r == 2 || r == 3) {
        // Material code or year of each dwelling, with the dwellings' surface.
        const int offset = r - 1;
        statement = head + QStringLiteral("COALESCE(M.DETALII,0) AS C2, SUM(COALESCE(S.DETALII,0)) AS C1") + from + QStringLiteral(", ")
            + table + QStringLiteral(" S LEFT JOIN ") + table
            + QStringLiteral(" M ON M.CODID=S.CODID AND M.ANUL=S.ANUL AND M.RAND=S.RAND+%1 WHERE ").arg(offset) + heads
            + QStringLiteral(" AND S.CODID=C.CODID AND S.ANUL=:ANUL AND S.RAND IN (1,4,7,10)");
        for (const QString& part : boundConditions(QStringLiteral("COALESCE(M.DETALII,0)"), minimum, maximum, false, QStringLiteral("B"), p))
            statement += QStringLiteral(" AND ") + part;
        statement += QStringLiteral(" GROUP BY C.CODID, COALESCE(M.DETALII,0) HAVING SUM(COALESCE(S.DETALII,0))>0");
        statement += r == 2 ? QStringLiteral(" ORDER BY C2, I.LOCALIT, NUMEP, C.CODID") : QStringLiteral(" ORDER BY I.LOCALIT, C2, NUMEP, C.CODID");
    } else {
        p.bind(QStringLiteral("RAND"), std::int64_t(r + 9));
        statement = head + QStringLiteral("SUM(D.DETALII) AS C1") + from + QStringLiteral(", ") + table + QStringLiteral(" D WHERE ") + heads
            + QStringLiteral(" AND D.CODID=C.CODID AND D.ANUL=:ANUL AND D.RAND=:RAND");
        for (const QString& part : boundConditions(QStringLiteral("D.DETALII"), minimum, maximum, false, QStringLiteral("B"), p))
            statement += QStringLiteral(" AND ") + part;
        statement += QStringLiteral(" GROUP BY C.CODID ORDER BY I.LOCALIT, NUMEP, C.CODID");
    }
    return statement;
}

// The sums of the value columns; areas in whole square metres.
void SelectionList::addTotals(SelectionResult& result)
{
    for (const QString& column : result.valueColumns) {
        const int index = result.rows.fieldIndex(column);
        if (index < 0)
            throw Error(QStringLiteral("Lista nu are coloana %1.").arg(column));
        if (isAreaChapter(result.chapter)) {
            qint64 metres = 0;
            for (const auto& r : result.rows.rows)
                metres += boundMetres(dbf::numberOnly(r[size_t(index)]));
            result.totals.emplace_back(double(metres) / 10000.0);
        } else if (result.chapter == 10) {
            qint64 hundredths = 0;
            for (const auto& r : result.rows.rows)
                hundredths += std::llround(dbf::numberOnly(r[size_t(index)]) * 100);
            result.totals.emplace_back(double(hundredths) / 100.0);
        } else {
            std::int64_t sum = 0;
            for (const auto& r : result.rows.rows)
                sum += dbf::toRoundedWhole(r[size_t(index)]);
            result.totals.emplace_back(sum);
        }
    }
}

SelectionResult SelectionList::build(int chapter, const ListRow& row, const QString& minimumText, const QString& maximumText,
                                     const ListFilter& filter) const
{
    if (!isListChapter(chapter))
        throw Error(QStringLiteral("Capitolul %1 nu are liste.").arg(chapter));
    std::optional<double> minimum = parseBound(minimumText);
    std::optional<double> maximum = parseBound(maximumText);
    if (chapter == 5) {
        // A bound of 0 is no bound.
        if (minimum && *minimum == 0)
            minimum.reset();
        if (maximum && *maximum == 0)
            maximum.reset();
    }

    SelectionResult result;
    result.chapter = chapter;
    result.row = row;
    result.subject = subjectLine(chapter, row, filter);
    result.filterLine = filterLine(chapter, filter);

    engine::Parameters p;
    const QString heads = headsCondition(filter, p);
    const QString identificare = dataTable(QStringLiteral("Identificare.dbf"));
    const QString cap1 = dataTable(QStringLiteral("CAP1.dbf"));

    if (chapter == 1) {
        // Every member of the selected households.
        engine::Parameters q;
        q.bind(QStringLiteral("ANUL"), m_year);
        QString statement = QStringLiteral("SELECT I.LOCALIT, M.NUMEP, M.CNP, M.CODSEX, M.DATAN, I.POZ, I.VOLUM, I.STRADA, I.NR FROM ")
            + cap1 + QStringLiteral(" M, ") + identificare + QStringLiteral(" I WHERE M.ANUL=:ANUL AND M.CODID=I.CODID AND M.CODID IN (SELECT C.CODID FROM ")
            + cap1 + QStringLiteral(" C, ") + identificare + QStringLiteral(" I WHERE ") + heads + QStringLiteral(")");
        for (const QString& part : boundConditions(QStringLiteral("M.CODSEX"), minimum, maximum, false, QStringLiteral("B"), p))
            statement += QStringLiteral(" AND ") + part;
        statement += QStringLiteral(" ORDER BY I.LOCALIT, M.NUMEP, M.CODID");
        result.rows = m_engine.select(statement, p);
        result.totals = {std::int64_t(result.rows.rows.size())};
        return result;
    }

    p.bind(QStringLiteral("SEP"), QStringLiteral(" > "));
    p.bind(QStringLiteral("EMPTY"), QString(QLatin1String("")));
    const QString head = QStringLiteral("SELECT CASE WHEN I.DENUMIRE IS NULL THEN C.NUMEP ELSE I.DENUMIRE || :SEP || COALESCE(C.NUMEP, :EMPTY) END AS NUMEP, ")
        + QStringLiteral("C.CNP, I.LOCALIT, I.POZ, I.VOLUM, I.STRADA, I.NR, ");
    const QString from = QStringLiteral(" FROM ") + cap1 + QStringLiteral(" C, ") + identificare + QStringLiteral(" I");
    const QString table = dataTable(QStringLiteral("CAP%1.dbf").arg(chapter));
    QString statement;

    if (chapter == 10) {
        statement = dwellingStatement(row, minimum, maximum, heads, head, p);
        result.valueColumns = {QStringLiteral("C1")};
    } else {
        QString values;
        QStringList bounds;
        switch (chapter) {
        case 2: {
            const QString a = metresSql(QStringLiteral("D.AHA"), QStringLiteral("D.AARI"));
            const QString i = metresSql(QStringLiteral("D.IHA"), QStringLiteral("D.IARI"));
            values = QStringLiteral("(%1/10000.0) AS C1, (%2/10000.0) AS C4, ((%1-%2)/10000.0) AS C5").arg(a, i);
            bounds = boundConditions(a, minimum, maximum, true, QStringLiteral("B"), p);
            result.valueColumns = {QStringLiteral("C1"), QStringLiteral("C4"), QStringLiteral("C5")};
            break;
        }
        case 3:
        case 4: {
            const QString a = metresSql(QStringLiteral("D.HA"), QStringLiteral("D.ARI"));
            values = QStringLiteral("(%1/10000.0) AS C1").arg(a);
            bounds = boundConditions(a, minimum, maximum, true, QStringLiteral("B"), p);
            result.valueColumns = {QStringLiteral("C1")};
            break;
        }
        case 8: {
            values = QStringLiteral("D.SEM_1 AS C1, D.SEM_2 AS C2");
            // Listed when either half-year lies within the bounds.
            const QString first = boundConditions(QStringLiteral("D.SEM_1"), minimum, maximum, false, QStringLiteral("S1"), p).join(QStringLiteral(" AND "));
            const QString second = boundConditions(QStringLiteral("D.SEM_2"), minimum, maximum, false, QStringLiteral("S2"), p).join(QStringLiteral(" AND "));
            if (!first.isEmpty())
                bounds << QStringLiteral("((%1) OR (%2))").arg(first, second);
            result.valueColumns = {QStringLiteral("C1"), QStringLiteral("C2")};
            break;
        }
        default:
            values = QStringLiteral("D.NR AS C1");
            bounds = boundConditions(QStringLiteral("D.NR"), minimum, maximum, false, QStringLiteral("B"), p);
            result.valueColumns = {QStringLiteral("C1")};
            break;
        }
        p.bind(QStringLiteral("RAND"), row.code);
        statement = head + values + from + QStringLiteral(", ") + table + QStringLiteral(" D WHERE ") + heads
            + QStringLiteral(" AND D.CODID=C.CODID AND D.ANUL=:ANUL AND D.RAND=:RAND");
        for (const QString& part : bounds)
            statement += QStringLiteral(" AND ") + part;
        statement += QStringLiteral(" ORDER BY I.LOCALIT, NUMEP, C.CODID");
    }
    result.rows = m_engine.select(statement, p);

    addTotals(result);
    return result;
}

}
