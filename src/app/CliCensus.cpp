#include "app/CliCensus.h"

#include "app/CliInteraction.h"
#include "app/CliOptions.h"
#include "app/ProgramHome.h"
#include "app/CliOutput.h"
#include "core/StagedFile.h"
#include "data/engine/Engine.h"
#include "reports/Census.h"
#include "search/NameSearch.h"
#include "search/PlotSearch.h"
#include "services/Settings.h"
#include "workbook/NewWorkbook.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace velmor::cli {

namespace {

QDate dateOption(const Options& o)
{
    if (!o.has(QStringLiteral("date")))
        return QDate::currentDate();
    const QDate date = QDate::fromString(o.value(QStringLiteral("date")).trimmed(), QStringLiteral("dd.MM.yyyy"));
    if (!date.isValid())
        throw Error(QStringLiteral("Data \"%1\" nu este o data zz.ll.aaaa.").arg(o.value(QStringLiteral("date"))));
    return date;
}

QString setting(const QString& data, const char* key)
{
    return Settings(data).Citeste_Ini(QStringLiteral("CONSTANTE"), QLatin1String(key));
}

}

int runCensus(const Options& o)
{
    o.require({"data", "year", "form"});
    o.requirePositional(0, 0);
    const int form = int(reports::censusFormNames().indexOf(o.value(QStringLiteral("form")).trimmed().toUpper())) + 1;
    if (form < 1)
        throw Error(QStringLiteral("Formular necunoscut: \"%1\" (L1, L2, L3, L4, C1 sau C2).").arg(o.value(QStringLiteral("form"))));
    if (o.value(QStringLiteral("village")).trimmed().isEmpty())
        throw Error(QStringLiteral("Nu ati ales localitatea!"));
    const bool printRows = o.has(QStringLiteral("rows"));
    if (!printRows && !o.has(QStringLiteral("out")))
        throw Error(QStringLiteral("Alegeti --rows sau --out FISIER.xls."));
    if (o.has(QStringLiteral("template")) && !QFileInfo(o.value(QStringLiteral("template"))).isFile())
        throw Error(QStringLiteral("Modelul %1 nu exista.").arg(QDir::toNativeSeparators(o.value(QStringLiteral("template")))));

    const QString data = existingDataDirectory(o);
    const QString program = o.has(QStringLiteral("home")) ? QDir(o.value(QStringLiteral("home"))).absolutePath()
                                                          : QFileInfo(data).absolutePath();
    engine::Engine engine(data);
    engine.addTableRoot(program);
    CliInteraction ui;
    reports::Census census({&engine, data, program, &ui}, setting(data, "JUDET"), setting(data, "Comuna"));
    reports::CensusRequest request;
    request.form = reports::CensusForm(form);
    request.village = o.value(QStringLiteral("village"));
    request.includeNu = o.has(QStringLiteral("include-nu"));
    request.ignoreOther = o.has(QStringLiteral("ignore-other"));
    request.date = dateOption(o);
    const QString year = o.value(QStringLiteral("year"));

    QTextStream out(stdout);
    if (printRows) {
        int leftOut = 0;
        out << formatResult(census.rows(request, year, &leftOut));
        out.flush();
        if (leftOut > 0)
            QTextStream(stderr) << leftOut << " gospodarii cu tipul registrului in afara valorilor 1-4 nu au fost numarate.\n";
    }
    if (o.has(QStringLiteral("out"))) {
        if (o.has(QStringLiteral("template")))
            census.setTemplateFile(QFileInfo(o.value(QStringLiteral("template"))).absoluteFilePath());
        census.setOutputFile(QFileInfo(o.value(QStringLiteral("out"))).absoluteFilePath());
        const reports::CensusResult result = census.run(request, year);
        if (result.locked)
            return 1;
        if (!result.output)
            throw Error(QStringLiteral("Registrul nu a fost scris (modelul nu a putut fi deschis)."));
        out << result.rows << '\n';
        out.flush();
    }
    return 0;
}

int runPlotSearch(const Options& o)
{
    o.require({"data", "year"});
    o.requirePositional(0, 0);
    const QString data = existingDataDirectory(o);
    engine::Engine engine(data);
    engine.setReadOnly(true);
    if (o.has(QStringLiteral("home")))
        engine.addTableRoot(ProgramHome::locate(o.value(QStringLiteral("home"))));

    // The edits trim what is typed; the parcel, name and cadastral edits write in capitals.
    search::PlotFilters f;
    auto option = [&](const char* name) { return o.value(QLatin1String(name)); };
    f.deed = option("act");
    f.deedNumber = option("nract").trimmed();
    f.category = option("categ");
    f.areaKind = option("intra");
    f.block = option("tarla");
    f.blockNumber = option("nrtarla").trimmed();
    f.parcel = search::typedSearchText(option("parcel").trimmed());
    f.head = search::typedSearchText(option("head").trimmed());
    f.cadastral = search::typedSearchText(option("nrcad").trimmed());
    f.worker = option("worker");
    f.type = option("type").trimmed();
    f.village = option("village");
    if (const std::optional<QString> refused = search::PlotSearch::refusal(f))
        throw Error(*refused);
    const QDate date = dateOption(o);
    if (o.has(QStringLiteral("sort")) && !search::PlotSearch::gridFields().contains(option("sort").trimmed().toUpper()))
        throw Error(QStringLiteral("Coloana \"%1\" nu este in tabel (%2).")
                        .arg(option("sort"), search::PlotSearch::gridFields().join(QStringLiteral(", "))));

    search::PlotSearch plots(engine, data, o.value(QStringLiteral("year")));
    plots.run(f);
    if (o.has(QStringLiteral("sort")))
        plots.sortBy(option("sort").trimmed());

    QStringList printed = search::PlotSearch::gridFields();
    printed << QStringLiteral("CODT");
    QTextStream out(stdout);
    out << printed.join(QLatin1Char('\t')) << '\n';
    for (int r = 0; r < plots.rowCount(); ++r) {
        QStringList cells;
        for (const QString& field : printed)
            cells << formatCell(plots.value(r, field));
        out << cells.join(QLatin1Char('\t')) << '\n';
    }
    out << "#TOTAL\t" << plots.totalLabel() << '\n';
    out.flush();

    if (o.has(QStringLiteral("export"))) {
        plots.exportOrder();
        const QString file = QFileInfo(option("export")).absoluteFilePath();
        StagedFile::replace(file, workbook::writeNewWorkbook(plots.plotListDesign(setting(data, "NumePrimarie"), date)));
    }
    return 0;
}

}
