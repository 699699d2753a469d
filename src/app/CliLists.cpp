#include "app/CliLists.h"

#include "app/CliOptions.h"
#include "app/ProgramHome.h"
#include "data/engine/Engine.h"
#include "output/DataExport.h"
#include "output/ReportOutput.h"
#include "output/TableSources.h"
#include "reports/Totals.h"
#include "search/HouseholdLists.h"
#include "search/SelectionForms.h"
#include "services/Settings.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextStream>

namespace velmor::cli {

using namespace velmor::search;

namespace {

int chapterOf(const QString& text)
{
    bool ok = false;
    const int chapter = text.trimmed().toInt(&ok);
    if (!ok || !isListChapter(chapter))
        throw UsageError(QStringLiteral("Capitolul \"%1\" nu are liste (1, 2, 3, 4, 5, 7, 8, 9, 10).").arg(text));
    return chapter;
}

double codeOf(const QString& text)
{
    bool ok = false;
    const double code = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        throw UsageError(QStringLiteral("Codul de rand \"%1\" nu este un numar.").arg(text));
    return code;
}

ListFilter filterOptions(const Options& o)
{
    ListFilter filter;
    filter.village = o.value(QStringLiteral("village"));
    if (o.has(QStringLiteral("type"))) {
        filter.type = int(wholeOption(o, "type"));
        if (filter.type < 1 || filter.type > 4)
            throw UsageError(QStringLiteral("Optiunea --type cere 1, 2, 3 sau 4, nu \"%1\".").arg(o.value(QStringLiteral("type"))));
    }
    if (o.has(QStringLiteral("volume")))
        filter.volume = wholeOption(o, "volume");
    return filter;
}

void print(const QString& text)
{
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    out << text;
    out.flush();
}

QString valueText(const dbf::Value& value)
{
    if (const auto* real = std::get_if<double>(&value))
        return dbf::decimalText(*real, 4);
    if (const auto* integer = std::get_if<std::int64_t>(&value))
        return QString::number(*integer);
    return {};
}

void exportRows(const engine::ResultSet& rows, const QString& target)
{
    const QString path = QDir(target).absolutePath();
    output::ExportOptions options;
    output::DataExport::write(output::tableFromResult(rows), output::chosenFormat(options, path), path);
}

}

int runListRows(const Options& o)
{
    o.require({"data", "year", "chapter"});
    o.requirePositional(0, 0);
    const QString dir = existingDataDirectory(o);
    const int chapter = chapterOf(o.value(QStringLiteral("chapter")));
    engine::Engine engine(dir);
    const RowLists lists(engine, dir, wholeOption(o, "year"));
    QString text = QStringLiteral("RAND\tDENUMIRE\n");
    for (const ListRow& row : lists.rows(chapter))
        text += rowCodeText(row.code) + QLatin1Char('\t') + row.name + QLatin1Char('\n');
    print(text);
    return 0;
}

int runAdvancedList(const Options& o)
{
    o.require({"data", "year"});
    o.requirePositional(0, 0);
    const QString dir = existingDataDirectory(o);
    const std::int64_t year = wholeOption(o, "year");
    const ListFilter filter = filterOptions(o);
    engine::Engine engine(dir);
    const RowLists lists(engine, dir, year);

    ListChoices choices;
    for (const QString& spec : o.values(QStringLiteral("column"))) {
        const QStringList parts = spec.split(QLatin1Char(':'));
        if (parts.size() != 2)
            throw UsageError(QStringLiteral("Optiunea --column cere CAPITOL:RAND, nu \"%1\".").arg(spec));
        const int chapter = chapterOf(parts[0]);
        choices.addColumn(chapter, lists.offered(chapter, codeOf(parts[1])));
    }
    for (const QString& spec : o.values(QStringLiteral("condition"))) {
        const QStringList parts = spec.split(QLatin1Char(':'));
        if (parts.size() != 4)
            throw UsageError(QStringLiteral("Optiunea --condition cere CAPITOL:RAND:MINIM:MAXIM, nu \"%1\".").arg(spec));
        const int chapter = chapterOf(parts[0]);
        choices.addCondition(chapter, lists.offered(chapter, codeOf(parts[1])), parts[2], parts[3]);
    }

    // The temporary tables live in a private folder, removed at the end.
    QString scratchParent = QDir::tempPath();
    if (o.has(QStringLiteral("home"))) {
        const ProgramHome home(ProgramHome::locate(o.value(QStringLiteral("home"))));
        if (!home.ensureExists())
            throw Error(QStringLiteral("Folderul programului nu poate fi creat: %1").arg(home.path()));
        scratchParent = home.path();
    }
    QTemporaryDir scratch(QDir(scratchParent).filePath(QStringLiteral("velmor-lists-XXXXXX")));
    if (!scratch.isValid())
        throw Error(QStringLiteral("Folderul temporar nu poate fi creat: %1").arg(scratch.errorString()));
    AdvancedList list(engine, dir, scratch.path(), year);
    const engine::ResultSet rows = list.build(choices, filter);
    if (o.has(QStringLiteral("export")))
        exportRows(rows, o.value(QStringLiteral("export")));
    print(reports::totalsTsv(rows));
    return 0;
}

int runSelectionList(const Options& o)
{
    o.require({"data", "year", "chapter", "row"});
    o.requirePositional(0, 0);
    const QString dir = existingDataDirectory(o);
    const std::int64_t year = wholeOption(o, "year");
    const int chapter = chapterOf(o.value(QStringLiteral("chapter")));
    const ListFilter filter = filterOptions(o);
    engine::Engine engine(dir);
    const RowLists lists(engine, dir, year);
    const ListRow row = lists.offered(chapter, codeOf(o.value(QStringLiteral("row"))));
    const SelectionList list(engine, dir, year);
    const SelectionResult result = list.build(chapter, row, o.value(QStringLiteral("min")), o.value(QStringLiteral("max")), filter);
    if (o.has(QStringLiteral("export")))
        exportRows(result.rows, o.value(QStringLiteral("export")));
    if (o.has(QStringLiteral("pdf"))) {
        const Settings settings(dir);
        const SelectionFormTexts texts = selectionFormTexts(settings);
        output::writeReportPdf(selectionDocument(result, texts), QDir(o.value(QStringLiteral("pdf"))).absolutePath(),
                               QStringLiteral("RAPORT"));
    }
    QString text = reports::totalsTsv(result.rows);
    QStringList totals;
    for (const dbf::Value& value : result.totals)
        totals << valueText(value);
    text += QStringLiteral("#TOTAL\t") + totals.join(QLatin1Char('\t')) + QLatin1Char('\n');
    text += QStringLiteral("#SUBJECT\t") + result.subject + QLatin1Char('\n');
    text += QStringLiteral("#FILTER\t") + result.filterLine + QLatin1Char('\n');
    print(text);
    return 0;
}

}
