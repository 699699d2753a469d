#include "admin/Models.h"

#include "services/Resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmor {

QStringList modeleLivrate()
{
    return { QStringLiteral("Adv.rtf"), QStringLiteral("RAGR2.rtf") };
}

QStringList InstaleazaModele(const QString& programDirectory)
{
    QStringList written;
    if (programDirectory.isEmpty() || !QDir().mkpath(programDirectory))
        return written;
    for (const QString& name : modeleLivrate()) {
        const QString path = QDir(programDirectory).filePath(name);
        if (QFileInfo::exists(path))
            continue;
        if (ExtrageResursa(QStringLiteral("models"), name, path))
            written << path;
    }
    return written;
}

bool existaModelRecensamant(int n)
{
    return QFile::exists(QStringLiteral(":/L%1/MODEL").arg(n));
}

}
