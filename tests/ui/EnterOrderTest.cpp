#include "UiTestUtil.h"

#include "ui/EnterOrder.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

using namespace velmor;

namespace {

// A window whose three fields follow each other on Enter.
class ThreeFields : public QWidget {
public:
    QLineEdit* a = new QLineEdit(this);
    QLineEdit* b = new QLineEdit(this);
    QLineEdit* c = new QLineEdit(this);
    int lastReached = 0;

    ThreeFields()
    {
        auto* layout = new QVBoxLayout(this);
        for (QLineEdit* field : {a, b, c}) {
            layout->addWidget(field);
            field->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return moveOnEnter(watched, event, {a, b, c}, [this] { ++lastReached; }) || QWidget::eventFilter(watched, event);
    }
};

void press(QWidget* target, int key)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
}

}

TEST(EnterOrder, EnterMovesOnAndTheLastFieldActs)
{
    ThreeFields window;
    ASSERT_TRUE(test::showAndFocus(window.a));
    press(window.a, Qt::Key_Return);
    EXPECT_TRUE(window.b->hasFocus());
    press(window.b, Qt::Key_Enter);
    EXPECT_TRUE(window.c->hasFocus());
    press(window.c, Qt::Key_Return);
    EXPECT_EQ(window.lastReached, 1);
    EXPECT_TRUE(window.c->hasFocus());
    // Other keys are the field's own.
    press(window.c, Qt::Key_Tab);
    EXPECT_EQ(window.lastReached, 1);
}
