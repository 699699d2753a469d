#include "admin/ui/TForm5.h"
#include "UiTestUtil.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::failAndCloseModal;
using velmor::test::whenReady;

namespace {

bool promptUp(TForm5& form)
{
    return velmor::test::isActiveModal(&form) && form.Edit1()->hasFocus();
}

}

TEST(TForm5, LooksAsDesigned)
{
    TForm5 form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("AUTENTIFICARE"));
    EXPECT_EQ(form.Edit1()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form.okButton()->toolTip(), QStringLiteral("Verifica Parola."));
    EXPECT_EQ(form.cancelButton()->toolTip(), QStringLiteral("Renunt la autentificare."));
    EXPECT_EQ(form.statusBar()->currentMessage(), QStringLiteral("ESC - Renunt"));
}

TEST(TForm5, EnterMovesToOkAndSecondEnterConfirms)
{
    TForm5 form;
    QString value = QStringLiteral("unchanged");
    bool enterKeptPromptOpen = false;
    whenReady(
        [&form] { return promptUp(form); },
        [&form, &enterKeptPromptOpen] {
            EXPECT_TRUE(form.Edit1()->text().isEmpty());
            QTest::keyClicks(form.Edit1(), QStringLiteral("tainic"));
            QTest::keyClick(form.Edit1(), Qt::Key_Return);
            enterKeptPromptOpen = form.isVisible() && form.okButton()->hasFocus();
            QTest::keyClick(form.okButton(), Qt::Key_Return);
        },
        failAndCloseModal);
    EXPECT_TRUE(form.InputQuery2(QStringLiteral("IDENTIFICARE ADMIN"), QStringLiteral("PAROLA :"), value));
    EXPECT_TRUE(enterKeptPromptOpen);
    EXPECT_EQ(value, QStringLiteral("tainic"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("IDENTIFICARE ADMIN"));
    EXPECT_EQ(form.Label1()->text(), QStringLiteral("PAROLA :"));
}

TEST(TForm5, EscapeCancelsAndLeavesTheValue)
{
    TForm5 form;
    QString value = QStringLiteral("unchanged");
    whenReady(
        [&form] { return promptUp(form); },
        [&form] {
            QTest::keyClicks(form.Edit1(), QStringLiteral("abc"));
            QTest::keyClick(form.Edit1(), Qt::Key_Escape);
        },
        failAndCloseModal);
    EXPECT_FALSE(form.InputQuery2(QStringLiteral("X"), QStringLiteral("Y"), value));
    EXPECT_EQ(value, QStringLiteral("unchanged"));
}

TEST(TForm5, FieldIsEmptiedOnEveryUse)
{
    TForm5 form;
    QString value;
    whenReady([&form] { return promptUp(form); },
              [&form] {
                  QTest::keyClicks(form.Edit1(), QStringLiteral("first"));
                  form.okButton()->click();
              },
              failAndCloseModal);
    ASSERT_TRUE(form.InputQuery2(QStringLiteral("A"), QStringLiteral("B"), value));
    whenReady([&form] { return promptUp(form); }, [&form] { form.okButton()->click(); }, failAndCloseModal);
    ASSERT_TRUE(form.InputQuery2(QStringLiteral("A"), QStringLiteral("B"), value));
    EXPECT_TRUE(value.isEmpty());
}
