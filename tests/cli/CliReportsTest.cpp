// The report verbs over the reference register: the statistics file delivered, kept and replaced;
// the accounting report with its PDF; the heads of household; the farm placeholders; the lists
// exported by extension; refusals with status 1 and the message.

#include "CliRun.h"

#include "support/TestDirs.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using velmor::test::cli;
using velmor::test::CliRun;

namespace {

struct World {
    World() { home.copyFixture(QStringLiteral("register-dbase4")); }
    QStringList base() const
    {
        return {QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home(), QStringLiteral("--year"),
                QStringLiteral("2010")};
    }
    CliRun run(const QString& verb, const QStringList& more = {}) const { return cli(QStringList{verb} + base() + more); }
    velmor::test::TempHome home;
};

QStringList lines(const QString& text)
{
    QStringList all = text.split(QLatin1Char('\n'));
    if (!all.isEmpty() && all.last().isEmpty())
        all.removeLast();
    return all;
}

}

TEST(CliReports, StatisticsFileDeliveredKeptReplaced)
{
    World w;
    QTemporaryDir folder;
    const QStringList options{QStringLiteral("--date"), QStringLiteral("08.12.2009"), QStringLiteral("--out"), folder.path()};
    const QString target = QDir(folder.path()).filePath(QStringLiteral("TÂRGU VECHI_08_12_2009.txt"));

    CliRun r = w.run(QStringLiteral("statfile"), options);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QDir::toNativeSeparators(target));
    const QByteArray first = velmor::test::fileBytes(target);
    EXPECT_TRUE(first.startsWith("[CAP1]\r\nLOCALITATE=COMUNA T\xC2RGU VECHI\r\nSIRUES=4321987\r\n"));

    QFile::remove(target);
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    r = w.run(QStringLiteral("statfile"), options);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Il inlocuim?"))) << r.err.toStdString();
    EXPECT_EQ(velmor::test::fileBytes(target), QByteArray("old"));

    r = w.run(QStringLiteral("statfile"), options + QStringList{QStringLiteral("--replace"), QStringLiteral("yes")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(velmor::test::fileBytes(target), first);

    r = w.run(QStringLiteral("statfile"), {QStringLiteral("--date"), QStringLiteral("08.12.2009"), QStringLiteral("--out"), folder.path()});
    EXPECT_EQ(r.status, 1);
    r = cli({QStringLiteral("statfile"), QStringLiteral("--data"), w.home.data(), QStringLiteral("--home"), w.home.home(),
             QStringLiteral("--year"), QStringLiteral("1990"), QStringLiteral("--date"), QStringLiteral("08.12.2009"),
             QStringLiteral("--out"), folder.path(), QStringLiteral("--replace"), QStringLiteral("yes")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Nu aveti nici o inregistrare in anul 1990!"))) << r.err.toStdString();
    EXPECT_EQ(velmor::test::fileBytes(target), first);
    EXPECT_EQ(QDir(w.home.home()).entryList({QStringLiteral("*.txt")}, QDir::Files), QStringList()) << "no working copy left";
}

TEST(CliReports, AccountingAndHeads)
{
    World w;
    const QString pdf = QDir(w.home.home()).filePath(QStringLiteral("contabilitate.pdf"));
    CliRun r = w.run(QStringLiteral("accounting"), {QStringLiteral("--pdf"), pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList rows = lines(r.out);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0], QStringLiteral("CODID\tLOCALIT\tNUMEP\tROL\tTI1\tTE1\tTI2\tTE2\tTI3\tTE3\tTI4\tTE4\tTI6\tTE6\tTI9\tTE9\tTI10\tTE10\tTI11\tTE11"));
    EXPECT_EQ(rows[2], QStringLiteral("101\tSAT NOU\tPOPESCU ION\t11\t0.5\t1.0025\t0\t2\t0\t0\t0\t0.1\t0\t0\t0\t0\t0.15\t0\t0\t0"));
    EXPECT_TRUE(velmor::test::fileBytes(pdf).startsWith("%PDF"));
    EXPECT_FALSE(QFileInfo::exists(QDir(w.home.home()).filePath(QStringLiteral("RCF.dbf"))));

    r = w.run(QStringLiteral("heads"), {QStringLiteral("--by"), QStringLiteral("address")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(lines(r.out).value(0), QStringLiteral("NUMEP\tLOCALIT\tSTRADA\tNR"));
    EXPECT_EQ(lines(r.out).value(4), QString::fromUtf8("POPESCU ION\tSAT NOU\tMORII\t12"));
    r = w.run(QStringLiteral("heads"), {QStringLiteral("--by"), QStringLiteral("positions")});
    EXPECT_EQ(lines(r.out).value(0), QStringLiteral("NUMEP\tLOCALIT\tCNP\tPOZ\tVOLUM"));
    EXPECT_EQ(lines(r.out).size(), 7);
    r = w.run(QStringLiteral("heads"), {QStringLiteral("--by"), QStringLiteral("street")});
    EXPECT_EQ(r.status, 2);
}

TEST(CliReports, FarmsAndLists)
{
    World w;
    CliRun r = w.run(QStringLiteral("farms"), {QStringLiteral("--date"), QStringLiteral("08.12.2009")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QStringList rows = lines(r.out);
    EXPECT_EQ(rows.value(0), QStringLiteral("PLACEHOLDER\tTEXT"));
    EXPECT_EQ(rows.value(1), QStringLiteral("[JUDET]\tALBA"));
    EXPECT_EQ(rows.value(2), QStringLiteral("[DATA]\t08.12.2009"));
    EXPECT_EQ(rows.value(3), QStringLiteral("[a12]\t2"));
    EXPECT_EQ(rows.size(), 3 + 3 * (19 * 4 + 17 * 2 + 7));
    r = w.run(QStringLiteral("farms"), {QStringLiteral("--date"), QStringLiteral("08.12.2009"), QStringLiteral("--out"),
                                        QDir(w.home.home()).filePath(QStringLiteral("f.rtf"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Lipseste fisierul model "))) << r.err.toStdString();

    const QString csv = QDir(w.home.home()).filePath(QStringLiteral("strada.csv"));
    r = w.run(QStringLiteral("list-street"), {QStringLiteral("--street"), QStringLiteral("Morii"), QStringLiteral("--out"), csv});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    rows = lines(r.out);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0], QStringLiteral("LOCALIT\tVOLUM\tPOZ\tNR\tNUMEP\tDATAN"));
    EXPECT_EQ(rows[1], QString::fromUtf8("SAT NOU\t1\t2\t10A\tŢĂRAN GHEORGHE\t30.11.1945"));
    EXPECT_TRUE(QString::fromUtf8(velmor::test::fileBytes(csv)).contains(QStringLiteral("Nume si prenume")));

    r = w.run(QStringLiteral("list-sizes"));
    EXPECT_EQ(lines(r.out).value(0), QStringLiteral("TIPRA\tLOCALIT\tVOLUM\tPOZ\tROL\tCAP_GOSP\tNRLOC"));
    EXPECT_EQ(lines(r.out).size(), 7);
    r = w.run(QStringLiteral("list-dwellings"));
    EXPECT_EQ(lines(r.out), (QStringList{QStringLiteral("LOCALIT\tNUMEP\tADRESA\tCNP\tROL\tPOZ\tVOLUM\tNRCASE"),
                                         QStringLiteral("SAT NOU\tPOPESCU ION\tstr.MORII nr.12\t1800101221144\t11\t1\t1\t2")}));
}
