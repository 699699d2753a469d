#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

namespace velmor::workbook {

// Record types the engine reads or rebuilds.
namespace rt {
constexpr quint16 Bof = 0x0809;
constexpr quint16 Eof = 0x000A;
constexpr quint16 Continue = 0x003C;
constexpr quint16 BoundSheet = 0x0085;
constexpr quint16 Sst = 0x00FC;
constexpr quint16 ExtSst = 0x00FF;
constexpr quint16 Index = 0x020B;
constexpr quint16 DbCell = 0x00D7;
constexpr quint16 Dimensions = 0x0200;
constexpr quint16 DefColWidth = 0x0055;
constexpr quint16 Row = 0x0208;
constexpr quint16 LabelSst = 0x00FD;
constexpr quint16 Label = 0x0204;
constexpr quint16 RString = 0x00D6;
constexpr quint16 Number = 0x0203;
constexpr quint16 Rk = 0x027E;
constexpr quint16 MulRk = 0x00BD;
constexpr quint16 Blank = 0x0201;
constexpr quint16 MulBlank = 0x00BE;
constexpr quint16 BoolErr = 0x0205;
constexpr quint16 Formula = 0x0006;
constexpr quint16 String = 0x0207;
constexpr quint16 Array = 0x0221;
constexpr quint16 ShrFmla = 0x04BC;
constexpr quint16 Table = 0x0236;
constexpr quint16 MergedCells = 0x00E5;
constexpr quint16 Note = 0x001C;
}

// Largest record body BIFF8 allows; longer data goes on in CONTINUE records.
constexpr int MaxRecordBody = 8224;

// One record as read from the stream, with the bodies of the CONTINUE records that followed it.
struct Record {
    quint16 type = 0;
    QByteArray body;
    QList<QByteArray> continues;

    // Size of the record and its continuations in the stream.
    qsizetype streamSize() const;
    // Appends the record and its continuations exactly as they were read.
    void appendTo(QByteArray& stream) const;
};

// Little-endian reading with bounds checks; a read past the end throws WorkbookError.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& bytes, qsizetype offset = 0)
        : m_bytes(bytes)
        , m_pos(offset)
    {
    }
    quint8 u8();
    quint16 u16();
    quint32 u32();
    double f64();
    QByteArray take(qsizetype n);
    void skip(qsizetype n);
    qsizetype pos() const { return m_pos; }
    qsizetype remaining() const { return m_bytes.size() - m_pos; }

private:
    void need(qsizetype n) const;
    const QByteArray& m_bytes;
    qsizetype m_pos;
};

void putU8(QByteArray& out, quint8 v);
void putU16(QByteArray& out, quint16 v);
void putU32(QByteArray& out, quint32 v);
void putF64(QByteArray& out, double v);
void setU16(QByteArray& out, qsizetype at, quint16 v);
void setU32(QByteArray& out, qsizetype at, quint32 v);
quint16 getU16(const QByteArray& in, qsizetype at);
quint32 getU32(const QByteArray& in, qsizetype at);

// Appends a record header and body (the body must fit one record).
void appendRecord(QByteArray& stream, quint16 type, const QByteArray& body);

// One BOF..EOF part of the workbook stream (globals or a sheet), nested BOF..EOF parts (charts
// inside a sheet) included, and the stream offset it was read from.
struct Substream {
    qsizetype offset = 0;
    QList<Record> records;
    // Document type of the BOF record (0x0005 globals, 0x0010 worksheet, 0x0020 chart, ...).
    quint16 kind() const;
};

// Splits a workbook stream into its substreams. Throws WorkbookError for a stream that is not
// BIFF8 or whose records run past its end.
QList<Substream> readSubstreams(const QByteArray& stream);

// Plain text of an XLUnicodeString (16-bit length) at the reader's position.
QString readUnicodeString16(ByteReader& reader);
// An XLUnicodeString with a 16-bit length: 8-bit characters when the text is Latin-1, else UTF-16.
QByteArray unicodeString16(const QString& text);
bool isLatin1(const QString& text);

}
