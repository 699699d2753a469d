// The start-up over data directories of older program versions: one start brings them to the
// current layouts, a failed step is told once, an upgrade stopped midway is finished.

#include "StartupTestUtil.h"

#include "app/StartupSequence.h"
#include "data/dbf/DbfTable.h"
#include "data/dbf/FileNames.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

void copyFixture(const QString& folder, const QString& target)
{
    ASSERT_TRUE(QDir().mkpath(target));
    const QDir source(fixturePath(folder));
    for (const QString& name : source.entryList(QDir::Files)) {
        ASSERT_TRUE(QFile::copy(source.filePath(name), target + QLatin1Char('/') + name)) << name.toStdString();
        QFile::setPermissions(target + QLatin1Char('/') + name, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

dbf::Field fieldOf(const QString& dir, const QString& table, const QString& column)
{
    dbf::DbfTable t(dbf::resolveFileName(dir + QLatin1Char('/') + table));
    const int i = t.fieldIndex(column);
    return i < 0 ? dbf::Field {} : t.fields()[i];
}

int cliStatus(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(VELMOR_CLI_PATH), arguments);
    EXPECT_TRUE(p.waitForFinished(120000));
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
}

void expectCurrent(const QString& dir)
{
    EXPECT_EQ(fieldOf(dir, QStringLiteral("Identificare.dbf"), QStringLiteral("NR2")).width, 32);
    EXPECT_EQ(fieldOf(dir, QStringLiteral("Identificare.dbf"), QStringLiteral("TIPRA")).type, 'N');
    EXPECT_EQ(fieldOf(dir, QStringLiteral("CAP1.dbf"), QStringLiteral("MENTIUNI")).type, 'C');
    EXPECT_EQ(fieldOf(dir, QStringLiteral("CAP1.dbf"), QStringLiteral("DATAN")).type, 'D');
    EXPECT_EQ(fieldOf(dir, QStringLiteral("CAP7.dbf"), QStringLiteral("RAND")).decimals, 1);
    EXPECT_EQ(fieldOf(dir, QStringLiteral("Tarlale.dbf"), QStringLiteral("CINELUC")).width, 40);
    EXPECT_TRUE(fieldOf(dir, QStringLiteral("CAP2.dbf"), QStringLiteral("LOCALIT")).name.isEmpty());
}

}

TEST(StartupUpgrade, OneStartBringsEachOlderGenerationToTheCurrentLayouts)
{
    for (const char* generation : {"gen-a", "gen-b"}) {
        SCOPED_TRACE(generation);
        StartupEnv env;
        copyFixture(QStringLiteral("old-layouts/") + QLatin1String(generation), env.localData());
        QStringList statuses;
        StartupSequence::Hooks hooks;
        hooks.setStatus = [&](const QString& text) { statuses << text; };
        StartupSequence sequence(env.ctx, env.home, hooks);
        const StartupSequence::Result result = sequence.run();
        EXPECT_EQ(result.outcome, StartupSequence::Outcome::HandOver);
        EXPECT_TRUE(result.error.isEmpty()) << result.error.toStdString();
        EXPECT_TRUE(env.ui.messages().empty()) << env.ui.messages().front().text.toStdString();
        expectCurrent(env.localData());
        EXPECT_EQ(QDir(env.home).entryList({QStringLiteral("UpGrade-*.kt")}, QDir::Files).size(), 1);
        EXPECT_FALSE(QFileInfo::exists(env.localData() + QStringLiteral("/Velmor.op")));
        EXPECT_EQ(statuses.contains(QStringLiteral("Actualizare baza de date la ver. 2.39")), QLatin1String(generation) == QLatin1String("gen-a"));
        EXPECT_EQ(statuses.last(), QStringLiteral("Refac bazele de date ..."));
    }
}

TEST(StartupUpgrade, AFailedStepIsToldOnceAndTheStartGoesOn)
{
    StartupEnv env;
    copyFixture(QStringLiteral("old-layouts/gen-a"), env.localData());
    runSql(env.localData(), QStringLiteral("UPDATE %1 SET RAND=150 WHERE RAND=30").arg(tableOf(env.localData(), QStringLiteral("CAP7.dbf"))));
    env.ui.pushOk().pushOk();
    StartupSequence sequence(env.ctx, env.home);
    const StartupSequence::Result result = sequence.run();
    EXPECT_EQ(result.outcome, StartupSequence::Outcome::HandOver);
    ASSERT_EQ(env.ui.messages().size(), 2u);
    EXPECT_EQ(env.ui.messages()[0].title, QStringLiteral("UpGrade Cap.7"));
    EXPECT_EQ(env.ui.messages()[1].title, QStringLiteral("UpGrade"));
    EXPECT_EQ(env.ui.messages()[1].kind, int(KindError));
    EXPECT_TRUE(env.ui.messages()[1].text.contains(QStringLiteral("Pasul 9 (CAP7)"))) << env.ui.messages()[1].text.toStdString();
    // Everything else was done; the gate stays open for the next start.
    EXPECT_EQ(fieldOf(env.localData(), QStringLiteral("Identificare.dbf"), QStringLiteral("TIPRA")).type, 'N');
    EXPECT_EQ(fieldOf(env.localData(), QStringLiteral("Identificare.dbf"), QStringLiteral("NR2")).width, 10);
    // The counters and the re-indexing still ran.
    EXPECT_EQ(sequence.barPosition(), 100);
}

TEST(StartupUpgrade, AnUpgradeStoppedMidwayIsFinishedByTheNextStart)
{
    StartupEnv env;
    copyFixture(QStringLiteral("old-layouts/gen-a"), env.localData());
    ASSERT_EQ(cliStatus({QStringLiteral("upgrade"), QStringLiteral("--data"), env.localData(), QStringLiteral("--home"), env.home,
                         QStringLiteral("--fail-after"), QStringLiteral("12")}),
              3);
    ASSERT_TRUE(QFileInfo::exists(env.localData() + QStringLiteral("/Velmor.op")));
    env.ui.pushYes().pushOk();
    StartupSequence sequence(env.ctx, env.home);
    const StartupSequence::Result result = sequence.run();
    EXPECT_EQ(result.outcome, StartupSequence::Outcome::HandOver);
    ASSERT_GE(env.ui.messages().size(), 2u);
    EXPECT_TRUE(env.ui.messages()[0].text.startsWith(QStringLiteral("Operatia actualizare baza de date din ")))
        << env.ui.messages()[0].text.toStdString();
    EXPECT_TRUE(env.ui.messages()[0].text.contains(QStringLiteral("Operatia va fi reluata.")));
    EXPECT_EQ(env.ui.messages()[1].text, QStringLiteral("Baza de date a fost reparata."));
    EXPECT_FALSE(env.ctx.readOnly);
    expectCurrent(env.localData());
    EXPECT_FALSE(QFileInfo::exists(env.localData() + QStringLiteral("/Velmor.op")));
}

TEST(StartupUpgrade, ALongNoteIsToldWithTheFileThatKeepsItWhole)
{
    StartupEnv env;
    copyFixture(QStringLiteral("old-layouts/gen-a"), env.localData());
    {
        dbf::DbfTable t(dbf::resolveFileName(env.localData() + QStringLiteral("/CAP1.dbf")));
        const int code = t.fieldIndex(QStringLiteral("COD1"));
        const int notes = t.fieldIndex(QStringLiteral("MENTIUNI"));
        for (int r = 0; r < t.recordCount(); ++r) {
            if (std::get<std::int64_t>(t.value(r, code)) == 106)
                t.update(r, {{notes, QString(QStringLiteral("nota lunga ")).repeated(30)}});
        }
    }
    env.ui.pushOk();
    StartupSequence sequence(env.ctx, env.home);
    sequence.run();
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_EQ(env.ui.messages()[0].title, QStringLiteral("UpGrade"));
    EXPECT_EQ(env.ui.messages()[0].kind, int(KindInformation));
    EXPECT_TRUE(env.ui.messages()[0].text.contains(QStringLiteral("membrilor 106"))) << env.ui.messages()[0].text.toStdString();
    EXPECT_TRUE(env.ui.messages()[0].text.contains(QStringLiteral("MentiuniLungi.txt")));
    EXPECT_TRUE(QFileInfo::exists(env.localData() + QStringLiteral("/MentiuniLungi.txt")));
    expectCurrent(env.localData());
}
