#pragma once

#include <QFrame>
#include <QStringList>
#include <QTimer>

namespace velmor {

// A small panel whose lines of text scroll upwards continuously; a click stops or restarts the
// scrolling.
class ScrollingLabel : public QFrame {
    Q_OBJECT
public:
    explicit ScrollingLabel(QWidget* parent = nullptr);

    void setLines(const QStringList& lines);
    const QStringList& lines() const { return m_lines; }
    // One line of text (the lines are replaced).
    void setText(const QString& text) { setLines(QStringList {text}); }
    void clear() { setLines({}); }

    void start();
    void stop();
    bool isScrolling() const { return m_timer.isActive(); }

    // Pixels the text moved up since the lines were set.
    int offset() const { return m_offset; }

signals:
    void scrollingToggled(bool scrolling);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    QSize sizeHint() const override;

private:
    void step();
    int lineHeight() const;

    QStringList m_lines;
    QTimer m_timer;
    int m_offset = 0;
};

}
