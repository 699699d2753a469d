#include "search/ui/TForm37.h"

#include "grid/QueryTableModel.h"
#include "grid/ui/StandardGrid.h"
#include "output/ui/GridExport.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmor::search {

TForm37::TForm37(Interaction& ui, QWidget* parent)
    : QDialog(parent)
    , m_ui(ui)
{
    setObjectName(QStringLiteral("TForm37"));
    setWindowTitle(QStringLiteral("Cautare avansata"));
    setModal(true);
    resize(820, 520);

    auto* layout = new QVBoxLayout(this);
    m_grid = new grid::StandardGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_model = new grid::QueryTableModel(m_grid);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(m_grid, 1);

    auto* buttons = new QHBoxLayout;
    m_export = new QPushButton(QStringLiteral("&EXPORTA"), this);
    m_export->setObjectName(QStringLiteral("BitBtn1"));
    m_export->setToolTip(QStringLiteral("Exportam tabelul de mai sus in Excel."));
    m_close = new QPushButton(QStringLiteral("&INCHIDE"), this);
    m_close->setObjectName(QStringLiteral("BitBtn2"));
    m_close->setToolTip(QStringLiteral("Inchide aceasta fereastra."));
    buttons->addStretch(1);
    buttons->addWidget(m_export);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    connect(m_export, &QPushButton::clicked, this, [this] { Exporta(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm37::load(const engine::ResultSet& rows)
{
    m_model->load(rows);
    m_grid->resizeColumnsToContents();
}

void TForm37::Arata(const engine::ResultSet& rows)
{
    load(rows);
    exec();
    m_model->load(engine::ResultSet{});
}

bool TForm37::Exporta()
{
    return output::exportGrid(*m_grid, windowTitle(), QString(), m_ui);
}

}
