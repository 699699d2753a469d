#pragma once

#include "core/Error.h"

namespace velmor::engine {

// A statement or cursor operation that failed; carries the engine's message.
class SqlError : public Error {
public:
    using Error::Error;
};

}
