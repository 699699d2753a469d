#include "admin/ArchiveCommands.h"

#include "admin/KtArchive.h"

#include <QDir>
#include <QFileInfo>

namespace velmor {

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

}

QString ArchiveCommands::runBackupCommand(const QString& dataDir, const QString& archivePath, Interaction* progress,
                                          int* members)
{
    if (members)
        *members = 0;
    if (archivePath.isEmpty())
        return QStringLiteral("Lipseste numele arhivei.");
    try {
        if (sameDirectory(QFileInfo(archivePath).absolutePath(), dataDir))
            return QStringLiteral("Nu puteti salva in directorul cu baza de date: %1").arg(native(archivePath));
        const QStringList files = KtArchive::filesToSave(dataDir);
        if (files.isEmpty())
            return QStringLiteral("Directorul %1 nu contine niciun fisier de salvat; arhiva nu a fost scrisa.")
                .arg(native(dataDir));
        const int n = KtArchive::write(archivePath, files, progress);
        if (members)
            *members = n;
    } catch (const ArchiveError& e) {
        return e.message();
    }
    return QString();
}

QString ArchiveCommands::runRestoreCommand(const QString& archivePath, const QString& intoDir, Interaction* progress,
                                           int* members)
{
    if (members)
        *members = 0;
    if (intoDir.isEmpty())
        return QStringLiteral("Lipseste directorul in care se incarca salvarea.");
    const QFileInfo into(intoDir);
    if (into.exists() && !into.isDir())
        return QStringLiteral("%1 nu este un director.").arg(native(intoDir));
    if (into.exists()
        && !QDir(intoDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty())
        return QStringLiteral("Directorul %1 nu este gol; salvarea se incarca doar intr-un director gol.").arg(native(intoDir));
    try {
        if (KtArchive::memberCount(archivePath) == 0)
            return QStringLiteral("Salvarea %1 nu contine niciun fisier.").arg(native(archivePath));
        const QStringList written = KtArchive::extract(archivePath, intoDir, KtArchive::Layout::DataDirectory, false,
                                                       progress);
        if (members)
            *members = int(written.size());
    } catch (const ArchiveError& e) {
        return e.message();
    }
    return QString();
}

}
