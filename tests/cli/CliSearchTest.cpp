// velmor-cli summary and find, run as a program over a copy of the reference register.

#include "CliRun.h"

#include "services/Settings.h"
#include "support/TestDirs.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::cli;
using velmor::test::CliRun;

namespace {

QStringList linesOf(const QString& out)
{
    QStringList lines = out.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

class CliSearch : public ::testing::Test {
protected:
    void SetUp() override { home.copyFixture(QStringLiteral("register-dbase4")); }

    CliRun summary(const QString& household)
    {
        return cli({QStringLiteral("summary"), QStringLiteral("--data"), home.data(), QStringLiteral("--household"), household});
    }
    // The names of the rows found.
    QStringList find(const QStringList& options, CliRun* run = nullptr)
    {
        const CliRun r = cli(QStringList {QStringLiteral("find"), QStringLiteral("--data"), home.data()} + options);
        if (run)
            *run = r;
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        QStringList names;
        const QStringList lines = linesOf(r.out);
        EXPECT_FALSE(lines.isEmpty());
        for (qsizetype i = 1; i < lines.size(); ++i)
            names << lines[i].section(QLatin1Char('\t'), 0, 0);
        return names;
    }

    test::TempHome home;
};

}

TEST_F(CliSearch, SummaryPrintsEveryTextInOrder)
{
    const CliRun r = summary(QStringLiteral("101"));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = linesOf(r.out);
    QStringList names;
    for (const QString& line : lines)
        names << line.section(QLatin1Char('\t'), 0, 0);
    EXPECT_EQ(names, (QStringList {"TextMembri", "TextParcele", "TextCap2", "TextCap3", "TextCap4", "TextCap5", "TextCap6",
                                   "TextCap7", "TextCap8_1", "TextCap8_2", "TextCap9", "TextCap10", "TextMentiuni",
                                   "TextVenit"}));
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[0], u("TextMembri\tPOPESCU ION - Cap de gospodarie, POPESCU MARIA - Sot / Sotie, POPESCU ANA - Fiu / Fiica."));
    // Trailing blanks are kept.
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" = 0.50 ha; "))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral(" = 1.0025 ha; "))) << lines[1].toStdString();
    EXPECT_EQ(lines[2], u("TextCap2\tTotal teren: 3ha75.25ari repartizati astfel: 0ha 65ari intravilan si 3ha 10.25ari "
                          "extravilan, din care: Curti si cladiri: 15ari, Teren agricol: 3ha60.25ari, compus din: Teren "
                          "arabil: 1ha50.25ari,Pasuni naturale: 2ha, Vii: 10ari,din care: vii pe rod: 10ari."));
    EXPECT_EQ(lines[7], u("TextCap7\tBovine- Total: 3 capete,  din care: - Vaci si bivolite: 2 capete, - Junici gestante: "
                          "1 capete, Pasari -total-: 25 capete, Albine - familii: 1 familii."));
    EXPECT_EQ(lines[11], u("TextCap10\tCase de locuit:  Imobil 1: suprafata construită 80 mp, din cărămidă, piatră sau "
                           "înlocuitori,  din anul 1975,  Imobil 2: suprafata construită 120 mp, din beton armat sau "
                           "prefabricate din beton, din cărămidă, piatră sau înlocuitori,  din anul 2001,  grajduri : 30 mp."));
    // 120.5 lei for half a hectare inside the village, 300 lei for each of three cattle; three members.
    EXPECT_EQ(lines[13], u("TextVenit\tHCL NR. 12/2010 un venit agricol de 960.25 lei/luna, venitul mediu pe membru de "
                           "familie fiind de 320.08 lei/luna."));
}

TEST_F(CliSearch, SummaryReadsTheTariffsOfTheDataDirectory)
{
    Settings(home.data()).Scrie_Ini(QStringLiteral("CONST"), QStringLiteral("Tariful12"), QStringLiteral("10"));
    const CliRun r = summary(QStringLiteral("101"));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(linesOf(r.out).value(13), u("TextVenit\tHCL NR. 12/2010 un venit agricol de 970.28 lei/luna, venitul mediu "
                                           "pe membru de familie fiind de 323.43 lei/luna."));
}

TEST_F(CliSearch, SummaryOfAnEmptyHousehold)
{
    const CliRun r = summary(QStringLiteral("107"));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = linesOf(r.out);
    ASSERT_EQ(lines.size(), 14);
    EXPECT_EQ(lines[0], QStringLiteral("TextMembri\t fara membri."));
    EXPECT_EQ(lines[1], QStringLiteral("TextParcele\t nu detine teren."));
    EXPECT_EQ(lines[3], u("TextCap3\t nu posedă suprafata agricolă."));
    EXPECT_EQ(lines[8], u("TextCap8_1\tnu a înregistrat modificări."));
    EXPECT_EQ(lines[12], QStringLiteral("TextMentiuni\t"));
    EXPECT_TRUE(lines[13].endsWith(QStringLiteral("fiind de 0.00 lei/luna."))) << lines[13].toStdString();
}

TEST_F(CliSearch, SummaryRefusals)
{
    CliRun r = summary(QStringLiteral("999"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Gospodaria cu codul 999 nu exista."))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(summary(QStringLiteral("12x")).status, 2);
    r = cli({QStringLiteral("summary"), QStringLiteral("--data"), home.home() + QStringLiteral("/missing"),
             QStringLiteral("--household"), QStringLiteral("101")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(cli({QStringLiteral("summary"), QStringLiteral("--household"), QStringLiteral("101")}).status, 2);
}

TEST_F(CliSearch, FindPrintsTheWindowsColumns)
{
    CliRun r;
    const QStringList names = find({QStringLiteral("--year"), QStringLiteral("2010"), QStringLiteral("--street"),
                                    QStringLiteral("MORII"), QStringLiteral("--heads-only")},
                                   &r);
    EXPECT_EQ(names, (QStringList {"POPESCU ION", u("ŢĂRAN GHEORGHE")}));
    const QStringList lines = linesOf(r.out);
    EXPECT_EQ(lines[0], QStringLiteral("NUME si PRENUME\tTIP\tVolum\tPoz.\tC.N.P.\tLocalitatea\tSocietatea\tAdresa\t"
                                       "Domiciliul stabil\tCODID"));
    EXPECT_EQ(lines[1], QStringLiteral("POPESCU ION\t1\t1\t1\t1800101221144\tSAT NOU\t\tjud.ALBA loc.SAT NOU str.MORII "
                                       "nr.12\t\t101"));
}

TEST_F(CliSearch, FindConditions)
{
    const QString y = QStringLiteral("2010");
    struct Case {
        QStringList options;
        QStringList expected;
    };
    const std::vector<Case> cases {
        {{}, {"MUNTEANU DAN", "MUNTEANU ELENA", "RUSU PETRU", "IONESCU VASILE", "POPESCU ANA", "POPESCU ION",
              "POPESCU MARIA", u("ŢĂRAN GHEORGHE"), u("ŢĂRAN ŞTEFANA"), "STAN MIHAI"}},
        {{"--name", "pop"}, {"POPESCU ANA", "POPESCU ION", "POPESCU MARIA"}},
        {{"--name", "ION"}, {"IONESCU VASILE"}},
        {{"--name", "POP", "--heads-only"}, {"POPESCU ION"}},
        {{"--heads-only"}, {"MUNTEANU ELENA", "RUSU PETRU", "IONESCU VASILE", "POPESCU ION", u("ŢĂRAN GHEORGHE"), "STAN MIHAI"}},
        {{"--cnp", "18"}, {"POPESCU ION"}},
        {{"--company", "AGRO \"VALEA\" SRL"}, {"STAN MIHAI"}},
        {{"--domicile", "FLORESTI"}, {"RUSU PETRU"}},
        {{"--number", "10a"}, {u("ŢĂRAN GHEORGHE"), u("ŢĂRAN ŞTEFANA")}},
        {{"--name", "O'B*"}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(find(QStringList {QStringLiteral("--year"), y} + c.options), c.expected) << c.options.join(' ').toStdString();
    EXPECT_EQ(find({QStringLiteral("--year"), QStringLiteral("2009"), QStringLiteral("--name"), QStringLiteral("POPESCU ION")}),
              (QStringList {"POPESCU ION"}));
}

TEST_F(CliSearch, FindRefusals)
{
    EXPECT_EQ(cli({QStringLiteral("find"), QStringLiteral("--data"), home.data()}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("find"), QStringLiteral("--data"), home.data(), QStringLiteral("--year"),
                   QStringLiteral("2010"), QStringLiteral("--village"), QStringLiteral("X")})
                  .status,
              2);
    const CliRun r = cli({QStringLiteral("find"), QStringLiteral("--data"), home.home() + QStringLiteral("/missing"),
                          QStringLiteral("--year"), QStringLiteral("2010")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.isEmpty());
}
