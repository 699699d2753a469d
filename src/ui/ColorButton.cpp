#include "ui/ColorButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace velmor {

ColorButton::ColorButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    QFont f = font();
    f.setBold(true);
    setFont(f);
}

void ColorButton::setColors(const QColor& face, const QColor& pressed, const QColor& hotTrack,
                            const QColor& light, const QColor& shadow)
{
    m_face = face;
    m_pressed = pressed;
    m_hotTrack = hotTrack;
    m_light = light;
    m_shadow = shadow;
    update();
}

QColor ColorButton::currentFaceColor() const
{
    if (isDown())
        return m_pressed;
    if (underMouse())
        return m_hotTrack;
    return m_face;
}

void ColorButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect r = rect();
    const bool down = isDown();
    p.fillRect(r, currentFaceColor());

    // Bevel: light at top-left and shadow at bottom-right, swapped while pressed.
    const QColor topLeft = down ? m_shadow : m_light;
    const QColor bottomRight = down ? m_light : m_shadow;
    p.setPen(topLeft);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(bottomRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());

    QRect textRect = r.adjusted(2, 2, -2, -2);
    if (down)
        textRect.translate(1, 1);
    p.setPen(isEnabled() ? QColor(Qt::white) : QColor(0xC0, 0xC0, 0xC0));
    p.setFont(font());
    p.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = r.adjusted(3, 3, -3, -3);
        option.backgroundColor = currentFaceColor();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}

}
