// Every format written from one awkward table and read back by an independent reader.

#include "ExportReaders.h"
#include "support/FileBytes.h"
#include "XlsxTestReader.h"

#include "output/DataExport.h"
#include "output/ExportError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace velmor;
using namespace velmor::output;
using velmor::test::ReadBack;

namespace {

const QString LongText = QString::fromUtf8("ăîșțâ").repeated(50) + QStringLiteral("1234"); // 254 characters

ExportTable awkwardTable()
{
    ExportTable t;
    t.title = QString::fromUtf8("Lista \"Export\" – ș ț Ș Ț");
    t.footer = QString::fromUtf8("Subsol: primar Ănuța; ş ţ");
    t.exportDate = QDate(2024, 3, 7);
    t.columns = {
        {QStringLiteral("Nume"), ExportColumn::Kind::Text, 0, 30},
        {QStringLiteral("Numar"), ExportColumn::Kind::Integer, 0, 6},
        {QStringLiteral("Suprafata"), ExportColumn::Kind::Real, 2, 9},
        {QStringLiteral("Data"), ExportColumn::Kind::Date, 0, 10},
        {QString::fromUtf8("Observații"), ExportColumn::Kind::Text, 0, 20},
    };
    t.rows.push_back({QString::fromUtf8("Ion \"Mărgean\", zis 'Nea'"), std::int64_t(1), 12.5, QDate(1948, 2, 29),
                      QString::fromUtf8("C:\\cale\\fișier;a,b")});
    t.rows.push_back({QString::fromUtf8("Șerban Țuțu ăîâ ȘȚşţ"), std::int64_t(-5), -0.004, QDate(1899, 12, 31),
                      QStringLiteral("linia 1\nlinia 2\ttab")});
    t.rows.push_back({LongText, std::int64_t(1234567890123456789LL), 0.0, dbf::Value(), dbf::Value()});
    t.rows.push_back({dbf::Value(), dbf::Value(), dbf::Value(), dbf::Value(), QStringLiteral("<b>&amp; {acolade} \\par</b>")});
    return t;
}

// The cell texts every text format must give back.
const QList<QStringList> ExpectedRows = {
    {QString::fromUtf8("Ion \"Mărgean\", zis 'Nea'"), QStringLiteral("1"), QStringLiteral("12.50"), QStringLiteral("29.02.1948"),
     QString::fromUtf8("C:\\cale\\fișier;a,b")},
    {QString::fromUtf8("Șerban Țuțu ăîâ ȘȚşţ"), QStringLiteral("-5"), QStringLiteral("0.00"), QStringLiteral("31.12.1899"),
     QStringLiteral("linia 1\nlinia 2\ttab")},
    {LongText, QStringLiteral("1234567890123456789"), QStringLiteral("0.00"), QString(), QString()},
    {QString(), QString(), QString(), QString(), QStringLiteral("<b>&amp; {acolade} \\par</b>")},
};

const QStringList ExpectedHeadings = {QStringLiteral("Nume"), QStringLiteral("Numar"), QStringLiteral("Suprafata"),
                                      QStringLiteral("Data"), QString::fromUtf8("Observații")};

// Rows as the aligned text shows them: line breaks split a row over lines, tabs become spaces.
QList<QStringList> physicalLines(const QList<QStringList>& rows)
{
    QList<QStringList> out;
    for (const QStringList& row : rows) {
        QList<QStringList> parts;
        qsizetype height = 1;
        for (QString cell : row) {
            QStringList lines = cell.split(QLatin1Char('\n'));
            for (QString& line : lines) {
                QString expanded;
                for (const QChar ch : line)
                    expanded += ch == QLatin1Char('\t') ? QString(8 - expanded.size() % 8, QLatin1Char(' ')) : QString(ch);
                line = expanded.trimmed();
            }
            height = std::max(height, lines.size());
            parts << lines;
        }
        for (qsizetype l = 0; l < height; ++l) {
            QStringList line;
            for (const QStringList& cell : parts)
                line << (l < cell.size() ? cell[l] : QString());
            out << line;
        }
    }
    return out;
}

struct TextFormatCase {
    const char* name;
    ExportFormat format;
    std::function<ReadBack(const QByteArray&)> read;
    bool physicalLines = false;
};

class TextFormatRoundTrip : public ::testing::TestWithParam<TextFormatCase> {};

TEST_P(TextFormatRoundTrip, EveryValueComesBack)
{
    const TextFormatCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.") + formatExtension(c.format));
    DataExport::write(awkwardTable(), c.format, path);

    const ReadBack back = c.read(velmor::test::fileBytes(path));
    ASSERT_TRUE(back.problem.isEmpty()) << back.problem.toStdString();
    EXPECT_EQ(back.title, awkwardTable().title);
    EXPECT_EQ(back.headings, ExpectedHeadings);
    EXPECT_EQ(back.rows, c.physicalLines ? physicalLines(ExpectedRows) : ExpectedRows);
    EXPECT_EQ(back.footer, awkwardTable().footer);
    EXPECT_EQ(back.dateLine, QStringLiteral("Creat la 07.03.2024"));
    // nothing else left in the folder
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(path).fileName()});
}

INSTANTIATE_TEST_SUITE_P(Formats, TextFormatRoundTrip,
                         ::testing::Values(
                             TextFormatCase{"csv", ExportFormat::Csv, [](const QByteArray& b) { return test::readDelimited(b, QLatin1Char(',')); }},
                             TextFormatCase{"tsv", ExportFormat::Tsv, [](const QByteArray& b) { return test::readDelimited(b, QLatin1Char('\t')); }},
                             TextFormatCase{"html", ExportFormat::Html, &test::readHtml},
                             TextFormatCase{"rtf", ExportFormat::Rtf, &test::readRtf},
                             TextFormatCase{"word", ExportFormat::Word, &test::readRtf},
                             TextFormatCase{"txt", ExportFormat::Text, &test::readAlignedText, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExportEscaping, SpecialCharactersAreEscapedInTheFileItself)
{
    const ExportTable table = awkwardTable();
    const QByteArray html = DataExport::render(table, ExportFormat::Html);
    EXPECT_TRUE(html.contains("&lt;b&gt;&amp;amp; {acolade} \\par&lt;/b&gt;"));
    EXPECT_TRUE(html.contains("Ion &quot;Mărgean&quot;, zis &#39;Nea&#39;"));
    EXPECT_FALSE(html.contains("<b>&amp;"));

    const QByteArray rtf = DataExport::render(table, ExportFormat::Rtf);
    EXPECT_TRUE(rtf.contains("\\{acolade\\} \\\\par"));
    // ș as \u537 with the Windows-1250 cedilla letter as fallback, ă as \u259 with its own byte
    EXPECT_TRUE(rtf.contains("\\u537 \\'ba"));
    EXPECT_TRUE(rtf.contains("\\u259 \\'e3"));
    EXPECT_TRUE(rtf.contains("linia 1\\line linia 2\\tab tab"));
    for (const char byte : rtf)
        ASSERT_LT(uchar(byte), 0x80) << "RTF must be 7-bit";

    const QByteArray csv = DataExport::render(table, ExportFormat::Csv);
    EXPECT_TRUE(csv.contains("\"Ion \"\"Mărgean\"\", zis 'Nea'\",1,12.50,29.02.1948,\"C:\\cale\\fișier;a,b\"\r\n"));
    const QByteArray tsv = DataExport::render(table, ExportFormat::Tsv);
    EXPECT_TRUE(tsv.contains("\"linia 1\nlinia 2\ttab\""));
    EXPECT_TRUE(tsv.contains(QString::fromUtf8("C:\\cale\\fișier;a,b\r\n").toUtf8()));

    const QByteArray txt = DataExport::render(table, ExportFormat::Text);
    EXPECT_TRUE(txt.contains("  12.50  29.02.1948  "));
}

TEST(XlsxExport, CellsHaveTheirTypesFormatsAndExactTexts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.xlsx"));
    DataExport::write(awkwardTable(), ExportFormat::Xlsx, path);

    const test::XlsxTestReader book(path);
    ASSERT_TRUE(book.ok()) << book.error().toStdString();

    // title, headings
    EXPECT_EQ(book.cell(0, 0).text, awkwardTable().title);
    EXPECT_TRUE(book.cell(0, 0).bold);
    for (int c = 0; c < ExpectedHeadings.size(); ++c) {
        SCOPED_TRACE(c);
        EXPECT_TRUE(book.cell(1, c).isString());
        EXPECT_EQ(book.cell(1, c).text, ExpectedHeadings[c]);
        EXPECT_TRUE(book.cell(1, c).bold);
    }
    EXPECT_FALSE(book.cell(2, 0).bold);

    // texts exactly as given, in shared strings
    EXPECT_EQ(book.cell(2, 0).text, ExpectedRows[0][0]);
    EXPECT_TRUE(book.cell(2, 0).sharedString);
    EXPECT_EQ(book.cell(2, 4).text, ExpectedRows[0][4]);
    EXPECT_EQ(book.cell(3, 0).text, ExpectedRows[1][0]);
    EXPECT_EQ(book.cell(3, 4).text, QStringLiteral("linia 1\nlinia 2\ttab"));
    EXPECT_EQ(book.cell(4, 0).text, LongText);
    EXPECT_EQ(book.cell(5, 4).text, ExpectedRows[3][4]);

    // numbers are numeric cells with their formats
    const test::XlsxCell one = book.cell(2, 1);
    EXPECT_TRUE(one.isNumber());
    EXPECT_EQ(one.number, 1.0);
    EXPECT_EQ(one.numberFormat, QStringLiteral("0"));
    EXPECT_FALSE(one.styleIsDate);
    EXPECT_TRUE(book.cell(3, 1).isNumber());
    EXPECT_EQ(book.cell(3, 1).number, -5.0);
    const test::XlsxCell real = book.cell(2, 2);
    EXPECT_TRUE(real.isNumber());
    EXPECT_DOUBLE_EQ(real.number, 12.5);
    EXPECT_EQ(real.numberFormat, QStringLiteral("0.00"));
    EXPECT_DOUBLE_EQ(book.cell(3, 2).number, -0.004);
    // an integer Excel would round is kept as text
    EXPECT_TRUE(book.cell(4, 1).isString());
    EXPECT_EQ(book.cell(4, 1).text, QStringLiteral("1234567890123456789"));

    // dates are numeric cells with a date format; before 1900 the day is kept as text
    const test::XlsxCell date = book.cell(2, 3);
    EXPECT_TRUE(date.isNumber());
    EXPECT_TRUE(date.styleIsDate);
    EXPECT_EQ(date.numberFormat, QStringLiteral("dd.mm.yyyy"));
    EXPECT_EQ(date.date(), QDate(1948, 2, 29));
    EXPECT_TRUE(book.cell(3, 3).isString());
    EXPECT_EQ(book.cell(3, 3).text, QStringLiteral("31.12.1899"));

    // nulls are empty cells
    EXPECT_EQ(book.cell(4, 3).type, test::XlsxCell::Type::Empty);
    EXPECT_EQ(book.cell(5, 0).type, test::XlsxCell::Type::Empty);
    EXPECT_EQ(book.cell(5, 1).type, test::XlsxCell::Type::Empty);

    // footer and date line after the rows
    EXPECT_EQ(book.cell(6, 0).text, awkwardTable().footer);
    EXPECT_EQ(book.cell(7, 0).text, QStringLiteral("Creat la 07.03.2024"));
    EXPECT_EQ(book.rowCount(), 8);
    EXPECT_EQ(book.columnCount(), 5);

    // widths from the descriptions: characters + 1, plus the padding Excel stores
    EXPECT_GE(book.columnWidth(0), 31);
    EXPECT_LT(book.columnWidth(0), 32);
    EXPECT_GE(book.columnWidth(3), 11);
    EXPECT_LT(book.columnWidth(3), 12);
}

TEST(XlsxExport, EmptyTitleAndFooterWriteNoLines)
{
    ExportTable table;
    table.exportDate = QDate(2020, 1, 2);
    table.columns = {{QStringLiteral("A"), ExportColumn::Kind::Integer, 0, 5}};
    table.rows = {{std::int64_t(7)}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mic.xlsx"));
    DataExport::write(table, ExportFormat::Xlsx, path);
    const test::XlsxTestReader book(path);
    ASSERT_TRUE(book.ok()) << book.error().toStdString();
    EXPECT_EQ(book.cell(0, 0).text, QStringLiteral("A"));
    EXPECT_EQ(book.cell(1, 0).number, 7.0);
    EXPECT_EQ(book.cell(2, 0).text, QStringLiteral("Creat la 02.01.2020"));
    EXPECT_EQ(book.rowCount(), 3);
}

}
