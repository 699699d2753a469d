#include "app/SchemaUpgradeRun.h"

#include "admin/OperationGuard.h"
#include "core/ChangeCounter.h"
#include "core/Interaction.h"
#include "core/Paths.h"
#include "services/LineListFile.h"
#include "services/OperationMarker.h"
#include "services/Settings.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <memory>

namespace velmor {

SchemaUpgradeRun::SchemaUpgradeRun(engine::Engine& engine, QString dataDirectory, Interaction& ui)
    : m_engine(engine)
    , m_dataDir(std::move(dataDirectory))
    , m_ui(ui)
{
}

QString SchemaUpgradeRun::archivePathFor(const QString& dataDirectory)
{
    const QString parent = QFileInfo(QDir::cleanPath(dataDirectory)).absolutePath();
    return parent + QStringLiteral("/UpGrade-%1.kt").arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

QString SchemaUpgradeRun::longNotesMessage(const data::UpgradeReport& report, const QString& dataDirectory)
{
    if (report.longNotes.isEmpty())
        return {};
    return QStringLiteral("Mentiunile mai lungi de %1 caractere ale membrilor %2 au fost scurtate in baza de date;")
               .arg(data::SchemaUpgrade::NotesWidth)
               .arg(report.longNotes.join(QStringLiteral(", ")))
        + CR + QStringLiteral("textul lor intreg este in %1.")
                   .arg(nativePath(dataDirectory + QLatin1Char('/') + QLatin1String(data::SchemaUpgrade::LongNotesFile)));
}

QString SchemaUpgradeRun::failureMessage(const data::UpgradeReport& report)
{
    const QStringList failures = report.failures();
    if (failures.isEmpty())
        return {};
    return QStringLiteral("Actualizarea bazei de date nu s-a terminat:") + CR + failures.join(CR) + CR
        + QStringLiteral("Pasii care au esuat se reiau la urmatoarea pornire.");
}

data::UpgradeReport SchemaUpgradeRun::run()
{
    Settings settings(m_dataDir);
    const QString villages = m_dataDir + QStringLiteral("/Sate.lst");

    // An upgrade interrupted earlier is finished under its own marker and archive.
    std::optional<OperationMarker> previous = OperationMarker::read(m_dataDir);
    const bool resuming = previous && previous->operation == QLatin1String(OperationMarker::Upgrade);
    std::unique_ptr<OperationGuard> guard;

    data::SchemaUpgrade::Environment env;
    env.localit = settings.Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("Localit"));
    env.addVillage = [villages](const QString& name) {
        QStringList list = readLineList(villages, QStringLiteral("lista localitatilor"));
        for (const QString& line : list) {
            if (line.trimmed() == name.trimmed())
                return;
        }
        list << name.trimmed();
        writeLineList(villages, list, QStringLiteral("lista localitatilor"));
        ChangeCounter::count();
    };
    env.beforeFirstChange = [&] {
        if (resuming)
            return;
        guard = std::make_unique<OperationGuard>(m_dataDir, QString::fromLatin1(OperationMarker::Upgrade), &m_engine);
        try {
            guard->preflight({QString::fromLatin1(data::SchemaUpgrade::LongNotesFile), QStringLiteral("Sate.lst")});
        } catch (const Error& e) {
            guard.reset();
            throw Error(e.message() + CR + QStringLiteral("Actualizarea bazei de date nu s-a facut."));
        }
        const QString archive = archivePathFor(m_dataDir);
        try {
            guard->saveArchive(archive, nullptr, true);
        } catch (const Error& e) {
            guard.reset();
            throw Error(QStringLiteral("Nu pot scrie salvarea de siguranta %1: %2").arg(nativePath(archive), e.message()) + CR
                        + QStringLiteral("Actualizarea bazei de date nu s-a facut."));
        }
        m_archive = archive;
        guard->begin();
    };
    env.setStatus = [this](const QString& text) {
        if (setStatus)
            setStatus(text);
    };
    env.setProgress = [this](int position, int maximum) {
        if (setBar)
            setBar(maximum > 0 ? int(qint64(position) * 100 / maximum) : 0);
    };

    data::SchemaUpgrade upgrade(m_engine, m_dataDir, m_ui, std::move(env));
    const data::UpgradeReport report = upgrade.UpGrade();
    // The run ended (a failed step is tried again at the next start): the marker goes.
    if (guard)
        guard->finish();
    else if (resuming)
        OperationMarker::remove(m_dataDir);
    return report;
}

}
