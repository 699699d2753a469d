// The totals window over the reference register: filtering, "Creaza Raport", the page buttons,
// the export button, LISTEAZA on a table page and a chart page; the report preview.

#include "UiTestUtil.h"

#include "data/engine/Engine.h"
#include "grid/ui/StandardGrid.h"
#include "output/ReportDocument.h"
#include "output/ReportOutput.h"
#include "output/ui/ExportFormatDialog.h"
#include "output/ui/ReportPreview.h"
#include "reports/TotalsForms.h"
#include "reports/ui/TForm7.h"
#include "services/AppContext.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QLabel>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace velmor;
using reports::TForm7;
using reports::TotalsTable;

namespace {

struct World {
    World()
    {
        home.copyFixture(QStringLiteral("register-dbase4"));
        engine = std::make_unique<engine::Engine>(home.data());
        engine->addTableRoot(home.home());
        ctx.programDirectory = home.home();
        ctx.dataDirectory = home.data();
        ctx.engine = engine.get();
        ctx.interaction = &ui;
        ctx.profile.setVillages({QStringLiteral("SAT NOU"), QStringLiteral("DEALU MARE"), QStringLiteral("VALEA LUNGA")});
        CouncilConstants constants;
        constants.NumePrimarie = QStringLiteral("PRIMARIA COMUNEI TÂRGU VECHI");
        constants.Comuna = QStringLiteral("TÂRGU VECHI");
        ctx.profile.setConstants(constants);
        ctx.year.setYears({QStringLiteral("2009"), QStringLiteral("2010")});
        ctx.year.setText(QStringLiteral("2010"));
    }
    test::TempHome home;
    std::unique_ptr<engine::Engine> engine;
    ScriptedInteraction ui;
    AppContext ctx;
};

int rows(TForm7& form, int page)
{
    return form.grid(page)->model()->rowCount();
}

}

TEST(TForm7, FilterBuildPagesAndPrint)
{
    World w;
    TForm7 form(w.ctx, nullptr);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("TOTALURI / GRAFICE"));
    form.prepare();
    ASSERT_TRUE(test::showAndFocus(&form));
    EXPECT_FALSE(form.PanelC()->isVisible());
    EXPECT_EQ(form.SatCombo()->itemText(0), QStringLiteral("INDIFERENT"));
    EXPECT_EQ(form.SatCombo()->count(), 4);
    EXPECT_EQ(form.householdCount()->text(), QStringLiteral("TOTAL GOSPODARII AFISATE : 8"));

    // The household grid follows the combos; a choice matching nothing is refused with a balloon.
    form.SatCombo()->setCurrentIndex(1);
    form.TipRACombo()->setCurrentIndex(4);
    EXPECT_EQ(rows(form, 0), 0);
    EXPECT_EQ(form.householdCount()->text(), QStringLiteral("TOTAL GOSPODARII AFISATE : 0"));
    form.RapB1Click();
    ASSERT_EQ(w.ui.balloons().size(), 1u);
    EXPECT_EQ(w.ui.balloons()[0].text, QStringLiteral("Nici o gospodarie nu respecta toate conditiile selectate !"));
    EXPECT_EQ(w.ui.balloons()[0].anchor, QStringLiteral("RapB1"));
    EXPECT_FALSE(QFile::exists(w.home.home() + QStringLiteral("/T2.dbf")));
    EXPECT_EQ(form.activePage(), 0);

    // SAT NOU, type 1: "Creaza Raport" builds and shows the population page.
    form.TipRACombo()->setCurrentIndex(1);
    EXPECT_EQ(rows(form, 0), 4);
    form.RapB1Click();
    EXPECT_EQ(form.activePage(), 1);
    EXPECT_TRUE(form.PanelC()->isVisible());
    EXPECT_TRUE(form.ExpBut()->isVisible());
    EXPECT_TRUE(form.pageButton(1)->isChecked());
    EXPECT_EQ(rows(form, 1), 5); // the deceased member is not listed
    EXPECT_EQ(form.personCount()->text(), QStringLiteral("TOTAL PERSOANE AFISATE: 5"));
    EXPECT_TRUE(QFile::exists(w.home.home() + QStringLiteral("/Rap2.dbf")));

    // "Export in Excel" writes the population grid as it shows, through the grid export.
    const QString exported = w.home.home() + QStringLiteral("/populatie.csv");
    w.ui.pushSaveFile(exported);
    QString exportTitle;
    test::whenReady([] { return test::activeModalOf<output::ExportFormatDialog>() != nullptr; },
                    [&] {
                        auto* dialog = test::activeModalOf<output::ExportFormatDialog>();
                        exportTitle = dialog->windowTitle();
                        dialog->selectFormat(output::ExportFormat::Csv);
                        dialog->fileButton()->click();
                    },
                    test::failAndCloseModal);
    form.ExpBut()->click();
    EXPECT_EQ(exportTitle, QStringLiteral("Export Grila"));
    QFile exportedFile(exported);
    ASSERT_TRUE(exportedFile.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(exportedFile.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("Nume si prenume"))) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_GE(lines.size(), rows(form, 1) + 1);
    for (int row = 0; row < rows(form, 1); ++row) {
        const QString name = form.grid(1)->model()->index(row, 1).data().toString();
        EXPECT_TRUE(lines.join(QLatin1Char('\n')).contains(name)) << name.toStdString();
    }

    // Page buttons: exactly the pressed one down, the export only on page 1.
    for (int n = 2; n <= 10; ++n) {
        QTest::mouseClick(form.pageButton(n), Qt::LeftButton);
        EXPECT_EQ(form.activePage(), n);
        EXPECT_FALSE(form.ExpBut()->isVisible()) << n;
        for (int other = 0; other <= 10; ++other)
            EXPECT_EQ(form.pageButton(other)->isChecked(), other == n) << n << " " << other;
        EXPECT_GT(rows(form, n), 0) << n;
    }

    // LISTEAZA on a table page and on a chart page hands the filled form to the preview.
    QStringList titles;
    const QString chartPdf = w.home.home() + QStringLiteral("/grafic.pdf");
    form.previewReport = [&](const output::ReportDocument& document, const QString& title) {
        titles << title;
        EXPECT_GE(document.pageCount(), 1);
        if (title.startsWith(QLatin1String("STRUCTURA")))
            output::writeReportPdf(document, chartPdf, title);
        else
            EXPECT_FALSE(document.rows().rows.empty());
    };
    form.pressPage(9);
    form.ListButClick();
    form.pressPage(2);
    form.showChart(true);
    EXPECT_FALSE(form.grid(2)->isVisible());
    form.ListButClick();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("CAP.10 CONSTRUCTII PE RAZA LOCALITATII"),
                                   QStringLiteral("STRUCTURA TERENURILOR IN PROPRIETATE")}));
    // The chart goes to paper as vector drawing under the form's header labels.
    if (const QString pdftotext = test::externalProgram(QStringLiteral("pdftotext")); !pdftotext.isEmpty()) {
        QProcess read;
        read.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), chartPdf, QStringLiteral("-")});
        ASSERT_TRUE(read.waitForFinished(60000));
        const QString text = QString::fromUtf8(read.readAllStandardOutput());
        EXPECT_TRUE(text.contains(QStringLiteral("CAP 2. TERENURI IN PROPRIETATE."))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("STRUCTURA TERENURILOR IN PROPRIETATE"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("LOCALIT : SAT NOU TIP : 1"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("PRIMARIA COMUNEI TÂRGU VECHI")));
    }
    // "Salveaza imaginea" writes the chart as a PNG.
    const QString png = w.home.home() + QStringLiteral("/grafic");
    w.ui.pushSaveFile(png);
    EXPECT_TRUE(form.saveChartImage());
    EXPECT_FALSE(QImage(png + QStringLiteral(".png")).isNull());
    // LISTEAZA on the table tab of the same page prints the form.
    form.showChart(false);
    form.ListButClick();
    EXPECT_EQ(titles.last(), QStringLiteral("CAP 2. TERENURI IN PROPRIETATE."));

    // "Raport nou" goes back to the filter without deleting anything.
    form.pressPage(0);
    EXPECT_EQ(form.activePage(), 0);
    EXPECT_FALSE(form.PanelC()->isVisible());
    EXPECT_TRUE(QFile::exists(w.home.home() + QStringLiteral("/Rap2.dbf")));

    // An empty population list is not printed.
    form.OriceDN()->setChecked(false);
    form.Data1()->setDate(QDate(2020, 1, 1));
    form.Data2()->setDate(QDate(2021, 1, 1));
    form.RapB1Click();
    EXPECT_EQ(rows(form, 1), 0);
    form.ListButClick();
    ASSERT_EQ(w.ui.balloons().size(), 2u);
    EXPECT_EQ(w.ui.balloons()[1].text, QStringLiteral("Tabelul e gol. Nu aveti ce lista !"));
    EXPECT_EQ(titles.size(), 3);

    // A failure while building: the balloon at "Creaza Raport", then the error report.
    form.OriceDN()->setChecked(true);
    w.engine->forget(w.home.home() + QStringLiteral("/Rap2.dbf"));
    QFile::remove(w.home.home() + QStringLiteral("/Rap2.dbf"));
    QDir(w.home.home()).mkdir(QStringLiteral("Rap2.dbf"));
    const size_t messages = w.ui.messages().size();
    form.RapB1Click();
    ASSERT_EQ(w.ui.balloons().size(), 3u);
    EXPECT_TRUE(w.ui.balloons()[2].text.startsWith(QStringLiteral("Windows-ul are o problema! ")));
    EXPECT_TRUE(w.ui.balloons()[2].text.contains(QStringLiteral("Inchideti programul, restartati calculatorul si mai incercati odata...")));
    EXPECT_EQ(w.ui.messages().size(), messages + 1);
    QDir(w.home.home()).rmdir(QStringLiteral("Rap2.dbf"));

    // Closing removes the tables.
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(QFile::exists(w.home.home() + QStringLiteral("/Rap2.dbf")));
    EXPECT_FALSE(QFile::exists(w.home.home() + QStringLiteral("/T2.dbf")));
}

TEST(ReportPreview, TurnsPagesSavesPdfAndClosesOnEsc)
{
    World w;
    reports::Totals totals(*w.engine, w.home.data(), w.home.home(), 2010);
    totals.build({});
    engine::ResultSet people = totals.page(TotalsTable::Population);
    // Enough rows for several pages.
    const auto first = people.rows;
    for (int copy = 0; copy < 20; ++copy)
        people.rows.insert(people.rows.end(), first.begin(), first.end());
    reports::TotalsFormTexts texts;
    texts.year = 2010;
    const output::ReportDocument document = reports::totalsDocument(TotalsTable::Population, people, texts);
    ASSERT_GE(document.pageCount(), 3);

    output::ReportPreview preview(document, w.ui, QStringLiteral("EVIDENTA POPULATIEI"));
    ASSERT_TRUE(test::showAndFocus(&preview));
    auto* label = preview.findChild<QLabel*>(QStringLiteral("PaginaLabel"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Pagina 1 din %1").arg(document.pageCount()));
    QTest::mouseClick(preview.findChild<QToolButton*>(QStringLiteral("PaginaUrmatoare")), Qt::LeftButton);
    EXPECT_EQ(label->text(), QStringLiteral("Pagina 2 din %1").arg(document.pageCount()));
    QTest::mouseClick(preview.findChild<QToolButton*>(QStringLiteral("UltimaPagina")), Qt::LeftButton);
    EXPECT_EQ(preview.currentPage(), document.pageCount() - 1);
    EXPECT_FALSE(preview.findChild<QToolButton*>(QStringLiteral("PaginaUrmatoare"))->isEnabled());
    QTest::mouseClick(preview.findChild<QToolButton*>(QStringLiteral("PrimaPagina")), Qt::LeftButton);
    EXPECT_EQ(preview.currentPage(), 0);
    const double zoom = preview.zoom();
    QTest::mouseClick(preview.findChild<QToolButton*>(QStringLiteral("Marire")), Qt::LeftButton);
    EXPECT_GT(preview.zoom(), zoom);
    QTest::mouseClick(preview.findChild<QToolButton*>(QStringLiteral("Micsorare")), Qt::LeftButton);
    QTest::mouseClick(preview.findChild<QToolButton*>(QStringLiteral("Micsorare")), Qt::LeftButton);
    EXPECT_LT(preview.zoom(), zoom);

    const QString pdf = w.home.home() + QStringLiteral("/populatie");
    w.ui.pushSaveFile(pdf);
    QTest::mouseClick(preview.findChild<QToolButton*>(QStringLiteral("SalveazaPdf")), Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(pdf + QStringLiteral(".pdf")));
    // A cancelled choice writes nothing.
    w.ui.pushSaveFile(QString());
    EXPECT_FALSE(preview.savePdf());

    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_TRUE(test::waitUntil([&] { return !preview.isVisible(); }));
    totals.removeTables();
}
