// The one way to replace a file: permissions kept, the system's errors in Romanian, streaming.

#include "core/Paths.h"
#include "support/FileBytes.h"
#include "core/StagedFile.h"
#include "core/SystemErrors.h"
#include "data/dbf/DbfTable.h"
#include "services/Settings.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cerrno>
#include <functional>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

using namespace velmor;

namespace {

#ifndef Q_OS_WIN
mode_t modeOf(const QString& path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}
#endif

// The hook's answer for the step under test.
StagedFile::Step g_failingStep = StagedFile::Step::Write;
int g_failingErrno = 0;
int failStep(const QString&, StagedFile::Step step, qint64, qint64)
{
    return step == g_failingStep ? g_failingErrno : 0;
}

struct HookGuard {
    ~HookGuard() { StagedFile::setFaultHookForTests(nullptr); }
};

}

#ifndef Q_OS_WIN
// Unix permissions (Windows files take their folder's access rules).
TEST(StagedFile, TheReplacedFilesPermissionsAreKept)
{
    QTemporaryDir dir;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct Writer {
        const char* name;
        const char* file;
        std::function<void(const QString& path)> make;
        std::function<void(const QString& path)> rewrite;
    };
    const std::vector<Writer> writers {
        {"replace", "a.txt", [](const QString& p) { StagedFile::replace(p, "old"); },
         [](const QString& p) { StagedFile::replace(p, "new"); }},
        {"settings", "Velmor.ini",
         [](const QString& p) { Settings(QFileInfo(p).absolutePath()).Scrie_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID"), QStringLiteral("1")); },
         [](const QString& p) { Settings(QFileInfo(p).absolutePath()).CodNou(QStringLiteral("CODID")); }},
        {"pack", "CAP1.dbf",
         [](const QString& p) {
             dbf::DbfTable::create(p, {{QStringLiteral("ANUL"), 'N', 4, 0}});
             dbf::DbfTable t(p);
             t.append({std::int64_t(2010)});
             t.append({std::int64_t(2011)});
             t.setDeleted(0, true);
         },
         [](const QString& p) { dbf::DbfTable(p).pack(); }},
    };
    for (const Writer& w : writers) {
        for (const mode_t mode : {mode_t(0660), mode_t(0640), mode_t(0600), mode_t(0664)}) {
            const QString path = dir.filePath(QString::fromLatin1(w.file));
            QFile::remove(path);
            w.make(path);
            EXPECT_EQ(modeOf(path), 0666 & ~mask) << w.name << ": a new file has the umask's permissions";
            ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
            const QByteArray before = velmor::test::fileBytes(path);
            w.rewrite(path);
            EXPECT_NE(velmor::test::fileBytes(path), before) << w.name;
            EXPECT_EQ(modeOf(path), mode) << w.name << " " << std::oct << mode;
        }
    }
    QStringList files = QDir(dir.path()).entryList(QDir::Hidden | QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList {QStringLiteral("CAP1.dbf"), QStringLiteral("Velmor.ini"), QStringLiteral("a.txt")}))
        << "no temporary file is left";
}
#endif

TEST(StagedFile, EveryFailingStepKeepsTheOldFileAndNamesTheReason)
{
    HookGuard guard;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Sate.lst"));
    StagedFile::replace(path, "STEJARU\r\n");
    struct Case {
        int error;
        const char* reason;
    };
    const std::vector<Case> errors {
        {ENOSPC, "discul este plin."},
        {EDQUOT, "discul este plin."},
        {EBUSY, "fisierul este folosit de alt program."},
        {ETXTBSY, "fisierul este folosit de alt program."},
        {EACCES, "acces interzis."},
        {EPERM, "acces interzis."},
        {EROFS, "acces interzis."},
        {ENOENT, "directorul nu exista."},
    };
    for (const StagedFile::Step step : {StagedFile::Step::Write, StagedFile::Step::Sync, StagedFile::Step::Rename}) {
        for (const Case& c : errors) {
            g_failingStep = step;
            g_failingErrno = c.error;
            StagedFile::setFaultHookForTests(&failStep);
            QString message;
            try {
                StagedFile::replace(path, QByteArray(100000, 'x'));
            } catch (const WriteError& e) {
                message = e.message();
            }
            StagedFile::setFaultHookForTests(nullptr);
            EXPECT_EQ(message, QStringLiteral("Nu pot scrie ") + nativePath(path) + QStringLiteral(": ") + QString::fromLatin1(c.reason))
                << int(step) << " errno " << c.error;
            EXPECT_EQ(velmor::test::fileBytes(path), QByteArray("STEJARU\r\n"));
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {QStringLiteral("Sate.lst")});
        }
    }
    // Another error keeps the system's own words in a Romanian sentence.
    EXPECT_TRUE(systemErrorReason(EIO).startsWith(QStringLiteral("scrierea nu a reusit (")));
    EXPECT_EQ(systemErrorReason(std::make_error_code(std::errc::no_space_on_device)), QStringLiteral("discul este plin."));
    EXPECT_EQ(cannotWriteMessage(QStringLiteral("/a/b.ini"), QStringLiteral("acces interzis.")),
              QStringLiteral("Nu pot scrie ") + nativePath(QStringLiteral("/a/b.ini")) + QStringLiteral(": acces interzis."));
}

TEST(StagedFile, StreamsChunksAndPatchesAHeader)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.bin"));
    QByteArray expected;
    {
        StagedFile file(path);
        file.write("HEAD");
        expected += "????";
        for (int i = 0; i < 300; ++i) {
            const QByteArray chunk(1000 + i * 7, char('a' + i % 26)); // past the write buffer
            file.write(chunk);
            expected += chunk;
        }
        file.seek(0);
        file.write("HDR!");
        expected.replace(0, 4, "HDR!");
        file.seek(expected.size());
        QTextStream text(&file.device());
        text << "end " << 42;
        text.flush();
        expected += "end 42";
        EXPECT_FALSE(QFile::exists(path)) << "nothing is in place before the commit";
        file.commit();
    }
    EXPECT_EQ(velmor::test::fileBytes(path), expected);

    // A writer that ignores a failed write still cannot put a cut file in place.
    HookGuard guard;
    g_failingStep = StagedFile::Step::Write;
    g_failingErrno = ENOSPC;
    StagedFile file(path);
    StagedFile::setFaultHookForTests(&failStep);
    QTextStream text(&file.device());
    text << QByteArray(400000, 'z');
    text.flush();
    EXPECT_THROW(file.commit(), WriteError);
    EXPECT_EQ(velmor::test::fileBytes(path), expected);
}
