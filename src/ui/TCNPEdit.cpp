#include "ui/TCNPEdit.h"

#include "domain/CnpRules.h"
#include "ui/EditMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace velmor {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}

TCNPEdit::TCNPEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setMaxLength(CodeLength);
    setAcceptDrops(false);
}

bool TCNPEdit::GetCorect() const
{
    return cnp::GetCorect(text(), m_acceptGol);
}

QString TCNPEdit::GetSex() const
{
    return cnp::GetSex(text());
}

QDate TCNPEdit::GetNascutLa() const
{
    return cnp::GetNascutLa(text());
}

bool TCNPEdit::deleteSelection(QString& text, int& caret) const
{
    if (!hasSelectedText())
        return false;
    caret = selectionStart();
    text.remove(caret, selectedText().size());
    return true;
}

void TCNPEdit::apply(const QString& text, int caret)
{
    if (text == this->text()) {
        setCursorPosition(caret);
        return;
    }
    setText(text);
    setCursorPosition(caret);
    emit textEdited(text);
}

void TCNPEdit::typeDigit(QChar digit)
{
    QString t = text();
    int caret = cursorPosition();
    deleteSelection(t, caret);
    if (t == QStringLiteral("0")) {
        t.clear();
        caret = 0;
    }
    if (t.size() >= CodeLength) {
        apply(t, caret);
        return;
    }
    t.insert(caret, digit);
    apply(t, caret + 1);
}

void TCNPEdit::backspace()
{
    QString t = text();
    int caret = cursorPosition();
    if (!deleteSelection(t, caret)) {
        if (caret == 0)
            return;
        --caret;
        t.remove(caret, 1);
    }
    apply(t, caret);
}

void TCNPEdit::deleteForward()
{
    QString t = text();
    int caret = cursorPosition();
    if (!deleteSelection(t, caret)) {
        if (caret >= t.size())
            return;
        t.remove(caret, 1);
    }
    apply(t, caret);
}

void TCNPEdit::cutSelection()
{
    if (!hasSelectedText())
        return;
    QApplication::clipboard()->setText(selectedText());
    deleteForward();
}

void TCNPEdit::pasteText(const QString& pasted)
{
    QString digits;
    for (QChar c : pasted) {
        if (isAsciiDigit(c))
            digits.append(c);
    }
    if (digits.isEmpty())
        return;
    QString t = text();
    int caret = cursorPosition();
    deleteSelection(t, caret);
    if (t == QStringLiteral("0")) {
        t.clear();
        caret = 0;
    }
    digits.truncate(qMax(0, CodeLength - int(t.size())));
    t.insert(caret, digits);
    apply(t, caret + int(digits.size()));
}

void TCNPEdit::keyPressEvent(QKeyEvent* event)
{
    if (isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteText(QApplication::clipboard()->text());
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        cutSelection();
        return;
    }
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const int key = event->key();
    // Digits of the main keyboard and of the keypad.
    if (key >= Qt::Key_0 && key <= Qt::Key_9 && !(event->modifiers() & commands)) {
        typeDigit(QLatin1Char(char('0' + (key - Qt::Key_0))));
        return;
    }
    if (key == Qt::Key_Backspace) {
        backspace();
        return;
    }
    if (key == Qt::Key_Delete) {
        deleteForward();
        return;
    }
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
        return;
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !(event->modifiers() & commands))
        return; // other characters do nothing

    // Navigation, selection, copying and the keys the window handles; any other change is undone.
    const QString before = text();
    const int caret = cursorPosition();
    QLineEdit::keyPressEvent(event);
    if (text() != before) {
        setText(before);
        setCursorPosition(caret);
    }
}

void TCNPEdit::contextMenuEvent(QContextMenuEvent* event)
{
    showEditMenu(this, event->globalPos(), [this] { cutSelection(); },
                 [this] { pasteText(QApplication::clipboard()->text()); });
    event->accept();
}

void TCNPEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!isReadOnly()) {
        for (QChar c : event->commitString()) {
            if (isAsciiDigit(c))
                typeDigit(c);
        }
    }
    event->accept();
}

}
