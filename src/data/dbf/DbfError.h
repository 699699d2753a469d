#pragma once

#include "core/Error.h"

namespace velmor::dbf {

// A dBase file that cannot be read or written; the message names the file and the problem.
class DbfError : public Error {
public:
    using Error::Error;
};

}
