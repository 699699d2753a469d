#include "bench/BenchLists.h"
#include "bench/BenchCensus.h"
#include "bench/BenchUpgrade.h"
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

struct Measurement {
    QString name;
    double engineMs = 0;
    double nativeMs = 0;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : (v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2);
}

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

int main(int argc, char** argv)
{
    AllocatedMemoryWatch memory;
    // The report forms need fonts, hence a GUI application, offscreen unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString dataDir;
    QString tsvPath;
    data::DemoOptions demo;
    demo.households = 0;
    demo.years = 10;
    demo.firstYear = 2016;
    int rounds = 7;
    QString only;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--data"))
            dataDir = args[i + 1];
        else if (args[i] == QLatin1String("--rounds"))
            rounds = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--tsv"))
            tsvPath = args[i + 1];
        else if (args[i] == QLatin1String("--only"))
            only = args[i + 1];
        else if (args[i] == QLatin1String("--households"))
            demo.households = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--years"))
            demo.years = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--seed"))
            demo.seed = args[i + 1].toULongLong();
    }
    if (dataDir.isEmpty() == (demo.households <= 0)) {
        QTextStream(stderr) << "usage: velmor-bench (--data DIR | --households N [--years Y] [--seed S])\n"
                               "                    [--rounds N] [--tsv FILE] [--only TEXT]\n";
        return 2;
    }
    QTemporaryDir work;
    const QString workDir = work.path();
    cli::CliInteraction ui;
    double generatorMs = -1;
    if (dataDir.isEmpty()) {
        // A demo register of the given size, written for this run.
        dataDir = workDir + QStringLiteral("/Data");
        QElapsedTimer timer;
        timer.start();
        try {
            const data::DemoSummary summary = data::generateDemoRegister(dataDir, demo, ui);
            generatorMs = double(timer.nsecsElapsed()) / 1e6;
            out() << "Demo register: " << demo.households << " households x " << demo.years << " years, "
                  << summary.chapterRows << " chapter rows, written in " << qRound(generatorMs) << " ms\n";
        } catch (const data::DemoError& e) {
            QTextStream(stderr) << e.message() << "\n";
            return 1;
        } catch (const dbf::DbfError& e) {
            QTextStream(stderr) << e.message() << "\n";
            return 1;
        }
    }
    dataDir = QDir(dataDir).absolutePath();

    // Profiling aid: time the engine alone, without building the native mirror.
    const bool engineOnly = qEnvironmentVariableIsSet("VELMOR_BENCH_ENGINE_ONLY");
    try {
        engine::Engine engine(dataDir);
        // The scenarios' work tables live in the run's scratch folder.
        engine.addTableRoot(workDir);
        const auto path = [&](const QString& table) { return dataDir + QLatin1Char('/') + table + QStringLiteral(".dbf"); };

        // The native mirror of every table.
        bench::NativeMirror mirror(workDir + QStringLiteral("/native.sqlite"));
        QElapsedTimer loadTimer;
        loadTimer.start();
        for (const QString& t : kTables) {
            if (engineOnly)
                break;
            engine::ResultSet rows = engine.select(QStringLiteral("SELECT * FROM ") + quoted(path(t)));
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

        const engine::ResultSet years = engine.select(QStringLiteral("SELECT MAX(ANUL) AS Y FROM ") + quoted(path(QStringLiteral("Identificare"))));
        const QString year = QString::number(std::get<std::int64_t>(years.rows.at(0).at(0)));
        const engine::ResultSet households = engine.select(
            QStringLiteral("SELECT CODID FROM ") + quoted(path(QStringLiteral("Identificare"))) + QStringLiteral(" WHERE ANUL=") + year);
        std::vector<qint64> codids;
        for (const auto& row : households.rows)
            codids.push_back(std::get<std::int64_t>(row[0]));
        if (codids.size() < 20)
            throw engine::SqlError(QStringLiteral("Registrul are prea putine gospodarii pentru masuratori."));
        out() << "Register: " << households.rows.size() << " households in " << year << "\n";

        const QString t2 = workDir + QStringLiteral("/T2.dbf");
        const QString copyTarget = workDir + QStringLiteral("/tmp.dbf");

        std::vector<Scenario> scenarios;
        scenarios.push_back({QStringLiteral("household list of a year"), 1, nullptr,
                             [&](bench::Runner& r, int) {
                                 engine::ResultSet rows;
                                 r.run(QStringLiteral("SELECT * FROM ") + quoted(path(QStringLiteral("Identificare")))
                                           + QStringLiteral("\nWHERE ANUL=") + year + QStringLiteral("\nORDER BY LOCALIT, VOLUM, POZ"),
                                       &rows);
                             },
                             nullptr});
        const int lookups = std::min<int>(1000, int(codids.size()));
        scenarios.push_back({QStringLiteral("one household's chapter 7 rows"), lookups, nullptr,
                             [&](bench::Runner& r, int) {
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
                             [&](bench::Runner& r, int) {
                                 engine::ResultSet rows;
                                 r.run(QStringLiteral("SELECT CATEG,RAND,SUM(AHA) AS AHA1,SUM(AARI) AS AARI1,SUM(BHA) AS BHA1,SUM(BARI) AS BARI1,\n"
                                                      "SUM(CHA) AS CHA1,SUM(CARI) AS CARI1,SUM(IHA) AS IHA1,SUM(IARI) AS IARI1\nFROM ")
                                           + quoted(path(QStringLiteral("CAP2"))) + QStringLiteral(" C\nINNER JOIN ") + quoted(t2)
                                           + QStringLiteral(" T\nON C.CODID=T.CODID\nGROUP BY CATEG,RAND"),
                                       &rows);
                             },
                             nullptr});
        scenarios.push_back({QStringLiteral("member search join of a year"), 1, nullptr,
                             [&](bench::Runner& r, int) {
                                 engine::ResultSet rows;
                                 r.run(QStringLiteral("SELECT I.POZ, I.VOLUM, I.JUDET, I.LOCALIT, I.STRADA, I.NR, I.STR2, I.NR2, C.NUMEP, I.DENUMIRE, I.LOC, C.CODID, C.COD, C.CNP, I.TIPRA\nFROM ")
                                           + quoted(path(QStringLiteral("CAP1"))) + QStringLiteral(" C,\n") + quoted(path(QStringLiteral("Identificare")))
                                           + QStringLiteral(" I\nWHERE (C.ANUL=") + year + QStringLiteral(")\nAND C.CODID=I.CODID\nORDER BY I.LOCALIT, C.NUMEP"),
                                       &rows);
                             },
                             nullptr});
        scenarios.push_back({QStringLiteral("statistics file CAP2 left join"), 1, nullptr,
                             [&](bench::Runner& r, int) {
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
                             [&](bench::Runner& r, int) {
                                 engine::ResultSet rows;
                                 r.run(QStringLiteral("SELECT CATEG,NR,RAND,CODID\nFROM ") + quoted(path(QStringLiteral("CAP7")))
                                           + QStringLiteral("\nWHERE ANUL=") + year,
                                       &rows);
                             },
                             nullptr});
        scenarios.push_back({QStringLiteral("copy a year of chapter 7"), 1,
                             [&](bench::Runner& r, int) {
                                 r.run(QStringLiteral("CREATE TABLE ") + quoted(copyTarget)
                                       + QStringLiteral(" (ANUL DECIMAL(4,0), CODID DECIMAL(10,0),\nCATEG CHAR(60), NR DECIMAL(7,0), RAND DECIMAL(4,1) )"));
                             },
                             [&](bench::Runner& r, int) {
                                 r.run(QStringLiteral("INSERT INTO ") + quoted(copyTarget) + QStringLiteral("\n(CATEG,NR,RAND,CODID)\nSELECT CATEG,NR,RAND,CODID\nFROM ")
                                       + quoted(path(QStringLiteral("CAP7"))) + QStringLiteral("\nWHERE ANUL=") + year);
                             },
                             [&](bench::Runner& r, int) { r.run(QStringLiteral("DROP TABLE ") + quoted(copyTarget)); }});
        scenarios.push_back({QStringLiteral("delete one household from all tables"), 1, nullptr,
                             [&](bench::Runner& r, int round) {
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

        bench::EngineRunner engineRunner(engine);
        bench::NativeRunner nativeRunner(mirror);
        // The year's households for the totals join, on both sides.
        for (bench::Runner* r : {static_cast<bench::Runner*>(&engineRunner), static_cast<bench::Runner*>(&nativeRunner)}) {
            if (engineOnly && r == &nativeRunner)
                continue;
            r->run(QStringLiteral("CREATE TABLE ") + quoted(t2) + QStringLiteral(" (CODID DECIMAL(10,0))"));
            r->run(QStringLiteral("INSERT INTO ") + quoted(t2) + QStringLiteral("\nSELECT CODID FROM ")
                   + quoted(path(QStringLiteral("Identificare"))) + QStringLiteral("\nWHERE ANUL=") + year);
        }

        std::vector<Measurement> results;
        for (const Scenario& s : scenarios) {
            if (!only.isEmpty() && !s.name.contains(only))
                continue;
            Measurement m;
            m.name = s.name;
            m.engineMs = timeScenario(s, engineRunner, rounds);
            m.nativeMs = engineOnly ? 0 : timeScenario(s, nativeRunner, rounds);
            results.push_back(m);
        }
        QFile::remove(t2);

        // Start-up maintenance: every table packed and indexed as the start-up does it, by a
        // program that has just started (a fresh engine).
        if (only.isEmpty() || QStringLiteral("start-up maintenance").contains(only)) {
            std::vector<double> times;
            for (int r = 0; r < rounds; ++r) {
                engine::Engine fresh(dataDir);
                data::Schema schema(fresh, dataDir, ui);
                QElapsedTimer timer;
                timer.start();
                for (const QString& file : data::Schema::tableFileNames())
                    schema.StergePuneIndex(schema.tablePath(file), data::Schema::indexColumns(file));
                times.push_back(double(timer.nsecsElapsed()) / 1e6);
            }
            results.push_back({QStringLiteral("start-up maintenance"), median(times), 0});
        }
        if (generatorMs >= 0)
            results.push_back({QStringLiteral("demo register generator"), generatorMs, 0});

        // The household editor: its list of the latest year opened with the filter applied, and
        // moving to the next household with the list page shown (with the member label rebuilt).
        if (only.isEmpty() || QStringLiteral("editor list and next household").contains(only)) {
            AppContext ctx;
            Settings settings(dataDir);
            ctx.programDirectory = workDir;
            ctx.dataDirectory = dataDir;
            ctx.engine = &engine;
            ctx.settings = &settings;
            ctx.interaction = &ui;
            ctx.year.setYears({year});
            std::vector<double> opening;
            std::vector<double> moving;
            for (int r = 0; r < rounds; ++r) {
                HouseholdEditor editor(ctx);
                QElapsedTimer timer;
                timer.start();
                editor.IncarcaQuery();
                editor.PozitiaChange();
                opening.push_back(double(timer.nsecsElapsed()) / 1e6);
                constexpr int Moves = 50;
                timer.restart();
                for (int m = 0; m < Moves; ++m) {
                    editor.move(HouseholdEditor::Move::Next);
                    editor.memberLines();
                }
                moving.push_back(double(timer.nsecsElapsed()) / 1e6 / Moves);
            }
            results.push_back({QStringLiteral("editor list of a year, filtered"), median(opening), 0});
            results.push_back({QStringLiteral("editor next household with members"), median(moving), 0});
        }

        // A chapter page of one household: completion, load-time computations and every cell of
        // its grid formatted, for each chapter 2 to 10 of a sample of households.
        if (only.isEmpty() || QStringLiteral("chapter page of a household").contains(only)) {
            AppContext ctx;
            Settings settings(dataDir);
            ctx.programDirectory = workDir;
            ctx.dataDirectory = dataDir;
            ctx.engine = &engine;
            ctx.settings = &settings;
            ctx.interaction = &ui;
            ctx.year.setYears({year});
            ctx.setUnlocked(true);
            std::vector<double> times;
            const size_t sample = std::min<size_t>(codids.size(), size_t(std::max(rounds, 1)) * 10);
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
            results.push_back({QStringLiteral("chapter page of a household"), median(times), 0});
        }

        // The chapter repair over the latest year; only on a register the benchmark generated.
        if (generatorMs >= 0 && (only.isEmpty() || QStringLiteral("chapter repair of a year").contains(only))) {
            QElapsedTimer timer;
            timer.start();
            const ChapterRepair::Report report = ChapterRepair(engine, dataDir, workDir, ui).run(year.toLongLong());
            results.push_back({QStringLiteral("chapter repair of a year (%1 households)").arg(report.households),
                               double(timer.nsecsElapsed()) / 1e6, 0});
        }

        // The APIA livestock report filled into its Excel template for the latest year.
        if (only.isEmpty() || QStringLiteral("APIA workbook of a year").contains(only)) {
            std::vector<double> times;
            int rows = 0;
            for (int r = 0; r < rounds; ++r) {
                reports::WorkbookReportRequest request;
                request.report = QStringLiteral("apia");
                request.dataDirectory = dataDir;
                request.programDirectory = workDir;
                request.year = year;
                request.outputFile = workDir + QStringLiteral("/apia.xls");
                QElapsedTimer timer;
                timer.start();
                rows = reports::runWorkbookReport(request, ui);
                times.push_back(double(timer.nsecsElapsed()) / 1e6);
            }
            results.push_back({QStringLiteral("APIA workbook of a year (%1 rows)").arg(rows), median(times), 0});
        }

        for (const auto& [name, ms] : bench::benchCensus(engine, dataDir, workDir, year, rounds, only, ui)) results.push_back({name, ms, 0});

        // The totals of the latest year (every chapter table built), and its population form to PDF.
        if (only.isEmpty() || QStringLiteral("totals of a year").contains(only)) {
            std::vector<double> times;
            reports::Totals totals(engine, dataDir, workDir, year.toLongLong());
            for (int r = 0; r < rounds; ++r) {
                QElapsedTimer timer;
                timer.start();
                totals.build({});
                times.push_back(double(timer.nsecsElapsed()) / 1e6);
            }
            results.push_back({QStringLiteral("totals of a year"), median(times), 0});
            totals.removeTables();
        }
        if (only.isEmpty() || QStringLiteral("population form of a year to PDF").contains(only)) {
            std::vector<double> times;
            reports::Totals totals(engine, dataDir, workDir, year.toLongLong());
            totals.build({});
            std::size_t people = 0;
            for (int r = 0; r < rounds; ++r) {
                QElapsedTimer timer;
                timer.start();
                engine::ResultSet rows = totals.page(reports::TotalsTable::Population);
                people = rows.rows.size();
                reports::TotalsFormTexts texts;
                texts.year = year.toLongLong();
                const output::ReportDocument document =
                    reports::totalsDocument(reports::TotalsTable::Population, std::move(rows), texts);
                output::writeReportPdf(document, workDir + QStringLiteral("/populatie.pdf"), QStringLiteral("EVIDENTA POPULATIEI"));
                times.push_back(double(timer.nsecsElapsed()) / 1e6);
            }
            results.push_back({QStringLiteral("population form of a year to PDF (%1 people)").arg(people), median(times), 0});
            totals.removeTables();
        }

        for (const bench::ListTiming& t : bench::benchLists(engine, dataDir, workDir, year.toLongLong(), rounds, only))
            results.push_back({t.name, t.ms, 0});
        for (const auto& [name, ms] : bench::benchReports(engine, dataDir, workDir, year, rounds, only, ui)) results.push_back({name, ms, 0});

        // The year take-over of the latest year, safety archive included; only on a register the
        // benchmark generated itself, since it adds a year.
        if (generatorMs >= 0 && (only.isEmpty() || QStringLiteral("year take-over").contains(only))) {
            engine::Engine fresh(dataDir);
            fresh.addTableRoot(workDir);
            Settings settings(dataDir);
            QElapsedTimer timer;
            timer.start();
            const TakeoverReport report =
                YearTakeover(fresh, dataDir, workDir, settings, ui).run(QString::number(year.toInt() + 1));
            results.push_back({QStringLiteral("year take-over with safety archive"), double(timer.nsecsElapsed()) / 1e6, 0});
            QFile::remove(report.safetyArchive);
        }

        for (const auto& [name, ms] : bench::runMergeScenarios(dataDir, workDir, year, generatorMs >= 0, only, ui))
            results.push_back({name, ms, 0});
        for (const auto& [name, ms] : bench::upgradeScenarios(dataDir, workDir, ui, rounds, only)) results.push_back({name, ms, 0});

        // Scenarios without a native counterpart show "-".
        const auto cell = [](double v, int width, int decimals, bool known) {
            return known ? QStringLiteral("%1").arg(v, width, 'f', decimals) : QStringLiteral("%1").arg(QStringLiteral("-"), width);
        };
        out() << QStringLiteral("\n%1 %2 %3 %4\n").arg(QStringLiteral("scenario"), -40).arg(QStringLiteral("engine ms"), 12).arg(QStringLiteral("native ms"), 12).arg(QStringLiteral("ratio"), 8);
        for (const Measurement& m : results) {
            const bool native = m.nativeMs > 0;
            out() << QStringLiteral("%1 %2 %3 %4\n")
                         .arg(m.name, -40)
                         .arg(m.engineMs, 12, 'f', 3)
                         .arg(cell(m.nativeMs, 12, 3, native))
                         .arg(cell(native ? m.engineMs / m.nativeMs : 0, 8, 2, native));
        }
        QString tsv = QStringLiteral("scenario\tengine_ms\tnative_ms\tratio\n");
        for (const Measurement& m : results) {
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
    } catch (const Error& e) {
        QTextStream(stderr) << e.message() << "\n";
        return 1;
    }
    return 0;
}
