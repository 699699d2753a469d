#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace velmor::test {

QString fixturesDir()
{
    return QStringLiteral(VELMOR_FIXTURES_DIR);
}

QString fixturePath(const QString& relative)
{
    return fixturesDir() + QLatin1Char('/') + relative;
}

QString externalProgram(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}

bool externalProgramsRequired()
{
    return qEnvironmentVariable("CI").compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
}

TempHome::TempHome()
{
    EXPECT_TRUE(m_dir.isValid());
    QDir(m_dir.path()).mkpath(QStringLiteral("Data"));
}

QString TempHome::data() const
{
    return m_dir.path() + QStringLiteral("/Data");
}

QString TempHome::dataFile(const QString& name) const
{
    return data() + QLatin1Char('/') + name;
}

void TempHome::copyFixture(const QString& fixtureFolder) const
{
    const QDir source(fixturePath(fixtureFolder));
    const auto names = source.entryList(QDir::Files);
    EXPECT_FALSE(names.isEmpty()) << "no fixture files in " << source.path().toStdString();
    for (const QString& name : names) {
        const QString target = dataFile(name);
        QFile::remove(target);
        ASSERT_TRUE(QFile::copy(source.filePath(name), target)) << name.toStdString();
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

}
