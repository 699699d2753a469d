#include "register/ui/PlotsPage.h"

#include "data/dbf/ValueConversions.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "grid/QueryTableModel.h"
#include "grid/ui/StandardGrid.h"
#include "register/HouseholdEditor.h"
#include "register/PlotRecalculation.h"
#include "register/ui/TRecalcSelect.h"
#include "register/ui/TTarlaF.h"
#include "services/AppContext.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmor {

namespace {

const QString kTitle = QStringLiteral("Parcele");

QList<grid::ColumnDescription> plotColumns()
{
    using grid::DisplayFormat;
    const auto text = [](const char* field, const char* heading) {
        grid::ColumnDescription c;
        c.field = QLatin1String(field);
        c.heading = QLatin1String(heading);
        return c;
    };
    QList<grid::ColumnDescription> columns {
        text("ACT", "Act doveditor"), text("NRACT", "Numar"),     text("DATAELIB", "Din data"),
        text("NRTARLA", "Nr.tarla"),  text("NRPARC", "Nr. parcela"), text("CATEG", "Categorie"),
    };
    grid::ColumnDescription area = text("SUPRAF", "S. (ha)");
    area.format = DisplayFormat::fixedDecimals(4);
    columns << area << text("INTRA", "Incadrare") << text("TARLA", "Denumire tarla");
    // The neighbours, under the band "Vecinatati".
    columns << text("VECN", "Vecinatati: Nord") << text("VECE", "Est") << text("VECS", "Sud") << text("VECV", "Vest");
    for (auto& c : columns)
        c.width = std::min(c.width == 0 ? 16 : c.width, 24);
    return columns;
}

}

PlotsPage::PlotsPage(AppContext& ctx, HouseholdEditor& editor, QWidget* parent)
    : EditorPage(editor, 13, parent)
    , m_ctx(ctx)
{
    auto* title = new QLabel(QStringLiteral("2.b  IDENTIFICAREA PE PARCELE"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* heading = new QLabel(QStringLiteral("  Lista cu Parcelele introduse"), this);

    m_model = new grid::QueryTableModel(this);
    m_model->setColumns(plotColumns());
    m_grid = new grid::StandardGrid(this);
    m_grid->setObjectName(QStringLiteral("Parcele"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &PlotsPage::FiltreazaParcela);

    m_add = new QPushButton(QStringLiteral("&ADAUGA"), this);
    m_add->setObjectName(QStringLiteral("ParceleAdauga"));
    m_add->setToolTip(QStringLiteral("Adauga parcela noua."));
    m_modify = new QPushButton(QStringLiteral("&MODIFICA"), this);
    m_modify->setObjectName(QStringLiteral("ParceleModifica"));
    m_modify->setToolTip(QStringLiteral("Modifica actul selectat mai sus."));
    m_delete = new QPushButton(QStringLiteral("&STERGE"), this);
    m_delete->setObjectName(QStringLiteral("ParceleSterge"));
    m_delete->setToolTip(QStringLiteral("Sterge parcela."));
    m_recalc = new QPushButton(QStringLiteral("&Recalculeaza Cap.2"), this);
    m_recalc->setObjectName(QStringLiteral("RecalcBut"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_add, m_modify, m_delete, m_recalc})
        buttons->addWidget(b);
    buttons->addStretch();

    m_details = new QLabel(this);
    m_details->setTextFormat(Qt::PlainText);
    m_details->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_details->setWordWrap(true);
    m_notes = new QPlainTextEdit(this);
    m_notes->setReadOnly(true);
    m_notes->setMaximumHeight(60);
    m_holders = new QListWidget(this);
    m_holders->setObjectName(QStringLiteral("Titulari"));
    m_pictures = new QListWidget(this);
    m_pictures->setObjectName(QStringLiteral("Poze"));
    m_pictures->setToolTip(QStringLiteral("Dublu click pe poza pentru deschidere."));
    m_pictures->setAcceptDrops(true);
    m_pictures->viewport()->setAcceptDrops(true);
    m_pictures->viewport()->installEventFilter(this);
    connect(m_pictures, &QListWidget::itemDoubleClicked, this, &PlotsPage::AratePozaClick);
    m_showPicture = new QPushButton(QStringLiteral("Arata poza"), this);
    m_addPicture = new QPushButton(QStringLiteral("Adauga poza"), this);
    m_addPicture->setObjectName(QStringLiteral("AdaugaPoza"));
    m_deletePicture = new QPushButton(QStringLiteral("Sterge poza"), this);

    auto* detail = new QGridLayout;
    detail->addWidget(m_details, 0, 0, 3, 1);
    detail->addWidget(new QLabel(QStringLiteral("Adresa / Mentiuni"), this), 3, 0);
    detail->addWidget(m_notes, 4, 0);
    detail->addWidget(new QLabel(QStringLiteral("Titulari"), this), 0, 1);
    detail->addWidget(m_holders, 1, 1, 4, 1);
    detail->addWidget(new QLabel(QStringLiteral("Poze"), this), 0, 2);
    detail->addWidget(m_pictures, 1, 2, 3, 1);
    auto* pictureButtons = new QHBoxLayout;
    for (QPushButton* b : {m_showPicture, m_addPicture, m_deletePicture})
        pictureButtons->addWidget(b);
    detail->addLayout(pictureButtons, 4, 2);
    detail->setColumnStretch(0, 2);
    detail->setColumnStretch(1, 1);
    detail->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(heading);
    layout->addWidget(m_grid, 3);
    layout->addLayout(buttons);
    layout->addLayout(detail, 2);

    m_dialog = new TTarlaF(ctx, this);
    m_recalcDialog = new TRecalcSelect(this);

    connect(m_add, &QPushButton::clicked, this, &PlotsPage::AdaugaClick);
    connect(m_modify, &QPushButton::clicked, this, &PlotsPage::ModificaClick);
    connect(m_delete, &QPushButton::clicked, this, &PlotsPage::StergeClick);
    connect(m_recalc, &QPushButton::clicked, this, &PlotsPage::RecalcClick);
    connect(m_showPicture, &QPushButton::clicked, this, &PlotsPage::AratePozaClick);
    connect(m_addPicture, &QPushButton::clicked, this, &PlotsPage::AdaugaPozaClick);
    connect(m_deletePicture, &QPushButton::clicked, this, &PlotsPage::StergePozaClick);
}

PlotsPage::~PlotsPage() = default;

PlotStore* PlotsPage::store()
{
    // The engine is connected after the windows are built, and again after a restore.
    if (!m_ctx.engine || !m_ctx.settings)
        return nullptr;
    if (!m_store || m_storeEngine != m_ctx.engine || m_storeDirectory != m_ctx.dataDirectory) {
        m_store = std::make_unique<PlotStore>(*m_ctx.engine, m_ctx.dataDirectory, *m_ctx.settings);
        m_storeEngine = m_ctx.engine;
        m_storeDirectory = m_ctx.dataDirectory;
    }
    return m_store.get();
}

int PlotsPage::year()
{
    return editor().year().toInt();
}

void PlotsPage::editorClosed()
{
    m_model->clear();
    m_holders->clear();
    m_pictures->clear();
    m_notes->clear();
    m_details->clear();
}

void PlotsPage::applyUnlocked(bool unlocked)
{
    m_unlocked = unlocked;
    for (QPushButton* b : {m_add, m_modify, m_delete, m_recalc, m_addPicture, m_deletePicture})
        b->setEnabled(unlocked);
}

void PlotsPage::IncarcaParcele()
{
    reloadAndSelect(-1);
}

void PlotsPage::reloadAndSelect(qint64 codt)
{
    if (!m_ctx.engine)
        return;
    try {
        engine::Parameters p;
        p.bind(QStringLiteral("ANUL"), std::int64_t(year()));
        p.bind(QStringLiteral("CODID"), std::int64_t(editor().hasCurrent() ? editor().currentCodid() : -1));
        m_model->load(m_ctx.engine->select(QStringLiteral("SELECT * FROM ")
                                               + engine::quotedPath(m_ctx.tablePath(QStringLiteral("Tarlale.dbf")))
                                               + QStringLiteral("\nWHERE ANUL=:ANUL AND CODID=:CODID\nORDER BY CODT"),
                                           p));
    } catch (const Error& e) {
        m_model->clear();
        if (m_ctx.interaction)
            showError(*m_ctx.interaction, e, kTitle);
    }
    int row = m_model->rowCount() > 0 ? 0 : -1;
    const int codtField = m_model->fieldIndex(QStringLiteral("CODT"));
    for (int r = 0; codt >= 0 && codtField >= 0 && r < m_model->rowCount(); ++r) {
        if (m_model->value(r, codtField) == dbf::Value(std::int64_t(codt)))
            row = r;
    }
    if (row >= 0)
        m_grid->setCurrentIndex(m_model->index(row, 0));
    FiltreazaParcela();
}

qint64 PlotsPage::currentPlot() const
{
    const int row = m_grid->currentIndex().row();
    const int field = m_model->fieldIndex(QStringLiteral("CODT"));
    if (row < 0 || field < 0 || row >= m_model->rowCount())
        return -1;
    double number = 0;
    return dbf::storedNumber(m_model->value(row, field), number) ? qint64(number) : -1;
}

void PlotsPage::FiltreazaParcela()
{
    m_holders->clear();
    m_pictures->clear();
    m_notes->clear();
    m_details->clear();
    const qint64 codt = currentPlot();
    if (codt < 0 || !store())
        return;
    try {
        const PlotDetails plot = store()->read(year(), codt);
        m_holders->addItems(plot.holderLines);
        m_pictures->addItems(store()->pictures(year(), codt));
        m_notes->setPlainText(plot.notes);
        m_details->setText(QStringLiteral("Act doveditor: %1   Numarul: %2   din data: %3\n"
                                          "Denumire tarla: %4\nCategoria: %5   Incadrare: %6\n"
                                          "Numar tarla: %7   Numar parcela: %8   Suprafata (ha): %9\n")
                               .arg(plot.deed, plot.deedNumber, plot.deedDate, plot.block, plot.category, plot.classification,
                                    plot.blockNumber, plot.parcel, QString::number(plot.area, 'f', 4))
                           + QStringLiteral("Vecinatati\nNord : %1\nEst   : %2\nSud  : %3\nVest  : %4\n"
                                            "Cine lucreaza: %5   Nr.cadastral: %6")
                                 .arg(plot.north, plot.east, plot.south, plot.west, plot.worker, plot.cadastral));
    } catch (const Error& e) {
        if (m_ctx.interaction)
            showError(*m_ctx.interaction, e, kTitle);
    }
}

void PlotsPage::warn(const QString& text, QWidget* anchor)
{
    if (m_ctx.interaction)
        m_ctx.interaction->ArataProblema(text, anchor ? anchor->objectName() : QString());
}

void PlotsPage::AdaugaClick()
{
    if (!store() || !editor().hasCurrent())
        return;
    const qint64 household = editor().currentCodid();
    try {
        if (m_dialog->household() != household) {
            m_dialog->GolesteParcela();
            m_dialog->Titulari()->setPlainText(store()->memberNames(year(), household).join(QLatin1Char('\n')));
            m_dialog->setHousehold(household);
        }
        if (!m_dialog->EditeazaParcela(QStringLiteral("ADAUGARE")))
            return;
        reloadAndSelect(store()->add(year(), household, m_dialog->details()));
    } catch (const Error& e) {
        if (m_ctx.interaction)
            showError(*m_ctx.interaction, e, kTitle);
        reloadAndSelect(-1);
    }
}

void PlotsPage::ModificaClick()
{
    const qint64 codt = currentPlot();
    if (codt < 0 || !store()) {
        warn(QStringLiteral("Nu aveti ce modifica!"), m_modify);
        return;
    }
    try {
        m_dialog->ArataParcela(store()->read(year(), codt));
        if (!m_dialog->EditeazaParcela(QStringLiteral("MODIFICARE")))
            return;
        store()->change(year(), editor().currentCodid(), codt, m_dialog->details());
    } catch (const Error& e) {
        if (m_ctx.interaction)
            showError(*m_ctx.interaction, e, kTitle);
    }
    reloadAndSelect(codt);
}

void PlotsPage::StergeClick()
{
    const qint64 codt = currentPlot();
    if (codt < 0 || !store()) {
        warn(QStringLiteral("Nu aveti ce sterge!"), m_delete);
        return;
    }
    if (!m_ctx.interaction
        || m_ctx.interaction->Mesaj(QStringLiteral("Stergere tarla"), QStringLiteral("Doriti sa stergeti tarlaua?"), KindConfirmation,
                                    ButtonsDaNu)
               != ResultDa)
        return;
    try {
        store()->remove(year(), codt);
    } catch (const Error& e) {
        showError(*m_ctx.interaction, e, kTitle);
    }
    reloadAndSelect(-1);
}

void PlotsPage::RecalcClick()
{
    if (!m_ctx.engine || !m_ctx.interaction)
        return;
    PlotRecalculation recalculation(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.interaction);
    const auto current = [&](const char* field) {
        if (!editor().hasCurrent())
            return QString();
        return dbf::toWholeText(editor().currentValue(QLatin1String(field)));
    };
    try {
        m_recalcDialog->PregatesteSelectia(recalculation, current("LOCALIT"), current("TIPRA"), current("VOLUM"), current("POZ"));
    } catch (const Error& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Recalculare Cap.2 si 3"));
        return;
    }
    if (!m_recalcDialog->AlegeSelectia())
        return;
    if (m_ctx.interaction->Mesaj(QStringLiteral("Recalculare Capitolul 2 si 3"),
                                 QStringLiteral("Doriti recalcularea Cap.2 si 3 dupa parcele ( Cap.2 b) )?"), KindConfirmation,
                                 ButtonsDaNu)
        != ResultDa)
        return;
    try {
        const RecalcResult result = recalculation.run(year(), m_recalcDialog->selection());
        m_ctx.interaction->Mesaj(QStringLiteral("Recalculare Capitolul 2 si 3"),
                                 QStringLiteral("Am recalculat Cap.2 si 3 la %1 gospodarii.\n"
                                                "Gospodarii sarite (fara randurile Cap.2): %2.")
                                     .arg(result.recalculated)
                                     .arg(result.skipped),
                                 KindInformation, ButtonsOk);
    } catch (const Error& e) {
        showError(*m_ctx.interaction, e, QStringLiteral("Recalculare Capitolul 2 si 3"));
    }
}

void PlotsPage::AratePozaClick()
{
    QListWidgetItem* item = m_pictures->currentItem();
    if (!item && m_pictures->count() > 0)
        item = m_pictures->item(0);
    if (!item) {
        warn(QStringLiteral("Nu aveti nici o poza!"), m_pictures);
        return;
    }
    const QString path = item->text();
    if (!QFileInfo::exists(path)) {
        warn(QStringLiteral("Fisierul nu mai exista!"), m_pictures);
        return;
    }
    if (!PlotStore::mayOpen(path)) {
        warn(QStringLiteral("Deschid din program doar poze si documente (png, jpg, gif, bmp, tif, pdf, doc, odt, rtf, txt)."),
             m_pictures);
        return;
    }
    if (m_ctx.interaction && !m_ctx.interaction->openFile(path))
        warn(QStringLiteral("Fisierul nu poate fi deschis."), m_pictures);
}

void PlotsPage::AdaugaPozaClick()
{
    if (!m_ctx.interaction)
        return;
    const QString path = m_ctx.interaction->chooseOpenFile(QStringLiteral("Adauga poza"), QString(), QString());
    if (!path.isEmpty())
        AdaugaPoza(path);
}

void PlotsPage::AdaugaPoza(const QString& path)
{
    if (!m_unlocked) {
        warn(QStringLiteral("Intrati mai intai la Admin cu parola!"), m_addPicture);
        return;
    }
    const qint64 codt = currentPlot();
    if (codt < 0 || !store()) {
        warn(QStringLiteral("Alegeti mai intai o tarla!"), m_addPicture);
        return;
    }
    try {
        store()->addPicture(year(), codt, QDir::toNativeSeparators(path));
    } catch (const PlotRefusal& refusal) {
        warn(refusal.message(), m_pictures);
        return;
    } catch (const Error& e) {
        if (m_ctx.interaction)
            showError(*m_ctx.interaction, e, kTitle);
    }
    FiltreazaParcela();
}

void PlotsPage::StergePozaClick()
{
    QListWidgetItem* item = m_pictures->currentItem();
    const qint64 codt = currentPlot();
    if (!item || codt < 0 || !store()) {
        warn(QStringLiteral("Nu aveti ce sterge!"), m_pictures);
        return;
    }
    try {
        store()->removePicture(year(), codt, item->text());
    } catch (const Error& e) {
        if (m_ctx.interaction)
            showError(*m_ctx.interaction, e, kTitle);
    }
    FiltreazaParcela();
}

bool PlotsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pictures->viewport()) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (drag->mimeData()->hasUrls()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QList<QUrl> urls = drop->mimeData()->urls();
            if (urls.size() > 1)
                warn(QStringLiteral("Trageti cate o poza, pe rand!"), m_pictures);
            else if (urls.size() == 1 && urls.front().isLocalFile())
                AdaugaPoza(urls.front().toLocalFile());
            drop->acceptProposedAction();
            return true;
        }
    }
    return EditorPage::eventFilter(watched, event);
}

}
