#include "reports/ui/TRecensamantF.h"

#include "core/Interaction.h"
#include "data/engine/Query.h"
#include "grid/ui/IncarcaCombo.h"
#include "services/AppContext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace velmor::reports {

TRecensamantF::TRecensamantF(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TRecensamantF"));
    setWindowTitle(QStringLiteral("Recensamant 2010"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_village = new QComboBox(this);
    m_village->setObjectName(QStringLiteral("Localit"));
    m_village->setEditable(false);
    m_village->setMinimumWidth(240);
    form->addRow(QStringLiteral("Localitatea"), m_village);
    m_form = new QComboBox(this);
    m_form->setObjectName(QStringLiteral("TipRA"));
    m_form->addItems(censusFormNames());
    m_form->setCurrentIndex(0);
    form->addRow(QStringLiteral("Formularul"), m_form);
    layout->addLayout(form);
    m_includeNu = new QCheckBox(QStringLiteral("Include si gospodariile fara teren sau animale"), this);
    m_includeNu->setObjectName(QStringLiteral("IncludeNU"));
    layout->addWidget(m_includeNu);
    m_ignoreOther = new QCheckBox(QStringLiteral("la L2, ignora terenurile din Cap.2, de la Alte localitati"), this);
    m_ignoreOther->setObjectName(QStringLiteral("FaraTerenAlte"));
    layout->addWidget(m_ignoreOther);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_show = new QPushButton(QStringLiteral("&Arata lista"), this);
    m_show->setObjectName(QStringLiteral("BitBtn1"));
    m_show->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    m_cancel->setObjectName(QStringLiteral("BitBtn2"));
    m_cancel->setAutoDefault(false);
    buttons->addWidget(m_show);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("StatusBar1"));
    m_status->setSizeGripEnabled(false);
    m_status->showMessage(QStringLiteral("ESC - Renunt"));
    layout->addWidget(m_status);

    connect(m_show, &QPushButton::clicked, this, &TRecensamantF::BitBtn1Click);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TRecensamantF::IncarcaLocalitati()
{
    m_village->clear();
    if (!m_ctx.engine)
        return;
    engine::Query query(*m_ctx.engine);
    IncarcaCombo(m_village, query, m_ctx.tablePath(QStringLiteral("Identificare.dbf")), QStringLiteral("LOCALIT"),
                 QStringLiteral("ANUL=") + QString::number(m_ctx.workingYear().toLongLong()));
    m_village->setCurrentIndex(m_village->count() > 0 ? 0 : -1);
}

CensusRequest TRecensamantF::request() const
{
    CensusRequest r;
    r.form = CensusForm(m_form->currentIndex() + 1);
    r.village = m_village->currentText();
    r.includeNu = m_includeNu->isChecked();
    r.ignoreOther = m_ignoreOther->isChecked();
    r.date = QDate::currentDate();
    return r;
}

void TRecensamantF::BitBtn1Click()
{
    if (m_village->currentText().trimmed().isEmpty()) {
        m_ctx.interaction->ArataProblema(QStringLiteral("Nu ati ales localitatea!"), QStringLiteral("Localit"));
        return;
    }
    accept();
}

std::optional<CensusRequest> TRecensamantF::Alege()
{
    IncarcaLocalitati();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return request();
}

}
