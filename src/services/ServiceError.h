#pragma once

#include "core/Error.h"

namespace velmor {

// An error of a shared service (settings file, registry store, counters).
class ServiceError : public Error {
public:
    using Error::Error;
};

}
