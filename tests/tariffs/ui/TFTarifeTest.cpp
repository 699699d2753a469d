#include "UiTestUtil.h"

#include "tariffs/ui/TFTarife.h"
#include "services/AppContext.h"
#include "services/ScriptedInteraction.h"
#include "services/Settings.h"
#include "ui/TNumericF.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace velmor;
using velmor::test::failAndCloseModal;
using velmor::test::whenReady;

namespace {

// A data directory with its settings file; `restart` starts a new run over the same files.
struct TariffWorld {
    QTemporaryDir dir;
    std::unique_ptr<Settings> settings;
    ScriptedInteraction ui;
    AppContext ctx;

    TariffWorld() { restart(); }
    void restart()
    {
        settings = std::make_unique<Settings>(dir.path());
        ctx.dataDirectory = dir.path();
        ctx.settings = settings.get();
        ctx.interaction = &ui;
    }
    QString stored(int n) const
    {
        return settings->Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("Tariful") + QString::number(n));
    }
};

bool isUp(QWidget* window)
{
    return velmor::test::isActiveModal(window);
}

QStringList labelTexts(QWidget* root)
{
    QStringList texts;
    for (QLabel* label : root->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

}

TEST(TFTarife, LooksAsDesigned)
{
    TariffWorld w;
    TFTarife form(w.ctx);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Tarife de venituri stabilite local"));
    EXPECT_EQ(form.Memoreaza()->text(), QStringLiteral("&Memoreaza"));
    EXPECT_EQ(form.Renunt()->text(), QStringLiteral("&Renunt"));
    EXPECT_EQ(form.statusBar()->currentMessage(), QStringLiteral("ESC - Renunt"));
    EXPECT_EQ(form.Hotarare()->maxLength(), 40);
    for (int n = 1; n <= 16; ++n) {
        ASSERT_NE(form.NumericF(n), nullptr);
        EXPECT_EQ(form.NumericF(n)->objectName(), QStringLiteral("NumericF%1").arg(n));
        EXPECT_EQ(form.NumericF(n)->MaskInt(), 6);
        EXPECT_EQ(form.NumericF(n)->MaskZec(), 2);
    }
    QStringList groups;
    for (QGroupBox* box : form.findChildren<QGroupBox*>())
        groups << box->title();
    EXPECT_TRUE(groups.contains(QStringLiteral("Teren")));
    EXPECT_TRUE(groups.contains(QStringLiteral("Animale")));
    const QStringList labels = labelTexts(&form);
    for (const char* text : { "Intravilan", "Extravilan", "Teren arabil", "Fanete", "Vii pe rod", "Livezi", "Fond forestier",
                              "Bovine", "Cabaline", "Ovine", "Porcine", "Pasari", "Albine", "lei / ha", "lei / cap",
                              "lei / fam.", "Tarife stabilite prin" })
        EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
    // Arable land inside the built-up area is NumericF1, outside NumericF12.
    auto* land = form.NumericF(1)->parentWidget();
    EXPECT_EQ(land, form.NumericF(12)->parentWidget());
    EXPECT_EQ(qobject_cast<QGroupBox*>(land)->title(), QStringLiteral("Teren"));
    EXPECT_EQ(qobject_cast<QGroupBox*>(form.NumericF(11)->parentWidget())->title(), QStringLiteral("Animale"));
}

TEST(TFTarife, WithoutTariffsEveryFieldShowsZero)
{
    TariffWorld w;
    TFTarife form(w.ctx);
    form.Incarca();
    for (int n = 1; n <= 16; ++n) {
        EXPECT_EQ(form.NumericF(n)->text(), QStringLiteral("0"));
        EXPECT_EQ(form.Valoare(n), 0.0);
    }
}

TEST(TFTarife, TwelveAndAHalfIsStoredAndShownAfterARestart)
{
    TariffWorld w;
    {
        TFTarife form(w.ctx);
        form.Incarca();
        whenReady([&form] { return isUp(&form) && form.Hotarare()->hasFocus(); },
                  [&form] {
                      QTest::keyClicks(form.Hotarare(), QStringLiteral("hcl 5/2010"));
                      QTest::keyClick(form.Hotarare(), Qt::Key_Return);
                      // Entering the field selects its "0"; typing replaces it.
                      QTest::keyClicks(form.NumericF(1), QStringLiteral("12.5"));
                      form.Memoreaza()->click();
                  },
                  failAndCloseModal);
        form.Deschide();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.NumericF(1)->text(), QStringLiteral("12.5"));
    }
    EXPECT_EQ(w.stored(1), QStringLiteral("12.5"));
    EXPECT_EQ(w.stored(2), QStringLiteral("0"));
    EXPECT_EQ(w.settings->Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("HOTARARE")), QStringLiteral("HCL 5/2010"));

    w.restart();
    TFTarife again(w.ctx);
    again.Incarca();
    EXPECT_EQ(again.NumericF(1)->text(), QStringLiteral("12.5"));
    EXPECT_EQ(again.Valoare(1), 12.5);
    EXPECT_EQ(again.Hotarare()->text(), QStringLiteral("HCL 5/2010"));
}

TEST(TFTarife, NonNumberStoredByHandReadsAsZero)
{
    TariffWorld w;
    w.settings->Scrie_Ini(QStringLiteral("CONST"), QStringLiteral("Tariful3"), QStringLiteral("doi lei"));
    w.settings->Scrie_Ini(QStringLiteral("CONST"), QStringLiteral("Tariful6"), QStringLiteral("300.00"));
    w.settings->Scrie_Ini(QStringLiteral("CONST"), QStringLiteral("Tariful7"), QStringLiteral("1.23456"));
    TFTarife form(w.ctx);
    form.Incarca();
    EXPECT_EQ(form.NumericF(3)->text(), QStringLiteral("0"));
    EXPECT_EQ(form.Valoare(3), 0.0);
    EXPECT_EQ(form.NumericF(6)->text(), QStringLiteral("300"));
    EXPECT_EQ(form.NumericF(7)->text(), QStringLiteral("1.2346"));
}

TEST(TFTarife, EscapeDiscardsEdits)
{
    TariffWorld w;
    w.settings->Scrie_Ini(QStringLiteral("CONST"), QStringLiteral("Tariful6"), QStringLiteral("300"));
    TFTarife form(w.ctx);
    form.Incarca();
    QString typed;
    whenReady([&form] { return isUp(&form); },
              [&form, &typed] {
                  form.NumericF(6)->setFocus();
                  QTest::keyClicks(form.NumericF(6), QStringLiteral("45"));
                  typed = form.NumericF(6)->text();
                  QTest::keyClick(form.NumericF(6), Qt::Key_Escape);
              },
              failAndCloseModal);
    form.Deschide();
    EXPECT_EQ(typed, QStringLiteral("45"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.NumericF(6)->text(), QStringLiteral("300"));
    EXPECT_EQ(w.stored(6), QStringLiteral("300"));
    EXPECT_TRUE(w.stored(1).isEmpty()); // nothing was written
}

TEST(TFTarife, RenuntDiscardsEdits)
{
    TariffWorld w;
    TFTarife form(w.ctx);
    form.Incarca();
    whenReady([&form] { return isUp(&form); },
              [&form] {
                  form.NumericF(2)->setText(QStringLiteral("77"));
                  form.Renunt()->click();
              },
              failAndCloseModal);
    form.Deschide();
    EXPECT_EQ(form.NumericF(2)->text(), QStringLiteral("0"));
    EXPECT_TRUE(w.stored(2).isEmpty());
}

TEST(TFTarife, EnterMovesToTheNextFieldAndInAlbineSaves)
{
    TariffWorld w;
    TFTarife form(w.ctx);
    form.Incarca();
    bool movedToOutside = false;
    bool movedToCattle = false;
    whenReady([&form] { return isUp(&form); },
              [&] {
                  form.NumericF(5)->setFocus();
                  QTest::keyClick(form.NumericF(5), Qt::Key_Return);
                  movedToOutside = form.NumericF(12)->hasFocus();
                  form.NumericF(16)->setFocus();
                  QTest::keyClick(form.NumericF(16), Qt::Key_Enter);
                  movedToCattle = form.NumericF(6)->hasFocus();
                  form.NumericF(11)->setFocus();
                  QTest::keyClicks(form.NumericF(11), QStringLiteral("8.75"));
                  QTest::keyClick(form.NumericF(11), Qt::Key_Return);
              },
              failAndCloseModal);
    form.Deschide();
    EXPECT_TRUE(movedToOutside);
    EXPECT_TRUE(movedToCattle);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(w.stored(11), QStringLiteral("8.75"));
    EXPECT_EQ(w.stored(16), QStringLiteral("0"));
}

TEST(TFTarife, SavingReloadsTheOtherWindowOfTheRun)
{
    TariffWorld w;
    TFTarife shown(w.ctx);
    TFTarife other(w.ctx);
    shown.Incarca();
    other.Incarca();
    whenReady([&shown] { return isUp(&shown); },
              [&shown] {
                  shown.NumericF(4)->setText(QStringLiteral("15"));
                  shown.Memoreaza()->click();
              },
              failAndCloseModal);
    shown.Deschide();
    EXPECT_EQ(other.NumericF(4)->text(), QStringLiteral("15"));
    EXPECT_EQ(other.Valoare(4), 15.0);
}

TEST(TFTarife, UnwritableSettingsKeepTheWindowOpenWithTheEdits)
{
    TariffWorld w;
    QDir(w.dir.path()).mkpath(QStringLiteral("Velmor.ini")); // a folder where the file should be
    TFTarife form(w.ctx);
    bool stillOpen = false;
    whenReady([&form] { return isUp(&form); },
              [&] {
                  form.NumericF(1)->setText(QStringLiteral("9"));
                  form.Memoreaza()->click();
                  stillOpen = form.isVisible() && form.NumericF(1)->text() == QStringLiteral("9");
                  form.done(QDialog::Rejected);
              },
              failAndCloseModal);
    form.Deschide();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(w.ui.lastMessage().kind, KindError);
}
