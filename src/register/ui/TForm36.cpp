#include "register/ui/TForm36.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmor {

TForm36::TForm36(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm36"));
    setWindowTitle(QStringLiteral("Stergere"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("IN CE MOD STERGETI POZITIA"), this);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    auto* choices = new QVBoxLayout(group);
    m_empty = new QRadioButton(QStringLiteral("Stergem si lasam locul gol"), group);
    m_empty->setObjectName(QStringLiteral("LasaGol"));
    m_renumber = new QRadioButton(QStringLiteral("Stergem si renumerotam localitatea"), group);
    m_renumber->setObjectName(QStringLiteral("Renumeroteaza"));
    choices->addWidget(m_empty);
    choices->addWidget(m_renumber);
    layout->addWidget(group);

    auto* buttons = new QHBoxLayout;
    m_run = new QPushButton(QStringLiteral("&OPEREAZA"), this);
    m_run->setObjectName(QStringLiteral("BitBtn1"));
    m_run->setToolTip(QStringLiteral("Sterge pozitia din evidenta."));
    m_run->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("&RENUNT"), this);
    m_cancel->setObjectName(QStringLiteral("BitBtn2"));
    m_cancel->setToolTip(QStringLiteral("Inchide aceasta fereastra."));
    m_cancel->setAutoDefault(false);
    buttons->addStretch(1);
    buttons->addWidget(m_run);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    connect(m_run, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    prepare();
}

void TForm36::prepare()
{
    m_empty->setChecked(true);
}

int TForm36::choice() const
{
    return m_renumber->isChecked() ? 2 : 1;
}

int TForm36::Stergere()
{
    prepare();
    m_run->setFocus();
    return exec() == QDialog::Accepted ? choice() : 0;
}

}
