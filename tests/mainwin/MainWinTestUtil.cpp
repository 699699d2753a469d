#include "MainWinTestUtil.h"

#include "data/Schema.h"

#include <QDir>

#include <gtest/gtest.h>

namespace velmor::test {

MainEnv::MainEnv()
{
    EXPECT_TRUE(dir.isValid());
    home = dir.path() + QStringLiteral("/home");
    const QString data = home + QStringLiteral("/Data");
    QDir().mkpath(data);
    engine = std::make_unique<engine::Engine>(data);
    settings = std::make_unique<Settings>(data);
    registry = std::make_unique<RegistryStore>(dir.path() + QStringLiteral("/registry.ini"));
    {
        ScriptedInteraction quiet;
        data::Schema(*engine, data, quiet).CreazaBaza();
    }
    ctx.programDirectory = home;
    ctx.dataDirectory = data;
    ctx.windowsDirectory = QDir::tempPath();
    ctx.localDataMode = true;
    ctx.engine = engine.get();
    ctx.settings = settings.get();
    ctx.registry = registry.get();
    ctx.interaction = &ui;
    ctx.profile.setVillages(QStringList {QStringLiteral("Sat1")});
}

void MainEnv::addHousehold(const QString& year, int codid)
{
    engine->execute(QStringLiteral("INSERT INTO \"%1\" (ANUL, CODID, POZ, VOLUM) VALUES (%2, %3, 1, 1)")
                        .arg(ctx.tablePath(QStringLiteral("Identificare.dbf")), year)
                        .arg(codid));
}

QString MainEnv::makeDir(const QString& name) const
{
    const QString path = dir.path() + QLatin1Char('/') + name;
    QDir().mkpath(path);
    return path;
}

}
