// Damaged tables and memo files: each gives an error naming the file, never a crash or a hang.

#include "DbfTestSupport.h"

#include "data/dbf/DbfError.h"
#include "data/dbf/DbfTable.h"
#include "support/TestDirs.h"

#include <QFile>

using namespace velmor;
using test::RawField;
using test::rawHeader;
using test::rawRecord;
using test::le16;
using test::writeBytes;

namespace {

const QList<RawField> kFields = {{"ANUL", 'N', 4, 0}, {"NUME", 'C', 10, 0}};
const QList<RawField> kMemoFields = {{"ANUL", 'N', 4, 0}, {"NOTE", 'M', 10, 0}};

QByteArray validTable()
{
    return rawHeader(0x03, 2, kFields) + rawRecord(kFields, {"2010", "ION"}) + rawRecord(kFields, {"2009", "ANA"}) + "\x1A";
}

// Opens the table and reads every value; returns the error message, or an empty text when it opened.
QString openAndReadAll(const QString& path)
{
    try {
        dbf::DbfTable t(path);
        for (int r = 0; r < t.recordCount(); ++r) {
            for (int c = 0; c < t.fieldCount(); ++c) {
                (void)t.value(r, c);
                (void)t.text(r, c);
                (void)t.isNull(r, c);
            }
        }
        return {};
    } catch (const dbf::DbfError& e) {
        return e.message().isEmpty() ? QStringLiteral("?") : e.message();
    }
}

class DbfDamage : public ::testing::Test {
protected:
    QString file(const QString& name) const { return home.dataFile(name); }

    // The table must be refused with a message naming `named`.
    void expectRefused(const QString& name, const QByteArray& bytes, const QString& named = {})
    {
        const QString path = file(name);
        writeBytes(path, bytes);
        const QString message = openAndReadAll(path);
        EXPECT_FALSE(message.isEmpty()) << name.toStdString() << " opened";
        EXPECT_TRUE(message.contains(named.isEmpty() ? name : named)) << message.toStdString();
    }

    test::TempHome home;
};

TEST_F(DbfDamage, ValidTableOpens)
{
    writeBytes(file(QStringLiteral("Bun.dbf")), validTable());
    EXPECT_EQ(openAndReadAll(file(QStringLiteral("Bun.dbf"))), QString());
    dbf::DbfTable t(file(QStringLiteral("Bun.dbf")));
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_EQ(test::show(t.value(1, 1)), "t:ANA");
}

TEST_F(DbfDamage, EmptyFile)
{
    expectRefused(QStringLiteral("Gol.dbf"), QByteArray());
}

TEST_F(DbfDamage, HeaderShorterThan32Bytes)
{
    expectRefused(QStringLiteral("Scurt.dbf"), validTable().left(20));
    expectRefused(QStringLiteral("Scurt31.dbf"), validTable().left(31));
}

TEST_F(DbfDamage, HeaderCutInsideTheDescriptors)
{
    expectRefused(QStringLiteral("Taiat.dbf"), validTable().left(50));
    expectRefused(QStringLiteral("Taiat2.dbf"), validTable().left(32 + 64)); // terminator missing
}

TEST_F(DbfDamage, RecordCountBeyondTheEndOfTheFile)
{
    QByteArray b = validTable();
    qToLittleEndian<quint32>(1000, b.data() + 4);
    expectRefused(QStringLiteral("Numar.dbf"), b);
    // One record too many, the end marker being no record.
    qToLittleEndian<quint32>(3, b.data() + 4);
    expectRefused(QStringLiteral("Numar3.dbf"), b);
    qToLittleEndian<quint32>(0xFFFFFFFFu, b.data() + 4);
    expectRefused(QStringLiteral("NumarMare.dbf"), b);
}

TEST_F(DbfDamage, FieldWithZeroWidth)
{
    QList<RawField> fields = kFields;
    fields[1].width = 0;
    expectRefused(QStringLiteral("Latime.dbf"), rawHeader(0x03, 0, fields) + "\x1A");
}

TEST_F(DbfDamage, FieldTerminatorMissing)
{
    QByteArray b = validTable();
    b[32 + 64] = 'X';
    expectRefused(QStringLiteral("Terminator.dbf"), b);
}

TEST_F(DbfDamage, OtherBadDescriptorsAndLengths)
{
    QList<RawField> decimals = kFields;
    decimals[0] = {"ANUL", 'N', 4, 4};
    expectRefused(QStringLiteral("Zecimale.dbf"), rawHeader(0x03, 0, decimals) + "\x1A");

    QList<RawField> noName = kFields;
    noName[0].name = "";
    expectRefused(QStringLiteral("FaraNume.dbf"), rawHeader(0x03, 0, noName) + "\x1A");

    QByteArray length = validTable();
    qToLittleEndian<quint16>(99, length.data() + 10); // record length not the sum of the widths
    expectRefused(QStringLiteral("Lungime.dbf"), length);

    QByteArray header = validTable();
    qToLittleEndian<quint16>(5000, header.data() + 8); // header beyond the file
    expectRefused(QStringLiteral("Antet.dbf"), header);

    QByteArray zero = validTable();
    qToLittleEndian<quint16>(0, zero.data() + 8);
    expectRefused(QStringLiteral("AntetZero.dbf"), zero);

    QByteArray version = validTable();
    version[0] = char(0x02);
    expectRefused(QStringLiteral("Versiune.dbf"), version);

    expectRefused(QStringLiteral("FaraColoane.dbf"), rawHeader(0x03, 0, {}) + "\x1A");
}

TEST_F(DbfDamage, ColumnNamesAreLettersDigitsAndUnderscore)
{
    struct Case {
        const char* name;
        const char* shown; // in the message
    };
    const Case cases[] = {
        {"A\"B);--", "A\"B);--"}, {"X\" N,\"Y", "X\" N,\"Y"}, {"NU ME", "NU ME"},
        {"AN-UL", "AN-UL"}, {"A\xC9" "B", "A\u00C9B"}, {"ANUL", "ANUL"} /* twice */,
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QList<RawField> fields = {{"ANUL", 'N', 4, 0}, {c.name, 'C', 3, 0}};
        const QString name = QStringLiteral("Nume%1.dbf").arg(++n);
        expectRefused(name, rawHeader(0x03, 1, fields) + rawRecord(fields, {"2010", "ABC"}) + "\x1A");
        const QString message = openAndReadAll(file(name));
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.shown))) << message.toStdString();
    }
    // Names other programs write: lower case, digits, underscore.
    const QList<RawField> good = {{"anul", 'N', 4, 0}, {"COD_1", 'C', 3, 0}, {"_9", 'C', 1, 0}};
    writeBytes(file(QStringLiteral("Bune.dbf")), rawHeader(0x03, 1, good) + rawRecord(good, {"2010", "ABC", "x"}) + "\x1A");
    EXPECT_EQ(openAndReadAll(file(QStringLiteral("Bune.dbf"))), QString());
}

TEST_F(DbfDamage, MemoNextFreeBlockBeyondTheFileIsAnErrorAndNothingIsWritten)
{
    QByteArray memo(512, '\0');
    qToLittleEndian<quint16>(512, memo.data() + 20);
    const QByteArray table = rawHeader(0x8B, 1, kMemoFields) + rawRecord(kMemoFields, {"2010", ""}) + "\x1A";
    for (const quint32 next : {0xFFFFFFFFu, 0x80000000u, 2u}) {
        SCOPED_TRACE(next);
        qToLittleEndian<quint32>(next, memo.data());
        writeBytes(file(QStringLiteral("Note.dbt")), memo);
        writeBytes(file(QStringLiteral("Note.dbf")), table);
        dbf::DbfTable t(file(QStringLiteral("Note.dbf")));
        try {
            t.update(0, {{1, QStringLiteral("text nou")}});
            ADD_FAILURE() << "written";
        } catch (const dbf::DbfError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("Note.dbt"))) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(QString::number(next))) << e.message().toStdString();
        }
        EXPECT_THROW(t.append({std::int64_t(2011), QStringLiteral("alt text")}), dbf::DbfError);
        EXPECT_EQ(test::existingFileBytes(file(QStringLiteral("Note.dbt"))), memo);
        EXPECT_EQ(test::existingFileBytes(file(QStringLiteral("Note.dbf"))), table);
        EXPECT_EQ(t.recordCount(), 1);
    }
    // The pointer at the end of the file: the text goes there.
    qToLittleEndian<quint32>(1, memo.data());
    writeBytes(file(QStringLiteral("Note.dbt")), memo);
    dbf::DbfTable t(file(QStringLiteral("Note.dbf")));
    t.update(0, {{1, QStringLiteral("text nou")}});
    EXPECT_EQ(t.value(0, 1), dbf::Value(QStringLiteral("text nou")));
    EXPECT_EQ(test::le32(test::existingFileBytes(file(QStringLiteral("Note.dbt"))), 0), 2u);
}

TEST_F(DbfDamage, MissingTableNamesIt)
{
    const QString message = openAndReadAll(file(QStringLiteral("Absent.dbf")));
    EXPECT_TRUE(message.contains(QStringLiteral("Absent.dbf"))) << message.toStdString();
}

TEST_F(DbfDamage, TablesOtherProgramsWriteWithoutEndMarker)
{
    // No end-of-file marker, and a marker followed by padding: both are complete tables.
    writeBytes(file(QStringLiteral("FaraMarcaj.dbf")), validTable().chopped(1));
    EXPECT_EQ(dbf::DbfTable(file(QStringLiteral("FaraMarcaj.dbf"))).recordCount(), 2);
    writeBytes(file(QStringLiteral("Umplut.dbf")), validTable() + QByteArray(100, '\0'));
    dbf::DbfTable t(file(QStringLiteral("Umplut.dbf")));
    EXPECT_EQ(t.recordCount(), 2);
    // Appending writes the marker right after the new record.
    t.append({std::int64_t(2011), QStringLiteral("NOU")});
    const QByteArray b = test::existingFileBytes(file(QStringLiteral("Umplut.dbf")));
    const int end = le16(b, 8) + 3 * le16(b, 10);
    EXPECT_EQ(b.at(end), '\x1A');
    EXPECT_EQ(dbf::DbfTable(file(QStringLiteral("Umplut.dbf"))).recordCount(), 3);
}

TEST_F(DbfDamage, MemoTableWithoutItsMemoFile)
{
    const QByteArray b = rawHeader(0x8B, 1, kMemoFields) + rawRecord(kMemoFields, {"2010", "1"}) + "\x1A";
    writeBytes(file(QStringLiteral("Note.dbf")), b);
    const QString message = openAndReadAll(file(QStringLiteral("Note.dbf")));
    EXPECT_TRUE(message.contains(QStringLiteral("Note.dbt"))) << message.toStdString();
}

TEST_F(DbfDamage, MemoFileShorterThanItsHeader)
{
    const QByteArray b = rawHeader(0x8B, 1, kMemoFields) + rawRecord(kMemoFields, {"2010", "1"}) + "\x1A";
    writeBytes(file(QStringLiteral("Note.dbf")), b);
    writeBytes(file(QStringLiteral("Note.dbt")), QByteArray(100, '\0'));
    const QString message = openAndReadAll(file(QStringLiteral("Note.dbf")));
    EXPECT_TRUE(message.contains(QStringLiteral("Note.dbt"))) << message.toStdString();
}

TEST_F(DbfDamage, MemoPointingOutsideItsFile)
{
    QByteArray memo(512, '\0');
    qToLittleEndian<quint32>(2, memo.data());
    qToLittleEndian<quint16>(512, memo.data() + 20);
    QByteArray block(512, '\0');
    block[0] = '\xFF';
    block[1] = '\xFF';
    block[2] = '\x08';
    qToLittleEndian<quint32>(5000, block.data() + 4); // longer than the file
    writeBytes(file(QStringLiteral("Lung.dbt")), memo + block);
    writeBytes(file(QStringLiteral("Lung.dbf")),
               rawHeader(0x8B, 1, kMemoFields) + rawRecord(kMemoFields, {"2010", "1"}) + "\x1A");
    QString message = openAndReadAll(file(QStringLiteral("Lung.dbf")));
    EXPECT_TRUE(message.contains(QStringLiteral("Lung.dbt"))) << message.toStdString();

    writeBytes(file(QStringLiteral("Bloc.dbt")), memo);
    writeBytes(file(QStringLiteral("Bloc.dbf")),
               rawHeader(0x8B, 1, kMemoFields) + rawRecord(kMemoFields, {"2010", "7"}) + "\x1A");
    message = openAndReadAll(file(QStringLiteral("Bloc.dbf")));
    EXPECT_TRUE(message.contains(QStringLiteral("Bloc.dbt"))) << message.toStdString();
}

TEST_F(DbfDamage, DbaseThreeMemoWithoutEndMarkerEndsAtTheFileEnd)
{
    QByteArray memo(512, '\0');
    qToLittleEndian<quint32>(2, memo.data());
    memo += QByteArray("text fara sfarsit");
    writeBytes(file(QStringLiteral("Vechi.dbt")), memo);
    writeBytes(file(QStringLiteral("Vechi.dbf")),
               rawHeader(0x83, 1, kMemoFields, 0) + rawRecord(kMemoFields, {"2010", "1"}) + "\x1A");
    dbf::DbfTable t(file(QStringLiteral("Vechi.dbf")));
    EXPECT_EQ(t.value(0, 1), dbf::Value(QStringLiteral("text fara sfarsit")));
}

// Every prefix of real tables either opens or is refused with a message; every single-byte change
// of a header does too.
TEST_F(DbfDamage, EveryTruncationAndHeaderByteIsHandled)
{
    for (const char* folder : {"register-dbase4", "register-level7", "register-dbase3"}) {
        SCOPED_TRACE(folder);
        const QByteArray table = test::existingFileBytes(test::fixturePath(QString::fromLatin1(folder) + QStringLiteral("/CAP11.dbf")));
        const QByteArray memo = test::existingFileBytes(test::fixturePath(QString::fromLatin1(folder) + QStringLiteral("/CAP11.dbt")));
        const QString path = file(QStringLiteral("CAP11.dbf"));
        const QString memoPath = file(QStringLiteral("CAP11.dbt"));
        writeBytes(memoPath, memo);
        const int complete = le16(table, 8) + 2 * le16(table, 10);
        for (int size = 0; size < table.size(); ++size) {
            writeBytes(path, table.left(size));
            const QString message = openAndReadAll(path);
            if (size < complete)
                EXPECT_TRUE(message.contains(QStringLiteral("CAP11.dbf"))) << size << ": " << message.toStdString();
            else
                EXPECT_EQ(message, QString()) << size;
        }
        writeBytes(path, table);
        for (int size = 0; size < memo.size(); size += 7) {
            writeBytes(memoPath, memo.left(size));
            const QString message = openAndReadAll(path);
            // dBase IV texts carry their length, so a cut text is noticed; dBase III texts are not.
            const bool cut = size < 512 || (table.at(0) != '\x83' && size < 512 + 62);
            if (cut)
                EXPECT_TRUE(message.contains(QStringLiteral("CAP11.dbt"))) << size << ": " << message.toStdString();
        }
        writeBytes(memoPath, memo);
        const int headerLength = le16(table, 8);
        for (int at = 0; at < headerLength; ++at) {
            for (const unsigned char value : {0x00, 0x0D, 0x1A, 0x7F, 0xFF}) {
                QByteArray b = table;
                b[at] = char(value);
                writeBytes(path, b);
                (void)openAndReadAll(path); // must return, whatever it decides
            }
        }
    }
}

}
