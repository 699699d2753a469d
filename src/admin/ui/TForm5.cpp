#include "admin/ui/TForm5.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace velmor {

TForm5::TForm5(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("AUTENTIFICARE"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = m_label1->font();
    bold.setBold(true);
    m_label1->setFont(bold);

    m_edit1 = new QLineEdit(this);
    m_edit1->setObjectName(QStringLiteral("Edit1"));
    m_edit1->setEchoMode(QLineEdit::Password);
    m_edit1->installEventFilter(this);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("BitBtn1"));
    m_ok->setToolTip(QStringLiteral("Verifica Parola."));
    m_cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    m_cancel->setObjectName(QStringLiteral("BitBtn2"));
    m_cancel->setToolTip(QStringLiteral("Renunt la autentificare."));
    // Enter acts only on the focused button: Enter in the field moves to OK first.
    m_ok->setAutoDefault(true);
    m_cancel->setAutoDefault(true);
    m_ok->setDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_status = new QStatusBar(this);
    m_status->setSizeGripEnabled(false);
    m_status->showMessage(QStringLiteral("ESC - Renunt"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label1);
    layout->addWidget(m_edit1);
    layout->addLayout(buttons);
    layout->addWidget(m_status);
    setFixedWidth(300);
}

bool TForm5::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_ok->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm5::InputQuery2(const QString& caption, const QString& label, QString& value)
{
    setWindowTitle(caption);
    m_label1->setText(label);
    m_edit1->clear();
    m_edit1->setFocus(Qt::OtherFocusReason);
    if (exec() != QDialog::Accepted)
        return false;
    value = m_edit1->text();
    return true;
}

}
