#include "ui/KindPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace velmor {

namespace {

void drawSign(QPainter& p, const QRectF& r, const QString& sign, const QColor& colour)
{
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(qRound(r.height() * 0.7));
    p.setFont(f);
    p.setPen(colour);
    p.drawText(r, Qt::AlignCenter, sign);
}

}

QPixmap kindPicture(int kind, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1, 1, size - 2, size - 2);

    switch (kind) {
    case 0: {
        QPainterPath triangle;
        triangle.moveTo(r.center().x(), r.top());
        triangle.lineTo(r.right(), r.bottom());
        triangle.lineTo(r.left(), r.bottom());
        triangle.closeSubpath();
        p.setPen(QPen(QColor(0x38, 0x36, 0x23), 1.5));
        p.setBrush(QColor(0xF2, 0xD0, 0x3B));
        p.drawPath(triangle);
        drawSign(p, r.adjusted(0, r.height() * 0.2, 0, 0), QStringLiteral("!"), QColor(0x38, 0x36, 0x23));
        break;
    }
    case 2:
        p.setPen(QPen(QColor(0x00, 0x00, 0x93), 1.5));
        p.setBrush(QColor(0x00, 0x00, 0xFF));
        p.drawEllipse(r);
        drawSign(p, r, QStringLiteral("i"), Qt::white);
        break;
    case 3:
        p.setPen(QPen(QColor(0x36, 0x5F, 0x9C), 1.5));
        p.setBrush(QColor(0x39, 0x66, 0xA8));
        p.drawEllipse(r);
        drawSign(p, r, QStringLiteral("?"), Qt::white);
        break;
    default: {
        p.setPen(QPen(QColor(0xA6, 0x00, 0x00), 1.5));
        p.setBrush(QColor(0xFF, 0x00, 0x00));
        p.drawEllipse(r);
        const qreal m = size * 0.3;
        p.setPen(QPen(Qt::white, size / 10.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(m, m), QPointF(size - m, size - m));
        p.drawLine(QPointF(size - m, m), QPointF(m, size - m));
        break;
    }
    }
    return pixmap;
}

}
