#include "mainwin/MainWindowLogic.h"

#include "data/engine/DistinctValues.h"

#include "admin/AccessControl.h"
#include "data/engine/Query.h"
#include "services/AppContext.h"
#include "core/Interaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <stdexcept>

namespace velmor {

MainWindowLogic::MainWindowLogic(AppContext& ctx)
    : m_ctx(ctx)
{
    m_ctx.year.setLoader([this] { return yearItems(); });
}

MainWindowLogic::~MainWindowLogic()
{
    m_ctx.year.setLoader(nullptr);
}

QDate MainWindowLogic::today() const
{
    return m_today ? m_today() : QDate::currentDate();
}

QString MainWindowLogic::calendarYear() const
{
    return QString::number(today().year());
}

engine::Query& MainWindowLogic::query()
{
    if (!m_ctx.engine)
        throw std::logic_error("the data directory is not connected yet");
    if (!m_query || m_queryEngine != m_ctx.engine) {
        m_query = std::make_unique<engine::Query>(*m_ctx.engine);
        m_queryEngine = m_ctx.engine;
    }
    return *m_query;
}

QStringList MainWindowLogic::yearItems()
{
    QStringList items = engine::ValoriDistincte(query(), m_ctx.tablePath(QStringLiteral("Identificare.dbf")),
                                        QStringLiteral("ANUL"), QString(), {}, m_ctx.interaction);
    appendCalendarYear(items);
    return items;
}

void MainWindowLogic::appendCalendarYear(QStringList& items) const
{
    const QString year = calendarYear();
    if (!items.contains(year))
        items << year;
}

void MainWindowLogic::guardedOpen(const std::function<void(bool)>& setEnabled, const std::function<void()>& open)
{
    setEnabled(false);
    if (m_ctx.interaction)
        m_ctx.interaction->processEvents();
    try {
        open();
    } catch (...) {
        setEnabled(true);
        throw;
    }
    setEnabled(true);
}

bool MainWindowLogic::EvidenteChecks()
{
    if (m_ctx.profile.villages().isEmpty()) {
        m_ctx.interaction->Mesaj(QStringLiteral("Problema"),
                                 QStringLiteral("Introduceti mai intai localitatile la sectiunea Admin !"),
                                 KindError, ButtonsOk);
        return false;
    }
    if (!m_ctx.unlocked()) {
        m_ctx.interaction->Mesaj(QStringLiteral("ATENTIE !"),
                                 QStringLiteral("Nu aveti dreptul sa faceti modificari !") + QLatin1Char('\r')
                                     + QStringLiteral("Daca doriti sa modificati date, apasati mai intai butonul Administrare!"),
                                 KindWarning, ButtonsOk);
    }
    return true;
}

void MainWindowLogic::Evidente(const std::function<void(bool)>& setEnabled, const std::function<void()>& openEditor)
{
    if (!EvidenteChecks())
        return;
    guardedOpen(setEnabled, openEditor);
}

int MainWindowLogic::Administrare()
{
    AccessControl access(m_ctx, m_inputQuery2);
    const std::function<void()> open = m_openAdministration ? m_openAdministration : [this] {
        windowNotAvailable(QStringLiteral("Administrare"));
    };
    return int(access.Administrare(open));
}

QString MainWindowLogic::legislationPath(const QString& itemName) const
{
    return m_ctx.programDirectory + QLatin1Char('/') + itemName + QStringLiteral(".pdf");
}

void MainWindowLogic::Aratalege(const QString& itemName)
{
    const QString path = legislationPath(itemName);
    if (QFileInfo(path).isFile()) {
        m_ctx.interaction->openFile(path);
        return;
    }
    m_ctx.interaction->ArataProblema(QStringLiteral("Nu exista fisierul ") + QDir::toNativeSeparators(path)
                                         + QLatin1Char('!'),
                                     QStringLiteral("LegisB"));
}

bool MainWindowLogic::canWriteIn(const QString& directory)
{
    if (directory.isEmpty() || !QFileInfo(directory).isDir())
        return false;
    const QDir dir(directory);
    const QString testPath = dir.filePath(QStringLiteral("Test.txt"));
    if (QFileInfo::exists(testPath)) {
        // Someone's own Test.txt stays; a file of another name tells the same.
        QTemporaryFile probe(dir.filePath(QStringLiteral("Test_XXXXXX.txt")));
        return probe.open();
    }
    QFile test(testPath);
    if (!test.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    test.close();
    test.remove();
    return true;
}

QString MainWindowLogic::automaticBackupPath(const QString& directory) const
{
    const QString base = QDir(directory).filePath(today().toString(QStringLiteral("dd.MM.yyyy")));
    for (int n = 0;; ++n) {
        const QString candidate = base + QLatin1Char('_') + QString::number(n) + QStringLiteral(".kt");
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

MainWindowLogic::CloseDecision MainWindowLogic::CloseSequence()
{
    const QString directory = m_ctx.profile.backupDirectory();
    if (m_ctx.localDataMode && directory != QLatin1String("-") && canWriteIn(directory)) {
        const int answer = m_ctx.interaction->Mesaj(QStringLiteral("Salvare Automata"),
                                                    QStringLiteral("Doriti sa facem o copie la datele de azi?"),
                                                    KindConfirmation, ButtonsDaNu);
        if (answer != ResultDa)
            return CloseDecision::Terminate;
        const QString archive = automaticBackupPath(directory);
        if (m_automaticBackup)
            m_automaticBackup(archive);
        else
            windowNotAvailable(QStringLiteral("Salvare - Incarcare"));
        return CloseDecision::Terminate;
    }
    const int answer = m_ctx.interaction->Mesaj(QStringLiteral("Inchidere program"),
                                                QStringLiteral("Vreti sa inchideti programul?"),
                                                KindConfirmation, ButtonsDaNu);
    return answer == ResultDa ? CloseDecision::Terminate : CloseDecision::Stay;
}

void MainWindowLogic::windowNotAvailable(const QString& name)
{
    m_ctx.interaction->Mesaj(QStringLiteral("Informatie"),
                             QStringLiteral("Fereastra \"") + name
                                 + QStringLiteral("\" nu este disponibila in aceasta versiune."),
                             KindInformation, ButtonsOk);
}

void MainWindowLogic::reportNotAvailable(const QString& name)
{
    m_ctx.interaction->Mesaj(QStringLiteral("Informatie"),
                             QStringLiteral("Raportul \"") + name
                                 + QStringLiteral("\" nu este disponibil in aceasta versiune."),
                             KindInformation, ButtonsOk);
}

}
