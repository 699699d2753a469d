#pragma once

#include "data/engine/ClientFilter.h"
#include "data/engine/ResultSet.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmor::engine {

class DataSet;

// One field of the current row of a data set, read (and, on a table cursor, written) by name.
class FieldRef {
public:
    FieldRef(DataSet* set, int column)
        : m_set(set)
        , m_column(column)
    {
    }

    const QString& name() const;
    FieldType type() const;
    int width() const;
    int decimals() const;

    dbf::Value value() const;
    bool isNull() const;
    // Null reads as "" / 0 / 0.0 / a null date. Numbers as text have no trailing zeros;
    // dates as text are dd.MM.yyyy.
    QString asString() const;
    // Throws SqlError for a text that is not a number.
    qint64 asInteger() const;
    double asFloat() const;
    QDate asDate() const;

    // Table cursors in edit or insert state only; throws SqlError otherwise.
    void setValue(const dbf::Value& value);
    void setString(const QString& text) { setValue(text); }
    void setInteger(qint64 v) { setValue(std::int64_t(v)); }
    void setFloat(double v) { setValue(v); }
    void setDate(const QDate& d) { setValue(d.isValid() ? dbf::Value(d) : dbf::Value()); }
    void clear() { setValue(dbf::Value()); }

private:
    DataSet* m_set;
    int m_column;
};

// Row-by-row access shared by query results and table cursors: navigation, fields by name,
// a client-side filter and locate.
class DataSet {
public:
    virtual ~DataSet() = default;

    bool active() const { return m_active; }

    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_view.empty(); }
    // Rows visible through the filter.
    int recordCount() const { return int(m_view.size()); }
    // 1-based number of the current row; 0 when there is none.
    int recNo() const { return m_view.empty() ? 0 : m_position + 1; }

    int fieldCount() const { return int(fields().size()); }
    const ResultField& fieldDef(int column) const { return fields()[column]; }
    // -1 when absent.
    int fieldIndex(const QString& name) const;
    // Throws SqlError when the field does not exist.
    FieldRef fieldByName(const QString& name);
    FieldRef field(int column) { return FieldRef(this, column); }
    QStringList fieldNames() const;

    void setFilter(const QString& text);
    const QString& filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // Moves to the first row whose fields equal the values (text exact, numbers by value);
    // false, and no move, when none does.
    bool locate(const QStringList& names, const std::vector<dbf::Value>& values);

    // Value of a column in the current row (Null when there is no current row).
    virtual dbf::Value currentValue(int column) const;
    virtual void setCurrentValue(int column, const dbf::Value& value);

protected:
    virtual const QList<ResultField>& fields() const = 0;
    virtual int sourceCount() const = 0;
    virtual dbf::Value sourceValue(int source, int column) const = 0;
    // Order of the visible rows; the default keeps the source order.
    virtual void orderView(std::vector<int>& view) const { Q_UNUSED(view); }

    // Recomputes the visible rows and moves to the first (or to `keepSource` when still visible).
    void rebuildView(std::optional<int> keepSource = std::nullopt);
    int currentSource() const { return m_view.empty() ? -1 : m_view[size_t(m_position)]; }
    void setActive(bool active) { m_active = active; }
    void clearView();

private:
    void compileFilter();
    void settle();

    bool m_active = false;
    std::vector<int> m_view;
    int m_position = 0;
    bool m_eof = true;
    bool m_bof = true;
    QString m_filterText;
    bool m_filtered = false;
    std::optional<ClientFilter> m_filter;
};

}
