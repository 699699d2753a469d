#include "app/OperationRecovery.h"

#include "app/SchemaUpgradeRun.h"
#include "admin/DataBackup.h"
#include "admin/OperationGuard.h"
#include "core/ChangeCounter.h"
#include "core/Error.h"
#include "core/Paths.h"
#include "data/engine/Engine.h"
#include "register/ChapterRepair.h"
#include "register/PlotRecalculation.h"
#include "services/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

namespace velmor {

OperationRecovery::OperationRecovery(QString dataDirectory, Interaction& ui, engine::Engine* engine)
    : m_dataDir(std::move(dataDirectory))
    , m_ui(ui)
    , m_engine(engine)
{
}

std::optional<OperationMarker> OperationRecovery::interrupted() const
{
    std::optional<OperationMarker> marker = OperationMarker::read(m_dataDir);
    if (marker && !marker->operation.isEmpty() && marker->holderRunning(m_dataDir))
        return std::nullopt;
    return marker;
}

QString OperationRecovery::question(const OperationMarker& marker)
{
    QString mend;
    const QString op = marker.operation;
    if (op == QLatin1String(OperationMarker::Restore))
        mend = QStringLiteral("Restaurarea va fi terminata sau anulata din directorul de lucru %1.").arg(nativePath(marker.staging));
    else if (op == QLatin1String(OperationMarker::Chapters) || op == QLatin1String(OperationMarker::Recalc)
             || op == QLatin1String(OperationMarker::Upgrade))
        mend = QStringLiteral("Operatia va fi reluata.");
    else
        mend = QStringLiteral("Datele vor fi readuse din salvarea %1.").arg(nativePath(marker.archive));
    return marker.interruptedText() + CR + mend + CR + QStringLiteral("Continuati? (NU: baza de date se deschide doar pentru consultare)");
}

QString OperationRecovery::mend(const OperationMarker& marker)
{
    const QString op = marker.operation;
    std::unique_ptr<engine::Engine> own;
    engine::Engine* engine = m_engine;
    if (!engine) {
        own = std::make_unique<engine::Engine>(m_dataDir);
        engine = own.get();
    }
    if (op == QLatin1String(OperationMarker::Restore))
        return DataBackup::recoverRestore(m_dataDir, marker, engine);

    if (op == QLatin1String(OperationMarker::Upgrade)) {
        // Every step of the upgrade can be repeated: running it again finishes it. A step that
        // fails again is told by the upgrade of the start-up (or of the command) that follows.
        SchemaUpgradeRun(*engine, m_dataDir, m_ui).run();
        return QStringLiteral("rerun");
    }

    auto value = [&](const char* key) { return marker.values.value(QLatin1String(key)); };
    if (op == QLatin1String(OperationMarker::Chapters)) {
        QTemporaryDir scratch;
        if (!scratch.isValid())
            throw Error(QStringLiteral("Nu se poate crea un director temporar."));
        engine->addTableRoot(scratch.path());
        std::optional<qint64> household;
        if (!value("household").isEmpty())
            household = value("household").toLongLong();
        ChapterRepair(*engine, m_dataDir, scratch.path(), m_ui).run(value("year").toLongLong(), household);
        return QStringLiteral("rerun");
    }
    if (op == QLatin1String(OperationMarker::Recalc)) {
        RecalcSelection selection;
        if (!value("household").isEmpty())
            selection.household = value("household").toLongLong();
        if (marker.values.contains(QStringLiteral("village")))
            selection.village = value("village");
        if (!value("type").isEmpty())
            selection.type = value("type").toLongLong();
        if (!value("volume").isEmpty())
            selection.volume = value("volume").toLongLong();
        if (!value("position").isEmpty())
            selection.position = value("position").toLongLong();
        PlotRecalculation(*engine, m_dataDir).run(value("year").toInt(), selection);
        return QStringLiteral("rerun");
    }
    if (op == QLatin1String(OperationMarker::Takeover) || op == QLatin1String(OperationMarker::HouseholdDelete)
        || op == QLatin1String(OperationMarker::VillageRename) || op == QLatin1String(OperationMarker::VillageDelete)
        || op == QLatin1String(OperationMarker::Merge)) {
        QString action = QStringLiteral("none");
        if (!marker.archive.isEmpty() && QFileInfo::exists(marker.archive)) {
            OperationGuard::undoFromArchive(m_dataDir, marker, m_ui, engine);
            action = QStringLiteral("rolled-back");
        } else if ((op == QLatin1String(OperationMarker::Takeover) || op == QLatin1String(OperationMarker::Merge)) && !marker.archive.isEmpty()) {
            throw Error(QStringLiteral("Salvarea de siguranta %1 lipseste; datele nu pot fi readuse.").arg(nativePath(marker.archive)));
        }
        // A temporary archive that is gone was removed after the last step: nothing to undo.
        const QString scratch = value("scratch");
        if (!scratch.isEmpty() && QFile::exists(scratch)) {
            engine->forget(scratch);
            QFile::remove(scratch);
        }
        if (op != QLatin1String(OperationMarker::Takeover) && op != QLatin1String(OperationMarker::Merge) && !marker.archive.isEmpty()
            && QFile::exists(marker.archive))
            QFile::remove(marker.archive);
        OperationMarker::remove(m_dataDir);
        return action;
    }
    throw Error(QStringLiteral("Nu stiu sa repar operatia \"%1\" din %2; fisierul %3 a ramas.")
                    .arg(op, nativePath(m_dataDir), QString::fromLatin1(OperationMarker::FileName)));
}

}
