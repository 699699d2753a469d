#include "reports/ui/TForm7.h"
#include "StartupTestUtil.h"

#include "admin/AccessControl.h"
#include "admin/ui/TForm21.h"
#include "admin/ui/TForm4.h"
#include "admin/ui/TForm5.h"
#include "app/ProgramShell.h"
#include "app/TForm1.h"
#include "data/Schema.h"
#include "mainwin/ui/TForm3.h"
#include "register/ui/TForm6.h"
#include "search/ui/TForm33.h"
#include "services/RegistryStore.h"
#include "services/ScriptedInteraction.h"

#include <QAction>
#include <QMenu>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "ui/UiTestUtil.h"

using namespace velmor;
using namespace velmor::test;

namespace {

struct ShellEnv {
    QTemporaryDir dir;
    QString home = dir.path() + QStringLiteral("/home");
    RegistryStore registry {dir.path() + QStringLiteral("/registry.ini")};
    ScriptedInteraction ui;
};

}

TEST(ProgramShell, StartupFillsTheWindowsAndHandsOverToTheMainWindow)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    ProgramShell shell(env.home, &env.registry, &env.ui);
    const auto result = shell.runStartup();
    ASSERT_EQ(result.outcome, StartupSequence::Outcome::HandOver) << result.error.toStdString();

    EXPECT_EQ(shell.form3()->windowTitle(), QStringLiteral("VELMOR 3.18"));
    EXPECT_EQ(shell.form1()->Label5()->text(), QStringLiteral("Refac bazele de date ..."));
    EXPECT_EQ(shell.form1()->Bar()->value(), 100);
    EXPECT_EQ(shell.form3()->Anul()->currentText(), QString::number(QDate::currentDate().year()));
    EXPECT_EQ(shell.context().workingYear(), QString::number(QDate::currentDate().year()));
    EXPECT_TRUE(data::Schema::ExistaBaza(env.home + QStringLiteral("/Data")));

    shell.form1()->show();
    shell.handOver();
    EXPECT_FALSE(shell.form1()->isVisible());
    EXPECT_TRUE(shell.form3()->isVisible());
    EXPECT_NE(shell.form1()->cursor().shape(), Qt::WaitCursor);

    QSignalSpy finished(&shell, &ProgramShell::finished);
    env.ui.pushYes();
    shell.form3()->close();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 0);
}

TEST(ProgramShell, SplashTimerRunsTheSequenceAndShowsTheMainWindow)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    ProgramShell shell(env.home, &env.registry, &env.ui);
    QSignalSpy finished(&shell, &ProgramShell::finished);
    shell.start();
    EXPECT_TRUE(shell.form1()->isVisible());
    EXPECT_FALSE(shell.form3()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shell.form3()->isVisible(); }, velmor::test::windowWaitMs));
    EXPECT_FALSE(shell.form1()->isVisible());
    EXPECT_EQ(finished.count(), 0);
}

TEST(ProgramShell, StartupThatCannotGoOnEndsTheProgram)
{
    ShellEnv env;
    // The home is a file: no data directory can be made below it.
    QFile file(env.home);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ProgramShell shell(env.home, &env.registry, &env.ui);
    QSignalSpy finished(&shell, &ProgramShell::finished);
    shell.start();
    ASSERT_TRUE(finished.wait(5000) || finished.count() > 0);
    EXPECT_EQ(finished.at(0).at(0).toInt(), 1);
    EXPECT_FALSE(shell.form3()->isVisible());
    EXPECT_FALSE(shell.form1()->isVisible());
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Eroare"));
}

TEST(ProgramShell, ActivationRestoresAMinimisedMainWindow)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    ProgramShell shell(env.home, &env.registry, &env.ui);
    ASSERT_EQ(shell.runStartup().outcome, StartupSequence::Outcome::HandOver);
    shell.handOver();
    shell.form3()->showMinimized();
    if (!QTest::qWaitFor([&] { return shell.form3()->isMinimized(); }, 1000))
        GTEST_SKIP() << "this platform does not minimise windows";
    shell.activate();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shell.form3()->isMinimized(); }, velmor::test::windowWaitMs));
    EXPECT_TRUE(shell.form3()->isVisible());
}

TEST(ProgramShell, DeliveredModelsArePlacedInTheHomeWhenMissing)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    QFile edited(env.home + QStringLiteral("/Adv.rtf"));
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
    edited.write("{\\rtf1 modelul primariei}");
    edited.close();

    ProgramShell shell(env.home, &env.registry, &env.ui);
    const QStringList written = shell.installDeliveredModels();
    EXPECT_EQ(written, QStringList {env.home + QStringLiteral("/RAGR2.rtf")});
    EXPECT_GT(QFileInfo(env.home + QStringLiteral("/RAGR2.rtf")).size(), 0);
    // The council's own model stays as edited.
    ASSERT_TRUE(edited.open(QIODevice::ReadOnly));
    EXPECT_EQ(edited.readAll(), QByteArrayLiteral("{\\rtf1 modelul primariei}"));
}

TEST(ProgramShell, ConstantsVillagesAndBackupDirectoryAreLoadedAtStartup)
{
    ShellEnv env;
    QDir().mkpath(env.home + QStringLiteral("/Data"));
    QFile villages(env.home + QStringLiteral("/Data/Sate.lst"));
    ASSERT_TRUE(villages.open(QIODevice::WriteOnly));
    villages.write("Deal\r\nVale\r\n");
    villages.close();
    const QString backups = env.dir.path() + QStringLiteral("/salvari");
    QDir().mkpath(backups);
    env.registry.Scrie_Reg(QStringLiteral("CALESALVARI"), backups);

    ProgramShell shell(env.home, &env.registry, &env.ui);
    ASSERT_EQ(shell.runStartup().outcome, StartupSequence::Outcome::HandOver);
    EXPECT_EQ(shell.context().profile.villages(), (QStringList {QStringLiteral("Deal"), QStringLiteral("Vale")}));
    EXPECT_EQ(shell.context().profile.backupDirectory(), backups);
    EXPECT_FALSE(shell.context().unlocked());
    EXPECT_FALSE(shell.form3()->SavBut()->isEnabled());
}

TEST(ProgramShell, ClosingOffersTheAutomaticBackupAndWritesTheArchive)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    const QString backups = env.dir.path() + QStringLiteral("/salvari");
    QDir().mkpath(backups);
    env.registry.Scrie_Reg(QStringLiteral("CALESALVARI"), backups);
    ProgramShell shell(env.home, &env.registry, &env.ui);
    ASSERT_EQ(shell.runStartup().outcome, StartupSequence::Outcome::HandOver);
    shell.handOver();
    QSignalSpy finished(&shell, &ProgramShell::finished);

    env.ui.pushYes();
    shell.form3()->close();
    ASSERT_EQ(finished.count(), 1);
    const QString archive = backups + QLatin1Char('/') + QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))
                            + QStringLiteral("_0.kt");
    EXPECT_GT(QFileInfo(archive).size(), 0);
    EXPECT_TRUE(env.ui.hasMessage(QStringLiteral("Salvare Automata"), QStringLiteral("Doriti sa facem o copie la datele de azi?")));
    EXPECT_TRUE(env.ui.hasMessage(QStringLiteral("Informatie"), QStringLiteral("Salvare incheiata cu succes !")));
    EXPECT_FALSE(env.ui.hasMessage(QStringLiteral("Inchidere program"), QStringLiteral("Vreti sa inchideti programul?")));
}

TEST(ProgramShell, AdministrareAsksThePasswordInTheLoginPromptThenOpensTheAdministrationWindow)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    env.registry.Scrie_Reg(QStringLiteral("Erori"), CodeazaStr(QStringLiteral("parola")));
    ProgramShell shell(env.home, &env.registry, &env.ui);
    ASSERT_EQ(shell.runStartup().outcome, StartupSequence::Outcome::HandOver);
    shell.handOver();

    // The login prompt comes up modally; type the password and confirm.
    bool promptSeen = false;
    whenReady([&] { return velmor::test::isActiveModal(shell.form5()); },
              [&] {
                  promptSeen = true;
                  EXPECT_EQ(shell.form5()->windowTitle(), QStringLiteral("IDENTIFICARE ADMIN"));
                  EXPECT_EQ(shell.form5()->Label1()->text(), QStringLiteral("PAROLA :"));
                  shell.form5()->Edit1()->setText(QStringLiteral("parola"));
                  shell.form5()->okButton()->click();
              },
              [] { failAndCloseModal(); });
    shell.form3()->ToolButton2()->click();
    EXPECT_TRUE(promptSeen);
    EXPECT_TRUE(shell.context().unlocked());
    EXPECT_TRUE(shell.form3()->SavBut()->isEnabled());

    // The next press opens the administration window.
    bool adminSeen = false;
    whenReady([&] { return velmor::test::isActiveModal(shell.form4()); },
              [&] {
                  adminSeen = true;
                  shell.form4()->reject();
              },
              [] { failAndCloseModal(); });
    shell.form3()->ToolButton2()->click();
    EXPECT_TRUE(adminSeen);
    EXPECT_TRUE(shell.form3()->isVisible());
}

TEST(ProgramShell, SaveButtonOpensTheBackupWindow)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    ProgramShell shell(env.home, &env.registry, &env.ui);
    ASSERT_EQ(shell.runStartup().outcome, StartupSequence::Outcome::HandOver);
    shell.handOver();
    shell.context().setUnlocked(true);
    bool seen = false;
    whenReady([&] { return velmor::test::isActiveModal(shell.form21()); },
              [&] {
                  seen = true;
                  shell.form21()->reject();
              },
              [] { failAndCloseModal(); });
    shell.form3()->SavBut()->click();
    EXPECT_TRUE(seen);
}

TEST(ProgramShell, TotaluriOpensTheTotalsWindow)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    ProgramShell shell(env.home, &env.registry, &env.ui);
    ASSERT_EQ(shell.runStartup().outcome, StartupSequence::Outcome::HandOver);
    shell.handOver();
    bool seen = false;
    whenReady([&] { return velmor::test::isActiveModal(shell.form7()); },
              [&] {
                  seen = true;
                  EXPECT_EQ(shell.form7()->Pages()->currentIndex(), 0);
                  QTest::keyClick(shell.form7(), Qt::Key_Escape);
              },
              [] { failAndCloseModal(); });
    shell.form3()->ToolButton7()->click();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(shell.form7()->isVisible());
}

TEST(ProgramShell, EditorsSearchByNameOpensTheSearchWindow)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    ProgramShell shell(env.home, &env.registry, &env.ui);
    ASSERT_EQ(shell.runStartup().outcome, StartupSequence::Outcome::HandOver);
    shell.form6()->Pregateste();
    QString village;
    whenReady([&] { return velmor::test::isActiveModal(shell.form33()); },
              [&] {
                  village = shell.form33()->LabelSat()->text();
                  shell.form33()->reject();
              },
              [] { failAndCloseModal(); });
    shell.form6()->CautareClick();
    EXPECT_EQ(village, QStringLiteral("TOATE"));
    EXPECT_TRUE(env.ui.messagesContaining(QStringLiteral("nu este disponibila")).empty());
    shell.form6()->Inchide();
}

TEST(ProgramShell, RegisterReportItemsRunTheirReports)
{
    ShellEnv env;
    QDir().mkpath(env.home);
    ProgramShell shell(env.home, &env.registry, &env.ui);
    ASSERT_EQ(shell.runStartup().outcome, StartupSequence::Outcome::HandOver);
    env.ui.clear();
    const auto trigger = [&](const QString& caption) {
        for (QAction* action : shell.form3()->PopupMenu1()->actions()) {
            if (action->text() == caption)
                action->trigger();
        }
    };
    // A fresh register has no household: the statistics file says so instead of "not available".
    trigger(QStringLiteral("Raport Directia Statistica"));
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Raport statistic"));
    EXPECT_EQ(env.ui.lastMessage().text,
              QStringLiteral(" Nu aveti nici o inregistrare in anul ") + shell.context().workingYear() + QStringLiteral("!"));
    // The farm situation looks for the data directory's template.
    trigger(QStringLiteral("Situatie ferme"));
    ASSERT_EQ(env.ui.messages().size(), 2u);
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Situatie ferme"));
    EXPECT_TRUE(env.ui.lastMessage().text.startsWith(QStringLiteral("Lipseste fisierul model "))) << env.ui.lastMessage().text.toStdString();
    EXPECT_TRUE(env.ui.lastMessage().text.endsWith(QStringLiteral("ModelDir.rtf!")));
}
