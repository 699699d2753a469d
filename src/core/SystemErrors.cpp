#include "core/SystemErrors.h"

#include "core/Paths.h"

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace velmor {

SystemFault classifyErrno(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return SystemFault::DiskFull;
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
        return SystemFault::InUse;
    case EACCES:
    case EPERM:
    case EROFS:
        return SystemFault::AccessDenied;
    case ENOENT:
    case ENOTDIR:
        return SystemFault::NoFolder;
    default:
        return SystemFault::Other;
    }
}

SystemFault classifyError(const std::error_code& error)
{
#ifdef Q_OS_WIN
    if (error.category() == std::system_category()) {
        switch (error.value()) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return SystemFault::DiskFull;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_USER_MAPPED_FILE:
            return SystemFault::InUse;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return SystemFault::AccessDenied;
        case ERROR_PATH_NOT_FOUND:
            return SystemFault::NoFolder;
        default:
            break;
        }
    }
#endif
    const std::error_condition condition = error.default_error_condition();
    if (condition.category() == std::generic_category())
        return classifyErrno(condition.value());
    return SystemFault::Other;
}

namespace {

QString reasonFor(SystemFault fault, const QString& detail)
{
    switch (fault) {
    case SystemFault::DiskFull:
        return QStringLiteral("discul este plin.");
    case SystemFault::InUse:
        return QStringLiteral("fisierul este folosit de alt program.");
    case SystemFault::AccessDenied:
        return QStringLiteral("acces interzis.");
    case SystemFault::NoFolder:
        return QStringLiteral("directorul nu exista.");
    case SystemFault::Other:
        break;
    }
    return detail.isEmpty() ? QStringLiteral("scrierea nu a reusit.")
                            : QStringLiteral("scrierea nu a reusit (%1).").arg(detail);
}

}

QString systemErrorReason(int errorNumber)
{
    return reasonFor(classifyErrno(errorNumber),
                     QString::fromLocal8Bit(std::generic_category().message(errorNumber).c_str()));
}

QString systemErrorReason(const std::error_code& error)
{
    return reasonFor(classifyError(error), QString::fromLocal8Bit(error.message().c_str()));
}

QString fileErrorReason(const QFileDevice& file, int errorNumber)
{
    const SystemFault fault = classifyErrno(errorNumber);
    if (fault != SystemFault::Other)
        return reasonFor(fault, QString());
    if (file.error() == QFileDevice::PermissionsError)
        return reasonFor(SystemFault::AccessDenied, QString());
    return reasonFor(SystemFault::Other, file.errorString());
}

QString cannotWriteMessage(const QString& file, const QString& reason)
{
    return QStringLiteral("Nu pot scrie ") + nativePath(file) + QStringLiteral(": ") + reason;
}

}
