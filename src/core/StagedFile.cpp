#include "core/StagedFile.h"

#include "core/SystemErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <system_error>

#ifdef Q_OS_WIN
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmor {

namespace {

std::atomic<StagedFile::FaultHook> g_faultHook { nullptr };

constexpr qsizetype kBufferSize = 256 * 1024;

int injectedFault(const QString& target, StagedFile::Step step, qint64 written, qint64 size)
{
    const StagedFile::FaultHook hook = g_faultHook.load();
    return hook ? hook(target, step, written, size) : 0;
}

#ifdef Q_OS_WIN
int openNew(const QString& path)
{
    int fd = -1;
    const errno_t rc = _wsopen_s(&fd, reinterpret_cast<const wchar_t*>(path.utf16()),
                                 _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _SH_DENYWR,
                                 _S_IREAD | _S_IWRITE);
    if (rc != 0)
        errno = rc;
    return rc == 0 ? fd : -1;
}
qint64 writeAt(int fd, const char* data, qint64 size, qint64 offset)
{
    if (_lseeki64(fd, offset, SEEK_SET) < 0)
        return -1;
    return _write(fd, data, unsigned(std::min<qint64>(size, 1 << 30)));
}
int syncFile(int fd) { return _commit(fd); }
int closeFile(int fd) { return _close(fd); }
bool canWrite(const QString& path) { return _waccess(reinterpret_cast<const wchar_t*>(path.utf16()), 2) == 0 || errno == ENOENT; }
#else
int openNew(const QString& path)
{
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}
qint64 writeAt(int fd, const char* data, qint64 size, qint64 offset)
{
    return ::pwrite(fd, data, size_t(size), off_t(offset));
}
int syncFile(int fd) { return ::fsync(fd); }
int closeFile(int fd) { return ::close(fd); }
bool canWrite(const QString& path) { return ::access(QFile::encodeName(path).constData(), W_OK) == 0 || errno == ENOENT; }
#endif

}

class StagedFile::Device : public QIODevice {
public:
    explicit Device(StagedFile& owner)
        : m_owner(owner)
    {
        QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        try {
            m_owner.write(data, size);
        } catch (const WriteError& e) {
            setErrorString(e.message());
            return -1;
        }
        return size;
    }

private:
    StagedFile& m_owner;
};

void StagedFile::setFaultHookForTests(FaultHook hook)
{
    g_faultHook.store(hook);
}

StagedFile::StagedFile(const QString& target)
    : m_target(QFileInfo(target).absoluteFilePath())
{
    QFileInfo info(m_target);
    // A link is followed: the file it names is the one replaced.
    if (info.isSymLink() && !info.symLinkTarget().isEmpty())
        info = QFileInfo(info.symLinkTarget());
    if (info.isDir())
        fail(QStringLiteral("este un director."));
    if (info.exists() && !canWrite(info.absoluteFilePath()))
        fail(systemErrorReason(errno));
    const QString stem = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.');
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        const QString candidate = stem + QString::number(QRandomGenerator::global()->generate() % 0xFFFFFF, 36);
        m_fd = openNew(candidate);
        if (m_fd >= 0)
            m_temporary = candidate;
        else if (errno != EEXIST)
            fail(systemErrorReason(errno));
    }
    if (m_fd < 0)
        fail(systemErrorReason(EEXIST));
    m_final = info.absoluteFilePath();
    m_buffer.reserve(kBufferSize);
}

StagedFile::~StagedFile()
{
    discard();
}

void StagedFile::replace(const QString& target, const QByteArray& content)
{
    StagedFile file(target);
    file.write(content);
    file.commit();
}

void StagedFile::discard()
{
    closeHandle();
    if (!m_committed && !m_temporary.isEmpty()) {
        QFile::remove(m_temporary);
        m_temporary.clear();
    }
}

void StagedFile::closeHandle()
{
    if (m_fd >= 0) {
        closeFile(m_fd);
        m_fd = -1;
    }
}

void StagedFile::fail(const QString& reason)
{
    if (m_failure.isEmpty())
        m_failure = reason;
    discard();
    throw WriteError(cannotWriteMessage(m_target, m_failure));
}

void StagedFile::rawWrite(const char* data, qint64 size, qint64 offset)
{
    while (size > 0) {
        if (const int injected = injectedFault(m_target, Step::Write, m_written, size))
            fail(systemErrorReason(injected));
        const qint64 n = writeAt(m_fd, data, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(systemErrorReason(errno));
        if (n == 0)
            fail(systemErrorReason(ENOSPC));
        data += n;
        size -= n;
        offset += n;
        m_written += n;
    }
}

void StagedFile::flushBuffer()
{
    if (m_buffer.isEmpty())
        return;
    rawWrite(m_buffer.constData(), m_buffer.size(), m_bufferStart);
    m_buffer.clear();
}

void StagedFile::write(const char* data, qint64 size)
{
    if (!m_failure.isEmpty() || m_fd < 0)
        fail(m_failure.isEmpty() ? QStringLiteral("fisierul a fost deja inchis.") : m_failure);
    if (size <= 0)
        return;
    if (!m_buffer.isEmpty() && m_bufferStart + m_buffer.size() != m_position)
        flushBuffer();
    if (m_buffer.isEmpty())
        m_bufferStart = m_position;
    if (m_buffer.size() + size > kBufferSize) {
        flushBuffer();
        m_bufferStart = m_position;
    }
    if (size >= kBufferSize)
        rawWrite(data, size, m_position);
    else
        m_buffer.append(data, qsizetype(size));
    m_position += size;
    m_end = std::max(m_end, m_position);
}

void StagedFile::seek(qint64 position)
{
    if (!m_failure.isEmpty() || m_fd < 0)
        fail(m_failure.isEmpty() ? QStringLiteral("fisierul a fost deja inchis.") : m_failure);
    if (position < 0 || position > m_end)
        fail(QStringLiteral("pozitia %1 este dincolo de sfarsitul fisierului.").arg(position));
    flushBuffer();
    m_position = position;
}

QIODevice& StagedFile::device()
{
    if (!m_device)
        m_device = std::make_unique<Device>(*this);
    return *m_device;
}

void StagedFile::prepare()
{
    if (m_prepared)
        return;
    if (!m_failure.isEmpty() || m_fd < 0)
        fail(m_failure.isEmpty() ? QStringLiteral("fisierul a fost deja inchis.") : m_failure);
    flushBuffer();
    if (const int injected = injectedFault(m_target, Step::Sync, m_written, 0))
        fail(systemErrorReason(injected));
    if (syncFile(m_fd) != 0)
        fail(systemErrorReason(errno));
#ifndef Q_OS_WIN
    // The replaced file's owner group and permissions (shared tables keep their group write).
    struct stat old {};
    if (::stat(QFile::encodeName(m_final).constData(), &old) == 0) {
        if (::fchown(m_fd, uid_t(-1), old.st_gid) != 0) {
            // Another group than one of ours: the permissions below still apply.
        }
        if (::fchmod(m_fd, old.st_mode & 07777) != 0)
            fail(systemErrorReason(errno));
    }
#endif
    const int fd = m_fd;
    m_fd = -1;
    if (closeFile(fd) != 0)
        fail(systemErrorReason(errno));
    m_prepared = true;
}

void StagedFile::commit()
{
    if (m_committed)
        return;
    prepare();
    if (const int injected = injectedFault(m_target, Step::Rename, m_written, 0))
        fail(systemErrorReason(injected));
#ifdef Q_OS_WIN
    if (!MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(m_temporary).utf16()),
                     reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(m_final).utf16()),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        fail(systemErrorReason(std::error_code(int(GetLastError()), std::system_category())));
    m_committed = true;
#else
    if (::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_final).constData()) != 0)
        fail(systemErrorReason(errno));
    m_committed = true;
    // The rename itself reaches the disk with the folder; network file systems refuse with EINVAL.
    const int dir = ::open(QFile::encodeName(QFileInfo(m_final).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        const int rc = ::fsync(dir);
        const int error = errno;
        ::close(dir);
        if (rc != 0 && error != EINVAL && error != ENOTSUP && error != EROFS)
            throw WriteError(cannotWriteMessage(m_target, systemErrorReason(error)));
    }
#endif
}

}
