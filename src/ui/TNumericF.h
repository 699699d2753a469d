#pragma once

#include <QLineEdit>

namespace velmor {

// Numeric entry field: refuses every keystroke that would not leave a well-formed number within
// its digit limits. `MaskInt` is the most digits before the decimal point (not positive: a leading
// minus is allowed and the absolute value is the limit); `MaskZec` the most digits after it
// (0: no decimals). Zero means "not limited" for the digits before the point.
class TNumericF : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int MaskInt READ MaskInt WRITE setMaskInt)
    Q_PROPERTY(int MaskZec READ MaskZec WRITE setMaskZec)
public:
    explicit TNumericF(QWidget* parent = nullptr);

    int MaskInt() const { return m_maskInt; }
    void setMaskInt(int value) { m_maskInt = value; }
    int MaskZec() const { return m_maskZec; }
    void setMaskZec(int value) { m_maskZec = value; }

    // The text as a decimal number ("." separator); 0 when it is not a number.
    double Valoare() const;

    // Whether the field may hold `text`: an optional minus (when allowed), digits, at most one
    // point (when decimals are allowed), the digit limits, and no leading zero before another digit.
    bool isWellFormed(const QString& text) const;

    // Replaces the selection (or the lone "0") with `text` when the result is well-formed;
    // otherwise refuses. Returns whether it was taken.
    bool pasteText(const QString& text);

signals:
    // A keystroke or paste was refused.
    void refused();

protected:
    // The sound of a refusal; replaceable.
    virtual void beep();

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void typeChar(QChar c);
    bool backspace(); // false when refused
    void cutSelection();
    void pasteClipboard();
    void refuse();
    void apply(const QString& text, int caret);

    int m_maskInt = 0;
    int m_maskZec = 0;
    bool m_selectOnRelease = false;
};

}
