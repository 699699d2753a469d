#include "admin/KtArchive.h"

#include "admin/OperationGuard.h"

#include "core/ProgressShown.h"
#include "core/Paths.h"
#include "core/StagedFile.h"
#include "core/SystemErrors.h"

#include "data/dbf/CodePage1250.h"
#include "services/FileAccess.h"
#include "core/Interaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace velmor {


namespace {

constexpr qint64 kChunk = 64 * 1024;
// Smallest member: length, a one-byte name, size and an empty zlib stream (8 bytes).
constexpr qint64 kSmallestMember = 4 + 1 + 4 + 8;
constexpr qint32 kLongestName = 1024;
// Longest name of one file or folder the file systems in use accept (bytes).
constexpr qsizetype kLongestFileName = 255;

bool isReservedDeviceName(const QString& component)
{
    const QString base = component.section(QLatin1Char('.'), 0, 0).toUpper();
    static const QStringList fixed = { QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                       QStringLiteral("NUL") };
    if (fixed.contains(base))
        return true;
    if (base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT")))
        && base[3] >= QLatin1Char('1') && base[3] <= QLatin1Char('9'))
        return true;
    return false;
}

// The components of a member name, or an empty list when the name could lead outside the target:
// absolute, with a drive letter or stream (":"), with "." or ".." or empty components, or with
// characters no file name may hold.
QStringList safeComponents(const QString& name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('\\')) || name.startsWith(QLatin1Char('/'))
        || name.contains(QLatin1Char(':')))
        return {};
    const QStringList parts = name.split(QRegularExpression(QStringLiteral("[\\\\/]")));
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..") || part.endsWith(QLatin1Char('.'))
            || part.endsWith(QLatin1Char(' ')) || isReservedDeviceName(part))
            return {};
        for (QChar c : part) {
            if (c.unicode() < 0x20 || QStringLiteral("<>\"|?*").contains(c))
                return {};
        }
    }
    return parts;
}

// Sequential reader of an archive file.
class Reader {
public:
    // `shownPath` is the name messages give (the archive a staged file will become).
    explicit Reader(const QString& path, const QString& shownPath = QString())
        : m_path(shownPath.isEmpty() ? path : shownPath)
        , m_file(path)
    {
        const QFileInfo info(path);
        if (!info.exists())
            throw ArchiveError(QStringLiteral("Arhiva %1 nu exista.").arg(nativePath(path)));
        if (info.isDir())
            throw ArchiveError(QStringLiteral("%1 este un director, nu o arhiva.").arg(nativePath(path)));
        if (!m_file.open(QIODevice::ReadOnly))
            throw ArchiveError(QStringLiteral("Nu pot deschide arhiva %1: %2").arg(nativePath(path), m_file.errorString()));
        m_size = m_file.size();
    }

    QString path() const { return m_path; }

    int count()
    {
        const qint32 n = readInt32(QStringLiteral("numarul de fisiere"));
        if (n < 0)
            throw damaged(QStringLiteral("numarul de fisiere este negativ (%1)").arg(n));
        if (n > 0 && qint64(n) > remaining() / kSmallestMember)
            throw damaged(QStringLiteral("declara %1 fisiere, mai multe decat poate cuprinde").arg(n));
        return n;
    }

    KtArchive::Member header(int index)
    {
        const QString where = QStringLiteral("antetul fisierului nr. %1").arg(index);
        const qint32 length = readInt32(where);
        if (length <= 0 || length > kLongestName || length > remaining())
            throw damaged(QStringLiteral("%1 are un nume de lungime %2").arg(where).arg(length));
        const QByteArray raw = readBytes(length, where);
        KtArchive::Member member;
        member.name = dbf::cp1250::decode(raw);
        const qint32 size = readInt32(where);
        if (size < 0)
            throw damaged(QStringLiteral("fisierul %1 are dimensiunea negativa %2").arg(member.name).arg(size));
        member.size = size;
        const QStringList parts = safeComponents(member.name);
        if (parts.isEmpty()) {
            throw ArchiveError(QStringLiteral("Arhiva %1 contine numele nepermis \"%2\" (cale absoluta, litera de "
                                              "unitate sau \"..\"); fisierele ei nu se scriu.")
                                   .arg(nativePath(m_path), member.name));
        }
        for (const QString& part : parts) {
            const qsizetype bytes = QFile::encodeName(part).size();
            if (bytes > kLongestFileName) {
                throw ArchiveError(QStringLiteral("Arhiva %1 contine fisierul \"%2\", al carui nume are %3 octeti; "
                                                  "sistemul de fisiere primeste cel mult %4. Fisierele ei nu se scriu.")
                                       .arg(nativePath(m_path), member.name)
                                       .arg(bytes)
                                       .arg(kLongestFileName));
            }
        }
        if (member.size > remaining() * KtArchive::MaxInflateRatio) {
            throw damaged(QStringLiteral("fisierul %1 declara %2 octeti, mai mult decat poate cuprinde arhiva")
                              .arg(member.name)
                              .arg(member.size));
        }
        return member;
    }

    // Inflates the member's stream into the sink (or nowhere), checking that it holds exactly
    // the declared size; leaves the file positioned after the stream.
    // Returns the CRC-32 of the member's bytes.
    quint32 inflate(const KtArchive::Member& member, QIODevice* sink, const QString& sinkPath)
    {
        uLong crc = crc32(0L, Z_NULL, 0);
        z_stream zs {};
        if (inflateInit(&zs) != Z_OK)
            throw ArchiveError(QStringLiteral("Nu pot porni dezarhivarea (zlib)."));
        struct End {
            z_stream* zs;
            ~End() { inflateEnd(zs); }
        } end { &zs };

        QByteArray in(kChunk, Qt::Uninitialized);
        QByteArray out(kChunk, Qt::Uninitialized);
        qint64 produced = 0;
        for (;;) {
            zs.next_out = reinterpret_cast<Bytef*>(out.data());
            zs.avail_out = uInt(kChunk);
            const int rc = ::inflate(&zs, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
                throw damaged(QStringLiteral("fisierul %1 nu poate fi dezarhivat (%2)")
                                  .arg(member.name, QString::fromLatin1(zs.msg ? zs.msg : "zlib")));
            }
            const qint64 n = kChunk - zs.avail_out;
            produced += n;
            if (n > 0)
                crc = crc32(crc, reinterpret_cast<const Bytef*>(out.constData()), uInt(n));
            if (produced > member.size) {
                throw damaged(QStringLiteral("fisierul %1 are mai mult de %2 octeti cat declara")
                                  .arg(member.name)
                                  .arg(member.size));
            }
            if (sink && n > 0 && sink->write(out.constData(), n) != n) {
                throw ArchiveError(QStringLiteral("Nu pot scrie fisierul %1 (din arhiva %2): %3")
                                       .arg(nativePath(sinkPath), nativePath(m_path), sink->errorString()));
            }
            if (rc == Z_STREAM_END)
                break;
            if (zs.avail_out == 0)
                continue; // output was full: more may be pending without new input
            // Inflate stopped with room left: it needs more input.
            if (zs.avail_in != 0)
                throw damaged(QStringLiteral("fisierul %1 nu poate fi dezarhivat").arg(member.name));
            const qint64 got = m_file.read(in.data(), kChunk);
            if (got < 0)
                throw readError();
            if (got == 0)
                throw truncated(QStringLiteral("in mijlocul fisierului %1").arg(member.name));
            zs.next_in = reinterpret_cast<Bytef*>(in.data());
            zs.avail_in = uInt(got);
        }
        if (produced != member.size) {
            throw damaged(QStringLiteral("fisierul %1 are %2 octeti in loc de %3 cat declara")
                              .arg(member.name)
                              .arg(produced)
                              .arg(member.size));
        }
        // Continue right after the stream's trailer.
        if (!m_file.seek(m_file.pos() - zs.avail_in))
            throw readError();
        return quint32(crc);
    }

    // After the last declared member the archive must end: more bytes mean a member count that is
    // too small or data appended to the archive.
    // Two members for one file (in any letter case) would overwrite each other.
    void checkUnique(QHash<QString, QString>& seen, const QString& name, const QString& destination)
    {
        const QString key = destination.toLower();
        const auto earlier = seen.constFind(key);
        if (earlier != seen.cend()) {
            throw damaged(QStringLiteral("fisierul \"%1\" apare de doua ori (prima data ca \"%2\")").arg(name, *earlier));
        }
        seen.insert(key, name);
    }

    void expectEnd(int count)
    {
        const qint64 left = remaining();
        if (left != 0) {
            throw damaged(QStringLiteral("dupa ultimul fisier declarat (%1) mai urmeaza %2 octeti; numarul de fisiere "
                                         "din antet nu corespunde")
                              .arg(count)
                              .arg(left));
        }
    }

private:
    qint64 remaining() const { return m_size - m_file.pos(); }

    ArchiveError damaged(const QString& what) const
    {
        return ArchiveError(QStringLiteral("Arhiva %1 este deteriorata: %2.").arg(nativePath(m_path), what));
    }

    ArchiveError truncated(const QString& where) const
    {
        return ArchiveError(QStringLiteral("Arhiva %1 este incompleta: se termina %2.").arg(nativePath(m_path), where));
    }

    ArchiveError readError() const
    {
        return ArchiveError(QStringLiteral("Nu pot citi arhiva %1: %2").arg(nativePath(m_path), m_file.errorString()));
    }

    QByteArray readBytes(qint64 count, const QString& where)
    {
        const QByteArray bytes = m_file.read(count);
        if (m_file.error() != QFileDevice::NoError)
            throw readError();
        if (bytes.size() != count)
            throw truncated(QStringLiteral("in %1").arg(where));
        return bytes;
    }

    qint32 readInt32(const QString& where)
    {
        const QByteArray bytes = readBytes(4, where);
        return qFromLittleEndian<qint32>(bytes.constData());
    }

    QString m_path;
    QFile m_file;
    qint64 m_size = 0;
};

void writeInt32(StagedFile& out, qint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.write(bytes, 4);
}

// Appends one zlib stream of exactly `size` bytes read from the file; returns their CRC-32.
quint32 deflateFile(QFile& in, qint64 size, StagedFile& out)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    z_stream zs {};
    if (deflateInit(&zs, Z_DEFAULT_COMPRESSION) != Z_OK)
        throw ArchiveError(QStringLiteral("Nu pot porni arhivarea (zlib)."));
    struct End {
        z_stream* zs;
        ~End() { deflateEnd(zs); }
    } end { &zs };

    QByteArray inBuf(kChunk, Qt::Uninitialized);
    QByteArray outBuf(kChunk, Qt::Uninitialized);
    qint64 consumed = 0;
    int flush = Z_NO_FLUSH;
    do {
        const qint64 got = in.read(inBuf.data(), std::min(kChunk, size - consumed + 1));
        if (got < 0)
            throw ArchiveError(QStringLiteral("Nu pot citi fisierul %1: %2").arg(nativePath(in.fileName()), in.errorString()));
        consumed += got;
        if (consumed > size || (got == 0 && consumed < size)) {
            throw ArchiveError(QStringLiteral("Fisierul %1 s-a schimbat in timpul salvarii.").arg(nativePath(in.fileName())));
        }
        flush = consumed == size ? Z_FINISH : Z_NO_FLUSH;
        if (got > 0)
            crc = crc32(crc, reinterpret_cast<const Bytef*>(inBuf.constData()), uInt(got));
        zs.next_in = reinterpret_cast<Bytef*>(inBuf.data());
        zs.avail_in = uInt(got);
        do {
            zs.next_out = reinterpret_cast<Bytef*>(outBuf.data());
            zs.avail_out = uInt(kChunk);
            const int rc = ::deflate(&zs, flush);
            if (rc == Z_STREAM_ERROR)
                throw ArchiveError(QStringLiteral("Arhivarea fisierului %1 a esuat.").arg(nativePath(in.fileName())));
            const qint64 n = kChunk - zs.avail_out;
            if (n > 0)
                out.write(outBuf.constData(), n);
        } while (zs.avail_out == 0);
    } while (flush != Z_FINISH);
    return quint32(crc);
}

// Moves files and can undo every move done so far.
class Mover {
public:
    bool move(const QString& from, const QString& to)
    {
        if (!QFile::rename(from, to))
            return false;
        m_done.push_back({ from, to });
        return true;
    }
    // False when some file could not be put back.
    bool undo()
    {
        bool ok = true;
        for (auto it = m_done.rbegin(); it != m_done.rend(); ++it)
            ok = QFile::rename(it->second, it->first) && ok;
        m_done.clear();
        return ok;
    }

private:
    std::vector<std::pair<QString, QString>> m_done;
};

bool isInside(const QString& path, const QString& dir)
{
    const QString p = QFileInfo(path).canonicalFilePath();
    const QString d = QFileInfo(dir).canonicalFilePath();
    if (p.isEmpty() || d.isEmpty())
        return false;
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    return p.compare(d, cs) == 0 || p.startsWith(d + QLatin1Char('/'), cs);
}

// Reads the staged archive back whole and compares every member with what was written.
void checkWritten(const QString& staged, const QString& archivePath, const std::vector<KtArchive::Member>& written)
{
    const auto unreadable = [&](const QString& why) {
        return ArchiveError(cannotWriteMessage(archivePath, QStringLiteral("arhiva scrisa nu se citeste inapoi la fel (%1).").arg(why)));
    };
    std::vector<KtArchive::Member> read;
    try {
        Reader reader(staged, archivePath);
        const int n = reader.count();
        for (int i = 1; i <= n; ++i) {
            KtArchive::Member member = reader.header(i);
            member.crc = reader.inflate(member, nullptr, QString());
            read.push_back(member);
        }
        reader.expectEnd(n);
    } catch (const ArchiveError& e) {
        throw unreadable(e.message());
    }
    if (read.size() != written.size())
        throw unreadable(QStringLiteral("%1 fisiere in loc de %2").arg(read.size()).arg(written.size()));
    for (size_t i = 0; i < read.size(); ++i) {
        // Names compare as stored (a letter Windows-1250 lacks is written as its nearest one).
        if (dbf::cp1250::encode(read[i].name) != dbf::cp1250::encode(written[i].name) || read[i].size != written[i].size || read[i].crc != written[i].crc)
            throw unreadable(QStringLiteral("fisierul %1 difera").arg(written[i].name));
    }
}

}

QStringList KtArchive::filesToSave(const QString& dataDir)
{
    const QDir dir(dataDir);
    if (dataDir.isEmpty() || !dir.exists())
        throw ArchiveError(QStringLiteral("Directorul de date %1 nu exista.").arg(nativePath(dataDir)));
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                    QDir::Unsorted);
    QStringList names;
    for (const QFileInfo& entry : entries) {
        // The lock and the marker of the data directory belong to this run, not to the data.
        if (entry.exists() && entry.isFile() && entry.size() > 0 && !isLockOrMarkerFile(entry.fileName()))
            names << entry.fileName();
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return a.compare(b) < 0; });
    QStringList paths;
    for (const QString& name : names)
        paths << dir.filePath(name);
    return paths;
}

int KtArchive::write(const QString& archivePath, const QStringList& files, Interaction* ui)
{
    if (files.isEmpty())
        return 0;
    if (files.size() > std::numeric_limits<qint32>::max())
        throw ArchiveError(QStringLiteral("Prea multe fisiere pentru o arhiva."));
    const QFileInfo target(archivePath);
    if (target.isDir())
        throw ArchiveError(QStringLiteral("%1 este un director, nu o arhiva.").arg(nativePath(archivePath)));
    if (target.exists() && isReadOnly(target))
        throw ArchiveError(QStringLiteral("Nu pot scrie arhiva %1: fisierul este numai pentru citire.").arg(nativePath(archivePath)));

    try {
        StagedFile out(archivePath);
        ProgressSteps progress(ui);
        const int n = int(files.size());
        progress.maximumOf(n);
        std::vector<Member> written;
        written.reserve(size_t(n));
        writeInt32(out, n);
        for (int i = 0; i < n; ++i) {
            progress.step(i);
            const QString& path = files[i];
            const QString name = QStringLiteral("Data\\") + QFileInfo(path).fileName();
            QByteArray rawName;
            QChar bad;
            if (!dbf::cp1250::tryEncode(name, rawName, &bad)) {
                throw ArchiveError(QStringLiteral("Numele fisierului %1 contine caracterul \"%2\", care nu poate fi scris "
                                                  "in arhiva (codul Windows-1250).")
                                       .arg(nativePath(path), QString(bad)));
            }
            QFile in(path);
            if (!in.open(QIODevice::ReadOnly))
                throw ArchiveError(QStringLiteral("Nu pot deschide fisierul %1: %2").arg(nativePath(path), in.errorString()));
            const qint64 size = in.size();
            if (size > std::numeric_limits<qint32>::max())
                throw ArchiveError(QStringLiteral("Fisierul %1 este prea mare pentru arhiva (peste 2 GB).").arg(nativePath(path)));
            writeInt32(out, qint32(rawName.size()));
            out.write(rawName);
            writeInt32(out, qint32(size));
            written.push_back({ name, size, deflateFile(in, size, out) });
        }
        out.prepare();
        checkWritten(out.path(), archivePath, written);
        out.commit();
        return n;
    } catch (const WriteError& e) {
        throw ArchiveError(e.message());
    }
}

int KtArchive::memberCount(const QString& archivePath)
{
    Reader reader(archivePath);
    return reader.count();
}

std::vector<KtArchive::Member> KtArchive::verify(const QString& archivePath)
{
    Reader reader(archivePath);
    const int n = reader.count();
    std::vector<Member> members;
    members.reserve(n);
    QHash<QString, QString> seen;
    for (int i = 1; i <= n; ++i) {
        Member member = reader.header(i);
        reader.checkUnique(seen, member.name, safeComponents(member.name).join(QLatin1Char('/')));
        member.crc = reader.inflate(member, nullptr, QString());
        members.push_back(member);
    }
    reader.expectEnd(n);
    return members;
}

QStringList KtArchive::extract(const QString& archivePath, const QString& targetDir, Layout layout, bool removeOthers,
                               Interaction* ui)
{
    Reader reader(archivePath);
    if (targetDir.isEmpty() || !QDir().mkpath(targetDir))
        throw ArchiveError(QStringLiteral("Nu pot crea directorul %1.").arg(nativePath(targetDir)));
    const QString target = QFileInfo(targetDir).absoluteFilePath();

    QTemporaryDir scratch(target + QStringLiteral("/.velmor-extract-XXXXXX"));
    if (!scratch.isValid())
        throw ArchiveError(QStringLiteral("Nu pot scrie in directorul %1: %2").arg(nativePath(target), scratch.errorString()));

    // 1. Every member into the scratch folder; any fault ends here and the scratch folder goes.
    ProgressSteps progress(ui);
    const int n = reader.count();
    progress.maximumOf(n);
    QStringList order;                 // relative destinations, first appearance order
    QHash<QString, QString> stagedFor; // relative destination -> scratch file
    QHash<QString, QString> seen;      // destination in lower case -> member name
    for (int i = 1; i <= n; ++i) {
        progress.step(i);
        const Member member = reader.header(i);
        const QStringList parts = safeComponents(member.name);
        QString relative;
        if (layout == Layout::DataDirectory) {
            if (parts.size() != 2 || parts[0].compare(QLatin1String("Data"), Qt::CaseInsensitive) != 0) {
                throw ArchiveError(QStringLiteral("Arhiva %1 contine fisierul \"%2\", care nu este din directorul de "
                                                  "date (Data\\).")
                                       .arg(nativePath(archivePath), member.name));
            }
            relative = parts[1];
        } else {
            relative = parts.join(QLatin1Char('/'));
        }
        reader.checkUnique(seen, member.name, relative);
        const QString staged = scratch.filePath(QString::number(i));
        QFile file(staged);
        if (!file.open(QIODevice::WriteOnly))
            throw ArchiveError(QStringLiteral("Nu pot scrie fisierul %1: %2").arg(nativePath(staged), file.errorString()));
        reader.inflate(member, &file, staged);
        if (!file.flush()) {
            throw ArchiveError(QStringLiteral("Nu pot scrie fisierul %1 (din arhiva %2): %3")
                                   .arg(nativePath(staged), nativePath(archivePath), file.errorString()));
        }
        file.close();
        order << relative;
        stagedFor.insert(relative, staged);
    }
    reader.expectEnd(n);

    // 2. Move the files into place; on failure put everything back as it was.
    const QString aside = scratch.filePath(QStringLiteral("old"));
    QDir().mkpath(aside);
    Mover mover;
    int asideCount = 0;
    auto fail = [&](const QString& message) {
        if (mover.undo())
            throw ArchiveError(message + QStringLiteral(" Fisierele existente au fost lasate neschimbate."));
        // Keep the scratch folder: it may hold files that could not be put back.
        scratch.setAutoRemove(false);
        throw ArchiveError(message + QStringLiteral(" Unele fisiere nu au putut fi puse la loc; ele se afla in %1.")
                                         .arg(nativePath(scratch.path())));
    };
    auto moveAside = [&](const QString& path) {
        if (!mover.move(path, aside + QLatin1Char('/') + QString::number(++asideCount)))
            fail(QStringLiteral("Nu pot inlocui fisierul %1.").arg(nativePath(path)));
    };
    if (removeOthers) {
        const QFileInfoList existing = QDir(target).entryInfoList(
            QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
        for (const QFileInfo& entry : existing)
            moveAside(entry.absoluteFilePath());
    }
    QStringList written;
    for (const QString& relative : order) {
        const QString destination = target + QLatin1Char('/') + relative;
        const QString folder = QFileInfo(destination).absolutePath();
        if (!QDir().mkpath(folder))
            fail(QStringLiteral("Nu pot crea directorul %1.").arg(nativePath(folder)));
        if (!isInside(folder, target)) {
            fail(QStringLiteral("Fisierul %1 din arhiva %2 ar iesi din directorul %3.")
                     .arg(relative, nativePath(archivePath), nativePath(target)));
        }
        const QFileInfo existing(destination);
        if (existing.exists() || existing.isSymLink()) {
            if (existing.isDir())
                fail(QStringLiteral("Nu pot scrie fisierul %1: exista un director cu acest nume.").arg(nativePath(destination)));
            moveAside(destination);
        }
        if (!mover.move(stagedFor.value(relative), destination))
            fail(QStringLiteral("Nu pot scrie fisierul %1.").arg(nativePath(destination)));
        written << destination;
    }
    return written;
}

}
