#include "app/TForm1.h"

#include "services/AppContext.h"
#include "ui/GradientPanel.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

namespace velmor {

namespace {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, int pixelSize, bool bold,
                  const QColor& colour)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

}

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QString::fromLatin1(AppContext::ApplicationTitle));
    setFixedSize(WindowWidth, WindowHeight);
    setCursor(Qt::WaitCursor);

    m_title = makeLabel(this, QStringLiteral("Label1"), QStringLiteral("VELMOR"), 54, true, QColor(0x14, 0x2B, 0x4F));
    m_title->setGeometry(22, 10, 384, 66);
    auto* subtitle = makeLabel(this, QStringLiteral("Label2"), QStringLiteral("Registrul agricol"), 15, true,
                               QColor(0x2C, 0x4A, 0x78));
    subtitle->setGeometry(26, 74, 300, 20);

    // The version and its shadow copy, one pixel down and right.
    m_label7 = makeLabel(this, QStringLiteral("Label7"), QString(), 18, true, QColor(0x0A, 0x16, 0x2A));
    m_label7->setGeometry(245, 95, 170, 26);
    m_label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label6 = makeLabel(this, QStringLiteral("Label6"), QString(), 18, true, QColor(0xFF, 0xE0, 0x82));
    m_label6->setGeometry(244, 94, 170, 26);
    m_label6->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_label5 = makeLabel(this, QStringLiteral("Label5"), QStringLiteral("Incarcare date"), 13, true, Qt::white);
    m_label5->setGeometry(22, 138, 384, 20);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("Bar"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(true);
    m_bar->setFormat(QStringLiteral("%p%"));
    m_bar->setAlignment(Qt::AlignCenter);
    m_bar->setGeometry(22, 164, 384, 20);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    m_timer1->setSingleShot(false);
    connect(m_timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
}

QString TForm1::versionText()
{
    // The version title ends with the version, " 3.18"; one blank separates it from the word.
    const QString title = QString::fromLatin1(AppContext::VersionTitle);
    return QStringLiteral("versiunea ") + title.right(5).trimmed();
}

void TForm1::centre()
{
    if (const QScreen* target = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect desktop = target->geometry();
        move(desktop.center() - QPoint(WindowWidth / 2, WindowHeight / 2));
    }
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    centre();
    QCoreApplication::processEvents();
    m_label6->setText(versionText());
    m_label7->setText(versionText());
    m_timer1->start();
}

void TForm1::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    paintGradient(painter, rect(), Qt::white, QColor(0x1B, 0x33, 0x5C), GradientPanel::Direction::Vertical);
    painter.setPen(QColor(0x0A, 0x16, 0x2A));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TForm1::Timer1Timer()
{
    // Runs once.
    m_timer1->stop();
    if (m_sequence)
        m_sequence();
}

}
