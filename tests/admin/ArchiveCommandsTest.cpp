#include "admin/ArchiveCommands.h"
#include "admin/KtArchive.h"

#include "ArchiveTestUtil.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

QString archive(const QString& name)
{
    return fixturePath(QStringLiteral("archives/") + name);
}

}

TEST(ArchiveCommands, BackupThenRestoreIntoEmptyDirectoryGivesIdenticalFiles)
{
    TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QString file = home.home() + QStringLiteral("/copie.kt");
    int saved = 0;
    EXPECT_EQ(ArchiveCommands::runBackupCommand(home.data(), file, nullptr, &saved), QString());
    EXPECT_EQ(saved, 32);

    const QString into = home.home() + QStringLiteral("/nou/Data");
    ScriptedInteraction progress;
    int restored = 0;
    EXPECT_EQ(ArchiveCommands::runRestoreCommand(file, into, &progress, &restored), QString());
    EXPECT_EQ(restored, 32);
    EXPECT_EQ(filesOf(into), filesOf(home.data()));
    EXPECT_EQ(filesOf(into), filesOf(fixturePath(QStringLiteral("register-dbase4"))));
    EXPECT_EQ(progress.progressPositions().back(), 32);
}

TEST(ArchiveCommands, RestoreOfReferenceArchive)
{
    TempHome home;
    const QString into = home.home() + QStringLiteral("/r");
    ASSERT_TRUE(QDir().mkpath(into));
    EXPECT_EQ(ArchiveCommands::runRestoreCommand(archive(QStringLiteral("register.kt")), into), QString());
    EXPECT_EQ(filesOf(into), filesOf(fixturePath(QStringLiteral("register-dbase4"))));
}

TEST(ArchiveCommands, BackupRefusals)
{
    TempHome home;
    const QString file = home.home() + QStringLiteral("/copie.kt");
    // Missing data directory.
    EXPECT_FALSE(ArchiveCommands::runBackupCommand(home.home() + QStringLiteral("/lipsa"), file).isEmpty());
    // Nothing to save: no archive is written and the caller is told.
    EXPECT_FALSE(ArchiveCommands::runBackupCommand(home.data(), file).isEmpty());
    EXPECT_FALSE(QFile::exists(file));
    // Archive inside the data directory.
    writeFile(home.dataFile(QStringLiteral("a.dbf")), "a");
    EXPECT_FALSE(ArchiveCommands::runBackupCommand(home.data(), home.dataFile(QStringLiteral("c.kt"))).isEmpty());
    EXPECT_FALSE(QFile::exists(home.dataFile(QStringLiteral("c.kt"))));
    EXPECT_FALSE(ArchiveCommands::runBackupCommand(home.data(), QString()).isEmpty());
    EXPECT_EQ(ArchiveCommands::runBackupCommand(home.data(), file), QString());
}

TEST(ArchiveCommands, RestoreRefusesNonEmptyTargetAndKeepsIt)
{
    TempHome home;
    writeFile(home.dataFile(QStringLiteral("a.dbf")), "a");
    const QString error = ArchiveCommands::runRestoreCommand(archive(QStringLiteral("register.kt")), home.data());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(filesOf(home.data()).size(), 1);
    // A file where the directory should be.
    EXPECT_FALSE(ArchiveCommands::runRestoreCommand(archive(QStringLiteral("register.kt")),
                                                    home.dataFile(QStringLiteral("a.dbf")))
                     .isEmpty());
}

TEST(ArchiveCommands, RestoreOfBadArchivesLeavesTargetEmpty)
{
    TempHome home;
    const QString into = home.home() + QStringLiteral("/r");
    for (const char* name : { "truncated.kt", "traversal.kt", "liar.kt", "empty.kt", "lipsa.kt" }) {
        const QString error = ArchiveCommands::runRestoreCommand(archive(QString::fromLatin1(name)), into);
        EXPECT_FALSE(error.isEmpty()) << name;
        EXPECT_TRUE(entriesBelow(into).isEmpty()) << name;
    }
}
