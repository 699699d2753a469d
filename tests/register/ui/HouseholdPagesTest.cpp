#include "EditorTestWorld.h"
#include "RegisterTestTables.h"
#include "UiTestUtil.h"

#include "register/HouseholdPositions.h"
#include "register/ui/IdentificationPage.h"
#include "register/ui/MembersPage.h"
#include "register/ui/PlaceDialogs.h"
#include "register/ui/ScrollingLabel.h"
#include "register/ui/TForm32.h"
#include "register/ui/TForm35.h"
#include "register/ui/TForm36.h"
#include "register/ui/TForm6.h"

#include "grid/ui/StandardGrid.h"
#include "ui/TCNPEdit.h"
#include "ui/TNumericF.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::EditorWorld;
using velmor::test::FileRow;
using velmor::test::failAndCloseModal;
using velmor::test::fileRows;
using velmor::test::whenReady;

namespace {

template <typename Dialog>
bool isModal(Dialog* dialog)
{
    return velmor::test::isActiveModal(dialog);
}

void typeInto(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClicks(field, text);
}

}

// ---- the position dialog ----

TEST(TForm35, ModesCaptionsAndConfirmation)
{
    struct Case {
        PlaceMode mode;
        const char* caption;
        bool placeEditable;
    };
    for (const Case& c : {Case {PlaceMode::Add, "Adaugare gospodarie", true}, Case {PlaceMode::Insert, "Inserare gospodarie", false},
                          Case {PlaceMode::Modify, "Modificare gospodarie", true}}) {
        TForm35 dialog;
        Place place;
        place.village = QStringLiteral("DEALU MARE");
        place.type = QStringLiteral("2");
        place.position = QStringLiteral("4");
        place.volume = QStringLiteral("01");
        int checks = 0;
        bool sawEditable = !c.placeEditable;
        whenReady([&] { return isModal(&dialog); },
                  [&] {
                      EXPECT_EQ(dialog.windowTitle(), QString::fromLatin1(c.caption));
                      sawEditable = dialog.Pozitia()->isEnabled() && dialog.Localitatea()->isEnabled();
                      EXPECT_EQ(dialog.Localitatea()->currentText(), QStringLiteral("DEALU MARE"));
                      EXPECT_EQ(dialog.Tip()->currentText(), QStringLiteral("2"));
                      EXPECT_TRUE(dialog.Rol()->isEnabled());
                      // Enter in ROL confirms; the first check refuses and the dialog stays.
                      dialog.Rol()->setFocus();
                      dialog.Rol()->setText(QStringLiteral("55"));
                      QTest::keyClick(dialog.Rol(), Qt::Key_Return);
                      EXPECT_TRUE(dialog.isVisible());
                      dialog.Memoreaza()->click();
                  },
                  failAndCloseModal);
        const bool confirmed = dialog.run(c.mode, place, {QStringLiteral("SAT NOU"), QStringLiteral("DEALU MARE")},
                                          [&](PlaceMode mode, Place& p) {
                                              EXPECT_EQ(mode, c.mode);
                                              return ++checks > 1 && !p.role.isEmpty();
                                          });
        EXPECT_TRUE(confirmed) << c.caption;
        EXPECT_EQ(checks, 2) << c.caption;
        EXPECT_EQ(sawEditable, c.placeEditable) << c.caption;
        EXPECT_EQ(place.role, QStringLiteral("55"));
        EXPECT_EQ(place.village, QStringLiteral("DEALU MARE"));
        EXPECT_EQ(place.position, QStringLiteral("4"));
        EXPECT_TRUE(dialog.Pozitia()->isEnabled()) << "enabled again after closing";
        EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(dialog.Memoreaza()->toolTip(), QStringLiteral("Memoreaza gospodaria."));
        EXPECT_EQ(dialog.Renunt()->toolTip(), QStringLiteral("Nu memora nimic si inchide fereastra."));
    }
}

TEST(TForm35, RenuntReturnsNothing)
{
    TForm35 dialog;
    Place place;
    place.position = QStringLiteral("3");
    whenReady([&] { return isModal(&dialog); }, [&] { dialog.Renunt()->click(); }, failAndCloseModal);
    EXPECT_FALSE(dialog.run(PlaceMode::Add, place, {QStringLiteral("SAT NOU")}, [](PlaceMode, Place&) { return true; }));
    EXPECT_EQ(place.position, QStringLiteral("3"));
    EXPECT_EQ(dialog.Pozitia()->MaskInt(), 6);
    EXPECT_EQ(dialog.Volumul()->MaskInt(), 6);
    EXPECT_EQ(dialog.Rol()->MaskInt(), 9);
    EXPECT_EQ(dialog.Localitatea()->currentIndex(), -1);
}

// ---- the delete-mode dialog ----

TEST(TForm36, ChoicesAndResults)
{
    struct Case {
        bool renumber;
        bool run;
        int result;
    };
    for (const Case& c : {Case {false, true, 1}, Case {true, true, 2}, Case {true, false, 0}}) {
        TForm36 dialog;
        whenReady([&] { return isModal(&dialog); },
                  [&] {
                      EXPECT_TRUE(dialog.LasaGol()->isChecked());
                      EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Stergere"));
                      if (c.renumber)
                          dialog.Renumeroteaza()->click();
                      (c.run ? dialog.Opereaza() : dialog.Renunt())->click();
                  },
                  failAndCloseModal);
        EXPECT_EQ(dialog.Stergere(), c.result);
    }
}

// ---- the member dialog ----

TEST(TForm32, CodeTypedSetsSexAndDateAndTheFieldsAreJoined)
{
    TForm32 dialog;
    EXPECT_EQ(dialog.Nume()->maxLength(), 40);
    EXPECT_FALSE(dialog.CNP()->AcceptGol());
    EXPECT_EQ(dialog.Rudenie()->count(), 8);
    EXPECT_TRUE(dialog.Rudenie()->isEditable());
    EXPECT_EQ(dialog.entry(), MemberEntry());
    MemberEntry entry;
    entry.name = QStringLiteral("POP ");
    bool checked = false;
    whenReady([&] { return isModal(&dialog); },
              [&] {
                  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Adaugare"));
                  EXPECT_EQ(dialog.Nume()->text(), QStringLiteral("POP "));
                  EXPECT_EQ(dialog.Nume()->cursorPosition(), 4);
                  QTest::keyClicks(dialog.Nume(), QStringLiteral("ion"));
                  typeInto(dialog.CNP(), QStringLiteral("2800101221146"));
                  EXPECT_EQ(dialog.Sex()->currentText(), QStringLiteral("Feminin"));
                  EXPECT_EQ(dialog.DataNasterii()->date(), QDate(1980, 1, 1));
                  dialog.Rudenie()->setEditText(QStringLiteral("Nepot / Nepoata"));
                  dialog.Mentiuni()->setPlainText(QStringLiteral("unu\ndoi\ntrei"));
                  dialog.Memoreaza()->click();
              },
              failAndCloseModal);
    EXPECT_TRUE(dialog.Adaugare(entry, [&](MemberEntry& e) {
        checked = true;
        return !e.name.isEmpty();
    }));
    EXPECT_TRUE(checked);
    EXPECT_EQ(entry.name, QStringLiteral("POP ION"));
    EXPECT_EQ(entry.cnp, QStringLiteral("2800101221146"));
    EXPECT_EQ(entry.sex, 2);
    EXPECT_EQ(entry.birth, QDate(1980, 1, 1));
    EXPECT_EQ(entry.kinship, QStringLiteral("Nepot / Nepoata"));
    EXPECT_EQ(entry.notes, QStringLiteral("unudoitrei"));
}

TEST(TForm32, ModifyingShowsTheMemberAsStored)
{
    TForm32 dialog;
    MemberEntry stored;
    stored.name = QStringLiteral("POPESCU ION");
    stored.cnp = QStringLiteral("1800101221144");
    stored.kinship = QStringLiteral("Var");
    stored.sex = 2;
    stored.birth = QDate();
    stored.notes = QStringLiteral("ceva");
    dialog.fill(stored);
    EXPECT_EQ(dialog.entry(), stored);
    EXPECT_EQ(dialog.Rudenie()->currentIndex(), -1);
    EXPECT_EQ(dialog.DataNasterii()->text().trimmed(), QString());
    dialog.CurataCampurile();
    EXPECT_EQ(dialog.entry(), MemberEntry());
}

// ---- the pages in the editor ----

TEST(IdentificationPage, ShowsTheGroupOfTheTypeAndSavesWhenLeft)
{
    EditorWorld w(QStringLiteral("2010"));
    w.ctx.setUnlocked(true);
    TForm6 form(w.ctx);
    form.Pregateste();
    auto* page = qobject_cast<IdentificationPage*>(form.page(1));
    ASSERT_NE(page, nullptr);
    // The street list holds the streets of every year.
    QStringList streets;
    for (int i = 0; i < page->StradaRez()->count(); ++i)
        streets << page->StradaRez()->itemText(i);
    EXPECT_TRUE(streets.contains(QStringLiteral("PRINCIPALA")));
    EXPECT_EQ(streets.removeDuplicates(), 0);

    form.Localitatea()->setCurrentText(QStringLiteral("VALEA LUNGA"));
    form.Tip()->setCurrentText(QStringLiteral("3"));
    ASSERT_EQ(form.logic().currentCodid(), 106);
    form.But(2)->click();
    EXPECT_EQ(form.Pages()->currentIndex(), 1);
    EXPECT_FALSE(page->group(3)->isHidden());
    EXPECT_TRUE(page->group(1)->isHidden());
    EXPECT_TRUE(page->group(2)->isHidden());
    EXPECT_TRUE(form.NavigatorPanel()->isHidden());
    EXPECT_EQ(page->Denumire()->text(), QStringLiteral("AGRO \"VALEA\" SRL"));

    page->Denumire()->setText(QStringLiteral("AGRO \"DEALUL\" SRL"));
    page->JudetJur()->setEditText(QStringLiteral("SECTOR 2 - MUNICIPIUL BUCURESTI"));
    form.But(1)->click();
    EXPECT_FALSE(form.NavigatorPanel()->isHidden());
    EXPECT_EQ(form.logic().currentCodid(), 106);
    const auto rows = fileRows(w.home.data(), QStringLiteral("Identificare.dbf"), [](const FileRow& r) {
        return r.whole("CODID") == 106 && r.text("DENUMIRE") == QStringLiteral("AGRO \"DEALUL\" SRL")
            && r.text("JUDET") == QStringLiteral("SECTOR 2 - MUNICIPIU");
    });
    EXPECT_EQ(rows.size(), 1u);
    form.But(2)->click();
    EXPECT_EQ(page->JudetJur()->currentText(), QStringLiteral("SECTOR 2 - MUNICIPIUL BUCURESTI"));

    // A county typed past its column's width is refused at the keystroke, with a balloon.
    page->JudetJur()->setEditText(QString());
    typeInto(page->JudetJur(), QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(page->JudetJur()->currentText(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    ASSERT_FALSE(w.ui.balloons().empty());
    EXPECT_EQ(w.ui.balloons().back().text, QStringLiteral("Judetul poate avea cel mult 20 caractere !"));
    EXPECT_EQ(w.ui.balloons().back().anchor, QStringLiteral("JudetulJur"));
    form.Inchide();
}

TEST(IdentificationPage, LockedItShowsOnlyAndFollowsTheNavigator)
{
    EditorWorld w(QStringLiteral("2010"));
    TForm6 form(w.ctx);
    form.Pregateste();
    auto* page = qobject_cast<IdentificationPage*>(form.page(1));
    ASSERT_NE(page, nullptr);
    form.Localitatea()->setCurrentText(QStringLiteral("SAT NOU"));
    form.But(2)->click();
    EXPECT_FALSE(page->group(1)->isEnabled());
    EXPECT_FALSE(form.NavigatorPanel()->isHidden());
    QString street102;
    fileRows(w.home.data(), QStringLiteral("Identificare.dbf"), [&](const FileRow& r) {
        if (r.whole("CODID") == 102)
            street102 = r.text("STRADA");
        return false;
    });
    ASSERT_FALSE(street102.isEmpty());
    form.Navigator(HouseholdEditor::Move::Next)->click();
    EXPECT_EQ(form.logic().currentCodid(), 102);
    EXPECT_EQ(page->StradaRez()->currentText(), street102);
    page->StradaRez()->setEditText(QStringLiteral("NU SE SALVEAZA"));
    form.But(1)->click();
    EXPECT_TRUE(fileRows(w.home.data(), QStringLiteral("Identificare.dbf"), [](const FileRow& r) {
                    return r.text("STRADA") == QStringLiteral("NU SE SALVEAZA");
                }).empty());
    form.Inchide();
}

TEST(MembersPage, ListsAddsAndRebuildsTheLabel)
{
    EditorWorld w(QStringLiteral("2010"));
    w.ctx.setUnlocked(true);
    TForm6 form(w.ctx);
    form.Pregateste();
    auto* page = qobject_cast<MembersPage*>(form.page(2));
    ASSERT_NE(page, nullptr);
    form.Localitatea()->setCurrentText(QStringLiteral("SAT NOU"));
    ASSERT_EQ(form.logic().currentCodid(), 101);
    form.But(3)->click();
    EXPECT_EQ(form.Pages()->currentIndex(), 2);
    ASSERT_EQ(page->Grid()->model()->rowCount(), 3);
    QStringList headings;
    for (int c = 0; c < page->Grid()->model()->columnCount(); ++c)
        headings << page->Grid()->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings, (QStringList {QStringLiteral("NUME si PRENUME MEMBRU"), QStringLiteral("CNP"), QStringLiteral("SEX"),
                                      QStringLiteral("DENUMIRE"), QStringLiteral("COD"), QStringLiteral("Data nasterii")}));
    page->Grid()->setCurrentIndex(page->Grid()->model()->index(2, 0));
    EXPECT_EQ(page->Mentiuni()->text(), QStringLiteral("eleva"));

    whenReady([&] { return isModal(page->Form32()); },
              [&] {
                  EXPECT_EQ(page->Form32()->Nume()->text(), QStringLiteral("POPESCU "));
                  QTest::keyClicks(page->Form32()->Nume(), QStringLiteral("dan"));
                  page->Form32()->Rudenie()->setCurrentIndex(2);
                  page->Form32()->Memoreaza()->click();
              },
              failAndCloseModal);
    page->Adauga()->click();
    ASSERT_EQ(page->Grid()->model()->rowCount(), 4);
    EXPECT_TRUE(form.Membri()->lines().contains(QStringLiteral("POPESCU DAN")));
    EXPECT_EQ(page->Grid()->currentIndex().row(), page->logic().currentRow());
    EXPECT_EQ(std::get<QString>(page->logic().currentValue(QStringLiteral("NUMEP"))), QStringLiteral("POPESCU DAN"));

    // A second head is refused at the kinship field and the dialog stays open.
    whenReady([&] { return isModal(page->Form32()); },
              [&] {
                  page->Form32()->Nume()->setText(QStringLiteral("ALT CAP"));
                  page->Form32()->Rudenie()->setCurrentIndex(0);
                  page->Form32()->Memoreaza()->click();
                  EXPECT_TRUE(page->Form32()->isVisible());
                  page->Form32()->Renunt()->click();
              },
              failAndCloseModal);
    page->Adauga()->click();
    EXPECT_EQ(w.ui.balloons().back().text, QStringLiteral("Nu puteti avea doi capi de gospodarie !"));
    EXPECT_EQ(page->Grid()->model()->rowCount(), 4);

    form.But(1)->click();
    EXPECT_EQ(page->Grid()->model()->rowCount(), 0);
    form.Inchide();
}

TEST(MembersPage, LockedButtonsAreDisabled)
{
    EditorWorld w(QStringLiteral("2010"));
    TForm6 form(w.ctx);
    form.Pregateste();
    auto* page = qobject_cast<MembersPage*>(form.page(2));
    ASSERT_NE(page, nullptr);
    for (QPushButton* button : {page->Adauga(), page->Modifica(), page->Sterge()})
        EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(page->Adauga()->toolTip(), QStringLiteral("Adauga un membru nou."));
    EXPECT_EQ(page->Sterge()->toolTip(), QStringLiteral("Sterge membrul selectat in tabel."));
    form.Inchide();
}

// ---- the list page's position buttons ----

TEST(TForm6Positions, AddThroughTheDialogAndDeleteWithRenumbering)
{
    EditorWorld w(QStringLiteral("2010"));
    w.ctx.setUnlocked(true);
    TForm6 form(w.ctx);
    form.Pregateste();
    form.Localitatea()->setCurrentText(QStringLiteral("SAT NOU"));
    EXPECT_EQ(form.Afisate()->text(), QStringLiteral("4"));
    TForm35* dialog = form.placeDialogs().Form35();
    whenReady([&] { return isModal(dialog); },
              [&] {
                  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Adaugare gospodarie"));
                  EXPECT_EQ(dialog->Localitatea()->currentText(), QStringLiteral("SAT NOU"));
                  EXPECT_EQ(dialog->Pozitia()->text(), QStringLiteral("1"));
                  // Position 1 of volume 1 is taken: refused, the dialog stays.
                  dialog->Volumul()->setText(QStringLiteral("1"));
                  dialog->Memoreaza()->click();
                  EXPECT_TRUE(dialog->isVisible());
                  dialog->Pozitia()->setText(QStringLiteral("3"));
                  dialog->Memoreaza()->click();
              },
              failAndCloseModal);
    form.Adauga()->click();
    EXPECT_EQ(w.ui.balloons().front().text, QStringLiteral("Exista deja Pozitia 1 in Vol.1 in localitatea SAT NOU la TIP 1!"));
    EXPECT_EQ(form.Afisate()->text(), QStringLiteral("5"));
    EXPECT_EQ(form.logic().currentCodid(), 109);
    EXPECT_EQ(form.Pozitie()->text(), QStringLiteral("3"));
    EXPECT_TRUE(form.Pozitia()->text().isEmpty());

    // Delete position 3 with renumbering: 1/4 and 1/5 move back to 1/3 and 1/4.
    w.ui.pushYes();
    TForm36* modes = form.placeDialogs().Form36();
    whenReady([&] { return isModal(modes); },
              [&] {
                  modes->Renumeroteaza()->click();
                  modes->Opereaza()->click();
              },
              failAndCloseModal);
    form.Sterge()->click();
    EXPECT_EQ(form.Afisate()->text(), QStringLiteral("4"));
    EXPECT_EQ(w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=109")), 0);
    EXPECT_EQ(w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=103 AND POZ=3")), 1);
    EXPECT_EQ(w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=108 AND POZ=4")), 1);
    EXPECT_EQ(w.count(QStringLiteral("CAP2.dbf"), QStringLiteral("CODID=109")), 0);
    form.Inchide();
}

TEST(TForm6Positions, InsertBeforeTheCurrentOneAndModifyItsPlace)
{
    EditorWorld w(QStringLiteral("2010"));
    w.ctx.setUnlocked(true);
    TForm6 form(w.ctx);
    form.Pregateste();
    form.Localitatea()->setCurrentText(QStringLiteral("SAT NOU"));
    form.Pozitia()->setText(QStringLiteral("2"));
    ASSERT_EQ(form.logic().currentCodid(), 102);
    TForm35* dialog = form.placeDialogs().Form35();
    whenReady([&] { return isModal(dialog); },
              [&] {
                  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Inserare gospodarie"));
                  EXPECT_FALSE(dialog->Pozitia()->isEnabled());
                  EXPECT_FALSE(dialog->Localitatea()->isEnabled());
                  EXPECT_EQ(dialog->Volumul()->text(), QStringLiteral("01"));
                  dialog->Rol()->setText(QStringLiteral("42"));
                  dialog->Memoreaza()->click();
              },
              failAndCloseModal);
    form.Insereaza()->click();
    EXPECT_EQ(form.logic().currentCodid(), 109);
    EXPECT_EQ(form.Afisate()->text(), QStringLiteral("5"));
    EXPECT_TRUE(form.Pozitia()->text().isEmpty());
    // 1/2, 1/4 and 1/5 each took the place of the one after them (the last one 1/6); the new one
    // took 1/2.
    EXPECT_EQ(w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=109 AND POZ=2 AND ROL=42")), 1);
    EXPECT_EQ(w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=102 AND POZ=4")), 1);
    EXPECT_EQ(w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=103 AND POZ=5")), 1);
    EXPECT_EQ(w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("CODID=108 AND POZ=6")), 1);
    EXPECT_EQ(w.count(QStringLiteral("CAP4.dbf"), QStringLiteral("CODID=109")), 35);

    whenReady([&] { return isModal(dialog); },
              [&] {
                  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Modificare gospodarie"));
                  EXPECT_EQ(dialog->Pozitia()->text(), QStringLiteral("2"));
                  EXPECT_EQ(dialog->Rol()->text(), QStringLiteral("42"));
                  dialog->Localitatea()->setCurrentText(QStringLiteral("VALEA LUNGA"));
                  dialog->Pozitia()->setText(QStringLiteral("7"));
                  dialog->Memoreaza()->click();
              },
              failAndCloseModal);
    form.Modifica()->click();
    EXPECT_EQ(w.count(QStringLiteral("Identificare.dbf"),
                      QStringLiteral("CODID=109 AND POZ=7 AND VOLUM=1 AND LOCALIT=\"VALEA LUNGA\" AND LOC=\"VALEA LUNGA\"")),
              1);
    EXPECT_EQ(form.Afisate()->text(), QStringLiteral("4"));
    form.Inchide();
}
