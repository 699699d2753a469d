// Report forms rendered to PDF and read back with pdftotext: headers on every page, group and report
// totals, running numbers, wrapped text never cut nor split, Romanian letters, failures leave no file.

#include "support/TestDirs.h"

#include "core/StagedFile.h"
#include "output/ReportDocument.h"
#include "output/ReportError.h"
#include "output/ReportForm.h"
#include "output/ReportOutput.h"
#include "output/ReportPrint.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::output;

namespace {

using Kind = ReportElement::Kind;

class ReportFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!QGuiApplication::instance()) {
            static int argc = 1;
            static char name[] = "ReportFormTest";
            static char* argv[] = {name, nullptr};
            new QGuiApplication(argc, argv);
        }
    }
};

QString pdfText(const QString& pdftotext, const QString& pdf)
{
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                              QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct Person {
    QString village;
    QString name;
    int cents;
    QDate born;
    QString remarks;
};

QString longRemarks(int index)
{
    QStringList words{QStringLiteral("INCEPUT%1").arg(index)};
    for (int k = 0; k < 45; ++k)
        words << QStringLiteral("ştiinţă%1îndârjită").arg(k);
    words << QStringLiteral("SFARSIT%1").arg(index);
    return words.join(QLatin1Char(' '));
}

QList<Person> people()
{
    QList<Person> list;
    const QList<QPair<QString, int>> villages{{QStringLiteral("SAT NOU"), 37},
                                              {QStringLiteral("ŢIGĂNEŞTI"), 45},
                                              {QStringLiteral("VALEA ÎNALTĂ"), 30}};
    int index = 0;
    for (const auto& [village, count] : villages) {
        for (int k = 0; k < count; ++k, ++index) {
            Person p{village, QStringLiteral("PERSOANA %1").arg(index + 1, 3, 10, QLatin1Char('0')),
                     25 * (index % 9) + index, QDate(1950, 1, 1).addDays(index * 97),
                     index % 9 == 4 ? longRemarks(index + 1) : QStringLiteral("scurt")};
            list.append(p);
        }
    }
    return list;
}

engine::ResultSet resultOf(const QList<Person>& list)
{
    engine::ResultSet rows;
    for (const char* name : {"LOCALIT", "NUMEP", "SUPRAF", "DATAN", "MENTIUNI"})
        rows.fields.append(engine::ResultField{QString::fromLatin1(name)});
    for (const Person& p : list)
        rows.rows.push_back({p.village, p.name, p.cents / 100.0, p.born, p.remarks});
    return rows;
}

QString centsText(int cents)
{
    return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

ReportForm peopleForm()
{
    ReportForm form;
    form.title.add(reportLabel(QStringLiteral("TITLU"), QStringLiteral("?"), QRectF(0, 0, 180, 8), Qt::AlignHCenter, 12, true));
    form.title.add(reportElement(Kind::Picture, QStringLiteral("STEMA"), QRectF(0, 8, 20, 20)));
    form.pageHeader.add(reportLabel(QStringLiteral("CONSILIU"), QString(), QRectF(0, 0, 120, 5)));
    const QList<QPair<QString, double>> heads{{QStringLiteral("Nr.crt."), 14}, {QStringLiteral("NUMELE ŞI PRENUMELE"), 40},
                                              {QStringLiteral("SUPRAFAŢA"), 22}, {QStringLiteral("NĂSCUT LA"), 24},
                                              {QStringLiteral("MENŢIUNI"), 80}};
    double x = 0;
    for (const auto& [text, width] : heads) {
        ReportElement head = reportText(text, QRectF(x, 0, width, 6), Qt::AlignCenter, 8, true);
        head.frame = true;
        form.columnHeader.add(head);
        x += width;
    }
    ReportGroup byVillage;
    byVillage.keyColumn = QStringLiteral("LOCALIT");
    byVillage.header.add(reportText(QStringLiteral("Localitatea:"), QRectF(0, 1, 30, 5), Qt::AlignLeft, 9, true));
    byVillage.header.add(reportField(QStringLiteral("LOCALIT"), QRectF(30, 1, 100, 5)));
    byVillage.footer.add(reportText(QStringLiteral("Total"), QRectF(0, 0, 14, 5)));
    byVillage.footer.add(reportField(QStringLiteral("LOCALIT"), QRectF(14, 0, 40, 5)));
    byVillage.footer.add(reportElement(Kind::Count, QString(), QRectF(54, 0, 10, 5)));
    byVillage.footer.add(reportElement(Kind::Sum, QStringLiteral("SUPRAF"), QRectF(64, 0, 22, 5), ValueFormat::Decimal2));
    byVillage.footer.add(reportElement(Kind::Line, QString(), QRectF(0, 5.5, 180, 0)));
    form.groups.append(byVillage);

    const QList<ReportElement> cells{
        reportElement(Kind::RowNumber, QString(), QRectF(0, 0, 14, 5)),
        reportField(QStringLiteral("NUMEP"), QRectF(14, 0, 40, 5)),
        reportField(QStringLiteral("SUPRAF"), QRectF(54, 0, 22, 5), ValueFormat::Decimal2, Qt::AlignRight),
        reportField(QStringLiteral("DATAN"), QRectF(76, 0, 24, 5), ValueFormat::Date, Qt::AlignHCenter),
        reportField(QStringLiteral("MENTIUNI"), QRectF(100, 0, 80, 5)),
    };
    for (ReportElement cell : cells) {
        cell.frame = true;
        form.detail.add(cell);
    }
    form.summary.add(reportText(QStringLiteral("TOTAL GENERAL"), QRectF(0, 2, 40, 5), Qt::AlignLeft, 9, true));
    form.summary.add(reportElement(Kind::Count, QString(), QRectF(40, 2, 14, 5)));
    form.summary.add(reportElement(Kind::Sum, QStringLiteral("SUPRAF"), QRectF(54, 2, 22, 5), ValueFormat::Decimal2));
    ReportElement signature = reportElement(Kind::Signature, QString(), QRectF(120, 8, 50, 10));
    signature.text = QStringLiteral("Primar, semnătura");
    form.summary.add(signature);
    ReportElement pageNumber = reportElement(Kind::PageNumber, QString(), QRectF(60, 0, 60, 5), ValueFormat::Text, Qt::AlignHCenter);
    pageNumber.text = QStringLiteral("Pagina %1 din %2");
    form.pageFooter.add(pageNumber);
    return form;
}

QString withoutSpaces(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s+")));
}

}

TEST_F(ReportFormTest, ValuesShowInTheirFormats)
{
    struct Case {
        dbf::Value value;
        ValueFormat format;
        const char* shown;
    };
    const Case cases[] = {
        {50.25, ValueFormat::Decimal4, "50.25"},
        {14.1000, ValueFormat::Decimal4, "14.1"},
        {1.23456, ValueFormat::Decimal4, "1.2346"},
        {std::int64_t(-50), ValueFormat::Decimal4, "-50"},
        {2.0, ValueFormat::Decimal2, "2.00"},
        {-0.001, ValueFormat::Decimal2, "0.00"},
        {std::int64_t(7), ValueFormat::Decimal2, "7.00"},
        {2.5, ValueFormat::Whole, "3"},
        {-2.5, ValueFormat::Whole, "-3"},
        {QDate(2026, 3, 9), ValueFormat::Date, "09.03.2026"},
        {QStringLiteral("     -"), ValueFormat::Date, "     -"},
        {dbf::Value{}, ValueFormat::Decimal2, ""},
        {QStringLiteral("ŢĂRAN"), ValueFormat::Text, "ŢĂRAN"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatValue(c.value, c.format), QString::fromUtf8(c.shown));
}

TEST_F(ReportFormTest, PdfReadsBackWithHeadersTotalsNumbersAndWholeRows)
{
    VELMOR_REQUIRE_PROGRAM(pdftotext, "pdftotext");
    const QList<Person> list = people();
    const QString title = QStringLiteral("EVIDENŢA POPULAŢIEI în anul 2026 ăâîşţ ĂÂÎŞŢ");
    const ReportDocument document(peopleForm(), resultOf(list),
                                  {{QStringLiteral("TITLU"), title},
                                   {QStringLiteral("CONSILIU"), QStringLiteral("CONSILIUL LOCAL ŞTEFĂNEŞTI")},
                                   {QStringLiteral("STEMA"), QStringLiteral("/nu/exista/stema.png")}});
    ASSERT_GE(document.pageCount(), 4);

    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("populatie.pdf"));
    writeReportPdf(document, target, QStringLiteral("EVIDENTA POPULATIEI"));
    ASSERT_TRUE(QFile::exists(target));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("populatie.pdf")});

    QStringList pages = pdfText(pdftotext, target).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    ASSERT_EQ(pages.size(), document.pageCount());

    // Headers and page numbers on every page; the title on the first only.
    for (int p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(pages[p].count(QStringLiteral("NUMELE ŞI PRENUMELE")), 1) << "page " << p + 1;
        EXPECT_EQ(pages[p].count(QStringLiteral("CONSILIUL LOCAL ŞTEFĂNEŞTI")), 1) << "page " << p + 1;
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Pagina %1 din %2").arg(p + 1).arg(pages.size()))) << "page " << p + 1;
        EXPECT_EQ(pages[p].contains(title), p == 0) << "page " << p + 1;
    }

    // Running numbers in order, each on the row of its person; every row whole on one page.
    const QRegularExpression rowLine(QStringLiteral("^\\s*(\\d+)\\s+PERSOANA (\\d{3})\\s+(\\d+\\.\\d\\d)\\s+(\\d\\d\\.\\d\\d\\.\\d{4})"),
                                     QRegularExpression::MultilineOption);
    int expected = 0;
    for (int p = 0; p < pages.size(); ++p) {
        const QString compact = withoutSpaces(pages[p]);
        for (auto match = rowLine.globalMatch(pages[p]); match.hasNext();) {
            const auto m = match.next();
            ASSERT_LT(expected, list.size());
            const Person& person = list[expected];
            EXPECT_EQ(m.captured(1).toInt(), expected + 1);
            EXPECT_EQ(QStringLiteral("PERSOANA ") + m.captured(2), person.name);
            EXPECT_EQ(m.captured(3), centsText(person.cents));
            EXPECT_EQ(m.captured(4), person.born.toString(QStringLiteral("dd.MM.yyyy")));
            if (person.remarks.size() > 40)
                EXPECT_TRUE(compact.contains(withoutSpaces(person.remarks))) << person.name.toStdString() << " is split or cut";
            ++expected;
        }
    }
    EXPECT_EQ(expected, list.size());

    // Group totals after each village, the general total at the end.
    const QString all = pages.join(QLatin1Char('\n'));
    int grand = 0;
    for (const QString& village : {QStringLiteral("SAT NOU"), QStringLiteral("ŢIGĂNEŞTI"), QStringLiteral("VALEA ÎNALTĂ")}) {
        int cents = 0, count = 0;
        for (const Person& p : list) {
            if (p.village == village) {
                cents += p.cents;
                ++count;
            }
        }
        grand += cents;
        const QRegularExpression footer(QStringLiteral("Total\\s+%1\\s+%2\\s+%3")
                                            .arg(QRegularExpression::escape(village)).arg(count).arg(QRegularExpression::escape(centsText(cents))));
        EXPECT_TRUE(footer.match(all).hasMatch()) << village.toStdString();
        EXPECT_TRUE(all.contains(QStringLiteral("Localitatea: ") + village) || all.contains(QRegularExpression(QStringLiteral("Localitatea:\\s+") + QRegularExpression::escape(village))));
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("TOTAL GENERAL\\s+%1\\s+%2").arg(list.size()).arg(QRegularExpression::escape(centsText(grand))))
                    .match(pages.last()).hasMatch());
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Primar, semnătura")));

    // The layout agrees: each detail row is placed once, inside the page's body.
    QList<int> placed;
    for (int p = 0; p < document.pageCount(); ++p) {
        for (const auto& band : document.page(p).bands) {
            if (&document.bandOf(band) == &document.form().detail) {
                placed.append(band.row);
                EXPECT_LE(band.top + band.height, document.paperSize().height() - document.form().margins.bottom() * ReportDocument::unitsPerMm);
            }
        }
    }
    ASSERT_EQ(placed.size(), list.size());
    for (int i = 0; i < placed.size(); ++i)
        EXPECT_EQ(placed[i], i);
}

TEST_F(ReportFormTest, FailuresLeaveNoFile)
{
    const QList<Person> list = people().mid(0, 5);
    const ReportDocument document(peopleForm(), resultOf(list));
    QTemporaryDir dir;

    const QString missingFolder = dir.filePath(QStringLiteral("lipsa/raport.pdf"));
    EXPECT_THROW(writeReportPdf(document, missingFolder, QStringLiteral("R")), velmor::WriteError);
    EXPECT_FALSE(QFile::exists(missingFolder));

    QDir(dir.path()).mkdir(QStringLiteral("dosar.pdf"));
    EXPECT_THROW(writeReportPdf(document, dir.filePath(QStringLiteral("dosar.pdf")), QStringLiteral("R")), velmor::WriteError);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());

    // A field without its column and a row taller than a page are refused before anything is written.
    ReportForm wrongColumn = peopleForm();
    wrongColumn.detail.add(reportField(QStringLiteral("NUEXISTA"), QRectF(0, 0, 10, 5)));
    EXPECT_THROW(ReportDocument(wrongColumn, resultOf(list)), ReportError);

    QList<Person> huge = list;
    huge[2].remarks = QString(QStringLiteral("cuvant ")).repeated(3000);
    EXPECT_THROW(ReportDocument(peopleForm(), resultOf(huge)), ReportError);
}

TEST_F(ReportFormTest, AnEmptyReportHasOnePageWithItsTotals)
{
    const ReportDocument document(peopleForm(), resultOf({}));
    ASSERT_EQ(document.pageCount(), 1);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("gol.pdf"));
    writeReportPdf(document, target, QStringLiteral("R"));
    EXPECT_TRUE(QFile::exists(target));
}

TEST_F(ReportFormTest, PrinterGetsTheSamePages)
{
    VELMOR_REQUIRE_PROGRAM(pdftotext, "pdftotext");
    const ReportDocument document(peopleForm(), resultOf(people()), {{QStringLiteral("TITLU"), QStringLiteral("TIPĂRIT")}});
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("imprimanta.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printReport(document, printer);
    QStringList pages = pdfText(pdftotext, file).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    ASSERT_EQ(pages.size(), document.pageCount());
    EXPECT_TRUE(pages.first().contains(QStringLiteral("TIPĂRIT")));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Pagina %1 din %1").arg(document.pageCount())));
    EXPECT_TRUE(pages.last().contains(QStringLiteral("PERSOANA 112")));
}
