#include "ui/TCNPEdit.h"
#include "UiTestUtil.h"

#include <QClipboard>
#include <QSignalSpy>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// 1, 80, 01, 01, 2 2 1 1 4: valid with check digit 4 (male, born 1 January 1980).
const QString Valid = QStringLiteral("1800101221144");

class TCNPEditTest : public ::testing::Test {
protected:
    QWidget window;
    velmor::TCNPEdit* edit = nullptr;

    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        edit = new velmor::TCNPEdit(&window);
        layout->addWidget(edit);
        ASSERT_TRUE(velmor::test::showAndFocus(edit));
    }

    void type(const char* keys) { QTest::keyClicks(edit, QString::fromLatin1(keys)); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(edit, k, m); }
    void caretAt(int position)
    {
        edit->deselect();
        edit->setCursorPosition(position);
    }
    QString text() const { return edit->text(); }
};

}

TEST_F(TCNPEditTest, DigitsOnly)
{
    EXPECT_EQ(text(), QString());
    EXPECT_EQ(edit->maxLength(), 13);
    type("1a8-0.0 1");
    EXPECT_EQ(text(), QStringLiteral("18001"));
    EXPECT_EQ(edit->cursorPosition(), 5);
}

TEST_F(TCNPEditTest, KeypadDigits)
{
    for (Qt::Key k : {Qt::Key_1, Qt::Key_9, Qt::Key_0})
        key(k, Qt::KeypadModifier);
    EXPECT_EQ(text(), QStringLiteral("190"));
}

TEST_F(TCNPEditTest, AtMostThirteenDigits)
{
    type("18001012211449");
    EXPECT_EQ(text(), Valid);
    caretAt(0);
    type("7");
    EXPECT_EQ(text(), Valid);
    // With a selection, the selected digits make room.
    edit->setSelection(12, 1);
    type("5");
    EXPECT_EQ(text(), QStringLiteral("1800101221145"));
}

TEST_F(TCNPEditTest, DigitGoesInAtTheCaret)
{
    type("1801");
    caretAt(2);
    type("00");
    EXPECT_EQ(text(), QStringLiteral("180001"));
    EXPECT_EQ(edit->cursorPosition(), 4);
}

TEST_F(TCNPEditTest, ZeroTextIsEmptiedByADigit)
{
    edit->setText(QStringLiteral("0"));
    caretAt(1);
    type("2");
    EXPECT_EQ(text(), QStringLiteral("2"));
}

TEST_F(TCNPEditTest, TypingReplacesTheSelection)
{
    type("123456");
    edit->setSelection(1, 3);
    type("9");
    EXPECT_EQ(text(), QStringLiteral("1956"));
    EXPECT_EQ(edit->cursorPosition(), 2);
}

TEST_F(TCNPEditTest, Backspace)
{
    type("1234");
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("123"));
    caretAt(0);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("123"));
    caretAt(2);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("13"));
    EXPECT_EQ(edit->cursorPosition(), 1);
    edit->selectAll();
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QString());
}

TEST_F(TCNPEditTest, Delete)
{
    type("1234");
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), QStringLiteral("1234"));
    caretAt(0);
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), QStringLiteral("234"));
    EXPECT_EQ(edit->cursorPosition(), 0);
    edit->setSelection(1, 2);
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), QStringLiteral("2"));
    EXPECT_EQ(edit->cursorPosition(), 1);
}

TEST_F(TCNPEditTest, OtherEditingKeysDoNothing)
{
    type("12345");
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_K, Qt::ControlModifier);
    key(Qt::Key_U, Qt::ControlModifier);
    key(Qt::Key_Space);
    EXPECT_EQ(text(), QStringLiteral("12345"));
    key(Qt::Key_Home);
    EXPECT_EQ(edit->cursorPosition(), 0);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("1"));
}

TEST_F(TCNPEditTest, PasteKeepsDigitsOnly)
{
    QApplication::clipboard()->setText(QStringLiteral(" 180-0101 2211 44\n"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), Valid);
    EXPECT_EQ(edit->cursorPosition(), 13);

    // Only as many digits as fit.
    edit->setText(QStringLiteral("12345678901"));
    caretAt(5);
    QApplication::clipboard()->setText(QStringLiteral("abc987"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("1234598678901"));
    EXPECT_EQ(edit->cursorPosition(), 7);

    // A paste without digits changes nothing, not even the selection.
    edit->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("1234598678901"));

    // Over a selection.
    edit->setSelection(0, 13);
    edit->pasteText(QStringLiteral("2"));
    EXPECT_EQ(text(), QStringLiteral("2"));
}

TEST_F(TCNPEditTest, CutRemovesTheSelection)
{
    type("123456");
    edit->setSelection(2, 2);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("1256"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("34"));
}

TEST_F(TCNPEditTest, ReadOnlyTakesNothing)
{
    edit->setText(Valid);
    edit->setReadOnly(true);
    caretAt(5);
    type("1");
    key(Qt::Key_Backspace);
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), Valid);
}

TEST_F(TCNPEditTest, SignalsEditsLikeTyping)
{
    QSignalSpy edited(edit, &QLineEdit::textEdited);
    type("1x2");
    EXPECT_EQ(edited.count(), 2);
}

TEST_F(TCNPEditTest, ValidityFollowsTheCodeRules)
{
    edit->setText(Valid);
    EXPECT_TRUE(edit->GetCorect());
    EXPECT_EQ(edit->GetSex(), QStringLiteral("bărbătesc"));
    EXPECT_EQ(edit->GetNascutLa(), QDate(1980, 1, 1));
    for (int check = 0; check <= 9; ++check) {
        if (check == 4)
            continue;
        edit->setText(Valid.left(12) + QString::number(check));
        EXPECT_FALSE(edit->GetCorect()) << check;
    }
    edit->setText(QStringLiteral("2800230221144"));
    EXPECT_FALSE(edit->GetCorect());
    EXPECT_EQ(edit->GetSex(), QStringLiteral("femeiesc"));
    EXPECT_FALSE(edit->GetNascutLa().isValid());
}

TEST_F(TCNPEditTest, AcceptGol)
{
    EXPECT_FALSE(edit->AcceptGol());
    EXPECT_FALSE(edit->GetCorect());
    EXPECT_EQ(edit->GetSex(), QString());
    EXPECT_FALSE(edit->GetNascutLa().isValid());
    edit->setAcceptGol(true);
    EXPECT_TRUE(edit->GetCorect());
    EXPECT_TRUE(edit->property("AcceptGol").toBool());
}

TEST_F(TCNPEditTest, ForeignResidentCentury)
{
    // S = 7: validity reads 19YY, the birth date 20YY.
    const QString body = QStringLiteral("701020312345");
    QString code;
    for (int check = 0; check <= 9 && code.isEmpty(); ++check) {
        edit->setText(body + QString::number(check));
        if (edit->GetCorect())
            code = edit->text();
    }
    ASSERT_FALSE(code.isEmpty());
    EXPECT_EQ(edit->GetNascutLa(), QDate(2001, 2, 3));
    EXPECT_EQ(edit->GetSex(), QStringLiteral("bărbătesc"));
}
