#include "ui/TNumericF.h"
#include "UiTestUtil.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// Counts refusals instead of sounding them.
class Field : public velmor::TNumericF {
public:
    using TNumericF::TNumericF;
    int beeps = 0;

protected:
    void beep() override { ++beeps; }
};

class TNumericFTest : public ::testing::Test {
protected:
    QWidget window;
    QLineEdit* other = nullptr;
    Field* field = nullptr;

    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        other = new QLineEdit(&window);
        field = new Field(&window);
        layout->addWidget(other);
        layout->addWidget(field);
    }

    // Gives the field the focus as a user entering it would (whole text selected).
    void enter(int maskInt, int maskZec)
    {
        field->setMaskInt(maskInt);
        field->setMaskZec(maskZec);
        ASSERT_TRUE(velmor::test::showAndFocus(other));
        QTest::keyClick(other, Qt::Key_Tab);
        ASSERT_TRUE(field->hasFocus());
    }

    void type(const char* keys) { QTest::keyClicks(field, QString::fromLatin1(keys)); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(field, k, m); }
    void caretAt(int position)
    {
        field->deselect();
        field->setCursorPosition(position);
    }
    QString text() const { return field->text(); }
};

}

TEST_F(TNumericFTest, NewFieldShowsZeroRightAligned)
{
    EXPECT_EQ(text(), QStringLiteral("0"));
    EXPECT_TRUE(field->alignment() & Qt::AlignRight);
    EXPECT_EQ(field->MaskInt(), 0);
    EXPECT_EQ(field->MaskZec(), 0);
    EXPECT_EQ(field->property("MaskInt").toInt(), 0);
    field->setProperty("MaskZec", 4);
    EXPECT_EQ(field->MaskZec(), 4);
}

TEST_F(TNumericFTest, EnteringSelectsTheWholeText)
{
    field->setText(QStringLiteral("123.5"));
    enter(6, 2);
    EXPECT_EQ(field->selectedText(), QStringLiteral("123.5"));
    // Any focus given by the program selects it too.
    other->setFocus();
    field->setFocus(Qt::OtherFocusReason);
    EXPECT_EQ(field->selectedText(), QStringLiteral("123.5"));
}

TEST_F(TNumericFTest, ClickingIntoTheFieldSelectsTheWholeText)
{
    field->setText(QStringLiteral("4567"));
    ASSERT_TRUE(velmor::test::showAndFocus(other));
    field->setFocusPolicy(Qt::StrongFocus);
    QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(field->width() - 8, field->height() / 2));
    EXPECT_TRUE(field->hasFocus());
    EXPECT_EQ(field->selectedText(), QStringLiteral("4567"));
    // A second click inside the focused field places the caret as usual.
    QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(field->width() - 8, field->height() / 2));
    EXPECT_FALSE(field->hasSelectedText());
}

TEST_F(TNumericFTest, PositionFieldKeepsThreeDigits)
{
    enter(3, 0);
    type("1234");
    EXPECT_EQ(text(), QStringLiteral("123"));
    EXPECT_EQ(field->beeps, 1);
    type(".");
    EXPECT_EQ(text(), QStringLiteral("123"));
    EXPECT_EQ(field->beeps, 2);
    EXPECT_EQ(field->Valoare(), 123.0);
}

TEST_F(TNumericFTest, PlotAreaFieldTakesFourDecimals)
{
    enter(6, 4);
    type("12.3456");
    EXPECT_EQ(text(), QStringLiteral("12.3456"));
    EXPECT_EQ(field->beeps, 0);
    type("7");
    EXPECT_EQ(text(), QStringLiteral("12.3456"));
    EXPECT_EQ(field->beeps, 1);
    EXPECT_DOUBLE_EQ(field->Valoare(), 12.3456);
}

TEST_F(TNumericFTest, DigitTypedIntoZeroReplacesIt)
{
    enter(6, 4);
    caretAt(1);
    type("0");
    EXPECT_EQ(text(), QStringLiteral("0"));
    type("5");
    EXPECT_EQ(text(), QStringLiteral("5"));
    caretAt(0);
    field->setText(QStringLiteral("0"));
    caretAt(0);
    type("7");
    EXPECT_EQ(text(), QStringLiteral("7"));
    EXPECT_EQ(field->beeps, 0);
}

TEST_F(TNumericFTest, TypingOverTheSelection)
{
    field->setText(QStringLiteral("123"));
    enter(3, 0);
    type("9");
    EXPECT_EQ(text(), QStringLiteral("9"));
    // Part of the text selected: only that part is replaced.
    field->setText(QStringLiteral("123"));
    field->setSelection(1, 1);
    type("7");
    EXPECT_EQ(text(), QStringLiteral("173"));
    EXPECT_EQ(field->cursorPosition(), 2);
    // With three digits and nothing selected a fourth is refused; with one selected it fits.
    caretAt(3);
    type("4");
    EXPECT_EQ(text(), QStringLiteral("173"));
    field->setSelection(0, 1);
    type("4");
    EXPECT_EQ(text(), QStringLiteral("473"));
    EXPECT_EQ(field->beeps, 1);
}

TEST_F(TNumericFTest, RefusedKeyLeavesSelectedTextInPlace)
{
    field->setText(QStringLiteral("123"));
    enter(3, 0);
    type("x");
    EXPECT_EQ(text(), QStringLiteral("123"));
    type(".");
    EXPECT_EQ(text(), QStringLiteral("123"));
    type("-");
    EXPECT_EQ(text(), QStringLiteral("123"));
    EXPECT_EQ(field->beeps, 3);
}

TEST_F(TNumericFTest, OtherCharactersBeep)
{
    enter(6, 2);
    QSignalSpy refused(field, &velmor::TNumericF::refused);
    type("a ,+e");
    EXPECT_EQ(text(), QStringLiteral("0"));
    EXPECT_EQ(field->beeps, 5);
    EXPECT_EQ(refused.count(), 5);
}

TEST_F(TNumericFTest, SeparatorRules)
{
    enter(6, 2);
    type(".");
    EXPECT_EQ(text(), QStringLiteral("."));
    type("5");
    EXPECT_EQ(text(), QStringLiteral(".5"));
    type(".");
    EXPECT_EQ(text(), QStringLiteral(".5"));
    EXPECT_EQ(field->beeps, 1);
    EXPECT_DOUBLE_EQ(field->Valoare(), 0.5);
    // Placed between digits, the decimals after it still count.
    field->setText(QStringLiteral("12345"));
    caretAt(2);
    type(".");
    EXPECT_EQ(text(), QStringLiteral("12345"));
    caretAt(3);
    type(".");
    EXPECT_EQ(text(), QStringLiteral("123.45"));
    EXPECT_EQ(field->beeps, 2);
}

TEST_F(TNumericFTest, KeypadDecimalKeyTypesThePoint)
{
    enter(6, 2);
    type("3");
    QTest::keyClick(field, Qt::Key_Comma, Qt::KeypadModifier);
    EXPECT_EQ(text(), QStringLiteral("3."));
    QTest::keyClick(field, Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(text(), QStringLiteral("3.7"));
}

TEST_F(TNumericFTest, DigitLimitsBeforeAndAfterThePoint)
{
    enter(3, 2);
    type("123.456");
    EXPECT_EQ(text(), QStringLiteral("123.45"));
    EXPECT_EQ(field->beeps, 1);
    caretAt(0);
    type("9");
    EXPECT_EQ(text(), QStringLiteral("123.45"));
    caretAt(4);
    type("9");
    EXPECT_EQ(text(), QStringLiteral("123.45"));
    EXPECT_EQ(field->beeps, 3);
    caretAt(2);
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("13.45"));
    type("8");
    EXPECT_EQ(text(), QStringLiteral("183.45"));
}

TEST_F(TNumericFTest, MinusOnlyWhenMaskIntNotPositiveAndAtTheStart)
{
    enter(3, 0);
    type("-");
    EXPECT_EQ(text(), QStringLiteral("0"));
    EXPECT_EQ(field->beeps, 1);

    field->setMaskInt(-3);
    field->selectAll();
    type("-12");
    EXPECT_EQ(text(), QStringLiteral("-12"));
    type("-");
    EXPECT_EQ(text(), QStringLiteral("-12"));
    caretAt(0);
    type("-");
    EXPECT_EQ(text(), QStringLiteral("-12"));
    EXPECT_EQ(field->beeps, 3);
    // |MaskInt| digits: the minus does not count.
    caretAt(3);
    type("34");
    EXPECT_EQ(text(), QStringLiteral("-123"));
    EXPECT_DOUBLE_EQ(field->Valoare(), -123.0);
    // Not at the start.
    field->setText(QStringLiteral("5"));
    caretAt(1);
    type("-");
    EXPECT_EQ(text(), QStringLiteral("5"));
    caretAt(0);
    type("-");
    EXPECT_EQ(text(), QStringLiteral("-5"));
    // No digit before the minus.
    caretAt(0);
    type("7");
    EXPECT_EQ(text(), QStringLiteral("-5"));
}

TEST_F(TNumericFTest, NeverTwoLeadingZeros)
{
    enter(6, 2);
    type("5");
    caretAt(0);
    type("0");
    EXPECT_EQ(text(), QStringLiteral("5"));
    EXPECT_EQ(field->beeps, 1);

    field->setMaskInt(-6);
    field->setText(QStringLiteral("-5"));
    caretAt(1);
    type("0");
    EXPECT_EQ(text(), QStringLiteral("-5"));
    EXPECT_EQ(field->beeps, 2);

    // "-0" then another zero would start "-00".
    field->setText(QStringLiteral("-"));
    caretAt(1);
    type("0");
    EXPECT_EQ(text(), QStringLiteral("-0"));
    type("0");
    EXPECT_EQ(text(), QStringLiteral("-0"));
    EXPECT_EQ(field->beeps, 3);
    // A digit after the lone zero takes its place.
    type("4");
    EXPECT_EQ(text(), QStringLiteral("-4"));

    // A zero before the point of ".5" is a plain "0.5".
    field->setText(QStringLiteral(".5"));
    caretAt(0);
    type("0");
    EXPECT_EQ(text(), QStringLiteral("0.5"));
    // A digit typed right after that zero replaces it; before it, it stands in front.
    caretAt(1);
    type("3");
    EXPECT_EQ(text(), QStringLiteral("3.5"));
    field->setText(QStringLiteral("0.5"));
    caretAt(0);
    type("2");
    EXPECT_EQ(text(), QStringLiteral("20.5"));
    EXPECT_EQ(field->beeps, 3);
}

TEST_F(TNumericFTest, BackspaceDownToZeroSelectsIt)
{
    enter(6, 0);
    type("12");
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("1"));
    EXPECT_FALSE(field->hasSelectedText());
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("0"));
    EXPECT_EQ(field->selectedText(), QStringLiteral("0"));
    type("7");
    EXPECT_EQ(text(), QStringLiteral("7"));
    // Backspace on a whole selection gives the selected "0" too.
    field->selectAll();
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("0"));
    EXPECT_EQ(field->selectedText(), QStringLiteral("0"));
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("0"));
    EXPECT_EQ(field->beeps, 0);
}

TEST_F(TNumericFTest, BackspaceRemovesTheCharacterBeforeTheCaretOrTheSelection)
{
    field->setText(QStringLiteral("1234"));
    enter(6, 0);
    caretAt(0);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("1234"));
    caretAt(2);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("134"));
    EXPECT_EQ(field->cursorPosition(), 1);
    field->setSelection(1, 2);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("1"));
    EXPECT_EQ(field->cursorPosition(), 1);
}

TEST_F(TNumericFTest, BackspaceLeavesNoLeadingZero)
{
    field->setText(QStringLiteral("105"));
    enter(6, 2);
    caretAt(1);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("5"));
    EXPECT_EQ(field->cursorPosition(), 0);
    field->setText(QStringLiteral("0.05"));
    caretAt(2);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("5"));
    field->setText(QStringLiteral("0.5"));
    caretAt(2);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("5"));
    field->setText(QStringLiteral("10"));
    caretAt(1);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("0"));
    EXPECT_EQ(field->beeps, 0);
}

TEST_F(TNumericFTest, BackspaceThatWouldJoinTooManyDigitsIsRefused)
{
    field->setText(QStringLiteral("123.45"));
    enter(3, 2);
    caretAt(4);
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("123.45"));
    EXPECT_EQ(field->beeps, 1);
    field->setText(QStringLiteral("12.45"));
    caretAt(3);
    key(Qt::Key_Backspace);
    // 1245 would have four digits before the point.
    EXPECT_EQ(text(), QStringLiteral("12.45"));
    EXPECT_EQ(field->beeps, 2);
}

TEST_F(TNumericFTest, TextSetOutOfBoundsCanBeShortened)
{
    field->setText(QStringLiteral("12345"));
    enter(3, 0);
    caretAt(5);
    type("6");
    EXPECT_EQ(text(), QStringLiteral("12345"));
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("1234"));
    key(Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("123"));
    EXPECT_EQ(field->beeps, 1);
}

TEST_F(TNumericFTest, DeleteKeyDoesNothing)
{
    field->setText(QStringLiteral("123"));
    enter(6, 0);
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), QStringLiteral("123"));
    caretAt(0);
    key(Qt::Key_Delete);
    key(Qt::Key_Delete, Qt::ControlModifier);
    key(Qt::Key_K, Qt::ControlModifier);
    key(Qt::Key_Backspace, Qt::ControlModifier);
    caretAt(3);
    key(Qt::Key_Backspace, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("123"));
    EXPECT_EQ(field->beeps, 0);
}

TEST_F(TNumericFTest, NavigationAndWindowKeysPass)
{
    field->setText(QStringLiteral("123"));
    enter(6, 0);
    caretAt(3);
    key(Qt::Key_Left);
    EXPECT_EQ(field->cursorPosition(), 2);
    key(Qt::Key_Home);
    EXPECT_EQ(field->cursorPosition(), 0);
    key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(field->selectedText(), QStringLiteral("123"));

    // Enter and Escape are left to the window.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(field, &enter);
    EXPECT_FALSE(enter.isAccepted());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(QChar(27)));
    QApplication::sendEvent(field, &escape);
    EXPECT_FALSE(escape.isAccepted());
    EXPECT_EQ(text(), QStringLiteral("123"));
    EXPECT_EQ(field->beeps, 0);
}

TEST_F(TNumericFTest, NoLimitsWhenBothMasksAreZero)
{
    enter(0, 0);
    type("12345678901234567890");
    EXPECT_EQ(text(), QStringLiteral("12345678901234567890"));
    type(".");
    EXPECT_EQ(field->beeps, 1);
    field->selectAll();
    type("-42");
    EXPECT_EQ(text(), QStringLiteral("-42"));
}

TEST_F(TNumericFTest, ZeroMaskIntLimitsOnlyTheDecimals)
{
    enter(0, 2);
    type("1234567.25");
    EXPECT_EQ(text(), QStringLiteral("1234567.25"));
    type("1");
    EXPECT_EQ(field->beeps, 1);
}

TEST_F(TNumericFTest, Valoare)
{
    const std::pair<const char*, double> cases[] = {
        {"12.5", 12.5}, {".", 0.0}, {".25", 0.25}, {"-.5", -0.5}, {"-", 0.0},  {"", 0.0},
        {"abc", 0.0},   {"5.", 5.0}, {"-12", -12.0}, {"0", 0.0},  {"1,5", 0.0}, {"007", 7.0},
    };
    for (const auto& [input, expected] : cases) {
        field->setText(QString::fromLatin1(input));
        EXPECT_DOUBLE_EQ(field->Valoare(), expected) << input;
    }
}

TEST_F(TNumericFTest, IsWellFormed)
{
    field->setMaskInt(-3);
    field->setMaskZec(2);
    for (const char* good : {"0", "-", ".", "-.", "-0", "123.45", "-123.4", "0.5", "5.", ""})
        EXPECT_TRUE(field->isWellFormed(QString::fromLatin1(good))) << good;
    for (const char* bad : {"1234", "1.234", "00", "05", "-05", "1-", "1..2", "1.2.3", "a", "1 2", "--1", "+1"})
        EXPECT_FALSE(field->isWellFormed(QString::fromLatin1(bad))) << bad;
    field->setMaskInt(3);
    EXPECT_FALSE(field->isWellFormed(QStringLiteral("-1")));
    field->setMaskZec(0);
    EXPECT_FALSE(field->isWellFormed(QStringLiteral("1.")));
}

TEST_F(TNumericFTest, PasteAcceptsOnlyWellFormedNumbers)
{
    enter(6, 4);
    QApplication::clipboard()->setText(QStringLiteral("12.5"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("12.5"));
    EXPECT_EQ(field->cursorPosition(), 4);
    EXPECT_EQ(field->beeps, 0);

    // Too many decimals once inserted at the caret.
    QApplication::clipboard()->setText(QStringLiteral("12345"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("12.5"));
    EXPECT_EQ(field->beeps, 1);
    // Fits.
    caretAt(4);
    QApplication::clipboard()->setText(QStringLiteral("12"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("12.512"));

    for (const char* bad : {"abc", "1.2.3", "1234567", "-5", "1,5", "05"}) {
        field->selectAll();
        QApplication::clipboard()->setText(QString::fromLatin1(bad));
        key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(text(), QStringLiteral("12.512")) << bad;
    }
    EXPECT_EQ(field->beeps, 7);

    // Surrounding blanks and line ends are dropped; Shift+Insert pastes too.
    field->selectAll();
    QApplication::clipboard()->setText(QStringLiteral(" 42\r\n"));
    key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(text(), QStringLiteral("42"));

    // Pasted into the lone "0", the text replaces it.
    field->setText(QStringLiteral("0"));
    caretAt(1);
    QApplication::clipboard()->setText(QStringLiteral("7.25"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("7.25"));
}

TEST_F(TNumericFTest, PasteTextDirectly)
{
    field->setMaskInt(-6);
    field->setMaskZec(2);
    field->selectAll();
    EXPECT_TRUE(field->pasteText(QStringLiteral("-3.75")));
    EXPECT_DOUBLE_EQ(field->Valoare(), -3.75);
    field->selectAll();
    EXPECT_FALSE(field->pasteText(QString()));
    EXPECT_EQ(text(), QStringLiteral("-3.75"));
    EXPECT_EQ(field->beeps, 1);
}

TEST_F(TNumericFTest, CutGoesThroughTheBackspaceRules)
{
    field->setText(QStringLiteral("123"));
    enter(3, 2);
    field->setSelection(1, 2);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("1"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("23"));

    field->selectAll();
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("0"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1"));

    // Cutting the point of 123.45 would leave five digits: refused, clipboard untouched.
    field->setText(QStringLiteral("123.45"));
    field->setSelection(3, 1);
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("123.45"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1"));
    EXPECT_EQ(field->beeps, 1);
}

TEST_F(TNumericFTest, ReadOnlyFieldTakesNothing)
{
    field->setText(QStringLiteral("12"));
    field->setReadOnly(true);
    enter(6, 2);
    type("5");
    key(Qt::Key_Backspace);
    QApplication::clipboard()->setText(QStringLiteral("9"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("12"));
}

TEST_F(TNumericFTest, TextEditedIsSignalledForAcceptedKeysOnly)
{
    enter(3, 0);
    QSignalSpy edited(field, &QLineEdit::textEdited);
    type("12x");
    EXPECT_EQ(edited.count(), 2);
    EXPECT_EQ(edited.last().first().toString(), QStringLiteral("12"));
}

TEST_F(TNumericFTest, ContextMenuPasteFollowsTheRules)
{
    enter(3, 0);
    auto pasteFromMenu = [this] {
        velmor::test::whenReady([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; },
                                [] {
                                    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                                    for (QAction* action : menu->actions()) {
                                        if (action->text() == QStringLiteral("&Lipeste"))
                                            menu->setActiveAction(action);
                                    }
                                    QTest::keyClick(menu, Qt::Key_Return);
                                },
                                velmor::test::failAndCloseModal);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), field->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(field, &event);
    };
    field->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("1234"));
    pasteFromMenu();
    EXPECT_EQ(text(), QStringLiteral("0"));
    EXPECT_EQ(field->beeps, 1);
    field->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("321"));
    pasteFromMenu();
    EXPECT_EQ(text(), QStringLiteral("321"));
}

TEST_F(TNumericFTest, InputMethodTextGoesThroughTheRules)
{
    enter(3, 1);
    QInputMethodEvent event(QString(), {});
    event.setCommitString(QStringLiteral("12a.55"));
    QApplication::sendEvent(field, &event);
    EXPECT_EQ(text(), QStringLiteral("12.5"));
    EXPECT_EQ(field->beeps, 2);
}

TEST_F(TNumericFTest, DropsAreNotTaken)
{
    EXPECT_FALSE(field->acceptDrops());
    EXPECT_FALSE(field->dragEnabled());
}
