// Writes on a full disk: each one fails with the Romanian message and leaves every file of the
// folder byte for byte as it was; once there is room again the same write succeeds.

#include "admin/DataBackup.h"
#include "app/Cli.h"
#include "core/Error.h"
#include "core/Paths.h"
#include "data/dbf/DbfBulkWriter.h"
#include "data/dbf/DbfTable.h"
#include "data/engine/Engine.h"
#include "services/LineListFile.h"
#include "services/ScriptedInteraction.h"
#include "services/Settings.h"
#include "support/FullDisk.h"
#include "support/TestDirs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <functional>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::FullDisk;

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using Mode = FullDisk::Mode;

QList<dbf::FieldSpec> noteLayout()
{
    return {{QStringLiteral("ANUL"), 'N', 4, 0}, {QStringLiteral("NUME"), 'C', 20, 0}, {QStringLiteral("NOTA"), 'M', 10, 0}};
}

QList<dbf::FieldSpec> chapterLayout()
{
    return {{QStringLiteral("ANUL"), 'N', 4, 0}, {QStringLiteral("CODID"), 'N', 10, 0}, {QStringLiteral("DEN"), 'C', 30, 0}};
}

// A table of the layout with `rows` rows: numbers, names and memo texts of the row.
void makeTable(const QString& path, const QList<dbf::FieldSpec>& layout, int rows)
{
    dbf::DbfTable::create(path, layout);
    dbf::DbfTable table(path);
    for (int r = 0; r < rows; ++r) {
        std::vector<dbf::Value> values;
        for (const dbf::FieldSpec& f : layout) {
            if (f.type == 'N')
                values.push_back(std::int64_t(2000 + r + int(values.size())));
            else
                values.push_back(QStringLiteral("%1 %2").arg(f.name).arg(r));
        }
        table.append(values);
    }
}

struct WriteCase {
    const char* name;
    const char* target; // the file named by the message
    std::function<void(const FullDisk&, const QString& dataDir)> setUp;
    std::function<void(const FullDisk&, const QString& dataDir)> write;
};

const std::vector<WriteCase>& cases()
{
    static const std::vector<WriteCase> all {
        {"Settings", "Velmor.ini",
         [](const FullDisk& d, const QString&) {
             Settings(d.dir()).Scrie_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("Comuna"), QStringLiteral("STEJARU"));
             Settings(d.dir()).Scrie_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID"), QStringLiteral("120"));
         },
         [](const FullDisk& d, const QString&) { Settings(d.dir()).CodNou(QStringLiteral("CODID")); }},
        {"VillageList", "Sate.lst",
         [](const FullDisk& d, const QString&) {
             writeLineList(d.file(QStringLiteral("Sate.lst")), {QStringLiteral("STEJARU"), QStringLiteral("VALEA")}, QStringLiteral("lista"));
         },
         [](const FullDisk& d, const QString&) {
             writeLineList(d.file(QStringLiteral("Sate.lst")), {QStringLiteral("STEJARU"), QStringLiteral("VALEA"), QStringLiteral("DEAL")},
                           QStringLiteral("lista"));
         }},
        {"Pack", "CAP1.dbf",
         [](const FullDisk& d, const QString&) {
             makeTable(d.file(QStringLiteral("CAP1.dbf")), chapterLayout(), 40);
             dbf::DbfTable(d.file(QStringLiteral("CAP1.dbf"))).setDeleted(3, true);
         },
         [](const FullDisk& d, const QString&) { dbf::DbfTable(d.file(QStringLiteral("CAP1.dbf"))).pack(); }},
        {"AlterTable", "CAP1.dbf",
         [](const FullDisk& d, const QString&) { makeTable(d.file(QStringLiteral("CAP1.dbf")), chapterLayout(), 40); },
         [](const FullDisk& d, const QString&) {
             engine::Engine engine(d.dir());
             engine.execute(QStringLiteral("ALTER TABLE \"CAP1.dbf\" ADD COLUMN XX CHAR(5)"));
         }},
        {"AlterTableWithMemo", "CAP1.dbt",
         [](const FullDisk& d, const QString&) { makeTable(d.file(QStringLiteral("CAP1.dbf")), chapterLayout(), 40); },
         [](const FullDisk& d, const QString&) {
             engine::Engine engine(d.dir());
             engine.execute(QStringLiteral("ALTER TABLE \"CAP1.dbf\" ADD COLUMN NOTA MEMO"));
         }},
        {"BulkWriter", "Note.dbf",
         [](const FullDisk& d, const QString&) { makeTable(d.file(QStringLiteral("Note.dbf")), noteLayout(), 3); },
         [](const FullDisk& d, const QString&) {
             const QString path = d.file(QStringLiteral("Note.dbf"));
             dbf::DbfBulkWriter writer(path, dbf::DbfBulkWriter::layoutOf(path));
             for (int r = 0; r < 50; ++r)
                 writer.append({std::int64_t(2020), QStringLiteral("NUME %1").arg(r), QStringLiteral("nota %1").arg(r)});
             writer.finish();
         }},
        {"Backup", "Salvare.kt",
         [](const FullDisk& d, const QString& data) {
             ScriptedInteraction ui;
             DataBackup(data, ui).saveTo(d.file(QStringLiteral("Salvare.kt")));
             // The register grows: the next backup needs more room than the first.
             makeTable(data + QStringLiteral("/CAP2.dbf"), chapterLayout(), 200);
         },
         [](const FullDisk& d, const QString& data) {
             ScriptedInteraction ui;
             DataBackup(data, ui).saveTo(d.file(QStringLiteral("Salvare.kt")));
         }},
    };
    return all;
}

class CheckedWrites : public ::testing::TestWithParam<std::tuple<Mode, size_t>> {};

TEST_P(CheckedWrites, AFullDiskKeepsTheOldFileAndSaysSo)
{
    const auto [mode, index] = GetParam();
    const WriteCase& c = cases()[index];
    FullDisk disk(mode);
    test::TempHome home;
    makeTable(home.dataFile(QStringLiteral("CAP1.dbf")), chapterLayout(), 30);
    c.setUp(disk, home.data());
    const QMap<QString, QByteArray> before = disk.contents();

    disk.fill();
    const QString expected = QStringLiteral("Nu pot scrie ") + nativePath(disk.file(QString::fromLatin1(c.target)))
        + QStringLiteral(": discul este plin.");
    QString message;
    try {
        c.write(disk, home.data());
    } catch (const velmor::Error& e) {
        message = e.message();
    }
    EXPECT_EQ(message, expected) << c.name;
    EXPECT_EQ(disk.contents(), before) << c.name << ": a file changed or a temporary file was left";

    disk.release();
    EXPECT_NO_THROW(c.write(disk, home.data())) << c.name;
    EXPECT_NE(disk.contents().value(QString::fromLatin1(c.target)), before.value(QString::fromLatin1(c.target))) << c.name;
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<Mode, size_t>>& info)
{
    return FullDisk::modeName(std::get<0>(info.param)).toStdString() + "_" + cases()[std::get<1>(info.param)].name;
}

INSTANTIATE_TEST_SUITE_P(Writers, CheckedWrites,
                         ::testing::Combine(::testing::Values(Mode::RealFileSystem, Mode::InjectedFault),
                                            ::testing::Range(size_t(0), cases().size())),
                         caseName);

// Verbs on a full disk: status 1, the message on stderr, no success line, every file as it was.
struct VerbCase {
    const char* name;
    // The file named by the refusal: on a real full disk a writing verb cannot even take the data
    // directory's lock, so nothing is written; with the injected fault the lock is taken and the
    // first staged write fails.
    const char* realTarget;
    const char* injectedTarget;
    // The arguments, given the disk's folder, the home and a data directory on an ordinary disk.
    std::function<QStringList(const FullDisk&, const test::TempHome&)> arguments;
};

const std::vector<VerbCase>& verbCases()
{
    static const std::vector<VerbCase> all {
        // The certificate writes its document, then the destination list, then its number.
        {"Certificate", "Velmor.lck", "TIPAdev.lst",
         [](const FullDisk& d, const test::TempHome& h) {
             return QStringList {QStringLiteral("certificate"), QStringLiteral("--data"), d.dir(), QStringLiteral("--home"), h.home(),
                                 QStringLiteral("--household"), QStringLiteral("101"), QStringLiteral("--chapters"), QStringLiteral("1"),
                                 QStringLiteral("--destination"), QStringLiteral("BANCA"), QStringLiteral("--out"),
                                 h.home() + QStringLiteral("/adeverinta.rtf")};
         }},
        {"AlterTable", "Velmor.lck", "CAP1.dbf",
         [](const FullDisk& d, const test::TempHome& h) {
             return QStringList {QStringLiteral("sql"), QStringLiteral("--home"), h.home(), QStringLiteral("--data"), d.dir(),
                                 QStringLiteral("ALTER TABLE \"CAP1.dbf\" ADD COLUMN XX CHAR(5)")};
         }},
        {"Backup", "Salvare.kt", "Salvare.kt",
         [](const FullDisk& d, const test::TempHome& h) {
             return QStringList {QStringLiteral("backup"), QStringLiteral("--data"), h.data(), d.file(QStringLiteral("Salvare.kt"))};
         }},
    };
    return all;
}

class CheckedWritesCli : public ::testing::TestWithParam<std::tuple<Mode, size_t>> {};

TEST_P(CheckedWritesCli, AVerbThatCannotWriteFailsWithTheMessage)
{
    const auto [mode, index] = GetParam();
    const VerbCase& c = verbCases()[index];
    FullDisk disk(mode);
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QDir fixture(test::fixturePath(QStringLiteral("register-dbase4")));
    for (const QString& name : fixture.entryList(QDir::Files)) {
        ASSERT_TRUE(QFile::copy(fixture.filePath(name), disk.file(name)));
        QFile::setPermissions(disk.file(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    ScriptedInteraction ui;
    DataBackup(home.data(), ui).saveTo(disk.file(QStringLiteral("Salvare.kt")));
    makeTable(home.dataFile(QStringLiteral("CAP13.dbf")), chapterLayout(), 50); // the next backup differs
    const QMap<QString, QByteArray> before = disk.contents();
    disk.fill();

    const QStringList arguments = c.arguments(disk, home);
    int status = -1;
    QString out;
    QString err;
    if (disk.real()) {
        QProcess p;
        p.start(QStringLiteral(VELMOR_CLI_PATH), arguments);
        ASSERT_TRUE(p.waitForFinished(60000));
        status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        out = QString::fromUtf8(p.readAllStandardOutput());
        err = QString::fromUtf8(p.readAllStandardError());
    } else {
        // The injected fault lives in this process: the verb runs here.
        int argc = 1;
        char name[] = "velmor-cli";
        char* argv[] = {name, nullptr};
        std::unique_ptr<QCoreApplication> app(QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv));
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        status = cli::run(arguments);
        out = QString::fromStdString(::testing::internal::GetCapturedStdout());
        err = QString::fromStdString(::testing::internal::GetCapturedStderr());
    }
    EXPECT_EQ(status, 1) << c.name << ": " << err.toStdString();
    const char* target = disk.real() ? c.realTarget : c.injectedTarget;
    EXPECT_TRUE(err.contains(QStringLiteral("Nu pot scrie ") + nativePath(disk.file(QString::fromLatin1(target)))
                             + QStringLiteral(": discul este plin.")))
        << c.name << ": " << err.toStdString();
    EXPECT_FALSE(out.contains(QStringLiteral("incheiata"))) << c.name << ": " << out.toStdString();
    EXPECT_EQ(disk.contents(), before) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Writers, CheckedWritesCli,
                         ::testing::Combine(::testing::Values(Mode::RealFileSystem, Mode::InjectedFault),
                                            ::testing::Range(size_t(0), verbCases().size())),
                         [](const ::testing::TestParamInfo<std::tuple<Mode, size_t>>& info) {
                             return FullDisk::modeName(std::get<0>(info.param)).toStdString() + "_"
                                 + verbCases()[std::get<1>(info.param)].name;
                         });

}
