#include "EditorTestWorld.h"
#include "UiTestUtil.h"

#include "register/ui/EditorPage.h"
#include "register/ui/ScrollingLabel.h"
#include "register/ui/TForm6.h"

#include "grid/QueryTableModel.h"
#include "grid/ui/StandardGrid.h"
#include "output/ui/ExportFormatDialog.h"
#include "services/RegistryStore.h"
#include "ui/TNumericF.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::EditorWorld;
using velmor::test::failAndCloseModal;
using velmor::test::waitUntil;
using velmor::test::whenReady;

namespace {

QStringList labelTexts(QWidget* root)
{
    QStringList texts;
    for (QLabel* label : root->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

QStringList comboItems(QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

std::vector<int> buttonsDown(TForm6& form)
{
    std::vector<int> down;
    for (int n = 1; n <= HouseholdEditor::PageCount; ++n)
        if (form.But(n)->isChecked())
            down.push_back(n);
    return down;
}

}

TEST(TForm6, LooksAsDesigned)
{
    EditorWorld w(QStringLiteral("2010"));
    TForm6 form(w.ctx);
    EXPECT_EQ(form.windowTitle(), QString::fromLatin1(AppContext::VersionTitle));
    EXPECT_EQ(form.Titlu()->text(), QStringLiteral("EVIDENTE TITULARI - ADAUGARE / MODIFICARE"));
    const QStringList labels = labelTexts(&form);
    for (const char* text : {"LOCALITATEA          :", "Pozitia :", "Volumul :", "LOCALITATEA", "TIP", "Pozitia",
                             "Volumul", "Gospodarii afisate:"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
    EXPECT_EQ(form.Navigator(HouseholdEditor::Move::First)->toolTip(), QStringLiteral("Prima pozitie"));
    EXPECT_EQ(form.Navigator(HouseholdEditor::Move::Prior)->toolTip(), QStringLiteral("Pozitia precedenta"));
    EXPECT_EQ(form.Navigator(HouseholdEditor::Move::Next)->toolTip(), QStringLiteral("Pozitia urmatoare"));
    EXPECT_EQ(form.Navigator(HouseholdEditor::Move::Last)->toolTip(), QStringLiteral("Ultima pozitie"));
    EXPECT_EQ(form.Membri()->toolTip(), QStringLiteral("Click pentru a opri / porni defilarea."));
    EXPECT_EQ(form.statusBar()->currentMessage(), QStringLiteral("ESC - Iesire"));
    const QStringList captions = HouseholdEditor::pageCaptions();
    ASSERT_EQ(captions.size(), 14);
    EXPECT_EQ(captions[0], QStringLiteral("Titulari"));
    EXPECT_EQ(captions[12], QStringLiteral("     Mentiuni speciale"));
    EXPECT_EQ(captions[13], QStringLiteral("2b Identificarea pe parcele"));
    for (int n = 1; n <= 14; ++n) {
        EXPECT_EQ(form.But(n)->objectName(), QStringLiteral("But%1").arg(n));
        EXPECT_EQ(form.But(n)->text(), captions[n - 1]);
    }
    EXPECT_EQ(form.Pages()->count(), 14);
    for (int page = 1; page < 14; ++page)
        EXPECT_EQ(form.page(page)->caption(), captions[page]);
    EXPECT_EQ(comboItems(form.Tip()), (QStringList {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
    EXPECT_EQ(form.Pozitia()->MaskInt(), 3);
    EXPECT_EQ(form.Pozitia()->MaskZec(), 0);
    EXPECT_EQ(form.Volumul()->MaskInt(), 6);
    EXPECT_EQ(form.Volumul()->MaskZec(), 0);
    EXPECT_EQ(form.Adauga()->text(), QStringLiteral("&Adauga pozitie"));
    EXPECT_EQ(form.Modifica()->text(), QStringLiteral("&Modifica pozitie"));
    EXPECT_EQ(form.Sterge()->text(), QStringLiteral("&Sterge pozitie"));
    EXPECT_EQ(form.Insereaza()->text(), QStringLiteral("&Insereaza pozitie"));
    EXPECT_EQ(form.Cautare()->text(), QStringLiteral("&Cautare dupa nume"));
    EXPECT_EQ(form.Adeverinta()->text(), QStringLiteral("&Listeaza adeverinta"));
    EXPECT_EQ(form.Exporta()->text(), QStringLiteral("E&xporta in Excel"));

    form.Pregateste();
    EXPECT_EQ(comboItems(form.Localitatea()), (QStringList {QStringLiteral("TOATE"), QStringLiteral("SAT NOU"),
                                                             QStringLiteral("DEALU MARE"), QStringLiteral("VALEA LUNGA")}));
    QStringList headings;
    for (int c = 0; c < form.Grid()->model()->columnCount(); ++c)
        headings << form.Grid()->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings, (QStringList {QStringLiteral("Pozitie"), QStringLiteral("Volum"), QStringLiteral("Localitatea"),
                                      QStringLiteral("ROL"), QStringLiteral("Adresa")}));
    form.Inchide();
}

TEST(TForm6, OpensOnTheListPageFilteredToTypeOne)
{
    EditorWorld w(QStringLiteral("2010"));
    TForm6 form(w.ctx);
    form.Pregateste();
    EXPECT_EQ(form.Pages()->currentIndex(), 0);
    EXPECT_EQ(buttonsDown(form), std::vector<int> {1});
    // Type 1 of every village: DEALU MARE 2/1, then SAT NOU 1/1, 1/2, 1/4, 1/5.
    EXPECT_EQ(form.Afisate()->text(), QStringLiteral("5"));
    EXPECT_EQ(form.Grid()->model()->rowCount(), 5);
    EXPECT_EQ(form.Grid()->currentIndex().row(), 0);
    EXPECT_EQ(form.Localitate()->text(), QStringLiteral("DEALU MARE"));
    EXPECT_EQ(form.Pozitie()->text(), QStringLiteral("1"));
    EXPECT_EQ(form.Volum()->text(), QStringLiteral("2"));
    EXPECT_EQ(form.Membri()->lines(), (QStringList {QStringLiteral("MUNTEANU ELENA"), QStringLiteral("MUNTEANU DAN")}));
    EXPECT_TRUE(form.Membri()->isScrolling());
    // Whole numbers in the grid.
    EXPECT_EQ(form.Grid()->model()->index(0, 0).data().toString(), QStringLiteral("1"));
    EXPECT_EQ(form.Grid()->model()->index(0, 1).data().toString(), QStringLiteral("2"));
    EXPECT_EQ(form.Grid()->model()->index(0, 4).data().toString(), QStringLiteral("str.PRINCIPALA nr.1"));

    // The fields filter and locate as they change.
    form.Localitatea()->setCurrentText(QStringLiteral("SAT NOU"));
    EXPECT_EQ(form.Afisate()->text(), QStringLiteral("4"));
    form.Pozitia()->setText(QStringLiteral("4"));
    EXPECT_EQ(form.Grid()->currentIndex().row(), 2);
    EXPECT_EQ(form.Pozitie()->text(), QStringLiteral("4"));
    EXPECT_EQ(form.Membri()->lines(), QStringList {QStringLiteral("IONESCU VASILE")});
    form.Tip()->setCurrentText(QStringLiteral("2"));
    EXPECT_EQ(form.Afisate()->text(), QStringLiteral("0"));
    EXPECT_TRUE(form.Membri()->lines().isEmpty());
    form.Localitatea()->setCurrentText(QStringLiteral("TOATE"));
    EXPECT_EQ(form.Afisate()->text(), QStringLiteral("1"));

    // A row chosen in the grid becomes the current household.
    form.Tip()->setCurrentText(QStringLiteral("1"));
    form.Grid()->setCurrentIndex(form.Grid()->model()->index(4, 0));
    EXPECT_EQ(form.logic().currentCodid(), 108);
    EXPECT_EQ(form.Membri()->lines(), QStringList {QStringLiteral(" ***  fara membri  ***")});
    form.Navigator(HouseholdEditor::Move::Prior)->click();
    EXPECT_EQ(form.logic().currentCodid(), 103);
    EXPECT_EQ(form.Grid()->currentIndex().row(), 3);
    form.Inchide();
}

TEST(TForm6, EmptyRegisterShowsNoPositionsAndNoButtonStaysDown)
{
    EditorWorld w(QStringLiteral("2010"), false);
    TForm6 form(w.ctx);
    form.Pregateste();
    EXPECT_EQ(form.Membri()->lines(), QStringList {QStringLiteral(" *** nu exista pozitii ***")});
    EXPECT_FALSE(form.Membri()->isScrolling());
    EXPECT_EQ(form.Afisate()->text(), QStringLiteral("0"));
    for (int n = 1; n <= 14; ++n) {
        form.But(n)->click();
        EXPECT_TRUE(buttonsDown(form).empty()) << n;
        EXPECT_EQ(form.Pages()->currentIndex(), 0) << n;
    }
    // With no household the certificate is refused at its button.
    form.Adeverinta()->click();
    ASSERT_EQ(w.ui.balloons().size(), 1u);
    EXPECT_EQ(w.ui.balloons()[0].text, QStringLiteral("Alegeti mai intai o gospodarie !"));
    EXPECT_EQ(w.ui.balloons()[0].anchor, form.Adeverinta()->objectName());
    EXPECT_TRUE(w.ui.messages().empty());
    form.Inchide();
}

TEST(TForm6, UnlockedStateGovernsThePositionButtons)
{
    for (const bool unlocked : {false, true}) {
        EditorWorld w(QStringLiteral("2011"));
        w.ctx.setUnlocked(unlocked);
        // An empty later year: only the unlocked editor offers the take-over.
        w.ui.pushNo();
        TForm6 form(w.ctx);
        form.Pregateste();
        for (QPushButton* button : {form.Adauga(), form.Modifica(), form.Sterge(), form.Insereaza()})
            EXPECT_EQ(button->isEnabled(), unlocked) << button->objectName().toStdString();
        for (QPushButton* button : {form.Cautare(), form.Adeverinta(), form.Exporta()})
            EXPECT_TRUE(button->isEnabled());
        EXPECT_EQ(w.ui.messagesContaining(QStringLiteral("DORITI SA LE PREIAU")).size(), unlocked ? 1u : 0u);
        form.Inchide();
    }
}

TEST(TForm6, EscapeClosesAndEverythingIsClosedAfterwards)
{
    EditorWorld w(QStringLiteral("2010"));
    TForm6 form(w.ctx);
    bool movedOn = false;
    whenReady([&form] { return velmor::test::isActiveModal(&form); },
              [&] {
                  form.But(4)->click();
                  form.Pozitia()->setFocus();
                  form.But(1)->click();
                  form.Pozitia()->setFocus();
                  QTest::keyClick(form.Pozitia(), Qt::Key_Return);
                  movedOn = form.Volumul()->hasFocus();
                  QTest::keyClick(form.Volumul(), Qt::Key_Escape);
              },
              failAndCloseModal);
    form.Deschide();
    EXPECT_TRUE(movedOn);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.logic().QTitular().active());
    EXPECT_EQ(form.Pages()->currentIndex(), 0);
    EXPECT_TRUE(buttonsDown(form).empty());
    EXPECT_FALSE(form.Membri()->isScrolling());
}

TEST(TForm6, ClickOnTheMemberLabelStopsAndRestartsTheScrolling)
{
    EditorWorld w(QStringLiteral("2010"));
    TForm6 form(w.ctx);
    form.Pregateste();
    ASSERT_TRUE(form.Membri()->isScrolling());
    QTest::mouseClick(form.Membri(), Qt::LeftButton);
    EXPECT_FALSE(form.Membri()->isScrolling());
    // A stopped label stays stopped when the household changes.
    form.Navigator(HouseholdEditor::Move::Next)->click();
    EXPECT_FALSE(form.Membri()->isScrolling());
    EXPECT_EQ(form.Membri()->lines().first(), QStringLiteral("POPESCU ION"));
    QTest::mouseClick(form.Membri(), Qt::LeftButton);
    EXPECT_TRUE(form.Membri()->isScrolling());
    form.Inchide();
}

TEST(TForm6, ExportWritesTheRowsAndColumnsTheGridShows)
{
    EditorWorld w(QStringLiteral("2010"));
    TForm6 form(w.ctx);
    form.Pregateste();
    form.Localitatea()->setCurrentText(QStringLiteral("SAT NOU"));
    const QString out = w.home.home() + QStringLiteral("/titulari.csv");
    w.ui.pushSaveFile(out);
    QString dialogTitle;
    whenReady([] { return velmor::test::activeModalOf<output::ExportFormatDialog>() != nullptr; },
              [&] {
                  auto* dialog = qobject_cast<output::ExportFormatDialog*>(QApplication::activeModalWidget());
                  dialogTitle = dialog->windowTitle();
                  dialog->selectFormat(output::ExportFormat::Csv);
                  dialog->fileButton()->click();
              },
              failAndCloseModal);
    form.Exporta()->click();
    EXPECT_EQ(dialogTitle, QStringLiteral("Export Grila"));
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    // The four households of SAT NOU, type 1, in list order, with the grid's five columns.
    EXPECT_TRUE(text.contains(QStringLiteral("Pozitie")));
    EXPECT_TRUE(text.contains(QStringLiteral("Adresa")));
    const qsizetype first = text.indexOf(QStringLiteral("str.MORII nr.12"));
    const qsizetype second = text.indexOf(QStringLiteral("str.MORII nr.10A"));
    const qsizetype third = text.indexOf(QStringLiteral("str. - nr.2"));
    const qsizetype fourth = text.indexOf(QStringLiteral("str.MORII nr.20"));
    EXPECT_TRUE(first >= 0 && first < second && second < third && third < fourth) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("DEALU MARE")));
    EXPECT_FALSE(text.contains(QStringLiteral("CODID")));
    form.Inchide();
}

// On a 1366 x 768 screen the editor opens wide enough for chapter 2's columns and the plots up to
// their area; the size it was left at is kept per computer, in the registry store.
TEST(TForm6, OpeningSizeShowsChapterTwoAndIsRememberedPerComputer)
{
    EditorWorld w(QStringLiteral("2010"));
    QTemporaryDir registryDir;
    RegistryStore registry(registryDir.filePath(QStringLiteral("registry.ini")));
    w.ctx.registry = &registry;
    TForm6 form(w.ctx);
    form.Pregateste();
    const QSize size = form.preferredSize(QSize(1366, 728));
    EXPECT_LE(size.width(), 1366);
    EXPECT_LE(size.height(), 728);
    form.resize(size);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.ButClick(4); // chapter 2
    QTableView* chapter2 = form.findChild<QTableView*>(QStringLiteral("DBGridCap2"));
    ASSERT_NE(chapter2, nullptr);
    ASSERT_TRUE(waitUntil([&] { return chapter2->isVisible() && form.width() == size.width(); })) << form.width() << " " << size.width();
    EXPECT_EQ(chapter2->horizontalScrollBar()->maximum(), 0);
    form.ButClick(14); // plots
    auto* plots = form.findChild<grid::StandardGrid*>(QStringLiteral("Parcele"));
    ASSERT_NE(plots, nullptr);
    ASSERT_TRUE(waitUntil([&] { return plots->isVisible(); }));
    const int area = plots->queryModel()->columnOfField(QStringLiteral("SUPRAF"));
    ASSERT_GE(area, 0);
    EXPECT_LE(plots->columnViewportPosition(area) + plots->columnWidth(area), plots->viewport()->width());

    // Left at another size, the editor opens at it again; the settings file knows nothing of it.
    const QByteArray settings = [&] {
        QFile f(w.home.dataFile(QStringLiteral("Velmor.ini")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    // Within this screen (and no narrower than the contents), so the size comes back as left.
    const QSize left(form.minimumSizeHint().width(), std::min(612, form.screen()->availableGeometry().height()));
    ASSERT_NE(left, form.size());
    form.resize(left);
    ASSERT_TRUE(waitUntil([&] { return form.size() == left; })) << form.width() << "x" << form.height();
    form.rememberSize();
    EXPECT_EQ(registry.Citeste_Reg(QString::fromLatin1(TForm6::SizeValue)), QStringLiteral("%1,%2").arg(left.width()).arg(left.height()));
    form.Inchide();
    TForm6 again(w.ctx);
    again.Pregateste();
    again.restoreSize();
    EXPECT_EQ(again.size(), left);
    again.Inchide();
    QFile f(w.home.dataFile(QStringLiteral("Velmor.ini")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), settings);
}

// The page buttons keep their place on every page, and what is typed right after a page opens
// reaches that page's grid.
TEST(TForm6, PageButtonsStayAndKeysReachTheNewPage)
{
    EditorWorld w(QStringLiteral("2010"));
    w.ctx.setUnlocked(true);
    TForm6 form(w.ctx);
    form.Pregateste();
    form.resize(900, 600);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QRect first = form.But(1)->geometry();
    const QPoint column = form.But(1)->mapTo(&form, QPoint(0, 0));
    for (int n = 1; n <= HouseholdEditor::PageCount; ++n) {
        form.ButClick(n);
        QCoreApplication::processEvents();
        EXPECT_EQ(form.But(1)->geometry(), first) << n;
        EXPECT_EQ(form.But(1)->mapTo(&form, QPoint(0, 0)), column) << n;
    }
    // Whatever held the keyboard before (here nothing), the new page's grid takes it.
    if (QWidget* focus = form.focusWidget())
        focus->clearFocus();
    form.ButClick(5); // chapter 3
    QTableView* grid = form.findChild<QTableView*>(QStringLiteral("DBGridCap3"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(form.focusWidget(), grid);
    form.focusWidget()->clearFocus();
    form.ButClick(4); // chapter 2
    grid = form.findChild<QTableView*>(QStringLiteral("DBGridCap2"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(form.focusWidget(), grid);
    const QModelIndex current = grid->currentIndex();
    ASSERT_TRUE(current.isValid());
    QTest::keyClicks(form.focusWidget(), QStringLiteral("7"));
    QLineEdit* typed = nullptr;
    for (QLineEdit* editor : grid->viewport()->findChildren<QLineEdit*>())
        typed = editor->isVisible() ? editor : typed;
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(typed->text(), QStringLiteral("7"));
    form.Inchide();
}
