#include "app/Cli.h"

#include "app/CliHouseholds.h"
#include "app/CliChapters.h"
#include "app/CliInteraction.h"
#include "app/CliOutput.h"
#include "admin/DataBackup.h"
#include "app/CliOptions.h"
#include "app/CliDocuments.h"
#include "app/CliCensus.h"
#include "app/CliSearch.h"
#include "app/CliTotals.h"
#include "app/CliLists.h"
#include "app/CliMerge.h"
#include "app/CliReports.h"
#include "app/CliUpgrade.h"
#include "app/ProgramHome.h"
#include "output/DataExport.h"
#include "register/PlotRecalculation.h"
#include "register/YearTakeover.h"
#include "reports/WorkbookReportCommand.h"
#include "workbook/CellListing.h"
#include "services/Settings.h"
#include "data/DemoRegister.h"
#include "data/Schema.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlError.h"
#include "core/Interaction.h"
#include "core/ChangeCounter.h"
#include "app/OperationRecovery.h"
#include "services/DataDirectoryLock.h"
#include "services/OperationMarker.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <memory>
#include <optional>
#include <cstdio>

namespace velmor::cli {

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

const char* const UsageText =
    "Utilizare: velmor-cli COMANDA [OPTIUNI]\n"
    "Registrul agricol fara ferestre: fiecare comanda lucreaza pe directorul de date dat cu --data.\n"
    "\n"
    "       velmor-cli --version\n"
    "       velmor-cli --help\n"
    "       velmor-cli sql [--home DIR] [--data DIR] [--param NAME=VALUE]... [--param-text NAME=VALUE]... STATEMENT\n"
    "       velmor-cli home [--home DIR]\n"
    "       velmor-cli create --data DIR\n"
    "       velmor-cli demo --data DIR --households N --years Y [--first-year F] [--seed S]\n"
    "       velmor-cli backup --data DIR ARCHIVE\n"
    "       velmor-cli restore ARCHIVE --into DIR [--fail-after N]\n"
    "       velmor-cli takeover --data DIR --year Y [--home DIR] [--fail-after N]\n"
    "       velmor-cli merge --data DIR [--home DIR] --year Y --archive FILE.kt --replace yes|no [--fail-after N]\n"
    "       velmor-cli check 1|2|3|4|missing --data DIR [--home DIR] [--year Y] [--delete] [--export FILE.xlsx] [--fail-after N]\n"
    "       velmor-cli recalc --data DIR --year Y [--household CODID | [--village V] [--type T] [--volume N] [--position N]]\n"
    "                         [--fail-after N]\n"
    "       velmor-cli household-delete --data DIR --year Y --codid C [--renumber] [--home DIR] [--fail-after N]\n"
    "       velmor-cli chapters --data DIR --year Y [--household CODID] [--fail-after N]\n"
    "       velmor-cli recover --data DIR\n"
    "       velmor-cli upgrade --data DIR [--home DIR] [--fail-after N]\n"
    "       velmor-cli workbook apia|strainasi --data DIR [--home DIR] --year Y [--template FILE] --out FILE.xls\n"
    "       velmor-cli xls-cells FILE\n"
    "       velmor-cli summary --data DIR --household CODID\n"
    "       velmor-cli certificate --data DIR [--home DIR] --household CODID --chapters LIST --destination TEXT\n"
    "                              [--model 1..5] [--person NAME] [--second NAME --relation TEXT] [--clerk NAME]\n"
    "                              [--duty X --receipt R] [--number N] [--mentions TEXT] [--heating] --out FILE.rtf\n"
    "       velmor-cli ragr2 --data DIR [--home DIR] --year Y [--siruta S] [--number N] [--date dd.MM.yyyy] --out FILE.rtf\n"
    "       velmor-cli find --data DIR --year Y [--name TEXT] [--heads-only] [--cnp TEXT] [--company TEXT]\n"
    "                       [--street TEXT] [--number TEXT] [--domicile TEXT]\n"
    "       velmor-cli export [--home DIR] [--data DIR] [--format xlsx|csv|tsv|html|rtf|txt] [--title TEXT]\n"
    "                         [--footer TEXT] [--param NAME=VALUE]... [--param-text NAME=VALUE]... --out FILE STATEMENT\n"
    "       velmor-cli totals --data DIR [--home DIR] --year Y [--village V] [--type 1..4] [--volume N] [--sex 1|2]\n"
    "                         [--born dd.MM.yyyy..dd.MM.yyyy] --table pop|2|3|4|5|6|7|8|8net|9|10 [--chart] [--pdf FILE]\n"
    "       velmor-cli list-rows --data DIR [--home DIR] --year Y --chapter N\n"
    "       velmor-cli advanced-list --data DIR [--home DIR] --year Y [--village V] [--type T] [--volume N]\n"
    "                                [--column CH:ROW]... [--condition CH:ROW:MIN:MAX]... [--export FILE]\n"
    "       velmor-cli selection-list --data DIR [--home DIR] --year Y --chapter N --row CODE [--min X] [--max X]\n"
    "                                 [--village V] [--type T] [--volume N] [--export FILE] [--pdf FILE]\n"
    "       velmor-cli census --data DIR [--home DIR] --year Y --form L1|L2|L3|L4|C1|C2 --village V [--include-nu] [--ignore-other]\n"
    "                         [--date dd.MM.yyyy] [--template FILE] [--rows] [--out FILE.xls]\n"
    "       velmor-cli plot-search --data DIR [--home DIR] --year Y [--act T] [--nract T] [--categ T] [--intra T] [--tarla T] [--nrtarla T]\n"
    "                              [--parcel T] [--head T] [--nrcad T] [--worker T] [--type N] [--village V] [--sort FIELD]\n"
    "                              [--export FILE.xls] [--date dd.MM.yyyy]\n"
    "       velmor-cli statfile --data DIR [--home DIR] --year Y --date dd.MM.yyyy --out DIR [--replace yes|no]\n"
    "       velmor-cli accounting --data DIR [--home DIR] --year Y [--pdf FILE]\n"
    "       velmor-cli heads --data DIR [--home DIR] --year Y --by address|positions [--pdf FILE]\n"
    "       velmor-cli farms --data DIR [--home DIR] --year Y --date dd.MM.yyyy [--out FILE.rtf]\n"
    "       velmor-cli list-street --data DIR [--home DIR] --year Y --street S [--out FILE]\n"
    "       velmor-cli list-sizes|list-dwellings --data DIR [--home DIR] --year Y [--out FILE]\n";

int usage()
{
    err() << UsageText;
    err().flush();
    return 2;
}

int failure(const QString& message)
{
    err() << messageLines(message) << '\n';
    err().flush();
    return 1;
}

QString dataDirectory(const Options& o)
{
    if (o.has(QStringLiteral("data")))
        return QDir(o.value(QStringLiteral("data"))).absolutePath();
    const ProgramHome home(ProgramHome::locate(o.value(QStringLiteral("home"))));
    home.ensureExists();
    return home.localDataDirectory();
}

// The engine over the data directory; statements may also name tables of the program home.
std::unique_ptr<engine::Engine> engineFor(const Options& o)
{
    auto engine = std::make_unique<engine::Engine>(dataDirectory(o));
    engine->addTableRoot(ProgramHome::locate(o.value(QStringLiteral("home"))));
    return engine;
}

// The values of --param NAME=VALUE (an integer for -?[0-9]+, a real for a decimal number, text
// otherwise) and --param-text NAME=VALUE (always text).
engine::Parameters parameters(const Options& o)
{
    static const QRegularExpression integer(QStringLiteral("^-?[0-9]+$"));
    static const QRegularExpression decimal(QStringLiteral("^-?([0-9]+\\.[0-9]*|\\.[0-9]+)$"));
    engine::Parameters result;
    auto take = [&](const QString& option, bool typed) {
        for (const QString& assignment : o.values(option)) {
            const qsizetype eq = assignment.indexOf(QLatin1Char('='));
            const QString name = eq < 0 ? QString() : assignment.left(eq);
            if (engine::Parameters::key(name).isEmpty())
                throw UsageError(QStringLiteral("--%1 cere NUME=VALOARE, nu \"%2\".").arg(option, assignment));
            if (result.find(name))
                throw UsageError(QStringLiteral("Parametrul :%1 este dat de doua ori.").arg(engine::Parameters::key(name)));
            const QString text = assignment.mid(eq + 1);
            if (typed && integer.match(text).hasMatch()) {
                bool ok = false;
                const qint64 value = text.toLongLong(&ok);
                if (!ok)
                    throw UsageError(QStringLiteral("Parametrul :%1 nu incape intr-un intreg; folositi --param-text.")
                                         .arg(engine::Parameters::key(name)));
                result.bind(name, std::int64_t(value));
            } else if (typed && decimal.match(text).hasMatch()) {
                result.bind(name, text.toDouble());
            } else {
                result.bind(name, text);
            }
        }
    };
    take(QStringLiteral("param"), true);
    take(QStringLiteral("param-text"), false);
    return result;
}

int runSql(const Options& o)
{
    o.requirePositional(1, 1);
    const engine::Parameters bound = parameters(o);
    engine::ResultSet result;
    engineFor(o)->run(o.positional().first(), &result, bound);
    if (!result.fields.isEmpty())
        out() << formatResult(result);
    out().flush();
    return 0;
}

// A whole number option, `fallback` when absent; throws UsageError when it is not a number.
int runCreate(const Options& o)
{
    o.require({"data"});
    o.requirePositional(0, 0);
    const QString dir = QDir(o.value(QStringLiteral("data"))).absolutePath();
    if (QFileInfo(dir).exists() && !QFileInfo(dir).isDir())
        return failure(QStringLiteral("\"%1\" nu este un director.").arg(dir));
    if (!QDir().mkpath(dir))
        return failure(QStringLiteral("Directorul \"%1\" nu poate fi creat.").arg(dir));
    QStringList missing;
    for (const QString& name : data::Schema::tableFileNames()) {
        if (!QFileInfo::exists(dbf::resolveFileName(dir + QLatin1Char('/') + name)))
            missing << name;
    }
    CliInteraction ui;
    engine::Engine engine(dir);
    data::Schema schema(engine, dir, ui);
    schema.CreazaBaza();
    if (missing.isEmpty())
        out() << "Baza de date din " << dir << " este completa; nu am creat nimic.\n";
    else
        out() << "Tabele create in " << dir << ": " << missing.join(QStringLiteral(", ")) << '\n';
    out().flush();
    return 0;
}

int runDemo(const Options& o)
{
    o.require({"data", "households", "years"});
    o.requirePositional(0, 0);
    const qint64 households = wholeOption(o, "households", 0);
    const qint64 years = wholeOption(o, "years", 0);
    const qint64 firstYear = wholeOption(o, "first-year", 0);
    const qint64 seed = wholeOption(o, "seed", 1);
    data::DemoOptions options;
    options.households = int(std::clamp<qint64>(households, -1, 2000000000));
    options.years = int(std::clamp<qint64>(years, -1, 1000000));
    options.firstYear = o.has(QStringLiteral("first-year")) ? int(std::clamp<qint64>(firstYear, -1, 1000000)) : 0;
    if (o.has(QStringLiteral("first-year")) && options.firstYear == 0)
        options.firstYear = -1; // zero given explicitly is out of range, not "default"
    options.seed = quint64(seed);
    const QString dir = QDir(o.value(QStringLiteral("data"))).absolutePath();
    CliInteraction ui;
    QElapsedTimer timer;
    timer.start();
    const data::DemoSummary s = data::generateDemoRegister(dir, options, ui);
    out() << "Registru demonstrativ scris in " << dir << '\n'
          << "  ani " << s.firstYear << "-" << s.lastYear << ", gospodarii (toti anii) " << s.householdRows
          << ", membri " << s.memberRows << ", randuri de capitole " << s.chapterRows << '\n'
          << "  parcele " << s.plotRows << ", titulari " << s.holderRows << ", poze " << s.pictureRows
          << ", ultimele coduri CODID " << s.lastCodid << " COD1 " << s.lastCod1 << " CODT " << s.lastCodt << '\n'
          << "  durata " << QString::number(double(timer.elapsed()) / 1000.0, 'f', 1) << " s\n";
    out().flush();
    return 0;
}

int runBackup(const Options& o)
{
    o.require({"data"});
    o.requirePositional(1, 1);
    CliInteraction ui;
    const QString archive = QDir().absoluteFilePath(o.positional().first());
    const int members = DataBackup(QDir(o.value(QStringLiteral("data"))).absolutePath(), ui).saveTo(archive);
    out() << "Salvare incheiata: " << members << " fisiere in " << o.positional().first() << '\n';
    out().flush();
    return 0;
}

// Restores into a new or an existing data directory, through the same staged restore as the
// window: a bad archive leaves the directory as it was.
int runRestore(const Options& o)
{
    o.require({"into"});
    o.requirePositional(1, 1);
    const QString into = QDir(o.value(QStringLiteral("into"))).absolutePath();
    if (QFileInfo(into).exists() && !QFileInfo(into).isDir())
        return failure(QStringLiteral("%1 nu este un director.").arg(QDir::toNativeSeparators(into)));
    CliInteraction ui;
    const QStringList written = DataBackup(into, ui).restoreFrom(QDir().absoluteFilePath(o.positional().first()));
    out() << "Restaurare incheiata: " << written.size() << " fisiere in " << o.value(QStringLiteral("into")) << '\n';
    out().flush();
    return 0;
}

// The year take-over into year Y, without questions: one line per copied table, then one per
// counter. Refuses (status 1, nothing changed) a year that has households, is not after the latest
// year, or an empty register.
int runTakeover(const Options& o)
{
    o.require({"data", "year"});
    o.requirePositional(0, 0);
    const QString dir = QDir(o.value(QStringLiteral("data"))).absolutePath();
    const ProgramHome home(ProgramHome::locate(o.value(QStringLiteral("home"))));
    if (!home.ensureExists())
        return failure(QStringLiteral("Folderul programului nu poate fi creat: %1").arg(home.path()));
    CliInteraction ui;
    engine::Engine engine(dir);
    engine.addTableRoot(home.path());
    Settings settings(dir);
    const TakeoverReport report = YearTakeover(engine, dir, home.path(), settings, ui).run(o.value(QStringLiteral("year")));
    for (const TakeoverReport::Table& table : report.tables)
        out() << table.name << '\t' << table.rows << '\n';
    for (const TakeoverReport::Counter& counter : report.counters)
        out() << counter.kind << '\t' << counter.before << '\t' << counter.after << '\n';
    out().flush();
    return 0;
}

// Chapters 2 and 3 rebuilt from the plots of the chosen households of a year.
int runRecalc(const Options& o)
{
    o.require({"data", "year"});
    o.requirePositional(0, 0);
    const auto integer = [&](const char* name) -> std::optional<qint64> {
        if (!o.has(QLatin1String(name)))
            return std::nullopt;
        qint64 value = 0;
        if (!parseInteger(o.value(QLatin1String(name)), value))
            throw UsageError(QStringLiteral("--%1 cere un numar intreg.").arg(QLatin1String(name)));
        return value;
    };
    RecalcSelection selection;
    selection.household = integer("household");
    if (selection.household && (o.has(QStringLiteral("village")) || o.has(QStringLiteral("type"))
                                || o.has(QStringLiteral("volume")) || o.has(QStringLiteral("position"))))
        throw UsageError(QStringLiteral("--household nu se poate folosi impreuna cu --village, --type, --volume, --position."));
    if (o.has(QStringLiteral("village")))
        selection.village = o.value(QStringLiteral("village"));
    selection.type = integer("type");
    selection.volume = integer("volume");
    selection.position = integer("position");
    const std::optional<qint64> year = integer("year");
    const QString dir = QDir(o.value(QStringLiteral("data"))).absolutePath();
    if (!QFileInfo(dir).isDir())
        return failure(QStringLiteral("Folderul de date nu exista: %1").arg(dir));
    engine::Engine engine(dir);
    const RecalcResult result = PlotRecalculation(engine, dir).run(int(*year), selection);
    out() << "recalculated\t" << result.recalculated << '\n' << "skipped\t" << result.skipped << '\n';
    out().flush();
    return 0;
}

// A report filled from a built-in Excel template; prints the number of rows written.
int runWorkbook(const Options& o)
{
    o.require({"data", "year", "out"});
    o.requirePositional(1, 1);
    reports::WorkbookReportRequest request;
    request.report = o.positional().first();
    request.dataDirectory = QDir(o.value(QStringLiteral("data"))).absolutePath();
    if (o.has(QStringLiteral("home")))
        request.programDirectory = QDir(o.value(QStringLiteral("home"))).absolutePath();
    request.year = o.value(QStringLiteral("year"));
    if (o.has(QStringLiteral("template")))
        request.templateFile = QDir().absoluteFilePath(o.value(QStringLiteral("template")));
    request.outputFile = QDir().absoluteFilePath(o.value(QStringLiteral("out")));
    CliInteraction ui;
    out() << reports::runWorkbookReport(request, ui) << '\n';
    out().flush();
    return 0;
}

// Sheet 1 of a workbook, one non-empty cell a line, then its merged ranges.
int runXlsCells(const Options& o)
{
    o.requirePositional(1, 1);
    const int status = workbook::printWorkbookCells(QDir().absoluteFilePath(o.positional().first()), out());
    out().flush();
    return status;
}

// The rows of a SELECT written by the export component (Excel unless --format says otherwise).
int runExport(const Options& o)
{
    o.require({"out"});
    o.requirePositional(1, 1);
    output::ExportOptions options;
    options.format = output::ExportFormat::Xlsx;
    if (o.has(QStringLiteral("format"))) {
        options.format = output::formatFromName(o.value(QStringLiteral("format")));
        if (!options.format)
            throw UsageError(QStringLiteral("Format necunoscut: %1").arg(o.value(QStringLiteral("format"))));
    }
    options.title = o.value(QStringLiteral("title"));
    options.footer = o.value(QStringLiteral("footer"));
    options.parameters = parameters(o);
    CliInteraction ui;
    options.progress = &ui;
    const QString outPath = QDir().absoluteFilePath(o.value(QStringLiteral("out")));
    output::exportStatement(*engineFor(o), o.positional().first(), options, outPath);
    out() << "Export scris in " << o.value(QStringLiteral("out")) << '\n';
    out().flush();
    return 0;
}

int runHome(const Options& o)
{
    o.requirePositional(0, 0);
    const ProgramHome home(ProgramHome::locate(o.value(QStringLiteral("home"))));
    if (!home.ensureExists()) {
        err() << "Folderul programului nu poate fi creat: " << home.path() << '\n';
        return 1;
    }
    out() << "Program home: " << home.path() << '\n';
    const QDir dir(home.path());
    for (const QFileInfo& info : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name)) {
        out() << (info.isDir() ? "  [dir] " : "  ") << info.fileName() << '\n';
        if (info.isDir()) {
            for (const QString& name : QDir(info.filePath()).entryList(QDir::Files, QDir::Name))
                out() << "        " << name << '\n';
        }
    }
    out().flush();
    return 0;
}

// Mends an interrupted operation of the data directory without questions.
int runRecover(const Options& o)
{
    o.require({"data"});
    o.requirePositional(0, 0);
    const QString dir = QDir(o.value(QStringLiteral("data"))).absolutePath();
    CliInteraction ui;
    OperationRecovery recovery(dir, ui);
    const std::optional<OperationMarker> marker = recovery.interrupted();
    QString operation = QStringLiteral("none");
    QString action = QStringLiteral("none");
    if (marker) {
        operation = marker->operation.isEmpty() ? QStringLiteral("unknown") : marker->operation;
        action = recovery.mend(*marker);
    }
    out() << "OPERATION\t" << operation << '\n' << "ACTION\t" << action << '\n';
    out().flush();
    return 0;
}

// Whether a statement of `sql` changes anything (everything but a SELECT).
bool statementWrites(const Options& o)
{
    if (o.positional().isEmpty())
        return false;
    static const QRegularExpression select(QStringLiteral("^\\s*(SELECT|WITH)\\b"), QRegularExpression::CaseInsensitiveOption);
    return !select.match(o.positional().first()).hasMatch();
}

// How a command meets the data directory: which option names it, whether it writes (then it
// holds the lock for its run), whether it takes --fail-after.
struct DataUse {
    const char* option = nullptr;           // "data", "into"; nullptr: the command has none
    bool (*writes)(const Options&) = nullptr;
    bool failAfter = false;
    bool recover = false;                   // the mend itself: an interrupted operation is its work
};

bool always(const Options&) { return true; }
bool never(const Options&) { return false; }
// A missing directory is refused by the command itself, not created for the lock.
bool existingDirectory(const Options& o) { return QFileInfo(o.value(QStringLiteral("data"))).isDir(); }

struct Command {
    const char* name;
    std::vector<OptionSpec> options;
    int (*run)(const Options&);
    DataUse data {};
};

const std::vector<Command>& commands()
{
    static const std::vector<Command> all {
        {"sql",
         {{QStringLiteral("home")}, {QStringLiteral("data")}, {QStringLiteral("param"), true, true},
          {QStringLiteral("param-text"), true, true}},
         runSql, {"data", statementWrites}},
        {"home", {{QStringLiteral("home")}}, runHome},
        {"create", {{QStringLiteral("data")}}, runCreate, {"data", always}},
        {"demo",
         {{QStringLiteral("data")}, {QStringLiteral("households")}, {QStringLiteral("years")},
          {QStringLiteral("first-year")}, {QStringLiteral("seed")}},
         runDemo, {"data", always}},
        {"backup", {{QStringLiteral("data")}}, runBackup, {"data", never}},
        {"restore", {{QStringLiteral("into")}, {QStringLiteral("fail-after")}}, runRestore, {"into", always, true}},
        {"recover", {{QStringLiteral("data")}}, runRecover, {"data", always, false, true}},
        {"takeover", {{QStringLiteral("data")}, {QStringLiteral("year")}, {QStringLiteral("home")}, {QStringLiteral("fail-after")}},
         runTakeover, {"data", always, true}},
        {"merge", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("archive")}, {QStringLiteral("replace")}, {QStringLiteral("fail-after")}}, runMerge, {"data", always, true}},
        {"check", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("delete"), false}, {QStringLiteral("export")}, {QStringLiteral("fail-after")}}, runCheck, {"data", checkWrites, true}},
        {"recalc",
         {{QStringLiteral("data")}, {QStringLiteral("year")}, {QStringLiteral("household")}, {QStringLiteral("village")},
          {QStringLiteral("type")}, {QStringLiteral("volume")}, {QStringLiteral("position")}, {QStringLiteral("fail-after")}},
         runRecalc, {"data", always, true}},
        {"household-delete",
         {{QStringLiteral("data")}, {QStringLiteral("year")}, {QStringLiteral("codid")}, {QStringLiteral("renumber"), false},
          {QStringLiteral("home")}, {QStringLiteral("fail-after")}},
         runHouseholdDelete, {"data", always, true}},
        {"upgrade", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("fail-after")}}, runUpgrade,
         {"data", existingDirectory, true, true}},
        {"chapters", {{QStringLiteral("data")}, {QStringLiteral("year")}, {QStringLiteral("household")}, {QStringLiteral("fail-after")}},
         runChapters, {"data", always, true}},
        {"workbook",
         {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("template")},
          {QStringLiteral("out")}},
         runWorkbook, {"data", always}},
        {"xls-cells", {}, runXlsCells},
        {"summary", {{QStringLiteral("data")}, {QStringLiteral("household")}}, runSummary, {"data", never}},
        {"certificate",
         {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("household")}, {QStringLiteral("chapters")},
          {QStringLiteral("destination")}, {QStringLiteral("model")}, {QStringLiteral("person")}, {QStringLiteral("second")},
          {QStringLiteral("relation")}, {QStringLiteral("clerk")}, {QStringLiteral("duty")}, {QStringLiteral("receipt")},
          {QStringLiteral("number")}, {QStringLiteral("mentions")}, {QStringLiteral("heating"), false}, {QStringLiteral("out")}},
         runCertificate, {"data", always}},
        {"ragr2",
         {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("siruta")},
          {QStringLiteral("number")}, {QStringLiteral("date")}, {QStringLiteral("out")}},
         runRAgr2, {"data", always}},
        {"find",
         {{QStringLiteral("data")}, {QStringLiteral("year")}, {QStringLiteral("name")}, {QStringLiteral("heads-only"), false},
          {QStringLiteral("cnp")}, {QStringLiteral("company")}, {QStringLiteral("street")}, {QStringLiteral("number")},
          {QStringLiteral("domicile")}},
         runFind, {"data", never}},
        {"export",
         {{QStringLiteral("home")}, {QStringLiteral("data")}, {QStringLiteral("format")}, {QStringLiteral("title")},
          {QStringLiteral("footer")}, {QStringLiteral("out")}, {QStringLiteral("param"), true, true},
          {QStringLiteral("param-text"), true, true}},
         runExport, {"data", never}},
        {"census", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("form")}, {QStringLiteral("village")}, {QStringLiteral("include-nu"), false}, {QStringLiteral("ignore-other"), false}, {QStringLiteral("date")}, {QStringLiteral("template")}, {QStringLiteral("rows"), false}, {QStringLiteral("out")}}, runCensus, {"data", [](const Options& o) { return o.has(QStringLiteral("out")); }}},
        {"plot-search", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("act")}, {QStringLiteral("nract")}, {QStringLiteral("categ")}, {QStringLiteral("intra")}, {QStringLiteral("tarla")}, {QStringLiteral("nrtarla")}, {QStringLiteral("parcel")}, {QStringLiteral("head")}, {QStringLiteral("nrcad")}, {QStringLiteral("worker")}, {QStringLiteral("type")}, {QStringLiteral("village")}, {QStringLiteral("sort")}, {QStringLiteral("export")}, {QStringLiteral("date")}}, runPlotSearch, {"data", never}},
        {"totals",
         {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("village")},
          {QStringLiteral("type")}, {QStringLiteral("volume")}, {QStringLiteral("sex")}, {QStringLiteral("born")},
          {QStringLiteral("table")}, {QStringLiteral("chart"), false}, {QStringLiteral("pdf")}},
         runTotals, {"data", never}},
        {"list-rows", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("chapter")}}, runListRows, {"data", never}},
        {"advanced-list", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("village")}, {QStringLiteral("type")}, {QStringLiteral("volume")}, {QStringLiteral("column"), true, true}, {QStringLiteral("condition"), true, true}, {QStringLiteral("export")}}, runAdvancedList, {"data", never}},
        {"selection-list", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("chapter")}, {QStringLiteral("row")}, {QStringLiteral("min")}, {QStringLiteral("max")}, {QStringLiteral("village")}, {QStringLiteral("type")}, {QStringLiteral("volume")}, {QStringLiteral("export")}, {QStringLiteral("pdf")}}, runSelectionList, {"data", never}},
        {"statfile", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("date")}, {QStringLiteral("out")}, {QStringLiteral("replace")}}, runStatisticsFile, {"data", never}},
        {"accounting", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("pdf")}}, runAccounting, {"data", never}},
        {"heads", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("by")}, {QStringLiteral("pdf")}}, runHeads, {"data", never}},
        {"list-street", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("street")}, {QStringLiteral("out")}}, runListStreet, {"data", never}},
        {"list-sizes", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("out")}}, runListSizes, {"data", never}},
        {"list-dwellings", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("out")}}, runListDwellings, {"data", never}},
        {"farms", {{QStringLiteral("data")}, {QStringLiteral("home")}, {QStringLiteral("year")}, {QStringLiteral("date")}, {QStringLiteral("out")}}, runFarms, {"data", never}},
    };
    return all;
}

// Runs a command under the rules of its data directory: a writing command holds the lock (waiting
// a while for another holder), no command works over an interrupted operation except the mend.
int runWithDataDirectory(const Command& command, const Options& o)
{
    if (command.data.failAfter && o.has(QStringLiteral("fail-after"))) {
        const qint64 n = wholeOption(o, "fail-after", 0);
        if (n <= 0)
            throw UsageError(QStringLiteral("--fail-after cere un numar intreg pozitiv."));
        ChangeCounter::stopAfter(n);
    }
    if (!command.data.option)
        return command.run(o);
    const bool named = o.has(QLatin1String(command.data.option));
    const QString dir = named ? QDir(o.value(QLatin1String(command.data.option))).absolutePath()
                              : (QLatin1String(command.data.option) == QLatin1String("data") ? dataDirectory(o) : QString());
    if (dir.isEmpty())
        return command.run(o);
    const bool writes = command.data.writes && command.data.writes(o);
    const bool existed = QFileInfo(dir).isDir();
    std::unique_ptr<DataDirectoryLock> lock;
    if (writes) {
        if (QFileInfo(dir).exists() && !existed)
            return command.run(o); // the command refuses a path that is not a directory itself
        if (!existed && !QDir().mkpath(dir))
            return failure(QStringLiteral("Directorul \"%1\" nu poate fi creat.").arg(QDir::toNativeSeparators(dir)));
        lock = std::make_unique<DataDirectoryLock>(dir);
        if (!lock->tryLock(DataDirectoryLock::commandWaitMs())) {
            const QString busy = lock->refusalText();
            lock.reset();
            return failure(busy);
        }
    }
    struct Tidy {
        std::unique_ptr<DataDirectoryLock>& lock;
        QString dir;
        bool existed;
        ~Tidy()
        {
            lock.reset();
            // A directory made only to hold the lock goes again when nothing else came into it.
            if (!existed && !dir.isEmpty())
                QDir().rmdir(dir);
        }
    } tidy {lock, dir, existed};
    if (!command.data.recover && existed) {
        CliInteraction ui;
        if (const std::optional<OperationMarker> marker = OperationRecovery(dir, ui).interrupted()) {
            return failure(marker->interruptedText() + QLatin1Char('\n')
                           + QStringLiteral("Reparati mai intai: velmor-cli recover --data %1").arg(QDir::toNativeSeparators(dir)));
        }
    }
    return command.run(o);
}

}

int run(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return usage();
    if (arguments == QStringList {QStringLiteral("--version")}) {
        out() << "velmor-cli " << VELMOR_VERSION << '\n';
        out().flush();
        return 0;
    }
    if (arguments == QStringList {QStringLiteral("--help")}) {
        out() << UsageText;
        out().flush();
        return 0;
    }
    const auto& all = commands();
    const auto command = std::find_if(all.begin(), all.end(),
                                      [&](const Command& c) { return arguments.first() == QLatin1String(c.name); });
    if (command == all.end()) {
        err() << "Comanda necunoscuta: " << arguments.first() << '\n';
        return usage();
    }
    try {
        const Options options = Options::parse(arguments.mid(1), command->options);
        return runWithDataDirectory(*command, options);
    } catch (const UsageError& e) {
        err() << messageLines(e.message()) << '\n';
        return usage();
    } catch (const data::ProgramTermination& e) {
        return failure(e.reason());
    } catch (const Error& e) {
        return failure(e.message());
    }
}

}
