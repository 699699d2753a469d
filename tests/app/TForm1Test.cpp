#include "app/TForm1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace velmor;

TEST(TForm1, SplashLayoutBeforeItShows)
{
    TForm1 splash;
    EXPECT_EQ(splash.size(), QSize(428, 201));
    const Qt::WindowFlags flags = splash.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(splash.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(splash.Label5()->text(), QStringLiteral("Incarcare date"));
    EXPECT_EQ(splash.Bar()->minimum(), 0);
    EXPECT_EQ(splash.Bar()->maximum(), 100);
    EXPECT_EQ(splash.Bar()->value(), 0);
    EXPECT_TRUE(splash.Bar()->isTextVisible());
    EXPECT_EQ(splash.Bar()->text(), QStringLiteral("0%"));
    EXPECT_FALSE(splash.Timer1()->isActive());
    EXPECT_EQ(splash.Timer1()->interval(), 1000);
}

TEST(TForm1, ShowingFillsTheVersionAndArmsTheTimer)
{
    TForm1 splash;
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash, 30000));
    EXPECT_EQ(splash.Label6()->text(), QStringLiteral("versiunea 3.18"));
    EXPECT_EQ(splash.Label7()->text(), QStringLiteral("versiunea 3.18"));
    EXPECT_TRUE(splash.Timer1()->isActive());
    const QRect desktop = splash.screen()->geometry();
    EXPECT_LE(std::abs(splash.geometry().center().x() - desktop.center().x()), 1);
    EXPECT_LE(std::abs(splash.geometry().center().y() - desktop.center().y()), 1);
}

TEST(TForm1, TimerRunsTheSequenceOnceAboutASecondLater)
{
    TForm1 splash;
    int runs = 0;
    splash.setStartupSequence([&] { ++runs; });
    QElapsedTimer clock;
    clock.start();
    splash.show();
    // Not before about a second, however slow the machine (a coarse timer may fire 5 % early).
    QTest::qWait(300);
    EXPECT_TRUE(runs == 0 || clock.elapsed() >= 900) << clock.elapsed();
    EXPECT_TRUE(QTest::qWaitFor([&] { return runs > 0; }, 30000));
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_FALSE(splash.Timer1()->isActive());
    QTest::qWait(1300);
    EXPECT_EQ(runs, 1);
}
