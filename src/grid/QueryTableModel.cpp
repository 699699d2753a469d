#include "grid/QueryTableModel.h"

#include "grid/GridError.h"

#include "data/engine/Query.h"

#include <cmath>
#include <optional>

namespace velmor::grid {

namespace {

std::optional<dbf::Value> numberFrom(const QVariant& value, bool whole)
{
    bool ok = false;
    double number = 0;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        number = text.toDouble(&ok);
    } else {
        number = value.toDouble(&ok);
    }
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    if (!whole)
        return dbf::Value(number);
    if (number != std::trunc(number) || std::fabs(number) > 9.0e15)
        return std::nullopt;
    return dbf::Value(std::int64_t(number));
}

std::optional<dbf::Value> dateFrom(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().isValid() ? dbf::Value(value.toDate()) : dbf::Value();
    if (value.typeId() == QMetaType::QDateTime)
        return dbf::Value(value.toDateTime().date());
    const QString text = value.toString().trimmed();
    for (const QString& pattern : {QStringLiteral("dd.MM.yyyy"), QStringLiteral("yyyy-MM-dd")}) {
        const QDate date = QDate::fromString(text, pattern);
        if (date.isValid())
            return dbf::Value(date);
    }
    return std::nullopt;
}

// The value converted to the field's type; nullopt when it does not convert.
std::optional<dbf::Value> valueFor(const QVariant& value, const engine::ResultField& field)
{
    if (!value.isValid() || value.isNull())
        return dbf::Value();
    if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty()
        && field.type != engine::FieldType::Text && field.type != engine::FieldType::Memo)
        return dbf::Value();
    switch (field.type) {
    case engine::FieldType::Integer:
        return numberFrom(value, true);
    case engine::FieldType::Float:
        return numberFrom(value, false);
    case engine::FieldType::Date:
        return dateFrom(value);
    case engine::FieldType::Boolean:
        if (value.typeId() == QMetaType::Bool)
            return dbf::Value(value.toBool());
        return std::nullopt;
    default: {
        const QString text = value.toString();
        return text.isEmpty() ? dbf::Value() : dbf::Value(text);
    }
    }
}

}

QueryTableModel::QueryTableModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

QVariant QueryTableModel::toVariant(const dbf::Value& value)
{
    if (const auto* i = std::get_if<std::int64_t>(&value))
        return QVariant::fromValue(qint64(*i));
    if (const auto* d = std::get_if<double>(&value))
        return *d;
    if (const auto* s = std::get_if<QString>(&value))
        return *s;
    if (const auto* date = std::get_if<QDate>(&value))
        return date->isValid() ? QVariant(*date) : QVariant();
    if (const auto* b = std::get_if<bool>(&value))
        return *b;
    return {};
}

QList<QueryTableModel::ShownColumn> QueryTableModel::shownColumnsFor(const QList<engine::ResultField>& fields) const
{
    const QList<ColumnDescription> descriptions = m_given.isEmpty() ? describeAllFields(fields) : m_given;
    QList<ShownColumn> shown;
    engine::ResultSet lookup;
    lookup.fields = fields;
    for (const ColumnDescription& description : descriptions) {
        const int field = lookup.fieldIndex(description.field);
        if (field < 0)
            throw GridError(QStringLiteral("Coloana \"%1\" nu exista in rezultatul interogarii.").arg(description.field));
        if (!description.hidden)
            shown << ShownColumn{description, field};
    }
    return shown;
}

void QueryTableModel::setColumns(const QList<ColumnDescription>& columns)
{
    const QList<ColumnDescription> previous = m_given;
    m_given = columns;
    if (m_result.fields.isEmpty())
        return;
    QList<ShownColumn> shown;
    try {
        shown = shownColumnsFor(m_result.fields);
    } catch (...) {
        m_given = previous;
        throw;
    }
    beginResetModel();
    m_shown = std::move(shown);
    endResetModel();
}

void QueryTableModel::replace(engine::ResultSet&& result)
{
    QList<ShownColumn> shown = shownColumnsFor(result.fields);
    beginResetModel();
    m_shown = std::move(shown);
    m_result = std::move(result);
    endResetModel();
}

void QueryTableModel::load(const engine::ResultSet& result)
{
    replace(engine::ResultSet(result));
}

void QueryTableModel::load(engine::ResultSet&& result)
{
    replace(std::move(result));
}

void QueryTableModel::load(const engine::Query& query)
{
    replace(engine::ResultSet(query.result()));
}

void QueryTableModel::clear()
{
    beginResetModel();
    m_shown.clear();
    m_result = engine::ResultSet();
    endResetModel();
}

dbf::Value QueryTableModel::value(int row, int field) const
{
    if (row < 0 || size_t(row) >= m_result.rows.size() || field < 0 || field >= m_result.fields.size())
        return {};
    return m_result.rows[size_t(row)][size_t(field)];
}

int QueryTableModel::columnOfField(const QString& name) const
{
    for (int c = 0; c < m_shown.size(); ++c)
        if (m_shown[c].description.field.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

int QueryTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_result.rows.size());
}

int QueryTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant QueryTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const ShownColumn& column = m_shown[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return formatValue(value(index.row(), column.field), column.description.format);
    case Qt::EditRole:
        return toVariant(value(index.row(), column.field));
    case Qt::TextAlignmentRole:
        return column.description.format.isNumeric() ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                                     : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant QueryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_shown[section].description.shownHeading();
    return {};
}

Qt::ItemFlags QueryTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_shown[index.column()].description.editable)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool QueryTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    if (index.row() >= rowCount() || index.column() >= columnCount())
        return false;
    const ShownColumn& column = m_shown[index.column()];
    if (!column.description.editable)
        return false;
    const std::optional<dbf::Value> converted = valueFor(value, m_result.fields[column.field]);
    if (!converted)
        return false;
    m_result.rows[size_t(index.row())][size_t(column.field)] = *converted;
    // every column showing the same field changes
    for (int c = 0; c < m_shown.size(); ++c)
        if (m_shown[c].field == column.field)
            emit dataChanged(this->index(index.row(), c), this->index(index.row(), c));
    emit valueEdited(index.row(), m_result.fields[column.field].name, toVariant(*converted));
    return true;
}

}
