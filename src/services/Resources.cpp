#include "services/Resources.h"

#include "services/FileAccess.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}
