#pragma once

#include <QTableView>

namespace velmor::grid {

class EditableGridModel;

// The program's editable grid over an EditableGridModel: cells are edited in place with a field
// that takes only what the column allows (digits before and after the point, text length);
// starting an edit asks the model first (a refused start is cancelled at once); computed rows and
// headings are shaded; column widths come from the descriptions, in characters.
class EditableGrid : public QTableView {
    Q_OBJECT
public:
    explicit EditableGrid(QWidget* parent = nullptr);

    using QTableView::edit;

    void setEditableModel(EditableGridModel* model);
    EditableGridModel* editableModel() const { return m_model; }

    // Hands the text of an open cell editor to the model and closes it (before the page is left).
    void commitOpenEditor();
    void applyColumnWidths();
    // The first column the user can type into; 0 when there is none.
    int firstEditableColumn() const;

    // Keeps the first `count` columns (the row names) in view while the grid scrolls sideways: a
    // view of them lies over the grid's left edge, scrolling up and down with it. 0 removes it.
    void setFrozenColumns(int count);
    int frozenColumns() const { return m_frozenCount; }
    // The view of the frozen columns; null without them.
    QTableView* frozenView() const { return m_frozen; }

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // Fixed columns are not reached with the keyboard.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    void updateFrozen();
    int frozenWidth() const;

    EditableGridModel* m_model = nullptr;
    QTableView* m_frozen = nullptr;
    int m_frozenCount = 0;
};

}
