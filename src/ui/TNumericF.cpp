#include "ui/TNumericF.h"

#include "ui/EditMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include <cmath>

namespace velmor {

namespace {

constexpr QChar Point = QLatin1Char('.');
constexpr QChar Minus = QLatin1Char('-');

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int integerStart(const QString& text)
{
    return text.startsWith(Minus) ? 1 : 0;
}

int integerEnd(const QString& text)
{
    const int point = text.indexOf(Point);
    return point < 0 ? int(text.size()) : point;
}

// Removes the zeros that stand before another digit of the integer part; moves the caret along.
void dropLeadingZeros(QString& text, int& caret)
{
    const int start = integerStart(text);
    while (integerEnd(text) - start >= 2 && text.at(start) == QLatin1Char('0')) {
        text.remove(start, 1);
        if (caret > start)
            --caret;
    }
}

bool isEditingSequence(QKeyEvent* event)
{
    return event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)
        || event->matches(QKeySequence::Delete) || event->matches(QKeySequence::DeleteEndOfWord)
        || event->matches(QKeySequence::DeleteStartOfWord) || event->matches(QKeySequence::DeleteEndOfLine)
        || event->matches(QKeySequence::DeleteCompleteLine);
}

}

TNumericF::TNumericF(QWidget* parent)
    : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAcceptDrops(false);
    setText(QStringLiteral("0"));
}

double TNumericF::Valoare() const
{
    QString t = text().trimmed();
    if (t.startsWith(Point))
        t.prepend(QLatin1Char('0'));
    else if (t.startsWith(QStringLiteral("-.")))
        t.insert(1, QLatin1Char('0'));
    bool ok = false;
    const double value = t.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

bool TNumericF::isWellFormed(const QString& text) const
{
    int i = 0;
    if (text.startsWith(Minus)) {
        if (m_maskInt > 0)
            return false;
        i = 1;
    }
    int before = 0;
    int after = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == Point) {
            if (point || m_maskZec <= 0)
                return false;
            point = true;
        } else if (isAsciiDigit(c)) {
            (point ? after : before) += 1;
        } else {
            return false;
        }
    }
    const int intLimit = std::abs(m_maskInt);
    if (intLimit > 0 && before > intLimit)
        return false;
    if (after > m_maskZec)
        return false;
    const int start = integerStart(text);
    if (before >= 2 && text.at(start) == QLatin1Char('0'))
        return false;
    return true;
}

void TNumericF::beep()
{
    QApplication::beep();
}

void TNumericF::refuse()
{
    beep();
    emit refused();
}

void TNumericF::apply(const QString& text, int caret)
{
    setText(text);
    setCursorPosition(caret);
    emit textEdited(text);
}

void TNumericF::typeChar(QChar c)
{
    if (!isAsciiDigit(c) && c != Point && c != Minus) {
        refuse();
        return;
    }

    // Work on a copy: a refused keystroke leaves the field as it was.
    QString t = text();
    int caret = cursorPosition();
    const bool hadSelection = hasSelectedText();
    if (hadSelection) {
        caret = selectionStart();
        t.remove(caret, selectedText().size());
    }

    if (c == Point && (m_maskZec <= 0 || t.contains(Point))) {
        refuse();
        return;
    }
    if (c == Minus && (t.contains(Minus) || m_maskInt > 0 || caret != 0)) {
        refuse();
        return;
    }

    if (isAsciiDigit(c)) {
        if (!hadSelection && t == QStringLiteral("0")) {
            // A digit typed into "0" replaces it.
            t.clear();
            caret = 0;
        } else {
            // Typed right after a lone zero of the integer part, a digit takes the zero's place.
            const int start = integerStart(t);
            if (integerEnd(t) - start == 1 && t.at(start) == QLatin1Char('0') && caret == start + 1
                && c != QLatin1Char('0')) {
                t.remove(start, 1);
                caret = start;
            }
        }
    }

    t.insert(caret, c);
    ++caret;
    if (!isWellFormed(t)) {
        refuse();
        return;
    }
    apply(t, caret);
}

bool TNumericF::backspace()
{
    QString t = text();
    int caret = cursorPosition();
    if (hasSelectedText()) {
        caret = selectionStart();
        t.remove(caret, selectedText().size());
    } else if (caret > 0) {
        --caret;
        t.remove(caret, 1);
    } else {
        return true;
    }

    if (t.isEmpty()) {
        setText(QStringLiteral("0"));
        selectAll();
        emit textEdited(text());
        return true;
    }
    dropLeadingZeros(t, caret);
    // Removing the point may join more digits than the field takes. A text that was already
    // out of bounds (set by the program) may still be shortened.
    if (!isWellFormed(t) && isWellFormed(text())) {
        refuse();
        return false;
    }
    apply(t, caret);
    return true;
}

void TNumericF::cutSelection()
{
    if (!hasSelectedText())
        return;
    const QString selection = selectedText();
    if (backspace())
        QApplication::clipboard()->setText(selection);
}

bool TNumericF::pasteText(const QString& pasted)
{
    const QString s = pasted.trimmed();
    if (s.isEmpty()) {
        refuse();
        return false;
    }
    QString t = text();
    int caret = cursorPosition();
    if (hasSelectedText()) {
        caret = selectionStart();
        t.remove(caret, selectedText().size());
    } else if (t == QStringLiteral("0")) {
        t.clear();
        caret = 0;
    }
    t.insert(caret, s);
    caret += s.size();
    if (!isWellFormed(t)) {
        refuse();
        return false;
    }
    apply(t, caret);
    return true;
}

void TNumericF::pasteClipboard()
{
    pasteText(QApplication::clipboard()->text());
}

void TNumericF::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteClipboard();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        cutSelection();
        return;
    }
    if (event->key() == Qt::Key_Backspace && !(event->modifiers() & Qt::ControlModifier)) {
        backspace();
        return;
    }
    if (event->key() == Qt::Key_Delete || isEditingSequence(event))
        return; // the Delete key does nothing

    const QString typed = event->text();
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (!typed.isEmpty() && typed.at(0).isPrint() && !(event->modifiers() & commands)) {
        for (QChar c : typed) {
            // The keypad's decimal key types the decimal point whatever the keyboard layout.
            if (c == QLatin1Char(',') && (event->modifiers() & Qt::KeypadModifier))
                c = Point;
            typeChar(c);
        }
        return;
    }

    // Navigation, selection, copying and the keys the window handles (Enter, Escape, Tab).
    // Anything that would still change the text is undone.
    const QString before = text();
    const int caret = cursorPosition();
    QLineEdit::keyPressEvent(event);
    if (text() != before) {
        setText(before);
        setCursorPosition(caret);
    }
}

void TNumericF::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Coming back from a menu or another window is not entering the field.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    selectAll();
    // A click that gives the focus would move the caret; select everything once it is released.
    m_selectOnRelease = event->reason() == Qt::MouseFocusReason;
}

void TNumericF::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (m_selectOnRelease && !hasSelectedText())
        selectAll();
    m_selectOnRelease = false;
}

void TNumericF::contextMenuEvent(QContextMenuEvent* event)
{
    showEditMenu(this, event->globalPos(), [this] { cutSelection(); }, [this] { pasteClipboard(); });
    event->accept();
}

void TNumericF::inputMethodEvent(QInputMethodEvent* event)
{
    if (!isReadOnly()) {
        for (QChar c : event->commitString())
            typeChar(c);
    }
    event->accept();
}

}
