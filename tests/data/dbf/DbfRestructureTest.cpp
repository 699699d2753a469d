// Rewrites of a table into another layout: several changes and filled columns in one pass read
// back from the files, memo texts turned into text columns, and failures (a full disk, a
// read-only folder, each step of the staged files, rows appended meanwhile) that leave the old
// files byte for byte as they were and the table usable.

#include "DbfTestSupport.h"

#include "core/Paths.h"
#include "core/StagedFile.h"
#include "data/dbf/DbfError.h"
#include "data/dbf/DbfTable.h"
#include "data/engine/TableHandle.h"
#include "support/FileBytes.h"
#include "support/FullDisk.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <cerrno>
#include <functional>
#include <memory>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#include <unistd.h>
#endif

using namespace velmor;
using test::byteAt;
using test::le16;
using test::le32;
using test::existingFileBytes;
using test::show;
using test::showRow;

namespace {

using Values = std::vector<dbf::Value>;

const QList<dbf::FieldSpec> kOldLayout = {
    {QStringLiteral("ANUL"), 'N', 4, 0},    {QStringLiteral("CODID"), 'N', 10, 0},   {QStringLiteral("NR"), 'C', 10, 0},
    {QStringLiteral("POZITIA"), 'N', 7, 2}, {QStringLiteral("SATUL"), 'C', 20, 0},   {QStringLiteral("MENTIUNI"), 'M', 10, 0},
    {QStringLiteral("NOTA"), 'M', 10, 0},
};

// NR wider, POZITIA split into POZ and VOLUM, SATUL renamed SAT, the memo MENTIUNI as text.
const QList<dbf::FieldSpec> kNewLayout = {
    {QStringLiteral("ANUL"), 'N', 4, 0},       {QStringLiteral("CODID"), 'N', 10, 0}, {QStringLiteral("NR"), 'C', 32, 0},
    {QStringLiteral("MENTIUNI"), 'C', 240, 0}, {QStringLiteral("NOTA"), 'M', 10, 0},  {QStringLiteral("POZ"), 'N', 5, 0},
    {QStringLiteral("VOLUM"), 'N', 5, 0},      {QStringLiteral("SAT"), 'C', 20, 0},
};

void writeOldTable(const QString& path)
{
    dbf::DbfTable::create(path, kOldLayout);
    dbf::DbfTable t(path);
    t.append({std::int64_t(2010), std::int64_t(101), QStringLiteral("12"), 7.12, QStringLiteral("STEJARU"),
              QStringLiteral("prima linie\r\na doua"), QStringLiteral("nota unu")});
    t.append({std::int64_t(2010), std::int64_t(102), QStringLiteral("12A"), 1.13, QStringLiteral("VALEA"), dbf::Value(),
              QStringLiteral("nota doi")});
    t.append({std::int64_t(2011), std::int64_t(103), dbf::Value(), 123.05, QStringLiteral("DEALU MARE"),
              QStringLiteral("ţară"), dbf::Value()});
    t.setDeleted(1, true);
}

// Every file of a folder, hidden ones too, with its bytes.
QMap<QString, QByteArray> filesOf(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (const QFileInfo& info : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (info.fileName() != QLatin1String(".filler"))
            files.insert(info.fileName(), existingFileBytes(info.filePath()));
    }
    return files;
}

// POZ and VOLUM from the stored digits of POZITIA (7.12 is position 7, volume 12).
void splitPosition(const dbf::OldRecord& old, Values& values)
{
    const QStringList parts = dbf::isNull(old.value(QStringLiteral("POZITIA")))
        ? QStringList()
        : QString::number(std::get<double>(old.value(QStringLiteral("POZITIA"))), 'f', 2).split(QLatin1Char('.'));
    if (parts.size() == 2) {
        values[5] = std::int64_t(parts[0].toLongLong());
        values[6] = std::int64_t(parts[1].toLongLong());
    }
    values[7] = old.value(QStringLiteral("SATUL"));
    if (const auto* note = std::get_if<QString>(&values[3]))
        values[3] = QString(*note).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

TEST(DbfRestructure, SeveralChangesAndFilledColumnsInOneRewrite)
{
    test::TempHome home;
    const QString path = home.dataFile(QStringLiteral("Identificare.dbf"));
    writeOldTable(path);

    std::vector<std::string> seen;
    {
        dbf::DbfTable t(path);
        t.restructure(kNewLayout, [&](const dbf::OldRecord& old, Values& values) {
            // Pre-filled by name, in the new order: kept columns converted, the memo's text in
            // the text column, new columns blank.
            seen.push_back(std::to_string(old.row()) + (old.deleted() ? "*" : "") + " "
                           + show(values[0]) + " " + show(values[2]) + " " + show(values[3]) + " " + show(values[5]) + " "
                           + (old.has(QStringLiteral("SATUL")) ? "SATUL" : "-") + (old.has(QStringLiteral("SAT")) ? "SAT" : "-"));
            EXPECT_EQ(values.size(), size_t(kNewLayout.size()));
            EXPECT_EQ(show(old.value(2)), show(old.value(QStringLiteral("nr"))));
            EXPECT_THROW(old.value(QStringLiteral("SAT")), dbf::DbfError);
            splitPosition(old, values);
        });
        EXPECT_EQ(t.fieldCount(), int(kNewLayout.size()));
        EXPECT_EQ(show(t.value(2, 7)), "t:DEALU MARE");
    }
    EXPECT_EQ(seen, (std::vector<std::string> {"0 i:2010 t:12 t:prima linie\r\na doua NULL SATUL-",
                                               "1* i:2010 t:12A NULL NULL SATUL-", "2 i:2011 NULL t:ţară NULL SATUL-"}));

    // Read back from the files alone.
    const QByteArray b = existingFileBytes(path);
    const int headerLength = 32 + 32 * 8 + 1;
    const int recordLength = 1 + 4 + 10 + 32 + 240 + 10 + 5 + 5 + 20;
    EXPECT_EQ(byteAt(b, 0), 0x8B);
    EXPECT_EQ(le32(b, 4), 3u);
    EXPECT_EQ(le16(b, 8), headerLength);
    EXPECT_EQ(le16(b, 10), recordLength);
    EXPECT_EQ(b.size(), headerLength + 3 * recordLength + 1);
    EXPECT_EQ(byteAt(b, b.size() - 1), 0x1A);
    EXPECT_EQ(byteAt(b, headerLength + recordLength), '*');

    const dbf::DbfTable t(path);
    QList<dbf::FieldSpec> layout;
    for (const dbf::Field& f : t.fields())
        layout.append(f.declaration());
    ASSERT_EQ(layout.size(), kNewLayout.size());
    for (int c = 0; c < layout.size(); ++c) {
        EXPECT_EQ(layout[c].name, kNewLayout[c].name);
        EXPECT_EQ(layout[c].type, kNewLayout[c].type);
        EXPECT_EQ(layout[c].width, kNewLayout[c].width);
    }
    auto row = [&](int r) {
        Values v;
        for (int c = 0; c < t.fieldCount(); ++c)
            v.push_back(t.value(r, c));
        return showRow(v);
    };
    EXPECT_EQ(row(0), (std::vector<std::string> {"i:2010", "i:101", "t:12", "t:prima linie a doua", "t:nota unu", "i:7", "i:12",
                                                 "t:STEJARU"}));
    EXPECT_EQ(row(1), (std::vector<std::string> {"i:2010", "i:102", "t:12A", "NULL", "t:nota doi", "i:1", "i:13", "t:VALEA"}));
    EXPECT_EQ(row(2), (std::vector<std::string> {"i:2011", "i:103", "NULL", "t:ţară", "NULL", "i:123", "i:5", "t:DEALU MARE"}));
    EXPECT_TRUE(t.isDeleted(1));

    // The new memo file holds the two notes only, one block each after the header block.
    const QByteArray memo = existingFileBytes(home.dataFile(QStringLiteral("Identificare.dbt")));
    EXPECT_EQ(memo.size(), 3 * 512);
    EXPECT_EQ(le32(memo, 0), 3u);
    EXPECT_EQ(filesOf(home.data()).keys(), (QStringList {QStringLiteral("Identificare.dbf"), QStringLiteral("Identificare.dbt")}));
}

// A fill that returns another number of values is refused before anything is written.
TEST(DbfRestructure, AFillMustKeepOneValuePerColumn)
{
    test::TempHome home;
    const QString path = home.dataFile(QStringLiteral("Identificare.dbf"));
    writeOldTable(path);
    const QMap<QString, QByteArray> before = filesOf(home.data());
    dbf::DbfTable t(path);
    EXPECT_THROW(t.restructure(kNewLayout, [](const dbf::OldRecord&, Values& values) { values.pop_back(); }), dbf::DbfError);
    EXPECT_EQ(filesOf(home.data()), before);
}

// A memo column turned into a text column takes the memo's text; one that does not fit is refused
// with nothing changed (blanks past the width are padding, not text).
TEST(DbfRestructure, MemoIntoTextColumn)
{
    struct Case {
        QString text;
        int width;
        std::string expected; // the value read back, or the start of the refusal
    };
    const QString longText = QString(300, QLatin1Char('x'));
    const std::vector<Case> cases {
        {QStringLiteral("scurt"), 10, "t:scurt"},
        {QStringLiteral("exact zece"), 10, "t:exact zece"},
        {QStringLiteral("abcd      "), 4, "t:abcd"},
        {QStringLiteral("ţară şi câmp"), 30, "t:ţară şi câmp"},
        {QStringLiteral("doua\r\nlinii"), 20, "t:doua\r\nlinii"},
        {QString(), 5, "NULL"},
        {longText, 254, "Inregistrarea 1: Textul are 300 caractere; coloana NOTA din tabelul \"Note.dbf\" primeste cel mult 254."},
        {QStringLiteral("prea lung"), 4, "Inregistrarea 1: Textul are 9 caractere;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " into " + std::to_string(c.width));
        test::TempHome home;
        const QString path = home.dataFile(QStringLiteral("Note.dbf"));
        dbf::DbfTable::create(path, {{QStringLiteral("CODID"), 'N', 4, 0}, {QStringLiteral("NOTA"), 'M', 10, 0}});
        {
            dbf::DbfTable t(path);
            t.append({std::int64_t(1), c.text.isEmpty() ? dbf::Value() : dbf::Value(c.text)});
            t.append({std::int64_t(2), QStringLiteral("ok")});
        }
        const QMap<QString, QByteArray> before = filesOf(home.data());
        dbf::DbfTable t(path);
        QString refusal;
        try {
            t.restructure({{QStringLiteral("CODID"), 'N', 4, 0}, {QStringLiteral("NOTA"), 'C', c.width, 0}});
        } catch (const dbf::DbfError& e) {
            refusal = e.message();
        }
        if (c.expected.rfind("Inregistrarea", 0) == 0) {
            EXPECT_EQ(refusal.left(int(QString::fromStdString(c.expected).size())).toStdString(), c.expected);
            EXPECT_EQ(filesOf(home.data()), before);
            EXPECT_EQ(t.fields()[1].type, 'M');
            EXPECT_EQ(show(t.value(1, 1)), "t:ok");
            continue;
        }
        EXPECT_EQ(refusal, QString());
        const dbf::DbfTable back(path);
        EXPECT_EQ(back.versionByte(), 0x03);
        EXPECT_EQ(back.fields()[1].type, 'C');
        EXPECT_EQ(show(back.value(0, 1)), c.expected);
        EXPECT_EQ(show(back.value(1, 1)), "t:ok");
    }
}

// The steps of the staged files at which a failure is injected.
struct InjectedFault {
    QString suffix; // of the target
    StagedFile::Step step;
    int error;
};
InjectedFault g_fault;

int injectFault(const QString& target, StagedFile::Step step, qint64, qint64)
{
    return step == g_fault.step && target.endsWith(g_fault.suffix) ? g_fault.error : 0;
}

// A folder that a failure is armed in, with the table to rewrite.
class FailingFolder {
public:
    virtual ~FailingFolder() { StagedFile::setFaultHookForTests(nullptr); }
    virtual QString dir() const = 0;
    // False when this system cannot produce the failure (the test is skipped then).
    virtual bool arm() = 0;
    virtual void disarm() = 0;
    QString table() const { return dir() + QStringLiteral("/Identificare.dbf"); }
};

class FaultAtStep : public FailingFolder {
public:
    explicit FaultAtStep(InjectedFault fault)
        : m_fault(std::move(fault))
    {
    }
    QString dir() const override { return m_dir.path(); }
    bool arm() override
    {
        g_fault = m_fault;
        StagedFile::setFaultHookForTests(&injectFault);
        return true;
    }
    void disarm() override { StagedFile::setFaultHookForTests(nullptr); }

private:
    QTemporaryDir m_dir;
    InjectedFault m_fault;
};

class OnFullDisk : public FailingFolder {
public:
    explicit OnFullDisk(test::FullDisk::Mode mode)
        : m_disk(mode)
    {
    }
    QString dir() const override { return m_disk.dir(); }
    bool arm() override
    {
        m_disk.fill();
        return true;
    }
    void disarm() override { m_disk.release(); }

private:
    test::FullDisk m_disk;
};

// A read-only folder: a file system mounted read-only where the user may mount (root ignores
// permissions), else the folder's permissions.
class ReadOnlyFolder : public FailingFolder {
public:
    ~ReadOnlyFolder() override
    {
        disarm();
#ifdef Q_OS_LINUX
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
#endif
    }
    QString dir() const override { return m_dir.path(); }
    bool arm() override
    {
#ifdef Q_OS_LINUX
        if (::geteuid() == 0) {
            const QByteArray where = QFile::encodeName(m_dir.path());
            // The files move onto a small file system that is then made read-only.
            const QMap<QString, QByteArray> files = filesOf(m_dir.path());
            if (::mount("tmpfs", where.constData(), "tmpfs", 0, "size=4m,mode=0777") != 0)
                return false;
            m_mounted = true;
            for (auto it = files.begin(); it != files.end(); ++it)
                test::writeBytes(m_dir.filePath(it.key()), it.value());
            if (::mount("tmpfs", where.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=4m,mode=0777") != 0)
                return false;
            m_readOnlyMount = true;
            return true;
        }
#endif
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(m_dir.filePath(QStringLiteral("probe")));
        const bool writable = probe.open(QIODevice::WriteOnly);
        probe.close();
        probe.remove();
        return !writable;
    }
    void disarm() override
    {
#ifdef Q_OS_LINUX
        if (m_readOnlyMount) {
            ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_REMOUNT, "size=4m,mode=0777");
            m_readOnlyMount = false;
            return;
        }
#endif
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    bool m_readOnlyMount = false;
};

struct FailureCase {
    const char* name;
    std::function<std::unique_ptr<FailingFolder>()> folder;
    const char* named; // the file the message names
    const char* reason;
};

const std::vector<FailureCase>& failureCases()
{
    using Step = StagedFile::Step;
    static const std::vector<FailureCase> all {
        {"WriteOfTheMemoFile", [] { return std::make_unique<FaultAtStep>(InjectedFault {".dbt", Step::Write, ENOSPC}); },
         "Identificare.dbt", "discul este plin."},
        {"WriteOfTheTable", [] { return std::make_unique<FaultAtStep>(InjectedFault {".dbf", Step::Write, ENOSPC}); },
         "Identificare.dbf", "discul este plin."},
        {"SyncOfTheTable", [] { return std::make_unique<FaultAtStep>(InjectedFault {".dbf", Step::Sync, EIO}); }, "Identificare.dbf",
         nullptr},
        {"RenameOfTheMemoFile", [] { return std::make_unique<FaultAtStep>(InjectedFault {".dbt", Step::Rename, EACCES}); },
         "Identificare.dbt", nullptr},
        // The new memo file is in place already: the old one must come back.
        {"RenameOfTheTable", [] { return std::make_unique<FaultAtStep>(InjectedFault {".dbf", Step::Rename, EACCES}); },
         "Identificare.dbf", nullptr},
        // The memo file is the first one written.
        {"FullDisk", [] { return std::make_unique<OnFullDisk>(test::FullDisk::Mode::RealFileSystem); }, "Identificare.dbt",
         "discul este plin."},
        {"FullDiskInjected", [] { return std::make_unique<OnFullDisk>(test::FullDisk::Mode::InjectedFault); }, "Identificare.dbt",
         "discul este plin."},
        {"ReadOnlyFolder", [] { return std::make_unique<ReadOnlyFolder>(); }, nullptr, nullptr},
    };
    return all;
}

// Enough rows for the new table to be written in several pieces, notes on some of them.
void writeLargeOldTable(const QString& path)
{
    dbf::DbfTable::create(path, kOldLayout + QList<dbf::FieldSpec> {{QStringLiteral("DEN"), 'C', 250, 0}});
    dbf::DbfTable t(path);
    t.beginBatch();
    for (int r = 0; r < 1000; ++r) {
        t.append({std::int64_t(2010 + r % 10), std::int64_t(100 + r), QString::number(r), 1.05 + r, QStringLiteral("STEJARU"),
                  r % 50 == 0 ? dbf::Value(QStringLiteral("mentiune %1").arg(r)) : dbf::Value(),
                  r % 10 == 0 ? dbf::Value(QStringLiteral("nota %1").arg(r)) : dbf::Value(), QStringLiteral("denumire %1").arg(r)});
    }
    t.endBatch();
    t.setDeleted(7, true);
}

class RestructureFailure : public ::testing::TestWithParam<size_t> {};

TEST_P(RestructureFailure, LeavesTheOldFilesAsTheyWereAndTheTableUsable)
{
    const FailureCase& c = failureCases()[GetParam()];
    const std::unique_ptr<FailingFolder> folder = c.folder();
    const QString path = folder->table();
    writeLargeOldTable(path);
    const QList<dbf::FieldSpec> layout = kNewLayout + QList<dbf::FieldSpec> {{QStringLiteral("DEN"), 'C', 250, 0}};

    if (!folder->arm())
        GTEST_SKIP() << "this system cannot make the folder fail that way";
    dbf::DbfTable t(path);
    const QMap<QString, QByteArray> before = filesOf(folder->dir());
    ASSERT_EQ(before.size(), 2);
    QString message;
    try {
        t.restructure(layout, splitPosition);
    } catch (const dbf::DbfError& e) {
        message = e.message();
    }
    ASSERT_FALSE(message.isEmpty()) << "the rewrite did not fail";
    EXPECT_TRUE(message.startsWith(QStringLiteral("Nu pot scrie "))) << message.toStdString();
    if (c.named)
        EXPECT_TRUE(message.startsWith(QStringLiteral("Nu pot scrie ") + nativePath(folder->dir() + QLatin1Char('/') + QLatin1String(c.named))))
            << message.toStdString();
    if (c.reason)
        EXPECT_TRUE(message.endsWith(QLatin1String(c.reason))) << message.toStdString();
    EXPECT_EQ(filesOf(folder->dir()), before) << "a file changed or a temporary file was left";

    // The table is the old one, still readable.
    EXPECT_EQ(t.fieldCount(), int(kOldLayout.size()) + 1);
    EXPECT_EQ(show(t.value(999, t.fieldIndex(QStringLiteral("NOTA")))), "NULL");
    EXPECT_EQ(show(t.value(990, t.fieldIndex(QStringLiteral("NOTA")))), "t:nota 990");
    EXPECT_TRUE(t.isDeleted(7));

    // Once the folder takes files again, the same rewrite goes through.
    folder->disarm();
    t.restructure(layout, splitPosition);
    const dbf::DbfTable back(path);
    EXPECT_EQ(back.recordCount(), 1000);
    EXPECT_EQ(show(back.value(500, back.fieldIndex(QStringLiteral("MENTIUNI")))), "t:mentiune 500");
    EXPECT_EQ(show(back.value(990, back.fieldIndex(QStringLiteral("NOTA")))), "t:nota 990");
    EXPECT_EQ(show(back.value(999, back.fieldIndex(QStringLiteral("VOLUM")))), "i:5");
    EXPECT_EQ(filesOf(folder->dir()).size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Failures, RestructureFailure, ::testing::Range(size_t(0), failureCases().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) { return std::string(failureCases()[info.param].name); });

// Rows another program appends while the table is rewritten would be lost: the written row count
// is checked against the file before the new one takes its place.
TEST(DbfRestructure, RowsAppendedMeanwhileStopTheRewrite)
{
    test::TempHome home;
    const QString path = home.dataFile(QStringLiteral("Identificare.dbf"));
    writeOldTable(path);
    dbf::DbfTable t(path);
    bool appended = false;
    QString message;
    try {
        t.restructure(kNewLayout, [&](const dbf::OldRecord&, Values&) {
            if (!appended) {
                dbf::DbfTable other(path);
                other.append({std::int64_t(2012), std::int64_t(104), QStringLiteral("14")});
                appended = true;
            }
        });
    } catch (const dbf::DbfError& e) {
        message = e.message();
    }
    EXPECT_EQ(message, QStringLiteral("Tabelul \"Identificare.dbf\" a fost schimbat de alt program in timpul rescrierii; nu s-a "
                                      "schimbat nimic, reluati operatia."));
    const dbf::DbfTable back(path);
    EXPECT_EQ(back.recordCount(), 4);
    EXPECT_EQ(back.fieldCount(), int(kOldLayout.size()));
    EXPECT_EQ(show(back.value(3, 1)), "i:104");
    EXPECT_EQ(filesOf(home.data()).size(), 2);
}

// The engine's table passes the fill through and renews its indexes and layout generation.
TEST(DbfRestructure, TheEngineTablePassesTheFillThrough)
{
    test::TempHome home;
    const QString path = home.dataFile(QStringLiteral("Identificare.dbf"));
    writeOldTable(path);
    engine::TableHandle handle(path);
    ASSERT_NE(handle.index(1).lookupNumber(103), nullptr);
    const int generation = handle.layoutGeneration();
    handle.restructure(kNewLayout, splitPosition);
    EXPECT_GT(handle.layoutGeneration(), generation);
    EXPECT_FALSE(handle.hasIndex(1));
    EXPECT_EQ(show(handle.table().value(2, 5)), "i:123");
    EXPECT_EQ(show(dbf::DbfTable(path).value(0, 6)), "i:12");
}

}
