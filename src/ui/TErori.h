#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

class QLabel;
class QTextEdit;

namespace velmor {

class ColorButton;
class GradientPanel;

// The program's message dialog: every warning, error, information and yes/no question goes
// through Mesaj. Created once and reused; each use overwrites the previous contents.
class TErori : public QDialog {
    Q_OBJECT
public:
    // Looks of a message kind: window caption, title band gradient and button colours.
    struct KindLook {
        QString caption;
        QColor bandFrom;
        QColor bandTo;
        QColor button;
        QColor pressed;
        QColor hotTrack;
        QColor light;
        QColor shadow;
    };
    static KindLook lookOf(int kind);

    // Left edge of the j-th (from 1) of `count` visible buttons in a dialog `width` wide.
    static int buttonLeft(int j, int count, int width = ClientWidth);
    // Widest text area the dialog grows to for long lines (a wider one would be hard to read).
    static constexpr int MaxTextWidth = 720;

    static constexpr int ClientWidth = 345;
    static constexpr int ClientHeight = 177;
    static constexpr int TitleBandHeight = 49;
    static constexpr int ButtonBandHeight = 42;
    static constexpr int ButtonWidth = 73;
    static constexpr int ButtonHeight = 25;

    explicit TErori(QWidget* parent = nullptr);

    // Shows the message modally and returns 1 (OK), 2 (cancel, Escape, close box), 6 (DA) or 7 (NU).
    // With no button chosen nothing is shown and the result is 2.
    int Mesaj(const QString& title, const QString& text, int kind, int buttons);

    // Fills the dialog for a message without showing it; returns the number of visible buttons.
    int prepare(const QString& title, const QString& text, int kind, int buttons);

    // The result so far (2 until a button is pressed).
    int currentResult() const { return m_result; }
    int kind() const { return m_kind; }

    QLabel* Label1() const { return m_label1; }
    QLabel* EroText() const { return m_eroText; }
    QLabel* Image1() const { return m_image; }
    QTextEdit* RichEdit1() const { return m_richEdit; }
    ColorButton* BE1() const { return m_buttons[0]; }
    ColorButton* BE2() const { return m_buttons[1]; }
    ColorButton* BE3() const { return m_buttons[2]; }
    ColorButton* BE4() const { return m_buttons[3]; }
    GradientPanel* titleBand() const { return m_titleBand; }
    GradientPanel* body() const { return m_body; }
    GradientPanel* buttonBand() const { return m_buttonBand; }

public slots:
    void reject() override; // Escape and the close box: close keeping the result

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Fills the text and returns its lines as shown.
    QStringList composeBody(const QString& text);
    // The designed size for texts that fit it; wider (then taller) for longer lines, so that an
    // ordinary sentence is not broken into a word a line.
    void fitToText(const QStringList& lines);
    void applyKind(int kind);
    void buttonClicked(int result);

    int m_result = 2;
    int m_kind = 1;
    QLabel* m_label1 = nullptr;
    QLabel* m_eroText = nullptr;
    QLabel* m_image = nullptr;
    QTextEdit* m_richEdit = nullptr;
    ColorButton* m_buttons[4] = {};
    GradientPanel* m_titleBand = nullptr;
    GradientPanel* m_body = nullptr;
    GradientPanel* m_buttonBand = nullptr;
};

}
