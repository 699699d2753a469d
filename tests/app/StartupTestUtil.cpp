#include "StartupTestUtil.h"

#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace velmor::test {

StartupEnv::StartupEnv()
{
    EXPECT_TRUE(dir.isValid());
    home = dir.path() + QStringLiteral("/home");
    QDir().mkpath(home);
    registryPath = dir.path() + QStringLiteral("/registry.ini");
    registry = std::make_unique<RegistryStore>(registryPath);
    ctx.registry = registry.get();
    ctx.interaction = &ui;
}

QString StartupEnv::makeDir(const QString& name) const
{
    const QString path = dir.path() + QLatin1Char('/') + name;
    QDir().mkpath(path);
    return path;
}

void createRegister(const QString& directory)
{
    engine::Engine engine(directory);
    ScriptedInteraction ui;
    data::Schema schema(engine, directory, ui);
    schema.CreazaBaza();
}

int runSql(const QString& directory, const QString& statement)
{
    engine::Engine engine(directory);
    return engine.execute(statement);
}

QStringList selectRows(const QString& directory, const QString& statement)
{
    engine::Engine engine(directory);
    engine::Query query(engine);
    query.add(statement);
    query.open();
    QStringList rows;
    for (query.first(); !query.eof(); query.next()) {
        QStringList fields;
        for (int c = 0; c < query.fieldCount(); ++c)
            fields << query.field(c).asString();
        rows << fields.join(QLatin1Char('|'));
    }
    return rows;
}

QString tableOf(const QString& directory, const QString& fileName)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(directory + QLatin1Char('/') + fileName) + QLatin1Char('"');
}

int headerRecordCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray header = file.read(8);
    if (header.size() < 8)
        return -1;
    return int(qFromLittleEndian<quint32>(header.constData() + 4));
}

quint64 fileIdentity(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return quint64(info.st_ino);
#else
    Q_UNUSED(path);
    return 0;
#endif
}

}
