#include "UiTestUtil.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMenu>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include <gtest/gtest-spi.h>
#include <cstdio>
#include <gtest/gtest.h>

using velmor::test::isActiveModal;
using velmor::test::whenReady;

// An answer that leaves its window open: the window is closed, the test fails, nothing hangs.
TEST(WindowWatch, AWindowLeftOpenAfterItsAnswerIsClosedAndFails)
{
    QDialog dialog;
    bool answered = false;
    whenReady([&dialog] { return isActiveModal(&dialog); }, [&answered] { answered = true; }, 300,
              velmor::test::failAndCloseModal);
    EXPECT_NONFATAL_FAILURE(dialog.exec(), "still open");
    EXPECT_TRUE(answered);
    EXPECT_FALSE(dialog.isVisible());
}

// A window up that is not the one expected: given up on, closed, failed.
TEST(WindowWatch, AWindowThatNeverBecomesReadyIsGivenUpOn)
{
    QDialog dialog;
    bool answered = false;
    whenReady([] { return false; }, [&answered] { answered = true; }, 300, velmor::test::failAndCloseModal);
    EXPECT_NONFATAL_FAILURE(dialog.exec(), "did not come up");
    EXPECT_FALSE(answered);
    EXPECT_FALSE(dialog.isVisible());
}

// A test that ends before its window came up fails, and the pending answer never runs later.
TEST(WindowWatch, APendingAnswerEndsWithItsTest)
{
    bool answered = false;
    whenReady([] { return true; }, [&answered] { answered = true; }, velmor::test::failAndCloseModal);
    EXPECT_NONFATAL_FAILURE(velmor::test::endPendingAnswers(), "ended before the window");
    QTest::qWait(50);
    EXPECT_FALSE(answered);
}

// Nested modal windows and a popup over them are all closed, innermost first, and every loop returns.
TEST(WindowWatch, ClosingEndsNestedWindowsAndPopups)
{
    QDialog outer;
    QDialog inner(&outer);
    QMenu menu;
    menu.addAction(QStringLiteral("unu"));
    int closed = 0;
    bool innerReturned = false;
    QTimer::singleShot(0, &outer, [&] {
        QTimer::singleShot(0, &inner, [&] {
            QTimer::singleShot(0, &menu, [&] {
                QTimer::singleShot(100, [&] { closed = velmor::test::closeModalsAndPopups(); });
                menu.exec(QPoint(10, 10));
            });
            inner.exec();
            innerReturned = true;
        });
    });
    outer.exec();
    EXPECT_TRUE(innerReturned);
    EXPECT_EQ(closed, 3);
    EXPECT_FALSE(outer.isVisible());
    EXPECT_FALSE(inner.isVisible());
    EXPECT_FALSE(menu.isVisible());
}

// Run only by the next test, in a process of its own: a modal window nobody answers.
TEST(WindowWatch, DISABLED_UnansweredWindow)
{
    QDialog dialog;
    dialog.exec();
    std::fputs("the watchdog closed the window\n", stdout);
    std::fflush(stdout);
}

// The per-test watchdog fails a test past its limit and closes its window, so the process ends.
TEST(WindowWatch, TheWatchdogEndsAHungTest)
{
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VELMOR_TEST_LIMIT"), QStringLiteral("2"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    probe.setProcessEnvironment(env);
    probe.setProcessChannelMode(QProcess::MergedChannels);
    probe.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=WindowWatch.DISABLED_UnansweredWindow")});
    ASSERT_TRUE(probe.waitForFinished(velmor::test::windowWaitMs)) << "the hung test was not ended";
    const QString output = QString::fromUtf8(probe.readAll());
    EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(probe.exitCode(), 0);
    EXPECT_TRUE(output.contains(QStringLiteral("ran past its limit of 2 s"))) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("the watchdog closed the window"))) << output.toStdString();
}
