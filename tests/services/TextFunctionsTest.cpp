#include "services/TextFunctions.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(PuneAnd, EmptyOrBlankGivesEmpty)
{
    EXPECT_EQ(PuneAnd(QString()), QString());
    EXPECT_EQ(PuneAnd(QStringLiteral("   \t ")), QString());
}

TEST(PuneAnd, SingleConditionUnchanged)
{
    EXPECT_EQ(PuneAnd(QStringLiteral("(ANUL=2010)")), QStringLiteral("(ANUL=2010)"));
    EXPECT_EQ(PuneAnd(QStringLiteral("  (ANUL=2010)  ")), QStringLiteral("(ANUL=2010)"));
}

TEST(PuneAnd, JoinsAdjacentConditions)
{
    EXPECT_EQ(PuneAnd(QStringLiteral("  (A=1)(B=2)  ")), QStringLiteral("(A=1) AND (B=2)"));
    EXPECT_EQ(PuneAnd(QStringLiteral("(A=1)(B=2)(C=3)")), QStringLiteral("(A=1) AND (B=2) AND (C=3)"));
    // Nested parentheses that close and open side by side are joined as well.
    EXPECT_EQ(PuneAnd(QStringLiteral("((A=1)(B=2))(C=3)")), QStringLiteral("((A=1) AND (B=2)) AND (C=3)"));
}

TEST(PuneAnd, OnlyDirectlyAdjacentParenthesesAreJoined)
{
    EXPECT_EQ(PuneAnd(QStringLiteral("(A=1) OR (B=2)")), QStringLiteral("(A=1) OR (B=2)"));
    EXPECT_EQ(PuneAnd(QStringLiteral("(A=1) (B=2)")), QStringLiteral("(A=1) (B=2)"));
}

TEST(Curata, CollapsesBlanksAndTrims)
{
    EXPECT_EQ(Curata(QStringLiteral("  POPESCU   ION  ")), QStringLiteral("POPESCU ION"));
    EXPECT_EQ(Curata(QStringLiteral("A  B    C")), QStringLiteral("A B C"));
    EXPECT_EQ(Curata(QStringLiteral("ION")), QStringLiteral("ION"));
    EXPECT_EQ(Curata(QStringLiteral("     ")), QString());
    EXPECT_EQ(Curata(QString()), QString());
}

TEST(Curata, KeepsDiacriticsAndOtherCharacters)
{
    EXPECT_EQ(Curata(QStringLiteral(" \u0162\u0102RAN   \u015ETEFANA ")), QStringLiteral("\u0162\u0102RAN \u015ETEFANA"));
    // Only blanks are merged; a tab between words stays.
    EXPECT_EQ(Curata(QStringLiteral("A\t\tB")), QStringLiteral("A\t\tB"));
}
