#include "ui/Balloon.h"
#include "UiTestUtil.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using velmor::ArataProblema;
using velmor::BalloonHint;

namespace {

struct Window {
    QWidget window;
    QLineEdit* first = nullptr;
    QLineEdit* second = nullptr;
    Window()
    {
        auto* layout = new QVBoxLayout(&window);
        first = new QLineEdit(&window);
        second = new QLineEdit(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        window.move(100, 100);
    }
};

}

TEST(Balloon, PointsAtTheControlAndKeepsTheFocus)
{
    Window w;
    ASSERT_TRUE(velmor::test::showAndFocus(w.first));
    ArataProblema(QStringLiteral("Nu ati trecut suprafata!"), w.second);

    BalloonHint* balloon = BalloonHint::shared();
    ASSERT_NE(balloon, nullptr);
    EXPECT_TRUE(balloon->isVisible());
    EXPECT_EQ(balloon->title(), QStringLiteral("Problema !"));
    EXPECT_EQ(balloon->text(), QStringLiteral("Nu ati trecut suprafata!"));
    EXPECT_EQ(balloon->tip(), w.second->mapToGlobal(QPoint(10, 10)));
    EXPECT_EQ(balloon->width(), 300);
    EXPECT_FALSE(balloon->pointsDown());
    // The balloon starts at the tip's height and stretches to its right.
    EXPECT_EQ(balloon->y(), balloon->tip().y());
    EXPECT_LE(balloon->x(), balloon->tip().x());
    EXPECT_GT(balloon->geometry().right(), balloon->tip().x());

    QTest::qWait(50);
    EXPECT_TRUE(w.first->hasFocus());
    EXPECT_EQ(QApplication::activeWindow(), &w.window);
    EXPECT_TRUE(balloon->timer().isActive());
    EXPECT_TRUE(balloon->timer().isSingleShot());
    EXPECT_EQ(balloon->timer().interval(), 5000);
}

TEST(Balloon, GoesAwayAfterFiveSeconds)
{
    Window w;
    ASSERT_TRUE(velmor::test::showAndFocus(w.first));
    QElapsedTimer clock;
    clock.start();
    ArataProblema(QStringLiteral("Nu ati ales ANUL !"), w.first);
    BalloonHint* balloon = BalloonHint::shared();
    ASSERT_TRUE(balloon->isVisible());
    // Gone, and not before its time (the timer is precise).
    EXPECT_TRUE(velmor::test::waitUntil([balloon] { return !balloon->isVisible(); }, velmor::test::windowWaitMs));
    EXPECT_GE(clock.elapsed(), 4900);
}

TEST(Balloon, ANewWarningReplacesTheOldOne)
{
    Window w;
    ASSERT_TRUE(velmor::test::showAndFocus(w.first));
    ArataProblema(QStringLiteral("unu"), w.first);
    BalloonHint* balloon = BalloonHint::shared();
    // Long enough that an old timer could not look restarted: it would have at most 3 s left.
    QTest::qWait(2000);
    ArataProblema(QStringLiteral("doi"), w.second);
    EXPECT_EQ(BalloonHint::shared(), balloon);
    EXPECT_EQ(balloon->text(), QStringLiteral("doi"));
    EXPECT_EQ(balloon->tip(), w.second->mapToGlobal(QPoint(10, 10)));
    EXPECT_GT(balloon->timer().remainingTime(), 3500);
}

TEST(Balloon, LongTextWrapsWithinTheWidth)
{
    BalloonHint balloon;
    const QString text = QStringLiteral("Nici o gospodarie nu respecta toate conditiile selectate ! ").repeated(4);
    balloon.showAt(QStringLiteral("Problema !"), text, QPoint(50, 50));
    EXPECT_EQ(balloon.width(), 300);
    EXPECT_GT(balloon.height(), 80);
    EXPECT_TRUE(balloon.isVisible());
    QTest::mouseClick(&balloon, Qt::LeftButton);
    EXPECT_FALSE(balloon.isVisible());
}

TEST(Balloon, NearTheBottomItPointsDown)
{
    BalloonHint balloon;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint tip(area.left() + 40, area.bottom() - 5);
    balloon.showAt(QStringLiteral("Problema !"), QStringLiteral("jos"), tip);
    EXPECT_TRUE(balloon.pointsDown());
    EXPECT_EQ(balloon.geometry().bottom() + 1, tip.y());
    EXPECT_LE(balloon.x(), tip.x());
}
