#include "data/ChapterCatalogue.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace velmor::data;

namespace {

TEST(ChapterCatalogue, RowCounts)
{
    const int expected[] = {0, 0, 12, 15, 35, 13, 15, 33, 40, 42, 19, 1, 0};
    for (int n = 0; n <= 12; ++n)
        EXPECT_EQ(chapterRowCount(n), expected[n]) << n;
    EXPECT_EQ(chapterRowCount(-1), 0);
}

TEST(ChapterCatalogue, CodesAreThePositionsOutsideChapterSeven)
{
    for (int n = 2; n <= 10; ++n) {
        if (n == 7)
            continue;
        for (int k = 1; k <= chapterRowCount(n); ++k) {
            EXPECT_EQ(chapterRowCode(n, k), double(k));
            EXPECT_EQ(chapterRowCodeText(n, k), QString::number(k));
            EXPECT_EQ(chapterPositionOfCode(n, k), k);
        }
    }
    EXPECT_EQ(chapterRowCode(2, 13), 0.0);
    EXPECT_EQ(chapterRowCode(2, 0), 0.0);
    EXPECT_EQ(chapterRowCode(11, 1), 0.0);
}

TEST(ChapterCatalogue, ChapterSevenCodes)
{
    const QStringList codes {
        "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "14.1", "15", "16",
        "17", "18", "19", "20", "20.1", "21", "22", "22.1", "23", "24", "25", "26", "27", "28", "29", "30"};
    ASSERT_EQ(codes.size(), chapterRowCount(7));
    for (int k = 1; k <= 33; ++k) {
        EXPECT_EQ(chapterRowCodeText(7, k), codes[k - 1]) << k;
        EXPECT_DOUBLE_EQ(chapterRowCode(7, k), codes[k - 1].toDouble()) << k;
        EXPECT_EQ(chapterPositionOfCode(7, codes[k - 1].toDouble()), k) << k;
    }
    EXPECT_EQ(chapterRowCodeTenths(7, 15), 141);
    EXPECT_EQ(chapterPositionOfCode(7, 14.2), 0);
    EXPECT_EQ(chapterPositionOfCode(7, 31), 0);
    EXPECT_EQ(chapterPositionOfCode(2, 4.5), 0);
    EXPECT_EQ(chapterRowName(7, 15), QStringLiteral("             > berbeci de reproductie autorizati"));
    EXPECT_EQ(chapterRowName(7, 22), QStringLiteral("             > vieri de reproductie autorizati"));
    EXPECT_EQ(chapterRowName(7, 25), QStringLiteral(" - armasari de reproductie autorizati"));
    EXPECT_EQ(chapterRowName(7, 33), QStringLiteral("Albine - familii"));
}

TEST(ChapterCatalogue, Names)
{
    EXPECT_EQ(chapterRowName(2, 8), QStringLiteral("TEREN AGRICOL. Total:1+2+3+4+6"));
    EXPECT_EQ(chapterRowName(2, 12), QStringLiteral("SUPRAFATA TOTALA: 8+9+10+11"));
    EXPECT_EQ(chapterRowName(3, 1), QStringLiteral("Suprafata agricola in proprietate (Cap.2 cod 8)"));
    EXPECT_EQ(chapterRowName(3, 3), QStringLiteral(" - in arenda"));
    EXPECT_EQ(chapterRowName(4, 28), QStringLiteral("  din care lucerna"));
    EXPECT_EQ(chapterRowName(4, 35), QStringLiteral("TOTAL TEREN ARABIL (33+34)"));
    EXPECT_EQ(chapterRowName(5, 1), QStringLiteral("POMI PE ROD -Total : cod 2..11"));
    EXPECT_EQ(chapterRowName(6, 15), QStringLiteral("TOTAL TEREN AGRICOL"));
    EXPECT_EQ(chapterRowName(8, 9), QStringLiteral("                                         > Alte intrari"));
    EXPECT_EQ(chapterRowName(8, 40), QStringLiteral("               > Alte iesiri"));
    EXPECT_EQ(chapterRowName(9, 1), QStringLiteral("Tractoare          > pana  la 45 CP"));
    EXPECT_EQ(chapterRowName(9, 42), QStringLiteral("Instalatii / cazan pentru fabricat tuica / rachiu"));
    for (int k = 1; k <= 19; ++k)
        EXPECT_TRUE(chapterRowName(10, k).isEmpty());
    EXPECT_TRUE(chapterRowName(11, 1).isEmpty());
    EXPECT_TRUE(chapterRowName(2, 13).isEmpty());
    for (int n = 2; n <= 9; ++n) {
        for (int k = 1; k <= chapterRowCount(n); ++k) {
            EXPECT_FALSE(chapterRowName(n, k).trimmed().isEmpty()) << n << "/" << k;
            EXPECT_LE(chapterRowName(n, k).size(), 60) << n << "/" << k;
        }
    }
}

}
