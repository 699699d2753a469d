#include "admin/ui/TForm21.h"

#include "admin/DataBackup.h"
#include "data/Schema.h"
#include "services/AppContext.h"
#include "ui/DialogParts.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace velmor {

TForm21::TForm21(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm21"));
    setWindowTitle(QStringLiteral("Salvare - Incarcare"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    m_bitBtn1 = new QPushButton(QStringLiteral("Salveaza baza de date"), this);
    m_bitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    m_bitBtn1->setToolTip(QStringLiteral("Salveaza toate datele programului."));
    m_bitBtn2 = new QPushButton(QStringLiteral("Incarca o baza de date"), this);
    m_bitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    m_bitBtn2->setToolTip(QStringLiteral("Sterge toate datele programului si le inlocuieste cu o salvare anterioara."));
    for (QPushButton* button : { m_bitBtn1, m_bitBtn2 }) {
        button->setMinimumHeight(40);
        button->setAutoDefault(false);
    }
    connect(m_bitBtn1, &QPushButton::clicked, this, &TForm21::BitBtn1Click);
    connect(m_bitBtn2, &QPushButton::clicked, this, &TForm21::BitBtn2Click);

    m_status = statusLine(this, QStringLiteral("ESC - Iesire"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bitBtn1);
    layout->addWidget(m_bitBtn2);
    layout->addWidget(m_status);
    setMinimumWidth(320);
}

void TForm21::Deschide()
{
    exec();
    if (m_endRequested)
        throw data::ProgramTermination(QStringLiteral("Baza de date a fost incarcata dintr-o salvare."));
}

void TForm21::BitBtn1Click()
{
    const QString current = QDir::currentPath();
    setEnabled(false);
    const DataBackup::Result result = DataBackup(m_ctx).saveDatabase();
    setEnabled(true);
    QDir::setCurrent(current);
    if (result.outcome == DataBackup::Outcome::Done || result.outcome == DataBackup::Outcome::Failed)
        reject();
}

void TForm21::BitBtn2Click()
{
    const QString current = QDir::currentPath();
    setEnabled(false);
    const DataBackup::Result result = DataBackup(m_ctx).loadDatabase();
    setEnabled(true);
    QDir::setCurrent(current);
    if (result.outcome == DataBackup::Outcome::Done || result.outcome == DataBackup::Outcome::Failed)
        reject();
    if (result.terminateProgram) {
        QApplication::setApplicationDisplayName(QStringLiteral("Inchidere"));
        m_endRequested = true;
        emit programEndRequested();
    }
}

void TForm21::SalvareAutomata(const QString& archivePath)
{
    if (isVisible())
        reject();
    DataBackup(m_ctx).SalvareAutomata(archivePath);
}

}
