// The grid model over real query results: formats, headings, hidden columns, editing, and the
// client-side filter proxy.

#include "../output/EngineTable.h"

#include "grid/ClientFilterProxy.h"
#include "grid/GridError.h"
#include "grid/QueryTableModel.h"

#include "data/engine/Query.h"

#include <QSignalSpy>

using namespace velmor;
using namespace velmor::grid;
using velmor::test::EngineTable;

namespace {

TEST(DisplayFormat, PatternsAndValues)
{
    struct Case {
        const char* pattern;
        dbf::Value value;
        const char* shown;
    };
    const Case cases[] = {
        {"#", std::int64_t(1234), "1234"},
        {"#", 12.5, "13"},
        {"#", -0.4, "0"},
        {"0", std::int64_t(-7), "-7"},
        {"#.##", 12.5, "12.5"},
        {"#.##", 12.0, "12"},
        {"#.##", 1.005, "1"}, // 1.005 is 1.00499... in binary
        {"#.##", 0.126, "0.13"},
        {"0.00", 12.5, "12.50"},
        {"0.00", std::int64_t(3), "3.00"},
        {"0.00", -0.001, "0.00"},
        {"0.000", 2.0 / 3.0, "0.667"},
        {"dd.MM.yyyy", QDate(2020, 2, 29), "29.02.2020"},
        {"dd.MM.yyyy", QDate(), ""},
        {"dd.MM.yyyy", QStringLiteral("nu e data"), "nu e data"},
        {"", QStringLiteral("text 'a'"), "text 'a'"},
        {"@", std::int64_t(5), "5"},
        {"#.##", dbf::Value(), ""},
        {"", dbf::Value(), ""},
        {"", true, "True"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " -> " + c.shown);
        EXPECT_EQ(formatValue(c.value, DisplayFormat::fromPattern(QString::fromLatin1(c.pattern))), QString::fromUtf8(c.shown));
    }
    EXPECT_EQ(DisplayFormat::fromPattern(QStringLiteral("#.##")), DisplayFormat::upTo(2));
    EXPECT_EQ(DisplayFormat::fromPattern(QStringLiteral("0.00")), DisplayFormat::fixedDecimals(2));
    for (const char* bad : {"#.#0", "abc", "##.", "0.00.0", "yyyy"})
        EXPECT_THROW(DisplayFormat::fromPattern(QString::fromLatin1(bad)), GridError) << bad;
}

TEST(QueryTableModel, DescribedColumnsShowFormattedValuesAndHideHiddenOnes)
{
    EngineTable t;
    QueryTableModel model;
    model.setColumns({
        {QStringLiteral("N"), QStringLiteral("Nr."), 5, DisplayFormat::wholeNumber()},
        {QStringLiteral("a"), QStringLiteral("Nume si prenume"), 30, DisplayFormat::text(), false, true}, // hidden
        {QStringLiteral("R"), QString(), 9, DisplayFormat::upTo(2)},
        {QStringLiteral("D"), QStringLiteral("Data"), 10, DisplayFormat::date()},
    });
    model.load(t.reg.engine.select(t.select(QStringLiteral(" ORDER BY N"))));

    ASSERT_EQ(model.columnCount(), 3);
    ASSERT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nr."));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("R")); // no heading: the field
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Data"));
    EXPECT_EQ(model.columnOfField(QStringLiteral("A")), -1);
    EXPECT_EQ(model.columnOfField(QStringLiteral("d")), 2);

    const auto shown = [&](int row, int column) { return model.data(model.index(row, column)).toString(); };
    EXPECT_EQ(shown(0, 0), QStringLiteral("1"));
    EXPECT_EQ(shown(0, 1), QStringLiteral("12.5"));
    EXPECT_EQ(shown(0, 2), QStringLiteral("29.02.1948"));
    EXPECT_EQ(shown(1, 1), QStringLiteral("-0.25"));
    EXPECT_EQ(shown(2, 1), QString()); // null
    EXPECT_EQ(shown(2, 2), QString());
    EXPECT_EQ(shown(4, 1), QStringLiteral("1000"));

    const auto raw = [&](int row, int column) { return model.data(model.index(row, column), Qt::EditRole); };
    EXPECT_EQ(raw(0, 0).typeId(), QMetaType::LongLong);
    EXPECT_EQ(raw(0, 0).toLongLong(), 1);
    EXPECT_EQ(raw(0, 1).typeId(), QMetaType::Double);
    EXPECT_EQ(raw(0, 1).toDouble(), 12.5);
    EXPECT_EQ(raw(0, 2).toDate(), QDate(1948, 2, 29));
    EXPECT_FALSE(raw(2, 1).isValid());
    EXPECT_FALSE(raw(2, 2).isValid());

    EXPECT_EQ(model.data(model.index(0, 0), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(model.data(model.index(0, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignLeft, Qt::AlignLeft);

    // the hidden field is still there for the program
    const int a = model.fieldIndex(QStringLiteral("A"));
    ASSERT_GE(a, 0);
    EXPECT_EQ(std::get<QString>(model.value(0, a)), EngineTable::stored(EngineTable::names()[0]));
}

TEST(QueryTableModel, WithoutDescriptionsEveryFieldByItsType)
{
    EngineTable t;
    engine::Query query(t.reg.engine);
    query.add(t.select(QStringLiteral(" ORDER BY N")));
    query.open();
    QueryTableModel model;
    model.load(query);
    ASSERT_EQ(model.columnCount(), 4);
    QStringList headings;
    for (int c = 0; c < 4; ++c)
        headings << model.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headings, (QStringList{QStringLiteral("A"), QStringLiteral("N"), QStringLiteral("R"), QStringLiteral("D")}));
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QStringLiteral("12.50")); // DECIMAL(12,2)
    EXPECT_EQ(model.data(model.index(4, 2)).toString(), QStringLiteral("1000.00"));
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), EngineTable::stored(EngineTable::names()[0]));
    EXPECT_EQ(model.column(0).width, 254);
    EXPECT_EQ(model.column(3).format, DisplayFormat::date());
}

TEST(QueryTableModel, ReloadKeepsDescriptionsAndRefusesMissingFields)
{
    EngineTable t;
    QueryTableModel model;
    model.setColumns({{QStringLiteral("N"), QStringLiteral("Nr."), 5}});
    model.load(t.reg.engine.select(t.select()));
    ASSERT_EQ(model.rowCount(), 5);

    model.load(t.reg.engine.select(t.select(QStringLiteral(" WHERE N = 2"))));
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nr."));

    try {
        model.load(t.reg.engine.select(QStringLiteral("SELECT A FROM ") + t.reg.t(QStringLiteral("T.dbf"))));
        ADD_FAILURE() << "no error";
    } catch (const GridError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("\"N\""))) << e.what();
    }
    EXPECT_EQ(model.rowCount(), 1); // previous rows kept
    EXPECT_THROW(model.setColumns({{QStringLiteral("NUEXISTA")}}), GridError);
    EXPECT_EQ(model.columns().size(), 1);
    EXPECT_EQ(model.columnCount(), 1);
}

TEST(QueryTableModel, EditableColumnsStoreConvertedValuesAndSayWhich)
{
    EngineTable t;
    QueryTableModel model;
    model.setColumns({{QStringLiteral("N"), {}, 5, DisplayFormat::wholeNumber()},
                      {QStringLiteral("R"), {}, 9, DisplayFormat::fixedDecimals(2), true},
                      {QStringLiteral("D"), {}, 10, DisplayFormat::date(), true},
                      {QStringLiteral("A"), {}, 30, DisplayFormat::text(), true}});
    model.load(t.reg.engine.select(t.select(QStringLiteral(" ORDER BY N"))));
    QSignalSpy edited(&model, &QueryTableModel::valueEdited);

    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(0, 0), 7));

    EXPECT_TRUE(model.setData(model.index(0, 1), QStringLiteral("3.456")));
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("3.46"));
    EXPECT_TRUE(model.setData(model.index(0, 2), QStringLiteral("01.03.2021")));
    EXPECT_EQ(model.data(model.index(0, 2), Qt::EditRole).toDate(), QDate(2021, 3, 1));
    EXPECT_TRUE(model.setData(model.index(1, 2), QVariant()));
    EXPECT_FALSE(model.data(model.index(1, 2), Qt::EditRole).isValid());
    EXPECT_TRUE(model.setData(model.index(1, 3), QString::fromUtf8("Țară")));

    // values that do not convert change nothing
    EXPECT_FALSE(model.setData(model.index(0, 1), QStringLiteral("doi")));
    EXPECT_FALSE(model.setData(model.index(0, 2), QStringLiteral("31.02.2021")));
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), QStringLiteral("3.46"));

    ASSERT_EQ(edited.size(), 4);
    EXPECT_EQ(edited[0][0].toInt(), 0);
    EXPECT_EQ(edited[0][1].toString(), QStringLiteral("R"));
    EXPECT_EQ(edited[0][2].toDouble(), 3.456);
    EXPECT_EQ(edited[1][2].toDate(), QDate(2021, 3, 1));
    EXPECT_FALSE(edited[2][2].isValid());
    EXPECT_EQ(edited[3][1].toString(), QStringLiteral("A"));
    EXPECT_EQ(edited[3][2].toString(), QString::fromUtf8("Țară"));
}

QStringList shownNumbers(const ClientFilterProxy& proxy)
{
    QStringList numbers;
    for (int r = 0; r < proxy.rowCount(); ++r)
        numbers << proxy.data(proxy.index(r, 0)).toString();
    return numbers;
}

TEST(ClientFilterProxy, FiltersLikeTheQueriesDo)
{
    EngineTable t;
    QueryTableModel model;
    model.setColumns({{QStringLiteral("N")}, {QStringLiteral("A"), {}, 30, {}, false, true}});
    model.load(t.reg.engine.select(t.select(QStringLiteral(" ORDER BY N"))));
    ClientFilterProxy proxy;
    proxy.setQueryModel(&model);

    struct Case {
        const char* filter;
        QStringList numbers;
    };
    const Case cases[] = {
        {"", {"1", "2", "3", "5", "40"}},
        {"N = 2", {"2"}},
        {"A = 'IONESCU*'", {"3"}},                  // prefix on a hidden field
        {"A = 'Ion*'", {"1"}},                      // case-sensitive
        {"A = 'Ion \"M*' OR N >= 40", {"1", "40"}},
        {"(N > 1 AND N < 5) AND NOT R = 12.5", {"2", "3"}},
        {"d = '31.12.2020'", {"2"}}, // dates compare as dd.MM.yyyy
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        proxy.setFilterText(QString::fromUtf8(c.filter));
        EXPECT_EQ(shownNumbers(proxy), c.numbers);
    }

    proxy.setFilterText(QStringLiteral("N < 3"));
    proxy.setFilterEnabled(false);
    EXPECT_EQ(proxy.rowCount(), 5);
    proxy.setFilterEnabled(true);
    EXPECT_EQ(shownNumbers(proxy), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));

    // a bad filter throws and the previous one stays
    for (const char* bad : {"N = ", "NUEXISTA = 1", "A = 'neinchis", "N = 1 AND"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(proxy.setFilterText(QString::fromLatin1(bad)), engine::SqlError);
        EXPECT_EQ(proxy.filterText(), QStringLiteral("N < 3"));
        EXPECT_EQ(proxy.rowCount(), 2);
    }

    // reloaded with new rows: the filter applies to them
    model.load(t.reg.engine.select(t.select(QStringLiteral(" WHERE N <> 1 ORDER BY N"))));
    EXPECT_EQ(shownNumbers(proxy), QStringList{QStringLiteral("2")});
    EXPECT_TRUE(proxy.filterUsable());
}

TEST(ClientFilterProxy, SortsByRawValues)
{
    EngineTable t;
    QueryTableModel model;
    model.setColumns({{QStringLiteral("N")}, {QStringLiteral("D")}});
    model.load(t.reg.engine.select(t.select()));
    ClientFilterProxy proxy;
    proxy.setQueryModel(&model);
    proxy.sort(0, Qt::DescendingOrder);
    EXPECT_EQ(shownNumbers(proxy), (QStringList{QStringLiteral("40"), QStringLiteral("5"), QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")}));
}

}
