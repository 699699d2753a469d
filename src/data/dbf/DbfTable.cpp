#include "data/dbf/DbfTable.h"

#include "core/StagedFile.h"
#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/FileNames.h"
#include "data/dbf/StagedTable.h"

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

constexpr char kEndOfFile = '\x1A';
constexpr char kTerminator = '\x0D';

QString baseName(const QString& path)
{
    return QFileInfo(path).fileName();
}

[[noreturn]] void damaged(const QString& path, const QString& what)
{
    throw DbfError(QStringLiteral("Tabelul \"%1\" este deteriorat: %2.").arg(baseName(path), what));
}

bool isBlank(const char* p, int width)
{
    for (int i = 0; i < width; ++i) {
        if (p[i] != ' ' && p[i] != '\0')
            return false;
    }
    return true;
}

// Trimmed view of a numeric field; empty when blank.
QByteArray trimmedField(const char* p, int width)
{
    int begin = 0;
    int end = width;
    while (begin < end && (p[begin] == ' ' || p[begin] == '\0'))
        ++begin;
    while (end > begin && (p[end - 1] == ' ' || p[end - 1] == '\0'))
        --end;
    return QByteArray::fromRawData(p + begin, end - begin);
}


int descriptorSize(Level level)
{
    return level == Level::Level7 ? 48 : 32;
}

int firstDescriptor(Level level)
{
    return level == Level::Level7 ? 68 : 32;
}

std::uint8_t versionFor(Level level, bool hasMemo)
{
    switch (level) {
    case Level::DBase3:
        return hasMemo ? 0x83 : 0x03;
    case Level::DBase4:
        return hasMemo ? 0x8B : 0x03;
    case Level::Level7:
        return hasMemo ? 0x8C : 0x04;
    }
    return 0x03;
}

bool isPlainColumnName(const QString& name)
{
    return std::all_of(name.begin(), name.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_';
    });
}

bool hasMemoField(const QList<Field>& fields)
{
    return std::any_of(fields.begin(), fields.end(), [](const Field& f) { return f.type == 'M'; });
}

double toDouble(const Value& value, const Field& field, const QString& path)
{
    if (const auto* i = std::get_if<std::int64_t>(&value))
        return double(*i);
    if (const auto* d = std::get_if<double>(&value))
        return *d;
    if (const auto* b = std::get_if<bool>(&value))
        return *b ? 1 : 0;
    if (const auto* s = std::get_if<QString>(&value)) {
        bool ok = false;
        const double d = s->trimmed().toDouble(&ok);
        if (ok)
            return d;
    }
    throw DbfError(QStringLiteral("Valoarea nu este un numar pentru campul %1 din tabelul \"%2\".")
                       .arg(field.name, baseName(path)));
}


}

QString memoTextOf(const Value& value)
{
    if (const auto* s = std::get_if<QString>(&value))
        return *s;
    if (const auto* i = std::get_if<std::int64_t>(&value))
        return QString::number(*i);
    if (const auto* d = std::get_if<double>(&value))
        return QString::number(*d, 'g', 15);
    return {};
}

QString textTooLong(const Field& field, int length, const QString& table)
{
    return QStringLiteral("Textul are %1 caractere; coloana %2 din tabelul \"%3\" primeste cel mult %4.")
        .arg(QString::number(length), field.name, table, QString::number(field.width));
}

QString memoPathFor(const QString& tablePath)
{
    return resolveFileName(withExtension(tablePath, QStringLiteral("dbt")));
}

bool DbfTable::parseNumber(const char* p, int width, double& out)
{
    const QByteArray text = trimmedField(p, width);
    if (text.isEmpty())
        return false;
    // Fast path for plain decimals, the only form tables hold.
    const char* s = text.constData();
    const char* e = s + text.size();
    bool negative = false;
    if (*s == '-' || *s == '+') {
        negative = *s == '-';
        ++s;
    }
    if (s == e)
        return false;
    // All digits form one integer divided once by a power of ten, so the result is the nearest
    // double to the decimal text (adding a separately divided fraction is not: 1.14 != 1 + 0.14).
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    double whole = 0;
    int digits = 0;
    int scale = 0;
    while (s < e && *s >= '0' && *s <= '9') {
        whole = whole * 10 + (*s++ - '0');
        ++digits;
    }
    if (s < e && *s == '.') {
        ++s;
        while (s < e && *s >= '0' && *s <= '9') {
            whole = whole * 10 + (*s++ - '0');
            ++digits;
            ++scale;
        }
    }
    // Other forms, and more digits than a double holds exactly, go to the general parser.
    if (s != e || digits > 15) {
        bool ok = false;
        const double v = QByteArray(text).toDouble(&ok);
        if (!ok)
            return false;
        out = v;
        return true;
    }
    if (scale > 0)
        whole /= kPowers[scale];
    out = negative ? -whole : whole;
    return true;
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
    const auto format = m_version == 0x83 ? MemoFile::Format::DBase3 : MemoFile::Format::DBase4;
    m_memo = std::make_unique<MemoFile>(memoPath, format);
}

void DbfTable::parseHeader(const QByteArray& data, qint64 fileSize)
{
    if (fileSize < 32)
        damaged(m_path, QStringLiteral("antetul este incomplet (%1 octeti)").arg(fileSize));
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    m_version = bytes[0];
    if (m_version == 0x83)
        m_level = Level::DBase3;
    else if ((m_version & 0x07) == 0x04)
        m_level = Level::Level7;
    else if ((m_version & 0x07) == 0x03)
        m_level = Level::DBase4;
    else
        damaged(m_path, QStringLiteral("versiunea 0x%1 nu este a unui tabel dBase").arg(m_version, 2, 16, QLatin1Char('0')));

    m_recordCount = int(qFromLittleEndian<quint32>(bytes + 4));
    m_headerLength = qFromLittleEndian<quint16>(bytes + 8);
    m_recordLength = qFromLittleEndian<quint16>(bytes + 10);
    m_mdxFlag = bytes[28] != 0;
    m_languageDriver = bytes[29];
    if (qFromLittleEndian<quint32>(bytes + 4) > 0x7FFFFFFFu)
        damaged(m_path, QStringLiteral("numarul de inregistrari din antet este imposibil"));

    const int first = firstDescriptor(m_level);
    const int size = descriptorSize(m_level);
    if (m_headerLength < first + 1 || m_headerLength > fileSize)
        damaged(m_path, QStringLiteral("antetul este incomplet"));

    m_fields.clear();
    m_fieldByName.clear();
    int pos = first;
    int offset = 0;
    bool terminated = false;
    while (pos < m_headerLength) {
        if (bytes[pos] == kTerminator) {
            terminated = true;
            break;
        }
        if (pos + size > m_headerLength)
            damaged(m_path, QStringLiteral("descrierea coloanei %1 este incompleta").arg(m_fields.size() + 1));
        const int nameLength = m_level == Level::Level7 ? 32 : 11;
        int n = 0;
        while (n < nameLength && bytes[pos + n] != 0)
            ++n;
        Field field;
        field.name = QString::fromLatin1(data.constData() + pos, n).trimmed();
        const int typeAt = m_level == Level::Level7 ? 32 : 11;
        const int widthAt = m_level == Level::Level7 ? 33 : 16;
        field.type = char(std::toupper(bytes[pos + typeAt]));
        field.width = bytes[pos + widthAt];
        field.decimals = bytes[pos + widthAt + 1];
        field.offset = offset;
        if (field.name.isEmpty() || field.width == 0 || field.type < 'A' || field.type > 'Z'
            || (field.isNumeric() && field.decimals >= field.width && field.decimals != 0))
            damaged(m_path, QStringLiteral("descrierea coloanei %1 este gresita").arg(m_fields.size() + 1));
        // Column names reach SQL declarations: only letters, digits and "_" are taken.
        if (!isPlainColumnName(field.name))
            damaged(m_path, QStringLiteral("coloana %1 are numele nepermis \"%2\" (un nume de coloana are doar litere, cifre si _)")
                                .arg(m_fields.size() + 1)
                                .arg(field.name));
        if (m_fieldByName.contains(field.name.toUpper()))
            damaged(m_path, QStringLiteral("coloana %1 apare de doua ori").arg(field.name));
        offset += field.width;
        m_fieldByName.insert(field.name.toUpper(), int(m_fields.size()));
        m_fields.append(field);
        pos += size;
    }
    if (!terminated)
        damaged(m_path, QStringLiteral("lipseste sfarsitul descrierii coloanelor"));
    if (m_fields.isEmpty())
        damaged(m_path, QStringLiteral("tabelul nu are coloane"));
    if (offset + 1 != m_recordLength)
        damaged(m_path, QStringLiteral("lungimea inregistrarii (%1) nu corespunde coloanelor (%2)")
                            .arg(m_recordLength)
                            .arg(offset + 1));
    const qint64 needed = qint64(m_headerLength) + qint64(m_recordCount) * m_recordLength;
    if (needed > fileSize)
        damaged(m_path, QStringLiteral("antetul numara %1 inregistrari, dar fisierul se termina dupa %2")
                            .arg(m_recordCount)
                            .arg((fileSize - m_headerLength) / m_recordLength));
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
    if (isBlank(p, f.width))
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
        damaged(m_path, QStringLiteral("lipseste fisierul de texte"));
    return m_memo->read(block);
}

QString DbfTable::memoText(int row, int column) const
{
    return cp1250::decode(memoBytes(row, column));
}

Value DbfTable::value(int row, int column) const
{
    const Field& f = m_fields[column];
    const char* p = record(row) + f.offset;
    switch (f.type) {
    case 'N':
    case 'F': {
        double d;
        if (!parseNumber(p, f.width, d))
            return {};
        if (f.decimals == 0 && std::fabs(d) < 9.0e15)
            return static_cast<std::int64_t>(std::llround(d));
        return d;
    }
    case 'D': {
        if (isBlank(p, f.width))
            return {};
        const QDate date = QDate::fromString(QString::fromLatin1(p, std::min(f.width, 8)), QStringLiteral("yyyyMMdd"));
        if (!date.isValid())
            return {};
        return date;
    }
    case 'L':
        switch (*p) {
        case 'T': case 't': case 'Y': case 'y':
            return true;
        case 'F': case 'f': case 'N': case 'n':
            return false;
        default:
            return {};
        }
    case 'M': {
        QString memo = memoText(row, column);
        if (memo.isEmpty())
            return {};
        return memo;
    }
    default: {
        int end = f.width;
        while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\0'))
            --end;
        if (end == 0)
            return {};
        return cp1250::decode(p, end);
    }
    }
}

QByteArray DbfTable::encodeField(const Field& field, const Value& value)
{
    QByteArray out(field.width, ' ');
    if (dbf::isNull(value))
        return out;
    switch (field.type) {
    case 'N':
    case 'F': {
        if (const auto* s = std::get_if<QString>(&value); s && s->trimmed().isEmpty())
            return out;
        const double d = toDouble(value, field, m_path);
        if (!std::isfinite(d))
            throw DbfError(QStringLiteral("Valoarea nu este un numar pentru campul %1 din tabelul \"%2\".")
                               .arg(field.name, fileName()));
        const QString text = QString::fromLatin1(formatNumber(d, field.decimals));
        if (text.size() > field.width)
            throw DbfError(QStringLiteral("Valoarea %1 nu incape in campul %2 (%3,%4) din tabelul \"%5\".")
                               .arg(text, field.name)
                               .arg(field.width)
                               .arg(field.decimals)
                               .arg(fileName()));
        const QByteArray latin = text.toLatin1();
        std::copy(latin.begin(), latin.end(), out.data() + (field.width - latin.size()));
        return out;
    }
    case 'D': {
        QDate date;
        if (const auto* d = std::get_if<QDate>(&value)) {
            date = *d;
        } else if (const auto* s = std::get_if<QString>(&value)) {
            const QString t = s->trimmed();
            if (t.isEmpty())
                return out;
            for (const char* format : {"yyyy-MM-dd", "dd.MM.yyyy", "yyyyMMdd"}) {
                date = QDate::fromString(t, QLatin1String(format));
                if (date.isValid())
                    break;
            }
        }
        if (!date.isValid())
            throw DbfError(QStringLiteral("Valoarea nu este o data pentru campul %1 din tabelul \"%2\".")
                               .arg(field.name, fileName()));
        const QByteArray text = date.toString(QStringLiteral("yyyyMMdd")).toLatin1();
        std::copy(text.begin(), text.end(), out.data());
        return out;
    }
    case 'L': {
        bool b = false;
        if (const auto* v = std::get_if<bool>(&value))
            b = *v;
        else if (const auto* i = std::get_if<std::int64_t>(&value))
            b = *i != 0;
        else if (const auto* d = std::get_if<double>(&value))
            b = *d != 0;
        else if (const auto* s = std::get_if<QString>(&value))
            b = s->startsWith(QLatin1Char('T'), Qt::CaseInsensitive) || s->startsWith(QLatin1Char('Y'), Qt::CaseInsensitive);
        out[0] = b ? 'T' : 'F';
        return out;
    }
    case 'M': {
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
    default: {
        QString text;
        if (const auto* s = std::get_if<QString>(&value))
            text = *s;
        else if (const auto* i = std::get_if<std::int64_t>(&value))
            text = QString::number(*i);
        else if (const auto* d = std::get_if<double>(&value))
            text = QString::number(*d, 'g', 15);
        else if (const auto* date = std::get_if<QDate>(&value))
            text = date->toString(QStringLiteral("yyyy-MM-dd"));
        else if (const auto* b = std::get_if<bool>(&value))
            text = *b ? QStringLiteral("T") : QStringLiteral("F");
        // Blanks past the width are the padding the field adds anyway; anything else is refused.
        qsizetype length = text.size();
        while (length > field.width && text[length - 1] == QLatin1Char(' '))
            --length;
        if (length > field.width)
            throw DbfError(textTooLong(field, int(length), fileName()));
        QByteArray bytes;
        QChar bad;
        if (!cp1250::tryEncode(QStringView(text).left(length), bytes, &bad))
            throw DbfError(EncodingError(bad, text).message());
        std::copy(bytes.begin(), bytes.end(), out.data());
        return out;
    }
    }
}

int DbfTable::formatNumberInto(double v, int decimals, char* buffer)
{
    char* const end = buffer + 400;
    std::to_chars_result r;
    if (decimals == 0) {
        const double rounded = std::round(v);
        r = std::fabs(rounded) < 9.0e15 ? std::to_chars(buffer, end, static_cast<long long>(rounded))
                                        : std::to_chars(buffer, end, rounded, std::chars_format::fixed, 0);
    } else {
        // Values whose scaled form lies clearly away from a half (all but a few) round the same way
        // as the exact binary value: write the scaled integer with the point put in.
        static constexpr double kScales[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
        if (decimals < 10) {
            const double scaled = v * kScales[decimals];
            const double nearest = std::nearbyint(scaled);
            if (std::fabs(scaled) < 1.0e15 && std::fabs(scaled - nearest) < 0.25) {
                long long digits = static_cast<long long>(nearest);
                char* p = buffer;
                if (digits < 0) {
                    *p++ = '-';
                    digits = -digits;
                }
                char text[24];
                const int n = int(std::to_chars(text, text + sizeof text, digits).ptr - text);
                // Leading zeros up to one whole digit: 5 with two decimals is "0.05".
                const int padding = std::max(0, decimals + 1 - n);
                std::memmove(text + padding, text, size_t(n));
                std::fill(text, text + padding, '0');
                const int wholeDigits = n + padding - decimals;
                std::memcpy(p, text, size_t(wholeDigits));
                p += wholeDigits;
                *p++ = '.';
                std::memcpy(p, text + wholeDigits, size_t(decimals));
                p += decimals;
                r = {p, std::errc()};
            } else {
                r = std::to_chars(buffer, end, v, std::chars_format::fixed, decimals);
            }
        } else {
            r = std::to_chars(buffer, end, v, std::chars_format::fixed, decimals);
        }
    }
    int length = int(r.ptr - buffer);
    // "-0.00" is zero.
    if (buffer[0] == '-' && std::all_of(buffer + 1, r.ptr, [](char c) { return c == '0' || c == '.'; })) {
        std::memmove(buffer, buffer + 1, size_t(length - 1));
        --length;
    }
    return length;
}

QByteArray DbfTable::formatNumber(double v, int decimals)
{
    char buffer[400];
    return QByteArray(buffer, formatNumberInto(v, decimals, buffer));
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
    QByteArray head(8, '\0');
    if (!file.seek(0) || file.read(head.data(), head.size()) != head.size())
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu poate fi citit: %2").arg(fileName(), file.errorString()));
    const qint64 onDisk = qFromLittleEndian<quint32>(head.constData() + 4);
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
    QByteArray header = m_header.left(8);
    qToLittleEndian<quint32>(quint32(m_recordCount), header.data() + 4);
    touchDate(header);
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

void DbfTable::touchDate(QByteArray& header) const
{
    const QDate today = QDate::currentDate();
    header[1] = char(today.year() - 1900);
    header[2] = char(today.month());
    header[3] = char(today.day());
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
    qToLittleEndian<quint32>(quint32(m_recordCount - deleted), header.data() + 4);
    touchDate(header);
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

QList<Field> DbfTable::layoutFields(const QList<FieldSpec>& specs, int* recordLength, const QString& path)
{
    QList<Field> fields;
    QSet<QString> names;
    int offset = 0;
    for (const FieldSpec& column : specs) {
        Field f;
        f.name = column.name.trimmed().toUpper();
        f.type = char(std::toupper(column.type));
        f.width = column.width;
        f.decimals = column.decimals;
        switch (f.type) {
        case 'D':
            f.width = 8;
            f.decimals = 0;
            break;
        case 'L':
            f.width = 1;
            f.decimals = 0;
            break;
        case 'M':
            f.width = 10;
            f.decimals = 0;
            break;
        case 'C':
            f.decimals = 0;
            break;
        default:
            break;
        }
        const bool badName = f.name.isEmpty() || f.name.size() > 10
            || std::any_of(f.name.begin(), f.name.end(), [](QChar c) {
                   return !(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_');
               });
        if (badName)
            throw DbfError(QStringLiteral("Numele de coloana \"%1\" nu este permis in tabelul \"%2\".").arg(column.name, baseName(path)));
        if (names.contains(f.name))
            throw DbfError(QStringLiteral("Coloana %1 apare de doua ori in tabelul \"%2\".").arg(f.name, baseName(path)));
        names.insert(f.name);
        const bool badWidth = (f.type == 'C' && (f.width < 1 || f.width > 254))
            || ((f.type == 'N' || f.type == 'F') && (f.width < 1 || f.width > 20 || f.decimals < 0 || (f.decimals > 0 && f.decimals > f.width - 2)))
            || !QByteArrayView("CNFDLM").contains(f.type);
        if (badWidth)
            throw DbfError(QStringLiteral("Tipul coloanei %1 (%2,%3,%4) nu este permis in tabelul \"%5\".")
                               .arg(f.name, QString(QLatin1Char(f.type)))
                               .arg(f.width)
                               .arg(f.decimals)
                               .arg(baseName(path)));
        f.offset = offset;
        offset += f.width;
        fields.append(f);
    }
    if (fields.isEmpty())
        throw DbfError(QStringLiteral("Tabelul \"%1\" trebuie sa aiba cel putin o coloana.").arg(baseName(path)));
    *recordLength = offset + 1;
    return fields;
}

QByteArray DbfTable::buildHeader(Level level, std::uint8_t version, std::uint8_t languageDriver,
                                 const QList<Field>& fields, int recordCount, int recordLength)
{
    const int first = firstDescriptor(level);
    const int size = descriptorSize(level);
    const int headerLength = first + size * int(fields.size()) + 1;
    QByteArray header(headerLength, '\0');
    header[0] = char(version);
    const QDate today = QDate::currentDate();
    header[1] = char(today.year() - 1900);
    header[2] = char(today.month());
    header[3] = char(today.day());
    qToLittleEndian<quint32>(quint32(recordCount), header.data() + 4);
    qToLittleEndian<quint16>(quint16(headerLength), header.data() + 8);
    qToLittleEndian<quint16>(quint16(recordLength), header.data() + 10);
    header[29] = char(languageDriver);
    if (level == Level::Level7) {
        const QByteArray driver("DBWINEE0");
        std::copy(driver.begin(), driver.end(), header.data() + 32);
    }
    int pos = first;
    for (const Field& f : fields) {
        const QByteArray name = f.name.toLatin1();
        std::copy(name.begin(), name.end(), header.data() + pos);
        const int typeAt = level == Level::Level7 ? 32 : 11;
        const int widthAt = level == Level::Level7 ? 33 : 16;
        header[pos + typeAt] = f.type;
        header[pos + widthAt] = char(f.width);
        header[pos + widthAt + 1] = char(f.decimals);
        pos += size;
    }
    header[pos] = kTerminator;
    return header;
}

void DbfTable::create(const QString& path, const QList<FieldSpec>& specs)
{
    int recordLength = 0;
    const QList<Field> fields = layoutFields(specs, &recordLength, path);
    const bool memo = hasMemoField(fields);
    QByteArray contents = buildHeader(Level::DBase4, versionFor(Level::DBase4, memo), 0xC8, fields, 0, recordLength);
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
    if (file.size() < 29)
        return false;
    return file.seek(28) && file.write("\0", 1) == 1;
}

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
    QByteArray head(8, '\0');
    if (!file.open(QIODevice::ReadOnly) || file.read(head.data(), head.size()) != head.size())
        throw DbfError(QStringLiteral("Tabelul \"%1\" nu poate fi citit: %2").arg(fileName(), file.errorString()));
    return qFromLittleEndian<quint32>(head.constData() + 4);
}

void DbfTable::restructure(const QList<FieldSpec>& newSpecs, const RecordFill& fill)
{
    writePendingAppends();
    closeWriter();
    int recordLength = 0;
    const QList<Field> newFields = layoutFields(newSpecs, &recordLength, m_path);
    const bool memo = hasMemoField(newFields);
    const std::uint8_t version = versionFor(m_level, memo);
    const std::uint8_t driver = m_languageDriver ? m_languageDriver : 0xC8;
    const auto memoFormat = m_level == Level::DBase3 ? MemoFile::Format::DBase3 : MemoFile::Format::DBase4;
    constexpr int kMemoBlock = 512;

    // Where each new column comes from, and whether its bytes can be copied as they are.
    std::vector<int> source;
    std::vector<bool> sameBytes;
    for (const Field& f : newFields) {
        const int from = fieldIndex(f.name);
        source.push_back(from);
        const Field* old = from >= 0 ? &m_fields[from] : nullptr;
        sameBytes.push_back(old && old->type != 'M' && f.type == old->type && f.width == old->width
                            && f.decimals == old->decimals);
    }

    try {
        // The memo file first: the first write that fails names it, as creating one does.
        std::unique_ptr<StagedFile> memoFile;
        quint32 nextBlock = 1;
        if (memo) {
            memoFile = std::make_unique<StagedFile>(memoPathFor(m_path));
            const QByteArray empty = MemoFile::emptyFile(memoFormat, QFileInfo(m_path).completeBaseName());
            memoFile->write(empty);
            memoFile->seek(empty.size()); // written out now
            nextBlock = qFromLittleEndian<quint32>(empty.constData());
        }
        StagedFile table(m_path);
        const QByteArray header = buildHeader(m_level, version, driver, newFields, 0, recordLength);
        table.write(header);

        // A memo text goes into the new memo file; the field gets its first block.
        auto putMemo = [&](char* field, const Field& f, const QByteArray& bytes) {
            if (bytes.isEmpty())
                return;
            const QByteArray stored = MemoFile::blocks(memoFormat, bytes, kMemoBlock);
            memoFile->write(stored);
            const QByteArray number = QByteArray::number(nextBlock);
            nextBlock += quint32(stored.size() / kMemoBlock);
            std::copy(number.begin(), number.end(), field + (f.width - number.size()));
        };
        auto putValue = [&](char* field, const Field& f, const Value& v) {
            if (f.type != 'M') {
                const QByteArray bytes = encodeField(f, v);
                std::copy(bytes.begin(), bytes.end(), field);
                return;
            }
            const QString text = memoTextOf(v);
            QByteArray bytes;
            QChar bad;
            if (!cp1250::tryEncode(text, bytes, &bad))
                throw DbfError(EncodingError(bad, text).message());
            putMemo(field, f, bytes);
        };

        constexpr qsizetype kChunk = 1 << 20;
        QByteArray chunk;
        chunk.reserve(kChunk + recordLength + 1);
        QByteArray rec(recordLength, ' ');
        std::vector<Value> values(size_t(newFields.size()));
        std::vector<Value> converted(size_t(newFields.size()));
        int written = 0;
        for (int r = 0; r < m_recordCount; ++r) {
            std::fill(rec.begin(), rec.end(), ' ');
            rec[0] = isDeleted(r) ? '*' : ' ';
            try {
                if (fill) {
                    for (size_t c = 0; c < source.size(); ++c)
                        converted[c] = source[c] >= 0 ? value(r, source[c]) : Value();
                    values = converted;
                    fill(OldRecord(*this, r), values);
                    if (values.size() != converted.size())
                        throw DbfError(QStringLiteral("Noua inregistrare are %1 valori in loc de %2.")
                                           .arg(values.size())
                                           .arg(converted.size()));
                }
                for (int c = 0; c < newFields.size(); ++c) {
                    const Field& nf = newFields[c];
                    const int from = source[size_t(c)];
                    char* field = rec.data() + 1 + nf.offset;
                    const bool untouched = !fill || values[size_t(c)] == converted[size_t(c)];
                    if (!untouched) {
                        putValue(field, nf, values[size_t(c)]);
                    } else if (from < 0) {
                        continue;
                    } else if (sameBytes[size_t(c)]) {
                        std::copy(record(r) + m_fields[from].offset, record(r) + m_fields[from].offset + nf.width, field);
                    } else if (nf.type == 'M' && m_fields[from].type == 'M') {
                        putMemo(field, nf, memoBytes(r, from));
                    } else {
                        putValue(field, nf, fill ? converted[size_t(c)] : value(r, from));
                    }
                }
            } catch (const DbfError& e) {
                throw DbfError(QStringLiteral("Inregistrarea %1: %2").arg(r + 1).arg(e.message()));
            } catch (const EncodingError& e) {
                throw DbfError(QStringLiteral("Inregistrarea %1: %2").arg(r + 1).arg(e.message()));
            }
            chunk.append(rec);
            ++written;
            if (chunk.size() >= kChunk) {
                table.write(chunk);
                chunk.clear();
            }
        }
        chunk.append(kEndOfFile);
        table.write(chunk);
        // The count of the records written, as the last change of the header.
        QByteArray count(4, '\0');
        qToLittleEndian<quint32>(quint32(written), count.data());
        table.seek(4);
        table.write(count);
        if (memoFile) {
            QByteArray next(4, '\0');
            qToLittleEndian<quint32>(nextBlock, next.data());
            memoFile->seek(0);
            memoFile->write(next);
            memoFile->prepare();
        }
        table.prepare();

        // The new file holds every record, and the old one has no more than were read.
        const qint64 expectedSize = qint64(header.size()) + qint64(written) * recordLength + 1;
        QFile staged(table.path());
        QByteArray head(8, '\0');
        if (!staged.open(QIODevice::ReadOnly) || staged.read(head.data(), head.size()) != head.size()
            || staged.size() != expectedSize || qFromLittleEndian<quint32>(head.constData() + 4) != quint32(m_recordCount))
            throw DbfError(QStringLiteral("Tabelul \"%1\" nu a putut fi rescris: noul fisier nu are toate cele %2 inregistrari.")
                               .arg(fileName())
                               .arg(m_recordCount));
        staged.close();
        if (recordCountOnDisk() != m_recordCount)
            throw DbfError(QStringLiteral("Tabelul \"%1\" a fost schimbat de alt program in timpul rescrierii; nu s-a schimbat nimic, reluati operatia.")
                               .arg(fileName()));

        // The mapping is let go before the new file takes the name (a mapped file cannot be
        // replaced everywhere); the table is read again afterwards, from whichever file is there.
        releaseStorage();
        m_memo.reset();
        try {
            putTableInPlace(table, memoFile.get());
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
