#pragma once

#include <QString>

#include <functional>

namespace velmor::engine {

class Engine;
class Query;

// Appends every row of `source` to the table at `tablePath`: for each of the table's first `n`
// fields (all of them when `n` is 0), in field order, the value of the source field of the same
// name, carried over as text. The source is opened when it is not, and closed at the end.
// `pending` runs after each row (the window lets pending messages through). Throws SqlError,
// also when the source lacks one of the fields; rows already posted stay.
void CopiazaInTabel(Query& source, Engine& engine, const QString& tablePath, int n,
                    const std::function<void()>& pending = {});

}
