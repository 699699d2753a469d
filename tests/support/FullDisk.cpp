#include "support/FullDisk.h"

#include "core/StagedFile.h"

#include <QDir>
#include <QFile>
#include <QMap>

#include <cerrno>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

namespace velmor::test {

namespace {

const char* const kFiller = ".filler";

// The folder whose staged writes fail (one full disk at a time).
QString& faultyFolder()
{
    static QString folder;
    return folder;
}

int diskFull(const QString& target, StagedFile::Step step, qint64, qint64)
{
    const QString& folder = faultyFolder();
    if (step == StagedFile::Step::Write && !folder.isEmpty() && target.startsWith(folder + QLatin1Char('/')))
        return ENOSPC;
    return 0;
}

}

QString FullDisk::modeName(Mode mode)
{
    return mode == Mode::RealFileSystem ? QStringLiteral("RealFileSystem") : QStringLiteral("InjectedFault");
}

FullDisk::FullDisk(Mode mode)
{
#ifdef Q_OS_LINUX
    if (mode == Mode::RealFileSystem && m_dir.isValid() && ::geteuid() == 0
        && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, "size=2m,mode=0777") == 0)
        m_mounted = true;
#else
    Q_UNUSED(mode);
#endif
}

FullDisk::~FullDisk()
{
    release();
#ifdef Q_OS_LINUX
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
#endif
}

void FullDisk::fill()
{
    if (m_filled)
        return;
    m_filled = true;
    if (!m_mounted) {
        faultyFolder() = QDir(dir()).absolutePath();
        StagedFile::setFaultHookForTests(&diskFull);
        return;
    }
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(file(QString::fromLatin1(kFiller))).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return;
    const QByteArray block(64 * 1024, 'x');
    // Large blocks, then single bytes for the last page.
    for (qsizetype size : {block.size(), qsizetype(1)}) {
        while (::write(fd, block.constData(), size_t(size)) > 0) {
        }
    }
    ::fsync(fd);
    ::close(fd);
#endif
}

void FullDisk::release()
{
    if (!m_filled)
        return;
    m_filled = false;
    if (!m_mounted) {
        StagedFile::setFaultHookForTests(nullptr);
        faultyFolder().clear();
        return;
    }
    QFile::remove(file(QString::fromLatin1(kFiller)));
}

QMap<QString, QByteArray> FullDisk::contents() const
{
    QMap<QString, QByteArray> result;
    const QStringList names = QDir(dir()).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        if (name == QLatin1String(kFiller))
            continue;
        QFile f(file(name));
        result.insert(name, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"));
    }
    return result;
}

}
