#include "data/engine/TableHandle.h"

#include "data/dbf/DbfError.h"

#include <algorithm>

namespace velmor::engine {

ColumnIndex::ColumnIndex(const dbf::DbfTable& table, int column)
    : m_column(column)
    , m_numeric(table.fields()[column].isNumeric())
{
    const int count = table.recordCount();
    for (int row = 0; row < count; ++row)
        add(table, row);
}

QByteArray ColumnIndex::fieldBytes(const dbf::DbfTable& table, int row, int column)
{
    const dbf::Field& f = table.fields()[column];
    const char* p = table.record(row) + f.offset;
    int end = f.width;
    while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\0'))
        --end;
    return QByteArray(p, end);
}

void ColumnIndex::add(const dbf::DbfTable& table, int row)
{
    if (m_numeric) {
        if (const auto v = table.number(row, m_column))
            m_numbers[*v].push_back(row);
        return;
    }
    const QByteArray key = fieldBytes(table, row, m_column);
    if (!key.isEmpty())
        m_bytes[key].push_back(row);
}

void ColumnIndex::remove(const dbf::DbfTable& table, int row)
{
    std::vector<int>* rows = nullptr;
    if (m_numeric) {
        if (const auto v = table.number(row, m_column)) {
            auto it = m_numbers.find(*v);
            if (it != m_numbers.end())
                rows = &it->second;
        }
    } else {
        auto it = m_bytes.find(fieldBytes(table, row, m_column));
        if (it != m_bytes.end())
            rows = &it.value();
    }
    if (rows)
        rows->erase(std::remove(rows->begin(), rows->end(), row), rows->end());
}

const std::vector<int>* ColumnIndex::lookupNumber(double value) const
{
    auto it = m_numbers.find(value);
    return it == m_numbers.end() ? nullptr : &it->second;
}

const std::vector<int>* ColumnIndex::lookupBytes(const QByteArray& value) const
{
    auto it = m_bytes.find(value);
    return it == m_bytes.end() ? nullptr : &it.value();
}

TableHandle::TableHandle(const QString& path)
    : m_table(std::make_unique<dbf::DbfTable>(path))
{
}

const ColumnIndex& TableHandle::index(int column)
{
    auto it = m_indexes.find(column);
    if (it == m_indexes.end())
        it = m_indexes.emplace(column, std::make_unique<ColumnIndex>(*m_table, column)).first;
    return *it->second;
}

void TableHandle::checkWritable() const
{
    if (m_readOnly)
        throw dbf::DbfError(QStringLiteral("Baza de date este deschisa doar pentru consultare; tabelul \"%1\" nu poate fi schimbat.")
                                .arg(m_table->fileName()));
}

void TableHandle::indexAppended(int first, int last)
{
    // Records another program appended meanwhile come before the new one.
    for (auto& [column, index] : m_indexes) {
        for (int r = first; r <= last; ++r)
            index->add(*m_table, r);
    }
}

int TableHandle::append(const std::vector<dbf::Value>& values)
{
    checkWritable();
    const int before = m_table->recordCount();
    const int row = m_table->append(values);
    indexAppended(before, row);
    return row;
}

int TableHandle::appendEncoded(const QByteArray& record)
{
    checkWritable();
    const int before = m_table->recordCount();
    const int row = m_table->appendEncoded(record);
    indexAppended(before, row);
    return row;
}

void TableHandle::update(int row, const std::vector<std::pair<int, dbf::Value>>& changes)
{
    checkWritable();
    std::vector<ColumnIndex*> touched;
    for (const auto& change : changes) {
        auto it = m_indexes.find(change.first);
        if (it != m_indexes.end()) {
            it->second->remove(*m_table, row);
            touched.push_back(it->second.get());
        }
    }
    try {
        m_table->update(row, changes);
    } catch (...) {
        for (ColumnIndex* index : touched)
            index->add(*m_table, row);
        throw;
    }
    for (ColumnIndex* index : touched)
        index->add(*m_table, row);
}

void TableHandle::remove(int row)
{
    checkWritable();
    // Deleted records stay in the indexes; every reader skips them.
    m_table->setDeleted(row, true);
}

void TableHandle::pack()
{
    checkWritable();
    if (m_table->deletedCount() == 0)
        return;
    m_table->pack();
    m_indexes.clear();
}

void TableHandle::restructure(const QList<dbf::FieldSpec>& fields, const dbf::RecordFill& fill)
{
    checkWritable();
    try {
        m_table->restructure(fields, fill);
    } catch (...) {
        // The table was read again from whichever file is in place: nothing built on it stays.
        m_indexes.clear();
        ++m_layoutGeneration;
        throw;
    }
    m_indexes.clear();
    ++m_layoutGeneration;
}

void TableHandle::reload()
{
    const QString path = m_table->path();
    auto fresh = std::make_unique<dbf::DbfTable>(path);
    bool sameLayout = fresh->fieldCount() == m_table->fieldCount();
    for (int c = 0; sameLayout && c < fresh->fieldCount(); ++c) {
        const auto& a = fresh->fields()[c];
        const auto& b = m_table->fields()[c];
        sameLayout = a.name == b.name && a.type == b.type && a.width == b.width && a.decimals == b.decimals;
    }
    m_table = std::move(fresh);
    m_indexes.clear();
    if (!sameLayout)
        ++m_layoutGeneration;
}

bool TableHandle::refreshIfChanged()
{
    if (!m_table->changedOnDisk())
        return false;
    reload();
    return true;
}

}
