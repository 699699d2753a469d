#pragma once

#include <QString>

namespace velmor {
class Interaction;
}

namespace velmor::reports {

// The options of `velmor-cli workbook apia|strainasi --data DIR [--home H] --year Y
// [--template FILE] --out FILE.xls`.
struct WorkbookReportRequest {
    QString report;           // "apia" or "strainasi"
    QString dataDirectory;
    QString programDirectory; // where the work table goes; the data directory's parent when empty
    QString year;
    QString templateFile;     // empty: the data directory's copy of the built-in template
    QString outputFile;
};

// Runs the report over the data directory (the county constant of Velmor.ini for "strainasi") and
// writes the workbook to the output file; returns the rows written. Throws Error (an unknown
// report, a missing template, a damaged workbook, a failing statement).
int runWorkbookReport(const WorkbookReportRequest& request, Interaction& ui);

}
