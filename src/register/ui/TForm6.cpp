#include "register/ui/TForm6.h"

#include "data/dbf/ValueConversions.h"

#include "register/ui/ChapterPage.h"
#include "register/ui/ChapterPages.h"
#include "register/ui/EditorPage.h"
#include "register/ui/PlotsPage.h"
#include "register/ui/IdentificationPage.h"
#include "register/ui/MembersPage.h"
#include "register/ui/PlaceDialogs.h"
#include "register/ui/ScrollingLabel.h"

#include "register/HouseholdPositions.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "data/Schema.h"
#include "grid/ui/StandardGrid.h"
#include "output/ui/GridExport.h"
#include "core/Error.h"
#include "grid/QueryTableModel.h"
#include "grid/ui/EditableGrid.h"
#include "services/AppContext.h"
#include "services/RegistryStore.h"
#include "ui/GradientPanel.h"
#include "ui/TNumericF.h"
#include "ui/DialogParts.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmor {

namespace {

// While the logic changes the list's rows, the grid's own moves of its current row (a row
// filtered away, a model reset) are not the user's choice of a household.
struct ListChange {
    explicit ListChange(bool& flag)
        : flag(flag)
        , was(flag)
    {
        flag = true;
    }
    ~ListChange() { flag = was; }
    bool& flag;
    bool was;
};

QLabel* boldLabel(const QString& text, QWidget* parent, int extraPoints = 0)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    if (extraPoints)
        font.setPointSize(font.pointSize() + extraPoints);
    label->setFont(font);
    return label;
}

}

TForm6::TForm6(AppContext& ctx, QWidget* parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_logic(ctx)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QString::fromLatin1(AppContext::VersionTitle));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildHeader());

    auto* body = new QWidget(this);
    auto* bodyLayout = new QHBoxLayout(body);
    bodyLayout->setContentsMargins(4, 4, 4, 4);
    auto* column = new QWidget(body);
    column->setObjectName(QStringLiteral("PanelButoane"));
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->setSpacing(2);
    const QStringList captions = HouseholdEditor::pageCaptions();
    for (int n = 1; n <= HouseholdEditor::PageCount; ++n) {
        auto* button = new QPushButton(captions[n - 1], column);
        button->setObjectName(QStringLiteral("But%1").arg(n));
        button->setCheckable(true);
        button->setAutoExclusive(false);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setStyleSheet(QStringLiteral("text-align: left; padding: 3px 8px;"));
        columnLayout->addWidget(button);
        m_buttons[size_t(n - 1)] = button;
        connect(button, &QPushButton::clicked, this, [this, n] { ButClick(n); });
    }
    columnLayout->addStretch(1);
    // The buttons keep their place whatever the page shown.
    column->setFixedWidth(column->sizeHint().width());
    m_buttonColumn = column;
    bodyLayout->addWidget(column);

    m_pages = new QStackedWidget(body);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addWidget(buildListPage());
    for (int number = 1; number < HouseholdEditor::PageCount; ++number) {
        EditorPage* page = nullptr;
        if (number == 13)
            page = new PlotsPage(m_ctx, m_logic, m_pages);
        else
            page = new EditorPage(m_logic, number, m_pages);
        m_pages->addWidget(page);
        m_pageWidgets[size_t(number)] = page;
        m_logic.setPageHooks(number, page);
    }
    setPage(HouseholdEditor::IdentificationPage, new IdentificationPage(ctx, m_logic));
    setPage(2, new MembersPage(ctx, m_logic));
    installChapterPages(*this, ctx);
    bodyLayout->addWidget(m_pages, 1);
    layout->addWidget(body, 1);

    m_placeDialogs = std::make_unique<PlaceDialogs>(ctx, m_logic, this);
    m_positionsLogic = std::make_unique<HouseholdPositions>(m_logic, *m_placeDialogs);
    m_placeDialogs->setPositions(m_positionsLogic.get());

    m_status = statusLine(this, QStringLiteral("ESC - Iesire"));
    layout->addWidget(m_status);

    connect(&m_logic, &HouseholdEditor::listLoaded, this, &TForm6::showList);
    connect(&m_logic, &HouseholdEditor::filterApplied, this, &TForm6::showList);
    connect(&m_logic, &HouseholdEditor::currentChanged, this, &TForm6::showCurrent);
    connect(&m_logic, &HouseholdEditor::pageChanged, m_pages, &QStackedWidget::setCurrentIndex);
    connect(&m_logic, &HouseholdEditor::pressedChanged, this, &TForm6::showPressed);
    connect(&m_logic, &HouseholdEditor::navigatorShown, m_navigatorPanel, &QWidget::setVisible);
    connect(&m_logic, &HouseholdEditor::membersChanged, this, &TForm6::AfiseazaMembri);
    connect(&m_logic, &HouseholdEditor::locateCleared, this, [this] {
        const bool attached = m_handlersAttached;
        m_handlersAttached = false;
        m_positionField->clear();
        m_volumeField->clear();
        m_handlersAttached = attached;
    });

    resize(980, 640);
}

TForm6::~TForm6() = default;

QWidget* TForm6::buildHeader()
{
    auto* header = GradientPanel::titleStrip(this, QStringLiteral("Panel1"));
    auto* layout = new QGridLayout(header);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setHorizontalSpacing(8);

    m_title = boldLabel(QStringLiteral("EVIDENTE TITULARI - ADAUGARE / MODIFICARE"), header, 3);
    m_title->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(m_title, 0, 0, 1, 6);

    layout->addWidget(boldLabel(QStringLiteral("LOCALITATEA          :"), header), 1, 0);
    m_village = boldLabel(QString(), header);
    m_village->setObjectName(QStringLiteral("LabelLocalitate"));
    m_village->setMinimumWidth(200);
    layout->addWidget(m_village, 1, 1);
    layout->addWidget(boldLabel(QStringLiteral("Pozitia :"), header), 1, 2);
    m_position = boldLabel(QString(), header);
    m_position->setObjectName(QStringLiteral("LabelPozitia"));
    m_position->setMinimumWidth(50);
    layout->addWidget(m_position, 1, 3);
    layout->addWidget(boldLabel(QStringLiteral("Volumul :"), header), 1, 4);
    m_volume = boldLabel(QString(), header);
    m_volume->setObjectName(QStringLiteral("LabelVolumul"));
    m_volume->setMinimumWidth(50);
    layout->addWidget(m_volume, 1, 5);

    m_navigatorPanel = new QWidget(header);
    m_navigatorPanel->setObjectName(QStringLiteral("DBNavigator1"));
    auto* navigator = new QHBoxLayout(m_navigatorPanel);
    navigator->setContentsMargins(0, 0, 0, 0);
    navigator->setSpacing(1);
    struct NavigatorButton {
        HouseholdEditor::Move move;
        const char* name;
        const char* hint;
        Qt::ArrowType arrow;
        const char* text;
    };
    const NavigatorButton buttons[] = {
        {HouseholdEditor::Move::First, "NavFirst", "Prima pozitie", Qt::NoArrow, "|<"},
        {HouseholdEditor::Move::Prior, "NavPrior", "Pozitia precedenta", Qt::LeftArrow, ""},
        {HouseholdEditor::Move::Next, "NavNext", "Pozitia urmatoare", Qt::RightArrow, ""},
        {HouseholdEditor::Move::Last, "NavLast", "Ultima pozitie", Qt::NoArrow, ">|"},
    };
    for (const NavigatorButton& b : buttons) {
        auto* button = new QToolButton(m_navigatorPanel);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setToolTip(QString::fromLatin1(b.hint));
        if (b.arrow != Qt::NoArrow)
            button->setArrowType(b.arrow);
        else
            button->setText(QString::fromLatin1(b.text));
        button->setMinimumSize(28, 24);
        button->setFocusPolicy(Qt::NoFocus);
        navigator->addWidget(button);
        m_navigator[size_t(b.move)] = button;
        const HouseholdEditor::Move move = b.move;
        connect(button, &QToolButton::clicked, this, [this, move] { navigate(move); });
    }
    // Hidden while a household's data are edited, it keeps its room so nothing below it moves.
    QSizePolicy kept = m_navigatorPanel->sizePolicy();
    kept.setRetainSizeWhenHidden(true);
    m_navigatorPanel->setSizePolicy(kept);
    layout->addWidget(m_navigatorPanel, 2, 0, 1, 2, Qt::AlignLeft);

    m_members = new ScrollingLabel(header);
    m_members->setObjectName(QStringLiteral("Membri"));
    m_members->setToolTip(QStringLiteral("Click pentru a opri / porni defilarea."));
    m_members->setMinimumWidth(260);
    layout->addWidget(m_members, 0, 6, 3, 1);
    layout->setColumnStretch(6, 1);
    return header;
}

QWidget* TForm6::buildListPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Page0"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);

    m_grid = new grid::StandardGrid(page);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_logic.listModel().setColumns({
        {QStringLiteral("POZ"), QStringLiteral("Pozitie"), 7, grid::DisplayFormat::wholeNumber()},
        {QStringLiteral("VOLUM"), QStringLiteral("Volum"), 7, grid::DisplayFormat::wholeNumber()},
        {QStringLiteral("LOCALIT"), QStringLiteral("Localitatea"), 24, grid::DisplayFormat::text()},
        {QStringLiteral("ROL"), QStringLiteral("ROL"), 9, grid::DisplayFormat::wholeNumber()},
        {QStringLiteral("ADRESA"), QStringLiteral("Adresa"), 60, grid::DisplayFormat::text()},
    });
    m_grid->setModel(&m_logic.listProxy());
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (m_syncingGrid || !current.isValid())
                    return;
                runSafely([this, row = current.row()] { m_logic.moveToRow(row); });
            });
    layout->addWidget(m_grid, 1);

    auto* fields = new QHBoxLayout;
    fields->addWidget(new QLabel(QStringLiteral("LOCALITATEA"), page));
    m_villages = new QComboBox(page);
    m_villages->setObjectName(QStringLiteral("Localitatea"));
    m_villages->setEditable(false);
    m_villages->setMinimumWidth(180);
    fields->addWidget(m_villages);
    fields->addSpacing(8);
    fields->addWidget(new QLabel(QStringLiteral("TIP"), page));
    m_type = new QComboBox(page);
    m_type->setObjectName(QStringLiteral("Tip"));
    m_type->setEditable(false);
    m_type->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    fields->addWidget(m_type);
    fields->addSpacing(8);
    fields->addWidget(new QLabel(QStringLiteral("Pozitia"), page));
    m_positionField = new TNumericF(page);
    m_positionField->setObjectName(QStringLiteral("Pozitia"));
    m_positionField->setMaskInt(3);
    m_positionField->setMaskZec(0);
    m_positionField->setMaximumWidth(60);
    fields->addWidget(m_positionField);
    fields->addWidget(new QLabel(QStringLiteral("Volumul"), page));
    m_volumeField = new TNumericF(page);
    m_volumeField->setObjectName(QStringLiteral("Volumul"));
    m_volumeField->setMaskInt(6);
    m_volumeField->setMaskZec(0);
    m_volumeField->setMaximumWidth(80);
    fields->addWidget(m_volumeField);
    fields->addSpacing(8);
    fields->addWidget(new QLabel(QStringLiteral("Gospodarii afisate:"), page));
    m_shown = boldLabel(QStringLiteral("0"), page);
    m_shown->setObjectName(QStringLiteral("Afisate"));
    fields->addWidget(m_shown);
    fields->addStretch(1);
    layout->addLayout(fields);

    auto* buttons = new QHBoxLayout;
    m_add = commandButton(QStringLiteral("&Adauga pozitie"), QStringLiteral("Adauga"), page);
    m_modify = commandButton(QStringLiteral("&Modifica pozitie"), QStringLiteral("Modifica"), page);
    m_delete = commandButton(QStringLiteral("&Sterge pozitie"), QStringLiteral("Sterge"), page);
    m_insert = commandButton(QStringLiteral("&Insereaza pozitie"), QStringLiteral("Insereaza"), page);
    m_search = commandButton(QStringLiteral("&Cautare dupa nume"), QStringLiteral("Cautare"), page);
    m_certificate = commandButton(QStringLiteral("&Listeaza adeverinta"), QStringLiteral("Adeverinta"), page);
    m_export = commandButton(QStringLiteral("E&xporta in Excel"), QStringLiteral("Exporta"), page);
    for (QPushButton* button : {m_add, m_modify, m_delete, m_insert, m_search, m_certificate, m_export})
        buttons->addWidget(button);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    connect(m_add, &QPushButton::clicked, this, &TForm6::AdaugaClick);
    connect(m_insert, &QPushButton::clicked, this, &TForm6::InsereazaClick);
    connect(m_modify, &QPushButton::clicked, this, &TForm6::ModificaClick);
    connect(m_delete, &QPushButton::clicked, this, &TForm6::StergeClick);
    connect(m_search, &QPushButton::clicked, this, &TForm6::CautareClick);
    connect(m_certificate, &QPushButton::clicked, this, &TForm6::AdeverintaClick);
    connect(m_export, &QPushButton::clicked, this, &TForm6::ExportaClick);

    connect(m_villages, &QComboBox::currentIndexChanged, this, &TForm6::PozitiaChange);
    connect(m_type, &QComboBox::currentIndexChanged, this, &TForm6::PozitiaChange);
    connect(m_positionField, &QLineEdit::textChanged, this, &TForm6::PozitiaChange);
    connect(m_volumeField, &QLineEdit::textChanged, this, &TForm6::PozitiaChange);
    return page;
}

void TForm6::setPage(int number, EditorPage* page)
{
    if (number < 1 || number >= HouseholdEditor::PageCount || !page)
        return;
    EditorPage* old = m_pageWidgets[size_t(number)];
    page->setParent(m_pages);
    m_pages->insertWidget(number, page);
    m_pageWidgets[size_t(number)] = page;
    m_logic.setPageHooks(number, page);
    if (old) {
        m_pages->removeWidget(old);
        old->deleteLater();
    }
}

EditorPage* TForm6::page(int number) const
{
    return number >= 1 && number < HouseholdEditor::PageCount ? m_pageWidgets[size_t(number)] : nullptr;
}

void TForm6::runSafely(const std::function<void()>& action)
{
    try {
        action();
    } catch (const data::ProgramTermination&) {
        throw;
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
    }
}

// ---- opening and closing ----

void TForm6::Pregateste()
{
    // The following steps must not trigger the change handlers.
    m_handlersAttached = false;
    m_villages->clear();
    m_villages->addItem(HouseholdEditor::allVillages());
    m_villages->addItems(m_ctx.profile.villages());
    m_villages->setCurrentIndex(0);
    m_type->setCurrentIndex(0);
    // The identification page fills its street list when the pages hear that the editor opens.
    m_positionField->clear();
    m_volumeField->clear();
    try {
        const ListChange change(m_syncingGrid);
        m_logic.IncarcaQuery();
    } catch (...) {
        m_logic.editorClosed();
        m_handlersAttached = true;
        throw;
    }
    m_handlersAttached = true;
    m_members->start();
    m_logic.editorOpened();
    PozitiaChange();
    if (m_logic.isListEmpty()) {
        m_members->stop();
        m_members->setText(QStringLiteral(" *** nu exista pozitii ***"));
    }
    ButClick(1);
    applyUnlocked();
}

void TForm6::Deschide()
{
    Pregateste();
    restoreSize();
    exec();
    rememberSize();
    Inchide();
}

QSize TForm6::preferredSize(const QSize& available) const
{
    // Beside a page: the button column, the margins and spacing of the body and of the page.
    const int around = m_buttonColumn->width() + 40;
    const auto gridWidth = [](const QTableView* grid, int lastColumn) {
        int columns = 0;
        for (int c = 0; grid->model() && c <= std::min(lastColumn, grid->model()->columnCount() - 1); ++c)
            columns += grid->isColumnHidden(c) ? 0 : grid->columnWidth(c);
        return columns + 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width() + 12;
    };
    int page = 0;
    if (const auto* chapter2 = qobject_cast<const ChapterPage*>(m_pageWidgets[3]))
        page = std::max(page, gridWidth(chapter2->Grid(), chapter2->Grid()->model()->columnCount() - 1));
    if (const auto* plots = qobject_cast<const PlotsPage*>(m_pageWidgets[13])) {
        const int area = plots->Grid()->queryModel() ? plots->Grid()->queryModel()->columnOfField(QStringLiteral("SUPRAF")) : 0;
        page = std::max(page, gridWidth(plots->Grid(), area));
    }
    const int fullWidth = std::max(around + page, minimumSizeHint().width());
    return QSize(std::min(fullWidth, available.width()), std::min(700, available.height()));
}

void TForm6::restoreSize()
{
    const QScreen* shown = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize available = shown ? shown->availableGeometry().size() : QSize(1366, 728);
    QSize size = preferredSize(available);
    if (m_ctx.registry) {
        const QStringList stored = m_ctx.registry->Citeste_Reg(QString::fromLatin1(SizeValue)).split(QLatin1Char(','));
        bool wide = false, high = false;
        const int w = stored.value(0).trimmed().toInt(&wide);
        const int h = stored.size() == 2 ? stored.value(1).trimmed().toInt(&high) : 0;
        if (wide && high && w > 0 && h > 0)
            size = QSize(std::min(w, available.width()), std::min(h, available.height()));
    }
    resize(size.expandedTo(minimumSizeHint()));
}

void TForm6::rememberSize()
{
    if (!m_ctx.registry)
        return;
    try {
        m_ctx.registry->Scrie_Reg(QString::fromLatin1(SizeValue), QStringLiteral("%1,%2").arg(width()).arg(height()));
    } catch (const Error&) {
        // The size is a convenience; a store that cannot be written changes nothing else.
    }
}

void TForm6::Inchide()
{
    m_handlersAttached = false;
    {
        const ListChange change(m_syncingGrid);
        m_logic.editorClosed();
    }
    m_members->stop();
    m_handlersAttached = true;
}

void TForm6::applyUnlocked()
{
    const bool unlocked = m_ctx.unlocked();
    for (QPushButton* button : {m_add, m_modify, m_delete, m_insert})
        button->setEnabled(unlocked);
    m_logic.applyUnlocked(unlocked);
}

// ---- the list ----

void TForm6::readChoice()
{
    HouseholdEditor::ListChoice choice;
    choice.village = m_villages->currentText();
    if (choice.village.isEmpty())
        choice.village = HouseholdEditor::allVillages();
    choice.type = m_type->currentText();
    choice.position = qint64(m_positionField->Valoare());
    choice.volume = qint64(m_volumeField->Valoare());
    m_logic.setChoice(choice);
}

void TForm6::PozitiaChange()
{
    if (!m_handlersAttached)
        return;
    // The grid is not repainted while the filter changes.
    m_grid->setUpdatesEnabled(false);
    runSafely([this] {
        const ListChange change(m_syncingGrid);
        readChoice();
        m_logic.applyPositionChoice();
    });
    m_grid->setUpdatesEnabled(true);
    selectCurrentRow();
}

void TForm6::showList()
{
    m_shown->setText(QString::number(m_logic.shownCount()));
    selectCurrentRow();
}

void TForm6::selectCurrentRow()
{
    const bool wasSyncing = m_syncingGrid;
    m_syncingGrid = true;
    const int row = m_logic.currentRow();
    QItemSelectionModel* selection = m_grid->selectionModel();
    if (row >= 0 && row < m_logic.listProxy().rowCount()) {
        const QModelIndex index = m_logic.listProxy().index(row, 0);
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_grid->scrollTo(index);
    } else {
        selection->clear();
    }
    m_syncingGrid = wasSyncing;
}

void TForm6::showCurrent()
{
    m_village->setText(dbf::toWholeText(m_logic.currentValue(QStringLiteral("LOCALIT"))));
    m_position->setText(dbf::toWholeText(m_logic.currentValue(QStringLiteral("POZ"))));
    m_volume->setText(dbf::toWholeText(m_logic.currentValue(QStringLiteral("VOLUM"))));
    selectCurrentRow();
    if (!m_membersSuspended)
        AfiseazaMembri();
}

void TForm6::AfiseazaMembri()
{
    m_membersGuard.run([this] {
        const bool wasScrolling = m_members->isScrolling();
        m_members->stop();
        m_members->clear();
        try {
            m_members->setLines(m_logic.memberLines());
        } catch (const std::exception& error) {
            showError(*m_ctx.interaction, error);
        }
        if (wasScrolling)
            m_members->start();
    });
}

void TForm6::navigate(HouseholdEditor::Move move)
{
    m_navigatorPanel->setEnabled(false);
    runSafely([this, move] { m_logic.move(move); });
    m_navigatorPanel->setEnabled(true);
}

// ---- pages ----

void TForm6::ButClick(int button)
{
    runSafely([this, button] { m_logic.pressPageButton(button); });
    showPressed(m_logic.pressedButton());
    focusCurrentPage();
}

void TForm6::focusCurrentPage()
{
    QWidget* page = m_pages->currentWidget();
    if (!page)
        return;
    const auto takes = [page](QWidget* w) { return w->isEnabled() && w->focusPolicy() != Qt::NoFocus && w->isVisibleTo(page); };
    for (QAbstractItemView* view : page->findChildren<QAbstractItemView*>()) {
        if (takes(view) && !qobject_cast<QAbstractItemView*>(view->parentWidget())) {
            view->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    for (QWidget* field : page->findChildren<QWidget*>()) {
        if (takes(field) && (qobject_cast<QPlainTextEdit*>(field) || qobject_cast<QLineEdit*>(field))) {
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void TForm6::showPressed(int button)
{
    for (int n = 1; n <= HouseholdEditor::PageCount; ++n)
        m_buttons[size_t(n - 1)]->setChecked(n == button);
}

// ---- the list page's buttons ----

void TForm6::runPositionOperation(const std::function<void()>& operation)
{
    // The editor's pages wait while households move (the dialogs stay usable).
    QWidget* column = m_buttons[0]->parentWidget();
    m_pages->setEnabled(false);
    column->setEnabled(false);
    {
        const ListChange change(m_syncingGrid);
        runSafely(operation);
    }
    m_pages->setEnabled(true);
    column->setEnabled(true);
    showList();
}

void TForm6::AdaugaClick()
{
    runPositionOperation([this] { m_positionsLogic->AdaugaPozitie(); });
}

void TForm6::InsereazaClick()
{
    runPositionOperation([this] { m_positionsLogic->InsereazaPozitie(); });
}

void TForm6::ModificaClick()
{
    runPositionOperation([this] { m_positionsLogic->ModificaPozitie(); });
}

void TForm6::StergeClick()
{
    runPositionOperation([this] { m_positionsLogic->StergePozitie(); });
}

void TForm6::CautareClick()
{
    runSafely([this] {
        if (!m_searchByName) {
            m_logic.notAvailable(QStringLiteral("Cautare dupa nume"));
            return;
        }
        m_villages->setCurrentIndex(0);
        m_positionField->clear();
        m_volumeField->clear();
        if (const std::optional<HouseholdPlace> place = m_searchByName(m_villages->currentText()))
            showPlace(*place);
    });
}

void TForm6::showPlace(const HouseholdPlace& place)
{
    m_handlersAttached = false;
    const int type = m_type->findText(place.type);
    if (type >= 0)
        m_type->setCurrentIndex(type);
    m_villages->setCurrentIndex(m_villages->findText(place.village));
    m_positionField->setText(QString::number(place.position));
    m_volumeField->setText(QString::number(place.volume));
    m_handlersAttached = true;
    PozitiaChange();
}

void TForm6::AdeverintaClick()
{
    runSafely([this] {
        if (!m_logic.hasCurrent()) {
            m_ctx.interaction->ArataProblema(QStringLiteral("Alegeti mai intai o gospodarie !"), m_certificate->objectName());
            return;
        }
        if (!m_certificateWindow) {
            m_logic.notAvailable(QStringLiteral("Listeaza adeverinta"));
            return;
        }
        m_certificateWindow(m_logic.currentCodid());
    });
}

void TForm6::ExportaClick()
{
    // Moving through the rows while exporting does not rebuild the member label.
    m_membersSuspended = true;
    const QString title = QStringLiteral("Gospodarii anul ") + m_logic.year();
    const QString footer = QStringLiteral("Gospodarii afisate: ") + m_shown->text();
    runSafely([this, &title, &footer] { output::exportGrid(*m_grid, title, footer, *m_ctx.interaction); });
    m_membersSuspended = false;
}

void TForm6::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QWidget* focus = focusWidget();
        if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QComboBox*>(focus)
            || qobject_cast<QAbstractSpinBox*>(focus)) {
            focusNextChild();
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

}
