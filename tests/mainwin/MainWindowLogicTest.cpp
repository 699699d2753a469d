#include "MainWinTestUtil.h"

#include "mainwin/MainWindowLogic.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace velmor;
using namespace velmor::test;

namespace {

void touch(const QString& path, const QByteArray& contents = QByteArrayLiteral("x"))
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

// A logic object whose calendar date is 8 December 2009 and whose automatic backup is recorded.
struct CloseFixture {
    MainEnv env;
    MainWindowLogic logic {env.ctx};
    QStringList backups;

    CloseFixture()
    {
        logic.setToday([] { return QDate(2009, 12, 8); });
        logic.setAutomaticBackup([this](const QString& archive) { backups << archive; });
    }
};

}

// ---- working year ----

TEST(MainWindowLogic, EmptyRegisterGivesOnlyTheCalendarYear)
{
    MainEnv env;
    MainWindowLogic logic(env.ctx);
    logic.setToday([] { return QDate(2025, 3, 1); });
    EXPECT_EQ(logic.yearItems(), QStringList {QStringLiteral("2025")});
}

TEST(MainWindowLogic, YearsAscendingThenTheCalendarYearWhenMissing)
{
    MainEnv env;
    env.addHousehold(QStringLiteral("2030"), 1);
    env.addHousehold(QStringLiteral("2020"), 2);
    env.addHousehold(QStringLiteral("2030"), 3);
    env.addHousehold(QStringLiteral("NULL"), 4);
    MainWindowLogic logic(env.ctx);
    logic.setToday([] { return QDate(2025, 3, 1); });
    // The highest year is later than the calendar year: the calendar year comes last.
    EXPECT_EQ(logic.yearItems(), (QStringList {QStringLiteral("2020"), QStringLiteral("2030"), QStringLiteral("2025")}));
}

TEST(MainWindowLogic, CalendarYearPresentIsNotRepeated)
{
    MainEnv env;
    env.addHousehold(QStringLiteral("2024"), 1);
    env.addHousehold(QStringLiteral("2025"), 2);
    MainWindowLogic logic(env.ctx);
    logic.setToday([] { return QDate(2025, 3, 1); });
    EXPECT_EQ(logic.yearItems(), (QStringList {QStringLiteral("2024"), QStringLiteral("2025")}));
}

// ---- guarded opening ----

TEST(MainWindowLogic, GuardedOpenDisablesTheButtonWhileTheWindowRuns)
{
    MainEnv env;
    MainWindowLogic logic(env.ctx);
    std::vector<bool> states;
    bool enabledDuring = true;
    logic.guardedOpen([&](bool on) { states.push_back(on); }, [&] { enabledDuring = states.back(); });
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(states, (std::vector<bool> {false, true}));
    EXPECT_GE(env.ui.processEventsCount(), 1);
}

TEST(MainWindowLogic, GuardedOpenEnablesTheButtonAgainWhenTheWindowFails)
{
    MainEnv env;
    MainWindowLogic logic(env.ctx);
    std::vector<bool> states;
    EXPECT_THROW(logic.guardedOpen([&](bool on) { states.push_back(on); },
                                   [] { throw std::runtime_error("fereastra a cazut"); }),
                 std::runtime_error);
    EXPECT_EQ(states, (std::vector<bool> {false, true}));
}

// ---- Evidente ----

TEST(MainWindowLogic, EvidenteWithoutVillagesShowsTheProblemAndOpensNothing)
{
    MainEnv env;
    env.ctx.profile.setVillages({});
    MainWindowLogic logic(env.ctx);
    int opened = 0;
    logic.Evidente([](bool) {}, [&] { ++opened; });
    EXPECT_EQ(opened, 0);
    ASSERT_EQ(env.ui.messages().size(), 1u);
    const auto& message = env.ui.lastMessage();
    EXPECT_EQ(message.title, QStringLiteral("Problema"));
    EXPECT_EQ(message.text, QStringLiteral("Introduceti mai intai localitatile la sectiunea Admin !"));
    EXPECT_EQ(message.kind, KindError);
    EXPECT_EQ(message.buttons, ButtonsOk);
}

TEST(MainWindowLogic, EvidenteLockedWarnsAndStillOpens)
{
    MainEnv env;
    MainWindowLogic logic(env.ctx);
    int opened = 0;
    logic.Evidente([](bool) {}, [&] { ++opened; });
    EXPECT_EQ(opened, 1);
    ASSERT_EQ(env.ui.messages().size(), 1u);
    const auto& message = env.ui.lastMessage();
    EXPECT_EQ(message.title, QStringLiteral("ATENTIE !"));
    EXPECT_EQ(message.text, QStringLiteral("Nu aveti dreptul sa faceti modificari !\rDaca doriti sa modificati date, "
                                           "apasati mai intai butonul Administrare!"));
    EXPECT_EQ(message.kind, KindWarning);
    EXPECT_EQ(message.buttons, ButtonsOk);
}

TEST(MainWindowLogic, EvidenteUnlockedOpensWithoutAWord)
{
    MainEnv env;
    env.ctx.setUnlocked(true);
    MainWindowLogic logic(env.ctx);
    std::vector<bool> states;
    int opened = 0;
    logic.Evidente([&](bool on) { states.push_back(on); }, [&] { ++opened; });
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(env.ui.messages().empty());
    EXPECT_EQ(states, (std::vector<bool> {false, true}));
}

// ---- legislation ----

TEST(MainWindowLogic, MissingLegislationDocumentShowsTheBalloonAtLegisB)
{
    MainEnv env;
    MainWindowLogic logic(env.ctx);
    logic.Aratalege(QStringLiteral("Pop3"));
    ASSERT_EQ(env.ui.balloons().size(), 1u);
    const QString path = QDir::toNativeSeparators(env.home + QStringLiteral("/Pop3.pdf"));
    EXPECT_EQ(env.ui.balloons().front().text, QStringLiteral("Nu exista fisierul ") + path + QLatin1Char('!'));
    EXPECT_EQ(env.ui.balloons().front().anchor, QStringLiteral("LegisB"));
    EXPECT_TRUE(env.ui.openedFiles().isEmpty());
    EXPECT_TRUE(env.ui.messages().empty());
}

TEST(MainWindowLogic, PresentLegislationDocumentIsOpened)
{
    MainEnv env;
    touch(env.home + QStringLiteral("/Pop1.pdf"), QByteArrayLiteral("%PDF-1.4"));
    MainWindowLogic logic(env.ctx);
    logic.Aratalege(QStringLiteral("Pop1"));
    EXPECT_EQ(env.ui.openedFiles(), QStringList {env.home + QStringLiteral("/Pop1.pdf")});
    EXPECT_TRUE(env.ui.balloons().empty());
}

// ---- close sequence ----

TEST(MainWindowLogic, NetworkModeOnlyAsksToClose)
{
    CloseFixture f;
    f.env.ctx.localDataMode = false;
    f.env.ctx.profile.setBackupDirectory(f.env.makeDir(QStringLiteral("backups")));
    f.env.ui.pushYes();
    EXPECT_EQ(f.logic.CloseSequence(), MainWindowLogic::CloseDecision::Terminate);
    ASSERT_EQ(f.env.ui.messages().size(), 1u);
    const auto& message = f.env.ui.lastMessage();
    EXPECT_EQ(message.title, QStringLiteral("Inchidere program"));
    EXPECT_EQ(message.text, QStringLiteral("Vreti sa inchideti programul?"));
    EXPECT_EQ(message.kind, KindConfirmation);
    EXPECT_EQ(message.buttons, ButtonsDaNu);
    EXPECT_TRUE(f.backups.isEmpty());
}

TEST(MainWindowLogic, AnswerOtherThanDaKeepsTheProgramOpen)
{
    CloseFixture f;
    f.env.ui.pushNo();
    EXPECT_EQ(f.logic.CloseSequence(), MainWindowLogic::CloseDecision::Stay);
    // Escape (result 2) as well.
    EXPECT_EQ(f.logic.CloseSequence(), MainWindowLogic::CloseDecision::Stay);
    EXPECT_EQ(f.env.ui.messages().size(), 2u);
}

TEST(MainWindowLogic, NoBackupDirectoryOnlyAsksToClose)
{
    CloseFixture f;
    f.env.ctx.profile.setBackupDirectory(QStringLiteral("-"));
    f.env.ui.pushYes();
    EXPECT_EQ(f.logic.CloseSequence(), MainWindowLogic::CloseDecision::Terminate);
    EXPECT_EQ(f.env.ui.lastMessage().title, QStringLiteral("Inchidere program"));
}

TEST(MainWindowLogic, BackupOfferTakesTheNextFreeNumber)
{
    CloseFixture f;
    const QString backups = f.env.makeDir(QStringLiteral("backups"));
    touch(backups + QStringLiteral("/08.12.2009_0.kt"));
    touch(backups + QStringLiteral("/08.12.2009_1.kt"));
    f.env.ctx.profile.setBackupDirectory(backups);
    f.env.ui.pushYes();

    EXPECT_EQ(f.logic.CloseSequence(), MainWindowLogic::CloseDecision::Terminate);
    ASSERT_EQ(f.env.ui.messages().size(), 1u);
    const auto& message = f.env.ui.lastMessage();
    EXPECT_EQ(message.title, QStringLiteral("Salvare Automata"));
    EXPECT_EQ(message.text, QStringLiteral("Doriti sa facem o copie la datele de azi?"));
    EXPECT_EQ(message.kind, KindConfirmation);
    EXPECT_EQ(message.buttons, ButtonsDaNu);
    EXPECT_EQ(f.backups, QStringList {backups + QStringLiteral("/08.12.2009_2.kt")});
    // The test file does not stay behind.
    EXPECT_FALSE(QFileInfo::exists(backups + QStringLiteral("/Test.txt")));
}

TEST(MainWindowLogic, BackupOfferFillsAGap)
{
    CloseFixture f;
    const QString backups = f.env.makeDir(QStringLiteral("backups"));
    touch(backups + QStringLiteral("/08.12.2009_1.kt"));
    touch(backups + QStringLiteral("/07.12.2009_0.kt"));
    f.env.ctx.profile.setBackupDirectory(backups);
    f.env.ui.pushYes();
    f.logic.CloseSequence();
    EXPECT_EQ(f.backups, QStringList {backups + QStringLiteral("/08.12.2009_0.kt")});
}

TEST(MainWindowLogic, NuToTheBackupOfferEndsAtOnce)
{
    CloseFixture f;
    f.env.ctx.profile.setBackupDirectory(f.env.makeDir(QStringLiteral("backups")));
    f.env.ui.pushNo();
    EXPECT_EQ(f.logic.CloseSequence(), MainWindowLogic::CloseDecision::Terminate);
    EXPECT_EQ(f.env.ui.messages().size(), 1u);
    EXPECT_TRUE(f.backups.isEmpty());

    // Escape ends as well.
    EXPECT_EQ(f.logic.CloseSequence(), MainWindowLogic::CloseDecision::Terminate);
    EXPECT_EQ(f.env.ui.messages().size(), 2u);
    EXPECT_EQ(f.env.ui.lastMessage().title, QStringLiteral("Salvare Automata"));
}

TEST(MainWindowLogic, UnwritableBackupDirectoryFallsBackToTheCloseQuestion)
{
    CloseFixture f;
    // A directory that does not exist, and a "directory" that is a file.
    const QString blocker = f.env.dir.path() + QStringLiteral("/file");
    touch(blocker);
    for (const QString& directory : {f.env.dir.path() + QStringLiteral("/missing"), blocker,
                                     blocker + QStringLiteral("/below")}) {
        f.env.ui.clear();
        f.env.ctx.profile.setBackupDirectory(directory);
        f.env.ui.pushNo();
        EXPECT_EQ(f.logic.CloseSequence(), MainWindowLogic::CloseDecision::Stay) << directory.toStdString();
        ASSERT_EQ(f.env.ui.messages().size(), 1u);
        EXPECT_EQ(f.env.ui.lastMessage().title, QStringLiteral("Inchidere program"));
    }
    EXPECT_TRUE(f.backups.isEmpty());
}

TEST(MainWindowLogic, ReadOnlyBackupDirectoryFallsBackToTheCloseQuestion)
{
    CloseFixture f;
    const QString backups = f.env.makeDir(QStringLiteral("readonly"));
    QFile::setPermissions(backups, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(backups + QStringLiteral("/probe"));
    const bool stillWritable = probe.open(QIODevice::WriteOnly);
    probe.close();
    probe.remove();
    if (stillWritable) {
        QFile::setPermissions(backups, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        GTEST_SKIP() << "permissions do not stop this user from writing";
    }
    f.env.ctx.profile.setBackupDirectory(backups);
    f.env.ui.pushYes();
    EXPECT_EQ(f.logic.CloseSequence(), MainWindowLogic::CloseDecision::Terminate);
    EXPECT_EQ(f.env.ui.lastMessage().title, QStringLiteral("Inchidere program"));
    EXPECT_TRUE(f.backups.isEmpty());
    QFile::setPermissions(backups, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(MainWindowLogic, AnExistingTestFileOfTheUserIsLeftAlone)
{
    CloseFixture f;
    const QString backups = f.env.makeDir(QStringLiteral("backups"));
    touch(backups + QStringLiteral("/Test.txt"), QByteArrayLiteral("notite importante"));
    f.env.ctx.profile.setBackupDirectory(backups);
    f.env.ui.pushYes();
    EXPECT_EQ(f.logic.CloseSequence(), MainWindowLogic::CloseDecision::Terminate);
    EXPECT_EQ(f.backups.size(), 1);
    QFile kept(backups + QStringLiteral("/Test.txt"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArrayLiteral("notite importante"));
    EXPECT_EQ(QDir(backups).entryList(QDir::Files), QStringList {QStringLiteral("Test.txt")});
}

TEST(MainWindowLogic, BackupPathUsesTheDayAndTheSmallestFreeNumber)
{
    CloseFixture f;
    const QString backups = f.env.makeDir(QStringLiteral("b"));
    EXPECT_EQ(f.logic.automaticBackupPath(backups), backups + QStringLiteral("/08.12.2009_0.kt"));
    touch(backups + QStringLiteral("/08.12.2009_0.kt"));
    EXPECT_EQ(f.logic.automaticBackupPath(backups), backups + QStringLiteral("/08.12.2009_1.kt"));
    // A trailing separator does not double.
    EXPECT_EQ(f.logic.automaticBackupPath(backups + QLatin1Char('/')), backups + QStringLiteral("/08.12.2009_1.kt"));
}

// ---- windows and reports of later versions ----

TEST(MainWindowLogic, NotAvailableMessagesNameTheWindowOrReport)
{
    MainEnv env;
    MainWindowLogic logic(env.ctx);
    logic.windowNotAvailable(QStringLiteral("Totaluri"));
    EXPECT_TRUE(env.ui.hasMessage(QStringLiteral("Informatie"),
                                  QStringLiteral("Fereastra \"Totaluri\" nu este disponibila in aceasta versiune.")));
    EXPECT_EQ(env.ui.lastMessage().kind, KindInformation);
    EXPECT_EQ(env.ui.lastMessage().buttons, ButtonsOk);
    logic.reportNotAvailable(QStringLiteral("R.AGR.2"));
    EXPECT_TRUE(env.ui.hasMessage(QStringLiteral("Informatie"),
                                  QStringLiteral("Raportul \"R.AGR.2\" nu este disponibil in aceasta versiune.")));
}
