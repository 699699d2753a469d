#include "mainwin/ui/ToolbarIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velmor {

namespace {

void drawBook(QPainter& p)
{
    p.setPen(QPen(QColor(0x1F, 0x3A, 0x68), 1.5));
    QLinearGradient cover(4, 0, 28, 0);
    cover.setColorAt(0, QColor(0x3C, 0x6E, 0xC4));
    cover.setColorAt(1, QColor(0x1F, 0x4A, 0x8C));
    p.setBrush(cover);
    p.drawRoundedRect(QRectF(6, 3, 20, 26), 2, 2);
    p.setBrush(QColor(0xF4, 0xF1, 0xE6));
    p.drawRect(QRectF(9, 6, 14, 20));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    for (int y = 10; y <= 22; y += 4)
        p.drawLine(QPointF(11, y), QPointF(21, y));
}

void drawSigma(QPainter& p)
{
    p.setPen(QPen(QColor(0x1F, 0x5F, 0x2E), 1.5));
    p.setBrush(QColor(0xE5, 0xF4, 0xE8));
    p.drawRoundedRect(QRectF(3, 3, 26, 26), 4, 4);
    QPainterPath sigma;
    sigma.moveTo(22, 8);
    sigma.lineTo(10, 8);
    sigma.lineTo(17, 16);
    sigma.lineTo(10, 24);
    sigma.lineTo(22, 24);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x1F, 0x7F, 0x3E), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(sigma);
}

void drawList(QPainter& p)
{
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5, 3, 22, 26));
    for (int i = 0; i < 5; ++i) {
        const qreal y = 8 + i * 4.5;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xC0, 0x30, 0x30));
        p.drawEllipse(QPointF(9, y), 1.4, 1.4);
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.4));
        p.drawLine(QPointF(12, y), QPointF(24, y));
    }
}

void drawChart(QPainter& p)
{
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
    p.drawLine(QPointF(4, 28), QPointF(29, 28));
    p.drawLine(QPointF(4, 28), QPointF(4, 3));
    const QColor colours[] = {QColor(0xD9, 0x53, 0x1E), QColor(0x2E, 0x86, 0xC1), QColor(0x28, 0xB4, 0x63),
                              QColor(0xF1, 0xC4, 0x0F)};
    const qreal heights[] = {12, 20, 8, 16};
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(colours[i].darker(140), 1));
        p.setBrush(colours[i]);
        p.drawRect(QRectF(7 + i * 5.5, 28 - heights[i], 4.5, heights[i]));
    }
}

void drawPlot(QPainter& p)
{
    QPainterPath field;
    field.moveTo(4, 10);
    field.lineTo(18, 4);
    field.lineTo(29, 12);
    field.lineTo(24, 28);
    field.lineTo(7, 25);
    field.closeSubpath();
    p.setPen(QPen(QColor(0x5A, 0x3E, 0x1B), 1.5));
    p.setBrush(QColor(0x9C, 0xCC, 0x65));
    p.drawPath(field);
    p.setPen(QPen(QColor(0x5A, 0x3E, 0x1B), 1, Qt::DashLine));
    p.drawLine(QPointF(18, 4), QPointF(15, 26));
    p.drawLine(QPointF(5, 17), QPointF(27, 19));
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(21, 20), 4.5, 4.5);
    p.drawLine(QPointF(24.5, 23.5), QPointF(29, 28));
}

void drawLaw(QPainter& p)
{
    p.setPen(QPen(QColor(0x6B, 0x4E, 0x16), 1.5));
    p.setBrush(QColor(0xF7, 0xE9, 0xC3));
    p.drawRoundedRect(QRectF(5, 3, 22, 26), 2, 2);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x6B, 0x4E, 0x16));
    p.drawText(QRectF(5, 3, 22, 26), Qt::AlignCenter, QStringLiteral("\u00A7"));
}

void drawPadlock(QPainter& p, bool open)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 3));
    if (open)
        p.drawArc(QRectF(14, 2, 14, 18), 0, 180 * 16);
    else
        p.drawArc(QRectF(9, 3, 14, 18), 0, 180 * 16);
    p.drawLine(QPointF(open ? 28 : 23, 12), QPointF(open ? 28 : 23, open ? 14 : 16));
    if (!open)
        p.drawLine(QPointF(9, 12), QPointF(9, 16));
    QLinearGradient body(0, 14, 0, 30);
    const QColor top = open ? QColor(0x7E, 0xD3, 0x21) : QColor(0xE8, 0xB9, 0x2E);
    body.setColorAt(0, top.lighter(120));
    body.setColorAt(1, top.darker(130));
    p.setPen(QPen(top.darker(180), 1.2));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(5, 15, 22, 15), 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawEllipse(QPointF(16, 21), 2, 2);
    p.drawRect(QRectF(15.2, 21, 1.6, 5));
}

void drawDisk(QPainter& p)
{
    p.setPen(QPen(QColor(0x1B, 0x2A, 0x49), 1.5));
    p.setBrush(QColor(0x2F, 0x4F, 0x8F));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(QColor(0xD8, 0xDE, 0xE9));
    p.drawRect(QRectF(9, 4, 14, 9));
    p.setBrush(QColor(0x1B, 0x2A, 0x49));
    p.drawRect(QRectF(18, 6, 3, 5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 17, 16, 11));
}

void drawExit(QPainter& p)
{
    p.setPen(QPen(QColor(0x5A, 0x3E, 0x1B), 1.5));
    p.setBrush(QColor(0xB5, 0x7B, 0x3C));
    p.drawRect(QRectF(5, 3, 15, 26));
    p.setBrush(QColor(0xF0, 0xD0, 0x60));
    p.drawEllipse(QPointF(16, 17), 1.3, 1.3);
    QPainterPath arrow;
    arrow.moveTo(17, 14);
    arrow.lineTo(24, 14);
    arrow.lineTo(24, 10);
    arrow.lineTo(30, 16);
    arrow.lineTo(24, 22);
    arrow.lineTo(24, 18);
    arrow.lineTo(17, 18);
    arrow.closeSubpath();
    p.setPen(QPen(QColor(0x8B, 0x00, 0x00), 1));
    p.setBrush(QColor(0xD3, 0x2F, 0x2F));
    p.drawPath(arrow);
}

}

QIcon toolbarIcon(ToolbarPicture picture, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    switch (picture) {
    case ToolbarPicture::Evidente: drawBook(p); break;
    case ToolbarPicture::Totaluri: drawSigma(p); break;
    case ToolbarPicture::Liste: drawList(p); break;
    case ToolbarPicture::Raportari: drawChart(p); break;
    case ToolbarPicture::Parcele: drawPlot(p); break;
    case ToolbarPicture::Legislatie: drawLaw(p); break;
    case ToolbarPicture::Locked: drawPadlock(p, false); break;
    case ToolbarPicture::Unlocked: drawPadlock(p, true); break;
    case ToolbarPicture::Salvare: drawDisk(p); break;
    case ToolbarPicture::Iesire: drawExit(p); break;
    }
    p.end();
    return QIcon(pixmap);
}

}
