#include "ui/Balloon.h"

#include "ui/KindPictures.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

namespace velmor {

namespace {

constexpr int ArrowHeight = 12;
constexpr int ArrowHalfWidth = 8;
constexpr int ArrowInset = 20; // horizontal distance of the arrow tip from the balloon's edge
constexpr int Radius = 6;

const QColor Ground(0xFF, 0xFF, 0xE1);
const QColor Border(0xA6, 0x00, 0x00);

QPointer<BalloonHint>& sharedBalloon()
{
    static QPointer<BalloonHint> balloon;
    return balloon;
}

}

BalloonHint::BalloonHint(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("Balon"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);

    m_icon = new QLabel(this);
    m_icon->setFixedSize(32, 32);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("BalonTitlu"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("BalonText"));
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);

    auto* head = new QHBoxLayout;
    head->setSpacing(8);
    head->addWidget(m_icon);
    head->addWidget(m_title, 1);
    auto* column = new QVBoxLayout(this);
    column->setSpacing(4);
    column->addLayout(head);
    column->addWidget(m_text);

    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(DurationMs);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
}

QString BalloonHint::title() const
{
    return m_title->text();
}

QString BalloonHint::text() const
{
    return m_text->text();
}

void BalloonHint::showAt(const QString& title, const QString& text, const QPoint& tip, int kind)
{
    m_timer.stop();
    hide();
    m_icon->setPixmap(kindPicture(kind));
    m_title->setText(title);
    m_text->setText(text);
    m_tip = tip;

    QScreen* screen = QGuiApplication::screenAt(tip);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(tip - QPoint(500, 500), QSize(1000, 1000));

    // Body height for the preferred width, arrow included.
    layout()->setContentsMargins(10, 8 + ArrowHeight, 10, 8);
    setFixedWidth(PreferredWidth);
    const int height = layout()->totalHeightForWidth(PreferredWidth);
    setFixedHeight(height);

    m_pointsDown = tip.y() + height > area.bottom() && tip.y() - height >= area.top();
    if (m_pointsDown)
        layout()->setContentsMargins(10, 8, 10, 8 + ArrowHeight);

    int left = tip.x() - ArrowInset;
    left = qBound(area.left(), left, qMax(area.left(), area.right() - PreferredWidth + 1));
    m_arrowX = qBound(Radius + ArrowHalfWidth, tip.x() - left, PreferredWidth - Radius - ArrowHalfWidth);
    const int top = m_pointsDown ? tip.y() - height : tip.y();
    move(left, top);

    show();
    raise();
    m_timer.start();
}

void BalloonHint::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF whole = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QRectF body = m_pointsDown ? whole.adjusted(0, 0, 0, -ArrowHeight)
                                     : whole.adjusted(0, ArrowHeight, 0, 0);
    QPainterPath path;
    path.addRoundedRect(body, Radius, Radius);
    QPainterPath arrow;
    if (m_pointsDown) {
        arrow.moveTo(m_arrowX - ArrowHalfWidth, body.bottom() - 1);
        arrow.lineTo(m_arrowX, whole.bottom());
        arrow.lineTo(m_arrowX + ArrowHalfWidth, body.bottom() - 1);
    } else {
        arrow.moveTo(m_arrowX - ArrowHalfWidth, body.top() + 1);
        arrow.lineTo(m_arrowX, whole.top());
        arrow.lineTo(m_arrowX + ArrowHalfWidth, body.top() + 1);
    }
    arrow.closeSubpath();
    path = path.united(arrow);
    p.setPen(QPen(Border, 1));
    p.setBrush(Ground);
    p.drawPath(path);
}

void BalloonHint::mousePressEvent(QMouseEvent*)
{
    m_timer.stop();
    hide();
}

BalloonHint* BalloonHint::shared()
{
    QPointer<BalloonHint>& balloon = sharedBalloon();
    if (!balloon)
        balloon = new BalloonHint;
    return balloon;
}

void ArataProblema(const QString& text, QWidget* control)
{
    QPoint tip;
    if (control) {
        tip = control->mapToGlobal(QPoint(BalloonHint::AnchorOffset, BalloonHint::AnchorOffset));
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        tip = screen->availableGeometry().center();
    }
    BalloonHint::shared()->showAt(QStringLiteral("Problema !"), text, tip, 1);
}

}
