#include "data/dbf/StagedTable.h"

#include "core/StagedFile.h"
#include "core/SystemErrors.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <filesystem>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace velmor::dbf {

namespace {

// A second name for the file (a hard link where the system has them, else a copy).
void keepCopy(const QString& path, const QString& copy)
{
#ifndef Q_OS_WIN
    if (::link(QFile::encodeName(path).constData(), QFile::encodeName(copy).constData()) == 0)
        return;
    const int error = errno;
    if (error != EPERM && error != EOPNOTSUPP && error != EXDEV)
        throw WriteError(cannotWriteMessage(copy, systemErrorReason(error)));
#endif
    if (!QFile::copy(path, copy))
        throw WriteError(cannotWriteMessage(copy, systemErrorReason(errno)));
}

}

void putTableInPlace(StagedFile& table, StagedFile* memo)
{
    if (memo)
        memo->prepare();
    table.prepare();
    if (!memo) {
        table.commit();
        return;
    }
    const QString memoPath = memo->target();
    const QString kept = QFileInfo(memoPath).absolutePath() + QStringLiteral("/.") + QFileInfo(memoPath).fileName()
        + QStringLiteral(".vechi");
    QFile::remove(kept);
    const bool hadMemo = QFileInfo::exists(memoPath);
    if (hadMemo)
        keepCopy(memoPath, kept);
    struct KeptCopy {
        QString path;
        ~KeptCopy()
        {
            if (!path.isEmpty())
                QFile::remove(path);
        }
    } keptCopy {hadMemo ? kept : QString()};
    memo->commit();
    try {
        table.commit();
    } catch (...) {
        if (hadMemo) {
            std::error_code error;
            std::filesystem::rename(kept.toStdU16String(), memoPath.toStdU16String(), error);
            // The old memo file stays under its second name when it cannot have its own back.
            if (error)
                keptCopy.path.clear();
        } else {
            QFile::remove(memoPath);
        }
        throw;
    }
}

}
