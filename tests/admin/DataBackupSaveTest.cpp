#include "admin/DataBackup.h"
#include "admin/KtArchive.h"

#include "ArchiveTestUtil.h"
#include "core/Paths.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;
using Outcome = DataBackup::Outcome;

namespace {

QString archive(const QString& name)
{
    return fixturePath(QStringLiteral("archives/") + name);
}

// A program home with the reference register and a separate folder for archives.
struct SavedRegister {
    TempHome home;
    QString saves;
    ScriptedInteraction ui;
    DataBackup logic { home.data(), ui };

    SavedRegister()
    {
        home.copyFixture(QStringLiteral("register-dbase4"));
        saves = home.home() + QStringLiteral("/Salvari");
        QDir().mkpath(saves);
    }
};

}

// ---- save ----

TEST(BackupSave, CancelledDialogDoesNothing)
{
    SavedRegister s;
    const auto result = s.logic.saveDatabase();
    EXPECT_EQ(result.outcome, Outcome::Cancelled);
    EXPECT_TRUE(s.ui.messages().empty());
    ASSERT_EQ(s.ui.choices().size(), 1u);
    EXPECT_EQ(s.ui.choices()[0].kind, ScriptedInteraction::ChoiceKind::SaveFile);
    EXPECT_EQ(s.ui.choices()[0].title, QStringLiteral("Unde salvam arhiva ?"));
    EXPECT_TRUE(s.ui.choices()[0].filter.contains(QStringLiteral("*.kt")));
}

TEST(BackupSave, WritesArchiveWithProgressAndInforms)
{
    SavedRegister s;
    const QString file = s.saves + QStringLiteral("/copie.kt");
    s.ui.pushSaveFile(file);
    const auto result = s.logic.saveDatabase();
    EXPECT_EQ(result.outcome, Outcome::Done);
    EXPECT_FALSE(result.terminateProgram);
    EXPECT_EQ(KtArchive::verify(file).size(), 32u);

    EXPECT_EQ(s.ui.progressLabels(), QStringList { QStringLiteral("Salvez starea actuala...") });
    EXPECT_EQ(s.ui.progressShowCount(), 1);
    EXPECT_EQ(s.ui.progressHideCount(), 1);
    EXPECT_FALSE(s.ui.progressVisible());
    EXPECT_EQ(s.ui.progressMaxima(), std::vector<int> { 32 });
    ASSERT_EQ(s.ui.messages().size(), 1u);
    EXPECT_EQ(s.ui.lastMessage().title, QStringLiteral("Salvare date"));
    EXPECT_EQ(s.ui.lastMessage().text, QStringLiteral("Salvare incheiata cu succes !"));
    EXPECT_EQ(s.ui.lastMessage().kind, KindInformation);
    EXPECT_EQ(s.ui.lastMessage().buttons, ButtonsOk);
}

TEST(BackupSave, AddsExtensionWhenNoneTyped)
{
    SavedRegister s;
    s.ui.pushSaveFile(s.saves + QStringLiteral("/copie"));
    EXPECT_EQ(s.logic.saveDatabase().outcome, Outcome::Done);
    EXPECT_TRUE(QFile::exists(s.saves + QStringLiteral("/copie.kt")));
    EXPECT_FALSE(QFile::exists(s.saves + QStringLiteral("/copie")));
}

TEST(BackupSave, DataDirectoryIsRefusedWhateverItsSpelling)
{
    SavedRegister s;
    for (const QString& file : { s.home.dataFile(QStringLiteral("copie.kt")),
                                 s.home.home() + QStringLiteral("/Data/../Data/copie.kt") }) {
        s.ui.clear();
        s.ui.pushSaveFile(file);
        EXPECT_EQ(s.logic.saveDatabase().outcome, Outcome::Refused);
        ASSERT_EQ(s.ui.messages().size(), 1u);
        EXPECT_EQ(s.ui.lastMessage().title, QStringLiteral("Salvare date"));
        EXPECT_EQ(s.ui.lastMessage().text,
                  QStringLiteral("Nu puteti salva in directorul cu baza de date!") + CR + QStringLiteral("Alegeti alt loc!"));
        EXPECT_EQ(s.ui.lastMessage().kind, KindError);
        EXPECT_EQ(s.ui.progressShowCount(), 0);
    }
    EXPECT_FALSE(QFile::exists(s.home.dataFile(QStringLiteral("copie.kt"))));
}

TEST(BackupSave, ExistingArchiveIsReplacedOnlyAfterDa)
{
    SavedRegister s;
    const QString file = s.saves + QStringLiteral("/copie.kt");
    writeFile(file, "older");

    s.ui.pushSaveFile(file).pushNo();
    EXPECT_EQ(s.logic.saveDatabase().outcome, Outcome::Cancelled);
    EXPECT_EQ(velmor::test::existingFileBytes(file), QByteArray("older"));
    ASSERT_EQ(s.ui.messages().size(), 1u);
    EXPECT_EQ(s.ui.lastMessage().title, QStringLiteral("Salvare"));
    EXPECT_EQ(s.ui.lastMessage().text, QStringLiteral("Vreti sa inlocuiti salvarea ") + nativePath(file) + QStringLiteral("?"));
    EXPECT_EQ(s.ui.lastMessage().kind, KindWarning);
    EXPECT_EQ(s.ui.lastMessage().buttons, ButtonsDaNu);

    s.ui.clear();
    s.ui.pushSaveFile(file).pushYes();
    EXPECT_EQ(s.logic.saveDatabase().outcome, Outcome::Done);
    EXPECT_EQ(KtArchive::verify(file).size(), 32u);
}

TEST(BackupSave, WriteFailureIsShownInsteadOfSuccess)
{
    SavedRegister s;
    s.ui.pushSaveFile(s.home.home() + QStringLiteral("/lipsa/copie.kt"));
    const auto result = s.logic.saveDatabase();
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_FALSE(s.ui.progressVisible());
    EXPECT_EQ(s.ui.progressHideCount(), 1);
    ASSERT_EQ(s.ui.messages().size(), 1u);
    EXPECT_EQ(s.ui.lastMessage().kind, KindError);
    EXPECT_EQ(s.ui.lastMessage().text, result.error);
    EXPECT_TRUE(s.ui.messagesContaining(QStringLiteral("succes")).empty());
}

TEST(BackupSave, EmptyDataDirectoryCreatesNoArchiveButInforms)
{
    TempHome home;
    ScriptedInteraction ui;
    DataBackup logic(home.data(), ui);
    const QString file = home.home() + QStringLiteral("/gol.kt");
    ui.pushSaveFile(file);
    EXPECT_EQ(logic.saveDatabase().outcome, Outcome::Done);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("Salvare incheiata cu succes !"));
}

TEST(BackupSave, ZeroByteFileIsNotSaved)
{
    SavedRegister s;
    writeFile(s.home.dataFile(QStringLiteral("gol.txt")), "");
    const QString file = s.saves + QStringLiteral("/copie.kt");
    s.ui.pushSaveFile(file);
    s.logic.saveDatabase();
    for (const auto& member : KtArchive::verify(file))
        EXPECT_NE(member.name, QStringLiteral("Data\\gol.txt"));
    EXPECT_EQ(KtArchive::verify(file).size(), 32u);
}

// ---- automatic backup and extraction for the merge ----

TEST(AutomaticBackup, WritesArchiveAndInforms)
{
    SavedRegister s;
    const QString file = s.saves + QStringLiteral("/auto.kt");
    EXPECT_TRUE(s.logic.SalvareAutomata(file));
    EXPECT_EQ(KtArchive::verify(file).size(), 32u);
    EXPECT_EQ(s.ui.progressLabels(), QStringList { QStringLiteral("Salvez datele actuale...") });
    EXPECT_FALSE(s.ui.progressVisible());
    EXPECT_EQ(s.ui.lastMessage().title, QStringLiteral("Informatie"));
    EXPECT_EQ(s.ui.lastMessage().text, QStringLiteral("Salvare incheiata cu succes !"));
}

TEST(AutomaticBackup, FailureIsShown)
{
    SavedRegister s;
    EXPECT_FALSE(s.logic.SalvareAutomata(s.home.home() + QStringLiteral("/lipsa/auto.kt")));
    EXPECT_FALSE(s.ui.progressVisible());
    EXPECT_EQ(s.ui.lastMessage().kind, KindError);
}

TEST(Dezarhiveaza, ExtractsBelowTargetWithProgress)
{
    TempHome home;
    ScriptedInteraction ui;
    DataBackup logic(home.data(), ui);
    const QString target = home.home() + QStringLiteral("/Merge");
    const QStringList written = logic.Dezarhiveaza(archive(QStringLiteral("register.kt")), target);
    EXPECT_EQ(written.size(), 32);
    EXPECT_EQ(filesOf(target + QStringLiteral("/Data")), filesOf(fixturePath(QStringLiteral("register-dbase4"))));
    EXPECT_EQ(ui.progressLabels(), QStringList { QStringLiteral("Dezarhivare...") });
    EXPECT_EQ(ui.progressPositions().front(), 0);
    EXPECT_EQ(ui.progressPositions().back(), 32);
    EXPECT_EQ(ui.progressShowCount(), 1);
    EXPECT_FALSE(ui.progressVisible());
}

TEST(Dezarhiveaza, BadArchiveRaisesAndHidesProgress)
{
    TempHome home;
    ScriptedInteraction ui;
    DataBackup logic(home.data(), ui);
    const QString target = home.home() + QStringLiteral("/Merge");
    EXPECT_THROW(logic.Dezarhiveaza(archive(QStringLiteral("truncated.kt")), target), ArchiveError);
    EXPECT_FALSE(ui.progressVisible());
    EXPECT_TRUE(entriesBelow(target).isEmpty());
}
