#include "search/ui/TForm39.h"

#include "core/Error.h"
#include "core/ErrorReport.h"
#include "search/RAgr2Report.h"
#include "services/AppContext.h"
#include "services/Settings.h"

#include <QDate>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace velmor {

namespace {

QLineEdit* digitsField(QWidget* parent, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(maxLength);
    edit->setAlignment(Qt::AlignRight);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

}

TForm39::TForm39(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm39"));
    setModal(true);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    m_siruta = digitsField(this, 16);
    m_siruta->setObjectName(QStringLiteral("Edit1"));
    m_number = digitsField(this, RAgr2Report::NumberDigits);
    m_number->setObjectName(QStringLiteral("Edit2"));
    m_date = new QDateEdit(this);
    m_date->setObjectName(QStringLiteral("DateTimePicker1"));
    m_date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_date->setCalendarPopup(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Cod SIRUTA"), m_siruta);
    form->addRow(QStringLiteral("NR."), m_number);
    form->addRow(QStringLiteral("din data"), m_date);
    m_report = new QPushButton(QStringLiteral("&RAPORT"), this);
    m_report->setObjectName(QStringLiteral("BitBtn1"));
    m_report->setToolTip(QStringLiteral("Creaza raportul."));
    m_cancel = new QPushButton(QStringLiteral("&RENUNT"), this);
    m_cancel->setObjectName(QStringLiteral("BitBtn2"));
    m_cancel->setToolTip(QStringLiteral("Inchide aceasta fereastra."));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_report);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(m_report, &QPushButton::clicked, this, &TForm39::BitBtn1Click);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm39::CurataCampurile(Settings& settings)
{
    m_settings = &settings;
    const auto [siruta, number] = RAgr2Report::proposedHeader(settings);
    m_siruta->setText(siruta.left(16));
    m_number->setText(number.left(RAgr2Report::NumberDigits));
    m_date->setDate(QDate::currentDate());
}

bool TForm39::Adaugare(const QString& caption, Settings& settings)
{
    setWindowTitle(caption);
    CurataCampurile(settings);
    m_number->setFocus();
    return exec() == QDialog::Accepted;
}

void TForm39::BitBtn1Click()
{
    if (m_settings) {
        try {
            RAgr2Report::storeHeader(*m_settings, m_siruta->text(), m_number->text());
        } catch (const Error& e) {
            // The report can still be made; the next one may propose the same number.
            if (m_ctx.interaction)
                showError(*m_ctx.interaction, e, windowTitle());
        }
    }
    accept();
}

}
