#pragma once

#include "core/Error.h"

namespace velmor::grid {

// A grid set up wrongly: a column naming a field the result lacks, a display pattern not understood.
class GridError : public Error {
public:
    using Error::Error;
};

}
