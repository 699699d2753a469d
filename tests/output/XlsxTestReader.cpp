#include "XlsxTestReader.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <zlib.h>

namespace velmor::test {

namespace {

quint32 u16(const QByteArray& b, qsizetype at)
{
    return quint32(uchar(b[at])) | quint32(uchar(b[at + 1])) << 8;
}

quint32 u32(const QByteArray& b, qsizetype at)
{
    return u16(b, at) | u16(b, at + 2) << 16;
}

bool inflateRaw(const QByteArray& in, qsizetype expected, QByteArray& out)
{
    out.resize(expected);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    z.avail_in = uInt(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    const bool done = rc == Z_STREAM_END && z.total_out == uLong(expected);
    inflateEnd(&z);
    return done;
}

// Excel's escape of characters XML cannot hold: _xHHHH_.
QString unescapeXstring(const QString& text)
{
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    qsizetype last = 0;
    auto it = escape.globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        out += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

bool isDateFormat(int id, const QString& code)
{
    if ((id >= 14 && id <= 22) || (id >= 45 && id <= 47))
        return true;
    QString bare = code;
    bare.remove(QRegularExpression(QStringLiteral("\"[^\"]*\"|\\[[^\\]]*\\]")));
    return bare.contains(QLatin1Char('d'), Qt::CaseInsensitive) || bare.contains(QLatin1Char('y'), Qt::CaseInsensitive);
}

bool cellReference(const QString& ref, int& row, int& column)
{
    static const QRegularExpression pattern(QStringLiteral("^([A-Z]+)([0-9]+)$"));
    const auto m = pattern.match(ref);
    if (!m.hasMatch())
        return false;
    column = 0;
    for (const QChar ch : m.captured(1))
        column = column * 26 + (ch.unicode() - 'A' + 1);
    column -= 1;
    row = m.captured(2).toInt() - 1;
    return true;
}

quint64 key(int row, int column)
{
    return quint64(quint32(row)) << 32 | quint32(column);
}

// Text of the <t> elements inside the current element (a shared string or an inline string),
// runs included, phonetic hints left out.
QString stringItem(QXmlStreamReader& xml)
{
    QString text;
    const QString end = xml.name().toString();
    int depth = 1;
    bool phonetic = false;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            if (xml.name() == QLatin1String("rPh"))
                phonetic = true;
            else if (xml.name() == QLatin1String("t") && !phonetic) {
                text += xml.readElementText();
                --depth;
            }
        } else if (xml.isEndElement()) {
            --depth;
            if (xml.name() == QLatin1String("rPh"))
                phonetic = false;
        }
    }
    return unescapeXstring(text);
}

}

QDate XlsxCell::date() const
{
    // serial 1 is 1900-01-01; Excel counts a 29 February 1900 that did not exist
    const int serial = int(number);
    return QDate(1899, 12, 31).addDays(serial >= 60 ? serial - 1 : serial);
}

XlsxTestReader::XlsxTestReader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot open ") + path;
        return;
    }
    if (!readZip(file.readAll()))
        return;
    for (const char* required : {"[Content_Types].xml", "xl/workbook.xml", "xl/worksheets/sheet1.xml", "xl/styles.xml"}) {
        if (!m_members.contains(QLatin1String(required))) {
            m_error = QStringLiteral("member missing: ") + QLatin1String(required);
            return;
        }
    }
    readSharedStrings(member(QStringLiteral("xl/sharedStrings.xml")));
    readStyles(member(QStringLiteral("xl/styles.xml")));
    readSheet(member(QStringLiteral("xl/worksheets/sheet1.xml")));
}

bool XlsxTestReader::readZip(const QByteArray& bytes)
{
    // end of central directory: the last signature within the final 64 KiB + 22 bytes
    qsizetype end = -1;
    for (qsizetype at = bytes.size() - 22; at >= 0 && at >= bytes.size() - 22 - 65535; --at) {
        if (u32(bytes, at) == 0x06054b50) {
            end = at;
            break;
        }
    }
    if (end < 0) {
        m_error = QStringLiteral("no end of central directory");
        return false;
    }
    const quint32 entries = u16(bytes, end + 10);
    qsizetype at = u32(bytes, end + 16);
    for (quint32 i = 0; i < entries; ++i) {
        if (at + 46 > bytes.size() || u32(bytes, at) != 0x02014b50) {
            m_error = QStringLiteral("bad central directory entry");
            return false;
        }
        const quint32 method = u16(bytes, at + 10);
        const quint32 crc = u32(bytes, at + 16);
        const quint32 packed = u32(bytes, at + 20);
        const quint32 size = u32(bytes, at + 24);
        const quint32 nameLength = u16(bytes, at + 28);
        const quint32 extraLength = u16(bytes, at + 30);
        const quint32 commentLength = u16(bytes, at + 32);
        const quint32 local = u32(bytes, at + 42);
        const QString name = QString::fromUtf8(bytes.mid(at + 46, nameLength));
        at += 46 + nameLength + extraLength + commentLength;

        if (local + 30 > quint64(bytes.size()) || u32(bytes, local) != 0x04034b50) {
            m_error = QStringLiteral("bad local header of ") + name;
            return false;
        }
        const qsizetype data = local + 30 + u16(bytes, local + 26) + u16(bytes, local + 28);
        const QByteArray stored = bytes.mid(data, packed);
        QByteArray content;
        if (method == 0) {
            content = stored;
        } else if (method != 8 || !inflateRaw(stored, size, content)) {
            m_error = QStringLiteral("cannot inflate ") + name;
            return false;
        }
        if (crc32(0, reinterpret_cast<const Bytef*>(content.constData()), uInt(content.size())) != crc) {
            m_error = QStringLiteral("bad CRC of ") + name;
            return false;
        }
        m_members.insert(name, content);
    }
    return true;
}

void XlsxTestReader::readSharedStrings(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            m_sharedStrings << stringItem(xml);
    }
    if (xml.hasError())
        m_error = QStringLiteral("sharedStrings.xml: ") + xml.errorString();
}

void XlsxTestReader::readStyles(const QByteArray& bytes)
{
    QXmlStreamReader xml(bytes);
    QString section;
    bool inFont = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            const auto attr = xml.attributes();
            if (name == QLatin1String("numFmt")) {
                m_formats.insert(attr.value(QLatin1String("numFmtId")).toInt(), attr.value(QLatin1String("formatCode")).toString());
            } else if (name == QLatin1String("fonts") || name == QLatin1String("cellXfs") || name == QLatin1String("cellStyleXfs")) {
                section = name.toString();
            } else if (name == QLatin1String("font") && section == QLatin1String("fonts")) {
                inFont = true;
                m_boldFonts << false;
            } else if (name == QLatin1String("b") && inFont) {
                const auto val = attr.value(QLatin1String("val"));
                m_boldFonts.back() = val.isEmpty() || val == QLatin1String("1") || val == QLatin1String("true");
            } else if (name == QLatin1String("xf") && section == QLatin1String("cellXfs")) {
                m_styles << Style{attr.value(QLatin1String("numFmtId")).toInt(), attr.value(QLatin1String("fontId")).toInt()};
            }
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("font"))
                inFont = false;
            else if (xml.name() == section)
                section.clear();
        }
    }
    if (xml.hasError())
        m_error = QStringLiteral("styles.xml: ") + xml.errorString();
}

void XlsxTestReader::readSheet(const QByteArray& bytes)
{
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("col")) {
            const auto attr = xml.attributes();
            const int first = attr.value(QLatin1String("min")).toInt() - 1;
            const int last = attr.value(QLatin1String("max")).toInt() - 1;
            for (int c = first; c <= last && c - first < 1000; ++c)
                m_widths.insert(c, attr.value(QLatin1String("width")).toDouble());
            continue;
        }
        if (xml.name() != QLatin1String("c"))
            continue;
        const auto attr = xml.attributes();
        int row = 0, column = 0;
        if (!cellReference(attr.value(QLatin1String("r")).toString(), row, column)) {
            m_error = QStringLiteral("cell without reference");
            return;
        }
        const QString type = attr.value(QLatin1String("t")).toString();
        XlsxCell cell;
        const int styleIndex = attr.value(QLatin1String("s")).toInt();
        if (styleIndex >= 0 && styleIndex < m_styles.size()) {
            const Style& style = m_styles[styleIndex];
            cell.numberFormat = m_formats.value(style.numFmtId, style.numFmtId == 0 ? QStringLiteral("General") : QString::number(style.numFmtId));
            cell.styleIsDate = isDateFormat(style.numFmtId, m_formats.value(style.numFmtId));
            cell.bold = style.fontId >= 0 && style.fontId < m_boldFonts.size() && m_boldFonts[style.fontId];
        }
        QString value;
        bool hasValue = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == QLatin1String("c"))
                break;
            if (xml.isStartElement() && xml.name() == QLatin1String("v")) {
                value = xml.readElementText();
                hasValue = true;
            } else if (xml.isStartElement() && xml.name() == QLatin1String("is")) {
                value = stringItem(xml);
                hasValue = true;
            }
        }
        if (type == QLatin1String("s")) {
            cell.type = XlsxCell::Type::String;
            cell.sharedString = true;
            cell.text = m_sharedStrings.value(value.toInt());
        } else if (type == QLatin1String("inlineStr") || type == QLatin1String("str")) {
            cell.type = XlsxCell::Type::String;
            cell.text = type == QLatin1String("str") ? unescapeXstring(value) : value;
        } else if (type == QLatin1String("b")) {
            cell.type = XlsxCell::Type::Boolean;
            cell.number = value.toDouble();
        } else if (type == QLatin1String("e")) {
            cell.type = XlsxCell::Type::Error;
            cell.text = value;
        } else if (hasValue) {
            cell.type = XlsxCell::Type::Number;
            cell.number = value.toDouble();
        }
        m_cells.insert(key(row, column), cell);
        m_rowCount = std::max(m_rowCount, row + 1);
        m_columnCount = std::max(m_columnCount, column + 1);
    }
    if (xml.hasError())
        m_error = QStringLiteral("sheet1.xml: ") + xml.errorString();
}

XlsxCell XlsxTestReader::cell(int row, int column) const
{
    return m_cells.value(key(row, column));
}

}
