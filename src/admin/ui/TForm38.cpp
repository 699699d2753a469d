#include "admin/ui/TForm38.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "grid/ui/StandardGrid.h"
#include "output/DataExport.h"
#include "output/ExportError.h"
#include "output/ui/GridExport.h"
#include "services/AppContext.h"
#include "ui/DialogParts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmor {

TForm38::TForm38(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_checks(*ctx.engine, ctx.dataDirectory, ctx.programDirectory, *ctx.interaction)
    , m_query(*ctx.engine)
{
    setObjectName(QStringLiteral("Form38"));
    setWindowTitle(QStringLiteral("Verificare Baza de Date"));
    resize(820, 520);

    auto* left = new QVBoxLayout;
    m_check1 = commandButton(QStringLiteral("&Corectitudine Gospodarii"), QStringLiteral("BitBtn1"), this);
    m_check2 = commandButton(QStringLiteral("&Membri fara CNP"), QStringLiteral("BitBtn2"), this);
    m_check3 = commandButton(QStringLiteral("&Pozitii fara cap gosp."), QStringLiteral("BitBtn3"), this);
    m_check4 = commandButton(QStringLiteral("&Diferente Parcele - Cap.2"), QStringLiteral("BitBtn4"), this);
    m_export = commandButton(QStringLiteral("E&xport Excel"), QStringLiteral("BitBtn5"), this);
    m_close = commandButton(QStringLiteral("&INCHIDE"), QStringLiteral("BitBtn6"), this, QStringLiteral("Inchide aceasta fereastra."));
    for (QPushButton* b : {m_check1, m_check2, m_check3, m_check4, m_export})
        left->addWidget(b);
    m_panel4 = new QGroupBox(QStringLiteral("Actiuni"), this);
    m_panel4->setObjectName(QStringLiteral("Panel4"));
    m_delete = commandButton(QStringLiteral("&Sterge-le !"), QStringLiteral("BitBtn7"), m_panel4);
    auto* actions = new QVBoxLayout(m_panel4);
    actions->addWidget(m_delete);
    left->addWidget(m_panel4);
    left->addStretch(1);
    left->addWidget(m_close);

    m_label6 = new QLabel(QStringLiteral("Rezultat"), this);
    m_label6->setObjectName(QStringLiteral("Label6"));
    QFont bold = m_label6->font();
    bold.setBold(true);
    m_label6->setFont(bold);
    m_grid = new grid::StandardGrid(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(&m_model);
    auto* right = new QVBoxLayout;
    right->addWidget(m_label6);
    right->addWidget(m_grid, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(m_check1, &QPushButton::clicked, this, &TForm38::CorectitudineClick);
    connect(m_check2, &QPushButton::clicked, this, &TForm38::MembriClick);
    connect(m_check3, &QPushButton::clicked, this, &TForm38::PozitiiClick);
    connect(m_check4, &QPushButton::clicked, this, &TForm38::DiferenteClick);
    connect(m_export, &QPushButton::clicked, this, &TForm38::ExportClick);
    connect(m_delete, &QPushButton::clicked, this, &TForm38::StergeClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    Reset();
}

TForm38::~TForm38()
{
    m_model.clear();
    m_checks.removeScratch();
}

void TForm38::Deschide()
{
    Reset();
    exec();
    Reset();
    m_checks.removeScratch();
}

void TForm38::Reset()
{
    m_label6->setText(QStringLiteral("Rezultat"));
    m_panel4->hide();
    engine::QueryRst(m_query);
    m_model.clear();
}

void TForm38::show(const QString& result, int check)
{
    m_model.load(m_query);
    m_label6->setText(result);
    m_lastCheck = check;
}

void TForm38::CorectitudineClick()
{
    try {
        Reset();
        show(m_checks.householdCheck(m_query), 1);
        m_panel4->setVisible(!m_query.result().rows.empty());
    } catch (const std::exception& e) {
        Reset();
        showError(*m_ctx.interaction, e, windowTitle());
    }
}

void TForm38::MembriClick()
{
    try {
        Reset();
        show(m_checks.memberCheck(m_query, m_ctx.workingYear()), 2);
    } catch (const std::exception& e) {
        Reset();
        showError(*m_ctx.interaction, e, windowTitle());
    }
}

void TForm38::PozitiiClick()
{
    try {
        Reset();
        show(m_checks.headCheck(m_query, m_ctx.workingYear()), 3);
    } catch (const std::exception& e) {
        Reset();
        showError(*m_ctx.interaction, e, windowTitle());
    }
}

void TForm38::DiferenteClick()
{
    try {
        Reset();
        show(m_checks.areaCheck(m_query, m_ctx.workingYear()), 4);
    } catch (const std::exception&) {
        Reset();
        m_ctx.interaction->Mesaj(QStringLiteral("Neconcordante suprafete"), QStringLiteral("Eroare la intocmirea raportului!"), KindError,
                                 ButtonsOk);
    }
}

void TForm38::ExportClick()
{
    if (!m_query.active())
        return;
    try {
        output::ExportTable table = output::tableFromView(*m_grid);
        table.title = windowTitle();
        table.footer = m_label6->text();
        output::exportAsChosen(table, {output::ExportFormat::Xlsx, output::ExportChoice::Destination::File}, *m_ctx.interaction);
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Export Excel"));
    }
}

void TForm38::StergeClick()
{
    if (m_lastCheck != 1 || m_query.result().rows.empty())
        return;
    if (m_ctx.interaction->Mesaj(QStringLiteral("Stergere"), QStringLiteral("Stergeti liniile afisate?"), KindWarning, ButtonsDaNu) != ResultDa)
        return;
    try {
        const QString result = m_checks.deleteListed(m_query);
        show(result, 1);
        m_panel4->setVisible(!m_query.result().rows.empty());
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Stergere"));
        CorectitudineClick();
    }
}

}
