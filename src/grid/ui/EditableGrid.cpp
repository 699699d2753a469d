#include "grid/ui/EditableGrid.h"

#include "grid/EditableGridModel.h"
#include "grid/ui/GroupedHeader.h"

#include <QHeaderView>
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

void EditableGrid::applyColumnWidths()
{
    if (!m_model)
        return;
    const int zero = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const int characters = std::max(m_model->column(c).description.width, 4);
        setColumnWidth(c, zero * characters + 10);
    }
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
