#pragma once

#include <QString>

namespace velmor::engine {

// The only places where statement or filter text is built from values. Everything a user typed
// reaches a statement as a bound parameter (Query::bind); these quote what cannot be bound.

// A table path for a statement: in double quotes, the platform's separators, a quote inside doubled.
QString quotedPath(const QString& path);

// A text constant for a client-side filter: in single quotes, a quote inside doubled, backslashes
// and stars escaped so the value matches exactly. With `prefix` the filter matches every value
// that starts with the text.
QString filterText(const QString& value, bool prefix = false);

}
