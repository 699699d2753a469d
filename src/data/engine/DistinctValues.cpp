#include "data/engine/DistinctValues.h"

#include "core/Interaction.h"

#include "data/engine/Query.h"
#include "data/engine/SqlText.h"


namespace velmor::engine {

QStringList ValoriDistincte(Query& query, const QString& table, const QString& column, const QString& condition,
                            const Parameters& parameters, Interaction* ui)
{
    QueryRst(query);
    query.add(QStringLiteral("SELECT DISTINCT ") + column);
    query.add(QStringLiteral("FROM ") + quotedPath(table));
    if (!condition.isEmpty())
        query.add(QStringLiteral("WHERE ") + condition);
    query.add(QStringLiteral("ORDER BY ") + column);
    for (const QString& name : parameters.names())
        query.bind(name, *parameters.find(name));
    query.open();
    if (ui)
        ui->processEvents();
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

}
