#include "app/Cli.h"
#include "support/FileBytes.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace velmor;

namespace {

TEST(CliArchive, BackupThenRestoreGivesIdenticalFiles)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QString archive = home.home() + QStringLiteral("/copy.kt");
    const QString restored = home.home() + QStringLiteral("/restored");

    ASSERT_EQ(cli::run({QStringLiteral("backup"), QStringLiteral("--data"), home.data(), archive}), 0);
    ASSERT_EQ(cli::run({QStringLiteral("restore"), archive, QStringLiteral("--into"), restored}), 0);

    const QStringList names = QDir(home.data()).entryList(QDir::Files, QDir::Name);
    QStringList expected;
    for (const QString& name : names) {
        if (QFileInfo(home.dataFile(name)).size() > 0)
            expected << name;
    }
    EXPECT_EQ(QDir(restored).entryList(QDir::Files, QDir::Name), expected);
    for (const QString& name : expected)
        EXPECT_EQ(velmor::test::fileBytes(restored + QLatin1Char('/') + name), velmor::test::fileBytes(home.dataFile(name))) << name.toStdString();

    // The same files give the same archive.
    const QString again = home.home() + QStringLiteral("/again.kt");
    ASSERT_EQ(cli::run({QStringLiteral("backup"), QStringLiteral("--data"), home.data(), again}), 0);
    EXPECT_EQ(velmor::test::fileBytes(again), velmor::test::fileBytes(archive));
}

TEST(CliArchive, ForeignArchiveRestoresAndBadOnesWriteNothing)
{
    test::TempHome home;
    const QString good = home.home() + QStringLiteral("/good");
    ASSERT_EQ(cli::run({QStringLiteral("restore"), test::fixturePath(QStringLiteral("archives/register.kt")),
                        QStringLiteral("--into"), good}), 0);
    EXPECT_EQ(velmor::test::fileBytes(good + QStringLiteral("/CAP11.dbt")),
              velmor::test::fileBytes(test::fixturePath(QStringLiteral("register-dbase4/CAP11.dbt"))));
    EXPECT_EQ(velmor::test::fileBytes(good + QStringLiteral("/Identificare.dbf")),
              velmor::test::fileBytes(test::fixturePath(QStringLiteral("register-dbase4/Identificare.dbf"))));

    for (const char* bad : {"truncated.kt", "traversal.kt", "liar.kt", "empty.kt"}) {
        const QString into = home.home() + QStringLiteral("/bad-") + QLatin1String(bad);
        EXPECT_EQ(cli::run({QStringLiteral("restore"), test::fixturePath(QStringLiteral("archives/") + QLatin1String(bad)),
                            QStringLiteral("--into"), into}), 1) << bad;
        EXPECT_TRUE(QDir(into).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty()) << bad;
    }
    EXPECT_FALSE(QFile::exists(home.home() + QStringLiteral("/escaped.txt")));

    EXPECT_EQ(cli::run({QStringLiteral("backup"), QStringLiteral("--data"), home.home() + QStringLiteral("/missing"),
                        home.home() + QStringLiteral("/x.kt")}), 1);
    EXPECT_EQ(cli::run({QStringLiteral("restore"), QStringLiteral("only-archive.kt")}), 2);
}

}
