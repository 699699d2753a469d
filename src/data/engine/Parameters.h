#pragma once

#include "data/dbf/DbfValue.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace velmor::engine {

// Values bound to the ":NAME" parameters of a statement. Names are kept without the colon and in
// upper case, so ":Nume" and ":NUME" are one parameter.
class Parameters {
public:
    void bind(const QString& name, const dbf::Value& value) { m_values.insert(key(name), value); }
    void clear() { m_values.clear(); }
    bool isEmpty() const { return m_values.isEmpty(); }
    const dbf::Value* find(const QString& name) const
    {
        auto it = m_values.constFind(key(name));
        return it == m_values.cend() ? nullptr : &*it;
    }
    QStringList names() const { return m_values.keys(); }

    static QString key(const QString& name)
    {
        return (name.startsWith(QLatin1Char(':')) ? name.mid(1) : name).toUpper();
    }

private:
    QMap<QString, dbf::Value> m_values;
};

}
