// velmor-cli chapters run as a program over a copy of the reference register.

#include "CliRun.h"

#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "support/TestDirs.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::cli;
using velmor::test::CliRun;

namespace {

qint64 firstHousehold(const QString& data, const QString& year)
{
    engine::Engine engine(data);
    const engine::ResultSet r = engine.select(QStringLiteral("SELECT MIN(CODID) AS C FROM ")
                                              + engine::quotedPath(data + QStringLiteral("/Identificare.dbf"))
                                              + QStringLiteral(" WHERE ANUL=") + year);
    return std::get<std::int64_t>(r.rows.at(0).at(0));
}

}

TEST(CliChapters, CompletesAYearOnceAndReportsKeptDuplicates)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QStringList year {QStringLiteral("chapters"), QStringLiteral("--data"), home.data(), QStringLiteral("--year"), QStringLiteral("2010")};
    CliRun r = cli(year);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 10) << r.out.toStdString();
    for (int chapter = 2; chapter <= 11; ++chapter)
        EXPECT_TRUE(lines[chapter - 2].startsWith(QStringLiteral("CAP%1\t").arg(chapter))) << lines[chapter - 2].toStdString();

    // A second run has nothing left to do.
    r = cli(year);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 10) << r.out.toStdString();
    for (int chapter = 2; chapter <= 11; ++chapter)
        EXPECT_EQ(lines[chapter - 2], QStringLiteral("CAP%1\t0\t0\t0").arg(chapter));

    // Two copies of chapter 9 row 4 holding data, one empty copy of row 5: one household only.
    const qint64 codid = firstHousehold(home.data(), QStringLiteral("2010"));
    {
        engine::Engine engine(home.data());
        const QString cap9 = engine::quotedPath(home.data() + QStringLiteral("/CAP9.dbf"));
        engine.execute(QStringLiteral("UPDATE ") + cap9 + QStringLiteral(" SET NR=2 WHERE CODID=%1 AND RAND=4").arg(codid));
        engine.execute(QStringLiteral("INSERT INTO ") + cap9 + QStringLiteral(" (ANUL, CODID, RAND, CATEG, NR) VALUES (2010, %1, 4, 'x', 3)").arg(codid));
        engine.execute(QStringLiteral("INSERT INTO ") + cap9 + QStringLiteral(" (ANUL, CODID, RAND, CATEG, NR) VALUES (2010, %1, 5, 'x', 0)").arg(codid));
    }
    r = cli(year + QStringList {QStringLiteral("--household"), QString::number(codid)});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11) << r.out.toStdString();
    EXPECT_EQ(lines[7], QStringLiteral("CAP9\t0\t1\t0"));
    EXPECT_EQ(lines[10], QStringLiteral("DUBLURI\tCAP9\t%1\t4\t2").arg(codid));
}

TEST(CliChapters, RefusesBadArguments)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QString data = home.data();
    EXPECT_EQ(cli({QStringLiteral("chapters"), QStringLiteral("--data"), data}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("chapters"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("20x0")}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("chapters"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2010"),
                   QStringLiteral("--home"), data})
                  .status,
              2);
    const CliRun missing = cli({QStringLiteral("chapters"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2010"),
                                QStringLiteral("--household"), QStringLiteral("424242")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("424242"))) << missing.err.toStdString();
    const CliRun notData = cli({QStringLiteral("chapters"), QStringLiteral("--data"), home.home() + QStringLiteral("/nimic"),
                                QStringLiteral("--year"), QStringLiteral("2010")});
    EXPECT_EQ(notData.status, 1);
}
