#include "admin/DataChecks.h"

#include "admin/OperationGuard.h"
#include "core/Interaction.h"
#include "core/ProgressShown.h"
#include "data/dbf/DbfBulkWriter.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "data/dbf/ValueConversions.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

namespace velmor {

namespace {

const char* const HouseholdCondition =
    "ANUL IS NULL OR ANUL<2000 OR ANUL>2100 OR LOCALIT IS NULL OR POZ IS NULL OR POZ<1 OR VOLUM IS NULL OR VOLUM<1 "
    "OR CODID IS NULL OR CODID<0";

std::int64_t yearValue(const QString& text)
{
    bool ok = false;
    const qint64 year = text.trimmed().toLongLong(&ok);
    if (!ok)
        throw Error(QStringLiteral("Anul de lucru \"%1\" nu este un an.").arg(text));
    return std::int64_t(year);
}

QString plainResult(const engine::Query& query, const QString& many)
{
    return query.result().rows.empty() ? QStringLiteral("Rezultat : toate bune!") : many;
}

}

DataChecks::DataChecks(engine::Engine& engine, QString dataDirectory, QString scratchDirectory, Interaction& ui)
    : m_engine(engine)
    , m_dataDir(std::move(dataDirectory))
    , m_scratchDir(std::move(scratchDirectory))
    , m_ui(ui)
{
}

QString DataChecks::scratchTable() const
{
    return m_scratchDir + QStringLiteral("/VTemp.dbf");
}

void DataChecks::removeScratch()
{
    m_engine.forget(scratchTable());
    QFile::remove(scratchTable());
}

QString DataChecks::householdCheck(engine::Query& q)
{
    engine::QueryRst(q);
    q.add(QStringLiteral("SELECT ANUL, LOCALIT, POZ,VOLUM,CODID"));
    q.add(QStringLiteral("FROM ") + engine::quotedPath(dbf::resolveFileName(m_dataDir + QStringLiteral("/Identificare.dbf"))));
    q.add(QStringLiteral("WHERE ") + QString::fromLatin1(HouseholdCondition));
    q.open();
    return plainResult(q, QStringLiteral("Rezultat : AVETI %1 ANOMALII!").arg(q.recordCount()));
}

QString DataChecks::memberCheck(engine::Query& q, const QString& year)
{
    engine::QueryRst(q);
    q.add(QStringLiteral("SELECT I.LOCALIT, I.POZ, I.VOLUM, C.NUMEP, C.CNP, C.CODSEX"));
    q.add(QStringLiteral("FROM ") + engine::quotedPath(dbf::resolveFileName(m_dataDir + QStringLiteral("/CAP1.dbf"))) + QStringLiteral(" C,"));
    q.add(engine::quotedPath(dbf::resolveFileName(m_dataDir + QStringLiteral("/Identificare.dbf"))) + QStringLiteral(" I"));
    q.add(QStringLiteral("WHERE C.ANUL=:Y AND C.CODID=I.CODID"));
    q.add(QStringLiteral("AND (C.NUMEP IS NULL"));
    q.add(QStringLiteral("OR I.LOCALIT IS NULL OR I.POZ IS NULL OR I.POZ<1 OR I.VOLUM IS NULL OR I.VOLUM<1 OR I.CODID<0"));
    q.add(QStringLiteral("OR C.CODSEX IS NULL OR ( NOT C.CODSEX IN (1,2))"));
    q.add(QStringLiteral("OR C.CNP IS NULL)"));
    q.bind(QStringLiteral("Y"), yearValue(year));
    q.open();
    return plainResult(q, QStringLiteral("Rezultat : Aveti %1 persoane cu date incomplete!").arg(q.recordCount()));
}

QString DataChecks::headCheck(engine::Query& q, const QString& year)
{
    const std::int64_t y = yearValue(year);
    engine::QueryRst(q);
    removeScratch();
    // Heads per household, kept in the check table.
    engine::Parameters p;
    p.bind(QStringLiteral("Y"), y);
    const engine::ResultSet heads = m_engine.select(
        QStringLiteral("SELECT CODID,Count(*) AS NR_CAPI FROM ") + engine::quotedPath(dbf::resolveFileName(m_dataDir + QStringLiteral("/CAP1.dbf")))
            + QStringLiteral(" WHERE ANUL=:Y AND COD=1 GROUP BY CODID"),
        p);
    {
        dbf::DbfBulkWriter writer(scratchTable(), {{QStringLiteral("CODID"), 'N', 10, 0}, {QStringLiteral("NR_CAPI"), 'N', 5, 0}});
        for (const auto& row : heads.rows)
            writer.append(row);
        writer.finish();
    }
    q.add(QStringLiteral("SELECT I.LOCALIT, I.POZ, I.VOLUM, T.NR_CAPI"));
    q.add(QStringLiteral("FROM ") + engine::quotedPath(dbf::resolveFileName(m_dataDir + QStringLiteral("/Identificare.dbf"))) + QStringLiteral(" I"));
    q.add(QStringLiteral("LEFT OUTER JOIN ") + engine::quotedPath(scratchTable()) + QStringLiteral(" T"));
    q.add(QStringLiteral("ON T.CODID=I.CODID"));
    q.add(QStringLiteral("WHERE I.ANUL=:Y AND (T.NR_CAPI IS NULL OR T.NR_CAPI<>1)"));
    q.add(QStringLiteral("ORDER BY T.NR_CAPI, I.LOCALIT,I.VOLUM,I.POZ"));
    q.bind(QStringLiteral("Y"), y);
    q.open();
    return plainResult(q, QStringLiteral("Rezultat : AVETI %1 ANOMALII!").arg(q.recordCount()));
}

QString DataChecks::areaCheck(engine::Query& q, const QString& year)
{
    const std::int64_t y = yearValue(year);
    engine::QueryRst(q);
    removeScratch();
    struct Household {
        dbf::Value tip, localit, poz, volum;
        qint64 codid = 0;
    };
    std::vector<Household> households;
    QHash<qint64, qint64> chapter2; // CODID -> row 12 area in m2
    QHash<qint64, qint64> plots;    // CODID -> plots' total in m2
    try {
        engine::Parameters p;
        p.bind(QStringLiteral("Y"), y);
        auto table = [this](const char* name) {
            return engine::quotedPath(dbf::resolveFileName(m_dataDir + QLatin1Char('/') + QLatin1String(name)));
        };
        const engine::ResultSet ident = m_engine.select(
            QStringLiteral("SELECT TIPRA, LOCALIT, POZ, VOLUM, CODID FROM ") + table("Identificare.dbf")
                + QStringLiteral(" WHERE ANUL=:Y AND CODID IS NOT NULL"),
            p);
        const engine::ResultSet rows = m_engine.select(
            QStringLiteral("SELECT CODID, AHA, AARI FROM ") + table("CAP2.dbf") + QStringLiteral(" WHERE ANUL=:Y AND RAND=12 AND CODID IS NOT NULL"), p);
        const engine::ResultSet sums = m_engine.select(
            QStringLiteral("SELECT CODID, SUM(SUPRAF) AS S FROM ") + table("Tarlale.dbf")
                + QStringLiteral(" WHERE ANUL=:Y AND CODID IS NOT NULL GROUP BY CODID"),
            p);
        // Areas in whole square metres: hectares * 10000, ari * 100.
        const auto [household, hectares, ari] = rows.columns({"CODID", "AHA", "AARI"});
        for (const auto& row : rows.rows)
            chapter2[dbf::toWhole(row[household])] += std::llround(dbf::toReal(row[hectares]) * 10000.0 + dbf::toReal(row[ari]) * 100.0);
        for (const auto& row : sums.rows)
            plots[dbf::toWhole(row[0])] = std::llround(dbf::toReal(row[1]) * 10000.0);
        const auto [type, village, position, volume, codid] = ident.columns({"TIPRA", "LOCALIT", "POZ", "VOLUM", "CODID"});
        for (const auto& row : ident.rows)
            households.push_back({row[type], row[village], row[position], row[volume], dbf::toWhole(row[codid])});
    } catch (const Error&) {
        throw Error(QStringLiteral("Eroare la intocmirea raportului!"));
    }
    std::stable_sort(households.begin(), households.end(), [](const Household& a, const Household& b) {
        const auto key = [](const Household& h) {
            return std::make_tuple(dbf::toWhole(h.tip), dbf::toWhole(h.volum), dbf::toWhole(h.poz), dbf::toText(h.localit));
        };
        return key(a) < key(b);
    });
    {
        ProgressShown progress(m_ui, QStringLiteral("Calculez..."));
        m_ui.setProgressMaximum(int(households.size()));
        dbf::DbfBulkWriter writer(scratchTable(),
                                  {{QStringLiteral("TIP"), 'C', 1, 0}, {QStringLiteral("LOCALIT"), 'C', 40, 0},
                                   {QStringLiteral("POZITIE"), 'N', 6, 0}, {QStringLiteral("VOLUM"), 'N', 6, 0},
                                   {QStringLiteral("DIFERA"), 'N', 10, 4}});
        int done = 0;
        for (const Household& h : households) {
            m_ui.setProgressPosition(++done);
            if (!plots.contains(h.codid) || !chapter2.contains(h.codid))
                continue;
            const qint64 difference = chapter2.value(h.codid) - plots.value(h.codid);
            if (std::llabs(difference) <= 1)
                continue;
            writer.append({dbf::textValue(dbf::toText(h.tip)), h.localit, h.poz, h.volum, double(difference) / 10000.0});
        }
        writer.finish();
    }
    q.add(QStringLiteral("SELECT * FROM ") + engine::quotedPath(scratchTable()));
    q.open();
    return q.result().rows.empty() ? QStringLiteral("Toate bune si frumoase!") : QStringLiteral("Exista %1 ANOMALII!!").arg(q.recordCount());
}

QString DataChecks::deleteListed(engine::Query& q)
{
    auto table = [this](const QString& name) { return dbf::resolveFileName(m_dataDir + QLatin1Char('/') + name + QStringLiteral(".dbf")); };
    const QString ident = engine::quotedPath(table(QStringLiteral("Identificare")));
    const QString condition = QString::fromLatin1(HouseholdCondition);
    const engine::ResultSet listed = m_engine.select(QStringLiteral("SELECT DISTINCT CODID FROM ") + ident + QStringLiteral(" WHERE CODID IS NOT NULL AND (")
                                                     + condition + QLatin1Char(')'));
    const engine::ResultSet kept = m_engine.select(QStringLiteral("SELECT DISTINCT CODID FROM ") + ident
                                                   + QStringLiteral(" WHERE CODID IS NOT NULL AND NOT (") + condition + QLatin1Char(')'));
    QSet<qint64> keep;
    for (const auto& row : kept.rows)
        keep.insert(dbf::toWhole(row[0]));
    std::vector<qint64> orphans;
    for (const auto& row : listed.rows) {
        if (!keep.contains(dbf::toWhole(row[0])))
            orphans.push_back(dbf::toWhole(row[0]));
    }
    std::sort(orphans.begin(), orphans.end());

    const QString list = m_scratchDir + QStringLiteral("/VSterge.dbf");
    QMap<QString, QString> values;
    values.insert(QStringLiteral("scratch"), list);
    OperationGuard::runArchived(m_dataDir, QString::fromLatin1(OperationMarker::HouseholdDelete), &m_engine, m_ui, values, [&] {
        m_engine.forget(list);
        {
            dbf::DbfBulkWriter writer(list, {{QStringLiteral("CODID"), 'N', 10, 0}});
            for (qint64 codid : orphans)
                writer.append({dbf::Value(std::int64_t(codid))});
            writer.finish();
        }
        const QString inList = QStringLiteral(" IN (SELECT CODID FROM ") + engine::quotedPath(list) + QLatin1Char(')');
        if (!orphans.empty()) {
            m_engine.execute(QStringLiteral("DELETE FROM ") + engine::quotedPath(table(QStringLiteral("PozeTarla")))
                             + QStringLiteral(" WHERE CODT IN (SELECT CODT FROM ") + engine::quotedPath(table(QStringLiteral("Tarlale")))
                             + QStringLiteral(" WHERE CODID") + inList + QLatin1Char(')'));
            m_engine.execute(QStringLiteral("DELETE FROM ") + engine::quotedPath(table(QStringLiteral("OmTarla"))) + QStringLiteral(" WHERE CODID") + inList);
            m_engine.execute(QStringLiteral("DELETE FROM ") + engine::quotedPath(table(QStringLiteral("Tarlale"))) + QStringLiteral(" WHERE CODID") + inList);
            for (int n = 1; n <= 11; ++n)
                m_engine.execute(QStringLiteral("DELETE FROM ") + engine::quotedPath(table(QStringLiteral("CAP%1").arg(n))) + QStringLiteral(" WHERE CODID") + inList);
        }
        m_engine.execute(QStringLiteral("DELETE FROM ") + ident + QStringLiteral(" WHERE ") + condition);
        m_engine.forget(list);
        QFile::remove(list);
    });
    return householdCheck(q);
}

QStringList DataChecks::missingPositions(const QString& year)
{
    engine::Parameters p;
    p.bind(QStringLiteral("Y"), yearValue(year));
    ProgressShown progress(m_ui, QStringLiteral("Verificare..."));
    m_ui.setProgressMaximum(13);
    const engine::ResultSet rows = m_engine.select(
        QStringLiteral("SELECT LOCALIT, TIPRA, VOLUM, POZ FROM ")
            + engine::quotedPath(dbf::resolveFileName(m_dataDir + QStringLiteral("/Identificare.dbf")))
            + QStringLiteral(" WHERE ANUL=:Y AND LOCALIT IS NOT NULL AND TIPRA IS NOT NULL AND VOLUM IS NOT NULL AND POZ IS NOT NULL"),
        p);
    // village, type, volume -> positions held
    std::map<std::tuple<QString, qint64, qint64>, std::set<qint64>> volumes;
    const auto [village, type, volume, position] = rows.columns({"LOCALIT", "TIPRA", "VOLUM", "POZ"});
    for (const auto& row : rows.rows)
        volumes[{dbf::toText(row[village]).trimmed(), dbf::toWhole(row[type]), dbf::toWhole(row[volume])}].insert(dbf::toWhole(row[position]));
    m_ui.setProgressMaximum(int(volumes.size()));
    QStringList lines;
    QStringList missing;
    qint64 more = 0;
    int done = 0;
    for (const auto& [key, positions] : volumes) {
        const auto& [village, type, volume] = key;
        const QString name = QStringLiteral("%1 TIP %2 > VOL.%3").arg(village).arg(type).arg(volume);
        lines << name + QStringLiteral(" : POZ.:%1 ... %2").arg(*positions.begin()).arg(*positions.rbegin());
        qint64 previous = *positions.begin();
        for (qint64 position : positions) {
            for (qint64 gap = previous + 1; gap < position; ++gap) {
                if (missing.size() < MaxMissingLines) {
                    missing << QStringLiteral("  ") + name + QStringLiteral(" POZ. %1").arg(gap);
                } else {
                    more += position - gap; // the rest of this gap, without listing it
                    break;
                }
            }
            previous = position;
        }
        m_ui.setProgressPosition(++done);
    }
    if (missing.isEmpty()) {
        lines << QStringLiteral("Toate sunt complete.");
    } else {
        lines << QStringLiteral("LIPSESC :") << missing;
        if (more > 0)
            lines << QStringLiteral("etc...");
    }
    return lines;
}

}
