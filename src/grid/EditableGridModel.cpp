#include "grid/EditableGridModel.h"

#include "grid/QueryTableModel.h"


#include <cmath>

namespace velmor::grid {

EditableGridModel::EditableGridModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void EditableGridModel::setColumns(const QList<EditableColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

int EditableGridModel::columnOfField(const QString& field) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].description.field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void EditableGridModel::setFormat(const QString& field, const DisplayFormat& format)
{
    const int column = columnOfField(field);
    if (column < 0)
        return;
    m_columns[column].description.format = format;
    if (rowCount() > 0)
        emit dataChanged(index(0, column), index(rowCount() - 1, column));
}

void EditableGridModel::setSource(EditableRowSource* source)
{
    beginResetModel();
    m_source = source;
    endResetModel();
}

void EditableGridModel::refresh()
{
    beginResetModel();
    endResetModel();
}

void EditableGridModel::refreshValues()
{
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

bool EditableGridModel::tryEdit(const QModelIndex& index)
{
    if (!m_source || !index.isValid() || m_source->readOnly())
        return false;
    const EditableColumn& c = m_columns[index.column()];
    return m_source->canEdit(index.row(), c.description.field) && (flags(index) & Qt::ItemIsEditable);
}

int EditableGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_source ? 0 : m_source->rowCount();
}

int EditableGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant EditableGridModel::data(const QModelIndex& index, int role) const
{
    if (!m_source || !index.isValid() || index.row() >= m_source->rowCount())
        return {};
    const EditableColumn& c = m_columns[index.column()];
    const RowKind kind = m_source->rowKind(index.row());
    if (kind == RowKind::Heading) {
        if (role == Qt::DisplayRole && index.column() == 0)
            return m_source->headingText(index.row());
        if (role == RowKindRole)
            return int(kind);
        return {};
    }
    switch (role) {
    case Qt::DisplayRole: {
        const dbf::Value v = m_source->value(index.row(), c.description.field);
        if (c.zeroAsEmpty && c.description.format.isNumeric()) {
            const double* d = std::get_if<double>(&v);
            const std::int64_t* i = std::get_if<std::int64_t>(&v);
            if ((d && std::abs(*d) < 1e-9) || (i && *i == 0))
                return QString();
        }
        return formatValue(v, c.description.format);
    }
    case Qt::EditRole:
        return QueryTableModel::toVariant(m_source->value(index.row(), c.description.field));
    case Qt::TextAlignmentRole:
        return c.description.format.isNumeric() ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                                : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
    case RowKindRole:
        return int(kind);
    default:
        return {};
    }
}

QVariant EditableGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns[section].description.shownHeading();
    if (role == GroupRole)
        return m_columns[section].group;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags EditableGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || !m_source)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled;
    const EditableColumn& c = m_columns[index.column()];
    const RowKind kind = m_source->rowKind(index.row());
    // Fixed columns and headings cannot be reached; computed rows can be selected, not edited.
    if (kind != RowKind::Heading && c.description.editable)
        f |= Qt::ItemIsSelectable;
    if (kind == RowKind::Input && c.description.editable && !m_source->readOnly())
        f |= Qt::ItemIsEditable;
    return f;
}

std::optional<dbf::Value> EditableGridModel::parse(int column, const QVariant& typed) const
{
    const EditableColumn& c = m_columns[column];
    if (!typed.isValid() || typed.isNull())
        return dbf::Value();
    if (!c.description.format.isNumeric())
        return dbf::Value(typed.toString());
    if (typed.typeId() == QMetaType::Double || typed.typeId() == QMetaType::Float)
        return dbf::Value(typed.toDouble());
    if (typed.typeId() == QMetaType::Int || typed.typeId() == QMetaType::LongLong)
        return dbf::Value(std::int64_t(typed.toLongLong()));
    QString text = typed.toString().trimmed();
    if (text.isEmpty())
        return dbf::Value();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return dbf::Value(number);
}

bool EditableGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!m_source || !index.isValid() || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    if (!(flags(index) & Qt::ItemIsEditable))
        return false;
    const std::optional<dbf::Value> parsed = parse(index.column(), value);
    if (!parsed)
        return false;
    if (!m_source->setValue(index.row(), m_columns[index.column()].description.field, *parsed))
        return false;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

}
