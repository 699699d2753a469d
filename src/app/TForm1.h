#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;
class QTimer;

namespace velmor {

// The splash window shown while the start-up sequence runs: product title, version, status line
// `Label5` and progress bar `Bar` over a vertical white-to-dark gradient. Borderless, on top,
// centred on the desktop. One second after it shows, `Timer1` starts the start-up sequence.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int WindowWidth = 428;
    static constexpr int WindowHeight = 201;

    explicit TForm1(QWidget* parent = nullptr);

    QLabel* Label5() const { return m_label5; }
    QLabel* Label6() const { return m_label6; }
    QLabel* Label7() const { return m_label7; }
    QProgressBar* Bar() const { return m_bar; }
    QTimer* Timer1() const { return m_timer1; }

    // "versiunea " and the version taken from the end of the version title.
    static QString versionText();

    // The start-up sequence the timer runs (once).
    void setStartupSequence(std::function<void()> sequence) { m_sequence = std::move(sequence); }

    // Centres the window on the desktop.
    void centre();

protected:
    void showEvent(QShowEvent* event) override; // FormShow
    void paintEvent(QPaintEvent* event) override;

private:
    void Timer1Timer();

    QLabel* m_title = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_label6 = nullptr;
    QLabel* m_label7 = nullptr;
    QProgressBar* m_bar = nullptr;
    QTimer* m_timer1 = nullptr;
    std::function<void()> m_sequence;
};

}
