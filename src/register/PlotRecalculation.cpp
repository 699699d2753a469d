#include "register/PlotRecalculation.h"

#include "admin/OperationGuard.h"
#include "register/ChapterRules.h"
#include "data/dbf/ValueConversions.h"
#include "core/Error.h"
#include "core/Interaction.h"
#include "core/ProgressShown.h"
#include "data/engine/DistinctValues.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "data/ChapterCatalogue.h"
#include "domain/AreaMetres.h"

#include <array>
#include <cmath>
#include <map>
#include <set>

namespace velmor {

using engine::Parameters;
using chapter_rules::cap2Totals;
using namespace data;

namespace {

constexpr qint64 kLargestHectares = 9999; // AHA, HA: DECIMAL(4,0)

// The stored columns of a chapter 2 row, in this order.
const std::array<const char*, 8> kCap2Columns {"AHA", "AARI", "BHA", "BARI", "CHA", "CARI", "IHA", "IARI"};
int rowCode(const dbf::Value& value)
{
    return int(std::lround(dbf::toReal(value)));
}

using Cap2Values = RecalcPlan::Cap2Values;

Cap2Values pairValues(qint64 a, qint64 inside)
{
    const area::HaAri pa = area::split(a);
    const area::HaAri pi = area::split(inside);
    return {double(pa.ha), pa.ari, double(pa.ha), pa.ari, 0, 0, double(pi.ha), pi.ari};
}

// A value as written to its column: rounded to two decimals.
double rounded(double value)
{
    return QString::number(value, 'f', 2).toDouble();
}

// "CASE WHEN RAND=:prefixR0 THEN :prefixV0 ... ELSE otherwise END" over the rows of a plan, with
// the codes and values bound.
template<typename Rows, typename Value>
QString caseOver(const Rows& rows, Value value, const QString& otherwise, const QString& prefix, Parameters& parameters)
{
    QString text = QStringLiteral("CASE");
    int n = 0;
    for (const auto& [code, values] : rows) {
        const QString codeName = prefix + QStringLiteral("R") + QString::number(n);
        const QString valueName = prefix + QStringLiteral("V") + QString::number(n++);
        parameters.bind(codeName, std::int64_t(code));
        parameters.bind(valueName, rounded(value(values)));
        text += QStringLiteral(" WHEN RAND=:") + codeName + QStringLiteral(" THEN :") + valueName;
    }
    return text + QStringLiteral(" ELSE ") + otherwise + QStringLiteral(" END");
}

Parameters householdKey(int year, qint64 codid)
{
    Parameters key;
    key.bind(QStringLiteral("ANUL"), std::int64_t(year));
    key.bind(QStringLiteral("CODID"), std::int64_t(codid));
    return key;
}

}

PlotRecalculation::PlotRecalculation(engine::Engine& engine, QString dataDirectory, Interaction* progress)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_progress(progress)
{
}

QString PlotRecalculation::table(const char* name) const
{
    return engine::quotedPath(m_dataDirectory + QLatin1Char('/') + QLatin1String(name));
}

QList<int> PlotRecalculation::chapterRowsOf(const QString& category)
{
    static const std::map<QString, QList<int>> rows {
        {QStringLiteral("TEREN ARABIL"), {1}},
        {QStringLiteral("PASUNI NATURALE"), {2}},
        {QStringLiteral("FANETE NATURALE"), {3}},
        {QStringLiteral("VII, PEPINIERE VITICOLE"), {4, 5}},
        {QStringLiteral("LIVEZI"), {6, 7}},
        {QStringLiteral("FOND FORESTIER"), {9}},
        {QStringLiteral("CURTI SI CLADIRI"), {10}},
        {QStringLiteral("ALTE TERENURI"), {11}},
    };
    const auto it = rows.find(category.trimmed());
    return it == rows.end() ? QList<int>() : it->second;
}

void PlotRecalculation::refuseEmptySelection(int year, const RecalcSelection& selection) const
{
    // Households of the year matching the conditions given so far.
    QString condition = QStringLiteral("ANUL=:ANUL");
    Parameters p;
    p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    const auto count = [&] {
        const engine::ResultSet r = m_engine.select(
            QStringLiteral("SELECT COUNT(*) AS N FROM ") + table("Identificare.dbf") + QStringLiteral(" WHERE ") + condition, p);
        return dbf::toWhole(r.value(0, "N"));
    };
    if (count() == 0)
        throw Error(QStringLiteral("Anul %1 nu are gospodarii.").arg(year));
    if (selection.household) {
        condition += QStringLiteral(" AND CODID=:CODID");
        p.bind(QStringLiteral("CODID"), std::int64_t(*selection.household));
        if (count() == 0)
            throw Error(QStringLiteral("Gospodaria cu CODID %1 nu exista in anul %2.").arg(*selection.household).arg(year));
        return;
    }
    QString where;
    if (selection.village) {
        condition += QStringLiteral(" AND LOCALIT=:LOCALIT");
        p.bind(QStringLiteral("LOCALIT"), *selection.village);
        if (count() == 0)
            throw Error(QStringLiteral("Localitatea %1 nu are gospodarii in anul %2.").arg(*selection.village).arg(year));
        where = QStringLiteral(" in localitatea ") + *selection.village;
    }
    if (selection.type) {
        if (*selection.type < 1 || *selection.type > 4)
            throw Error(QStringLiteral("Tipul %1 nu exista; tipurile sunt 1, 2, 3 si 4.").arg(*selection.type));
        condition += QStringLiteral(" AND TIPRA=:TIPRA");
        p.bind(QStringLiteral("TIPRA"), std::int64_t(*selection.type));
        if (count() == 0)
            throw Error(QStringLiteral("Nu exista gospodarii de tipul %1%2 in anul %3.").arg(*selection.type).arg(where).arg(year));
    }
    if (selection.volume) {
        condition += QStringLiteral(" AND VOLUM=:VOLUM");
        p.bind(QStringLiteral("VOLUM"), std::int64_t(*selection.volume));
    }
    if (selection.position) {
        condition += QStringLiteral(" AND POZ=:POZ");
        p.bind(QStringLiteral("POZ"), std::int64_t(*selection.position));
    }
    if ((selection.volume || selection.position) && count() == 0)
        throw Error(QStringLiteral("Nicio gospodarie din anul %1 nu are volumul si pozitia alese.").arg(year));
}

bool PlotRecalculation::computePlan(qint64 codid, RecalcPlan& plan)
{
    const auto exists = [&](int code) { return plan.cap2Before.count(code) > 0; };
    const auto fits = [&](qint64 squareMetres) {
        if (std::llabs(area::split(squareMetres).ha) > kLargestHectares) {
            throw Error(QStringLiteral("Gospodaria cu codul %1 are pe parcele %2 ha, mai mult decat incape in Cap.2 "
                                       "(cel mult %3 ha). Nu am recalculat nimic.")
                            .arg(codid)
                            .arg(squareMetres / 10000)
                            .arg(kLargestHectares));
        }
        return squareMetres;
    };
    bool any = false;
    for (int code = cap2::Arable; code <= cap2::TotalArea; ++code)
        any = any || exists(code);
    if (!any)
        return false;

    // Every row but the two totals from its plots; a row the household lacks counts as nothing.
    for (int code = cap2::Arable; code <= cap2::TotalArea; ++code) {
        if (code == cap2::AgriculturalTotal || code == cap2::TotalArea || !exists(code))
            continue;
        plan.cap2After[code] = pairValues(fits(plan.plotA[code]), plan.plotI[code]);
    }
    const auto plotted = [&](const std::map<int, qint64>& metres) {
        return cap2Totals([&](int code) {
            const auto it = metres.find(code);
            return exists(code) && it != metres.end() ? it->second : 0;
        });
    };
    const chapter_rules::Cap2Totals a = plotted(plan.plotA);
    const chapter_rules::Cap2Totals inside = plotted(plan.plotI);
    if (exists(cap2::AgriculturalTotal))
        plan.cap2After[cap2::AgriculturalTotal] = pairValues(fits(a.agricultural), inside.agricultural);
    if (exists(cap2::TotalArea))
        plan.cap2After[cap2::TotalArea] = pairValues(fits(a.total), inside.total);

    // Chapter 3 follows chapter 2's row 8: row 1 := it; row 15 := row 1 + received - given.
    if (exists(cap2::AgriculturalTotal)) {
        const auto m3 = [&](int code) {
            const auto it = plan.cap3Before.find(code);
            return it == plan.cap3Before.end() ? 0 : area::metres(it->second.first, it->second.second);
        };
        if (plan.cap3Before.count(cap3::Owned)) {
            const area::HaAri p = area::split(a.agricultural);
            plan.cap3After[cap3::Owned] = {double(p.ha), p.ari};
        }
        const qint64 used = std::max<qint64>(0, a.agricultural + m3(cap3::ReceivedTotal) - m3(cap3::GivenTotal));
        if (plan.cap3Before.count(cap3::Used)) {
            const area::HaAri p = area::split(fits(used));
            plan.cap3After[cap3::Used] = {double(p.ha), p.ari};
        }
    }
    return true;
}

std::map<qint64, RecalcPlan> PlotRecalculation::readPlans(int year, const RecalcSelection& selection, ProgressSteps& progress) const
{
    // The selected households, as a condition on Identificare I.
    Parameters parameters;
    parameters.bind(QStringLiteral("ANUL"), std::int64_t(year));
    QString condition = QStringLiteral("I.ANUL=:ANUL");
    const auto narrow = [&](const char* column, const dbf::Value& value) {
        const QString name = QLatin1String(column);
        condition += QStringLiteral(" AND I.") + name + QStringLiteral("=:") + name;
        parameters.bind(name, value);
    };
    if (selection.household) {
        narrow("CODID", std::int64_t(*selection.household));
    } else {
        if (selection.village)
            narrow("LOCALIT", *selection.village);
        if (selection.type)
            narrow("TIPRA", std::int64_t(*selection.type));
        if (selection.volume)
            narrow("VOLUM", std::int64_t(*selection.volume));
        if (selection.position)
            narrow("POZ", std::int64_t(*selection.position));
    }
    const QString selected = QStringLiteral("(SELECT I.CODID FROM ") + table("Identificare.dbf") + QStringLiteral(" I WHERE ")
                             + condition + QLatin1Char(')');

    std::map<qint64, RecalcPlan> plans;
    const engine::ResultSet households = m_engine.select(QStringLiteral("SELECT DISTINCT I.CODID FROM ") + table("Identificare.dbf")
                                                             + QStringLiteral(" I\nWHERE ") + condition,
                                                         parameters);
    for (size_t r = 0; r < households.rows.size(); ++r)
        plans[qint64(dbf::toReal(households.value(r, "CODID")))];

    const engine::ResultSet plots = m_engine.select(
        QStringLiteral("SELECT T.CODID, T.INTRA, T.CATEG, SUM(ROUND(T.SUPRAF*10000)) AS TS\nFROM ") + table("Tarlale.dbf")
            + QStringLiteral(" T\nWHERE T.ANUL=:ANUL AND T.CODID IN ") + selected + QStringLiteral("\nGROUP BY T.CODID, T.INTRA, T.CATEG"),
        parameters);
    for (size_t r = 0; r < plots.rows.size(); ++r) {
        auto it = plans.find(qint64(dbf::toReal(plots.value(r, "CODID"))));
        if (it == plans.end())
            continue;
        const qint64 squareMetres = std::llround(dbf::toReal(plots.value(r, "TS")));
        const bool inside = dbf::toText(plots.value(r, "INTRA")).trimmed() == QLatin1String("INTRAVILAN");
        for (const int chapterRow : chapterRowsOf(dbf::toText(plots.value(r, "CATEG")))) {
            it->second.plotA[chapterRow] += squareMetres;
            if (inside)
                it->second.plotI[chapterRow] += squareMetres;
        }
    }
    progress.step(1);

    const engine::ResultSet cap2 = m_engine.select(QStringLiteral("SELECT CODID, RAND, AHA, AARI, BHA, BARI, CHA, CARI, IHA, IARI\nFROM ")
                                                       + table("CAP2.dbf") + QStringLiteral("\nWHERE ANUL=:ANUL AND CODID IN ") + selected,
                                                   parameters);
    for (size_t r = 0; r < cap2.rows.size(); ++r) {
        auto it = plans.find(qint64(dbf::toReal(cap2.value(r, "CODID"))));
        if (it == plans.end())
            continue;
        Cap2Values values {};
        for (size_t c = 0; c < values.size(); ++c)
            values[c] = dbf::toReal(cap2.value(r, kCap2Columns[c]));
        it->second.cap2Before.emplace(rowCode(cap2.value(r, "RAND")), values);
    }
    const engine::ResultSet cap3 = m_engine.select(QStringLiteral("SELECT CODID, RAND, HA, ARI\nFROM ") + table("CAP3.dbf")
                                                       + QStringLiteral("\nWHERE ANUL=:ANUL AND RAND IN (1, 2, 8, 15) AND CODID IN ")
                                                       + selected,
                                                   parameters);
    for (size_t r = 0; r < cap3.rows.size(); ++r) {
        auto it = plans.find(qint64(dbf::toReal(cap3.value(r, "CODID"))));
        if (it != plans.end()) {
            it->second.cap3Before.emplace(rowCode(cap3.value(r, "RAND")),
                                          std::make_pair(dbf::toReal(cap3.value(r, "HA")), dbf::toReal(cap3.value(r, "ARI"))));
        }
    }
    progress.step(2);
    return plans;
}

void PlotRecalculation::writeCap2(int year, qint64 codid, const std::map<int, Cap2Values>& rows, bool othersZero)
{
    Parameters key = householdKey(year, codid);
    QString set;
    for (size_t c = 0; c < kCap2Columns.size(); ++c) {
        const QString column = QLatin1String(kCap2Columns[c]);
        set += (set.isEmpty() ? QString() : QStringLiteral(",\n")) + column + QLatin1Char('=')
               + caseOver(rows, [c](const Cap2Values& v) { return v[c]; }, othersZero ? QStringLiteral("0") : column, column, key);
    }
    m_engine.execute(QStringLiteral("UPDATE ") + table("CAP2.dbf") + QStringLiteral("\nSET ") + set
                         + QStringLiteral("\nWHERE ANUL=:ANUL AND CODID=:CODID"),
                     key);
}

void PlotRecalculation::writeCap3(int year, qint64 codid, const std::map<int, RecalcPlan::HaAri>& rows)
{
    if (rows.empty())
        return;
    Parameters key = householdKey(year, codid);
    QString codes;
    int n = 0;
    for (const auto& entry : rows) {
        const QString name = QStringLiteral("C") + QString::number(n++);
        key.bind(name, std::int64_t(entry.first));
        codes += (codes.isEmpty() ? QStringLiteral(":") : QStringLiteral(", :")) + name;
    }
    const QString ha = caseOver(rows, [](const auto& v) { return v.first; }, QStringLiteral("HA"), QStringLiteral("HA"), key);
    const QString ari = caseOver(rows, [](const auto& v) { return v.second; }, QStringLiteral("ARI"), QStringLiteral("ARI"), key);
    m_engine.execute(QStringLiteral("UPDATE ") + table("CAP3.dbf") + QStringLiteral("\nSET HA=") + ha + QStringLiteral(",\nARI=") + ari
                         + QStringLiteral("\nWHERE ANUL=:ANUL AND CODID=:CODID AND RAND IN (") + codes + QLatin1Char(')'),
                     key);
}

RecalcResult PlotRecalculation::run(int year, const RecalcSelection& selection)
{
    refuseEmptySelection(year, selection);

    std::optional<ProgressShown> shown;
    if (m_progress)
        shown.emplace(*m_progress, QStringLiteral("Citesc parcelele ..."));
    ProgressSteps progress(m_progress);

    // Read everything first, then compute; a total that does not fit is refused before any writing.
    progress.stage(QString(), 3);
    std::map<qint64, RecalcPlan> plans = readPlans(year, selection, progress);
    RecalcResult result;
    for (auto& [codid, plan] : plans) {
        if (!computePlan(codid, plan))
            ++result.skipped;
    }

    // Every table checked before the first change; interrupted, the recalculation is run again.
    OperationGuard guard(m_dataDirectory, QString::fromLatin1(OperationMarker::Recalc), &m_engine);
    guard.preflight(OperationGuard::registerFiles());
    const auto note = [&guard](const char* key, const QString& value) { guard.marker().values.insert(QLatin1String(key), value); };
    note("year", QString::number(year));
    if (selection.household)
        note("household", QString::number(*selection.household));
    if (selection.village)
        note("village", *selection.village);
    if (selection.type)
        note("type", QString::number(*selection.type));
    if (selection.volume)
        note("volume", QString::number(*selection.volume));
    if (selection.position)
        note("position", QString::number(*selection.position));
    guard.begin();

    // Write each household in one step.
    progress.stage(QStringLiteral("Pun suprafetele in Cap.2 si Cap.3 ..."), int(plans.size()));
    int done = 0;
    for (const auto& [codid, plan] : plans) {
        progress.step(++done);
        if (plan.cap2After.empty())
            continue;
        try {
            writeCap2(year, codid, plan.cap2After, true);
            if (m_betweenWrites)
                m_betweenWrites(codid);
            writeCap3(year, codid, plan.cap3After);
        } catch (const Error& e) {
            // Put the household back as it was before telling why it stopped.
            try {
                writeCap2(year, codid, plan.cap2Before, false);
                writeCap3(year, codid, plan.cap3Before);
            } catch (const Error&) {
            }
            // Every household is whole, recalculated or not: the stop is told, not left marked.
            guard.abandon();
            throw Error(QStringLiteral("Recalcularea s-a oprit la gospodaria cu codul %1: %2\n"
                                       "Gospodariile de dinainte sunt recalculate, celelalte sunt neschimbate.")
                            .arg(codid)
                            .arg(e.message()));
        }
        ++result.recalculated;
    }
    guard.finish();
    return result;
}

QStringList PlotRecalculation::villages() const
{
    engine::Query query(m_engine);
    return engine::ValoriDistincte(query, m_dataDirectory + QStringLiteral("/Identificare.dbf"), QStringLiteral("LOCALIT"), QString(), {}, m_progress);
}

QStringList PlotRecalculation::volumes() const
{
    engine::Query query(m_engine);
    return engine::ValoriDistincte(query, m_dataDirectory + QStringLiteral("/Identificare.dbf"), QStringLiteral("VOLUM"), QString(), {}, m_progress);
}

QStringList PlotRecalculation::positions() const
{
    engine::Query query(m_engine);
    return engine::ValoriDistincte(query, m_dataDirectory + QStringLiteral("/Identificare.dbf"), QStringLiteral("POZ"), QString(), {}, m_progress);
}

}
