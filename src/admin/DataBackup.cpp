#include "admin/DataBackup.h"

#include "core/ErrorReport.h"
#include "admin/KtArchive.h"
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

QFileInfoList filesOf(const QString& dir)
{
    return QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
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

    // 3. Swap: the old files aside, the new ones in; any failure puts everything back.
    const QString aside = staging.filePath(QStringLiteral("vechi"));
    if (!QDir().mkpath(aside))
        throw ArchiveError(QStringLiteral("Nu pot crea directorul %1.").arg(nativePath(aside)));
    const QFileInfoList incomingFiles = filesOf(incoming);
    QFileInfoList oldFiles = filesOf(dataDir);
    if (scope == Scope::ArchivedFiles) {
        oldFiles.removeIf([&](const QFileInfo& old) {
            return std::none_of(incomingFiles.begin(), incomingFiles.end(), [&](const QFileInfo& file) {
                return file.fileName().compare(old.fileName(), Qt::CaseInsensitive) == 0;
            });
        });
    }
    if (m_engine) {
        for (const QFileInfo& file : oldFiles)
            m_engine->forget(file.absoluteFilePath());
    }
    Mover mover;
    auto fail = [&](const QString& message) {
        if (mover.undo())
            throw ArchiveError(message);
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
    return written;
}

DataBackup::Result DataBackup::BitBtn1Click()
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

DataBackup::Result DataBackup::BitBtn2Click()
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
