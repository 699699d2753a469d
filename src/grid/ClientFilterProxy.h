#pragma once

#include "data/engine/ClientFilter.h"

#include <QSortFilterProxyModel>

#include <optional>

namespace velmor::grid {

class QueryTableModel;

// The rows of a QueryTableModel that pass a client-side filter in the engine's dialect
// (NUMEP='POP*' AND ANUL=2020), as the query objects apply it. The filter may name any field of
// the result, shown, hidden or not described. Sorting compares raw values (EditRole).
class ClientFilterProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit ClientFilterProxy(QObject* parent = nullptr);

    // The model whose rows are filtered. Any other source model has no fields: a filter text
    // naming a field is refused then.
    void setQueryModel(QueryTableModel* model);
    void setSourceModel(QAbstractItemModel* model) override;
    QueryTableModel* queryModel() const { return m_model; }

    // Parses and applies the text (an empty text lets every row through). Throws SqlError for a
    // malformed filter or an unknown field; the previous filter stays in force then.
    void setFilterText(const QString& text);
    const QString& filterText() const { return m_text; }

    // Switches the filter on and off without forgetting it; on by default.
    void setFilterEnabled(bool on);
    bool filterEnabled() const { return m_enabled; }

    // False when the model was loaded again with a result lacking a field the filter names; every
    // row passes until a new filter text is set.
    bool filterUsable() const { return m_usable; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    void compileAgain();

    QueryTableModel* m_model = nullptr;
    QString m_text;
    std::optional<engine::ClientFilter> m_filter;
    bool m_enabled = true;
    bool m_usable = true;
};

}
