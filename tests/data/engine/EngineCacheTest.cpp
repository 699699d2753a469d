// What the engine keeps between statements: it sees files changed by other programs, and its
// in-memory indexes stay right through its own inserts, updates, deletions and packs.

#include "EngineTestSupport.h"

#include "data/dbf/DbfTable.h"
#include "data/engine/TableHandle.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

using namespace velmor;
using test::Register;
using test::Rows;

namespace {

using V = std::vector<std::string>;

// Another program rewrites a file later than the engine last read it. The engine tells changed
// files by size and modification time, so the new contents must carry a new time stamp: the
// write is repeated until the file system clock has moved on.
void writeLater(const QString& path, const QByteArray& bytes)
{
    const QDateTime before = QFileInfo(path).lastModified();
    QElapsedTimer timer;
    timer.start();
    do {
        QThread::msleep(2);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_EQ(f.write(bytes), bytes.size());
        f.resize(bytes.size());
        f.close();
    } while (QFileInfo(path).lastModified() == before && timer.elapsed() < 3000);
    ASSERT_NE(QFileInfo(path).lastModified(), before);
}

TEST(EngineSeesOtherWriters, RowsAppendedByAnotherEngine)
{
    Register reg(QStringLiteral("register-dbase4"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP1}")), "i:12");
    {
        engine::Engine other(reg.home.data());
        other.execute(reg.expand(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, NUMEP, COD1) VALUES (2010, 108, \"NOU\", 113)")));
    }
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP1}")), "i:13");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE CODID=108")), "t:NOU");
    // And the other way round, with both engines alive.
    engine::Engine other(reg.home.data());
    EXPECT_EQ(test::shownRows(other.select(reg.expand(QStringLiteral("SELECT Count(*) FROM {CAP1}")))), (Rows {{"i:13"}}));
    reg.exec(QStringLiteral("DELETE FROM {CAP1} WHERE COD1=113"));
    reg.exec(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, NUMEP, COD1) VALUES (2010, 107, \"ALTUL\", 114)"));
    EXPECT_EQ(test::shownRows(other.select(reg.expand(QStringLiteral("SELECT CODID, NUMEP FROM {CAP1} WHERE COD1>112")))),
              (Rows {{"i:107", "t:ALTUL"}}));
}

TEST(EngineSeesOtherWriters, RecordRewrittenInPlace)
{
    Register reg(QStringLiteral("register-dbase4"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE COD1=109")), "t:RUSU PETRU");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP=\"RUSU PETRU\"")), "i:109");
    // Same size, new bytes: the name in the ninth record changes.
    QByteArray b = test::existingFileBytes(reg.file(QStringLiteral("CAP1.dbf")));
    const int at = b.indexOf("RUSU PETRU");
    ASSERT_GT(at, 0);
    b.replace(at, 10, "RUSU PAVEL");
    writeLater(reg.file(QStringLiteral("CAP1.dbf")), b);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE COD1=109")), "t:RUSU PAVEL");
    // The index on the name was built before; it follows the new contents.
    EXPECT_TRUE(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP=\"RUSU PETRU\"")).empty());
    EXPECT_EQ(reg.one(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP=\"RUSU PAVEL\"")), "i:109");
}

TEST(EngineSeesOtherWriters, TableRestructuredByAnotherEngine)
{
    Register reg(QStringLiteral("register-dbase4"));
    EXPECT_EQ(test::fieldNames(reg.select(QStringLiteral("SELECT * FROM {OmTarla}"))), (V {"ANUL", "CODID", "CODT", "TITULAR"}));
    {
        engine::Engine other(reg.home.data());
        other.execute(reg.expand(QStringLiteral("ALTER TABLE {OmTarla} ADD COTA DECIMAL(5,2), DROP ANUL")));
        other.execute(reg.expand(QStringLiteral("UPDATE {OmTarla} SET COTA=50 WHERE CODT=501")));
    }
    EXPECT_EQ(test::fieldNames(reg.select(QStringLiteral("SELECT * FROM {OmTarla}"))), (V {"CODID", "CODT", "TITULAR", "COTA"}));
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT TITULAR, COTA FROM {OmTarla} WHERE CODT=501 ORDER BY TITULAR")),
              (Rows {{"t:POPESCU ION", "r:50"}, {"t:POPESCU MARIA", "r:50"}}));
    EXPECT_FALSE(reg.error(QStringLiteral("SELECT ANUL FROM {OmTarla}")).isEmpty());
}

TEST(EngineSeesOtherWriters, MemoChangedByAnotherEngine)
{
    Register reg(QStringLiteral("register-dbase4"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT MENTIUNI FROM {CAP11} WHERE CODID=1")), "NULL");
    {
        engine::Engine other(reg.home.data());
        other.execute(reg.expand(QStringLiteral("UPDATE {CAP11} SET MENTIUNI=\"nou în 2009\" WHERE CODID=1")));
    }
    EXPECT_EQ(reg.one(QStringLiteral("SELECT MENTIUNI FROM {CAP11} WHERE CODID=1")), "t:nou în 2009");
}

TEST(EngineSeesOtherWriters, TableDeletedAndCreatedAgain)
{
    Register reg(QStringLiteral("register-dbase4"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {PozeTarla}")), "i:1");
    const QByteArray saved = test::existingFileBytes(reg.file(QStringLiteral("PozeTarla.dbf")));
    ASSERT_TRUE(QFile::remove(reg.file(QStringLiteral("PozeTarla.dbf"))));
    const QString message = reg.error(QStringLiteral("SELECT Count(*) FROM {PozeTarla}"));
    EXPECT_TRUE(message.contains(QStringLiteral("PozeTarla.dbf"))) << message.toStdString();
    // Created by another program with other rows: the engine reads it.
    {
        engine::Engine other(reg.home.data());
        other.execute(reg.expand(QStringLiteral("CREATE TABLE {PozeTarla} (ANUL DECIMAL(4,0), CODT DECIMAL(10,0), FISIER CHAR(240))")));
        other.execute(reg.expand(QStringLiteral("INSERT INTO {PozeTarla} (ANUL, CODT, FISIER) VALUES (2010, 502, \"a.jpg\")")));
        other.execute(reg.expand(QStringLiteral("INSERT INTO {PozeTarla} (ANUL, CODT, FISIER) VALUES (2010, 503, \"b.jpg\")")));
    }
    EXPECT_EQ(reg.column(QStringLiteral("SELECT CODT FROM {PozeTarla} WHERE CODT>=502")), (V {"i:502", "i:503"}));
    // Put back as it was.
    test::writeBytes(reg.file(QStringLiteral("PozeTarla.dbf")), saved);
    EXPECT_EQ(reg.column(QStringLiteral("SELECT CODT FROM {PozeTarla}")), (V {"i:501"}));
}

TEST(EngineSeesOtherWriters, ForgetDropsWhatTheEngineHolds)
{
    Register reg(QStringLiteral("register-dbase4"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP10}")), "i:19");
    reg.engine.forget(reg.file(QStringLiteral("CAP10.dbf")));
    reg.engine.forget(reg.file(QStringLiteral("Nimic.dbf")));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {cap10}")), "i:19");
    EXPECT_EQ(&reg.engine.table(reg.file(QStringLiteral("CAP10.dbf"))), &reg.engine.table(reg.file(QStringLiteral("Cap10.DBF"))));
}

class EngineIndexes : public ::testing::Test {
protected:
    Register reg {QStringLiteral("register-dbase4")};

    // The rows found through the index agree with those a full scan finds ("+0" and "||''"
    // keep SQLite from handing the comparison to the table).
    void expectIndexAgrees(const char* column, const QStringList& values)
    {
        for (const QString& v : values) {
            SCOPED_TRACE(QStringLiteral("%1=%2").arg(QLatin1String(column), v).toStdString());
            const V indexed = reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE %1=%2 ORDER BY COD1").arg(QLatin1String(column), v));
            const QString scanned = v.startsWith(QLatin1Char('"')) ? QStringLiteral("RTRIM(%1)||''=%2") : QStringLiteral("%1+0=%2");
            EXPECT_EQ(indexed, reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE %1 ORDER BY COD1")
                                              .arg(scanned.arg(QLatin1String(column), v))));
        }
    }
};

TEST_F(EngineIndexes, LookupsFollowInsertsUpdatesAndDeletes)
{
    reg.exec(QStringLiteral("CREATE INDEX CODID ON {CAP1} (CODID)"));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=101 ORDER BY COD1")), (V {"i:101", "i:102", "i:103"}));

    reg.exec(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, NUMEP, COD1) VALUES (2010, 101, \"NOU\", 113)"));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=101 ORDER BY COD1")), (V {"i:101", "i:102", "i:103", "i:113"}));
    reg.exec(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, NUMEP, COD1) VALUES (2010, 900, \"ALTUL\", 114)"));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=900")), (V {"i:114"}));

    reg.exec(QStringLiteral("UPDATE {CAP1} SET CODID=901 WHERE COD1=102"));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=101 ORDER BY COD1")), (V {"i:101", "i:103", "i:113"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=901")), (V {"i:102"}));

    reg.exec(QStringLiteral("DELETE FROM {CAP1} WHERE COD1 IN (101, 114)"));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=101 ORDER BY COD1")), (V {"i:103", "i:113"}));
    EXPECT_TRUE(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=900")).empty());

    // A failed change leaves the index as it was.
    EXPECT_FALSE(reg.error(QStringLiteral("UPDATE {CAP1} SET CODID=99999999999 WHERE COD1=103")).isEmpty());
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=101 ORDER BY COD1")), (V {"i:103", "i:113"}));

    // Joins through the index.
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT I.CODID, C.COD1 FROM {Identificare} I, {CAP1} C WHERE C.CODID=I.CODID AND I.CODID IN (101, 102) ORDER BY C.COD1")),
              (Rows {{"i:101", "i:103"}, {"i:102", "i:104"}, {"i:102", "i:105"}, {"i:101", "i:113"}}));
    expectIndexAgrees("CODID", {QStringLiteral("101"), QStringLiteral("102"), QStringLiteral("901"), QStringLiteral("900"), QStringLiteral("1")});
}

TEST_F(EngineIndexes, ChangingTheLookedUpColumnChangesEachRowOnce)
{
    reg.exec(QStringLiteral("CREATE INDEX CODID ON {CAP1} (CODID)"));
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {CAP1} SET CODID=CODID+1 WHERE CODID IN (101, 102)")), 5);
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT CODID, Count(*) FROM {CAP1} WHERE CODID IN (101, 102, 103, 104) GROUP BY CODID ORDER BY CODID")),
              (Rows {{"i:102", "i:3"}, {"i:103", "i:3"}, {"i:104", "i:2"}}));
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {CAP1} SET CODID=CODID+1000")), 12);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT MIN(CODID) FROM {CAP1}")), "i:1001");
    expectIndexAgrees("CODID", {QStringLiteral("1102"), QStringLiteral("1103"), QStringLiteral("103")});
}

TEST_F(EngineIndexes, TextAndDateIndexesFollowChanges)
{
    reg.exec(QStringLiteral("CREATE INDEX NUMEP ON {CAP1} (NUMEP)"));
    reg.exec(QStringLiteral("CREATE INDEX DATAN ON {CAP1} (DATAN)"));
    // Lookups build the indexes before the changes.
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP=\"POPESCU ION\" ORDER BY COD1")), (V {"i:101", "i:111"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE DATAN=\"1980-01-01\" ORDER BY COD1")), (V {"i:101", "i:111"}));
    reg.exec(QStringLiteral("UPDATE {CAP1} SET NUMEP=\"POPESCU IOAN\", DATAN=\"1981-02-02\" WHERE COD1=111"));
    reg.exec(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, NUMEP, DATAN, COD1) VALUES (2010, 107, \"POPESCU ION\", \"1980-01-01\", 113)"));
    reg.exec(QStringLiteral("UPDATE {CAP1} SET NUMEP=NULL, DATAN=NULL WHERE COD1=110"));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP=\"POPESCU ION\" ORDER BY COD1")), (V {"i:101", "i:113"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE DATAN=\"1980-01-01\" ORDER BY COD1")), (V {"i:101", "i:113"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE DATAN=\"1981-02-02\"")), (V {"i:111"}));
    EXPECT_TRUE(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP=\"STAN MIHAI\"")).empty());
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE NUMEP IS NULL")), (V {"i:110"}));
    expectIndexAgrees("NUMEP", {QStringLiteral("\"POPESCU ION\""), QStringLiteral("\"POPESCU IOAN\""),
                                QStringLiteral("\"ŢĂRAN GHEORGHE\""), QStringLiteral("\"STAN MIHAI\"")});
}

TEST_F(EngineIndexes, PackAndRestructureRebuildTheIndexes)
{
    reg.exec(QStringLiteral("CREATE INDEX CODID ON {CAP1} (CODID)"));
    reg.exec(QStringLiteral("DELETE FROM {CAP1} WHERE CODID IN (101, 104)"));
    EXPECT_TRUE(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=101")).empty());
    reg.engine.table(reg.file(QStringLiteral("CAP1.dbf"))).pack();
    EXPECT_EQ(dbf::DbfTable(reg.file(QStringLiteral("CAP1.dbf"))).recordCount(), 7);
    // Record numbers moved: every lookup must find the moved records.
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=102 ORDER BY COD1")), (V {"i:104", "i:105"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=2")), (V {"i:112"}));
    EXPECT_TRUE(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=104")).empty());
    expectIndexAgrees("CODID", {QStringLiteral("101"), QStringLiteral("102"), QStringLiteral("105"), QStringLiteral("1"), QStringLiteral("2")});

    reg.exec(QStringLiteral("ALTER TABLE {CAP1} DROP CNP, ADD NOTA CHAR(4)"));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=102 ORDER BY COD1")), (V {"i:104", "i:105"}));
    reg.exec(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, COD1, NOTA) VALUES (2010, 102, 120, \"x\")"));
    expectIndexAgrees("CODID", {QStringLiteral("102"), QStringLiteral("106")});
}

TEST_F(EngineIndexes, IndexesFollowChangesOfAnotherWriter)
{
    reg.exec(QStringLiteral("CREATE INDEX CODID ON {CAP1} (CODID)"));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=105")), (V {"i:109"}));
    {
        engine::Engine other(reg.home.data());
        other.execute(reg.expand(QStringLiteral("UPDATE {CAP1} SET CODID=106 WHERE COD1=109")));
        other.execute(reg.expand(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, COD1) VALUES (2010, 105, 130)")));
    }
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=105")), (V {"i:130"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1} WHERE CODID=106 ORDER BY COD1")), (V {"i:109", "i:110"}));
}

TEST(TableHandleIndex, LookupsMatchAScanAfterEveryChange)
{
    Register reg(QStringLiteral("register-dbase4"));
    engine::TableHandle handle(reg.file(QStringLiteral("CAP2.dbf")));
    const int codid = handle.table().fieldIndex(QStringLiteral("CODID"));
    const int categ = handle.table().fieldIndex(QStringLiteral("CATEG"));
    const auto scan = [&](double value) {
        std::vector<int> rows;
        for (int r = 0; r < handle.table().recordCount(); ++r) {
            if (handle.table().number(r, codid) == std::optional<double>(value))
                rows.push_back(r);
        }
        return rows;
    };
    const auto lookup = [&](double value) {
        const std::vector<int>* found = handle.index(codid).lookupNumber(value);
        return found ? *found : std::vector<int>();
    };
    EXPECT_EQ(lookup(101), scan(101));
    EXPECT_EQ(lookup(101).size(), 12u);
    handle.update(3, {{codid, std::int64_t(777)}});
    handle.append({std::int64_t(2010), std::int64_t(777), QStringLiteral("adaugat")});
    for (double v : {101.0, 102.0, 105.0, 777.0, 1.0})
        EXPECT_EQ(lookup(v), scan(v)) << v;
    const auto* text = handle.index(categ).lookupBytes(QByteArray("adaugat"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(*text, std::vector<int>({handle.table().recordCount() - 1}));
    EXPECT_EQ(handle.index(categ).lookupBytes(QByteArray("Teren arabil"))->size(), 4u);
}

}
