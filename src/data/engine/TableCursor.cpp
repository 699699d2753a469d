#include "data/engine/TableCursor.h"

#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfError.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlError.h"
#include "data/engine/TableHandle.h"

#include <algorithm>

namespace velmor::engine {

namespace {

FieldType fieldTypeOf(const dbf::Field& f)
{
    switch (f.type) {
    case 'N':
    case 'F':
        return f.decimals == 0 ? FieldType::Integer : FieldType::Float;
    case 'D':
        return FieldType::Date;
    case 'L':
        return FieldType::Boolean;
    case 'M':
        return FieldType::Memo;
    default:
        return FieldType::Text;
    }
}

// Order of two values: Null first, numbers by value, text by code point.
int compareValues(const dbf::Value& a, const dbf::Value& b)
{
    if (dbf::isNull(a) || dbf::isNull(b))
        return int(!dbf::isNull(a)) - int(!dbf::isNull(b));
    const auto number = [](const dbf::Value& v, double& out) {
        if (const auto* i = std::get_if<std::int64_t>(&v))
            return out = double(*i), true;
        if (const auto* d = std::get_if<double>(&v))
            return out = *d, true;
        return false;
    };
    double x, y;
    if (number(a, x) && number(b, y))
        return x < y ? -1 : (x > y ? 1 : 0);
    if (const auto* p = std::get_if<QDate>(&a)) {
        if (const auto* q = std::get_if<QDate>(&b))
            return *p < *q ? -1 : (*p > *q ? 1 : 0);
    }
    const auto* s = std::get_if<QString>(&a);
    const auto* t = std::get_if<QString>(&b);
    if (s && t)
        return s->compare(*t);
    return 0;
}

template <typename F>
auto guarded(F&& f)
{
    try {
        return f();
    } catch (const dbf::DbfError& e) {
        throw SqlError(e.message());
    } catch (const dbf::EncodingError& e) {
        throw SqlError(e.message());
    }
}

}

TableCursor::TableCursor(Engine& engine)
    : m_engine(engine)
{
}

void TableCursor::setIndexFieldNames(const QString& columns)
{
    m_order.clear();
    for (const QString& c : columns.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        m_order << c.trimmed();
    if (active())
        refresh(currentSource() >= 0 ? std::optional<int>(m_records[size_t(currentSource())]) : std::nullopt);
}

void TableCursor::describeFields()
{
    m_fields.clear();
    for (const dbf::Field& f : m_handle->table().fields())
        m_fields.append(ResultField {f.name, fieldTypeOf(f), f.width, f.decimals});
}

void TableCursor::open()
{
    close();
    if (m_tableName.isEmpty())
        throw SqlError(QStringLiteral("Cursorul nu are un tabel."));
    m_handle = &m_engine.table(m_tableName);
    describeFields();
    for (const QString& c : m_order) {
        if (m_handle->table().fieldIndex(c) < 0)
            throw SqlError(QStringLiteral("Tabelul \"%1\" nu are coloana %2.").arg(m_handle->table().fileName(), c));
    }
    setActive(true);
    m_state = State::Browse;
    refresh(std::nullopt);
}

void TableCursor::close()
{
    m_state = State::Inactive;
    m_handle = nullptr;
    m_records.clear();
    m_buffer.clear();
    m_changed.clear();
    m_editRecord = -1;
    setActive(false);
    clearView();
}

void TableCursor::refresh(std::optional<int> keepRecord)
{
    m_records.clear();
    const dbf::DbfTable& t = m_handle->table();
    m_records.reserve(size_t(t.recordCount()));
    for (int r = 0; r < t.recordCount(); ++r) {
        if (!t.isDeleted(r))
            m_records.push_back(r);
    }
    std::optional<int> keepSource;
    if (keepRecord) {
        auto it = std::lower_bound(m_records.begin(), m_records.end(), *keepRecord);
        if (it != m_records.end() && *it == *keepRecord)
            keepSource = int(it - m_records.begin());
    }
    rebuildView(keepSource);
}

int TableCursor::sourceCount() const
{
    return int(m_records.size());
}

dbf::Value TableCursor::sourceValue(int source, int column) const
{
    return guarded([&] { return m_handle->table().value(m_records[size_t(source)], column); });
}

void TableCursor::orderView(std::vector<int>& view) const
{
    if (m_order.isEmpty())
        return;
    std::vector<int> columns;
    for (const QString& c : m_order)
        columns.push_back(m_handle->table().fieldIndex(c));
    std::stable_sort(view.begin(), view.end(), [&](int a, int b) {
        for (int c : columns) {
            const int order = compareValues(sourceValue(a, c), sourceValue(b, c));
            if (order != 0)
                return order < 0;
        }
        return false;
    });
}

dbf::Value TableCursor::currentValue(int column) const
{
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer[size_t(column)];
    return DataSet::currentValue(column);
}

void TableCursor::setCurrentValue(int column, const dbf::Value& value)
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw SqlError(QStringLiteral("Tabelul nu este in modificare (lipseste Edit sau Append)."));
    m_buffer[size_t(column)] = value;
    m_changed[size_t(column)] = true;
}

void TableCursor::requireOpen() const
{
    if (!active())
        throw SqlError(QStringLiteral("Tabelul nu este deschis."));
}

void TableCursor::requireExclusive(const char* operation) const
{
    requireOpen();
    if (!m_exclusive)
        throw SqlError(QStringLiteral("Operatia %1 cere tabelul deschis exclusiv.").arg(QLatin1String(operation)));
}

void TableCursor::append()
{
    requireOpen();
    if (m_state != State::Browse)
        post();
    m_state = State::Insert;
    m_buffer.assign(size_t(m_fields.size()), dbf::Value());
    m_changed.assign(size_t(m_fields.size()), false);
    m_editRecord = -1;
}

void TableCursor::edit()
{
    requireOpen();
    if (m_state != State::Browse)
        return;
    const int source = currentSource();
    if (source < 0)
        throw SqlError(QStringLiteral("Nu exista o inregistrare curenta de modificat."));
    m_editRecord = m_records[size_t(source)];
    m_buffer.clear();
    for (int c = 0; c < m_fields.size(); ++c)
        m_buffer.push_back(sourceValue(source, c));
    m_changed.assign(size_t(m_fields.size()), false);
    m_state = State::Edit;
}

void TableCursor::post()
{
    requireOpen();
    if (m_state == State::Browse)
        return;
    int record = m_editRecord;
    guarded([&] {
        if (m_state == State::Insert) {
            record = m_handle->append(m_buffer);
        } else {
            std::vector<std::pair<int, dbf::Value>> changes;
            for (int c = 0; c < m_fields.size(); ++c) {
                if (m_changed[size_t(c)])
                    changes.emplace_back(c, m_buffer[size_t(c)]);
            }
            if (!changes.empty())
                m_handle->update(record, changes);
        }
        return 0;
    });
    m_state = State::Browse;
    m_buffer.clear();
    m_changed.clear();
    m_editRecord = -1;
    refresh(record);
}

void TableCursor::cancel()
{
    if (m_state == State::Edit || m_state == State::Insert) {
        m_state = State::Browse;
        m_buffer.clear();
        m_changed.clear();
        m_editRecord = -1;
    }
}

void TableCursor::deleteRecord()
{
    requireOpen();
    cancel();
    const int source = currentSource();
    if (source < 0)
        throw SqlError(QStringLiteral("Nu exista o inregistrare curenta de sters."));
    const int position = recNo() - 1;
    guarded([&] {
        m_handle->remove(m_records[size_t(source)]);
        return 0;
    });
    refresh(std::nullopt);
    // Stay at the row that took the deleted one's place.
    first();
    for (int i = 0; i < position && !eof(); ++i)
        next();
    if (eof() && !isEmpty())
        last();
}

void TableCursor::pack()
{
    requireExclusive("Pack");
    cancel();
    guarded([&] {
        m_handle->pack();
        return 0;
    });
    refresh(std::nullopt);
}

void TableCursor::changeNumericField(const QString& column, int width, int decimals)
{
    requireExclusive("de schimbare a coloanei");
    cancel();
    const int index = m_handle->table().fieldIndex(column);
    if (index < 0)
        throw SqlError(QStringLiteral("Tabelul \"%1\" nu are coloana %2.").arg(m_handle->table().fileName(), column));
    if (!m_handle->table().fields()[index].isNumeric())
        throw SqlError(QStringLiteral("Coloana %1 nu este numerica.").arg(column));
    // A column that has the layout already is left as it is: nothing is written.
    const dbf::Field& current = m_handle->table().fields()[index];
    if (current.width == width && current.decimals == decimals)
        return;
    QList<dbf::FieldSpec> specs;
    for (const dbf::Field& f : m_handle->table().fields())
        specs.append(f.declaration());
    specs[index].width = width;
    specs[index].decimals = decimals;
    guarded([&] {
        m_handle->restructure(specs);
        return 0;
    });
    describeFields();
    refresh(std::nullopt);
}

}
