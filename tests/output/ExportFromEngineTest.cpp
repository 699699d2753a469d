// Exports of real query results: the command line's export of a statement and the export of what
// a filtered grid model shows.

#include "EngineTable.h"
#include "support/FileBytes.h"
#include "ExportReaders.h"
#include "XlsxTestReader.h"

#include "grid/ClientFilterProxy.h"
#include "grid/QueryTableModel.h"
#include "output/DataExport.h"
#include "output/ExportError.h"
#include "output/TableSources.h"

#include "data/engine/Query.h"

#include <QFile>
#include <QTemporaryDir>

using namespace velmor;
using namespace velmor::output;
using velmor::test::EngineTable;

namespace {

TEST(ExportStatement, WritesEveryRowToAWorkbookByDefault)
{
    EngineTable t;
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("lista")); // no extension: Excel
    ExportOptions options;
    options.title = QString::fromUtf8("Lista ș");
    options.footer = QStringLiteral("Primar");
    options.exportDate = QDate(2023, 5, 6);
    exportStatement(t.reg.engine, t.select(QStringLiteral(" ORDER BY N")), options, path);

    const test::XlsxTestReader book(path);
    ASSERT_TRUE(book.ok()) << book.error().toStdString();
    EXPECT_EQ(book.cell(0, 0).text, QString::fromUtf8("Lista ș"));
    EXPECT_EQ(book.cell(1, 0).text, QStringLiteral("A"));
    EXPECT_EQ(book.cell(1, 3).text, QStringLiteral("D"));
    EXPECT_TRUE(book.cell(1, 3).bold);

    const QStringList names = EngineTable::names();
    EXPECT_EQ(book.cell(2, 0).text, EngineTable::stored(names[0]));
    EXPECT_EQ(book.cell(3, 0).text, EngineTable::stored(names[1]));
    EXPECT_EQ(book.cell(4, 0).text, EngineTable::stored(names[2]));
    EXPECT_EQ(book.cell(5, 0).type, test::XlsxCell::Type::Empty); // null text (N = 5)
    EXPECT_EQ(book.cell(6, 0).text, EngineTable::stored(names[3]));
    EXPECT_EQ(book.cell(6, 0).text.size(), 254);

    EXPECT_TRUE(book.cell(2, 1).isNumber());
    EXPECT_EQ(book.cell(2, 1).number, 1.0);
    EXPECT_EQ(book.cell(5, 1).number, 5.0);
    EXPECT_EQ(book.cell(6, 1).number, 40.0);
    EXPECT_EQ(book.cell(3, 2).number, -0.25);
    EXPECT_EQ(book.cell(3, 2).numberFormat, QStringLiteral("0.00"));
    EXPECT_EQ(book.cell(6, 2).number, 1000.0);
    EXPECT_EQ(book.cell(4, 2).type, test::XlsxCell::Type::Empty);
    EXPECT_TRUE(book.cell(2, 3).styleIsDate);
    EXPECT_EQ(book.cell(2, 3).date(), QDate(1948, 2, 29));
    EXPECT_EQ(book.cell(3, 3).date(), QDate(2020, 12, 31));
    EXPECT_EQ(book.cell(7, 0).text, QStringLiteral("Primar"));
    EXPECT_EQ(book.cell(8, 0).text, QStringLiteral("Creat la 06.05.2023"));
    EXPECT_EQ(book.rowCount(), 9);
}

TEST(ExportStatement, FormatByOptionOrExtension)
{
    EngineTable t;
    QTemporaryDir out;
    ExportOptions options;
    options.title = QStringLiteral("T");
    options.footer = QStringLiteral("F");
    options.rowNumbers = true;
    const QString csv = out.filePath(QStringLiteral("a.csv"));
    exportStatement(t.reg.engine, t.select(QStringLiteral(" WHERE N < 3 ORDER BY N")), options, csv);
    const test::ReadBack back = test::readDelimited(velmor::test::fileBytes(csv), QLatin1Char(','));
    ASSERT_TRUE(back.problem.isEmpty()) << back.problem.toStdString();
    EXPECT_EQ(back.headings, (QStringList{QStringLiteral("Nr."), QStringLiteral("A"), QStringLiteral("N"), QStringLiteral("R"), QStringLiteral("D")}));
    ASSERT_EQ(back.rows.size(), 2);
    EXPECT_EQ(back.rows[0], (QStringList{QStringLiteral("1"), EngineTable::stored(EngineTable::names()[0]), QStringLiteral("1"),
                                         QStringLiteral("12.50"), QStringLiteral("29.02.1948")}));
    EXPECT_EQ(back.rows[1][0], QStringLiteral("2"));
    EXPECT_EQ(back.rows[1][3], QStringLiteral("-0.25"));

    options.format = ExportFormat::Html;
    const QString html = out.filePath(QStringLiteral("b.csv"));
    exportStatement(t.reg.engine, t.select(), options, html);
    EXPECT_TRUE(test::readHtml(velmor::test::fileBytes(html)).problem.isEmpty());
}

TEST(ExportStatement, FailingOrChangingStatementsWriteNothing)
{
    EngineTable t;
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("x.xlsx"));
    EXPECT_THROW(exportStatement(t.reg.engine, QStringLiteral("SELECT NUSUNT FROM ") + t.reg.t(QStringLiteral("T.dbf")), {}, path),
                 engine::SqlError);
    EXPECT_THROW(exportStatement(t.reg.engine, QStringLiteral("DELETE FROM ") + t.reg.t(QStringLiteral("T.dbf")), {}, path),
                 ExportError);
    EXPECT_EQ(t.reg.one(QStringLiteral("SELECT COUNT(*) FROM {T}")), "i:5");
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(ExportFromGrid, OnlyFilteredRowsAndShownColumnsInShownForm)
{
    EngineTable t;
    grid::QueryTableModel model;
    grid::ColumnDescription a{QStringLiteral("A"), QStringLiteral("Nume"), 30};
    grid::ColumnDescription n{QStringLiteral("N"), QStringLiteral("Nr"), 5, grid::DisplayFormat::wholeNumber(), false, true};
    grid::ColumnDescription r{QStringLiteral("R"), QStringLiteral("Suprafata"), 9, grid::DisplayFormat::upTo(2)};
    grid::ColumnDescription d{QStringLiteral("D"), QStringLiteral("Data"), 10, grid::DisplayFormat::date()};
    model.setColumns({d, a, n, r});
    model.load(t.reg.engine.select(t.select(QStringLiteral(" ORDER BY N"))));
    grid::ClientFilterProxy proxy;
    proxy.setQueryModel(&model);
    proxy.setFilterText(QStringLiteral("N < 5 AND NOT A = 'IONESCU*'")); // N is hidden, still filters
    ASSERT_EQ(proxy.rowCount(), 2);

    ExportTable table = tableFromModel(proxy);
    table.title = QStringLiteral("Grila");
    table.footer = QStringLiteral("Sfarsit");
    ASSERT_EQ(table.columns.size(), 3);
    EXPECT_EQ(table.columns[0].kind, ExportColumn::Kind::Date);
    EXPECT_EQ(table.columns[1].kind, ExportColumn::Kind::Text);
    EXPECT_EQ(table.columns[2].kind, ExportColumn::Kind::Real);
    EXPECT_EQ(table.columns[2].decimals, 2); // "-0.25" is the widest shown

    QTemporaryDir out;
    const QString csv = out.filePath(QStringLiteral("g.csv"));
    DataExport::write(table, ExportFormat::Csv, csv);
    const test::ReadBack back = test::readDelimited(velmor::test::fileBytes(csv), QLatin1Char(','));
    ASSERT_TRUE(back.problem.isEmpty()) << back.problem.toStdString();
    EXPECT_EQ(back.headings, (QStringList{QStringLiteral("Data"), QStringLiteral("Nume"), QStringLiteral("Suprafata")}));
    const QStringList names = EngineTable::names();
    EXPECT_EQ(back.rows, (QList<QStringList>{
                             {QStringLiteral("29.02.1948"), EngineTable::stored(names[0]), QStringLiteral("12.50")},
                             {QStringLiteral("31.12.2020"), EngineTable::stored(names[1]), QStringLiteral("-0.25")},
                         }));

    const QString xlsx = out.filePath(QStringLiteral("g.xlsx"));
    DataExport::write(table, ExportFormat::Xlsx, xlsx);
    const test::XlsxTestReader book(xlsx);
    ASSERT_TRUE(book.ok()) << book.error().toStdString();
    EXPECT_TRUE(book.cell(2, 0).styleIsDate);
    EXPECT_EQ(book.cell(3, 0).date(), QDate(2020, 12, 31));
    EXPECT_EQ(book.cell(2, 2).number, 12.5);
    EXPECT_EQ(book.columnCount(), 3);

    // the filter switched off exports every row
    proxy.setFilterEnabled(false);
    EXPECT_EQ(tableFromModel(proxy).rows.size(), 5u);
}

TEST(ExportFromQuery, RowsThroughTheQueryFilterAndPositionKept)
{
    EngineTable t;
    engine::Query query(t.reg.engine);
    query.add(t.select(QStringLiteral(" ORDER BY N")));
    query.open();
    query.setFilter(QStringLiteral("N >= 2"));
    query.setFiltered(true);
    query.next(); // second shown row
    const int position = query.recNo();
    const ExportTable table = tableFromQuery(query);
    EXPECT_EQ(query.recNo(), position);
    ASSERT_EQ(table.rows.size(), 4u);
    EXPECT_EQ(table.columns[2].kind, ExportColumn::Kind::Real);
    EXPECT_EQ(table.columns[2].decimals, 2);
    EXPECT_EQ(table.columns[0].width, 254);
    EXPECT_EQ(std::get<std::int64_t>(table.rows[0][1]), 2);
}

}
