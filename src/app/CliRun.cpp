#include "app/CliRun.h"

#include "admin/Models.h"
#include "app/CliOptions.h"
#include "app/ProgramHome.h"
#include "core/Error.h"

namespace velmor::cli {

namespace {

QString madeHome(const Options& o, CliRun::Models models)
{
    const QString home = ProgramHome::locate(o.value(QStringLiteral("home")));
    if (!ProgramHome(home).ensureExists())
        throw Error(QStringLiteral("Folderul programului nu poate fi creat: %1").arg(home));
    if (models == CliRun::Models::Installed)
        InstaleazaModele(home);
    return home;
}

}

CliRun::CliRun(const Options& o, Models models)
    : data(existingDataDirectory(o))
    , home(madeHome(o, models))
    , services(home, data)
    , engine(&services.engine())
    , settings(services.settings())
{
    services.attachTo(ctx, &ui);
}

CliRun::~CliRun() = default;

CouncilConstants CliRun::council()
{
    return Administration(ctx).readConstants(Administration::designedConstants());
}

}
