#include "reports/ui/TForm9.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "grid/QueryTableModel.h"
#include "grid/ui/StandardGrid.h"
#include "output/ui/GridExport.h"
#include "output/ui/ReportPreview.h"
#include "reports/Accounting.h"
#include "services/AppContext.h"

#include <QDate>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmor::reports {

namespace {

QList<grid::ColumnDescription> accountingColumns()
{
    QList<grid::ColumnDescription> columns;
    grid::ColumnDescription code;
    code.field = QStringLiteral("CODID");
    code.hidden = true;
    columns << code;
    columns << grid::ColumnDescription{QStringLiteral("LOCALIT"), QStringLiteral("Localitatea"), 16, grid::DisplayFormat::text()};
    columns << grid::ColumnDescription{QStringLiteral("ROL"), QStringLiteral("ROL"), 7, grid::DisplayFormat::wholeNumber()};
    columns << grid::ColumnDescription{QStringLiteral("NUMEP"), QStringLiteral("Numele si prenumele"), 26, grid::DisplayFormat::text()};
    for (const int n : Accounting::Categories) {
        const QString heading = Accounting::categoryHeading(n);
        columns << grid::ColumnDescription{QStringLiteral("TI%1").arg(n), heading + QStringLiteral(" Intrav."), 9,
                                           grid::DisplayFormat::upTo(4)};
        columns << grid::ColumnDescription{QStringLiteral("TE%1").arg(n), heading + QStringLiteral(" Extrav."), 9,
                                           grid::DisplayFormat::upTo(4)};
    }
    return columns;
}

}

TForm9::TForm9(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm9"));
    setWindowTitle(QStringLiteral("Raport catre contabilitate"));
    resize(980, 560);
    auto* layout = new QVBoxLayout(this);
    m_grid = new grid::StandardGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new grid::QueryTableModel(m_grid);
    m_model->setColumns(accountingColumns());
    m_grid->setModel(m_model);
    layout->addWidget(m_grid, 1);
    auto* buttons = new QHBoxLayout;
    m_listeaza = new QPushButton(QStringLiteral("&Listeaza"), this);
    m_listeaza->setObjectName(QStringLiteral("Listeaza"));
    m_exporta = new QPushButton(QStringLiteral("&Exporta"), this);
    m_exporta->setObjectName(QStringLiteral("Exporta"));
    m_inchide = new QPushButton(QStringLiteral("&Inchide"), this);
    m_inchide->setObjectName(QStringLiteral("Inchide"));
    buttons->addStretch(1);
    buttons->addWidget(m_listeaza);
    buttons->addWidget(m_exporta);
    buttons->addWidget(m_inchide);
    layout->addLayout(buttons);
    connect(m_listeaza, &QPushButton::clicked, this, [this] { ListeazaClick(); });
    connect(m_exporta, &QPushButton::clicked, this, [this] { ExportaClick(); });
    connect(m_inchide, &QPushButton::clicked, this, &QDialog::reject);
    previewReport = [this](const output::ReportDocument& document, const QString& title) {
        output::ReportPreview::preview(document, *m_ctx.interaction, title, this);
    };
}

TForm9::~TForm9()
{
    try {
        closeTables();
    } catch (const std::exception&) {
        // The tables go at the next report at the latest.
    }
}

bool TForm9::prepare()
{
    if (!m_ctx.engine || !m_ctx.interaction)
        return false;
    try {
        m_accounting = std::make_unique<Accounting>(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.programDirectory,
                                                    m_ctx.workingYear().toLongLong());
        m_accounting->build(m_ctx.interaction);
        m_model->load(m_accounting->rows());
        m_grid->applyColumnWidths();
        return true;
    } catch (const std::exception& e) {
        m_accounting.reset();
        showError(*m_ctx.interaction, e, QStringLiteral("Contabilitate"));
        return false;
    }
}

void TForm9::closeTables()
{
    m_model->clear();
    if (m_accounting) {
        m_accounting->removeTables();
        m_accounting.reset();
    }
}

void TForm9::Deschide()
{
    if (!prepare())
        return;
    exec();
    try {
        closeTables();
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Contabilitate"));
    }
}

void TForm9::ListeazaClick()
{
    if (!m_accounting)
        return;
    try {
        previewReport(accountingDocument(m_accounting->rows(), m_ctx.profile.constants().NumePrimarie, QDate::currentDate()),
                      QStringLiteral("RAPORT CU TERENURILE IN PROPRIETATE"));
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Contabilitate"));
    }
}

void TForm9::ExportaClick()
{
    output::exportGrid(*m_grid, QStringLiteral("RAPORT CU TERENURILE IN PROPRIETATE"), QString(), *m_ctx.interaction,
                       QStringLiteral("Export Grila"));
}

}
