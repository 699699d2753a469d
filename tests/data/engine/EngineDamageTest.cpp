// Damaged tables met by statements: an SqlError whose message names the file, never a crash or
// a hang, and the engine keeps working once the file is whole again.

#include "EngineTestSupport.h"

using namespace velmor;
using test::RawField;
using test::rawHeader;
using test::rawRecord;
using test::Register;
using test::writeBytes;

namespace {

const QList<RawField> kFields = {{"ANUL", 'N', 4, 0}, {"NUME", 'C', 10, 0}};
const QList<RawField> kMemoFields = {{"ANUL", 'N', 4, 0}, {"NOTE", 'M', 10, 0}};

QByteArray validTable()
{
    return rawHeader(0x03, 2, kFields) + rawRecord(kFields, {"2010", "ION"}) + rawRecord(kFields, {"2009", "ANA"}) + "\x1A";
}

class EngineDamage : public ::testing::Test {
protected:
    // Every statement form on the damaged table fails with a message naming `named`.
    void expectRefused(const QString& table, const QString& named)
    {
        const QStringList statements = {
            QStringLiteral("SELECT * FROM {%1}"),
            QStringLiteral("SELECT Count(*) FROM {%1} T, {Bun} B WHERE T.ANUL=B.ANUL"),
            QStringLiteral("INSERT INTO {%1} (ANUL) VALUES (2011)"),
            QStringLiteral("UPDATE {%1} SET ANUL=2011"),
            QStringLiteral("DELETE FROM {%1} WHERE ANUL=2010"),
            QStringLiteral("INSERT INTO {Bun} (ANUL, NUME) SELECT ANUL, \"x\" FROM {%1}"),
            QStringLiteral("ALTER TABLE {%1} ADD X CHAR(2)"),
            QStringLiteral("CREATE INDEX ANUL ON {%1} (ANUL)"),
        };
        for (const QString& s : statements) {
            const QString sql = s.arg(table);
            SCOPED_TRACE(sql.toStdString());
            const QString message = reg.error(sql);
            EXPECT_FALSE(message.isEmpty());
            EXPECT_TRUE(message.contains(named)) << message.toStdString();
        }
        // The good table is untouched and still read.
        EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {Bun}")), "i:2");
    }

    void SetUp() override { writeBytes(reg.file(QStringLiteral("Bun.dbf")), validTable()); }

    Register reg;
};

TEST_F(EngineDamage, EmptyFile)
{
    writeBytes(reg.file(QStringLiteral("Gol.dbf")), QByteArray());
    expectRefused(QStringLiteral("Gol"), QStringLiteral("Gol.dbf"));
}

TEST_F(EngineDamage, TruncatedHeader)
{
    writeBytes(reg.file(QStringLiteral("Scurt.dbf")), validTable().left(20));
    expectRefused(QStringLiteral("Scurt"), QStringLiteral("Scurt.dbf"));
}

TEST_F(EngineDamage, RecordCountBeyondTheEnd)
{
    QByteArray b = validTable();
    qToLittleEndian<quint32>(50, b.data() + 4);
    writeBytes(reg.file(QStringLiteral("Numar.dbf")), b);
    expectRefused(QStringLiteral("Numar"), QStringLiteral("Numar.dbf"));
}

TEST_F(EngineDamage, FieldWithZeroWidth)
{
    QList<RawField> fields = kFields;
    fields[1].width = 0;
    writeBytes(reg.file(QStringLiteral("Latime.dbf")), rawHeader(0x03, 0, fields) + "\x1A");
    expectRefused(QStringLiteral("Latime"), QStringLiteral("Latime.dbf"));
}

TEST_F(EngineDamage, FieldTerminatorMissing)
{
    QByteArray b = validTable();
    b[32 + 64] = ' ';
    writeBytes(reg.file(QStringLiteral("Terminator.dbf")), b);
    expectRefused(QStringLiteral("Terminator"), QStringLiteral("Terminator.dbf"));
}

TEST_F(EngineDamage, MemoTableWithoutMemoFile)
{
    writeBytes(reg.file(QStringLiteral("Note.dbf")),
               rawHeader(0x8B, 1, kMemoFields) + rawRecord(kMemoFields, {"2010", "1"}) + "\x1A");
    expectRefused(QStringLiteral("Note"), QStringLiteral("Note.dbt"));
}

TEST_F(EngineDamage, MemoTextBeyondItsFile)
{
    QByteArray memo(512, '\0');
    qToLittleEndian<quint32>(2, memo.data());
    qToLittleEndian<quint16>(512, memo.data() + 20);
    writeBytes(reg.file(QStringLiteral("Note.dbt")), memo);
    writeBytes(reg.file(QStringLiteral("Note.dbf")),
               rawHeader(0x8B, 2, kMemoFields) + rawRecord(kMemoFields, {"2010", ""}) + rawRecord(kMemoFields, {"2011", "9"}) + "\x1A");
    // Columns other than the memo read; the memo names its file.
    EXPECT_EQ(reg.column(QStringLiteral("SELECT ANUL FROM {Note} ORDER BY ANUL")), (std::vector<std::string> {"i:2010", "i:2011"}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NOTE FROM {Note} WHERE ANUL=2010")), "NULL");
    const QString message = reg.error(QStringLiteral("SELECT NOTE FROM {Note}"));
    EXPECT_TRUE(message.contains(QStringLiteral("Note.dbt"))) << message.toStdString();
}

TEST_F(EngineDamage, TableDamagedAfterItWasReadAndThenRepaired)
{
    writeBytes(reg.file(QStringLiteral("CAP1.dbf")), test::existingFileBytes(test::fixturePath(QStringLiteral("register-dbase4/CAP1.dbf"))));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP1}")), "i:12");
    const QByteArray whole = test::existingFileBytes(reg.file(QStringLiteral("CAP1.dbf")));
    writeBytes(reg.file(QStringLiteral("CAP1.dbf")), whole.left(whole.size() / 2));
    QString message = reg.error(QStringLiteral("SELECT Count(*) FROM {CAP1}"));
    EXPECT_TRUE(message.contains(QStringLiteral("CAP1.dbf"))) << message.toStdString();
    message = reg.error(QStringLiteral("UPDATE {CAP1} SET COD=1"));
    EXPECT_TRUE(message.contains(QStringLiteral("CAP1.dbf"))) << message.toStdString();
    writeBytes(reg.file(QStringLiteral("CAP1.dbf")), whole);
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM {CAP1}")), "i:12");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NUMEP FROM {CAP1} WHERE COD1=105")), "t:ŢĂRAN ŞTEFANA");
}

}
