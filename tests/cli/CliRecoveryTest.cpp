// Operations stopped after each of their changes (as by a power cut) and mended by `recover`;
// the preflight that refuses before any change; the data directory lock; two programs appending
// to the same tables at once.

#include "cli/CliRun.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "services/DataDirectoryLock.h"
#include "support/TestDirs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <functional>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace velmor;
using test::cli;

namespace {

using Snapshot = QMap<QString, QByteArray>;

qint64 whole(const dbf::Value& v)
{
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return *i;
    if (const auto* d = std::get_if<double>(&v))
        return qint64(*d);
    return -1;
}

QString text(const dbf::Value& v)
{
    const auto* t = std::get_if<QString>(&v);
    return t ? *t : QString();
}

// Every file of a data directory with its bytes; the lock file belongs to a run, not to the data.
Snapshot snapshot(const QString& dir)
{
    Snapshot files;
    for (const QFileInfo& info : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (info.fileName() == QLatin1String(DataDirectoryLock::FileName))
            continue;
        QFile f(info.absoluteFilePath());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << info.absoluteFilePath().toStdString();
        files.insert(info.fileName(), f.readAll());
    }
    return files;
}

void writeSnapshot(const QString& dir, const Snapshot& files)
{
    ASSERT_TRUE(QDir().mkpath(dir));
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile f(dir + QLatin1Char('/') + it.key());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(it.value()), it.value().size());
    }
}

QString describe(const Snapshot& a, const Snapshot& b)
{
    QStringList differences;
    for (const QString& name : QSet<QString>(a.keyBegin(), a.keyEnd()) | QSet<QString>(b.keyBegin(), b.keyEnd())) {
        if (a.value(name) != b.value(name) || a.contains(name) != b.contains(name))
            differences << name;
    }
    differences.sort();
    return differences.join(QLatin1Char(' '));
}

QString action(const test::CliRun& r)
{
    for (const QString& line : r.out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("ACTION\t")))
            return line.mid(7);
    }
    return {};
}

QString cliPath()
{
    return QStringLiteral(VELMOR_CLI_PATH);
}

void demo(const QString& dir)
{
    const test::CliRun r = cli({QStringLiteral("demo"), QStringLiteral("--data"), dir, QStringLiteral("--households"),
                                QStringLiteral("4"), QStringLiteral("--years"), QStringLiteral("2"),
                                QStringLiteral("--first-year"), QStringLiteral("2022"), QStringLiteral("--seed"),
                                QStringLiteral("7")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
}

QString table(const QString& dir, const char* name)
{
    return engine::quotedPath(dir + QLatin1Char('/') + QLatin1String(name));
}

void sql(const QString& dir, const QString& statement)
{
    const test::CliRun r = cli({QStringLiteral("sql"), QStringLiteral("--data"), dir, statement});
    ASSERT_EQ(r.status, 0) << statement.toStdString() << ": " << r.err.toStdString();
}

// One operation run with --fail-after: its arguments for a data directory and a program home,
// and the state the register starts from.
struct StoppedOperation {
    const char* name;
    std::function<QStringList(const QString& data, const QString& home)> arguments;
    std::function<void(const QString& base, const QString& work)> prepare;
    QStringList actions; // what `recover` may answer after a stop
};

// Runs the operation stopped after its 1st, 2nd, ... change until it completes; after each stop a
// command refuses to work over the interrupted operation and `recover` leaves the directory as
// it was before or as the finished operation leaves it (which one the action tells). Returns the
// count of stop points.
int stopAtEveryChange(const StoppedOperation& op)
{
    test::TempHome home;
    const QString base = home.home() + QStringLiteral("/base");
    demo(base);
    op.prepare(base, home.home());
    const Snapshot before = snapshot(base);

    // The finished operation, run once without a stop.
    const QString whole = home.home() + QStringLiteral("/whole/Data");
    writeSnapshot(whole, before);
    const test::CliRun done = cli(op.arguments(whole, home.home() + QStringLiteral("/whole/home")));
    EXPECT_EQ(done.status, 0) << op.name << ": " << done.err.toStdString();
    const Snapshot after = snapshot(whole);
    EXPECT_NE(describe(before, after), QString()) << op.name << " changes nothing";

    int stops = 0;
    for (int n = 1; n <= 2000; ++n) {
        const QString root = home.home() + QStringLiteral("/run%1").arg(n);
        const QString data = root + QStringLiteral("/Data");
        writeSnapshot(data, before);
        QStringList args = op.arguments(data, root + QStringLiteral("/home"));
        args << QStringLiteral("--fail-after") << QString::number(n);
        const test::CliRun run = cli(args);
        if (run.status == 0) {
            EXPECT_EQ(describe(snapshot(data), after), QString()) << op.name << " complete at " << n;
            break;
        }
        EXPECT_EQ(run.status, 3) << op.name << " at " << n << ": " << run.err.toStdString();
        if (run.status != 3)
            break;
        ++stops;
        const bool marked = QFileInfo::exists(data + QStringLiteral("/Velmor.op"));
        if (marked) {
            const test::CliRun refused = cli({QStringLiteral("sql"), QStringLiteral("--data"), data,
                                              QStringLiteral("SELECT COUNT(*) AS N FROM ") + table(data, "Identificare.dbf")});
            EXPECT_EQ(refused.status, 1) << op.name << " at " << n;
            EXPECT_TRUE(refused.err.contains(QStringLiteral("nu s-a terminat."))) << refused.err.toStdString();
        }
        const test::CliRun mended = cli({QStringLiteral("recover"), QStringLiteral("--data"), data});
        EXPECT_EQ(mended.status, 0) << op.name << " at " << n << ": " << mended.err.toStdString();
        const QString act = action(mended);
        EXPECT_TRUE(mended.out.startsWith(QStringLiteral("OPERATION\t") + (marked ? QLatin1String(op.name) : QLatin1String("none"))))
            << op.name << " at " << n << ": " << mended.out.toStdString();
        EXPECT_TRUE(act == QLatin1String("none") || op.actions.contains(act)) << op.name << " at " << n << ": " << act.toStdString();
        const Snapshot now = snapshot(data);
        if (act == QLatin1String("rolled-back"))
            EXPECT_EQ(describe(now, before), QString()) << op.name << " at " << n;
        else if (act == QLatin1String("completed") || act == QLatin1String("rerun"))
            EXPECT_EQ(describe(now, after), QString()) << op.name << " at " << n;
        else
            EXPECT_TRUE(now == before || now == after) << op.name << " at " << n << ": " << describe(now, before).toStdString();
        EXPECT_FALSE(QFileInfo::exists(data + QStringLiteral("/Velmor.op")));
        // Nothing of the operation is left beside the data directory but the take-over's archive.
        for (const QString& left : QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            EXPECT_TRUE(left == QLatin1String("Data") || left == QLatin1String("home") || left.startsWith(QLatin1String("Preluare-"))
                        || left.startsWith(QLatin1String("Lipire-")))
                << op.name << " at " << n << ": " << left.toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/home/tmp.dbf"))) << op.name << " at " << n;
        if (::testing::Test::HasFailure())
            break;
    }
    return stops;
}

TEST(CliRecovery, EveryStopOfTheRestoreSwapIsFinishedOrRolledBack)
{
    // The archive holds the register as generated; the directory it goes into has changed since.
    QString archive;
    const StoppedOperation op {
        "restore",
        [&](const QString& data, const QString&) {
            return QStringList {QStringLiteral("restore"), archive, QStringLiteral("--into"), data};
        },
        [&](const QString& base, const QString& home) {
            archive = home + QStringLiteral("/saved.kt");
            ASSERT_EQ(cli({QStringLiteral("backup"), QStringLiteral("--data"), base, archive}).status, 0);
            sql(base, QStringLiteral("DELETE FROM ") + table(base, "CAP2.dbf") + QStringLiteral(" WHERE RAND=1"));
            sql(base, QStringLiteral("UPDATE ") + table(base, "Identificare.dbf") + QStringLiteral(" SET ROL=7"));
            QFile extra(base + QStringLiteral("/Nota.txt"));
            ASSERT_TRUE(extra.open(QIODevice::WriteOnly));
            extra.write("o nota");
        },
        {QStringLiteral("completed"), QStringLiteral("rolled-back")},
    };
    const int stops = stopAtEveryChange(op);
    EXPECT_GT(stops, 30);
    std::printf("restore: %d stop points\n", stops);
}

TEST(CliRecovery, EveryStopOfTheTakeoverIsUndoneFromItsSafetyArchive)
{
    const StoppedOperation op {
        "takeover",
        [](const QString& data, const QString& home) {
            return QStringList {QStringLiteral("takeover"), QStringLiteral("--data"), data, QStringLiteral("--year"),
                                QStringLiteral("2024"), QStringLiteral("--home"), home};
        },
        [](const QString&, const QString&) {},
        {QStringLiteral("rolled-back")},
    };
    const int stops = stopAtEveryChange(op);
    EXPECT_GT(stops, 50);
    std::printf("takeover: %d stop points\n", stops);
}

TEST(CliRecovery, EveryStopOfTheMergeIsUndoneFromItsSafetyArchive)
{
    // The register's own backup, merged back for its latest year, replacing every household.
    QString archive;
    const StoppedOperation op {
        "merge",
        [&](const QString& data, const QString& home) {
            return QStringList {QStringLiteral("merge"), QStringLiteral("--data"), data, QStringLiteral("--home"), home,
                                QStringLiteral("--year"), QStringLiteral("2023"), QStringLiteral("--archive"), archive,
                                QStringLiteral("--replace"), QStringLiteral("yes")};
        },
        [&](const QString& base, const QString& home) {
            archive = home + QStringLiteral("/source.kt");
            ASSERT_EQ(cli({QStringLiteral("backup"), QStringLiteral("--data"), base, archive}).status, 0);
        },
        {QStringLiteral("rolled-back")},
    };
    const int stops = stopAtEveryChange(op);
    EXPECT_GT(stops, 20);
    std::printf("merge: %d stop points\n", stops);
}

TEST(CliRecovery, StoppedRepairsAndDeletesAreRerunOrUndone)
{
    const StoppedOperation operations[] = {
        {"chapters",
         [](const QString& data, const QString&) {
             return QStringList {QStringLiteral("chapters"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2023")};
         },
         [](const QString& base, const QString&) {
             sql(base, QStringLiteral("DELETE FROM ") + table(base, "CAP5.dbf") + QStringLiteral(" WHERE ANUL=2023 AND RAND<4"));
         },
         {QStringLiteral("rerun")}},
        {"recalc",
         [](const QString& data, const QString&) {
             return QStringList {QStringLiteral("recalc"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2023")};
         },
         [](const QString& base, const QString&) {
             sql(base, QStringLiteral("UPDATE ") + table(base, "CAP2.dbf") + QStringLiteral(" SET AHA=AHA+7 WHERE ANUL=2023"));
         },
         {QStringLiteral("rerun")}},
        {"household-delete",
         [](const QString& data, const QString& home) {
             return QStringList {QStringLiteral("household-delete"), QStringLiteral("--data"), data, QStringLiteral("--year"),
                                 QStringLiteral("2023"), QStringLiteral("--codid"), QStringLiteral("5"),
                                 QStringLiteral("--renumber"), QStringLiteral("--home"), home};
         },
         [](const QString&, const QString&) {},
         {QStringLiteral("rolled-back")}},
    };
    for (const StoppedOperation& op : operations) {
        const int stops = stopAtEveryChange(op);
        EXPECT_GT(stops, 1) << op.name;
        std::printf("%s: %d stop points\n", op.name, stops);
    }
}

// The deletion of the households check 1 lists, stopped after each change.
TEST(CliRecovery, EveryStopOfTheCheckDeletionIsUndone)
{
    const StoppedOperation op {
        "household-delete",
        [](const QString& data, const QString& home) {
            return QStringList {QStringLiteral("check"), QStringLiteral("1"), QStringLiteral("--delete"), QStringLiteral("--data"), data,
                                QStringLiteral("--home"), home};
        },
        [](const QString& base, const QString&) {
            sql(base, QStringLiteral("UPDATE ") + table(base, "Identificare.dbf") + QStringLiteral(" SET POZ=0 WHERE ANUL=2023 AND POZ=1"));
        },
        {QStringLiteral("rolled-back")},
    };
    const int stops = stopAtEveryChange(op);
    EXPECT_GT(stops, 5);
    std::printf("check deletion: %d stop points\n", stops);
}

// A file the operation must change that cannot be written refuses it before its first change.
TEST(CliRecovery, AnUnwritableTableRefusesEveryOperationBeforeAnyChange)
{
    test::TempHome home;
    const QString data = home.home() + QStringLiteral("/base");
    demo(data);
    const QString archive = home.home() + QStringLiteral("/saved.kt");
    ASSERT_EQ(cli({QStringLiteral("backup"), QStringLiteral("--data"), data, archive}).status, 0);
    const QString locked = data + QStringLiteral("/CAP9.dbf");
    // root writes any file: an unchangeable one stands for it there.
    const bool root = ::geteuid() == 0;
    const auto protect = [&](bool on) {
        if (root) {
            QProcess chattr;
            chattr.start(QStringLiteral("chattr"), {on ? QStringLiteral("+i") : QStringLiteral("-i"), locked});
            return chattr.waitForFinished(10000) && chattr.exitCode() == 0;
        }
        return QFile::setPermissions(locked, on ? QFileDevice::ReadOwner : (QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    };
    if (!protect(true))
        GTEST_SKIP() << "the file system cannot make a file unchangeable";
    const Snapshot before = snapshot(data);
    const QStringList commands[] = {
        {QStringLiteral("takeover"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2024"),
         QStringLiteral("--home"), home.home() + QStringLiteral("/h")},
        {QStringLiteral("restore"), archive, QStringLiteral("--into"), data},
        {QStringLiteral("chapters"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2023")},
        {QStringLiteral("recalc"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2023")},
        {QStringLiteral("household-delete"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2023"),
         QStringLiteral("--codid"), QStringLiteral("5"), QStringLiteral("--home"), home.home() + QStringLiteral("/h")},
    };
    for (const QStringList& args : commands) {
        const test::CliRun r = cli(args);
        EXPECT_EQ(r.status, 1) << args.first().toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("Operatia nu poate incepe: fisierul"))
                    && r.err.contains(QStringLiteral("CAP9.dbf")))
            << args.first().toStdString() << ": " << r.err.toStdString();
        EXPECT_EQ(describe(snapshot(data), before), QString()) << args.first().toStdString();
    }
    EXPECT_TRUE(protect(false));
    // Nothing was saved beside the register either: no safety or temporary archive, no staging.
    QStringList beside = QDir(home.home()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    beside.removeAll(QStringLiteral("Data"));
    beside.removeAll(QStringLiteral("h"));
    EXPECT_EQ(beside, (QStringList {QStringLiteral("base"), QStringLiteral("saved.kt")}));
}

// A damaged chapter table stops the chapter repair before it completes anything.
TEST(CliRecovery, ADamagedTableStopsTheChapterRepairBeforeItsFirstChapter)
{
    test::TempHome home;
    const QString data = home.home() + QStringLiteral("/base");
    demo(data);
    sql(data, QStringLiteral("DELETE FROM ") + table(data, "CAP3.dbf") + QStringLiteral(" WHERE RAND=1"));
    {
        QFile cap7(data + QStringLiteral("/CAP7.dbf"));
        ASSERT_TRUE(cap7.open(QIODevice::ReadWrite));
        ASSERT_TRUE(cap7.seek(8));
        ASSERT_EQ(cap7.write("\xFF\x7F", 2), 2); // a header length past the end of the file
    }
    const Snapshot before = snapshot(data);
    const test::CliRun r = cli({QStringLiteral("chapters"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2023")});
    EXPECT_EQ(r.status, 1) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("CAP7.dbf"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Operatia nu poate incepe."))) << r.err.toStdString();
    EXPECT_EQ(r.out, QString());
    EXPECT_EQ(describe(snapshot(data), before), QString());
}

// A writing command waits for the lock of another running program and then refuses; a reading one
// works; the lock of a program that ended is taken over.
TEST(CliRecovery, AWritingCommandRefusesWhileAnotherProgramHoldsTheLock)
{
    test::TempHome home;
    const QString data = home.home() + QStringLiteral("/base");
    demo(data);
    const QString insert = QStringLiteral("INSERT INTO ") + table(data, "CAP5.dbf") + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2023, 99, 1, 1)");
    const QString count = QStringLiteral("SELECT COUNT(*) AS N FROM ") + table(data, "CAP5.dbf");
    const QString rowsBefore = cli({QStringLiteral("sql"), QStringLiteral("--data"), data, count}).out;

    qputenv("VELMOR_LOCK_WAIT_MS", "0");
    {
        // This test is the other program: its lock names a process that runs.
        DataDirectoryLock held(data);
        ASSERT_TRUE(held.tryLock());
        const Snapshot before = snapshot(data);
        const struct {
            QStringList args;
        } writers[] = {
            {{QStringLiteral("sql"), QStringLiteral("--data"), data, insert}},
            {{QStringLiteral("takeover"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2024"),
              QStringLiteral("--home"), home.home() + QStringLiteral("/h")}},
            {{QStringLiteral("chapters"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2023")}},
            {{QStringLiteral("recover"), QStringLiteral("--data"), data}},
        };
        const QString expected = QStringLiteral("Baza de date este folosita de %1 (%2) din ")
                                     .arg(DataDirectoryLock::computerName(), DataDirectoryLock::userName());
        for (const auto& w : writers) {
            const test::CliRun r = cli(w.args);
            EXPECT_EQ(r.status, 1) << w.args.first().toStdString();
            EXPECT_TRUE(r.err.startsWith(expected)) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(QRegularExpression(QStringLiteral("din \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d\\.\n$"))))
                << r.err.toStdString();
        }
        EXPECT_EQ(describe(snapshot(data), before), QString());
        EXPECT_EQ(cli({QStringLiteral("sql"), QStringLiteral("--data"), data, count}).out, rowsBefore);
    }
    qunsetenv("VELMOR_LOCK_WAIT_MS");

    // The lock of a process of this computer that ended is no obstacle.
    QProcess ended;
    ended.start(cliPath(), {QStringLiteral("home"), QStringLiteral("--home"), home.home() + QStringLiteral("/h")});
    ASSERT_TRUE(ended.waitForFinished(60000));
    const qint64 gone = ended.processId() > 0 ? ended.processId() : 999999;
    {
        QFile stale(data + QStringLiteral("/Velmor.lck"));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray::number(gone) + "\nvelmor-cli\n" + DataDirectoryLock::computerName().toUtf8() + "\n\n\n");
    }
    EXPECT_EQ(cli({QStringLiteral("sql"), QStringLiteral("--data"), data, insert}).status, 0);
    EXPECT_FALSE(QFileInfo::exists(data + QStringLiteral("/Velmor.lck")));
}

// Two programs appending to the same tables at once, without the directory lock: every row and
// every memo note lands, each note on its own row.
TEST(CliRecovery, TwoProgramsAppendingAtOnceLoseNoRowAndMixNoNote)
{
    test::TempHome home;
    const QString data = home.home() + QStringLiteral("/base");
    ASSERT_EQ(cli({QStringLiteral("create"), QStringLiteral("--data"), data}).status, 0);
    QProcess first;
    QProcess second;
    first.start(QStringLiteral(VELMOR_APPEND_HELPER_PATH), {data, QStringLiteral("1000"), QStringLiteral("200")});
    second.start(QStringLiteral(VELMOR_APPEND_HELPER_PATH), {data, QStringLiteral("2000"), QStringLiteral("200")});
    ASSERT_TRUE(first.waitForFinished(120000));
    ASSERT_TRUE(second.waitForFinished(120000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();

    engine::Engine engine(data);
    const engine::ResultSet plain = engine.select(QStringLiteral("SELECT CODID FROM ") + table(data, "CAP5.dbf"));
    const engine::ResultSet notes = engine.select(QStringLiteral("SELECT CODID, MENTIUNI FROM ") + table(data, "CAP11.dbf"));
    EXPECT_EQ(plain.rows.size(), 400u);
    EXPECT_EQ(notes.rows.size(), 400u);
    QSet<qint64> plainCodes;
    for (const auto& row : plain.rows)
        plainCodes.insert(whole(row[0]));
    QSet<qint64> noteCodes;
    int misplaced = 0;
    for (const auto& row : notes.rows) {
        const qint64 codid = whole(row[0]);
        noteCodes.insert(codid);
        if (text(row[1]) != QStringLiteral("nota %1").arg(codid))
            ++misplaced;
    }
    QSet<qint64> expected;
    for (qint64 i = 0; i < 200; ++i)
        expected << 1000 + i << 2000 + i;
    EXPECT_EQ(plainCodes, expected);
    EXPECT_EQ(noteCodes, expected);
    EXPECT_EQ(misplaced, 0);
}

}
