#include "reports/TemplateCopies.h"

#include "services/Resources.h"

#include <QDir>
#include <QFileInfo>

namespace velmor::reports {

QString ensureTemplateCopy(const BuiltInTemplate& which, const QString& dataDirectory)
{
    const QString path = QDir(dataDirectory).filePath(QLatin1String(which.copyName));
    if (!QFileInfo::exists(path))
        ExtrageResursa(QLatin1String(which.type), QStringLiteral("MODEL"), path);
    return path;
}

}
