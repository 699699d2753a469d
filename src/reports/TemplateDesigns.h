#pragma once

#include "workbook/NewWorkbook.h"

namespace velmor::reports {

// The built-in templates, cell by cell: RAP (livestock per head of household, for the paying
// agency) and MACHETA (persons domiciled elsewhere holding land in the council).
workbook::WorkbookDesign rapDesign();
workbook::WorkbookDesign machetaDesign();

}
