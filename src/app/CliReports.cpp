#include "app/CliReports.h"

#include "admin/Administration.h"
#include "app/CliInteraction.h"
#include "app/CliOptions.h"
#include "app/CliRun.h"
#include "app/ProgramHome.h"
#include "core/Error.h"
#include "data/engine/Engine.h"
#include "output/ReportOutput.h"
#include "reports/Accounting.h"
#include "reports/FarmSituation.h"
#include "reports/HouseholdHeads.h"
#include "reports/ResidentLists.h"
#include "output/DataExport.h"
#include "output/ExportError.h"
#include "reports/StatisticsFile.h"
#include "reports/Totals.h"
#include "services/AppContext.h"
#include "services/Settings.h"

#include <QDate>
#include <QLocale>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

namespace velmor::cli {

namespace {

QDate dateOption(const Options& o)
{
    const QDate date = QDate::fromString(o.value(QStringLiteral("date")), QStringLiteral("dd.MM.yyyy"));
    if (!date.isValid())
        throw UsageError(QStringLiteral("--date cere o data zz.ll.aaaa."));
    return date;
}

QString yearOption(const Options& o)
{
    const QString year = o.value(QStringLiteral("year")).trimmed();
    bool ok = false;
    year.toInt(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("--year cere un an, nu \"%1\".").arg(year));
    return year;
}

std::int64_t yearNumber(const Options& o)
{
    return yearOption(o).toLongLong();
}

// A private folder in the program home for work tables, removed at the end.
std::unique_ptr<QTemporaryDir> scratchFolder(const QString& home)
{
    auto scratch = std::make_unique<QTemporaryDir>(QDir(home).filePath(QStringLiteral("velmor-reports-XXXXXX")));
    if (!scratch->isValid())
        throw Error(QStringLiteral("Folderul temporar nu poate fi creat: %1").arg(scratch->errorString()));
    return scratch;
}

QTextStream& out()
{
    static QTextStream stream(stdout);
    stream.setEncoding(QStringConverter::Utf8);
    return stream;
}

// The folder is the one given; the question about an existing file is answered by --replace.
class DeliveryInteraction : public CliInteraction {
public:
    DeliveryInteraction(QString folder, bool replace)
        : m_folder(std::move(folder))
        , m_replace(replace)
    {
    }
    QString chooseFolder(const QString&, const QString&) override { return m_folder; }
    int Mesaj(const QString& title, const QString& text, int kind, int buttons) override
    {
        if (buttons == ButtonsDaNu && m_replace)
            return ResultDa;
        if (kind == KindInformation)
            return ResultOk; // the success message: the path printed says it
        return CliInteraction::Mesaj(title, text, kind, buttons);
    }

private:
    QString m_folder;
    bool m_replace;
};

}

int runStatisticsFile(const Options& o)
{
    o.require({"data", "year", "date", "out"});
    o.requirePositional(0, 0);
    const QDate day = dateOption(o);
    const QString year = yearOption(o);
    const QString replace = o.value(QStringLiteral("replace"), QStringLiteral("no"));
    if (replace != QLatin1String("yes") && replace != QLatin1String("no"))
        throw UsageError(QStringLiteral("--replace cere yes sau no."));
    const QString folder = QDir(o.value(QStringLiteral("out"))).absolutePath();
    if (!QDir(folder).exists())
        throw Error(QStringLiteral("Directorul \"%1\" nu exista.").arg(QDir::toNativeSeparators(folder)));
    CliRun run(o);
    DeliveryInteraction ui(folder, replace == QLatin1String("yes"));
    reports::StatisticsFile file(*run.engine, run.data, run.home);
    if (file.run(run.council(), year, day, ui) != reports::StatisticsFile::Outcome::Delivered)
        return 1;
    out() << QDir::toNativeSeparators(file.deliveredPath()) << '\n';
    out().flush();
    return 0;
}

int runAccounting(const Options& o)
{
    o.require({"data", "year"});
    o.requirePositional(0, 0);
    const std::int64_t year = yearNumber(o);
    CliRun run(o);
    const auto scratch = scratchFolder(run.home);
    reports::Accounting accounting(*run.engine, run.data, scratch->path(), year);
    accounting.build();
    const engine::ResultSet rows = accounting.rows();
    if (o.has(QStringLiteral("pdf"))) {
        output::writeReportPdf(reports::accountingDocument(rows, run.council().NumePrimarie, QDate::currentDate()),
                               QDir(o.value(QStringLiteral("pdf"))).absolutePath(),
                               QStringLiteral("RAPORT CU TERENURILE IN PROPRIETATE"));
    }
    out() << reports::totalsTsv(rows);
    out().flush();
    accounting.removeTables();
    return 0;
}

int runHeads(const Options& o)
{
    o.require({"data", "year", "by"});
    o.requirePositional(0, 0);
    const QString by = o.value(QStringLiteral("by"));
    if (by != QLatin1String("address") && by != QLatin1String("positions"))
        throw UsageError(QStringLiteral("--by cere address sau positions."));
    const auto list = by == QLatin1String("address") ? reports::HouseholdHeads::List::Address
                                                     : reports::HouseholdHeads::List::Positions;
    const std::int64_t year = yearNumber(o);
    CliRun run(o);
    const engine::ResultSet rows = reports::HouseholdHeads(*run.engine, run.data, year).rows(list);
    if (o.has(QStringLiteral("pdf"))) {
        output::writeReportPdf(reports::HouseholdHeads::document(list, rows, run.council().NumePrimarie, QDate::currentDate()),
                               QDir(o.value(QStringLiteral("pdf"))).absolutePath(), reports::HouseholdHeads::title(list));
    }
    out() << reports::totalsTsv(rows);
    out().flush();
    return 0;
}

namespace {

// Prints the list; with --out, writes it in the format of the file's extension.
int printList(const Options& o, const engine::ResultSet& rows, const output::ExportTable& table)
{
    if (o.has(QStringLiteral("out"))) {
        const QString path = QDir(o.value(QStringLiteral("out"))).absolutePath();
        const std::optional<output::ExportFormat> format = output::formatFromPath(path);
        if (!format)
            throw UsageError(QStringLiteral("Extensia fisierului %1 nu numeste un format de export.").arg(path));
        output::DataExport::write(table, *format, path);
    }
    out() << reports::totalsTsv(rows);
    out().flush();
    return 0;
}

}

int runListStreet(const Options& o)
{
    o.require({"data", "year", "street"});
    o.requirePositional(0, 0);
    const std::int64_t year = yearNumber(o);
    CliRun run(o);
    const QString street = o.value(QStringLiteral("street")).trimmed().toUpper();
    const engine::ResultSet rows = reports::ResidentLists(*run.engine, run.data, year).residents(street);
    return printList(o, rows, reports::ResidentLists::residentsExport(rows, street));
}

int runListSizes(const Options& o)
{
    o.require({"data", "year"});
    o.requirePositional(0, 0);
    const std::int64_t year = yearNumber(o);
    CliRun run(o);
    const engine::ResultSet rows = reports::ResidentLists(*run.engine, run.data, year).householdSizes();
    return printList(o, rows, reports::ResidentLists::listExport(rows, QStringLiteral("Liste Gospodarii dupa nr.membri")));
}

int runListDwellings(const Options& o)
{
    o.require({"data", "year"});
    o.requirePositional(0, 0);
    const std::int64_t year = yearNumber(o);
    CliRun run(o);
    const engine::ResultSet rows = reports::ResidentLists(*run.engine, run.data, year).dwellings();
    return printList(o, rows,
                     reports::ResidentLists::listExport(rows, QStringLiteral("Lista Constructiilor cu destinatie de locuinta")));
}

int runFarms(const Options& o)
{
    o.require({"data", "year", "date"});
    o.requirePositional(0, 0);
    const QDate day = dateOption(o);
    const std::int64_t year = yearNumber(o);
    CliRun run(o);
    const QString county = run.council().JUDET;
    const QString separator = QLocale().decimalPoint();
    const reports::FarmSituation farms(*run.engine, run.data, run.home, year);
    if (o.has(QStringLiteral("out")))
        farms.write(county, day, separator, nullptr, QDir(o.value(QStringLiteral("out"))).absolutePath());
    out() << "PLACEHOLDER\tTEXT\n";
    for (const auto& [placeholder, text] : farms.values(county, day, separator))
        out() << placeholder << '\t' << text << '\n';
    out().flush();
    return 0;
}

}
