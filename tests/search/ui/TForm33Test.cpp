#include "search/NameSearchWorld.h"
#include "UiTestUtil.h"

#include "search/ui/TForm33.h"

#include "grid/ui/StandardGrid.h"
#include "register/ui/TForm6.h"
#include "ui/TNumericF.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::failAndCloseModal;
using velmor::test::NameSearchWorld;
using velmor::test::showAndFocus;
using velmor::test::waitUntil;
using velmor::test::whenReady;

namespace {

QStringList gridNames(TForm33& form)
{
    QStringList names;
    QAbstractItemModel* model = form.Grid()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

int gridRow(TForm33& form)
{
    const QModelIndex current = form.Grid()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QStringList comboItems(QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

}

TEST(TForm33, LooksAsDesigned)
{
    NameSearchWorld w;
    TForm33 form(w.ctx);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Cautare dupa nume"));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QStringList labels;
    for (QLabel* label : form.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"Localitatea :", "Numele si Prenumele", "C.N.P.", "Societatea", "Strada", "Numarul",
                             "Dom.stabil in localitatea"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
    EXPECT_EQ(form.CheckBox1()->text(), QStringLiteral("Numai capi de gospodarie"));
    EXPECT_EQ(form.B11()->text(), QStringLiteral("&Am ales"));
    EXPECT_EQ(form.B11()->toolTip(), QStringLiteral("Am terminat de ales membrul si ne intoarcem la datele lui."));
    EXPECT_EQ(form.GlyphButton1()->text(), QStringLiteral("&Renunt"));
    EXPECT_EQ(form.GlyphButton1()->toolTip(), QStringLiteral("Renunt la cautare."));
    EXPECT_EQ(form.statusBar()->currentMessage(), QStringLiteral("ESC - Iesire"));
    EXPECT_EQ(form.Edit1()->maxLength(), 40);
    EXPECT_EQ(form.CNPE()->maxLength(), 13);
    EXPECT_EQ(form.NrE()->maxLength(), 6);
    EXPECT_TRUE(form.Denumire()->isEditable());
    EXPECT_FALSE(form.StradaE()->isEditable());
    EXPECT_TRUE(form.Loc()->isEditable());

    form.Pregateste(QStringLiteral("TOATE"));
    EXPECT_EQ(form.LabelSat()->text(), QStringLiteral("TOATE"));
    QStringList headings;
    for (int c = 0; c < form.Grid()->model()->columnCount(); ++c)
        headings << form.Grid()->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings, search::NameSearch::headings());
    EXPECT_EQ(comboItems(form.StradaE()), (QStringList {"", "GARII", "MORII", "ULMILOR"}));
    EXPECT_EQ(form.StradaE()->currentIndex(), 0);
    EXPECT_EQ(comboItems(form.Loc()), (QStringList {"", "DEJ", "FAGARAS", "SAT NOU"}));
    EXPECT_EQ(comboItems(form.Denumire()), (QStringList {"AGRO \"VALEA\" SRL", "FERMA VECHE SA"}));
    EXPECT_EQ(form.Denumire()->currentText(), QString());
    EXPECT_EQ(gridNames(form).size(), 8);
    form.hide();
}

TEST(TForm33, TypingFiltersAndTheArrowsMoveThroughTheResults)
{
    NameSearchWorld w;
    TForm33 form(w.ctx);
    form.Pregateste(QStringLiteral("TOATE"));
    ASSERT_TRUE(showAndFocus(form.Edit1()));

    // Typed text becomes upper case and narrows the rows at every key.
    QTest::keyClicks(form.Edit1(), QStringLiteral("pop"));
    EXPECT_EQ(form.Edit1()->text(), QStringLiteral("POP"));
    EXPECT_EQ(gridNames(form), (QStringList {"POP ANA", "POPESCU ION", "POPESCU MARIA"}));
    EXPECT_EQ(gridRow(form), 0);

    QTest::keyClick(form.Edit1(), Qt::Key_Up);
    EXPECT_EQ(gridRow(form), 0);
    QTest::keyClick(form.Edit1(), Qt::Key_Down);
    EXPECT_EQ(gridRow(form), 1);
    QTest::keyClick(form.Edit1(), Qt::Key_Down);
    QTest::keyClick(form.Edit1(), Qt::Key_Down);
    EXPECT_EQ(gridRow(form), 2);
    QTest::keyClick(form.Edit1(), Qt::Key_Up);
    EXPECT_EQ(gridRow(form), 1);
    EXPECT_TRUE(form.Edit1()->hasFocus());

    // The heads-only box and the street list narrow further.
    form.CheckBox1()->click();
    EXPECT_EQ(gridNames(form), (QStringList {"POP ANA", "POPESCU ION"}));
    form.StradaE()->setCurrentIndex(form.StradaE()->findText(QStringLiteral("MORII")));
    EXPECT_EQ(gridNames(form), (QStringList {"POPESCU ION"}));

    // Enter in a field chooses the current row.
    form.Edit1()->setFocus();
    QTest::keyClick(form.Edit1(), Qt::Key_Return);
    EXPECT_EQ(form.result(), 1);
    EXPECT_TRUE(waitUntil([&form] { return !form.isVisible(); }));
}

TEST(TForm33, EnterOnNothingShowsTheBalloonAndStays)
{
    NameSearchWorld w;
    TForm33 form(w.ctx);
    form.Pregateste(QStringLiteral("TOATE"));
    ASSERT_TRUE(showAndFocus(form.Edit1()));
    QTest::keyClicks(form.Edit1(), QStringLiteral("ZZZ"));
    EXPECT_TRUE(gridNames(form).isEmpty());
    QTest::keyClick(form.Edit1(), Qt::Key_Return);
    ASSERT_EQ(w.ui.balloons().size(), 1u);
    EXPECT_EQ(w.ui.balloons()[0].text, QStringLiteral("Nu ati ales pe nimeni !"));
    EXPECT_EQ(w.ui.balloons()[0].anchor, QStringLiteral("B11"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.result(), -1);
    form.hide();
}

TEST(TForm33, EnterAndDoubleClickInTheGridChoose)
{
    NameSearchWorld w;
    TForm33 form(w.ctx);
    form.Pregateste(QStringLiteral("TOATE"));
    ASSERT_TRUE(showAndFocus(form.Grid()));
    form.Grid()->setCurrentIndex(form.Grid()->model()->index(2, 0));
    EXPECT_EQ(form.logic().currentRow(), 2);
    QTest::keyClick(form.Grid(), Qt::Key_Return);
    EXPECT_EQ(form.result(), 2); // IONESCU MARIA

    form.Pregateste(QStringLiteral("TOATE"));
    ASSERT_TRUE(showAndFocus(form.Grid()));
    const QModelIndex index = form.Grid()->model()->index(3, 0);
    form.Grid()->setCurrentIndex(index);
    const QPoint centre = form.Grid()->visualRect(index).center();
    // The view takes a double click on the row it was pressed on.
    QTest::mousePress(form.Grid()->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(form.Grid()->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(form.result(), NameSearchWorld::Big); // POP ANA
}

TEST(TForm33, EscapeReturnsNothing)
{
    NameSearchWorld w;
    TForm33 form(w.ctx);
    whenReady([&form] { return velmor::test::isActiveModal(&form); },
              [&form] {
                  QTest::keyClicks(form.Edit1(), QStringLiteral("POP"));
                  QTest::keyClick(form.Edit1(), Qt::Key_Escape);
              },
              failAndCloseModal);
    EXPECT_EQ(form.Cautare(QStringLiteral("TOATE")), -1);

    // Each opening starts with empty fields.
    form.Pregateste(QStringLiteral("TOATE"));
    EXPECT_EQ(form.Edit1()->text(), QString());
    EXPECT_EQ(gridNames(form).size(), 8);
    form.hide();
}

// The household register editor's "&Cautare dupa nume": the chosen household becomes the editor's
// current one, in its village and register type, at its position and volume.
TEST(TForm33, EditorMovesToTheChosenHousehold)
{
    NameSearchWorld w;
    TForm6 editor(w.ctx);
    TForm33 search(w.ctx);
    editor.setSearchByName([&search](const QString& village) { return search.Alege(village); });
    editor.Pregateste();
    editor.show();
    editor.Localitatea()->setCurrentIndex(editor.Localitatea()->findText(QStringLiteral("DEALU MARE")));
    editor.Pozitia()->setText(QStringLiteral("7"));
    ASSERT_EQ(editor.Tip()->currentText(), QStringLiteral("1"));

    QString villageShown;
    whenReady([&search] { return velmor::test::isActiveModal(&search); },
              [&search, &villageShown] {
                  villageShown = search.LabelSat()->text();
                  QTest::keyClicks(search.Edit1(), QStringLiteral("POP A"));
                  QTest::keyClick(search.Edit1(), Qt::Key_Return);
              },
              failAndCloseModal);
    editor.CautareClick();

    EXPECT_EQ(villageShown, QStringLiteral("TOATE"));
    EXPECT_EQ(editor.Tip()->currentText(), QStringLiteral("4"));
    EXPECT_EQ(editor.Localitatea()->currentText(), QStringLiteral("SAT NOU"));
    EXPECT_EQ(editor.Pozitia()->text(), QStringLiteral("1"));
    EXPECT_EQ(editor.Volumul()->text(), QStringLiteral("2"));
    EXPECT_EQ(editor.logic().currentCodid(), NameSearchWorld::Big);
    EXPECT_EQ(editor.logic().shownCount(), 1);
    EXPECT_FALSE(search.logic().isOpen());

    // Nothing chosen: the editor keeps its cleared fields, on every village.
    whenReady([&search] { return velmor::test::isActiveModal(&search); },
              [&search] { QTest::keyClick(search.Edit1(), Qt::Key_Escape); }, failAndCloseModal);
    editor.CautareClick();
    EXPECT_EQ(editor.Localitatea()->currentText(), QStringLiteral("TOATE"));
    EXPECT_EQ(editor.Pozitia()->text(), QString());
    EXPECT_EQ(editor.Volumul()->text(), QString());
    EXPECT_EQ(editor.Tip()->currentText(), QStringLiteral("4"));
    EXPECT_FALSE(search.logic().isOpen());
    editor.Inchide();
    editor.hide();
}

TEST(TForm33, EditorWithoutTheSearchSaysSo)
{
    NameSearchWorld w;
    TForm6 editor(w.ctx);
    editor.Pregateste();
    editor.CautareClick();
    ASSERT_FALSE(w.ui.messages().empty());
    EXPECT_EQ(w.ui.messages().back().text,
              QStringLiteral("Functia \"Cautare dupa nume\" nu este disponibila in aceasta versiune."));
    editor.Inchide();
}

// Romanian letters typed into a field are shown and searched in capitals, comma-below ș ț as the
// cedilla letters the register holds.
TEST(TForm33, RomanianLettersTypedBecomeTheStoredCapitals)
{
    NameSearchWorld w;
    w.member(1, QString::fromUtf8("\u0162\u0102RAN \u015eTEFAN"), 3);
    TForm33 form(w.ctx);
    form.Pregateste(QStringLiteral("TOATE"));
    ASSERT_TRUE(showAndFocus(form.Edit1()));
    // Key by key, as a keyboard sends letters outside Latin-1.
    for (const QChar c : QString::fromUtf8("\u021b\u0103ran \u0219"))
        QTest::sendKeyEvent(QTest::Click, form.Edit1(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    EXPECT_EQ(form.Edit1()->text(), QString::fromUtf8("\u0162\u0102RAN \u015e"));
    EXPECT_EQ(gridNames(form), QStringList {QString::fromUtf8("\u0162\u0102RAN \u015eTEFAN")});
    form.reject();
}

// The window opens wide enough for every column, the addresses included, on a 1366 x 768 screen.
TEST(TForm33, TheAddressColumnsAreShown)
{
    NameSearchWorld w;
    TForm33 form(w.ctx);
    form.Pregateste(QStringLiteral("TOATE"));
    const QSize size = form.preferredSize(QSize(1366, 728));
    EXPECT_LE(size.width(), 1366);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.resize(size);
    ASSERT_TRUE(waitUntil([&] { return form.width() == size.width() && form.Grid()->viewport()->width() > size.width() / 2; }))
        << form.width() << " " << size.width() << " " << form.Grid()->viewport()->width();
    QAbstractItemModel* model = form.Grid()->model();
    bool address = false, domicile = false;
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString heading = model->headerData(c, Qt::Horizontal).toString();
        address = address || heading == QStringLiteral("Adresa");
        domicile = domicile || heading == QStringLiteral("Domiciliul stabil");
        EXPECT_FALSE(form.Grid()->isColumnHidden(c)) << heading.toStdString();
        EXPECT_LE(form.Grid()->columnViewportPosition(c) + form.Grid()->columnWidth(c), form.Grid()->viewport()->width())
            << heading.toStdString();
    }
    EXPECT_TRUE(address);
    EXPECT_TRUE(domicile);
    form.reject();
}
