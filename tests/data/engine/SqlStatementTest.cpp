// Every statement form the program sends, run on a copy of the dBase IV reference register.

#include "EngineTestSupport.h"

#include "data/dbf/DbfTable.h"

#include <QDir>
#include <QFile>

using namespace velmor;
using test::Register;
using test::Rows;

namespace {

using V = std::vector<std::string>;

class Sql : public ::testing::Test {
protected:
    Register reg {QStringLiteral("register-dbase4")};

    // A small table of the engine's own: one row per (NUME, SUMA).
    void createSmall()
    {
        reg.exec(QStringLiteral("CREATE TABLE {Mic} (ID DECIMAL(5,0), NUME CHAR(12), SUMA DECIMAL(8,2), ZI DATE)"));
        reg.exec(QStringLiteral("INSERT INTO {Mic} (ID, NUME, SUMA, ZI) VALUES (1, \"UNU\", 1.5, \"2010-01-31\")"));
        reg.exec(QStringLiteral("INSERT INTO {Mic} (ID, NUME, SUMA, ZI) VALUES (2, \"DOI\", 3, \"2009-12-01\")"));
        reg.exec(QStringLiteral("INSERT INTO {Mic} (ID, NUME, SUMA) VALUES (3, \"TREI\", 1.14)"));
    }
};

TEST_F(Sql, DistinctAliasesAndArithmetic)
{
    const auto r = reg.select(QStringLiteral("SELECT DISTINCT LOCALIT AS SAT, TIPRA FROM {Identificare} WHERE ANUL=2010 ORDER BY SAT, TIPRA"));
    EXPECT_EQ(test::fieldNames(r), (V {"SAT", "TIPRA"}));
    EXPECT_EQ(test::shownRows(r), (Rows {{"t:DEALU MARE", "i:1"}, {"t:DEALU MARE", "i:2"}, {"t:SAT NOU", "i:1"},
                                         {"t:VALEA LUNGA", "i:3"}, {"t:VALEA LUNGA", "i:4"}}));
    // Hectares plus ares / 100 are real numbers.
    const auto s = reg.select(QStringLiteral("SELECT RAND, BHA+BARI/100 AS SUPRAFATA, BHA*100+BARI AS ARI, BHA-1 FROM {CAP2} WHERE CODID=101 AND RAND IN (1, 2, 12) ORDER BY RAND"));
    EXPECT_EQ(test::fieldNames(s)[1], "SUPRAFATA");
    EXPECT_EQ(test::shownRows(s), (Rows {{"i:1", "r:1.5025", "r:150.25", "i:0"},
                                         {"i:2", "r:2", "r:200", "i:1"},
                                         {"i:12", "r:3.7525", "r:375.25", "i:2"}}));
    // Division is real division even between integers.
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NR/2 FROM {CAP7} WHERE CODID=101 AND RAND=1")), "r:1.5");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NR/NR FROM {CAP7} WHERE CODID=101 AND RAND=1")), "r:1");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT (NR+1)/8*2 FROM {CAP7} WHERE CODID=101 AND RAND=1")), "r:1");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT 7/2/2 FROM {CAP7} WHERE CODID=101 AND RAND=1")), "r:1.75");
}

TEST_F(Sql, Aggregates)
{
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT SUM(NR), Count(*), COUNT(NR), MIN(NR), MAX(NR) FROM {CAP7} WHERE CODID=101")),
              (Rows {{"i:32", "i:33", "i:33", "i:0", "i:25"}}));
    // COUNT of a column skips blanks; DISTINCT counts each value once.
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT Count(*), COUNT(CNP), Count(DISTINCT CNP), COUNT(DATAN), MAX(COD1) FROM {CAP1}")),
              (Rows {{"i:12", "i:11", "i:9", "i:11", "i:112"}}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT SUM(BARI) FROM {CAP2} WHERE CODID=101 AND RAND IN (1, 8)")), "r:110.5");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT MIN(DATAN) FROM {CAP1}")), "t:1945-11-30");
    // Over no rows SUM, MIN and MAX are NULL; counts are zero.
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT SUM(NR), MIN(NR), MAX(NR), Count(*), COUNT(NR) FROM {CAP7} WHERE CODID=999")),
              (Rows {{"NULL", "NULL", "NULL", "i:0", "i:0"}}));
}

TEST_F(Sql, TablesJoinedInWhereAndWithJoin)
{
    const QString whereJoin = QStringLiteral("SELECT I.CODID, C.NUMEP FROM {Identificare} I, {CAP1} C WHERE C.CODID=I.CODID AND I.ANUL=2010 AND I.LOCALIT=\"DEALU MARE\" ORDER BY C.COD1");
    const Rows expected = {{"i:104", "t:MUNTEANU ELENA"}, {"i:104", "t:MUNTEANU DAN"}, {"i:105", "t:RUSU PETRU"}};
    EXPECT_EQ(reg.rows(whereJoin), expected);
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT I.CODID, C.NUMEP FROM {Identificare} I INNER JOIN {CAP1} C ON C.CODID=I.CODID WHERE I.ANUL=2010 AND I.LOCALIT=\"DEALU MARE\" ORDER BY C.COD1")),
              expected);
    // Three tables.
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {Identificare} I, {Tarlale} T, {OmTarla} O WHERE T.CODID=I.CODID AND O.CODT=T.CODT AND I.ANUL=2010")),
              "i:4");
}

TEST_F(Sql, LeftJoinKeepsUnmatchedRowsOnce)
{
    for (const char* join : {"LEFT JOIN", "LEFT OUTER JOIN"}) {
        SCOPED_TRACE(join);
        const Rows rows = reg.rows(QStringLiteral("SELECT I.CODID, C.NUMEP, C.COD FROM {Identificare} I %1 {CAP1} C ON C.CODID=I.CODID WHERE I.ANUL=2010 AND I.CODID>=105 ORDER BY I.CODID")
                                       .arg(QLatin1String(join)));
        EXPECT_EQ(rows, (Rows {{"i:105", "t:RUSU PETRU", "i:1"},
                               {"i:106", "t:STAN MIHAI", "i:1"},
                               {"i:107", "NULL", "NULL"},
                               {"i:108", "NULL", "NULL"}}));
    }
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {Identificare} I LEFT JOIN {CAP1} C ON C.CODID=I.CODID WHERE I.ANUL=2010")), "i:12");
    // Counting members per household, zero for those without.
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT I.CODID, COUNT(C.COD1) FROM {Identificare} I LEFT OUTER JOIN {CAP1} C ON C.CODID=I.CODID WHERE I.ANUL=2010 GROUP BY I.CODID ORDER BY I.CODID")),
              (Rows {{"i:101", "i:3"}, {"i:102", "i:2"}, {"i:103", "i:1"}, {"i:104", "i:2"},
                     {"i:105", "i:1"}, {"i:106", "i:1"}, {"i:107", "i:0"}, {"i:108", "i:0"}}));
}

TEST_F(Sql, ComparisonsAndLogic)
{
    const QString base = QStringLiteral("SELECT CODID FROM {Identificare} WHERE ANUL=2010 AND (%1) ORDER BY CODID");
    const auto ids = [&](const char* condition) { return reg.column(base.arg(QLatin1String(condition))); };
    EXPECT_EQ(ids("CODID=103"), (V {"i:103"}));
    EXPECT_EQ(ids("TIPRA<>1"), (V {"i:105", "i:106", "i:107"}));
    EXPECT_EQ(ids("CODID<102"), (V {"i:101"}));
    EXPECT_EQ(ids("CODID>107"), (V {"i:108"}));
    EXPECT_EQ(ids("CODID<=102"), (V {"i:101", "i:102"}));
    EXPECT_EQ(ids("CODID>=107"), (V {"i:107", "i:108"}));
    EXPECT_EQ(ids("LOCALIT=\"SAT NOU\" AND POZ>1"), (V {"i:102", "i:103", "i:108"}));
    EXPECT_EQ(ids("TIPRA=3 OR TIPRA=4"), (V {"i:106", "i:107"}));
    EXPECT_EQ(ids("NOT (LOCALIT=\"SAT NOU\")"), (V {"i:104", "i:105", "i:106", "i:107"}));
    EXPECT_EQ(ids("NOT LOCALIT=\"SAT NOU\" AND NOT TIPRA IN (3, 4)"), (V {"i:104", "i:105"}));
    EXPECT_EQ(ids("LOCALIT IN (\"DEALU MARE\", \"VALEA LUNGA\") AND TIPRA<4"), (V {"i:104", "i:105", "i:106"}));
    EXPECT_EQ(ids("STRADA IS NULL"), (V {"i:103", "i:107"}));
    EXPECT_EQ(ids("NOT STRADA IS NULL AND NR2 IS NULL"), (V {"i:101", "i:102", "i:104", "i:108"}));
    EXPECT_EQ(ids("LOCALIT>\"SAT\""), (V {"i:101", "i:102", "i:103", "i:106", "i:107", "i:108"}));
}

TEST_F(Sql, InWithSubQueries)
{
    EXPECT_EQ(reg.column(QStringLiteral("SELECT CODID FROM {Identificare} WHERE ANUL=2010 AND CODID IN (SELECT CODID FROM {CAP1} WHERE COD=4)")),
              (V {"i:104"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT CODID FROM {Identificare} WHERE ANUL=2010 AND NOT CODID IN (SELECT CODID FROM {CAP1}) ORDER BY CODID")),
              (V {"i:107", "i:108"}));

    // UPDATE and DELETE with a sub-query on another table.
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {CAP1} SET MENTIUNI=\"SAT NOU\" WHERE CODID IN (SELECT CODID FROM {Identificare} WHERE LOCALIT=\"SAT NOU\" AND ANUL=2010)")), 6);
    EXPECT_EQ(reg.column(QStringLiteral("SELECT CODID FROM {CAP1} WHERE MENTIUNI=\"SAT NOU\" ORDER BY COD1")),
              (V {"i:101", "i:101", "i:101", "i:102", "i:102", "i:103"}));
    EXPECT_EQ(reg.exec(QStringLiteral("DELETE FROM {CAP2} WHERE CODID IN (SELECT CODID FROM {Identificare} WHERE TIPRA=2)")), 12);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP2} WHERE CODID=105")), "i:0");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP2}")), "i:36");
    // A sub-query on the table being changed.
    EXPECT_EQ(reg.exec(QStringLiteral("DELETE FROM {CAP2} WHERE CODID IN (SELECT CODID FROM {CAP2} WHERE ANUL=2009)")), 12);
    EXPECT_EQ(reg.column(QStringLiteral("SELECT DISTINCT CODID FROM {CAP2} ORDER BY CODID")), (V {"i:101", "i:102"}));
}

TEST_F(Sql, LikeIsCaseSensitive)
{
    EXPECT_EQ(reg.column(QStringLiteral("SELECT DISTINCT NUMEP FROM {CAP1} WHERE NUMEP LIKE \"%ESCU%\" ORDER BY NUMEP")),
              (V {"t:IONESCU VASILE", "t:POPESCU ANA", "t:POPESCU ION", "t:POPESCU MARIA"}));
    EXPECT_TRUE(reg.column(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE NUMEP LIKE \"%escu%\"")).empty());
    EXPECT_EQ(reg.column(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE NUMEP LIKE \"ŢĂ%ŞTEF%\"")), (V {"t:ŢĂRAN ŞTEFANA"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT DENUM FROM {CAP1} WHERE DENUM LIKE \"Nepot%\"")), (V {"t:Nepot / Nepoata"}));
    EXPECT_TRUE(reg.column(QStringLiteral("SELECT DENUM FROM {CAP1} WHERE DENUM LIKE \"nepot%\"")).empty());
}

TEST_F(Sql, SubstringAndTrimFindTheParcelsOfBlockTwelve)
{
    reg.exec(QStringLiteral("INSERT INTO {Tarlale} (ANUL, CODID, CODT, NRPARC) VALUES (2010, 102, 504, \"12/1\")"));
    reg.exec(QStringLiteral("INSERT INTO {Tarlale} (ANUL, CODID, CODT, NRPARC) VALUES (2010, 102, 505, \" 12B\")"));
    reg.exec(QStringLiteral("INSERT INTO {Tarlale} (ANUL, CODID, CODT, NRPARC) VALUES (2010, 102, 506, \"1\")"));
    const QString sql = QStringLiteral(
        "SELECT T.CODT, T.NRPARC FROM {Tarlale} T\n"
        "WHERE (T.ANUL=2010) AND (SUBSTRING(TRIM(T.NRPARC) FROM 1 FOR 2)=\"12\") AND (NOT (SUBSTRING(TRIM(T.NRPARC) FROM 3 FOR 1) IN (\"0\",\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\")))\n"
        "ORDER BY T.CODT");
    EXPECT_EQ(reg.rows(sql), (Rows {{"i:501", "t:12"}, {"i:502", "t:12A"}, {"i:504", "t:12/1"}, {"i:505", "t: 12B"}}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT SUBSTRING(NUMEP FROM 7 FOR 7) FROM {CAP1} WHERE COD1=105")), "t:ŞTEFANA");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT SUBSTRING(NUMEP FROM 9) FROM {CAP1} WHERE COD1=102")), "t:MARIA");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT TRIM(CATEG) FROM {CAP3} WHERE CODID=101 AND RAND=3")), "t:- in arenda");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT CATEG FROM {CAP3} WHERE CODID=101 AND RAND=3")), "t: - in arenda");
}

TEST_F(Sql, GroupByWithOtherColumnsAndOrderDescending)
{
    // The report of households, volumes and residents per village and register type.
    const auto r = reg.select(QStringLiteral(
        "SELECT I.LOCALIT, I.TIPRA,\n"
        "Count(DISTINCT I.CODID) AS POZITII, COUNT(DISTINCT I.VOLUM) AS VOLUME,\n"
        "COUNT(C.COD1) AS LOCUITOR\n"
        "FROM {Identificare} I LEFT OUTER JOIN {CAP1} C ON C.CODID=I.CODID\n"
        "WHERE I.ANUL=2010\n"
        "GROUP BY I.TIPRA, I.LOCALIT\n"
        "ORDER BY I.LOCALIT, I.TIPRA"));
    EXPECT_EQ(test::fieldNames(r), (V {"LOCALIT", "TIPRA", "POZITII", "VOLUME", "LOCUITOR"}));
    EXPECT_EQ(test::shownRows(r), (Rows {{"t:DEALU MARE", "i:1", "i:1", "i:1", "i:2"},
                                         {"t:DEALU MARE", "i:2", "i:1", "i:1", "i:1"},
                                         {"t:SAT NOU", "i:1", "i:4", "i:1", "i:6"},
                                         {"t:VALEA LUNGA", "i:3", "i:1", "i:1", "i:1"},
                                         {"t:VALEA LUNGA", "i:4", "i:1", "i:1", "i:0"}}));
    // A column outside GROUP BY takes a value of its group.
    const Rows grouped = reg.rows(QStringLiteral("SELECT CODID, NUMEP, Count(*) FROM {CAP1} WHERE CODID=104 GROUP BY CODID"));
    ASSERT_EQ(grouped.size(), 1u);
    EXPECT_TRUE(grouped[0][1] == "t:MUNTEANU ELENA" || grouped[0][1] == "t:MUNTEANU DAN") << grouped[0][1];
    EXPECT_EQ(grouped[0][2], "i:2");
    EXPECT_EQ(reg.column(QStringLiteral("SELECT CODID FROM {Identificare} WHERE ANUL=2010 ORDER BY VOLUM DESC, POZ DESC, CODID")),
              (V {"i:104", "i:108", "i:103", "i:102", "i:101", "i:105", "i:106", "i:107"}));
}

TEST_F(Sql, InsertValuesAndInsertSelect)
{
    EXPECT_EQ(reg.exec(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, NUMEP, CNP, CODSEX, DENUM, COD, DATAN, COD1) VALUES (2010, 108, \"VASILE ȘTEFAN\", \"1900101123456\", 1, \"Cap de gospodarie\", 1, \"1990-01-01\", 113)")), 1);
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT NUMEP, DATAN, MENTIUNI FROM {CAP1} WHERE COD1=113")),
              (Rows {{"t:VASILE ŞTEFAN", "d:1990-01-01", "NULL"}}));

    // Carrying households into a new year with text constants in the select list.
    reg.exec(QStringLiteral("CREATE TABLE {Copie} (ANUL DECIMAL(4,0), CODID DECIMAL(10,0), LOCALIT CHAR(40), NOTA CHAR(10), SUPRAF DECIMAL(8,2))"));
    EXPECT_EQ(reg.exec(QStringLiteral("INSERT INTO {Copie} (ANUL, CODID, LOCALIT, NOTA, SUPRAF)\nSELECT 2011, CODID+1000, LOCALIT, \"copiat\", 0.5 FROM {Identificare} WHERE ANUL=2010 AND TIPRA=1")), 5);
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT ANUL, CODID, LOCALIT, NOTA, SUPRAF FROM {Copie} ORDER BY CODID")),
              (Rows {{"i:2011", "i:1101", "t:SAT NOU", "t:copiat", "r:0.5"},
                     {"i:2011", "i:1102", "t:SAT NOU", "t:copiat", "r:0.5"},
                     {"i:2011", "i:1103", "t:SAT NOU", "t:copiat", "r:0.5"},
                     {"i:2011", "i:1104", "t:DEALU MARE", "t:copiat", "r:0.5"},
                     {"i:2011", "i:1108", "t:SAT NOU", "t:copiat", "r:0.5"}}));
    // INSERT ... SELECT from the table itself copies each row once.
    EXPECT_EQ(reg.exec(QStringLiteral("INSERT INTO {Copie} SELECT ANUL+1, CODID, LOCALIT, NOTA, SUPRAF FROM {Copie}")), 5);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {Copie}")), "i:10");
}

TEST_F(Sql, UpdateWithExpressionsAndDelete)
{
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {CAP2} SET BARI=BARI+BHA*100, BHA=0 WHERE CODID=101 AND RAND=1")), 1);
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT BHA, BARI, IARI FROM {CAP2} WHERE CODID=101 AND RAND=1")),
              (Rows {{"i:0", "r:150.25", "r:50"}}));
    // Alias on the table being updated.
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {CAP7} C SET NR=C.NR*2 WHERE C.CODID=101 AND C.NR>1")), 3);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT SUM(NR) FROM {CAP7} WHERE CODID=101")), "i:62");
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {CAP7} SET NR=0 WHERE CODID=999")), 0);
    // Rows whose new value meets the condition again are changed once.
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {CAP5} SET RAND=RAND+3 WHERE CODID=101 AND RAND IN (2, 5)")), 2);
    EXPECT_EQ(reg.column(QStringLiteral("SELECT RAND FROM {CAP5} WHERE CODID=101 AND CATEG IN (\"Meri\", \"Pruni\") ORDER BY RAND")),
              (V {"i:5", "i:8"}));

    EXPECT_EQ(reg.exec(QStringLiteral("DELETE FROM {CAP1} WHERE CODID=101 AND COD>1")), 2);
    EXPECT_EQ(reg.column(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE CODID=101")), (V {"t:POPESCU ION"}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP1}")), "i:10");
    EXPECT_EQ(reg.exec(QStringLiteral("DELETE FROM {PozeTarla}")), 1);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {PozeTarla}")), "i:0");
}

TEST_F(Sql, CreateIndexAndDropTable)
{
    reg.exec(QStringLiteral("CREATE INDEX CODID ON {CAP2} (CODID)"));
    reg.exec(QStringLiteral("CREATE INDEX RAND ON {CAP2} (RAND)"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT BARI FROM {CAP2} WHERE CODID=101 AND RAND=8")), "r:60.25");
    EXPECT_FALSE(reg.error(QStringLiteral("CREATE INDEX NIMIC ON {CAP2} (NIMIC)")).isEmpty());
    EXPECT_FALSE(reg.error(QStringLiteral("CREATE INDEX ANUL ON {Absent} (ANUL)")).isEmpty());

    ASSERT_TRUE(QFile::exists(reg.file(QStringLiteral("CAP11.mdx"))));
    reg.exec(QStringLiteral("DROP TABLE {CAP11}"));
    EXPECT_FALSE(QFile::exists(reg.file(QStringLiteral("CAP11.dbf"))));
    EXPECT_FALSE(QFile::exists(reg.file(QStringLiteral("CAP11.dbt"))));
    EXPECT_FALSE(QFile::exists(reg.file(QStringLiteral("CAP11.mdx"))));
    EXPECT_TRUE(QFile::exists(reg.file(QStringLiteral("CAP10.dbf"))));
    EXPECT_FALSE(reg.error(QStringLiteral("SELECT * FROM {CAP11}")).isEmpty());
    EXPECT_FALSE(reg.error(QStringLiteral("DROP TABLE {CAP11}")).isEmpty());
    // Created again under the same name, it is a new empty table.
    reg.exec(QStringLiteral("CREATE TABLE {CAP11} (ANUL DECIMAL(4,0),CODID DECIMAL(10,0),MENTIUNI BLOB(1,1) )"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP11}")), "i:0");
    EXPECT_FALSE(reg.error(QStringLiteral("CREATE TABLE {CAP11} (ANUL DECIMAL(4,0))")).isEmpty());
}

TEST_F(Sql, DropTableRemovesItsFilesWhateverTheirLetterCase)
{
    reg.exec(QStringLiteral("CREATE TABLE {Nota} (A DECIMAL(2,0), B BLOB(1,1))"));
    reg.exec(QStringLiteral("INSERT INTO {Nota} (A, B) VALUES (1, \"text\")"));
    ASSERT_TRUE(QFile::rename(reg.file(QStringLiteral("Nota.dbt")), reg.file(QStringLiteral("NOTA.DBT"))));
    test::writeBytes(reg.file(QStringLiteral("nota.MDX")), QByteArray(512, '\0'));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT B FROM {nota}")), "t:text");
    reg.exec(QStringLiteral("DROP TABLE {NOTA}"));
    EXPECT_TRUE(QDir(reg.home.data()).entryList({QStringLiteral("*ota*"), QStringLiteral("*OTA*")}, QDir::Files).isEmpty())
        << QDir(reg.home.data()).entryList(QDir::Files).join(QLatin1Char(' ')).toStdString();
}

TEST_F(Sql, TextColumnsComparedWithNumbers)
{
    EXPECT_EQ(reg.column(QStringLiteral("SELECT CODT FROM {Tarlale} WHERE NRPARC=12 AND ANUL=2010")), (V {"i:501"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CNP=2480229015821")), (V {"i:105"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT CODID FROM {Identificare} WHERE ANUL=\"2009\" AND TIPRA=\"3\"")), (V {"i:4"}));
}

TEST_F(Sql, EmptyLinesAndLineBreaksInsideAStatement)
{
    EXPECT_EQ(reg.column(QStringLiteral("SELECT CODID\n\nFROM {Identificare}\r\n\r\nWHERE ANUL=2009\n   \n AND TIPRA=3\n")),
              (V {"i:4"}));
    EXPECT_EQ(reg.exec(QStringLiteral("\nUPDATE {Identificare}\n\nSET ROL=5\n\nWHERE CODID=4\n\n")), 1);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT ROL FROM {Identificare} WHERE CODID=4")), "i:5");
}

TEST_F(Sql, DoubledQuotesInTextLiterals)
{
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {Identificare} SET DENUMIRE=\"AGRO \"\"NOU\"\" SRL\" WHERE CODID=4")), 1);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT DENUMIRE FROM {Identificare} WHERE CODID=4")), "t:AGRO \"NOU\" SRL");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT CODID FROM {Identificare} WHERE DENUMIRE=\"AGRO \"\"NOU\"\" SRL\"")), "i:4");
    // A single quote inside a double-quoted literal is an ordinary character.
    reg.exec(QStringLiteral("UPDATE {Identificare} SET STRADA=\"O'NEILL\" WHERE CODID=4"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT STRADA FROM {Identificare} WHERE CODID=4")), "t:O'NEILL");
    // The stored bytes hold one quote each.
    dbf::DbfTable t(reg.file(QStringLiteral("Identificare.dbf")));
    int found = 0;
    for (int r = 0; r < t.recordCount(); ++r)
        found += t.text(r, t.fieldIndex(QStringLiteral("DENUMIRE"))) == QStringLiteral("AGRO \"NOU\" SRL") ? 1 : 0;
    EXPECT_EQ(found, 1);
}

TEST_F(Sql, BlankIsNullAndTrailingBlanksAreIgnored)
{
    reg.exec(QStringLiteral("UPDATE {CAP1} SET MENTIUNI=\"\", DENUM=\"   \" WHERE COD1=103"));
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT MENTIUNI, DENUM FROM {CAP1} WHERE COD1=103")), (Rows {{"NULL", "NULL"}}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP1} WHERE MENTIUNI IS NULL")), "i:11");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP1} WHERE MENTIUNI=\"\" OR MENTIUNI IS NULL")), "i:11");

    const QString padded = QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP=\"POPESCU ION  \" ORDER BY COD1");
    EXPECT_EQ(reg.column(padded), (V {"i:101", "i:111"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP IN (\"POPESCU ION \", \"RUSU PETRU   \") ORDER BY COD1")),
              (V {"i:101", "i:109", "i:111"}));
    // Leading blanks matter.
    EXPECT_TRUE(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP=\" POPESCU ION\"")).empty());
    // The same through an index built on the column.
    reg.exec(QStringLiteral("CREATE INDEX NUMEP ON {CAP1} (NUMEP)"));
    EXPECT_EQ(reg.column(padded), (V {"i:101", "i:111"}));
    // Numeric blanks are NULL too.
    reg.exec(QStringLiteral("INSERT INTO {CAP7} (ANUL, CODID, CATEG) VALUES (2010, 103, \"fara numar\")"));
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT NR, RAND FROM {CAP7} WHERE CATEG=\"fara numar\"")), (Rows {{"NULL", "NULL"}}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP7} WHERE NR IS NULL")), "i:1");
}

TEST_F(Sql, DuplicateColumnNamesAreNumbered)
{
    const auto r = reg.select(QStringLiteral("SELECT I.CODID, C.CODID, O.CODID, C.ANUL FROM {Identificare} I, {CAP1} C, {OmTarla} O WHERE C.CODID=I.CODID AND O.CODID=I.CODID AND C.COD1=101 AND O.CODT=502"));
    EXPECT_EQ(test::fieldNames(r), (V {"CODID", "CODID_1", "CODID_2", "ANUL"}));
    EXPECT_EQ(test::shownRows(r), (Rows {{"i:101", "i:101", "i:101", "i:2010"}}));
    EXPECT_EQ(r.fieldIndex(QStringLiteral("codid_1")), 1);
    // A name already taken by another column is skipped.
    const auto s = reg.select(QStringLiteral("SELECT CODID, CODID AS CODID_1, CODID FROM {CAP11}"));
    EXPECT_EQ(test::fieldNames(s), (V {"CODID", "CODID_1", "CODID_2"}));
}

TEST_F(Sql, FileNamesMatchWithoutLetterCase)
{
    const auto lower = reg.rows(QStringLiteral("SELECT * FROM {cap1} ORDER BY COD1"));
    EXPECT_EQ(lower.size(), 12u);
    EXPECT_EQ(lower, reg.rows(QStringLiteral("SELECT * FROM {Cap1} ORDER BY COD1")));
    EXPECT_EQ(lower, reg.rows(QStringLiteral("SELECT * FROM ") + test::quoted(reg.file(QStringLiteral("CAP1.DBF"))) + QStringLiteral(" ORDER BY COD1")));
    // Written through one spelling, read through another.
    reg.exec(QStringLiteral("DELETE FROM {cAp1} WHERE COD1=112"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP1}")), "i:11");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {Cap1} C, {CAP1} D WHERE C.COD1=D.COD1")), "i:11");
    // A relative path is taken inside the data folder.
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM \"identificare.DBF\"")), "i:13");
    EXPECT_FALSE(QFile::exists(reg.file(QStringLiteral("cap1.dbf"))));
}

TEST_F(Sql, DatesAreTextInStatementsAndDatesInResults)
{
    EXPECT_EQ(reg.column(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE DATAN<\"1950-01-01\" AND ANUL=2010 ORDER BY DATAN")),
              (V {"t:ŢĂRAN GHEORGHE", "t:ŢĂRAN ŞTEFANA"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE DATAN=\"1948-02-29\"")), (V {"i:105"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE DATAN>=\"2001-12-31\" ORDER BY COD1")), (V {"i:103", "i:108"}));
    reg.exec(QStringLiteral("CREATE INDEX DATAN ON {CAP1} (DATAN)"));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE DATAN=\"1948-02-29\"")), (V {"i:105"}));
    reg.exec(QStringLiteral("UPDATE {CAP1} SET DATAN=\"2004-02-29\" WHERE COD1=106"));
    const auto r = reg.select(QStringLiteral("SELECT DATAN FROM {CAP1} WHERE COD1=106"));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0], dbf::Value(QDate(2004, 2, 29)));
    EXPECT_EQ(r.fields[0].type, engine::FieldType::Date);
    // Not a date: an error, the value stays.
    EXPECT_FALSE(reg.error(QStringLiteral("UPDATE {CAP1} SET DATAN=\"2005-02-29\" WHERE COD1=106")).isEmpty());
    EXPECT_EQ(reg.one(QStringLiteral("SELECT DATAN FROM {CAP1} WHERE COD1=106")), "d:2004-02-29");
    reg.exec(QStringLiteral("UPDATE {CAP1} SET DATAN=NULL WHERE COD1=106"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT DATAN FROM {CAP1} WHERE COD1=106")), "NULL");
}

TEST_F(Sql, IntegersAndRealsFollowTheDeclaredDecimals)
{
    createSmall();
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT ID, SUMA, ZI FROM {Mic} ORDER BY ID")),
              (Rows {{"i:1", "r:1.5", "d:2010-01-31"}, {"i:2", "r:3", "d:2009-12-01"}, {"i:3", "r:1.14", "NULL"}}));
    // Decimals compare exactly with the number written in a statement, with and without an index.
    EXPECT_EQ(reg.column(QStringLiteral("SELECT ID FROM {Mic} WHERE SUMA=1.14")), (V {"i:3"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT ID FROM {Mic} WHERE SUMA IN (1.14, 3) ORDER BY ID")), (V {"i:2", "i:3"}));
    reg.exec(QStringLiteral("CREATE INDEX SUMA ON {Mic} (SUMA)"));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT ID FROM {Mic} WHERE SUMA=1.14")), (V {"i:3"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT ID FROM {Mic} WHERE SUMA=\"1.14\"")), (V {"i:3"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT ID FROM {Mic} WHERE ID=\"2\"")), (V {"i:2"}));
    reg.exec(QStringLiteral("UPDATE {Mic} SET SUMA=1.0353 WHERE ID=1"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT SUMA FROM {Mic} WHERE ID=1")), "r:1.04");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT SUPRAF FROM {Tarlale} WHERE SUPRAF=1.0025")), "r:1.0025");
    reg.exec(QStringLiteral("UPDATE {Tarlale} SET SUPRAF=1.0131 WHERE CODT=503"));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT CODT FROM {Tarlale} WHERE SUPRAF=1.0131")), (V {"i:503"}));
}

TEST_F(Sql, ValueTooWideIsAnErrorAndLeavesTheRow)
{
    createSmall();
    const Rows before = reg.rows(QStringLiteral("SELECT * FROM {Mic} ORDER BY ID"));
    QString message = reg.error(QStringLiteral("UPDATE {Mic} SET NUME=\"SCHIMBAT\", SUMA=1000000 WHERE ID=2"));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_TRUE(message.contains(QStringLiteral("SUMA"))) << message.toStdString();
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT * FROM {Mic} ORDER BY ID")), before);
    EXPECT_FALSE(reg.error(QStringLiteral("INSERT INTO {Mic} (ID, NUME) VALUES (123456, \"PREA MARE\")")).isEmpty());
    EXPECT_FALSE(reg.error(QStringLiteral("INSERT INTO {Mic} (ID, SUMA) VALUES (4, \"nu e numar\")")).isEmpty());
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT * FROM {Mic} ORDER BY ID")), before);
    // The widest values that fit.
    reg.exec(QStringLiteral("UPDATE {Mic} SET ID=99999, SUMA=-9999.99 WHERE ID=2"));
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT ID, SUMA FROM {Mic} WHERE NUME=\"DOI\"")), (Rows {{"i:99999", "r:-9999.99"}}));
    // The four-place chapter year refuses a five-digit year.
    EXPECT_FALSE(reg.error(QStringLiteral("UPDATE {CAP2} SET ANUL=20100 WHERE CODID=101 AND RAND=1")).isEmpty());
    EXPECT_EQ(reg.one(QStringLiteral("SELECT ANUL FROM {CAP2} WHERE CODID=101 AND RAND=1")), "i:2010");
}

TEST_F(Sql, TextTooLongIsRefusedAndCutOnlyWhenAsked)
{
    createSmall();
    EXPECT_EQ(reg.error(QStringLiteral("INSERT INTO {Mic} (ID, NUME) VALUES (4, \"ABCDEFGHIJKLMNOP\")")),
              QStringLiteral("Textul are 16 caractere; coloana NUME din tabelul \"Mic.dbf\" primeste cel mult 12."));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {Mic} WHERE ID=4")), "i:0");
    reg.exec(QStringLiteral("INSERT INTO {Mic} (ID, NUME) VALUES (4, SUBSTRING(\"ABCDEFGHIJKLMNOP\" FROM 1 FOR 12))"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUME FROM {Mic} WHERE ID=4")), "t:ABCDEFGHIJKL");
    EXPECT_EQ(reg.error(QStringLiteral("UPDATE {Mic} SET NUME=\"ŞŢĂÎÂşţăîâ€XYZ\" WHERE ID=4")),
              QStringLiteral("Textul are 14 caractere; coloana NUME din tabelul \"Mic.dbf\" primeste cel mult 12."));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUME FROM {Mic} WHERE ID=4")), "t:ABCDEFGHIJKL");
    reg.exec(QStringLiteral("UPDATE {Mic} SET NUME=SUBSTRING(\"ŞŢĂÎÂşţăîâ€XYZ\" FROM 1 FOR 12) WHERE ID=4"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUME FROM {Mic} WHERE ID=4")), "t:ŞŢĂÎÂşţăîâ€X");
    // A number written into a text column is its text.
    reg.exec(QStringLiteral("UPDATE {Mic} SET NUME=12.5 WHERE ID=4"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUME FROM {Mic} WHERE ID=4")), "t:12.5");
}

TEST_F(Sql, CommaBelowLettersFindWhatWasStored)
{
    reg.exec(QStringLiteral("UPDATE {CAP1} SET NUMEP=\"ȘERBAN ȚUȚU\" WHERE COD1=106"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE COD1=106")), "t:ŞERBAN ŢUŢU");
    // The text the program wrote finds the row again, in either spelling.
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP=\"ȘERBAN ȚUȚU\"")), (V {"i:106"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP=\"ŞERBAN ŢUŢU\"")), (V {"i:106"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP LIKE \"%ȚUȚU\"")), (V {"i:106"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP=\"ŢĂRAN ȘTEFANA\"")), (V {"i:105"}));
}

TEST_F(Sql, CharactersOutsideTheCodePageAreErrors)
{
    const QString before = QString::fromStdString(reg.one(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE COD1=101")));
    const QString message = reg.error(QStringLiteral("UPDATE {CAP1} SET NUMEP=\"POPESCU \u4E2D\" WHERE COD1=101"));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(QString::fromStdString(reg.one(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE COD1=101"))), before);
    EXPECT_FALSE(reg.error(QStringLiteral("INSERT INTO {CAP11} (ANUL, CODID, MENTIUNI) VALUES (2010, 5, \"nota \u4E2D\")")).isEmpty());
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP11}")), "i:2");
    EXPECT_TRUE(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP LIKE \"%?%\"")).empty());
}

TEST_F(Sql, FailingStatementsRaiseSqlErrorWithAMessage)
{
    const QStringList bad = {
        QStringLiteral("SELECT NIMIC FROM {CAP1}"),
        QStringLiteral("SELECT * FROM {NuExista}"),
        QStringLiteral("SELECT * FROM {CAP1} WHERE"),
        QStringLiteral("SELECT * FROM {CAP1} WHERE NUMEP=\"neinchis"),
        QStringLiteral("SELEC * FROM {CAP1}"),
        QStringLiteral(""),
        QStringLiteral("  \n "),
        QStringLiteral("INSERT INTO {CAP1} (NIMIC) VALUES (1)"),
        QStringLiteral("UPDATE {CAP1} SET NIMIC=1"),
        QStringLiteral("CREATE TABLE {Rau} (A DECIMAL(4,0), A CHAR(3))"),
        QStringLiteral("CREATE TABLE {Rau} (A FANTEZIE(3))"),
        QStringLiteral("CREATE TABLE {Rau} (NUMEFOARTELUNG CHAR(3))"),
        QStringLiteral("ALTER TABLE {CAP1} DROP NIMIC"),
        QStringLiteral("ALTER TABLE {CAP1} ADD NUMEP CHAR(3)"),
        QStringLiteral("DROP TABLE {NuExista}"),
    };
    for (const QString& sql : bad) {
        SCOPED_TRACE(sql.toStdString());
        try {
            reg.engine.execute(reg.expand(sql));
            ADD_FAILURE() << "no error";
        } catch (const engine::SqlError& e) {
            EXPECT_FALSE(e.message().trimmed().isEmpty());
            EXPECT_STREQ(e.what(), e.message().toStdString().c_str());
        }
    }
    EXPECT_TRUE(reg.error(QStringLiteral("SELECT * FROM {NuExista}")).contains(QStringLiteral("NuExista.dbf")));
    EXPECT_FALSE(QFile::exists(reg.file(QStringLiteral("Rau.dbf"))));
    // The engine goes on working after errors.
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP1}")), "i:12");
}

TEST_F(Sql, StatementsAsTheProgramSendsThem)
{
    // A work table in the program folder, outside the data folder, which the program registers.
    reg.engine.addTableRoot(reg.home.home());
    const QString t2 = test::quoted(reg.home.home() + QStringLiteral("/T2.dbf"));
    reg.exec(QStringLiteral("CREATE TABLE ") + t2 + QStringLiteral("\n(CODID DECIMAL(10,0))"));
    EXPECT_EQ(reg.exec(QStringLiteral("INSERT INTO ") + t2 + QStringLiteral(" (CODID)\nSELECT CODID FROM {Identificare}\nWHERE ANUL=2010 AND TIPRA=1")), 5);
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT CATEG,RAND,SUM(AHA) AS AHA1,SUM(AARI) AS AARI1,SUM(BHA) AS BHA1,SUM(BARI) AS BARI1,\n"
                                      "SUM(CHA) AS CHA1,SUM(CARI) AS CARI1\n"
                                      "FROM {CAP2} C\nINNER JOIN ") + t2 + QStringLiteral(" T\nON C.CODID=T.CODID\n"
                                      "WHERE RAND IN (1, 12)\nGROUP BY CATEG,RAND\nORDER BY RAND")),
              (Rows {{"t:Teren arabil", "i:1", "i:1", "r:110.25", "i:1", "r:110.25", "i:0", "r:0"},
                     {"t:SUPRAFATA TOTALA: 8+9+10+11", "i:12", "i:3", "r:135.25", "i:3", "r:135.25", "i:0", "r:0"}}));
    // Tables listed with the comma at the end of a line.
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT C.RAND, SUM(C.NR) AS AA, I.TIPRA\nFROM {CAP9} C,\n{Identificare} I\n"
                                      "WHERE C.ANUL=2010 AND C.CODID=I.CODID AND C.RAND<=4\nGROUP BY C.RAND, I.TIPRA\nORDER BY C.RAND, I.TIPRA")),
              (Rows {{"i:1", "i:1", "i:1"}, {"i:1", "i:2", "i:3"}, {"i:2", "i:0", "i:1"}, {"i:2", "i:0", "i:3"},
                     {"i:3", "i:0", "i:1"}, {"i:3", "i:0", "i:3"}, {"i:4", "i:0", "i:1"}, {"i:4", "i:1", "i:3"}}));
    // Counting into a work table, and a negative constant in the select list.
    const QString tmp = test::quoted(reg.home.home() + QStringLiteral("/Tmp.dbf"));
    reg.exec(QStringLiteral("CREATE TABLE ") + tmp + QStringLiteral(" (CODID DECIMAL(10,0), NRCASE DECIMAL(4,0), POZ DECIMAL(6,0))"));
    EXPECT_EQ(reg.exec(QStringLiteral("INSERT INTO ") + tmp + QStringLiteral("\n(CODID, NRCASE)\nSELECT CODID, Count(*)\nFROM {Cap10}\n"
                                                                          "WHERE ANUL=2010\nAND RAND IN (1,4,7,10)\nAND DETALII>0\nGROUP BY CODID")),
              1);
    EXPECT_EQ(reg.exec(QStringLiteral("INSERT INTO ") + tmp + QStringLiteral(" (POZ, CODID)\nSELECT POZ,  -1 FROM {Identificare} WHERE CODID=105")), 1);
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT CODID, NRCASE, POZ FROM ") + tmp + QStringLiteral(" ORDER BY CODID")),
              (Rows {{"i:-1", "NULL", "i:1"}, {"i:101", "i:2", "NULL"}}));
    // The clean-up of chapter rows without a year or household.
    reg.exec(QStringLiteral("INSERT INTO {Cap3} (ANUL, CODID, RAND) VALUES (2004, 101, 1)"));
    reg.exec(QStringLiteral("INSERT INTO {Cap3} (ANUL, RAND) VALUES (2010, 1)"));
    reg.exec(QStringLiteral("INSERT INTO {Cap3} (CODID, RAND) VALUES (101, 1)"));
    EXPECT_EQ(reg.exec(QStringLiteral("DELETE FROM {Cap3}\nWHERE ANUL<2005 OR ANUL IS NULL OR CODID IS NULL")), 3);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP3}")), "i:15");
    // A picture removed by its Windows path, backslashes and all.
    EXPECT_EQ(reg.exec(QStringLiteral("DELETE FROM {PozeTarla}\nWHERE ANUL=2010 AND CODT=501 AND FISIER=\"C:\\Poze\\titlu123.jpg\"")), 1);
}

TEST_F(Sql, RunReportsChangedRowsAndSelectRows)
{
    engine::ResultSet rows;
    EXPECT_EQ(reg.engine.run(reg.expand(QStringLiteral("SELECT * FROM {CAP1} WHERE CODID=101")), &rows), 3);
    EXPECT_EQ(rows.rows.size(), 3u);
    EXPECT_EQ(reg.engine.run(reg.expand(QStringLiteral("UPDATE {CAP1} SET COD=COD WHERE CODID=102")), &rows), 2);
    EXPECT_TRUE(rows.fields.isEmpty());
    EXPECT_TRUE(rows.rows.empty());
    EXPECT_EQ(reg.engine.run(reg.expand(QStringLiteral("CREATE TABLE {Gol} (A CHAR(1))")), nullptr), 0);
}

}
