#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <variant>

namespace velmor::dbf {

// One field value in memory. Blank fields are Null.
using Value = std::variant<std::monostate, std::int64_t, double, QString, QDate, bool>;

inline bool isNull(const Value& v) { return std::holds_alternative<std::monostate>(v); }

// A number with at most `maxDecimals` decimals, a point, no trailing zeros; "-0" is "0".
inline QString decimalText(double value, int maxDecimals)
{
    QString text = QString::number(value, 'f', maxDecimals);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

}
