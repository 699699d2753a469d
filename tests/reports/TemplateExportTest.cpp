// The template export and its two reports over the reference register, read back with the
// independent cell reader; the built-in templates; numbered outputs.

#include "XlsTestReader.h"

#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "reports/OutputSlots.h"
#include "reports/TExportXLSModel.h"
#include "reports/TemplateDesigns.h"
#include "reports/TemplateExport.h"
#include "reports/WorkbookReportCommand.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"
#include "workbook/Workbook.h"
#include "workbook/WorkbookError.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace velmor;
using engine::quotedPath;

namespace {

QString fixture(const QString& name) { return test::fixturePath(QStringLiteral("workbooks/") + name); }

class Reports : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.copyFixture(QStringLiteral("register-dbase4"));
        engine = std::make_unique<engine::Engine>(home.data());
        engine->addTableRoot(home.home());
    }

    reports::TemplateExport report()
    {
        return reports::TemplateExport({engine.get(), home.data(), home.home(), &ui});
    }

    int exec(const QString& statement)
    {
        engine::Query q(*engine);
        q.add(statement);
        return q.execSQL();
    }
    QString table(const QString& name) const { return quotedPath(home.dataFile(name)); }

    // Rows of the filled table: from row 5 down, the cells of each row up to the first empty
    // column A.
    static QList<QStringList> tableRows(const test::XlsContent& c, int columns)
    {
        QList<QStringList> rows;
        for (int r = 5; c.cells.contains(test::address(r, 1)) && c.cells.value(test::address(r, 1)).startsWith(QLatin1String("n:")); ++r) {
            QStringList row;
            for (int col = 1; col <= columns; ++col)
                row << c.cells.value(test::address(r, col));
            rows << row;
        }
        return rows;
    }

    test::TempHome home;
    ScriptedInteraction ui;
    std::unique_ptr<engine::Engine> engine;
};

}

// The committed template files are what their designs write.
TEST(BuiltInTemplates, ResourcesMatchTheirDesigns)
{
    const QList<QPair<QString, workbook::WorkbookDesign>> templates {
        {QStringLiteral(":/RAP/MODEL"), reports::rapDesign()}, {QStringLiteral(":/MACHETA/MODEL"), reports::machetaDesign()}};
    for (const auto& [resource, design] : templates) {
        QFile file(resource);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << resource.toStdString();
        EXPECT_EQ(file.readAll(), workbook::writeNewWorkbook(design)) << resource.toStdString();
    }
}

// APIA over the register: heads of household with one of the four species, by name; a head
// with 2 bovine and nothing else shows 2, 0, 0, 0; one with no animal is not listed; a NULL
// count is the number 0.
TEST_F(Reports, ApiaListsHeadsWithLivestock)
{
    const QString cap7 = table(QStringLiteral("CAP7.dbf"));
    exec(QStringLiteral("DELETE FROM ") + cap7 + QStringLiteral(" WHERE ANUL=2010 AND RAND IN (1, 11, 15, 21)"));
    exec(QStringLiteral("INSERT INTO ") + cap7 + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2010, 101, 1, 2)"));
    exec(QStringLiteral("INSERT INTO ") + cap7 + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2010, 102, 11, 7)"));
    exec(QStringLiteral("INSERT INTO ") + cap7 + QStringLiteral(" (ANUL, CODID, RAND) VALUES (2010, 102, 1)"));
    exec(QStringLiteral("INSERT INTO ") + cap7 + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2010, 104, 21, 1)"));
    exec(QStringLiteral("INSERT INTO ") + cap7 + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2010, 104, 15, 3)"));
    exec(QStringLiteral("INSERT INTO ") + cap7 + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2010, 103, 1, 0)"));

    const auto result = report().raport1Apia(QStringLiteral("2010"));
    EXPECT_TRUE(result.templateOpened);
    EXPECT_EQ(result.rows, 3);
    ASSERT_TRUE(result.output);
    EXPECT_EQ(*result.output, QDir(home.home()).filePath(QStringLiteral("Rap0.xls")));
    EXPECT_EQ(ui.openedFiles(), QStringList {*result.output});
    EXPECT_TRUE(QFile::exists(home.dataFile(QStringLiteral("Rap.xls")))) << "template copy made";
    EXPECT_FALSE(QFile::exists(QDir(home.home()).filePath(QStringLiteral("RapAP.dbf")))) << "work table removed";

    const test::XlsContent c = test::readXls(*result.output);
    ASSERT_TRUE(c.faults.isEmpty()) << c.faults.join(QLatin1Char(';')).toStdString();
    const QList<QStringList> expected {
        {"n:1", "s:MUNTEANU ELENA", c.cells.value("C5"), "", "n:0", "n:0", "n:3", "n:1", ""},
        {"n:2", "s:POPESCU ION", "s:1800101221144", "", "n:2", "n:0", "n:0", "n:0", ""},
        {"n:3", "s:ŢĂRAN GHEORGHE", c.cells.value("C7"), "", "n:0", "n:7", "n:0", "n:0", ""},
    };
    EXPECT_EQ(tableRows(c, 9), expected);
    EXPECT_FALSE(c.cells.contains(QStringLiteral("A8"))) << "template row deleted";
    EXPECT_FALSE(c.cells.contains(QStringLiteral("J7")));
    EXPECT_EQ(c.merges, QStringList {"E3:H3"});
    EXPECT_EQ(c.cells.value(QStringLiteral("E4")), QStringLiteral("s:bovine"));
}

// Strainasi with both template kinds of the fixtures, zero, one and many records: the static
// rows and the merged note below the template row move by the records less one; the county is
// bound (quotes and Romanian letters arrive as typed).
TEST_F(Reports, StrainasiMovesStaticRowsByRecordsLessOne)
{
    const QString ident = table(QStringLiteral("Identificare.dbf"));
    const QString cap1 = table(QStringLiteral("Cap1.dbf"));
    exec(QStringLiteral("UPDATE ") + cap1 + QStringLiteral(" SET NUMEP='ŞERBĂNESCU ŢICU' WHERE CODID=105 AND COD=1"));
    const QString county = QStringLiteral("ALBA \"DE JOS\" ŞI ŢARA");

    struct Case {
        QString templateFile;
        QString year;
        QString alsoType2; // further households moved to type 2
        int rows;
    };
    const QList<Case> cases {
        {fixture("macheta-xlwt.xls"), "2010", {}, 1},
        {fixture("macheta-libreoffice.xls"), "2010", {}, 1},
        {fixture("macheta-libreoffice.xls"), "1999", {}, 0},
        {fixture("macheta-xlwt.xls"), "1999", {}, 0},
        {fixture("macheta-xlwt.xls"), "2010", "101, 102, 104", 4},
        {fixture("macheta-libreoffice.xls"), "2010", "101, 102, 104", 4},
        {{}, "2010", "101, 102, 104", 4},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE((k.templateFile + " " + k.year + " " + QString::number(k.rows)).toStdString());
        if (!k.alsoType2.isEmpty())
            exec(QStringLiteral("UPDATE ") + ident + QStringLiteral(" SET TIPRA=2 WHERE CODID IN (") + k.alsoType2 + QLatin1Char(')'));
        auto r = report();
        if (!k.templateFile.isEmpty())
            r.setTemplateFile(k.templateFile);
        const QString out = QDir(home.home()).filePath(QStringLiteral("out.xls"));
        r.setOutputFile(out);
        const auto result = r.raportStrainasi(k.year, county);
        EXPECT_EQ(result.rows, k.rows);
        const test::XlsContent c = test::readXls(out);
        ASSERT_TRUE(c.faults.isEmpty()) << c.faults.join(QLatin1Char(';')).toStdString();
        const int by = k.rows - 1;
        EXPECT_EQ(c.cells.value(test::address(9 + by, 1)), QStringLiteral("s:*) Localitatea = municipiu, oraş, comună"));
        EXPECT_TRUE(c.cells.value(test::address(11 + by, 1)).startsWith(QStringLiteral("s:Notă: Toate informaţiile")));
        EXPECT_TRUE(c.merges.contains(QStringLiteral("A%1:O%1").arg(11 + by)));
        EXPECT_TRUE(c.merges.contains(QStringLiteral("H3:O3")));
        EXPECT_FALSE(c.cells.contains(test::address(5 + k.rows, 16))) << "#DBF removed";
        const QList<QStringList> rows = tableRows(c, 12);
        ASSERT_EQ(rows.size(), k.rows);
        for (int i = 0; i < k.rows; ++i) {
            EXPECT_EQ(rows[i][0], QStringLiteral("n:%1").arg(i + 1));
            EXPECT_EQ(rows[i][2], QStringLiteral("s:") + county);
        }
        if (k.rows == 1) {
            EXPECT_EQ(rows[0][6], QStringLiteral("s:ŞERBĂNESCU ŢICU"));
            EXPECT_EQ(rows[0][4], QStringLiteral("s:DEALU MARE"));
        }
        if (!k.alsoType2.isEmpty())
            exec(QStringLiteral("UPDATE ") + ident + QStringLiteral(" SET TIPRA=1 WHERE CODID IN (") + k.alsoType2 + QLatin1Char(')'));
    }
}

// An edited template copy in the data directory is used (never overwritten); placeholders in
// lower case are filled.
TEST_F(Reports, EditedCopyWithLowerCasePlaceholders)
{
    {
        workbook::Workbook book(fixture(QStringLiteral("macheta-libreoffice.xls")));
        book.setText(5, 7, QStringLiteral("  #numep "));
        book.setText(5, 1, QStringLiteral("%nrCrt"));
        book.setText(5, 16, QStringLiteral(" #dbf"));
        book.setText(1, 1, QStringLiteral("Editat de functionar"));
        book.saveAs(home.dataFile(QStringLiteral("Macheta.xls")));
    }
    const auto result = report().raportStrainasi(QStringLiteral("2010"), QStringLiteral("ALBA"));
    ASSERT_TRUE(result.output);
    const test::XlsContent c = test::readXls(*result.output);
    EXPECT_EQ(c.cells.value(QStringLiteral("A1")), QStringLiteral("s:Editat de functionar"));
    EXPECT_EQ(c.cells.value(QStringLiteral("A5")), QStringLiteral("n:1"));
    EXPECT_EQ(c.cells.value(QStringLiteral("G5")), QStringLiteral("s:RUSU PETRU"));
    EXPECT_FALSE(c.cells.contains(QStringLiteral("P5")));
}

// Rap0.xls in use (read-only, or open in LibreOffice) sends the report to Rap1.xls and leaves it
// alone; an older Rap0.xls that can be replaced is replaced; all 101 names in use: the user is
// told, nothing is written and no temporary file stays behind.
TEST_F(Reports, NumberedOutputs)
{
    const QString rap0 = QDir(home.home()).filePath(QStringLiteral("Rap0.xls"));
    const QString rap1 = QDir(home.home()).filePath(QStringLiteral("Rap1.xls"));
    auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };

    write(rap0, "older report");
    auto result = report().raportStrainasi(QStringLiteral("2010"), QStringLiteral("ALBA"));
    EXPECT_EQ(result.output, rap0) << "an older, closed output is replaced";
    EXPECT_TRUE(test::readXls(rap0).faults.isEmpty());

    const QString lock = QDir(home.home()).filePath(QStringLiteral(".~lock.Rap0.xls#"));
    write(lock, "locked");
    result = report().raportStrainasi(QStringLiteral("2010"), QStringLiteral("ALBA"));
    EXPECT_EQ(result.output, rap1);
    QFile::remove(lock);

    write(rap0, "open elsewhere");
    QFile::setPermissions(rap0, QFile::ReadOwner | QFile::ReadUser);
    result = report().raportStrainasi(QStringLiteral("2010"), QStringLiteral("ALBA"));
    EXPECT_EQ(result.output, rap1);
    QFile f(rap0);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("open elsewhere"));

    const reports::OutputSlots outputs(home.home(), QStringLiteral("Rap"), QStringLiteral(".xls"));
    for (int n = 0; n < reports::OutputSlots::Count; ++n) {
        write(outputs.path(n), "busy");
        QFile::setPermissions(outputs.path(n), QFile::ReadOwner | QFile::ReadUser);
    }
    ui.clear();
    result = report().raportStrainasi(QStringLiteral("2010"), QStringLiteral("ALBA"));
    EXPECT_FALSE(result.output);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.lastMessage().text.contains(QStringLiteral("Rap100.xls")));
    EXPECT_TRUE(ui.openedFiles().isEmpty());
    const QStringList left = QDir(home.home()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left.filter(QStringLiteral(".xls")).size(), reports::OutputSlots::Count) << left.join(' ').toStdString();
}

// No template copy and none can be made: open returns false, the filling fails with the
// engine's error; a damaged template is an error and no output is written.
TEST_F(Reports, MissingOrDamagedTemplate)
{
    reports::TExportXLSModel model(ui, home.home());
    EXPECT_FALSE(model.openTemplate(home.dataFile(QStringLiteral("Nimic.xls"))));
    engine::Query q(*engine);
    q.add(QStringLiteral("SELECT NUMEP FROM ") + table(QStringLiteral("Cap1.dbf")));
    q.open();
    EXPECT_THROW(model.fill(q), workbook::WorkbookError);
    EXPECT_FALSE(model.saveAndShow());

    QFile damaged(home.dataFile(QStringLiteral("Rap.xls")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a workbook at all");
    damaged.close();
    EXPECT_THROW(report().raport1Apia(QStringLiteral("2010")), workbook::WorkbookError);
    EXPECT_FALSE(QFile::exists(QDir(home.home()).filePath(QStringLiteral("Rap0.xls"))));
    EXPECT_FALSE(QFile::exists(QDir(home.home()).filePath(QStringLiteral("RapAP.dbf"))));
}

// The command-line report over both RAP fixture kinds and the built-in template.
TEST_F(Reports, CommandLineReport)
{
    for (const QString& templateFile : {fixture("rap-xlwt.xls"), fixture("rap-libreoffice.xls"), QString()}) {
        reports::WorkbookReportRequest request;
        request.report = QStringLiteral("apia");
        request.dataDirectory = home.data();
        request.year = QStringLiteral("2010");
        request.templateFile = templateFile;
        request.outputFile = QDir(home.home()).filePath(QStringLiteral("apia.xls"));
        const int rows = reports::runWorkbookReport(request, ui);
        EXPECT_GE(rows, 1);
        const test::XlsContent c = test::readXls(request.outputFile);
        EXPECT_TRUE(c.faults.isEmpty());
        EXPECT_EQ(tableRows(c, 1).size(), rows);
        EXPECT_EQ(c.cells.value(QStringLiteral("A5")), QStringLiteral("n:1"));
        EXPECT_TRUE(ui.openedFiles().isEmpty()) << "the command line opens nothing";
        if (!templateFile.isEmpty())
            EXPECT_EQ(c.cells.value(test::address(7 + rows, 2)), QStringLiteral("s:Intocmit,")) << "B8 moved by rows less one";
    }
    reports::WorkbookReportRequest strainasi {QStringLiteral("strainasi"), home.data(), {}, QStringLiteral("2010"), {},
                                              QDir(home.home()).filePath(QStringLiteral("s.xls"))};
    EXPECT_EQ(reports::runWorkbookReport(strainasi, ui), 1);
    EXPECT_EQ(test::readXls(strainasi.outputFile).cells.value(QStringLiteral("C5")), QStringLiteral("s:ALBA"));
    strainasi.report = QStringLiteral("altceva");
    EXPECT_THROW(reports::runWorkbookReport(strainasi, ui), Error);
    strainasi.report = QStringLiteral("apia");
    strainasi.year = QStringLiteral("doi mii");
    EXPECT_THROW(reports::runWorkbookReport(strainasi, ui), Error);
}

// When LibreOffice is installed, it converts a filled workbook to CSV with the expected rows.
TEST_F(Reports, LibreOfficeReadsTheOutput)
{
    VELMOR_REQUIRE_PROGRAM(office, "soffice");
    const auto result = report().raportStrainasi(QStringLiteral("2010"), QStringLiteral("ALBA"));
    ASSERT_TRUE(result.output);
    QProcess p;
    p.start(office, {QStringLiteral("--headless"), QStringLiteral("-env:UserInstallation=file://") + home.home() + QStringLiteral("/lo"),
                     QStringLiteral("--convert-to"), QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"),
                     QStringLiteral("--outdir"), home.home(), *result.output});
    ASSERT_TRUE(p.waitForFinished(120000));
    QFile csv(QDir(home.home()).filePath(QStringLiteral("Rap0.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 5);
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("1,,ALBA,"))) << lines[4].toStdString();
    EXPECT_TRUE(lines[4].contains(QStringLiteral("RUSU PETRU")));
}
