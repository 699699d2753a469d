#include "output/TableSources.h"

#include "data/engine/Query.h"

#include <QAbstractItemModel>
#include <QDateTime>

#include <algorithm>
#include <limits>

namespace velmor::output {

namespace {

constexpr int MaxWidth = 100;
constexpr int MaxDecimals = 10;

int longestLine(const QString& text)
{
    int longest = 0;
    for (const QStringView line : QStringView(text).split(QLatin1Char('\n')))
        longest = std::max(longest, int(line.size()));
    return longest;
}

dbf::Value valueOf(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return std::int64_t(v.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        if (v.toULongLong() <= quint64(std::numeric_limits<std::int64_t>::max()))
            return std::int64_t(v.toULongLong());
        return v.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return v.toDouble();
    case QMetaType::QDate:
        return v.toDate().isValid() ? dbf::Value(v.toDate()) : dbf::Value();
    case QMetaType::QDateTime:
        return v.toDateTime().isValid() ? dbf::Value(v.toDateTime().date()) : dbf::Value();
    case QMetaType::Bool:
        return v.toBool();
    default: {
        const QString text = v.toString();
        return text.isEmpty() ? dbf::Value() : dbf::Value(text);
    }
    }
}

// Digits after the decimal point (or comma) of a shown number.
int shownDecimals(const QString& text)
{
    const qsizetype point = std::max(text.lastIndexOf(QLatin1Char('.')), text.lastIndexOf(QLatin1Char(',')));
    if (point < 0)
        return 0;
    int digits = 0;
    for (qsizetype i = point + 1; i < text.size() && text[i].isDigit(); ++i)
        ++digits;
    return std::min(digits, MaxDecimals);
}

ExportColumn::Kind kindOf(const std::vector<dbf::Value>& values)
{
    bool anyValue = false, allIntegers = true, allNumbers = true, allDates = true;
    for (const dbf::Value& v : values) {
        if (dbf::isNull(v))
            continue;
        anyValue = true;
        const bool integer = std::holds_alternative<std::int64_t>(v);
        const bool real = std::holds_alternative<double>(v);
        allIntegers = allIntegers && integer;
        allNumbers = allNumbers && (integer || real);
        allDates = allDates && std::holds_alternative<QDate>(v);
    }
    if (!anyValue)
        return ExportColumn::Kind::Text;
    if (allIntegers)
        return ExportColumn::Kind::Integer;
    if (allNumbers)
        return ExportColumn::Kind::Real;
    if (allDates)
        return ExportColumn::Kind::Date;
    return ExportColumn::Kind::Text;
}

ExportColumn::Kind kindOf(engine::FieldType type)
{
    switch (type) {
    case engine::FieldType::Integer:
        return ExportColumn::Kind::Integer;
    case engine::FieldType::Float:
        return ExportColumn::Kind::Real;
    case engine::FieldType::Date:
        return ExportColumn::Kind::Date;
    default:
        return ExportColumn::Kind::Text;
    }
}

}

ExportTable tableFromModel(const QAbstractItemModel& model, const QList<int>& columns)
{
    QList<int> chosen = columns;
    if (chosen.isEmpty())
        for (int c = 0; c < model.columnCount(); ++c)
            chosen << c;

    ExportTable table;
    const int rowCount = model.rowCount();
    table.rows.assign(size_t(rowCount), std::vector<dbf::Value>(size_t(chosen.size())));
    for (int i = 0; i < chosen.size(); ++i) {
        const int c = chosen[i];
        ExportColumn column;
        column.heading = model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        int width = longestLine(column.heading);
        int decimals = 0;
        std::vector<dbf::Value> values;
        values.resize(size_t(rowCount));
        for (int r = 0; r < rowCount; ++r) {
            const QModelIndex index = model.index(r, c);
            const QString shown = model.data(index, Qt::DisplayRole).toString();
            dbf::Value value = valueOf(model.data(index, Qt::EditRole));
            if (dbf::isNull(value) && !shown.isEmpty())
                value = shown;
            if (std::holds_alternative<double>(value))
                decimals = std::max(decimals, shownDecimals(shown.isEmpty() ? dbf::decimalText(std::get<double>(value), MaxDecimals) : shown));
            width = std::max(width, longestLine(shown));
            values[size_t(r)] = std::move(value);
        }
        column.kind = kindOf(values);
        column.decimals = column.kind == ExportColumn::Kind::Real ? decimals : 0;
        column.width = std::clamp(width, 1, MaxWidth);
        for (int r = 0; r < rowCount; ++r)
            table.rows[size_t(r)][size_t(i)] = std::move(values[size_t(r)]);
        table.columns << column;
    }
    return table;
}

ExportTable tableFromResult(const engine::ResultSet& result)
{
    ExportTable table;
    table.rows = result.rows;
    for (int c = 0; c < result.fields.size(); ++c) {
        const engine::ResultField& field = result.fields[c];
        ExportColumn column;
        column.heading = field.name;
        column.kind = kindOf(field.type);
        column.decimals = column.kind == ExportColumn::Kind::Real ? field.decimals : 0;
        int width = field.type == engine::FieldType::Date ? 10 : field.width;
        const bool measureValues = width <= 0 || field.type == engine::FieldType::Memo;
        const bool countDecimals = column.kind == ExportColumn::Kind::Real && field.decimals <= 0;
        if (measureValues || countDecimals) {
            for (const auto& row : result.rows) {
                const dbf::Value& v = row[size_t(c)];
                if (countDecimals)
                    if (const auto* d = std::get_if<double>(&v))
                        column.decimals = std::max(column.decimals, shownDecimals(dbf::decimalText(*d, MaxDecimals)));
            }
            if (measureValues) {
                for (const auto& row : result.rows)
                    width = std::max(width, longestLine(cellText(row[size_t(c)], column)));
                width = std::min(width, MaxWidth);
            }
        }
        column.width = std::max({width, int(field.name.size()), 1});
        table.columns << column;
    }
    return table;
}

ExportTable tableFromQuery(engine::Query& query)
{
    engine::ResultSet shown;
    shown.fields = query.result().fields;
    const int current = query.recNo();
    for (query.first(); !query.eof(); query.next()) {
        std::vector<dbf::Value> row;
        row.reserve(size_t(query.fieldCount()));
        for (int c = 0; c < query.fieldCount(); ++c)
            row.push_back(query.currentValue(c));
        shown.rows.push_back(std::move(row));
    }
    query.first();
    for (int r = 1; r < current && !query.eof(); ++r)
        query.next();
    return tableFromResult(shown);
}

}
