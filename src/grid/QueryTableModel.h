#pragma once

#include "grid/ColumnDescription.h"

#include "data/engine/ResultSet.h"

#include <QAbstractTableModel>
#include <QList>

namespace velmor::engine {
class Query;
}

namespace velmor::grid {

// The rows of a query result as a table for a grid, with the columns its descriptions list.
//
// The model holds a copy of the result. Its columns are the descriptions that are not hidden, in
// their order; hidden columns are not columns of the model at all (views and exports never see
// them), but their fields, like every other field of the result, stay readable through value()
// and usable by a filter. Without descriptions every field is a column.
//
// Roles: DisplayRole is the formatted text; EditRole the raw value (qint64, double, QString, QDate,
// bool; null is an invalid QVariant); TextAlignmentRole puts numbers on the right; headerData gives
// the headings.
class QueryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryTableModel(QObject* parent = nullptr);

    // Descriptions of the columns; an empty list shows every field. Checked against the result
    // at the next load; applied at once when a result is loaded (throws GridError then, leaving
    // the model as it was, when a description names a field the result lacks).
    void setColumns(const QList<ColumnDescription>& columns);
    // The descriptions as given (empty when every field is shown).
    const QList<ColumnDescription>& columns() const { return m_given; }

    // Loads a result (all its rows, whatever filter the query has set), keeping the descriptions.
    // Throws GridError when a description names a field the result lacks; the model keeps its
    // previous rows then.
    void load(const engine::ResultSet& result);
    void load(engine::ResultSet&& result);
    void load(const engine::Query& query);
    void clear();

    // Fields and raw values of the result, hidden and undescribed fields included.
    const QList<engine::ResultField>& fields() const { return m_result.fields; }
    int fieldIndex(const QString& name) const { return m_result.fieldIndex(name); }
    dbf::Value value(int row, int field) const;

    // The description behind a column of the model.
    const ColumnDescription& column(int column) const { return m_shown[column].description; }
    // Column of the model showing the field; -1 when hidden or absent.
    int columnOfField(const QString& name) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Editable columns only, EditRole or DisplayRole. The value is converted to the field's
    // type (text "dd.MM.yyyy" or "yyyy-MM-dd" for dates, numbers from text); an invalid QVariant
    // or an empty text stores null. Returns false, and changes nothing, when the value does not
    // convert.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    static QVariant toVariant(const dbf::Value& value);

signals:
    // A value stored by setData: row of the model, field name, the value as now held.
    void valueEdited(int row, const QString& field, const QVariant& value);

private:
    struct ShownColumn {
        ColumnDescription description;
        int field = -1;
    };

    QList<ShownColumn> shownColumnsFor(const QList<engine::ResultField>& fields) const;
    void replace(engine::ResultSet&& result);

    QList<ColumnDescription> m_given;
    QList<ShownColumn> m_shown;
    engine::ResultSet m_result;
};

}
