#include "app/CliOptions.h"
#include "app/CliOutput.h"

#include <gtest/gtest.h>

using namespace velmor::cli;

namespace {

const std::vector<OptionSpec> known {
    {QStringLiteral("data")},
    {QStringLiteral("verbose"), false},
    {QStringLiteral("param"), true, true},
};

QString refusal(const QStringList& arguments)
{
    try {
        Options::parse(arguments, known);
    } catch (const UsageError& e) {
        return e.message();
    }
    return {};
}

}

TEST(CliOptions, FlagsRepeatableOptionsAndPositionals)
{
    const Options o = Options::parse({QStringLiteral("--verbose"), QStringLiteral("--param"), QStringLiteral("A=1"),
                                      QStringLiteral("SELECT 1"), QStringLiteral("--param"), QStringLiteral("B=2"),
                                      QStringLiteral("--data"), QStringLiteral("/d"), QStringLiteral("--"),
                                      QStringLiteral("--not-an-option")},
                                     known);
    EXPECT_TRUE(o.has(QStringLiteral("verbose")));
    EXPECT_EQ(o.value(QStringLiteral("verbose")), QString()) << "a flag carries no value";
    EXPECT_EQ(o.values(QStringLiteral("param")), (QStringList {QStringLiteral("A=1"), QStringLiteral("B=2")}));
    EXPECT_EQ(o.value(QStringLiteral("data")), QStringLiteral("/d"));
    EXPECT_EQ(o.positional(), (QStringList {QStringLiteral("SELECT 1"), QStringLiteral("--not-an-option")}));
    EXPECT_FALSE(o.has(QStringLiteral("missing")));
    EXPECT_NO_THROW(o.requirePositional(2, 2));
    EXPECT_THROW(o.requirePositional(0, 1), UsageError);
    EXPECT_THROW(o.require({"missing"}), UsageError);
}

TEST(CliOptions, Refusals)
{
    EXPECT_TRUE(refusal({QStringLiteral("--date"), QStringLiteral("x")}).contains(QStringLiteral("necunoscuta: --date")));
    EXPECT_TRUE(refusal({QStringLiteral("--data")}).contains(QStringLiteral("cere o valoare")));
    EXPECT_TRUE(refusal({QStringLiteral("--data"), QStringLiteral("a"), QStringLiteral("--data"), QStringLiteral("b")})
                    .contains(QStringLiteral("de doua ori")));
    EXPECT_TRUE(refusal({QStringLiteral("--verbose"), QStringLiteral("--verbose")}).contains(QStringLiteral("de doua ori")));
    EXPECT_TRUE(refusal({QStringLiteral("--param"), QStringLiteral("A=1"), QStringLiteral("--param"), QStringLiteral("B=1")}).isEmpty());
}

// The CLI prints every line break of a message as a line feed and no system text in English.
TEST(CliOutput, MessageLinesUseLineFeeds)
{
    EXPECT_EQ(velmor::cli::messageLines(QStringLiteral("Unu\rDoi\r\nTrei\nPatru")), QStringLiteral("Unu\nDoi\nTrei\nPatru"));
    EXPECT_EQ(velmor::cli::messageLines(QStringLiteral("Nu pot scrie x: Permission denied\r")), QStringLiteral("Nu pot scrie x: acces interzis\n"));
}
