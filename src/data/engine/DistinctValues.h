#pragma once

#include "data/engine/Parameters.h"

#include <QString>
#include <QStringList>

namespace velmor {
class Interaction;
}

namespace velmor::engine {

class Query;

// The distinct non-blank values of a column, ordered by it: "SELECT DISTINCT column",
// "FROM" the quoted table path, "WHERE condition" when one is given, "ORDER BY column". The
// condition is statement text; values in it are ":NAME" parameters given in `parameters`. Each
// value is kept as read; one whose trimmed form is empty is skipped. Resets the query first and
// closes it afterwards. Between reading and listing the values, `ui` (when given) lets windows
// repaint. Statement errors propagate.
QStringList ValoriDistincte(Query& query, const QString& table, const QString& column, const QString& condition,
                            const Parameters& parameters = {}, Interaction* ui = nullptr);

}
