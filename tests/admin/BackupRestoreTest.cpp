#include "admin/BackupRestore.h"
#include "admin/KtArchive.h"

#include "ArchiveTestUtil.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;
using Outcome = BackupRestore::Outcome;

namespace {

const QString CR(QChar(13));

QString archive(const QString& name)
{
    return fixturePath(QStringLiteral("archives/") + name);
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A program home with the reference register and a separate folder for archives.
struct SavedRegister {
    TempHome home;
    QString saves;
    ScriptedInteraction ui;
    BackupRestore logic { ui, home.data() };

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
    const auto result = s.logic.BitBtn1Click();
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
    const auto result = s.logic.BitBtn1Click();
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
    EXPECT_EQ(s.logic.BitBtn1Click().outcome, Outcome::Done);
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
        EXPECT_EQ(s.logic.BitBtn1Click().outcome, Outcome::Refused);
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
    EXPECT_EQ(s.logic.BitBtn1Click().outcome, Outcome::Cancelled);
    EXPECT_EQ(readFile(file), QByteArray("older"));
    ASSERT_EQ(s.ui.messages().size(), 1u);
    EXPECT_EQ(s.ui.lastMessage().title, QStringLiteral("Salvare"));
    EXPECT_EQ(s.ui.lastMessage().text, QStringLiteral("Vreti sa inlocuiti salvarea ") + native(file) + QStringLiteral("?"));
    EXPECT_EQ(s.ui.lastMessage().kind, KindWarning);
    EXPECT_EQ(s.ui.lastMessage().buttons, ButtonsDaNu);

    s.ui.clear();
    s.ui.pushSaveFile(file).pushYes();
    EXPECT_EQ(s.logic.BitBtn1Click().outcome, Outcome::Done);
    EXPECT_EQ(KtArchive::verify(file).size(), 32u);
}

TEST(BackupSave, WriteFailureIsShownInsteadOfSuccess)
{
    SavedRegister s;
    s.ui.pushSaveFile(s.home.home() + QStringLiteral("/lipsa/copie.kt"));
    const auto result = s.logic.BitBtn1Click();
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
    BackupRestore logic(ui, home.data());
    const QString file = home.home() + QStringLiteral("/gol.kt");
    ui.pushSaveFile(file);
    EXPECT_EQ(logic.BitBtn1Click().outcome, Outcome::Done);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("Salvare incheiata cu succes !"));
}

TEST(BackupSave, ZeroByteFileIsNotSaved)
{
    SavedRegister s;
    writeFile(s.home.dataFile(QStringLiteral("gol.txt")), "");
    const QString file = s.saves + QStringLiteral("/copie.kt");
    s.ui.pushSaveFile(file);
    s.logic.BitBtn1Click();
    for (const auto& member : KtArchive::verify(file))
        EXPECT_NE(member.name, QStringLiteral("Data\\gol.txt"));
    EXPECT_EQ(KtArchive::verify(file).size(), 32u);
}

// ---- restore ----

TEST(BackupRestoreFlow, BackupThenRestoreGivesIdenticalFiles)
{
    SavedRegister s;
    const auto original = filesOf(s.home.data());
    const QString file = s.saves + QStringLiteral("/copie.kt");
    ASSERT_EQ(s.logic.saveTo(file), 32);

    // The register changes after the backup: a file is edited, one added, one emptied.
    writeFile(s.home.dataFile(QStringLiteral("Sate.lst")), "ALT SAT\r\n");
    writeFile(s.home.dataFile(QStringLiteral("nou.dbf")), "new");
    writeFile(s.home.dataFile(QStringLiteral("CAP3.mdx")), "");

    s.ui.clear();
    s.ui.pushOpenFile(file).pushYes();
    const auto result = s.logic.BitBtn2Click();
    EXPECT_EQ(result.outcome, Outcome::Done);
    EXPECT_TRUE(result.terminateProgram);
    EXPECT_EQ(filesOf(s.home.data()), original);
    EXPECT_EQ(entriesBelow(s.home.data()).size(), original.size());

    ASSERT_EQ(s.ui.messages().size(), 2u);
    const auto& question = s.ui.messages()[0];
    EXPECT_EQ(question.title, QStringLiteral("Incarcare baza de date"));
    EXPECT_EQ(question.text, QStringLiteral("Prin Incarcare, se vor sterge DEFINITIV datele existente") + CR
                                 + QStringLiteral("si vor fi inlocuite cu cele din salvare !!!") + CR
                                 + QStringLiteral("Continuati Restaurarea ?"));
    EXPECT_EQ(question.kind, KindWarning);
    EXPECT_EQ(question.buttons, ButtonsDaNu);
    EXPECT_EQ(s.ui.lastMessage().title, QStringLiteral("Incarcare date"));
    EXPECT_EQ(s.ui.lastMessage().text,
              QStringLiteral("Incarcare incheiata cu succes !") + CR + QStringLiteral("Porniti programul din nou!"));
    EXPECT_EQ(s.ui.lastMessage().kind, KindInformation);
    EXPECT_EQ(s.ui.progressLabels(), QStringList { QStringLiteral("Incarc baza de date...") });
    EXPECT_FALSE(s.ui.progressVisible());
    EXPECT_EQ(s.ui.progressPositions().back(), 32);
}

TEST(BackupRestoreFlow, ReferenceArchiveReplacesTheDataDirectory)
{
    TempHome home;
    writeFile(home.dataFile(QStringLiteral("vechi.dbf")), "old");
    ScriptedInteraction ui;
    BackupRestore logic(ui, home.data());
    ui.pushOpenFile(archive(QStringLiteral("register.kt"))).pushYes();
    EXPECT_EQ(logic.BitBtn2Click().outcome, Outcome::Done);
    EXPECT_EQ(filesOf(home.data()), filesOf(fixturePath(QStringLiteral("register-dbase4"))));
}

TEST(BackupRestoreFlow, AnswerOtherThanDaChangesNothing)
{
    SavedRegister s;
    const auto before = filesOf(s.home.data());
    for (int answer : { int(ResultNu), int(ResultCancel) }) {
        s.ui.clear();
        s.ui.pushOpenFile(archive(QStringLiteral("register.kt"))).pushMessageResult(answer);
        const auto result = s.logic.BitBtn2Click();
        EXPECT_EQ(result.outcome, Outcome::Cancelled);
        EXPECT_FALSE(result.terminateProgram);
        EXPECT_EQ(s.ui.progressShowCount(), 0);
    }
    EXPECT_EQ(filesOf(s.home.data()), before);
}

TEST(BackupRestoreFlow, MissingArchiveIsRefused)
{
    SavedRegister s;
    const QString file = s.saves + QStringLiteral("/lipsa.kt");
    s.ui.pushOpenFile(file);
    EXPECT_EQ(s.logic.BitBtn2Click().outcome, Outcome::Refused);
    EXPECT_EQ(s.ui.lastMessage().title, QStringLiteral("Incarcare date"));
    EXPECT_EQ(s.ui.lastMessage().text, QStringLiteral("Fisierul ") + native(file) + QStringLiteral(" nu exista !"));
    EXPECT_EQ(s.ui.lastMessage().kind, KindError);
}

TEST(BackupRestoreFlow, ArchiveInsideDataDirectoryIsRefusedBeforeAnythingIsDeleted)
{
    SavedRegister s;
    const QString file = s.home.dataFile(QStringLiteral("copie.kt"));
    ASSERT_TRUE(QFile::copy(archive(QStringLiteral("register.kt")), file));
    const auto before = filesOf(s.home.data());
    s.ui.pushOpenFile(file).pushOk();
    EXPECT_EQ(s.logic.BitBtn2Click().outcome, Outcome::Refused);
    EXPECT_TRUE(s.ui.scriptUsedUp()); // no confirmation was asked
    ASSERT_EQ(s.ui.messages().size(), 1u);
    EXPECT_EQ(s.ui.lastMessage().text,
              QStringLiteral("Salvarea indicata nu are voie sa fie in directorul cu baza de date!") + CR
                  + QStringLiteral("Mutati-o in alt loc cu CUT si PASTE si reincercati!"));
    EXPECT_EQ(filesOf(s.home.data()), before);
    // The building block refuses it too.
    EXPECT_THROW(s.logic.restoreFrom(file), ArchiveError);
    EXPECT_EQ(filesOf(s.home.data()), before);
}

TEST(BackupRestoreFlow, BadArchivesLeaveTheDataDirectoryAsItWas)
{
    SavedRegister s;
    const auto before = filesOf(s.home.data());
    for (const char* name : { "truncated.kt", "traversal.kt", "liar.kt", "empty.kt" }) {
        s.ui.clear();
        s.ui.pushOpenFile(archive(QString::fromLatin1(name))).pushYes();
        const auto result = s.logic.BitBtn2Click();
        EXPECT_EQ(result.outcome, Outcome::Failed) << name;
        EXPECT_FALSE(result.terminateProgram) << name;
        EXPECT_FALSE(s.ui.progressVisible()) << name;
        EXPECT_EQ(s.ui.lastMessage().kind, KindError) << name;
        EXPECT_EQ(s.ui.lastMessage().title, QStringLiteral("Incarcare date")) << name;
        EXPECT_TRUE(s.ui.lastMessage().text.contains(QStringLiteral("Datele existente au ramas neschimbate."))) << name;
        EXPECT_TRUE(s.ui.messagesContaining(QStringLiteral("succes")).empty()) << name;
        EXPECT_EQ(filesOf(s.home.data()), before) << name;
        EXPECT_EQ(entriesBelow(s.home.data()).size(), before.size()) << name;
    }
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
    BackupRestore logic(ui, home.data());
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
    BackupRestore logic(ui, home.data());
    const QString target = home.home() + QStringLiteral("/Merge");
    EXPECT_THROW(logic.Dezarhiveaza(archive(QStringLiteral("truncated.kt")), target), ArchiveError);
    EXPECT_FALSE(ui.progressVisible());
    EXPECT_TRUE(entriesBelow(target).isEmpty());
}
