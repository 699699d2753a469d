#include "UiTestUtil.h"

#include "reports/ui/TRecensamantF.h"

#include "data/engine/Engine.h"
#include "services/AppContext.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmor;
using reports::CensusForm;
using reports::TRecensamantF;
using velmor::test::failAndCloseModal;
using velmor::test::isActiveModal;
using velmor::test::whenReady;

namespace {

struct CensusWorld {
    test::TempHome home;
    std::unique_ptr<engine::Engine> engine;
    ScriptedInteraction ui;
    AppContext ctx;

    CensusWorld()
    {
        home.copyFixture(QStringLiteral("register-dbase4"));
        engine = std::make_unique<engine::Engine>(home.data());
        ctx.programDirectory = home.home();
        ctx.dataDirectory = home.data();
        ctx.engine = engine.get();
        ctx.interaction = &ui;
        ctx.year.setYears({QStringLiteral("2009"), QStringLiteral("2010"), QStringLiteral("2011")});
        ctx.year.setText(QStringLiteral("2010"));
    }
};

QStringList items(QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

}

TEST(TRecensamantF, LooksAsDesigned)
{
    CensusWorld w;
    TRecensamantF dialog(w.ctx);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Recensamant 2010"));
    EXPECT_EQ(items(dialog.TipRA()), (QStringList {"L1", "L2", "L3", "L4", "C1", "C2"}));
    EXPECT_EQ(dialog.TipRA()->currentIndex(), 0);
    EXPECT_EQ(dialog.IncludeNU()->text(), QStringLiteral("Include si gospodariile fara teren sau animale"));
    EXPECT_FALSE(dialog.IncludeNU()->isChecked());
    EXPECT_EQ(dialog.FaraTerenAlte()->text(), QStringLiteral("la L2, ignora terenurile din Cap.2, de la Alte localitati"));
    EXPECT_FALSE(dialog.FaraTerenAlte()->isChecked());
    EXPECT_EQ(dialog.BitBtn1()->text(), QStringLiteral("&Arata lista"));
    EXPECT_EQ(dialog.BitBtn2()->text(), QStringLiteral("&Renunt"));
    EXPECT_EQ(dialog.findChild<QStatusBar*>()->currentMessage(), QStringLiteral("ESC - Renunt"));
    dialog.IncarcaLocalitati();
    EXPECT_EQ(items(dialog.Localit()), (QStringList {"DEALU MARE", "SAT NOU", "VALEA LUNGA"}));
    EXPECT_EQ(dialog.Localit()->currentIndex(), 0);
}

// "&Arata lista" returns the choice; the form is kept for the next use; Esc cancels; a year
// without villages gets the balloon and the dialog stays open.
TEST(TRecensamantF, ChoosesAndCancels)
{
    CensusWorld w;
    TRecensamantF dialog(w.ctx);
    whenReady([&] { return isActiveModal(&dialog); },
              [&] {
                  dialog.Localit()->setCurrentIndex(1);
                  dialog.TipRA()->setCurrentIndex(4);
                  dialog.IncludeNU()->setChecked(true);
                  dialog.BitBtn1()->click();
              },
              failAndCloseModal);
    const auto chosen = dialog.Alege();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->village, QStringLiteral("SAT NOU"));
    EXPECT_EQ(chosen->form, CensusForm::C1);
    EXPECT_TRUE(chosen->includeNu);
    EXPECT_FALSE(chosen->ignoreOther);

    bool kept = false;
    whenReady([&] { return isActiveModal(&dialog); },
              [&] {
                  kept = dialog.TipRA()->currentIndex() == 4 && dialog.Localit()->currentIndex() == 0;
                  QTest::keyClick(&dialog, Qt::Key_Escape);
              },
              failAndCloseModal);
    EXPECT_FALSE(dialog.Alege());
    EXPECT_TRUE(kept);

    w.ctx.year.setText(QStringLiteral("2011"));
    bool stayed = false;
    whenReady([&] { return isActiveModal(&dialog); },
              [&] {
                  dialog.BitBtn1()->click();
                  stayed = dialog.isVisible();
                  dialog.BitBtn2()->click();
              },
              failAndCloseModal);
    EXPECT_FALSE(dialog.Alege());
    EXPECT_TRUE(stayed);
    ASSERT_EQ(w.ui.balloons().size(), 1u);
    EXPECT_EQ(w.ui.balloons().front().text, QStringLiteral("Nu ati ales localitatea!"));
    EXPECT_EQ(w.ui.balloons().front().anchor, QStringLiteral("Localit"));
}
