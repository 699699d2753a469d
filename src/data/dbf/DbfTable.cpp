#include "data/dbf/DbfTable.h"

#include "core/StagedFile.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/DbfHeader.h"
#include "data/dbf/FieldCodec.h"
#include "data/dbf/FileNames.h"

#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

namespace velmor::dbf {

namespace {

// Appends of every process are serialised by a lock on one byte far past any data, never on the
// records: a Windows share enforces byte locks on the reads of other copies. The lock belongs to
// the open file and goes with it.
constexpr qint64 kAppendLockByte = 0x7FFFFFFF00LL;

// Takes (F_WRLCK for an append, F_RDLCK while the table is read) or lets go (F_UNLCK) the append
// lock byte, waiting for another holder. False when the system refused it.
bool lockAppendByte(QFile& file, short type)
{
#if defined(Q_OS_LINUX) && defined(F_OFD_SETLKW)
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = off_t(kAppendLockByte);
    lock.l_len = 1;
    int rc;
    do {
        rc = ::fcntl(file.handle(), type == F_UNLCK ? F_OFD_SETLK : F_OFD_SETLKW, &lock);
    } while (rc != 0 && errno == EINTR);
    // A file system without such locks (some network shares) works without them.
    return rc == 0 || errno == EINVAL || errno == ENOLCK || errno == EOPNOTSUPP;
#else
    Q_UNUSED(file);
    Q_UNUSED(type);
    return true;
#endif
}

#ifndef F_WRLCK
constexpr short F_RDLCK = 0;
constexpr short F_WRLCK = 1;
constexpr short F_UNLCK = 2;
#endif

QString baseName(const QString& path)
{
    return QFileInfo(path).fileName();
}

}

QString memoPathFor(const QString& tablePath)
{
    return resolveFileName(withExtension(tablePath, QStringLiteral("dbt")));
}

DbfTable::DbfTable(const QString& path)
    : m_path(path)
{
    load();
}

DbfTable::~DbfTable()
{
    try {
        m_batchDepth = 0;
        writePendingAppends();
    } catch (const DbfError&) {
        // The records already counted in the header stay; nothing else can be done here.
    }
    if (m_writer)
        m_writer->close();
}

QString DbfTable::memoPath() const
{
    return m_memo ? m_memo->path() : QString();
}

QString DbfTable::fileName() const
{
    return baseName(m_path);
}

void DbfTable::load()
{
    m_writer.reset();
    m_firstPending = -1;
    releaseStorage();
    auto file = std::make_unique<QFile>(m_path);
    if (!file->exists())
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu exista.").arg(m_path));
    if (!file->open(QIODevice::ReadOnly))
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu poate fi deschis: %2").arg(fileName(), file->errorString()));
    // Not while another program appends: its count and its records would not agree yet.
    lockAppendByte(*file, F_RDLCK);
    struct LetGo {
        QFile* file;
        ~LetGo()
        {
            if (file)
                lockAppendByte(*file, F_UNLCK);
        }
    } letGo {file.get()};
    const qint64 size = file->size();
    // Map the file copy-on-write (the mapping lives as long as its file object); where that is
    // not possible, read it whole.
    uchar* mapped = size > 0 ? file->map(0, size, QFileDevice::MapPrivateOption) : nullptr;
    QByteArray view;
    if (mapped) {
        view = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), size);
    } else {
        m_heapBase = QByteArray(size, Qt::Uninitialized);
        qint64 got = 0;
        while (got < size) {
            const qint64 n = file->read(m_heapBase.data() + got, size - got);
            if (n <= 0)
                break;
            got += n;
        }
        m_heapBase.truncate(got);
        view = QByteArray::fromRawData(m_heapBase.constData(), m_heapBase.size());
    }
    try {
        parseHeader(view, view.size());
    } catch (...) {
        letGo.file = nullptr; // closing the file lets the lock go
        file.reset();
        releaseStorage();
        throw;
    }
    m_header = QByteArray(view.constData(), m_headerLength);
    m_base = (mapped ? reinterpret_cast<char*>(mapped) : m_heapBase.data()) + m_headerLength;
    m_baseCount = m_recordCount;
    if (mapped)
        m_mapFile = std::move(file);
    m_memo.reset();
    if (hasMemoField(m_fields))
        openMemo();
    rememberFileState();
    m_foreignAppends = false;
    ++m_changeCount;
}

void DbfTable::releaseStorage()
{
    m_base = nullptr;
    m_baseCount = 0;
    m_mapFile.reset();
    m_heapBase.clear();
    m_tail.clear();
}

char* DbfTable::mutableRecord(int row)
{
    return row < m_baseCount ? m_base + qsizetype(row) * m_recordLength
                             : m_tail.data() + qsizetype(row - m_baseCount) * m_recordLength;
}

void DbfTable::openMemo()
{
    const QString memoPath = memoPathFor(m_path);
    const auto format = m_level == Level::DBase3 ? MemoFile::Format::DBase3 : MemoFile::Format::DBase4;
    m_memo = std::make_unique<MemoFile>(memoPath, format);
}

void DbfTable::parseHeader(const QByteArray& data, qint64 fileSize)
{
    TableHeader h = dbf::parseHeader(data, fileSize, m_path);
    m_level = h.level;
    m_version = h.version;
    m_languageDriver = h.languageDriver;
    m_mdxFlag = h.productionIndex;
    m_headerLength = h.headerLength;
    m_recordLength = h.recordLength;
    m_recordCount = h.recordCount;
    m_fields = std::move(h.fields);
    m_fieldByName.clear();
    for (int c = 0; c < m_fields.size(); ++c)
        m_fieldByName.insert(m_fields[c].name.toUpper(), c);
}

void DbfTable::rememberFileState()
{
    m_fileStamp = FileStamp::of(m_path);
    if (m_memo)
        m_memoStamp = FileStamp::of(m_memo->path());
}

bool DbfTable::changedOnDisk() const
{
    // Records of another program were taken in while appending: read the table again.
    if (m_foreignAppends)
        return true;
    if (FileStamp::of(m_path) != m_fileStamp)
        return true;
    return m_memo && FileStamp::of(m_memo->path()) != m_memoStamp;
}

int DbfTable::fieldIndex(const QString& name) const
{
    return m_fieldByName.value(name.toUpper(), -1);
}

bool DbfTable::isNull(int row, int column) const
{
    const Field& f = m_fields[column];
    const char* p = record(row) + f.offset;
    if (isBlankField(p, f.width))
        return true;
    if (f.isNumeric()) {
        double d;
        return !parseNumber(p, f.width, d);
    }
    return false;
}

std::optional<double> DbfTable::number(int row, int column) const
{
    const Field& f = m_fields[column];
    double d;
    if (parseNumber(record(row) + f.offset, f.width, d))
        return d;
    return std::nullopt;
}

QString DbfTable::text(int row, int column) const
{
    const Value v = value(row, column);
    if (const auto* s = std::get_if<QString>(&v))
        return *s;
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return QString::number(*i);
    if (const auto* d = std::get_if<double>(&v))
        return QString::number(*d, 'f', m_fields[column].decimals);
    if (const auto* date = std::get_if<QDate>(&v))
        return date->toString(QStringLiteral("dd.MM.yyyy"));
    if (const auto* b = std::get_if<bool>(&v))
        return *b ? QStringLiteral("T") : QStringLiteral("F");
    return {};
}

QByteArray DbfTable::memoBytes(int row, int column) const
{
    const Field& f = m_fields[column];
    const QByteArray ref = trimmedField(record(row) + f.offset, f.width);
    bool ok = false;
    const uint block = ref.toUInt(&ok);
    if (!ok || block == 0)
        return {};
    if (!m_memo)
        tableDamaged(m_path, QStringLiteral("lipseste fisierul de texte"));
    return m_memo->read(block);
}

QString DbfTable::memoText(int row, int column) const
{
    return cp1250::decode(memoBytes(row, column));
}

Value DbfTable::value(int row, int column) const
{
    const Field& f = m_fields[column];
    if (f.type != 'M')
        return decodeField(f, record(row) + f.offset);
    QString memo = memoText(row, column);
    if (memo.isEmpty())
        return {};
    return memo;
}

QByteArray DbfTable::encodeField(const Field& field, const Value& value)
{
    if (field.type != 'M')
        return dbf::encodeField(field, value, fileName());
    QByteArray out(field.width, ' ');
    const QString text = memoTextOf(value);
    if (text.isEmpty())
        return out;
    if (!m_memo)
        openMemo();
    QByteArray bytes;
    QChar bad;
    if (!cp1250::tryEncode(text, bytes, &bad))
        throw DbfError(EncodingError(bad, text).message());
    // A memo text goes into the memo file under the append lock, as records do.
    lockForAppend();
    const QByteArray block = QByteArray::number(m_memo->append(bytes));
    std::copy(block.begin(), block.end(), out.data() + (field.width - block.size()));
    return out;
}

void DbfTable::lockForAppend()
{
    if (m_appendLocked)
        return;
    QFile& file = writer();
    if (!lockAppendByte(file, F_WRLCK))
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu poate fi blocat pentru adaugare: %2").arg(fileName(), qt_error_string(errno)));
    m_appendLocked = true;
    if (m_firstPending >= 0)
        return;
    // Records another program appended since this table was read come first: they are taken in,
    // so that the new records follow them instead of overwriting them.
    QByteArray head(header::CountedPart, '\0');
    if (!file.seek(0) || file.read(head.data(), head.size()) != head.size())
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu poate fi citit: %2").arg(fileName(), file.errorString()));
    const qint64 onDisk = recordCountOf(head.constData());
    if (onDisk == m_recordCount)
        return;
    if (onDisk < m_recordCount)
        throw DbfError(QStringLiteral("Tabelul \"%1\" a fost rescris de alt program; reluati operatia.").arg(fileName()));
    const qint64 extra = onDisk - m_recordCount;
    const qint64 at = qint64(m_headerLength) + qint64(m_recordCount) * m_recordLength;
    QByteArray records(qsizetype(extra * m_recordLength), Qt::Uninitialized);
    if (!file.seek(at) || file.read(records.data(), records.size()) != records.size())
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu poate fi citit: %2").arg(fileName(), file.errorString()));
    m_tail.append(records);
    m_recordCount = int(onDisk);
    m_foreignAppends = true;
    ++m_changeCount;
}

int DbfTable::append(const std::vector<Value>& values)
{
    // The lock first: a memo text is appended to the memo file under it too.
    lockForAppend();
    QByteArray rec(m_recordLength, ' ');
    try {
        // Memo texts last: a value refused in another column leaves the memo file as it was.
        for (const bool memoPass : {false, true}) {
            for (int c = 0; c < fieldCount(); ++c) {
                const Field& f = m_fields[c];
                if ((f.type == 'M') != memoPass)
                    continue;
                if (size_t(c) < values.size() && !dbf::isNull(values[size_t(c)])) {
                    const QByteArray bytes = encodeField(f, values[size_t(c)]);
                    std::copy(bytes.begin(), bytes.end(), rec.data() + 1 + f.offset);
                }
            }
        }
    } catch (...) {
        // A refused value lets the lock go at once unless a batch goes on.
        if (m_batchDepth == 0 && m_firstPending < 0)
            closeWriter();
        throw;
    }
    return appendEncoded(rec);
}

int DbfTable::appendEncoded(const QByteArray& rec)
{
    Q_ASSERT(rec.size() == m_recordLength);
    lockForAppend();
    const int row = m_recordCount;
    // Grow geometrically: a statement may append a hundred thousand records one by one.
    if (m_tail.capacity() < m_tail.size() + rec.size())
        m_tail.reserve(std::max<qsizetype>(m_tail.size() + m_tail.size() / 2, m_tail.size() + 256 * qsizetype(rec.size())));
    m_tail.append(rec);
    m_recordCount = row + 1;
    if (m_firstPending < 0)
        m_firstPending = row;
    ++m_changeCount;
    try {
        if (m_batchDepth == 0) {
            writePendingAppends();
            closeWriter();
        } else if (m_recordCount - m_firstPending >= 4096) {
            writePendingAppends();
        }
    } catch (...) {
        if (m_batchDepth == 0) {
            // Nothing of the record reached the header: forget it.
            m_tail.chop(m_recordLength * (m_recordCount - m_firstPending));
            m_recordCount = m_firstPending;
            m_firstPending = -1;
            closeWriter();
        }
        throw;
    }
    return row;
}

QFile& DbfTable::writer()
{
    if (!m_writer) {
        auto file = std::make_unique<QFile>(m_path);
        if (!file->open(QIODevice::ReadWrite | QIODevice::Unbuffered))
            throw DbfError(QStringLiteral("Tabelul \"%1\" nu poate fi scris: %2").arg(fileName(), file->errorString()));
        m_writer = std::move(file);
    }
    return *m_writer;
}

void DbfTable::closeWriter()
{
    if (!m_writer)
        return;
    m_writer->close(); // lets the append lock go
    m_writer.reset();
    m_appendLocked = false;
    rememberFileState();
}

void DbfTable::writePendingAppends()
{
    if (m_firstPending < 0)
        return;
    QFile& file = writer();
    const qint64 at = qint64(m_headerLength) + qint64(m_firstPending) * m_recordLength;
    // Appended records are always in the tail.
    const qsizetype from = qsizetype(m_firstPending - m_baseCount) * m_recordLength;
    const qsizetype length = m_tail.size() - from;
    QByteArray header = m_header.left(header::CountedPart);
    setRecordCount(header.data(), quint32(m_recordCount));
    stampLastChange(header.data());
    // Records and end marker first, then the count that includes them.
    if (!file.seek(at) || file.write(m_tail.constData() + from, length) != length || file.write(&kEndOfFile, 1) != 1
        || !file.seek(0) || file.write(header) != header.size())
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu poate fi scris: %2").arg(fileName(), file.errorString()));
    std::copy(header.begin(), header.end(), m_header.data());
    m_firstPending = -1;
}

void DbfTable::beginBatch()
{
    ++m_batchDepth;
}

void DbfTable::endBatch()
{
    if (m_batchDepth == 0)
        return;
    if (--m_batchDepth > 0)
        return;
    try {
        writePendingAppends();
    } catch (...) {
        closeWriter();
        throw;
    }
    closeWriter();
}

void DbfTable::writeRecordBytes(int row, const QByteArray& bytes)
{
    const qint64 at = qint64(m_headerLength) + qint64(row) * m_recordLength;
    // A record still waiting in a batch is only changed in memory; it is written with the batch.
    if (m_firstPending < 0 || row < m_firstPending) {
        QFile& file = writer();
        if (!file.seek(at) || file.write(bytes) != bytes.size())
            throw DbfError(QStringLiteral("Tabelul \"%1\" nu poate fi scris: %2").arg(fileName(), file.errorString()));
    }
    std::copy(bytes.begin(), bytes.end(), mutableRecord(row));
    if (m_batchDepth == 0)
        closeWriter();
    ++m_changeCount;
}

void DbfTable::update(int row, const std::vector<std::pair<int, Value>>& changes)
{
    QByteArray rec(record(row) - 1, m_recordLength);
    // Memo texts last, as in append().
    for (const bool memoPass : {false, true}) {
        for (const auto& [column, v] : changes) {
            if (column < 0 || column >= fieldCount())
                throw DbfError(QStringLiteral("Tabelul \"%1\" nu are coloana nr. %2.").arg(fileName()).arg(column + 1));
            const Field& f = m_fields[column];
            if ((f.type == 'M') != memoPass)
                continue;
            const QByteArray bytes = encodeField(f, v);
            std::copy(bytes.begin(), bytes.end(), rec.data() + 1 + f.offset);
        }
    }
    writeRecordBytes(row, rec);
}

void DbfTable::setDeleted(int row, bool deleted)
{
    QByteArray rec(record(row) - 1, m_recordLength);
    rec[0] = deleted ? '*' : ' ';
    writeRecordBytes(row, rec);
}

int DbfTable::deletedCount() const
{
    int n = 0;
    for (int r = 0; r < m_recordCount; ++r)
        n += isDeleted(r) ? 1 : 0;
    return n;
}

void DbfTable::replaceThrough(const std::function<void(StagedFile&)>& write)
{
    // The new file is written whole first; the mapping is let go only before it takes the name (a
    // mapped file cannot be replaced everywhere). The table is read again afterwards, from the new
    // file or, when writing failed, from the old one.
    bool released = false;
    try {
        StagedFile file(m_path);
        write(file);
        releaseStorage();
        released = true;
        file.commit();
    } catch (const WriteError& e) {
        if (released)
            load();
        throw DbfError(e.message());
    }
    load();
}

void DbfTable::pack()
{
    writePendingAppends();
    closeWriter();
    const int deleted = deletedCount();
    if (deleted == 0)
        return;
    // The kept records are streamed into the new file a chunk at a time, so packing a large table
    // needs no copy of it in memory.
    QByteArray header = m_header;
    setRecordCount(header.data(), quint32(m_recordCount - deleted));
    stampLastChange(header.data());
    replaceThrough([&](StagedFile& file) {
        file.write(header);
        constexpr qsizetype kChunk = 1 << 20;
        QByteArray chunk;
        chunk.reserve(kChunk + m_recordLength + 1);
        for (int r = 0; r < m_recordCount; ++r) {
            if (isDeleted(r))
                continue;
            chunk.append(record(r) - 1, m_recordLength);
            if (chunk.size() >= kChunk) {
                file.write(chunk);
                chunk.clear();
            }
        }
        chunk.append(kEndOfFile);
        file.write(chunk);
    });
}

void DbfTable::create(const QString& path, const QList<FieldSpec>& specs)
{
    int recordLength = 0;
    const QList<Field> fields = layoutFields(specs, &recordLength, path);
    const bool memo = hasMemoField(fields);
    QByteArray contents = buildHeader(Level::DBase4, versionFor(Level::DBase4, memo), kWindows1250Driver, fields, 0, recordLength);
    contents.append(kEndOfFile);
    // Both files are complete on disk before either replaces a file of that name.
    try {
        std::unique_ptr<StagedFile> memoFile;
        if (memo) {
            memoFile = std::make_unique<StagedFile>(withExtension(path, QStringLiteral("dbt")));
            memoFile->write(MemoFile::emptyFile(MemoFile::Format::DBase4, QFileInfo(path).completeBaseName()));
            memoFile->prepare();
        }
        StagedFile table(path);
        table.write(contents);
        table.prepare();
        if (memoFile)
            memoFile->commit();
        table.commit();
    } catch (const WriteError& e) {
        throw DbfError(e.message());
    }
}

bool DbfTable::clearProductionIndexFlag(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    if (file.size() <= header::ProductionIndex)
        return false;
    return file.seek(header::ProductionIndex) && file.write("\0", 1) == 1;
}

}
