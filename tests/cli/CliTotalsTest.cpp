// velmor-cli totals over the reference register: the TSV tables, the refusals, and every table's
// form written to PDF and read back.

#include "CliRun.h"

#include "support/TestDirs.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::cli;

namespace {

class CliTotals : public ::testing::Test {
protected:
    void SetUp() override { home.copyFixture(QStringLiteral("register-dbase4")); }

    QStringList totals(const QStringList& more) const
    {
        return QStringList{QStringLiteral("totals"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"),
                           home.home(), QStringLiteral("--year"), QStringLiteral("2010")}
            + more;
    }
    // The files left in the home besides the data folder.
    QStringList homeFiles() const
    {
        QStringList files = QDir(home.home()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        files.removeAll(QStringLiteral("Data"));
        return files;
    }

    test::TempHome home;
};

QString pdfText(const QString& pdftotext, const QString& pdf)
{
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(60000));
    return QString::fromUtf8(process.readAllStandardOutput());
}

}

TEST_F(CliTotals, PrintsTablesAsTsv)
{
    const auto land = cli(totals({QStringLiteral("--table"), QStringLiteral("2")}));
    ASSERT_EQ(land.status, 0) << land.err.toStdString();
    const QStringList lines = land.out.split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("CATEG\tRAND\tAHA\tAARI\tBHA\tBARI\tCHA\tCARI\tIHA\tIARI\tEHA\tEARI"));
    EXPECT_EQ(lines[1], QStringLiteral("Teren arabil\t1\t2\t10.25\t2\t10.25\t3\t0\t0\t50\t1\t60.25"));

    const auto houses = cli(totals({QStringLiteral("--table"), QStringLiteral("10")}));
    ASSERT_EQ(houses.status, 0) << houses.err.toStdString();
    EXPECT_TRUE(houses.out.contains(QStringLiteral("\nCase de locuit\t1\tmp\t200\n")));
    EXPECT_TRUE(houses.out.contains(QStringLiteral("\nGrajduri\t13\tmp\t30\n")));

    const auto people = cli(totals({QStringLiteral("--table"), QStringLiteral("pop"), QStringLiteral("--village"),
                                    QStringLiteral("SAT NOU"), QStringLiteral("--sex"), QStringLiteral("2")}));
    ASSERT_EQ(people.status, 0) << people.err.toStdString();
    EXPECT_EQ(people.out, QStringLiteral("LOCALIT\tNUMEP\tCODSEX\tCNP\tDATAS\tVOLUM\tPOZ\n"
                                         "SAT NOU\tPOPESCU ANA\t2\t6050309013561\t09.03.2005\t1\t1\n"
                                         "SAT NOU\tPOPESCU MARIA\t2\t2820517012355\t17.05.1982\t1\t1\n"));

    const auto species = cli(totals({QStringLiteral("--table"), QStringLiteral("8"), QStringLiteral("--chart")}));
    ASSERT_EQ(species.status, 0) << species.err.toStdString();
    EXPECT_TRUE(species.out.startsWith(QStringLiteral("CATEG\tSEM_1\tSEM_2\nBovine\t")));
    EXPECT_EQ(homeFiles(), QStringList());
}

TEST_F(CliTotals, Refusals)
{
    const auto none = cli(totals({QStringLiteral("--table"), QStringLiteral("2"), QStringLiteral("--village"),
                                  QStringLiteral("SAT NOU"), QStringLiteral("--type"), QStringLiteral("4")}));
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("Nici o gospodarie nu respecta toate conditiile selectate !")));
    EXPECT_TRUE(none.out.isEmpty());

    const QString pdf = QDir(home.home()).filePath(QStringLiteral("gol.pdf"));
    const auto empty = cli(totals({QStringLiteral("--table"), QStringLiteral("pop"), QStringLiteral("--born"),
                                   QStringLiteral("01.01.2020..31.12.2021"), QStringLiteral("--pdf"), pdf}));
    EXPECT_EQ(empty.status, 1);
    EXPECT_TRUE(empty.err.contains(QStringLiteral("Tabelul e gol. Nu aveti ce lista !")));
    EXPECT_FALSE(QFile::exists(pdf));

    for (const QStringList& wrong : {QStringList{QStringLiteral("--table"), QStringLiteral("11")},
                                     QStringList{QStringLiteral("--table"), QStringLiteral("2"), QStringLiteral("--type"), QStringLiteral("5")},
                                     QStringList{QStringLiteral("--table"), QStringLiteral("2"), QStringLiteral("--sex"), QStringLiteral("3")},
                                     QStringList{QStringLiteral("--table"), QStringLiteral("pop"), QStringLiteral("--born"), QStringLiteral("1950")},
                                     QStringList{QStringLiteral("--table"), QStringLiteral("9"), QStringLiteral("--chart")},
                                     QStringList{QStringLiteral("--table"), QStringLiteral("2"), QStringLiteral("--colour")}}) {
        const auto refused = cli(totals(wrong));
        EXPECT_EQ(refused.status, 2) << wrong.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
    }
    EXPECT_EQ(homeFiles(), QStringList());
}

TEST_F(CliTotals, EveryFormToPdfWithItsTitle)
{
    VELMOR_REQUIRE_PROGRAM(pdftotext, "pdftotext");
    struct Form {
        const char* table;
        QStringList title;
        const char* year;
        const char* row;
    };
    const Form forms[] = {
        {"pop", {QStringLiteral("EVIDENTA POPULATIEI in anul 2010")}, nullptr, "POPESCU ION"},
        {"2", {QStringLiteral("CAP 2. TERENURI IN PROPRIETATE.")}, "ANUL : 2010", "Teren arabil"},
        {"3", {QStringLiteral("CAP.3 MODUL DE UTILIZARE A SUPRAFETEI AGRICOLE")}, "ANUL : 2010", "Suprafata agricola"},
        {"4", {QStringLiteral("CAP 4. SUPRAFATA ARABILA CULTIVATA"), QStringLiteral("PE RAZA LOCALITATII.")}, "ANUL : 2010", "Grau"},
        {"5", {QStringLiteral("CAP 5. POMI FRUCTIFERI (IN LIVEZI SI RAZLETI)")}, "ANUL : 2010", "Meri"},
        {"6", {QStringLiteral("CAP 6. SUPRAFETE AMENAJATE PENTRU IRIGAT")}, "ANUL : 2010", "Pasuni naturale"},
        {"7", {QStringLiteral("CAP 7. ANIMALE DOMESTICE"), QStringLiteral("SITUATIA LA INCEPUTUL ANULUI")}, "2010", "Bovine"},
        {"8", {QStringLiteral("CAP 8. EVOLUTIA EFECTIVELOR DE ANIMALE"), QStringLiteral("IN CURSUL ANULUI")}, "2010", "Vitei obtinuti"},
        {"8net", {QStringLiteral("DINAMICA EFECTIVELOR DE ANIMALE"), QStringLiteral("- diferenta total intrari - total iesiri -")}, "2010", "Cabaline"},
        {"9", {QStringLiteral("CAP 9. UTILAJE, INSTALATII AGRICOLE SI MIJLOACE DE TRANSPORT"), QStringLiteral("EXISTENTE LA INCEPUTUL ANULUI")},
         "2010", "Tractoare"},
        {"10", {QStringLiteral("CAP.10 CONSTRUCTII PE RAZA LOCALITATII")}, "ANUL : 2010", "Case de locuit"},
    };
    const QString today = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    for (const Form& form : forms) {
        SCOPED_TRACE(form.table);
        const QString pdf = QDir(home.home()).filePath(QStringLiteral("cap%1.pdf").arg(QLatin1String(form.table)));
        const auto run = cli(totals({QStringLiteral("--table"), QLatin1String(form.table), QStringLiteral("--village"),
                                     QStringLiteral("SAT NOU"), QStringLiteral("--type"), QStringLiteral("1"), QStringLiteral("--pdf"), pdf}));
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QString text = pdfText(pdftotext, pdf);
        for (const QString& line : form.title)
            EXPECT_TRUE(text.contains(line)) << line.toStdString() << "\n" << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("TÂRGU VECHI")));
        EXPECT_TRUE(text.contains(today));
        EXPECT_TRUE(text.contains(QLatin1String(form.row)));
        if (form.year) {
            EXPECT_TRUE(text.contains(QStringLiteral("LOCALIT : SAT NOU TIP : 1")));
            EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("(^|\\n)\\s*%1\\s*\\n").arg(QRegularExpression::escape(QLatin1String(form.year))))));
        }
        EXPECT_TRUE(text.contains(QStringLiteral("Pagina 1 din 1")));
        QFile::remove(pdf);
    }
}
