#include "app/StartupSequence.h"

#include "app/OperationRecovery.h"
#include "app/RegisterServices.h"
#include "core/ErrorReport.h"
#include "app/SchemaUpgradeRun.h"
#include "core/Paths.h"
#include "services/DataDirectoryLock.h"
#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "domain/TextCase.h"
#include "services/AppContext.h"
#include "core/Interaction.h"
#include "services/RegistryStore.h"
#include "services/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace velmor {

QString comparablePath(const QString& path)
{
    QString p = QDir::fromNativeSeparators(path.trimmed());
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return upperAZ(p);
}

const std::vector<StartupSequence::ReindexStep>& StartupSequence::reindexSteps()
{
    static const std::vector<ReindexStep> steps = [] {
        const QStringList all {QStringLiteral("ANUL"), QStringLiteral("CODID"), QStringLiteral("RAND")};
        const QStringList anulCodid {QStringLiteral("ANUL"), QStringLiteral("CODID")};
        std::vector<ReindexStep> s {
            {QStringLiteral("Identificare.dbf"), {QStringLiteral("ANUL")}, 5},
            {QStringLiteral("CAP1.dbf"), {}, 5},
            {QStringLiteral("CAP11.dbf"), anulCodid, 5},
        };
        const int advances[] = {10, 10, 10, 10, 10, 10, 6, 6, 6};
        for (int n = 2; n <= 10; ++n)
            s.push_back({QStringLiteral("CAP%1.dbf").arg(n), all, advances[n - 2]});
        s.push_back({QStringLiteral("Tarlale.dbf"), anulCodid, 4});
        s.push_back({QStringLiteral("OmTarla.dbf"), anulCodid, 4});
        s.push_back({QStringLiteral("PozeTarla.dbf"), {QStringLiteral("ANUL"), QStringLiteral("CODT")}, 4});
        return s;
    }();
    return steps;
}

QStringList StartupSequence::removeIndexOrder()
{
    return data::Schema::tableFileNames();
}

StartupSequence::StartupSequence(AppContext& ctx, QString programDirectory, Hooks hooks)
    : m_ctx(ctx)
    , m_programDirectory(std::move(programDirectory))
    , m_hooks(std::move(hooks))
{
}

StartupSequence::~StartupSequence()
{
    // The context must not keep pointers to what goes away with this object.
    if (m_services)
        m_services->detachFrom(m_ctx);
    m_ctx.takeOverLock = nullptr;
}

void StartupSequence::status(const QString& text)
{
    if (m_hooks.setStatus)
        m_hooks.setStatus(text);
}

void StartupSequence::advanceBar(int amount)
{
    m_bar = std::min(100, m_bar + amount);
    if (m_hooks.setBar)
        m_hooks.setBar(m_bar);
}

void StartupSequence::pump()
{
    if (m_ctx.interaction)
        m_ctx.interaction->processEvents();
}

QString StartupSequence::table(const QString& fileName) const
{
    return QDir::toNativeSeparators(m_ctx.dataDirectory + QLatin1Char('/') + fileName);
}

StartupSequence::Result StartupSequence::run()
{
    Result result;
    try {
        connect();
    } catch (const data::ProgramTermination& end) {
        result.outcome = Outcome::Terminate;
        result.error = end.reason();
        return result;
    } catch (const std::exception& error) {
        // Without a data directory there is nothing to show: tell why and end.
        result.outcome = Outcome::Terminate;
        result.error = errorMessage(error);
        showError(*m_ctx.interaction, error);
        return result;
    }
    try {
        prepare();
    } catch (const data::ProgramTermination& end) {
        result.outcome = Outcome::Terminate;
        result.error = end.reason();
    } catch (const std::exception& error) {
        // The rest of the preparation is skipped; the main window still opens.
        result.error = errorMessage(error);
        showError(*m_ctx.interaction, error);
    }
    return result;
}

void StartupSequence::connect()
{
    // 1.
    m_ctx.setUnlocked(false);

    // 2.
    m_ctx.windowsDirectory = QDir::tempPath();
    QString home = QDir::fromNativeSeparators(m_programDirectory);
    while (home.size() > 1 && home.endsWith(QLatin1Char('/')))
        home.chop(1);
    m_ctx.programDirectory = home;
    const QString localData = home + QStringLiteral("/Data");

    // 3.
    QString configured = m_ctx.registry->Citeste_Reg(QStringLiteral("CaleDate"));
    if (!configured.isEmpty() && comparablePath(configured) == comparablePath(localData)) {
        configured.clear();
        try {
            m_ctx.registry->Scrie_Reg(QStringLiteral("CaleDate"), QString());
        } catch (const std::exception&) {
            // A store that cannot be written keeps the value; this run works locally all the same.
        }
    }

    // 4. The registry value stays, so the next start tries the path again.
    if (!configured.isEmpty() && !data::Schema::ExistaBaza(configured)) {
        const QString shown = configured;
        configured.clear();
        m_ctx.interaction->Mesaj(QStringLiteral("Conectare baza de date"),
                                 QStringLiteral("Baza de date ") + shown + QStringLiteral(" nu este accesibila!")
                                     + QLatin1Char('\r') + QStringLiteral("Vom lucra local!"),
                                 KindError, ButtonsOk);
    }

    // 5.
    m_ctx.localDataMode = configured.isEmpty();
    if (m_ctx.localDataMode) {
        m_ctx.dataDirectory = localData;
    } else {
        QString dir = QDir::fromNativeSeparators(configured);
        while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
            dir.chop(1);
        m_ctx.dataDirectory = dir;
    }
    // Work tables live in the program home too (village maintenance, upgrade).
    m_services = std::make_unique<RegisterServices>(m_ctx.programDirectory, m_ctx.dataDirectory);
    m_services->attachTo(m_ctx, m_ctx.interaction);
    m_schema = std::make_unique<data::Schema>(m_services->engine(), m_ctx.dataDirectory, *m_ctx.interaction);
    if (m_hooks.showDataPath)
        m_hooks.showDataPath();

    // 6.
    if (m_ctx.localDataMode && !QFileInfo(m_ctx.dataDirectory).isDir()) {
        if (!QDir().mkpath(m_ctx.dataDirectory))
            throw std::runtime_error(("Nu pot crea directorul " + QDir::toNativeSeparators(m_ctx.dataDirectory) + "!")
                                         .toStdString());
    }

    // 7. "." decimal and "," thousands separators for every number of the process.
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions);
    QLocale::setDefault(c);
    pump();

    // The one-writer lock and an interrupted operation, before anything is written.
    claimDataDirectory();

    // 8. Never over an interrupted operation, never read-only.
    if (m_ctx.localDataMode && !m_ctx.readOnly)
        m_schema->CreazaBaza();
    pump();
}

void StartupSequence::claimDataDirectory()
{
    Interaction& ui = *m_ctx.interaction;
    setReadOnly(false);
    m_lock = std::make_unique<DataDirectoryLock>(m_ctx.dataDirectory);
    if (!m_lock->tryLock(0)) {
        // DA: the register is only read; NU: the program ends.
        if (ui.Mesaj(QStringLiteral("Baza de date"), m_lock->readOnlyQuestion(), KindConfirmation, ButtonsDaNu) != ResultDa)
            throw data::ProgramTermination(m_lock->refusalText());
        setReadOnly(true);
        m_ctx.takeOverLock = [this] { return takeOverLock(); };
        return;
    }
    OperationRecovery recovery(m_ctx.dataDirectory, ui, &m_services->engine());
    const std::optional<OperationMarker> marker = recovery.interrupted();
    if (!marker)
        return;
    const QString title = QStringLiteral("Operatie neterminata");
    if (ui.Mesaj(title, OperationRecovery::question(*marker), KindWarning, ButtonsDaNu) != ResultDa) {
        setReadOnly(true);
        return;
    }
    try {
        recovery.mend(*marker);
    } catch (const std::exception& error) {
        showError(ui, error, title);
        setReadOnly(true);
        return;
    }
    ui.Mesaj(title, QStringLiteral("Baza de date a fost reparata."), KindInformation, ButtonsOk);
}

void StartupSequence::setReadOnly(bool on)
{
    m_ctx.readOnly = on;
    m_services->engine().setReadOnly(on);
    m_services->settings().setReadOnly(on);
}

bool StartupSequence::takeOverLock()
{
    if (!m_lock || m_lock->isLocked())
        return false;
    const int answer = m_ctx.interaction->Mesaj(
        QStringLiteral("Preluare baza de date"),
        m_lock->busyText() + CR + QStringLiteral("Preluati baza de date? Daca programul de acolo inca lucreaza, datele se pot strica."),
        KindWarning, ButtonsDaNu);
    if (answer != ResultDa || !m_lock->takeOver())
        return false;
    setReadOnly(false);
    m_ctx.takeOverLock = nullptr;
    return true;
}

void StartupSequence::prepare()
{
    // 10.
    if (m_hooks.setMainCaption)
        m_hooks.setMainCaption();
    m_ctx.registry->Scrie_Reg(QStringLiteral("CALE"), QDir::toNativeSeparators(m_ctx.programDirectory));
    m_ctx.registry->Scrie_Reg(QStringLiteral("VER"), QString::fromLatin1(AppContext::VersionTitle));

    // 11.
    if (m_hooks.loadConstants)
        m_hooks.loadConstants();
    if (m_hooks.loadTariffs)
        m_hooks.loadTariffs();

    // 12. Nothing is written to a register opened read-only.
    if (m_ctx.localDataMode && !m_ctx.readOnly) {
        for (const QString& name : removeIndexOrder())
            m_schema->RemoveIndex(table(name));
        status(QStringLiteral("UpGrade ..."));
        pump();
        cleanOldRows();
        try {
            if (m_hooks.upgrade)
                m_hooks.upgrade();
            else
                runUpgrade();
        } catch (const std::exception&) {
            // The start-up goes on; the upgrade told what failed.
        }
        resetCounters();
    }

    // 13.
    if (m_hooks.loadPlotLists)
        m_hooks.loadPlotLists();

    // 14.
    applySquareMetreSetting();

    // 15 to 19.
    if (m_ctx.localDataMode && !m_ctx.readOnly)
        reindex();
}

void StartupSequence::runUpgrade()
{
    SchemaUpgradeRun upgrade(m_services->engine(), m_ctx.dataDirectory, *m_ctx.interaction);
    upgrade.setStatus = [this](const QString& text) {
        status(text);
        pump();
    };
    bool barMoved = false;
    upgrade.setBar = [this, &barMoved](int position) {
        barMoved = true;
        if (m_hooks.setBar)
            m_hooks.setBar(std::clamp(position, 0, 100));
        pump();
    };
    const data::UpgradeReport report = upgrade.run();
    // The bar belongs to the re-indexing again.
    if (barMoved && m_hooks.setBar)
        m_hooks.setBar(m_bar);
    const QString notes = SchemaUpgradeRun::longNotesMessage(report, m_ctx.dataDirectory);
    if (!notes.isEmpty())
        m_ctx.interaction->Mesaj(QStringLiteral("UpGrade"), notes, KindInformation, ButtonsOk);
    const QString failed = SchemaUpgradeRun::failureMessage(report);
    if (!failed.isEmpty())
        m_ctx.interaction->Mesaj(QStringLiteral("UpGrade"), failed, KindError, ButtonsOk);
}

void StartupSequence::cleanOldRows()
{
    engine::Query& sx = m_schema->Sx();
    for (int n = 1; n <= 11; ++n) {
        engine::QueryRst(sx);
        sx.add(QStringLiteral("DELETE FROM ") + engine::quotedPath(table(QStringLiteral("Cap%1.dbf").arg(n))));
        sx.add(QStringLiteral("WHERE ANUL<2005 OR ANUL IS NULL OR CODID IS NULL"));
        sx.execSQL();
        pump();
    }
}

void StartupSequence::resetCounters()
{
    engine::Query& sx = m_schema->Sx();
    const struct {
        const char* column;
        const char* file;
    } counters[] = {
        {"CODID", "Identificare.dbf"},
        {"COD1", "Cap1.dbf"},
        {"CODT", "Tarlale.dbf"},
    };
    for (const auto& counter : counters) {
        engine::QueryRst(sx);
        sx.add(QStringLiteral("SELECT MAX(%1) AS MAXID").arg(QLatin1String(counter.column)));
        sx.add(QStringLiteral("FROM ") + engine::quotedPath(table(QLatin1String(counter.file))));
        sx.open();
        const qint64 maxId = sx.isEmpty() ? 0 : sx.fieldByName(QStringLiteral("MAXID")).asInteger();
        sx.close();
        m_services->settings().SetCod(QLatin1String(counter.column), QString::number(maxId + 1));
    }
}

void StartupSequence::applySquareMetreSetting()
{
    const bool checked = m_services->settings().Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("BIFCAP2")) == QLatin1String("DA");
    pump();
    if (m_hooks.applySquareMetres)
        m_hooks.applySquareMetres(checked);
    if (m_ctx.readOnly)
        return;
    m_services->settings().Scrie_Ini(QStringLiteral("CONST"), QStringLiteral("BIFCAP2"),
                          checked ? QStringLiteral("DA") : QStringLiteral("NU"));
}

void StartupSequence::reindex()
{
    status(QStringLiteral("Pregatesc baza ..."));
    pump();
    status(QStringLiteral("Refac bazele de date ..."));
    pump();
    for (const ReindexStep& step : reindexSteps()) {
        m_schema->StergePuneIndex(table(step.table), step.columns);
        advanceBar(step.advance);
    }
    pump();
}

}
