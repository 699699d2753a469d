#include "app/Cli.h"

#include "data/Schema.h"
#include "data/dbf/DbfTable.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace velmor;

namespace {

TEST(CliCommands, CreateMakesTheMissingTables)
{
    test::TempHome home;
    const QString dir = home.dataFile(QStringLiteral("new/register"));
    EXPECT_EQ(cli::run({QStringLiteral("create"), QStringLiteral("--data"), dir}), 0);
    EXPECT_TRUE(data::Schema::ExistaBaza(dir));
    EXPECT_TRUE(QFileInfo::exists(dir + QStringLiteral("/CAP11.dbt")));

    // Again: nothing is replaced.
    const QByteArray before = [&] {
        QFile f(dir + QStringLiteral("/CAP2.dbf"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QFile::remove(dir + QStringLiteral("/CAP8.dbf"));
    EXPECT_EQ(cli::run({QStringLiteral("create"), QStringLiteral("--data"), dir}), 0);
    EXPECT_TRUE(data::Schema::ExistaBaza(dir));
    QFile f(dir + QStringLiteral("/CAP2.dbf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);

    EXPECT_EQ(cli::run({QStringLiteral("create")}), 2);
}

TEST(CliCommands, DemoWritesARegisterAndRefusesBadInput)
{
    test::TempHome home;
    const QString dir = home.dataFile(QStringLiteral("demo"));
    EXPECT_EQ(cli::run({QStringLiteral("demo"), QStringLiteral("--data"), dir, QStringLiteral("--households"), QStringLiteral("6"),
                        QStringLiteral("--years"), QStringLiteral("2"), QStringLiteral("--first-year"), QStringLiteral("2019"),
                        QStringLiteral("--seed"), QStringLiteral("3")}),
              0);
    EXPECT_TRUE(data::Schema::ExistaBaza(dir));
    EXPECT_GE(dbf::DbfTable(dir + QStringLiteral("/Identificare.dbf")).recordCount(), 10);

    // The directory now holds a register: refused, nothing changed.
    const qint64 size = QFileInfo(dir + QStringLiteral("/CAP4.dbf")).size();
    EXPECT_EQ(cli::run({QStringLiteral("demo"), QStringLiteral("--data"), dir, QStringLiteral("--households"), QStringLiteral("2"),
                        QStringLiteral("--years"), QStringLiteral("1")}),
              1);
    EXPECT_EQ(QFileInfo(dir + QStringLiteral("/CAP4.dbf")).size(), size);

    const QString other = home.dataFile(QStringLiteral("other"));
    EXPECT_EQ(cli::run({QStringLiteral("demo"), QStringLiteral("--data"), other, QStringLiteral("--households"), QStringLiteral("many"),
                        QStringLiteral("--years"), QStringLiteral("1")}),
              2);
    EXPECT_EQ(cli::run({QStringLiteral("demo"), QStringLiteral("--data"), other, QStringLiteral("--households"), QStringLiteral("5"),
                        QStringLiteral("--years"), QStringLiteral("1"), QStringLiteral("--first-year"), QStringLiteral("0")}),
              1);
    EXPECT_EQ(cli::run({QStringLiteral("demo"), QStringLiteral("--data"), other, QStringLiteral("--households"), QStringLiteral("5")}), 2);
    EXPECT_FALSE(QFileInfo::exists(other));
}

}
