#include "ui/GradientPanel.h"

#include <QLinearGradient>
#include <QPainter>

namespace velmor {

GradientPanel::GradientPanel(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

GradientPanel* GradientPanel::titleStrip(QWidget* parent, const QString& objectName)
{
    auto* strip = new GradientPanel(parent);
    strip->setObjectName(objectName);
    strip->setDirection(Direction::Vertical);
    strip->setColors(QColor(0xF7, 0xF9, 0xFD), QColor(0xBF, 0xCF, 0xE6));
    return strip;
}

void GradientPanel::setColors(const QColor& from, const QColor& to)
{
    m_from = from;
    m_to = to;
    update();
}

void GradientPanel::setDirection(Direction direction)
{
    m_direction = direction;
    update();
}

void GradientPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintGradient(painter, rect(), m_from, m_to, m_direction);
}

void paintGradient(QPainter& painter, const QRect& rect, const QColor& from, const QColor& to,
                   GradientPanel::Direction direction)
{
    QLinearGradient gradient;
    switch (direction) {
    case GradientPanel::Direction::Horizontal:
        gradient = QLinearGradient(rect.topLeft(), rect.topRight());
        gradient.setColorAt(0.0, from);
        gradient.setColorAt(1.0, to);
        break;
    case GradientPanel::Direction::Vertical:
        gradient = QLinearGradient(rect.topLeft(), rect.bottomLeft());
        gradient.setColorAt(0.0, from);
        gradient.setColorAt(1.0, to);
        break;
    case GradientPanel::Direction::HorizontalCentre:
        gradient = QLinearGradient(rect.topLeft(), rect.topRight());
        gradient.setColorAt(0.0, to);
        gradient.setColorAt(0.5, from);
        gradient.setColorAt(1.0, to);
        break;
    }
    painter.fillRect(rect, gradient);
}

}
