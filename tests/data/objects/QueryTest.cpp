#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlError.h"
#include "support/TestDirs.h"

#include <gtest/gtest.h>

using namespace velmor;
using velmor::engine::Query;

namespace {

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override { home.copyFixture(QStringLiteral("register-dbase4")); }
    QString path(const QString& name) const { return QLatin1Char('"') + home.dataFile(name) + QLatin1Char('"'); }

    test::TempHome home;
    engine::Engine engine {home.data()};
};

TEST_F(QueryTest, StatementLinesOpenAndReadRowByRow)
{
    Query q(engine);
    q.add(QStringLiteral("SELECT NUMEP, CNP, DATAN, COD1, MENTIUNI"))
        .add(QStringLiteral("FROM ") + path(QStringLiteral("CAP1.dbf")))
        .add(QString())
        .add(QStringLiteral("WHERE CODID=101"))
        .add(QStringLiteral("ORDER BY COD1"));
    q.open();
    ASSERT_TRUE(q.active());
    EXPECT_EQ(q.recordCount(), 3);
    q.first();
    EXPECT_FALSE(q.eof());
    EXPECT_EQ(q.fieldByName(QStringLiteral("numep")).asString(), QStringLiteral("POPESCU ION"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("CNP")).asString(), QStringLiteral("1800101221144"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("DATAN")).asDate(), QDate(1980, 1, 1));
    EXPECT_EQ(q.fieldByName(QStringLiteral("DATAN")).asString(), QStringLiteral("01.01.1980"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("CNP")).type(), engine::FieldType::Text);
    EXPECT_EQ(q.fieldByName(QStringLiteral("CNP")).width(), 13);
    EXPECT_EQ(q.fieldByName(QStringLiteral("COD1")).type(), engine::FieldType::Integer);
    EXPECT_TRUE(q.fieldByName(QStringLiteral("MENTIUNI")).isNull());
    EXPECT_EQ(q.fieldByName(QStringLiteral("MENTIUNI")).asString(), QString());

    QStringList names;
    for (q.first(); !q.eof(); q.next())
        names << q.fieldByName(QStringLiteral("NUMEP")).asString();
    EXPECT_EQ(names, (QStringList {QStringLiteral("POPESCU ION"), QStringLiteral("POPESCU MARIA"), QStringLiteral("POPESCU ANA")}));
    EXPECT_THROW(q.fieldByName(QStringLiteral("NOPE")), engine::SqlError);
}

TEST_F(QueryTest, EmptySumReadsAsZeroAndRealsAsNumbers)
{
    Query q(engine);
    q.add(QStringLiteral("SELECT SUM(CODID) AS S, MAX(COD1) AS M FROM ") + path(QStringLiteral("CAP1.dbf")) + QStringLiteral(" WHERE ANUL=1999"));
    q.open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_TRUE(q.fieldByName(QStringLiteral("S")).isNull());
    EXPECT_EQ(q.fieldByName(QStringLiteral("S")).asInteger(), 0);
    EXPECT_EQ(q.fieldByName(QStringLiteral("M")).asFloat(), 0.0);

    engine::QueryRst(q);
    EXPECT_TRUE(q.SQL().isEmpty());
    EXPECT_FALSE(q.active());
    q.add(QStringLiteral("SELECT BHA, BARI, BHA+BARI/100 AS T FROM ") + path(QStringLiteral("CAP2.dbf")) + QStringLiteral(" WHERE CODID=101 AND RAND=1"));
    q.open();
    EXPECT_EQ(q.fieldByName(QStringLiteral("BARI")).asFloat(), 50.25);
    EXPECT_EQ(q.fieldByName(QStringLiteral("BARI")).asString(), QStringLiteral("50.25"));
    EXPECT_DOUBLE_EQ(q.fieldByName(QStringLiteral("T")).asFloat(), 1.5025);
    EXPECT_EQ(q.fieldByName(QStringLiteral("BHA")).asInteger(), 1);
}

TEST_F(QueryTest, ExecSqlChangesRowsAndReportsErrors)
{
    Query q(engine);
    q.add(QStringLiteral("UPDATE ") + path(QStringLiteral("CAP1.dbf"))).add(QStringLiteral("SET MENTIUNI=\"ELEV \"\"BUN\"\"\"")).add(QStringLiteral("WHERE COD1 IN (SELECT COD1 FROM ") + path(QStringLiteral("CAP1.dbf")) + QStringLiteral(" WHERE CODID=104)"));
    EXPECT_EQ(q.execSQL(), 2);

    engine::QueryRst(q);
    q.add(QStringLiteral("SELECT DISTINCT MENTIUNI FROM ") + path(QStringLiteral("cap1.DBF")) + QStringLiteral(" WHERE CODID=104"));
    q.open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.fieldByName(QStringLiteral("MENTIUNI")).asString(), QStringLiteral("ELEV \"BUN\""));

    engine::QueryRst(q);
    q.add(QStringLiteral("SELECT NOSUCH FROM ") + path(QStringLiteral("CAP1.dbf")));
    EXPECT_THROW(q.open(), engine::SqlError);
    EXPECT_FALSE(q.active());
}

TEST_F(QueryTest, FilterWithPrefixRuleAndLocate)
{
    Query q(engine);
    q.add(QStringLiteral("SELECT NUMEP, CODID, COD1 FROM ") + path(QStringLiteral("CAP1.dbf")) + QStringLiteral(" WHERE ANUL=2010 ORDER BY COD1"));
    q.open();
    const int all = q.recordCount();
    ASSERT_EQ(all, 10);

    q.setFilter(QStringLiteral("NUMEP='POPESCU*'"));
    EXPECT_EQ(q.recordCount(), all) << "a filter text does nothing until filtering is on";
    q.setFiltered(true);
    EXPECT_EQ(q.recordCount(), 3);
    q.setFilter(QStringLiteral("(NUMEP='POPESCU*' OR NUMEP='MUNTEANU*') AND NOT CODID=104"));
    EXPECT_EQ(q.recordCount(), 3);
    q.setFilter(QStringLiteral("NUMEP='popescu*'"));
    EXPECT_EQ(q.recordCount(), 0) << "comparisons are case-sensitive";
    q.setFiltered(false);
    EXPECT_EQ(q.recordCount(), all);

    ASSERT_TRUE(q.locate({QStringLiteral("CODID"), QStringLiteral("NUMEP")}, {std::int64_t(102), QStringLiteral("ŢĂRAN ŞTEFANA")}));
    EXPECT_EQ(q.fieldByName(QStringLiteral("NUMEP")).asString(), QStringLiteral("ŢĂRAN ŞTEFANA"));
    const int at = q.recNo();
    EXPECT_FALSE(q.locate({QStringLiteral("NUMEP")}, {QStringLiteral("NIMENI")}));
    EXPECT_EQ(q.recNo(), at) << "a failed locate does not move";

    q.setFiltered(true);
    EXPECT_THROW(q.setFilter(QStringLiteral("NOSUCH='x'")), engine::SqlError);
    EXPECT_THROW(q.setFilter(QStringLiteral("NUMEP=")), engine::SqlError);
}

}
