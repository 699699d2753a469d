#pragma once

#include "data/dbf/DbfValue.h"

#include <QList>
#include <QString>

#include <array>
#include <cstddef>
#include <vector>

namespace velmor::engine {

enum class FieldType { Unknown, Integer, Float, Text, Date, Memo, Boolean };

struct ResultField {
    QString name;
    FieldType type = FieldType::Unknown;
    int width = 0;    // declared width of a table column; 0 for computed columns
    int decimals = 0;
};

// The rows a SELECT yielded, held in memory. Values are Null, integer, real, text or date.
struct ResultSet {
    QList<ResultField> fields;
    std::vector<std::vector<dbf::Value>> rows;

    // Column by name without regard to letter case; -1 when absent.
    int fieldIndex(const QString& name) const;

    // The value of a row's column by name (any letter case); null when there is no such column.
    const dbf::Value& value(size_t row, const QString& name) const
    {
        static const dbf::Value null;
        const int column = fieldIndex(name);
        return column < 0 ? null : rows[row][size_t(column)];
    }
    const dbf::Value& value(size_t row, const char* name) const { return value(row, QString::fromLatin1(name)); }

    // The positions of the named columns, in the order given, looked up once for a loop over the
    // rows: `const auto [codid, name] = rows.columns({"CODID", "NUMEP"});` then `row[codid]`.
    // Throws SqlError when a column is missing.
    template <std::size_t N>
    std::array<std::size_t, N> columns(const char* const (&names)[N]) const
    {
        std::array<std::size_t, N> positions {};
        for (std::size_t i = 0; i < N; ++i)
            positions[i] = requiredField(names[i]);
        return positions;
    }
    std::size_t requiredField(const char* name) const;
};

}
