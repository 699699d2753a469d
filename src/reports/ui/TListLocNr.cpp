#include "reports/ui/TListLocNr.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "output/ui/GridExport.h"
#include "reports/ResidentLists.h"
#include "services/AppContext.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace velmor::reports {

namespace {

const QList<output::ExportFormat> ListFormats{output::ExportFormat::Html, output::ExportFormat::Xlsx, output::ExportFormat::Word,
                                              output::ExportFormat::Rtf};

void exportList(AppContext& ctx, const QString& title, engine::ResultSet (ResidentLists::*list)() const)
{
    if (!ctx.engine || !ctx.interaction)
        return;
    try {
        const ResidentLists lists(*ctx.engine, ctx.dataDirectory, ctx.workingYear().toLongLong());
        const engine::ResultSet rows = (lists.*list)();
        output::exportTableWithDialog(ResidentLists::listExport(rows, title), *ctx.interaction, QStringLiteral("Export datele"),
                                      ListFormats);
    } catch (const std::exception& e) {
        showError(*ctx.interaction, e, title);
    }
}

}

TListLocNr::TListLocNr(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TListLocNr"));
    setWindowTitle(QStringLiteral("Lista Locuitori dupa strada"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Strada"), this);
    m_strada = new QComboBox(this);
    m_strada->setObjectName(QStringLiteral("Strada"));
    m_strada->setEditable(false);
    m_strada->setMinimumWidth(260);
    label->setBuddy(m_strada);
    row->addWidget(label);
    row->addWidget(m_strada, 1);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    m_arata = new QPushButton(QStringLiteral("&Arata lista"), this);
    m_arata->setObjectName(QStringLiteral("ArataLista"));
    m_renunt = new QPushButton(QStringLiteral("&Renunt"), this);
    m_renunt->setObjectName(QStringLiteral("Renunt"));
    buttons->addStretch(1);
    buttons->addWidget(m_arata);
    buttons->addWidget(m_renunt);
    layout->addLayout(buttons);
    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->showMessage(QStringLiteral("ESC - Renunt"));
    layout->addWidget(status);
    connect(m_arata, &QPushButton::clicked, this, [this] { ArataListaClick(); });
    connect(m_renunt, &QPushButton::clicked, this, &QDialog::reject);
}

bool TListLocNr::prepare()
{
    m_strada->clear();
    if (!m_ctx.engine || !m_ctx.interaction)
        return false;
    try {
        m_strada->addItems(ResidentLists(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.workingYear().toLongLong()).streets());
        return true;
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, windowTitle());
        return false;
    }
}

void TListLocNr::Deschide()
{
    if (prepare())
        exec();
}

void TListLocNr::ArataListaClick()
{
    const QString street = m_strada->currentText();
    if (street.isEmpty())
        return;
    try {
        const ResidentLists lists(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.workingYear().toLongLong());
        output::exportTableWithDialog(ResidentLists::residentsExport(lists.residents(street), street), *m_ctx.interaction,
                                      QStringLiteral("Export datele"), ListFormats);
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, windowTitle());
    }
}

void TListLocNr::exportHouseholdSizes(AppContext& ctx)
{
    exportList(ctx, QStringLiteral("Liste Gospodarii dupa nr.membri"), &ResidentLists::householdSizes);
}

void TListLocNr::exportDwellings(AppContext& ctx)
{
    exportList(ctx, QStringLiteral("Lista Constructiilor cu destinatie de locuinta"), &ResidentLists::dwellings);
}

}
