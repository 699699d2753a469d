#pragma once

#include <QTableView>

namespace velmor::grid {

class QueryTableModel;

// The program's read-only grid: whole-row selection, one row at a time, no editing, alternate row
// colours, no row header. Over a QueryTableModel (directly or through proxies) the columns take
// the widths of their descriptions, in characters of the grid's font, again after every reload.
class StandardGrid : public QTableView {
    Q_OBJECT
public:
    explicit StandardGrid(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;

    // Width in pixels of a column `characters` wide in the grid's font.
    int widthForCharacters(int characters) const;
    // Sets the widths from the descriptions again (after a font change).
    void applyColumnWidths();

    // The QueryTableModel under the grid's model and its proxies; null when there is none.
    QueryTableModel* queryModel() const;
};

}
