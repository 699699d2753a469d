#pragma once

#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace velmor {

// A balloon that points at a control and tells what is wrong with it. It never takes the focus
// and goes away by itself.
class BalloonHint : public QWidget {
    Q_OBJECT
public:
    static constexpr int PreferredWidth = 300;
    static constexpr int DurationMs = 5000;
    static constexpr int AnchorOffset = 10;

    explicit BalloonHint(QWidget* parent = nullptr);

    // Shows `text` under `title`, the arrow tip at `tip` (global coordinates), for DurationMs.
    void showAt(const QString& title, const QString& text, const QPoint& tip, int kind = 1);

    QString title() const;
    QString text() const;
    QPoint tip() const { return m_tip; }
    bool pointsDown() const { return m_pointsDown; }
    const QTimer& timer() const { return m_timer; }

    // The balloon shared by ArataProblema, created on first use.
    static BalloonHint* shared();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QLabel* m_icon = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_text = nullptr;
    QTimer m_timer;
    QPoint m_tip;
    int m_arrowX = 0;
    bool m_pointsDown = false;
};

// The balloon warning "Problema !" pointing at `control` (10 pixels right and down of its corner).
// The window and the focus stay where they are. Without a control it points at the screen centre.
void ArataProblema(const QString& text, QWidget* control);

}
