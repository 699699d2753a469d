#include "data/dbf/FileNames.h"

#include <QDir>
#include <QFileInfo>

namespace velmor::dbf {

QString resolveFileName(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return path;
    const QDir dir = info.dir();
    const QString wanted = info.fileName();
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return path;
}

QString withExtension(const QString& path, const QString& extension)
{
    const int slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash ? path.left(dot) : path;
    return stem + QLatin1Char('.') + extension;
}

}
