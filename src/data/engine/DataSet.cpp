#include "data/engine/DataSet.h"

#include "data/dbf/ValueConversions.h"

#include "data/dbf/DbfValue.h"
#include "data/engine/SqlError.h"

#include <cmath>

namespace velmor::engine {

namespace {

bool sameValue(const dbf::Value& a, const dbf::Value& b)
{
    const auto number = dbf::storedNumber;
    double x, y;
    if (number(a, x) && number(b, y))
        return std::fabs(x - y) < 1e-9;
    if (const auto* s = std::get_if<QString>(&b)) {
        if (const auto* t = std::get_if<QString>(&a))
            return *s == *t;
        if (dbf::isNull(a))
            return s->isEmpty();
        if (number(a, x)) {
            bool ok = false;
            y = s->toDouble(&ok);
            return ok && std::fabs(x - y) < 1e-9;
        }
    }
    return a == b;
}

}

const QString& FieldRef::name() const { return m_set->fieldDef(m_column).name; }
FieldType FieldRef::type() const { return m_set->fieldDef(m_column).type; }
int FieldRef::width() const { return m_set->fieldDef(m_column).width; }
int FieldRef::decimals() const { return m_set->fieldDef(m_column).decimals; }
dbf::Value FieldRef::value() const { return m_set->currentValue(m_column); }
bool FieldRef::isNull() const { return dbf::isNull(value()); }

QString FieldRef::asString() const
{
    const dbf::Value v = value();
    if (const auto* b = std::get_if<bool>(&v))
        return *b ? QStringLiteral("True") : QStringLiteral("False");
    return dbf::toText(v);
}

double FieldRef::asFloat() const
{
    // A text that is not a number is refused here, not read as 0.
    const dbf::Value v = value();
    double number = 0;
    if (dbf::storedNumber(v, number))
        return number;
    if (const auto* b = std::get_if<bool>(&v))
        return *b ? 1 : 0;
    if (const auto* s = std::get_if<QString>(&v)) {
        bool ok = false;
        const double d = s->trimmed().toDouble(&ok);
        if (!ok && !s->trimmed().isEmpty())
            throw SqlError(QStringLiteral("\"%1\" nu este un numar (campul %2).").arg(*s, name()));
        return ok ? d : 0;
    }
    return 0;
}

qint64 FieldRef::asInteger() const
{
    const dbf::Value v = value();
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return *i;
    return qint64(std::llround(asFloat()));
}

QDate FieldRef::asDate() const
{
    return dbf::toDate(value());
}

void FieldRef::setValue(const dbf::Value& value)
{
    m_set->setCurrentValue(m_column, value);
}

int DataSet::fieldIndex(const QString& name) const
{
    const auto& f = fields();
    for (int i = 0; i < f.size(); ++i) {
        if (f[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

FieldRef DataSet::fieldByName(const QString& name)
{
    const int column = fieldIndex(name);
    if (column < 0)
        throw SqlError(QStringLiteral("Campul %1 nu exista.").arg(name));
    return FieldRef(this, column);
}

QStringList DataSet::fieldNames() const
{
    QStringList names;
    for (const auto& f : fields())
        names << f.name;
    return names;
}

void DataSet::settle()
{
    m_eof = m_view.empty() || m_position >= int(m_view.size());
    m_bof = m_view.empty() || m_position <= 0;
}

void DataSet::first()
{
    m_position = 0;
    settle();
    m_bof = true;
}

void DataSet::next()
{
    if (m_position < int(m_view.size()) - 1) {
        ++m_position;
        m_bof = false;
        m_eof = false;
    } else {
        m_eof = true;
    }
}

void DataSet::prior()
{
    if (m_position > 0) {
        --m_position;
        m_eof = false;
        m_bof = false;
    } else {
        m_bof = true;
    }
}

void DataSet::last()
{
    m_position = std::max(0, int(m_view.size()) - 1);
    m_bof = m_view.size() <= 1;
    m_eof = true;
}

dbf::Value DataSet::currentValue(int column) const
{
    if (m_view.empty())
        return {};
    return sourceValue(m_view[size_t(std::min<int>(m_position, int(m_view.size()) - 1))], column);
}

void DataSet::setCurrentValue(int, const dbf::Value&)
{
    throw SqlError(QStringLiteral("Rezultatul unei interogari nu poate fi modificat."));
}

void DataSet::compileFilter()
{
    m_filter.reset();
    if (m_filtered && !m_filterText.trimmed().isEmpty())
        m_filter.emplace(m_filterText, [this](const QString& name) { return fieldIndex(name); });
}

void DataSet::setFilter(const QString& text)
{
    m_filterText = text;
    m_filter.reset();
    if (m_active) {
        compileFilter();
        rebuildView();
    }
}

void DataSet::setFiltered(bool on)
{
    m_filtered = on;
    m_filter.reset();
    if (m_active) {
        compileFilter();
        rebuildView();
    }
}

void DataSet::clearView()
{
    m_view.clear();
    m_position = 0;
    m_eof = m_bof = true;
}

void DataSet::rebuildView(std::optional<int> keepSource)
{
    if (!m_filter && m_filtered && !m_filterText.trimmed().isEmpty())
        compileFilter();
    m_view.clear();
    const int count = sourceCount();
    m_view.reserve(size_t(count));
    for (int s = 0; s < count; ++s) {
        if (m_filter && !m_filter->matches([&](int column) { return sourceValue(s, column); }))
            continue;
        m_view.push_back(s);
    }
    orderView(m_view);
    m_position = 0;
    if (keepSource) {
        auto it = std::find(m_view.begin(), m_view.end(), *keepSource);
        if (it != m_view.end())
            m_position = int(it - m_view.begin());
    }
    settle();
}

bool DataSet::locate(const QStringList& names, const std::vector<dbf::Value>& values)
{
    std::vector<int> columns;
    for (const QString& n : names) {
        const int c = fieldIndex(n);
        if (c < 0)
            throw SqlError(QStringLiteral("Campul %1 nu exista.").arg(n));
        columns.push_back(c);
    }
    for (size_t i = 0; i < m_view.size(); ++i) {
        bool all = true;
        for (size_t k = 0; k < columns.size() && all; ++k)
            all = k < values.size() && sameValue(sourceValue(m_view[i], columns[k]), values[k]);
        if (all) {
            m_position = int(i);
            m_eof = false;
            m_bof = i == 0;
            return true;
        }
    }
    return false;
}

}
