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

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // Fixed columns are not reached with the keyboard.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    EditableGridModel* m_model = nullptr;
};

}
