#include "output/TRTFReplace.h"

#include "output/RtfText.h"
#include "services/FileAccess.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace velmor::output {

namespace {

char upperAZ(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

QByteArray upperAZ(const QByteArray& text)
{
    QByteArray out = text;
    for (char& c : out)
        c = upperAZ(c);
    return out;
}

QString withCase(const QString& value, bool upper)
{
    QString out = value;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (upper && u >= 'a' && u <= 'z')
            c = QChar(u - 'a' + 'A');
        else if (!upper && u >= 'A' && u <= 'Z')
            c = QChar(u - 'A' + 'a');
    }
    return out;
}

// The value as the placeholder's spelling in the template asks for it.
QString casedFor(const QByteArray& occurrence, const QString& value)
{
    if (occurrence.size() <= 3)
        return value;
    bool small = false;
    bool capital = false;
    for (const char c : occurrence) {
        small = small || (c >= 'a' && c <= 'z');
        capital = capital || (c >= 'A' && c <= 'Z');
    }
    QString out = value;
    if (!small)
        out = withCase(out, true);
    if (!capital)
        out = withCase(out, false);
    return out;
}

// Braces opened minus closed on a line of RTF, escaped braces left out.
int braceBalance(const QByteArray& line)
{
    int balance = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '{')
            ++balance;
        else if (line[i] == '}')
            --balance;
    }
    return balance;
}

// Whether `word` (a control word such as "\\pard") starts at `at`, not as the start of a longer one.
bool controlWordAt(const QByteArray& text, qsizetype at, const char* word)
{
    const qsizetype size = qsizetype(qstrlen(word));
    if (at < 0 || at + size > text.size() || text.mid(at, size) != word)
        return false;
    if (at > 0 && text[at - 1] == '\\' && (at < 2 || text[at - 2] != '\\'))
        return false; // an escaped backslash followed by letters
    const qsizetype next = at + size;
    return next >= text.size() || !((text[next] >= 'a' && text[next] <= 'z') || (text[next] >= 'A' && text[next] <= 'Z'));
}

// The structural braces of RTF text: +1 for "{", -1 for "}", 0 elsewhere (escaped braces and the
// character after a backslash are no braces).
std::vector<signed char> braceMarks(const QByteArray& text)
{
    std::vector<signed char> marks(size_t(text.size()), 0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\')
            ++i;
        else if (text[i] == '{')
            marks[size_t(i)] = 1;
        else if (text[i] == '}')
            marks[size_t(i)] = -1;
    }
    return marks;
}

// For every "{", the index of its "}"; for every "}", in `starts`, the index of its "{" (-1 for a
// brace without its partner; an open group ends past the text).
std::vector<qsizetype> groupEnds(const std::vector<signed char>& marks, std::vector<qsizetype>* starts)
{
    std::vector<qsizetype> ends(marks.size(), qsizetype(marks.size()));
    starts->assign(marks.size(), -1);
    std::vector<qsizetype> open;
    for (size_t i = 0; i < marks.size(); ++i) {
        if (marks[i] > 0) {
            open.push_back(qsizetype(i));
        } else if (marks[i] < 0 && !open.empty()) {
            ends[size_t(open.back())] = qsizetype(i);
            (*starts)[i] = open.back();
            open.pop_back();
        }
    }
    return ends;
}

// A document open in a word processor: LibreOffice's ".~lock.<name>#" or Word's "~$" owner file
// lies beside it.
bool heldOpen(const QFileInfo& info)
{
    const QString folder = info.absolutePath() + QLatin1Char('/');
    const QString name = info.fileName();
    return QFileInfo::exists(folder + QStringLiteral(".~lock.") + name + QLatin1Char('#'))
           || QFileInfo::exists(folder + QStringLiteral("~$") + name)
           || (name.size() > 2 && QFileInfo::exists(folder + QStringLiteral("~$") + name.mid(2)));
}

QList<QByteArray> linesOf(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

}

TRTFReplace::TRTFReplace() = default;
TRTFReplace::~TRTFReplace() = default;

bool TRTFReplace::StabilesteDest(const QString& base)
{
    for (int n = 0; n < 1000; ++n) {
        const QString path = base + QString::number(n) + QStringLiteral(".rtf");
        const QFileInfo info(path);
        if (!info.exists() && !info.isSymLink()) {
            RTFDest = path;
            return true;
        }
        if (info.isFile() && !isReadOnly(info) && !heldOpen(info) && QFile::remove(path)) {
            RTFDest = path;
            return true;
        }
    }
    m_error = QStringLiteral("Nu gasesc un nume liber pentru %1*.rtf.").arg(base);
    return false;
}

bool TRTFReplace::IncepeDocument()
{
    m_out.reset();
    if (RTFSursa.isEmpty() || RTFDest.isEmpty()) {
        m_error = QStringLiteral("Lipseste modelul sau fisierul de iesire.");
        return false;
    }
    QFile source(RTFSursa);
    if (!source.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Nu pot citi modelul %1: %2").arg(RTFSursa, source.errorString());
        return false;
    }
    const QByteArray bytes = source.readAll();
    if (bytes.trimmed().isEmpty()) {
        m_error = QStringLiteral("Modelul %1 este gol.").arg(RTFSursa);
        return false;
    }
    try {
        m_out = std::make_unique<StagedFile>(RTFDest);
    } catch (const WriteError& e) {
        m_error = e.message();
        return false;
    }
    QByteArray header;
    for (const QByteArray& line : linesOf(bytes)) {
        const qsizetype pard = line.indexOf("\\pard");
        if (pard < 0) {
            header += line + "\r\n";
            continue;
        }
        const QByteArray before = line.left(pard).trimmed();
        if (!before.isEmpty())
            header += before + "\r\n";
        break;
    }
    return write(header);
}

void TRTFReplace::GolesteLista()
{
    m_pairs.clear();
}

void TRTFReplace::Inlocuieste(const QString& placeholder, const QString& value)
{
    const QByteArray key = upperAZ(placeholder.toLatin1());
    if (key.isEmpty())
        return;
    if (!m_pairs.isEmpty() && m_pairs.back().placeholder == key)
        m_pairs.back().values << value;
    else
        m_pairs << Pair {key, {value}};
}

QByteArray TRTFReplace::replaced(const QByteArray& line, int valueIndex) const
{
    QByteArray out;
    out.reserve(line.size());
    const QByteArray upper = upperAZ(line);
    for (qsizetype i = 0; i < line.size();) {
        const Pair* match = nullptr;
        for (const Pair& pair : m_pairs) {
            if (upper[i] == pair.placeholder[0] && upper.mid(i, pair.placeholder.size()) == pair.placeholder) {
                match = &pair;
                break;
            }
        }
        if (!match) {
            out += line[i++];
            continue;
        }
        const QByteArray occurrence = line.mid(i, match->placeholder.size());
        const QString& value = match->values[std::min<qsizetype>(valueIndex, match->values.size() - 1)];
        out += rtfEscaped(value.isEmpty() ? QStringLiteral("-") : casedFor(occurrence, value));
        i += match->placeholder.size();
    }
    return out;
}

QList<TRTFReplace::Span> TRTFReplace::repeatedSpans(const QByteArray& body) const
{
    const QByteArray upper = upperAZ(body);
    const std::vector<signed char> marks = braceMarks(body);
    std::vector<qsizetype> starts;
    const std::vector<qsizetype> ends = groupEnds(marks, &starts);
    QList<Span> spans;
    for (const Pair& pair : m_pairs) {
        if (pair.values.size() < 2)
            continue;
        for (qsizetype at = upper.indexOf(pair.placeholder); at >= 0; at = upper.indexOf(pair.placeholder, at + 1)) {
            // The paragraph: from its \pard to the \par that ends it.
            qsizetype from = 0;
            for (qsizetype i = at; i >= 0; --i) {
                if (body[i] == '\\' && controlWordAt(body, i, "\\pard")) {
                    from = i;
                    break;
                }
            }
            qsizetype to = body.size();
            for (qsizetype i = at + pair.placeholder.size(); i < body.size(); ++i) {
                if (body[i] != '\\')
                    continue;
                const bool paragraph = controlWordAt(body, i, "\\par");
                const bool row = controlWordAt(body, i, "\\row");
                if (!paragraph && !row)
                    continue;
                to = i + 4;
                if (to < body.size() && body[to] == ' ')
                    ++to;
                // In a table the whole row repeats, from its \trowd.
                if (row) {
                    for (qsizetype j = at; j >= 0; --j) {
                        if (body[j] == '\\' && controlWordAt(body, j, "\\trowd")) {
                            from = std::min(from, j);
                            break;
                        }
                    }
                }
                break;
            }
            // Widened until it holds whole every group it touches, so the copies balance.
            for (bool widened = true; widened;) {
                widened = false;
                for (qsizetype i = from; i < to; ++i) {
                    if (marks[size_t(i)] > 0 && ends[size_t(i)] >= to) {
                        const qsizetype end = std::min<qsizetype>(ends[size_t(i)] + 1, body.size());
                        if (end > to) {
                            to = end;
                            widened = true;
                        }
                    } else if (marks[size_t(i)] < 0 && starts[size_t(i)] >= 0 && starts[size_t(i)] < from) {
                        from = starts[size_t(i)];
                        widened = true;
                        break;
                    }
                }
            }
            Span span {from, to, int(pair.values.size())};
            // Spans that overlap are one span, repeated as often as its first placeholder asks.
            bool merged = false;
            for (Span& other : spans) {
                if (span.from < other.to && other.from < span.to) {
                    other.from = std::min(other.from, span.from);
                    other.to = std::max(other.to, span.to);
                    merged = true;
                    break;
                }
            }
            if (!merged)
                spans << span;
        }
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.from < b.from; });
    // Merging may have joined spans that now overlap their neighbours.
    QList<Span> joined;
    for (const Span& span : spans) {
        if (!joined.isEmpty() && span.from < joined.back().to)
            joined.back().to = std::max(joined.back().to, span.to);
        else
            joined << span;
    }
    return joined;
}

bool TRTFReplace::ScrieCorp(int copies)
{
    if (!m_out) {
        m_error = QStringLiteral("Documentul nu a fost inceput.");
        return false;
    }
    QFile source(RTFSursa);
    if (!source.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Nu pot citi modelul %1: %2").arg(RTFSursa, source.errorString());
        return false;
    }
    QList<QByteArray> body = linesOf(source.readAll());
    while (!body.isEmpty() && !body.front().contains("\\pard"))
        body.removeFirst();
    if (!body.isEmpty())
        body.front() = body.front().mid(body.front().indexOf("\\pard"));

    // The body up to the document's closing brace, without empty lines.
    QByteArray kept;
    int depth = 1; // the document's own group, opened in the header
    for (QByteArray line : body) {
        depth += braceBalance(line);
        const bool last = depth <= 0;
        if (last) {
            line = line.trimmed();
            line.chop(1); // the document's closing brace
        }
        if (!line.isEmpty())
            kept += line + "\r\n";
        if (last)
            break;
    }
    // A repeated placeholder repeats its whole paragraph, once per value.
    const QList<Span> spans = repeatedSpans(kept);
    QByteArray once;
    qsizetype at = 0;
    for (const Span& span : spans) {
        once += replaced(kept.mid(at, span.from - at), 0);
        const QByteArray paragraph = kept.mid(span.from, span.to - span.from);
        for (int k = 0; k < span.copies; ++k) {
            QByteArray copy = replaced(paragraph, k);
            if (k + 1 < span.copies && !copy.endsWith('\n'))
                copy += "\r\n";
            once += copy;
        }
        at = span.to;
    }
    once += replaced(kept.mid(at), 0);

    QByteArray text;
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0)
            text += "\\page\r\n";
        text += once;
    }
    return write(text);
}

QString TRTFReplace::structureProblem(const QByteArray& rtf)
{
    const std::vector<signed char> marks = braceMarks(rtf);
    int depth = 0;
    bool opened = false;
    for (size_t i = 0; i < marks.size(); ++i) {
        depth += marks[i];
        opened = opened || depth > 0;
        if (depth < 0)
            return QStringLiteral("o acolada } inchide un grup care nu a fost deschis");
        if (opened && depth == 0 && !rtf.mid(qsizetype(i) + 1).trimmed().isEmpty())
            return QStringLiteral("o acolada } inchide documentul inainte de sfarsitul fisierului");
    }
    if (!opened)
        return QStringLiteral("nu este un document RTF");
    if (depth > 0)
        return depth == 1 ? QStringLiteral("un grup deschis cu { nu este inchis")
                          : QStringLiteral("%1 grupuri deschise cu { nu sunt inchise").arg(depth);
    return QString();
}

bool TRTFReplace::holds(const QByteArray& rtf, const QString& placeholder)
{
    return upperAZ(rtf).contains(upperAZ(placeholder.toLatin1()));
}

QStringList TRTFReplace::brokenPlaceholders(const QByteArray& rtf, const QStringList& placeholders)
{
    QStringList broken;
    for (qsizetype open = rtf.indexOf('['); open >= 0; open = rtf.indexOf('[', open + 1)) {
        const qsizetype close = rtf.indexOf(']', open + 1);
        if (close < 0)
            break;
        const QByteArray inside = rtf.mid(open + 1, close - open - 1);
        if (!inside.contains('\\') && !inside.contains('{') && !inside.contains('}'))
            continue;
        // The letters left once control words, braces and line breaks are taken out.
        QByteArray letters;
        for (qsizetype i = 0; i < inside.size(); ++i) {
            const char c = inside[i];
            if (c == '\\') {
                const auto letter = [&](qsizetype at) {
                    return at < inside.size() && ((inside[at] >= 'a' && inside[at] <= 'z') || (inside[at] >= 'A' && inside[at] <= 'Z'));
                };
                const auto digit = [&](qsizetype at) { return at < inside.size() && inside[at] >= '0' && inside[at] <= '9'; };
                qsizetype next = i + 1;
                if (next < inside.size() && inside[next] == '\'') {
                    next += 3; // \'xx
                } else if (letter(next)) {
                    while (letter(next))
                        ++next;
                    if (next < inside.size() && (inside[next] == '-' || digit(next)))
                        ++next;
                    while (digit(next))
                        ++next;
                    if (next < inside.size() && inside[next] == ' ')
                        ++next; // the delimiter
                } else {
                    next += 1; // a control symbol
                }
                i = next - 1;
                continue;
            }
            if (c != '{' && c != '}' && c != '\r' && c != '\n')
                letters += c;
        }
        const QByteArray name = '[' + upperAZ(letters.trimmed()) + ']';
        for (const QString& placeholder : placeholders) {
            if (upperAZ(placeholder.toLatin1()) == name && !broken.contains(placeholder))
                broken << placeholder;
        }
    }
    return broken;
}

bool TRTFReplace::InchideDocument()
{
    if (!m_out)
        return false;
    bool ok = write("}\r\n");
    if (ok) {
        try {
            m_out->commit();
        } catch (const WriteError& e) {
            m_error = e.message();
            ok = false;
        }
    }
    m_out.reset();
    return ok;
}

bool TRTFReplace::write(const QByteArray& bytes)
{
    try {
        m_out->write(bytes);
    } catch (const WriteError& e) {
        m_error = e.message();
        return false;
    }
    return true;
}

}
