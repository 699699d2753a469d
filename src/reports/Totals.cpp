#include "reports/Totals.h"

#include "core/Interaction.h"
#include "core/ProgressShown.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "data/engine/TableHandle.h"
#include "domain/AreaMetres.h"
#include "data/dbf/ValueConversions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <optional>

namespace velmor::reports {

using engine::quotedPath;

namespace {

// Square metres of a summed hectare / are pair.
qint64 metresOf(const dbf::Value& ha, const dbf::Value& ari)
{
    return area::metres(dbf::numberOnly(ha), dbf::numberOnly(ari));
}

void appendPair(std::vector<dbf::Value>& values, qint64 squareMetres)
{
    const area::HaAri pair = area::split(squareMetres);
    values.emplace_back(std::int64_t(pair.ha));
    values.emplace_back(pair.ari);
}

const char* const tableFiles[] = {"Rapt1.dbf", "Rap2.dbf", "RapA.dbf", "Rap3.dbf", "Rap5.dbf", "Rap6.dbf",
                                  "Rap7.dbf", "Rap8.dbf", "Rap9.dbf", "Rap10.dbf", "Rap11.dbf"};

}

QString totalsTsv(const engine::ResultSet& rows)
{
    QString text;
    QStringList cells;
    for (const engine::ResultField& field : rows.fields)
        cells << field.name;
    text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const auto& row : rows.rows) {
        cells.clear();
        for (int c = 0; c < rows.fields.size(); ++c) {
            const dbf::Value& value = row[size_t(c)];
            if (const auto* real = std::get_if<double>(&value)) {
                cells << dbf::decimalText(*real, rows.fields[c].decimals > 0 ? rows.fields[c].decimals : 4);
            } else if (const auto* integer = std::get_if<std::int64_t>(&value)) {
                cells << QString::number(*integer);
            } else if (const auto* date = std::get_if<QDate>(&value)) {
                cells << (date->isValid() ? date->toString(QStringLiteral("dd.MM.yyyy")) : QString());
            } else if (const auto* flag = std::get_if<bool>(&value)) {
                cells << (*flag ? QStringLiteral("True") : QStringLiteral("False"));
            } else if (const auto* string = std::get_if<QString>(&value)) {
                QString escaped = *string;
                escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\t'), QLatin1String("\\t"))
                    .replace(QLatin1Char('\r'), QLatin1String("\\r")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
                cells << escaped;
            } else {
                cells << QString();
            }
        }
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

Totals::Totals(engine::Engine& engine, QString dataDirectory, QString workDirectory, std::int64_t year)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_workDirectory(std::move(workDirectory))
    , m_year(year)
{
    m_engine.addTableRoot(m_workDirectory);
}

Totals::~Totals() = default;

QString Totals::tableFile(TotalsTable table)
{
    return QString::fromLatin1(tableFiles[int(table)]);
}

QString Totals::tablePath(TotalsTable table) const
{
    return QDir(m_workDirectory).filePath(tableFile(table));
}

QString Totals::dataTable(const char* name) const
{
    return quotedPath(QDir(m_dataDirectory).filePath(QLatin1String(name)));
}

QString Totals::workTable(const char* name) const
{
    return quotedPath(QDir(m_workDirectory).filePath(QLatin1String(name)));
}

QString Totals::householdCondition(const TotalsFilter& filter, const QString& prefix,
                                   engine::Parameters& parameters) const
{
    QStringList parts{prefix + QStringLiteral("ANUL=:ANUL")};
    parameters.bind(QStringLiteral("ANUL"), m_year);
    if (!filter.village.isEmpty()) {
        parts << prefix + QStringLiteral("LOCALIT=:LOCALIT");
        parameters.bind(QStringLiteral("LOCALIT"), filter.village);
    }
    if (filter.type > 0) {
        parts << prefix + QStringLiteral("TIPRA=:TIPRA");
        parameters.bind(QStringLiteral("TIPRA"), std::int64_t(filter.type));
    }
    if (filter.volume) {
        parts << prefix + QStringLiteral("VOLUM=:VOLUM");
        parameters.bind(QStringLiteral("VOLUM"), *filter.volume);
    }
    return parts.join(QStringLiteral(" AND "));
}

std::vector<std::int64_t> Totals::volumes() const
{
    engine::Parameters parameters;
    parameters.bind(QStringLiteral("ANUL"), m_year);
    const engine::ResultSet rows = m_engine.select(QStringLiteral("SELECT DISTINCT VOLUM FROM ") + dataTable("Identificare.dbf")
                                                       + QStringLiteral(" WHERE ANUL=:ANUL ORDER BY VOLUM"),
                                                   parameters);
    std::vector<std::int64_t> volumes;
    for (const auto& row : rows.rows) {
        if (std::holds_alternative<std::int64_t>(row[0]) || std::holds_alternative<double>(row[0]))
            volumes.push_back(std::int64_t(dbf::numberOnly(row[0])));
    }
    return volumes;
}

engine::ResultSet Totals::households(const TotalsFilter& filter) const
{
    engine::Parameters parameters;
    const QString condition = householdCondition(filter, QString(), parameters);
    return m_engine.select(QStringLiteral("SELECT LOCALIT, POZ, VOLUM, STRADA, NR, DENUMIRE, CODID FROM ")
                               + dataTable("Identificare.dbf") + QStringLiteral(" WHERE ") + condition
                               + QStringLiteral(" ORDER BY LOCALIT, VOLUM, POZ"),
                           parameters);
}

QString Totals::householdFilterText(std::int64_t year, const TotalsFilter& filter)
{
    QStringList parts{QStringLiteral("(ANUL=%1)").arg(year)};
    if (!filter.village.isEmpty())
        parts << QStringLiteral("(LOCALIT=%1)").arg(engine::filterText(filter.village));
    if (filter.type > 0)
        parts << QStringLiteral("(TIPRA=%1)").arg(filter.type);
    if (filter.volume)
        parts << QStringLiteral("(VOLUM=%1)").arg(*filter.volume);
    return parts.join(QStringLiteral(" AND "));
}

void Totals::removeTable(const QString& fileName)
{
    const QString path = QDir(m_workDirectory).filePath(fileName);
    m_engine.forget(path);
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw Error(QStringLiteral("Nu pot sterge tabelul temporar %1.").arg(QDir::toNativeSeparators(path)));
}

void Totals::removeTables()
{
    m_built = false;
    for (const char* name : tableFiles)
        removeTable(QString::fromLatin1(name));
    removeTable(QStringLiteral("T2.dbf"));
}

void Totals::create(const char* name, const char* columns)
{
    m_engine.execute(QStringLiteral("CREATE TABLE ") + workTable(name) + QLatin1Char(' ') + QLatin1String(columns));
}

void Totals::append(const char* name, const std::vector<dbf::Value>& values)
{
    m_engine.table(QDir(m_workDirectory).filePath(QLatin1String(name))).append(values);
}

engine::ResultSet Totals::chapterSums(const char* chapter, const QString& sums, const QString& groupBy,
                                      const QString& where) const
{
    // The chosen households (T2 holds each code once), looked up through the code's index.
    QString statement = QStringLiteral("SELECT ") + groupBy + QStringLiteral(", ") + sums + QStringLiteral(" FROM ")
        + dataTable(chapter) + QStringLiteral(" C WHERE C.CODID IN (SELECT CODID FROM ") + workTable("T2.dbf")
        + QStringLiteral(")");
    if (!where.isEmpty())
        statement += QStringLiteral(" AND ") + where;
    statement += QStringLiteral(" GROUP BY ") + groupBy + QStringLiteral(" ORDER BY ") + groupBy;
    return m_engine.select(statement);
}

void Totals::build(const TotalsFilter& filter, Interaction* ui)
{
    engine::Parameters parameters;
    const QString condition = householdCondition(filter, QString(), parameters);
    const engine::ResultSet count = m_engine.select(
        QStringLiteral("SELECT COUNT(*) AS N FROM ") + dataTable("Identificare.dbf") + QStringLiteral(" WHERE ") + condition,
        parameters);
    if (count.rows.empty() || dbf::toRoundedWhole(count.rows[0][0]) == 0)
        throw NoHouseholdsError(noHouseholdsMessage());

    std::optional<ProgressShown> progress;
    if (ui) {
        ui->setProgressMaximum(100);
        progress.emplace(*ui, QStringLiteral("Calculez CAP1. ..."));
        ui->setProgressPosition(1);
    }
    const auto step = [ui](int position, const char* label) {
        if (!ui)
            return;
        if (label)
            ui->setProgressLabel(QString::fromLatin1(label));
        ui->setProgressPosition(position);
        ui->processEvents();
    };

    removeTables();
    create("T2.dbf", "(CODID DECIMAL(10,0))");
    m_engine.execute(QStringLiteral("INSERT INTO ") + workTable("T2.dbf") + QStringLiteral(" SELECT CODID FROM ")
                         + dataTable("Identificare.dbf") + QStringLiteral(" WHERE ") + condition,
                     parameters);
    buildMembers(filter);
    step(15, "Calculez CAP.2 ...");
    buildChapter2();
    step(30, "Calculez CAP.4 ...");
    buildChapter4();
    step(35, "Calculez CAP 5. ...");
    buildCounts("CAP5.dbf", "Rap5.dbf", QStringLiteral("RAND DECIMAL(3,0)"));
    step(50, "Calculez CAP.6 ...");
    buildChapter6();
    step(60, "Calculez CAP 7. ...");
    buildCounts("CAP7.dbf", "Rap7.dbf", QStringLiteral("RAND DECIMAL(4,1)"));
    step(70, "Calculez CAP.8 ...");
    buildChapter8();
    step(80, "Calculez CAP9. ...");
    buildCounts("CAP9.dbf", "Rap10.dbf", QStringLiteral("RAND DECIMAL(3,0)"));
    step(85, "Calculez CAP 10. ...");
    buildChapter10();
    step(95, nullptr);
    buildChapter3();
    step(100, nullptr);
    m_built = true;
}

void Totals::buildMembers(const TotalsFilter& filter)
{
    create("Rapt1.dbf", "(LOCALIT CHAR(40), NUMEP CHAR(40), CNP CHAR(13), CODSEX DECIMAL(2,0), DATAN DATE, "
                        "MENTIUNI CHAR(240), DATAS CHAR(10), POZ DECIMAL(6,0), VOLUM DECIMAL(6,0))");
    engine::Parameters parameters;
    QString statement = QStringLiteral("SELECT I.LOCALIT, C.NUMEP, C.CNP, C.CODSEX, C.DATAN, C.MENTIUNI, I.POZ, I.VOLUM FROM ")
        + dataTable("CAP1.dbf") + QStringLiteral(" C, ") + dataTable("Identificare.dbf")
        + QStringLiteral(" I WHERE I.CODID=C.CODID AND C.ANUL=:ANUL AND ")
        + householdCondition(filter, QStringLiteral("I."), parameters);
    if (filter.sex > 0) {
        statement += QStringLiteral(" AND C.CODSEX=:CODSEX");
        parameters.bind(QStringLiteral("CODSEX"), std::int64_t(filter.sex));
    }
    if (!filter.anyBirthDate) {
        statement += QStringLiteral(" AND C.DATAN>=:DATA1 AND C.DATAN<=:DATA2");
        parameters.bind(QStringLiteral("DATA1"), filter.bornFrom);
        parameters.bind(QStringLiteral("DATA2"), filter.bornTo);
    }
    const engine::ResultSet members = m_engine.select(statement, parameters);
    const QDate zeroDate(1899, 12, 31);
    const auto [village, name, cnp, sex, birth, notes, position, volume] =
        members.columns({"LOCALIT", "NUMEP", "CNP", "CODSEX", "DATAN", "MENTIUNI", "POZ", "VOLUM"});
    for (const auto& row : members.rows) {
        if (dbf::storedText(row[notes]).toUpper().contains(QLatin1String("DECEDAT")))
            continue;
        const QDate* born = std::get_if<QDate>(&row[birth]);
        const QString shown = born && born->isValid() && *born > zeroDate ? born->toString(QStringLiteral("dd.MM.yyyy"))
                                                                           : QStringLiteral("     -");
        append("Rapt1.dbf", {row[village], row[name], row[cnp], row[sex], row[birth], row[notes], shown, row[position], row[volume]});
    }
}

void Totals::buildChapter2()
{
    create("Rap2.dbf", "(CATEG CHAR(60), RAND DECIMAL(3,0), AHA DECIMAL(6,0), AARI DECIMAL(9,2), BHA DECIMAL(6,0), "
                       "BARI DECIMAL(9,2), CHA DECIMAL(6,0), CARI DECIMAL(9,2), IHA DECIMAL(6,0), IARI DECIMAL(9,2), "
                       "EHA DECIMAL(9,1), EARI DECIMAL(9,2))");
    const engine::ResultSet sums = chapterSums(
        "CAP2.dbf",
        QStringLiteral("SUM(C.AHA) AS AHA1, SUM(C.AARI) AS AARI1, SUM(C.BHA) AS BHA1, SUM(C.BARI) AS BARI1, "
                       "SUM(C.CHA) AS CHA1, SUM(C.CARI) AS CARI1, SUM(C.IHA) AS IHA1, SUM(C.IARI) AS IARI1"),
        QStringLiteral("C.CATEG, C.RAND"));
    const auto [categ, rand, aha, aari, bha, bari, cha, cari, iha, iari] =
        sums.columns({"CATEG", "RAND", "AHA1", "AARI1", "BHA1", "BARI1", "CHA1", "CARI1", "IHA1", "IARI1"});
    for (const auto& row : sums.rows) {
        std::vector<dbf::Value> values{row[categ], row[rand]};
        const qint64 total = metresOf(row[aha], row[aari]);
        const qint64 inside = metresOf(row[iha], row[iari]);
        appendPair(values, total);
        appendPair(values, metresOf(row[bha], row[bari]));
        appendPair(values, metresOf(row[cha], row[cari]));
        appendPair(values, inside);
        appendPair(values, total - inside);
        append("Rap2.dbf", values);
    }
}

void Totals::buildChapter4()
{
    create("Rap3.dbf", "(CATEG CHAR(60), RAND DECIMAL(3,0), HA DECIMAL(6,0), ARI DECIMAL(10,2))");
    const engine::ResultSet sums = chapterSums("CAP4.dbf", QStringLiteral("SUM(C.HA) AS HA1, SUM(C.ARI) AS ARI1"),
                                               QStringLiteral("C.CATEG, C.RAND"));
    const auto [categ, rand, ha, ari] = sums.columns({"CATEG", "RAND", "HA1", "ARI1"});
    for (const auto& row : sums.rows) {
        std::vector<dbf::Value> values{row[categ], row[rand]};
        appendPair(values, metresOf(row[ha], row[ari]));
        append("Rap3.dbf", values);
    }
}

void Totals::buildCounts(const char* chapter, const char* table, const QString& rowType)
{
    const QString columns = QStringLiteral("(CATEG CHAR(60), %1, NR DECIMAL(10,0))").arg(rowType);
    m_engine.execute(QStringLiteral("CREATE TABLE ") + workTable(table) + QLatin1Char(' ') + columns);
    const engine::ResultSet sums = chapterSums(chapter, QStringLiteral("SUM(C.NR) AS NR1"), QStringLiteral("C.CATEG, C.RAND"));
    const auto [categ, rand, count] = sums.columns({"CATEG", "RAND", "NR1"});
    for (const auto& row : sums.rows)
        append(table, {row[categ], row[rand], dbf::toRoundedWhole(row[count])});
}

void Totals::buildChapter6()
{
    create("Rap6.dbf", "(CATEG CHAR(60), RAND DECIMAL(3,0), AHA DECIMAL(6,0), AARI DECIMAL(10,2), BHA DECIMAL(6,0), "
                       "BARI DECIMAL(10,2), CHA DECIMAL(6,0), CARI DECIMAL(10,2))");
    const engine::ResultSet sums = chapterSums(
        "CAP6.dbf",
        QStringLiteral("SUM(C.AHA) AS AHA1, SUM(C.AARI) AS AARI1, SUM(C.BHA) AS BHA1, SUM(C.BARI) AS BARI1, "
                       "SUM(C.CHA) AS CHA1, SUM(C.CARI) AS CARI1"),
        QStringLiteral("C.CATEG, C.RAND"));
    const auto [categ, rand, aha, aari, bha, bari, cha, cari] =
        sums.columns({"CATEG", "RAND", "AHA1", "AARI1", "BHA1", "BARI1", "CHA1", "CARI1"});
    for (const auto& row : sums.rows) {
        std::vector<dbf::Value> values{row[categ], row[rand]};
        appendPair(values, metresOf(row[aha], row[aari]));
        appendPair(values, metresOf(row[bha], row[bari]));
        appendPair(values, metresOf(row[cha], row[cari]));
        append("Rap6.dbf", values);
    }
}

void Totals::buildChapter8()
{
    create("Rap8.dbf", "(CATEG CHAR(60), RAND DECIMAL(3,0), SEM_1 DECIMAL(8,0), SEM_2 DECIMAL(8,0))");
    create("Rap9.dbf", "(CATEG CHAR(60), SEM_1 DECIMAL(8,0), SEM_2 DECIMAL(8,0))");
    const engine::ResultSet sums = chapterSums("CAP8.dbf", QStringLiteral("SUM(C.SEM_1) AS S1, SUM(C.SEM_2) AS S2"),
                                               QStringLiteral("C.RAND, C.CATEG"));
    const auto [rand, categ, s1, s2] = sums.columns({"RAND", "CATEG", "S1", "S2"});
    for (const auto& row : sums.rows)
        append("Rap8.dbf", {row[categ], row[rand], dbf::toRoundedWhole(row[s1]), dbf::toRoundedWhole(row[s2])});
    // Species walk: entries add, exits subtract, a closing row writes the species' line; a missing
    // closing row carries its sums into the next species.
    struct Species {
        int last;
        const char* name;
    };
    static const Species closing[] = {{7, "Bovine"}, {20, "Ovine"}, {27, "Caprine"}, {34, "Porcine"}, {40, "Cabaline"}};
    const auto inRanges = [](int row, std::initializer_list<std::pair<int, int>> ranges) {
        for (const auto& [from, to] : ranges) {
            if (row >= from && row <= to)
                return true;
        }
        return false;
    };
    std::int64_t first = 0, second = 0;
    for (const auto& row : sums.rows) {
        const int code = int(dbf::toRoundedWhole(row[rand]));
        const std::int64_t firstHalf = dbf::toRoundedWhole(row[s1]), secondHalf = dbf::toRoundedWhole(row[s2]);
        if (inRanges(code, {{1, 3}, {14, 16}, {21, 23}, {28, 30}, {35, 37}})) {
            first += firstHalf;
            second += secondHalf;
        } else if (inRanges(code, {{4, 7}, {17, 20}, {24, 27}, {31, 34}, {38, 40}})) {
            first -= firstHalf;
            second -= secondHalf;
        }
        for (const Species& species : closing) {
            if (code == species.last) {
                append("Rap9.dbf", {QString::fromLatin1(species.name), first, second});
                first = second = 0;
            }
        }
    }
}

void Totals::buildChapter10()
{
    create("Rap11.dbf", "(CATEG CHAR(60), RAND DECIMAL(3,0), UM CHAR(2), DETALII DECIMAL(12,2))");
    const engine::ResultSet sums = chapterSums("CAP10.dbf", QStringLiteral("SUM(C.DETALII) AS D1"),
                                               QStringLiteral("C.RAND, C.UM"),
                                               QStringLiteral("(NOT C.RAND IN (2,3,5,6,8,9,11,12) )"));
    const auto [code, detailSum] = sums.columns({"RAND", "D1"});
    for (const auto& row : sums.rows) {
        int rand = int(dbf::toRoundedWhole(row[code]));
        if (rand == 4 || rand == 7 || rand == 10)
            rand = 1;
        QString name;
        switch (rand) {
        case 1: name = QStringLiteral("Case de locuit"); break;
        case 13: name = QStringLiteral("Grajduri"); break;
        case 14: name = QStringLiteral("Patule"); break;
        case 15: name = QStringLiteral("Magazii, hambare pentru cereale"); break;
        case 16: name = QStringLiteral("Sura, fanar"); break;
        case 17: name = QStringLiteral("Remize, soproane"); break;
        case 18: name = QStringLiteral("Garaje"); break;
        case 19: name = QStringLiteral("Cladiri Anexe"); break;
        default: break;
        }
        const double detail = std::round(dbf::numberOnly(row[detailSum]) * 100.0) / 100.0;
        append("Rap11.dbf", {name.isEmpty() ? dbf::Value() : dbf::Value(name), std::int64_t(rand), QStringLiteral("mp"), detail});
    }
}

void Totals::buildChapter3()
{
    create("RapA.dbf", "(CATEG CHAR(60), RAND DECIMAL(3,0), D1 DECIMAL(12,4))");
    const engine::ResultSet sums = chapterSums("CAP3.dbf", QStringLiteral("SUM(C.HA) AS THA, SUM(C.ARI) AS TARI"),
                                               QStringLiteral("C.RAND, C.CATEG"));
    const auto [rand, categ, ha, ari] = sums.columns({"RAND", "CATEG", "THA", "TARI"});
    for (const auto& row : sums.rows)
        append("RapA.dbf", {row[categ], row[rand], double(metresOf(row[ha], row[ari])) / 10000.0});
}

engine::ResultSet Totals::page(TotalsTable table) const
{
    const QString file = quotedPath(tablePath(table));
    QString select;
    QString order = QStringLiteral(" ORDER BY RAND");
    switch (table) {
    case TotalsTable::Population:
        select = QStringLiteral("SELECT LOCALIT,NUMEP,CODSEX,CNP,DATAS,VOLUM,POZ");
        order = QStringLiteral(" ORDER BY LOCALIT,NUMEP");
        break;
    case TotalsTable::Chapter2:
        select = QStringLiteral("SELECT CATEG,RAND,AHA,AARI,BHA,BARI,CHA,CARI,IHA,IARI,EHA,EARI");
        break;
    case TotalsTable::Chapter3: select = QStringLiteral("SELECT CATEG,RAND,D1"); break;
    case TotalsTable::Chapter4: select = QStringLiteral("SELECT CATEG,RAND,HA,ARI"); break;
    case TotalsTable::Chapter5:
    case TotalsTable::Chapter7:
    case TotalsTable::Chapter9: select = QStringLiteral("SELECT CATEG,RAND,NR"); break;
    case TotalsTable::Chapter6: select = QStringLiteral("SELECT CATEG,RAND,AHA,AARI,BHA,BARI,CHA,CARI"); break;
    case TotalsTable::Chapter8: select = QStringLiteral("SELECT CATEG,RAND,SEM_1,SEM_2"); break;
    case TotalsTable::Chapter8Net:
        select = QStringLiteral("SELECT CATEG,SEM_1,SEM_2");
        order.clear();
        break;
    case TotalsTable::Chapter10:
        return m_engine.select(QStringLiteral("SELECT CATEG, RAND, UM, SUM(DETALII) AS D1 FROM ") + file
                               + QStringLiteral(" GROUP BY CATEG, RAND, UM ORDER BY RAND"));
    }
    return m_engine.select(select + QStringLiteral(" FROM ") + file + order);
}

bool Totals::hasChart(TotalsTable table)
{
    switch (table) {
    case TotalsTable::Chapter2:
    case TotalsTable::Chapter4:
    case TotalsTable::Chapter5:
    case TotalsTable::Chapter6:
    case TotalsTable::Chapter7:
    case TotalsTable::Chapter8: return true;
    default: return false;
    }
}

engine::ResultSet Totals::chart(TotalsTable table) const
{
    const QString file = quotedPath(tablePath(table));
    switch (table) {
    case TotalsTable::Chapter2:
        return m_engine.select(QStringLiteral("SELECT CATEG,AHA+AARI/100 AS TOT FROM ") + file
                               + QStringLiteral(" WHERE (RAND<5) OR (RAND=9) OR (RAND=6) OR (RAND=10) OR (RAND=11)"));
    case TotalsTable::Chapter4:
        return m_engine.select(QStringLiteral("SELECT CATEG,(HA+ARI/100) AS TOT FROM ") + file
                               + QStringLiteral(" WHERE (RAND<22 OR RAND IN (26,27,29,30,31,32,34) ) ORDER BY CATEG"));
    case TotalsTable::Chapter5:
        return m_engine.select(QStringLiteral("SELECT CATEG,RAND,NR FROM ") + file + QStringLiteral(" WHERE (RAND>1)"));
    case TotalsTable::Chapter6:
        return m_engine.select(QStringLiteral("SELECT CATEG,AHA+AARI/100 AS TOT FROM ") + file
                               + QStringLiteral(" WHERE (RAND=1) OR (RAND=11) OR (RAND=12) OR (RAND=13) OR (RAND=14)"));
    case TotalsTable::Chapter7:
        return m_engine.select(QStringLiteral("SELECT CATEG ,NR FROM ") + file
                               + QStringLiteral(" WHERE (RAND=1) OR (RAND=11) or (RAND=15) or (RAND=17) or (RAND=21)"
                                                " OR (RAND=23) OR ((RAND>=23) AND (RAND<=28)) OR (RAND=30)"));
    case TotalsTable::Chapter8:
        return m_engine.select(QStringLiteral("SELECT CATEG,SEM_1,SEM_2 FROM ") + quotedPath(tablePath(TotalsTable::Chapter8Net)));
    default:
        throw Error(QStringLiteral("Tabelul %1 nu are grafic.").arg(tableFile(table)));
    }
}

QString Totals::filterDescription(const TotalsFilter& filter)
{
    QString text;
    if (!filter.village.isEmpty())
        text += QStringLiteral("LOCALIT : ") + filter.village;
    if (filter.type > 0)
        text += QStringLiteral(" TIP : ") + QString::number(filter.type);
    if (filter.volume)
        text += QStringLiteral(" VOLUM : ") + QString::number(*filter.volume);
    return text;
}

QString Totals::yearLine(TotalsTable table, std::int64_t year)
{
    switch (table) {
    case TotalsTable::Chapter7:
    case TotalsTable::Chapter8:
    case TotalsTable::Chapter8Net:
    case TotalsTable::Chapter9: return QString::number(year);
    default: return QStringLiteral("ANUL : ") + QString::number(year);
    }
}

QString Totals::populationLine(const TotalsFilter& filter)
{
    static const char* const sexes[] = {"", "Masculin", "Feminin"};
    const QString sex = filter.sex == 1 || filter.sex == 2 ? QString::fromLatin1(sexes[filter.sex]) : QString();
    if (!filter.anyBirthDate) {
        QString line = QStringLiteral("persoane nascute in perioada ") + filter.bornFrom.toString(QStringLiteral("dd.MM.yyyy"))
            + QStringLiteral(" - ") + filter.bornTo.toString(QStringLiteral("dd.MM.yyyy"));
        if (!sex.isEmpty())
            line += QStringLiteral(", de sex ") + sex;
        return line;
    }
    return sex.isEmpty() ? QString() : QStringLiteral("persoane de sex ") + sex;
}

}
