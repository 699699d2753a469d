#pragma once

#include "core/Error.h"

namespace velmor::workbook {

// A workbook that cannot be read, edited or written: not a workbook, damaged, not Excel 97,
// a cell outside the sheet, a file that cannot be saved.
class WorkbookError : public Error {
public:
    using Error::Error;
};

}
