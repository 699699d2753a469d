#include "search/ui/TTarlaC.h"

#include "core/Error.h"
#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "grid/ui/StandardGrid.h"
#include "grid/ui/IncarcaCombo.h"
#include "register/PlotValueLists.h"
#include "register/ui/UpperCase.h"
#include "search/NameSearch.h"
#include "services/AppContext.h"
#include "services/LineListFile.h"
#include "ui/EnterOrder.h"
#include "ui/GradientPanel.h"
#include "ui/DialogParts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace velmor {

using search::PlotSearch;

namespace {

QLabel* boldLabel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QComboBox* selector(const QString& name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(false);
    box->setMinimumWidth(150);
    return box;
}

QLineEdit* edit(const QString& name, int length, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setMaxLength(length);
    return e;
}

// The selected item's text, empty for the "any" item.
QString chosen(const QComboBox* box)
{
    return box->currentIndex() > 0 ? box->currentText() : QString();
}

}

TTarlaC::TTarlaC(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("TTarlaC"));
    setWindowTitle(QStringLiteral("Parcele"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    resize(1000, 680);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* strip = GradientPanel::titleStrip(this, QStringLiteral("Panel1"));
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(8, 6, 8, 6);
    stripLayout->addWidget(boldLabel(QStringLiteral("Parcele - Rapoarte, cautare"), strip));
    stripLayout->addStretch(1);
    layout->addWidget(strip);

    auto* body = new QWidget(this);
    auto* bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(6, 6, 6, 6);

    auto* group = new QGroupBox(QStringLiteral("Cauta tarlalele care au :"), body);
    auto* fields = new QGridLayout(group);
    auto add = [&](int row, int column, const QString& label, QWidget* field) {
        fields->addWidget(new QLabel(label, group), row, column * 2);
        fields->addWidget(field, row, column * 2 + 1);
        field->installEventFilter(this);
    };
    m_deed = selector(QStringLiteral("ComboBox2"), group);
    m_deedNumber = edit(QStringLiteral("Edit1"), PlotSearch::DeedNumberLength, group);
    m_category = selector(QStringLiteral("ComboBox3"), group);
    m_category->addItems(PlotSearch::categories());
    m_areaKind = selector(QStringLiteral("ComboBox4"), group);
    m_areaKind->addItems(PlotSearch::areaKinds());
    m_block = selector(QStringLiteral("ComboBox1"), group);
    m_blockNumber = edit(QStringLiteral("Edit3"), PlotSearch::BlockNumberLength, group);
    m_parcel = edit(QStringLiteral("Edit4"), PlotSearch::ParcelLength, group);
    m_head = edit(QStringLiteral("Edit2"), PlotSearch::HeadLength, group);
    m_cadastral = edit(QStringLiteral("NrCad"), PlotSearch::CadastralLength, group);
    m_worker = selector(QStringLiteral("CineLuc"), group);
    m_type = selector(QStringLiteral("TipRA"), group);
    m_type->addItems({PlotSearch::anyItem(), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    m_village = selector(QStringLiteral("LocalitC"), group);
    add(0, 0, QStringLiteral("Act doveditor"), m_deed);
    add(0, 1, QStringLiteral("Numarul"), m_deedNumber);
    add(0, 2, QStringLiteral("Categoria"), m_category);
    add(0, 3, QStringLiteral("Incadrare"), m_areaKind);
    add(1, 0, QStringLiteral("Tarlaua"), m_block);
    add(1, 1, QStringLiteral("Numarul"), m_blockNumber);
    add(1, 2, QStringLiteral("Nr.parcela"), m_parcel);
    add(1, 3, QStringLiteral("Cap gospodarie"), m_head);
    add(2, 0, QStringLiteral("Nr.cadastral"), m_cadastral);
    add(2, 1, QStringLiteral("Cine lucreaza"), m_worker);
    add(2, 2, QStringLiteral("TIP"), m_type);
    add(2, 3, QStringLiteral("Localitatea"), m_village);
    bodyLayout->addWidget(group);
    m_order = {m_deed, m_deedNumber, m_category, m_areaKind, m_block, m_blockNumber,
               m_parcel, m_head, m_cadastral, m_worker, m_type, m_village};

    auto* resultHead = new QHBoxLayout;
    resultHead->addWidget(boldLabel(QStringLiteral("REZULTATELE CAUTARII"), body));
    resultHead->addStretch(1);
    m_total = boldLabel(PlotSearch::totalLabel(0), body);
    m_total->setObjectName(QStringLiteral("Panel3"));
    resultHead->addWidget(m_total);
    bodyLayout->addLayout(resultHead);

    QList<grid::ColumnDescription> columns;
    for (int c = 0; c < PlotSearch::gridFields().size(); ++c) {
        grid::ColumnDescription d;
        d.field = PlotSearch::gridFields()[c];
        d.heading = PlotSearch::gridHeadings()[c];
        columns << d;
    }
    m_rows.setColumns(columns);
    m_grid = new grid::StandardGrid(body);
    m_grid->setObjectName(QStringLiteral("SMDBGrid11"));
    m_grid->setModel(&m_rows);
    m_grid->setSortingEnabled(false);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &TTarlaC::SMDBGrid11TitleClick);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (m_busy > 0 || !m_search || !current.isValid())
            return;
        m_search->setCurrent(current.row());
        TxAfterScroll();
    });

    auto* lower = new QHBoxLayout;
    lower->addWidget(m_grid, 4);
    auto* picturesBox = new QVBoxLayout;
    picturesBox->addWidget(boldLabel(QStringLiteral("FISIERE ATASATE"), body));
    grid::ColumnDescription file;
    file.field = QStringLiteral("FISIER");
    file.heading = QStringLiteral("FISIER");
    file.width = 40;
    m_pictureRows.setColumns({file});
    m_pictures = new grid::StandardGrid(body);
    m_pictures->setObjectName(QStringLiteral("DBGrid1"));
    m_pictures->setModel(&m_pictureRows);
    m_pictures->setToolTip(QStringLiteral("Dublu click pe poza pentru deschidere."));
    connect(m_pictures, &QAbstractItemView::doubleClicked, this, [this] { openPicture(); });
    picturesBox->addWidget(m_pictures, 1);
    lower->addLayout(picturesBox, 1);
    bodyLayout->addLayout(lower, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_export = commandButton(QStringLiteral("&Exporta Lista"), QStringLiteral("BitBtn1"), body,
                             QStringLiteral("Duce tabelul rezultat intr-un program pentru a fi listat."));
    m_close = commandButton(QStringLiteral("&Inchide fereastra"), QStringLiteral("BitBtn2"), body, QStringLiteral("Inchide fereastra."));
    buttons->addWidget(m_export);
    buttons->addWidget(m_close);
    bodyLayout->addLayout(buttons);
    layout->addWidget(body, 1);

    m_status = statusLine(this, QStringLiteral("ESC - Iesire"));
    layout->addWidget(m_status);

    for (QLineEdit* e : {m_parcel, m_head, m_cadastral})
        upperCaseWhileTyping(e);
    for (QComboBox* box : {m_deed, m_category, m_areaKind, m_block, m_worker, m_type, m_village})
        connect(box, &QComboBox::currentIndexChanged, this, &TTarlaC::Filtreaza);
    for (QLineEdit* e : {m_deedNumber, m_blockNumber, m_parcel, m_head, m_cadastral})
        connect(e, &QLineEdit::textChanged, this, &TTarlaC::Filtreaza);
    connect(m_export, &QPushButton::clicked, this, &TTarlaC::BitBtn1Click);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

TTarlaC::~TTarlaC() = default;

void TTarlaC::loadList(QComboBox* box, const QString& file, const QString& any, const QString& column)
{
    box->clear();
    const QString path = QDir(m_ctx.dataDirectory).filePath(file);
    if (QFileInfo::exists(path)) {
        box->addItems(readLineList(path, file));
    } else {
        box->addItem(any);
        engine::Query query(*m_ctx.engine);
        IncarcaCombo(box, query, m_ctx.tablePath(QStringLiteral("Tarlale.dbf")), column, QString());
    }
    if (box->count() == 0 || box->itemText(0) != any)
        box->insertItem(0, any);
    box->setCurrentIndex(0);
}

void TTarlaC::pregateste()
{
    if (!m_ctx.engine)
        return;
    m_busy = 1;
    m_search = std::make_unique<PlotSearch>(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.workingYear());
    m_village->clear();
    m_village->addItem(PlotSearch::anyItem());
    {
        engine::Query query(*m_ctx.engine);
        IncarcaCombo(m_village, query, m_ctx.tablePath(QStringLiteral("Identificare.dbf")), QStringLiteral("LOCALIT"),
                     QStringLiteral("ANUL=") + QString::number(m_ctx.workingYear().toLongLong()));
        m_village->setCurrentIndex(0);
    }
    loadList(m_deed, QStringLiteral("TarlaActe.txt"), PlotSearch::anyItem(), QStringLiteral("ACT"));
    loadList(m_block, QStringLiteral("Tarlale.txt"), PlotSearch::anyItem(), QStringLiteral("TARLA"));
    loadList(m_worker, QStringLiteral("CineLuc.txt"), PlotSearch::anyWorker(), QStringLiteral("CINELUC"));
    m_busy = 0;
    Filtreaza();
}

void TTarlaC::Deschide()
{
    try {
        pregateste();
    } catch (const Error& e) {
        m_busy = 0;
        showError(*m_ctx.interaction, e, QStringLiteral("Parcele"));
        return;
    }
    exec();
    m_rows.clear();
    m_pictureRows.clear();
}

search::PlotFilters TTarlaC::filters()
{
    // The numbers are trimmed in their fields first.
    for (QLineEdit* e : {m_deedNumber, m_blockNumber, m_parcel}) {
        if (e->text() != e->text().trimmed()) {
            const QSignalBlocker quiet(e);
            e->setText(e->text().trimmed());
        }
    }
    search::PlotFilters f;
    f.deed = chosen(m_deed);
    f.deedNumber = m_deedNumber->text();
    f.category = chosen(m_category);
    f.type = chosen(m_type);
    f.village = chosen(m_village);
    f.areaKind = chosen(m_areaKind);
    f.block = chosen(m_block);
    f.worker = chosen(m_worker);
    f.blockNumber = m_blockNumber->text();
    f.parcel = search::typedSearchText(m_parcel->text());
    f.head = search::typedSearchText(m_head->text());
    f.cadastral = search::typedSearchText(m_cadastral->text());
    return f;
}

void TTarlaC::showRows()
{
    const QSignalBlocker quiet(m_grid->selectionModel());
    m_rows.load(m_search->rows());
    m_total->setText(m_search->totalLabel());
}

void TTarlaC::selectCurrent()
{
    if (m_search->current() >= 0)
        m_grid->setCurrentIndex(m_rows.index(m_search->current(), 0));
}

void TTarlaC::Filtreaza()
{
    if (!m_search)
        return;
    if (++m_busy > 1)
        return;
    for (;;) {
        try {
            m_search->run(filters());
        } catch (const Error& e) {
            m_busy = 0;
            showError(*m_ctx.interaction, e, QStringLiteral("Parcele"));
            return;
        }
        showRows();
        const int was = m_busy;
        m_busy = 0;
        if (was >= 2) {
            m_busy = 1;
            continue;
        }
        break;
    }
    m_busy = 1;
    selectCurrent();
    m_busy = 0;
    TxAfterScroll();
}

void TTarlaC::TxAfterScroll()
{
    if (!m_search || m_busy > 0)
        return;
    engine::ResultSet pictures;
    pictures.fields = {engine::ResultField {QStringLiteral("FISIER"), engine::FieldType::Text, 240, 0}};
    try {
        for (const QString& file : m_search->pictures(m_search->currentPlot()))
            pictures.rows.push_back({dbf::Value(file)});
    } catch (const Error& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Parcele"));
    }
    m_pictureRows.load(std::move(pictures));
}

void TTarlaC::SMDBGrid11TitleClick(int column)
{
    if (!m_search || m_busy > 0 || m_search->rowCount() == 0 || column < 0 || column >= PlotSearch::gridFields().size())
        return;
    m_busy = 1;
    try {
        m_search->sortBy(PlotSearch::gridFields()[column]);
    } catch (const Error& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Parcele"));
    }
    showRows();
    selectCurrent();
    m_busy = 0;
    TxAfterScroll();
}

void TTarlaC::BitBtn1Click()
{
    if (!m_search || m_busy > 0 || m_search->rowCount() == 0)
        return;
    m_busy = 1;
    try {
        m_search->exportOrder();
        showRows();
        selectCurrent();
        m_search->exportList(m_ctx.programDirectory, m_ctx.profile.constants().NumePrimarie, QDate::currentDate(), *m_ctx.interaction);
    } catch (const Error& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Lista proprietati"));
    }
    m_busy = 0;
}

void TTarlaC::openPicture()
{
    const QModelIndex index = m_pictures->currentIndex();
    if (m_pictureRows.rowCount() == 0 || !index.isValid()) {
        m_ctx.interaction->ArataProblema(QStringLiteral("Nu aveti nici o poza!"), QStringLiteral("DBGrid1"));
        return;
    }
    const QString file = m_pictureRows.data(m_pictureRows.index(index.row(), 0)).toString().trimmed();
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        m_ctx.interaction->ArataProblema(QStringLiteral("Fisierul nu mai exista!"), QStringLiteral("DBGrid1"));
        return;
    }
    m_ctx.interaction->openFile(file);
}

bool TTarlaC::eventFilter(QObject* watched, QEvent* event)
{
    if (moveOnEnter(watched, event, m_order, [] {}))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TTarlaC::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
}

}
