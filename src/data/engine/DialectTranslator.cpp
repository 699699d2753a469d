#include "data/engine/DialectTranslator.h"

#include "data/dbf/CodePage1250.h"
#include "data/engine/SqlError.h"
#include "data/engine/SqlTokenizer.h"

#include <QSet>

namespace velmor::engine {

namespace {

using Tokens = QList<SqlToken>;

// Words that end a table reference (never an alias).
bool isClauseWord(const SqlToken& t)
{
    static const QSet<QString> words = {
        QStringLiteral("WHERE"), QStringLiteral("GROUP"), QStringLiteral("ORDER"), QStringLiteral("HAVING"),
        QStringLiteral("UNION"), QStringLiteral("LEFT"), QStringLiteral("RIGHT"), QStringLiteral("INNER"),
        QStringLiteral("OUTER"), QStringLiteral("JOIN"), QStringLiteral("ON"), QStringLiteral("SET"),
        QStringLiteral("VALUES"), QStringLiteral("SELECT"), QStringLiteral("FULL"), QStringLiteral("CROSS"),
        QStringLiteral("LIMIT"), QStringLiteral("AS"), QStringLiteral("NATURAL"), QStringLiteral("USING"),
        QStringLiteral("EXCEPT"), QStringLiteral("INTERSECT"),
    };
    return t.kind == SqlToken::Word && words.contains(t.text.toUpper());
}

bool endsFromList(const SqlToken& t)
{
    return t.isWord("WHERE") || t.isWord("GROUP") || t.isWord("ORDER") || t.isWord("HAVING")
        || t.isWord("UNION") || t.isWord("LIMIT") || t.isWord("EXCEPT") || t.isWord("INTERSECT");
}

int nextSignificant(const Tokens& tokens, int from)
{
    int i = from;
    while (i < tokens.size() && tokens[i].kind == SqlToken::Space)
        ++i;
    return i;
}

// Index of the ")" matching the "(" at `open`, or -1.
int matchingParen(const Tokens& tokens, int open)
{
    int depth = 0;
    for (int i = open; i < tokens.size(); ++i) {
        if (tokens[i].isSymbol("("))
            ++depth;
        else if (tokens[i].isSymbol(")") && --depth == 0)
            return i;
    }
    return -1;
}

// A text literal as the files hold it (comma-below letters in their stored cedilla forms).
QString literal(const QString& text)
{
    return sqliteLiteral(dbf::cp1250::storedForm(text));
}

class Translator {
public:
    explicit Translator(const std::function<QString(const QString&)>& tableName)
        : m_tableName(tableName)
    {
    }

    QString translate(const Tokens& tokens) const
    {
        QString out;
        bool expectTable = false;
        bool updateTarget = false;
        bool afterTable = false;
        int depth = 0;
        QList<int> fromDepths;
        for (int i = 0; i < tokens.size(); ++i) {
            const SqlToken& t = tokens[i];
            if (t.kind == SqlToken::Space) {
                out += t.text;
                continue;
            }
            if (afterTable) {
                afterTable = false;
                if (t.kind == SqlToken::Word && !isClauseWord(t)) {
                    // Alias of the table just written.
                    if (updateTarget)
                        out += QStringLiteral("AS ");
                    out += t.text;
                    updateTarget = false;
                    continue;
                }
                updateTarget = false;
            }
            if (t.kind == SqlToken::DoubleQuoted) {
                if (expectTable) {
                    out += m_tableName(t.text);
                    expectTable = false;
                    afterTable = true;
                } else {
                    out += literal(t.text);
                }
                continue;
            }
            expectTable = false;
            switch (t.kind) {
            case SqlToken::SingleQuoted:
                out += literal(t.text);
                break;
            case SqlToken::Word:
                if (t.isWord("SUBSTRING") || t.isWord("SUBSTR")) {
                    const int open = nextSignificant(tokens, i + 1);
                    if (open < tokens.size() && tokens[open].isSymbol("(")) {
                        const int close = matchingParen(tokens, open);
                        if (close < 0)
                            throw SqlError(QStringLiteral("Paranteza neinchisa dupa SUBSTRING."));
                        out += substring(tokens.mid(open + 1, close - open - 1));
                        i = close;
                        break;
                    }
                }
                if (t.isWord("FROM")) {
                    fromDepths.append(depth);
                    expectTable = true;
                } else if (t.isWord("JOIN") || t.isWord("INTO") || t.isWord("TABLE")) {
                    expectTable = true;
                } else if (t.isWord("UPDATE")) {
                    expectTable = true;
                    updateTarget = true;
                } else if (!fromDepths.isEmpty() && fromDepths.last() == depth && endsFromList(t)) {
                    fromDepths.removeLast();
                }
                out += t.text;
                break;
            case SqlToken::Symbol:
                if (t.isSymbol("(")) {
                    ++depth;
                } else if (t.isSymbol(")")) {
                    --depth;
                    while (!fromDepths.isEmpty() && fromDepths.last() > depth)
                        fromDepths.removeLast();
                } else if (t.isSymbol(",") && !fromDepths.isEmpty() && fromDepths.last() == depth) {
                    expectTable = true;
                }
                // Division is always real division.
                out += t.isSymbol("/") ? QStringLiteral("*1.0/") : t.text;
                break;
            default:
                out += t.text;
                break;
            }
        }
        return out;
    }

private:
    // SUBSTRING(x FROM a FOR b) -> substr(x, a, b); SUBSTRING(x, a, b) stays a call.
    QString substring(const Tokens& inner) const
    {
        int depth = 0;
        int fromAt = -1;
        int forAt = -1;
        for (int i = 0; i < inner.size(); ++i) {
            if (inner[i].isSymbol("("))
                ++depth;
            else if (inner[i].isSymbol(")"))
                --depth;
            else if (depth == 0 && inner[i].isWord("FROM") && fromAt < 0)
                fromAt = i;
            else if (depth == 0 && inner[i].isWord("FOR") && forAt < 0)
                forAt = i;
        }
        if (fromAt < 0)
            return QStringLiteral("substr(") + translate(inner) + QLatin1Char(')');
        QString out = QStringLiteral("substr(") + translate(inner.mid(0, fromAt)) + QStringLiteral(", ");
        if (forAt > fromAt) {
            out += translate(inner.mid(fromAt + 1, forAt - fromAt - 1)) + QStringLiteral(", ")
                + translate(inner.mid(forAt + 1));
        } else {
            out += translate(inner.mid(fromAt + 1));
        }
        return out + QLatin1Char(')');
    }

    const std::function<QString(const QString&)>& m_tableName;
};

// Significant tokens only, for the data definition statements.
Tokens significant(const Tokens& tokens)
{
    Tokens out;
    for (const SqlToken& t : tokens) {
        if (t.kind != SqlToken::Space)
            out.append(t);
    }
    return out;
}

class DefinitionParser {
public:
    explicit DefinitionParser(const Tokens& tokens)
        : m_t(tokens)
    {
    }

    bool atEnd() const { return m_i >= m_t.size() || (m_t[m_i].isSymbol(";") && m_i == m_t.size() - 1); }
    const SqlToken& peek() const
    {
        static const SqlToken none;
        return m_i < m_t.size() ? m_t[m_i] : none;
    }
    SqlToken take()
    {
        if (m_i >= m_t.size())
            throw SqlError(QStringLiteral("Instructiune SQL incompleta."));
        return m_t[m_i++];
    }
    void expectWord(const char* word)
    {
        const SqlToken t = take();
        if (!t.isWord(word))
            throw SqlError(QStringLiteral("Se astepta %1 in loc de \"%2\".").arg(QLatin1String(word), t.text));
    }
    void expectSymbol(const char* symbol)
    {
        const SqlToken t = take();
        if (!t.isSymbol(symbol))
            throw SqlError(QStringLiteral("Se astepta \"%1\" in loc de \"%2\".").arg(QLatin1String(symbol), t.text));
    }
    QString path()
    {
        const SqlToken t = take();
        if (t.kind != SqlToken::DoubleQuoted && t.kind != SqlToken::Word)
            throw SqlError(QStringLiteral("Se astepta numele tabelului in loc de \"%1\".").arg(t.text));
        return t.text;
    }
    QString name()
    {
        const SqlToken t = take();
        if (t.kind != SqlToken::Word && t.kind != SqlToken::DoubleQuoted)
            throw SqlError(QStringLiteral("Se astepta un nume de coloana in loc de \"%1\".").arg(t.text));
        return t.text;
    }
    int number()
    {
        const SqlToken t = take();
        bool ok = false;
        const int n = t.text.toInt(&ok);
        if (t.kind != SqlToken::Number || !ok)
            throw SqlError(QStringLiteral("Se astepta un numar in loc de \"%1\".").arg(t.text));
        return n;
    }
    dbf::FieldSpec column()
    {
        const QString columnName = name();
        const SqlToken type = take();
        if (type.kind != SqlToken::Word)
            throw SqlError(QStringLiteral("Tip de coloana necunoscut: \"%1\".").arg(type.text));
        int width = 0;
        int decimals = 0;
        bool hasSize = false;
        if (peek().isSymbol("(")) {
            take();
            hasSize = true;
            width = number();
            if (peek().isSymbol(",")) {
                take();
                decimals = number();
            }
            expectSymbol(")");
        }
        return parseColumnType(columnName, type.text, width, decimals, hasSize);
    }

private:
    const Tokens& m_t;
    int m_i = 0;
};

Statement parseDefinition(const Tokens& all, Statement::Kind kind)
{
    const Tokens tokens = significant(all);
    DefinitionParser p(tokens);
    Statement s;
    s.kind = kind;
    switch (kind) {
    case Statement::CreateTable:
        p.expectWord("CREATE");
        p.expectWord("TABLE");
        s.path = p.path();
        p.expectSymbol("(");
        for (;;) {
            s.columns.append(p.column());
            const SqlToken t = p.take();
            if (t.isSymbol(")"))
                break;
            if (!t.isSymbol(","))
                throw SqlError(QStringLiteral("Se astepta \",\" sau \")\" in loc de \"%1\".").arg(t.text));
        }
        break;
    case Statement::CreateIndex:
        p.expectWord("CREATE");
        if (p.peek().isWord("UNIQUE"))
            p.take();
        p.expectWord("INDEX");
        s.indexName = p.name();
        p.expectWord("ON");
        s.path = p.path();
        p.expectSymbol("(");
        s.indexColumn = p.name();
        p.expectSymbol(")");
        break;
    case Statement::AlterTable: {
        p.expectWord("ALTER");
        p.expectWord("TABLE");
        s.path = p.path();
        bool adding = true;
        for (;;) {
            if (p.peek().isWord("ADD")) {
                p.take();
                adding = true;
                if (p.peek().isWord("COLUMN"))
                    p.take();
            } else if (p.peek().isWord("DROP")) {
                p.take();
                adding = false;
                if (p.peek().isWord("COLUMN"))
                    p.take();
            }
            if (adding)
                s.columns.append(p.column());
            else
                s.dropColumns.append(p.name());
            if (p.atEnd())
                break;
            p.expectSymbol(",");
        }
        break;
    }
    case Statement::DropTable:
        p.expectWord("DROP");
        p.expectWord("TABLE");
        s.path = p.path();
        break;
    default:
        break;
    }
    if (!p.atEnd())
        throw SqlError(QStringLiteral("Text neasteptat la sfarsitul instructiunii: \"%1\".").arg(p.peek().text));
    return s;
}

}

dbf::FieldSpec parseColumnType(const QString& name, const QString& type, int width, int decimals, bool hasSize)
{
    const QString t = type.toUpper();
    dbf::FieldSpec column;
    column.name = name;
    if (t == QLatin1String("DECIMAL") || t == QLatin1String("NUMERIC") || t == QLatin1String("NUMBER")) {
        column.type = 'N';
        column.width = hasSize ? width : 15;
        column.decimals = hasSize ? decimals : 0;
        // The declared width counts the digits; the point takes one more place in the file.
        if (column.decimals > 0 && column.decimals >= column.width - 1)
            column.width = column.decimals + 2;
    } else if (t == QLatin1String("CHAR") || t == QLatin1String("CHARACTER") || t == QLatin1String("VARCHAR")) {
        column.type = 'C';
        column.width = hasSize ? width : 1;
    } else if (t == QLatin1String("DATE")) {
        column.type = 'D';
        column.width = 8;
    } else if (t == QLatin1String("BLOB") || t == QLatin1String("MEMO")) {
        column.type = 'M';
        column.width = 10;
    } else if (t == QLatin1String("BOOLEAN") || t == QLatin1String("LOGICAL")) {
        column.type = 'L';
        column.width = 1;
    } else if (t == QLatin1String("SMALLINT")) {
        column.type = 'N';
        column.width = 6;
    } else if (t == QLatin1String("INTEGER") || t == QLatin1String("INT")) {
        column.type = 'N';
        column.width = 11;
    } else if (t == QLatin1String("FLOAT") || t == QLatin1String("DOUBLE") || t == QLatin1String("MONEY")) {
        column.type = 'N';
        column.width = hasSize ? width : 20;
        column.decimals = hasSize ? decimals : 4;
    } else {
        throw SqlError(QStringLiteral("Tip de coloana necunoscut: %1 (coloana %2).").arg(type, name));
    }
    return column;
}

Statement translateStatement(const QString& text, const std::function<QString(const QString&)>& tableName)
{
    Tokens tokens = tokenizeSql(text);
    // One statement per call; a single ";" may end it.
    for (int i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].isSymbol(";"))
            continue;
        const int after = nextSignificant(tokens, i + 1);
        if (after < tokens.size())
            throw SqlError(QStringLiteral("Textul trimis are mai multe instructiuni separate de \";\" (a doua incepe cu \"%1\"); "
                                          "se trimite cate o instructiune.")
                               .arg(tokens[after].text));
        tokens.remove(i, tokens.size() - i);
        break;
    }
    const Tokens words = significant(tokens);
    if (words.isEmpty())
        throw SqlError(QStringLiteral("Instructiunea SQL este goala."));
    const SqlToken& first = words[0];
    const SqlToken second = words.size() > 1 ? words[1] : SqlToken {};
    if (first.isWord("CREATE") && second.isWord("TABLE"))
        return parseDefinition(tokens, Statement::CreateTable);
    if (first.isWord("CREATE") && (second.isWord("INDEX") || second.isWord("UNIQUE")))
        return parseDefinition(tokens, Statement::CreateIndex);
    if (first.isWord("ALTER") && second.isWord("TABLE"))
        return parseDefinition(tokens, Statement::AlterTable);
    if (first.isWord("DROP") && second.isWord("TABLE"))
        return parseDefinition(tokens, Statement::DropTable);

    Statement s;
    if (first.isWord("SELECT") || first.isSymbol("("))
        s.kind = Statement::Select;
    else if (first.isWord("INSERT") || first.isWord("UPDATE") || first.isWord("DELETE"))
        s.kind = Statement::Change;
    else
        throw SqlError(QStringLiteral("Instructiune SQL necunoscuta: %1").arg(first.text));
    s.sql = Translator(tableName).translate(tokens);
    return s;
}

}
