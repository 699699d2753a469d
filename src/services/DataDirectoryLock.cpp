#include "services/DataDirectoryLock.h"

#include "core/SystemErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStorageInfo>
#include <QSysInfo>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#include <pwd.h>
#include <unistd.h>
#endif

namespace velmor {

namespace {

// QLockFile writes five lines (process, program, computer, machine and boot identifiers); the
// user and the time follow them.
constexpr int UserLine = 5;
constexpr int TimeLine = 6;

}

DataDirectoryLock::DataDirectoryLock(const QString& dataDirectory)
    : m_path(QDir(dataDirectory).filePath(QString::fromLatin1(FileName)))
    , m_lock(std::make_unique<QLockFile>(m_path))
{
    m_lock->setStaleLockTime(0);
}

DataDirectoryLock::~DataDirectoryLock()
{
    unlock();
}

bool DataDirectoryLock::tryLock(int waitMs)
{
    if (m_lock->isLocked())
        return true;
    if (!m_lock->tryLock(waitMs))
        return false;
    // Who took it, for the others' question; a lock file that cannot take the lines still locks.
    QFile file(m_path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        file.write(userName().toUtf8() + '\n'
                   + QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + '\n');
        file.close();
    }
    return true;
}

bool DataDirectoryLock::isLocked() const
{
    return m_lock->isLocked();
}

void DataDirectoryLock::unlock()
{
    if (m_lock->isLocked())
        m_lock->unlock();
}

bool DataDirectoryLock::takeOver()
{
    if (m_lock->isLocked())
        return true;
    QFile::remove(m_path);
    return tryLock(0);
}

DataDirectoryLock::Holder DataDirectoryLock::holder() const
{
    Holder h;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return h;
    const QList<QByteArray> lines = file.readAll().split('\n');
    auto line = [&](int i) { return i < lines.size() ? QString::fromUtf8(lines[i]).trimmed() : QString(); };
    h.process = line(0).toLongLong();
    h.program = line(1);
    h.computer = line(2);
    h.user = line(UserLine);
    h.time = QDateTime::fromString(line(TimeLine), Qt::ISODate);
    const QFileInfo info(m_path);
    if (!h.time.isValid())
        h.time = info.lastModified();
    if (h.user.isEmpty())
        h.user = info.owner();
    return h;
}

QString DataDirectoryLock::busyText() const
{
    const Holder h = holder();
    return QStringLiteral("Baza de date este folosita de %1 (%2) din %3.")
        .arg(h.computer, h.user, h.time.toString(QStringLiteral("dd.MM.yyyy hh:mm")));
}

QString DataDirectoryLock::refusalText() const
{
    switch (m_lock->error()) {
    case QLockFile::PermissionError:
        return cannotWriteMessage(m_path, systemErrorReason(EACCES));
    case QLockFile::UnknownError: {
        // QLockFile keeps no errno; a full disk is the usual cause.
        const QStorageInfo disk(QFileInfo(m_path).absolutePath());
        if (disk.isValid() && disk.bytesAvailable() == 0)
            return cannotWriteMessage(m_path, systemErrorReason(ENOSPC));
        return cannotWriteMessage(m_path, QStringLiteral("scrierea nu a reusit."));
    }
    default:
        return busyText();
    }
}

QString DataDirectoryLock::readOnlyQuestion() const
{
    return refusalText() + QStringLiteral(" Deschidem doar pentru consultare?");
}

int DataDirectoryLock::commandWaitMs()
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("VELMOR_LOCK_WAIT_MS", &ok);
    return ok && fromEnvironment >= 0 ? fromEnvironment : 10000;
}

bool DataDirectoryLock::processRunning(qint64 pid)
{
    if (pid <= 0)
        return false;
#ifdef Q_OS_WIN
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return false;
    DWORD code = 0;
    const bool running = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
#else
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#endif
}

QString DataDirectoryLock::userName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
#ifndef Q_OS_WIN
    if (user.isEmpty()) {
        if (const passwd* account = ::getpwuid(::geteuid()))
            user = QString::fromLocal8Bit(account->pw_name);
    }
#endif
    return user;
}

QString DataDirectoryLock::computerName()
{
    return QSysInfo::machineHostName();
}

}
