#include "ExportReaders.h"

#include "data/dbf/CodePage1250.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace velmor::test {

namespace {

const QByteArray Bom("\xEF\xBB\xBF");

// Title, headings, rows..., footer, date: the layout every format writes.
ReadBack fromRecords(const QList<QStringList>& records, bool titled)
{
    ReadBack back;
    if (records.size() < (titled ? 4 : 3)) {
        back.problem = QStringLiteral("too few records: %1").arg(records.size());
        return back;
    }
    qsizetype at = 0;
    if (titled)
        back.title = records[at++].join(QLatin1Char('|'));
    back.headings = records[at++];
    back.footer = records[records.size() - 2].join(QLatin1Char('|'));
    back.dateLine = records.back().join(QLatin1Char('|'));
    for (; at < records.size() - 2; ++at)
        back.rows << records[at];
    return back;
}

}

ReadBack readDelimited(const QByteArray& bytes, QChar separator)
{
    ReadBack failed;
    if (!bytes.startsWith(Bom)) {
        failed.problem = QStringLiteral("no byte order mark");
        return failed;
    }
    const QString text = QString::fromUtf8(bytes.mid(Bom.size()));
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (quoted) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    field += ch;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += ch;
            }
        } else if (ch == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (ch == separator) {
            record << field;
            field.clear();
            wasQuoted = false;
        } else if (ch == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            record << field;
            records << record;
            record.clear();
            field.clear();
            wasQuoted = false;
            ++i;
        } else if (ch == QLatin1Char('\n') || ch == QLatin1Char('\r')) {
            failed.problem = QStringLiteral("bare line end outside quotes at %1").arg(i);
            return failed;
        } else if (wasQuoted) {
            failed.problem = QStringLiteral("text after a closing quote at %1").arg(i);
            return failed;
        } else {
            field += ch;
        }
    }
    if (quoted || !field.isEmpty() || !record.isEmpty()) {
        failed.problem = QStringLiteral("last record not ended by CRLF");
        return failed;
    }
    return fromRecords(records, true);
}

ReadBack readHtml(const QByteArray& bytes)
{
    ReadBack back;
    QXmlStreamReader xml(bytes);
    bool charset = false;
    QStringList row;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("meta"))
                charset = charset || xml.attributes().value(QLatin1String("charset")).compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0;
            else if (name == QLatin1String("h3"))
                back.title = xml.readElementText();
            else if (name == QLatin1String("th"))
                back.headings << xml.readElementText();
            else if (name == QLatin1String("td"))
                row << xml.readElementText();
            else if (name == QLatin1String("p")) {
                const QString cls = xml.attributes().value(QLatin1String("class")).toString();
                const QString text = xml.readElementText();
                if (cls == QLatin1String("footer"))
                    back.footer = text;
                else if (cls == QLatin1String("date"))
                    back.dateLine = text;
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("tr") && !row.isEmpty()) {
            back.rows << row;
            row.clear();
        }
    }
    if (xml.hasError())
        back.problem = QStringLiteral("not well-formed: ") + xml.errorString();
    else if (!charset)
        back.problem = QStringLiteral("no utf-8 meta charset");
    return back;
}

namespace {

// Paragraphs, table rows (cells) and paragraphs after the table; false with `problem` set when the
// document is not well-formed RTF in code page 1250.
bool parseRtf(const QByteArray& bytes, QList<QStringList>& records, QString& problem)
{
    if (!bytes.startsWith("{\\rtf1") || !bytes.contains("\\ansicpg1250")) {
        problem = QStringLiteral("not an RTF document in code page 1250");
        return false;
    }
    struct Group {
        bool skip = false;
    };
    QList<Group> groups;
    QStringList paragraphsBefore, paragraphsAfter;
    QList<QStringList> tableRows;
    QStringList cells;
    QString text;
    bool inTable = false;
    int skipFallback = 0;
    const auto put = [&](const QString& s) {
        if (groups.isEmpty() || groups.back().skip)
            return;
        if (skipFallback > 0) {
            --skipFallback;
            return;
        }
        text += s;
    };
    qsizetype i = 0;
    while (i < bytes.size()) {
        const char ch = bytes[i];
        if (ch == '{') {
            groups << Group{!groups.isEmpty() && groups.back().skip};
            ++i;
            // destinations we do not read
            static const QRegularExpression skipped(QStringLiteral("^\\\\(\\*|fonttbl|colortbl|stylesheet|info)"));
            if (skipped.match(QString::fromLatin1(bytes.mid(i, 12))).hasMatch())
                groups.back().skip = true;
        } else if (ch == '}') {
            if (groups.isEmpty()) {
                problem = QStringLiteral("unbalanced }");
                return false;
            }
            groups.removeLast();
            ++i;
        } else if (ch == '\\') {
            const char next = i + 1 < bytes.size() ? bytes[i + 1] : 0;
            if (next == '\\' || next == '{' || next == '}') {
                put(QString(QLatin1Char(next)));
                i += 2;
            } else if (next == '\'') {
                const QByteArray byte = QByteArray::fromHex(bytes.mid(i + 2, 2));
                put(dbf::cp1250::decode(byte));
                i += 4;
            } else {
                qsizetype j = i + 1;
                while (j < bytes.size() && std::isalpha(uchar(bytes[j])))
                    ++j;
                const QByteArray word = bytes.mid(i + 1, j - i - 1);
                qsizetype k = j;
                if (k < bytes.size() && (bytes[k] == '-' || std::isdigit(uchar(bytes[k])))) {
                    ++k;
                    while (k < bytes.size() && std::isdigit(uchar(bytes[k])))
                        ++k;
                }
                const int number = bytes.mid(j, k - j).toInt();
                if (k < bytes.size() && bytes[k] == ' ')
                    ++k;
                i = k;
                if (word.isEmpty()) {
                    ++i; // other control symbols
                    continue;
                }
                const bool reading = !groups.isEmpty() && !groups.back().skip;
                if (word == "u") {
                    skipFallback = 0;
                    put(QString(QChar(char16_t(number < 0 ? number + 65536 : number))));
                    skipFallback = 1;
                } else if (word == "line") {
                    put(QStringLiteral("\n"));
                } else if (word == "tab") {
                    put(QStringLiteral("\t"));
                } else if (reading && word == "intbl") {
                    inTable = true;
                } else if (reading && word == "cell") {
                    cells << text;
                    text.clear();
                } else if (reading && word == "row") {
                    tableRows << cells;
                    cells.clear();
                    inTable = false;
                } else if (reading && word == "par") {
                    if (!text.isEmpty())
                        (tableRows.isEmpty() ? paragraphsBefore : paragraphsAfter) << text;
                    text.clear();
                } else if (reading && word == "pard") {
                    inTable = false;
                }
            }
        } else if (ch == '\r' || ch == '\n') {
            ++i;
        } else {
            put(QString(QLatin1Char(ch)));
            ++i;
        }
    }
    Q_UNUSED(inTable);
    if (!groups.isEmpty()) {
        problem = QStringLiteral("unbalanced {");
        return false;
    }
    if (!text.isEmpty())
        paragraphsAfter << text;
    records << paragraphsBefore;
    records << tableRows;
    for (const QString& p : paragraphsAfter)
        records << QStringList{p};
    return true;
}

}

ReadBack readRtf(const QByteArray& bytes)
{
    ReadBack failed;
    QList<QStringList> records;
    if (!parseRtf(bytes, records, failed.problem))
        return failed;
    return fromRecords(records, true);
}

QStringList readRtfText(const QByteArray& bytes, QString* problem)
{
    QList<QStringList> records;
    QString failure;
    if (!parseRtf(bytes, records, failure)) {
        if (problem)
            *problem = failure;
        return {};
    }
    QStringList texts;
    for (const QStringList& record : records)
        texts << record;
    return texts;
}

ReadBack readAlignedText(const QByteArray& bytes)
{
    ReadBack failed;
    if (!bytes.startsWith(Bom)) {
        failed.problem = QStringLiteral("no byte order mark");
        return failed;
    }
    const QString text = QString::fromUtf8(bytes.mid(Bom.size()));
    if (!text.endsWith(QStringLiteral("\r\n"))) {
        failed.problem = QStringLiteral("no CRLF at the end");
        return failed;
    }
    QStringList lines = text.chopped(2).split(QStringLiteral("\r\n"));
    static const QRegularExpression dashes(QStringLiteral("^-+(  -+)*$"));
    qsizetype dashLine = -1;
    for (qsizetype l = 0; l < lines.size(); ++l)
        if (dashes.match(lines[l]).hasMatch()) {
            dashLine = l;
            break;
        }
    // title, blank, headings (one line here), dashes, rows, blank, footer, date
    if (dashLine != 3 || lines.size() < 7 || !lines[1].isEmpty() || !lines[lines.size() - 3].isEmpty()) {
        failed.problem = QStringLiteral("unexpected layout");
        return failed;
    }
    QList<QPair<int, int>> spans;
    static const QRegularExpression run(QStringLiteral("-+"));
    auto it = run.globalMatch(lines[dashLine]);
    while (it.hasNext()) {
        const auto m = it.next();
        spans << qMakePair(int(m.capturedStart()), int(m.capturedLength()));
    }
    const auto slice = [&](const QString& line) {
        QStringList cells;
        for (const auto& span : spans) {
            QString cell = line.mid(span.first, span.second);
            while (cell.endsWith(QLatin1Char(' ')))
                cell.chop(1);
            while (cell.startsWith(QLatin1Char(' ')))
                cell.remove(0, 1);
            cells << cell;
        }
        return cells;
    };
    ReadBack back;
    back.title = lines[0];
    back.headings = slice(lines[2]);
    for (qsizetype l = dashLine + 1; l < lines.size() - 3; ++l)
        back.rows << slice(lines[l]);
    back.footer = lines[lines.size() - 2];
    back.dateLine = lines.back();
    return back;
}

}
