// velmor-cli census and plot-search over the reference register: the TSV rows, the workbooks
// read back with xls-cells, and the refusals.

#include "CliRun.h"

#include "support/TestDirs.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::cli;

namespace {

class CliCensus : public ::testing::Test {
protected:
    void SetUp() override { home.copyFixture(QStringLiteral("register-dbase4")); }

    QStringList base(const char* verb) const
    {
        return {QLatin1String(verb), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home(),
                QStringLiteral("--year"), QStringLiteral("2010")};
    }
    QStringList plots(const QStringList& more) const
    {
        return base("plot-search") + more;
    }
    // Lines of `xls-cells` holding the cell's address, e.g. "B24\t".
    static QStringList cellsOf(const QString& listing, const QStringList& addresses)
    {
        QStringList found;
        for (const QString& line : listing.split(QLatin1Char('\n'))) {
            for (const QString& a : addresses)
                if (line.startsWith(a + QLatin1Char('\t')))
                    found << line;
        }
        return found;
    }

    test::TempHome home;
};

}

TEST_F(CliCensus, RowsAndFilledForm)
{
    const auto rows = cli(base("census") + QStringList {"--form", "L1", "--village", "SAT NOU", "--rows"});
    ASSERT_EQ(rows.status, 0) << rows.err.toStdString();
    EXPECT_EQ(rows.out,
              QStringLiteral("CODID\tVOLUM\tPOZ\tNUMEP\tSTRADA\tNR\tNRN\tHA\tARI\tANIMALE\tARE\n"
                             "102\t1\t2\tŢĂRAN GHEORGHE\tMORII\t10A\t10.0065\t0\t60\tX\tDA\n"
                             "101\t1\t1\tPOPESCU ION\tMORII\t12\t12\t3\t60.25\tX\tDA\n"));

    const auto c2 = cli(base("census") + QStringList {"--form", "c2", "--village", "SAT NOU", "--rows"});
    ASSERT_EQ(c2.status, 0) << c2.err.toStdString();
    EXPECT_EQ(c2.out, QStringLiteral("NR1\tNR2\tNR3\tNR4\n2\t\t\t\n"));

    const QString out = QDir(home.home()).filePath(QStringLiteral("l2.xls"));
    const auto l2 = cli(base("census") + QStringList {"--form", "L2", "--village", "DEALU MARE", "--date", "05.03.2011", "--out", out});
    ASSERT_EQ(l2.status, 0) << l2.err.toStdString();
    EXPECT_EQ(l2.out, QStringLiteral("1\n"));
    EXPECT_TRUE(QFile::exists(home.dataFile(QStringLiteral("L2.xls"))));
    const auto cells = cli({QStringLiteral("xls-cells"), out});
    ASSERT_EQ(cells.status, 0) << cells.err.toStdString();
    EXPECT_EQ(cellsOf(cells.out, {"H13", "B24", "C24", "D24", "G24", "H24"}).size(), 6) << cells.out.toStdString();
    EXPECT_TRUE(cells.out.contains(QStringLiteral("ziua 05  luna 03  2010")));
    EXPECT_TRUE(cells.out.contains(QStringLiteral("RUSU PETRU")));
    EXPECT_TRUE(cells.out.contains(QStringLiteral("FLORESTI")));

    const auto without = cli(base("census") + QStringList {"--form", "L2", "--village", "DEALU MARE", "--ignore-other", "--include-nu", "--rows"});
    ASSERT_EQ(without.status, 0) << without.err.toStdString();
    EXPECT_TRUE(without.out.contains(QStringLiteral("\tRUSU PETRU\tCLUJ\tFLORESTI\tEROILOR\t5\t5\t0\t0\t\tNU\n"))) << without.out.toStdString();
}

TEST_F(CliCensus, CensusRefusals)
{
    struct Case {
        QStringList more;
        const char* message;
    };
    const QList<Case> cases {
        {{"--form", "L1", "--rows"}, "Nu ati ales localitatea!"},
        {{"--form", "C1", "--village", "  ", "--rows"}, "Nu ati ales localitatea!"},
        {{"--form", "L7", "--village", "SAT NOU", "--rows"}, "Formular necunoscut"},
        {{"--form", "L1", "--village", "SAT NOU"}, "Alegeti --rows sau --out"},
        {{"--form", "L1", "--village", "SAT NOU", "--date", "31.02.2010", "--rows"}, "nu este o data"},
        {{"--form", "L1", "--village", "SAT NOU", "--template", "/no/such.xls", "--out", "x.xls"}, "nu exista"},
    };
    for (const Case& c : cases) {
        const auto r = cli(base("census") + c.more);
        EXPECT_EQ(r.status, 1) << c.more.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST_F(CliCensus, PlotSearchRowsTotalAndList)
{
    const auto all = cli(plots({}));
    ASSERT_EQ(all.status, 0) << all.err.toStdString();
    const QStringList lines = all.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("LOCALIT\tPOZ\tVOLUM\tNUMEP\tACT\tNRACT\tCATEG\tINTRA\tTARLA\tNRTARLA\tNRPARC\tSUPRAF\tNRCAD\tVECN\tVECE\tVECS\tVECV\tCINELUC\tCODT"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("SAT NOU\t1\t1\tPOPESCU ION\tCONTRACT VANZARE\t9\t")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("\t503")));
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("\t501")));
    EXPECT_EQ(lines[4], QStringLiteral("#TOTAL\tTotal suprafata : 1.6025 ha   "));

    const auto parcel = cli(plots({"--parcel", " 12a "}));
    ASSERT_EQ(parcel.status, 0) << parcel.err.toStdString();
    EXPECT_EQ(parcel.out.count(QLatin1Char('\n')), 3);
    EXPECT_TRUE(parcel.out.contains(QStringLiteral("\t502\n")));
    EXPECT_TRUE(parcel.out.contains(QStringLiteral("#TOTAL\tTotal suprafata : 1.0025 ha   \n")));

    const auto sorted = cli(plots({"--sort", "supraf"}));
    ASSERT_EQ(sorted.status, 0) << sorted.err.toStdString();
    const QStringList bySize = sorted.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(bySize.size(), 5);
    EXPECT_TRUE(bySize[1].endsWith(QStringLiteral("\t503")));
    EXPECT_TRUE(bySize[2].endsWith(QStringLiteral("\t501")));
    EXPECT_TRUE(bySize[3].endsWith(QStringLiteral("\t502")));

    const QString list = QDir(home.home()).filePath(QStringLiteral("lista.xls"));
    const auto exported = cli(plots({"--export", list, "--date", "05.03.2010"}));
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    const auto cells = cli({QStringLiteral("xls-cells"), list});
    ASSERT_EQ(cells.status, 0) << cells.err.toStdString();
    EXPECT_TRUE(cells.out.contains(QStringLiteral("la data de 05.03.2010")));
    EXPECT_TRUE(cells.out.contains(QStringLiteral("Primaria   PRIMARIA COMUNEI TÂRGU VECHI")));
    EXPECT_TRUE(cells.out.contains(QStringLiteral("CONTRACT VANZARE nr.9 / 01.02.2005")));

    const QList<QStringList> refused {{"--nrcad", "12345678901"}, {"--type", "9"}, {"--sort", "CODID; X"}, {"--date", "1.1.2010"}};
    for (const QStringList& more : refused) {
        const auto r = cli(plots(more));
        EXPECT_EQ(r.status, 1) << more.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_TRUE(r.out.isEmpty());
    }
}
