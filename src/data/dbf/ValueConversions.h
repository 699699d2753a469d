#pragma once

#include "data/dbf/DbfValue.h"

#include <QDate>
#include <QString>

#include <cmath>
#include <cstdint>
#include <variant>

namespace velmor::dbf {

// The one way to read a stored value as text, a whole number, a real or a date. Null, and a
// value of another kind, reads as "", 0 or an invalid date unless a function says otherwise.
// Where some readers need other rules on purpose, they are the named variants below.

// Texts as stored, whole numbers in full, reals with at most ten decimals and no trailing zeros,
// dates as dd.MM.yyyy; "" for null and logical values.
inline QString toText(const Value& value)
{
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return QString::number(*number);
    if (const auto* real = std::get_if<double>(&value))
        return decimalText(*real, 10);
    if (const auto* date = std::get_if<QDate>(&value))
        return date->toString(QStringLiteral("dd.MM.yyyy"));
    return QString();
}

// As toText, with reals shown with at most `maxDecimals` decimals.
inline QString toText(const Value& value, int maxDecimals)
{
    if (const auto* real = std::get_if<double>(&value))
        return decimalText(*real, maxDecimals);
    return toText(value);
}

// Only a stored text; "" for any other value.
inline QString storedText(const Value& value)
{
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    return QString();
}

// The whole part of a number (a real that is not finite is 0), a text read as a whole number
// after trimming (0 when it is none); 0 for anything else.
inline std::int64_t toWhole(const Value& value)
{
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return *number;
    if (const auto* real = std::get_if<double>(&value))
        return std::isfinite(*real) ? std::int64_t(*real) : 0;
    if (const auto* text = std::get_if<QString>(&value))
        return text->trimmed().toLongLong();
    return 0;
}

// A number rounded half away from zero to a whole number; texts and anything else are 0.
inline std::int64_t toRoundedWhole(const Value& value)
{
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return *number;
    if (const auto* real = std::get_if<double>(&value))
        return std::isfinite(*real) ? std::llround(*real) : 0;
    return 0;
}

// A number as it is, a text read as a number after trimming (0 when it is none); 0 for anything
// else.
inline double toReal(const Value& value)
{
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return double(*number);
    if (const auto* real = std::get_if<double>(&value))
        return *real;
    if (const auto* text = std::get_if<QString>(&value))
        return text->trimmed().toDouble();
    return 0;
}

// As toReal, and never a value that is not finite (0 then); a logical value is 1 or 0.
inline double toFiniteReal(const Value& value)
{
    double number = 0;
    if (const auto* b = std::get_if<bool>(&value))
        number = *b ? 1.0 : 0.0;
    else
        number = toReal(value);
    return std::isfinite(number) ? number : 0.0;
}

// A stored number as a real in `out`; false (and `out` untouched) for anything else.
inline bool storedNumber(const Value& value, double& out)
{
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        out = double(*number);
        return true;
    }
    if (const auto* real = std::get_if<double>(&value)) {
        out = *real;
        return true;
    }
    return false;
}

// Only a stored number; texts and anything else are 0.
inline double numberOnly(const Value& value)
{
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return double(*number);
    if (const auto* real = std::get_if<double>(&value))
        return *real;
    return 0;
}

// A stored date, or a text holding one as yyyy-MM-dd or dd.MM.yyyy; an invalid date otherwise.
inline QDate toDate(const Value& value)
{
    if (const auto* date = std::get_if<QDate>(&value))
        return *date;
    if (const auto* text = std::get_if<QString>(&value)) {
        for (const char* format : {"yyyy-MM-dd", "dd.MM.yyyy"}) {
            const QDate date = QDate::fromString(text->trimmed(), QLatin1String(format));
            if (date.isValid())
                return date;
        }
    }
    return QDate();
}

// A whole number as text, a real as its whole part, a text as stored; "" for anything else.
inline QString toWholeText(const Value& value)
{
    if (std::holds_alternative<std::int64_t>(value) || std::holds_alternative<double>(value))
        return QString::number(toWhole(value));
    return storedText(value);
}

// Reals in up to fifteen significant digits, logical values as T or F; otherwise as toText.
inline QString toFilterText(const Value& value)
{
    if (const auto* real = std::get_if<double>(&value))
        return QString::number(*real, 'g', 15);
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? QStringLiteral("T") : QStringLiteral("F");
    return toText(value);
}

// Values made for statements.

// The working year: a number when the text reads as one, otherwise the text.
inline Value yearValue(const QString& text)
{
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    return ok ? Value(std::int64_t(number)) : Value(text);
}

// A text, stored blank when empty.
inline Value textValue(const QString& text)
{
    return text.isEmpty() ? Value() : Value(text);
}

}
