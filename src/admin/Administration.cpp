#include "admin/Administration.h"

#include "reports/Census.h"

#include "core/ErrorReport.h"
#include "core/Paths.h"
#include "domain/TextCase.h"
#include "admin/KtArchive.h"
#include "admin/Models.h"
#include "data/Schema.h"
#include "data/dbf/CodePage1250.h"
#include "services/AppContext.h"
#include "services/LineListFile.h"
#include "core/Interaction.h"
#include "services/RegistryStore.h"
#include "services/Resources.h"
#include "services/ServiceError.h"
#include "services/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace velmor {


namespace {

// A path compared as text: one kind of separator, no "." or ".." parts, no trailing separator.
QString comparable(const QString& path)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(path));
}

}

Administration::Administration(AppContext& ctx)
    : m_ctx(ctx)
{
}

CouncilConstants Administration::designedConstants()
{
    CouncilConstants c;
    c.NumePrimarie = QStringLiteral("PRIMARIA");
    c.Comuna = QStringLiteral("LOCALITATEA");
    c.CodFiscal = QStringLiteral("0");
    c.JUDET = QStringLiteral("JUDETUL");
    c.PRIMAR = QStringLiteral("NUME PRIMAR");
    c.SECRETAR = QStringLiteral("NUME SECRETAR");
    c.TIPLOC = QStringLiteral("COMUNA");
    return c;
}

CouncilConstants Administration::readConstants(const CouncilConstants& shown) const
{
    CouncilConstants result = shown;
    const QString section = QString::fromLatin1(Section);
    for (const QString& key : CouncilConstants::keys()) {
        const QString stored = m_ctx.settings->Citeste_Ini(section, key);
        if (key == QLatin1String("TIPLOC")) {
            if (stored.isEmpty())
                result.TIPLOC = TipuriLocalitate().first();
            else
                result.TIPLOC = TipuriLocalitate().contains(stored) ? stored : QString();
        } else if (!stored.isEmpty()) {
            result.setValue(key, stored);
        }
    }
    return result;
}

void Administration::writeConstants(const CouncilConstants& constants)
{
    const QString section = QString::fromLatin1(Section);
    for (const QString& key : CouncilConstants::keys())
        m_ctx.settings->Scrie_Ini(section, key, constants.value(key));
}

// ---- villages ----

QString Administration::villageFilePath() const
{
    const QDir dir(m_ctx.dataDirectory);
    const QString exact = dir.filePath(QString::fromLatin1(VillageFile));
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList found = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : found) {
        if (name.compare(QLatin1String(VillageFile), Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return exact;
}

QStringList Administration::readVillages() const
{
    return readLineList(villageFilePath(), QStringLiteral("lista localitatilor"));
}

void Administration::writeVillages(const QStringList& villages)
{
    writeLineList(villageFilePath(), villages, QStringLiteral("lista localitatilor"));
}

bool Administration::saveOnClose(const QStringList& villages, const CouncilConstants& constants)
{
    bool ok = true;
    try {
        writeVillages(villages);
    } catch (const ServiceError& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Administrare"));
        ok = false;
    }
    try {
        writeConstants(constants);
    } catch (const ServiceError& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Administrare"));
        ok = false;
    }
    m_ctx.profile.setVillages(villages);
    m_ctx.profile.setConstants(constants);
    return ok;
}

QString Administration::readBackupDirectory() const
{
    const QString stored = m_ctx.registry ? m_ctx.registry->Citeste_Reg(QStringLiteral("CALESALVARI")) : QString();
    return stored.isEmpty() ? QStringLiteral("-") : stored;
}

// ---- paths ----

bool Administration::canWriteIn(const QString& folder, const QString& testName)
{
    const QString path = QDir(folder).filePath(testName);
    const QFileInfo existing(path);
    if (existing.exists() && existing.isFile()) {
        // A file of that name belongs to someone: test with a scratch file instead.
        QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("velmor-XXXXXX.tmp")));
        return probe.open();
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.close();
    file.remove();
    return true;
}

bool Administration::useNetworkData()
{
    Interaction& ui = *m_ctx.interaction;
    const QString title = QStringLiteral("Verificare baza de date");
    QString folder = ui.chooseFolder(QStringLiteral("Indicati directorul cu baza de date"), QString());
    if (folder.isEmpty())
        return false;
    folder = withoutTrailingSeparator(folder);

    const QString local = m_ctx.programDirectory + QStringLiteral("/Data");
    if (upperAZ(comparable(folder)) == upperAZ(comparable(local)) || sameDirectory(folder, local)) {
        ui.Mesaj(title, QStringLiteral("Baza de date indicata este baza locala!"), KindError, ButtonsOk);
        return false;
    }
    if (!data::Schema::ExistaBaza(folder)) {
        ui.Mesaj(title, QStringLiteral("Baza de date indicata este incompleta!"), KindError, ButtonsOk);
        return false;
    }
    if (!canWriteIn(folder, QStringLiteral("p1.txt"))) {
        ui.Mesaj(title, QStringLiteral("Nu am dreptul sa scriu in ") + nativePath(folder) + QStringLiteral("!!"), KindError,
                 ButtonsOk);
        return false;
    }
    try {
        m_ctx.registry->Scrie_Reg(QStringLiteral("CaleDate"), nativePath(folder));
    } catch (const ServiceError& e) {
        showError(ui, e, QStringLiteral("Stabilire baza de date"));
        return false;
    }
    ui.Mesaj(QStringLiteral("Stabilire baza de date"),
             QStringLiteral("Baza de date a fost redirectionata!") + CR + QStringLiteral("Va rog sa porniti programul din nou!"),
             KindInformation, ButtonsOk);
    return true;
}

bool Administration::useLocalData()
{
    Interaction& ui = *m_ctx.interaction;
    if (m_ctx.registry->Citeste_Reg(QStringLiteral("CaleDate")).isEmpty()) {
        ui.Mesaj(QStringLiteral("Cale Baza de date"), QStringLiteral("Sunteti deja pe baza locala!"), KindWarning, ButtonsOk);
        return false;
    }
    const QString title = QStringLiteral("Baza de date locala");
    if (ui.Mesaj(title, QStringLiteral("Doriti sa lucrati pe baza de date de pe acest calculator?"), KindConfirmation,
                 ButtonsDaNu)
        != ResultDa)
        return false;
    try {
        m_ctx.registry->Scrie_Reg(QStringLiteral("CaleDate"), QString());
    } catch (const ServiceError& e) {
        showError(ui, e, title);
        return false;
    }
    ui.Mesaj(title, QStringLiteral("Porniti din nou programul!"), KindWarning, ButtonsOk);
    return true;
}

void Administration::chooseBackupDirectory(QString& caleSalvari)
{
    Interaction& ui = *m_ctx.interaction;
    if (!m_ctx.localDataMode) {
        ui.Mesaj(QStringLiteral("Salvare Automata"), QStringLiteral("Numai Serverul poate salva automat!"), KindError,
                 ButtonsOk);
        return;
    }
    QString folder = ui.chooseFolder(QStringLiteral("Indicati calea salvarilor automate"), QString());
    if (folder.isEmpty())
        return;
    folder = withoutTrailingSeparator(folder);
    const QString title = QStringLiteral("Stabilire cale salvari");
    // The text comparison, and the same directory reached by another spelling (a link, or a
    // letter case that names the same folder on Windows).
    if (comparable(folder) == comparable(m_ctx.dataDirectory) || sameDirectory(folder, m_ctx.dataDirectory)) {
        ui.Mesaj(title, QStringLiteral("Nu puteti salva in baza de date a programului !") + CR + QStringLiteral("Alegeti alta cale!"),
                 KindError, ButtonsOk);
        return;
    }
    if (!canWriteIn(folder, QStringLiteral("test.txt"))) {
        ui.Mesaj(title,
                 QStringLiteral("Nu pot scrie in ") + nativePath(folder) + QStringLiteral(" !") + CR
                     + QStringLiteral("Alegeti alta cale, unde sa pot scrie!"),
                 KindError, ButtonsOk);
        return;
    }
    try {
        m_ctx.registry->Scrie_Reg(QStringLiteral("CALESALVARI"), nativePath(folder));
    } catch (const ServiceError& e) {
        showError(ui, e, title);
        return;
    }
    caleSalvari = nativePath(folder);
    m_ctx.profile.setBackupDirectory(caleSalvari);
    ui.Mesaj(QStringLiteral("Salvari automate"),
             QStringLiteral("Calea pentru Salvari Automate este acum") + CR + nativePath(folder) + QStringLiteral("."),
             KindInformation, ButtonsOk);
}

void Administration::stopAutomaticBackup(QString& caleSalvari)
{
    Interaction& ui = *m_ctx.interaction;
    if (caleSalvari.size() < 2) {
        ui.ArataProblema(QStringLiteral("Nu aveti ce sterge."), QStringLiteral("CaleSalvari"));
        return;
    }
    if (ui.Mesaj(QStringLiteral("Stergere cale salvari"), QStringLiteral("Doriti sa dezactivati salvarea automata?"),
                 KindConfirmation, ButtonsDaNu)
        != ResultDa)
        return;
    try {
        m_ctx.registry->Scrie_Reg(QStringLiteral("CALESALVARI"), QString());
    } catch (const ServiceError& e) {
        showError(ui, e, QStringLiteral("Salvare Automata"));
        return;
    }
    caleSalvari = QStringLiteral("-");
    m_ctx.profile.setBackupDirectory(caleSalvari);
    ui.Mesaj(QStringLiteral("Salvare Automata"), QStringLiteral("Salvarea automata a fost dezactivata!"), KindInformation,
             ButtonsOk);
}

// ---- models ----

void Administration::openModel(const QString& path, const QString& title)
{
    Interaction& ui = *m_ctx.interaction;
    if (!QFileInfo(path).isFile()) {
        ui.Mesaj(title, QStringLiteral("Lipseste fisierul model ") + nativePath(path) + QStringLiteral("!"), KindError, ButtonsOk);
        return;
    }
    if (!ui.openFile(path)) {
        ui.Mesaj(title, QStringLiteral("Nu pot deschide fisierul ") + nativePath(path) + QStringLiteral("!"), KindError,
                 ButtonsOk);
    }
}

void Administration::DeschideModelAdeverinta(int model)
{
    const QString title = QStringLiteral("Modelul de adeverinta");
    if (model < 1 || model > 4)
        return;
    const QDir home(m_ctx.programDirectory);
    const QString first = home.filePath(QStringLiteral("Adv.rtf"));
    if (!QFileInfo::exists(first))
        InstaleazaModele(m_ctx.programDirectory);
    const QString path = model == 1 ? first : home.filePath(QStringLiteral("Adv%1.rtf").arg(model));
    if (model > 1 && !QFileInfo::exists(path) && QFileInfo::exists(first) && !QFile::copy(first, path)) {
        m_ctx.interaction->Mesaj(title, QStringLiteral("Nu pot scrie fisierul ") + nativePath(path) + QStringLiteral("!"),
                                 KindError, ButtonsOk);
        return;
    }
    if (model > 1)
        QFile(path).setPermissions(QFile(path).permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    openModel(path, title);
}

void Administration::DeschideModelRAgr2()
{
    const QString path = QDir(m_ctx.programDirectory).filePath(QStringLiteral("RAGR2.rtf"));
    if (!QFileInfo::exists(path))
        InstaleazaModele(m_ctx.programDirectory);
    openModel(path, QStringLiteral("Modelul RAgr2"));
}

void Administration::DeschideModelRecensamant(const QString& caption)
{
    const QString title = QStringLiteral("Modele Recensamant 2010");
    if (caption.isEmpty())
        return;
    const QChar last = caption.back();
    if (last < QLatin1Char('1') || last > QLatin1Char('4'))
        return;
    // The same template table as the census report: a missing copy is written from the built-in one.
    const QString path = reports::ensureTemplateCopy(reports::censusTemplate(last.digitValue()), m_ctx.dataDirectory);
    if (!QFileInfo::exists(path)) {
        m_ctx.interaction->Mesaj(title, QStringLiteral("Nu pot scrie fisierul ") + nativePath(path) + QStringLiteral("!"),
                                 KindError, ButtonsOk);
        return;
    }
    openModel(path, title);
}

}
