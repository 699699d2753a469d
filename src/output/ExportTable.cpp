#include "output/ExportTable.h"

namespace velmor::output {

namespace {
const QString DateFormat = QStringLiteral("dd.MM.yyyy");
}

QString ExportTable::exportDateLine() const
{
    return QStringLiteral("Creat la %1").arg(exportDate.toString(DateFormat));
}

QString cellText(const dbf::Value& value, const ExportColumn& column)
{
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        if (column.kind == ExportColumn::Kind::Real && column.decimals > 0)
            return QString::number(double(*i), 'f', column.decimals);
        return QString::number(*i);
    }
    if (const auto* d = std::get_if<double>(&value)) {
        QString text = QString::number(*d, 'f', column.kind == ExportColumn::Kind::Real ? column.decimals : 0);
        if (column.kind != ExportColumn::Kind::Real && column.kind != ExportColumn::Kind::Integer)
            text = dbf::decimalText(*d, 10);
        if (text.startsWith(QLatin1Char('-')) && text.count(QLatin1Char('0')) + text.count(QLatin1Char('.')) == text.size() - 1)
            text.remove(0, 1);
        return text;
    }
    if (const auto* s = std::get_if<QString>(&value))
        return *s;
    if (const auto* date = std::get_if<QDate>(&value))
        return date->isValid() ? date->toString(DateFormat) : QString();
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? QStringLiteral("True") : QStringLiteral("False");
    return {};
}

ExportTable withRowNumbers(const ExportTable& table)
{
    ExportTable numbered = table;
    const int digits = int(QString::number(table.rows.size()).size());
    numbered.columns.prepend(ExportColumn{QStringLiteral("Nr."), ExportColumn::Kind::Integer, 0, std::max(digits, 3)});
    std::int64_t number = 0;
    for (auto& row : numbered.rows)
        row.insert(row.begin(), dbf::Value(++number));
    return numbered;
}

}
