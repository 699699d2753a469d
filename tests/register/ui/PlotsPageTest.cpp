// The editor's plot page and the plot dialog, driven as a clerk would.

#include "EditorTestWorld.h"
#include "UiTestUtil.h"

#include "grid/ui/StandardGrid.h"
#include "register/PlotStore.h"
#include "register/ui/PlotsPage.h"
#include "register/ui/TForm6.h"
#include "register/ui/TTarlaF.h"
#include "ui/TNumericF.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::EditorWorld;
using velmor::test::failAndCloseModal;
using velmor::test::whenReady;

namespace {

QStringList listItems(QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

// The editor on 2011 with one household (two members, no plot yet), on its plot page.
struct PlotPageWorld : EditorWorld {
    TForm6 form {ctx};
    PlotsPage* page = nullptr;

    explicit PlotPageWorld(bool unlocked)
        : EditorWorld(QStringLiteral("2011"))
    {
        addHousehold(QStringLiteral("2011"), 601, QStringLiteral("SAT NOU"), 1, 1, 1);
        for (const auto& [name, kinship] : {std::pair {QStringLiteral("POP ION"), 1}, std::pair {QStringLiteral("POP ANA"), 2}}) {
            engine::Parameters p;
            p.bind(QStringLiteral("NUMEP"), name);
            p.bind(QStringLiteral("COD"), std::int64_t(kinship));
            engine->execute(QStringLiteral("INSERT INTO ") + engine::quotedPath(ctx.tablePath(QStringLiteral("CAP1.dbf")))
                                + QStringLiteral(" (ANUL, CODID, NUMEP, COD) VALUES (2011, 601, :NUMEP, :COD)"),
                            p);
        }
        ctx.setUnlocked(unlocked);
        form.Pregateste();
        form.ButClick(14);
        page = dynamic_cast<PlotsPage*>(form.page(13));
    }
    ~PlotPageWorld() { form.Inchide(); }
};

}

TEST(PlotsPage, FirstPlotPrefillsTheMembersAndConfirmsThroughTheDialog)
{
    PlotPageWorld w(true);
    ASSERT_NE(w.page, nullptr);
    EXPECT_EQ(w.form.Pages()->currentWidget(), w.page);
    EXPECT_EQ(w.page->Grid()->model()->rowCount(), 0);
    EXPECT_TRUE(w.page->Adauga()->isEnabled());

    // Nothing to change or delete yet.
    w.page->ModificaClick();
    w.page->StergeClick();
    EXPECT_EQ(w.ui.balloons().size(), 2u);

    // The dialog comes up with both members as holders, head first; an empty area is refused
    // at its field, then the plot is stored.
    QStringList holdersShown;
    bool refusedArea = false;
    whenReady([&] { return velmor::test::isActiveModal(w.page->dialog()); },
              [&] {
                  TTarlaF* d = w.page->dialog();
                  holdersShown = d->Titulari()->toPlainText().split(QLatin1Char('\n'));
                  d->DenumireTarla()->setEditText(QStringLiteral("B1 INTRAVILAN"));
                  d->Categoria()->setCurrentIndex(4);
                  d->MemoreazaClick();
                  refusedArea = d->isVisible();
                  d->Suprafata()->setText(QStringLiteral("0.1234"));
                  d->Numarul()->setText(QStringLiteral("nr \"5\""));
                  d->MemoreazaClick();
              },
              failAndCloseModal);
    w.page->AdaugaClick();
    EXPECT_EQ(holdersShown, (QStringList {QStringLiteral("POP ION"), QStringLiteral("POP ANA")}));
    EXPECT_TRUE(refusedArea);
    ASSERT_FALSE(w.ui.balloons().empty());
    EXPECT_EQ(w.ui.balloons().back().text, QStringLiteral("Nu ati trecut suprafata!"));
    ASSERT_EQ(w.page->Grid()->model()->rowCount(), 1);
    EXPECT_GE(w.page->currentPlot(), 0);
    EXPECT_EQ(listItems(w.page->Titulari()), (QStringList {QStringLiteral("POP ANA"), QStringLiteral("POP ION")}));
    const PlotDetails stored = PlotStore(*w.engine, w.home.data(), *w.settings).read(2011, w.page->currentPlot());
    EXPECT_EQ(stored.classification, QStringLiteral("INTRAVILAN"));
    EXPECT_EQ(stored.category, QStringLiteral("LIVEZI"));
    EXPECT_EQ(stored.deedNumber, QStringLiteral("nr \"5\""));
    EXPECT_DOUBLE_EQ(stored.area, 0.1234);

    // The block's category is remembered: typing the block again proposes "LIVEZI".
    w.page->dialog()->Categoria()->setCurrentIndex(0);
    w.page->dialog()->DenumireTarla()->setEditText(QString());
    w.page->dialog()->DenumireTarla()->setEditText(QStringLiteral("B1 INTRAVILAN"));
    EXPECT_EQ(w.page->dialog()->Categoria()->currentText(), QStringLiteral("LIVEZI"));
    w.page->dialog()->DenumireTarla()->setEditText(QStringLiteral("B2"));
    EXPECT_EQ(w.page->dialog()->Incadrare()->currentText(), QStringLiteral("EXTRAVILAN"));

    // Pictures: one is added, the same path again is refused at the list.
    w.page->AdaugaPoza(w.home.data() + QStringLiteral("/act.pdf"));
    EXPECT_EQ(w.page->Poze()->count(), 1);
    w.page->AdaugaPoza(w.home.data() + QStringLiteral("/act.pdf"));
    EXPECT_EQ(w.ui.balloons().back().text, QStringLiteral("Fisierul exista deja!"));
    // A missing file is not opened.
    w.page->AratePozaClick();
    EXPECT_EQ(w.ui.balloons().back().text, QStringLiteral("Fisierul nu mai exista!"));
}

TEST(PlotsPage, LockedPageChangesNothing)
{
    PlotPageWorld w(false);
    ASSERT_NE(w.page, nullptr);
    for (QPushButton* b : {w.page->Adauga(), w.page->Modifica(), w.page->Sterge(), w.page->Recalculeaza(), w.page->AdaugaPozaButton()})
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    w.page->AdaugaPoza(w.home.data() + QStringLiteral("/act.pdf"));
    ASSERT_FALSE(w.ui.balloons().empty());
    EXPECT_EQ(w.ui.balloons().back().text, QStringLiteral("Intrati mai intai la Admin cu parola!"));
    EXPECT_EQ(w.count(QStringLiteral("PozeTarla.dbf"), QStringLiteral("ANUL=2011")), 0);
}

// The program builds its windows before it connects to the data directory.
TEST(PlotsPage, PageBuiltBeforeTheDataConnectionShowsThePlotsDetails)
{
    EditorWorld w(QStringLiteral("2010"));
    engine::Engine* connected = w.ctx.engine;
    w.ctx.engine = nullptr;
    TForm6 form(w.ctx);
    w.ctx.engine = connected;
    form.Pregateste();
    auto* page = dynamic_cast<PlotsPage*>(form.page(13));
    ASSERT_NE(page, nullptr);
    for (int row = 0; row < form.logic().shownCount() && page->currentPlot() < 0; ++row) {
        form.logic().moveToRow(row);
        form.ButClick(14);
    }
    ASSERT_GE(page->currentPlot(), 0);
    EXPECT_GT(page->Titulari()->count(), 0);
    form.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    ASSERT_GE(page->currentPlot(), 0);
    EXPECT_GT(page->Titulari()->count(), 0);
    form.Inchide();
}
