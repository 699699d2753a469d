#include "data/dbf/DbfBulkWriter.h"
#include "support/FileBytes.h"

#include "core/StagedFile.h"

#include "data/dbf/DbfError.h"
#include "data/dbf/DbfTable.h"
#include "support/TestDirs.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <gtest/gtest.h>

using namespace velmor::dbf;

namespace {

// The header date (bytes 1-3) is the day of writing; two writes a midnight apart differ there.
void expectSameTable(const QString& a, const QString& b)
{
    QByteArray x = velmor::test::fileBytes(a);
    QByteArray y = velmor::test::fileBytes(b);
    ASSERT_FALSE(x.isEmpty()) << a.toStdString();
    if (x.size() == y.size() && x.size() > 4 && x.mid(1, 3) != y.mid(1, 3)) {
        y.replace(1, 3, x.mid(1, 3));
        ADD_FAILURE() << "header dates differ (written across midnight?)";
    }
    EXPECT_EQ(x.size(), y.size());
    EXPECT_TRUE(x == y) << "first difference at byte "
                        << std::distance(x.begin(), std::mismatch(x.begin(), x.end(), y.begin(), y.end()).first);
}

QList<FieldSpec> allTypes()
{
    return {
        {QStringLiteral("ANUL"), 'N', 4, 0},
        {QStringLiteral("CODID"), 'N', 10, 0},
        {QStringLiteral("NUME"), 'C', 12, 0},
        {QStringLiteral("ARI"), 'N', 6, 2},
        {QStringLiteral("SUPRAF"), 'N', 10, 4},
        {QStringLiteral("RAND"), 'N', 4, 1},
        {QStringLiteral("DATAN"), 'D', 8, 0},
        {QStringLiteral("ACTIV"), 'L', 1, 0},
        {QStringLiteral("VAL"), 'F', 12, 3},
        {QStringLiteral("NOTE"), 'M', 10, 0},
    };
}

// A row of allTypes() with only the year, the code, the name and the note.
std::vector<Value> noteRow(std::int64_t year, std::int64_t code, const QString& name, const QString& note)
{
    return {year, code, name, Value(), Value(), Value(), Value(), Value(), Value(), note};
}

QString longMemo()
{
    return QStringLiteral("Linia unui text lung, peste un bloc.\r\n").repeated(40);
}

std::vector<std::vector<Value>> sampleRows()
{
    return {
        {std::int64_t(2010), std::int64_t(1), QStringLiteral("POPESCU ION"), 12.5, 0.5, 14.1, QDate(1980, 1, 1), true, -3.25,
         QStringLiteral("scurt")},
        {std::int64_t(2010), std::int64_t(2), QStringLiteral("\u0162\u0102RAN \u015ETEFAN"), std::int64_t(3), 1.0025, 4.0,
         QDate(1948, 2, 29), false, 0.0, longMemo()},
        {std::int64_t(2011), std::int64_t(3), QStringLiteral("NUME PREA LU"), -0.001, -2.5, std::int64_t(22),
         QStringLiteral("2001-05-06"), Value(), 1234.5678, QString()},
        {Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value()},
        {std::int64_t(2012), 9999999999.0, QStringLiteral("  blanks"), QStringLiteral("7.5"), QStringLiteral(" "),
         QStringLiteral("20.1"), Value(), QStringLiteral("T"), QStringLiteral("12"), QStringLiteral("\u00C2\u00CE\u0103")},
        {std::int64_t(2013), std::int64_t(4)}, // trailing values missing
    };
}

TEST(DbfBulkWriter, WritesTheBytesOfCreateAndAppend)
{
    velmor::test::TempHome home;
    const QString reference = home.dataFile(QStringLiteral("Ref.dbf"));
    const QString bulk = home.dataFile(QStringLiteral("Bulk.dbf"));
    DbfTable::create(reference, allTypes());
    {
        DbfTable table(reference);
        for (const auto& row : sampleRows())
            table.append(row);
    }
    DbfBulkWriter writer(bulk, allTypes());
    for (const auto& row : sampleRows())
        writer.append(row);
    writer.finish();
    EXPECT_EQ(writer.recordCount(), int(sampleRows().size()));

    expectSameTable(reference, bulk);
    EXPECT_EQ(velmor::test::fileBytes(home.dataFile(QStringLiteral("Ref.dbt"))).size(), velmor::test::fileBytes(home.dataFile(QStringLiteral("Bulk.dbt"))).size());
    // The memo files differ only in the table name of the header.
    QByteArray refMemo = velmor::test::fileBytes(home.dataFile(QStringLiteral("Ref.dbt")));
    QByteArray bulkMemo = velmor::test::fileBytes(home.dataFile(QStringLiteral("Bulk.dbt")));
    ASSERT_GE(refMemo.size(), 512);
    EXPECT_EQ(refMemo.mid(8, 4), QByteArray("Ref\0", 4));
    EXPECT_EQ(bulkMemo.mid(8, 4), QByteArray("Bulk", 4));
    refMemo.replace(8, 8, QByteArray(8, '\0'));
    bulkMemo.replace(8, 8, QByteArray(8, '\0'));
    EXPECT_TRUE(refMemo == bulkMemo);

    const DbfTable table(bulk);
    ASSERT_EQ(table.recordCount(), 6);
    EXPECT_EQ(table.text(0, 2), QStringLiteral("POPESCU ION"));
    EXPECT_EQ(table.text(1, 2), QStringLiteral("\u0162\u0102RAN \u015ETEFAN"));
    EXPECT_EQ(table.text(2, 2), QStringLiteral("NUME PREA LU"));
    EXPECT_EQ(std::get<QString>(table.value(1, 9)), longMemo());
    EXPECT_EQ(std::get<QString>(table.value(4, 9)), QStringLiteral("\u00C2\u00CE\u0103"));
    EXPECT_TRUE(isNull(table.value(2, 9)));

    // A text longer than its column is refused by both writers, never cut.
    const std::vector<Value> tooLong {std::int64_t(2014), std::int64_t(5), QStringLiteral("NUME PREA LUNG PENTRU CAMP")};
    {
        DbfTable again(reference);
        EXPECT_THROW(again.append(tooLong), velmor::Error);
        EXPECT_EQ(again.recordCount(), 6);
    }
    DbfBulkWriter refusing(home.dataFile(QStringLiteral("Refuz.dbf")), allTypes());
    EXPECT_THROW(refusing.append(tooLong), velmor::Error);
}

TEST(DbfBulkWriter, AnEmptyTableIsTheCreatedOne)
{
    velmor::test::TempHome home;
    const QString reference = home.dataFile(QStringLiteral("A.dbf"));
    const QString bulk = home.dataFile(QStringLiteral("B.dbf"));
    const QList<FieldSpec> fields {{QStringLiteral("ANUL"), 'N', 4, 0}, {QStringLiteral("CATEG"), 'C', 60, 0}};
    DbfTable::create(reference, fields);
    DbfBulkWriter writer(bulk, fields);
    writer.finish();
    expectSameTable(reference, bulk);
    EXPECT_FALSE(QFileInfo::exists(home.dataFile(QStringLiteral("B.dbt"))));
}

TEST(DbfBulkWriter, FieldSettersEncodeAsAppendDoes)
{
    velmor::test::TempHome home;
    const QString reference = home.dataFile(QStringLiteral("Ref.dbf"));
    const QString bulk = home.dataFile(QStringLiteral("Fast.dbf"));
    DbfTable::create(reference, allTypes());
    {
        DbfTable table(reference);
        table.append({std::int64_t(2010), std::int64_t(123456), QStringLiteral("ABC"), 12.34, 0.0001, 14.1, QDate(2001, 12, 31),
                      Value(), Value(), QStringLiteral("memo")});
        table.append({std::int64_t(-5), std::int64_t(0), QStringLiteral("\u015E"), -0.05, -12.3456, -1.0, Value(), Value(),
                      std::int64_t(7), Value()});
        table.append({std::int64_t(2010), Value(), QString(), std::int64_t(99), 99999.9999, 0.0, Value(), Value(), Value(),
                      QStringLiteral("al doilea")});
    }
    DbfBulkWriter writer(bulk, allTypes());
    QByteArray rec = writer.blankRecord();
    char* r = rec.data();
    writer.setInteger(r, 0, 2010);
    writer.setInteger(r, 1, 123456);
    writer.setText(r, 2, u"ABC");
    writer.setScaled(r, 3, 1234);
    writer.setScaled(r, 4, 1);
    writer.setScaled(r, 5, 141);
    writer.setDate(r, 6, QDate(2001, 12, 31));
    writer.setMemo(r, 9, QStringLiteral("memo"));
    writer.appendRecord(r);

    rec = writer.blankRecord();
    r = rec.data();
    writer.setInteger(r, 0, -5);
    writer.setInteger(r, 1, 0);
    writer.setBytes(r, 2, QByteArray("\xAA"));
    writer.setScaled(r, 3, -5);
    writer.setScaled(r, 4, -123456);
    writer.setInteger(r, 5, -1);
    writer.setDate(r, 6, QDate());
    writer.setInteger(r, 8, 7);
    writer.setMemo(r, 9, QString());
    writer.appendRecord(r);

    // A reused buffer: every field set again, the old text cleared.
    writer.setInteger(r, 0, 2010);
    writer.clear(r, 1);
    writer.setText(r, 2, u"");
    writer.setInteger(r, 3, 99);
    writer.setScaled(r, 4, 999999999);
    writer.setScaled(r, 5, 0);
    writer.clear(r, 8);
    writer.setValue(r, 9, QStringLiteral("al doilea"));
    writer.appendRecord(r);
    writer.finish();

    expectSameTable(reference, bulk);
}

TEST(DbfBulkWriter, RefusesWhatAppendRefuses)
{
    velmor::test::TempHome home;
    const QString reference = home.dataFile(QStringLiteral("Ref.dbf"));
    DbfTable::create(reference, allTypes());
    DbfTable table(reference);
    DbfBulkWriter writer(home.dataFile(QStringLiteral("Bulk.dbf")), allTypes());
    QByteArray rec = writer.blankRecord();

    QString appendMessage;
    try {
        table.append({std::int64_t(12345)});
    } catch (const DbfError& e) {
        appendMessage = e.message();
    }
    ASSERT_FALSE(appendMessage.isEmpty());
    try {
        writer.setInteger(rec.data(), 0, 12345);
        FAIL() << "no error";
    } catch (const DbfError& e) {
        QString message = e.message();
        EXPECT_EQ(message.replace(QStringLiteral("Bulk.dbf"), QStringLiteral("Ref.dbf")), appendMessage);
    }
    EXPECT_THROW(writer.setScaled(rec.data(), 3, 1000000), DbfError); // 10000.00 in N(6,2)
    EXPECT_THROW(writer.setText(rec.data(), 2, u"\u4E2D"), DbfError);
    EXPECT_THROW(writer.setMemo(rec.data(), 9, QStringLiteral("\u4E2D")), DbfError);
    EXPECT_THROW(writer.setMemo(rec.data(), 2, QStringLiteral("x")), DbfError);
    EXPECT_THROW(writer.setInteger(rec.data(), 2, 1), DbfError);
    EXPECT_THROW(writer.column(QStringLiteral("NOPE")), DbfError);
    EXPECT_EQ(writer.column(QStringLiteral("supraf")), 4);
    const QList<FieldSpec> tooWide {{QStringLiteral("A"), 'N', 30, 0}};
    const QString badPath = home.dataFile(QStringLiteral("Bad.dbf"));
    EXPECT_THROW((DbfBulkWriter(badPath, tooWide)), DbfError);
}

TEST(DbfBulkWriter, AnUnfinishedWriterLeavesTheFilesAsTheyWere)
{
    velmor::test::TempHome home;
    const QString p = home.dataFile(QStringLiteral("T.dbf"));
    const QString memo = home.dataFile(QStringLiteral("T.dbt"));
    {
        DbfBulkWriter writer(p, allTypes());
        writer.append(noteRow(2010, 1, QStringLiteral("X"), QStringLiteral("nota")));
    }
    EXPECT_FALSE(QFileInfo::exists(p));
    EXPECT_FALSE(QFileInfo::exists(memo));

    {
        DbfBulkWriter writer(p, allTypes());
        writer.append(noteRow(2010, 1, QStringLiteral("X"), QStringLiteral("nota")));
        writer.finish();
    }
    const QByteArray table = velmor::test::fileBytes(p);
    const QByteArray notes = velmor::test::fileBytes(memo);
    {
        DbfBulkWriter writer(p, allTypes());
        for (int k = 0; k < 3; ++k)
            writer.append(noteRow(2011, k, QStringLiteral("Y"), QStringLiteral("alta nota")));
    }
    EXPECT_EQ(velmor::test::fileBytes(p), table);
    EXPECT_EQ(velmor::test::fileBytes(memo), notes);
    EXPECT_EQ(DbfTable(p).recordCount(), 1);
    EXPECT_EQ(QDir(home.data()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file is left";
}

TEST(DbfBulkWriter, LargeTablesAreWrittenInOnePass)
{
    velmor::test::TempHome home;
    const QString p = home.dataFile(QStringLiteral("Big.dbf"));
    const QList<FieldSpec> fields {{QStringLiteral("ANUL"), 'N', 4, 0}, {QStringLiteral("CODID"), 'N', 10, 0},
                                   {QStringLiteral("CATEG"), 'C', 60, 0}, {QStringLiteral("HA"), 'N', 4, 0},
                                   {QStringLiteral("ARI"), 'N', 6, 2}, {QStringLiteral("RAND"), 'N', 3, 0}};
    DbfBulkWriter writer(p, fields);
    QByteArray rec = writer.blankRecord();
    writer.setInteger(rec.data(), 0, 2015);
    writer.setText(rec.data(), 2, u"Grau");
    const int rows = 200000; // more than one buffer of output
    for (int k = 0; k < rows; ++k) {
        writer.setInteger(rec.data(), 1, k + 1);
        writer.setInteger(rec.data(), 3, k % 100);
        writer.setScaled(rec.data(), 4, k % 10000);
        writer.setInteger(rec.data(), 5, k % 35 + 1);
        writer.appendRecord(rec.constData());
    }
    writer.finish();
    const DbfTable table(p);
    ASSERT_EQ(table.recordCount(), rows);
    EXPECT_EQ(QFileInfo(p).size(), qint64(table.recordLength()) * rows + (32 + 6 * 32 + 1) + 1);
    for (int k : {0, 1, 8388607 / 90, rows - 1}) {
        EXPECT_EQ(std::get<std::int64_t>(table.value(k, 1)), k + 1);
        EXPECT_DOUBLE_EQ(std::get<double>(table.value(k, 4)), (k % 10000) / 100.0);
        EXPECT_EQ(table.text(k, 2), QStringLiteral("Grau"));
    }
}

TEST(DbfBulkWriter, LayoutOfAnExistingTable)
{
    velmor::test::TempHome home;
    const QString p = home.dataFile(QStringLiteral("L.dbf"));
    DbfTable::create(p, allTypes());
    const QList<FieldSpec> specs = DbfBulkWriter::layoutOf(p);
    ASSERT_EQ(specs.size(), allTypes().size());
    for (int k = 0; k < specs.size(); ++k) {
        EXPECT_EQ(specs[k].name, allTypes()[k].name);
        EXPECT_EQ(specs[k].type, allTypes()[k].type);
        EXPECT_EQ(specs[k].width, allTypes()[k].width);
        EXPECT_EQ(specs[k].decimals, allTypes()[k].decimals);
    }
    EXPECT_THROW(DbfBulkWriter::layoutOf(home.dataFile(QStringLiteral("none.dbf"))), DbfError);
}

}

namespace {

int tableInUse(const QString& target, velmor::StagedFile::Step step, qint64, qint64)
{
    return step == velmor::StagedFile::Step::Rename && target.endsWith(QStringLiteral("/T.dbf")) ? EBUSY : 0;
}

}

TEST(DbfBulkWriter, ATableThatCannotTakeItsPlaceKeepsItsOldMemoFile)
{
    velmor::test::TempHome home;
    const QString p = home.dataFile(QStringLiteral("T.dbf"));
    const QString memo = home.dataFile(QStringLiteral("T.dbt"));
    {
        DbfBulkWriter writer(p, allTypes());
        writer.append(noteRow(2010, 1, QStringLiteral("X"), QStringLiteral("nota veche")));
        writer.finish();
    }
    const QByteArray table = velmor::test::fileBytes(p);
    const QByteArray notes = velmor::test::fileBytes(memo);
    DbfBulkWriter writer(p, allTypes());
    for (int k = 0; k < 3; ++k)
        writer.append(noteRow(2011, k, QStringLiteral("Y"), QStringLiteral("nota noua %1").arg(k)));
    velmor::StagedFile::setFaultHookForTests(&tableInUse);
    QString message;
    try {
        writer.finish();
    } catch (const DbfError& e) {
        message = e.message();
    }
    velmor::StagedFile::setFaultHookForTests(nullptr);
    EXPECT_EQ(message.toStdString(),
              (QStringLiteral("Nu pot scrie ") + QDir::toNativeSeparators(p) + QStringLiteral(": fisierul este folosit de alt program."))
                  .toStdString());
    EXPECT_EQ(velmor::test::fileBytes(p), table);
    EXPECT_EQ(velmor::test::fileBytes(memo), notes);
    EXPECT_EQ(DbfTable(p).text(0, 9), QStringLiteral("nota veche"));
    EXPECT_EQ(QDir(home.data()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file is left";
}
