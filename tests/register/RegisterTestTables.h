#pragma once

#include "data/dbf/DbfTable.h"
#include "data/dbf/FileNames.h"

#include <QDir>
#include <QString>

#include <functional>
#include <vector>

namespace velmor::test {

// Rows of a table file read by the dBase layer itself (not through the engine): every row that
// is not marked deleted, as a field reader.
struct FileRow {
    const dbf::DbfTable* table;
    int row;
    dbf::Value value(const char* column) const { return table->value(row, table->fieldIndex(QString::fromLatin1(column))); }
    qint64 whole(const char* column) const
    {
        const dbf::Value v = value(column);
        if (const auto* n = std::get_if<std::int64_t>(&v))
            return *n;
        if (const auto* d = std::get_if<double>(&v))
            return qint64(*d);
        return 0;
    }
    QString text(const char* column) const
    {
        const dbf::Value v = value(column);
        const auto* t = std::get_if<QString>(&v);
        return t ? *t : QString();
    }
};

inline std::vector<std::vector<dbf::Value>> fileRows(const QString& dataDir, const QString& table,
                                                     const std::function<bool(const FileRow&)>& keep)
{
    const dbf::DbfTable file(dbf::resolveFileName(QDir(dataDir).filePath(table)));
    std::vector<std::vector<dbf::Value>> rows;
    for (int row = 0; row < file.recordCount(); ++row) {
        if (file.isDeleted(row))
            continue;
        const FileRow r {&file, row};
        if (!keep(r))
            continue;
        std::vector<dbf::Value> values;
        for (int c = 0; c < file.fieldCount(); ++c)
            values.push_back(file.value(row, c));
        rows.push_back(values);
    }
    return rows;
}

// Rows of a table file whose numeric column holds `value`.
inline int fileCount(const QString& dataDir, const QString& table, const char* column, qint64 value)
{
    return int(fileRows(dataDir, table, [&](const FileRow& r) { return r.whole(column) == value; }).size());
}

}
