#include "reports/OutputSlots.h"

#include "services/FileAccess.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>

namespace velmor::reports {

OutputSlots::OutputSlots(QString directory, QString stem, QString extension)
    : m_directory(std::move(directory))
    , m_stem(std::move(stem))
    , m_extension(std::move(extension))
{
}

QString OutputSlots::path(int n) const
{
    return QDir(m_directory).filePath(m_stem + QString::number(n) + m_extension);
}

bool OutputSlots::inUse(int n) const
{
    const QFileInfo info(path(n));
    if (!info.exists())
        return false;
    if (info.isDir() || isReadOnly(info))
        return true;
    return QFileInfo::exists(info.absolutePath() + QStringLiteral("/.~lock.") + info.fileName() + QLatin1Char('#'));
}

std::optional<QString> OutputSlots::place(const QString& finishedFile) const
{
    for (int n = 0; n < Count; ++n) {
        if (inUse(n))
            continue;
        std::error_code error;
        std::filesystem::rename(std::filesystem::path(finishedFile.toStdU16String()),
                                std::filesystem::path(path(n).toStdU16String()), error);
        if (!error)
            return path(n);
    }
    return std::nullopt;
}

}
