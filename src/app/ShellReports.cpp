#include "app/ShellReports.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "mainwin/ui/TForm3.h"
#include "output/ui/ReportPreview.h"
#include "reports/FarmSituation.h"
#include "reports/HouseholdHeads.h"
#include "reports/StatisticsFile.h"
#include "reports/ui/TForm9.h"
#include "reports/ui/TListLocNr.h"
#include "services/AppContext.h"

#include <QDate>
#include <QLocale>

namespace velmor {

namespace {

void previewHeads(AppContext& ctx, reports::HouseholdHeads::List list, QWidget* parent)
{
    if (!ctx.engine || !ctx.interaction)
        return;
    try {
        const reports::HouseholdHeads heads(*ctx.engine, ctx.dataDirectory, ctx.workingYear().toLongLong());
        const output::ReportDocument document = reports::HouseholdHeads::document(
            list, heads.rows(list), ctx.profile.constants().NumePrimarie, QDate::currentDate());
        output::ReportPreview::preview(document, *ctx.interaction, reports::HouseholdHeads::title(list), parent);
    } catch (const std::exception& e) {
        showError(*ctx.interaction, e, reports::HouseholdHeads::title(list));
    }
}

}

void wireRegisterReports(TForm3& mainWindow, AppContext& ctx)
{
    mainWindow.setReport(QStringLiteral("RaportStatistica1"), [&ctx] {
        if (!ctx.engine || !ctx.interaction)
            return;
        reports::StatisticsFile(*ctx.engine, ctx.dataDirectory, ctx.programDirectory)
            .run(ctx.profile.constants(), ctx.workingYear(), QDate::currentDate(), *ctx.interaction);
    });
    mainWindow.setReport(QStringLiteral("Contabilitate1"), [&ctx, &mainWindow] { reports::TForm9(ctx, &mainWindow).Deschide(); });
    mainWindow.setReport(QStringLiteral("RomTelecom1"), [&ctx, &mainWindow] {
        previewHeads(ctx, reports::HouseholdHeads::List::Address, &mainWindow);
    });
    mainWindow.setReport(QStringLiteral("RepertoarPozitii1"), [&ctx, &mainWindow] {
        previewHeads(ctx, reports::HouseholdHeads::List::Positions, &mainWindow);
    });
    mainWindow.setReport(QStringLiteral("Situatieferme1"), [&ctx] {
        if (!ctx.engine || !ctx.interaction)
            return;
        try {
            const QString path = reports::FarmSituation(*ctx.engine, ctx.dataDirectory, ctx.programDirectory,
                                                        ctx.workingYear().toLongLong())
                                     .write(ctx.profile.constants().JUDET, QDate::currentDate(), QLocale().decimalPoint(),
                                            ctx.interaction);
            ctx.interaction->openFile(path);
        } catch (const std::exception& e) {
            showError(*ctx.interaction, e, reports::FarmSituation::title());
        }
    });
    mainWindow.setReport(QStringLiteral("Listalocuitorinrstrada1"), [&ctx, &mainWindow] { reports::TListLocNr(ctx, &mainWindow).Deschide(); });
    mainWindow.setReport(QStringLiteral("ListeGospodariidupanrmembri1"), [&ctx] { reports::TListLocNr::exportHouseholdSizes(ctx); });
    mainWindow.setReport(QStringLiteral("ListaCL"), [&ctx] { reports::TListLocNr::exportDwellings(ctx); });
}

}
