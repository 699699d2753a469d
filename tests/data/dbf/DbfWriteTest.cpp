// Tables written by the storage layer: byte layout of new dBase IV tables and memo files, appended,
// changed, deleted and packed records, restructuring, the Windows-1250 codec and file names.

#include "DbfTestSupport.h"

#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/DbfTable.h"
#include "data/dbf/FileNames.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <charconv>
#include <cmath>

using namespace velmor;
using test::byteAt;
using test::le16;
using test::le32;
using test::existingFileBytes;
using test::show;

namespace {

using Values = std::vector<dbf::Value>;

dbf::Value I(std::int64_t v) { return v; }
dbf::Value R(double v) { return v; }
dbf::Value T(const QString& v) { return v; }

const QList<dbf::FieldSpec> kLayout = {
    {QStringLiteral("ANUL"), 'N', 4, 0},     {QStringLiteral("CODID"), 'N', 10, 0},
    {QStringLiteral("NUMEP"), 'C', 40, 0},   {QStringLiteral("AARI"), 'N', 6, 2},
    {QStringLiteral("DATAN"), 'D', 8, 0},    {QStringLiteral("MENTIUNI"), 'M', 10, 0},
};

std::string fieldBytes(const QByteArray& file, int headerLength, int recordLength, int row, int offset, int width)
{
    return file.mid(headerLength + row * recordLength + offset, width).toStdString();
}

TEST(DbfCreate, NewTableFollowsDbaseFourLayout)
{
    test::TempHome home;
    const QString path = home.dataFile(QStringLiteral("Nou.dbf"));
    dbf::DbfTable::create(path, kLayout);

    const QByteArray b = velmor::test::existingFileBytes(path);
    const int n = 6;
    const int headerLength = 32 + 32 * n + 1;
    const int recordLength = 1 + 4 + 10 + 40 + 6 + 8 + 10;
    ASSERT_EQ(b.size(), headerLength + 1);
    EXPECT_EQ(byteAt(b, 0), 0x8B); // dBase IV with memo
    const QDate today = QDate::currentDate();
    EXPECT_EQ(byteAt(b, 1), today.year() - 1900);
    EXPECT_EQ(byteAt(b, 2), today.month());
    EXPECT_EQ(byteAt(b, 3), today.day());
    EXPECT_EQ(le32(b, 4), 0u);
    EXPECT_EQ(le16(b, 8), headerLength);
    EXPECT_EQ(le16(b, 10), recordLength);
    EXPECT_EQ(byteAt(b, 28), 0);
    EXPECT_EQ(byteAt(b, 29), 0xC8);
    const char* names[] = {"ANUL", "CODID", "NUMEP", "AARI", "DATAN", "MENTIUNI"};
    const char types[] = {'N', 'N', 'C', 'N', 'D', 'M'};
    const int widths[] = {4, 10, 40, 6, 8, 10};
    const int decimals[] = {0, 0, 0, 2, 0, 0};
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(names[i]);
        const int at = 32 + 32 * i;
        const QByteArray name(names[i]);
        EXPECT_EQ(b.mid(at, name.size()), name);
        for (int k = name.size(); k < 11; ++k)
            EXPECT_EQ(byteAt(b, at + k), 0) << "name padding " << k;
        EXPECT_EQ(b.at(at + 11), types[i]);
        EXPECT_EQ(byteAt(b, at + 16), widths[i]);
        EXPECT_EQ(byteAt(b, at + 17), decimals[i]);
    }
    EXPECT_EQ(byteAt(b, headerLength - 1), 0x0D);
    EXPECT_EQ(byteAt(b, headerLength), 0x1A);

    const QByteArray memo = velmor::test::existingFileBytes(home.dataFile(QStringLiteral("Nou.dbt")));
    ASSERT_EQ(memo.size(), 512);
    EXPECT_EQ(le32(memo, 0), 1u); // next free block
    EXPECT_EQ(memo.mid(8, 3), QByteArray("Nou"));
    EXPECT_EQ(le16(memo, 20), 512);

    dbf::DbfTable t(path);
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_EQ(t.versionByte(), 0x8B);
    EXPECT_EQ(t.fieldCount(), n);
}

TEST(DbfCreate, TableWithoutMemoIsVersionThreeWithoutMemoFile)
{
    test::TempHome home;
    const QString path = home.dataFile(QStringLiteral("Simplu.dbf"));
    dbf::DbfTable::create(path, {{QStringLiteral("anul"), 'n', 4, 0}, {QStringLiteral("Nume"), 'C', 12, 0}});
    const QByteArray b = velmor::test::existingFileBytes(path);
    EXPECT_EQ(byteAt(b, 0), 0x03);
    EXPECT_EQ(le16(b, 8), 32 + 64 + 1);
    EXPECT_EQ(le16(b, 10), 1 + 4 + 12);
    // Names and types are stored in upper case.
    EXPECT_EQ(b.mid(32, 5), QByteArray("ANUL\0", 5));
    EXPECT_EQ(b.at(32 + 11), 'N');
    EXPECT_EQ(b.mid(64, 5), QByteArray("NUME\0", 5));
    EXPECT_FALSE(QFile::exists(home.dataFile(QStringLiteral("Simplu.dbt"))));
}

TEST(DbfCreate, InvalidLayoutsAreRefused)
{
    test::TempHome home;
    const QString path = home.dataFile(QStringLiteral("Gresit.dbf"));
    const QList<QList<dbf::FieldSpec>> bad = {
        {},
        {{QStringLiteral("NUMEPREAMARE"), 'C', 5, 0}},
        {{QStringLiteral("A"), 'C', 5, 0}, {QStringLiteral("a"), 'N', 5, 0}},
        {{QStringLiteral("A"), 'C', 0, 0}},
        {{QStringLiteral("A"), 'C', 255, 0}},
        {{QStringLiteral("A"), 'N', 0, 0}},
        {{QStringLiteral("A"), 'N', 4, 3}},
        {{QStringLiteral("A"), 'X', 4, 0}},
        {{QStringLiteral("A B"), 'C', 4, 0}},
    };
    for (const auto& layout : bad) {
        try {
            dbf::DbfTable::create(path, layout);
            ADD_FAILURE() << "accepted layout with " << layout.size() << " columns, first "
                          << (layout.isEmpty() ? std::string() : layout[0].name.toStdString());
        } catch (const dbf::DbfError& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("Gresit.dbf"))) << e.message().toStdString();
        }
        EXPECT_FALSE(QFile::exists(path));
    }
}

class DbfWrite : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = home.dataFile(QStringLiteral("Nou.dbf"));
        dbf::DbfTable::create(path, kLayout);
    }
    test::TempHome home;
    QString path;
    const int headerLength = 32 + 32 * 6 + 1;
    const int recordLength = 79;
};

TEST_F(DbfWrite, AppendedRecordsFollowTheLayoutAndReadBack)
{
    {
        dbf::DbfTable t(path);
        EXPECT_EQ(t.append({I(2010), I(101), T(QStringLiteral("POPESCU ION")), R(50.25), dbf::Value(QDate(1948, 2, 29)),
                            T(QStringLiteral("rând unu\r\nrând doi"))}),
                  0);
        EXPECT_EQ(t.append({I(2010), I(102), T(QStringLiteral("ŢĂRAN ŞTEFANA")), R(-1.5), {}, {}}), 1);
        // Missing trailing values are blank; numbers given as text are parsed.
        EXPECT_EQ(t.append({T(QStringLiteral("2009")), R(3.0)}), 2);
        EXPECT_EQ(t.recordCount(), 3);
    }
    const QByteArray b = velmor::test::existingFileBytes(path);
    ASSERT_EQ(b.size(), headerLength + 3 * recordLength + 1);
    EXPECT_EQ(le32(b, 4), 3u);
    EXPECT_EQ(byteAt(b, b.size() - 1), 0x1A);
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 0, 0, 1), " ");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 0, 1, 4), "2010");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 0, 5, 10), "       101");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 0, 15, 40), QByteArray("POPESCU ION").leftJustified(40).toStdString());
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 0, 55, 6), " 50.25");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 0, 61, 8), "19480229");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 0, 69, 10), "         1");
    // Windows-1250 bytes of the diacritics.
    EXPECT_EQ(b.mid(headerLength + recordLength + 15, 13), QByteArray("\xDE\xC3" "RAN \xAA" "TEFANA"));
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 1, 55, 6), " -1.50");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 1, 61, 8), "        ");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 1, 69, 10), "          ");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 2, 1, 4), "2009");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 2, 5, 10), "         3");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 2, 15, 64), std::string(64, ' '));

    dbf::DbfTable t(path);
    ASSERT_EQ(t.recordCount(), 3);
    EXPECT_EQ(test::showRow({t.value(0, 0), t.value(0, 1), t.value(0, 2), t.value(0, 3), t.value(0, 4), t.value(0, 5)}),
              (std::vector<std::string> {"i:2010", "i:101", "t:POPESCU ION", "r:50.25", "d:1948-02-29",
                                         "t:rând unu\r\nrând doi"}));
    EXPECT_EQ(test::showRow({t.value(1, 2), t.value(1, 3), t.value(1, 4), t.value(1, 5)}),
              (std::vector<std::string> {"t:ŢĂRAN ŞTEFANA", "r:-1.5", "NULL", "NULL"}));
    EXPECT_EQ(test::showRow({t.value(2, 0), t.value(2, 1), t.value(2, 2), t.value(2, 3)}),
              (std::vector<std::string> {"i:2009", "i:3", "NULL", "NULL"}));
}

TEST_F(DbfWrite, MemoTextsFollowTheDbaseFourMemoLayout)
{
    const QString first = QStringLiteral("Teren în arendă.\r\nAl doilea rând.");
    const QString second = QString(600, QLatin1Char('x')); // spans two blocks
    {
        dbf::DbfTable t(path);
        t.append({I(2010), I(1), {}, {}, {}, T(first)});
        t.append({I(2010), I(2), {}, {}, {}, T(second)});
        t.append({I(2010), I(3), {}, {}, {}, T(QStringLiteral("trei"))});
    }
    const QByteArray memo = velmor::test::existingFileBytes(home.dataFile(QStringLiteral("Nou.dbt")));
    ASSERT_EQ(memo.size() % 512, 0);
    // Block 1: the first text; blocks 2-3: the second; block 4: the third.
    const QByteArray firstBytes = dbf::cp1250::encode(first);
    EXPECT_EQ(memo.mid(512, 4), QByteArray("\xFF\xFF\x08\x00", 4));
    EXPECT_EQ(le32(memo, 516), quint32(firstBytes.size() + 8));
    EXPECT_EQ(memo.mid(520, firstBytes.size()), firstBytes);
    EXPECT_EQ(memo.mid(1024, 4), QByteArray("\xFF\xFF\x08\x00", 4));
    EXPECT_EQ(le32(memo, 1028), 608u);
    EXPECT_EQ(memo.mid(2048, 4), QByteArray("\xFF\xFF\x08\x00", 4));
    EXPECT_EQ(le32(memo, 0), 5u); // next free block
    EXPECT_EQ(memo.size(), 5 * 512);

    const QByteArray b = velmor::test::existingFileBytes(path);
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 0, 69, 10), "         1");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 1, 69, 10), "         2");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 2, 69, 10), "         4");

    dbf::DbfTable t(path);
    EXPECT_EQ(t.value(0, 5), dbf::Value(first));
    EXPECT_EQ(t.value(1, 5), dbf::Value(second));
    EXPECT_EQ(t.value(2, 5), dbf::Value(QStringLiteral("trei")));
}

// A table larger than the pack's writing chunk keeps every live record, in order.
TEST_F(DbfWrite, PackOfALargeTableKeepsEveryLiveRecordInOrder)
{
    constexpr int rows = 30000; // 30000 records of 79 bytes: more than two chunks
    {
        dbf::DbfTable t(path);
        t.beginBatch();
        for (int i = 0; i < rows; ++i)
            t.append({I(2010), I(i), T(QStringLiteral("NUME %1").arg(i))});
        t.endBatch();
        for (int i = 0; i < rows; i += 3)
            t.setDeleted(i, true);
        t.pack();
        EXPECT_EQ(t.recordCount(), rows - rows / 3);
    }
    const QByteArray b = velmor::test::existingFileBytes(path);
    ASSERT_EQ(b.size(), headerLength + (rows - rows / 3) * recordLength + 1);
    EXPECT_EQ(le32(b, 4), quint32(rows - rows / 3));
    dbf::DbfTable t(path);
    int row = 0;
    for (int i = 0; i < rows; ++i) {
        if (i % 3 == 0)
            continue;
        ASSERT_EQ(t.value(row, 1), dbf::Value(std::int64_t(i))) << row;
        ++row;
    }
}

TEST_F(DbfWrite, UpdateDeletePackRewriteOnlyWhatChanged)
{
    {
        dbf::DbfTable t(path);
        for (int i = 1; i <= 5; ++i)
            t.append({I(2010), I(100 + i), T(QStringLiteral("NUME %1").arg(i))});
        t.update(1, {{2, T(QStringLiteral("SCHIMBAT"))}, {3, R(12.5)}});
        t.setDeleted(0, true);
        t.setDeleted(3, true);
        EXPECT_EQ(t.deletedCount(), 2);
    }
    QByteArray b = velmor::test::existingFileBytes(path);
    EXPECT_EQ(le32(b, 4), 5u);
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 0, 0, 1), "*");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 1, 0, 1), " ");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 3, 0, 1), "*");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 1, 15, 8), "SCHIMBAT");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 1, 55, 6), " 12.50");
    EXPECT_EQ(fieldBytes(b, headerLength, recordLength, 1, 5, 10), "       102");

    {
        dbf::DbfTable t(path);
        EXPECT_TRUE(t.isDeleted(0));
        EXPECT_EQ(t.deletedCount(), 2);
        t.pack();
        EXPECT_EQ(t.recordCount(), 3);
        EXPECT_EQ(t.deletedCount(), 0);
    }
    b = velmor::test::existingFileBytes(path);
    ASSERT_EQ(b.size(), headerLength + 3 * recordLength + 1);
    EXPECT_EQ(le32(b, 4), 3u);
    EXPECT_EQ(byteAt(b, b.size() - 1), 0x1A);
    dbf::DbfTable t(path);
    std::vector<std::string> names;
    for (int r = 0; r < t.recordCount(); ++r)
        names.push_back(show(t.value(r, 2)));
    EXPECT_EQ(names, (std::vector<std::string> {"t:SCHIMBAT", "t:NUME 3", "t:NUME 5"}));
    EXPECT_EQ(show(t.value(0, 3)), "r:12.5");

    // Undeleting before a pack keeps the record.
    t.setDeleted(2, true);
    t.setDeleted(2, false);
    t.pack();
    EXPECT_EQ(t.recordCount(), 3);
}

TEST_F(DbfWrite, ValueTooWideIsAnErrorAndLeavesTheRecord)
{
    dbf::DbfTable t(path);
    t.append({I(2010), I(101), T(QStringLiteral("A"))});
    const QByteArray before = velmor::test::existingFileBytes(path);
    EXPECT_THROW(t.update(0, {{2, T(QStringLiteral("B"))}, {0, I(12345)}}), dbf::DbfError);
    EXPECT_THROW(t.update(0, {{3, R(1000.0)}}), dbf::DbfError); // "1000.00" needs 7 places
    EXPECT_THROW(t.update(0, {{1, R(1e10)}}), dbf::DbfError);
    EXPECT_THROW(t.update(0, {{1, T(QStringLiteral("abc"))}}), dbf::DbfError);
    EXPECT_THROW(t.update(0, {{4, T(QStringLiteral("31.02.2010"))}}), dbf::DbfError);
    EXPECT_THROW(t.append({I(99999)}), dbf::DbfError);
    EXPECT_EQ(velmor::test::existingFileBytes(path), before);
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(show(t.value(0, 2)), "t:A");
    // The widest values that fit.
    t.update(0, {{0, I(9999)}, {3, R(999.99)}, {1, I(-999999999)}});
    EXPECT_EQ(show(t.value(0, 0)), "i:9999");
    EXPECT_EQ(show(t.value(0, 3)), "r:999.99");
    EXPECT_EQ(show(t.value(0, 1)), "i:-999999999");
    // Rounded to the declared decimals.
    t.update(0, {{3, R(2.126)}});
    EXPECT_EQ(show(t.value(0, 3)), "r:2.13");
    t.update(0, {{3, R(-0.001)}});
    EXPECT_EQ(show(t.value(0, 3)), "r:0");
}

TEST_F(DbfWrite, TextLongerThanItsColumnAndForeignCharactersAreErrors)
{
    dbf::DbfTable t(path);
    const QString long50 = QString(45, QLatin1Char('A')) + QStringLiteral("BCDEF");
    const QByteArray empty = velmor::test::existingFileBytes(path);
    try {
        t.append({I(2010), I(1), T(long50)});
        ADD_FAILURE() << "50 characters appended into 40";
    } catch (const dbf::DbfError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Textul are 50 caractere; coloana NUMEP din tabelul \"%1\" primeste cel mult 40.")
                                   .arg(QFileInfo(path).fileName()));
    }
    EXPECT_EQ(velmor::test::existingFileBytes(path), empty);
    EXPECT_EQ(t.recordCount(), 0);
    // Cut by the caller, it is written; blanks past the width are padding.
    t.append({I(2010), I(1), T(long50.left(40) + QStringLiteral("     "))});
    EXPECT_EQ(t.value(0, 2), dbf::Value(long50.left(40)));
    const QByteArray one = velmor::test::existingFileBytes(path);
    EXPECT_THROW(t.update(0, {{2, T(long50)}}), dbf::DbfError);
    EXPECT_EQ(velmor::test::existingFileBytes(path), one);

    // Comma-below letters are kept as the cedilla letters of the code page.
    t.update(0, {{2, T(QStringLiteral("ȘTEFAN ȚURCANU șț"))}});
    EXPECT_EQ(t.value(0, 2), dbf::Value(QStringLiteral("ŞTEFAN ŢURCANU şţ")));

    const QByteArray before = velmor::test::existingFileBytes(path);
    const QString chinese = QStringLiteral("POPESCU \u4E2D");
    try {
        t.update(0, {{2, T(chinese)}});
        ADD_FAILURE() << "U+4E2D was written";
    } catch (const dbf::DbfError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("4e2d"), Qt::CaseInsensitive)) << e.message().toStdString();
    }
    EXPECT_THROW(t.append({I(2010), I(2), {}, {}, {}, T(chinese)}), dbf::DbfError);
    EXPECT_EQ(velmor::test::existingFileBytes(path), before);
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.value(0, 2), dbf::Value(QStringLiteral("ŞTEFAN ŢURCANU şţ")));
}

TEST_F(DbfWrite, ExactDecimalsReadBackEqual)
{
    dbf::DbfTable::create(home.dataFile(QStringLiteral("Zec.dbf")),
                          {{QStringLiteral("A"), 'N', 6, 2}, {QStringLiteral("S"), 'N', 10, 4}, {QStringLiteral("R"), 'N', 4, 1}});
    dbf::DbfTable t(home.dataFile(QStringLiteral("Zec.dbf")));
    const double twoDecimals[] = {1.14, 1.36, 60.29, -1.14, 999.99, 0.07};
    const double fourDecimals[] = {1.0131, 1.0353, 0.0001, 12345.6789, -1.0413};
    for (double v : twoDecimals)
        t.append({R(v)});
    for (double v : fourDecimals)
        t.append({{}, R(v)});
    t.append({{}, {}, R(14.1)});
    int row = 0;
    for (double v : twoDecimals) {
        EXPECT_EQ(t.value(row, 0), dbf::Value(v)) << v;
        EXPECT_EQ(t.number(row, 0), std::optional<double>(v)) << v;
        ++row;
    }
    for (double v : fourDecimals) {
        EXPECT_EQ(t.value(row, 1), dbf::Value(v)) << v;
        ++row;
    }
    EXPECT_EQ(t.value(row, 2), dbf::Value(14.1));
    EXPECT_EQ(t.text(row, 2), QStringLiteral("14.1"));
    EXPECT_EQ(t.text(0, 0), QStringLiteral("1.14"));
}


// The written digits of a decimal value are those of the exact binary value rounded to the
// column's decimals, halves and near-halves included; "-0.0" is written as zero.
TEST(DbfNumberText, DecimalsRoundLikeTheExactValue)
{
    const auto exact = [](double v, int decimals) {
        char buffer[400];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals).ptr;
        QByteArray text(buffer, int(end - buffer));
        if (text.startsWith('-') && text.count('0') + text.count('.') == text.size() - 1)
            text.remove(0, 1);
        return text;
    };
    std::vector<double> values {0.0,    -0.0,   0.05,    0.15,     0.25,    2.675,  1.005,   -0.04,  -0.05,
                                0.5,    -0.5,   1.45,    99999.99, 1e-9,    -1e-9,  0.0001,  12345.6789,
                                14.1,   20.1,   22.1,    0.3333,   1.0131,  1e14,   -9.99e13, 123456789.123456789};
    std::uint64_t state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const double unit = double(state >> 11) / double(1ull << 53);
        // Values near halves of every scale, and plain ones of every size.
        values.push_back((i % 2 ? -1 : 1) * std::round(unit * 1e6) / 2e4 + ((i % 3) - 1) * 1e-12);
        values.push_back((unit - 0.5) * std::pow(10.0, i % 16));
    }
    for (int decimals = 1; decimals <= 9; ++decimals) {
        for (double v : values) {
            if (std::fabs(v) * std::pow(10.0, decimals) >= 1e17)
                continue;
            ASSERT_EQ(dbf::DbfTable::formatNumber(v, decimals), exact(v, decimals)) << v << " with " << decimals;
        }
    }
    EXPECT_EQ(dbf::DbfTable::formatNumber(0.05, 2), QByteArray("0.05"));
    EXPECT_EQ(dbf::DbfTable::formatNumber(-3.5, 1), QByteArray("-3.5"));
    EXPECT_EQ(dbf::DbfTable::formatNumber(-0.01, 1), QByteArray("0.0"));
}
TEST_F(DbfWrite, RestructureAddsAndDropsColumnsKeepingValues)
{
    dbf::DbfTable t(path);
    t.append({I(2010), I(101), T(QStringLiteral("POPESCU ION")), R(50.25), dbf::Value(QDate(2001, 12, 31)),
              T(QStringLiteral("notă"))});
    t.append({I(2009), I(1), T(QStringLiteral("ŢĂRAN")), R(7.5)});
    t.setDeleted(1, true);

    QList<dbf::FieldSpec> layout;
    for (const auto& f : t.fields()) {
        if (f.name != QLatin1String("AARI"))
            layout.append(f.declaration());
    }
    layout[2].width = 20;                                       // NUMEP narrower
    layout.append({QStringLiteral("AARI"), 'N', 8, 3});         // moved to the end, wider
    layout.append({QStringLiteral("OBS"), 'C', 5, 0});
    t.restructure(layout);

    EXPECT_EQ(t.fieldCount(), 7);
    EXPECT_EQ(t.versionByte(), 0x8B);
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_TRUE(t.isDeleted(1));
    EXPECT_EQ(test::showRow({t.value(0, 0), t.value(0, 1), t.value(0, 2), t.value(0, 3), t.value(0, 4), t.value(0, 5),
                             t.value(0, 6)}),
              (std::vector<std::string> {"i:2010", "i:101", "t:POPESCU ION", "d:2001-12-31", "t:notă", "r:50.25", "NULL"}));
    EXPECT_EQ(show(t.value(1, 5)), "r:7.5");

    const QByteArray b = velmor::test::existingFileBytes(path);
    const int headerLength = 32 + 32 * 7 + 1;
    EXPECT_EQ(le16(b, 8), headerLength);
    EXPECT_EQ(le16(b, 10), 1 + 4 + 10 + 20 + 8 + 10 + 8 + 5);
    EXPECT_EQ(b.mid(32 + 32 * 5, 5), QByteArray("AARI\0", 5));
    EXPECT_EQ(byteAt(b, 32 + 32 * 5 + 16), 8);
    EXPECT_EQ(byteAt(b, 32 + 32 * 5 + 17), 3);
    EXPECT_EQ(b.size(), headerLength + 2 * le16(b, 10) + 1);
    EXPECT_EQ(byteAt(b, b.size() - 1), 0x1A);

    // A change that does not fit leaves the table as it was.
    const QByteArray before = velmor::test::existingFileBytes(path);
    QList<dbf::FieldSpec> narrow;
    for (const auto& f : t.fields())
        narrow.append(f.declaration());
    narrow[1].width = 2; // CODID 101 needs three places
    EXPECT_THROW(t.restructure(narrow), dbf::DbfError);
    EXPECT_EQ(velmor::test::existingFileBytes(path), before);
    EXPECT_EQ(show(dbf::DbfTable(path).value(0, 1)), "i:101");
}

// Existing tables of other formats are written in their own format.
TEST(DbfForeignWrite, LevelSevenAndDbaseThreeKeepTheirVersion)
{
    struct Case {
        const char* folder;
        int plain;
        int memo;
    };
    for (const Case& c : {Case {"register-level7", 0x04, 0x8C}, Case {"register-dbase3", 0x03, 0x83}}) {
        SCOPED_TRACE(c.folder);
        test::TempHome home;
        home.copyFixture(QString::fromLatin1(c.folder));
        const QString cap1 = home.dataFile(QStringLiteral("CAP1.dbf"));
        const QByteArray original = velmor::test::existingFileBytes(cap1);
        const int headerLength = le16(original, 8);
        {
            dbf::DbfTable t(cap1);
            const int numep = t.fieldIndex(QStringLiteral("NUMEP"));
            Values row(size_t(t.fieldCount()));
            row[size_t(t.fieldIndex(QStringLiteral("ANUL")))] = I(2011);
            row[size_t(t.fieldIndex(QStringLiteral("CODID")))] = I(200);
            row[size_t(numep)] = T(QStringLiteral("NOU ȘERBAN"));
            row[size_t(t.fieldIndex(QStringLiteral("DATAN")))] = T(QStringLiteral("2000-01-31"));
            EXPECT_EQ(t.append(row), 12);
            t.update(0, {{numep, T(QStringLiteral("POPESCU IOAN"))}});
        }
        const QByteArray b = velmor::test::existingFileBytes(cap1);
        EXPECT_EQ(byteAt(b, 0), c.plain);
        EXPECT_EQ(le32(b, 4), 13u);
        EXPECT_EQ(le16(b, 8), headerLength);
        EXPECT_EQ(b.mid(12, headerLength - 12), original.mid(12, headerLength - 12)); // descriptors untouched
        EXPECT_EQ(b.size(), headerLength + 13 * le16(b, 10) + 1);
        EXPECT_EQ(byteAt(b, b.size() - 1), 0x1A);

        dbf::DbfTable t(cap1);
        EXPECT_EQ(t.versionByte(), c.plain);
        EXPECT_EQ(show(t.value(12, t.fieldIndex(QStringLiteral("NUMEP")))), "t:NOU ŞERBAN");
        EXPECT_EQ(show(t.value(12, t.fieldIndex(QStringLiteral("DATAN")))), "d:2000-01-31");
        EXPECT_EQ(show(t.value(0, t.fieldIndex(QStringLiteral("NUMEP")))), "t:POPESCU IOAN");
        EXPECT_EQ(show(t.value(0, t.fieldIndex(QStringLiteral("CNP")))), "t:1800101221144");
        EXPECT_EQ(show(t.value(4, t.fieldIndex(QStringLiteral("NUMEP")))), "t:ŢĂRAN ŞTEFANA");

        // A memo appended to the notes table is written in the table's memo format.
        const QString cap11 = home.dataFile(QStringLiteral("CAP11.dbf"));
        {
            dbf::DbfTable notes(cap11);
            notes.append({I(2011), I(200), T(QStringLiteral("Notă nouă"))});
            notes.update(1, {{2, T(QStringLiteral("Acum are text"))}});
        }
        dbf::DbfTable notes(cap11);
        EXPECT_EQ(notes.versionByte(), c.memo);
        EXPECT_EQ(notes.recordCount(), 3);
        EXPECT_EQ(notes.value(0, 2), dbf::Value(QStringLiteral("Teren în arendă la AGRO SRL.\r\nVerificat în teren 2010.")));
        EXPECT_EQ(notes.value(1, 2), dbf::Value(QStringLiteral("Acum are text")));
        EXPECT_EQ(notes.value(2, 2), dbf::Value(QStringLiteral("Notă nouă")));
        const QByteArray memo = velmor::test::existingFileBytes(home.dataFile(QStringLiteral("CAP11.dbt")));
        const QByteArray text = dbf::cp1250::encode(QStringLiteral("Notă nouă"));
        const int block = memo.indexOf(text);
        ASSERT_GT(block, 0);
        if (c.memo == 0x83) {
            EXPECT_EQ(block % 512, 0);
            EXPECT_EQ(memo.mid(block + text.size(), 2), QByteArray("\x1A\x1A"));
        } else {
            EXPECT_EQ((block - 8) % 512, 0);
            EXPECT_EQ(memo.mid(block - 8, 4), QByteArray("\xFF\xFF\x08\x00", 4));
            EXPECT_EQ(le32(memo, block - 4), quint32(text.size() + 8));
        }
    }
}

// A dBase IV memo file with 64-byte blocks (SET BLOCKSIZE), as other programs may write it.
TEST(DbfForeignWrite, MemoFileWithSmallBlocks)
{
    test::TempHome home;
    const QList<test::RawField> fields = {{"ANUL", 'N', 4, 0}, {"NOTE", 'M', 10, 0}};
    const QByteArray first = "douazeci de octeti..";
    const QByteArray second(100, 'y');
    QByteArray memo(512, '\0');
    qToLittleEndian<quint32>(11, memo.data());
    qToLittleEndian<quint16>(64, memo.data() + 20);
    const auto block = [](const QByteArray& text) {
        QByteArray b("\xFF\xFF\x08\x00", 4);
        QByteArray length(4, '\0');
        qToLittleEndian<quint32>(quint32(text.size() + 8), length.data());
        b += length + text;
        return b.leftJustified(int((b.size() + 63) / 64 * 64), '\0');
    };
    memo += block(first);  // block 8
    memo += block(second); // blocks 9 and 10
    ASSERT_EQ(memo.size(), 11 * 64);
    test::writeBytes(home.dataFile(QStringLiteral("Mic.dbt")), memo);
    test::writeBytes(home.dataFile(QStringLiteral("Mic.dbf")),
                     test::rawHeader(0x8B, 2, fields) + test::rawRecord(fields, {"2010", "8"})
                         + test::rawRecord(fields, {"2011", "9"}) + "\x1A");
    {
        dbf::DbfTable t(home.dataFile(QStringLiteral("Mic.dbf")));
        EXPECT_EQ(t.value(0, 1), dbf::Value(QString::fromLatin1(first)));
        EXPECT_EQ(t.value(1, 1), dbf::Value(QString::fromLatin1(second)));
        t.append({I(2012), T(QStringLiteral("nouă"))});
    }
    const QByteArray after = velmor::test::existingFileBytes(home.dataFile(QStringLiteral("Mic.dbt")));
    EXPECT_EQ(after.mid(4, 700), memo.mid(4, 700)); // earlier blocks untouched
    EXPECT_EQ(after.mid(704, 4), QByteArray("\xFF\xFF\x08\x00", 4));
    EXPECT_EQ(le32(after, 0), 12u);
    EXPECT_EQ(after.size(), 12 * 64);
    dbf::DbfTable t(home.dataFile(QStringLiteral("Mic.dbf")));
    EXPECT_EQ(test::show(t.value(2, 1)), "t:nouă");
    EXPECT_EQ(QByteArray(t.record(2) + 4, 10), QByteArray("        11"));
    EXPECT_EQ(t.value(1, 1), dbf::Value(QString::fromLatin1(second)));
}

TEST(DbfForeignWrite, PackKeepsTheHeaderOfALevelSevenTable)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-level7"));
    const QString path = home.dataFile(QStringLiteral("OmTarla.dbf"));
    const QByteArray original = velmor::test::existingFileBytes(path);
    dbf::DbfTable t(path);
    t.setDeleted(1, true);
    t.pack();
    EXPECT_EQ(t.recordCount(), 4);
    const QByteArray b = velmor::test::existingFileBytes(path);
    EXPECT_EQ(byteAt(b, 0), 0x04);
    EXPECT_EQ(b.mid(32, 36), original.mid(32, 36)); // driver name
    EXPECT_EQ(le32(b, 4), 4u);
    std::vector<std::string> holders;
    for (int r = 0; r < t.recordCount(); ++r)
        holders.push_back(show(t.value(r, 3)));
    EXPECT_EQ(holders, (std::vector<std::string> {"t:POPESCU ION", "t:POPESCU ION", "t:POPESCU ION", "t:POPESCU ION"}));
}

TEST(DbfForeignWrite, ClearingTheProductionIndexFlag)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QString path = home.dataFile(QStringLiteral("CAP2.dbf"));
    EXPECT_TRUE(dbf::DbfTable(path).productionIndexFlag());
    const QByteArray before = velmor::test::existingFileBytes(path);
    ASSERT_TRUE(dbf::DbfTable::clearProductionIndexFlag(path));
    const QByteArray after = velmor::test::existingFileBytes(path);
    EXPECT_EQ(byteAt(after, 28), 0);
    EXPECT_EQ(after.left(28), before.left(28));
    EXPECT_EQ(after.mid(29), before.mid(29));
    EXPECT_FALSE(dbf::DbfTable(path).productionIndexFlag());
    EXPECT_FALSE(dbf::DbfTable::clearProductionIndexFlag(home.dataFile(QStringLiteral("Lipsa.dbf"))));
}

TEST(DbfForeignWrite, ChangedOnDiskNoticesAnotherWriter)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QString path = home.dataFile(QStringLiteral("OmTarla.dbf"));
    dbf::DbfTable mine(path);
    EXPECT_FALSE(mine.changedOnDisk());
    mine.append({I(2010), I(101), I(502), T(QStringLiteral("POPESCU MARIA"))});
    EXPECT_FALSE(mine.changedOnDisk()); // its own writes are known
    {
        dbf::DbfTable other(path);
        other.append({I(2010), I(101), I(503), T(QStringLiteral("POPESCU ANA"))});
    }
    EXPECT_TRUE(mine.changedOnDisk());
    QFile::remove(path);
    EXPECT_TRUE(mine.changedOnDisk());
}

TEST(Cp1250, EveryByteSurvivesDecodeAndEncode)
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    const QString text = dbf::cp1250::decode(all);
    ASSERT_EQ(text.size(), 255);
    EXPECT_EQ(dbf::cp1250::encode(text), all);
}

TEST(Cp1250, RomanianLettersAndSymbols)
{
    EXPECT_EQ(dbf::cp1250::encode(QStringLiteral("ăâîşţĂÂÎŞŢ")), QByteArray("\xE3\xE2\xEE\xBA\xFE\xC3\xC2\xCE\xAA\xDE"));
    EXPECT_EQ(dbf::cp1250::encode(QStringLiteral("șțȘȚ")), QByteArray("\xBA\xFE\xAA\xDE"));
    EXPECT_EQ(dbf::cp1250::decode(QByteArray("\xBA\xFE\xAA\xDE")), QStringLiteral("şţŞŢ"));
    EXPECT_EQ(dbf::cp1250::encode(QStringLiteral("€ł„")), QByteArray("\x80\xB3\x84"));
    EXPECT_EQ(dbf::cp1250::decode(QByteArray("\x80")), QStringLiteral("€"));
    EXPECT_TRUE(dbf::cp1250::canEncode(QStringLiteral("Târgu Mureş")));
    EXPECT_FALSE(dbf::cp1250::canEncode(QStringLiteral("\u4E2D")));
    EXPECT_FALSE(dbf::cp1250::canEncode(QStringLiteral("ø")));     // Latin-1 letter absent from 1250
    EXPECT_FALSE(dbf::cp1250::canEncode(QStringLiteral("\U0001F600")));
    QByteArray out;
    QChar bad;
    EXPECT_FALSE(dbf::cp1250::tryEncode(QStringLiteral("ab\u4E2Dc"), out, &bad));
    EXPECT_EQ(bad, QChar(0x4E2D));
    try {
        dbf::cp1250::encode(QStringLiteral("x\u4E2D"));
        ADD_FAILURE() << "no error";
    } catch (const dbf::EncodingError& e) {
        EXPECT_EQ(e.character(), QChar(0x4E2D));
        EXPECT_TRUE(e.message().contains(QStringLiteral("x\u4E2D")));
    }
}

TEST(FileNames, ResolveMatchesWithoutLetterCase)
{
    test::TempHome home;
    QFile f(home.dataFile(QStringLiteral("Cap1.DBF")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(dbf::resolveFileName(home.dataFile(QStringLiteral("CAP1.dbf"))), home.dataFile(QStringLiteral("Cap1.DBF")));
    EXPECT_EQ(dbf::resolveFileName(home.dataFile(QStringLiteral("cap1.dbf"))), home.dataFile(QStringLiteral("Cap1.DBF")));
    EXPECT_EQ(dbf::resolveFileName(home.dataFile(QStringLiteral("Cap1.DBF"))), home.dataFile(QStringLiteral("Cap1.DBF")));
    EXPECT_EQ(dbf::resolveFileName(home.dataFile(QStringLiteral("CAP2.dbf"))), home.dataFile(QStringLiteral("CAP2.dbf")));
    EXPECT_EQ(dbf::withExtension(QStringLiteral("/a/b.c/CAP11.dbf"), QStringLiteral("dbt")), QStringLiteral("/a/b.c/CAP11.dbt"));
    EXPECT_EQ(dbf::withExtension(QStringLiteral("/a/b.c/CAP11"), QStringLiteral("mdx")), QStringLiteral("/a/b.c/CAP11.mdx"));
    EXPECT_EQ(dbf::withExtension(QStringLiteral("C:\\x.y\\T"), QStringLiteral("dbt")), QStringLiteral("C:\\x.y\\T.dbt"));
}

}
