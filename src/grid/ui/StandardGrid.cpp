#include "grid/ui/StandardGrid.h"

#include "grid/QueryTableModel.h"

#include <QAbstractProxyModel>
#include <QHeaderView>

namespace velmor::grid {

namespace {

// The column of the query model behind a column of `model`; -1 when it maps to none.
int sourceColumn(const QAbstractItemModel* model, int column, const QueryTableModel* target)
{
    while (model && model != target) {
        const auto* proxy = qobject_cast<const QAbstractProxyModel*>(model);
        if (!proxy)
            return -1;
        // with no row to map through, a column keeps its position (the program's proxies
        // filter and sort rows only)
        const QModelIndex mapped = proxy->mapToSource(proxy->index(0, column));
        if (mapped.isValid())
            column = mapped.column();
        model = proxy->sourceModel();
    }
    return model ? column : -1;
}

}

StandardGrid::StandardGrid(QWidget* parent)
    : QTableView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    setWordWrap(false);
}

void StandardGrid::setModel(QAbstractItemModel* model)
{
    if (QAbstractItemModel* previous = this->model())
        disconnect(previous, nullptr, this, nullptr);
    QTableView::setModel(model);
    if (model) {
        connect(model, &QAbstractItemModel::modelReset, this, &StandardGrid::applyColumnWidths);
        connect(model, &QAbstractItemModel::layoutChanged, this, &StandardGrid::applyColumnWidths);
    }
    applyColumnWidths();
}

int StandardGrid::widthForCharacters(int characters) const
{
    return fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters + 8;
}

QueryTableModel* StandardGrid::queryModel() const
{
    QAbstractItemModel* model = this->model();
    while (model) {
        if (auto* query = qobject_cast<QueryTableModel*>(model))
            return query;
        auto* proxy = qobject_cast<QAbstractProxyModel*>(model);
        model = proxy ? proxy->sourceModel() : nullptr;
    }
    return nullptr;
}

void StandardGrid::applyColumnWidths()
{
    const QueryTableModel* query = queryModel();
    if (!query || !model())
        return;
    for (int c = 0; c < model()->columnCount(); ++c) {
        const int source = sourceColumn(model(), c, query);
        if (source < 0 || source >= query->columnCount())
            continue;
        const ColumnDescription& description = query->column(source);
        const int characters = std::max<int>(description.width, int(description.shownHeading().size()));
        setColumnWidth(c, widthForCharacters(std::max(characters, 2)));
    }
}

}
