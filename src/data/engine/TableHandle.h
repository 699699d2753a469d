#pragma once

#include "data/dbf/DbfTable.h"

#include <QByteArray>
#include <QHash>

#include <memory>
#include <unordered_map>
#include <vector>

namespace velmor::engine {

// Equality index of one column, in memory: value -> record numbers (deleted ones included;
// readers skip them). Numeric columns are keyed by their value, the others by their bytes.
class ColumnIndex {
public:
    ColumnIndex(const dbf::DbfTable& table, int column);

    const std::vector<int>* lookupNumber(double value) const;
    const std::vector<int>* lookupBytes(const QByteArray& value) const;
    size_t distinctCount() const { return m_numeric ? m_numbers.size() : m_bytes.size(); }

    void add(const dbf::DbfTable& table, int row);
    void remove(const dbf::DbfTable& table, int row);

    // Key bytes of a text or date field: the field trimmed of trailing blanks.
    static QByteArray fieldBytes(const dbf::DbfTable& table, int row, int column);

private:
    int m_column;
    bool m_numeric;
    std::unordered_map<double, std::vector<int>> m_numbers;
    QHash<QByteArray, std::vector<int>> m_bytes;
};

// One table file as the engine holds it: the records and the indexes built on them. Every write
// of the engine goes through here so the indexes stay right; a change by another program makes
// the engine read the file again (see Engine).
class TableHandle {
public:
    explicit TableHandle(const QString& path);

    dbf::DbfTable& table() { return *m_table; }
    const dbf::DbfTable& table() const { return *m_table; }
    const QString& path() const { return m_table->path(); }

    // Layout generation: grows when the columns change, so SQL views of the table are renewed.
    int layoutGeneration() const { return m_layoutGeneration; }

    // The index of a column, built on first use.
    const ColumnIndex& index(int column);
    bool hasIndex(int column) const { return m_indexes.count(column) != 0; }

    // A table of a register opened only for reading refuses every change (DbfError).
    void setReadOnly(bool on) { m_readOnly = on; }
    bool readOnly() const { return m_readOnly; }
    void checkWritable() const;

    int append(const std::vector<dbf::Value>& values);
    int appendEncoded(const QByteArray& record);
    void update(int row, const std::vector<std::pair<int, dbf::Value>>& changes);
    void remove(int row);
    void pack();
    // See DbfTable::restructure.
    void restructure(const QList<dbf::FieldSpec>& fields, const dbf::RecordFill& fill = {});

    // Reads the file again when another program changed it; true when it did.
    bool refreshIfChanged();

private:
    void reload();
    // Adds records first..last to the indexes built so far.
    void indexAppended(int first, int last);

    std::unique_ptr<dbf::DbfTable> m_table;
    std::unordered_map<int, std::unique_ptr<ColumnIndex>> m_indexes;
    int m_layoutGeneration = 0;
    bool m_readOnly = false;
};

}
