#include "grid/ui/EditableGrid.h"

#include "grid/EditableGridModel.h"
#include "grid/ui/GroupedHeader.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>

namespace velmor::grid {

namespace {

class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(QObject* parent)
        : QStyledItemDelegate(parent)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const auto* model = qobject_cast<const EditableGridModel*>(index.model());
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        if (!model)
            return editor;
        const EditableColumn& column = model->column(index.column());
        if (column.description.format.isNumeric()) {
            editor->setAlignment(Qt::AlignRight);
            const QString digits = column.maxDigits > 0 ? QStringLiteral("{0,%1}").arg(column.maxDigits) : QStringLiteral("*");
            QString pattern = QStringLiteral("[0-9]") + digits;
            if (column.maxDecimals > 0)
                pattern += QStringLiteral("([.,][0-9]{0,%1})?").arg(column.maxDecimals);
            editor->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), editor));
        } else if (column.maxDigits > 0) {
            editor->setMaxLength(column.maxDigits);
        }
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* line = static_cast<QLineEdit*>(editor);
        line->setText(index.data(Qt::DisplayRole).toString());
        line->selectAll();
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QLineEdit*>(editor)->text(), Qt::EditRole);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QVariant kind = index.data(EditableGridModel::RowKindRole);
        const auto* model = qobject_cast<const EditableGridModel*>(index.model());
        QStyleOptionViewItem shaded(option);
        if (kind.isValid() && kind.toInt() == int(RowKind::Heading)) {
            painter->fillRect(option.rect, QColor(0xDD, 0xE6, 0xF2));
            shaded.font.setBold(true);
        } else if (kind.isValid() && kind.toInt() == int(RowKind::Computed)) {
            painter->fillRect(option.rect, QColor(0xF2, 0xEF, 0xDC));
            shaded.font.setBold(true);
        } else if (model && !model->column(index.column()).description.editable) {
            painter->fillRect(option.rect, QColor(0xF4, 0xF4, 0xF4));
        }
        QStyledItemDelegate::paint(painter, shaded, index);
    }
};

}

EditableGrid::EditableGrid(QWidget* parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new CellDelegate(this));
    setHorizontalHeader(new GroupedHeader(this));
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setWordWrap(false);
}

void EditableGrid::setEditableModel(EditableGridModel* model)
{
    m_model = model;
    setModel(model);
    if (model)
        connect(model, &QAbstractItemModel::modelReset, this, &EditableGrid::applyColumnWidths);
    applyColumnWidths();
}

void EditableGrid::setFrozenColumns(int count)
{
    m_frozenCount = std::max(0, count);
    if (!m_frozen && m_frozenCount > 0) {
        m_frozen = new QTableView(this);
        m_frozen->setObjectName(QStringLiteral("ColoaneFixe"));
        m_frozen->setFocusPolicy(Qt::NoFocus);
        m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_frozen->setSelectionBehavior(selectionBehavior());
        m_frozen->setSelectionMode(selectionMode());
        m_frozen->setItemDelegate(new CellDelegate(m_frozen));
        m_frozen->setHorizontalHeader(new GroupedHeader(m_frozen));
        m_frozen->verticalHeader()->setVisible(false);
        m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_frozen->setFrameStyle(QFrame::NoFrame);
        m_frozen->setWordWrap(false);
        m_frozen->setVerticalScrollMode(ScrollPerPixel);
        m_frozen->setAutoScroll(false); // it follows the grid's scroll bar only
        setVerticalScrollMode(ScrollPerPixel);
        setHorizontalScrollMode(ScrollPerPixel);
        viewport()->stackUnder(m_frozen);
        connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(), &QAbstractSlider::setValue);
        connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
        // Laid out later than the grid, it takes the grid's place once its range is known.
        connect(m_frozen->verticalScrollBar(), &QAbstractSlider::rangeChanged, this,
                [this] { m_frozen->verticalScrollBar()->setValue(verticalScrollBar()->value()); });
        connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { updateFrozen(); });
        // A click on a row name makes that row current in the grid.
        connect(m_frozen, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
            if (m_model && index.isValid())
                setCurrentIndex(m_model->index(index.row(), firstEditableColumn()));
            setFocus();
        });
    }
    updateFrozen();
}

int EditableGrid::frozenWidth() const
{
    int width = 0;
    for (int c = 0; m_frozen && model() && c < std::min(m_frozenCount, model()->columnCount()); ++c)
        width += columnWidth(c);
    return width;
}

void EditableGrid::updateFrozen()
{
    if (!m_frozen)
        return;
    if (m_frozen->model() != model()) {
        m_frozen->setModel(model());
        if (model())
            m_frozen->setSelectionModel(selectionModel());
    }
    if (!model() || m_frozenCount == 0) {
        m_frozen->hide();
        return;
    }
    for (int c = 0; c < model()->columnCount(); ++c) {
        m_frozen->setColumnHidden(c, c >= m_frozenCount);
        if (c < m_frozenCount)
            m_frozen->setColumnWidth(c, columnWidth(c));
    }
    m_frozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    m_frozen->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    m_frozen->setGeometry(frameWidth(), frameWidth(), frozenWidth(), viewport()->height() + horizontalHeader()->height());
    m_frozen->verticalScrollBar()->setValue(verticalScrollBar()->value());
    m_frozen->show();
}

void EditableGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    updateFrozen();
}

void EditableGrid::updateGeometries()
{
    QTableView::updateGeometries();
    updateFrozen();
}

void EditableGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QTableView::scrollTo(index, hint);
    // A cell of the scrolling part is never left hidden under the frozen columns.
    if (m_frozen && index.isValid() && index.column() >= m_frozenCount) {
        const int hidden = frozenWidth() - visualRect(index).left();
        if (hidden > 0)
            horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hidden);
    }
}

void EditableGrid::applyColumnWidths()
{
    if (!m_model)
        return;
    const int zero = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const int characters = std::max(m_model->column(c).description.width, 4);
        setColumnWidth(c, zero * characters + 10);
    }
    updateFrozen();
}

int EditableGrid::firstEditableColumn() const
{
    for (int c = 0; m_model && c < m_model->columnCount(); ++c) {
        if (m_model->column(c).description.editable)
            return c;
    }
    return 0;
}

QModelIndex EditableGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (!m_model || !next.isValid())
        return next;
    const auto editable = [this](int column) { return m_model->column(column).description.editable; };
    if (editable(next.column()))
        return next;
    // Home lands on the first column and looks right from there; End on the last, looking left.
    const bool backwards = action == MoveLeft || action == MovePrevious || action == MoveEnd;
    const int step = backwards ? -1 : 1;
    for (int c = next.column(); c >= 0 && c < m_model->columnCount(); c += step) {
        if (editable(c))
            return m_model->index(next.row(), c);
    }
    // Nothing editable that way: stay in the current column.
    const QModelIndex current = currentIndex();
    return current.isValid() && editable(current.column()) ? m_model->index(next.row(), current.column())
                                                            : m_model->index(next.row(), firstEditableColumn());
}

void EditableGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    for (QLineEdit* editor : viewport()->findChildren<QLineEdit*>()) {
        if (editor->isHidden())
            continue;
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

bool EditableGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (trigger == QAbstractItemView::AllEditTriggers || (editTriggers() & trigger)) {
        if (m_model && index.isValid() && state() != QAbstractItemView::EditingState && !m_model->tryEdit(index))
            return false;
    }
    return QTableView::edit(index, trigger, event);
}

}
