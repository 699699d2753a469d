#pragma once

#include "data/dbf/DbfValue.h"

#include <QDate>
#include <QString>

namespace velmor::fields {

// The working year as a statement's value: a number when it reads as one.
inline dbf::Value year(const QString& text)
{
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    return ok ? dbf::Value(std::int64_t(number)) : dbf::Value(text);
}

// The whole part of a value; 0 for null or a text that is no number.
inline qint64 whole(const dbf::Value& value)
{
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return *number;
    if (const auto* real = std::get_if<double>(&value))
        return qint64(*real);
    if (const auto* text = std::get_if<QString>(&value))
        return text->trimmed().toLongLong();
    return 0;
}

// A value as a number; 0 for null or a text that is no number.
inline double real(const dbf::Value& value)
{
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return double(*number);
    if (const auto* real = std::get_if<double>(&value))
        return *real;
    if (const auto* text = std::get_if<QString>(&value))
        return text->trimmed().toDouble();
    return 0;
}

// A value as text: texts as stored, numbers without trailing zeros, dates dd.MM.yyyy; "" for null.
inline QString text(const dbf::Value& value)
{
    if (const auto* t = std::get_if<QString>(&value))
        return *t;
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return QString::number(*number);
    if (const auto* real = std::get_if<double>(&value))
        return dbf::decimalText(*real, 10);
    if (const auto* date = std::get_if<QDate>(&value))
        return date->toString(QStringLiteral("dd.MM.yyyy"));
    return QString();
}

// A text as a statement's value: an empty text is stored blank.
inline dbf::Value textValue(const QString& text)
{
    return text.isEmpty() ? dbf::Value() : dbf::Value(text);
}

}
