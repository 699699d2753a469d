#include "output/TRTFReplace.h"

#include "output/RtfText.h"

#include <QFileInfo>

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
        if (info.isFile() && QFile::remove(path)) {
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

int TRTFReplace::copiesOf(const QByteArray& line) const
{
    const QByteArray upper = upperAZ(line);
    for (const Pair& pair : m_pairs) {
        if (pair.values.size() > 1 && upper.contains(pair.placeholder))
            return int(pair.values.size());
    }
    return 1;
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

    QByteArray text;
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0)
            text += "\\page\r\n";
        int depth = 1; // the document's own group, opened in the header
        for (QByteArray line : body) {
            depth += braceBalance(line);
            const bool last = depth <= 0;
            if (last) {
                line = line.trimmed();
                line.chop(1); // the document's closing brace
            }
            if (!line.isEmpty()) {
                const int times = copiesOf(line);
                for (int k = 0; k < times; ++k)
                    text += replaced(line, k) + "\r\n";
            }
            if (last)
                break;
        }
    }
    return write(text);
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
