#include "AdminTestWorld.h"
#include "ArchiveTestUtil.h"

#include "admin/DataBackup.h"
#include "admin/KtArchive.h"
#include "admin/OperationGuard.h"
#include "data/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::AdminWorld;
using Outcome = DataBackup::Outcome;

namespace {

const QChar CR(13);

QString archive(const char* name)
{
    return test::fixturePath(QStringLiteral("archives/") + QString::fromLatin1(name));
}

// What is beside the data directory, other than the data directory itself.
QStringList besideData(const AdminWorld& w)
{
    QStringList names = QDir(w.home.home()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.removeAll(QStringLiteral("Data"));
    return names;
}

// A data directory unlike the reference register, with a stray file, an empty file and a folder.
void fillOtherData(AdminWorld& w)
{
    w.home.copyFixture(QStringLiteral("register-dbase3"));
    test::writeFile(w.data(QStringLiteral("stray.txt")), "left over");
    test::writeFile(w.data(QStringLiteral("empty.lst")), QByteArray());
    QDir().mkpath(w.data(QStringLiteral("Poze")));
    test::writeFile(w.data(QStringLiteral("Poze/p.jpg")), "picture");
}

// The non-empty files of the reference register, as the archive holds them.
QMap<QString, QByteArray> referenceFiles()
{
    QMap<QString, QByteArray> files = test::filesOf(test::fixturePath(QStringLiteral("register-dbase4")));
    for (auto it = files.begin(); it != files.end();) {
        if (it.value().isEmpty())
            it = files.erase(it);
        else
            ++it;
    }
    return files;
}

}

TEST(DataBackupRestore, GoodArchiveReplacesEveryFileOfTheDataDirectory)
{
    AdminWorld w;
    fillOtherData(w);
    w.ui.pushOpenFile(archive("register.kt")).pushYes();

    const DataBackup::Result result = DataBackup(w.ctx).loadDatabase();
    EXPECT_EQ(result.outcome, Outcome::Done);
    EXPECT_TRUE(result.terminateProgram);
    EXPECT_EQ(test::filesOf(w.home.data()), referenceFiles());
    // Sub-folders are not files of the data directory: they stay.
    EXPECT_EQ(test::existingFileBytes(w.data(QStringLiteral("Poze/p.jpg"))), QByteArray("picture"));
    // Nothing is left beside the data directory.
    EXPECT_TRUE(besideData(w).isEmpty()) << besideData(w).join(QLatin1Char(' ')).toStdString();

    ASSERT_EQ(w.ui.messages().size(), 2u);
    const auto& question = w.ui.messages()[0];
    EXPECT_EQ(question.title, QStringLiteral("Incarcare baza de date"));
    EXPECT_EQ(question.text, QStringLiteral("Prin Incarcare, se vor sterge DEFINITIV datele existente") + CR
                                 + QStringLiteral("si vor fi inlocuite cu cele din salvare !!!") + CR
                                 + QStringLiteral("Continuati Restaurarea ?"));
    EXPECT_EQ(question.kind, KindWarning);
    EXPECT_EQ(question.buttons, ButtonsDaNu);
    EXPECT_EQ(w.ui.lastMessage().title, QStringLiteral("Incarcare date"));
    EXPECT_EQ(w.ui.lastMessage().text, QStringLiteral("Incarcare incheiata cu succes !") + CR + QStringLiteral("Porniti programul din nou!"));
    EXPECT_EQ(w.ui.progressShowCount(), 1);
    EXPECT_FALSE(w.ui.progressVisible());
    EXPECT_TRUE(w.ui.progressLabels().contains(QStringLiteral("Incarc baza de date...")));
}

TEST(DataBackupRestore, RestoredRegisterIsReadByTheEngine)
{
    AdminWorld w;
    fillOtherData(w);
    DataBackup(w.ctx).restoreFrom(archive("register.kt"));
    const auto rows = w.engine->select(QStringLiteral("SELECT COUNT(*) AS N FROM \"") + w.data(QStringLiteral("Identificare.dbf"))
                                       + QStringLiteral("\""));
    ASSERT_EQ(rows.rows.size(), 1u);
}

namespace {

void expectDamagedArchiveLeavesDataAlone(const char* name)
{
    SCOPED_TRACE(name);
    AdminWorld w;
    fillOtherData(w);
    const QMap<QString, QByteArray> before = test::filesOf(w.home.data());
    const QStringList entriesBefore = test::entriesBelow(w.home.data());
    w.ui.pushOpenFile(archive(name)).pushYes();

    const DataBackup::Result result = DataBackup(w.ctx).loadDatabase();
    EXPECT_EQ(result.outcome, Outcome::Failed);
    EXPECT_FALSE(result.terminateProgram);
    EXPECT_EQ(test::filesOf(w.home.data()), before);
    EXPECT_EQ(test::entriesBelow(w.home.data()), entriesBefore);
    EXPECT_TRUE(besideData(w).isEmpty()) << besideData(w).join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(w.ui.lastMessage().title, QStringLiteral("Incarcare date"));
    EXPECT_EQ(w.ui.lastMessage().kind, KindError);
    EXPECT_TRUE(w.ui.lastMessage().text.endsWith(CR + QStringLiteral("Datele existente au ramas neschimbate.")));
    EXPECT_FALSE(w.ui.progressVisible());
    // Nothing escaped the staging folder either.
    EXPECT_FALSE(QFileInfo::exists(QDir::tempPath() + QStringLiteral("/absolute.txt")));
    EXPECT_FALSE(QFileInfo::exists(w.home.home() + QStringLiteral("/../escaped.txt")));
}

}

TEST(DataBackupRestore, TruncatedArchiveLeavesTheDataDirectoryByteIdentical)
{
    expectDamagedArchiveLeavesDataAlone("truncated.kt");
}

TEST(DataBackupRestore, LyingArchiveLeavesTheDataDirectoryByteIdentical)
{
    expectDamagedArchiveLeavesDataAlone("liar.kt");
}

TEST(DataBackupRestore, TraversalArchiveLeavesTheDataDirectoryByteIdentical)
{
    expectDamagedArchiveLeavesDataAlone("traversal.kt");
}

TEST(DataBackupRestore, ArchiveWithoutMembersLeavesTheDataDirectoryByteIdentical)
{
    expectDamagedArchiveLeavesDataAlone("empty.kt");
}

TEST(DataBackupRestore, ArchiveWithoutTheTablesIsRefused)
{
    AdminWorld w;
    fillOtherData(w);
    QTemporaryDir dir;
    const QString partial = dir.filePath(QStringLiteral("partial.kt"));
    test::writeFile(dir.filePath(QStringLiteral("Sate.lst")), "SAT\r\n");
    test::writeFile(dir.filePath(QStringLiteral("CAP1.dbf")), "not really a table");
    KtArchive::write(partial, { dir.filePath(QStringLiteral("CAP1.dbf")), dir.filePath(QStringLiteral("Sate.lst")) });
    const QMap<QString, QByteArray> before = test::filesOf(w.home.data());

    try {
        DataBackup(w.ctx).restoreFrom(partial);
        ADD_FAILURE() << "an archive without the tables was restored";
    } catch (const ArchiveError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Identificare.dbf"))) << e.message().toStdString();
        EXPECT_FALSE(e.message().contains(QStringLiteral("CAP1.dbf,"))) << e.message().toStdString();
    }
    EXPECT_EQ(test::filesOf(w.home.data()), before);
    EXPECT_TRUE(besideData(w).isEmpty());
}

// An archive of an older version has no plot tables: it restores, and the next start's table
// creation adds them without touching what was restored.
TEST(DataBackupRestore, ArchiveWithoutThePlotTablesRestoresAndTheStartCreatesThem)
{
    AdminWorld w;
    fillOtherData(w);
    QStringList files;
    const QString reference = test::fixturePath(QStringLiteral("register-dbase4"));
    const QStringList plotTables {QStringLiteral("Tarlale.dbf"), QStringLiteral("OmTarla.dbf"), QStringLiteral("PozeTarla.dbf")};
    for (const QFileInfo& file : QDir(reference).entryInfoList(QDir::Files, QDir::Name)) {
        if (file.size() > 0 && !plotTables.contains(file.fileName(), Qt::CaseInsensitive))
            files << file.absoluteFilePath();
    }
    QTemporaryDir dir;
    const QString older = dir.filePath(QStringLiteral("older.kt"));
    KtArchive::write(older, files);

    DataBackup(w.ctx).restoreFrom(older);
    for (const QString& table : plotTables)
        EXPECT_FALSE(QFileInfo::exists(w.data(table))) << table.toStdString();
    const QMap<QString, QByteArray> restored = test::filesOf(w.home.data());
    EXPECT_EQ(restored.value(QStringLiteral("Identificare.dbf")),
              test::existingFileBytes(reference + QStringLiteral("/Identificare.dbf")));

    data::Schema(*w.engine, w.home.data(), w.ui).CreazaBaza();
    EXPECT_TRUE(data::Schema::ExistaBaza(w.home.data()));
    for (auto it = restored.begin(); it != restored.end(); ++it)
        EXPECT_EQ(test::existingFileBytes(w.data(it.key())), it.value()) << it.key().toStdString();
    EXPECT_EQ(w.engine->select(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(w.data(QStringLiteral("Tarlale.dbf")))).rows[0][0],
              dbf::Value(std::int64_t(0)));
}

TEST(DataBackupRestore, ArchiveInsideTheDataDirectoryIsRefusedBeforeAnythingIsDeleted)
{
    AdminWorld w;
    fillOtherData(w);
    QFile::copy(archive("register.kt"), w.data(QStringLiteral("copie.kt")));
    const QMap<QString, QByteArray> before = test::filesOf(w.home.data());
    w.ui.pushOpenFile(w.data(QStringLiteral("copie.kt")));
    EXPECT_EQ(DataBackup(w.ctx).loadDatabase().outcome, Outcome::Refused);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Incarcare date"),
                                QStringLiteral("Salvarea indicata nu are voie sa fie in directorul cu baza de date!") + CR
                                    + QStringLiteral("Mutati-o in alt loc cu CUT si PASTE si reincercati!")));
    EXPECT_EQ(test::filesOf(w.home.data()), before);
}

TEST(DataBackupRestore, MissingArchiveIsRefused)
{
    AdminWorld w;
    const QString missing = w.inHome(QStringLiteral("nu-exista.kt"));
    w.ui.pushOpenFile(missing);
    EXPECT_EQ(DataBackup(w.ctx).loadDatabase().outcome, Outcome::Refused);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Incarcare date"),
                                QStringLiteral("Fisierul ") + QDir::toNativeSeparators(missing) + QStringLiteral(" nu exista !")));
}

TEST(DataBackupRestore, NuOrCancelChangesNothing)
{
    AdminWorld w;
    fillOtherData(w);
    const QMap<QString, QByteArray> before = test::filesOf(w.home.data());
    EXPECT_EQ(DataBackup(w.ctx).loadDatabase().outcome, Outcome::Cancelled);
    w.ui.pushOpenFile(archive("register.kt")).pushNo();
    const DataBackup::Result result = DataBackup(w.ctx).loadDatabase();
    EXPECT_EQ(result.outcome, Outcome::Cancelled);
    EXPECT_FALSE(result.terminateProgram);
    EXPECT_EQ(test::filesOf(w.home.data()), before);
}

TEST(DataBackupSave, SavesTheDataDirectoryInUse)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("copie"));
    w.ui.pushSaveFile(target);
    const DataBackup::Result result = DataBackup(w.ctx).saveDatabase();
    EXPECT_EQ(result.outcome, Outcome::Done);
    EXPECT_FALSE(result.terminateProgram);
    EXPECT_EQ(w.ui.choices().at(0).title, QStringLiteral("Unde salvam arhiva ?"));
    const auto members = KtArchive::verify(target + QStringLiteral(".kt"));
    EXPECT_EQ(int(members.size()), referenceFiles().size());
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Salvare date"), QStringLiteral("Salvare incheiata cu succes !")));

    // Saved and restored elsewhere: the same files.
    AdminWorld other;
    DataBackup(other.ctx).restoreFrom(target + QStringLiteral(".kt"));
    EXPECT_EQ(test::filesOf(other.home.data()), referenceFiles());
}

TEST(DataBackupSave, AutomaticBackupWritesAndInforms)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("08.12.2009_0.kt"));
    EXPECT_TRUE(DataBackup(w.ctx).SalvareAutomata(target));
    EXPECT_EQ(int(KtArchive::verify(target).size()), referenceFiles().size());
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Informatie"), QStringLiteral("Salvare incheiata cu succes !")));
    EXPECT_TRUE(w.ui.progressLabels().contains(QStringLiteral("Salvez datele actuale...")));
    EXPECT_FALSE(w.ui.progressVisible());
}

// The undo of an operation from its archive puts back only what changed: a file that could not be
// changed (unchangeable, held by another program) is not touched, so the undo goes through; files
// that were empty are emptied again, those that were missing removed; the directory's lock and
// marker are neither archived nor moved.
TEST(DataBackupRestore, UndoFromAnArchiveTouchesOnlyTheChangedFiles)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    test::writeFile(w.data(QStringLiteral("gol.lst")), QByteArray());
    test::writeFile(w.data(QStringLiteral("Velmor.lck")), "123\nvelmor\nalt\n");
    OperationGuard guard(w.home.data(), QString::fromLatin1(OperationMarker::Takeover), w.engine.get());
    guard.preflight({QStringLiteral("Nou.dbf")});
    EXPECT_EQ(guard.marker().empty, QStringList {QStringLiteral("gol.lst")});
    EXPECT_EQ(guard.marker().missing, QStringList {QStringLiteral("Nou.dbf")});
    const QString saved = w.home.home() + QStringLiteral("/saved.kt");
    guard.saveArchive(saved, &w.ui, true);
    guard.begin();
    QStringList members;
    for (const KtArchive::Member& m : KtArchive::verify(saved))
        members << m.name;
    EXPECT_FALSE(members.isEmpty());
    EXPECT_FALSE(members.contains(QStringLiteral("Data\\Velmor.lck")));
    EXPECT_FALSE(members.contains(QStringLiteral("Data\\Velmor.op")));
    const QMap<QString, QByteArray> before = test::filesOf(w.home.data());

    test::writeFile(w.data(QStringLiteral("CAP2.dbf")), "changed");
    test::writeFile(w.data(QStringLiteral("gol.lst")), "not empty any more");
    test::writeFile(w.data(QStringLiteral("Nou.dbf")), "new");
    const QString locked = w.data(QStringLiteral("CAP9.dbf"));
    QProcess chattr;
    chattr.start(QStringLiteral("chattr"), {QStringLiteral("+i"), locked});
    const bool immutable = chattr.waitForFinished(10000) && chattr.exitCode() == 0;

    OperationGuard::undoFromArchive(w.home.data(), guard.marker(), w.ui, w.engine.get());
    if (immutable) {
        chattr.start(QStringLiteral("chattr"), {QStringLiteral("-i"), locked});
        chattr.waitForFinished(10000);
    }
    EXPECT_EQ(test::filesOf(w.home.data()), before);
    EXPECT_TRUE(QFileInfo::exists(OperationMarker::pathIn(w.home.data())));
    guard.finish();
    EXPECT_FALSE(QFileInfo::exists(OperationMarker::pathIn(w.home.data())));
    EXPECT_TRUE(QFileInfo::exists(saved)); // a kept safety archive stays
}
