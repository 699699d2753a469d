#include "data/dbf/DbfTable.h"

#include "core/StagedFile.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/DbfHeader.h"
#include "data/dbf/FieldCodec.h"
#include "data/dbf/StagedTable.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>

namespace velmor::dbf {

Value OldRecord::value(int column) const
{
    return m_table.value(m_row, column);
}

Value OldRecord::value(const QString& name) const
{
    const int column = m_table.fieldIndex(name);
    if (column < 0)
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu are coloana %2.").arg(m_table.fileName(), name));
    return m_table.value(m_row, column);
}

bool OldRecord::has(const QString& name) const
{
    return m_table.fieldIndex(name) >= 0;
}

bool OldRecord::deleted() const
{
    return m_table.isDeleted(m_row);
}

qint64 DbfTable::recordCountOnDisk() const
{
    QFile file(m_path);
    QByteArray head(header::CountedPart, '\0');
    if (!file.open(QIODevice::ReadOnly) || file.read(head.data(), head.size()) != head.size())
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu poate fi citit: %2").arg(fileName(), file.errorString()));
    return recordCountOf(head.constData());
}

// One rewrite of a table into a new layout: the records are streamed into a staged table (and a
// staged memo file when the layout has memo columns), which are checked, then put in place.
class TableRewrite {
public:
    TableRewrite(DbfTable& table, const QList<FieldSpec>& specs, const RecordFill& fill);

    // Writes and checks the staged files; throws DbfError or WriteError (nothing changed then).
    void write();
    // Puts the staged files in place; throws WriteError (the old files stay then).
    void putInPlace() { putTableInPlace(*m_file, m_memoFile.get()); }

private:
    void startFiles();
    void encodeRecord(int row, char* record);
    void putValue(char* field, const Field& f, const Value& v);
    void putMemo(char* field, const Field& f, const QByteArray& bytes);
    void finishFiles(int written);
    void checkWritten(int written);

    DbfTable& m_table;
    const RecordFill& m_fill;
    QList<Field> m_fields;
    int m_recordLength = 0;
    int m_headerLength = 0;
    MemoFile::Format m_memoFormat;
    // Per new column: the old column it comes from (-1 for none), and whether its bytes can be
    // copied as they are.
    std::vector<int> m_source;
    std::vector<bool> m_sameBytes;
    // The values of the record being written as converted, and as the fill left them.
    std::vector<Value> m_converted;
    std::vector<Value> m_values;
    std::unique_ptr<StagedFile> m_memoFile;
    std::unique_ptr<StagedFile> m_file;
    quint32 m_nextBlock = 1;
};

TableRewrite::TableRewrite(DbfTable& table, const QList<FieldSpec>& specs, const RecordFill& fill)
    : m_table(table)
    , m_fill(fill)
    , m_memoFormat(table.m_level == Level::DBase3 ? MemoFile::Format::DBase3 : MemoFile::Format::DBase4)
{
    m_fields = layoutFields(specs, &m_recordLength, table.m_path);
    for (const Field& f : m_fields) {
        const int from = table.fieldIndex(f.name);
        m_source.push_back(from);
        const Field* old = from >= 0 ? &table.m_fields[from] : nullptr;
        m_sameBytes.push_back(old && old->type != 'M' && f.type == old->type && f.width == old->width
                              && f.decimals == old->decimals);
    }
    m_converted.resize(m_source.size());
    m_values.resize(m_source.size());
}

void TableRewrite::startFiles()
{
    // The memo file first, written out at once: the first write that fails names it, as
    // creating one does.
    if (hasMemoField(m_fields)) {
        m_memoFile = std::make_unique<StagedFile>(memoPathFor(m_table.m_path));
        const QByteArray empty = MemoFile::emptyFile(m_memoFormat, QFileInfo(m_table.m_path).completeBaseName());
        m_memoFile->write(empty);
        m_memoFile->seek(empty.size());
        m_nextBlock = qFromLittleEndian<quint32>(empty.constData());
    }
    m_file = std::make_unique<StagedFile>(m_table.m_path);
    const std::uint8_t driver = m_table.m_languageDriver ? m_table.m_languageDriver : kWindows1250Driver;
    const QByteArray head = buildHeader(m_table.m_level, versionFor(m_table.m_level, m_memoFile != nullptr), driver, m_fields, 0,
                                        m_recordLength);
    m_headerLength = int(head.size());
    m_file->write(head);
}

void TableRewrite::putMemo(char* field, const Field& f, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    const QByteArray stored = MemoFile::blocks(m_memoFormat, bytes, MemoFile::NewBlockSize);
    m_memoFile->write(stored);
    const QByteArray number = QByteArray::number(m_nextBlock);
    m_nextBlock += quint32(stored.size() / MemoFile::NewBlockSize);
    std::copy(number.begin(), number.end(), field + (f.width - number.size()));
}

void TableRewrite::putValue(char* field, const Field& f, const Value& v)
{
    if (f.type != 'M') {
        const QByteArray bytes = encodeField(f, v, m_table.fileName());
        std::copy(bytes.begin(), bytes.end(), field);
        return;
    }
    const QString text = memoTextOf(v);
    QByteArray bytes;
    QChar bad;
    if (!cp1250::tryEncode(text, bytes, &bad))
        throw DbfError(EncodingError(bad, text).message());
    putMemo(field, f, bytes);
}

void TableRewrite::encodeRecord(int row, char* record)
{
    const DbfTable& t = m_table;
    std::fill(record, record + m_recordLength, ' ');
    record[0] = t.isDeleted(row) ? '*' : ' ';
    if (m_fill) {
        for (size_t c = 0; c < m_source.size(); ++c)
            m_converted[c] = m_source[c] >= 0 ? t.value(row, m_source[c]) : Value();
        m_values = m_converted;
        m_fill(OldRecord(t, row), m_values);
        if (m_values.size() != m_converted.size())
            throw DbfError(QStringLiteral("Noua inregistrare are %1 valori in loc de %2.").arg(m_values.size()).arg(m_converted.size()));
    }
    for (size_t c = 0; c < m_source.size(); ++c) {
        const Field& nf = m_fields[qsizetype(c)];
        const int from = m_source[c];
        char* field = record + 1 + nf.offset;
        if (m_fill && !(m_values[c] == m_converted[c])) {
            putValue(field, nf, m_values[c]);
        } else if (from < 0) {
            continue;
        } else if (m_sameBytes[c]) {
            const char* old = t.record(row) + t.m_fields[from].offset;
            std::copy(old, old + nf.width, field);
        } else if (nf.type == 'M' && t.m_fields[from].type == 'M') {
            putMemo(field, nf, t.memoBytes(row, from));
        } else {
            putValue(field, nf, m_fill ? m_converted[c] : t.value(row, from));
        }
    }
}

void TableRewrite::write()
{
    startFiles();
    constexpr qsizetype kChunk = 1 << 20;
    QByteArray chunk;
    chunk.reserve(kChunk + m_recordLength + 1);
    QByteArray record(m_recordLength, ' ');
    int written = 0;
    for (int row = 0; row < m_table.recordCount(); ++row) {
        try {
            encodeRecord(row, record.data());
        } catch (const WriteError&) {
            throw;
        } catch (const Error& e) {
            throw DbfError(QStringLiteral("Inregistrarea %1: %2").arg(row + 1).arg(e.message()));
        }
        chunk.append(record);
        ++written;
        if (chunk.size() >= kChunk) {
            m_file->write(chunk);
            chunk.clear();
        }
    }
    chunk.append(kEndOfFile);
    m_file->write(chunk);
    finishFiles(written);
    checkWritten(written);
}

void TableRewrite::finishFiles(int written)
{
    // The count of the records written, as the last change of the header.
    QByteArray count(4, '\0');
    qToLittleEndian<quint32>(quint32(written), count.data());
    m_file->seek(header::RecordCount);
    m_file->write(count);
    if (m_memoFile) {
        QByteArray next(4, '\0');
        qToLittleEndian<quint32>(m_nextBlock, next.data());
        m_memoFile->seek(0);
        m_memoFile->write(next);
        m_memoFile->prepare();
    }
    m_file->prepare();
}

void TableRewrite::checkWritten(int written)
{
    // The new file holds every record, as its header says.
    const qint64 expectedSize = qint64(m_headerLength) + qint64(written) * m_recordLength + 1;
    QFile staged(m_file->path());
    QByteArray head(header::CountedPart, '\0');
    if (!staged.open(QIODevice::ReadOnly) || staged.read(head.data(), head.size()) != head.size() || staged.size() != expectedSize
        || recordCountOf(head.constData()) != quint32(m_table.recordCount()))
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu a putut fi rescris: noul fisier nu are toate cele %2 inregistrari.")
                           .arg(m_table.fileName())
                           .arg(m_table.recordCount()));
    // And the old file has no more than were read: rows another program appended meanwhile would
    // be lost.
    if (m_table.recordCountOnDisk() != m_table.recordCount())
        throw DbfError(QStringLiteral("Tabelul \"%1\" a fost schimbat de alt program in timpul rescrierii; nu s-a schimbat nimic, reluati operatia.")
                           .arg(m_table.fileName()));
}

void DbfTable::restructure(const QList<FieldSpec>& newSpecs, const RecordFill& fill)
{
    writePendingAppends();
    closeWriter();
    TableRewrite rewrite(*this, newSpecs, fill);
    try {
        rewrite.write();
        // The mapping is let go before the new file takes the name (a mapped file cannot be
        // replaced everywhere); the table is read again afterwards, from whichever file is there.
        releaseStorage();
        m_memo.reset();
        try {
            rewrite.putInPlace();
        } catch (...) {
            load();
            throw;
        }
    } catch (const WriteError& e) {
        throw DbfError(e.message());
    }
    load();
}

}
