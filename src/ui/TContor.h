#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace velmor {

// The progress window shown over a window while a long operation runs. Created once and shown
// and hidden; the operation sets the label and the bar itself.
class TContor : public QWidget {
    Q_OBJECT
public:
    static constexpr int WindowWidth = 329;
    static constexpr int WindowHeight = 80;

    explicit TContor(QWidget* parent = nullptr);

    QLabel* Label1() const { return m_label1; }
    QProgressBar* Bar() const { return m_bar; }

    // Disables `form`, gives it the hourglass, shows this window and lets pending events run.
    void Arata(QWidget* form);
    // Hides this window, enables `form` again with its default cursor and focus.
    void Distruge(QWidget* form);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* m_label1 = nullptr;
    QProgressBar* m_bar = nullptr;
};

}
