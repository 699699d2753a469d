#include "grid/ClientFilterProxy.h"

#include "grid/QueryTableModel.h"

#include "data/engine/SqlError.h"

namespace velmor::grid {

namespace {

engine::ClientFilter compile(const QString& text, const QueryTableModel* model)
{
    return engine::ClientFilter(text, [model](const QString& name) { return model ? model->fieldIndex(name) : -1; });
}

}

ClientFilterProxy::ClientFilterProxy(QObject* parent)
    : QSortFilterProxyModel(parent)
{
    setSortRole(Qt::EditRole);
}

void ClientFilterProxy::setQueryModel(QueryTableModel* model)
{
    setSourceModel(model);
}

void ClientFilterProxy::setSourceModel(QAbstractItemModel* model)
{
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = qobject_cast<QueryTableModel*>(model);
    QSortFilterProxyModel::setSourceModel(model);
    if (m_model)
        connect(m_model, &QAbstractItemModel::modelReset, this, &ClientFilterProxy::compileAgain);
    compileAgain();
}

void ClientFilterProxy::setFilterText(const QString& text)
{
    std::optional<engine::ClientFilter> filter;
    if (!text.trimmed().isEmpty())
        filter.emplace(compile(text, m_model));
    m_text = text;
    m_filter = std::move(filter);
    m_usable = true;
    invalidateRowsFilter();
}

void ClientFilterProxy::setFilterEnabled(bool on)
{
    if (m_enabled == on)
        return;
    m_enabled = on;
    invalidateRowsFilter();
}

void ClientFilterProxy::compileAgain()
{
    m_filter.reset();
    m_usable = true;
    if (!m_text.trimmed().isEmpty()) {
        try {
            m_filter.emplace(compile(m_text, m_model));
        } catch (const engine::SqlError&) {
            m_usable = false;
        }
    }
    invalidateRowsFilter();
}

bool ClientFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (sourceParent.isValid())
        return false;
    if (!m_enabled || !m_filter || !m_model)
        return true;
    return m_filter->matches([this, sourceRow](int field) { return m_model->value(sourceRow, field); });
}

}
