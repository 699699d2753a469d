#pragma once

#include "data/engine/Engine.h"
#include "services/AppContext.h"
#include "services/RegistryStore.h"
#include "services/ScriptedInteraction.h"
#include "services/Settings.h"

#include <QTemporaryDir>

#include <memory>

namespace velmor::test {

// A connected run without windows: a temporary program home whose Data folder holds the fifteen
// tables, an engine, the settings file, a registry store in a temporary INI file, a scripted
// interaction, local data mode and the village list "Sat1".
struct MainEnv {
    MainEnv();

    QTemporaryDir dir;
    QString home;
    std::unique_ptr<engine::Engine> engine;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<RegistryStore> registry;
    ScriptedInteraction ui;
    AppContext ctx;

    // Adds a household row of the given year (text pasted into the statement; "NULL" allowed).
    void addHousehold(const QString& year, int codid);
    QString makeDir(const QString& name) const;
};

}
