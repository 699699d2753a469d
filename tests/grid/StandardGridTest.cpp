// The standard grid: read-only, whole rows, widths in characters from the descriptions.

#include "grid/ClientFilterProxy.h"
#include "grid/QueryTableModel.h"
#include "grid/ui/StandardGrid.h"

#include <QHeaderView>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::grid;

TEST(StandardGrid, ReadOnlyRowGridWithWidthsFromTheDescriptions)
{
    engine::ResultSet r;
    r.fields = {{QStringLiteral("NUME"), engine::FieldType::Text, 40, 0}, {QStringLiteral("NR"), engine::FieldType::Integer, 4, 0}};
    r.rows = {{QStringLiteral("A"), std::int64_t(1)}};
    QueryTableModel model;
    model.setColumns({{QStringLiteral("NR"), QStringLiteral("Nr."), 4}, {QStringLiteral("NUME"), QStringLiteral("Nume"), 30}});
    model.load(r);
    ClientFilterProxy proxy;
    proxy.setQueryModel(&model);
    StandardGrid view;
    view.setModel(&proxy);

    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(view.verticalHeader()->isVisible());
    EXPECT_TRUE(view.alternatingRowColors());
    EXPECT_EQ(view.queryModel(), &model);
    EXPECT_EQ(view.columnWidth(0), view.widthForCharacters(4));
    EXPECT_EQ(view.columnWidth(1), view.widthForCharacters(30));
    EXPECT_GT(view.widthForCharacters(30), view.widthForCharacters(4));

    // widths again after a reload with other descriptions, also with no row to map through
    model.setColumns({{QStringLiteral("NUME"), QStringLiteral("Nume"), 12}, {QStringLiteral("NR"), QStringLiteral("Nr."), 6}});
    proxy.setFilterText(QStringLiteral("NR = 99"));
    ASSERT_EQ(proxy.rowCount(), 0);
    view.applyColumnWidths();
    EXPECT_EQ(view.columnWidth(0), view.widthForCharacters(12));
    EXPECT_EQ(view.columnWidth(1), view.widthForCharacters(6));
}
