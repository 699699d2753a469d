#include "data/engine/ClientFilter.h"
#include "data/engine/SqlError.h"

#include <gtest/gtest.h>

#include <map>

using namespace velmor;
using velmor::engine::ClientFilter;

namespace {

// One row: NUME (text), ANUL (integer), SUPRAF (real), GOL (null).
struct Row {
    std::map<int, dbf::Value> values;
    dbf::Value operator()(int column) const { return values.at(column); }
};

int columnOf(const QString& name)
{
    static const QStringList names = {QStringLiteral("NUME"), QStringLiteral("ANUL"), QStringLiteral("SUPRAF"), QStringLiteral("GOL")};
    return int(names.indexOf(name.toUpper()));
}

bool matches(const QString& filter, const Row& row)
{
    return ClientFilter(filter, columnOf).matches([&](int c) { return row(c); });
}

const Row ion {{{0, QStringLiteral("POPESCU ION")}, {1, std::int64_t(2010)}, {2, 1.0025}, {3, dbf::Value()}}};

TEST(ClientFilterTest, ComparisonsNumbersTextAndPrefix)
{
    EXPECT_TRUE(matches(QStringLiteral("ANUL=2010"), ion));
    EXPECT_FALSE(matches(QStringLiteral("ANUL<>2010"), ion));
    EXPECT_TRUE(matches(QStringLiteral("ANUL>=2010 AND ANUL<2011"), ion));
    EXPECT_TRUE(matches(QStringLiteral("SUPRAF>1"), ion));
    EXPECT_TRUE(matches(QStringLiteral("2009 < ANUL"), ion)) << "constant on the left";
    EXPECT_TRUE(matches(QStringLiteral("nume='POPESCU ION'"), ion)) << "field names ignore letter case";
    EXPECT_FALSE(matches(QStringLiteral("NUME='POPESCU'"), ion));
    EXPECT_TRUE(matches(QStringLiteral("NUME='POP*'"), ion));
    EXPECT_TRUE(matches(QStringLiteral("NUME='*'"), ion)) << "an empty prefix matches everything";
    EXPECT_FALSE(matches(QStringLiteral("NUME='ION*'"), ion));
    EXPECT_TRUE(matches(QStringLiteral("NUME<>'ION*'"), ion));
    EXPECT_FALSE(matches(QStringLiteral("NUME='pop*'"), ion));
    EXPECT_TRUE(matches(QStringLiteral("GOL=''"), ion)) << "null reads as the empty text";

    const Row stored {{{0, QStringLiteral("ŞERBAN ŢICU")}, {1, std::int64_t(2010)}, {2, 0.0}, {3, dbf::Value()}}};
    EXPECT_TRUE(matches(QStringLiteral("NUME='ȘERBAN Ț*'"), stored)) << "comma-below letters meet their stored cedilla forms";
}

TEST(ClientFilterTest, LogicAndPrecedence)
{
    EXPECT_TRUE(matches(QStringLiteral("ANUL=1 OR ANUL=2010 AND NUME='POP*'"), ion));
    EXPECT_FALSE(matches(QStringLiteral("(ANUL=1 OR ANUL=2010) AND NUME='X*'"), ion));
    EXPECT_TRUE(matches(QStringLiteral("NOT (ANUL=1) AND NOT NUME='X*'"), ion));
    EXPECT_TRUE(matches(QStringLiteral("  "), ion)) << "an empty filter keeps every row";
}

TEST(ClientFilterTest, MalformedFiltersAreErrors)
{
    EXPECT_THROW(ClientFilter(QStringLiteral("NUME="), columnOf), engine::SqlError);
    EXPECT_THROW(ClientFilter(QStringLiteral("(ANUL=1"), columnOf), engine::SqlError);
    EXPECT_THROW(ClientFilter(QStringLiteral("NECUNOSCUT=1"), columnOf), engine::SqlError);
    EXPECT_THROW(ClientFilter(QStringLiteral("ANUL ~ 1"), columnOf), engine::SqlError);
    EXPECT_THROW(ClientFilter(QStringLiteral("NUME='abc"), columnOf), engine::SqlError);
}

}
