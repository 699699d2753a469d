#include "reports/Census.h"

#include "core/Error.h"
#include "core/Interaction.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfBulkWriter.h"
#include "data/engine/Engine.h"
#include "data/engine/DataSet.h"
#include "data/engine/SqlText.h"
#include "domain/TextCase.h"
#include "reports/TExportXLSModel.h"
#include "data/dbf/ValueConversions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <array>
#include <cmath>
#include <map>

namespace velmor::reports {

using engine::quotedPath;

namespace {

const QString CR = QStringLiteral("\r");

constexpr BuiltInTemplate CensusTemplates[] = {
    {"L1", "L1.xls"}, {"L2", "L2.xls"}, {"L3", "L3.xls"}, {"L4", "L4.xls"}, {"L5", "L5.xls"}, {"L6", "L6.xls"},
};

bool isList(CensusForm f) { return f != CensusForm::C1 && f != CensusForm::C2; }
bool elsewhere(CensusForm f) { return f == CensusForm::L2 || f == CensusForm::L4; }

dbf::FieldSpec numeric(const char* name, int width, int decimals = 0) { return {QLatin1String(name), 'N', width, decimals}; }
dbf::FieldSpec character(const char* name, int width) { return {QLatin1String(name), 'C', width, 0}; }

// The columns of Tmp.dbf for a form. NRN keeps the key's four decimals.
QList<dbf::FieldSpec> workColumns(CensusForm form)
{
    const dbf::FieldSpec codid = numeric("CODID", 10), volum = numeric("VOLUM", 6), poz = numeric("POZ", 6),
                         numep = character("NUMEP", 40), strada = character("STRADA", 32), nr = character("NR", 32),
                         nrn = numeric("NRN", 14, 4), ha = numeric("HA", 10), ari = numeric("ARI", 12, 2),
                         animale = character("ANIMALE", 7), are = character("ARE", 2);
    switch (form) {
    case CensusForm::L1:
    case CensusForm::L3:
        return {codid, volum, poz, numep, strada, nr, nrn, ha, ari, animale, are};
    case CensusForm::L2:
    case CensusForm::L4:
        return {codid, volum, poz, numep, character("JUD", 20), character("LOC", 32), strada, nr, nrn, ha, ari, animale, are};
    case CensusForm::C1:
        return {codid, character("LOCALIT", 40), numeric("TIPRA", 6), nrn, nr, ha, ari, animale, are};
    case CensusForm::C2:
        return {codid, numeric("TIPRA", 6), ha, ari, animale, are, nrn, nr};
    }
    return {};
}

// Identificare's columns read for a form, and the Tmp.dbf column each goes to.
QList<QPair<const char*, const char*>> identityColumns(CensusForm form)
{
    switch (form) {
    case CensusForm::L1: return {{"CODID", "CODID"}, {"VOLUM", "VOLUM"}, {"POZ", "POZ"}, {"STRADA", "STRADA"}, {"NR", "NR"}};
    case CensusForm::L2:
        return {{"CODID", "CODID"}, {"VOLUM", "VOLUM"}, {"POZ", "POZ"}, {"JUDET", "JUD"}, {"LOC", "LOC"}, {"STR2", "STRADA"}, {"NR2", "NR"}};
    case CensusForm::L3:
        return {{"CODID", "CODID"}, {"VOLUM", "VOLUM"}, {"POZ", "POZ"}, {"DENUMIRE", "NUMEP"}, {"STRADA", "STRADA"}, {"NR", "NR"}};
    case CensusForm::L4:
        return {{"CODID", "CODID"}, {"VOLUM", "VOLUM"}, {"POZ", "POZ"}, {"DENUMIRE", "NUMEP"},
                {"JUDET", "JUD"},   {"LOC", "LOC"},     {"STRADA", "STRADA"}, {"NR", "NR"}};
    case CensusForm::C1: return {{"CODID", "CODID"}, {"LOCALIT", "LOCALIT"}, {"TIPRA", "TIPRA"}};
    case CensusForm::C2: return {{"CODID", "CODID"}, {"TIPRA", "TIPRA"}};
    }
    return {};
}

// Rows already read, walked as a data set by the template filling.
class ResultRows : public engine::DataSet {
public:
    explicit ResultRows(const engine::ResultSet& rows)
        : m_rows(rows)
    {
        setActive(true);
        rebuildView();
    }

protected:
    const QList<engine::ResultField>& fields() const override { return m_rows.fields; }
    int sourceCount() const override { return int(m_rows.rows.size()); }
    dbf::Value sourceValue(int source, int column) const override { return m_rows.rows[size_t(source)][size_t(column)]; }

private:
    const engine::ResultSet& m_rows;
};

// HA + ARI/100 hectares as square metres (ARI has two decimals).
qint64 squareMetres(const dbf::Value& ha, const dbf::Value& ari)
{
    return dbf::toRoundedWhole(ha) * 10000 + qint64(std::llround(dbf::numberOnly(ari) * 100.0));
}

}

const BuiltInTemplate& censusTemplate(int k)
{
    if (k < 1 || k > 6)
        throw Error(QStringLiteral("Formularul %1 nu exista.").arg(k));
    return CensusTemplates[k - 1];
}

QStringList censusFormNames()
{
    return {QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("L3"), QStringLiteral("L4"), QStringLiteral("C1"), QStringLiteral("C2")};
}

Census::Census(TemplateExportSetup setup, QString county, QString commune)
    : m_setup(std::move(setup))
    , m_county(std::move(county))
    , m_commune(std::move(commune))
{
    if (!m_setup.engine || !m_setup.interaction)
        throw Error(QStringLiteral("Rapoartele Excel au nevoie de motorul de date si de interfata cu utilizatorul."));
}

QString Census::workTable() const { return QDir(m_setup.programDirectory).filePath(QStringLiteral("Tmp.dbf")); }
QString Census::countTable() const { return QDir(m_setup.programDirectory).filePath(QStringLiteral("Tmp2.dbf")); }

double Census::houseNumberKey(const QString& number)
{
    const QString text = upperAZ(number.trimmed()).trimmed();
    qint64 digits = 0;
    int taken = 0;
    int code = 0;
    for (QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            if (taken < 9) {
                digits = digits * 10 + (c.unicode() - '0');
                ++taken;
            }
            continue;
        }
        QByteArray byte;
        if (dbf::cp1250::tryEncode(QStringView(&c, 1), byte) && byte.size() == 1)
            code = quint8(byte[0]);
        else
            code = '?';
        break;
    }
    return double(digits) + code / 10000.0;
}

QString Census::dateText(const QDate& date)
{
    return QStringLiteral("ziua ") + date.toString(QStringLiteral("dd")) + QStringLiteral("  luna ") + date.toString(QStringLiteral("MM"))
        + QStringLiteral("  2010");
}

bool Census::removeTable(const QString& path) const
{
    m_setup.engine->forget(path);
    return !QFileInfo::exists(path) || QFile::remove(path);
}

void Census::removeWorkTables() const
{
    removeTable(workTable());
    removeTable(countTable());
}

engine::ResultSet Census::rows(const CensusRequest& request, const QString& workingYear, int* leftOut)
{
    bool ok = false;
    const qint64 year = workingYear.trimmed().toLongLong(&ok);
    if (!ok)
        throw Error(QStringLiteral("Anul de lucru \"%1\" nu este un an.").arg(workingYear));
    if (request.village.trimmed().isEmpty())
        throw Error(QStringLiteral("Nu ati ales localitatea!"));
    for (const QString& path : {workTable(), countTable()}) {
        if (!removeTable(path))
            throw Error(QStringLiteral("Fisierul ") + QDir::toNativeSeparators(path) + QStringLiteral(" este blocat!") + CR
                        + QStringLiteral("Restartati calculatorul!"));
    }
    try {
        engine::ResultSet result = build(request, year, leftOut);
        removeWorkTables();
        return result;
    } catch (...) {
        removeWorkTables();
        throw;
    }
}

namespace {

// The year's tables of the data directory, read with the year bound.
struct YearTables {
    engine::Engine& engine;
    QString dataDirectory;
    engine::Parameters byYear;

    QString table(const char* name) const { return quotedPath(QDir(dataDirectory).filePath(QLatin1String(name))); }
};

// The households of a form: every column as a value, in Tmp.dbf's layout.
struct WorkRows {
    QList<dbf::FieldSpec> columns;
    std::vector<std::vector<dbf::Value>> rows;

    int column(const char* name) const
    {
        for (int c = 0; c < columns.size(); ++c) {
            if (columns[c].name == QLatin1String(name))
                return c;
        }
        return -1;
    }
    dbf::Value& at(size_t row, const char* name) { return rows[row][size_t(column(name))]; }
    qint64 codid(size_t row) const { return dbf::toRoundedWhole(rows[row][size_t(column("CODID"))]); }
};

WorkRows selectHouseholds(const YearTables& year, const CensusRequest& request)
{
    const CensusForm form = request.form;
    WorkRows work {workColumns(form), {}};
    const auto identity = identityColumns(form);
    QStringList selected;
    for (const auto& [from, to] : identity)
        selected << QLatin1String(from);
    QString statement = QStringLiteral("SELECT ") + selected.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
        + year.table("Identificare.dbf") + QStringLiteral(" WHERE ANUL=:ANUL");
    engine::Parameters households = year.byYear;
    if (isList(form)) {
        // The village is a bound value: any text reaches the comparison as typed.
        statement += QStringLiteral(" AND TIPRA=:TIPRA AND LOCALIT=:LOCALIT");
        households.bind(QStringLiteral("TIPRA"), std::int64_t(int(form)));
        households.bind(QStringLiteral("LOCALIT"), dbf::cp1250::storedForm(request.village));
    }
    const engine::ResultSet found = year.engine.select(statement, households);
    work.rows.assign(found.rows.size(), std::vector<dbf::Value>(size_t(work.columns.size())));
    for (size_t r = 0; r < found.rows.size(); ++r) {
        for (int i = 0; i < identity.size(); ++i)
            work.at(r, identity[i].second) = found.rows[r][size_t(i)];
        work.at(r, "ARE") = QStringLiteral("NU");
    }
    return work;
}

// Names of the lists: the head of household's, or the unit's own when it has one.
void fillHeadNames(WorkRows& work, const YearTables& year, CensusForm form, Interaction& ui)
{
    const engine::ResultSet heads = year.engine.select(QStringLiteral("SELECT CODID, NUMEP FROM ") + year.table("Cap1.dbf")
                                                           + QStringLiteral(" WHERE ANUL=:ANUL AND COD=1 ORDER BY CODID"),
                                                       year.byYear);
    QHash<qint64, QString> headOf;
    for (const auto& row : heads.rows) {
        const qint64 codid = dbf::toRoundedWhole(row[0]);
        if (!headOf.contains(codid))
            headOf.insert(codid, dbf::storedText(row[1]));
    }
    ui.setProgressLabel(QStringLiteral("Caut Capii de gospodarie..."));
    const bool company = form == CensusForm::L3 || form == CensusForm::L4;
    for (size_t r = 0; r < work.rows.size(); ++r) {
        ui.setProgressPosition(int(r + 1));
        const auto head = headOf.constFind(work.codid(r));
        if (head == headOf.cend())
            continue;
        dbf::Value& name = work.at(r, "NUMEP");
        if (!company)
            name = upperRomanian(*head);
        else if (dbf::storedText(name).trimmed().isEmpty())
            name = upperRomanian(*head).trimmed();
    }
}

// Areas, in square metres, and the house-number key.
void fillAreas(WorkRows& work, const YearTables& year, const CensusRequest& request, Interaction& ui)
{
    ui.setProgressLabel(QStringLiteral("Caut Suprafetele..."));
    std::map<qint64, qint64> received, givenAway, owned, ownedElsewhere;
    auto lookup = [&](const QString& select, const char* from, int row) {
        engine::Parameters p = year.byYear;
        p.bind(QStringLiteral("RAND"), std::int64_t(row));
        return year.engine.select(select + QStringLiteral(" FROM ") + year.table(from)
                                      + QStringLiteral(" WHERE ANUL=:ANUL AND RAND=:RAND ORDER BY CODID"),
                                  p);
    };
    auto readArea = [&](int chapterRow, std::map<qint64, qint64>& into) {
        const engine::ResultSet rows = lookup(QStringLiteral("SELECT CODID, HA, ARI"), "Cap3.dbf", chapterRow);
        const auto [codid, ha, ari] = rows.columns({"CODID", "HA", "ARI"});
        for (const auto& row : rows.rows)
            into.emplace(dbf::toRoundedWhole(row[codid]), squareMetres(row[ha], row[ari]));
    };
    readArea(2, received);
    readArea(8, givenAway);
    const engine::ResultSet ownership = lookup(QStringLiteral("SELECT CODID, BHA, BARI, CHA, CARI"), "Cap2.dbf", 8);
    const auto [codid, bha, bari, cha, cari] = ownership.columns({"CODID", "BHA", "BARI", "CHA", "CARI"});
    for (const auto& row : ownership.rows) {
        owned.emplace(dbf::toRoundedWhole(row[codid]), squareMetres(row[bha], row[bari]));
        ownedElsewhere.emplace(dbf::toRoundedWhole(row[codid]), squareMetres(row[cha], row[cari]));
    }
    auto metresOf = [](const std::map<qint64, qint64>& m, qint64 codid) {
        const auto it = m.find(codid);
        return it == m.end() ? qint64(0) : it->second;
    };
    for (size_t r = 0; r < work.rows.size(); ++r) {
        ui.setProgressPosition(int(r + 1));
        const qint64 codid = work.codid(r);
        qint64 own = metresOf(owned, codid);
        if (elsewhere(request.form) && own == 0 && !request.ignoreOther && metresOf(ownedElsewhere, codid) > 0)
            own = metresOf(ownedElsewhere, codid);
        const qint64 total = own + metresOf(received, codid) - metresOf(givenAway, codid);
        const qint64 hectares = total / 10000; // toward zero
        work.at(r, "HA") = std::int64_t(hectares);
        work.at(r, "ARI") = double(total - hectares * 10000) / 100.0;
        if (total > 0)
            work.at(r, "ARE") = QStringLiteral("DA");
        work.at(r, "NRN") = Census::houseNumberKey(dbf::storedText(work.at(r, "NR")));
    }
}

// Animals of the year (chapter 7, rows below 31).
void fillAnimals(WorkRows& work, const YearTables& year, Interaction& ui)
{
    ui.setProgressLabel(QStringLiteral("Caut Animalele..."));
    std::map<qint64, double> animals;
    for (const auto& row : year.engine.select(QStringLiteral("SELECT CODID, SUM(NR) AS NRX FROM ") + year.table("Cap7.dbf")
                                                  + QStringLiteral(" WHERE ANUL=:ANUL AND RAND<31 GROUP BY CODID ORDER BY CODID"),
                                              year.byYear)
                               .rows)
        animals.emplace(dbf::toRoundedWhole(row[0]), dbf::numberOnly(row[1]));
    for (size_t r = 0; r < work.rows.size(); ++r) {
        ui.setProgressPosition(int(r + 1));
        const auto it = animals.find(work.codid(r));
        if (it != animals.end() && it->second > 0) {
            work.at(r, "ANIMALE") = QStringLiteral("X");
            work.at(r, "ARE") = QStringLiteral("DA");
        }
    }
}

}

engine::ResultSet Census::build(const CensusRequest& request, qint64 year, int* leftOut)
{
    engine::Engine& engine = *m_setup.engine;
    Interaction& ui = *m_setup.interaction;
    const CensusForm form = request.form;
    YearTables tables {engine, m_setup.dataDirectory, {}};
    tables.byYear.bind(QStringLiteral("ANUL"), std::int64_t(year));

    WorkRows work = selectHouseholds(tables, request);
    ui.Arata();
    struct HideProgress {
        Interaction& ui;
        ~HideProgress() { ui.Distruge(); }
    } hide {ui};
    ui.setProgressMaximum(int(work.rows.size()));
    if (isList(form))
        fillHeadNames(work, tables, form, ui);
    fillAreas(work, tables, request, ui);
    fillAnimals(work, tables, ui);

    // Holdings without land or animals go, unless the lists keep them.
    const bool dropNu = !isList(form) || !request.includeNu;
    {
        const int are = work.column("ARE");
        dbf::DbfBulkWriter writer(workTable(), work.columns);
        for (const auto& row : work.rows) {
            if (dropNu && dbf::storedText(row[size_t(are)]) != QLatin1String("DA"))
                continue;
            writer.append(row);
        }
        writer.finish();
    }
    engine.forget(workTable());
    if (isList(form)) {
        const QString order = elsewhere(form) ? QStringLiteral(" ORDER BY JUD, LOC, VOLUM, POZ") : QStringLiteral(" ORDER BY STRADA, NRN, VOLUM, POZ");
        return engine.select(QStringLiteral("SELECT * FROM ") + quotedPath(workTable()) + order);
    }
    return counts(form == CensusForm::C1, leftOut);
}

// The counts by register type: per village for C1, one row for the council for C2. A type
// outside 1-4 has no column; such households are left out and counted.
engine::ResultSet Census::counts(bool perVillage, int* leftOut)
{
    engine::Engine& engine = *m_setup.engine;
    const QString tmp = quotedPath(workTable());
    int outside = 0;
    std::map<QString, std::array<qint64, 4>> counts;
    std::array<qint64, 4> council {};
    std::array<bool, 4> councilSeen {};
    std::map<QString, std::array<bool, 4>> seen;
    const engine::ResultSet villages = perVillage ? engine.select(QStringLiteral("SELECT LOCALIT FROM ") + tmp + QStringLiteral(" GROUP BY LOCALIT"))
                                                  : engine::ResultSet {};
    for (const auto& row : villages.rows) {
        counts[dbf::storedText(row[0])] = {};
        seen[dbf::storedText(row[0])] = {};
    }
    const engine::ResultSet grouped = engine.select(perVillage ? QStringLiteral("SELECT LOCALIT, TIPRA, Count(*) AS NRX FROM ") + tmp
                                                                     + QStringLiteral(" GROUP BY LOCALIT, TIPRA")
                                                               : QStringLiteral("SELECT TIPRA, Count(*) AS NRX FROM ") + tmp
                                                                     + QStringLiteral(" GROUP BY TIPRA"));
    for (const auto& row : grouped.rows) {
        const int offset = perVillage ? 1 : 0;
        const dbf::Value& typeValue = row[size_t(offset)];
        const qint64 count = dbf::toRoundedWhole(row[size_t(offset + 1)]);
        const bool known = !std::holds_alternative<std::monostate>(typeValue) && dbf::numberOnly(typeValue) == double(dbf::toRoundedWhole(typeValue));
        const qint64 type = dbf::toRoundedWhole(typeValue);
        if (!known || type < 1 || type > 4) {
            outside += int(count);
            continue;
        }
        if (perVillage) {
            counts[dbf::storedText(row[0])][size_t(type - 1)] = count;
            seen[dbf::storedText(row[0])][size_t(type - 1)] = true;
        } else {
            council[size_t(type - 1)] = count;
            councilSeen[size_t(type - 1)] = true;
        }
    }
    if (leftOut)
        *leftOut = outside;

    QList<dbf::FieldSpec> countColumns;
    if (perVillage)
        countColumns << character("LOCALITATE", 40);
    for (const char* name : {"NR1", "NR2", "NR3", "NR4"})
        countColumns << numeric(name, 10);
    {
        dbf::DbfBulkWriter writer(countTable(), countColumns);
        auto row = [](const std::array<qint64, 4>& n, const std::array<bool, 4>& set) {
            std::vector<dbf::Value> values;
            for (size_t t = 0; t < 4; ++t)
                values.push_back(set[t] ? dbf::Value(std::int64_t(n[t])) : dbf::Value());
            return values;
        };
        if (perVillage) {
            for (const auto& [village, n] : counts) {
                std::vector<dbf::Value> values {village};
                for (const dbf::Value& v : row(n, seen[village]))
                    values.push_back(v);
                writer.append(values);
            }
        } else {
            writer.append(row(council, councilSeen));
        }
        writer.finish();
    }
    engine.forget(countTable());
    removeTable(workTable());
    return engine.select(QStringLiteral("SELECT * FROM ") + quotedPath(countTable())
                         + (perVillage ? QStringLiteral(" ORDER BY LOCALITATE") : QString()));
}

CensusResult Census::run(const CensusRequest& request, const QString& workingYear)
{
    CensusResult result;
    Interaction& ui = *m_setup.interaction;
    const QString title = QStringLiteral("Recensamant");
    // A work table that cannot be removed stops everything.
    for (const QString& path : {workTable(), countTable()}) {
        if (!removeTable(path)) {
            ui.Mesaj(title,
                     QStringLiteral("Fisierul ") + QDir::toNativeSeparators(path) + QStringLiteral(" este blocat!") + CR
                         + QStringLiteral("Restartati calculatorul!"),
                     KindError, ButtonsOk);
            result.locked = true;
            return result;
        }
    }
    const int k = int(request.form);
    const QString copy = ensureTemplateCopy(censusTemplate(k), m_setup.dataDirectory);

    int leftOut = 0;
    const engine::ResultSet found = rows(request, workingYear, &leftOut);
    result.leftOut = leftOut;

    TExportXLSModel model(ui, m_setup.programDirectory);
    if (!m_outputFile.isEmpty())
        model.setFixedOutput(m_outputFile);
    result.templateOpened = model.openTemplate(m_templateFile.isEmpty() ? copy : m_templateFile);
    const QDate date = request.date.isValid() ? request.date : QDate::currentDate();
    model.replaceHeader(QStringLiteral("#JUDET"), QStringLiteral("JUDETUL ") + m_county);
    model.replaceHeader(QStringLiteral("#PRIMARIA"), QStringLiteral("orasului, comunei ") + m_commune);
    model.replaceHeader(QStringLiteral("#LOCALIT"), QStringLiteral("Localitatea componenta/ satul ") + request.village);
    model.replaceHeader(QStringLiteral("#DENLOC"), m_commune);
    model.replaceHeader(QStringLiteral("#DATA"), dateText(date));

    ResultRows data(found);
    result.rows = model.fill(data);
    result.output = model.saveAndShow();
    if (leftOut > 0) {
        ui.Mesaj(title,
                 QStringLiteral("%1 gospodarii cu tipul registrului in afara valorilor 1-4 nu au fost numarate.").arg(leftOut),
                 KindWarning, ButtonsOk);
    }
    return result;
}

}
