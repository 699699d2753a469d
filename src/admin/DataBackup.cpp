#include "admin/DataBackup.h"

#include "admin/KtArchive.h"
#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "services/AppContext.h"
#include "core/Interaction.h"
#include "core/ProgressShown.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <utility>
#include <vector>

namespace velmor {

namespace {

const QChar CR(13);

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

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

}

DataBackup::DataBackup(AppContext& ctx)
    : m_ctx(ctx)
{
}

QString DataBackup::dataDirectory() const
{
    return m_ctx.dataDirectory;
}

QStringList DataBackup::restoreFrom(const QString& archivePath)
{
    const QString dataDir = QDir::cleanPath(QFileInfo(dataDirectory()).absoluteFilePath());
    if (dataDirectory().isEmpty())
        throw ArchiveError(QStringLiteral("Directorul de date nu este stabilit."));
    if (sameDirectory(QFileInfo(archivePath).absolutePath(), dataDir))
        throw ArchiveError(QStringLiteral("Salvarea %1 se afla in directorul cu baza de date.").arg(native(archivePath)));
    if (!QDir().mkpath(dataDir))
        throw ArchiveError(QStringLiteral("Nu pot crea directorul de date %1.").arg(native(dataDir)));

    // 1. Staging beside the data directory, so that the final moves stay on one disk.
    const QFileInfo dataInfo(dataDir);
    QTemporaryDir staging(dataInfo.dir().filePath(dataInfo.fileName() + QStringLiteral(".restaurare-XXXXXX")));
    if (!staging.isValid()) {
        throw ArchiveError(QStringLiteral("Nu pot crea directorul de lucru langa %1: %2")
                               .arg(native(dataDir), staging.errorString()));
    }
    const QString incoming = staging.filePath(QStringLiteral("Data"));
    KtArchive::extract(archivePath, incoming, KtArchive::Layout::DataDirectory, false, m_ctx.interaction);

    // 2. The archive must hold a complete register.
    if (!data::Schema::ExistaBaza(incoming)) {
        QStringList missing;
        const QStringList present = QDir(incoming).entryList(QDir::Files);
        for (const QString& table : data::Schema::tableFileNames()) {
            bool found = false;
            for (const QString& name : present)
                found = found || name.compare(table, Qt::CaseInsensitive) == 0;
            if (!found)
                missing << table;
        }
        throw ArchiveError(QStringLiteral("Salvarea %1 nu contine toate tabelele registrului (lipsesc: %2).")
                               .arg(native(archivePath), missing.join(QStringLiteral(", "))));
    }

    // 3. Swap: the old files aside, the new ones in; any failure puts everything back.
    const QString aside = staging.filePath(QStringLiteral("vechi"));
    if (!QDir().mkpath(aside))
        throw ArchiveError(QStringLiteral("Nu pot crea directorul %1.").arg(native(aside)));
    const QFileInfoList oldFiles = filesOf(dataDir);
    if (m_ctx.engine) {
        for (const QFileInfo& file : oldFiles)
            m_ctx.engine->forget(file.absoluteFilePath());
    }
    Mover mover;
    auto fail = [&](const QString& message) {
        if (mover.undo())
            throw ArchiveError(message);
        staging.setAutoRemove(false);
        throw SwapNotUndone(message
                            + QStringLiteral(" Unele fisiere nu au putut fi puse la loc; fisierele vechi se afla in %1.")
                                  .arg(native(aside)));
    };
    for (const QFileInfo& file : oldFiles) {
        if (!mover.move(file.absoluteFilePath(), aside + QLatin1Char('/') + file.fileName()))
            fail(QStringLiteral("Nu pot muta fisierul %1.").arg(native(file.absoluteFilePath())));
    }
    QStringList written;
    for (const QFileInfo& file : filesOf(incoming)) {
        const QString destination = dataDir + QLatin1Char('/') + file.fileName();
        if (!mover.move(file.absoluteFilePath(), destination))
            fail(QStringLiteral("Nu pot scrie fisierul %1.").arg(native(destination)));
        written << destination;
    }
    if (m_ctx.engine) {
        for (const QString& path : written)
            m_ctx.engine->forget(path);
    }
    return written;
}

DataBackup::Result DataBackup::BitBtn1Click()
{
    BackupRestore backup(*m_ctx.interaction, dataDirectory());
    return backup.BitBtn1Click();
}

DataBackup::Result DataBackup::BitBtn2Click()
{
    Interaction& ui = *m_ctx.interaction;
    const QString title = QStringLiteral("Incarcare date");
    QString file = ui.chooseOpenFile(QStringLiteral("Incarca o baza de date"), QString(),
                                     QString::fromLatin1(BackupRestore::ArchiveFilter));
    if (file.isEmpty())
        return { Outcome::Cancelled, false, {} };
    if (!QFileInfo(file).exists() && QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".kt");
    if (!QFileInfo(file).isFile()) {
        ui.Mesaj(title, QStringLiteral("Fisierul ") + native(file) + QStringLiteral(" nu exista !"), KindError, ButtonsOk);
        return { Outcome::Refused, false, {} };
    }
    const QString archiveDir = QFileInfo(file).absolutePath();
    if (QDir::cleanPath(archiveDir) == QDir::cleanPath(QDir::fromNativeSeparators(dataDirectory()))
        || sameDirectory(archiveDir, dataDirectory())) {
        ui.Mesaj(title,
                 QStringLiteral("Salvarea indicata nu are voie sa fie in directorul cu baza de date!") + CR
                     + QStringLiteral("Mutati-o in alt loc cu CUT si PASTE si reincercati!"),
                 KindError, ButtonsOk);
        return { Outcome::Refused, false, {} };
    }
    const int answer = ui.Mesaj(QStringLiteral("Incarcare baza de date"),
                                QStringLiteral("Prin Incarcare, se vor sterge DEFINITIV datele existente") + CR
                                    + QStringLiteral("si vor fi inlocuite cu cele din salvare !!!") + CR
                                    + QStringLiteral("Continuati Restaurarea ?"),
                                KindWarning, ButtonsDaNu);
    if (answer != ResultDa)
        return { Outcome::Cancelled, false, {} };

    try {
        ProgressShown progress(ui, QStringLiteral("Incarc baza de date..."));
        restoreFrom(file);
        progress.hide();
    } catch (const SwapNotUndone& e) {
        ui.Mesaj(title, e.message(), KindError, ButtonsOk);
        return { Outcome::Failed, true, e.message() };
    } catch (const ArchiveError& e) {
        const QString text = e.message() + CR + QStringLiteral("Datele existente au ramas neschimbate.");
        ui.Mesaj(title, text, KindError, ButtonsOk);
        return { Outcome::Failed, false, text };
    }
    ui.Mesaj(title, QStringLiteral("Incarcare incheiata cu succes !") + CR + QStringLiteral("Porniti programul din nou!"),
             KindInformation, ButtonsOk);
    return { Outcome::Done, true, {} };
}

bool DataBackup::SalvareAutomata(const QString& archivePath)
{
    BackupRestore backup(*m_ctx.interaction, dataDirectory());
    return backup.SalvareAutomata(archivePath);
}

}
