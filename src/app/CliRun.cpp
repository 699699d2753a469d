#include "app/CliRun.h"

#include "admin/Models.h"
#include "app/CliOptions.h"
#include "app/ProgramHome.h"
#include "core/Error.h"
#include "data/engine/Engine.h"

#include <QDir>

namespace velmor::cli {

CliRun::CliRun(const Options& o, Models models)
    : data(existingDataDirectory(o))
    , home(ProgramHome::locate(o.value(QStringLiteral("home"))))
    , settings(data)
{
    if (!ProgramHome(home).ensureExists())
        throw Error(QStringLiteral("Folderul programului nu poate fi creat: %1").arg(home));
    if (models == Models::Installed)
        InstaleazaModele(home);
    engine = std::make_unique<engine::Engine>(data);
    engine->addTableRoot(home);
    ctx.attach(home, data, engine.get(), &settings, &ui);
}

CliRun::~CliRun() = default;

CouncilConstants CliRun::council()
{
    return Administration(ctx).readConstants(Administration::designedConstants());
}

}
