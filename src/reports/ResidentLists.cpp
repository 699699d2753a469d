#include "reports/ResidentLists.h"

#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "output/TableSources.h"
#include "reports/RowOrder.h"
#include "data/dbf/ValueConversions.h"

#include <QDir>
#include <QSet>

#include <algorithm>
#include <map>
#include <unordered_map>

namespace velmor::reports {

namespace {

QString field(const QString& text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() ? QStringLiteral(" -") : trimmed;
}

engine::ResultField fieldOf(const char* name, engine::FieldType type, int width)
{
    engine::ResultField f;
    f.name = QLatin1String(name);
    f.type = type;
    f.width = width;
    return f;
}

}

ResidentLists::ResidentLists(engine::Engine& engine, QString dataDirectory, std::int64_t year)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_year(year)
{
}

QString ResidentLists::dataTable(const char* name) const
{
    return engine::quotedPath(QDir(m_dataDirectory).filePath(QLatin1String(name)));
}

QStringList ResidentLists::streets() const
{
    const engine::ResultSet rows = m_engine.select(QStringLiteral("SELECT DISTINCT STRADA FROM ") + dataTable("Identificare.dbf")
                                                   + QStringLiteral(" WHERE TIPRA=1"));
    QSet<QString> seen;
    QStringList streets;
    for (const auto& row : rows.rows) {
        const QString street = dbf::storedText(row[0]).trimmed().toUpper();
        if (!street.isEmpty() && !seen.contains(street)) {
            seen.insert(street);
            streets << street;
        }
    }
    std::sort(streets.begin(), streets.end());
    return streets;
}

engine::ResultSet ResidentLists::residents(const QString& street) const
{
    engine::Parameters parameters;
    parameters.bind(QStringLiteral("ANUL"), m_year);
    const engine::ResultSet households = m_engine.select(QStringLiteral("SELECT CODID, LOCALIT, VOLUM, POZ, NR, STRADA FROM ")
                                                             + dataTable("Identificare.dbf")
                                                             + QStringLiteral(" WHERE ANUL=:ANUL AND TIPRA=1"),
                                                         parameters);
    const QString wanted = street.trimmed().toUpper();
    const auto [codid, stored] = households.columns({"CODID", "STRADA"});
    std::unordered_multimap<std::int64_t, const std::vector<dbf::Value>*> onStreet;
    for (const auto& row : households.rows) {
        if (!dbf::isNull(row[codid]) && dbf::storedText(row[stored]).trimmed().toUpper() == wanted)
            onStreet.emplace(dbf::toRoundedWhole(row[codid]), &row);
    }
    const engine::ResultSet members = m_engine.select(QStringLiteral("SELECT CODID, NUMEP, DATAN FROM ") + dataTable("CAP1.dbf")
                                                          + QStringLiteral(" WHERE ANUL=:ANUL"),
                                                      parameters);
    engine::ResultSet rows;
    rows.fields = {households.fields[1], households.fields[2], households.fields[3], households.fields[4], members.fields[1],
                   members.fields[2]};
    for (const auto& member : members.rows) {
        const auto range = onStreet.equal_range(dbf::toRoundedWhole(member[0]));
        for (auto it = range.first; it != range.second; ++it) {
            const std::vector<dbf::Value>& h = *it->second;
            rows.rows.push_back({h[1], h[2], h[3], h[4], member[1], member[2]});
        }
    }
    sortRows(rows, {0, 3, 4});
    return rows;
}

engine::ResultSet ResidentLists::householdSizes() const
{
    engine::Parameters parameters;
    parameters.bind(QStringLiteral("ANUL"), m_year);
    const engine::ResultSet households = m_engine.select(QStringLiteral("SELECT CODID, TIPRA, LOCALIT, VOLUM, POZ, ROL FROM ")
                                                             + dataTable("Identificare.dbf") + QStringLiteral(" WHERE ANUL=:ANUL"),
                                                         parameters);
    const engine::ResultSet members = m_engine.select(QStringLiteral("SELECT CODID, NUMEP, COD FROM ") + dataTable("CAP1.dbf")
                                                          + QStringLiteral(" WHERE ANUL=:ANUL"),
                                                      parameters);
    std::unordered_map<std::int64_t, std::int64_t> counts;
    std::unordered_multimap<std::int64_t, QString> heads;
    for (const auto& row : members.rows) {
        if (dbf::isNull(row[0]))
            continue;
        ++counts[dbf::toRoundedWhole(row[0])];
        if (!dbf::isNull(row[2]) && dbf::toRoundedWhole(row[2]) == 1)
            heads.emplace(dbf::toRoundedWhole(row[0]), dbf::storedText(row[1]));
    }
    engine::ResultSet rows;
    engine::ResultField head = members.fields[1];
    head.name = QStringLiteral("CAP_GOSP");
    rows.fields = {households.fields[1], households.fields[2], households.fields[3], households.fields[4], households.fields[5],
                   head, fieldOf("NRLOC", engine::FieldType::Integer, 6)};
    for (const auto& h : households.rows) {
        if (dbf::isNull(h[0]))
            continue;
        const std::int64_t code = dbf::toRoundedWhole(h[0]);
        const auto range = heads.equal_range(code);
        for (auto it = range.first; it != range.second; ++it)
            rows.rows.push_back({h[1], h[2], h[3], h[4], h[5], it->second, counts[code]});
    }
    sortRows(rows, {1, 0, 2, 3});
    return rows;
}

QString ResidentLists::address(int type, const QString& county, const QString& locality, const QString& street,
                               const QString& number, const QString& domicileStreet, const QString& domicileNumber)
{
    switch (type) {
    case 1:
    case 3:
        return QStringLiteral("str.") + field(street) + QStringLiteral(" nr.") + field(number);
    case 2:
        return QStringLiteral("jud.") + field(county) + QStringLiteral(" loc.") + field(locality) + QStringLiteral(" str.")
            + field(domicileStreet) + QStringLiteral(" nr.") + field(domicileNumber);
    case 4:
        return QStringLiteral("jud.") + field(county) + QStringLiteral(" loc.") + field(locality) + QStringLiteral(" str.")
            + field(street) + QStringLiteral(" nr.") + field(number);
    }
    return QString();
}

engine::ResultSet ResidentLists::dwellings() const
{
    engine::Parameters parameters;
    parameters.bind(QStringLiteral("ANUL"), m_year);
    // Households with at least one dwelling house (rows 1, 4, 7 and 10 holding a positive value).
    std::map<std::int64_t, std::int64_t> houses;
    for (const auto& row : m_engine.select(QStringLiteral("SELECT CODID, COUNT(*) AS N FROM ") + dataTable("CAP10.dbf")
                                               + QStringLiteral(" WHERE ANUL=:ANUL AND RAND IN (1,4,7,10) AND DETALII>0 GROUP BY CODID"),
                                           parameters)
                               .rows) {
        if (!dbf::isNull(row[0]))
            houses[dbf::toRoundedWhole(row[0])] = dbf::toRoundedWhole(row[1]);
    }
    std::unordered_map<std::int64_t, std::pair<QString, QString>> heads;
    for (const auto& row : m_engine.select(QStringLiteral("SELECT CODID, NUMEP, CNP FROM ") + dataTable("CAP1.dbf")
                                               + QStringLiteral(" WHERE ANUL=:ANUL AND COD=1 ORDER BY CODID"),
                                           parameters)
                               .rows) {
        heads.try_emplace(dbf::toRoundedWhole(row[0]), dbf::storedText(row[1]), dbf::storedText(row[2]));
    }
    const engine::ResultSet identification = m_engine.select(
        QStringLiteral("SELECT CODID, TIPRA, LOCALIT, ROL, POZ, VOLUM, JUDET, LOC, STRADA, NR, STR2, NR2, DENUMIRE, CODFISCAL FROM ")
            + dataTable("Identificare.dbf") + QStringLiteral(" WHERE ANUL=:ANUL ORDER BY CODID"),
        parameters);
    const auto [codid, registerType, village, rol, position, volume, county, place, street, number, street2, number2, unitName,
                fiscalCode] = identification.columns({"CODID", "TIPRA", "LOCALIT", "ROL", "POZ", "VOLUM", "JUDET", "LOC", "STRADA", "NR",
                                                      "STR2", "NR2", "DENUMIRE", "CODFISCAL"});
    std::unordered_map<std::int64_t, const std::vector<dbf::Value>*> households;
    for (const auto& row : identification.rows)
        households.try_emplace(dbf::toRoundedWhole(row[codid]), &row);

    engine::ResultSet result;
    result.fields = {fieldOf("LOCALIT", engine::FieldType::Text, 40), fieldOf("NUMEP", engine::FieldType::Text, 40),
                     fieldOf("ADRESA", engine::FieldType::Text, 160), fieldOf("CNP", engine::FieldType::Text, 13),
                     fieldOf("ROL", engine::FieldType::Integer, 9),       fieldOf("POZ", engine::FieldType::Integer, 6),
                     fieldOf("VOLUM", engine::FieldType::Integer, 6),     fieldOf("NRCASE", engine::FieldType::Integer, 6)};
    for (const auto& [code, count] : houses) {
        QString name;
        QString cnp;
        if (const auto head = heads.find(code); head != heads.end()) {
            name = head->second.first;
            cnp = head->second.second;
        }
        // In the order of the result's fields.
        dbf::Value shownVillage, shownAddress, shownRol, shownPosition, shownVolume;
        if (const auto it = households.find(code); it != households.end()) {
            const std::vector<dbf::Value>& h = *it->second;
            const int type = int(dbf::toRoundedWhole(h[registerType]));
            shownVillage = h[village];
            shownAddress = address(type, dbf::storedText(h[county]), dbf::storedText(h[place]), dbf::storedText(h[street]),
                                   dbf::storedText(h[number]), dbf::storedText(h[street2]), dbf::storedText(h[number2]));
            shownRol = h[rol];
            shownPosition = h[position];
            shownVolume = h[volume];
            if (type == 3 || type == 4) {
                name = dbf::storedText(h[unitName]);
                cnp = dbf::storedText(h[fiscalCode]);
            }
        }
        result.rows.push_back({shownVillage, name.trimmed().isEmpty() ? QStringLiteral(" - ") : name, shownAddress,
                               cnp.trimmed().isEmpty() ? QStringLiteral(" - ") : cnp, shownRol, shownPosition, shownVolume,
                               std::int64_t(count)});
    }
    sortRows(result, {0, 1});
    return result;
}

output::ExportTable ResidentLists::residentsExport(const engine::ResultSet& rows, const QString& street)
{
    output::ExportTable table = output::tableFromResult(rows);
    const struct {
        const char* heading;
        int width;
    } columns[] = {{"Localitatea", 20}, {"Volum", 7}, {"Pozitia", 8}, {"Numar", 8}, {"Nume si prenume", 30}, {"Data nasterii", 16}};
    for (int c = 0; c < table.columns.size() && c < int(std::size(columns)); ++c) {
        table.columns[c].heading = QLatin1String(columns[c].heading);
        table.columns[c].width = columns[c].width;
    }
    table.title = QStringLiteral("Lista Locuitori dupa Strada ") + street;
    table.footer = QStringLiteral("Total persoane: %1").arg(rows.rows.size());
    return output::withRowNumbers(table);
}

output::ExportTable ResidentLists::listExport(const engine::ResultSet& rows, const QString& title)
{
    output::ExportTable table = output::tableFromResult(rows);
    table.title = title;
    table.footer = QStringLiteral("Total: %1").arg(rows.rows.size());
    return output::withRowNumbers(table);
}

}
