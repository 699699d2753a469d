#include "mainwin/IncarcaCombo.h"

#include "data/engine/Query.h"

#include <QComboBox>
#include <QCoreApplication>

namespace velmor {

QStringList ValoriDistincte(engine::Query& query, const QString& table, const QString& column,
                            const QString& condition)
{
    engine::QueryRst(query);
    query.add(QStringLiteral("SELECT DISTINCT ") + column);
    query.add(QStringLiteral("FROM \"") + table + QLatin1Char('"'));
    if (!condition.isEmpty())
        query.add(QStringLiteral("WHERE ") + condition);
    query.add(QStringLiteral("ORDER BY ") + column);
    query.open();
    QCoreApplication::processEvents();
    QStringList values;
    query.first();
    while (!query.eof()) {
        const QString value = query.fieldByName(column).asString();
        if (!value.trimmed().isEmpty())
            values << value;
        query.next();
    }
    query.close();
    return values;
}

void IncarcaCombo(QComboBox* box, engine::Query& query, const QString& table, const QString& column,
                  const QString& condition)
{
    const QStringList values = ValoriDistincte(query, table, column, condition);
    if (!box)
        return;
    box->addItems(values);
    box->setCurrentIndex(box->count() > 0 ? 0 : -1);
}

}
