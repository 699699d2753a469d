#pragma once

#include <QColor>
#include <QWidget>

namespace velmor {

// A plain panel filled with a two-colour gradient.
class GradientPanel : public QWidget {
    Q_OBJECT
public:
    enum class Direction {
        Horizontal,       // `from` at the left edge, `to` at the right edge
        Vertical,         // `from` at the top, `to` at the bottom
        HorizontalCentre, // `from` at the horizontal centre, `to` at both side edges
    };

    explicit GradientPanel(QWidget* parent = nullptr);
    // The program's pale blue strip, shaded top to bottom, behind toolbars and window titles.
    static GradientPanel* titleStrip(QWidget* parent, const QString& objectName);

    void setColors(const QColor& from, const QColor& to);
    void setDirection(Direction direction);

    QColor fromColor() const { return m_from; }
    QColor toColor() const { return m_to; }
    Direction direction() const { return m_direction; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_from = Qt::white;
    QColor m_to = Qt::lightGray;
    Direction m_direction = Direction::Horizontal;
};

// Paints the gradient of a panel into `rect`; shared with windows that draw their own background.
void paintGradient(QPainter& painter, const QRect& rect, const QColor& from, const QColor& to,
                   GradientPanel::Direction direction);

}
