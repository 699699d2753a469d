// The export as the windows use it: what a table view shows, the format dialog, the file choice,
// the view-only file and the clipboard.

#include "ExportReaders.h"
#include "support/FileBytes.h"
#include "services/ScriptedInteraction.h"

#include "grid/ClientFilterProxy.h"
#include "grid/QueryTableModel.h"
#include "grid/ui/StandardGrid.h"
#include "output/ui/ExportFormatDialog.h"
#include "output/ui/GridExport.h"
#include "output/ExportError.h"

#include <QDir>

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::output;

namespace {

engine::ResultSet people()
{
    engine::ResultSet r;
    r.fields = {{QStringLiteral("NUME"), engine::FieldType::Text, 30, 0},
                {QStringLiteral("ANUL"), engine::FieldType::Integer, 4, 0},
                {QStringLiteral("SUPRAF"), engine::FieldType::Float, 8, 2},
                {QStringLiteral("COD"), engine::FieldType::Integer, 10, 0}};
    r.rows = {{QStringLiteral("POPESCU ION"), std::int64_t(2020), 1.5, std::int64_t(11)},
              {QString::fromUtf8("POPA ȘTEFAN"), std::int64_t(2021), 2.25, std::int64_t(12)},
              {QStringLiteral("RUSU ANA"), std::int64_t(2020), 0.75, std::int64_t(13)}};
    return r;
}

struct Grid {
    Grid()
    {
        model.load(people());
        proxy.setQueryModel(&model);
        view.setModel(&proxy);
    }
    grid::QueryTableModel model;
    grid::ClientFilterProxy proxy;
    grid::StandardGrid view;
};

TEST(GridExport, WhatTheViewShowsInItsColumnOrder)
{
    Grid g;
    g.proxy.setFilterText(QStringLiteral("NUME = 'POP*'"));
    g.view.horizontalHeader()->moveSection(2, 0); // SUPRAF first
    g.view.setColumnHidden(3, true);              // COD hidden by the view
    g.view.setRowHidden(1, true);                 // second filtered row hidden

    EXPECT_EQ(shownColumns(*g.view.horizontalHeader()), (QList<int>{2, 0, 1}));
    const ExportTable table = tableFromView(g.view);
    ASSERT_EQ(table.columns.size(), 3);
    EXPECT_EQ(table.columns[0].heading, QStringLiteral("SUPRAF"));
    EXPECT_EQ(table.columns[1].heading, QStringLiteral("NUME"));
    EXPECT_EQ(table.columns[2].heading, QStringLiteral("ANUL"));
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(std::get<double>(table.rows[0][0]), 1.5);
    EXPECT_EQ(std::get<QString>(table.rows[0][1]), QStringLiteral("POPESCU ION"));
    EXPECT_EQ(std::get<std::int64_t>(table.rows[0][2]), 2020);
}

TEST(GridExport, FileChosenThroughTheSeamGetsTheFormatsExtension)
{
    Grid g;
    QTemporaryDir dir;
    ScriptedInteraction ui;
    ui.pushSaveFile(dir.filePath(QStringLiteral("lista")));
    ExportTable table = tableFromView(g.view);
    table.title = QStringLiteral("Titlu");
    table.footer = QStringLiteral("Subsol");
    const QString written = exportAsChosen(table, {ExportFormat::Tsv, ExportChoice::Destination::File}, ui);
    EXPECT_EQ(written, dir.filePath(QStringLiteral("lista.tsv")));
    ASSERT_EQ(ui.choices().size(), 1u);
    EXPECT_EQ(ui.choices()[0].filter, QStringLiteral("Text separat prin tab (*.tsv)"));
    const test::ReadBack back = test::readDelimited(velmor::test::fileBytes(written), QLatin1Char('\t'));
    ASSERT_TRUE(back.problem.isEmpty()) << back.problem.toStdString();
    EXPECT_EQ(back.rows.size(), 3);
    EXPECT_EQ(back.rows[1], (QStringList{QString::fromUtf8("POPA ȘTEFAN"), QStringLiteral("2021"), QStringLiteral("2.25"), QStringLiteral("12")}));

    // cancelled: nothing written
    EXPECT_TRUE(exportAsChosen(table, {ExportFormat::Csv, ExportChoice::Destination::File}, ui).isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("lista.tsv")});
}

TEST(GridExport, ViewOnlyOpensATemporaryFile)
{
    Grid g;
    ScriptedInteraction ui;
    const QString written = exportAsChosen(tableFromView(g.view), {ExportFormat::Html, ExportChoice::Destination::ViewOnly}, ui);
    ASSERT_EQ(ui.openedFiles(), QStringList{written});
    EXPECT_TRUE(written.endsWith(QStringLiteral(".html")));
    EXPECT_TRUE(test::readHtml(velmor::test::fileBytes(written)).problem.isEmpty());
    QFile::remove(written);

    ui.setOpenFileSucceeds(false);
    EXPECT_THROW(exportAsChosen(tableFromView(g.view), {ExportFormat::Csv, ExportChoice::Destination::ViewOnly}, ui), ExportError);
    QFile::remove(ui.openedFiles().back());
}

TEST(GridExport, ClipboardHoldsTabSeparatedTextAndTheUserIsTold)
{
    Grid g;
    ScriptedInteraction ui;
    ExportDialogChoice choice;
    choice.clipboard = true;
    ASSERT_TRUE(carryOut(tableFromView(g.view), choice, ui));
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("NUME\tANUL\tSUPRAF\tCOD\r\nPOPESCU ION\t2020\t1.50\t11\r\n"))) << text.toStdString();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_TRUE(ui.hasMessage(QStringLiteral("Export"), QStringLiteral("Tabelul a fost copiat in Clipboard!")));
}

TEST(GridExport, FailuresAreShownAsErrors)
{
    Grid g;
    QTemporaryDir dir;
    ScriptedInteraction ui;
    ui.pushSaveFile(dir.filePath(QStringLiteral("nu/exista/lista.xlsx")));
    ExportDialogChoice choice;
    choice.file = {ExportFormat::Xlsx, ExportChoice::Destination::File};
    EXPECT_FALSE(carryOut(tableFromView(g.view), choice, ui));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().title, QStringLiteral("Eroare"));
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("Nu pot scrie ") + QDir::toNativeSeparators(dir.filePath(QStringLiteral("nu/exista/lista.xlsx")))
                                         + QStringLiteral(": directorul nu exista."));
}

TEST(ExportFormatDialog, ChoiceFollowsTheButtons)
{
    {
        ExportFormatDialog dialog(QStringLiteral("Export Grila"));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export Grila"));
        dialog.fileButton()->click();
        ASSERT_TRUE(dialog.choice());
        EXPECT_FALSE(dialog.choice()->clipboard);
        EXPECT_EQ(dialog.choice()->file.format, ExportFormat::Xlsx); // preselected
        EXPECT_EQ(dialog.choice()->file.destination, ExportChoice::Destination::File);
    }
    {
        ExportFormatDialog dialog;
        dialog.selectFormat(ExportFormat::Csv);
        dialog.viewButton()->click();
        ASSERT_TRUE(dialog.choice());
        EXPECT_EQ(dialog.choice()->file.format, ExportFormat::Csv);
        EXPECT_EQ(dialog.choice()->file.destination, ExportChoice::Destination::ViewOnly);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    {
        ExportFormatDialog dialog;
        dialog.selectClipboard();
        EXPECT_FALSE(dialog.viewButton()->isEnabled());
        dialog.fileButton()->click();
        ASSERT_TRUE(dialog.choice());
        EXPECT_TRUE(dialog.choice()->clipboard);
    }
    {
        ExportFormatDialog dialog(QStringLiteral("Export datele"), {ExportFormat::Html, ExportFormat::Rtf}, ExportFormat::Xlsx, false);
        dialog.cancelButton()->click();
        EXPECT_FALSE(dialog.choice());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
}

}
