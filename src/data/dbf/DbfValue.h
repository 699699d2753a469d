#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <variant>

namespace velmor::dbf {

// One field value in memory. Blank fields are Null.
using Value = std::variant<std::monostate, std::int64_t, double, QString, QDate, bool>;

inline bool isNull(const Value& v) { return std::holds_alternative<std::monostate>(v); }

}
