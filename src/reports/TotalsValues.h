#pragma once

#include "data/dbf/ValueConversions.h"

#include <QString>

#include <cstdint>

namespace velmor::reports {

// Stored values of the totals' tables read as numbers and text; anything else reads as 0 or empty.
inline double realOf(const dbf::Value& value) { return dbf::numberOnly(value); }
inline std::int64_t integerOf(const dbf::Value& value) { return dbf::toRoundedWhole(value); }
inline QString textOf(const dbf::Value& value) { return dbf::storedText(value); }

}
