#include "ui/TContor.h"
#include "UiTestUtil.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using velmor::TContor;

TEST(TContor, Layout)
{
    TContor c;
    EXPECT_TRUE(c.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(c.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(c.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(c.Label1()->objectName(), QStringLiteral("Label1"));
    EXPECT_TRUE(c.Label1()->font().bold());
    EXPECT_EQ(c.Bar()->objectName(), QStringLiteral("Bar"));
    EXPECT_EQ(c.Bar()->maximum(), 100);
    EXPECT_TRUE(c.Bar()->isTextVisible());
    c.Bar()->setValue(25);
    EXPECT_EQ(c.Bar()->text(), QStringLiteral("25%"));
    c.Bar()->setMaximum(200);
    c.Bar()->setValue(50);
    EXPECT_EQ(c.Bar()->text(), QStringLiteral("25%"));
    EXPECT_FALSE(c.isVisible());
}

TEST(TContor, GradientWhiteAtCentreTealAtEdges)
{
    TContor c;
    const QImage image = c.grab().toImage();
    const QColor left = image.pixelColor(0, 2);
    const QColor right = image.pixelColor(image.width() - 1, 2);
    const QColor centre = image.pixelColor(image.width() / 2, 2);
    for (const QColor& edge : {left, right}) {
        EXPECT_LE(edge.red(), 4);
        EXPECT_NEAR(edge.green(), 0x59, 4);
        EXPECT_NEAR(edge.blue(), 0x59, 4);
    }
    EXPECT_GE(centre.red(), 0xF8);
    EXPECT_GE(centre.green(), 0xF8);
    EXPECT_GE(centre.blue(), 0xF8);
}

TEST(TContor, ArataDisablesTheFormAndDistrugeEnablesIt)
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* edit = new QLineEdit(&form);
    layout->addWidget(edit);
    ASSERT_TRUE(velmor::test::showAndFocus(edit));

    TContor c;
    c.Label1()->setText(QStringLiteral("Lucrez..."));
    c.Arata(&form);
    EXPECT_TRUE(c.isVisible());
    EXPECT_FALSE(form.isEnabled());
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_TRUE(form.testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(form.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(c.Label1()->text(), QStringLiteral("Lucrez..."));

    // Centred on the screen.
    const QRect area = c.screen()->availableGeometry();
    EXPECT_LE(std::abs(c.frameGeometry().center().x() - area.center().x()), 1);
    EXPECT_LE(std::abs(c.frameGeometry().center().y() - area.center().y()), 1);

    c.Bar()->setMaximum(10);
    c.Bar()->setValue(5);
    EXPECT_EQ(c.Bar()->text(), QStringLiteral("50%"));

    c.Distruge(&form);
    EXPECT_FALSE(c.isVisible());
    EXPECT_TRUE(form.isEnabled());
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_EQ(form.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(velmor::test::waitUntil([&form] { return form.isActiveWindow(); }));

    // Shown and hidden again: the same window, no new one.
    c.Arata(&form);
    EXPECT_TRUE(c.isVisible());
    c.Distruge(&form);
    EXPECT_FALSE(c.isVisible());
    EXPECT_TRUE(form.isEnabled());
}

TEST(TContor, WithoutAFormOnlyShowsAndHides)
{
    TContor c;
    c.Arata(nullptr);
    EXPECT_TRUE(c.isVisible());
    c.Distruge(nullptr);
    EXPECT_FALSE(c.isVisible());
}
