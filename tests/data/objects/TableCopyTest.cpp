#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlError.h"
#include "data/engine/TableCopy.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace velmor;
using velmor::engine::Query;

namespace {

class TableCopyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.copyFixture(QStringLiteral("register-dbase4"));
        // The target tables are work tables of the program home.
        engine.addTableRoot(home.home());
    }
    QString file(const QString& name) const { return home.dataFile(name); }
    engine::ResultSet select(const QString& statement) { return engine.select(statement); }

    test::TempHome home;
    engine::Engine engine {home.data()};
};

TEST_F(TableCopyTest, CopiesFieldsByNameThroughTheirText)
{
    const QString target = home.home() + QStringLiteral("/copie.dbf");
    engine.execute(QStringLiteral("CREATE TABLE \"%1\" (COD1 DECIMAL(10,0), NUMEP CHAR(40), DATAN DATE, CODID DECIMAL(10,0))").arg(target));

    Query source(engine);
    source.add(QStringLiteral("SELECT * FROM \"%1\" WHERE CODID IN (101, 103) ORDER BY COD1").arg(file(QStringLiteral("CAP1.dbf"))));
    int pending = 0;
    engine::CopiazaInTabel(source, engine, target, 0, [&] { ++pending; });
    EXPECT_FALSE(source.active()) << "the source is closed at the end";
    EXPECT_EQ(pending, 2 + 4) << "after opening, after the table, after each row";

    const auto copied = select(QStringLiteral("SELECT COD1, NUMEP, DATAN, CODID FROM \"%1\" ORDER BY COD1").arg(target));
    const auto original = select(QStringLiteral("SELECT COD1, NUMEP, DATAN, CODID FROM \"%1\" WHERE CODID IN (101, 103) ORDER BY COD1")
                                     .arg(file(QStringLiteral("CAP1.dbf"))));
    EXPECT_EQ(copied.rows, original.rows) << "numbers, text, dates and an empty date survive";
    ASSERT_EQ(copied.rows.size(), 4u);
    EXPECT_TRUE(dbf::isNull(copied.rows[3][2])) << "IONESCU VASILE has no birth date";
}

TEST_F(TableCopyTest, FirstFieldsOnlyAndMissingSourceField)
{
    const QString target = home.home() + QStringLiteral("/delt1.dbf");
    engine.execute(QStringLiteral("CREATE TABLE \"%1\" (CODT DECIMAL(10,0), TITULAR CHAR(40))").arg(target));

    Query plots(engine);
    plots.add(QStringLiteral("SELECT CODT FROM \"%1\" T WHERE T.CODID IN").arg(file(QStringLiteral("Tarlale.dbf"))))
        .add(QStringLiteral("(SELECT I.CODID FROM \"%1\" I WHERE I.LOCALIT=\"SAT NOU\" )").arg(file(QStringLiteral("Identificare.dbf"))));
    plots.open();
    std::vector<std::int64_t> expected;
    for (plots.first(); !plots.eof(); plots.next())
        expected.push_back(plots.fieldByName(QStringLiteral("CODT")).asInteger());
    std::sort(expected.begin(), expected.end());
    ASSERT_GE(expected.size(), 3u);

    engine::CopiazaInTabel(plots, engine, target, 1);
    const auto rows = select(QStringLiteral("SELECT CODT, TITULAR FROM \"%1\" ORDER BY CODT").arg(target));
    ASSERT_EQ(rows.rows.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(std::get<std::int64_t>(rows.rows[i][0]), expected[i]);
        EXPECT_TRUE(dbf::isNull(rows.rows[i][1])) << "only the first field is copied";
    }

    // All fields asked, but the source has no TITULAR: an error before any row is written.
    Query again(engine);
    again.add(QStringLiteral("SELECT CODT FROM \"%1\"").arg(file(QStringLiteral("Tarlale.dbf"))));
    EXPECT_THROW(engine::CopiazaInTabel(again, engine, target, 0), engine::SqlError);
    EXPECT_EQ(select(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(target)).rows[0][0], dbf::Value(std::int64_t(expected.size())));
}

}
