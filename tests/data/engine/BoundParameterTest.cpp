// Bound ":NAME" parameters and the quoting of what cannot be bound.

#include "EngineTestSupport.h"

#include "data/engine/ClientFilter.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

// Texts a clerk may type that once broke statements or filters.
QStringList awkwardTexts()
{
    return {
        QStringLiteral("O'BRIEN \"ION\""),
        QStringLiteral("C:\\DOSARE\\"),
        QStringLiteral("STEA*"),
        QStringLiteral("100% SAT, \"NOU\""),
        QStringLiteral("'); DELETE FROM X; --"),
        QStringLiteral(":NUME nu e parametru"),
        QString(254, QLatin1Char('W')),
        QStringLiteral("*"),
        QStringLiteral(""),
    };
}

class BoundParameters : public ::testing::Test {
protected:
    void SetUp() override
    {
        reg.exec(QStringLiteral("CREATE TABLE {T} (NUME CHAR(254), NR DECIMAL(10,0), S DECIMAL(8,2), D DATE)"));
    }
    Register reg;
};

TEST_F(BoundParameters, AwkwardTextsAreStoredAndFoundExactly)
{
    engine::Query q(reg.engine);
    std::int64_t nr = 0;
    for (const QString& text : awkwardTexts()) {
        engine::QueryRst(q);
        q.add(QStringLiteral("INSERT INTO ") + reg.t(QStringLiteral("T.dbf")) + QStringLiteral(" (NUME, NR) VALUES (:NUME, :NR)"));
        q.bind(QStringLiteral("NUME"), text).bind(QStringLiteral(":nr"), ++nr);
        EXPECT_EQ(q.execSQL(), 1) << text.toStdString();
    }
    nr = 0;
    for (const QString& text : awkwardTexts()) {
        ++nr;
        engine::QueryRst(q);
        q.add(QStringLiteral("SELECT NR FROM ") + reg.t(QStringLiteral("T.dbf")) + QStringLiteral(" WHERE NUME=:NUME"));
        q.bind(QStringLiteral("NUME"), text);
        q.open();
        if (text.isEmpty()) {
            // A blank text field is NULL in the files: nothing equals it.
            EXPECT_EQ(q.recordCount(), 0);
            continue;
        }
        ASSERT_EQ(q.recordCount(), 1) << text.toStdString();
        EXPECT_EQ(q.fieldByName(QStringLiteral("NR")).asInteger(), nr);
        // And the stored text reads back exactly.
        engine::QueryRst(q);
        q.add(QStringLiteral("SELECT NUME FROM ") + reg.t(QStringLiteral("T.dbf")) + QStringLiteral(" WHERE NR=:NR"));
        q.bind(QStringLiteral("NR"), nr);
        q.open();
        EXPECT_EQ(q.fieldByName(QStringLiteral("NUME")).asString(), text);
    }
}

TEST_F(BoundParameters, CommaBelowLettersAreBoundInTheirStoredForm)
{
    engine::Query q(reg.engine);
    q.add(QStringLiteral("INSERT INTO ") + reg.t(QStringLiteral("T.dbf")) + QStringLiteral(" (NUME, NR) VALUES (:NUME, 1)"));
    q.bind(QStringLiteral("NUME"), QStringLiteral("ȘTEFĂNEȘTI ȚARA"));
    q.execSQL();
    engine::QueryRst(q);
    q.add(QStringLiteral("SELECT NUME FROM ") + reg.t(QStringLiteral("T.dbf")) + QStringLiteral(" WHERE NUME=:NUME"));
    q.bind(QStringLiteral("NUME"), QStringLiteral("ŞTEFĂNEŞTI ŢARA"));
    q.open();
    ASSERT_EQ(q.recordCount(), 1) << "comma-below and cedilla forms are one letter";
    EXPECT_EQ(q.fieldByName(QStringLiteral("NUME")).asString(), QStringLiteral("ŞTEFĂNEŞTI ŢARA"));
}

TEST_F(BoundParameters, NumbersDatesAndNullKeepTheirTypes)
{
    engine::Parameters p;
    p.bind(QStringLiteral("NR"), std::int64_t(9876543210));
    p.bind(QStringLiteral("S"), 12.5);
    p.bind(QStringLiteral("D"), QDate(2024, 2, 29));
    p.bind(QStringLiteral("NUME"), dbf::Value());
    reg.engine.execute(reg.expand(QStringLiteral("INSERT INTO {T} (NUME, NR, S, D) VALUES (:NUME, :NR, :S, :D)")), p);
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT NUME, NR, S, D FROM {T}")),
              (Rows {{"NULL", "i:9876543210", "r:12.5", "d:2024-02-29"}}));
}

TEST_F(BoundParameters, MissingUnknownAndUnnamedParametersAreErrors)
{
    struct Case {
        const char* statement;
        std::vector<const char*> bound;
        const char* message;
    };
    const Case cases[] = {
        {"SELECT * FROM {T} WHERE NR=:NR", {}, "Parametrul :NR nu are valoare."},
        {"SELECT * FROM {T} WHERE NR=:NR", {"NR", "NUME"}, "Parametrul :NUME nu apare in instructiune."},
        {"SELECT * FROM {T} WHERE NR=?", {}, "fara nume"},
        {"SELECT * FROM {T}", {"NR"}, "Parametrul :NR nu apare in instructiune."},
        {"CREATE TABLE {U} (A CHAR(3))", {"NR"}, "nu primesc parametri"},
    };
    for (const Case& c : cases) {
        engine::Parameters p;
        for (const char* name : c.bound)
            p.bind(QString::fromLatin1(name), std::int64_t(1));
        QString message;
        try {
            reg.engine.execute(reg.expand(QString::fromLatin1(c.statement)), p);
        } catch (const engine::SqlError& e) {
            message = e.message();
        }
        EXPECT_TRUE(message.contains(QString::fromLatin1(c.message))) << c.statement << " -> " << message.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(reg.file(QStringLiteral("U.dbf"))));
}

TEST_F(BoundParameters, QueryResetForgetsBoundValues)
{
    engine::Query q(reg.engine);
    q.add(reg.expand(QStringLiteral("SELECT * FROM {T} WHERE NR=:NR")));
    q.bind(QStringLiteral("NR"), std::int64_t(1));
    q.open();
    engine::QueryRst(q);
    q.add(reg.expand(QStringLiteral("SELECT * FROM {T} WHERE NR=:NR")));
    EXPECT_THROW(q.open(), engine::SqlError);
}

TEST(FilterText, QuotedValuesMatchExactlyOrAsPrefix)
{
    auto columnOf = [](const QString& name) { return name.compare(QLatin1String("NUME"), Qt::CaseInsensitive) == 0 ? 0 : -1; };
    auto matches = [&](const QString& filter, const QString& value) {
        return engine::ClientFilter(QStringLiteral("NUME=") + filter, columnOf).matches([&](int) { return dbf::Value(value); });
    };
    for (const QString& text : awkwardTexts()) {
        EXPECT_TRUE(matches(engine::filterText(text), text)) << text.toStdString();
        EXPECT_FALSE(matches(engine::filterText(text), text + QLatin1Char('X'))) << text.toStdString();
        EXPECT_TRUE(matches(engine::filterText(text, true), text + QLatin1Char('X'))) << text.toStdString();
    }
    // A village named "X*" is matched exactly, not as every name starting with X.
    EXPECT_FALSE(matches(engine::filterText(QStringLiteral("X*")), QStringLiteral("XENIA")));
    // Hand-written filters keep their meaning.
    EXPECT_TRUE(matches(QStringLiteral("'X*'"), QStringLiteral("XENIA")));
    EXPECT_TRUE(matches(QStringLiteral("'C:\\DATE'"), QStringLiteral("C:\\DATE")));
    EXPECT_EQ(engine::quotedPath(QStringLiteral("/a/b\"c.dbf")), QDir::toNativeSeparators(QStringLiteral("\"/a/b\"\"c.dbf\"")));
}

}
