#include "EditorTestWorld.h"

#include "register/ChapterCompletion.h"
#include "register/ChapterRepair.h"

#include "data/ChapterCatalogue.h"

#include <gtest/gtest.h>

#include <QFile>

#include "core/Error.h"

using namespace velmor;

namespace {

constexpr qint64 Household = 900001;

struct ChapterWorld : test::EditorWorld {
    ChapterWorld()
        : EditorWorld(QStringLiteral("2010"))
    {
        addHousehold(QStringLiteral("2010"), Household, QStringLiteral("SAT NOU"), 1, 90, 1);
    }

    ChapterCompletion completion() { return ChapterCompletion(*engine, ctx.dataDirectory, ctx.programDirectory, ui); }

    // A row written directly, as another program or an older version left it.
    void addRow(int chapter, double code, const QString& name, double value = 0)
    {
        const QString field = chapter == 5 || chapter == 7 || chapter == 9 ? QStringLiteral("NR")
                              : chapter == 2 || chapter == 6             ? QStringLiteral("BHA")
                                                                         : QStringLiteral("HA");
        engine::Query q(*engine);
        q.add(QStringLiteral("INSERT INTO ") + engine::quotedPath(ctx.tablePath(QStringLiteral("CAP%1.dbf").arg(chapter))));
        q.add(QStringLiteral("(ANUL, CODID, RAND, CATEG, %1) VALUES (2010, :C, :R, :N, :V)").arg(field));
        q.bind(QStringLiteral("C"), std::int64_t(Household)).bind(QStringLiteral("R"), code).bind(QStringLiteral("N"), name).bind(QStringLiteral("V"), value);
        q.execSQL();
    }

    qint64 rows(int chapter, const QString& extra = QString())
    {
        return count(QStringLiteral("CAP%1.dbf").arg(chapter), QStringLiteral("CODID=%1").arg(Household) + extra);
    }
};

}

TEST(ChapterCompletion, NewHouseholdGetsEveryCatalogueRow)
{
    ChapterWorld w;
    for (int chapter = 2; chapter <= 10; ++chapter) {
        const CompletionReport report = w.completion().complete(chapter, Household, 2010);
        EXPECT_EQ(report.added, data::chapterRowCount(chapter)) << chapter;
        EXPECT_EQ(report.removed, 0);
        EXPECT_EQ(w.rows(chapter), data::chapterRowCount(chapter)) << chapter;
        EXPECT_EQ(report.rows.size(), data::chapterRowCount(chapter));
    }
    // Chapter 4: codes 1 to 35 with the catalogue names and zero values.
    const engine::ResultSet cap4 = w.engine->select(QStringLiteral("SELECT RAND, CATEG, HA, ARI, ANUL FROM ")
                                                    + engine::quotedPath(w.ctx.tablePath(QStringLiteral("CAP4.dbf")))
                                                    + QStringLiteral(" WHERE CODID=%1 ORDER BY RAND").arg(Household));
    ASSERT_EQ(cap4.rows.size(), 35u);
    for (int k = 1; k <= 35; ++k) {
        const auto& row = cap4.rows[size_t(k - 1)];
        EXPECT_EQ(std::get<std::int64_t>(row[0]), k);
        EXPECT_EQ(std::get<QString>(row[1]), data::chapterRowName(4, k));
        EXPECT_EQ(std::get<std::int64_t>(row[2]), 0);
        EXPECT_EQ(std::get<double>(row[3]), 0.0);
        EXPECT_EQ(std::get<std::int64_t>(row[4]), 2010);
    }
    EXPECT_FALSE(QFile::exists(w.ctx.programDirectory + QStringLiteral("/Ft.dbf")));
    // A second opening adds nothing.
    for (int chapter = 2; chapter <= 11; ++chapter) {
        if (chapter == 11)
            EXPECT_EQ(w.completion().complete(11, Household, 2010).added, 1);
        const CompletionReport again = w.completion().complete(chapter, Household, 2010);
        EXPECT_EQ(again.added + again.removed, 0) << chapter;
    }
    EXPECT_EQ(w.rows(11), 1);
}

TEST(ChapterCompletion, Chapter7OfThirtyRowsGetsTheThreeDecimalCodesOnce)
{
    ChapterWorld w;
    for (int code = 1; code <= 30; ++code)
        w.addRow(7, code, QStringLiteral("vechi %1").arg(code), code);
    const CompletionReport report = w.completion().complete(7, Household, 2010);
    EXPECT_EQ(report.added, 3);
    EXPECT_EQ(report.removed, 0);
    EXPECT_EQ(w.rows(7), 33);
    EXPECT_EQ(w.rows(7, QStringLiteral(" AND RAND=14.1 AND CATEG='%1'").arg(data::chapterRowName(7, 15))), 1);
    EXPECT_EQ(w.rows(7, QStringLiteral(" AND RAND=20.1 AND CATEG='%1'").arg(data::chapterRowName(7, 22))), 1);
    EXPECT_EQ(w.rows(7, QStringLiteral(" AND RAND=22.1 AND CATEG='%1'").arg(data::chapterRowName(7, 25))), 1);
    // The codes 23 to 30 of the old form stay with their values; nothing is added again.
    EXPECT_EQ(w.rows(7, QStringLiteral(" AND RAND=30 AND NR=30")), 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(w.completion().complete(7, Household, 2010).added, 0);
    EXPECT_EQ(w.rows(7), 33);
}

TEST(ChapterCompletion, DuplicatesLoseTheirEmptyCopiesOnly)
{
    struct Case {
        const char* what;
        std::vector<double> valuesOfCode5; // the copies of code 5
        int removed;
        qint64 rowsLeft;
        int keptSets;
    };
    const Case cases[] = {
        {"two empty copies", {0, 0}, 1, 13, 0},
        {"empty copy before the one with data", {0, 12}, 1, 13, 0},
        {"data copy before the empty one", {12, 0}, 1, 13, 0},
        {"both hold data", {12, 7}, 0, 14, 1},
        {"both hold the same data", {7, 7}, 1, 13, 0},
        {"three copies, two with data", {3, 0, 4}, 1, 14, 1},
    };
    for (const Case& c : cases) {
        ChapterWorld w;
        for (int code = 1; code <= 13; ++code) {
            if (code != 5)
                w.addRow(5, code, data::chapterRowName(5, code));
        }
        for (double v : c.valuesOfCode5)
            w.addRow(5, 5, QStringLiteral("Pruni"), v);
        const CompletionReport report = w.completion().complete(5, Household, 2010);
        EXPECT_EQ(report.added, 0) << c.what;
        EXPECT_EQ(report.removed, c.removed) << c.what;
        EXPECT_EQ(w.rows(5), c.rowsLeft) << c.what;
        ASSERT_EQ(report.kept.size(), c.keptSets) << c.what;
        // The copies holding data are never removed.
        for (double v : c.valuesOfCode5) {
            if (v != 0)
                EXPECT_GE(w.rows(5, QStringLiteral(" AND RAND=5 AND NR=%1").arg(v)), 1) << c.what;
        }
        if (c.keptSets)
            EXPECT_EQ(report.kept.first().code, 5.0);
    }
}

TEST(ChapterCompletion, AMissingRowAndADuplicateDoNotCancelOut)
{
    ChapterWorld w;
    // 13 rows, as many as the catalogue, but code 6 is missing and code 5 is there twice.
    for (int code = 1; code <= 13; ++code) {
        if (code != 6)
            w.addRow(5, code, data::chapterRowName(5, code));
    }
    w.addRow(5, 5, QStringLiteral("Pruni"));
    ASSERT_EQ(w.rows(5), 13);
    const CompletionReport report = w.completion().complete(5, Household, 2010);
    EXPECT_EQ(report.added, 1);
    EXPECT_EQ(report.removed, 1);
    EXPECT_EQ(w.rows(5, QStringLiteral(" AND RAND=6")), 1);
    EXPECT_EQ(w.rows(5, QStringLiteral(" AND RAND=5")), 1);
    EXPECT_EQ(w.rows(5), 13);
}

TEST(ChapterCompletion, CompleteChapterKeepsItsNamesAndStrayRows)
{
    ChapterWorld w;
    for (int code = 1; code <= 12; ++code)
        w.addRow(2, code, QStringLiteral("nume propriu %1").arg(code));
    w.addRow(2, 40, QStringLiteral("rand strain"), 3);
    const CompletionReport report = w.completion().complete(2, Household, 2010);
    EXPECT_EQ(report.added + report.removed, 0);
    EXPECT_EQ(w.rows(2, QStringLiteral(" AND CATEG LIKE 'nume propriu%'")), 12);
    EXPECT_EQ(w.rows(2, QStringLiteral(" AND RAND=40")), 1);
}

TEST(ChapterRepair, CompletesAndRecomputesAYear)
{
    ChapterWorld w;
    // Chapter 2 rows 1 and 9 with B but A and the totals never computed.
    for (int code = 1; code <= 12; ++code)
        w.addRow(2, code, data::chapterRowName(2, code));
    w.engine->execute(QStringLiteral("UPDATE ") + engine::quotedPath(w.ctx.tablePath(QStringLiteral("CAP2.dbf")))
                      + QStringLiteral(" SET BHA=2, BARI=50 WHERE CODID=%1 AND RAND IN (1, 9)").arg(Household));
    // Chapter 7 with a duplicate holding data in both copies.
    w.addRow(7, 2, QStringLiteral("Vaci"), 3);
    w.addRow(7, 2, QStringLiteral("Vaci"), 4);

    ChapterRepair repair(*w.engine, w.ctx.dataDirectory, w.ctx.programDirectory, w.ui);
    const ChapterRepair::Report report = repair.run(2010, Household);
    EXPECT_EQ(report.households, 1);
    EXPECT_EQ(report.chapters[2].added, 0);
    EXPECT_EQ(report.chapters[2].changed, 12); // A := B on every row (blank before), rows 8 and 12
    EXPECT_EQ(report.chapters[4].added, 35);
    EXPECT_EQ(report.chapters[7].added, 32);
    EXPECT_EQ(report.chapters[11].added, 1);
    ASSERT_EQ(report.kept.size(), 1);
    EXPECT_EQ(report.kept.first().chapter, 7);
    EXPECT_EQ(w.rows(2, QStringLiteral(" AND RAND=8 AND AHA=2 AND AARI=50 AND BHA=2")), 1);
    EXPECT_EQ(w.rows(2, QStringLiteral(" AND RAND=12 AND AHA=5 AND AARI=0 AND BHA=5")), 1);
    // Chapter 3 row 1 from chapter 2 row 8; chapter 7 row 1 from the first copy of row 2.
    EXPECT_EQ(w.rows(3, QStringLiteral(" AND RAND=1 AND HA=2 AND ARI=50")), 1);
    EXPECT_EQ(w.rows(3, QStringLiteral(" AND RAND=15 AND HA=2 AND ARI=50")), 1);
    EXPECT_EQ(w.rows(7, QStringLiteral(" AND RAND=1 AND NR=3")), 1);

    // A second run finds nothing to do.
    const ChapterRepair::Report again = repair.run(2010, Household);
    for (int chapter = 2; chapter <= 11; ++chapter) {
        EXPECT_EQ(again.chapters[size_t(chapter)].added, 0) << chapter;
        EXPECT_EQ(again.chapters[size_t(chapter)].removed, 0) << chapter;
        EXPECT_EQ(again.chapters[size_t(chapter)].changed, 0) << chapter;
    }
    EXPECT_THROW(repair.run(2010, 123), Error);
}
