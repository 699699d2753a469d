#pragma once

#include <QColor>
#include <QPushButton>

namespace velmor {

// A push button painted in its own colours: face, pressed, hot-track (mouse over), and the light
// and shadow colours of its bevel. The caption is bold white; the cursor is a hand.
class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(const QString& caption = QString(), QWidget* parent = nullptr);

    void setColors(const QColor& face, const QColor& pressed, const QColor& hotTrack,
                   const QColor& light, const QColor& shadow);

    QColor faceColor() const { return m_face; }
    QColor pressedColor() const { return m_pressed; }
    QColor hotTrackColor() const { return m_hotTrack; }
    QColor lightColor() const { return m_light; }
    QColor shadowColor() const { return m_shadow; }

    // The colour the face is painted with right now.
    QColor currentFaceColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_face = QColor(0x80, 0x80, 0x80);
    QColor m_pressed = QColor(0x40, 0x40, 0x40);
    QColor m_hotTrack = QColor(0xA0, 0xA0, 0xA0);
    QColor m_light = Qt::white;
    QColor m_shadow = Qt::black;
};

}
