#include "bench/BenchCensus.h"

#include "bench/BenchRun.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "reports/Census.h"
#include "data/dbf/ValueConversions.h"
#include "search/PlotSearch.h"
#include "workbook/NewWorkbook.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <functional>
#include <vector>

namespace velmor::bench {

QList<QPair<QString, double>> benchCensus(engine::Engine& engine, const QString& dataDir, const QString& workDir,
                                          const QString& year, int rounds, const QString& only, Interaction& ui)
{
    QList<QPair<QString, double>> results;
    auto wanted = [&](const QString& name) { return only.isEmpty() || name.contains(only); };

    // The first village of the year.
    const engine::ResultSet villages = engine.select(QStringLiteral("SELECT MIN(LOCALIT) FROM ")
                                                     + engine::quotedPath(dataDir + QStringLiteral("/Identificare.dbf"))
                                                     + QStringLiteral(" WHERE ANUL=") + year);
    const QString village = villages.rows.empty() ? QString() : dbf::storedText(villages.rows[0][0]);
    reports::Census census({&engine, dataDir, workDir, &ui}, QStringLiteral("ALBA"), QStringLiteral("COMUNA"));
    const QString out = workDir + QStringLiteral("/census.xls");
    census.setOutputFile(out);
    for (const auto form : {reports::CensusForm::L1, reports::CensusForm::C1}) {
        const QString name = form == reports::CensusForm::L1 ? QStringLiteral("census L1 of a village") : QStringLiteral("census C1 of a year");
        if (!wanted(name) || village.isEmpty())
            continue;
        reports::CensusRequest request;
        request.form = form;
        request.village = village;
        request.date = QDate(2010, 3, 5);
        int rows = 0;
        const double ms = timed(rounds, [&] { rows = census.run(request, year).rows; });
        results.append({QStringLiteral("%1 (%2 rows)").arg(name).arg(rows), ms});
        QFile::remove(out);
    }

    search::PlotSearch plots(engine, dataDir, year);
    if (wanted(QStringLiteral("plot search of a year"))) {
        const double ms = timed(rounds, [&] { plots.run({}); });
        results.append({QStringLiteral("plot search of a year (%1 plots)").arg(plots.rowCount()), ms});
    }
    if (wanted(QStringLiteral("plot list workbook of a year"))) {
        plots.run({});
        const double ms = timed(rounds, [&] {
            plots.exportOrder();
            QFile file(workDir + QStringLiteral("/lista.xls"));
            if (file.open(QIODevice::WriteOnly))
                file.write(workbook::writeNewWorkbook(plots.plotListDesign(QStringLiteral("PRIMARIA"), QDate(2010, 3, 5))));
        });
        results.append({QStringLiteral("plot list workbook of a year (%1 plots)").arg(plots.rowCount()), ms});
    }
    return results;
}

}
