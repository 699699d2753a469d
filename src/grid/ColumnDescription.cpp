#include "grid/ColumnDescription.h"

#include "grid/GridError.h"

#include <QRegularExpression>

#include <cmath>

namespace velmor::grid {

namespace {

const QString DateFormat = QStringLiteral("dd.MM.yyyy");

QString fixedText(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    // a tiny negative number rounds to "-0.00"
    static const QRegularExpression negativeZero(QStringLiteral("^-[0.]+$"));
    if (negativeZero.match(text).hasMatch())
        text.remove(0, 1);
    return text;
}

QString numberText(double value, const DisplayFormat& format)
{
    switch (format.kind) {
    case DisplayFormat::Kind::WholeNumber:
        return fixedText(std::round(value), 0);
    case DisplayFormat::Kind::Decimals:
        return format.fixed ? fixedText(value, format.decimals) : dbf::decimalText(value, format.decimals);
    default:
        return dbf::decimalText(value, 10);
    }
}

}

DisplayFormat DisplayFormat::fromPattern(const QString& pattern)
{
    const QString p = pattern.trimmed();
    if (p.isEmpty() || p == QLatin1String("@"))
        return text();
    if (p.compare(DateFormat, Qt::CaseInsensitive) == 0)
        return date();
    static const QRegularExpression number(QStringLiteral("^[#0]+(?:\\.([#]+|[0]+))?$"));
    const QRegularExpressionMatch m = number.match(p);
    if (!m.hasMatch())
        throw GridError(QStringLiteral("Formatul de afisare \"%1\" nu este cunoscut.").arg(pattern));
    const QString decimals = m.captured(1);
    if (decimals.isEmpty())
        return wholeNumber();
    return decimals.startsWith(QLatin1Char('0')) ? fixedDecimals(int(decimals.size())) : upTo(int(decimals.size()));
}

DisplayFormat DisplayFormat::forField(const engine::ResultField& field)
{
    switch (field.type) {
    case engine::FieldType::Integer:
        return wholeNumber();
    case engine::FieldType::Float:
        return field.decimals > 0 ? fixedDecimals(field.decimals) : upTo(10);
    case engine::FieldType::Date:
        return date();
    default:
        return text();
    }
}

QString formatValue(const dbf::Value& value, const DisplayFormat& format)
{
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        if (format.kind == DisplayFormat::Kind::Decimals && format.fixed)
            return fixedText(double(*i), format.decimals);
        return QString::number(*i);
    }
    if (const auto* d = std::get_if<double>(&value))
        return numberText(*d, format);
    if (const auto* s = std::get_if<QString>(&value))
        return *s;
    if (const auto* date = std::get_if<QDate>(&value))
        return date->isValid() ? date->toString(DateFormat) : QString();
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? QStringLiteral("True") : QStringLiteral("False");
    return {};
}

QList<ColumnDescription> describeAllFields(const QList<engine::ResultField>& fields)
{
    QList<ColumnDescription> columns;
    columns.reserve(fields.size());
    for (const engine::ResultField& field : fields) {
        ColumnDescription column;
        column.field = field.name;
        column.format = DisplayFormat::forField(field);
        const int typical = field.type == engine::FieldType::Date ? 10 : field.width;
        column.width = std::max<int>(typical, int(field.name.size()));
        columns << column;
    }
    return columns;
}

}
