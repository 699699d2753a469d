#include "data/dbf/DbfBulkWriter.h"

#include "core/StagedFile.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/DbfHeader.h"
#include "data/dbf/DbfTable.h"
#include "data/dbf/FieldCodec.h"
#include "data/dbf/FileNames.h"
#include "data/dbf/MemoFile.h"
#include "data/dbf/StagedTable.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>

namespace velmor::dbf {

namespace {

constexpr qsizetype kFlushSize = 8 * 1024 * 1024;

QString baseName(const QString& path)
{
    return QFileInfo(path).fileName();
}

void writeAll(StagedFile& file, const char* data, qsizetype size)
{
    try {
        file.write(data, size);
    } catch (const WriteError& e) {
        throw DbfError(e.message());
    }
}

void seekTo(StagedFile& file, qint64 position)
{
    try {
        file.seek(position);
    } catch (const WriteError& e) {
        throw DbfError(e.message());
    }
}

std::unique_ptr<StagedFile> stage(const QString& path)
{
    try {
        return std::make_unique<StagedFile>(path);
    } catch (const WriteError& e) {
        throw DbfError(e.message());
    }
}

constexpr qint64 kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

}

DbfBulkWriter::DbfBulkWriter(const QString& path, const QList<FieldSpec>& fields)
    : m_path(path)
{
    // The first bytes of the new files are those of an empty table of the layout.
    m_fields = layoutFields(fields, &m_recordLength, path);
    for (int c = 0; c < m_fields.size(); ++c)
        m_columnByName.insert(m_fields[c].name.toUpper(), c);
    m_hasMemo = hasMemoField(m_fields);
    m_header = buildHeader(Level::DBase4, versionFor(Level::DBase4, m_hasMemo), kWindows1250Driver, m_fields, 0, m_recordLength);
    if (m_hasMemo) {
        m_memoHeader = MemoFile::emptyFile(MemoFile::Format::DBase4, QFileInfo(path).completeBaseName());
        m_nextMemoBlock = qFromLittleEndian<quint32>(m_memoHeader.constData());
        m_memoPath = withExtension(path, QStringLiteral("dbt"));
        m_memoFile = stage(m_memoPath);
        writeAll(*m_memoFile, m_memoHeader.constData(), m_memoHeader.size());
    }

    m_file = stage(path);
    writeAll(*m_file, m_header.constData(), m_header.size());
    m_buffer.reserve(kFlushSize + m_recordLength);
}

// The staged files go with the writer unless finish() put them in place.
DbfBulkWriter::~DbfBulkWriter() = default;

QList<FieldSpec> DbfBulkWriter::layoutOf(const QString& tablePath)
{
    const DbfTable table(tablePath);
    QList<FieldSpec> specs;
    for (const Field& f : table.fields())
        specs.append(f.declaration());
    return specs;
}

int DbfBulkWriter::column(const QString& name) const
{
    const int c = m_columnByName.value(name.toUpper(), -1);
    if (c < 0)
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu are coloana %2.").arg(baseName(m_path), name));
    return c;
}

QByteArray DbfBulkWriter::blankRecord() const
{
    return QByteArray(m_recordLength, ' ');
}

void DbfBulkWriter::clear(char* record, int column) const
{
    const Field& f = m_fields[column];
    std::memset(record + 1 + f.offset, ' ', size_t(f.width));
}

void DbfBulkWriter::checkNumeric(int column) const
{
    if (!m_fields[column].isNumeric())
        throw DbfError(QStringLiteral("Campul %1 din tabelul \"%2\" nu este numeric.").arg(m_fields[column].name, baseName(m_path)));
}

void DbfBulkWriter::tooWide(const Field& field, const QByteArray& text) const
{
    throw DbfError(QStringLiteral("Valoarea %1 nu incape in campul %2 (%3,%4) din tabelul \"%5\".")
                       .arg(QString::fromLatin1(text), field.name)
                       .arg(field.width)
                       .arg(field.decimals)
                       .arg(baseName(m_path)));
}

void DbfBulkWriter::setScaled(char* record, int column, qint64 scaled)
{
    checkNumeric(column);
    const Field& f = m_fields[column];
    char text[48];
    int end = sizeof(text);
    const bool negative = scaled < 0;
    quint64 u = negative ? quint64(0) - quint64(scaled) : quint64(scaled);
    int decimals = f.decimals;
    if (decimals > 9) {
        // More decimals than any register column has: the general path formats it.
        double v = double(scaled);
        for (int i = 0; i < decimals; ++i)
            v /= 10;
        setValue(record, column, v);
        return;
    }
    for (int i = 0; i < decimals; ++i) {
        text[--end] = char('0' + u % 10);
        u /= 10;
    }
    if (decimals > 0)
        text[--end] = '.';
    do {
        text[--end] = char('0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (negative && scaled != 0)
        text[--end] = '-';
    const int length = int(sizeof(text)) - end;
    if (length > f.width)
        tooWide(f, QByteArray(text + end, length));
    char* p = record + 1 + f.offset;
    std::memset(p, ' ', size_t(f.width - length));
    std::memcpy(p + f.width - length, text + end, size_t(length));
}

void DbfBulkWriter::setInteger(char* record, int column, qint64 value)
{
    checkNumeric(column);
    const int decimals = m_fields[column].decimals;
    if (decimals > 9) {
        setValue(record, column, std::int64_t(value));
        return;
    }
    setScaled(record, column, value * kPowersOfTen[decimals]);
}

void DbfBulkWriter::setBytes(char* record, int column, const QByteArray& bytes)
{
    const Field& f = m_fields[column];
    char* p = record + 1 + f.offset;
    const int n = std::min<int>(f.width, int(bytes.size()));
    std::memcpy(p, bytes.constData(), size_t(n));
    std::memset(p + n, ' ', size_t(f.width - n));
}

void DbfBulkWriter::setText(char* record, int column, QStringView text)
{
    const Field& f = m_fields[column];
    const QStringView cut = text.left(f.width);
    char* p = record + 1 + f.offset;
    bool ascii = true;
    for (QChar c : cut) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        int i = 0;
        for (QChar c : cut)
            p[i++] = char(c.unicode());
        std::memset(p + i, ' ', size_t(f.width - i));
        return;
    }
    QByteArray bytes;
    QChar bad;
    if (!cp1250::tryEncode(cut, bytes, &bad))
        throw DbfError(EncodingError(bad, text.toString()).message());
    setBytes(record, column, bytes);
}

void DbfBulkWriter::setDate(char* record, int column, const QDate& date)
{
    const Field& f = m_fields[column];
    if (!date.isValid()) {
        clear(record, column);
        return;
    }
    setBytes(record, column, date.toString(QStringLiteral("yyyyMMdd")).toLatin1().leftJustified(f.width, ' '));
}

void DbfBulkWriter::setMemo(char* record, int column, const QString& text)
{
    const Field& f = m_fields[column];
    if (f.type != 'M' || !m_memoFile)
        throw DbfError(QStringLiteral("Campul %1 din tabelul \"%2\" nu este text lung.").arg(f.name, baseName(m_path)));
    if (text.isEmpty()) {
        clear(record, column);
        return;
    }
    QByteArray bytes;
    QChar bad;
    if (!cp1250::tryEncode(text, bytes, &bad))
        throw DbfError(EncodingError(bad, text).message());
    const QByteArray payload = MemoFile::blocks(MemoFile::Format::DBase4, bytes, MemoFile::NewBlockSize);
    const qsizetype blocks = payload.size() / MemoFile::NewBlockSize;
    const quint32 block = m_nextMemoBlock;
    writeAll(*m_memoFile, payload.constData(), payload.size());
    m_nextMemoBlock += quint32(blocks);

    const QByteArray number = QByteArray::number(block);
    char* p = record + 1 + f.offset;
    std::memset(p, ' ', size_t(f.width));
    std::memcpy(p + f.width - number.size(), number.constData(), size_t(number.size()));
}

void DbfBulkWriter::setValue(char* record, int column, const Value& value)
{
    const Field& f = m_fields[column];
    if (f.type == 'M') {
        setMemo(record, column, memoTextOf(value));
        return;
    }
    QByteArray bytes;
    try {
        bytes = encodeField(f, value, baseName(m_path));
    } catch (const EncodingError& e) {
        throw DbfError(e.message());
    }
    std::memcpy(record + 1 + f.offset, bytes.constData(), size_t(f.width));
}

void DbfBulkWriter::appendRecord(const char* record)
{
    if (m_finished)
        throw DbfError(QStringLiteral("Tabelul \"%1\" a fost deja inchis.").arg(baseName(m_path)));
    m_buffer.append(record, m_recordLength);
    ++m_recordCount;
    if (m_buffer.size() >= kFlushSize)
        flush();
}

void DbfBulkWriter::append(const std::vector<Value>& values)
{
    QByteArray record = blankRecord();
    for (int c = 0; c < int(m_fields.size()) && size_t(c) < values.size(); ++c) {
        if (!isNull(values[size_t(c)]))
            setValue(record.data(), c, values[size_t(c)]);
    }
    appendRecord(record.constData());
}

void DbfBulkWriter::flush()
{
    if (m_buffer.isEmpty())
        return;
    writeAll(*m_file, m_buffer.constData(), m_buffer.size());
    m_buffer.clear();
}

void DbfBulkWriter::finish()
{
    if (m_finished)
        return;
    flush();
    if (m_recordCount > 0) {
        // As an appended row leaves it: the count and the date of the last change.
        QByteArray head = m_header.left(header::CountedPart);
        setRecordCount(head.data(), quint32(m_recordCount));
        stampLastChange(head.data());
        seekTo(*m_file, 0);
        writeAll(*m_file, head.constData(), head.size());
        seekTo(*m_file, qint64(m_header.size()) + qint64(m_recordCount) * m_recordLength);
    }
    writeAll(*m_file, &kEndOfFile, 1);

    if (m_memoFile) {
        QByteArray next(4, '\0');
        qToLittleEndian<quint32>(m_nextMemoBlock, next.data());
        seekTo(*m_memoFile, 0);
        writeAll(*m_memoFile, next.constData(), 4);
    }
    try {
        putInPlace();
    } catch (const WriteError& e) {
        throw DbfError(e.message());
    }
    m_finished = true;
}

void DbfBulkWriter::putInPlace()
{
    putTableInPlace(*m_file, m_memoFile.get());
}

}
