#include "app/CliHouseholds.h"

#include "app/CliInteraction.h"
#include "app/RegisterServices.h"
#include "app/CliOptions.h"
#include "app/ProgramHome.h"
#include "data/dbf/ValueConversions.h"
#include "register/HouseholdEditor.h"
#include "register/HouseholdPositions.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "services/AppContext.h"
#include "services/Settings.h"

#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace velmor::cli {

namespace {

// Nothing is asked without windows: the operations used here ask no dialog.
class NoDialogs : public PositionDialogs {
public:
    bool runPlace(PlaceMode, Place&) override { return false; }
    int Stergere() override { return 0; }
};

}

int runHouseholdDelete(const Options& o)
{
    o.require({"data", "year", "codid"});
    o.requirePositional(0, 0);
    qint64 codid = 0;
    if (!parseInteger(o.value(QStringLiteral("codid")), codid) || codid <= 0)
        throw UsageError(QStringLiteral("CODID invalid: %1").arg(o.value(QStringLiteral("codid"))));
    const QString year = o.value(QStringLiteral("year"));
    const QString dir = QDir(o.value(QStringLiteral("data"))).absolutePath();
    const ProgramHome home(ProgramHome::locate(o.value(QStringLiteral("home"))));
    if (!home.ensureExists())
        throw Error(QStringLiteral("Folderul programului nu poate fi creat: %1").arg(home.path()));

    CliInteraction ui;
    const RegisterServices services(home.path(), dir);
    engine::Engine& engine = services.engine();
    AppContext ctx;
    services.attachTo(ctx, &ui);
    ctx.year.setYears({year});
    ctx.year.setText(year);

    engine::Parameters p;
    p.bind(QStringLiteral("CODID"), std::int64_t(codid));
    p.bind(QStringLiteral("ANUL"), dbf::yearValue(year));
    const engine::ResultSet found = engine.select(
        QStringLiteral("SELECT POZ, VOLUM, LOCALIT, TIPRA FROM ")
            + engine::quotedPath(ctx.tablePath(QStringLiteral("Identificare.dbf")))
            + QStringLiteral(" WHERE CODID=:CODID AND ANUL=:ANUL"),
        p);
    if (found.rows.empty())
        throw Error(QStringLiteral("Gospodaria %1 nu exista in anul %2.").arg(codid).arg(year));
    const auto field = [&found](const char* name) { return found.value(0, name); };

    HouseholdEditor editor(ctx);
    NoDialogs dialogs;
    HouseholdPositions positions(editor, dialogs);
    int moved = 0;
    if (o.has(QStringLiteral("renumber")))
        moved = positions.MutaPozitii(-1, dbf::toWhole(field("POZ")), dbf::toText(field("LOCALIT")), dbf::toWhole(field("VOLUM")),
                                      int(dbf::toWhole(field("TIPRA"))), codid);
    else
        positions.StergeGospodaria(codid);
    QTextStream out(stdout);
    out << QStringLiteral("Gospodaria %1 a fost stearsa; gospodarii mutate: %2").arg(codid).arg(moved) << '\n';
    return 0;
}

}
