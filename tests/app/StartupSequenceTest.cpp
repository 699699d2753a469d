#include "StartupTestUtil.h"

#include "app/StartupSequence.h"
#include "domain/TextCase.h"
#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "services/IniFile.h"
#include "services/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace velmor;
using namespace velmor::test;

namespace {

QString iniValue(const QString& dataDir, const QString& section, const QString& key)
{
    return IniFile(dataDir + QStringLiteral("/Velmor.ini")).value(section, key);
}

QString chapterPath(const QString& dir, int n)
{
    return tableOf(dir, QStringLiteral("CAP%1.dbf").arg(n));
}

// Rows of CAP2 written for the clean-up cases: one good, one of 2004, one without year, one
// without household.
void writeOldRows(const QString& dir)
{
    const QString cap2 = chapterPath(dir, 2);
    runSql(dir, QStringLiteral("INSERT INTO %1 (ANUL, CODID, RAND, CATEG) VALUES (2010, 5, 1, \"bun\")").arg(cap2));
    runSql(dir, QStringLiteral("INSERT INTO %1 (ANUL, CODID, RAND, CATEG) VALUES (2004, 6, 1, \"vechi\")").arg(cap2));
    runSql(dir, QStringLiteral("INSERT INTO %1 (CODID, RAND, CATEG) VALUES (7, 1, \"fara an\")").arg(cap2));
    runSql(dir, QStringLiteral("INSERT INTO %1 (ANUL, RAND, CATEG) VALUES (2010, 1, \"fara cod\")").arg(cap2));
    // The household table is not cleaned.
    runSql(dir, QStringLiteral("INSERT INTO %1 (ANUL, CODID, POZ, VOLUM) VALUES (2004, 6, 1, 1)")
                    .arg(tableOf(dir, QStringLiteral("Identificare.dbf"))));
}

}

TEST(StartupSequence, FirstStartCreatesTheLocalDataDirectoryAndAllTables)
{
    StartupEnv env;
    StartupSequence sequence(env.ctx, env.home);
    const auto result = sequence.run();

    EXPECT_EQ(result.outcome, StartupSequence::Outcome::HandOver);
    EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    EXPECT_TRUE(env.ui.messages().empty());
    EXPECT_TRUE(env.ctx.localDataMode);
    EXPECT_EQ(env.ctx.programDirectory, env.home);
    EXPECT_EQ(env.ctx.dataDirectory, env.localData());
    EXPECT_EQ(env.ctx.windowsDirectory, QDir::tempPath());
    EXPECT_TRUE(QFileInfo(env.localData()).isDir());
    for (const QString& name : data::Schema::tableFileNames())
        EXPECT_TRUE(QFileInfo::exists(env.localData() + QLatin1Char('/') + name)) << name.toStdString();
    EXPECT_TRUE(data::Schema::ExistaBaza(env.localData()));

    // Maximum 0 plus 2.
    EXPECT_EQ(iniValue(env.localData(), QStringLiteral("INDEX"), QStringLiteral("CODID")), QStringLiteral("2"));
    EXPECT_EQ(iniValue(env.localData(), QStringLiteral("INDEX"), QStringLiteral("COD1")), QStringLiteral("2"));
    EXPECT_EQ(iniValue(env.localData(), QStringLiteral("INDEX"), QStringLiteral("CODT")), QStringLiteral("2"));
    // BIFCAP2 absent: unchecked, "NU" written.
    EXPECT_EQ(iniValue(env.localData(), QStringLiteral("CONST"), QStringLiteral("BIFCAP2")), QStringLiteral("NU"));

    EXPECT_EQ(env.registry->Citeste_Reg(QStringLiteral("CALE")), QDir::toNativeSeparators(env.home));
    EXPECT_EQ(env.registry->Citeste_Reg(QStringLiteral("VER")), QStringLiteral("VELMOR 3.18"));
    EXPECT_EQ(sequence.barPosition(), 100);
    EXPECT_FALSE(env.ctx.unlocked());
    ASSERT_NE(env.ctx.engine, nullptr);
    ASSERT_NE(env.ctx.settings, nullptr);
    EXPECT_EQ(env.ctx.settings->dataDir(), env.localData());
}

TEST(StartupSequence, StatusTextsAndBarAdvancesComeInOrder)
{
    StartupEnv env;
    QStringList statuses;
    std::vector<int> bars;
    StartupSequence::Hooks hooks;
    hooks.setStatus = [&](const QString& text) { statuses << text; };
    hooks.setBar = [&](int position) { bars.push_back(position); };
    StartupSequence sequence(env.ctx, env.home, hooks);
    sequence.run();

    EXPECT_EQ(statuses, (QStringList {QStringLiteral("UpGrade ..."), QStringLiteral("Pregatesc baza ..."),
                                      QStringLiteral("Refac bazele de date ...")}));
    const std::vector<int> expected {5, 10, 15, 25, 35, 45, 55, 65, 75, 81, 87, 93, 97, 100, 100};
    EXPECT_EQ(bars, expected);
}

TEST(StartupSequence, ReindexTableOrderAndAdvancesAddUpTo105)
{
    const auto& steps = StartupSequence::reindexSteps();
    ASSERT_EQ(steps.size(), 15u);
    QStringList order;
    int sum = 0;
    for (const auto& step : steps) {
        order << step.table;
        sum += step.advance;
    }
    EXPECT_EQ(order.join(QLatin1Char(',')),
              QStringLiteral("Identificare.dbf,CAP1.dbf,CAP11.dbf,CAP2.dbf,CAP3.dbf,CAP4.dbf,CAP5.dbf,CAP6.dbf,"
                             "CAP7.dbf,CAP8.dbf,CAP9.dbf,CAP10.dbf,Tarlale.dbf,OmTarla.dbf,PozeTarla.dbf"));
    EXPECT_EQ(sum, 105);
    EXPECT_TRUE(steps[1].columns.isEmpty());
    EXPECT_EQ(steps[14].columns, (QStringList {QStringLiteral("ANUL"), QStringLiteral("CODT")}));
}

TEST(StartupSequence, CaleDateNamingTheLocalDirectoryInAnotherCaseIsErased)
{
    StartupEnv env;
    QString other = env.home + QStringLiteral("/dAtA");
    env.registry->Scrie_Reg(QStringLiteral("CaleDate"), QDir::toNativeSeparators(other));
    StartupSequence sequence(env.ctx, env.home);
    sequence.run();

    EXPECT_TRUE(env.ctx.localDataMode);
    EXPECT_EQ(env.ctx.dataDirectory, env.localData());
    EXPECT_TRUE(env.ui.messages().empty());
    EXPECT_TRUE(env.registry->Citeste_Reg(QStringLiteral("CaleDate")).isEmpty());
    // Erased means written back as the empty value.
    QSettings raw(env.registryPath, QSettings::IniFormat);
    EXPECT_TRUE(raw.contains(QStringLiteral("CaleDate")));
}

TEST(StartupSequence, CaleDateToAnIncompleteDirectoryWarnsAndWorksLocally)
{
    StartupEnv env;
    const QString network = env.makeDir(QStringLiteral("net"));
    createRegister(network);
    QFile::remove(network + QStringLiteral("/OmTarla.dbf"));
    env.registry->Scrie_Reg(QStringLiteral("CaleDate"), network);

    StartupSequence sequence(env.ctx, env.home);
    const auto result = sequence.run();

    EXPECT_EQ(result.outcome, StartupSequence::Outcome::HandOver);
    ASSERT_EQ(env.ui.messages().size(), 1u);
    const auto& message = env.ui.messages().front();
    EXPECT_EQ(message.title, QStringLiteral("Conectare baza de date"));
    EXPECT_EQ(message.text, QStringLiteral("Baza de date ") + network + QStringLiteral(" nu este accesibila!\rVom lucra local!"));
    EXPECT_EQ(message.kind, 1);
    EXPECT_EQ(message.buttons, 4);
    EXPECT_TRUE(env.ctx.localDataMode);
    EXPECT_EQ(env.ctx.dataDirectory, env.localData());
    // The registry value stays for the next start.
    EXPECT_EQ(env.registry->Citeste_Reg(QStringLiteral("CaleDate")), network);
    EXPECT_TRUE(data::Schema::ExistaBaza(env.localData()));
    EXPECT_FALSE(QFileInfo::exists(network + QStringLiteral("/OmTarla.dbf")));
}

TEST(StartupSequence, MissingNetworkDirectoryWarnsAndWorksLocally)
{
    StartupEnv env;
    const QString missing = env.dir.path() + QStringLiteral("/nowhere");
    env.registry->Scrie_Reg(QStringLiteral("CaleDate"), missing);
    StartupSequence sequence(env.ctx, env.home);
    sequence.run();
    EXPECT_TRUE(env.ctx.localDataMode);
    EXPECT_TRUE(env.ui.hasMessage(QStringLiteral("Conectare baza de date"),
                                  QStringLiteral("Baza de date ") + missing + QStringLiteral(" nu este accesibila!\rVom lucra local!")));
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST(StartupSequence, OldRowsAreRemovedInLocalMode)
{
    StartupEnv env;
    QDir().mkpath(env.localData());
    createRegister(env.localData());
    writeOldRows(env.localData());

    StartupSequence sequence(env.ctx, env.home);
    sequence.run();

    const QString cap2 = chapterPath(env.localData(), 2);
    EXPECT_EQ(selectRows(env.localData(), QStringLiteral("SELECT CATEG FROM %1").arg(cap2)),
              QStringList {QStringLiteral("bun")});
    // The deleted rows were packed away.
    EXPECT_EQ(headerRecordCount(env.localData() + QStringLiteral("/CAP2.dbf")), 1);
    // Identificare is not cleaned.
    EXPECT_EQ(selectRows(env.localData(), QStringLiteral("SELECT ANUL FROM %1")
                                              .arg(tableOf(env.localData(), QStringLiteral("Identificare.dbf")))),
              QStringList {QStringLiteral("2004")});
}

TEST(StartupSequence, NetworkDirectoryIsUsedUnchanged)
{
    StartupEnv env;
    const QString network = env.makeDir(QStringLiteral("net"));
    createRegister(network);
    writeOldRows(network);
    IniFile(network + QStringLiteral("/Velmor.ini")).setValue(QStringLiteral("INDEX"), QStringLiteral("CODID"), QStringLiteral("77"));
    env.registry->Scrie_Reg(QStringLiteral("CaleDate"), network + QLatin1Char('/'));

    bool upgraded = false;
    StartupSequence::Hooks hooks;
    hooks.upgrade = [&] { upgraded = true; };
    StartupSequence sequence(env.ctx, env.home, hooks);
    const auto result = sequence.run();

    EXPECT_EQ(result.outcome, StartupSequence::Outcome::HandOver);
    EXPECT_TRUE(env.ui.messages().empty());
    EXPECT_FALSE(env.ctx.localDataMode);
    EXPECT_EQ(env.ctx.dataDirectory, network);
    EXPECT_FALSE(upgraded);
    // Rows, counters and the home stay as they were.
    EXPECT_EQ(selectRows(network, QStringLiteral("SELECT CATEG FROM %1").arg(chapterPath(network, 2))).size(), 4);
    EXPECT_EQ(headerRecordCount(network + QStringLiteral("/CAP2.dbf")), 4);
    EXPECT_EQ(iniValue(network, QStringLiteral("INDEX"), QStringLiteral("CODID")), QStringLiteral("77"));
    EXPECT_FALSE(QFileInfo::exists(env.localData()));
    EXPECT_EQ(sequence.barPosition(), 0);
    // The square-metre setting is still read and written back.
    EXPECT_EQ(iniValue(network, QStringLiteral("CONST"), QStringLiteral("BIFCAP2")), QStringLiteral("NU"));
}

TEST(StartupSequence, CountersFollowTheHighestIdentifiers)
{
    StartupEnv env;
    QDir().mkpath(env.localData());
    createRegister(env.localData());
    const QString dir = env.localData();
    runSql(dir, QStringLiteral("INSERT INTO %1 (ANUL, CODID) VALUES (2010, 41)").arg(tableOf(dir, QStringLiteral("Identificare.dbf"))));
    runSql(dir, QStringLiteral("INSERT INTO %1 (ANUL, CODID) VALUES (2010, 9)").arg(tableOf(dir, QStringLiteral("Identificare.dbf"))));
    runSql(dir, QStringLiteral("INSERT INTO %1 (ANUL, CODID, COD1) VALUES (2010, 41, 300)").arg(tableOf(dir, QStringLiteral("CAP1.dbf"))));
    runSql(dir, QStringLiteral("INSERT INTO %1 (ANUL, CODID, CODT) VALUES (2010, 41, 12)").arg(tableOf(dir, QStringLiteral("Tarlale.dbf"))));
    IniFile(dir + QStringLiteral("/Velmor.ini")).setValue(QStringLiteral("INDEX"), QStringLiteral("CODID"), QStringLiteral("5"));

    StartupSequence sequence(env.ctx, env.home);
    sequence.run();

    EXPECT_EQ(iniValue(dir, QStringLiteral("INDEX"), QStringLiteral("CODID")), QStringLiteral("43"));
    EXPECT_EQ(iniValue(dir, QStringLiteral("INDEX"), QStringLiteral("COD1")), QStringLiteral("302"));
    EXPECT_EQ(iniValue(dir, QStringLiteral("INDEX"), QStringLiteral("CODT")), QStringLiteral("14"));
}

TEST(StartupSequence, SquareMetreSettingIsReadAndWrittenBack)
{
    StartupEnv env;
    QDir().mkpath(env.localData());
    IniFile(env.localData() + QStringLiteral("/Velmor.ini")).setValue(QStringLiteral("CONST"), QStringLiteral("BIFCAP2"), QStringLiteral("DA"));
    std::vector<bool> applied;
    StartupSequence::Hooks hooks;
    hooks.applySquareMetres = [&](bool on) { applied.push_back(on); };
    {
        // The first run ends (and lets the data directory's lock go) before the second starts.
        StartupSequence sequence(env.ctx, env.home, hooks);
        sequence.run();
    }
    EXPECT_EQ(applied, std::vector<bool> {true});
    EXPECT_EQ(iniValue(env.localData(), QStringLiteral("CONST"), QStringLiteral("BIFCAP2")), QStringLiteral("DA"));

    // Any other value counts as unchecked and becomes "NU".
    IniFile(env.localData() + QStringLiteral("/Velmor.ini")).setValue(QStringLiteral("CONST"), QStringLiteral("BIFCAP2"), QStringLiteral("da"));
    StartupEnv again;
    again.home = env.home;
    StartupSequence second(again.ctx, again.home, hooks);
    second.run();
    EXPECT_EQ(applied, (std::vector<bool> {true, false}));
    EXPECT_EQ(iniValue(env.localData(), QStringLiteral("CONST"), QStringLiteral("BIFCAP2")), QStringLiteral("NU"));
}

TEST(StartupSequence, HooksRunInTheirStepsOrder)
{
    StartupEnv env;
    QStringList calls;
    StartupSequence::Hooks hooks;
    hooks.showDataPath = [&] { calls << QStringLiteral("dataPath"); };
    hooks.setMainCaption = [&] { calls << QStringLiteral("caption"); };
    hooks.loadConstants = [&] {
        calls << QStringLiteral("constants");
        // The tables exist by now.
        EXPECT_TRUE(data::Schema::ExistaBaza(env.ctx.dataDirectory));
    };
    hooks.loadTariffs = [&] { calls << QStringLiteral("tariffs"); };
    hooks.setStatus = [&](const QString& text) { calls << text; };
    hooks.upgrade = [&] { calls << QStringLiteral("upgrade"); };
    hooks.loadPlotLists = [&] { calls << QStringLiteral("plots"); };
    hooks.applySquareMetres = [&](bool) { calls << QStringLiteral("squareMetres"); };
    StartupSequence sequence(env.ctx, env.home, hooks);
    sequence.run();
    EXPECT_EQ(calls, (QStringList {QStringLiteral("dataPath"), QStringLiteral("caption"), QStringLiteral("constants"),
                                   QStringLiteral("tariffs"), QStringLiteral("UpGrade ..."), QStringLiteral("upgrade"),
                                   QStringLiteral("plots"), QStringLiteral("squareMetres"),
                                   QStringLiteral("Pregatesc baza ..."), QStringLiteral("Refac bazele de date ...")}));
}

TEST(StartupSequence, UpgradeErrorsAreSwallowed)
{
    StartupEnv env;
    StartupSequence::Hooks hooks;
    hooks.upgrade = [] { throw std::runtime_error("upgrade failed"); };
    StartupSequence sequence(env.ctx, env.home, hooks);
    const auto result = sequence.run();
    EXPECT_EQ(result.outcome, StartupSequence::Outcome::HandOver);
    EXPECT_TRUE(result.error.isEmpty());
    EXPECT_TRUE(env.ui.messages().empty());
    // The counters after the upgrade still ran.
    EXPECT_EQ(iniValue(env.localData(), QStringLiteral("INDEX"), QStringLiteral("CODID")), QStringLiteral("2"));
    EXPECT_EQ(sequence.barPosition(), 100);
}

TEST(StartupSequence, AnErrorWhilePreparingIsShownAndTheMainWindowStillOpens)
{
    StartupEnv env;
    StartupSequence::Hooks hooks;
    bool plots = false;
    hooks.loadConstants = [] { throw std::runtime_error("Sate.lst nu poate fi citit"); };
    hooks.loadPlotLists = [&] { plots = true; };
    StartupSequence sequence(env.ctx, env.home, hooks);
    const auto result = sequence.run();

    EXPECT_EQ(result.outcome, StartupSequence::Outcome::HandOver);
    EXPECT_EQ(result.error, QStringLiteral("Sate.lst nu poate fi citit"));
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Eroare"));
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("Sate.lst nu poate fi citit"));
    EXPECT_EQ(env.ui.lastMessage().kind, 1);
    // The rest of the preparation was skipped.
    EXPECT_FALSE(plots);
    EXPECT_TRUE(iniValue(env.localData(), QStringLiteral("INDEX"), QStringLiteral("CODID")).isEmpty());
    EXPECT_EQ(sequence.barPosition(), 0);
}

TEST(StartupSequence, ADataDirectoryThatCannotBeCreatedEndsTheProgramWithAMessage)
{
    StartupEnv env;
    // The program home is a file: nothing can be created below it.
    const QString blocked = env.dir.path() + QStringLiteral("/file-home");
    QFile file(blocked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    StartupSequence sequence(env.ctx, blocked);
    const auto result = sequence.run();
    EXPECT_EQ(result.outcome, StartupSequence::Outcome::Terminate);
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.lastMessage().title, QStringLiteral("Eroare"));
    EXPECT_TRUE(env.ui.lastMessage().text.contains(QStringLiteral("Nu pot crea directorul")));
}

TEST(StartupSequence, LocalModeRemovesProductionIndexes)
{
    StartupEnv env;
    QDir().mkpath(env.localData());
    createRegister(env.localData());
    const QString cap5 = env.localData() + QStringLiteral("/CAP5.dbf");
    {
        QFile table(cap5);
        ASSERT_TRUE(table.open(QIODevice::ReadWrite));
        table.seek(28);
        table.write("\x01", 1);
    }
    QFile mdx(env.localData() + QStringLiteral("/CAP5.mdx"));
    ASSERT_TRUE(mdx.open(QIODevice::WriteOnly));
    mdx.write("index");
    mdx.close();

    StartupSequence sequence(env.ctx, env.home);
    sequence.run();

    QFile table(cap5);
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    EXPECT_EQ(table.read(29).at(28), '\0');
    EXPECT_FALSE(QFileInfo::exists(env.localData() + QStringLiteral("/CAP5.mdx")));
}

TEST(StartupSequence, TablesWithoutDeletedRowsAreNotRewritten)
{
    StartupEnv env;
    QDir().mkpath(env.localData());
    createRegister(env.localData());
    const QString dir = env.localData();
    for (int i = 0; i < 50; ++i) {
        runSql(dir, QStringLiteral("INSERT INTO %1 (ANUL, CODID, RAND, NR) VALUES (2020, %2, 1, 3)")
                        .arg(chapterPath(dir, 5))
                        .arg(i + 1));
    }
    writeOldRows(dir);
#ifndef Q_OS_UNIX
    GTEST_SKIP() << "file identity is read on Unix only";
#endif
    const quint64 cap5Before = fileIdentity(dir + QStringLiteral("/CAP5.dbf"));
    const quint64 cap2Before = fileIdentity(dir + QStringLiteral("/CAP2.dbf"));
    QFile before(dir + QStringLiteral("/CAP5.dbf"));
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytesBefore = before.readAll();
    before.close();

    StartupSequence sequence(env.ctx, env.home);
    sequence.run();

    // CAP5 had nothing to pack: same file, same bytes.
    EXPECT_EQ(fileIdentity(dir + QStringLiteral("/CAP5.dbf")), cap5Before);
    QFile after(dir + QStringLiteral("/CAP5.dbf"));
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytesBefore);
    // CAP2 lost three rows and was rewritten.
    EXPECT_NE(fileIdentity(dir + QStringLiteral("/CAP2.dbf")), cap2Before);
    EXPECT_EQ(headerRecordCount(dir + QStringLiteral("/CAP2.dbf")), 1);
}

TEST(StartupSequence, ComparablePathIgnoresSeparatorsTrailingSlashAndAsciiCase)
{
    EXPECT_EQ(comparablePath(QStringLiteral("/a/Home/data/")), comparablePath(QStringLiteral("/a/home/DATA")));
    EXPECT_EQ(comparablePath(QDir::toNativeSeparators(QStringLiteral("C:/Velmor/Data"))), QStringLiteral("C:/VELMOR/DATA"));
    EXPECT_NE(comparablePath(QStringLiteral("/a/home/data2")), comparablePath(QStringLiteral("/a/home/data")));
    // Only A to Z change case.
    EXPECT_EQ(upperAZ(QStringLiteral("ăbc")), QStringLiteral("ăBC"));
}
