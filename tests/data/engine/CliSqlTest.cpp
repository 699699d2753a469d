// The output of "velmor-cli sql", run as a program on a copy of the reference register.

#include "EngineTestSupport.h"

#include <QProcess>

using namespace velmor;
using test::Register;

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QString err;
};

class CliSql : public ::testing::Test {
protected:
    Register reg {QStringLiteral("register-dbase4")};

    CliRun sql(const QString& statement)
    {
        QProcess p;
        p.start(QStringLiteral(VELMOR_CLI_PATH),
                {QStringLiteral("sql"), QStringLiteral("--data"), reg.home.data(), reg.expand(statement)});
        EXPECT_TRUE(p.waitForFinished(30000)) << statement.toStdString();
        CliRun r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    // Standard output of a statement that must succeed.
    std::string out(const QString& statement)
    {
        const CliRun r = sql(statement);
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(r.err, QString());
        return r.out.toStdString();
    }
};

TEST_F(CliSql, HeaderThenRowsSeparatedByTabs)
{
    EXPECT_EQ(out(QStringLiteral("SELECT CODID, LOCALIT, TIPRA FROM {Identificare} WHERE ANUL=2010 AND CODID<=102 ORDER BY CODID")),
              "CODID\tLOCALIT\tTIPRA\n101\tSAT NOU\t1\n102\tSAT NOU\t1\n");
    EXPECT_EQ(out(QStringLiteral("SELECT CODID AS COD, NUMEP FROM {CAP1} WHERE COD1=999")), "COD\tNUMEP\n");
    EXPECT_EQ(out(QStringLiteral("SELECT I.CODID, C.CODID FROM {Identificare} I, {CAP1} C WHERE C.CODID=I.CODID AND C.COD1=109")),
              "CODID\tCODID_1\n105\t105\n");
}

TEST_F(CliSql, NullIsNothingAndDatesAreIsoDates)
{
    EXPECT_EQ(out(QStringLiteral("SELECT NUMEP, CNP, DATAN, COD FROM {CAP1} WHERE COD1 IN (105, 106) ORDER BY COD1")),
              "NUMEP\tCNP\tDATAN\tCOD\nŢĂRAN ŞTEFANA\t2480229015821\t1948-02-29\t2\nIONESCU VASILE\t\t\t1\n");
    EXPECT_EQ(out(QStringLiteral("SELECT SUM(NR) FROM {CAP7} WHERE CODID=999")), "SUM(NR)\n\n");
}

TEST_F(CliSql, NumbersWithoutNeedlessDigits)
{
    // Integers without a point; reals with at most ten decimals and no trailing zeros.
    EXPECT_EQ(out(QStringLiteral("SELECT CODID, BHA, BARI, BHA+BARI/100 AS HA, IARI FROM {CAP2} WHERE CODID=101 AND RAND IN (1, 2) ORDER BY RAND")),
              "CODID\tBHA\tBARI\tHA\tIARI\n101\t1\t50.25\t1.5025\t50\n101\t2\t0\t2\t0\n");
    EXPECT_EQ(out(QStringLiteral("SELECT DETALII, NR/3 AS A, 0-NR/3 AS B, 0-1/100000000000 AS C, NR*2 AS D FROM {CAP10} C, {CAP7} S WHERE C.CODID=101 AND C.RAND=2 AND S.CODID=101 AND S.RAND=3")),
              "DETALII\tA\tB\tC\tD\n2\t0.3333333333\t-0.3333333333\t0\t2\n");
    EXPECT_EQ(out(QStringLiteral("SELECT SUPRAF, RAND FROM {Tarlale} T, {CAP7} C WHERE T.CODT=502 AND C.CODID=101 AND C.RAND=14.1")),
              "SUPRAF\tRAND\n1.0025\t14.1\n");
}

TEST_F(CliSql, TextEscapes)
{
    EXPECT_EQ(out(QStringLiteral("SELECT MENTIUNI FROM {CAP11} WHERE CODID=101")),
              "MENTIUNI\nTeren în arendă la AGRO SRL.\\r\\nVerificat în teren 2010.\n");
    EXPECT_EQ(out(QStringLiteral("SELECT FISIER FROM {PozeTarla}")), "FISIER\nC:\\\\Poze\\\\titlu123.jpg\n");
    EXPECT_EQ(out(QStringLiteral("UPDATE {CAP1} SET MENTIUNI=\"a\tb\\c\nd\" WHERE COD1=101")), "");
    EXPECT_EQ(out(QStringLiteral("SELECT MENTIUNI, DENUMIRE FROM {CAP1} C, {Identificare} I WHERE C.COD1=101 AND I.CODID=106")),
              "MENTIUNI\tDENUMIRE\na\\tb\\\\c\\nd\tAGRO \"VALEA\" SRL\n");
}

TEST_F(CliSql, ChangesPrintNothingAndLast)
{
    EXPECT_EQ(out(QStringLiteral("CREATE TABLE {Nou} (ID DECIMAL(4,0), SUMA DECIMAL(6,2), NUME CHAR(10), ZI DATE)")), "");
    EXPECT_EQ(out(QStringLiteral("INSERT INTO {Nou} (ID, SUMA, NUME, ZI) VALUES (1, 2, \"Ştefan\", \"2010-05-06\")")), "");
    EXPECT_EQ(out(QStringLiteral("INSERT INTO {Nou} (ID, SUMA) VALUES (2, 2.5)")), "");
    EXPECT_EQ(out(QStringLiteral("UPDATE {Nou} SET SUMA=SUMA*2 WHERE ID=2")), "");
    EXPECT_EQ(out(QStringLiteral("DELETE FROM {Nou} WHERE ID=3")), "");
    // DECIMAL(6,2) holding 2 is the real 2.
    EXPECT_EQ(out(QStringLiteral("SELECT * FROM {Nou} ORDER BY ID")), "ID\tSUMA\tNUME\tZI\n1\t2\tŞtefan\t2010-05-06\n2\t5\t\t\n");
    EXPECT_EQ(out(QStringLiteral("ALTER TABLE {Nou} DROP ZI")), "");
    EXPECT_EQ(out(QStringLiteral("DROP TABLE {Nou}")), "");
    EXPECT_FALSE(QFile::exists(reg.file(QStringLiteral("Nou.dbf"))));
}

TEST_F(CliSql, ErrorsGoToStandardErrorWithStatusOne)
{
    CliRun r = sql(QStringLiteral("SELECT NIMIC FROM {CAP1}"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QString());
    EXPECT_TRUE(r.err.contains(QStringLiteral("NIMIC"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith(QLatin1Char('\n')));

    r = sql(QStringLiteral("SELECT * FROM {Absent}"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QString());
    EXPECT_TRUE(r.err.contains(QStringLiteral("Absent.dbf"))) << r.err.toStdString();

    r = sql(QStringLiteral("UPDATE {CAP1} SET COD=10 WHERE COD1=101"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("COD"))) << r.err.toStdString();
    EXPECT_EQ(out(QStringLiteral("SELECT COD FROM {CAP1} WHERE COD1=101")), "COD\n1\n");

    r = sql(QStringLiteral("UPDATE {CAP1} SET NUMEP=\"\u4E2D\" WHERE COD1=101"));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("\u4E2D"))) << r.err.toStdString();
}

}
