#include "output/ReportForm.h"

#include <QPageSize>

#include <cmath>

namespace velmor::output {

QString formatValue(const dbf::Value& value, ValueFormat format)
{
    if (dbf::isNull(value))
        return {};
    if (const auto* date = std::get_if<QDate>(&value))
        return date->isValid() ? date->toString(QStringLiteral("dd.MM.yyyy")) : QString();
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag ? QStringLiteral("True") : QStringLiteral("False");
    const bool whole = std::holds_alternative<std::int64_t>(value);
    const std::int64_t integer = whole ? std::get<std::int64_t>(value) : 0;
    const double real = whole ? double(integer) : std::get<double>(value);
    switch (format) {
    case ValueFormat::Decimal2: {
        QString text = QString::number(real, 'f', 2);
        return text == QLatin1String("-0.00") ? QStringLiteral("0.00") : text;
    }
    case ValueFormat::Whole:
        return QString::number(whole ? integer : std::llround(real));
    case ValueFormat::Decimal4:
        return whole ? QString::number(integer) : dbf::decimalText(real, 4);
    case ValueFormat::Date:
    case ValueFormat::Text:
        break;
    }
    return whole ? QString::number(integer) : dbf::decimalText(real, 6);
}

double ReportForm::bodyWidth() const
{
    QSizeF paper = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    if (orientation == QPageLayout::Landscape)
        paper.transpose();
    return paper.width() - margins.left() - margins.right();
}

ReportElement reportLabel(const QString& name, const QString& text, const QRectF& box, Qt::Alignment alignment,
                          double pointSize, bool bold)
{
    ReportElement element;
    element.kind = ReportElement::Kind::Label;
    element.name = name;
    element.text = text;
    element.box = box;
    element.alignment = alignment;
    element.pointSize = pointSize;
    element.bold = bold;
    return element;
}

ReportElement reportText(const QString& text, const QRectF& box, Qt::Alignment alignment, double pointSize, bool bold)
{
    return reportLabel(QString(), text, box, alignment, pointSize, bold);
}

ReportElement reportField(const QString& column, const QRectF& box, ValueFormat format, Qt::Alignment alignment)
{
    ReportElement element;
    element.kind = ReportElement::Kind::Field;
    element.name = column;
    element.box = box;
    element.format = format;
    element.alignment = alignment;
    return element;
}

ReportElement reportElement(ReportElement::Kind kind, const QString& name, const QRectF& box, ValueFormat format,
                            Qt::Alignment alignment)
{
    ReportElement element;
    element.kind = kind;
    element.name = name;
    element.box = box;
    element.format = format;
    element.alignment = alignment;
    return element;
}

}
