#include "bench/BenchLists.h"
#include "bench/BenchCensus.h"
#include "bench/BenchUpgrade.h"
#include "bench/BenchRun.h"
#include "bench/NativeMirror.h"
#include "bench/Runners.h"
#include "bench/BenchMerge.h"
#include "bench/BenchReports.h"
#include "app/CliInteraction.h"
#include "data/DemoRegister.h"
#include "data/Schema.h"
#include "data/dbf/DbfError.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlError.h"
#include "register/HouseholdEditor.h"
#include "register/ChapterGridSource.h"
#include "register/ChapterRepair.h"
#include "register/ChapterSession.h"
#include "register/YearTakeover.h"
#include "app/RegisterServices.h"
#include "services/AppContext.h"
#include "reports/WorkbookReportCommand.h"
#include "output/ReportOutput.h"
#include "reports/Totals.h"
#include "reports/TotalsForms.h"
#include "services/Settings.h"

#include <QGuiApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

#include <atomic>
#include <chrono>
#include <thread>

using namespace velmor;
using bench::BenchRun;
using bench::median;

namespace {

QTextStream& out()
{
    static QTextStream s(stdout);
    return s;
}

const QStringList kTables = {
    QStringLiteral("Identificare"), QStringLiteral("CAP1"), QStringLiteral("CAP2"), QStringLiteral("CAP3"),
    QStringLiteral("CAP4"), QStringLiteral("CAP5"), QStringLiteral("CAP6"), QStringLiteral("CAP7"),
    QStringLiteral("CAP8"), QStringLiteral("CAP9"), QStringLiteral("CAP10"), QStringLiteral("CAP11"),
    QStringLiteral("Tarlale"), QStringLiteral("OmTarla"), QStringLiteral("PozeTarla"),
};

// A statement scenario: `prepare` runs untimed before each round, `body` is timed, `finish` runs
// untimed after it. `perRound` divides the round's time (e.g. 1,000 lookups per round).
struct Scenario {
    QString name;
    int perRound = 1;
    std::function<void(bench::Runner&, int round)> prepare;
    std::function<void(bench::Runner&, int round)> body;
    std::function<void(bench::Runner&, int round)> finish;
};

double timeScenario(const Scenario& s, bench::Runner& runner, int rounds)
{
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        if (s.prepare)
            s.prepare(runner, r);
        QElapsedTimer timer;
        timer.start();
        s.body(runner, r);
        times.push_back(double(timer.nsecsElapsed()) / 1e6 / s.perRound);
        if (s.finish)
            s.finish(runner, r);
    }
    return median(times);
}

QString quoted(const QString& path)
{
    return QLatin1Char('"') + path + QLatin1Char('"');
}

}

// The peak of the memory the process allocates itself (resident anonymous pages), sampled every
// 20 ms; table files mapped into memory are not counted, since their pages are the system's file
// cache and are given back under pressure. Linux only; 0 elsewhere.
class AllocatedMemoryWatch {
public:
    AllocatedMemoryWatch()
    {
#ifdef Q_OS_LINUX
        m_thread = std::thread([this] {
            while (!m_stop.load()) {
                m_peakKb.store(std::max(m_peakKb.load(), currentKb()));
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
#endif
    }
    ~AllocatedMemoryWatch()
    {
        m_stop.store(true);
        if (m_thread.joinable())
            m_thread.join();
    }
    double peakMegabytes() const { return double(std::max(m_peakKb.load(), currentKb())) / 1024.0; }

private:
    static long currentKb()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return 0;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("RssAnon:"))
                return line.mid(8).trimmed().split(' ').first().toLong();
        }
        return 0;
    }

    std::atomic<bool> m_stop {false};
    std::atomic<long> m_peakKb {0};
    std::thread m_thread;
};

// The process's peak resident memory, mapped table files included; 0 where the platform does not tell.
double peakResidentMegabytes()
{
#ifdef Q_OS_UNIX
    rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        return double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
#endif
    return 0;
}

namespace {

// The statements of the program timed on the engine and on the native mirror. `t2` holds the
// year's households for the totals join; `copyTarget` is the scratch table of the copy.
std::vector<Scenario> statementScenarios(const BenchRun& run, const QString& t2, const QString& copyTarget)
{
    const auto path = [&run](const QString& table) { return run.path(table); };
    const QString year = run.year;
    const std::vector<qint64> codids = run.codids;
    std::vector<Scenario> scenarios;
    scenarios.push_back({QStringLiteral("household list of a year"), 1, nullptr,
                         [=](bench::Runner& r, int) {
                             engine::ResultSet rows;
                             r.run(QStringLiteral("SELECT * FROM ") + quoted(path(QStringLiteral("Identificare")))
                                       + QStringLiteral("\nWHERE ANUL=") + year + QStringLiteral("\nORDER BY LOCALIT, VOLUM, POZ"),
                                   &rows);
                         },
                         nullptr});
    const int lookups = std::min<int>(1000, int(codids.size()));
    scenarios.push_back({QStringLiteral("one household's chapter 7 rows"), lookups, nullptr,
                         [=](bench::Runner& r, int) {
                             engine::ResultSet rows;
                             for (int i = 0; i < lookups; ++i) {
                                 const qint64 id = codids[size_t(i) * codids.size() / size_t(lookups)];
                                 r.run(QStringLiteral("SELECT * FROM ") + quoted(path(QStringLiteral("CAP7")))
                                           + QStringLiteral("\nWHERE CODID=") + QString::number(id) + QStringLiteral("\nORDER BY RAND"),
                                       &rows);
                             }
                         },
                         nullptr});
    scenarios.push_back({QStringLiteral("chapter 2 totals of a year"), 1, nullptr,
                         [=](bench::Runner& r, int) {
                             engine::ResultSet rows;
                             r.run(QStringLiteral("SELECT CATEG,RAND,SUM(AHA) AS AHA1,SUM(AARI) AS AARI1,SUM(BHA) AS BHA1,SUM(BARI) AS BARI1,\n"
                                                  "SUM(CHA) AS CHA1,SUM(CARI) AS CARI1,SUM(IHA) AS IHA1,SUM(IARI) AS IARI1\nFROM ")
                                       + quoted(path(QStringLiteral("CAP2"))) + QStringLiteral(" C\nINNER JOIN ") + quoted(t2)
                                       + QStringLiteral(" T\nON C.CODID=T.CODID\nGROUP BY CATEG,RAND"),
                                   &rows);
                         },
                         nullptr});
    scenarios.push_back({QStringLiteral("member search join of a year"), 1, nullptr,
                         [=](bench::Runner& r, int) {
                             engine::ResultSet rows;
                             r.run(QStringLiteral("SELECT I.POZ, I.VOLUM, I.JUDET, I.LOCALIT, I.STRADA, I.NR, I.STR2, I.NR2, C.NUMEP, I.DENUMIRE, I.LOC, C.CODID, C.COD, C.CNP, I.TIPRA\nFROM ")
                                       + quoted(path(QStringLiteral("CAP1"))) + QStringLiteral(" C,\n") + quoted(path(QStringLiteral("Identificare")))
                                       + QStringLiteral(" I\nWHERE (C.ANUL=") + year + QStringLiteral(")\nAND C.CODID=I.CODID\nORDER BY I.LOCALIT, C.NUMEP"),
                                   &rows);
                         },
                         nullptr});
    scenarios.push_back({QStringLiteral("statistics file CAP2 left join"), 1, nullptr,
                         [=](bench::Runner& r, int) {
                             engine::ResultSet rows;
                             r.run(QStringLiteral("SELECT I.LOCALIT, I.TIPRA, C.CATEG, C.RAND,\nSUM(C.AHA) AS SAHA, SUM(C.AARI) AS SAARI,\n"
                                                  "SUM(C.BHA) AS SBHA, SUM(C.BARI) AS SBARI,\nSUM(C.CHA) AS SCHA, SUM(C.CARI) AS SCARI,\n"
                                                  "SUM(C.IHA) AS SIHA, SUM(C.IARI) AS SIARI\nFROM ")
                                       + quoted(path(QStringLiteral("Identificare"))) + QStringLiteral(" I\nLEFT JOIN ") + quoted(path(QStringLiteral("Cap2")))
                                       + QStringLiteral(" C\n     ON C.CODID=I.CODID\nWHERE I.ANUL=") + year
                                       + QStringLiteral("\nGROUP BY I.TIPRA, I.LOCALIT, C.RAND, C.CATEG\nORDER BY I.LOCALIT, I.TIPRA, C.RAND"),
                                   &rows);
                         },
                         nullptr});
    scenarios.push_back({QStringLiteral("read a year of chapter 7"), 1, nullptr,
                         [=](bench::Runner& r, int) {
                             engine::ResultSet rows;
                             r.run(QStringLiteral("SELECT CATEG,NR,RAND,CODID\nFROM ") + quoted(path(QStringLiteral("CAP7")))
                                       + QStringLiteral("\nWHERE ANUL=") + year,
                                   &rows);
                         },
                         nullptr});
    scenarios.push_back({QStringLiteral("copy a year of chapter 7"), 1,
                         [=](bench::Runner& r, int) {
                             r.run(QStringLiteral("CREATE TABLE ") + quoted(copyTarget)
                                   + QStringLiteral(" (ANUL DECIMAL(4,0), CODID DECIMAL(10,0),\nCATEG CHAR(60), NR DECIMAL(7,0), RAND DECIMAL(4,1) )"));
                         },
                         [=](bench::Runner& r, int) {
                             r.run(QStringLiteral("INSERT INTO ") + quoted(copyTarget) + QStringLiteral("\n(CATEG,NR,RAND,CODID)\nSELECT CATEG,NR,RAND,CODID\nFROM ")
                                   + quoted(path(QStringLiteral("CAP7"))) + QStringLiteral("\nWHERE ANUL=") + year);
                         },
                         [=](bench::Runner& r, int) { r.run(QStringLiteral("DROP TABLE ") + quoted(copyTarget)); }});
    scenarios.push_back({QStringLiteral("delete one household from all tables"), 1, nullptr,
                         [=](bench::Runner& r, int round) {
                             const QString id = QString::number(codids[codids.size() - 1 - size_t(round) % codids.size()]);
                             r.run(QStringLiteral("DELETE FROM ") + quoted(path(QStringLiteral("PozeTarla")))
                                   + QStringLiteral("\nWHERE CODT IN (SELECT CODT FROM ") + quoted(path(QStringLiteral("Tarlale")))
                                   + QStringLiteral(" WHERE CODID=") + id + QStringLiteral(")"));
                             for (const QString& t : kTables) {
                                 if (t == QLatin1String("PozeTarla"))
                                     continue;
                                 r.run(QStringLiteral("DELETE FROM ") + quoted(path(t)) + QStringLiteral("\nWHERE CODID=") + id);
                             }
                         },
                         nullptr});

    return scenarios;
}

void measureStatements(BenchRun& run, bench::NativeMirror& mirror, bool engineOnly)
{
    const QString t2 = run.workDir + QStringLiteral("/T2.dbf");
    const QString copyTarget = run.workDir + QStringLiteral("/tmp.dbf");
    const std::vector<Scenario> scenarios = statementScenarios(run, t2, copyTarget);

    bench::EngineRunner engineRunner(*run.engine);
    bench::NativeRunner nativeRunner(mirror);
    // The year's households for the totals join, on both sides.
    for (bench::Runner* r : {static_cast<bench::Runner*>(&engineRunner), static_cast<bench::Runner*>(&nativeRunner)}) {
        if (engineOnly && r == &nativeRunner)
            continue;
        r->run(QStringLiteral("CREATE TABLE ") + quoted(t2) + QStringLiteral(" (CODID DECIMAL(10,0))"));
        r->run(QStringLiteral("INSERT INTO ") + quoted(t2) + QStringLiteral("\nSELECT CODID FROM ")
               + quoted(run.path(QStringLiteral("Identificare"))) + QStringLiteral("\nWHERE ANUL=") + run.year);
    }
    for (const Scenario& s : scenarios) {
        if (!run.wanted(s.name))
            continue;
        const double engineMs = timeScenario(s, engineRunner, run.rounds);
        run.add(s.name, engineMs, engineOnly ? 0 : timeScenario(s, nativeRunner, run.rounds));
    }
    QFile::remove(t2);
}

// The run's context for the program's own classes on the measured register.
void attachContext(AppContext& ctx, const BenchRun& run)
{
    run.services->attachTo(ctx, run.ui);
    ctx.year.setYears({run.year});
}

// Every table packed and indexed as the start-up does it, by a program that has just started
// (a fresh engine).
void measureStartupMaintenance(BenchRun& run)
{
    std::vector<double> times;
    for (int r = 0; r < run.rounds; ++r) {
        engine::Engine fresh(run.dataDir);
        data::Schema schema(fresh, run.dataDir, *run.ui);
        QElapsedTimer timer;
        timer.start();
        for (const QString& file : data::Schema::tableFileNames())
            schema.StergePuneIndex(schema.tablePath(file), data::Schema::indexColumns(file));
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    run.add(QStringLiteral("start-up maintenance"), median(times));
}

void measureGenerator(BenchRun& run)
{
    if (run.generated())
        run.add(QStringLiteral("demo register generator"), run.generatorMs);
}

// The household editor: its list of the latest year opened with the filter applied, and moving
// to the next household with the list page shown (with the member label rebuilt).
void measureEditor(BenchRun& run)
{
    AppContext ctx;
    attachContext(ctx, run);
    std::vector<double> opening;
    std::vector<double> moving;
    for (int r = 0; r < run.rounds; ++r) {
        HouseholdEditor editor(ctx);
        QElapsedTimer timer;
        timer.start();
        editor.IncarcaQuery();
        editor.applyPositionChoice();
        opening.push_back(double(timer.nsecsElapsed()) / 1e6);
        constexpr int Moves = 50;
        timer.restart();
        for (int m = 0; m < Moves; ++m) {
            editor.move(HouseholdEditor::Move::Next);
            editor.memberLines();
        }
        moving.push_back(double(timer.nsecsElapsed()) / 1e6 / Moves);
    }
    run.add(QStringLiteral("editor list of a year, filtered"), median(opening));
    run.add(QStringLiteral("editor next household with members"), median(moving));
}

// A chapter page of one household: completion, load-time computations and every cell of its
// grid formatted, for each chapter 2 to 10 of a sample of households.
void measureChapterPage(BenchRun& run)
{
    AppContext ctx;
    attachContext(ctx, run);
    ctx.setUnlocked(true);
    const std::vector<qint64>& codids = run.codids;
    std::vector<double> times;
    const size_t sample = std::min<size_t>(codids.size(), size_t(std::max(run.rounds, 1)) * 10);
    for (size_t h = 0; h < sample; ++h) {
        for (int chapter = 2; chapter <= 10; ++chapter) {
            ChapterSession session(ctx, chapter);
            ChapterGridSource source(session);
            grid::EditableGridModel model;
            model.setColumns(ChapterGridSource::columnsFor(chapter, false));
            model.setSource(&source);
            QElapsedTimer timer;
            timer.start();
            session.open(codids[h * (codids.size() / sample)]);
            source.rebuild();
            model.refresh();
            qsizetype shown = 0;
            for (int r = 0; r < model.rowCount(); ++r)
                for (int c = 0; c < model.columnCount(); ++c)
                    shown += model.index(r, c).data().toString().size();
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            session.StopCap();
            static volatile qsizetype sink = 0;
            sink = shown;
        }
    }
    run.add(QStringLiteral("chapter page of a household"), median(times));
}

// The chapter repair over the latest year.
void measureChapterRepair(BenchRun& run)
{
    QElapsedTimer timer;
    timer.start();
    const ChapterRepair::Report report = ChapterRepair(*run.engine, run.dataDir, run.workDir, *run.ui).run(run.year.toLongLong());
    run.add(QStringLiteral("chapter repair of a year (%1 households)").arg(report.households), double(timer.nsecsElapsed()) / 1e6);
}

// The APIA livestock report filled into its Excel template for the latest year.
void measureApiaWorkbook(BenchRun& run)
{
    std::vector<double> times;
    int rows = 0;
    for (int r = 0; r < run.rounds; ++r) {
        reports::WorkbookReportRequest request;
        request.report = QStringLiteral("apia");
        request.dataDirectory = run.dataDir;
        request.programDirectory = run.workDir;
        request.year = run.year;
        request.outputFile = run.workDir + QStringLiteral("/apia.xls");
        QElapsedTimer timer;
        timer.start();
        rows = reports::runWorkbookReport(request, *run.ui);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    run.add(QStringLiteral("APIA workbook of a year (%1 rows)").arg(rows), median(times));
}

// The totals of the latest year, every chapter table built.
void measureTotals(BenchRun& run)
{
    std::vector<double> times;
    reports::Totals totals(*run.engine, run.dataDir, run.workDir, run.year.toLongLong());
    for (int r = 0; r < run.rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        totals.build({});
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    run.add(QStringLiteral("totals of a year"), median(times));
    totals.removeTables();
}

// The population form of the latest year's totals to PDF.
void measurePopulationPdf(BenchRun& run)
{
    std::vector<double> times;
    reports::Totals totals(*run.engine, run.dataDir, run.workDir, run.year.toLongLong());
    totals.build({});
    std::size_t people = 0;
    for (int r = 0; r < run.rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        engine::ResultSet rows = totals.page(reports::TotalsTable::Population);
        people = rows.rows.size();
        reports::TotalsFormTexts texts;
        texts.year = run.year.toLongLong();
        const output::ReportDocument document = reports::totalsDocument(reports::TotalsTable::Population, std::move(rows), texts);
        output::writeReportPdf(document, run.workDir + QStringLiteral("/populatie.pdf"), QStringLiteral("EVIDENTA POPULATIEI"));
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    run.add(QStringLiteral("population form of a year to PDF (%1 people)").arg(people), median(times));
    totals.removeTables();
}

// The year take-over of the latest year, safety archive included (it adds a year).
void measureYearTakeover(BenchRun& run)
{
    const RegisterServices fresh(run.workDir, run.dataDir);
    QElapsedTimer timer;
    timer.start();
    const TakeoverReport report =
        YearTakeover(fresh.engine(), run.dataDir, run.workDir, fresh.settings(), *run.ui).run(QString::number(run.year.toInt() + 1));
    run.add(QStringLiteral("year take-over with safety archive"), double(timer.nsecsElapsed()) / 1e6);
    QFile::remove(report.safetyArchive);
}

// The scenarios of the program's own classes, in the order of the results. `name` is what
// --only matches; `changesRegister` ones run only on a register the benchmark generated.
struct ProgramScenario {
    const char* name;
    bool changesRegister;
    bool always; // shown also with --only
    void (*measure)(BenchRun& run);
};

const ProgramScenario kProgramScenarios[] {
    {"start-up maintenance", false, false, measureStartupMaintenance},
    {"demo register generator", false, true, measureGenerator},
    {"editor list and next household", false, false, measureEditor},
    {"chapter page of a household", false, false, measureChapterPage},
    {"chapter repair of a year", true, false, measureChapterRepair},
    {"APIA workbook of a year", false, false, measureApiaWorkbook},
    {"totals of a year", false, false, measureTotals},
    {"population form of a year to PDF", false, false, measurePopulationPdf},
    {"year take-over", true, false, measureYearTakeover},
};

void measureProgram(BenchRun& run)
{
    for (const ProgramScenario& s : kProgramScenarios) {
        if ((s.always || run.wanted(QLatin1String(s.name))) && (!s.changesRegister || run.generated()))
            s.measure(run);
    }
}

// The results as a table and as tab-separated lines (also written to `tsvPath` when given).
void report(const BenchRun& run, const AllocatedMemoryWatch& memory, bool engineOnly, const QString& tsvPath)
{
    // Scenarios without a native counterpart show "-".
    const auto cell = [](double v, int width, int decimals, bool known) {
        return known ? QStringLiteral("%1").arg(v, width, 'f', decimals) : QStringLiteral("%1").arg(QStringLiteral("-"), width);
    };
    out() << QStringLiteral("\n%1 %2 %3 %4\n").arg(QStringLiteral("scenario"), -40).arg(QStringLiteral("engine ms"), 12).arg(QStringLiteral("native ms"), 12).arg(QStringLiteral("ratio"), 8);
    for (const bench::Measurement& m : run.results) {
        const bool native = m.nativeMs > 0;
        out() << QStringLiteral("%1 %2 %3 %4\n")
                     .arg(m.name, -40)
                     .arg(m.engineMs, 12, 'f', 3)
                     .arg(cell(m.nativeMs, 12, 3, native))
                     .arg(cell(native ? m.engineMs / m.nativeMs : 0, 8, 2, native));
    }
    QString tsv = QStringLiteral("scenario\tengine_ms\tnative_ms\tratio\n");
    for (const bench::Measurement& m : run.results) {
        const bool native = m.nativeMs > 0;
        tsv += QStringLiteral("%1\t%2\t%3\t%4\n")
                   .arg(m.name)
                   .arg(m.engineMs, 0, 'f', 4)
                   .arg(native ? QString::number(m.nativeMs, 'f', 4) : QStringLiteral("-"))
                   .arg(native ? QString::number(m.engineMs / m.nativeMs, 'f', 3) : QStringLiteral("-"));
    }
    out() << "\n" << tsv;
    // With VELMOR_BENCH_ENGINE_ONLY set no native mirror shares the process, so this is the
    // program's own peak.
    out() << QStringLiteral("\npeak memory allocated: %1 MB; peak resident with the mapped tables: %2 MB%3\n")
                 .arg(memory.peakMegabytes(), 0, 'f', 1)
                 .arg(peakResidentMegabytes(), 0, 'f', 1)
                 .arg(engineOnly ? QString() : QStringLiteral(" (native mirror included)"));
    if (!tsvPath.isEmpty()) {
        QFile f(tsvPath);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(tsv.toUtf8());
    }
    out().flush();
}

// Every table of the register copied into the native mirror.
void fillMirror(engine::Engine& engine, const BenchRun& run, bench::NativeMirror& mirror, bool engineOnly)
{
    QElapsedTimer loadTimer;
    loadTimer.start();
    for (const QString& t : kTables) {
        if (engineOnly)
            break;
        engine::ResultSet rows = engine.select(QStringLiteral("SELECT * FROM ") + quoted(run.path(t)));
        QStringList types;
        for (const auto& f : rows.fields) {
            switch (f.type) {
            case engine::FieldType::Integer:
            case engine::FieldType::Float:
                types << QStringLiteral("DECIMAL(%1,%2)").arg(f.width).arg(f.decimals);
                break;
            case engine::FieldType::Date:
                types << QStringLiteral("DATE");
                break;
            default:
                types << QStringLiteral("CHAR(%1) COLLATE RTRIM").arg(f.width);
            }
        }
        mirror.copyTable(t.toUpper(), rows, types);
    }
    out() << "Loaded " << kTables.size() << " tables into the native mirror in " << loadTimer.elapsed() << " ms\n";
}

// The latest year of the register and its households.
void findHouseholds(engine::Engine& engine, BenchRun& run)
{
    const engine::ResultSet years = engine.select(QStringLiteral("SELECT MAX(ANUL) AS Y FROM ") + quoted(run.path(QStringLiteral("Identificare"))));
    run.year = QString::number(std::get<std::int64_t>(years.rows.at(0).at(0)));
    const engine::ResultSet households = engine.select(QStringLiteral("SELECT CODID FROM ") + quoted(run.path(QStringLiteral("Identificare")))
                                                       + QStringLiteral(" WHERE ANUL=") + run.year);
    for (size_t r = 0; r < households.rows.size(); ++r)
        run.codids.push_back(std::get<std::int64_t>(households.value(r, "CODID")));
    if (run.codids.size() < 20)
        throw engine::SqlError(QStringLiteral("Registrul are prea putine gospodarii pentru masuratori."));
    out() << "Register: " << households.rows.size() << " households in " << run.year << "\n";
}

}

int main(int argc, char** argv)
{
    AllocatedMemoryWatch memory;
    // The report forms need fonts, hence a GUI application, offscreen unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    BenchRun run;
    QString tsvPath;
    data::DemoOptions demo;
    demo.households = 0;
    demo.years = 10;
    demo.firstYear = 2016;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--data"))
            run.dataDir = args[i + 1];
        else if (args[i] == QLatin1String("--rounds"))
            run.rounds = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--tsv"))
            tsvPath = args[i + 1];
        else if (args[i] == QLatin1String("--only"))
            run.only = args[i + 1];
        else if (args[i] == QLatin1String("--households"))
            demo.households = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--years"))
            demo.years = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--seed"))
            demo.seed = args[i + 1].toULongLong();
    }
    if (run.dataDir.isEmpty() == (demo.households <= 0)) {
        QTextStream(stderr) << "usage: velmor-bench (--data DIR | --households N [--years Y] [--seed S])\n"
                               "                    [--rounds N] [--tsv FILE] [--only TEXT]\n";
        return 2;
    }
    QTemporaryDir work;
    run.workDir = work.path();
    cli::CliInteraction ui;
    run.ui = &ui;
    if (run.dataDir.isEmpty()) {
        // A demo register of the given size, written for this run.
        run.dataDir = run.workDir + QStringLiteral("/Data");
        QElapsedTimer timer;
        timer.start();
        try {
            const data::DemoSummary summary = data::generateDemoRegister(run.dataDir, demo, ui);
            run.generatorMs = double(timer.nsecsElapsed()) / 1e6;
            out() << "Demo register: " << demo.households << " households x " << demo.years << " years, "
                  << summary.chapterRows << " chapter rows, written in " << qRound(run.generatorMs) << " ms\n";
        } catch (const data::DemoError& e) {
            QTextStream(stderr) << e.message() << "\n";
            return 1;
        } catch (const dbf::DbfError& e) {
            QTextStream(stderr) << e.message() << "\n";
            return 1;
        }
    }
    run.dataDir = QDir(run.dataDir).absolutePath();

    // Profiling aid: time the engine alone, without building the native mirror.
    const bool engineOnly = qEnvironmentVariableIsSet("VELMOR_BENCH_ENGINE_ONLY");
    try {
        // The scenarios' work tables live in the run's scratch folder.
        RegisterServices services(run.workDir, run.dataDir);
        engine::Engine& engine = services.engine();
        run.services = &services;
        run.engine = &engine;

        bench::NativeMirror mirror(run.workDir + QStringLiteral("/native.sqlite"));
        fillMirror(engine, run, mirror, engineOnly);
        findHouseholds(engine, run);

        // The scenarios, in the order of the results; a scenario file of its own adds one line.
        measureStatements(run, mirror, engineOnly);
        measureProgram(run);
        for (const auto& [name, ms] : bench::benchCensus(engine, run.dataDir, run.workDir, run.year, run.rounds, run.only, ui))
            run.add(name, ms);
        for (const bench::ListTiming& t : bench::benchLists(engine, run.dataDir, run.workDir, run.year.toLongLong(), run.rounds, run.only))
            run.add(t.name, t.ms);
        for (const auto& [name, ms] : bench::benchReports(engine, run.dataDir, run.workDir, run.year, run.rounds, run.only, ui))
            run.add(name, ms);
        for (const auto& [name, ms] : bench::runMergeScenarios(run.dataDir, run.workDir, run.year, run.generated(), run.only, ui))
            run.add(name, ms);
        for (const auto& [name, ms] : bench::upgradeScenarios(run.dataDir, run.workDir, ui, run.rounds, run.only))
            run.add(name, ms);

        report(run, memory, engineOnly, tsvPath);
    } catch (const Error& e) {
        QTextStream(stderr) << e.message() << "\n";
        return 1;
    }
    return 0;
}
