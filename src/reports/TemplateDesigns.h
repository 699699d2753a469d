#pragma once

#include "workbook/NewWorkbook.h"

namespace velmor::reports {

// The built-in templates, cell by cell: RAP (livestock per head of household, for the paying
// agency) and MACHETA (persons domiciled elsewhere holding land in the council).
workbook::WorkbookDesign rapDesign();
workbook::WorkbookDesign machetaDesign();
// The census 2010 forms: k = 1..4 the lists L1-L4, 5 the counts C1 (per village), 6 the counts C2
// (the council). Throws WorkbookError for another k.
workbook::WorkbookDesign censusDesign(int k);

}
