#pragma once

#include "data/dbf/DbfValue.h"

#include <QString>

#include <functional>
#include <memory>

namespace velmor::engine {

// A filter text set on an open result or table: comparisons of a field with a text in single
// quotes or a number (= <> < > <= >=), AND, OR, NOT and parentheses. A text ending in "*" inside
// the quotes matches every value that starts with the text before it; inside the quotes "\*" is a
// literal star and "\\" a backslash (filterText() writes values so). Comparisons are
// case-sensitive; field names are not.
class ClientFilter {
public:
    struct Node;
    // Field name -> column number (-1 when absent).
    using ColumnOf = std::function<int(const QString&)>;
    // Column number -> value of the current row.
    using ValueOf = std::function<dbf::Value(int)>;

    // Parses the text; throws SqlError for a malformed filter or an unknown field.
    ClientFilter(const QString& text, const ColumnOf& columnOf);
    ~ClientFilter();
    ClientFilter(ClientFilter&&) noexcept;
    ClientFilter& operator=(ClientFilter&&) noexcept;

    bool matches(const ValueOf& valueOf) const;
    bool isEmpty() const { return !m_root; }

private:
    std::unique_ptr<Node> m_root;
};

}
