#include "core/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace velmor {

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString withoutTrailingSeparator(const QString& folder)
{
    QString result = folder;
    while (result.size() > 1 && (result.endsWith(QLatin1Char('\\')) || result.endsWith(QLatin1Char('/')))) {
        if (result.size() == 3 && result[1] == QLatin1Char(':'))
            break; // "C:\"
        result.chop(1);
    }
    return result;
}

bool sameDirectory(const QString& a, const QString& b)
{
    auto resolve = [](const QString& path) {
        const QFileInfo info(path);
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    };
    if (a.isEmpty() || b.isEmpty())
        return false;
#ifdef Q_OS_WIN
    return resolve(a).compare(resolve(b), Qt::CaseInsensitive) == 0;
#else
    return resolve(a) == resolve(b);
#endif
}

}
