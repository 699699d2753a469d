#include "admin/DataBackup.h"

#include "core/ErrorReport.h"
#include "admin/KtArchive.h"
#include "admin/OperationGuard.h"
#include "core/ChangeCounter.h"
#include "core/Interaction.h"
#include "core/Paths.h"
#include "core/ProgressShown.h"
#include "data/engine/Engine.h"
#include "services/AppContext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace velmor {

namespace {

// A swap that failed and could not be undone: the data directory is not as it was.
class SwapNotUndone : public ArchiveError {
public:
    using ArchiveError::ArchiveError;
};

// Moves files (a rename, or a copy and a removal across devices) and can undo what it did.
class Mover {
public:
    bool move(const QString& from, const QString& to)
    {
        if (!relocate(from, to))
            return false;
        m_done.emplace_back(from, to);
        ChangeCounter::count();
        return true;
    }
    bool undo()
    {
        bool ok = true;
        for (auto it = m_done.rbegin(); it != m_done.rend(); ++it)
            ok = relocate(it->second, it->first) && ok;
        m_done.clear();
        return ok;
    }

private:
    static bool relocate(const QString& from, const QString& to)
    {
        if (QFile::rename(from, to))
            return true;
        if (QFileInfo::exists(to) || !QFile::copy(from, to))
            return false;
        if (!QFile::remove(from)) {
            QFile::remove(to);
            return false;
        }
        return true;
    }

    std::vector<std::pair<QString, QString>> m_done;
};

// The files of a directory, without the lock and the marker of a data directory.
QFileInfoList filesOf(const QString& dir)
{
    QFileInfoList files = QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    files.removeIf([](const QFileInfo& file) { return isLockOrMarkerFile(file.fileName()); });
    return files;
}

QStringList namesOf(const QFileInfoList& files)
{
    QStringList names;
    for (const QFileInfo& file : files)
        names << file.fileName();
    return names;
}

// Whether two files hold the same bytes.
bool sameContents(const QString& a, const QString& b)
{
    QFile fa(a);
    QFile fb(b);
    if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly) || fa.size() != fb.size())
        return false;
    constexpr qint64 chunk = 1 << 20;
    while (!fa.atEnd()) {
        if (fa.read(chunk) != fb.read(chunk))
            return false;
    }
    return true;
}

// Whether the directory holds the file, in any letter case.
bool holdsFile(const QString& dir, const QString& name)
{
    const QStringList present = QDir(dir).entryList(QDir::Files);
    return std::any_of(present.begin(), present.end(),
                       [&](const QString& file) { return file.compare(name, Qt::CaseInsensitive) == 0; });
}

}

DataBackup::DataBackup(QString dataDirectory, Interaction& ui, engine::Engine* engine)
    : m_dataDir(std::move(dataDirectory))
    , m_ui(ui)
    , m_engine(engine)
{
}

DataBackup::DataBackup(AppContext& ctx)
    : DataBackup(ctx.dataDirectory, *ctx.interaction, ctx.engine)
{
}

int DataBackup::saveTo(const QString& archivePath)
{
    if (archivePath.isEmpty())
        throw ArchiveError(QStringLiteral("Lipseste numele arhivei."));
    if (sameDirectory(QFileInfo(archivePath).absolutePath(), m_dataDir))
        throw ArchiveError(QStringLiteral("Nu puteti salva in directorul cu baza de date: %1").arg(nativePath(archivePath)));
    const QStringList files = KtArchive::filesToSave(m_dataDir);
    if (files.isEmpty()) {
        throw ArchiveError(QStringLiteral("Directorul %1 nu contine niciun fisier de salvat; arhiva nu a fost scrisa.")
                               .arg(nativePath(m_dataDir)));
    }
    return KtArchive::write(archivePath, files, &m_ui);
}

QStringList DataBackup::restoreFrom(const QString& archivePath, Scope scope)
{
    if (m_dataDir.isEmpty())
        throw ArchiveError(QStringLiteral("Directorul de date nu este stabilit."));
    const QString dataDir = QDir::cleanPath(QFileInfo(m_dataDir).absoluteFilePath());
    if (sameDirectory(QFileInfo(archivePath).absolutePath(), dataDir))
        throw ArchiveError(QStringLiteral("Salvarea %1 se afla in directorul cu baza de date.").arg(nativePath(archivePath)));
    // An archive without members would leave an empty data directory: no backup is ever written
    // like that, so it is refused before anything is created.
    if (KtArchive::memberCount(archivePath) == 0)
        throw ArchiveError(QStringLiteral("Salvarea %1 nu contine niciun fisier.").arg(nativePath(archivePath)));
    const bool created = !QFileInfo::exists(dataDir);
    if (!QDir().mkpath(dataDir))
        throw ArchiveError(QStringLiteral("Nu pot crea directorul de date %1.").arg(nativePath(dataDir)));
    // A directory made for a restore that then failed is taken away again.
    struct CreatedDirectory {
        QString path;
        bool keep = false;
        ~CreatedDirectory()
        {
            if (!keep && !path.isEmpty())
                QDir().rmdir(path);
        }
    } createdDirectory { created ? dataDir : QString() };

    // 1. Staging beside the data directory, so that the final moves stay on one disk.
    const QFileInfo dataInfo(dataDir);
    QTemporaryDir staging(dataInfo.dir().filePath(dataInfo.fileName() + QStringLiteral(".restaurare-XXXXXX")));
    if (!staging.isValid()) {
        throw ArchiveError(QStringLiteral("Nu pot crea directorul de lucru langa %1: %2")
                               .arg(nativePath(dataDir), staging.errorString()));
    }
    const QString incoming = staging.filePath(QStringLiteral("Data"));
    KtArchive::extract(archivePath, incoming, KtArchive::Layout::DataDirectory, false, &m_ui);

    // 2. The archive must hold a register: at least its household table. Older versions did not
    // have every table; the next start creates what is missing.
    if (!holdsFile(incoming, QStringLiteral("Identificare.dbf"))) {
        throw ArchiveError(QStringLiteral("Salvarea %1 nu contine registrul gospodariilor (lipseste Identificare.dbf).")
                               .arg(nativePath(archivePath)));
    }

    // 3. Swap: the old files aside, the new ones in; any failure puts everything back. The lock
    // and the marker of the data directory are never moved, nor taken from an archive.
    const QString aside = staging.filePath(QStringLiteral("vechi"));
    if (!QDir().mkpath(aside))
        throw ArchiveError(QStringLiteral("Nu pot crea directorul %1.").arg(nativePath(aside)));
    for (const QString& name : QDir(incoming).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (isLockOrMarkerFile(name))
            QFile::remove(incoming + QLatin1Char('/') + name);
    }
    QFileInfoList incomingFiles = filesOf(incoming);
    QFileInfoList oldFiles = filesOf(dataDir);
    if (scope == Scope::ArchivedFiles) {
        // The undo of an operation: only the files it changed are put back, so a file it could
        // not change (held by another program, made unchangeable) is not touched either.
        incomingFiles.removeIf([&](const QFileInfo& file) {
            return sameContents(file.absoluteFilePath(), dataDir + QLatin1Char('/') + file.fileName());
        });
        oldFiles.removeIf([&](const QFileInfo& old) {
            return std::none_of(incomingFiles.begin(), incomingFiles.end(), [&](const QFileInfo& file) {
                return file.fileName().compare(old.fileName(), Qt::CaseInsensitive) == 0;
            });
        });
    }
    // A restore of the whole directory is an operation of its own: checked before the first move,
    // marked until the staging folder is gone. The undo of another operation runs under that
    // operation's marker.
    std::optional<OperationGuard> guard;
    if (scope == Scope::WholeDirectory) {
        guard.emplace(dataDir, QString::fromLatin1(OperationMarker::Restore), m_engine);
        guard->preflight();
        guard->marker().staging = staging.path();
        guard->marker().values.insert(QStringLiteral("old"), namesOf(oldFiles).join(QLatin1Char('|')));
        guard->marker().values.insert(QStringLiteral("new"), namesOf(incomingFiles).join(QLatin1Char('|')));
        staging.setAutoRemove(false);
        guard->begin();
    }
    if (m_engine) {
        for (const QFileInfo& file : oldFiles)
            m_engine->forget(file.absoluteFilePath());
    }
    Mover mover;
    auto fail = [&](const QString& message) {
        if (mover.undo()) {
            if (guard) {
                QDir(staging.path()).removeRecursively();
                guard->abandon();
            }
            throw ArchiveError(message);
        }
        staging.setAutoRemove(false);
        createdDirectory.keep = true;
        throw SwapNotUndone(message
                            + QStringLiteral(" Unele fisiere nu au putut fi puse la loc; fisierele vechi se afla in %1.")
                                  .arg(nativePath(aside)));
    };
    for (const QFileInfo& file : oldFiles) {
        if (!mover.move(file.absoluteFilePath(), aside + QLatin1Char('/') + file.fileName()))
            fail(QStringLiteral("Nu pot muta fisierul %1.").arg(nativePath(file.absoluteFilePath())));
    }
    QStringList written;
    for (const QFileInfo& file : incomingFiles) {
        const QString destination = dataDir + QLatin1Char('/') + file.fileName();
        if (!mover.move(file.absoluteFilePath(), destination))
            fail(QStringLiteral("Nu pot scrie fisierul %1.").arg(nativePath(destination)));
        written << destination;
    }
    createdDirectory.keep = true;
    if (m_engine) {
        for (const QString& path : written)
            m_engine->forget(path);
    }
    if (guard) {
        if (!QDir(staging.path()).removeRecursively())
            throw ArchiveError(QStringLiteral("Nu pot sterge directorul de lucru %1.").arg(nativePath(staging.path())));
        ChangeCounter::count();
        guard->finish();
    }
    return written;
}

QString DataBackup::recoverRestore(const QString& dataDirectory, const OperationMarker& marker, engine::Engine* engine)
{
    const QString dataDir = QDir::cleanPath(QFileInfo(dataDirectory).absoluteFilePath());
    const QString staging = marker.staging;
    if (staging.isEmpty() || !QFileInfo(staging).isDir()) {
        OperationMarker::remove(dataDir);
        return QStringLiteral("none");
    }
    const QString incoming = staging + QStringLiteral("/Data");
    const QString aside = staging + QStringLiteral("/vechi");
    const QStringList oldNames = marker.values.value(QStringLiteral("old")).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    auto move = [&](const QString& from, const QString& to) {
        if (engine) {
            engine->forget(from);
            engine->forget(to);
        }
        if (QFileInfo::exists(to) && !QFile::remove(to))
            throw ArchiveError(QStringLiteral("Nu pot inlocui fisierul %1.").arg(nativePath(to)));
        if (!QFile::rename(from, to))
            throw ArchiveError(QStringLiteral("Nu pot muta fisierul %1 in %2.").arg(nativePath(from), nativePath(to)));
        ChangeCounter::count();
    };
    // The old files go aside first, the new ones come in after all of them: once every old file
    // is aside, the restore is finished with the files still waiting; before that it is undone.
    const bool asideComplete = std::all_of(oldNames.begin(), oldNames.end(), [&](const QString& name) {
        return QFileInfo::exists(aside + QLatin1Char('/') + name);
    });
    QString action;
    if (asideComplete) {
        for (const QFileInfo& file : filesOf(incoming))
            move(file.absoluteFilePath(), dataDir + QLatin1Char('/') + file.fileName());
        action = QStringLiteral("completed");
    } else {
        for (const QFileInfo& file : filesOf(aside))
            move(file.absoluteFilePath(), dataDir + QLatin1Char('/') + file.fileName());
        action = QStringLiteral("rolled-back");
    }
    if (!QDir(staging).removeRecursively())
        throw ArchiveError(QStringLiteral("Nu pot sterge directorul de lucru %1.").arg(nativePath(staging)));
    ChangeCounter::count();
    OperationMarker::remove(dataDir);
    return action;
}

DataBackup::Result DataBackup::saveDatabase()
{
    const QString title = QStringLiteral("Salvare date");
    // The file dialog does not ask about replacing a file: the question below does.
    QString file = m_ui.chooseSaveFile(QStringLiteral("Unde salvam arhiva ?"), QString(), QString::fromLatin1(ArchiveFilter));
    if (file.isEmpty())
        return { Outcome::Cancelled, false, {} };
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".kt");

    if (sameDirectory(QFileInfo(file).absolutePath(), m_dataDir)) {
        m_ui.Mesaj(title, QStringLiteral("Nu puteti salva in directorul cu baza de date!") + CR + QStringLiteral("Alegeti alt loc!"),
                   KindError, ButtonsOk);
        return { Outcome::Refused, false, {} };
    }
    if (QFileInfo::exists(file)) {
        const int answer = m_ui.Mesaj(QStringLiteral("Salvare"),
                                      QStringLiteral("Vreti sa inlocuiti salvarea ") + nativePath(file) + QStringLiteral("?"),
                                      KindWarning, ButtonsDaNu);
        if (answer != ResultDa)
            return { Outcome::Cancelled, false, {} };
        // The old archive is replaced only once the new one is complete.
    }

    try {
        ProgressShown progress(m_ui, QStringLiteral("Salvez starea actuala..."));
        KtArchive::write(file, KtArchive::filesToSave(m_dataDir), &m_ui);
        progress.hide();
    } catch (const ArchiveError& e) {
        showError(m_ui, e, title);
        return { Outcome::Failed, false, errorMessage(e) };
    }
    m_ui.Mesaj(title, QStringLiteral("Salvare incheiata cu succes !"), KindInformation, ButtonsOk);
    return { Outcome::Done, false, {} };
}

DataBackup::Result DataBackup::loadDatabase()
{
    const QString title = QStringLiteral("Incarcare date");
    QString file = m_ui.chooseOpenFile(QStringLiteral("Incarca o baza de date"), QString(), QString::fromLatin1(ArchiveFilter));
    if (file.isEmpty())
        return { Outcome::Cancelled, false, {} };
    if (!QFileInfo(file).exists() && QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".kt");
    if (!QFileInfo(file).isFile()) {
        m_ui.Mesaj(title, QStringLiteral("Fisierul ") + nativePath(file) + QStringLiteral(" nu exista !"), KindError, ButtonsOk);
        return { Outcome::Refused, false, {} };
    }
    if (sameDirectory(QFileInfo(file).absolutePath(), m_dataDir)) {
        m_ui.Mesaj(title,
                   QStringLiteral("Salvarea indicata nu are voie sa fie in directorul cu baza de date!") + CR
                       + QStringLiteral("Mutati-o in alt loc cu CUT si PASTE si reincercati!"),
                   KindError, ButtonsOk);
        return { Outcome::Refused, false, {} };
    }
    const int answer = m_ui.Mesaj(QStringLiteral("Incarcare baza de date"),
                                  QStringLiteral("Prin Incarcare, se vor sterge DEFINITIV datele existente") + CR
                                      + QStringLiteral("si vor fi inlocuite cu cele din salvare !!!") + CR
                                      + QStringLiteral("Continuati Restaurarea ?"),
                                  KindWarning, ButtonsDaNu);
    if (answer != ResultDa)
        return { Outcome::Cancelled, false, {} };

    try {
        ProgressShown progress(m_ui, QStringLiteral("Incarc baza de date..."));
        restoreFrom(file);
        progress.hide();
    } catch (const SwapNotUndone& e) {
        showError(m_ui, e, title);
        return { Outcome::Failed, true, errorMessage(e) };
    } catch (const ArchiveError& e) {
        const QString text = errorMessage(e) + CR + QStringLiteral("Datele existente au ramas neschimbate.");
        m_ui.Mesaj(title, text, KindError, ButtonsOk);
        return { Outcome::Failed, false, text };
    }
    m_ui.Mesaj(title, QStringLiteral("Incarcare incheiata cu succes !") + CR + QStringLiteral("Porniti programul din nou!"),
               KindInformation, ButtonsOk);
    return { Outcome::Done, true, {} };
}

bool DataBackup::SalvareAutomata(const QString& archivePath)
{
    try {
        const QStringList files = KtArchive::filesToSave(m_dataDir);
        ProgressShown progress(m_ui, QStringLiteral("Salvez datele actuale..."));
        KtArchive::write(archivePath, files, &m_ui);
        progress.hide();
    } catch (const ArchiveError& e) {
        showError(m_ui, e, QStringLiteral("Salvare date"));
        return false;
    }
    m_ui.processEvents();
    m_ui.Mesaj(QStringLiteral("Informatie"), QStringLiteral("Salvare incheiata cu succes !"), KindInformation, ButtonsOk);
    return true;
}

QStringList DataBackup::Dezarhiveaza(const QString& archivePath, const QString& targetDir)
{
    ProgressShown progress(m_ui, QStringLiteral("Dezarhivare..."));
    return KtArchive::extract(archivePath, targetDir, KtArchive::Layout::BelowBase, false, &m_ui);
}

}
