#include "ChapterTestRows.h"

#include "register/ChapterLayout.h"
#include "register/ChapterRules.h"

#include <gtest/gtest.h>

#include <QDate>

using namespace velmor;
using velmor::test::catalogueRows;
using velmor::test::indexOfCode;
using velmor::test::setPair;

namespace {

area::HaAri pairOf(const ChapterRows& rows, int code, const QString& pair)
{
    return area::split(rows.metres(code, pair));
}

}

TEST(AreaMetres, SplitsAndJoinsExactly)
{
    struct Case {
        double ha, ari;
        qint64 metres;
        area::HaAri back;
    };
    const Case cases[] = {
        {0, 60, 6000, {0, 60}},
        {1, 50, 15000, {1, 50}},
        {3, 0.5, 30050, {3, 0.5}},
        {0, 99.99, 9999, {0, 99.99}},
        {0, 300, 30000, {3, 0}},
        {-1, -50.5, -15050, {-1, -50.5}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(area::metres(c.ha, c.ari), c.metres) << c.ha << " " << c.ari;
        const area::HaAri split = area::split(c.metres);
        EXPECT_EQ(split.ha, c.back.ha) << c.metres;
        EXPECT_DOUBLE_EQ(split.ari, c.back.ari) << c.metres;
    }
}

TEST(ChapterRules, Cap2BuiltUpAreaIsClampedToTheLocalityArea)
{
    ChapterRows rows = catalogueRows(2);
    setPair(rows, 1, QStringLiteral("B"), 1, 50);
    setPair(rows, 1, QStringLiteral("I"), 2, 0);
    const QStringList warnings = chapter_rules::afterSaveCap2(rows, indexOfCode(rows, 1));
    EXPECT_EQ(warnings, QStringList {QStringLiteral("Suprafata intravilana incorecta !")});
    EXPECT_EQ(pairOf(rows, 1, QStringLiteral("I")), (area::HaAri {1, 50}));
    EXPECT_EQ(pairOf(rows, 1, QStringLiteral("A")), (area::HaAri {1, 50}));
    EXPECT_EQ(pairOf(rows, 8, QStringLiteral("B")), (area::HaAri {1, 50}));
    EXPECT_EQ(pairOf(rows, 12, QStringLiteral("A")), (area::HaAri {1, 50}));
}

TEST(ChapterRules, Cap2SquareMetresCarryIntoHectares)
{
    ChapterRows rows = catalogueRows(2);
    for (int code : {1, 2, 3, 4, 6})
        setPair(rows, code, QStringLiteral("B"), 0, 60);
    chapter_rules::afterSaveCap2(rows, indexOfCode(rows, 6));
    EXPECT_EQ(rows.number(8, QStringLiteral("BHA")), 3);
    EXPECT_EQ(rows.number(8, QStringLiteral("BARI")), 0);
    EXPECT_EQ(rows.number(8, QStringLiteral("AHA")), 3);
    // Row 12 adds rows 9, 10 and 11 to row 8.
    setPair(rows, 10, QStringLiteral("B"), 0, 45.5);
    setPair(rows, 11, QStringLiteral("C"), 2, 0);
    chapter_rules::afterSaveCap2(rows, indexOfCode(rows, 10));
    EXPECT_EQ(pairOf(rows, 12, QStringLiteral("B")), (area::HaAri {3, 45.5}));
    EXPECT_EQ(pairOf(rows, 12, QStringLiteral("C")), (area::HaAri {2, 0}));
    EXPECT_EQ(pairOf(rows, 8, QStringLiteral("C")), (area::HaAri {0, 0}));
}

TEST(ChapterRules, Cap2ComputedColumns)
{
    struct Case {
        area::HaAri b, c, i, total, outside;
    };
    const Case cases[] = {
        {{2, 0}, {1, 20}, {0, 50}, {3, 20}, {1, 50}},
        {{0, 10}, {0, 0}, {0, 30}, {0, 10}, {0, 0}}, // outside would be negative: 0
        {{0, 70}, {0, 40}, {0, 0}, {1, 10}, {0, 70}},
    };
    for (const Case& c : cases) {
        ChapterRow row;
        row.setArea(QStringLiteral("B"), c.b);
        row.setArea(QStringLiteral("C"), c.c);
        row.setArea(QStringLiteral("I"), c.i);
        EXPECT_EQ(chapter_rules::totalOfCap2Row(row), c.total);
        EXPECT_EQ(chapter_rules::outsideOfCap2Row(row), c.outside);
    }
}

TEST(ChapterRules, Cap2SubRowsLargerThanTheirRowWarnAndKeepValues)
{
    ChapterRows rows = catalogueRows(2);
    setPair(rows, 4, QStringLiteral("B"), 1, 0);
    setPair(rows, 4, QStringLiteral("A"), 1, 0);
    setPair(rows, 5, QStringLiteral("B"), 2, 0);
    QStringList warnings = chapter_rules::afterSaveCap2(rows, indexOfCode(rows, 5));
    EXPECT_EQ(warnings, QStringList {QStringLiteral("Linia cod 4 sau 5 este incorecta !")});
    EXPECT_EQ(rows.number(5, QStringLiteral("BHA")), 2);
    // Another save warns again; row 7 over row 6 too.
    setPair(rows, 7, QStringLiteral("B"), 0, 1);
    warnings = chapter_rules::afterSaveCap2(rows, indexOfCode(rows, 7));
    EXPECT_EQ(warnings, (QStringList {QStringLiteral("Linia cod 4 sau 5 este incorecta !"), QStringLiteral("Linia cod 6 sau 7 este incorecta !")}));
}

TEST(ChapterRules, RowsAreFoundByTheirCodeNotTheirPlace)
{
    ChapterRows rows = catalogueRows(2);
    // A stray row whose code is not in the catalogue, read first.
    ChapterRow stray = rows.rows().first();
    stray.record = 100;
    stray.code = 0;
    stray.setArea(QStringLiteral("B"), area::HaAri {7, 0});
    QList<ChapterRow> all = rows.rows();
    all.prepend(stray);
    ChapterRows withStray(2, all);
    setPair(withStray, 1, QStringLiteral("B"), 1, 0);
    chapter_rules::afterSaveCap2(withStray, indexOfCode(withStray, 1));
    EXPECT_EQ(withStray.number(8, QStringLiteral("BHA")), 1);
    EXPECT_EQ(withStray.number(12, QStringLiteral("BHA")), 1);
    EXPECT_EQ(withStray.rows().first().number(QStringLiteral("BHA")), 7); // untouched
}

TEST(ChapterRules, Cap3NegativeResultIsZeroWithTheMessage)
{
    ChapterRows rows = catalogueRows(3);
    chapter_rules::CalculeazaCAP3(rows, 2, 0);
    setPair(rows, 4, QString(), 0, 50);
    setPair(rows, 9, QString(), 1, 0);
    setPair(rows, 12, QString(), 2, 0);
    const QString message = chapter_rules::VerificaCAP3(rows);
    EXPECT_EQ(message, chapter_rules::Cap3Warning + QLatin1Char('\r') + chapter_rules::Cap3Reason);
    EXPECT_EQ(pairOf(rows, 15, QString()), (area::HaAri {0, 0}));
    EXPECT_EQ(pairOf(rows, 8, QString()), (area::HaAri {3, 0}));
    EXPECT_EQ(pairOf(rows, 2, QString()), (area::HaAri {0, 50}));

    // Within the limits: row 15 = 1 + 2 - 8.
    setPair(rows, 12, QString(), 0, 20);
    EXPECT_TRUE(chapter_rules::VerificaCAP3(rows).isEmpty());
    EXPECT_EQ(pairOf(rows, 15, QString()), (area::HaAri {1, 30}));
    EXPECT_EQ(pairOf(rows, 8, QString()), (area::HaAri {1, 20}));
}

TEST(ChapterRules, Cap4Totals)
{
    ChapterRows rows = catalogueRows(4);
    for (int code = 1; code <= 20; ++code)
        setPair(rows, code, QString(), 1, 0);
    setPair(rows, 22, QString(), 2, 0);
    setPair(rows, 28, QString(), 5, 0);
    setPair(rows, 34, QString(), 1, 0);
    chapter_rules::CalculeazaCAP4Intern(rows);
    EXPECT_EQ(pairOf(rows, 21, QString()), (area::HaAri {2, 0}));
    EXPECT_EQ(pairOf(rows, 33, QString()), (area::HaAri {22, 0}));
    EXPECT_EQ(pairOf(rows, 35, QString()), (area::HaAri {23, 0}));
    // 26, 27, 29..32 count; ares carry.
    setPair(rows, 26, QString(), 0, 50);
    setPair(rows, 32, QString(), 0, 50.5);
    chapter_rules::CalculeazaCAP4Intern(rows);
    EXPECT_EQ(pairOf(rows, 33, QString()), (area::HaAri {23, 0.5}));
}

TEST(ChapterRules, Cap5AndCap7Totals)
{
    ChapterRows trees = catalogueRows(5);
    for (int code = 2; code <= 13; ++code)
        trees.at(code)->setNumber(QStringLiteral("NR"), code);
    chapter_rules::CalculeazaCAP5Intern(trees);
    EXPECT_EQ(trees.number(1, QStringLiteral("NR")), 2 + 3 + 4 + 5 + 6 + 7 + 8 + 9 + 10 + 11);

    ChapterRows animals = catalogueRows(7);
    for (ChapterRow& row : animals.rows())
        row.setNumber(QStringLiteral("NR"), 1000);
    animals.byCode(141)->setNumber(QStringLiteral("NR"), 5);
    chapter_rules::CalculeazaCAP7Intern(animals);
    // Rows 7, 9 and 11 onward are not summed.
    EXPECT_EQ(animals.number(1, QStringLiteral("NR")), 7000);
}

TEST(ChapterRules, Cap6TotalsFollowTheirRows)
{
    ChapterRows rows = catalogueRows(6);
    setPair(rows, 2, QStringLiteral("B"), 1, 0);
    setPair(rows, 2, QStringLiteral("C"), 0, 5.5);
    chapter_rules::afterSaveCap6(rows, indexOfCode(rows, 2));
    EXPECT_EQ(pairOf(rows, 2, QStringLiteral("A")), (area::HaAri {1, 0}));
    EXPECT_EQ(pairOf(rows, 1, QStringLiteral("B")), (area::HaAri {1, 0}));
    EXPECT_EQ(pairOf(rows, 1, QStringLiteral("A")), (area::HaAri {1, 0}));
    EXPECT_EQ(pairOf(rows, 15, QStringLiteral("C")), (area::HaAri {0, 5.5}));
    // Row 11 from 0 to 3 ha: row 15 grows by 3 ha, row 1 does not change.
    setPair(rows, 11, QStringLiteral("B"), 3, 0);
    chapter_rules::afterSaveCap6(rows, indexOfCode(rows, 11));
    EXPECT_EQ(pairOf(rows, 15, QStringLiteral("B")), (area::HaAri {4, 0}));
    EXPECT_EQ(pairOf(rows, 1, QStringLiteral("B")), (area::HaAri {1, 0}));
}

TEST(ChapterRules, Cap10YearsAndMaterialCodes)
{
    const int year = QDate::currentDate().year();
    struct Case {
        int code;
        double value;
        bool wrong;
    };
    const Case cases[] = {
        {2, 7, false}, {2, 345, false}, {5, 346, true}, {11, 0, false},
        {3, 1650, true}, {3, 0, false}, {3, 1700, false}, {6, double(year), false}, {9, double(year + 1), true},
        {12, 1699.6, false}, // rounds to 1700
        {1, 5000, false}, {13, 1, false},
    };
    for (const Case& c : cases) {
        ChapterRow row;
        row.code = c.code;
        row.setNumber(QStringLiteral("DETALII"), c.value);
        const QStringList warnings = chapter_rules::checkCap10(row, year);
        if (c.wrong)
            EXPECT_EQ(warnings, QStringList {QStringLiteral("Linia cod %1 este incorecta !").arg(c.code)}) << c.code << " " << c.value;
        else
            EXPECT_TRUE(warnings.isEmpty()) << c.code << " " << c.value;
    }
}

TEST(ChapterLayout, CaptionsAreTheGridsHeadings)
{
    const struct {
        int chapter;
        const char* field;
        const char* caption;
    } cases[] = {
        {4, "HA", "SUPRAFATA ha"},
        {4, "ARI", "SUPRAFATA ari"},
        {7, "NR", "CAPETE"},
        {5, "NR", "EFECTIV"},
        {4, "NIMIC", "NIMIC"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChapterLayout::of(c.chapter).caption(QString::fromLatin1(c.field)), QString::fromLatin1(c.caption)) << c.field;
    // Chapter 2's pairs carry their group's heading, line breaks as blanks.
    for (const char* field : {"AHA", "AARI", "BHA", "CHA"}) {
        const QString caption = ChapterLayout::of(2).caption(QString::fromLatin1(field));
        EXPECT_NE(caption, QString::fromLatin1(field));
        EXPECT_FALSE(caption.contains(QLatin1Char('\n'))) << caption.toStdString();
        EXPECT_TRUE(caption.endsWith(QStringLiteral(" ha")) || caption.endsWith(QStringLiteral(" ari"))) << caption.toStdString();
    }
}

TEST(ChapterRows, OverflowOfAComputedValueIsNamed)
{
    ChapterRows before = catalogueRows(4);
    setPair(before, 1, QString(), 9999, 0);
    ChapterRows after = before;
    setPair(after, 2, QString(), 1, 0);
    chapter_rules::CalculeazaCAP4Intern(after);
    const QString message = overflowMessage(before, after);
    EXPECT_TRUE(message.contains(QStringLiteral("10000"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("linia cod 33"))) << message.toStdString();
    // The column as the grid heads it, not its field name.
    EXPECT_TRUE(message.contains(QStringLiteral("in coloana \"SUPRAFATA ha\""))) << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("HA"))) << message.toStdString();
    // Within the width nothing is refused.
    setPair(after, 1, QString(), 9000, 0);
    chapter_rules::CalculeazaCAP4Intern(after);
    EXPECT_TRUE(overflowMessage(before, after).isEmpty());
}
