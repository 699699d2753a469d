#pragma once

#include "data/engine/DataSet.h"
#include "data/engine/Parameters.h"

#include <QStringList>

namespace velmor::engine {

class Engine;

// A statement held as text lines, opened for its rows or executed for its changes.
class Query : public DataSet {
public:
    explicit Query(Engine& engine);

    QStringList& SQL() { return m_lines; }
    const QStringList& SQL() const { return m_lines; }
    Query& add(const QString& line)
    {
        m_lines << line;
        return *this;
    }
    // Binds the value of the statement's parameter ":NAME" (name with or without the colon).
    Query& bind(const QString& name, const dbf::Value& value)
    {
        m_parameters.bind(name, value);
        return *this;
    }
    const Parameters& parameters() const { return m_parameters; }
    void clearParameters() { m_parameters.clear(); }

    // The lines joined by line breaks, as sent to the engine.
    QString text() const { return m_lines.join(QLatin1Char('\n')); }

    // Runs the statement as a SELECT and goes to its first row; throws SqlError.
    void open();
    // Runs a statement that changes data or tables; returns the rows changed. Throws SqlError.
    int execSQL();
    void close();

    const ResultSet& result() const { return m_result; }
    Engine& engine() { return m_engine; }

protected:
    const QList<ResultField>& fields() const override { return m_result.fields; }
    int sourceCount() const override { return int(m_result.rows.size()); }
    dbf::Value sourceValue(int source, int column) const override { return m_result.rows[size_t(source)][size_t(column)]; }

private:
    Engine& m_engine;
    QStringList m_lines;
    Parameters m_parameters;
    ResultSet m_result;
};

// Resets a query for a new statement: closes it, clears its lines and bound values, switches its
// filter off and empties the filter text.
void QueryRst(Query& query);

}
