#include "admin/OperationGuard.h"

#include "admin/DataBackup.h"
#include "admin/KtArchive.h"
#include "core/ChangeCounter.h"
#include "core/Paths.h"
#include "core/StagedFile.h"
#include "data/Schema.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/DbfTable.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "services/DataDirectoryLock.h"
#include "services/Settings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmor {

bool isLockOrMarkerFile(const QString& fileName)
{
    return fileName.compare(QLatin1String(DataDirectoryLock::FileName), Qt::CaseInsensitive) == 0
           || fileName.compare(QLatin1String(OperationMarker::FileName), Qt::CaseInsensitive) == 0
           || fileName.startsWith(QLatin1String("Velmor.probe-"), Qt::CaseInsensitive);
}

OperationGuard::OperationGuard(QString dataDirectory, const QString& operation, engine::Engine* engine)
    : m_dataDir(std::move(dataDirectory))
    , m_engine(engine)
    , m_marker(OperationMarker::start(operation))
{
}

QStringList OperationGuard::registerFiles()
{
    QStringList files = data::Schema::tableFileNames();
    files << QString::fromLatin1(Settings::FileName);
    return files;
}

void OperationGuard::preflight(const QStringList& mayCreate)
{
    const QDir dir(m_dataDir);
    if (!dir.exists())
        throw PreflightError(QStringLiteral("Directorul de date %1 nu exista.").arg(nativePath(m_dataDir)));
    QStringList names;
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!isLockOrMarkerFile(info.fileName()))
            names << info.fileName();
    }
    m_marker.empty.clear();
    m_marker.missing.clear();
    for (const QString& wanted : mayCreate) {
        const QString found = QFileInfo(dbf::resolveFileName(dir.filePath(wanted))).fileName();
        if (!QFileInfo::exists(dir.filePath(found)))
            m_marker.missing << wanted;
    }
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite)) {
            throw PreflightError(QStringLiteral("Operatia nu poate incepe: fisierul %1 nu poate fi deschis pentru scriere (%2).")
                                     .arg(nativePath(path), file.errorString()));
        }
        const qint64 size = file.size();
        file.close();
        if (size == 0) {
            m_marker.empty << name;
            continue;
        }
        if (name.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive)) {
            try {
                dbf::DbfTable table(path);
            } catch (const dbf::DbfError& e) {
                throw PreflightError(e.message() + QStringLiteral(" Operatia nu poate incepe."));
            }
        }
    }
    // The folder must take, rename and remove a file of its own; no table is renamed to test it.
    const QString probe = dir.filePath(QStringLiteral("Velmor.probe-%1").arg(QCoreApplication::applicationPid()));
    const QString renamed = probe + QStringLiteral(".2");
    QFile::remove(probe);
    QFile::remove(renamed);
    bool ok = false;
    {
        QFile file(probe);
        ok = file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && file.write("x", 1) == 1;
        file.close();
    }
    ok = ok && QFile::rename(probe, renamed);
    ok = QFile::remove(renamed) && ok;
    QFile::remove(probe);
    if (!ok) {
        throw PreflightError(QStringLiteral("Operatia nu poate incepe: in directorul %1 nu se poate crea, redenumi si sterge un fisier.")
                                 .arg(nativePath(m_dataDir)));
    }
}

QString OperationGuard::temporaryArchivePath() const
{
    const QFileInfo data(QDir::cleanPath(QFileInfo(m_dataDir).absoluteFilePath()));
    return data.dir().filePath(QStringLiteral("%1.%2-%3.kt")
                                   .arg(data.fileName(), m_marker.operation,
                                        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
}

void OperationGuard::saveArchive(const QString& archivePath, Interaction* progress, bool keep)
{
    const QStringList files = KtArchive::filesToSave(m_dataDir);
    if (files.isEmpty())
        throw ArchiveError(QStringLiteral("Directorul %1 nu contine niciun fisier de salvat.").arg(nativePath(m_dataDir)));
    KtArchive::write(archivePath, files, progress);
    ChangeCounter::count();
    m_marker.archive = archivePath;
    m_keepArchive = keep;
}

void OperationGuard::begin()
{
    m_marker.write(m_dataDir);
    m_begun = true;
}

void OperationGuard::finish()
{
    if (!m_keepArchive && !m_marker.archive.isEmpty() && QFile::exists(m_marker.archive)) {
        QFile::remove(m_marker.archive);
        ChangeCounter::count();
    }
    if (m_begun)
        OperationMarker::remove(m_dataDir);
    m_begun = false;
}

void OperationGuard::undoFromArchive(const QString& dataDirectory, const OperationMarker& marker, Interaction& ui,
                                     engine::Engine* engine)
{
    DataBackup(dataDirectory, ui, engine).restoreFrom(marker.archive, DataBackup::Scope::ArchivedFiles);
    const QDir dir(dataDirectory);
    for (const QString& name : marker.empty) {
        const QString path = dir.filePath(name);
        if (engine)
            engine->forget(path);
        if (!QFileInfo::exists(path) || QFileInfo(path).size() != 0) {
            StagedFile::replace(path, QByteArray());
            ChangeCounter::count();
        }
    }
    for (const QString& name : marker.missing) {
        const QString path = dbf::resolveFileName(dir.filePath(name));
        if (!QFileInfo::exists(path))
            continue;
        if (engine)
            engine->forget(path);
        if (!QFile::remove(path))
            throw Error(QStringLiteral("Nu pot sterge fisierul %1.").arg(nativePath(path)));
        ChangeCounter::count();
    }
}

void OperationGuard::runArchived(const QString& dataDirectory, const QString& operation, engine::Engine* engine,
                                 Interaction& ui, const QMap<QString, QString>& values, const std::function<void()>& body)
{
    OperationGuard guard(dataDirectory, operation, engine);
    guard.preflight(registerFiles());
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        guard.marker().values.insert(it.key(), it.value());
    // The marker first, naming the archive to come: a stop before the archive is complete leaves
    // nothing changed and no archive behind.
    const QString archive = guard.temporaryArchivePath();
    guard.marker().archive = archive;
    guard.begin();
    try {
        guard.saveArchive(archive, nullptr, false);
    } catch (...) {
        guard.abandon();
        throw;
    }
    try {
        body();
    } catch (const std::exception&) {
        undoFromArchive(dataDirectory, guard.marker(), ui, engine);
        guard.abandon();
        throw;
    }
    guard.finish();
}

}
