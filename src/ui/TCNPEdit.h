#pragma once

#include <QDate>
#include <QLineEdit>

namespace velmor {

// Entry field of a personal numeric code: digits only, at most 13, all editing through its own
// key handling. `AcceptGol` makes the empty code count as valid.
class TCNPEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(bool AcceptGol READ AcceptGol WRITE setAcceptGol)
public:
    static constexpr int CodeLength = 13;

    explicit TCNPEdit(QWidget* parent = nullptr);

    bool AcceptGol() const { return m_acceptGol; }
    void setAcceptGol(bool value) { m_acceptGol = value; }

    bool GetCorect() const;
    QString GetSex() const;
    QDate GetNascutLa() const;

    // Inserts the digits of `text` at the caret (replacing the selection), as many as fit.
    void pasteText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void typeDigit(QChar digit);
    void backspace();
    void deleteForward();
    void cutSelection();
    bool deleteSelection(QString& text, int& caret) const;
    void apply(const QString& text, int caret);

    bool m_acceptGol = false;
};

}
