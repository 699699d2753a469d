#include "data/engine/ClientFilter.h"

#include "data/dbf/ValueConversions.h"

#include "data/dbf/CodePage1250.h"

#include "data/engine/SqlError.h"
#include "data/engine/SqlTokenizer.h"

#include <QList>

#include <cmath>

namespace velmor::engine {

struct ClientFilter::Node {
    enum Kind { And, Or, Not, Compare } kind = Compare;
    std::unique_ptr<Node> left, right;
    // Compare: column op constant
    int column = -1;
    QString op;
    bool constantIsText = false;
    QString text;
    double number = 0;
    bool prefix = false;
};

namespace {

// A value compared as a number: a stored number, null as 0, or a text that reads as one.
bool numberOf(const dbf::Value& v, double& out)
{
    if (dbf::storedNumber(v, out))
        return true;
    if (std::holds_alternative<std::monostate>(v)) {
        out = 0;
        return true;
    }
    if (const auto* s = std::get_if<QString>(&v)) {
        bool ok = false;
        out = s->trimmed().toDouble(&ok);
        return ok;
    }
    return false;
}

template <typename T>
bool compare(const T& a, const T& b, const QString& op)
{
    if (op == QLatin1String("="))
        return a == b;
    if (op == QLatin1String("<>") || op == QLatin1String("!="))
        return a != b;
    if (op == QLatin1String("<"))
        return a < b;
    if (op == QLatin1String(">"))
        return a > b;
    if (op == QLatin1String("<="))
        return a <= b;
    return a >= b;
}

// The value of a quoted filter text: "\*" is a star and "\\" a backslash; an unescaped "*" at the
// end asks for a prefix match. Any other backslash stays as it is.
QString unescapeText(const QString& raw, bool& prefix)
{
    QString text;
    text.reserve(raw.size());
    prefix = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw[i];
        if (c == QLatin1Char('\\') && i + 1 < raw.size()
            && (raw[i + 1] == QLatin1Char('\\') || raw[i + 1] == QLatin1Char('*'))) {
            text += raw[++i];
        } else if (c == QLatin1Char('*') && i == raw.size() - 1) {
            prefix = true;
        } else {
            text += c;
        }
    }
    return text;
}

class Parser {
public:
    Parser(const QString& text, const ClientFilter::ColumnOf& columnOf)
        : m_columnOf(columnOf)
    {
        for (const SqlToken& t : tokenizeSql(text)) {
            if (t.kind != SqlToken::Space)
                m_tokens.append(t);
        }
    }

    std::unique_ptr<ClientFilter::Node> parse()
    {
        if (m_tokens.isEmpty())
            return nullptr;
        auto node = parseOr();
        if (m_i != m_tokens.size())
            fail(QStringLiteral("text neasteptat \"%1\"").arg(m_tokens[m_i].text));
        return node;
    }

private:
    using NodePtr = std::unique_ptr<ClientFilter::Node>;

    [[noreturn]] void fail(const QString& what) const
    {
        throw SqlError(QStringLiteral("Filtru gresit: %1.").arg(what));
    }
    bool atWord(const char* w) const { return m_i < m_tokens.size() && m_tokens[m_i].isWord(w); }

    NodePtr binary(ClientFilter::Node::Kind kind, NodePtr left, NodePtr right)
    {
        auto node = std::make_unique<ClientFilter::Node>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    NodePtr parseOr()
    {
        NodePtr left = parseAnd();
        while (atWord("OR")) {
            ++m_i;
            left = binary(ClientFilter::Node::Or, std::move(left), parseAnd());
        }
        return left;
    }

    NodePtr parseAnd()
    {
        NodePtr left = parseNot();
        while (atWord("AND")) {
            ++m_i;
            left = binary(ClientFilter::Node::And, std::move(left), parseNot());
        }
        return left;
    }

    NodePtr parseNot()
    {
        if (atWord("NOT")) {
            ++m_i;
            return binary(ClientFilter::Node::Not, parseNot(), nullptr);
        }
        if (m_i < m_tokens.size() && m_tokens[m_i].isSymbol("(")) {
            ++m_i;
            NodePtr inner = parseOr();
            if (m_i >= m_tokens.size() || !m_tokens[m_i].isSymbol(")"))
                fail(QStringLiteral("lipseste \")\""));
            ++m_i;
            return inner;
        }
        return parseComparison();
    }

    NodePtr parseComparison()
    {
        if (m_i + 2 >= m_tokens.size())
            fail(QStringLiteral("comparatie incompleta"));
        const SqlToken a = m_tokens[m_i];
        const SqlToken op = m_tokens[m_i + 1];
        const SqlToken b = m_tokens[m_i + 2];
        m_i += 3;
        static const QStringList ops = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("!="),
                                        QStringLiteral("<"), QStringLiteral(">"), QStringLiteral("<="),
                                        QStringLiteral(">=")};
        if (op.kind != SqlToken::Symbol || !ops.contains(op.text))
            fail(QStringLiteral("operator necunoscut \"%1\"").arg(op.text));
        auto node = std::make_unique<ClientFilter::Node>();
        node->kind = ClientFilter::Node::Compare;
        const bool fieldFirst = a.kind == SqlToken::Word || a.kind == SqlToken::DoubleQuoted;
        const SqlToken& field = fieldFirst ? a : b;
        const SqlToken& constant = fieldFirst ? b : a;
        node->op = op.text;
        if (!fieldFirst) {
            // Constant on the left: mirror the operator.
            if (node->op == QLatin1String("<"))
                node->op = QStringLiteral(">");
            else if (node->op == QLatin1String(">"))
                node->op = QStringLiteral("<");
            else if (node->op == QLatin1String("<="))
                node->op = QStringLiteral(">=");
            else if (node->op == QLatin1String(">="))
                node->op = QStringLiteral("<=");
        }
        if (field.kind != SqlToken::Word && field.kind != SqlToken::DoubleQuoted)
            fail(QStringLiteral("se astepta un camp in loc de \"%1\"").arg(field.text));
        node->column = m_columnOf(field.text);
        if (node->column < 0)
            fail(QStringLiteral("campul %1 nu exista").arg(field.text));
        if (constant.kind == SqlToken::SingleQuoted) {
            node->constantIsText = true;
            node->text = dbf::cp1250::storedForm(unescapeText(constant.text, node->prefix));
        } else if (constant.kind == SqlToken::Number) {
            node->number = constant.text.toDouble();
            node->text = constant.text;
        } else if (constant.kind == SqlToken::Symbol && constant.text == QLatin1String("-") && m_i < m_tokens.size()
                   && m_tokens[m_i].kind == SqlToken::Number) {
            node->number = -m_tokens[m_i].text.toDouble();
            node->text = QLatin1Char('-') + m_tokens[m_i].text;
            ++m_i;
        } else {
            fail(QStringLiteral("valoare necunoscuta \"%1\"").arg(constant.text));
        }
        return node;
    }

    const ClientFilter::ColumnOf& m_columnOf;
    QList<SqlToken> m_tokens;
    int m_i = 0;
};

bool evaluate(const ClientFilter::Node& node, const ClientFilter::ValueOf& valueOf)
{
    switch (node.kind) {
    case ClientFilter::Node::And:
        return evaluate(*node.left, valueOf) && evaluate(*node.right, valueOf);
    case ClientFilter::Node::Or:
        return evaluate(*node.left, valueOf) || evaluate(*node.right, valueOf);
    case ClientFilter::Node::Not:
        return !evaluate(*node.left, valueOf);
    case ClientFilter::Node::Compare:
        break;
    }
    const dbf::Value value = valueOf(node.column);
    if (node.constantIsText) {
        const QString text = dbf::toFilterText(value);
        if (node.prefix) {
            const bool starts = text.startsWith(node.text, Qt::CaseSensitive);
            if (node.op == QLatin1String("="))
                return starts;
            if (node.op == QLatin1String("<>") || node.op == QLatin1String("!="))
                return !starts;
        }
        return compare(text, node.text, node.op);
    }
    double number = 0;
    if (!numberOf(value, number))
        return compare(dbf::toFilterText(value), node.text, node.op);
    return compare(number, node.number, node.op);
}

}

ClientFilter::ClientFilter(const QString& text, const ColumnOf& columnOf)
    : m_root(Parser(text, columnOf).parse())
{
}

ClientFilter::~ClientFilter() = default;
ClientFilter::ClientFilter(ClientFilter&&) noexcept = default;
ClientFilter& ClientFilter::operator=(ClientFilter&&) noexcept = default;

bool ClientFilter::matches(const ValueOf& valueOf) const
{
    return !m_root || evaluate(*m_root, valueOf);
}

}
