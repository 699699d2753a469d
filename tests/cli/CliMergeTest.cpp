// The merge and check verbs run as programs.

#include "CliRun.h"
#include "XlsxTestReader.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <gtest/gtest.h>

namespace velmor {
namespace {

using test::cli;

QString archive(const char* name)
{
    return test::fixturePath(QStringLiteral("archives/") + QString::fromLatin1(name));
}

QMap<QString, QByteArray> files(const QString& dir)
{
    QMap<QString, QByteArray> out;
    for (const QFileInfo& info : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        QFile f(info.filePath());
        if (f.open(QIODevice::ReadOnly))
            out.insert(info.fileName(), f.readAll());
    }
    return out;
}

QStringList mergeArgs(const test::TempHome& home, const QString& kt, const char* replace)
{
    return {QStringLiteral("merge"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home(),
            QStringLiteral("--year"), QStringLiteral("2010"), QStringLiteral("--archive"), kt, QStringLiteral("--replace"),
            QString::fromLatin1(replace)};
}

TEST(CliMerge, PrintsWhatItReplacedAndAppended)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const test::CliRun r = cli(mergeArgs(home, archive("register.kt"), "yes"));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 20);
    EXPECT_EQ(lines[0], QStringLiteral("TABLE\tREMOVED\tAPPENDED"));
    EXPECT_EQ(lines[1], QStringLiteral("Identificare\t8\t8"));
    EXPECT_EQ(lines[2], QStringLiteral("CAP1\t10\t10"));
    EXPECT_EQ(lines[15], QStringLiteral("PozeTarla\t1\t1"));
    EXPECT_EQ(lines[16], QStringLiteral("#COMMON\t8"));
    EXPECT_EQ(lines[17], QStringLiteral("#COUNTER\tCODID\t109\t218"));
    EXPECT_EQ(lines[18], QStringLiteral("#COUNTER\tCOD1\t200\t311"));
    EXPECT_EQ(lines[19], QStringLiteral("#COUNTER\tCODT\t600\t1104"));
    EXPECT_TRUE(lines.contains(QStringLiteral("#LOG\tOperatie incheiata cu succes!")));

    // Merged again without replacing: every position is common, nothing changes but the archive.
    const QMap<QString, QByteArray> before = files(home.data());
    const test::CliRun again = cli(mergeArgs(home, archive("register.kt"), "no"));
    ASSERT_EQ(again.status, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains(QStringLiteral("Identificare\t0\t0\n")));
    EXPECT_TRUE(again.out.contains(QStringLiteral("#COUNTER\tCODID\t218\t218\n")));
    EXPECT_EQ(files(home.data()), before);
}

TEST(CliMerge, ARefusalChangesNothing)
{
    for (const char* name : {"truncated.kt", "liar.kt", "traversal.kt", "empty.kt"}) {
        SCOPED_TRACE(name);
        test::TempHome home;
        home.copyFixture(QStringLiteral("register-dbase4"));
        const QMap<QString, QByteArray> before = files(home.data());
        const test::CliRun r = cli(mergeArgs(home, archive(name), "yes"));
        EXPECT_EQ(r.status, 1);
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_EQ(files(home.data()), before);
        for (const QString& left : QDir(home.home()).entryList(QDir::Files))
            EXPECT_FALSE(left.startsWith(QStringLiteral("Lipire-"))) << left.toStdString();
    }
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const test::CliRun bad = cli(mergeArgs(home, archive("register.kt"), "maybe"));
    EXPECT_EQ(bad.status, 2);
}

TEST(CliCheck, ChecksPrintTheirRowsAndResult)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QStringList base {QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home(), QStringLiteral("--year"),
                            QStringLiteral("2010")};
    test::CliRun r = cli(QStringList {QStringLiteral("check"), QStringLiteral("2")} + base);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("LOCALIT\tPOZ\tVOLUM\tNUMEP\tCNP\tCODSEX\nSAT NOU\t4\t1\tIONESCU VASILE\t\t1\n"
                                    "#RESULT\tRezultat : Aveti 1 persoane cu date incomplete!\n"));
    r = cli(QStringList {QStringLiteral("check"), QStringLiteral("missing")} + base);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("LIPSESC :\n  SAT NOU TIP 1 > VOL.1 POZ. 3\n"))) << r.out.toStdString();

    // Check 4 exported and read back.
    const QString xlsx = home.home() + QStringLiteral("/verificare.xlsx");
    r = cli(QStringList {QStringLiteral("check"), QStringLiteral("4"), QStringLiteral("--export"), xlsx} + base);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("1\tSAT NOU\t1\t1\t2.15\n#RESULT\tExista 1 ANOMALII!!\n"))) << r.out.toStdString();
    const test::XlsxTestReader book(xlsx);
    ASSERT_TRUE(book.ok()) << book.error().toStdString();
    bool found = false;
    for (int row = 0; row < book.rowCount(); ++row) {
        for (int column = 0; column < book.columnCount(); ++column) {
            if (book.cell(row, column).text == QLatin1String("SAT NOU")) {
                found = true;
                EXPECT_DOUBLE_EQ(book.cell(row, column + 3).number, 2.15);
                EXPECT_EQ(book.cell(row, column - 1).text, QStringLiteral("1"));
            }
        }
    }
    EXPECT_TRUE(found);
    EXPECT_FALSE(QFileInfo::exists(home.home() + QStringLiteral("/VTemp.dbf")));

    // Check 1 with --delete: the listed household goes with all its rows.
    r = cli({QStringLiteral("sql"), QStringLiteral("--data"), home.data(),
             QStringLiteral("UPDATE \"") + home.dataFile(QStringLiteral("Identificare.dbf")) + QStringLiteral("\" SET POZ=0 WHERE CODID=101")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    r = cli(QStringList {QStringLiteral("check"), QStringLiteral("1"), QStringLiteral("--delete")} + base);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("ANUL\tLOCALIT\tPOZ\tVOLUM\tCODID\n2010\tSAT NOU\t0\t1\t101\n#RESULT\tRezultat : AVETI 1 ANOMALII!\n"
                                    "ANUL\tLOCALIT\tPOZ\tVOLUM\tCODID\n#RESULT\tRezultat : toate bune!\n"));
    r = cli({QStringLiteral("sql"), QStringLiteral("--data"), home.data(),
             QStringLiteral("SELECT COUNT(*) AS N FROM \"") + home.dataFile(QStringLiteral("CAP2.dbf")) + QStringLiteral("\" WHERE CODID=101")});
    EXPECT_EQ(r.out, QStringLiteral("N\n0\n"));
}

}
}
