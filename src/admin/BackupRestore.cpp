#include "admin/BackupRestore.h"

#include "admin/KtArchive.h"
#include "core/Interaction.h"
#include "core/ProgressShown.h"

#include <QDir>
#include <QFileInfo>

namespace velmor {

namespace {

const QChar CR(13);

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

}

BackupRestore::BackupRestore(Interaction& ui, QString dataDir)
    : m_ui(ui)
    , m_dataDir(std::move(dataDir))
{
}

int BackupRestore::saveTo(const QString& archivePath)
{
    return KtArchive::write(archivePath, KtArchive::filesToSave(m_dataDir), &m_ui);
}

QStringList BackupRestore::restoreFrom(const QString& archivePath)
{
    if (sameDirectory(QFileInfo(archivePath).absolutePath(), m_dataDir)) {
        throw ArchiveError(QStringLiteral("Salvarea %1 se afla in directorul cu baza de date.").arg(native(archivePath)));
    }
    // An archive without members would leave an empty data directory: no backup is ever
    // written like that, so it is refused.
    if (KtArchive::memberCount(archivePath) == 0)
        throw ArchiveError(QStringLiteral("Salvarea %1 nu contine niciun fisier.").arg(native(archivePath)));
    return KtArchive::extract(archivePath, m_dataDir, KtArchive::Layout::DataDirectory, true, &m_ui);
}

BackupRestore::Result BackupRestore::BitBtn1Click()
{
    const QString title = QStringLiteral("Salvare date");
    QString file = m_ui.chooseSaveFile(QStringLiteral("Unde salvam arhiva ?"), QString(),
                                       QString::fromLatin1(ArchiveFilter));
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
                                      QStringLiteral("Vreti sa inlocuiti salvarea ") + native(file) + QStringLiteral("?"),
                                      KindWarning, ButtonsDaNu);
        if (answer != ResultDa)
            return { Outcome::Cancelled, false, {} };
        // The old archive is replaced only once the new one is complete.
    }

    try {
        ProgressShown progress(m_ui, QStringLiteral("Salvez starea actuala..."));
        saveTo(file);
        progress.hide();
    } catch (const ArchiveError& e) {
        m_ui.Mesaj(title, e.message(), KindError, ButtonsOk);
        return { Outcome::Failed, false, e.message() };
    }
    m_ui.Mesaj(title, QStringLiteral("Salvare incheiata cu succes !"), KindInformation, ButtonsOk);
    return { Outcome::Done, false, {} };
}

BackupRestore::Result BackupRestore::BitBtn2Click()
{
    const QString title = QStringLiteral("Incarcare date");
    const QString file = m_ui.chooseOpenFile(QStringLiteral("Incarca o baza de date"), QString(),
                                             QString::fromLatin1(ArchiveFilter));
    if (file.isEmpty())
        return { Outcome::Cancelled, false, {} };
    if (!QFileInfo(file).isFile()) {
        m_ui.Mesaj(title, QStringLiteral("Fisierul ") + native(file) + QStringLiteral(" nu exista !"), KindError, ButtonsOk);
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
    } catch (const ArchiveError& e) {
        const QString text = e.message() + CR + QStringLiteral("Datele existente au ramas neschimbate.");
        m_ui.Mesaj(title, text, KindError, ButtonsOk);
        return { Outcome::Failed, false, text };
    }
    m_ui.Mesaj(title, QStringLiteral("Incarcare incheiata cu succes !") + CR + QStringLiteral("Porniti programul din nou!"),
               KindInformation, ButtonsOk);
    return { Outcome::Done, true, {} };
}

bool BackupRestore::SalvareAutomata(const QString& archivePath)
{
    try {
        const QStringList files = KtArchive::filesToSave(m_dataDir);
        ProgressShown progress(m_ui, QStringLiteral("Salvez datele actuale..."));
        KtArchive::write(archivePath, files, &m_ui);
        progress.hide();
    } catch (const ArchiveError& e) {
        m_ui.Mesaj(QStringLiteral("Salvare date"), e.message(), KindError, ButtonsOk);
        return false;
    }
    m_ui.processEvents();
    m_ui.Mesaj(QStringLiteral("Informatie"), QStringLiteral("Salvare incheiata cu succes !"), KindInformation, ButtonsOk);
    return true;
}

QStringList BackupRestore::Dezarhiveaza(const QString& archivePath, const QString& targetDir)
{
    ProgressShown progress(m_ui, QStringLiteral("Dezarhivare..."));
    return KtArchive::extract(archivePath, targetDir, KtArchive::Layout::BelowBase, false, &m_ui);
}

}
