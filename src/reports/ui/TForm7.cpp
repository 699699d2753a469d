#include "reports/ui/TForm7.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "core/StagedFile.h"
#include "data/engine/Engine.h"
#include "grid/QueryTableModel.h"
#include "grid/ui/StandardGrid.h"
#include "output/ReportDocument.h"
#include "output/ui/GridExport.h"
#include "output/ui/ReportPreview.h"
#include "reports/TotalsForms.h"
#include "reports/ui/TotalsCharts.h"
#include "services/AppContext.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QGraphicsScene>
#include <QPainter>
#include <QPointer>
#include <QStandardPaths>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmor::reports {

namespace {

struct PageInfo {
    const char* name;
    const char* caption;
    TotalsTable table;
    bool chart;
};

// Pages 1..10 in index order.
const PageInfo pageInfo[] = {
    {"R1", "Evidenta populatiei", TotalsTable::Population, false},
    {"R2", "CAP.2 - Terenuri in proprietate", TotalsTable::Chapter2, true},
    {"R3", "CAP.4 - Suprafata arabila cultivata pe raza localitatii", TotalsTable::Chapter4, true},
    {"R5", "CAP.5 - Pomi fructiferi pe raza localitatii", TotalsTable::Chapter5, true},
    {"R7", "CAP.6 - Suprafete amenajate pentru irigat", TotalsTable::Chapter6, true},
    {"R8", "CAP.7 - Animale domestice - Situatia la inceputul anului", TotalsTable::Chapter7, true},
    {"R9", "CAP.8 - Evolutia efectivelor de animale in cursul anului", TotalsTable::Chapter8, true},
    {"R10", "CAP.9 - Utilaje, instalatii agricole si de transport", TotalsTable::Chapter9, false},
    {"R11", "CAP.10 - Constructii pe raza localitatii", TotalsTable::Chapter10, false},
    {"R12", "CAP.3 - Modul de utilizare a suprafetei", TotalsTable::Chapter3, false},
};

QList<grid::ColumnDescription> columnsOf(TotalsTable table)
{
    const auto c = [](const char* field, const char* heading) {
        grid::ColumnDescription d;
        d.field = QString::fromLatin1(field);
        d.heading = QString::fromUtf8(heading);
        return d;
    };
    switch (table) {
    case TotalsTable::Population:
        return {c("LOCALIT", "Localitatea"), c("NUMEP", "Nume si prenume"), c("CNP", "C.N.P."), c("DATAS", "Data nasterii"),
                c("CODSEX", "Cod sex"), c("POZ", "Poz."), c("VOLUM", "Vol.")};
    case TotalsTable::Chapter2:
        return {c("CATEG", "CATEGORIA DE TEREN"), c("RAND", "Cod"), c("AHA", "TOTAL ha"), c("AARI", "TOTAL ari"),
                c("BHA", "localitatea de domiciliu / sediu ha"), c("BARI", "localitatea de domiciliu / sediu ari"),
                c("CHA", "alte localitati ha"), c("CARI", "alte localitati ari"), c("IHA", "intravilan ha"),
                c("IARI", "intravilan ari"), c("EHA", "extravilan ha"), c("EARI", "extravilan ari")};
    case TotalsTable::Chapter4: return {c("CATEG", "CULTURA"), c("RAND", "Cod"), c("HA", "ha"), c("ARI", "ari")};
    case TotalsTable::Chapter5: return {c("CATEG", "SPECIA"), c("RAND", "Cod"), c("NR", "EFECTIV")};
    case TotalsTable::Chapter6:
        return {c("CATEG", "CATEGORIA DE TEREN"), c("RAND", "Cod"), c("AHA", "TOTAL ha"), c("AARI", "TOTAL ari"),
                c("BHA", "localitatea de domiciliu / sediu ha"), c("BARI", "localitatea de domiciliu / sediu ari"),
                c("CHA", "alte localitati ha"), c("CARI", "alte localitati ari")};
    case TotalsTable::Chapter7: return {c("CATEG", "SPECIA"), c("RAND", "Cod"), c("NR", "CAPETE")};
    case TotalsTable::Chapter8: return {c("CATEG", "SPECIA"), c("RAND", "Cod"), c("SEM_1", "Sem. I"), c("SEM_2", "Sem. II")};
    case TotalsTable::Chapter9: return {c("CATEG", "DENUMIREA"), c("RAND", "Cod"), c("NR", "BUCATI")};
    case TotalsTable::Chapter10:
        return {c("CATEG", "DENUMIREA CONSTRUCTIEI"), c("RAND", "Cod"), c("UM", "U.M."), c("D1", "TOTAL")};
    case TotalsTable::Chapter3: return {c("CATEG", "Categosria"), c("RAND", "Cod"), c("D1", "Suprafata (ha)")};
    default: return {};
    }
}

std::int64_t yearOf(const AppContext& ctx)
{
    return ctx.workingYear().trimmed().toLongLong();
}

}

TForm7::TForm7(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("TOTALURI / GRAFICE"));
    setModal(true);
    resize(1000, 680);
    auto* outer = new QVBoxLayout(this);
    auto* band = new QLabel(QStringLiteral("TOTALURI / GRAFICE"), this);
    band->setObjectName(QStringLiteral("TitleBand"));
    QFont bandFont = band->font();
    bandFont.setBold(true);
    bandFont.setPointSizeF(bandFont.pointSizeF() * 1.4);
    band->setFont(bandFont);
    outer->addWidget(band);
    auto* body = new QHBoxLayout;
    outer->addLayout(body, 1);

    m_panelC = new QWidget(this);
    m_panelC->setObjectName(QStringLiteral("PanelC"));
    auto* panel = new QVBoxLayout(m_panelC);
    const QList<QPair<int, const char*>> buttons{{1, "Evidenta populatiei"},
                                                 {2, "Terenuri in proprietate"},
                                                 {10, "Modul de utilizare a suprafetei"},
                                                 {3, "Suprafata arabila din localitate"},
                                                 {4, "Pomi fructiferi din localitate"},
                                                 {5, "Suprafete amenajate pt. irigat"},
                                                 {6, "Animale domestice"},
                                                 {7, "Evolutia efectivelor de animale"},
                                                 {8, "Utilaje, instalatii agricole"},
                                                 {9, "Constructii pe raza localitatii"},
                                                 {0, "Raport nou"}};
    for (const auto& [n, caption] : buttons) {
        auto* b = new QToolButton(m_panelC);
        b->setObjectName(QStringLiteral("But%1").arg(n));
        b->setText(QString::fromLatin1(caption));
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        panel->addWidget(b);
        m_buttons.insert(n, b);
        connect(b, &QToolButton::clicked, this, [this, n] { pressPage(n); });
    }
    panel->addSpacing(16);
    m_expBut = new QToolButton(m_panelC);
    m_expBut->setObjectName(QStringLiteral("ExpBut"));
    m_expBut->setText(QStringLiteral("Export in Excel"));
    m_expBut->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    panel->addWidget(m_expBut);
    m_listBut = new QToolButton(m_panelC);
    m_listBut->setObjectName(QStringLiteral("ListBut"));
    m_listBut->setText(QStringLiteral("LISTEAZA"));
    m_listBut->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    panel->addWidget(m_listBut);
    panel->addStretch(1);
    connect(m_expBut, &QToolButton::clicked, this, [this] { ExpButClick(); });
    connect(m_listBut, &QToolButton::clicked, this, [this] { ListButClick(); });

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("Pages"));
    body->addWidget(m_pages, 1);
    body->addWidget(m_panelC);
    buildFilterPage();
    for (int i = 0; i < 10; ++i) {
        const PageInfo& info = pageInfo[i];
        m_pages->addWidget(buildTablePage(i + 1, QString::fromLatin1(info.name), QString::fromLatin1(info.caption), info.chart));
    }
    m_panelC->hide();
    previewReport = [this](const output::ReportDocument& document, const QString& title) {
        output::ReportPreview::preview(document, *m_ctx.interaction, title, this);
    };
}

TForm7::~TForm7() = default;

void TForm7::buildFilterPage()
{
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("R0"));
    auto* layout = new QVBoxLayout(page);
    auto* box = new QGroupBox(QStringLiteral("CRITERII DE FILTRARE"), page);
    auto* form = new QFormLayout(box);
    m_satCombo = new QComboBox(box);
    m_satCombo->setObjectName(QStringLiteral("SatCombo"));
    form->addRow(QStringLiteral("Localitatea"), m_satCombo);
    m_tipCombo = new QComboBox(box);
    m_tipCombo->setObjectName(QStringLiteral("TipRACombo"));
    m_tipCombo->addItems({QStringLiteral("Indiferent"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    form->addRow(QStringLiteral("Tip"), m_tipCombo);
    m_volCombo = new QComboBox(box);
    m_volCombo->setObjectName(QStringLiteral("VolCombo"));
    form->addRow(QStringLiteral("Volumul"), m_volCombo);
    m_sexCombo = new QComboBox(box);
    m_sexCombo->setObjectName(QStringLiteral("SexCombo"));
    m_sexCombo->addItems({QStringLiteral("Indiferent de sex"), QStringLiteral("Masculin"), QStringLiteral("Feminin")});
    form->addRow(QString(), m_sexCombo);
    m_oriceDN = new QCheckBox(QStringLiteral("Indiferent de data nasterii"), box);
    m_oriceDN->setObjectName(QStringLiteral("OriceDN"));
    m_oriceDN->setChecked(true);
    form->addRow(QString(), m_oriceDN);
    m_data1 = new QDateEdit(QDate(1900, 1, 1), box);
    m_data1->setObjectName(QStringLiteral("Data1"));
    m_data1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_data1->setCalendarPopup(true);
    form->addRow(QStringLiteral("incepand cu data"), m_data1);
    m_data2 = new QDateEdit(QDate::currentDate(), box);
    m_data2->setObjectName(QStringLiteral("Data2"));
    m_data2->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_data2->setCalendarPopup(true);
    form->addRow(QStringLiteral("terminand cu data"), m_data2);
    m_rapB1 = new QPushButton(QStringLiteral("Creaza Raport"), box);
    m_rapB1->setObjectName(QStringLiteral("RapB1"));
    m_rapB1->setToolTip(QStringLiteral("Creaza totalurile generale."));
    form->addRow(QString(), m_rapB1);
    layout->addWidget(box);
    auto* grid = new grid::StandardGrid(page);
    grid->setObjectName(QStringLiteral("GridGospodarii"));
    auto* model = new grid::QueryTableModel(grid);
    grid::ColumnDescription hidden;
    hidden.field = QStringLiteral("CODID");
    hidden.hidden = true;
    QList<grid::ColumnDescription> columns;
    for (const auto& [field, heading] : QList<QPair<const char*, const char*>>{
             {"LOCALIT", "Localitatea"}, {"POZ", "Pozitie"}, {"VOLUM", "Volum"}, {"STRADA", "Strada"}, {"NR", "Nr."},
             {"DENUMIRE", "Denumire"}}) {
        grid::ColumnDescription d;
        d.field = QString::fromLatin1(field);
        d.heading = QString::fromLatin1(heading);
        columns << d;
    }
    columns << hidden;
    model->setColumns(columns);
    grid->setModel(model);
    m_grids.insert(0, grid);
    m_models.insert(0, model);
    layout->addWidget(grid, 1);
    m_householdCount = new QLabel(page);
    m_householdCount->setObjectName(QStringLiteral("TotalGospodarii"));
    layout->addWidget(m_householdCount);
    m_pages->addWidget(page);

    connect(m_rapB1, &QPushButton::clicked, this, [this] { RapB1Click(); });
    // The household grid follows the combos, so its count is the report's.
    for (QComboBox* combo : {m_satCombo, m_tipCombo, m_volCombo})
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { reloadHouseholds(); });
    for (QComboBox* combo : {m_satCombo, m_tipCombo, m_volCombo, m_sexCombo})
        combo->installEventFilter(this);
}

QWidget* TForm7::buildTablePage(int index, const QString& name, const QString& caption, bool withChart)
{
    auto* page = new QWidget(m_pages);
    page->setObjectName(name);
    auto* layout = new QVBoxLayout(page);
    auto* title = new QLabel(caption, page);
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    layout->addWidget(title);
    auto* grid = new grid::StandardGrid(page);
    grid->setObjectName(QStringLiteral("Grid%1").arg(index));
    auto* model = new grid::QueryTableModel(grid);
    model->setColumns(columnsOf(pageInfo[index - 1].table));
    grid->setModel(model);
    m_grids.insert(index, grid);
    m_models.insert(index, model);
    if (withChart) {
        auto* tabs = new QTabWidget(page);
        tabs->setObjectName(QStringLiteral("Tabs%1").arg(index));
        tabs->addTab(grid, QStringLiteral("Tabel"));
        auto* chartPage = new QWidget(tabs);
        auto* chartLayout = new QVBoxLayout(chartPage);
        auto* host = new QWidget(chartPage);
        host->setObjectName(QStringLiteral("ChartHost%1").arg(index));
        new QVBoxLayout(host);
        chartLayout->addWidget(host, 1);
        auto* save = new QPushButton(QStringLiteral("Salveaza imaginea"), chartPage);
        save->setObjectName(QStringLiteral("SalveazaImaginea%1").arg(index));
        chartLayout->addWidget(save, 0, Qt::AlignRight);
        connect(save, &QPushButton::clicked, this, [this] { saveChartImage(); });
        tabs->addTab(chartPage, QStringLiteral("Grafic"));
        m_tabs.insert(index, tabs);
        m_chartHosts.insert(index, host);
        layout->addWidget(tabs, 1);
    } else {
        layout->addWidget(grid, 1);
    }
    if (index == 1) {
        m_personCount = new QLabel(page);
        m_personCount->setObjectName(QStringLiteral("TotalPersoane"));
        layout->addWidget(m_personCount);
    }
    return page;
}

bool TForm7::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in a combo moves to the next control.
    if (event->type() == QEvent::KeyPress && qobject_cast<QComboBox*>(watched)) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

TotalsFilter TForm7::filter() const
{
    TotalsFilter f;
    if (m_satCombo->currentIndex() > 0)
        f.village = m_satCombo->currentText();
    f.type = std::max(0, m_tipCombo->currentIndex());
    if (m_volCombo->currentIndex() > 0)
        f.volume = m_volCombo->currentText().toLongLong();
    f.sex = std::max(0, m_sexCombo->currentIndex());
    f.anyBirthDate = m_oriceDN->isChecked();
    f.bornFrom = m_data1->date();
    f.bornTo = m_data2->date();
    return f;
}

void TForm7::prepare()
{
    m_totals = std::make_unique<Totals>(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.programDirectory, yearOf(m_ctx));
    {
        const QSignalBlocker a(m_satCombo), b(m_volCombo), c(m_tipCombo);
        m_satCombo->clear();
        m_satCombo->addItem(QStringLiteral("INDIFERENT"));
        m_satCombo->addItems(m_ctx.profile.villages());
        m_satCombo->setCurrentIndex(0);
        m_volCombo->clear();
        m_volCombo->addItem(QStringLiteral("INDIFERENT"));
        for (const std::int64_t volume : m_totals->volumes())
            m_volCombo->addItem(QString::number(volume));
        m_volCombo->setCurrentIndex(0);
    }
    reloadHouseholds();
    m_panelC->hide();
    m_pages->setCurrentIndex(0);
    for (QToolButton* b : std::as_const(m_buttons))
        b->setChecked(false);
}

void TForm7::Deschide()
{
    try {
        prepare();
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Totaluri"));
        return;
    }
    exec();
}

void TForm7::reloadHouseholds()
{
    if (!m_totals)
        return;
    try {
        m_models[0]->load(m_totals->households(filter()));
    } catch (const std::exception& e) {
        m_models[0]->clear();
        showError(*m_ctx.interaction, e, QStringLiteral("Totaluri"));
    }
    m_householdCount->setText(QStringLiteral("TOTAL GOSPODARII AFISATE : %1").arg(m_models[0]->rowCount()));
}

void TForm7::RapB1Click()
{
    if (!m_totals)
        return;
    if (m_models[0]->rowCount() == 0) {
        m_ctx.interaction->ArataProblema(Totals::noHouseholdsMessage(), QStringLiteral("RapB1"));
        return;
    }
    closeTables();
    try {
        m_totals->build(filter(), m_ctx.interaction);
    } catch (const NoHouseholdsError& e) {
        m_ctx.interaction->ArataProblema(e.message(), QStringLiteral("RapB1"));
        return;
    } catch (const std::exception& e) {
        m_ctx.interaction->ArataProblema(QStringLiteral("Windows-ul are o problema! \nInchideti programul, restartati "
                                                        "calculatorul si mai incercati odata..."),
                                         QStringLiteral("RapB1"));
        showError(*m_ctx.interaction, e, QStringLiteral("Totaluri"));
        return;
    }
    pressPage(1);
}

int TForm7::activePage() const
{
    return m_pages->currentIndex();
}

TotalsTable TForm7::tableOfPage(int index) const
{
    return pageInfo[index - 1].table;
}

void TForm7::pressPage(int n)
{
    if (n < 0 || n > 10)
        return;
    if (n > 0 && (!m_totals || !m_totals->built())) {
        m_buttons.value(n)->setChecked(false);
        return;
    }
    m_panelC->setVisible(n > 0);
    m_expBut->setVisible(n == 1);
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it)
        it.value()->setChecked(it.key() == n);
    const int previous = m_pages->currentIndex();
    if (previous > 0 && previous != n)
        m_models[previous]->clear();
    m_pages->setCurrentIndex(n);
    if (n > 0)
        loadPage(n);
}

void TForm7::loadPage(int index)
{
    const TotalsTable table = tableOfPage(index);
    try {
        m_models[index]->load(m_totals->page(table));
        if (index == 1)
            m_personCount->setText(QStringLiteral("TOTAL PERSOANE AFISATE: %1").arg(m_models[index]->rowCount()));
        if (QWidget* host = m_chartHosts.value(index)) {
            while (QLayoutItem* item = host->layout()->takeAt(0)) {
                delete item->widget();
                delete item;
            }
            host->layout()->addWidget(makeTotalsChart(table, m_totals->chart(table), host));
        }
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Totaluri"));
    }
}

void TForm7::showChart(bool on)
{
    if (QTabWidget* tabs = m_tabs.value(activePage()))
        tabs->setCurrentIndex(on ? 1 : 0);
}

void TForm7::ListButClick()
{
    const int index = activePage();
    if (index < 1 || !m_totals || !m_totals->built())
        return;
    const TotalsTable table = tableOfPage(index);
    try {
        engine::ResultSet rows = m_totals->page(table);
        if (table == TotalsTable::Population && rows.rows.empty()) {
            m_ctx.interaction->ArataProblema(Totals::emptyListMessage(), QStringLiteral("Grid1"));
            return;
        }
        TotalsFormTexts texts;
        texts.council = m_ctx.profile.constants().NumePrimarie;
        texts.commune = m_ctx.profile.constants().Comuna;
        const TotalsFilter f = filter();
        texts.filter = Totals::filterDescription(f);
        texts.populationLine = Totals::populationLine(f);
        texts.year = yearOf(m_ctx);
        QTabWidget* tabs = m_tabs.value(index);
        if (tabs && tabs->currentIndex() == 1) {
            const output::ReportDocument document = totalsChartDocument(table, chartDrawing(), texts);
            previewReport(document, totalsChartTitle(table).replace(QLatin1Char('\n'), QLatin1Char(' ')));
            return;
        }
        const output::ReportDocument document = totalsDocument(table, std::move(rows), texts);
        previewReport(document, totalsFormTitle(table).join(QLatin1Char(' ')));
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Totaluri"));
    }
}

QChartView* TForm7::chartView() const
{
    QWidget* host = m_chartHosts.value(activePage());
    return host ? host->findChild<QChartView*>() : nullptr;
}

output::ReportDocument::Drawing TForm7::chartDrawing() const
{
    QPointer<QChartView> view = chartView();
    return [view](QPainter& painter, const QRectF& box) {
        if (!view)
            return;
        QChart* chart = view->chart();
        QRectF source = chart->sceneBoundingRect();
        if (source.width() < 100 || source.height() < 100) {
            chart->resize(QSizeF(900, 650));
            source = chart->sceneBoundingRect();
        }
        // The chart keeps its proportions inside the box.
        const double scale = std::min(box.width() / source.width(), box.height() / source.height());
        const QRectF target(box.left() + (box.width() - source.width() * scale) / 2, box.top(), source.width() * scale,
                            source.height() * scale);
        chart->scene()->render(&painter, target, source);
    };
}

bool TForm7::saveChartImage()
{
    QChartView* view = chartView();
    if (!view)
        return false;
    const QString file = m_ctx.interaction->chooseSaveFile(QStringLiteral("Salveaza imaginea"),
                                                           QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                                                           QStringLiteral("Imagini PNG (*.png)"));
    if (file.isEmpty())
        return false;
    const QString target = file.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ? file : file + QStringLiteral(".png");
    try {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!view->grab().save(&buffer, "PNG"))
            throw Error(QStringLiteral("Imaginea graficului nu poate fi scrisa."));
        StagedFile::replace(target, bytes);
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Salveaza imaginea"));
        return false;
    }
    return true;
}

void TForm7::ExpButClick()
{
    if (activePage() != 1)
        return;
    output::exportGrid(*m_grids[1], QStringLiteral("EVIDENTA POPULATIEI in anul %1").arg(yearOf(m_ctx)), QString(),
                       *m_ctx.interaction, QStringLiteral("Export Grila"));
}

void TForm7::closeTables()
{
    for (auto it = m_models.cbegin(); it != m_models.cend(); ++it) {
        if (it.key() > 0)
            it.value()->clear();
    }
}

void TForm7::removeTables()
{
    closeTables();
    if (!m_totals)
        return;
    try {
        m_totals->removeTables();
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Totaluri"));
    }
}

void TForm7::closeEvent(QCloseEvent* event)
{
    removeTables();
    QDialog::closeEvent(event);
}

void TForm7::reject()
{
    removeTables();
    QDialog::reject();
}

}
