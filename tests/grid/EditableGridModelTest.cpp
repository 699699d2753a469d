#include "grid/EditableGridModel.h"

#include <gtest/gtest.h>

#include <QHash>

using namespace velmor;
using namespace velmor::grid;

namespace {

// Three rows: a heading, an input row and a computed row, with a number and a text column.
struct FakeSource : EditableRowSource {
    QHash<QString, dbf::Value> values[3];
    bool locked = false;
    int refusedStarts = 0;

    int rowCount() const override { return 3; }
    RowKind rowKind(int row) const override { return row == 0 ? RowKind::Heading : row == 1 ? RowKind::Input : RowKind::Computed; }
    QString headingText(int row) const override { return row == 0 ? QStringLiteral("Case de locuit a)") : QString(); }
    dbf::Value value(int row, const QString& field) const override { return values[row].value(field); }
    bool canEdit(int row, const QString&) override
    {
        if (row != 1)
            ++refusedStarts;
        return row == 1;
    }
    bool setValue(int row, const QString& field, const dbf::Value& value) override
    {
        if (const auto* d = std::get_if<double>(&value); d && *d > 100)
            return false;
        values[row][field] = value;
        return true;
    }
    bool readOnly() const override { return locked; }
};

QList<EditableColumn> columns()
{
    EditableColumn name;
    name.description = {QStringLiteral("NUME"), QStringLiteral("Denumire"), 20, DisplayFormat::text(), false, false};
    EditableColumn ha;
    ha.description = {QStringLiteral("HA"), QStringLiteral("ha"), 6, DisplayFormat::wholeNumber(), true, false};
    ha.group = QStringLiteral("TOTAL");
    EditableColumn ari;
    ari.description = {QStringLiteral("ARI"), QStringLiteral("ari"), 6, DisplayFormat::upTo(2), true, false};
    ari.group = QStringLiteral("TOTAL");
    return {name, ha, ari};
}

}

TEST(EditableGridModel, ShowsRowKindsFormatsAndGroupedHeadings)
{
    FakeSource source;
    source.values[1] = {{QStringLiteral("NUME"), QStringLiteral("Teren")}, {QStringLiteral("HA"), 0.0}, {QStringLiteral("ARI"), 12.5}};
    source.values[2] = {{QStringLiteral("NUME"), QStringLiteral("Total")}, {QStringLiteral("HA"), 3.0}, {QStringLiteral("ARI"), 0.0}};
    EditableGridModel model;
    model.setColumns(columns());
    model.setSource(&source);
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("Case de locuit a)"));
    EXPECT_EQ(model.index(1, 1).data().toString(), QString()); // zero shows empty
    EXPECT_EQ(model.index(1, 2).data().toString(), QStringLiteral("12.5"));
    EXPECT_EQ(model.index(2, 1).data().toString(), QStringLiteral("3"));
    EXPECT_EQ(model.index(2, 1).data(EditableGridModel::RowKindRole).toInt(), int(RowKind::Computed));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("ha"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, EditableGridModel::GroupRole).toString(), QStringLiteral("TOTAL"));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, EditableGridModel::GroupRole).toString(), QString());
    model.setFormat(QStringLiteral("ARI"), DisplayFormat::wholeNumber());
    EXPECT_EQ(model.index(1, 2).data().toString(), QStringLiteral("13"));
}

TEST(EditableGridModel, OnlyInputCellsOfEditableColumnsTakeValues)
{
    FakeSource source;
    EditableGridModel model;
    model.setColumns(columns());
    model.setSource(&source);
    EXPECT_TRUE(model.flags(model.index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.flags(model.index(1, 0)) & Qt::ItemIsEditable); // fixed column
    EXPECT_FALSE(model.flags(model.index(2, 1)) & Qt::ItemIsEditable); // computed row
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable); // heading
    EXPECT_FALSE(model.tryEdit(model.index(2, 1)));
    EXPECT_EQ(source.refusedStarts, 1);

    EXPECT_TRUE(model.setData(model.index(1, 2), QStringLiteral("12,75")));
    EXPECT_EQ(std::get<double>(source.values[1].value(QStringLiteral("ARI"))), 12.75);
    EXPECT_FALSE(model.setData(model.index(1, 2), QStringLiteral("1x")));
    EXPECT_FALSE(model.setData(model.index(1, 1), QStringLiteral("101"))); // refused by the source
    EXPECT_TRUE(model.setData(model.index(1, 1), QString()));
    EXPECT_TRUE(dbf::isNull(source.values[1].value(QStringLiteral("HA"))));
    EXPECT_FALSE(model.setData(model.index(2, 1), QStringLiteral("5")));

    source.locked = true;
    EXPECT_FALSE(model.flags(model.index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(1, 1), QStringLiteral("5")));
    EXPECT_FALSE(model.tryEdit(model.index(1, 1)));
}
