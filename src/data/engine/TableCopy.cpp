#include "data/engine/TableCopy.h"

#include "data/engine/Query.h"
#include "data/engine/SqlError.h"
#include "data/engine/TableCursor.h"

namespace velmor::engine {

void CopiazaInTabel(Query& source, Engine& engine, const QString& tablePath, int n,
                    const std::function<void()>& pending)
{
    if (!source.active())
        source.open();
    if (pending)
        pending();
    source.first();

    TableCursor table(engine);
    table.setTableName(tablePath);
    table.open();
    if (pending)
        pending();
    const int fields = n != 0 ? std::min(n, table.fieldCount()) : table.fieldCount();

    // The source column of each table field, looked up once.
    std::vector<int> from;
    for (int f = 0; f < fields; ++f) {
        const QString& name = table.fieldDef(f).name;
        const int column = source.fieldIndex(name);
        if (column < 0)
            throw SqlError(QStringLiteral("Campul %1 nu exista in datele copiate.").arg(name));
        from.push_back(column);
    }

    for (; !source.eof(); source.next()) {
        table.append();
        for (int f = 0; f < fields; ++f)
            table.field(f).setString(source.field(from[size_t(f)]).asString());
        try {
            table.post();
        } catch (...) {
            table.cancel();
            throw;
        }
        if (pending)
            pending();
    }
    table.close();
    source.close();
}

}
