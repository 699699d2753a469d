#include "data/dbf/FileStamp.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <QFile>
#include <sys/stat.h>
#endif

namespace velmor::dbf {

FileStamp FileStamp::of(const QString& path)
{
    FileStamp stamp;
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.size = st.st_size;
    stamp.modified = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return stamp;
    stamp.size = info.size();
    stamp.modified = info.lastModified(QTimeZone::UTC).toMSecsSinceEpoch();
#endif
    return stamp;
}

}
