#include "AdminTestWorld.h"
#include "ArchiveTestUtil.h"
#include "UiTestUtil.h"

#include "admin/ui/TForm21.h"
#include "data/Schema.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::AdminWorld;
using velmor::test::failAndCloseModal;
using velmor::test::whenReady;

TEST(TForm21, LooksAsDesigned)
{
    AdminWorld w;
    TForm21 form(w.ctx);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Salvare - Incarcare"));
    EXPECT_EQ(form.BitBtn1()->text(), QStringLiteral("Salveaza baza de date"));
    EXPECT_EQ(form.BitBtn2()->text(), QStringLiteral("Incarca o baza de date"));
    EXPECT_EQ(form.statusBar()->currentMessage(), QStringLiteral("ESC - Iesire"));
}

TEST(TForm21, RestoreClosesTheWindowAndEndsTheProgram)
{
    AdminWorld w;
    w.home.copyFixture(QStringLiteral("register-dbase3"));
    w.ui.pushOpenFile(test::fixturePath(QStringLiteral("archives/register.kt"))).pushYes();
    TForm21 form(w.ctx);
    QSignalSpy ended(&form, &TForm21::programEndRequested);
    whenReady([&form] { return velmor::test::isActiveModal(&form); }, [&form] { form.BitBtn2()->click(); },
              failAndCloseModal);
    EXPECT_THROW(form.Deschide(), data::ProgramTermination);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_TRUE(form.isProgramEndRequested());
    EXPECT_EQ(test::existingFileBytes(w.data(QStringLiteral("Sate.lst"))),
              test::existingFileBytes(test::fixturePath(QStringLiteral("register-dbase4/Sate.lst"))));
}

TEST(TForm21, DamagedArchiveClosesWithoutEndingTheProgram)
{
    AdminWorld w;
    w.home.copyFixture(QStringLiteral("register-dbase3"));
    const auto before = test::filesOf(w.home.data());
    w.ui.pushOpenFile(test::fixturePath(QStringLiteral("archives/truncated.kt"))).pushYes();
    TForm21 form(w.ctx);
    whenReady([&form] { return velmor::test::isActiveModal(&form); }, [&form] { form.BitBtn2()->click(); },
              failAndCloseModal);
    EXPECT_NO_THROW(form.Deschide());
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.isProgramEndRequested());
    EXPECT_EQ(test::filesOf(w.home.data()), before);
}

TEST(TForm21, CancelledSaveKeepsTheWindowOpen)
{
    AdminWorld w;
    TForm21 form(w.ctx);
    bool stillOpen = false;
    whenReady([&form] { return velmor::test::isActiveModal(&form); },
              [&form, &stillOpen] {
                  form.BitBtn1()->click(); // the save dialog is cancelled by the script
                  stillOpen = form.isVisible() && form.isEnabled();
                  form.reject();
              },
              failAndCloseModal);
    form.Deschide();
    EXPECT_TRUE(stillOpen);
}

TEST(TForm21, AutomaticBackupWritesTheArchive)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    QTemporaryDir out;
    TForm21 form(w.ctx);
    form.SalvareAutomata(out.filePath(QStringLiteral("a_0.kt")));
    EXPECT_TRUE(QFileInfo::exists(out.filePath(QStringLiteral("a_0.kt"))));
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Informatie"), QStringLiteral("Salvare incheiata cu succes !")));
}
