#include "app/CliMerge.h"

#include "admin/DataChecks.h"
#include "admin/RegisterMerge.h"
#include "app/CliInteraction.h"
#include "app/CliOptions.h"
#include "app/CliOutput.h"
#include "app/ProgramHome.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "output/DataExport.h"
#include "output/TableSources.h"
#include "services/LineListFile.h"
#include "services/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace velmor::cli {

namespace {

// Answers the merge's two questions from the command line; everything else as without windows.
class MergeAnswers : public CliInteraction {
public:
    explicit MergeAnswers(bool replace)
        : m_replace(replace)
    {
    }
    int Mesaj(const QString& title, const QString& text, int kind, int buttons) override
    {
        if (title == QLatin1String("Lipire") && buttons == ButtonsDaNu) {
            if (text == QLatin1String("Adaugam datele ?"))
                return ResultDa;
            if (text.startsWith(QLatin1String("Sursa contine ")))
                return m_replace ? ResultDa : ResultNu;
        }
        return CliInteraction::Mesaj(title, text, kind, buttons);
    }

private:
    bool m_replace;
};

QString programHome(const Options& o)
{
    const ProgramHome home(ProgramHome::locate(o.value(QStringLiteral("home"))));
    if (!home.ensureExists())
        throw Error(QStringLiteral("Folderul programului nu poate fi creat: %1").arg(home.path()));
    return home.path();
}

}

int runMerge(const Options& o)
{
    o.require({"data", "year", "archive", "replace"});
    o.requirePositional(0, 0);
    const QString answer = o.value(QStringLiteral("replace"));
    if (answer != QLatin1String("yes") && answer != QLatin1String("no"))
        throw UsageError(QStringLiteral("Optiunea --replace cere yes sau no, nu \"%1\".").arg(answer));
    const QString dir = existingDataDirectory(o);
    const QString home = programHome(o);
    const QString archive = QDir().absoluteFilePath(o.value(QStringLiteral("archive")));
    if (!QFileInfo(archive).isFile())
        throw Error(QStringLiteral("Salvarea %1 nu exista.").arg(QDir::toNativeSeparators(archive)));

    MergeAnswers ui(answer == QLatin1String("yes"));
    engine::Engine engine(dir);
    engine.addTableRoot(home);
    Settings settings(dir);
    RegisterMerge merge(engine, dir, home, settings, ui);
    QStringList log;
    merge.log = [&log](const QString& line) { log << line; };
    const QStringList villages = readLineList(dbf::resolveFileName(dir + QStringLiteral("/Sate.lst")), QStringLiteral("lista localitatilor"));
    const MergeReport report = merge.run(archive, o.value(QStringLiteral("year")), villages);

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    const auto cell = [](const QString& text) { return formatCell(dbf::Value(text)); };
    out << "TABLE\tREMOVED\tAPPENDED\n";
    for (const MergeReport::Table& table : report.tables)
        out << table.name << '\t' << table.removed << '\t' << table.appended << '\n';
    out << "#COMMON\t" << report.common << '\n';
    for (const MergeReport::Counter& counter : report.counters)
        out << "#COUNTER\t" << counter.kind << '\t' << counter.before << '\t' << counter.after << '\n';
    for (const QString& line : log)
        out << "#LOG\t" << cell(line) << '\n';
    out.flush();
    return 0;
}

bool checkWrites(const Options& o)
{
    return o.has(QStringLiteral("delete"));
}

int runCheck(const Options& o)
{
    o.require({"data"});
    o.requirePositional(1, 1);
    const QString which = o.positional().first();
    static const QStringList known {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                                    QStringLiteral("missing")};
    if (!known.contains(which))
        throw UsageError(QStringLiteral("Verificare necunoscuta: \"%1\" (1, 2, 3, 4, missing).").arg(which));
    if (which != QLatin1String("1"))
        o.require({"year"});
    if (o.has(QStringLiteral("delete")) && which != QLatin1String("1"))
        throw UsageError(QStringLiteral("--delete se foloseste numai cu verificarea 1."));
    if (o.has(QStringLiteral("export")) && which == QLatin1String("missing"))
        throw UsageError(QStringLiteral("--export nu se foloseste cu missing."));
    const QString dir = existingDataDirectory(o);
    const QString home = programHome(o);
    const QString year = o.value(QStringLiteral("year"));

    CliInteraction ui;
    engine::Engine engine(dir);
    engine.addTableRoot(home);
    DataChecks checks(engine, dir, home, ui);
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    if (which == QLatin1String("missing")) {
        for (const QString& line : checks.missingPositions(year))
            out << line << '\n';
        out.flush();
        return 0;
    }
    engine::Query query(engine);
    const auto runOnce = [&] {
        QString result;
        switch (which.toInt()) {
        case 1: result = checks.householdCheck(query); break;
        case 2: result = checks.memberCheck(query, year); break;
        case 3: result = checks.headCheck(query, year); break;
        default: result = checks.areaCheck(query, year); break;
        }
        return result;
    };
    const auto print = [&](const QString& result) {
        out << formatResult(query.result()) << "#RESULT\t" << result << '\n';
        out.flush();
    };
    QString result = runOnce();
    print(result);
    if (o.has(QStringLiteral("delete")) && !query.result().rows.empty()) {
        result = checks.deleteListed(query);
        print(result);
    }
    if (o.has(QStringLiteral("export"))) {
        const QString path = QDir().absoluteFilePath(o.value(QStringLiteral("export")));
        output::ExportTable table = output::tableFromResult(query.result());
        table.title = QStringLiteral("Verificare Baza de Date");
        table.footer = result;
        output::ExportOptions options;
        output::DataExport::write(table, output::chosenFormat(options, path), path, &ui);
    }
    checks.removeScratch();
    return 0;
}

}
