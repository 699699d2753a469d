#pragma once

#include "core/Error.h"

namespace velmor::output {

// A report form that cannot be filled or laid out: a field without its column, a row taller than a page.
class ReportError : public Error {
public:
    using Error::Error;
};

}
