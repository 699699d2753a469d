// The workbook engine over the reference templates written by other software: reading, saving,
// row copies and deletion, the rebuilt offsets, and damaged files.

#include "XlsTestReader.h"
#include "support/FileBytes.h"

#include "support/TestDirs.h"
#include "workbook/CellListing.h"
#include "workbook/NewWorkbook.h"
#include "workbook/Workbook.h"
#include "workbook/WorkbookError.h"

#include <QFile>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace velmor;
using workbook::Workbook;
using workbook::WorkbookError;

namespace {

const QStringList kFixtures {
    QStringLiteral("rap-xlwt.xls"), QStringLiteral("rap-libreoffice.xls"),
    QStringLiteral("macheta-xlwt.xls"), QStringLiteral("macheta-libreoffice.xls"),
    QStringLiteral("l1-xlwt.xls"), QStringLiteral("l1-libreoffice.xls"),
};

QString fixture(const QString& name) { return test::fixturePath(QStringLiteral("workbooks/") + name); }

// Cells the engine reads, in the independent reader's notation.
QMap<QString, QString> engineCells(const Workbook& book)
{
    QMap<QString, QString> cells;
    for (int r = 1; r <= book.lastRow(); ++r) {
        for (int c = 1; c <= book.lastColumn(); ++c) {
            const auto v = book.cell(r, c);
            if (v.kind == workbook::CellValue::Kind::Number)
                cells.insert(test::address(r, c), QStringLiteral("n:") + v.text);
            else if (v.kind == workbook::CellValue::Kind::Text)
                cells.insert(test::address(r, c), QStringLiteral("s:") + v.text);
        }
    }
    return cells;
}

// Cells moved down by `by` from row `from` on.
QMap<QString, QString> shifted(const QMap<QString, QString>& cells, int from, int by)
{
    QMap<QString, QString> out;
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        QString letters = it.key();
        int digits = 0;
        while (letters.back().isDigit()) {
            letters.chop(1);
            ++digits;
        }
        const int row = it.key().right(digits).toInt();
        out.insert(letters + QString::number(row >= from ? row + by : row), it.value());
    }
    return out;
}

class FixtureWorkbook : public ::testing::TestWithParam<QString> {
protected:
    QTemporaryDir dir;
    QString out(const QString& name) const { return dir.filePath(name); }
};

}

// Every fixture reads the same through the engine and the independent reader, and saves into a
// sound file with the same cells, merges and row heights; records the engine does not edit stay
// byte for byte.
TEST_P(FixtureWorkbook, OpensAndSavesUnchanged)
{
    const QString source = fixture(GetParam());
    const test::XlsContent original = test::readXls(source);
    ASSERT_TRUE(original.faults.isEmpty()) << original.faults.join(QLatin1Char(';')).toStdString();
    ASSERT_FALSE(original.cells.isEmpty());

    Workbook book(source);
    EXPECT_EQ(engineCells(book), original.cells);
    book.saveAs(out(QStringLiteral("saved.xls")));

    const test::XlsContent saved = test::readXls(out(QStringLiteral("saved.xls")));
    EXPECT_TRUE(saved.faults.isEmpty()) << saved.faults.join(QLatin1Char(';')).toStdString();
    EXPECT_EQ(saved.cells, original.cells);
    EXPECT_EQ(saved.merges, original.merges);
    EXPECT_EQ(saved.rowHeights, original.rowHeights);
    EXPECT_EQ(saved.sheetCount, original.sheetCount);

    // Globals other than the rebuilt ones, in order and byte for byte.
    auto untouched = [](const QList<test::XlsRecord>& records, std::initializer_list<quint16> rebuilt) {
        QList<QPair<quint16, QByteArray>> kept;
        bool inSst = false;
        for (const auto& r : records) {
            if (r.type == 0x003C && inSst)
                continue;
            inSst = r.type == 0x00FC;
            if (std::find(rebuilt.begin(), rebuilt.end(), r.type) != rebuilt.end())
                continue;
            kept.append({r.type, r.body});
        }
        return kept;
    };
    EXPECT_EQ(untouched(saved.globals, {0x00FC, 0x00FF, 0x0085}), untouched(original.globals, {0x00FC, 0x00FF, 0x0085}));
    // Sheet records outside the cell table (cells, rows, index, blocks, dimensions are rebuilt).
    const std::initializer_list<quint16> table {0x0208, 0x00FD, 0x0203, 0x027E, 0x00BD, 0x0201, 0x00BE, 0x020B, 0x00D7, 0x0200, 0x00E5};
    ASSERT_EQ(saved.sheets.size(), original.sheets.size());
    for (int s = 0; s < saved.sheets.size(); ++s)
        EXPECT_EQ(untouched(saved.sheets[s], table), untouched(original.sheets[s], table)) << "sheet " << s + 1;

    // And the saved file opens again with the same cells.
    EXPECT_EQ(engineCells(Workbook(out(QStringLiteral("saved.xls")))), original.cells);
}

// Three copies of the template row inserted at its place, filled with numbers and Romanian text,
// and the template row deleted: every row, merged range and cell below moves down by two.
TEST_P(FixtureWorkbook, RowCopiesMoveEverythingBelow)
{
    const QString source = fixture(GetParam());
    const test::XlsContent original = test::readXls(source);
    Workbook book(source);
    int templateRow = 0;
    for (int r = 1; r <= book.lastRow(); ++r) {
        for (int c = 1; c <= book.lastColumn(); ++c) {
            if (book.text(r, c) == QLatin1String("#DBF"))
                templateRow = r;
        }
    }
    ASSERT_GT(templateRow, 0);
    const QString first = original.cells.value(test::address(templateRow, 1));

    book.insertRowCopies(templateRow, templateRow, templateRow, 3);
    book.setText(templateRow, 2, QStringLiteral("ŢĂRAN ŞTEFANA"));
    book.setNumber(templateRow + 1, 1, 2.5);
    book.setText(templateRow + 2, 2, QStringLiteral("Îmbunătăţiri «âș»"));
    book.deleteRows(templateRow + 3, 1);
    const QString path = out(QStringLiteral("filled.xls"));
    book.saveAs(path);

    const test::XlsContent filled = test::readXls(path);
    EXPECT_TRUE(filled.faults.isEmpty()) << filled.faults.join(QLatin1Char(';')).toStdString();

    QMap<QString, QString> expected;
    for (auto it = original.cells.begin(); it != original.cells.end(); ++it) {
        const int row = it.key().mid(it.key().indexOf(QRegularExpression(QStringLiteral("\\d")))).toInt();
        if (row != templateRow)
            expected.insert(it.key(), it.value());
    }
    expected = shifted(expected, templateRow + 1, 2);
    for (int k = 0; k < 3; ++k) {
        for (auto it = original.cells.begin(); it != original.cells.end(); ++it) {
            const QString key = it.key();
            if (key.endsWith(QString::number(templateRow)) && key.mid(key.indexOf(QRegularExpression(QStringLiteral("\\d")))).toInt() == templateRow)
                expected.insert(key.left(key.size() - QString::number(templateRow).size()) + QString::number(templateRow + k), it.value());
        }
    }
    expected.insert(test::address(templateRow, 2), QStringLiteral("s:ŢĂRAN ŞTEFANA"));
    expected.insert(test::address(templateRow + 1, 1), QStringLiteral("n:2.5"));
    expected.insert(test::address(templateRow + 2, 2), QStringLiteral("s:Îmbunătăţiri «âș»"));
    EXPECT_EQ(filled.cells, expected);
    EXPECT_EQ(filled.cells.value(test::address(templateRow + 2, 1)), first);

    QStringList merges;
    for (const QString& m : original.merges) {
        const auto parts = m.split(QLatin1Char(':'));
        QMap<QString, QString> corner {{parts[0], {}}, {parts[1], {}}};
        const auto moved = shifted(corner, templateRow + 1, 2).keys();
        // A merge keeps its corners' order: top-left sorts before bottom-right.
        merges << (moved.size() == 2 ? moved[0] + QLatin1Char(':') + moved[1] : m);
    }
    std::sort(merges.begin(), merges.end());
    EXPECT_EQ(filled.merges, merges);
    EXPECT_EQ(filled.rowHeights.value(templateRow + 2), original.rowHeights.value(templateRow));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureWorkbook, ::testing::ValuesIn(kFixtures),
                         [](const auto& info) { return info.param.chopped(4).replace(QLatin1Char('-'), QLatin1Char('_')).toStdString(); });

// Deleting rows through a merged range shrinks it; deleting all of it removes it.
TEST(WorkbookRows, DeleteClipsMergedRanges)
{
    Workbook book(fixture(QStringLiteral("macheta-libreoffice.xls")));
    book.deleteRows(4, 1); // A3:A4 becomes one cell (dropped), row 5 moves to 4
    QStringList merges;
    for (const auto& m : book.mergedRanges())
        merges << workbook::cellAddress(m.firstRow, m.firstColumn) + QLatin1Char(':') + workbook::cellAddress(m.lastRow, m.lastColumn);
    EXPECT_EQ(merges, (QStringList {"B3:C3", "D3:E3", "F3:G3", "H3:O3", "A10:O10"}));
    EXPECT_EQ(book.text(4, 16), QStringLiteral("#DBF"));
    book.deleteRows(10, 1);
    EXPECT_EQ(book.mergedRanges().size(), 4);
    EXPECT_EQ(book.lastRow(), 8);
}

// Three thousand filled rows: many row blocks, a string table spread over CONTINUE records, and
// the string index; all found where the independent reader looks for them.
TEST(WorkbookRows, ThousandsOfRowsKeepTheirIndexes)
{
    QTemporaryDir dir;
    Workbook book(fixture(QStringLiteral("rap-libreoffice.xls")));
    const int n = 3000;
    book.insertRowCopies(5, 5, 5, n);
    for (int i = 0; i < n; ++i) {
        book.setNumber(5 + i, 1, i + 1);
        book.setText(5 + i, 2, QStringLiteral("ŞTEFĂNESCU %1 ĂÎÂŞŢ").arg(i));
        book.setText(5 + i, 3, QStringLiteral("CNP%1").arg(i, 10, 10, QLatin1Char('0')));
    }
    book.deleteRows(5 + n, 1);
    const QString path = dir.filePath(QStringLiteral("big.xls"));
    book.saveAs(path);
    const test::XlsContent big = test::readXls(path);
    EXPECT_TRUE(big.faults.isEmpty()) << big.faults.mid(0, 5).join(QLatin1Char(';')).toStdString();
    EXPECT_EQ(big.cells.value(QStringLiteral("A3004")), QStringLiteral("n:3000"));
    EXPECT_EQ(big.cells.value(QStringLiteral("B1237")), QStringLiteral("s:ŞTEFĂNESCU 1232 ĂÎÂŞŢ"));
    EXPECT_EQ(big.cells.value(QStringLiteral("C5")), QStringLiteral("s:CNP0000000000"));
    EXPECT_EQ(big.cells.value(QStringLiteral("B3007")), QStringLiteral("s:Intocmit,"));
    int continues = 0, dbcells = 0;
    for (const auto& r : big.globals)
        continues += r.type == 0x003C;
    for (const auto& r : big.sheets[0])
        dbcells += r.type == 0x00D7;
    EXPECT_GT(continues, 10);
    EXPECT_EQ(dbcells, 3007 / 32 + 1);
}

// The listing of the command-line program.
TEST(WorkbookListing, PrintsCellsAndMerges)
{
    QString text;
    QTextStream out(&text);
    EXPECT_EQ(workbook::printWorkbookCells(fixture(QStringLiteral("rap-xlwt.xls")), out), 0);
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.first(), QStringLiteral("A1\ts\tRaport catre agentia de plati - efective de animale"));
    EXPECT_TRUE(lines.contains(QStringLiteral("J5\ts\t#DBF")));
    EXPECT_EQ(lines.last(), QStringLiteral("MERGE\tE3:H3"));
    EXPECT_EQ(lines.size(), 21);

    text.clear();
    workbook::printWorkbookCells(fixture(QStringLiteral("l1-libreoffice.xls")), out);
    EXPECT_TRUE(text.contains(QStringLiteral("B23\tn\t0\nC23\tn\t1\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("B21\ts\tNUMELE SI PRENUMELE\\n(capul exploatatiei agricole)\n")));
}

// A new workbook written from a design reads back as designed.
TEST(NewWorkbook, DesignReadsBack)
{
    workbook::WorkbookDesign d;
    d.styles = {workbook::CellStyle{0, true}};
    d.cells = {{1, 1, QStringLiteral("Titlu"), -1}, {2, 3, 42.0, 0}, {3, 2, QStringLiteral("Ţară"), 0}, {3, 1, std::monostate{}, 0}};
    d.merges = {{1, 1, 1, 3}};
    d.rowHeights = {{1, 20}};
    d.emptySheets = 1;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.xls"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(workbook::writeNewWorkbook(d));
    f.close();
    const test::XlsContent c = test::readXls(path);
    EXPECT_TRUE(c.faults.isEmpty()) << c.faults.join(QLatin1Char(';')).toStdString();
    EXPECT_EQ(c.cells, (QMap<QString, QString> {{"A1", "s:Titlu"}, {"C2", "n:42"}, {"B3", "s:Ţară"}}));
    EXPECT_EQ(c.merges, QStringList {"A1:C1"});
    EXPECT_EQ(c.rowHeights.value(1), 400);
    EXPECT_EQ(c.sheetCount, 2);
    Workbook book(path);
    EXPECT_EQ(book.lastRow(), 3);
    EXPECT_EQ(book.lastColumn(), 3);
    book.selectSheet(2);
    EXPECT_EQ(book.lastRow(), 0);
    EXPECT_THROW(book.selectSheet(3), WorkbookError);
}

// Files that are not workbooks, truncated or with flipped bytes: an error naming the problem or
// a workbook that reads and saves; never a crash.
TEST(WorkbookDamage, NotAWorkbook)
{
    QTemporaryDir dir;
    const QList<QPair<QString, QByteArray>> files {
        {QStringLiteral("empty.xls"), QByteArray()},
        {QStringLiteral("text.xls"), QByteArray("Nume;Prenume\nPOPESCU;ION\n")},
        {QStringLiteral("table.xls"), velmor::test::existingFileBytes(test::fixturePath(QStringLiteral("register-dbase4/CAP1.dbf")))},
    };
    for (const auto& [name, bytes] : files) {
        const QString path = dir.filePath(name);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        try {
            Workbook book(path);
            ADD_FAILURE() << name.toStdString() << " opened";
        } catch (const WorkbookError& e) {
            EXPECT_FALSE(e.message().isEmpty());
        }
    }
    EXPECT_THROW(Workbook(dir.filePath(QStringLiteral("missing.xls"))), WorkbookError);
}

TEST(WorkbookDamage, TruncationsAndFlippedBytes)
{
    QTemporaryDir dir;
    for (const QString& name : kFixtures) {
        const QByteArray whole = velmor::test::existingFileBytes(fixture(name));
        QList<QByteArray> damaged;
        for (int cut : {1, 100, 511, 512, 513, 1024, int(whole.size() / 2), int(whole.size() - 1)})
            damaged.append(whole.left(cut));
        for (qsizetype at = 0; at < whole.size(); at += 97) {
            QByteArray b = whole;
            b[at] = char(b[at] ^ 0xFF);
            damaged.append(b);
        }
        int refused = 0;
        for (const QByteArray& bytes : damaged) {
            try {
                Workbook book(bytes, name);
                // Whatever opened must still read and save.
                (void)engineCells(book);
                book.insertRowCopies(1, 1, 1, 2);
                book.deleteRows(1, 1);
                book.saveAs(dir.filePath(QStringLiteral("out.xls")));
            } catch (const WorkbookError& e) {
                EXPECT_FALSE(e.message().isEmpty());
                ++refused;
            }
        }
        // Every truncation is refused (the container is shorter than its sectors).
        EXPECT_GE(refused, 8) << name.toStdString();
    }
}

// Saving over a file that cannot be written leaves it as it was.
TEST(WorkbookSave, FailedSaveKeepsTheOldFile)
{
    QTemporaryDir dir;
    Workbook book(fixture(QStringLiteral("rap-xlwt.xls")));
    const QString folder = dir.filePath(QStringLiteral("sub"));
    EXPECT_THROW(book.saveAs(folder + QStringLiteral("/missing/out.xls")), WorkbookError);
    QDir().mkpath(folder);
    EXPECT_THROW(book.saveAs(folder), WorkbookError);
}
