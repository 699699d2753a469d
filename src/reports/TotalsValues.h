#pragma once

#include "data/dbf/DbfValue.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <variant>

namespace velmor::reports {

// Stored values of the totals' tables read as numbers and text; anything else reads as 0 or empty.
inline double realOf(const dbf::Value& value)
{
    if (const auto* integer = std::get_if<std::int64_t>(&value))
        return double(*integer);
    if (const auto* real = std::get_if<double>(&value))
        return *real;
    return 0;
}

inline std::int64_t integerOf(const dbf::Value& value)
{
    if (const auto* integer = std::get_if<std::int64_t>(&value))
        return *integer;
    if (const auto* real = std::get_if<double>(&value))
        return std::llround(*real);
    return 0;
}

inline QString textOf(const dbf::Value& value)
{
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    return {};
}

}
