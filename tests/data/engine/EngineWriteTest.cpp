// Tables the engine creates and changes: read back identically, and laid out as dBase IV files
// that other programs read.

#include "EngineTestSupport.h"

#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfTable.h"
#include "data/engine/TableHandle.h"

#include <QFile>

using namespace velmor;
using test::byteAt;
using test::le16;
using test::le32;
using test::existingFileBytes;
using test::Register;
using test::Rows;

namespace {

using V = std::vector<std::string>;

struct Descriptor {
    const char* name;
    char type;
    int width;
    int decimals;
};

// Checks the header of a dBase IV table written by the engine; returns the record length.
int expectDbaseFourHeader(const QByteArray& b, int version, const std::vector<Descriptor>& fields, quint32 records)
{
    const int headerLength = 32 + 32 * int(fields.size()) + 1;
    int recordLength = 1;
    for (const auto& f : fields)
        recordLength += f.width;
    EXPECT_EQ(byteAt(b, 0), version);
    EXPECT_EQ(le32(b, 4), records);
    EXPECT_EQ(le16(b, 8), headerLength);
    EXPECT_EQ(le16(b, 10), recordLength);
    EXPECT_EQ(byteAt(b, 28), 0);
    EXPECT_EQ(byteAt(b, 29), 0xC8);
    for (size_t i = 0; i < fields.size(); ++i) {
        SCOPED_TRACE(fields[i].name);
        const int at = 32 + 32 * int(i);
        const QByteArray name(fields[i].name);
        EXPECT_EQ(b.mid(at, 11), name + QByteArray(11 - name.size(), '\0'));
        EXPECT_EQ(b.at(at + 11), fields[i].type);
        EXPECT_EQ(byteAt(b, at + 16), fields[i].width);
        EXPECT_EQ(byteAt(b, at + 17), fields[i].decimals);
    }
    EXPECT_EQ(byteAt(b, headerLength - 1), 0x0D);
    // The end-of-file marker follows the last record.
    EXPECT_EQ(b.size(), headerLength + qsizetype(records) * recordLength + 1);
    EXPECT_EQ(byteAt(b, b.size() - 1), 0x1A);
    return recordLength;
}

const std::vector<Descriptor> kCap1 = {
    {"ANUL", 'N', 4, 0},  {"CODID", 'N', 10, 0}, {"NUMEP", 'C', 40, 0}, {"CNP", 'C', 13, 0},
    {"CODSEX", 'N', 1, 0}, {"DENUM", 'C', 24, 0}, {"COD", 'N', 1, 0},    {"DATAN", 'D', 8, 0},
    {"COD1", 'N', 10, 0}, {"MENTIUNI", 'C', 240, 0},
};

class EngineWrite : public ::testing::Test {
protected:
    Register reg;

    void createRegisterTables()
    {
        // The layouts as the table creators send them, one text line after another.
        reg.exec(QStringLiteral("CREATE TABLE {CAP1}\n"
                                "(ANUL DECIMAL(4,0), CODID DECIMAL(10,0),\n"
                                "NUMEP CHAR(40), CNP CHAR(13), CODSEX DECIMAL(1,0), DENUM CHAR(24), COD DECIMAL(1,0),\n"
                                "DATAN DATE, COD1 DECIMAL(10,0), MENTIUNI CHAR(240) )"));
        reg.exec(QStringLiteral("CREATE TABLE {CAP11}\n(ANUL DECIMAL(4,0),CODID DECIMAL(10,0),MENTIUNI BLOB(1,1) )"));
        reg.exec(QStringLiteral("CREATE TABLE {CAP2}\n"
                                "( ANUL DECIMAL(4,0), CODID DECIMAL(10,0),\n"
                                "CATEG CHAR(60), AHA DECIMAL(4,0), AARI DECIMAL(6,2), BHA DECIMAL(4,0), BARI DECIMAL(6,2),\n"
                                "CHA DECIMAL(4,0), CARI DECIMAL(6,2), RAND DECIMAL(3,0), IHA DECIMAL(4,0), IARI DECIMAL(6,2) )"));
        reg.exec(QStringLiteral("CREATE TABLE {Tarlale}\n"
                                "(ANUL DECIMAL(4,0),CODID DECIMAL(10,0),CODT DECIMAL(10,0),\n"
                                " OBS CHAR(240),  ACT CHAR(45), NRACT CHAR(15), DATAELIB CHAR(11),\n"
                                "INTRA CHAR(10),  TARLA CHAR(32), NRTARLA CHAR(16), NRPARC CHAR(16),\n"
                                "CATEG CHAR(30),  SUPRAF DECIMAL(10,4), VECN CHAR(120), VECS CHAR(120), VECE CHAR(120), VECV CHAR(120),\n"
                                "CARFUN CHAR(50), NRCAD CHAR(10), CINELUC CHAR(40) )"));
        reg.exec(QStringLiteral("CREATE TABLE {CAP7}\n( ANUL DECIMAL(4,0), CODID DECIMAL(10,0),\nCATEG CHAR(60), NR DECIMAL(7,0), RAND DECIMAL(4,1) )"));
    }
};

TEST_F(EngineWrite, CreatedTablesFollowTheDbaseFourLayout)
{
    createRegisterTables();
    expectDbaseFourHeader(existingFileBytes(reg.file(QStringLiteral("CAP1.dbf"))), 0x03, kCap1, 0);
    expectDbaseFourHeader(existingFileBytes(reg.file(QStringLiteral("CAP11.dbf"))), 0x8B,
                          {{"ANUL", 'N', 4, 0}, {"CODID", 'N', 10, 0}, {"MENTIUNI", 'M', 10, 0}}, 0);
    expectDbaseFourHeader(existingFileBytes(reg.file(QStringLiteral("CAP2.dbf"))), 0x03,
                          {{"ANUL", 'N', 4, 0}, {"CODID", 'N', 10, 0}, {"CATEG", 'C', 60, 0}, {"AHA", 'N', 4, 0},
                           {"AARI", 'N', 6, 2}, {"BHA", 'N', 4, 0}, {"BARI", 'N', 6, 2}, {"CHA", 'N', 4, 0},
                           {"CARI", 'N', 6, 2}, {"RAND", 'N', 3, 0}, {"IHA", 'N', 4, 0}, {"IARI", 'N', 6, 2}},
                          0);
    const QByteArray tarlale = existingFileBytes(reg.file(QStringLiteral("Tarlale.dbf")));
    EXPECT_EQ(le16(tarlale, 10), 1 + 4 + 10 + 10 + 240 + 45 + 15 + 11 + 10 + 32 + 16 + 16 + 30 + 10 + 4 * 120 + 50 + 10 + 40);
    EXPECT_EQ(byteAt(tarlale, 32 + 32 * 12 + 16), 10); // SUPRAF width
    EXPECT_EQ(byteAt(tarlale, 32 + 32 * 12 + 17), 4);  // SUPRAF decimals
    const QByteArray cap7 = existingFileBytes(reg.file(QStringLiteral("CAP7.dbf")));
    EXPECT_EQ(byteAt(cap7, 32 + 32 * 4 + 16), 4);
    EXPECT_EQ(byteAt(cap7, 32 + 32 * 4 + 17), 1);

    // Only the memo table has a memo file: one 512-byte header block.
    const QByteArray memo = existingFileBytes(reg.file(QStringLiteral("CAP11.dbt")));
    ASSERT_EQ(memo.size(), 512);
    EXPECT_EQ(le32(memo, 0), 1u);
    EXPECT_EQ(le16(memo, 20), 512);
    EXPECT_FALSE(QFile::exists(reg.file(QStringLiteral("CAP1.dbt"))));
    EXPECT_FALSE(QFile::exists(reg.file(QStringLiteral("CAP1.mdx"))));

    const auto r = reg.select(QStringLiteral("SELECT * FROM {CAP1}"));
    EXPECT_EQ(test::fieldNames(r), (V {"ANUL", "CODID", "NUMEP", "CNP", "CODSEX", "DENUM", "COD", "DATAN", "COD1", "MENTIUNI"}));
    EXPECT_TRUE(r.rows.empty());
}

TEST_F(EngineWrite, InsertUpdateDeleteAndPackReadBackAndKeepTheLayout)
{
    createRegisterTables();
    reg.exec(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, NUMEP, CNP, CODSEX, DENUM, COD, DATAN, COD1, MENTIUNI)\n"
                            "VALUES (2010, 101, \"ȘTEFĂNESCU ȚICU\", \"1800101221144\", 1, \"Cap de gospodarie\", 1, \"1980-01-01\", 1, \"\")"));
    reg.exec(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, NUMEP, COD, DATAN, COD1) VALUES (2010, 101, \"POPESCU MARIA\", 2, \"1948-02-29\", 2)"));
    reg.exec(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, NUMEP, COD, COD1) VALUES (2010, 102, \"RUSU PETRU\", 1, 3)"));
    reg.exec(QStringLiteral("INSERT INTO {CAP11} (ANUL, CODID, MENTIUNI) VALUES (2010, 101, \"Primul rând,\r\nal doilea rând: ș ț ă î â.\")"));

    const Rows expected = {
        {"i:2010", "i:101", "t:ŞTEFĂNESCU ŢICU", "t:1800101221144", "i:1", "t:Cap de gospodarie", "i:1", "d:1980-01-01", "i:1", "NULL"},
        {"i:2010", "i:101", "t:POPESCU MARIA", "NULL", "NULL", "NULL", "i:2", "d:1948-02-29", "i:2", "NULL"},
        {"i:2010", "i:102", "t:RUSU PETRU", "NULL", "NULL", "NULL", "i:1", "NULL", "i:3", "NULL"},
    };
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT * FROM {CAP1}")), expected);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT MENTIUNI FROM {CAP11}")), "t:Primul rând,\r\nal doilea rând: ş ţ ă î â.");

    // The bytes: one record per row in Windows-1250, numbers right-aligned, dates yyyyMMdd.
    QByteArray b = existingFileBytes(reg.file(QStringLiteral("CAP1.dbf")));
    const int recordLength = expectDbaseFourHeader(b, 0x03, kCap1, 3);
    const int header = 32 + 32 * 10 + 1;
    const QByteArray first = b.mid(header, recordLength);
    EXPECT_EQ(first.left(1), QByteArray(" "));
    EXPECT_EQ(first.mid(1, 4), QByteArray("2010"));
    EXPECT_EQ(first.mid(5, 10), QByteArray("       101"));
    EXPECT_EQ(first.mid(15, 40), QByteArray("\xAA" "TEF\xC3NESCU \xDE" "ICU").leftJustified(40));
    EXPECT_EQ(first.mid(55, 13), QByteArray("1800101221144"));
    EXPECT_EQ(first.mid(68, 1), QByteArray("1"));
    EXPECT_EQ(first.mid(94, 8), QByteArray("19800101"));
    EXPECT_EQ(first.mid(102, 10), QByteArray("         1"));
    EXPECT_EQ(first.mid(112, 240), QByteArray(240, ' '));
    EXPECT_EQ(b.mid(header + 2 * recordLength + 94, 8), QByteArray(8, ' '));

    QByteArray notes = existingFileBytes(reg.file(QStringLiteral("CAP11.dbf")));
    expectDbaseFourHeader(notes, 0x8B, {{"ANUL", 'N', 4, 0}, {"CODID", 'N', 10, 0}, {"MENTIUNI", 'M', 10, 0}}, 1);
    EXPECT_EQ(notes.mid(32 + 96 + 1 + 15, 10), QByteArray("         1"));
    const QByteArray memo = existingFileBytes(reg.file(QStringLiteral("CAP11.dbt")));
    const QByteArray text = dbf::cp1250::encode(QStringLiteral("Primul rând,\r\nal doilea rând: ş ţ ă î â."));
    ASSERT_EQ(memo.size(), 1024);
    EXPECT_EQ(le32(memo, 0), 2u);
    EXPECT_EQ(memo.mid(512, 4), QByteArray("\xFF\xFF\x08\x00", 4));
    EXPECT_EQ(le32(memo, 516), quint32(text.size() + 8));
    EXPECT_EQ(memo.mid(520, text.size()), text);

    // Update in place; delete marks the record and keeps it until the table is packed.
    EXPECT_EQ(reg.exec(QStringLiteral("UPDATE {CAP1} SET NUMEP=\"POPESCU MARIA ȘTEFANIA\", CODSEX=2 WHERE COD1=2")), 1);
    EXPECT_EQ(reg.exec(QStringLiteral("DELETE FROM {CAP1} WHERE COD1=1")), 1);
    b = existingFileBytes(reg.file(QStringLiteral("CAP1.dbf")));
    expectDbaseFourHeader(b, 0x03, kCap1, 3);
    EXPECT_EQ(b.at(header), '*');
    EXPECT_EQ(b.at(header + recordLength), ' ');
    EXPECT_EQ(b.mid(header + recordLength + 15, 40), QByteArray("POPESCU MARIA \xAA" "TEFANIA").leftJustified(40));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT COD1 FROM {CAP1}")), (V {"i:2", "i:3"}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT CODSEX FROM {CAP1} WHERE COD1=2")), "i:2");

    // Memo changed: the record points to a new block.
    reg.exec(QStringLiteral("UPDATE {CAP11} SET MENTIUNI=\"Alt text\" WHERE CODID=101"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT MENTIUNI FROM {CAP11}")), "t:Alt text");
    notes = existingFileBytes(reg.file(QStringLiteral("CAP11.dbf")));
    EXPECT_EQ(notes.mid(32 + 96 + 1 + 15, 10), QByteArray("         2"));

    // Packing through the engine's table removes the deleted record from the file.
    reg.engine.table(reg.file(QStringLiteral("CAP1.dbf"))).pack();
    b = existingFileBytes(reg.file(QStringLiteral("CAP1.dbf")));
    expectDbaseFourHeader(b, 0x03, kCap1, 2);
    EXPECT_EQ(b.mid(header + 15, 13), QByteArray("POPESCU MARIA"));
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT COD1, NUMEP FROM {CAP1}")),
              (Rows {{"i:2", "t:POPESCU MARIA ŞTEFANIA"}, {"i:3", "t:RUSU PETRU"}}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE COD1=3")), "t:RUSU PETRU");

    // Another engine reads the same rows.
    engine::Engine other(reg.home.data());
    EXPECT_EQ(test::shownRows(other.select(reg.expand(QStringLiteral("SELECT COD1, NUMEP, DATAN FROM {CAP1}")))),
              (Rows {{"i:2", "t:POPESCU MARIA ŞTEFANIA", "d:1948-02-29"}, {"i:3", "t:RUSU PETRU", "NULL"}}));
    EXPECT_EQ(test::shownRows(other.select(reg.expand(QStringLiteral("SELECT MENTIUNI FROM {CAP11}")))), (Rows {{"t:Alt text"}}));
}

TEST_F(EngineWrite, PackingADbfTableOutsideTheEngineIsSeen)
{
    createRegisterTables();
    for (int i = 1; i <= 6; ++i)
        reg.exec(QStringLiteral("INSERT INTO {CAP7} (ANUL, CODID, NR, RAND) VALUES (2010, %1, %2, %3.1)").arg(100 + i).arg(i).arg(i));
    reg.exec(QStringLiteral("DELETE FROM {CAP7} WHERE NR IN (2, 4, 6)"));
    {
        dbf::DbfTable t(reg.file(QStringLiteral("CAP7.dbf")));
        EXPECT_EQ(t.deletedCount(), 3);
        t.pack();
    }
    const QByteArray b = existingFileBytes(reg.file(QStringLiteral("CAP7.dbf")));
    expectDbaseFourHeader(b, 0x03, {{"ANUL", 'N', 4, 0}, {"CODID", 'N', 10, 0}, {"CATEG", 'C', 60, 0}, {"NR", 'N', 7, 0}, {"RAND", 'N', 4, 1}}, 3);
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT CODID, RAND FROM {CAP7}")),
              (Rows {{"i:101", "r:1.1"}, {"i:103", "r:3.1"}, {"i:105", "r:5.1"}}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT CODID FROM {CAP7} WHERE RAND=5.1")), "i:105");
}

TEST_F(EngineWrite, AlterTableAddsAndDropsSeveralColumns)
{
    Register fixture(QStringLiteral("register-dbase4"));
    const Rows before = fixture.rows(QStringLiteral("SELECT ANUL, CODID, NUMEP, DATAN, COD1, MENTIUNI FROM {CAP1} ORDER BY COD1"));
    fixture.exec(QStringLiteral("ALTER TABLE {CAP1}\nADD LOCALIT CHAR(40), DROP CNP, ADD SUMA DECIMAL(8,2), DROP CODSEX, ADD NOTA BLOB(1,1)"));
    const auto r = fixture.select(QStringLiteral("SELECT * FROM {CAP1}"));
    EXPECT_EQ(test::fieldNames(r), (V {"ANUL", "CODID", "NUMEP", "DENUM", "COD", "DATAN", "COD1", "MENTIUNI", "LOCALIT", "SUMA", "NOTA"}));
    EXPECT_EQ(fixture.rows(QStringLiteral("SELECT ANUL, CODID, NUMEP, DATAN, COD1, MENTIUNI FROM {CAP1} ORDER BY COD1")), before);
    EXPECT_EQ(fixture.one(QStringLiteral("SELECT Count(*) FROM {CAP1} WHERE LOCALIT IS NULL AND SUMA IS NULL AND NOTA IS NULL")), "i:12");
    const QByteArray b = existingFileBytes(fixture.file(QStringLiteral("CAP1.dbf")));
    expectDbaseFourHeader(b, 0x8B,
                          {{"ANUL", 'N', 4, 0}, {"CODID", 'N', 10, 0}, {"NUMEP", 'C', 40, 0}, {"DENUM", 'C', 24, 0},
                           {"COD", 'N', 1, 0}, {"DATAN", 'D', 8, 0}, {"COD1", 'N', 10, 0}, {"MENTIUNI", 'C', 240, 0},
                           {"LOCALIT", 'C', 40, 0}, {"SUMA", 'N', 8, 2}, {"NOTA", 'M', 10, 0}},
                          12);
    EXPECT_TRUE(QFile::exists(fixture.file(QStringLiteral("CAP1.dbt"))));

    // The new columns take values; the memo goes to the new memo file.
    fixture.exec(QStringLiteral("UPDATE {CAP1} SET LOCALIT=\"SAT NOU\", SUMA=12.5, NOTA=\"o notă\" WHERE COD1=105"));
    EXPECT_EQ(fixture.rows(QStringLiteral("SELECT NUMEP, LOCALIT, SUMA, NOTA FROM {CAP1} WHERE COD1=105")),
              (Rows {{"t:ŢĂRAN ŞTEFANA", "t:SAT NOU", "r:12.5", "t:o notă"}}));

    // Replacing a column through a helper column, as the schema upgrade does.
    fixture.exec(QStringLiteral("ALTER TABLE {CAP1} ADD XXX CHAR(24)"));
    fixture.exec(QStringLiteral("UPDATE {CAP1} SET XXX=DENUM"));
    fixture.exec(QStringLiteral("ALTER TABLE {CAP1} DROP DENUM"));
    fixture.exec(QStringLiteral("ALTER TABLE {CAP1} ADD DENUM CHAR(30)"));
    fixture.exec(QStringLiteral("UPDATE {CAP1} SET DENUM=XXX"));
    fixture.exec(QStringLiteral("ALTER TABLE {CAP1} DROP XXX"));
    EXPECT_EQ(fixture.column(QStringLiteral("SELECT DENUM FROM {CAP1} WHERE CODID=104 ORDER BY COD")),
              (V {"t:Cap de gospodarie", "t:Nepot / Nepoata"}));
    EXPECT_EQ(fixture.select(QStringLiteral("SELECT DENUM FROM {CAP1}")).fields[0].width, 30);
    EXPECT_EQ(fixture.one(QStringLiteral("SELECT NOTA FROM {CAP1} WHERE COD1=105")), "t:o notă");

    // An error in one action changes nothing.
    const QByteArray unchanged = existingFileBytes(fixture.file(QStringLiteral("CAP1.dbf")));
    EXPECT_FALSE(fixture.error(QStringLiteral("ALTER TABLE {CAP1} ADD ALTA CHAR(3), DROP NIMIC")).isEmpty());
    EXPECT_EQ(existingFileBytes(fixture.file(QStringLiteral("CAP1.dbf"))), unchanged);
}

TEST_F(EngineWrite, ForeignFormatsKeepTheirVersionByte)
{
    struct Case {
        const char* folder;
        int plain;
        int memo;
        int firstDescriptor;
        int descriptorSize;
    };
    for (const Case& c : {Case {"register-level7", 0x04, 0x8C, 68, 48}, Case {"register-dbase3", 0x03, 0x83, 32, 32}}) {
        SCOPED_TRACE(c.folder);
        Register fixture(QString::fromLatin1(c.folder));
        fixture.exec(QStringLiteral("INSERT INTO {CAP1} (ANUL, CODID, NUMEP, COD1) VALUES (2011, 200, \"NOU ȚĂRAN\", 300)"));
        fixture.exec(QStringLiteral("UPDATE {CAP1} SET NUMEP=\"POPESCU IOAN\" WHERE COD1=101"));
        fixture.exec(QStringLiteral("INSERT INTO {CAP11} (ANUL, CODID, MENTIUNI) VALUES (2011, 200, \"notă nouă\")"));
        fixture.exec(QStringLiteral("UPDATE {CAP11} SET MENTIUNI=\"schimbat\" WHERE CODID=1"));
        fixture.exec(QStringLiteral("DELETE FROM {OmTarla} WHERE TITULAR=\"POPESCU MARIA\""));
        const QByteArray cap1 = existingFileBytes(fixture.file(QStringLiteral("CAP1.dbf")));
        EXPECT_EQ(byteAt(cap1, 0), c.plain);
        EXPECT_EQ(le32(cap1, 4), 13u);
        EXPECT_EQ(byteAt(cap1, cap1.size() - 1), 0x1A);
        EXPECT_EQ(cap1.size(), le16(cap1, 8) + 13 * le16(cap1, 10) + 1);
        EXPECT_EQ(byteAt(existingFileBytes(fixture.file(QStringLiteral("CAP11.dbf"))), 0), c.memo);

        // A fresh engine reads the changes.
        engine::Engine other(fixture.home.data());
        const auto rows = [&](const char* sql) { return test::shownRows(other.select(fixture.expand(QString::fromUtf8(sql)))); };
        EXPECT_EQ(rows("SELECT NUMEP FROM {CAP1} WHERE COD1 IN (101, 300) ORDER BY COD1"),
                  (Rows {{"t:POPESCU IOAN"}, {"t:NOU ŢĂRAN"}}));
        EXPECT_EQ(rows("SELECT CODID, MENTIUNI FROM {CAP11} ORDER BY CODID"),
                  (Rows {{"i:1", "t:schimbat"}, {"i:101", "t:Teren în arendă la AGRO SRL.\r\nVerificat în teren 2010."},
                         {"i:200", "t:notă nouă"}}));
        EXPECT_EQ(rows("SELECT Count(*) FROM {OmTarla}"), (Rows {{"i:4"}}));

        // Restructured, the table stays in its format.
        fixture.exec(QStringLiteral("ALTER TABLE {OmTarla} ADD NOTA CHAR(5), DROP ANUL"));
        const QByteArray om = existingFileBytes(fixture.file(QStringLiteral("OmTarla.dbf")));
        EXPECT_EQ(byteAt(om, 0), c.plain);
        EXPECT_EQ(le16(om, 8), c.firstDescriptor + 4 * c.descriptorSize + 1);
        EXPECT_EQ(le16(om, 10), 1 + 10 + 10 + 40 + 5);
        EXPECT_EQ(om.size(), le16(om, 8) + 5 * le16(om, 10) + 1);
        EXPECT_EQ(fixture.rows(QStringLiteral("SELECT CODT, TITULAR, NOTA FROM {OmTarla} WHERE CODT=501")),
                  (Rows {{"i:501", "t:POPESCU ION", "NULL"}}));
        EXPECT_EQ(test::shownRows(other.select(fixture.expand(QStringLiteral("SELECT CODT FROM {OmTarla} WHERE CODT<500")))),
                  (Rows {{"i:401"}}));
    }
}

TEST_F(EngineWrite, ManyRowsInOneStatementReachTheFile)
{
    reg.exec(QStringLiteral("CREATE TABLE {Mult} (NR DECIMAL(6,0), NUME CHAR(8))"));
    reg.exec(QStringLiteral("INSERT INTO {Mult} (NR, NUME) VALUES (1, \"rând\")"));
    for (int i = 0; i < 13; ++i)
        reg.exec(QStringLiteral("INSERT INTO {Mult} (NR, NUME) SELECT NR + %1, NUME FROM {Mult}").arg(1 << i));
    const QByteArray b = existingFileBytes(reg.file(QStringLiteral("Mult.dbf")));
    expectDbaseFourHeader(b, 0x03, {{"NR", 'N', 6, 0}, {"NUME", 'C', 8, 0}}, 8192);
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT Count(*), Count(DISTINCT NR), MIN(NR), MAX(NR) FROM {Mult}")),
              (Rows {{"i:8192", "i:8192", "i:1", "i:8192"}}));
    dbf::DbfTable t(reg.file(QStringLiteral("Mult.dbf")));
    EXPECT_EQ(t.recordCount(), 8192);
    EXPECT_EQ(test::show(t.value(8191, 0)), "i:8192");
    EXPECT_EQ(test::show(t.value(8191, 1)), "t:rând");
}

TEST_F(EngineWrite, AStatementFailingHalfWayLeavesACompleteFile)
{
    reg.exec(QStringLiteral("CREATE TABLE {Sursa} (NR DECIMAL(4,0))"));
    reg.exec(QStringLiteral("CREATE TABLE {Tinta} (NR DECIMAL(2,0))"));
    for (int i = 95; i <= 104; ++i)
        reg.exec(QStringLiteral("INSERT INTO {Sursa} (NR) VALUES (%1)").arg(i));
    // 100 does not fit two places: the rows before it stay, nothing is rolled back.
    EXPECT_FALSE(reg.error(QStringLiteral("INSERT INTO {Tinta} (NR) SELECT NR FROM {Sursa}")).isEmpty());
    const QByteArray b = existingFileBytes(reg.file(QStringLiteral("Tinta.dbf")));
    expectDbaseFourHeader(b, 0x03, {{"NR", 'N', 2, 0}}, 5);
    EXPECT_EQ(reg.column(QStringLiteral("SELECT NR FROM {Tinta}")), (V {"i:95", "i:96", "i:97", "i:98", "i:99"}));
    EXPECT_EQ(dbf::DbfTable(reg.file(QStringLiteral("Tinta.dbf"))).recordCount(), 5);
    // The table goes on taking rows.
    reg.exec(QStringLiteral("INSERT INTO {Tinta} (NR) VALUES (7)"));
    expectDbaseFourHeader(existingFileBytes(reg.file(QStringLiteral("Tinta.dbf"))), 0x03, {{"NR", 'N', 2, 0}}, 6);
}

TEST_F(EngineWrite, CharactersOutsideTheCodePageAddNoRow)
{
    createRegisterTables();
    const QString message = reg.error(QStringLiteral("INSERT INTO {CAP1} (ANUL, NUMEP) VALUES (2010, \"中\")"));
    EXPECT_FALSE(message.isEmpty());
    EXPECT_TRUE(message.contains(QStringLiteral("中"))) << message.toStdString();
    expectDbaseFourHeader(existingFileBytes(reg.file(QStringLiteral("CAP1.dbf"))), 0x03, kCap1, 0);
    // Letters of the code page beyond the Romanian ones are kept.
    reg.exec(QStringLiteral("INSERT INTO {CAP1} (ANUL, NUMEP) VALUES (2010, \"ŁÓDŹ € Ř\")"));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUMEP FROM {CAP1}")), "t:ŁÓDŹ € Ř");
}

}
