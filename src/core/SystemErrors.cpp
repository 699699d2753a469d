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

// The words of each kind of fault, without the full stop.
QString faultText(SystemFault fault)
{
    switch (fault) {
    case SystemFault::DiskFull:
        return QStringLiteral("discul este plin");
    case SystemFault::InUse:
        return QStringLiteral("fisierul este folosit de alt program");
    case SystemFault::AccessDenied:
        return QStringLiteral("acces interzis");
    case SystemFault::NoFolder:
        return QStringLiteral("directorul nu exista");
    case SystemFault::Other:
        break;
    }
    return QString();
}

QString reasonFor(SystemFault fault, const QString& detail)
{
    if (fault != SystemFault::Other)
        return faultText(fault) + QLatin1Char('.');
    return detail.isEmpty() ? QStringLiteral("scrierea nu a reusit.")
                            : QStringLiteral("scrierea nu a reusit (%1).").arg(withoutSystemTexts(detail));
}

}

QString withoutSystemTexts(QString text)
{
    static const struct {
        const char* english;
        const char* romanian; // nullptr: the words of its kind of fault
        SystemFault fault;
    } texts[] = {
        {"Permission denied", nullptr, SystemFault::AccessDenied},
        {"Operation not permitted", nullptr, SystemFault::AccessDenied},
        {"Read-only file system", nullptr, SystemFault::AccessDenied},
        {"No space left on device", nullptr, SystemFault::DiskFull},
        {"Disk quota exceeded", nullptr, SystemFault::DiskFull},
        {"File too large", nullptr, SystemFault::DiskFull},
        {"Device or resource busy", nullptr, SystemFault::InUse},
        {"Text file busy", nullptr, SystemFault::InUse},
        {"No such file or directory", "fisierul sau dosarul nu exista", SystemFault::Other},
        {"Input/output error", "eroare de citire sau scriere pe disc", SystemFault::Other},
        {"Resource temporarily unavailable", "fisierul este ocupat acum", SystemFault::Other},
        {"Is a directory", "este un dosar", SystemFault::Other},
        {"Not a directory", "nu este un dosar", SystemFault::Other},
        {"File exists", "fisierul exista deja", SystemFault::Other},
        {"File name too long", "numele fisierului este prea lung", SystemFault::Other},
        {"Too many open files", "prea multe fisiere deschise", SystemFault::Other},
        {"Directory not empty", "dosarul nu este gol", SystemFault::Other},
        {"Invalid cross-device link", "fisierul nu poate fi mutat pe alt disc", SystemFault::Other},
        {"No file name specified", "lipseste numele fisierului", SystemFault::Other},
        {"Unknown error", "eroare necunoscuta", SystemFault::Other},
    };
    for (const auto& t : texts) {
        const QString romanian = t.romanian ? QString::fromLatin1(t.romanian) : faultText(t.fault);
        text.replace(QLatin1String(t.english), romanian, Qt::CaseInsensitive);
    }
    return text;
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
