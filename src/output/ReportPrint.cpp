#include "output/ReportPrint.h"

#include "output/ExportError.h"
#include "output/ReportDocument.h"
#include "output/ReportOutput.h"

#include <QPainter>
#include <QPrinter>

namespace velmor::output {

void printReport(const ReportDocument& document, QPrinter& printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(document.pageLayout());
    QPainter painter;
    if (!painter.begin(&printer))
        throw ExportError(QStringLiteral("Imprimanta nu poate tipari raportul."));
    const double scale = printer.resolution() / ReportDocument::unitsPerInch;
    const bool drawn = drawReportPages(document, painter, scale, [&printer] { return printer.newPage(); });
    if (!painter.end() || !drawn)
        throw ExportError(QStringLiteral("Imprimanta nu a tiparit tot raportul."));
}

}
