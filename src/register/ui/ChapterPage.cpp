#include "register/ui/ChapterPage.h"

#include "register/HouseholdEditor.h"

#include "core/ErrorReport.h"
#include "grid/ui/EditableGrid.h"
#include "services/AppContext.h"
#include "services/Settings.h"

#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QVBoxLayout>

namespace velmor {

ChapterPage::ChapterPage(AppContext& ctx, HouseholdEditor& editor, int chapter, QWidget* parent)
    : EditorPage(editor, chapter + 1, parent)
    , m_ctx(ctx)
    , m_session(ctx, chapter)
    , m_source(m_session)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    m_title = new QLabel(m_session.layout().title, this);
    m_title->setObjectName(QStringLiteral("TitluCap%1").arg(chapter));
    QFont font = m_title->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 2);
    m_title->setFont(font);
    layout->addWidget(m_title);

    m_model.setColumns(ChapterGridSource::columnsFor(chapter, squareMetresChosen(ctx)));
    m_model.setSource(&m_source);
    m_grid = new grid::EditableGrid(this);
    m_grid->setObjectName(m_session.gridName());
    m_grid->setEditableModel(&m_model);
    // The row names (and their codes) stay in view when the grid scrolls to the right.
    const int name = m_model.columnOfField(QStringLiteral("CATEG"));
    if (name == 0)
        m_grid->setFrozenColumns(m_model.columnOfField(QStringLiteral("RAND")) == 1 ? 2 : 1);
    layout->addWidget(m_grid, 1);

    if (chapter == 2) {
        m_squareMetres = new QCheckBox(QStringLiteral("Afisare suprafete in metri patrati"), this);
        m_squareMetres->setObjectName(QStringLiteral("BifCap2"));
        m_squareMetres->setChecked(squareMetresChosen(ctx));
        connect(m_squareMetres, &QCheckBox::toggled, this, &ChapterPage::squareMetresToggled);
        layout->addWidget(m_squareMetres);
    }
    if (chapter == 10) {
        for (const char* line : {"*) Cod material constructie: 1 = beton armat sau prefabricate din beton,  2 = caramida, piatra sau inlocuitori",
                                 "3 = lemn (barne, bile,etc)  4 = paianta, chirpici   5 = alte materiale"})
            layout->addWidget(new QLabel(QString::fromLatin1(line), this));
    }

    connect(&m_session, &ChapterSession::rowsChanged, this, &ChapterPage::showRows);
    // Moving to another row saves the row being edited.
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        const int row = m_source.sessionRow(current.row());
        if (m_session.hasPending() && row != m_session.pendingIndex())
            m_session.post();
    });
    // Chapters 2 to 7 save a row as soon as a cell of it is left.
    if (chapter <= 7) {
        connect(&m_model, &QAbstractItemModel::dataChanged, this, [this] {
            if (m_session.hasPending())
                QMetaObject::invokeMethod(this, [this] { m_session.post(); }, Qt::QueuedConnection);
        });
    }
}

bool ChapterPage::squareMetresChosen(const AppContext& ctx)
{
    return ctx.settings
           && ctx.settings->Citeste_Ini(QString::fromLatin1(SquareMetreSection), QString::fromLatin1(SquareMetreKey)).trimmed()
                  .compare(QLatin1String("DA"), Qt::CaseInsensitive)
               == 0;
}

void ChapterPage::squareMetresToggled(bool on)
{
    if (m_ctx.settings) {
        try {
            m_ctx.settings->Scrie_Ini(QString::fromLatin1(SquareMetreSection), QString::fromLatin1(SquareMetreKey),
                                      on ? QStringLiteral("DA") : QStringLiteral("NU"));
        } catch (const std::exception& error) {
            showError(*m_ctx.interaction, error);
        }
    }
    for (const grid::EditableColumn& c : m_model.columns()) {
        if (c.description.field.endsWith(QLatin1String("ARI")))
            m_model.setFormat(c.description.field, ChapterGridSource::aresFormat(on));
    }
}

void ChapterPage::IncarcaPagina()
{
    if (m_session.layout().areaChapter()) {
        const bool on = squareMetresChosen(m_ctx);
        for (const grid::EditableColumn& c : m_model.columns()) {
            if (c.description.field.endsWith(QLatin1String("ARI")))
                m_model.setFormat(c.description.field, ChapterGridSource::aresFormat(on));
        }
    }
    if (!editor().hasCurrent())
        return;
    m_session.setUnlocked(m_ctx.unlocked());
    m_session.open(editor().currentCodid());
    // The cursor starts on the first row the user types into.
    for (int row = 0; row < m_model.rowCount(); ++row) {
        if (m_source.rowKind(row) == grid::RowKind::Input) {
            m_grid->setCurrentIndex(m_model.index(row, m_grid->firstEditableColumn()));
            break;
        }
    }
}

void ChapterPage::StopCap()
{
    m_grid->commitOpenEditor();
    m_session.StopCap();
}

void ChapterPage::applyUnlocked(bool unlocked)
{
    m_session.setUnlocked(unlocked);
    m_model.refresh();
}

void ChapterPage::showRows()
{
    m_source.rebuild();
    if (m_source.rowCount() == m_rowsShown) {
        m_model.refreshValues();
    } else {
        m_rowsShown = m_source.rowCount();
        m_model.refresh();
    }
}

}
