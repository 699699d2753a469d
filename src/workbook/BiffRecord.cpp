#include "workbook/BiffRecord.h"

#include "workbook/WorkbookError.h"

#include <cstring>

namespace velmor::workbook {

qsizetype Record::streamSize() const
{
    qsizetype size = 4 + body.size();
    for (const QByteArray& c : continues)
        size += 4 + c.size();
    return size;
}

void Record::appendTo(QByteArray& stream) const
{
    appendRecord(stream, type, body);
    for (const QByteArray& c : continues)
        appendRecord(stream, rt::Continue, c);
}

void ByteReader::need(qsizetype n) const
{
    if (n < 0 || m_pos + n > m_bytes.size())
        throw WorkbookError(QStringLiteral("Fisierul Excel este deteriorat (o inregistrare se termina prea devreme)."));
}

quint8 ByteReader::u8()
{
    need(1);
    return quint8(m_bytes[m_pos++]);
}

quint16 ByteReader::u16()
{
    need(2);
    const quint16 v = getU16(m_bytes, m_pos);
    m_pos += 2;
    return v;
}

quint32 ByteReader::u32()
{
    need(4);
    const quint32 v = getU32(m_bytes, m_pos);
    m_pos += 4;
    return v;
}

double ByteReader::f64()
{
    need(8);
    quint64 bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | quint8(m_bytes[m_pos + i]);
    m_pos += 8;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

QByteArray ByteReader::take(qsizetype n)
{
    need(n);
    QByteArray part = m_bytes.mid(m_pos, n);
    m_pos += n;
    return part;
}

void ByteReader::skip(qsizetype n)
{
    need(n);
    m_pos += n;
}

void putU8(QByteArray& out, quint8 v) { out.append(char(v)); }

void putU16(QByteArray& out, quint16 v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void putU32(QByteArray& out, quint32 v)
{
    putU16(out, quint16(v & 0xFFFF));
    putU16(out, quint16(v >> 16));
}

void putF64(QByteArray& out, double v)
{
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i)
        out.append(char((bits >> (8 * i)) & 0xFF));
}

void setU16(QByteArray& out, qsizetype at, quint16 v)
{
    out[at] = char(v & 0xFF);
    out[at + 1] = char(v >> 8);
}

void setU32(QByteArray& out, qsizetype at, quint32 v)
{
    setU16(out, at, quint16(v & 0xFFFF));
    setU16(out, at + 2, quint16(v >> 16));
}

quint16 getU16(const QByteArray& in, qsizetype at)
{
    return quint16(quint8(in[at]) | (quint8(in[at + 1]) << 8));
}

quint32 getU32(const QByteArray& in, qsizetype at)
{
    return quint32(getU16(in, at)) | (quint32(getU16(in, at + 2)) << 16);
}

void appendRecord(QByteArray& stream, quint16 type, const QByteArray& body)
{
    putU16(stream, type);
    putU16(stream, quint16(body.size()));
    stream.append(body);
}

quint16 Substream::kind() const
{
    if (records.isEmpty() || records.first().body.size() < 4)
        return 0;
    return getU16(records.first().body, 2);
}

namespace {

WorkbookError damaged(const QString& what)
{
    return WorkbookError(QStringLiteral("Fisierul Excel este deteriorat: %1.").arg(what));
}

}

QList<Substream> readSubstreams(const QByteArray& stream)
{
    QList<Substream> parts;
    qsizetype pos = 0;
    const qsizetype size = stream.size();
    while (pos + 4 <= size) {
        const quint16 type = getU16(stream, pos);
        if (type != rt::Bof) {
            if (parts.isEmpty())
                throw WorkbookError(QStringLiteral("Fisierul nu este un registru Excel 97 (BIFF8)."));
            break; // padding or leftovers after the last part
        }
        Substream part;
        part.offset = pos;
        int depth = 0;
        bool closed = false;
        while (!closed) {
            if (pos + 4 > size)
                throw damaged(QStringLiteral("lipseste sfarsitul unei foi"));
            const quint16 t = getU16(stream, pos);
            const quint16 length = getU16(stream, pos + 2);
            if (pos + 4 + length > size)
                throw damaged(QStringLiteral("o inregistrare depaseste sfarsitul fisierului"));
            QByteArray body = stream.mid(pos + 4, length);
            pos += 4 + length;
            if (t == rt::Continue) {
                if (part.records.isEmpty())
                    throw damaged(QStringLiteral("continuare fara inregistrare"));
                part.records.last().continues.append(body);
                continue;
            }
            if (t == rt::Bof) {
                if (length < 4)
                    throw damaged(QStringLiteral("inceput de foaie prea scurt"));
                if (part.records.isEmpty() && getU16(body, 0) != 0x0600)
                    throw WorkbookError(QStringLiteral("Fisierul nu este un registru Excel 97 (BIFF8)."));
                ++depth;
            } else if (t == rt::Eof) {
                --depth;
                closed = depth == 0;
            }
            part.records.append(Record{t, std::move(body), {}});
        }
        parts.append(std::move(part));
    }
    if (parts.isEmpty())
        throw WorkbookError(QStringLiteral("Fisierul nu este un registru Excel 97 (BIFF8)."));
    if (parts.first().kind() != 0x0005)
        throw damaged(QStringLiteral("lipseste partea globala a registrului"));
    return parts;
}

bool isLatin1(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

QString readUnicodeString16(ByteReader& reader)
{
    const quint16 count = reader.u16();
    const quint8 flags = reader.u8();
    if (flags & 0x01) {
        QString text;
        text.reserve(count);
        for (int i = 0; i < count; ++i)
            text.append(QChar(reader.u16()));
        return text;
    }
    return QString::fromLatin1(reader.take(count));
}

QByteArray unicodeString16(const QString& text)
{
    QByteArray out;
    putU16(out, quint16(text.size()));
    if (isLatin1(text)) {
        putU8(out, 0);
        out.append(text.toLatin1());
    } else {
        putU8(out, 1);
        for (QChar c : text)
            putU16(out, c.unicode());
    }
    return out;
}

}
