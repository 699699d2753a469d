#pragma once

#include "data/engine/Engine.h"
#include "support/FileBytes.h"
#include "services/AppContext.h"
#include "services/RegistryStore.h"
#include "services/ScriptedInteraction.h"
#include "services/Settings.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace velmor::test {

// A complete run context over a temporary program home: its own registry store, settings file,
// engine and scripted interaction.
struct AdminWorld {
    TempHome home;
    QTemporaryDir registryDir;
    std::unique_ptr<RegistryStore> registry;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<engine::Engine> engine;
    ScriptedInteraction ui;
    AppContext ctx;

    // `fixture`: a data folder of the reference files copied into the data directory.
    explicit AdminWorld(const QString& fixture = QString())
    {
        if (!fixture.isEmpty())
            home.copyFixture(fixture);
        registry = std::make_unique<RegistryStore>(registryDir.filePath(QStringLiteral("registry.ini")));
        settings = std::make_unique<Settings>(home.data());
        engine = std::make_unique<engine::Engine>(home.data());
        engine->addTableRoot(home.home());
        ctx.programDirectory = home.home();
        ctx.dataDirectory = home.data();
        ctx.windowsDirectory = QDir::tempPath();
        ctx.localDataMode = true;
        ctx.engine = engine.get();
        ctx.settings = settings.get();
        ctx.registry = registry.get();
        ctx.interaction = &ui;
    }

    QString data(const QString& name) const { return home.dataFile(name); }
    QString inHome(const QString& name) const { return home.home() + QLatin1Char('/') + name; }
};

inline void writeTextFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

}
