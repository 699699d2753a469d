#pragma once

#include "core/Error.h"

namespace velmor::output {

// An export that could not be written: unwritable or locked file, a value the format cannot hold,
// a table too large for the format, a statement that is not a SELECT.
class ExportError : public Error {
public:
    using Error::Error;
};

}
