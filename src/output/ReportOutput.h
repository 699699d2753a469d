#pragma once

#include <QString>

class QPrinter;

namespace velmor::output {

class ReportDocument;

// Writes every page of the report to a PDF file with its fonts embedded, through a staged file: a
// failure leaves neither a partial file nor a damaged older one. Throws ExportError.
void writeReportPdf(const ReportDocument& document, const QString& target, const QString& title);

// Sends every page to the printer, A4 in the form's orientation. Throws ExportError when printing
// cannot start.
void printReport(const ReportDocument& document, QPrinter& printer);

}
