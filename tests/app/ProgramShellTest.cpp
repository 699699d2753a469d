#include "StartupTestUtil.h"

#include "app/ProgramShell.h"
#include "app/TForm1.h"
#include "data/Schema.h"
#include "mainwin/TForm3.h"
#include "services/RegistryStore.h"
#include "services/ScriptedInteraction.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

struct ShellEnv {
    QTemporaryDir dir;
    QString home = dir.path() + QStringLiteral("/home");
    RegistryStore registry {dir.path() + QStringLiteral("/registry.ini")};
    ScriptedInteraction ui;
};

}

TEST(ProgramShell, StartupFillsTheWindowsAndHandsOverToTheMainWindow)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    ProgramShell shell(env.home, &env.registry, &env.ui);
    const auto result = shell.runStartup();
    ASSERT_EQ(result.outcome, StartupSequence::Outcome::HandOver) << result.error.toStdString();

    EXPECT_EQ(shell.form3()->windowTitle(), QStringLiteral("VELMOR 3.18"));
    EXPECT_EQ(shell.form1()->Label5()->text(), QStringLiteral("Refac bazele de date ..."));
    EXPECT_EQ(shell.form1()->Bar()->value(), 100);
    EXPECT_EQ(shell.form3()->Anul()->currentText(), QString::number(QDate::currentDate().year()));
    EXPECT_EQ(shell.context().workingYear(), QString::number(QDate::currentDate().year()));
    EXPECT_TRUE(data::Schema::ExistaBaza(env.home + QStringLiteral("/Data")));

    shell.form1()->show();
    shell.handOver();
    EXPECT_FALSE(shell.form1()->isVisible());
    EXPECT_TRUE(shell.form3()->isVisible());
    EXPECT_NE(shell.form1()->cursor().shape(), Qt::WaitCursor);

    QSignalSpy finished(&shell, &ProgramShell::finished);
    env.ui.pushYes();
    shell.form3()->close();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 0);
}

TEST(ProgramShell, SplashTimerRunsTheSequenceAndShowsTheMainWindow)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    ProgramShell shell(env.home, &env.registry, &env.ui);
    QSignalSpy finished(&shell, &ProgramShell::finished);
    shell.start();
    EXPECT_TRUE(shell.form1()->isVisible());
    EXPECT_FALSE(shell.form3()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.form3()->isVisible(); }, 10000));
    EXPECT_FALSE(shell.form1()->isVisible());
    EXPECT_EQ(finished.count(), 0);
}

TEST(ProgramShell, StartupThatCannotGoOnEndsTheProgram)
{
    ShellEnv env;
    // The home is a file: no data directory can be made below it.
    QFile file(env.home);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ProgramShell shell(env.home, &env.registry, &env.ui);
    QSignalSpy finished(&shell, &ProgramShell::finished);
    shell.start();
    ASSERT_TRUE(finished.wait(5000) || finished.count() > 0);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 1);
    EXPECT_FALSE(shell.form3()->isVisible());
    EXPECT_FALSE(shell.form1()->isVisible());
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Eroare"));
}

TEST(ProgramShell, ActivationRestoresAMinimisedMainWindow)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    ProgramShell shell(env.home, &env.registry, &env.ui);
    ASSERT_EQ(shell.runStartup().outcome, StartupSequence::Outcome::HandOver);
    shell.handOver();
    shell.form3()->showMinimized();
    if (!QTest::qWaitFor([&] { return shell.form3()->isMinimized(); }, 1000))
        GTEST_SKIP() << "this platform does not minimise windows";
    shell.activate();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shell.form3()->isMinimized(); }, 2000));
    EXPECT_TRUE(shell.form3()->isVisible());
}
