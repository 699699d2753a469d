#include "EditorTestWorld.h"

#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "register/ChapterGridSource.h"
#include "register/ChapterRules.h"
#include "register/ChapterSession.h"
#include "register/HouseholdNotes.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace velmor;

namespace {

constexpr qint64 Household = 900002;

struct SessionWorld : test::EditorWorld {
    SessionWorld()
        : EditorWorld(QStringLiteral("2010"))
    {
        addHousehold(QStringLiteral("2010"), Household, QStringLiteral("SAT NOU"), 1, 91, 1);
        ctx.setUnlocked(true);
    }

    qint64 rows(int chapter, const QString& where)
    {
        return count(QStringLiteral("CAP%1.dbf").arg(chapter), QStringLiteral("CODID=%1 AND ").arg(Household) + where);
    }
};

int indexOf(const ChapterSession& s, double code)
{
    for (int i = 0; i < s.rowCount(); ++i) {
        if (s.rows().rows()[i].codeTenths() == int(std::lround(code * 10)))
            return i;
    }
    return -1;
}

}

TEST(ChapterSession, SavingARowRecomputesAndWritesTheTotals)
{
    SessionWorld w;
    ChapterSession s(w.ctx, 4);
    s.open(Household);
    ASSERT_EQ(s.rowCount(), 35);
    EXPECT_TRUE(s.setValue(indexOf(s, 22), QStringLiteral("HA"), 2.0));
    EXPECT_TRUE(s.setValue(indexOf(s, 22), QStringLiteral("ARI"), QStringLiteral("30.5")));
    EXPECT_TRUE(s.hasPending());
    EXPECT_EQ(w.rows(4, QStringLiteral("RAND=22 AND HA=2")), 0); // not saved yet
    // Moving to another row saves the pending one.
    EXPECT_TRUE(s.setValue(indexOf(s, 1), QStringLiteral("HA"), 1.0));
    EXPECT_EQ(w.rows(4, QStringLiteral("RAND=22 AND HA=2 AND ARI=30.5")), 1);
    EXPECT_EQ(w.rows(4, QStringLiteral("RAND=21 AND HA=2 AND ARI=30.5")), 1);
    s.StopCap();
    EXPECT_EQ(w.rows(4, QStringLiteral("RAND=1 AND HA=1")), 1);
    EXPECT_EQ(w.rows(4, QStringLiteral("RAND=33 AND HA=3 AND ARI=30.5")), 1);
    EXPECT_EQ(w.rows(4, QStringLiteral("RAND=35 AND HA=3 AND ARI=30.5")), 1);
}

TEST(ChapterSession, TypedValuesOutsideTheLimitsAreRefused)
{
    struct Case {
        int chapter;
        const char* field;
        dbf::Value value;
        bool taken;
    };
    const Case cases[] = {
        {2, "BHA", 9999.0, true},     {2, "BHA", 10000.0, false}, {2, "BARI", 99.99, true},
        {2, "BARI", 100.0, false},    {4, "ARI", 99.9, true},     {4, "ARI", 10.25, false},
        {6, "CARI", 0.5, true},       {5, "NR", 9999999.0, true}, {7, "NR", 1000000.0, false},
        {8, "SEM_2", 1.5, false},     {9, "NR", -1.0, false},     {2, "AHA", 1.0, false}, // A is not typed
        {10, "OBS", QString(41, QLatin1Char('x')), false},        {10, "DETALII", 12.34, true},
        {4, "HA", QStringLiteral("abc"), false},
    };
    for (const Case& c : cases) {
        SessionWorld w;
        ChapterSession s(w.ctx, c.chapter);
        s.open(Household);
        const int row = indexOf(s, c.chapter == 10 ? 13 : 3);
        EXPECT_EQ(s.setValue(row, QString::fromLatin1(c.field), c.value), c.taken) << c.chapter << " " << c.field;
        EXPECT_EQ(s.hasPending(), c.taken);
        // A value out of limits says why; a column that cannot be typed into says nothing.
        const bool typed = ChapterLayout::of(c.chapter).column(QString::fromLatin1(c.field))->editable;
        EXPECT_EQ(w.ui.balloons().size(), !c.taken && typed ? 1u : 0u) << c.chapter << " " << c.field;
    }
}

TEST(ChapterSession, ComputedRowsAndTheLockedStateRefuseEditing)
{
    SessionWorld w;
    ChapterSession s(w.ctx, 7);
    s.open(Household);
    EXPECT_FALSE(s.setValue(indexOf(s, 1), QStringLiteral("NR"), 5.0));
    ASSERT_EQ(w.ui.balloons().size(), 1u);
    EXPECT_EQ(w.ui.balloons().front().text, QStringLiteral("Linia Cod 1 se completeaza automat !"));
    EXPECT_EQ(w.ui.balloons().front().anchor, QStringLiteral("DBGridCap7"));
    EXPECT_TRUE(s.setValue(indexOf(s, 14.1), QStringLiteral("NR"), 5.0));
    s.cancel();
    s.setUnlocked(false);
    EXPECT_FALSE(s.setValue(indexOf(s, 2), QStringLiteral("NR"), 5.0));
    ChapterGridSource source(s);
    EXPECT_TRUE(source.readOnly());
    s.StopCap();
    EXPECT_EQ(w.rows(7, QStringLiteral("NR<>0")), 0);
}

TEST(ChapterSession, ATotalThatDoesNotFitIsRefusedAndNothingIsSaved)
{
    SessionWorld w;
    w.ui.setMessageHandler([](const ScriptedInteraction::Message&) { return int(ResultOk); });
    ChapterSession s(w.ctx, 4);
    s.open(Household);
    ASSERT_TRUE(s.setValue(indexOf(s, 1), QStringLiteral("HA"), 9999.0));
    ASSERT_TRUE(s.post());
    ASSERT_EQ(w.rows(4, QStringLiteral("RAND=33 AND HA=9999")), 1);
    ASSERT_TRUE(s.setValue(indexOf(s, 2), QStringLiteral("HA"), 1.0));
    EXPECT_FALSE(s.post());
    ASSERT_FALSE(w.ui.messages().empty());
    EXPECT_TRUE(w.ui.lastMessage().text.contains(QStringLiteral("nu incape"))) << w.ui.lastMessage().text.toStdString();
    EXPECT_EQ(w.rows(4, QStringLiteral("RAND=2 AND HA=0")), 1);
    EXPECT_EQ(w.rows(4, QStringLiteral("RAND=33 AND HA=9999")), 1);
    EXPECT_EQ(s.rows().number(33, QStringLiteral("HA")), 9999);
    EXPECT_FALSE(s.hasPending());
}

TEST(ChapterSession, Chapter3ZerosAreReportedAtOnceAndAtTheNextOpening)
{
    SessionWorld w;
    w.ui.setMessageHandler([](const ScriptedInteraction::Message&) { return int(ResultOk); });
    ChapterSession s(w.ctx, 3);
    s.open(Household);
    EXPECT_TRUE(w.ui.messages().empty());
    ASSERT_TRUE(s.setValue(indexOf(s, 9), QStringLiteral("HA"), 2.0));
    ASSERT_TRUE(s.post());
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.lastMessage().title, QStringLiteral("Verificare date"));
    EXPECT_EQ(w.ui.lastMessage().text, chapter_rules::Cap3Warning + QLatin1Char('\r') + chapter_rules::Cap3Reason);
    EXPECT_EQ(w.rows(3, QStringLiteral("RAND=15 AND HA=0 AND ARI=0")), 1);
    EXPECT_EQ(w.rows(3, QStringLiteral("RAND=8 AND HA=2")), 1);
    s.StopCap();
    s.open(Household);
    ASSERT_EQ(w.ui.messages().size(), 2u);
    EXPECT_EQ(w.ui.lastMessage().kind, int(KindError));
}

TEST(ChapterSession, Chapter3TakesTheOwnedAreaFromChapter2)
{
    SessionWorld w;
    ChapterSession two(w.ctx, 2);
    two.open(Household);
    ASSERT_TRUE(two.setValue(indexOf(two, 1), QStringLiteral("BHA"), 1.0));
    ASSERT_TRUE(two.setValue(indexOf(two, 1), QStringLiteral("BARI"), 50.0));
    ASSERT_TRUE(two.setValue(indexOf(two, 1), QStringLiteral("IHA"), 2.0));
    two.StopCap();
    EXPECT_EQ(w.ui.balloons().size(), 1u);
    EXPECT_EQ(w.rows(2, QStringLiteral("RAND=1 AND IHA=1 AND IARI=50 AND AHA=1 AND AARI=50")), 1);
    EXPECT_EQ(w.rows(2, QStringLiteral("RAND=8 AND AHA=1 AND AARI=50")), 1);
    ChapterSession three(w.ctx, 3);
    three.open(Household);
    EXPECT_EQ(w.rows(3, QStringLiteral("RAND=1 AND HA=1 AND ARI=50")), 1);
    EXPECT_EQ(w.rows(3, QStringLiteral("RAND=15 AND HA=1 AND ARI=50")), 1);
}

TEST(ChapterSession, KeptDuplicatesAreShownOnOpening)
{
    SessionWorld w;
    ChapterSession s(w.ctx, 9);
    s.open(Household);
    engine::Query q(*w.engine);
    q.add(QStringLiteral("INSERT INTO ") + engine::quotedPath(w.ctx.tablePath(QStringLiteral("CAP9.dbf"))));
    q.add(QStringLiteral("(ANUL, CODID, RAND, CATEG, NR) VALUES (2010, :C, 3, 'dublu', 2)"));
    q.bind(QStringLiteral("C"), std::int64_t(Household));
    q.execSQL();
    ASSERT_TRUE(s.setValue(indexOf(s, 3), QStringLiteral("NR"), 1.0));
    s.StopCap();
    s.open(Household);
    ASSERT_EQ(w.ui.messagesContaining(QStringLiteral("linia cod 3 apare de 2 ori")).size(), 1u);
    EXPECT_EQ(s.rowCount(), 43);
}

TEST(HouseholdNotes, OneRowAndTheTextIsSavedWhenLeaving)
{
    SessionWorld w;
    HouseholdNotes notes(w.ctx);
    notes.open(Household);
    EXPECT_TRUE(notes.text().isEmpty());
    notes.setText(QStringLiteral("Teren in litigiu \"Dealul Mare\"\nsecond line"));
    EXPECT_TRUE(notes.StopCap(true));
    notes.open(Household);
    EXPECT_EQ(notes.text(), QStringLiteral("Teren in litigiu \"Dealul Mare\"\nsecond line"));
    // Locked: nothing typed is saved.
    notes.setText(QStringLiteral("alt text"));
    EXPECT_TRUE(notes.StopCap(false));
    notes.open(Household);
    EXPECT_EQ(notes.text(), QStringLiteral("Teren in litigiu \"Dealul Mare\"\nsecond line"));
    EXPECT_EQ(w.count(QStringLiteral("CAP11.dbf"), QStringLiteral("CODID=%1").arg(Household)), 1);
}

TEST(HouseholdNotes, LineBreaksAreCrLfOnDiskAndLineEndsAloneAreNoChange)
{
    SessionWorld w;
    const QString cap11 = engine::quotedPath(w.ctx.tablePath(QStringLiteral("CAP11.dbf")));
    const auto stored = [&] {
        const engine::ResultSet r = w.engine->select(QStringLiteral("SELECT MENTIUNI FROM ") + cap11
                                                     + QStringLiteral(" WHERE ANUL=2010 AND CODID=%1").arg(Household));
        return std::get<QString>(r.rows.at(0).at(0));
    };
    HouseholdNotes notes(w.ctx);
    notes.open(Household);
    notes.setText(QStringLiteral("prima linie\na doua linie"));
    ASSERT_TRUE(notes.StopCap(true));
    EXPECT_EQ(stored(), QStringLiteral("prima linie\r\na doua linie"));

    // A council's file: CR LF is read back as one line break.
    engine::Parameters text;
    text.bind(QStringLiteral("T"), QStringLiteral("unu\r\ndoi\r\n\r\ntrei"));
    w.engine->execute(QStringLiteral("UPDATE ") + cap11 + QStringLiteral(" SET MENTIUNI=:T WHERE CODID=%1").arg(Household), text);
    notes.open(Household);
    EXPECT_EQ(notes.text(), QStringLiteral("unu\ndoi\n\ntrei"));
    for (const char* same : {"unu\ndoi\n\ntrei", "unu\r\ndoi\r\n\r\ntrei", "unu\rdoi\r\rtrei"}) {
        notes.setText(QString::fromLatin1(same));
        EXPECT_FALSE(notes.isChanged()) << same;
    }
    notes.setText(QStringLiteral("unu\ndoi\ntrei"));
    EXPECT_TRUE(notes.isChanged());
    ASSERT_TRUE(notes.StopCap(true));
    EXPECT_EQ(stored(), QStringLiteral("unu\r\ndoi\r\ntrei"));
}

TEST(ChapterSession, LegacyChaptersOfTheReferenceRegisterAreRepairedOnOpening)
{
    test::EditorWorld w(QStringLiteral("2010"));
    w.ctx.setUnlocked(true);
    const auto bytes = [&](const QString& table) {
        QFile f(w.ctx.tablePath(table));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    // Household 103: chapter 5 with row 5 twice (the same trees in both copies).
    ChapterSession five(w.ctx, 5);
    five.open(103);
    EXPECT_EQ(five.completion().removed, 1);
    EXPECT_TRUE(five.completion().kept.isEmpty());
    EXPECT_EQ(w.count(QStringLiteral("CAP5.dbf"), QStringLiteral("CODID=103")), 13);
    EXPECT_EQ(w.count(QStringLiteral("CAP5.dbf"), QStringLiteral("CODID=103 AND RAND=1 AND NR=7")), 1);
    five.StopCap();

    // Chapter 7 of the old form: the three decimal rows are added once.
    ChapterSession seven(w.ctx, 7);
    seven.open(103);
    EXPECT_EQ(seven.completion().added, 3);
    EXPECT_EQ(seven.rowCount(), 33);
    seven.StopCap();
    const QByteArray after = bytes(QStringLiteral("CAP7.dbf"));
    seven.open(103);
    EXPECT_EQ(seven.completion().added, 0);
    seven.StopCap();
    EXPECT_EQ(bytes(QStringLiteral("CAP7.dbf")), after);

    // Household 101's complete chapter 2 is opened without a single write.
    const QByteArray cap2 = bytes(QStringLiteral("CAP2.dbf"));
    ChapterSession two(w.ctx, 2);
    two.open(101);
    EXPECT_EQ(two.rowCount(), 12);
    EXPECT_EQ(two.rows().number(8, QStringLiteral("BHA")), 3);
    EXPECT_DOUBLE_EQ(two.rows().number(8, QStringLiteral("BARI")), 60.25);
    two.StopCap();
    EXPECT_EQ(bytes(QStringLiteral("CAP2.dbf")), cap2);
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(ChapterSession, LeavingWithARowThatCannotBeSavedTellsWhy)
{
    SessionWorld w;
    w.ui.setMessageHandler([](const ScriptedInteraction::Message&) { return int(ResultOk); });
    ChapterSession s(w.ctx, 6);
    s.open(Household);
    ASSERT_TRUE(s.setValue(indexOf(s, 11), QStringLiteral("BHA"), 9999.0));
    ASSERT_TRUE(s.post());
    ASSERT_TRUE(s.setValue(indexOf(s, 12), QStringLiteral("BHA"), 1.0));
    s.StopCap();
    EXPECT_FALSE(s.isOpen());
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.lastMessage().title, QStringLiteral("Verificare date"));
    EXPECT_TRUE(w.ui.lastMessage().text.contains(QStringLiteral("linia cod 15"))) << w.ui.lastMessage().text.toStdString();
    EXPECT_EQ(w.rows(6, QStringLiteral("RAND=12 AND BHA=0")), 1);
    EXPECT_EQ(w.rows(6, QStringLiteral("RAND=15 AND BHA=9999 AND AHA=9999")), 1);
}
