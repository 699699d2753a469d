#include "register/PlotRecalculation.h"

#include "admin/OperationGuard.h"
#include "register/FieldValues.h"
#include "core/Error.h"
#include "core/Interaction.h"
#include "data/engine/DistinctValues.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "domain/AreaMetres.h"

#include <array>
#include <cmath>
#include <map>
#include <set>

namespace velmor {

using engine::Parameters;

namespace {

constexpr qint64 kLargestHectares = 9999; // AHA, HA: DECIMAL(4,0)

// The stored columns of a chapter 2 row, in this order.
const std::array<const char*, 8> kCap2Columns {"AHA", "AARI", "BHA", "BARI", "CHA", "CARI", "IHA", "IARI"};
using Cap2Values = std::array<double, 8>;

int rowCode(const dbf::Value& value)
{
    return int(std::lround(fields::real(value)));
}

// What one household's chapter 2 and 3 hold now and will hold after the recalculation.
struct HouseholdPlan {
    std::map<int, Cap2Values> cap2Before; // by row code; a repeated code keeps its first row
    std::map<int, std::pair<double, double>> cap3Before;
    std::map<int, Cap2Values> cap2After;  // rows 1 to 12 that exist
    std::map<int, std::pair<double, double>> cap3After;
    std::map<int, qint64> plotA; // square metres by chapter 2 row
    std::map<int, qint64> plotI;
};

Cap2Values pairValues(qint64 a, qint64 inside)
{
    const area::HaAri pa = area::split(a);
    const area::HaAri pi = area::split(inside);
    return {double(pa.ha), pa.ari, double(pa.ha), pa.ari, 0, 0, double(pi.ha), pi.ari};
}

QString literal(double value)
{
    return QString::number(value, 'f', 2);
}

// "CASE WHEN RAND=r THEN v ... ELSE otherwise END" over the rows of a plan.
template<typename Rows, typename Value>
QString caseOver(const Rows& rows, Value value, const QString& otherwise)
{
    QString text = QStringLiteral("CASE");
    for (const auto& [code, values] : rows)
        text += QStringLiteral(" WHEN RAND=%1 THEN %2").arg(code).arg(literal(value(values)));
    return text + QStringLiteral(" ELSE ") + otherwise + QStringLiteral(" END");
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
        return fields::whole(r.rows.front().front());
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

RecalcResult PlotRecalculation::run(int year, const RecalcSelection& selection)
{
    refuseEmptySelection(year, selection);

    // The selected households, as a condition on Identificare I.
    Parameters parameters;
    parameters.bind(QStringLiteral("ANUL"), std::int64_t(year));
    QString condition = QStringLiteral("I.ANUL=:ANUL");
    if (selection.household) {
        condition += QStringLiteral(" AND I.CODID=:CODID");
        parameters.bind(QStringLiteral("CODID"), std::int64_t(*selection.household));
    } else {
        if (selection.village) {
            condition += QStringLiteral(" AND I.LOCALIT=:LOCALIT");
            parameters.bind(QStringLiteral("LOCALIT"), *selection.village);
        }
        if (selection.type) {
            condition += QStringLiteral(" AND I.TIPRA=:TIPRA");
            parameters.bind(QStringLiteral("TIPRA"), std::int64_t(*selection.type));
        }
        if (selection.volume) {
            condition += QStringLiteral(" AND I.VOLUM=:VOLUM");
            parameters.bind(QStringLiteral("VOLUM"), std::int64_t(*selection.volume));
        }
        if (selection.position) {
            condition += QStringLiteral(" AND I.POZ=:POZ");
            parameters.bind(QStringLiteral("POZ"), std::int64_t(*selection.position));
        }
    }
    const QString selected = QStringLiteral("(SELECT I.CODID FROM ") + table("Identificare.dbf") + QStringLiteral(" I WHERE ")
                             + condition + QLatin1Char(')');

    struct ProgressWindow {
        Interaction* ui;
        explicit ProgressWindow(Interaction* ui)
            : ui(ui)
        {
            if (ui)
                ui->Arata();
        }
        ~ProgressWindow()
        {
            if (ui)
                ui->Distruge();
        }
        void step(const QString& label, int maximum)
        {
            if (!ui)
                return;
            ui->setProgressLabel(label);
            ui->setProgressMaximum(std::max(1, maximum)); // never a window over zero items
            ui->setProgressPosition(0);
            ui->processEvents();
        }
        void at(int position)
        {
            if (ui)
                ui->setProgressPosition(position);
        }
    } progress(m_progress);

    // Read everything first.
    progress.step(QStringLiteral("Citesc parcelele ..."), 3);
    std::map<qint64, HouseholdPlan> plans;
    const engine::ResultSet households = m_engine.select(QStringLiteral("SELECT DISTINCT I.CODID FROM ") + table("Identificare.dbf")
                                                             + QStringLiteral(" I\nWHERE ") + condition,
                                                         parameters);
    for (const auto& row : households.rows)
        plans[qint64(fields::real(row[0]))];

    const engine::ResultSet plots = m_engine.select(
        QStringLiteral("SELECT T.CODID, T.INTRA, T.CATEG, SUM(ROUND(T.SUPRAF*10000)) AS TS\nFROM ") + table("Tarlale.dbf")
            + QStringLiteral(" T\nWHERE T.ANUL=:ANUL AND T.CODID IN ") + selected + QStringLiteral("\nGROUP BY T.CODID, T.INTRA, T.CATEG"),
        parameters);
    for (const auto& row : plots.rows) {
        auto it = plans.find(qint64(fields::real(row[0])));
        if (it == plans.end())
            continue;
        const qint64 squareMetres = std::llround(fields::real(row[3]));
        const bool inside = fields::text(row[1]).trimmed() == QLatin1String("INTRAVILAN");
        for (const int chapterRow : chapterRowsOf(fields::text(row[2]))) {
            it->second.plotA[chapterRow] += squareMetres;
            if (inside)
                it->second.plotI[chapterRow] += squareMetres;
        }
    }
    progress.at(1);

    const engine::ResultSet cap2 = m_engine.select(QStringLiteral("SELECT CODID, RAND, AHA, AARI, BHA, BARI, CHA, CARI, IHA, IARI\nFROM ")
                                                       + table("CAP2.dbf") + QStringLiteral("\nWHERE ANUL=:ANUL AND CODID IN ") + selected,
                                                   parameters);
    for (const auto& row : cap2.rows) {
        auto it = plans.find(qint64(fields::real(row[0])));
        if (it == plans.end())
            continue;
        Cap2Values values {};
        for (size_t c = 0; c < values.size(); ++c)
            values[c] = fields::real(row[c + 2]);
        it->second.cap2Before.emplace(rowCode(row[1]), values);
    }
    const engine::ResultSet cap3 = m_engine.select(QStringLiteral("SELECT CODID, RAND, HA, ARI\nFROM ") + table("CAP3.dbf")
                                                       + QStringLiteral("\nWHERE ANUL=:ANUL AND RAND IN (1, 2, 8, 15) AND CODID IN ")
                                                       + selected,
                                                   parameters);
    for (const auto& row : cap3.rows) {
        auto it = plans.find(qint64(fields::real(row[0])));
        if (it != plans.end())
            it->second.cap3Before.emplace(rowCode(row[1]), std::make_pair(fields::real(row[2]), fields::real(row[3])));
    }
    progress.at(2);

    // Compute, and refuse before any writing when a total does not fit.
    RecalcResult result;
    for (auto& [codid, plan] : plans) {
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
        for (int code = 1; code <= 12; ++code)
            any = any || exists(code);
        if (!any) {
            ++result.skipped;
            continue;
        }
        qint64 a8 = 0, i8 = 0, a12 = 0, i12 = 0;
        for (int code : {1, 2, 3, 4, 5, 6, 7, 9, 10, 11}) {
            if (!exists(code))
                continue;
            const qint64 a = fits(plan.plotA[code]);
            const qint64 inside = plan.plotI[code];
            plan.cap2After[code] = pairValues(a, inside);
            if (code == 1 || code == 2 || code == 3 || code == 4 || code == 6) {
                a8 += a;
                i8 += inside;
            } else if (code >= 9) {
                a12 += a;
                i12 += inside;
            }
        }
        if (exists(8))
            plan.cap2After[8] = pairValues(fits(a8), i8);
        if (exists(12))
            plan.cap2After[12] = pairValues(fits(a8 + a12), i8 + i12);

        // Chapter 3 follows chapter 2's row 8: row 1 := it; row 15 := row 1 + received - given.
        if (exists(8)) {
            const auto m3 = [&](int code) {
                const auto it = plan.cap3Before.find(code);
                return it == plan.cap3Before.end() ? 0 : area::metres(it->second.first, it->second.second);
            };
            qint64 q = a8;
            if (plan.cap3Before.count(1)) {
                const area::HaAri p = area::split(q);
                plan.cap3After[1] = {double(p.ha), p.ari};
            }
            q = std::max<qint64>(0, q + m3(2) - m3(8));
            if (plan.cap3Before.count(15)) {
                const area::HaAri p = area::split(fits(q));
                plan.cap3After[15] = {double(p.ha), p.ari};
            }
        }
    }

    // Every table checked before the first change; interrupted, the recalculation is run again.
    OperationGuard guard(m_dataDirectory, QString::fromLatin1(OperationMarker::Recalc), &m_engine);
    guard.preflight(OperationGuard::registerFiles());
    guard.marker().values.insert(QStringLiteral("year"), QString::number(year));
    if (selection.household)
        guard.marker().values.insert(QStringLiteral("household"), QString::number(*selection.household));
    if (selection.village)
        guard.marker().values.insert(QStringLiteral("village"), *selection.village);
    if (selection.type)
        guard.marker().values.insert(QStringLiteral("type"), QString::number(*selection.type));
    if (selection.volume)
        guard.marker().values.insert(QStringLiteral("volume"), QString::number(*selection.volume));
    if (selection.position)
        guard.marker().values.insert(QStringLiteral("position"), QString::number(*selection.position));
    guard.begin();

    // Write each household in one step.
    progress.step(QStringLiteral("Pun suprafetele in Cap.2 si Cap.3 ..."), int(plans.size()));
    int done = 0;
    for (const auto& [codid, plan] : plans) {
        progress.at(++done);
        if (plan.cap2After.empty())
            continue;
        Parameters key;
        key.bind(QStringLiteral("ANUL"), std::int64_t(year));
        key.bind(QStringLiteral("CODID"), std::int64_t(codid));
        const auto writeCap2 = [&](const std::map<int, Cap2Values>& rows, bool othersZero) {
            QString set;
            for (size_t c = 0; c < kCap2Columns.size(); ++c) {
                const QString column = QLatin1String(kCap2Columns[c]);
                set += (set.isEmpty() ? QString() : QStringLiteral(",\n")) + column + QLatin1Char('=')
                       + caseOver(rows, [c](const Cap2Values& v) { return v[c]; }, othersZero ? QStringLiteral("0") : column);
            }
            m_engine.execute(QStringLiteral("UPDATE ") + table("CAP2.dbf") + QStringLiteral("\nSET ") + set
                                 + QStringLiteral("\nWHERE ANUL=:ANUL AND CODID=:CODID"),
                             key);
        };
        const auto writeCap3 = [&](const std::map<int, std::pair<double, double>>& rows) {
            if (rows.empty())
                return;
            QString codes;
            for (const auto& entry : rows)
                codes += (codes.isEmpty() ? QString() : QStringLiteral(", ")) + QString::number(entry.first);
            m_engine.execute(QStringLiteral("UPDATE ") + table("CAP3.dbf") + QStringLiteral("\nSET HA=")
                                 + caseOver(rows, [](const auto& v) { return v.first; }, QStringLiteral("HA"))
                                 + QStringLiteral(",\nARI=") + caseOver(rows, [](const auto& v) { return v.second; }, QStringLiteral("ARI"))
                                 + QStringLiteral("\nWHERE ANUL=:ANUL AND CODID=:CODID AND RAND IN (") + codes + QLatin1Char(')'),
                             key);
        };
        try {
            writeCap2(plan.cap2After, true);
            if (m_betweenWrites)
                m_betweenWrites(codid);
            writeCap3(plan.cap3After);
        } catch (const Error& e) {
            // Put the household back as it was before telling why it stopped.
            try {
                writeCap2(plan.cap2Before, false);
                writeCap3(plan.cap3Before);
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
    return engine::ValoriDistincte(query, m_dataDirectory + QStringLiteral("/Identificare.dbf"), QStringLiteral("LOCALIT"), QString());
}

QStringList PlotRecalculation::volumes() const
{
    engine::Query query(m_engine);
    return engine::ValoriDistincte(query, m_dataDirectory + QStringLiteral("/Identificare.dbf"), QStringLiteral("VOLUM"), QString());
}

QStringList PlotRecalculation::positions() const
{
    engine::Query query(m_engine);
    return engine::ValoriDistincte(query, m_dataDirectory + QStringLiteral("/Identificare.dbf"), QStringLiteral("POZ"), QString());
}

}
