#include "bench/BenchMerge.h"

#include "admin/DataChecks.h"
#include "admin/KtArchive.h"
#include "admin/RegisterMerge.h"
#include "app/CliInteraction.h"
#include "core/Interaction.h"
#include "data/DemoRegister.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "services/LineListFile.h"
#include "services/Settings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <ctime>
#include <functional>

namespace velmor::bench {

namespace {

// Answers DA to the merge's questions; everything else as the command line does.
class AnswerYes : public cli::CliInteraction {
public:
    int Mesaj(const QString& title, const QString& text, int kind, int buttons) override
    {
        return buttons == ButtonsDaNu ? ResultDa : cli::CliInteraction::Mesaj(title, text, kind, buttons);
    }
};

bool wanted(const QString& only, const QString& name)
{
    return only.isEmpty() || name.contains(only);
}

}

std::vector<std::pair<QString, double>> runMergeScenarios(const QString& dataDir, const QString& workDir, const QString& year,
                                                          bool generated, const QString& only, Interaction& ui)
{
    std::vector<std::pair<QString, double>> times;
    engine::Engine engine(dataDir);
    engine.addTableRoot(workDir);
    DataChecks checks(engine, dataDir, workDir, ui);
    engine::Query query(engine);
    const auto time = [&](const QString& name, const std::function<void()>& body) {
        if (!wanted(only, name))
            return;
        QElapsedTimer timer;
        timer.start();
        body();
        times.emplace_back(name, double(timer.nsecsElapsed()) / 1e6);
    };
    time(QStringLiteral("check 1: household data"), [&] { checks.householdCheck(query); });
    time(QStringLiteral("check 2: members of the year"), [&] { checks.memberCheck(query, year); });
    time(QStringLiteral("check 3: heads of household"), [&] { checks.headCheck(query, year); });
    time(QStringLiteral("check 4: plots against chapter 2"), [&] { checks.areaCheck(query, year); });
    time(QStringLiteral("missing positions of the year"), [&] { checks.missingPositions(year); });
    query.close();
    checks.removeScratch();

    const QString mergeName = QStringLiteral("merge of a 300-household archive");
    if (!generated || !wanted(only, mergeName))
        return times;
    // The other register: 300 households of the same year, saved as its backup.
    const QString otherDir = workDir + QStringLiteral("/other/Data");
    data::DemoOptions demo;
    demo.households = 300;
    demo.years = 1;
    demo.firstYear = year.toInt();
    demo.seed = 99;
    data::generateDemoRegister(otherDir, demo, ui);
    const QString archive = workDir + QStringLiteral("/other.kt");
    KtArchive::write(archive, KtArchive::filesToSave(otherDir));

    Settings settings(dataDir);
    AnswerYes yes;
    const QStringList villages = readLineList(dataDir + QStringLiteral("/Sate.lst"), QStringLiteral("lista localitatilor"));
    MergeReport report;
    // The processor time too: on a loaded machine the elapsed time says little.
    const std::clock_t cpu = std::clock();
    time(mergeName, [&] { report = RegisterMerge(engine, dataDir, workDir + QStringLiteral("/merge"), settings, yes).run(archive, year, villages); });
    times.back().first += QStringLiteral(" (%1 common positions replaced, cpu %2 ms)")
                              .arg(report.common)
                              .arg(qRound(double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC));
    QFile::remove(report.safetyArchive);
    return times;
}

}
