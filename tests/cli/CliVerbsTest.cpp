// The command-line program run as a program: bound parameters, refused options, the export verb,
// restore into an existing data directory, and what it links.

#include "CliRun.h"
#include "support/FileBytes.h"

#include "XlsxTestReader.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::cli;
using velmor::test::CliRun;

namespace {

QMap<QString, QByteArray> filesOf(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files, QDir::Name))
        files.insert(name, velmor::test::fileBytes(dir + QLatin1Char('/') + name));
    return files;
}

class CliVerbs : public ::testing::Test {
protected:
    void SetUp() override
    {
        const CliRun r = cli({QStringLiteral("sql"), QStringLiteral("--data"), home.data(),
                           QStringLiteral("CREATE TABLE \"T.dbf\" (NUME CHAR(254), NR DECIMAL(12,0), S DECIMAL(10,3), D DATE)")});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }
    CliRun sql(const QStringList& options, const QString& statement)
    {
        return cli(QStringList {QStringLiteral("sql"), QStringLiteral("--data"), home.data()} + options + QStringList {statement});
    }
    test::TempHome home;
};

TEST_F(CliVerbs, ParametersAreTypedByTheirTextAndAwkwardTextSurvives)
{
    const QString awkward = QStringLiteral("O'Brien \"Ion\" \\ * % ăîâșțȘȚ") + QString(227, QLatin1Char('x'));
    ASSERT_EQ(awkward.size(), 254);
    CliRun r = sql({QStringLiteral("--param-text"), QStringLiteral("NUME=") + awkward, QStringLiteral("--param"),
                 QStringLiteral("NR=007"), QStringLiteral("--param"), QStringLiteral("S=-2.5"), QStringLiteral("--param"),
                 QStringLiteral("D=2024-02-29")},
                QStringLiteral("INSERT INTO \"T.dbf\" (NUME, NR, S, D) VALUES (:NUME, :NR, :S, :D)"));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // "007" as --param is the integer 7; as --param-text it stays "007".
    r = sql({QStringLiteral("--param"), QStringLiteral("A=007"), QStringLiteral("--param-text"), QStringLiteral("B=007")},
            QStringLiteral("SELECT typeof(:A), :A, typeof(:B), :B"));
    EXPECT_EQ(r.out.section(QLatin1Char('\n'), 1, 1), QStringLiteral("integer\t7\ttext\t007"));
    r = sql({QStringLiteral("--param"), QStringLiteral("N=") + awkward},
            QStringLiteral("SELECT NR, S, D, NUME FROM \"T.dbf\" WHERE NUME=:N"));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString stored = QString(awkward).replace(QChar(0x0219), QChar(0x015F)).replace(QChar(0x021B), QChar(0x0163))
                               .replace(QChar(0x0218), QChar(0x015E)).replace(QChar(0x021A), QChar(0x0162));
    EXPECT_EQ(r.out, QStringLiteral("NR\tS\tD\tNUME\n7\t-2.5\t2024-02-29\t") + QString(stored).replace(QLatin1String("\\"), QLatin1String("\\\\"))
                         + QLatin1Char('\n'));
}

TEST_F(CliVerbs, RefusalsOfEveryVerb)
{
    struct Case {
        QStringList arguments;
        int status;
        const char* message;
    };
    const QString data = home.data();
    const Case cases[] = {
        {{QStringLiteral("sql"), QStringLiteral("--data"), data, QStringLiteral("SELECT :X")}, 1, "Parametrul :X nu are valoare."},
        {{QStringLiteral("sql"), QStringLiteral("--data"), data, QStringLiteral("--param"), QStringLiteral("X=1"), QStringLiteral("SELECT 1")}, 1, "nu apare"},
        {{QStringLiteral("sql"), QStringLiteral("--data"), data, QStringLiteral("--param"), QStringLiteral("X"), QStringLiteral("SELECT :X")}, 2, "NUME=VALOARE"},
        {{QStringLiteral("sql"), QStringLiteral("--data"), data, QStringLiteral("--param"), QStringLiteral("X=99999999999999999999"), QStringLiteral("SELECT :X")}, 2, "--param-text"},
        {{QStringLiteral("sql"), QStringLiteral("--data"), data, QStringLiteral("--param"), QStringLiteral("X=1"), QStringLiteral("--param"), QStringLiteral("x=2"), QStringLiteral("SELECT :X")}, 2, "de doua ori"},
        {{QStringLiteral("sql"), QStringLiteral("--dta"), data, QStringLiteral("SELECT 1")}, 2, "Optiune necunoscuta: --dta"},
        {{QStringLiteral("sql"), QStringLiteral("--data"), data, QStringLiteral("--data"), data, QStringLiteral("SELECT 1")}, 2, "de doua ori"},
        {{QStringLiteral("create"), QStringLiteral("--data"), data, QStringLiteral("--seed"), QStringLiteral("1")}, 2, "--seed"},
        {{QStringLiteral("demo"), QStringLiteral("--data"), data, QStringLiteral("--households"), QStringLiteral("3")}, 2, "--years"},
        {{QStringLiteral("backup"), QStringLiteral("--data"), data, QStringLiteral("--into"), data, QStringLiteral("x.kt")}, 2, "--into"},
        {{QStringLiteral("restore"), QStringLiteral("x.kt"), QStringLiteral("--data"), data}, 2, "--data"},
        {{QStringLiteral("export"), QStringLiteral("--data"), data, QStringLiteral("SELECT 1")}, 2, "--out"},
        {{QStringLiteral("export"), QStringLiteral("--data"), data, QStringLiteral("--format"), QStringLiteral("pdf"), QStringLiteral("--out"), QStringLiteral("x"), QStringLiteral("SELECT 1")}, 2, "Format necunoscut"},
        {{QStringLiteral("home"), QStringLiteral("--verbose")}, 2, "--verbose"},
        {{QStringLiteral("nimic")}, 2, "Comanda necunoscuta"},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments.join(QLatin1Char(' ')).toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.message))) << c.arguments.join(QLatin1Char(' ')).toStdString()
                                                                   << "\n" << r.err.toStdString();
    }
}

TEST_F(CliVerbs, ExportWritesWorkbookAndText)
{
    ASSERT_EQ(sql({QStringLiteral("--param-text"), QStringLiteral("N=Știr\"b'ei")},
                  QStringLiteral("INSERT INTO \"T.dbf\" (NUME, NR, S, D) VALUES (:N, 12, 3.25, '2023-12-31')")).status, 0);
    const QString statement = QStringLiteral("SELECT NUME, NR, S, D FROM \"T.dbf\" WHERE NR>=:MIN");
    const QString xlsx = home.home() + QStringLiteral("/rez.xlsx");
    CliRun r = cli({QStringLiteral("export"), QStringLiteral("--data"), home.data(), QStringLiteral("--title"),
                 QStringLiteral("Lista țărani"), QStringLiteral("--footer"), QStringLiteral("Sfarsit"), QStringLiteral("--param"),
                 QStringLiteral("MIN=10"), QStringLiteral("--out"), xlsx, statement});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    test::XlsxTestReader book(xlsx);
    ASSERT_TRUE(book.ok()) << book.error().toStdString();
    // Find the heading row, then check the data row below it.
    int heading = -1;
    for (int row = 0; row < book.rowCount() && heading < 0; ++row) {
        if (book.cell(row, 0).text == QLatin1String("NUME"))
            heading = row;
    }
    ASSERT_GE(heading, 0);
    EXPECT_EQ(book.cell(heading + 1, 0).text, QStringLiteral("Ştir\"b'ei"));
    EXPECT_TRUE(book.cell(heading + 1, 1).isNumber());
    EXPECT_EQ(book.cell(heading + 1, 1).number, 12.0);
    EXPECT_EQ(book.cell(heading + 1, 2).number, 3.25);
    EXPECT_TRUE(book.cell(heading + 1, 3).styleIsDate);
    EXPECT_EQ(book.cell(heading + 1, 3).date(), QDate(2023, 12, 31));

    const QString csv = home.home() + QStringLiteral("/rez.csv");
    r = cli({QStringLiteral("export"), QStringLiteral("--data"), home.data(), QStringLiteral("--format"), QStringLiteral("csv"),
             QStringLiteral("--param"), QStringLiteral("MIN=10"), QStringLiteral("--out"), csv, statement});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray bytes = velmor::test::fileBytes(csv);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(QString::fromUtf8(bytes).contains(QStringLiteral("\"Ştir\"\"b'ei\",12,3.250,31.12.2023"))) << bytes.toStdString();

    // A failing statement leaves no file.
    const QString none = home.home() + QStringLiteral("/none.csv");
    EXPECT_EQ(cli({QStringLiteral("export"), QStringLiteral("--data"), home.data(), QStringLiteral("--out"), none,
                   QStringLiteral("SELECT X FROM \"T.dbf\"")}).status, 1);
    EXPECT_FALSE(QFile::exists(none));
}

TEST(CliRestore, ExistingDataDirectoryGoesThroughTheSameStaging)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase3"));
    const QMap<QString, QByteArray> before = filesOf(home.data());
    for (const char* bad : {"truncated.kt", "traversal.kt", "liar.kt", "empty.kt"}) {
        const CliRun r = cli({QStringLiteral("restore"), test::fixturePath(QStringLiteral("archives/") + QLatin1String(bad)),
                           QStringLiteral("--into"), home.data()});
        EXPECT_EQ(r.status, 1) << bad;
        EXPECT_EQ(filesOf(home.data()), before) << bad;
    }
    EXPECT_EQ(QDir(home.home()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList {QStringLiteral("Data")});

    const CliRun r = cli({QStringLiteral("restore"), test::fixturePath(QStringLiteral("archives/register.kt")), QStringLiteral("--into"),
                       home.data()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(velmor::test::fileBytes(home.dataFile(QStringLiteral("Identificare.dbf"))),
              velmor::test::fileBytes(test::fixturePath(QStringLiteral("register-dbase4/Identificare.dbf"))));
    EXPECT_EQ(QDir(home.home()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList {QStringLiteral("Data")});
}

// The programs without windows link no Qt Widgets (nor anything that pulls it in).
TEST(CliLinking, CommandLineProgramsLinkNoWidgets)
{
    for (const char* program : {VELMOR_CLI_PATH, VELMOR_BENCH_PATH}) {
        QProcess ldd;
        ldd.start(QStringLiteral("ldd"), {QString::fromLocal8Bit(program)});
        ASSERT_TRUE(ldd.waitForFinished(30000));
        const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
        ASSERT_TRUE(libraries.contains(QStringLiteral("libQt6Core"))) << program << "\n" << libraries.toStdString();
        EXPECT_FALSE(libraries.contains(QStringLiteral("libQt6Widgets"))) << program << "\n" << libraries.toStdString();
    }
}

}

TEST(CliTakeover, PrintsTablesAndCountersAndRefusesASecondRun)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QStringList arguments {QStringLiteral("takeover"), QStringLiteral("--data"), home.data(), QStringLiteral("--year"),
                                 QStringLiteral("2012"), QStringLiteral("--home"), home.home()};
    CliRun r = cli(arguments);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 17) << r.out.toStdString();
    EXPECT_EQ(lines.first(), QStringLiteral("Identificare\t8"));
    EXPECT_EQ(lines[13], QStringLiteral("PozeTarla\t1"));
    EXPECT_EQ(lines.mid(14), (QStringList {QStringLiteral("CODID\t109\t117"), QStringLiteral("COD1\t200\t210"),
                                           QStringLiteral("CODT\t600\t603")}));
    const QMap<QString, QByteArray> after = filesOf(home.data());
    r = cli(arguments);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("are deja gospodarii"))) << r.err.toStdString();
    EXPECT_EQ(filesOf(home.data()), after);
}

TEST(CliWorkbook, ReportIsWrittenAndListedCellByCell)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QString out = home.home() + QStringLiteral("/apia.xls");
    CliRun r = cli({QStringLiteral("workbook"), QStringLiteral("apia"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"),
                    home.home(), QStringLiteral("--year"), QStringLiteral("2010"), QStringLiteral("--out"), out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const int rows = r.out.trimmed().toInt();
    EXPECT_GE(rows, 1) << r.out.toStdString();

    r = cli({QStringLiteral("xls-cells"), out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    static const QRegularExpression cellLine(QStringLiteral("^([A-Z]+[0-9]+\t[ns]\t.*|MERGE\t[A-Z]+[0-9]+:[A-Z]+[0-9]+)$"));
    for (const QString& line : lines)
        EXPECT_TRUE(cellLine.match(line).hasMatch()) << line.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("A5\tn\t1"))) << r.out.toStdString();

    r = cli({QStringLiteral("xls-cells"), home.dataFile(QStringLiteral("CAP1.dbf"))});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.isEmpty());
    r = cli({QStringLiteral("workbook"), QStringLiteral("nimic"), QStringLiteral("--data"), home.data(), QStringLiteral("--year"),
             QStringLiteral("2010"), QStringLiteral("--out"), home.home() + QStringLiteral("/x.xls")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(QFile::exists(home.home() + QStringLiteral("/x.xls")));
}

TEST(CliHouseholdDelete, DeletesWithEverythingAndRenumbersOnRequest)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    auto run = [&](const char* codid, bool renumber) {
        QStringList arguments {QStringLiteral("household-delete"), QStringLiteral("--data"), home.data(), QStringLiteral("--year"),
                               QStringLiteral("2010"), QStringLiteral("--codid"), QString::fromLatin1(codid),
                               QStringLiteral("--home"), home.home()};
        if (renumber)
            arguments << QStringLiteral("--renumber");
        return cli(arguments);
    };
    auto sql = [&](const QString& statement) {
        const CliRun r = cli({QStringLiteral("sql"), QStringLiteral("--data"), home.data(), statement});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(1);
    };
    // SAT NOU type 1: 101 at 1/1, 102 at 1/2, 103 at 1/4, 108 at 1/5.
    CliRun r = run("102", true);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("Gospodaria 102 a fost stearsa; gospodarii mutate: 2"));
    EXPECT_EQ(sql(QStringLiteral("SELECT CODID, POZ FROM \"Identificare.dbf\" WHERE ANUL=2010 AND LOCALIT=\"SAT NOU\" ORDER BY POZ")),
              (QStringList {QStringLiteral("101\t1"), QStringLiteral("103\t2"), QStringLiteral("108\t4")}));
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM \"CAP1.dbf\" WHERE CODID=102")), QStringList {QStringLiteral("0")});

    r = run("101", false);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(sql(QStringLiteral("SELECT CODID, POZ FROM \"Identificare.dbf\" WHERE ANUL=2010 AND LOCALIT=\"SAT NOU\" ORDER BY POZ")),
              (QStringList {QStringLiteral("103\t2"), QStringLiteral("108\t4")}));
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM \"PozeTarla.dbf\" WHERE CODT BETWEEN 501 AND 503")), QStringList {QStringLiteral("0")});

    const QMap<QString, QByteArray> before = filesOf(home.data());
    r = run("101", false);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Gospodaria 101 nu exista in anul 2010."))) << r.err.toStdString();
    r = run("abc", false);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(filesOf(home.data()), before);
}
