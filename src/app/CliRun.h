#pragma once

#include "admin/Administration.h"
#include "app/CliInteraction.h"
#include "app/RegisterServices.h"
#include "services/AppContext.h"
#include "services/Settings.h"
#include "data/engine/Engine.h"

#include <QString>

namespace velmor::cli {

class Options;

// A command's run over the data directory of --data and the program home of --home: the
// settings, the engine (which also reads the home's tables) and the context the logic reads.
struct CliRun {
    enum class Models { Kept, Installed }; // the delivered document models are put into the home

    QString data;
    QString home;
    RegisterServices services;
    engine::Engine* engine;
    Settings& settings;
    CliInteraction ui;
    AppContext ctx;

    // Throws Error when the data directory is missing or the home cannot be made.
    explicit CliRun(const Options& o, Models models = Models::Kept);
    ~CliRun();

    CouncilConstants council();
};

}
