#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmor;

TEST(SingleInstance, NameDependsOnTheHomeNotOnItsSpelling)
{
    QTemporaryDir dir;
    const QString home = dir.path() + QStringLiteral("/home");
    QDir().mkpath(home);
    QDir().mkpath(dir.path() + QStringLiteral("/other"));
    const QString name = SingleInstance::serverName(home);
    EXPECT_TRUE(name.startsWith(QStringLiteral("velmor-")));
    EXPECT_EQ(SingleInstance::serverName(home + QLatin1Char('/')), name);
    EXPECT_EQ(SingleInstance::serverName(dir.path() + QStringLiteral("/other/../home")), name);
    EXPECT_NE(SingleInstance::serverName(dir.path() + QStringLiteral("/other")), name);
}

TEST(SingleInstance, SecondCopyActivatesTheFirstAndKnowsItRuns)
{
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    EXPECT_FALSE(first.activateRunning(200));
    ASSERT_TRUE(first.listen());
    EXPECT_TRUE(first.listening());
    QSignalSpy activated(&first, &SingleInstance::activationRequested);

    SingleInstance second(dir.path());
    EXPECT_TRUE(second.activateRunning());
    EXPECT_TRUE(activated.wait(3000) || activated.count() > 0);
    EXPECT_EQ(activated.count(), 1);
}

TEST(SingleInstance, CopiesOfOtherHomesDoNotMeet)
{
    QTemporaryDir a;
    QTemporaryDir b;
    SingleInstance first(a.path());
    ASSERT_TRUE(first.listen());
    SingleInstance other(b.path());
    EXPECT_FALSE(other.activateRunning(200));
    EXPECT_TRUE(other.listen());
}

TEST(SingleInstance, ASocketLeftBehindIsTakenOver)
{
    QTemporaryDir dir;
    const QString name = SingleInstance::serverName(dir.path());
#ifdef Q_OS_UNIX
    // A copy that ended without cleaning up leaves its socket file with nobody behind it.
    {
        QLocalServer stale;
        stale.setSocketOptions(QLocalServer::UserAccessOption);
        ASSERT_TRUE(stale.listen(name));
        const QString socketFile = stale.fullServerName();
        stale.close();
        // Closing removed the file; put back what a crash leaves behind.
        QFile leftover(socketFile);
        if (!QFileInfo::exists(socketFile)) {
            ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
            leftover.close();
        }
        ASSERT_TRUE(QFileInfo::exists(socketFile));
    }
#endif
    SingleInstance instance(dir.path());
    EXPECT_FALSE(instance.activateRunning(200));
    EXPECT_TRUE(instance.listen());
    SingleInstance later(dir.path());
    EXPECT_TRUE(later.activateRunning());
}
