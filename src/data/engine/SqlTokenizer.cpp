#include "data/engine/SqlTokenizer.h"

#include "data/engine/SqlError.h"

namespace velmor::engine {

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('#');
}

}

QList<SqlToken> tokenizeSql(const QString& sql)
{
    QList<SqlToken> tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        SqlToken t;
        if (c.isSpace()) {
            qsizetype j = i;
            while (j < n && sql[j].isSpace())
                ++j;
            t.kind = SqlToken::Space;
            t.text = sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            qsizetype j = i + 1;
            QString value;
            bool closed = false;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        value += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                value += sql[j++];
            }
            if (!closed)
                throw SqlError(QStringLiteral("Ghilimele neinchise in instructiunea SQL: %1").arg(sql.mid(i, 60)));
            t.kind = c == QLatin1Char('"') ? SqlToken::DoubleQuoted : SqlToken::SingleQuoted;
            t.text = value;
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && isWordStart(sql[i + 1])) {
            qsizetype j = i + 2;
            while (j < n && isWordPart(sql[j]))
                ++j;
            t.kind = SqlToken::Parameter;
            t.text = sql.mid(i, j - i);
            i = j;
        } else if (isWordStart(c)) {
            qsizetype j = i + 1;
            while (j < n && isWordPart(sql[j]))
                ++j;
            t.kind = SqlToken::Word;
            t.text = sql.mid(i, j - i);
            i = j;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && sql[i + 1].isDigit())) {
            qsizetype j = i;
            while (j < n && (sql[j].isDigit() || sql[j] == QLatin1Char('.')))
                ++j;
            if (j < n && (sql[j] == QLatin1Char('e') || sql[j] == QLatin1Char('E'))) {
                qsizetype k = j + 1;
                if (k < n && (sql[k] == QLatin1Char('+') || sql[k] == QLatin1Char('-')))
                    ++k;
                if (k < n && sql[k].isDigit()) {
                    j = k;
                    while (j < n && sql[j].isDigit())
                        ++j;
                }
            }
            t.kind = SqlToken::Number;
            t.text = sql.mid(i, j - i);
            i = j;
        } else {
            static const char* const pairs[] = {"<>", "<=", ">=", "!=", "||", "=="};
            t.kind = SqlToken::Symbol;
            t.text = QString(c);
            for (const char* p : pairs) {
                if (i + 1 < n && sql[i] == QLatin1Char(p[0]) && sql[i + 1] == QLatin1Char(p[1])) {
                    t.text = QString::fromLatin1(p, 2);
                    break;
                }
            }
            i += t.text.size();
        }
        tokens.append(t);
    }
    return tokens;
}

QString sqliteLiteral(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

}
