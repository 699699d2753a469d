#pragma once

class QPrinter;

namespace velmor::output {

class ReportDocument;

// Sends every page to the printer, A4 in the form's orientation. Throws ExportError when printing
// cannot start or stops.
void printReport(const ReportDocument& document, QPrinter& printer);

}
