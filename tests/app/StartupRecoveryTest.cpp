// The start-up's side of the data directory lock and of interrupted operations.

#include "StartupTestUtil.h"

#include "app/StartupSequence.h"
#include "core/Error.h"
#include "data/engine/Engine.h"
#include "services/Settings.h"
#include "services/DataDirectoryLock.h"
#include "services/OperationMarker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString& dir)
{
    Snapshot files;
    for (const QFileInfo& info : QDir(dir).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (info.fileName() == QLatin1String(DataDirectoryLock::FileName))
            continue;
        QFile f(info.absoluteFilePath());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        files.insert(info.fileName(), f.readAll());
    }
    return files;
}

QStringList tablesIn(const QString& dir)
{
    return QDir(dir).entryList({QStringLiteral("*.dbf")}, QDir::Files);
}

// The process number of a program of this computer that has ended.
qint64 endedProcess()
{
    QProcess p;
    p.start(QStringLiteral(VELMOR_CLI_PATH), {QStringLiteral("xls-cells")});
    EXPECT_TRUE(p.waitForStarted(60000));
    const qint64 pid = p.processId();
    EXPECT_TRUE(p.waitForFinished(60000));
    return pid;
}

int cli(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(VELMOR_CLI_PATH), arguments);
    EXPECT_TRUE(p.waitForFinished(120000));
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
}

TEST(StartupRecovery, ALockHeldByAnotherProgramOpensReadOnlyOrEndsTheProgram)
{
    for (const bool readOnly : {true, false}) {
        StartupEnv env;
        ASSERT_TRUE(QDir().mkpath(env.localData()));
        createRegister(env.localData());
        ASSERT_TRUE(QFile::remove(env.localData() + QStringLiteral("/CAP9.dbf")));
        QFile::remove(env.localData() + QStringLiteral("/Velmor.ini"));
        const QStringList tables = tablesIn(env.localData());
        DataDirectoryLock other(env.localData());
        ASSERT_TRUE(other.tryLock());
        const QString question = QStringLiteral("Baza de date este folosita de %1 (%2) din %3. Deschidem doar pentru consultare?")
                                     .arg(DataDirectoryLock::computerName(), DataDirectoryLock::userName(),
                                          other.holder().time.toString(QStringLiteral("dd.MM.yyyy hh:mm")));
        env.ui.pushMessageResult(readOnly ? ResultDa : ResultNu);
        StartupSequence sequence(env.ctx, env.home);
        const StartupSequence::Result result = sequence.run();

        ASSERT_FALSE(env.ui.messages().empty());
        EXPECT_EQ(env.ui.messages().front().text, question);
        // Nothing is written: no table is created, no setting written back.
        EXPECT_EQ(tablesIn(env.localData()), tables);
        EXPECT_FALSE(QFileInfo::exists(env.localData() + QStringLiteral("/Velmor.ini")));
        if (!readOnly) {
            EXPECT_EQ(result.outcome, StartupSequence::Outcome::Terminate);
            continue;
        }
        EXPECT_EQ(result.outcome, StartupSequence::Outcome::HandOver);
        EXPECT_TRUE(env.ctx.readOnly);
        env.ctx.setUnlocked(true);
        EXPECT_FALSE(env.ctx.unlocked());
        const QString insert = QStringLiteral("INSERT INTO %1 (ANUL, CODID) VALUES (2024, 1)")
                                   .arg(tableOf(env.localData(), QStringLiteral("Identificare.dbf")));
        try {
            env.ctx.engine->execute(insert);
            ADD_FAILURE() << "a read-only register took a row";
        } catch (const Error& e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("doar pentru consultare"))) << e.message().toStdString();
        }
        EXPECT_THROW(env.ctx.settings->Scrie_Ini(QStringLiteral("CONST"), QStringLiteral("X"), QStringLiteral("1")), Error);
        // The administrator takes the lock over after a second question; NU keeps it read-only.
        ASSERT_TRUE(env.ctx.takeOverLock);
        env.ui.pushNo();
        EXPECT_FALSE(env.ctx.takeOverLock());
        EXPECT_TRUE(env.ctx.readOnly);
        env.ui.pushYes();
        EXPECT_TRUE(env.ctx.takeOverLock());
        EXPECT_FALSE(env.ctx.readOnly);
        EXPECT_TRUE(sequence.lock()->isLocked());
        EXPECT_TRUE(env.ui.messages().back().text.endsWith(
            QStringLiteral("Preluati baza de date? Daca programul de acolo inca lucreaza, datele se pot strica.")));
        env.ctx.setUnlocked(true);
        EXPECT_TRUE(env.ctx.unlocked());
        EXPECT_EQ(env.ctx.engine->execute(insert), 1);
    }
}

TEST(StartupRecovery, AnInterruptedOperationIsMendedOrTheRegisterOpensReadOnly)
{
    for (const bool mend : {true, false}) {
        StartupEnv env;
        ASSERT_TRUE(QDir().mkpath(env.localData()));
        createRegister(env.localData());
        OperationMarker marker = OperationMarker::start(QString::fromLatin1(OperationMarker::Chapters));
        marker.process = endedProcess();
        marker.time = QDateTime(QDate(2024, 3, 5), QTime(9, 7));
        marker.values.insert(QStringLiteral("year"), QStringLiteral("2023"));
        marker.write(env.localData());
        env.ui.pushMessageResult(mend ? ResultDa : ResultNu);
        if (mend)
            env.ui.pushOk();
        StartupSequence sequence(env.ctx, env.home);
        EXPECT_EQ(sequence.run().outcome, StartupSequence::Outcome::HandOver);

        ASSERT_FALSE(env.ui.messages().empty());
        EXPECT_TRUE(env.ui.messages().front().text.startsWith(
            QStringLiteral("Operatia completare capitole din 05.03.2024 09:07 nu s-a terminat.\rOperatia va fi reluata.")))
            << env.ui.messages().front().text.toStdString();
        EXPECT_EQ(env.ctx.readOnly, !mend);
        EXPECT_EQ(QFileInfo::exists(OperationMarker::pathIn(env.localData())), !mend);
        if (mend)
            EXPECT_EQ(env.ui.messages()[1].text, QStringLiteral("Baza de date a fost reparata."));
    }
}

// A take-over stopped in the middle (as by a power cut) is put back from its safety archive by
// the next start, before the start creates or changes anything.
TEST(StartupRecovery, ATakeoverStoppedInTheMiddleIsUndoneByTheNextStart)
{
    StartupEnv env;
    ASSERT_EQ(cli({QStringLiteral("demo"), QStringLiteral("--data"), env.localData(), QStringLiteral("--households"),
                   QStringLiteral("3"), QStringLiteral("--years"), QStringLiteral("1"), QStringLiteral("--first-year"),
                   QStringLiteral("2022")}),
              0);
    const Snapshot before = snapshot(env.localData());
    ASSERT_EQ(cli({QStringLiteral("takeover"), QStringLiteral("--data"), env.localData(), QStringLiteral("--year"),
                   QStringLiteral("2023"), QStringLiteral("--home"), env.home, QStringLiteral("--fail-after"),
                   QStringLiteral("30")}),
              3);
    ASSERT_NE(snapshot(env.localData()), before);

    env.ui.pushYes().pushOk();
    StartupSequence sequence(env.ctx, env.home);
    sequence.connect();
    ASSERT_FALSE(env.ui.messages().empty());
    EXPECT_TRUE(env.ui.messages().front().text.startsWith(QStringLiteral("Operatia preluare an din ")));
    EXPECT_TRUE(env.ui.messages().front().text.contains(QStringLiteral("Datele vor fi readuse din salvarea ")));
    EXPECT_FALSE(env.ctx.readOnly);
    EXPECT_EQ(snapshot(env.localData()), before);
    EXPECT_FALSE(QFileInfo::exists(env.home + QStringLiteral("/tmp.dbf")));
}

}
