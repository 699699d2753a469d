#include "core/StagedFile.h"
#include "data/dbf/DbfTable.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlError.h"
#include "data/engine/TableCursor.h"
#include "support/TestDirs.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::engine::TableCursor;

namespace {

class TableCursorTest : public ::testing::Test {
protected:
    void SetUp() override { home.copyFixture(QStringLiteral("register-dbase4")); }
    QString file(const QString& name) const { return home.dataFile(name); }
    int count(const QString& statement)
    {
        return int(std::get<std::int64_t>(engine.select(statement).rows.at(0).at(0)));
    }

    test::TempHome home;
    engine::Engine engine {home.data()};
};

TEST_F(TableCursorTest, AppendEditPostAreSeenBySql)
{
    TableCursor t(engine);
    t.setTableName(file(QStringLiteral("OmTarla.dbf")));
    t.open();
    const int before = t.recordCount();

    t.append();
    t.fieldByName(QStringLiteral("ANUL")).setInteger(2010);
    t.fieldByName(QStringLiteral("CODID")).setInteger(101);
    t.fieldByName(QStringLiteral("CODT")).setInteger(777);
    t.fieldByName(QStringLiteral("TITULAR")).setString(QStringLiteral("ȘTEFĂNESCU ȚICU"));
    EXPECT_EQ(t.state(), TableCursor::State::Insert);
    t.post();
    EXPECT_EQ(t.state(), TableCursor::State::Browse);
    EXPECT_EQ(t.recordCount(), before + 1);
    EXPECT_EQ(t.fieldByName(QStringLiteral("CODT")).asInteger(), 777) << "the posted row is current";

    const auto rows = engine.select(QStringLiteral("SELECT TITULAR FROM \"%1\" WHERE CODT=777").arg(file(QStringLiteral("OmTarla.dbf"))));
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(std::get<QString>(rows.rows[0][0]), QStringLiteral("ŞTEFĂNESCU ŢICU")) << "comma-below letters are stored with cedilla";

    t.edit();
    t.fieldByName(QStringLiteral("TITULAR")).setString(QStringLiteral("ALTUL"));
    t.cancel();
    EXPECT_EQ(t.fieldByName(QStringLiteral("TITULAR")).asString(), QStringLiteral("ŞTEFĂNESCU ŢICU"));
    t.edit();
    t.fieldByName(QStringLiteral("TITULAR")).setString(QStringLiteral("ALTUL"));
    t.post();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE TITULAR=\"ALTUL\" AND CODT=777").arg(file(QStringLiteral("OmTarla.dbf")))), 1);
    EXPECT_THROW(t.fieldByName(QStringLiteral("TITULAR")).setString(QStringLiteral("X")), engine::SqlError) << "browse state is read-only";
}

TEST_F(TableCursorTest, PostOfAValueTooWideKeepsTheRowPendingAndTheFileUnchanged)
{
    TableCursor t(engine);
    t.setTableName(file(QStringLiteral("CAP7.dbf")));
    t.open();
    const QByteArray before = [&] { QFile f(file(QStringLiteral("CAP7.dbf"))); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    t.append();
    t.fieldByName(QStringLiteral("NR")).setInteger(123456789); // DECIMAL(7,0)
    EXPECT_THROW(t.post(), engine::SqlError);
    EXPECT_EQ(t.state(), TableCursor::State::Insert);
    t.cancel();
    QFile f(file(QStringLiteral("CAP7.dbf")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(TableCursorTest, FilterOrderDeleteAndPack)
{
    TableCursor t(engine);
    t.setTableName(file(QStringLiteral("cap1.dbf")));
    t.setIndexFieldNames(QStringLiteral("NUMEP"));
    t.setFilter(QStringLiteral("CODID=101"));
    t.setFiltered(true);
    t.open();
    ASSERT_EQ(t.recordCount(), 3);
    t.first();
    EXPECT_EQ(t.fieldByName(QStringLiteral("NUMEP")).asString(), QStringLiteral("POPESCU ANA"));
    t.next();
    EXPECT_EQ(t.fieldByName(QStringLiteral("NUMEP")).asString(), QStringLiteral("POPESCU ION"));
    t.deleteRecord();
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_EQ(t.fieldByName(QStringLiteral("NUMEP")).asString(), QStringLiteral("POPESCU MARIA")) << "the next row takes the deleted one's place";
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE CODID=101").arg(file(QStringLiteral("CAP1.dbf")))), 2);

    EXPECT_THROW(t.pack(), engine::SqlError) << "pack needs exclusive use";
    t.close();
    t.setExclusive(true);
    t.setFiltered(false);
    t.open();
    const int live = t.recordCount();
    t.pack();
    EXPECT_EQ(t.recordCount(), live);
    dbf::DbfTable raw(file(QStringLiteral("CAP1.dbf")));
    EXPECT_EQ(raw.recordCount(), live);
    EXPECT_EQ(raw.deletedCount(), 0);
}

TEST_F(TableCursorTest, ChangeNumericFieldKeepsEveryValue)
{
    TableCursor t(engine);
    t.setTableName(file(QStringLiteral("CAP3.dbf")));
    t.setExclusive(true);
    t.open();
    const auto before = engine.select(QStringLiteral("SELECT CODID, RAND, HA, ARI FROM \"%1\" ORDER BY CODID, RAND").arg(file(QStringLiteral("CAP3.dbf"))));
    t.changeNumericField(QStringLiteral("ARI"), 8, 2);
    EXPECT_EQ(t.fieldByName(QStringLiteral("ARI")).width(), 8);
    const auto after = engine.select(QStringLiteral("SELECT CODID, RAND, HA, ARI FROM \"%1\" ORDER BY CODID, RAND").arg(file(QStringLiteral("CAP3.dbf"))));
    EXPECT_EQ(after.rows, before.rows);

    // A value of 2200 now fits; it did not in DECIMAL(6,2).
    t.append();
    t.fieldByName(QStringLiteral("ANUL")).setInteger(2010);
    t.fieldByName(QStringLiteral("ARI")).setFloat(2200);
    t.post();
    EXPECT_EQ(t.fieldByName(QStringLiteral("ARI")).asFloat(), 2200.0);

    // The layout it has already: no file is staged, nothing is written.
    static int staged = 0;
    staged = 0;
    StagedFile::setFaultHookForTests([](const QString&, StagedFile::Step, qint64, qint64) {
        ++staged;
        return 0;
    });
    t.changeNumericField(QStringLiteral("ARI"), 8, 2);
    StagedFile::setFaultHookForTests(nullptr);
    EXPECT_EQ(staged, 0);
    EXPECT_EQ(t.fieldByName(QStringLiteral("ARI")).asFloat(), 2200.0);

    EXPECT_THROW(t.changeNumericField(QStringLiteral("ARI"), 5, 2), engine::SqlError) << "2200.00 does not fit five places";
    EXPECT_THROW(t.changeNumericField(QStringLiteral("CATEG"), 5, 0), engine::SqlError);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM \"%1\" WHERE ARI=2200").arg(file(QStringLiteral("CAP3.dbf")))), 1);
}

}
