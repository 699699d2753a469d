#pragma once

#include "data/engine/DataSet.h"

#include <memory>

namespace velmor::engine {

class Engine;
class TableHandle;

// A single-table cursor on one file: open shared or exclusive, optional filter and column order,
// append / edit / post / cancel / delete, pack, and change of a numeric column's width.
class TableCursor : public DataSet {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit TableCursor(Engine& engine);

    void setTableName(const QString& path) { m_tableName = path; }
    const QString& tableName() const { return m_tableName; }
    void setExclusive(bool exclusive) { m_exclusive = exclusive; }
    bool exclusive() const { return m_exclusive; }
    // Row order by columns separated by ";" (empty: file order).
    void setIndexFieldNames(const QString& columns);

    // Throws SqlError when the table cannot be read.
    void open();
    // A pending edit or insert is cancelled.
    void close();
    State state() const { return m_state; }

    void append();
    void edit();
    // Writes the pending row; throws SqlError (the row stays pending) when a value does not fit.
    void post();
    void cancel();
    // Marks the current row deleted.
    void deleteRecord();

    // Drops deleted rows; the cursor must be open exclusively.
    void pack();
    // Rewrites the table with a numeric column of another width and decimals, keeping every
    // value; the cursor must be open exclusively. Throws SqlError when a value does not fit. A
    // column of that width and those decimals already is left as it is (the file is not written).
    void changeNumericField(const QString& column, int width, int decimals);

    dbf::Value currentValue(int column) const override;
    void setCurrentValue(int column, const dbf::Value& value) override;

protected:
    const QList<ResultField>& fields() const override { return m_fields; }
    int sourceCount() const override;
    dbf::Value sourceValue(int source, int column) const override;
    void orderView(std::vector<int>& view) const override;

private:
    void requireOpen() const;
    void requireExclusive(const char* operation) const;
    void describeFields();
    void refresh(std::optional<int> keepRecord);

    Engine& m_engine;
    QString m_tableName;
    bool m_exclusive = false;
    QStringList m_order;
    TableHandle* m_handle = nullptr;
    QList<ResultField> m_fields;
    std::vector<int> m_records; // live record numbers; sources index this
    State m_state = State::Inactive;
    std::vector<dbf::Value> m_buffer;
    std::vector<bool> m_changed;
    int m_editRecord = -1;
};

}
