// The list verbs run as a program over a demo register: the offered rows, the advanced list and
// its export read back by an independent reader, the selection list with its total, subject and
// filter lines, and the refusals.

#include "cli/CliRun.h"
#include "support/TestDirs.h"
#include "XlsxTestReader.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>

#include <gtest/gtest.h>

using velmor::test::cli;

namespace {

struct Demo {
    velmor::test::TempHome home;
    QString data() const { return home.data(); }
    Demo()
    {
        const auto made = cli({QStringLiteral("demo"), QStringLiteral("--data"), data(), QStringLiteral("--households"), QStringLiteral("40"),
                               QStringLiteral("--years"), QStringLiteral("1"), QStringLiteral("--first-year"), QStringLiteral("2010"),
                               QStringLiteral("--seed"), QStringLiteral("7")});
        EXPECT_EQ(made.status, 0) << made.err.toStdString();
    }
    QStringList base(const char* verb) const
    {
        return {QString::fromLatin1(verb), QStringLiteral("--data"), data(), QStringLiteral("--home"), home.home(),
                QStringLiteral("--year"), QStringLiteral("2010")};
    }
};

QList<QStringList> tsv(const QString& out)
{
    QList<QStringList> rows;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        rows << line.split(QLatin1Char('\t'));
    return rows;
}

}

TEST(CliLists, ListRowsOfChaptersOneSevenAndTen)
{
    Demo demo;
    auto r = cli(demo.base("list-rows") << QStringLiteral("--chapter") << QStringLiteral("10"));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QStringList> ten = tsv(r.out);
    ASSERT_EQ(ten.size(), 11);
    EXPECT_EQ(ten[0], (QStringList{"RAND", "DENUMIRE"}));
    EXPECT_EQ(ten[1], (QStringList{"1", "Suprafata construita"}));
    EXPECT_EQ(ten[10], (QStringList{"10", "Cladiri Anexe"}));

    r = cli(demo.base("list-rows") << QStringLiteral("--chapter") << QStringLiteral("1"));
    EXPECT_EQ(r.out, QStringLiteral("RAND\tDENUMIRE\n1\tCOD SEX (1 = M, 2 = F)\n"));

    r = cli(demo.base("list-rows") << QStringLiteral("--chapter") << QStringLiteral("7"));
    ASSERT_EQ(r.status, 0);
    QStringList codes;
    for (const QStringList& row : tsv(r.out).mid(1))
        codes << row[0];
    EXPECT_TRUE(codes.contains(QStringLiteral("14.1")));
    EXPECT_EQ(codes.indexOf(QStringLiteral("14.1")), codes.indexOf(QStringLiteral("14")) + 1);

    r = cli(demo.base("list-rows") << QStringLiteral("--chapter") << QStringLiteral("6"));
    EXPECT_EQ(r.status, 2);
}

TEST(CliLists, AdvancedListExportReadsBackAsPrinted)
{
    Demo demo;
    const QString file = QDir(demo.home.home()).filePath(QStringLiteral("avansat.xlsx"));
    const auto r = cli(demo.base("advanced-list") << QStringLiteral("--column") << QStringLiteral("2:1") << QStringLiteral("--column")
                                                  << QStringLiteral("7:14.1") << QStringLiteral("--column") << QStringLiteral("10:1")
                                                  << QStringLiteral("--column") << QStringLiteral("1:1") << QStringLiteral("--condition")
                                                  << QStringLiteral("3:1:0.01:") << QStringLiteral("--export") << file);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QStringList> rows = tsv(r.out);
    ASSERT_GT(rows.size(), 2);
    EXPECT_EQ(rows[0], (QStringList{"LOCALIT", "NUMEP", "CNP", "CODSEX", "C211", "C212", "C213", "C214", "C714_1", "C101"}));
    // By village, then name.
    for (int i = 2; i < rows.size(); ++i) {
        const QString before = rows[i - 1][0] + QLatin1Char('\n') + rows[i - 1][1];
        const QString now = rows[i][0] + QLatin1Char('\n') + rows[i][1];
        EXPECT_LE(before, now);
    }

    velmor::test::XlsxTestReader book(file);
    ASSERT_TRUE(book.ok()) << book.error().toStdString();
    int header = -1;
    for (int row = 0; row < book.rowCount() && header < 0; ++row) {
        if (book.cell(row, 0).text == QStringLiteral("LOCALIT"))
            header = row;
    }
    ASSERT_GE(header, 0);
    for (int c = 0; c < rows[0].size(); ++c)
        EXPECT_EQ(book.cell(header, c).text, rows[0][c]);
    for (int i = 1; i < rows.size(); ++i) {
        for (int c = 0; c < rows[i].size(); ++c) {
            const velmor::test::XlsxCell cell = book.cell(header + i, c);
            if (c >= 3) {
                ASSERT_TRUE(cell.isNumber()) << i << "," << c;
                EXPECT_NEAR(cell.number, rows[i][c].toDouble(), 1e-9) << i << "," << c;
            } else {
                EXPECT_EQ(cell.text, rows[i][c]) << i << "," << c;
            }
        }
    }
    // The work tables are gone.
    for (const QString& name : QDir(demo.home.home()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        EXPECT_FALSE(name.startsWith(QStringLiteral("velmor-lists"))) << name.toStdString();
}

TEST(CliLists, SelectionListPrintsItsTotalsSubjectAndFilter)
{
    Demo demo;
    const auto r = cli(demo.base("selection-list") << QStringLiteral("--chapter") << QStringLiteral("2") << QStringLiteral("--row")
                                                   << QStringLiteral("1") << QStringLiteral("--min") << QStringLiteral("0.5"));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QStringList> rows = tsv(r.out);
    ASSERT_GE(rows.size(), 4);
    EXPECT_EQ(rows[0], (QStringList{"NUMEP", "CNP", "LOCALIT", "POZ", "VOLUM", "STRADA", "NR", "C1", "C4", "C5"}));
    const QStringList totals = rows[rows.size() - 3];
    ASSERT_EQ(totals.size(), 4);
    EXPECT_EQ(totals[0], QStringLiteral("#TOTAL"));
    qint64 metres[3] = {0, 0, 0};
    for (const QStringList& row : rows.mid(1, rows.size() - 4)) {
        ASSERT_EQ(row.size(), 10);
        EXPECT_GE(row[7].toDouble(), 0.5);
        for (int c = 0; c < 3; ++c)
            metres[c] += qRound64(row[7 + c].toDouble() * 10000);
    }
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(qRound64(totals[1 + c].toDouble() * 10000), metres[c]) << c;
    EXPECT_EQ(rows[rows.size() - 2], (QStringList{"#SUBJECT", "cu proprietarii de Teren arabil"}));
    EXPECT_EQ(rows.last(), (QStringList{"#FILTER", ""}));
}

TEST(CliLists, RefusalsExitOneWithTheWindowsMessage)
{
    Demo demo;
    struct Case {
        QStringList arguments;
        QString message;
    } cases[] = {
        {demo.base("advanced-list") << "--column" << "2:1" << "--column" << "2:1", "Coloana Teren arabil este deja adaugata!"},
        {demo.base("advanced-list") << "--condition" << "2:1:1:" << "--condition" << "2:1::3", "Randul Teren arabil mai este deja adaugat!"},
        {demo.base("advanced-list") << "--condition" << "2:1::", "Nu ati pus nici o conditie!"},
        {demo.base("advanced-list") << "--condition" << "2:1:unu:", "Valoarea \"unu\" nu este un numar!"},
        {demo.base("advanced-list") << "--column" << "2:77", "Capitolul 2 nu are in acest an randul 77!"},
        {demo.base("selection-list") << "--chapter" << "9" << "--row" << "1" << "--max" << "1.2.3", "Valoarea \"1.2.3\" nu este un numar!"},
    };
    for (const Case& c : cases) {
        const auto r = cli(c.arguments);
        EXPECT_EQ(r.status, 1) << c.message.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
}

TEST(CliLists, SelectionListFormReadsBackFromItsPdf)
{
    VELMOR_REQUIRE_PROGRAM(pdftotext, "pdftotext");
    Demo demo;
    const QString pdf = QDir(demo.home.home()).filePath(QStringLiteral("lista.pdf"));
    const auto r = cli(demo.base("selection-list") << QStringLiteral("--chapter") << QStringLiteral("8") << QStringLiteral("--row")
                                                   << QStringLiteral("1") << QStringLiteral("--min") << QStringLiteral("1")
                                                   << QStringLiteral("--pdf") << pdf);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QStringList> rows = tsv(r.out);
    ASSERT_GE(rows.size(), 4);
    const QStringList totals = rows[rows.size() - 3];
    ASSERT_EQ(totals.size(), 3);

    QProcess text;
    text.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    QString ini;
    {
        QFile file(QDir(demo.data()).filePath(QStringLiteral("Velmor.ini")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ini = QString::fromLatin1(file.readAll());
    }
    const QString mayor = ini.section(QStringLiteral("PRIMAR="), 1).section(QLatin1Char('\r'), 0, 0).section(QLatin1Char('\n'), 0, 0).trimmed();
    for (const QString& expected : {QStringLiteral("ROMANIA"), QStringLiteral("RAPORT,"), rows[rows.size() - 2][1], QStringLiteral("Nr.crt."),
                                    QStringLiteral("Sem.I"), QStringLiteral("Sem.II"), QStringLiteral("TOTAL"), QStringLiteral("PRIMAR,"),
                                    QStringLiteral("SECRETAR,"), QStringLiteral("pag. 1"), rows[1][0]}) {
        EXPECT_TRUE(page.contains(expected)) << expected.toStdString();
    }
    ASSERT_FALSE(mayor.isEmpty());
    EXPECT_TRUE(page.contains(mayor)) << mayor.toStdString();
    // The summary line holds both half-year totals.
    const QString summary = page.section(QStringLiteral("TOTAL"), -1).section(QLatin1Char('\n'), 0, 0);
    EXPECT_TRUE(summary.contains(totals[1]) && summary.contains(totals[2])) << summary.toStdString();
}
