#include "services/Resources.h"

#include "core/StagedFile.h"
#include "services/FileAccess.h"

#include <QFile>
#include <QFileInfo>

namespace velmor {

bool ExtrageResursa(const QString& type, const QString& name, const QString& path)
{
    if (type.isEmpty() || name.isEmpty() || path.isEmpty())
        return false;
    QFile resource(QStringLiteral(":/%1/%2").arg(type, name));
    if (!resource.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = resource.readAll();

    const QFileInfo target(path);
    if (target.isDir())
        return false;
    if (target.exists() && isReadOnly(target))
        return false;
    try {
        StagedFile::replace(path, bytes);
    } catch (const WriteError&) {
        return false;
    }
    return true;
}

}
