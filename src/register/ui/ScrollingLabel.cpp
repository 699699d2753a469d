#include "register/ui/ScrollingLabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmor {

ScrollingLabel::ScrollingLabel(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setCursor(Qt::PointingHandCursor);
    m_timer.setInterval(60);
    connect(&m_timer, &QTimer::timeout, this, &ScrollingLabel::step);
}

void ScrollingLabel::setLines(const QStringList& lines)
{
    m_lines = lines;
    m_offset = 0;
    update();
}

void ScrollingLabel::start()
{
    if (!m_timer.isActive()) {
        m_timer.start();
        emit scrollingToggled(true);
    }
}

void ScrollingLabel::stop()
{
    if (m_timer.isActive()) {
        m_timer.stop();
        emit scrollingToggled(false);
    }
}

int ScrollingLabel::lineHeight() const
{
    return fontMetrics().height();
}

void ScrollingLabel::step()
{
    // The text runs from below the panel to above it, then starts again.
    const int cycle = int(m_lines.size()) * lineHeight() + contentsRect().height();
    if (cycle <= 0)
        return;
    m_offset = (m_offset + 1) % cycle;
    update();
}

void ScrollingLabel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(4, 0, -4, 0);
    painter.setClipRect(area);
    painter.setPen(palette().color(QPalette::WindowText));
    const int height = lineHeight();
    // Still: the first lines from the top; scrolling: from below the panel upwards.
    int y = isScrolling() || m_offset > 0 ? area.bottom() - m_offset : area.top();
    for (const QString& line : m_lines) {
        painter.drawText(QRect(area.left(), y, area.width(), height), Qt::AlignHCenter | Qt::AlignVCenter, line);
        y += height;
    }
}

void ScrollingLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (isScrolling())
            stop();
        else
            start();
        update();
    }
    QFrame::mousePressEvent(event);
}

QSize ScrollingLabel::sizeHint() const
{
    return QSize(fontMetrics().averageCharWidth() * 34, lineHeight() * 3 + 2 * frameWidth());
}

}
