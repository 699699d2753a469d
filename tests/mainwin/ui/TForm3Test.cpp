#include "MainWinTestUtil.h"

#include "admin/AccessControl.h"
#include "data/Schema.h"
#include "mainwin/ui/TForm3.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace velmor;
using namespace velmor::test;

namespace {

QStringList itemsOf(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QImage imageOf(const QIcon& icon)
{
    return icon.pixmap(32, 32).toImage();
}

}

TEST(TForm3, ToolbarButtonsCarryTheirCaptionsAndHintsInOrder)
{
    MainEnv env;
    TForm3 form(env.ctx);
    const QList<QToolButton*> buttons = form.findChildren<QToolButton*>(QString(), Qt::FindChildrenRecursively);
    QStringList names, captions, hints;
    for (QToolButton* button : buttons) {
        names << button->objectName();
        captions << button->text();
        hints << button->toolTip();
    }
    EXPECT_EQ(names, (QStringList {QStringLiteral("ToolButton9"), QStringLiteral("ToolButton7"), QStringLiteral("ToolButton5"),
                                   QStringLiteral("ToolButton6"), QStringLiteral("ToolButton8"), QStringLiteral("LegisB"),
                                   QStringLiteral("ToolButton2"), QStringLiteral("SavBut"), QStringLiteral("ToolButton1")}));
    EXPECT_EQ(captions, (QStringList {QStringLiteral("Evidente"), QStringLiteral("Totaluri"), QStringLiteral("Liste"),
                                      QStringLiteral("Raportari "), QStringLiteral("Parcele"), QStringLiteral("Legislatie"),
                                      QStringLiteral(" Administrare"), QStringLiteral("Salvare"), QStringLiteral(" Iesire")}));
    EXPECT_EQ(hints, (QStringList {QStringLiteral("Adaugare sau Modificare date."),
                                   QStringLiteral("Totalizari pe localitati, pe capitole si articole."),
                                   QStringLiteral("Liste cu persoane si bunuri."), QStringLiteral("Formulare de raportari diverse."),
                                   QStringLiteral("Cautare tarla."), QStringLiteral("Legislatie in vigoare."),
                                   QStringLiteral("Administrare program."), QStringLiteral("Salvare - Incarcare baza de date."),
                                   QStringLiteral("Inchide program.")}));
    // The year combo sits at the right end, after every button, and takes no typing.
    form.Deschide();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, 30000));
    EXPECT_GT(form.Anul()->geometry().left(), form.ToolButton1()->geometry().right());
    EXPECT_FALSE(form.Anul()->isEditable());
    EXPECT_EQ(form.StatusText()->text(), QStringLiteral("ESC - Iesire din program"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("VELMOR 3.18"));
}

TEST(TForm3, MenusHoldTheirItemsInOrder)
{
    MainEnv env;
    TForm3 form(env.ctx);
    QStringList names, captions;
    for (QAction* action : form.PopupMenu1()->actions()) {
        names << action->objectName();
        captions << action->text();
    }
    EXPECT_EQ(names, (QStringList {QStringLiteral("RAGR21"), QStringLiteral("Contabilitate1"), QStringLiteral("RomTelecom1"),
                                   QStringLiteral("RepertoarPozitii1"), QStringLiteral("Situatieferme1"),
                                   QStringLiteral("Listalocuitorinrstrada1"), QStringLiteral("ListeGospodariidupanrmembri1"),
                                   QStringLiteral("ListaCL"), QStringLiteral("ListaExploatatiiAgricole1"),
                                   QStringLiteral("Raport1APIA1"), QStringLiteral("RaportStatistica1"),
                                   QStringLiteral("RaportStrainasi1")}));
    EXPECT_EQ(captions, (QStringList {QStringLiteral("R.AGR.2"), QStringLiteral("Contabilitate"), QStringLiteral("RomTelecom"),
                                      QStringLiteral("Repertoar Pozitii"), QStringLiteral("Situatie ferme"),
                                      QStringLiteral("Lista Locuitori dupa Strada"),
                                      QStringLiteral("Liste Gospodarii dupa nr.membri"),
                                      QStringLiteral("Lista Constructiilor cu destinatie de locuinta"),
                                      QStringLiteral("Recensamant General 2010"), QStringLiteral("Raport 1 APIA"),
                                      QStringLiteral("Raport Directia Statistica"), QStringLiteral("Raport Strainasi")}));
    names.clear();
    captions.clear();
    for (QAction* action : form.PopupMenu2()->actions()) {
        names << action->objectName();
        captions << action->text();
    }
    EXPECT_EQ(names, (QStringList {QStringLiteral("Pop1"), QStringLiteral("Pop2"), QStringLiteral("Pop3"),
                                   QStringLiteral("Pop4"), QStringLiteral("Pop5")}));
    EXPECT_EQ(captions, (QStringList {QStringLiteral("HG 175/2007"), QStringLiteral("Ordinul 344/2007"),
                                      QStringLiteral("Ordinul 431/2008"), QStringLiteral("OG 28/2008"),
                                      QStringLiteral("Legea 98/2009")}));
    EXPECT_EQ(form.LegisB()->menu(), form.PopupMenu2());
}

TEST(TForm3, YearComboIsRefilledWithTheCalendarYearLastAndSelected)
{
    MainEnv env;
    env.addHousehold(QStringLiteral("2030"), 1);
    env.addHousehold(QStringLiteral("2019"), 2);
    TForm3 form(env.ctx);
    form.logic().setToday([] { return QDate(2025, 6, 1); });
    form.Anul()->addItem(QStringLiteral("vechi"));
    env.ctx.year.reload();
    EXPECT_EQ(itemsOf(form.Anul()), (QStringList {QStringLiteral("2019"), QStringLiteral("2030"), QStringLiteral("2025")}));
    EXPECT_EQ(form.Anul()->currentIndex(), 2);
    EXPECT_EQ(env.ctx.workingYear(), QStringLiteral("2025"));

    // The user picks another year; every Part reads it from the context.
    form.Anul()->setCurrentIndex(1);
    EXPECT_EQ(env.ctx.workingYear(), QStringLiteral("2030"));
}

TEST(TForm3, EmptyRegisterShowsOnlyTheCalendarYear)
{
    MainEnv env;
    TForm3 form(env.ctx);
    form.logic().setToday([] { return QDate(2031, 1, 2); });
    form.IncarcaAnii();
    EXPECT_EQ(itemsOf(form.Anul()), QStringList {QStringLiteral("2031")});
    EXPECT_EQ(form.Anul()->currentText(), QStringLiteral("2031"));
}

TEST(TForm3, SaveButtonFollowsTheUnlockedState)
{
    MainEnv env;
    TForm3 form(env.ctx);
    EXPECT_FALSE(form.SavBut()->isEnabled());
    const QImage locked = imageOf(form.ToolButton2()->icon());
    env.ctx.setUnlocked(true);
    EXPECT_TRUE(form.SavBut()->isEnabled());
    EXPECT_NE(imageOf(form.ToolButton2()->icon()), locked);
}

TEST(TForm3, ToolbarWindowIsGuardedWhileItRuns)
{
    MainEnv env;
    TForm3 form(env.ctx);
    int opened = 0;
    bool enabledDuring = true;
    form.setWindowOpener(TForm3::Window::Totaluri, [&] {
        ++opened;
        enabledDuring = form.ToolButton7()->isEnabled();
        // A second click while the window opens does nothing.
        form.ToolButton7()->click();
    });
    form.ToolButton7()->click();
    EXPECT_EQ(opened, 1);
    EXPECT_FALSE(enabledDuring);
    EXPECT_TRUE(form.ToolButton7()->isEnabled());
    EXPECT_TRUE(env.ui.messages().empty());
}

TEST(TForm3, FailingWindowReEnablesItsButtonAndShowsTheError)
{
    MainEnv env;
    TForm3 form(env.ctx);
    form.setWindowOpener(TForm3::Window::Liste, [] { throw std::runtime_error("Tabelul nu poate fi citit"); });
    form.ToolButton5()->click();
    EXPECT_TRUE(form.ToolButton5()->isEnabled());
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Eroare"));
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("Tabelul nu poate fi citit"));
    EXPECT_EQ(env.ui.lastMessage().kind, KindError);
}

TEST(TForm3, WindowsOfLaterVersionsSaySo)
{
    MainEnv env;
    env.ctx.setUnlocked(true);
    TForm3 form(env.ctx);
    form.ToolButton7()->click();
    form.ToolButton5()->click();
    form.ToolButton8()->click();
    form.ToolButton9()->click();
    const QStringList expected {QStringLiteral("Totaluri"), QStringLiteral("Liste"), QStringLiteral("Parcele"),
                                QStringLiteral("Evidente")};
    ASSERT_EQ(env.ui.messages().size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(env.ui.messages()[size_t(i)].title, QStringLiteral("Informatie"));
        EXPECT_EQ(env.ui.messages()[size_t(i)].text,
                  QStringLiteral("Fereastra \"") + expected[i] + QStringLiteral("\" nu este disponibila in aceasta versiune."));
    }
    EXPECT_TRUE(form.ToolButton9()->isEnabled());
}

TEST(TForm3, ReportsOfLaterVersionsSaySo)
{
    MainEnv env;
    TForm3 form(env.ctx);
    for (QAction* action : form.PopupMenu1()->actions())
        action->trigger();
    ASSERT_EQ(env.ui.messages().size(), 12u);
    EXPECT_EQ(env.ui.messages().front().text, QStringLiteral("Raportul \"R.AGR.2\" nu este disponibil in aceasta versiune."));
    EXPECT_EQ(env.ui.messages().back().text,
              QStringLiteral("Raportul \"Raport Strainasi\" nu este disponibil in aceasta versiune."));

    // A report given by the program runs instead.
    int runs = 0;
    form.setReport(QStringLiteral("RomTelecom1"), [&] { ++runs; });
    form.PopupMenu1()->actions().at(2)->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(env.ui.messages().size(), 12u);
}

TEST(TForm3, EvidenteChecksComeBeforeTheEditor)
{
    MainEnv env;
    env.ctx.profile.setVillages({});
    TForm3 form(env.ctx);
    int opened = 0;
    form.setWindowOpener(TForm3::Window::Evidente, [&] { ++opened; });
    form.ToolButton9()->click();
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Problema"));

    env.ctx.profile.setVillages(QStringList {QStringLiteral("Sat")});
    form.ToolButton9()->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("ATENTIE !"));
}

TEST(TForm3, MissingLegislationDocumentFromTheMenu)
{
    MainEnv env;
    TForm3 form(env.ctx);
    form.PopupMenu2()->actions().at(4)->trigger();
    ASSERT_EQ(env.ui.balloons().size(), 1u);
    EXPECT_EQ(env.ui.balloons().front().anchor, QStringLiteral("LegisB"));
    EXPECT_EQ(env.ui.balloons().front().text,
              QStringLiteral("Nu exista fisierul ") + QDir::toNativeSeparators(env.home + QStringLiteral("/Pop5.pdf"))
                  + QLatin1Char('!'));
    // The anchor is a control of the window.
    EXPECT_EQ(form.findChild<QWidget*>(QStringLiteral("LegisB")), form.LegisB());
}

TEST(TForm3, EscapeAndF12StartTheCloseSequence)
{
    MainEnv env;
    TForm3 form(env.ctx);
    form.Deschide();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, 30000));
    form.activateWindow();
    QApplication::setActiveWindow(&form);
    QSignalSpy closed(&form, &TForm3::closed);

    QTest::keyClick(&form, Qt::Key_Escape);
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Inchidere program"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(closed.count(), 0);

    env.ui.pushYes();
    QTest::keyClick(&form, Qt::Key_F12);
    EXPECT_EQ(env.ui.messages().size(), 2u);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(form.terminated());
}

TEST(TForm3, ExitButtonClosesThroughTheCloseSequence)
{
    MainEnv env;
    TForm3 form(env.ctx);
    QSignalSpy closed(&form, &TForm3::closed);
    form.Deschide();
    env.ui.pushNo();
    form.ToolButton1()->click();
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("Vreti sa inchideti programul?"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(closed.count(), 0);
}

TEST(TForm3, CloseOffersTheAutomaticBackupThroughTheGivenWindow)
{
    MainEnv env;
    const QString backups = env.makeDir(QStringLiteral("backups"));
    env.ctx.profile.setBackupDirectory(backups);
    TForm3 form(env.ctx);
    form.logic().setToday([] { return QDate(2009, 12, 8); });
    QStringList archives;
    form.logic().setAutomaticBackup([&](const QString& path) { archives << path; });
    QSignalSpy closed(&form, &TForm3::closed);
    form.Deschide();
    env.ui.pushYes();
    form.close();
    EXPECT_EQ(archives, QStringList {backups + QStringLiteral("/08.12.2009_0.kt")});
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(env.ui.messages().size(), 1u);
}

TEST(TForm3, RequestToEndTheProgramClosesWithoutQuestion)
{
    MainEnv env;
    TForm3 form(env.ctx);
    QSignalSpy closed(&form, &TForm3::closed);
    form.Deschide();
    form.setWindowOpener(TForm3::Window::Parcele,
                         [] { throw data::ProgramTermination(QStringLiteral("Porniti din nou programul!")); });
    form.ToolButton8()->click();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(env.ui.messages().empty());
}

TEST(TForm3, TakesTheScreenWidthWhenShown)
{
    MainEnv env;
    TForm3 form(env.ctx);
    form.resize(300, form.height());
    form.Deschide();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, 30000));
    const QRect available = form.screen()->availableGeometry();
    EXPECT_EQ(form.frameGeometry().width(), available.width());
    EXPECT_EQ(form.frameGeometry().left(), available.left());
}

TEST(TForm3, ReportsMenuPopsUpUnderItsButton)
{
    MainEnv env;
    TForm3 form(env.ctx);
    form.Deschide();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, 30000));
    const QPoint expected(form.ToolButton6()->mapToGlobal(QPoint(0, 0)).x(), form.geometry().top() + 85);
    EXPECT_EQ(form.reportsMenuPosition(), expected);
    form.ToolButton6()->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.PopupMenu1()->isVisible(); }, 30000));
    form.PopupMenu1()->hide();
}

// ---- administrator entry ----

TEST(TForm3, AdministrareWithoutPasswordWarnsUnlocksAndOpensOnTheNextPress)
{
    MainEnv env;
    TForm3 form(env.ctx);
    int administration = 0;
    form.logic().setOpenAdministration([&] { ++administration; });

    form.ToolButton2()->click();
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Deblocare program"));
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("ATENTIE!\rNu aveti nici o parola!"));
    EXPECT_EQ(env.ui.lastMessage().kind, KindWarning);
    EXPECT_TRUE(env.ctx.unlocked());
    EXPECT_TRUE(form.SavBut()->isEnabled());
    // Unlocking does not open the administration window.
    EXPECT_EQ(administration, 0);

    form.ToolButton2()->click();
    EXPECT_EQ(administration, 1);
    EXPECT_EQ(env.ui.messages().size(), 1u);
    EXPECT_TRUE(env.ui.textQuestions().empty());
}

TEST(TForm3, AdministrareWithTheRightPasswordUnlocks)
{
    MainEnv env;
    env.registry->Scrie_Reg(QStringLiteral("Erori"), CodeazaStr(QStringLiteral("secret")));
    TForm3 form(env.ctx);
    const QImage locked = form.ToolButton2()->icon().pixmap(32, 32).toImage();
    int administration = 0;
    form.logic().setOpenAdministration([&] { ++administration; });
    env.ui.pushText(QStringLiteral("secret"));

    form.ToolButton2()->click();
    ASSERT_EQ(env.ui.textQuestions().size(), 1u);
    EXPECT_EQ(env.ui.textQuestions().front().title, QStringLiteral("IDENTIFICARE ADMIN"));
    EXPECT_EQ(env.ui.textQuestions().front().label, QStringLiteral("PAROLA :"));
    EXPECT_TRUE(env.ui.textQuestions().front().secret);
    EXPECT_TRUE(env.ui.messages().empty());
    EXPECT_TRUE(env.ctx.unlocked());
    EXPECT_TRUE(form.SavBut()->isEnabled());
    EXPECT_NE(form.ToolButton2()->icon().pixmap(32, 32).toImage(), locked);
    EXPECT_EQ(administration, 0);

    form.ToolButton2()->click();
    EXPECT_EQ(administration, 1);
}

TEST(TForm3, AdministrareWithAWrongPasswordStaysLocked)
{
    MainEnv env;
    env.registry->Scrie_Reg(QStringLiteral("Erori"), CodeazaStr(QStringLiteral("secret")));
    TForm3 form(env.ctx);
    env.ui.pushText(QStringLiteral("Secret"));
    form.ToolButton2()->click();
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Verificare parola"));
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("PAROLA INCORECTA !"));
    EXPECT_EQ(env.ui.lastMessage().kind, KindError);
    EXPECT_FALSE(env.ctx.unlocked());
    EXPECT_FALSE(form.SavBut()->isEnabled());

    // Cancelling the prompt changes nothing.
    env.ui.pushTextCancel();
    form.ToolButton2()->click();
    EXPECT_EQ(env.ui.messages().size(), 1u);
    EXPECT_FALSE(env.ctx.unlocked());
}

TEST(TForm3, F10DoesWhatAdministrareDoes)
{
    MainEnv env;
    TForm3 form(env.ctx);
    form.Deschide();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, 30000));
    QApplication::setActiveWindow(&form);
    QTest::keyClick(&form, Qt::Key_F10);
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Deblocare program"));
    EXPECT_TRUE(env.ctx.unlocked());
}

TEST(TForm3, SaveButtonOpensTheBackupWindowOnceUnlocked)
{
    MainEnv env;
    TForm3 form(env.ctx);
    int opened = 0;
    form.setSaveWindow([&] { ++opened; });
    form.SavBut()->click();
    EXPECT_EQ(opened, 0);
    env.ctx.setUnlocked(true);
    form.SavBut()->click();
    EXPECT_EQ(opened, 1);
}
