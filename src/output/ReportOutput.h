#pragma once

#include <QString>

#include <functional>

class QPainter;

namespace velmor::output {

class ReportDocument;

// Writes every page of the report to a PDF file with its fonts embedded, through a staged file: a
// failure leaves neither a partial file nor a damaged older one. Throws ExportError.
void writeReportPdf(const ReportDocument& document, const QString& target, const QString& title);

// Draws the pages on a begun painter; `scale` maps layout units to device pixels and `newPage`
// starts the next page (false when the device failed).
bool drawReportPages(const ReportDocument& document, QPainter& painter, double scale,
                     const std::function<bool()>& newPage);

}
