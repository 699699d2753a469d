#include "bench/BenchReports.h"

#include "bench/BenchRun.h"
#include "reports/Accounting.h"
#include "reports/ResidentLists.h"
#include "reports/StatisticsFile.h"

#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace velmor::bench {

QList<QPair<QString, double>> benchReports(engine::Engine& engine, const QString& dataDir, const QString& workDir,
                                           const QString& year, int rounds, const QString& only, Interaction& ui)
{
    QList<QPair<QString, double>> results;
    const std::int64_t yearNumber = year.toLongLong();
    const auto measure = [&](const QString& name, const std::function<QString()>& body) {
        if (!only.isEmpty() && !name.contains(only))
            return;
        std::vector<double> times;
        QString detail;
        for (int r = 0; r < std::max(rounds, 1); ++r) {
            QElapsedTimer timer;
            timer.start();
            detail = body();
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        results.append({detail.isEmpty() ? name : name + QStringLiteral(" (") + detail + QLatin1Char(')'), median(times)});
    };
    Q_UNUSED(ui);

    measure(QStringLiteral("statistics file of a year"), [&] {
        CouncilConstants constants;
        constants.Comuna = QStringLiteral("BENCH");
        constants.TIPLOC = QStringLiteral("COMUNA");
        constants.CodFiscal = QStringLiteral("1");
        const IniDocument document = reports::StatisticsFile(engine, dataDir, workDir).build(constants, yearNumber);
        return QStringLiteral("%1 bytes").arg(document.toBytes().size());
    });
    measure(QStringLiteral("accounting report of a year"), [&] {
        reports::Accounting accounting(engine, dataDir, workDir, yearNumber);
        accounting.build();
        const std::size_t rows = accounting.rows().rows.size();
        accounting.removeTables();
        return QStringLiteral("%1 heads").arg(rows);
    });
    const reports::ResidentLists lists(engine, dataDir, yearNumber);
    measure(QStringLiteral("residents of a street"), [&] {
        const QStringList streets = lists.streets();
        const std::size_t rows = streets.isEmpty() ? 0 : lists.residents(streets.first()).rows.size();
        return QStringLiteral("%1 people").arg(rows);
    });
    measure(QStringLiteral("households by size of a year"),
            [&] { return QStringLiteral("%1 households").arg(lists.householdSizes().rows.size()); });
    measure(QStringLiteral("dwellings of a year"), [&] { return QStringLiteral("%1 households").arg(lists.dwellings().rows.size()); });
    return results;
}

}
