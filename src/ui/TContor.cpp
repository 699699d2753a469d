#include "ui/TContor.h"

#include "ui/GradientPanel.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

namespace velmor {

namespace {
const QColor EdgeColour(0x00, 0x59, 0x59);
}

TContor::TContor(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("Contor"));
    setFixedSize(WindowWidth, WindowHeight);
    setCursor(Qt::WaitCursor);
    setAttribute(Qt::WA_ShowWithoutActivating);

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry((WindowWidth - 300) / 2, 10, 300, 22);
    m_label1->setAlignment(Qt::AlignCenter);
    QFont bold = m_label1->font();
    bold.setBold(true);
    m_label1->setFont(bold);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("Bar"));
    m_bar->setGeometry((WindowWidth - 300) / 2, 42, 300, 24);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(true);
    m_bar->setFormat(QStringLiteral("%p%"));
}

void TContor::Arata(QWidget* form)
{
    if (form && form != this) {
        form->setEnabled(false);
        form->setCursor(Qt::WaitCursor);
    }
    show();
    raise();
    QCoreApplication::processEvents();
}

void TContor::Distruge(QWidget* form)
{
    hide();
    if (form && form != this) {
        form->setEnabled(true);
        form->unsetCursor();
        form->activateWindow();
        form->setFocus(Qt::OtherFocusReason);
    }
    QCoreApplication::processEvents();
}

void TContor::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintGradient(painter, rect(), Qt::white, EdgeColour, GradientPanel::Direction::HorizontalCentre);
}

void TContor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        const QSize outer = frameGeometry().size();
        move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
    }
}

}
