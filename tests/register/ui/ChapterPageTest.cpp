#include "EditorTestWorld.h"
#include "UiTestUtil.h"

#include "register/ui/ChapterPage.h"
#include "register/ui/NotesPage.h"
#include "register/ui/TForm6.h"

#include "grid/ui/EditableGrid.h"
#include "services/Settings.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::EditorWorld;
using velmor::test::waitUntil;

namespace {

ChapterPage* chapterPage(TForm6& form, int chapter)
{
    return qobject_cast<ChapterPage*>(form.page(chapter + 1));
}

int gridRowOfCode(ChapterPage* page, int code)
{
    grid::EditableGridModel& model = page->model();
    const int column = model.columnOfField(QStringLiteral("RAND"));
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.index(row, column).data(Qt::EditRole).toDouble() == code)
            return row;
    }
    return -1;
}

}

TEST(ChapterPages, EveryChapterHasItsPageTitleAndGrid)
{
    EditorWorld w(QStringLiteral("2010"));
    TForm6 form(w.ctx);
    for (int chapter = 2; chapter <= 10; ++chapter) {
        ChapterPage* page = chapterPage(form, chapter);
        ASSERT_NE(page, nullptr) << chapter;
        EXPECT_EQ(page->Titlu()->text(), ChapterLayout::of(chapter).title);
        EXPECT_EQ(page->Grid()->objectName(), QStringLiteral("DBGridCap%1").arg(chapter));
    }
    EXPECT_NE(qobject_cast<NotesPage*>(form.page(12)), nullptr);
    EXPECT_EQ(chapterPage(form, 2)->MetriPatrati()->text(), QStringLiteral("Afisare suprafete in metri patrati"));
    EXPECT_EQ(chapterPage(form, 3)->MetriPatrati(), nullptr);
}

TEST(ChapterPages, LeavingAPageWithAnOpenEditThroughTheNavigatorSavesIt)
{
    EditorWorld w(QStringLiteral("2010"));
    w.ctx.setUnlocked(true);
    TForm6 form(w.ctx);
    form.Pregateste();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, 30000));
    form.ButClick(6); // chapter 4
    ChapterPage* page = chapterPage(form, 4);
    ASSERT_EQ(form.Pages()->currentWidget(), page);
    const qint64 first = form.logic().currentCodid();
    ASSERT_GT(page->model().rowCount(), 30);

    const int row = gridRowOfCode(page, 22);
    const QModelIndex cell = page->model().index(row, page->model().columnOfField(QStringLiteral("HA")));
    page->Grid()->setFocus();
    page->Grid()->setCurrentIndex(cell);
    page->Grid()->edit(cell);
    QLineEdit* editor = nullptr;
    for (QLineEdit* e : page->Grid()->viewport()->findChildren<QLineEdit*>())
        if (!e->isHidden())
            editor = e;
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("57"));
    form.Navigator(HouseholdEditor::Move::Next)->click();

    const qint64 second = form.logic().currentCodid();
    ASSERT_NE(first, second);
    EXPECT_EQ(w.count(QStringLiteral("CAP4.dbf"), QStringLiteral("CODID=%1 AND RAND=22 AND HA=57").arg(first)), 1);
    EXPECT_EQ(w.count(QStringLiteral("CAP4.dbf"), QStringLiteral("CODID=%1 AND RAND=21 AND HA>=57").arg(first)), 1);
    // The page now shows the next household's chapter 4.
    EXPECT_EQ(page->session().codid(), second);
    EXPECT_EQ(page->session().rowCount(), 35);
    EXPECT_EQ(form.Pages()->currentWidget(), page);
    form.Inchide();
}

TEST(ChapterPages, LockedGridsAndNotesAreReadOnly)
{
    EditorWorld w(QStringLiteral("2010"));
    w.ctx.setUnlocked(false);
    TForm6 form(w.ctx);
    form.Pregateste();
    for (int chapter = 2; chapter <= 10; ++chapter) {
        form.ButClick(chapter + 2);
        ChapterPage* page = chapterPage(form, chapter);
        ASSERT_GT(page->model().rowCount(), 0) << chapter;
        for (int row = 0; row < page->model().rowCount(); ++row)
            for (int column = 0; column < page->model().columnCount(); ++column)
                ASSERT_FALSE(page->model().flags(page->model().index(row, column)) & Qt::ItemIsEditable) << chapter;
        EXPECT_FALSE(page->model().setData(page->model().index(gridRowOfCode(page, 2), 3), QStringLiteral("5")));
    }
    form.ButClick(13);
    auto* notes = qobject_cast<NotesPage*>(form.page(12));
    EXPECT_TRUE(notes->Mentiuni()->isReadOnly());
    form.Inchide();

    // Unlocked, the input cells of the same grids are editable, the computed rows are not.
    w.ctx.setUnlocked(true);
    TForm6 open(w.ctx);
    open.Pregateste();
    open.ButClick(9); // chapter 7
    ChapterPage* seven = chapterPage(open, 7);
    const int nr = seven->model().columnOfField(QStringLiteral("NR"));
    EXPECT_TRUE(seven->model().flags(seven->model().index(gridRowOfCode(seven, 2), nr)) & Qt::ItemIsEditable);
    EXPECT_FALSE(seven->model().flags(seven->model().index(gridRowOfCode(seven, 1), nr)) & Qt::ItemIsEditable);
    EXPECT_FALSE(seven->model().tryEdit(seven->model().index(gridRowOfCode(seven, 1), nr)));
    ASSERT_FALSE(w.ui.balloons().empty());
    EXPECT_EQ(w.ui.balloons().back().text, QStringLiteral("Linia Cod 1 se completeaza automat !"));
    open.ButClick(13);
    EXPECT_FALSE(qobject_cast<NotesPage*>(open.page(12))->Mentiuni()->isReadOnly());
    open.Inchide();
}

TEST(ChapterPages, TheSquareMetreSwitchIsKeptInTheSettings)
{
    EditorWorld w(QStringLiteral("2010"));
    w.ctx.setUnlocked(true);
    {
        TForm6 form(w.ctx);
        form.Pregateste();
        form.ButClick(4);
        ChapterPage* two = chapterPage(form, 2);
        const int ari = two->model().columnOfField(QStringLiteral("BARI"));
        EXPECT_EQ(two->model().column(ari).description.format, grid::DisplayFormat::wholeNumber());
        two->MetriPatrati()->setChecked(true);
        EXPECT_EQ(two->model().column(ari).description.format, grid::DisplayFormat::upTo(2));
        form.Inchide();
    }
    EXPECT_EQ(w.settings->Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("BIFCAP2")), QStringLiteral("DA"));
    // A new editor (a new start) shows the switch ticked and every area chapter's ares with decimals.
    TForm6 again(w.ctx);
    again.Pregateste();
    EXPECT_TRUE(chapterPage(again, 2)->MetriPatrati()->isChecked());
    again.ButClick(6);
    ChapterPage* four = chapterPage(again, 4);
    EXPECT_EQ(four->model().column(four->model().columnOfField(QStringLiteral("ARI"))).description.format, grid::DisplayFormat::upTo(2));
    const int row = gridRowOfCode(four, 3);
    ASSERT_TRUE(four->session().setValue(four->source().sessionRow(row), QStringLiteral("ARI"), 12.5));
    ASSERT_TRUE(four->session().post());
    EXPECT_EQ(four->model().index(row, four->model().columnOfField(QStringLiteral("ARI"))).data().toString(), QStringLiteral("12.5"));
    again.Inchide();
}

TEST(ChapterPages, TheKeyboardSkipsTheFixedColumns)
{
    EditorWorld w(QStringLiteral("2010"));
    w.ctx.setUnlocked(true);
    TForm6 form(w.ctx);
    form.Pregateste();
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, 30000));
    form.ButClick(12); // chapter 10
    ChapterPage* page = chapterPage(form, 10);
    grid::EditableGrid* grid = page->Grid();
    const int detalii = page->model().columnOfField(QStringLiteral("DETALII"));
    const int obs = page->model().columnOfField(QStringLiteral("OBS"));
    EXPECT_EQ(grid->currentIndex().column(), detalii);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_EQ(grid->currentIndex().column(), detalii);
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->currentIndex().column(), obs);
    QTest::keyClick(grid, Qt::Key_Home);
    EXPECT_EQ(grid->currentIndex().column(), detalii);
    form.Inchide();
}

// The row names stay in view when a chapter's grid scrolls to the right, and follow it up and down.
TEST(ChapterPages, RowNamesStayInViewWhenScrollingRight)
{
    EditorWorld w(QStringLiteral("2010"));
    TForm6 form(w.ctx);
    form.Pregateste();
    form.resize(560, 420);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.ButClick(4); // chapter 2
    grid::EditableGrid* grid = chapterPage(form, 2)->Grid();
    QTableView* names = grid->frozenView();
    ASSERT_NE(names, nullptr);
    const int categ = grid->model()->columnCount() > 0 ? chapterPage(form, 2)->model().columnOfField(QStringLiteral("CATEG")) : -1;
    ASSERT_EQ(categ, 0);
    EXPECT_EQ(grid->frozenColumns(), 2);
    ASSERT_TRUE(waitUntil([&] { return grid->horizontalScrollBar()->maximum() > 0; }));
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    EXPECT_TRUE(names->isVisible());
    EXPECT_EQ(names->focusPolicy(), Qt::NoFocus);
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        EXPECT_EQ(names->isColumnHidden(c), c >= 2) << c;
    EXPECT_EQ(names->columnViewportPosition(0), 0);
    EXPECT_EQ(names->width(), grid->columnWidth(0) + grid->columnWidth(1));
    EXPECT_EQ(names->model()->index(0, categ).data().toString(), grid->model()->index(0, categ).data().toString());
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    ASSERT_GT(grid->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(waitUntil([&] { return names->verticalScrollBar()->value() == grid->verticalScrollBar()->value(); }))
        << names->verticalScrollBar()->value() << " " << grid->verticalScrollBar()->value();
    // Chapters without row names (10, 11) have no frozen part.
    EXPECT_EQ(chapterPage(form, 10)->Grid()->frozenView(), nullptr);
    form.Inchide();
}
