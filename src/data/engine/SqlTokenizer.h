#pragma once

#include <QList>
#include <QString>

namespace velmor::engine {

struct SqlToken {
    enum Kind { Space, Word, Number, DoubleQuoted, SingleQuoted, Symbol, Parameter };
    Kind kind = Space;
    // Source text; for quoted tokens the value without quotes and with doubled quotes undone; for a
    // parameter ":NAME" as written.
    QString text;

    bool isWord(const char* upper) const { return kind == Word && text.compare(QLatin1String(upper), Qt::CaseInsensitive) == 0; }
    bool isSymbol(const char* s) const { return kind == Symbol && text == QLatin1String(s); }
};

// Splits a statement of the program's dialect into tokens, keeping the blanks between them.
// Throws SqlError for a quote that is never closed.
QList<SqlToken> tokenizeSql(const QString& sql);

// A text as a single-quoted SQLite literal.
QString sqliteLiteral(const QString& text);

}
