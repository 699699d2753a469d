#include "app/ProgramHome.h"

#include <QDir>
#include <QStandardPaths>

namespace velmor {

QString ProgramHome::locate(const QString& explicitHome)
{
    if (!explicitHome.isEmpty())
        return QDir::cleanPath(QDir(explicitHome).absolutePath());
    const QString fromEnvironment = qEnvironmentVariable("VELMOR_HOME");
    if (!fromEnvironment.isEmpty())
        return QDir::cleanPath(QDir(fromEnvironment).absolutePath());
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

ProgramHome::ProgramHome(const QString& path)
    : m_path(path)
{
}

QString ProgramHome::localDataDirectory() const
{
    return m_path + QStringLiteral("/Data");
}

bool ProgramHome::ensureExists() const
{
    return QDir().mkpath(localDataDirectory());
}

}
