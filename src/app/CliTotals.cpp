#include "app/CliTotals.h"

#include "app/CliOptions.h"
#include "app/ProgramHome.h"
#include "data/engine/Engine.h"
#include "output/ReportOutput.h"
#include "reports/Totals.h"
#include "reports/TotalsForms.h"
#include "services/Settings.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

namespace velmor::cli {

using reports::Totals;
using reports::TotalsFilter;
using reports::TotalsTable;

namespace {

TotalsTable tableOption(const QString& name)
{
    static const QList<QPair<QString, TotalsTable>> names{
        {QStringLiteral("pop"), TotalsTable::Population}, {QStringLiteral("2"), TotalsTable::Chapter2},
        {QStringLiteral("3"), TotalsTable::Chapter3},     {QStringLiteral("4"), TotalsTable::Chapter4},
        {QStringLiteral("5"), TotalsTable::Chapter5},     {QStringLiteral("6"), TotalsTable::Chapter6},
        {QStringLiteral("7"), TotalsTable::Chapter7},     {QStringLiteral("8"), TotalsTable::Chapter8},
        {QStringLiteral("8net"), TotalsTable::Chapter8Net}, {QStringLiteral("9"), TotalsTable::Chapter9},
        {QStringLiteral("10"), TotalsTable::Chapter10}};
    for (const auto& [text, table] : names) {
        if (text == name)
            return table;
    }
    throw UsageError(QStringLiteral("Tabel necunoscut: \"%1\" (pop, 2, 3, 4, 5, 6, 7, 8, 8net, 9, 10).").arg(name));
}

TotalsFilter filterOptions(const Options& o)
{
    TotalsFilter filter;
    filter.village = o.value(QStringLiteral("village"));
    if (o.has(QStringLiteral("type"))) {
        filter.type = int(wholeOption(o, "type"));
        if (filter.type < 1 || filter.type > 4)
            throw UsageError(QStringLiteral("Optiunea --type cere 1, 2, 3 sau 4, nu \"%1\".").arg(o.value(QStringLiteral("type"))));
    }
    if (o.has(QStringLiteral("volume")))
        filter.volume = wholeOption(o, "volume");
    if (o.has(QStringLiteral("sex"))) {
        filter.sex = int(wholeOption(o, "sex"));
        if (filter.sex != 1 && filter.sex != 2)
            throw UsageError(QStringLiteral("Optiunea --sex cere 1 (masculin) sau 2 (feminin), nu \"%1\".").arg(o.value(QStringLiteral("sex"))));
    }
    if (o.has(QStringLiteral("born"))) {
        const QString text = o.value(QStringLiteral("born"));
        const QStringList ends = text.split(QStringLiteral(".."));
        const QString format = QStringLiteral("dd.MM.yyyy");
        const QDate from = ends.size() == 2 ? QDate::fromString(ends[0].trimmed(), format) : QDate();
        const QDate to = ends.size() == 2 ? QDate::fromString(ends[1].trimmed(), format) : QDate();
        if (!from.isValid() || !to.isValid())
            throw UsageError(QStringLiteral("Optiunea --born cere zz.ll.aaaa..zz.ll.aaaa, nu \"%1\".").arg(text));
        filter.anyBirthDate = false;
        filter.bornFrom = from;
        filter.bornTo = to;
    }
    return filter;
}

}

int runTotals(const Options& o)
{
    o.require({"data", "year", "table"});
    o.requirePositional(0, 0);
    const std::int64_t year = wholeOption(o, "year");
    const TotalsTable table = tableOption(o.value(QStringLiteral("table")));
    const bool chart = o.has(QStringLiteral("chart"));
    if (chart && !Totals::hasChart(table))
        throw UsageError(QStringLiteral("Tabelul %1 nu are grafic.").arg(o.value(QStringLiteral("table"))));
    const TotalsFilter filter = filterOptions(o);

    const QString dir = existingDataDirectory(o);
    // The temporary tables live in a private folder, removed at the end.
    QString scratchParent = QDir::tempPath();
    if (o.has(QStringLiteral("home"))) {
        const ProgramHome home(ProgramHome::locate(o.value(QStringLiteral("home"))));
        if (!home.ensureExists())
            throw Error(QStringLiteral("Folderul programului nu poate fi creat: %1").arg(home.path()));
        scratchParent = home.path();
    }
    QTemporaryDir scratch(QDir(scratchParent).filePath(QStringLiteral("velmor-totals-XXXXXX")));
    if (!scratch.isValid())
        throw Error(QStringLiteral("Folderul temporar nu poate fi creat: %1").arg(scratch.errorString()));

    engine::Engine engine(dir);
    Totals totals(engine, dir, scratch.path(), year);
    totals.build(filter);
    const engine::ResultSet rows = chart ? totals.chart(table) : totals.page(table);
    if (o.has(QStringLiteral("pdf"))) {
        const engine::ResultSet pageRows = chart ? totals.page(table) : rows;
        if (table == TotalsTable::Population && pageRows.rows.empty())
            throw Error(Totals::emptyListMessage());
        const Settings settings(dir);
        reports::TotalsFormTexts texts;
        texts.council = settings.Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("NumePrimarie"));
        texts.commune = settings.Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("Comuna"));
        texts.filter = Totals::filterDescription(filter);
        texts.populationLine = Totals::populationLine(filter);
        texts.year = year;
        const output::ReportDocument document = reports::totalsDocument(table, pageRows, texts);
        output::writeReportPdf(document, QDir(o.value(QStringLiteral("pdf"))).absolutePath(),
                               reports::totalsFormTitle(table).join(QLatin1Char(' ')));
    }

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    out << reports::totalsTsv(rows);
    out.flush();
    totals.removeTables();
    return 0;
}

}
