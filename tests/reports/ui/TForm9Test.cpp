// The accounting window and the street dialog over the reference register: the grid and its
// format, "&Listeaza" with the village groups and the summary, the work table removed on closing;
// the street list.

#include "UiTestUtil.h"

#include "data/engine/Engine.h"
#include "grid/QueryTableModel.h"
#include "grid/ui/StandardGrid.h"
#include "output/ReportDocument.h"
#include "output/ReportOutput.h"
#include "reports/ui/TForm9.h"
#include "reports/ui/TListLocNr.h"
#include "services/AppContext.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>

#include <gtest/gtest.h>

using namespace velmor;
using reports::TForm9;
using reports::TListLocNr;

namespace {

struct World {
    World()
    {
        home.copyFixture(QStringLiteral("register-dbase4"));
        engine = std::make_unique<engine::Engine>(home.data());
        ctx.programDirectory = home.home();
        ctx.dataDirectory = home.data();
        ctx.engine = engine.get();
        ctx.interaction = &ui;
        CouncilConstants constants;
        constants.NumePrimarie = QStringLiteral("PRIMARIA COMUNEI TÂRGU VECHI");
        ctx.profile.setConstants(constants);
        ctx.year.setYears({QStringLiteral("2009"), QStringLiteral("2010")});
        ctx.year.setText(QStringLiteral("2010"));
    }
    test::TempHome home;
    std::unique_ptr<engine::Engine> engine;
    ScriptedInteraction ui;
    AppContext ctx;
};

QString cell(const QAbstractItemModel* model, int row, int column)
{
    return model->data(model->index(row, column)).toString();
}

}

TEST(TForm9, GridReportAndWorkTable)
{
    World w;
    TForm9 form(w.ctx, nullptr);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Raport catre contabilitate"));
    ASSERT_TRUE(form.prepare());
    ASSERT_TRUE(test::showAndFocus(&form));
    const QString table = QDir(w.home.home()).filePath(QStringLiteral("RCF.dbf"));
    EXPECT_TRUE(QFileInfo::exists(table));

    const QAbstractItemModel* model = form.grid()->model();
    ASSERT_EQ(model->rowCount(), 3);
    ASSERT_EQ(model->columnCount(), 19);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Localitatea"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("ROL"));
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Numele si prenumele"));
    EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Arabil Intrav."));
    EXPECT_EQ(model->headerData(18, Qt::Horizontal).toString(), QStringLiteral("Alte ter. Extrav."));
    EXPECT_EQ(cell(model, 1, 2), QStringLiteral("POPESCU ION"));
    EXPECT_EQ(cell(model, 1, 3), QStringLiteral("0.5"));
    EXPECT_EQ(cell(model, 1, 4), QStringLiteral("1.0025"));
    EXPECT_EQ(cell(model, 1, 15), QStringLiteral("0.15"));

    std::optional<output::ReportDocument> shown;
    QString shownTitle;
    form.previewReport = [&](const output::ReportDocument& document, const QString& title) {
        shown.emplace(document);
        shownTitle = title;
    };
    form.listeaza()->click();
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shownTitle, QStringLiteral("RAPORT CU TERENURILE IN PROPRIETATE"));
    EXPECT_EQ(shown->pageCount(), 1);
    EXPECT_EQ(shown->rows().rows.size(), 3u);
    ASSERT_EQ(shown->form().groups.size(), 1);
    EXPECT_EQ(shown->form().groups[0].keyColumn, QStringLiteral("LOCALIT"));
    if (const QString pdftotext = test::externalProgram(QStringLiteral("pdftotext")); !pdftotext.isEmpty()) {
        const QString pdf = w.home.home() + QStringLiteral("/contabilitate.pdf");
        output::writeReportPdf(*shown, pdf, shownTitle);
        QProcess read;
        read.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        ASSERT_TRUE(read.waitForFinished(60000));
        const QString text = QString::fromUtf8(read.readAllStandardOutput());
        for (const char* expected : {"RAPORT CU TERENURILE IN PROPRIETATE", "PRIMARIA COMUNEI TÂRGU VECHI", "LOCALITATEA",
                                     "DEALU MARE", "SAT NOU", "Total:", "gospodarii", "Curti, cl.", "1.0025", "1.6025"}) {
            EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
        }
    }

    form.closeTables();
    EXPECT_FALSE(QFileInfo::exists(table));
}

TEST(TListLocNr, StreetList)
{
    World w;
    TListLocNr dialog(w.ctx, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Lista Locuitori dupa strada"));
    ASSERT_TRUE(dialog.prepare());
    ASSERT_TRUE(test::showAndFocus(&dialog));
    QStringList streets;
    for (int i = 0; i < dialog.Strada()->count(); ++i)
        streets << dialog.Strada()->itemText(i);
    EXPECT_EQ(streets, (QStringList{"MORII", "PRINCIPALA"})); // GARII is a legal unit's
    EXPECT_EQ(dialog.arataLista()->text(), QStringLiteral("&Arata lista"));
    EXPECT_EQ(dialog.findChild<QStatusBar*>()->currentMessage(), QStringLiteral("ESC - Renunt"));
    dialog.renunt()->click();
    EXPECT_TRUE(test::waitUntil([&] { return !dialog.isVisible(); }));
}
