// `velmor-cli upgrade` over the two older generations of data directories: the rows and layouts it
// leaves (read back with the table reader alone), a second run that changes no byte, a current
// directory left alone, and the run stopped after each of its changes and started again.

#include "cli/CliRun.h"
#include "data/Schema.h"
#include "data/dbf/DbfTable.h"
#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <cmath>

#include <gtest/gtest.h>

using namespace velmor;
using test::cli;

namespace {

using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString& dir)
{
    Snapshot files;
    for (const QFileInfo& info : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (info.fileName() == QLatin1String("Velmor.lck"))
            continue;
        QFile f(info.absoluteFilePath());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << info.absoluteFilePath().toStdString();
        files.insert(info.fileName(), f.readAll());
    }
    return files;
}

QStringList differences(const Snapshot& a, const Snapshot& b)
{
    QStringList names;
    for (const QString& name : QSet<QString>(a.keyBegin(), a.keyEnd()) | QSet<QString>(b.keyBegin(), b.keyEnd())) {
        if (a.contains(name) != b.contains(name) || a.value(name) != b.value(name))
            names << name;
    }
    names.sort();
    return names;
}

QString valueText(const dbf::Value& v)
{
    if (const auto* s = std::get_if<QString>(&v))
        return *s;
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return QString::number(*i);
    if (const auto* d = std::get_if<double>(&v))
        return dbf::decimalText(*d, 6);
    if (const auto* date = std::get_if<QDate>(&v))
        return date->toString(QStringLiteral("yyyy-MM-dd"));
    return {};
}

QString layoutText(const QList<dbf::Field>& fields)
{
    QStringList columns;
    for (const dbf::Field& f : fields)
        columns << QStringLiteral("%1 %2(%3,%4)").arg(f.name).arg(QLatin1Char(f.type)).arg(f.width).arg(f.decimals);
    columns.sort();
    return columns.join(QLatin1Char(' '));
}

// Every live row of a table as "COLUMN=value" texts, sorted, and its layout: what two runs must
// agree on whatever the order of their rewrites.
QString tableContent(const QString& path)
{
    dbf::DbfTable t(path);
    QStringList rows;
    for (int r = 0; r < t.recordCount(); ++r) {
        if (t.isDeleted(r))
            continue;
        QStringList cells;
        for (int c = 0; c < t.fieldCount(); ++c)
            cells << t.fields()[c].name + QLatin1Char('=') + valueText(t.value(r, c));
        cells.sort();
        rows << cells.join(QLatin1Char('|'));
    }
    rows.sort();
    return layoutText(t.fields()) + QLatin1Char('\n') + rows.join(QLatin1Char('\n'));
}

QMap<QString, QString> registerContent(const QString& dir)
{
    QMap<QString, QString> tables;
    for (const QString& name : data::Schema::tableFileNames())
        tables.insert(name, tableContent(dbf::resolveFileName(dir + QLatin1Char('/') + name)));
    return tables;
}

// The layouts of tables made by the current creators.
QMap<QString, QString> currentLayouts()
{
    QTemporaryDir scratch;
    EXPECT_TRUE(scratch.isValid());
    ScriptedInteraction ui;
    engine::Engine engine(scratch.path());
    data::Schema schema(engine, scratch.path(), ui);
    schema.CreazaBaza();
    QMap<QString, QString> layouts;
    for (const QString& name : data::Schema::tableFileNames())
        layouts.insert(name, layoutText(dbf::DbfTable(dbf::resolveFileName(scratch.path() + QLatin1Char('/') + name)).fields()));
    return layouts;
}

bool matches(const dbf::Value& actual, const QJsonValue& expected)
{
    if (expected.isNull() || expected.isUndefined())
        return dbf::isNull(actual) || valueText(actual).isEmpty();
    if (expected.isDouble()) {
        double a = 0;
        if (const auto* i = std::get_if<std::int64_t>(&actual))
            a = double(*i);
        else if (const auto* d = std::get_if<double>(&actual))
            a = *d;
        else
            return false;
        return std::fabs(a - expected.toDouble()) < 1e-9;
    }
    if (expected.isString()) {
        if (expected.toString().isEmpty())
            return dbf::isNull(actual) || valueText(actual).isEmpty();
        return valueText(actual) == expected.toString();
    }
    return false;
}

// The rows of the expected file, each found once among the table's live rows; columns an
// expected row leaves out must be blank.
void expectRows(const QString& dir, const QString& table, const QJsonArray& expected)
{
    dbf::DbfTable t(dbf::resolveFileName(dir + QLatin1Char('/') + table + QStringLiteral(".dbf")));
    std::vector<int> live;
    for (int r = 0; r < t.recordCount(); ++r) {
        if (!t.isDeleted(r))
            live.push_back(r);
    }
    EXPECT_EQ(live.size(), size_t(expected.size())) << table.toStdString();
    std::vector<bool> used(live.size(), false);
    for (const QJsonValue& e : expected) {
        const QJsonObject row = e.toObject();
        bool found = false;
        for (size_t i = 0; i < live.size() && !found; ++i) {
            if (used[i])
                continue;
            bool all = true;
            for (int c = 0; c < t.fieldCount() && all; ++c) {
                const QString name = t.fields()[c].name;
                all = matches(t.value(live[i], c), row.value(name));
            }
            if (all) {
                used[i] = true;
                found = true;
            }
        }
        EXPECT_TRUE(found) << table.toStdString() << ": no row like "
                           << QJsonDocument(row).toJson(QJsonDocument::Compact).toStdString();
    }
}

QStringList outputSteps(const QString& out)
{
    QStringList lines = out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines;
}

qint64 changesOf(const QString& out)
{
    static const QRegularExpression changes(QStringLiteral("^#CHANGES\t(\\d+)$"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = changes.match(out);
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

QStringList archivesBeside(const QString& dataDir)
{
    return QDir(QFileInfo(dataDir).absolutePath()).entryList({QStringLiteral("UpGrade-*.kt")}, QDir::Files);
}

class UpgradeGeneration : public ::testing::TestWithParam<const char*> {};

}

TEST_P(UpgradeGeneration, ReachesTheCurrentRowsAndLayoutsAndASecondRunChangesNothing)
{
    const QString generation = QString::fromLatin1(GetParam());
    test::TempHome home;
    home.copyFixture(QStringLiteral("old-layouts/") + generation);
    const Snapshot before = snapshot(home.data());

    const test::CliRun first = cli({QStringLiteral("upgrade"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home()});
    ASSERT_EQ(first.status, 0) << first.err.toStdString() << first.out.toStdString();
    const QStringList lines = outputSteps(first.out);
    ASSERT_EQ(lines.size(), 21) << first.out.toStdString();
    EXPECT_EQ(lines.first(), QStringLiteral("STEP\tSTATUS\tDETAIL"));
    for (int i = 0; i < 19; ++i) {
        const QStringList cells = lines[i + 1].split(QLatin1Char('\t'));
        ASSERT_EQ(cells.size(), 3) << lines[i + 1].toStdString();
        EXPECT_EQ(cells[0], i == 0 ? QStringLiteral("R") : QString::number(i));
        EXPECT_NE(cells[1], QStringLiteral("failed")) << lines[i + 1].toStdString();
    }
    EXPECT_EQ(lines[19].split(QLatin1Char('\t')).value(1), QStringLiteral("applied")) << "step 18 closes the gate";
    EXPECT_GT(changesOf(first.out), 0);
    EXPECT_EQ(archivesBeside(home.data()).size(), 1);
    EXPECT_FALSE(QFileInfo::exists(home.dataFile(QStringLiteral("Velmor.op"))));

    // The layouts of the creators, the rows of the reference file.
    const QMap<QString, QString> layouts = currentLayouts();
    for (auto it = layouts.cbegin(); it != layouts.cend(); ++it) {
        EXPECT_EQ(layoutText(dbf::DbfTable(dbf::resolveFileName(home.data() + QLatin1Char('/') + it.key())).fields()), it.value())
            << it.key().toStdString();
    }
    QFile expectedFile(test::fixturePath(QStringLiteral("old-layouts/%1-expected.json").arg(generation)));
    ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly));
    const QJsonObject expected = QJsonDocument::fromJson(expectedFile.readAll()).object();
    ASSERT_FALSE(expected.isEmpty());
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it)
        expectRows(home.data(), it.key(), it.value().toArray());

    // The old files are in the safety archive; the second run finds nothing to do.
    EXPECT_NE(snapshot(home.data()), before);
    const Snapshot upgraded = snapshot(home.data());
    const test::CliRun second = cli({QStringLiteral("upgrade"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home()});
    ASSERT_EQ(second.status, 0) << second.err.toStdString();
    EXPECT_EQ(changesOf(second.out), 0) << second.out.toStdString();
    EXPECT_EQ(differences(upgraded, snapshot(home.data())), QStringList());
    EXPECT_EQ(archivesBeside(home.data()).size(), 1) << "a current directory gets no archive";
}

INSTANTIATE_TEST_SUITE_P(OldLayouts, UpgradeGeneration, ::testing::Values("gen-a", "gen-b"));

TEST(CliUpgrade, CurrentDirectoryIsOnlyLookedAt)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const Snapshot before = snapshot(home.data());
    const test::CliRun run = cli({QStringLiteral("upgrade"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home()});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    const QStringList lines = outputSteps(run.out);
    ASSERT_EQ(lines.size(), 21) << run.out.toStdString();
    for (int i = 1; i <= 19; ++i)
        EXPECT_EQ(lines[i].split(QLatin1Char('\t')).value(1), QStringLiteral("skipped")) << lines[i].toStdString();
    EXPECT_EQ(lines.last(), QStringLiteral("#CHANGES\t0"));
    EXPECT_EQ(differences(before, snapshot(home.data())), QStringList());
    EXPECT_TRUE(archivesBeside(home.data()).isEmpty());
}

TEST(CliUpgrade, MissingDirectoryIsRefused)
{
    test::TempHome home;
    const QString missing = home.home() + QStringLiteral("/nu-exista");
    const test::CliRun run = cli({QStringLiteral("upgrade"), QStringLiteral("--data"), missing, QStringLiteral("--home"), home.home()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("nu exista"))) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
}

// Stopped right after each change in turn, as by a power cut, and started again: every rerun
// ends with the tables of the run that was never stopped.
TEST(CliUpgrade, StoppedAfterEveryChangeTheNextRunFinishes)
{
    test::TempHome reference;
    reference.copyFixture(QStringLiteral("old-layouts/gen-a"));
    const test::CliRun whole = cli({QStringLiteral("upgrade"), QStringLiteral("--data"), reference.data(), QStringLiteral("--home"), reference.home()});
    ASSERT_EQ(whole.status, 0) << whole.err.toStdString();
    const qint64 total = changesOf(whole.out);
    ASSERT_GT(total, 10);
    const QMap<QString, QString> wanted = registerContent(reference.data());
    const QByteArray villages = snapshot(reference.data()).value(QStringLiteral("Sate.lst"));

    for (qint64 n = 1; n <= total; ++n) {
        SCOPED_TRACE(n);
        test::TempHome home;
        home.copyFixture(QStringLiteral("old-layouts/gen-a"));
        const QStringList args {QStringLiteral("upgrade"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home()};
        const test::CliRun stopped = cli(args + QStringList {QStringLiteral("--fail-after"), QString::number(n)});
        ASSERT_EQ(stopped.status, 3) << stopped.err.toStdString();
        const test::CliRun rerun = cli(args);
        ASSERT_EQ(rerun.status, 0) << rerun.err.toStdString() << rerun.out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(home.dataFile(QStringLiteral("Velmor.op"))));
        const QMap<QString, QString> got = registerContent(home.data());
        for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
            EXPECT_EQ(got.value(it.key()).toStdString(), it.value().toStdString()) << it.key().toStdString();
        EXPECT_EQ(snapshot(home.data()).value(QStringLiteral("Sate.lst")), villages);
        // One archive: that of the first run, made before its first change.
        EXPECT_LE(archivesBeside(home.data()).size(), 2);
        const test::CliRun third = cli(args);
        EXPECT_EQ(changesOf(third.out), 0) << third.out.toStdString();
    }
}

TEST(CliUpgrade, AFailedStepIsReportedWithItsTableAndTheGateStaysOpen)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("old-layouts/gen-a"));
    const QString cap7 = home.dataFile(QStringLiteral("CAP7.dbf"));
    const test::CliRun raise = cli({QStringLiteral("sql"), QStringLiteral("--data"), home.data(),
                                    QStringLiteral("UPDATE \"%1\" SET RAND=150 WHERE RAND=30").arg(cap7)});
    ASSERT_EQ(raise.status, 0) << raise.err.toStdString();
    const QStringList args {QStringLiteral("upgrade"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home()};
    const test::CliRun run = cli(args);
    EXPECT_EQ(run.status, 1);
    const QStringList lines = outputSteps(run.out);
    ASSERT_EQ(lines.size(), 21) << run.out.toStdString();
    EXPECT_TRUE(lines[10].startsWith(QStringLiteral("9\tfailed\tCAP7: "))) << lines[10].toStdString();
    EXPECT_TRUE(lines[19].startsWith(QStringLiteral("18\tskipped\t"))) << lines[19].toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Pasul 9 (CAP7)"))) << run.err.toStdString();
    // The next run tries step 9 again and finds the rest done.
    const test::CliRun again = cli(args);
    EXPECT_EQ(again.status, 1);
    const QStringList next = outputSteps(again.out);
    ASSERT_EQ(next.size(), 21);
    EXPECT_TRUE(next[10].startsWith(QStringLiteral("9\tfailed\t")));
    EXPECT_TRUE(next[12].startsWith(QStringLiteral("11\tskipped"))) << next[12].toStdString();
}

// Households without any village column: the council's locality joins the village list once,
// also when a run is stopped after any of its changes.
TEST(CliUpgrade, TheCouncilsLocalityJoinsTheVillageListOnce)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("old-layouts/gen-a"));
    const test::CliRun drop = cli({QStringLiteral("sql"), QStringLiteral("--data"), home.data(),
                                   QStringLiteral("ALTER TABLE \"%1\" DROP SATUL").arg(home.dataFile(QStringLiteral("Identificare.dbf")))});
    ASSERT_EQ(drop.status, 0) << drop.err.toStdString();
    const QStringList args {QStringLiteral("upgrade"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home()};
    const test::CliRun whole = cli(args);
    ASSERT_EQ(whole.status, 0) << whole.err.toStdString();
    QFile list(home.dataFile(QStringLiteral("Sate.lst")));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QByteArray villages = list.readAll();
    EXPECT_EQ(villages, QByteArray("SAT NOU\r\nDEALU MARE\r\nVALEA LUNGA\r\nT\xC2RGU VECHI\r\n"));
    // Stopped right after each change in turn, then run again.
    const qint64 total = changesOf(whole.out);
    ASSERT_GT(total, 10);
    for (qint64 n = 1; n <= total; ++n) {
        SCOPED_TRACE(n);
        test::TempHome again;
        again.copyFixture(QStringLiteral("old-layouts/gen-a"));
        ASSERT_EQ(cli({QStringLiteral("sql"), QStringLiteral("--data"), again.data(),
                       QStringLiteral("ALTER TABLE \"%1\" DROP SATUL").arg(again.dataFile(QStringLiteral("Identificare.dbf")))})
                      .status,
                  0);
        const QStringList a {QStringLiteral("upgrade"), QStringLiteral("--data"), again.data(), QStringLiteral("--home"), again.home()};
        const test::CliRun stopped = cli(a + QStringList {QStringLiteral("--fail-after"), QString::number(n)});
        EXPECT_EQ(stopped.status, 3);
        ASSERT_EQ(cli(a).status, 0);
        QFile f(again.dataFile(QStringLiteral("Sate.lst")));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), villages);
    }
}
