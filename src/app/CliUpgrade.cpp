#include "app/CliUpgrade.h"

#include "app/CliInteraction.h"
#include "app/CliOptions.h"
#include "app/CliOutput.h"
#include "app/OperationRecovery.h"
#include "app/ProgramHome.h"
#include "app/SchemaUpgradeRun.h"
#include "core/ChangeCounter.h"
#include "core/Paths.h"
#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "services/OperationMarker.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace velmor::cli {

namespace {

QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

int fail(const QString& message)
{
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    err << messageLines(message) << '\n';
    err.flush();
    return 1;
}

}

int runUpgrade(const Options& o)
{
    o.require({"data"});
    o.requirePositional(0, 0);
    const QString dir = QDir(o.value(QStringLiteral("data"))).absolutePath();
    if (!QFileInfo(dir).isDir())
        return fail(QStringLiteral("Directorul de date %1 nu exista.").arg(nativePath(dir)));
    const ProgramHome home(ProgramHome::locate(o.value(QStringLiteral("home"))));
    if (!home.ensureExists())
        return fail(QStringLiteral("Folderul programului nu poate fi creat: %1").arg(nativePath(home.path())));
    CliInteraction ui;
    // Another operation left unfinished is mended first; an upgrade of its own is finished here.
    if (const std::optional<OperationMarker> marker = OperationRecovery(dir, ui).interrupted()) {
        if (marker->operation != QLatin1String(OperationMarker::Upgrade)) {
            return fail(marker->interruptedText() + QLatin1Char('\n')
                        + QStringLiteral("Reparati mai intai: velmor-cli recover --data %1").arg(nativePath(dir)));
        }
    }
    const qint64 before = ChangeCounter::done();
    engine::Engine engine(dir);
    engine.addTableRoot(home.path());
    data::Schema(engine, dir, ui).CreazaBaza();
    SchemaUpgradeRun upgrade(engine, dir, ui);
    const data::UpgradeReport report = upgrade.run();

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    out << "STEP\tSTATUS\tDETAIL\n";
    for (const data::UpgradeStep& step : report.steps) {
        QString detail = step.detail;
        if (step.status == data::UpgradeStep::Status::Failed && !step.table.isEmpty() && !detail.startsWith(step.table))
            detail = step.table + QStringLiteral(": ") + detail;
        out << step.id << '\t' << data::UpgradeStep::statusName(step.status) << '\t' << oneLine(detail) << '\n';
    }
    out << "#CHANGES\t" << (ChangeCounter::done() - before) << '\n';
    out.flush();
    if (!report.longNotes.isEmpty()) {
        QTextStream err(stderr);
        err.setEncoding(QStringConverter::Utf8);
        err << messageLines(SchemaUpgradeRun::longNotesMessage(report, dir)) << '\n';
    }
    if (report.failed())
        return fail(SchemaUpgradeRun::failureMessage(report));
    return 0;
}

}
