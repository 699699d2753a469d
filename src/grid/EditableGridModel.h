#pragma once

#include "grid/ColumnDescription.h"

#include <QAbstractTableModel>
#include <QList>

#include <optional>

namespace velmor::grid {

// What a row of an editable grid is: typed into, derived by the program (shown, never edited), or
// a heading between groups of rows.
enum class RowKind { Input, Computed, Heading };

// The rows behind an editable grid, by field name. The grid reads values, asks before an edit
// starts and hands over what was typed; the source decides what it takes.
class EditableRowSource {
public:
    virtual ~EditableRowSource() = default;
    virtual int rowCount() const = 0;
    virtual RowKind rowKind(int row) const = 0;
    // Text of a heading row (shown in the first column).
    virtual QString headingText(int row) const { Q_UNUSED(row); return {}; }
    virtual dbf::Value value(int row, const QString& field) const = 0;
    // Asked when the user starts an edit of a cell that is not editable by its flags or that is;
    // the source may tell the user why not. True when the edit may go on.
    virtual bool canEdit(int row, const QString& field) = 0;
    // Takes a typed value (null for an emptied cell); false when refused.
    virtual bool setValue(int row, const QString& field, const dbf::Value& value) = 0;
    // Nothing can be edited (the locked state).
    virtual bool readOnly() const = 0;
};

// One column of an editable grid: its description and the heading of the group it belongs to
// (columns side by side with one group text share a heading above theirs).
struct EditableColumn {
    ColumnDescription description;
    QString group;
    bool zeroAsEmpty = true; // numbers: zero is shown as an empty cell
    int maxDigits = 0;       // numbers the user types: digits before the point
    int maxDecimals = 0;     // and after it
};

// A table model over an EditableRowSource: formatted values, grouped headings, the row kinds
// (computed rows and headings shaded and never editable), editable cells only where the column
// allows it and the source is not read-only.
class EditableGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // data() of this role: the row's RowKind as an int (the grid shades computed rows and headings).
    static constexpr int RowKindRole = Qt::UserRole + 1;
    // headerData() of this role: the group heading of a column ("" when it has none).
    static constexpr int GroupRole = Qt::UserRole + 2;

    explicit EditableGridModel(QObject* parent = nullptr);

    void setColumns(const QList<EditableColumn>& columns);
    const QList<EditableColumn>& columns() const { return m_columns; }
    const EditableColumn& column(int index) const { return m_columns[index]; }
    int columnOfField(const QString& field) const;
    // Changes how a column shows its numbers.
    void setFormat(const QString& field, const DisplayFormat& format);

    void setSource(EditableRowSource* source);
    EditableRowSource* source() const { return m_source; }
    // The source's rows changed: everything is shown again.
    void refresh();
    // The source's values changed, not its rows: the cells are repainted, the current cell stays.
    void refreshValues();

    // The user tries to edit a cell: true when the edit may start (the source may warn otherwise).
    bool tryEdit(const QModelIndex& index);
    // Group heading of a column ("" when none).
    QString groupOf(int column) const { return m_columns.value(column).group; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The value a typed text stands for: null for an empty text, a number for a numeric column
    // (the point or a comma as decimal separator), the text otherwise; nullopt when a numeric
    // column gets a text that is not a number.
    std::optional<dbf::Value> parse(int column, const QVariant& typed) const;

private:
    QList<EditableColumn> m_columns;
    EditableRowSource* m_source = nullptr;
};

}
