#include "search/ui/TForm8.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "data/engine/Query.h"
#include "grid/ui/IncarcaCombo.h"
#include "output/ReportDocument.h"
#include "output/TableSources.h"
#include "output/ui/GridExport.h"
#include "output/ui/ReportPreview.h"
#include "search/SelectionForms.h"
#include "search/ui/TForm37.h"
#include "services/AppContext.h"
#include "ui/TNumericF.h"
#include "ui/DialogParts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmor::search {

namespace {

QTreeWidget* listView(QWidget* parent, const char* name, const QStringList& headings)
{
    auto* view = new QTreeWidget(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setHeaderLabels(headings);
    view->setRootIsDecorated(false);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->header()->setSectionResizeMode(2, QHeaderView::Stretch);
    return view;
}

const char* anchorName(RefusalAnchor anchor)
{
    switch (anchor) {
    case RefusalAnchor::ColumnAdd: return "BitBtn4";
    case RefusalAnchor::ColumnRemove: return "BitBtn5";
    case RefusalAnchor::ConditionAdd: return "BitBtn6";
    case RefusalAnchor::ConditionRemove: return "BitBtn7";
    case RefusalAnchor::Minimum: return "ValMin";
    case RefusalAnchor::Row: return "ComboBox4";
    case RefusalAnchor::Bound: return "ValMin";
    }
    return "";
}

}

TForm8::TForm8(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("Liste"));
    setModal(true);
    resize(760, 680);

    auto* layout = new QVBoxLayout(this);
    auto* strip = new QLabel(QStringLiteral("Liste cu gospodarii dupa bunurile posedate."), this);
    strip->setObjectName(QStringLiteral("Panel1"));
    QFont stripFont = strip->font();
    stripFont.setBold(true);
    stripFont.setPointSize(stripFont.pointSize() + 3);
    strip->setFont(stripFont);
    strip->setAlignment(Qt::AlignCenter);
    strip->setStyleSheet(QStringLiteral("background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #1f4e79, stop:1 #9dc3e6); color: white; padding: 6px;"));
    layout->addWidget(strip);

    // Simple filtering.
    auto* simple = new QGroupBox(QStringLiteral("FILTRARE SIMPLA"), this);
    auto* grid = new QGridLayout(simple);
    m_village = new QComboBox(simple);
    m_village->setObjectName(QStringLiteral("ComboBox1"));
    m_type = new QComboBox(simple);
    m_type->setObjectName(QStringLiteral("TipRACombo"));
    m_type->addItems({QStringLiteral("Indiferent"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    m_volume = new QComboBox(simple);
    m_volume->setObjectName(QStringLiteral("VolCombo"));
    m_chapter = new QComboBox(simple);
    m_chapter->setObjectName(QStringLiteral("ComboBox3"));
    for (int chapter : listChapters())
        m_chapter->addItem(listChapterText(chapter), chapter);
    m_row = new QComboBox(simple);
    m_row->setObjectName(QStringLiteral("ComboBox4"));
    m_min = new TNumericF(simple);
    m_min->setObjectName(QStringLiteral("ValMin"));
    m_max = new TNumericF(simple);
    m_max->setObjectName(QStringLiteral("ValMax"));
    for (TNumericF* bound : {m_min, m_max}) {
        bound->setMaxLength(7);
        bound->setMaskInt(4);
        bound->setMaskZec(2);
    }
    grid->addWidget(new QLabel(QStringLiteral("Localitatea"), simple), 0, 0);
    grid->addWidget(m_village, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Tip"), simple), 0, 2);
    grid->addWidget(m_type, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Volumul"), simple), 0, 4);
    grid->addWidget(m_volume, 0, 5);
    grid->addWidget(new QLabel(QStringLiteral("avand la capitolul"), simple), 1, 0);
    grid->addWidget(m_chapter, 1, 1, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("la randul"), simple), 2, 0);
    grid->addWidget(m_row, 2, 1, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("valoarea"), simple), 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("minim"), simple), 3, 1, Qt::AlignRight);
    grid->addWidget(m_min, 3, 2);
    grid->addWidget(new QLabel(QStringLiteral("maxim"), simple), 3, 3, Qt::AlignRight);
    grid->addWidget(m_max, 3, 4);
    grid->addWidget(new QLabel(QStringLiteral("- daca minimul sau maximul pot fi\noricat, lasati casuta respectiva goala."), simple), 4, 1, 1, 5);
    layout->addWidget(simple);

    // Advanced filtering.
    auto* advanced = new QGroupBox(QStringLiteral("FILTRARE AVANSATA"), this);
    auto* lists = new QGridLayout(advanced);
    m_columns = listView(advanced, "ListView1", {QStringLiteral("CAP."), QStringLiteral("Rand"), QStringLiteral("Denumire")});
    m_conditions = listView(advanced, "ListView2",
                            {QStringLiteral("CAP."), QStringLiteral("Rand"), QStringLiteral("Denumire"), QStringLiteral("Min."), QStringLiteral("Max.")});
    m_addColumn = commandButton(QStringLiteral("Adauga"), QStringLiteral("BitBtn4"), advanced, QStringLiteral("Adauga coloana selectata la Filtrare Simpla la raportul final."));
    m_removeColumn = commandButton(QStringLiteral("Sterge"), QStringLiteral("BitBtn5"), advanced, QStringLiteral("Sterge coloana din raportul final."));
    m_addCondition = commandButton(QStringLiteral("Adauga"), QStringLiteral("BitBtn6"), advanced, QStringLiteral("Adauga conditia de mai sus la raportul final."));
    m_removeCondition = commandButton(QStringLiteral("Sterge"), QStringLiteral("BitBtn7"), advanced, QStringLiteral("Sterge conditia selectata din raportul final."));
    m_clear = commandButton(QStringLiteral("Anulare filtrare avansata"), QStringLiteral("BitBtn3"), advanced, QStringLiteral("Anuleaza filtrarea avansata."));
    lists->addWidget(new QLabel(QStringLiteral("Coloanele alese pentru raport"), advanced), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Conditii impuse pentru raport"), advanced), 0, 1);
    lists->addWidget(m_columns, 1, 0);
    lists->addWidget(m_conditions, 1, 1);
    auto* columnButtons = new QHBoxLayout;
    columnButtons->addWidget(m_addColumn);
    columnButtons->addWidget(m_removeColumn);
    auto* conditionButtons = new QHBoxLayout;
    conditionButtons->addWidget(m_addCondition);
    conditionButtons->addWidget(m_removeCondition);
    lists->addLayout(columnButtons, 2, 0);
    lists->addLayout(conditionButtons, 2, 1);
    lists->addWidget(m_clear, 3, 0, 1, 2);
    layout->addWidget(advanced, 1);

    auto* bottom = new QHBoxLayout;
    m_create = commandButton(QStringLiteral("CREAZA LISTA"), QStringLiteral("BitBtn1"), this, QStringLiteral("Creaza raportul cu datele alese mai sus."));
    m_exportBut = commandButton(QStringLiteral("Export in excel"), QStringLiteral("ExportBut"), this, QStringLiteral("Creaza raportul cu datele alese mai sus."));
    m_close = commandButton(QStringLiteral("INCHIDE"), QStringLiteral("BitBtn2"), this, QStringLiteral("Inchide fereastra."));
    bottom->addWidget(m_create);
    bottom->addWidget(m_exportBut);
    bottom->addStretch(1);
    bottom->addWidget(m_close);
    layout->addLayout(bottom);
    layout->addWidget(statusLine(this, QStringLiteral("ESC - Iesire")));

    m_form37 = new TForm37(*m_ctx.interaction, this);

    connect(m_chapter, &QComboBox::currentIndexChanged, this, [this] { ComboBox3Change(); });
    connect(m_addColumn, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    connect(m_removeColumn, &QPushButton::clicked, this, [this] { BitBtn5Click(); });
    connect(m_addCondition, &QPushButton::clicked, this, [this] { BitBtn6Click(); });
    connect(m_removeCondition, &QPushButton::clicked, this, [this] { BitBtn7Click(); });
    connect(m_clear, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(m_create, &QPushButton::clicked, this, [this] { BitBtn1Click(false); });
    connect(m_exportBut, &QPushButton::clicked, this, [this] { BitBtn1Click(true); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    refreshLists();
}

TForm8::~TForm8() = default;

void TForm8::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm8::prepare()
{
    const std::int64_t year = m_ctx.workingYear().toLongLong();
    m_volume->clear();
    m_volume->addItem(QStringLiteral("Indiferent"));
    {
        engine::Query query(*m_ctx.engine);
        IncarcaCombo(m_volume, query, m_ctx.tablePath(QStringLiteral("Identificare.dbf")), QStringLiteral("VOLUM"),
                     QStringLiteral("ANUL=") + QString::number(year));
    }
    m_volume->setCurrentIndex(0);
    m_village->clear();
    m_village->addItem(QStringLiteral("Indiferent"));
    m_village->addItems(m_ctx.profile.villages());

    const RowLists rowLists(*m_ctx.engine, m_ctx.dataDirectory, year);
    m_rows.clear();
    for (int chapter : listChapters())
        m_rows.insert(chapter, rowLists.rows(chapter));

    m_village->setCurrentIndex(0);
    m_type->setCurrentIndex(0);
    {
        const QSignalBlocker block(m_chapter);
        m_chapter->setCurrentIndex(0);
    }
    ComboBox3Change();
    m_min->clear();
    m_max->clear();
    refreshLists();
}

void TForm8::PornesteListele()
{
    try {
        prepare();
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Liste"));
        return;
    }
    exec();
    m_rows.clear();
}

int TForm8::chapter() const
{
    return m_chapter->currentData().toInt();
}

const ListRow* TForm8::selectedRow() const
{
    const auto it = m_rows.constFind(chapter());
    const int index = m_row->currentIndex();
    if (it == m_rows.cend() || index < 0 || index >= int(it->size()))
        return nullptr;
    return &(*it)[size_t(index)];
}

ListFilter TForm8::filter() const
{
    ListFilter f;
    if (m_village->currentIndex() > 0)
        f.village = m_village->currentText();
    if (m_type->currentIndex() > 0)
        f.type = m_type->currentText().toInt();
    if (m_volume->currentIndex() > 0) {
        bool ok = false;
        const qint64 volume = m_volume->currentText().toLongLong(&ok);
        if (ok)
            f.volume = volume;
    }
    return f;
}

void TForm8::ComboBox3Change()
{
    m_row->clear();
    for (const ListRow& row : m_rows.value(chapter()))
        m_row->addItem(row.name);
    if (m_row->count() > 0)
        m_row->setCurrentIndex(0);
}

void TForm8::refuse(const ListRefusal& refusal)
{
    if (refusal.anchor() == RefusalAnchor::Minimum)
        m_min->setFocus();
    m_ctx.interaction->ArataProblema(refusal.message(), QString::fromLatin1(anchorName(refusal.anchor())));
}

void TForm8::refreshLists()
{
    m_columns->clear();
    for (const ListItem& item : m_choices.columns())
        m_columns->addTopLevelItem(new QTreeWidgetItem({QString::number(item.chapter), item.codeText(), item.name}));
    m_conditions->clear();
    for (const ListItem& item : m_choices.conditions())
        m_conditions->addTopLevelItem(
            new QTreeWidgetItem({QString::number(item.chapter), item.codeText(), item.name, item.minimum, item.maximum}));
}

void TForm8::BitBtn4Click()
{
    const ListRow* row = selectedRow();
    if (!row) {
        m_ctx.interaction->ArataProblema(noRowMessage(), QStringLiteral("ComboBox4"));
        return;
    }
    try {
        m_choices.addColumn(chapter(), *row);
    } catch (const ListRefusal& refusal) {
        refuse(refusal);
        return;
    }
    refreshLists();
}

void TForm8::BitBtn6Click()
{
    const ListRow* row = selectedRow();
    if (!row) {
        m_ctx.interaction->ArataProblema(noRowMessage(), QStringLiteral("ComboBox4"));
        return;
    }
    try {
        m_choices.addCondition(chapter(), *row, m_min->text(), m_max->text());
    } catch (const ListRefusal& refusal) {
        refuse(refusal);
        return;
    }
    refreshLists();
}

void TForm8::BitBtn5Click()
{
    QTreeWidgetItem* current = m_columns->currentItem();
    try {
        m_choices.removeColumn(current && current->isSelected() ? m_columns->indexOfTopLevelItem(current) : -1);
    } catch (const ListRefusal& refusal) {
        refuse(refusal);
        return;
    }
    refreshLists();
}

void TForm8::BitBtn7Click()
{
    QTreeWidgetItem* current = m_conditions->currentItem();
    try {
        m_choices.removeCondition(current && current->isSelected() ? m_conditions->indexOfTopLevelItem(current) : -1);
    } catch (const ListRefusal& refusal) {
        refuse(refusal);
        return;
    }
    refreshLists();
}

void TForm8::BitBtn3Click()
{
    m_choices.clear();
    refreshLists();
}

void TForm8::BitBtn1Click(bool exportChosen)
{
    if (!selectedRow()) {
        m_ctx.interaction->ArataProblema(noRowMessage(), QStringLiteral("ComboBox4"));
        return;
    }
    try {
        if (m_choices.advanced())
            runAdvanced();
        else
            runSelection(exportChosen);
    } catch (const ListRefusal& refusal) {
        refuse(refusal);
    } catch (const std::exception& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Liste"));
    }
}

void TForm8::runSelection(bool exportChosen)
{
    const std::int64_t year = m_ctx.workingYear().toLongLong();
    const SelectionList list(*m_ctx.engine, m_ctx.dataDirectory, year);
    const SelectionResult result = list.build(chapter(), *selectedRow(), m_min->text(), m_max->text(), filter());
    if (exportChosen) {
        if (exportSelection) {
            exportSelection(result);
            return;
        }
        output::ExportTable table = output::tableFromResult(result.rows);
        table.title = result.subject;
        table.footer = result.filterLine;
        output::exportTableWithDialog(table, *m_ctx.interaction);
        return;
    }
    SelectionFormTexts texts;
    const CouncilConstants& constants = m_ctx.profile.constants();
    texts.county = constants.JUDET;
    texts.councilType = constants.TIPLOC;
    texts.locality = constants.Comuna;
    texts.mayor = constants.PRIMAR;
    texts.secretary = constants.SECRETAR;
    const output::ReportDocument document = selectionDocument(result, texts);
    if (previewReport)
        previewReport(document, QStringLiteral("RAPORT"));
    else
        output::ReportPreview::preview(document, *m_ctx.interaction, QStringLiteral("RAPORT"), this);
}

void TForm8::runAdvanced()
{
    const std::int64_t year = m_ctx.workingYear().toLongLong();
    AdvancedList list(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.programDirectory, year);
    const engine::ResultSet rows = list.build(m_choices, filter());
    if (showAdvanced)
        showAdvanced(rows);
    else
        m_form37->Arata(rows);
}

}
