// The lists window: its advanced items kept between openings, the refusals as balloons, and where
// "CREAZA LISTA" and "Export in excel" send the list.

#include "search/SearchTestWorld.h"
#include "UiTestUtil.h"

#include "search/ui/TForm37.h"
#include "search/ui/TForm8.h"

#include "grid/QueryTableModel.h"
#include "grid/ui/StandardGrid.h"
#include "output/ReportDocument.h"
#include "output/ui/ExportFormatDialog.h"
#include "ui/TNumericF.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::search;
using velmor::test::SearchWorld;
using velmor::test::whole;
using velmor::test::real;

namespace {

struct ListsWindowWorld : SearchWorld {
    ListsWindowWorld()
        : SearchWorld(QStringLiteral("2010"), false)
    {
        household(1, QStringLiteral("SAT NOU"), 1, 1, 1);
        member(1, QStringLiteral("POP ION"), 1);
        household(2, QStringLiteral("DEALU MARE"), 1, 2, 1);
        member(2, QStringLiteral("ZAHARIA ANA"), 1);
        row(2, 1, 1, {{QStringLiteral("AHA"), whole(2)}, {QStringLiteral("AARI"), real(10)}});
        row(2, 2, 1, {{QStringLiteral("AHA"), whole(0)}, {QStringLiteral("AARI"), real(30)}});
        row(7, 1, 14.1, {{QStringLiteral("NR"), whole(3)}});
    }
};

QStringList itemTexts(QTreeWidget* view, int column)
{
    QStringList texts;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        texts << view->topLevelItem(i)->text(column);
    return texts;
}

QString lastBalloon(const ScriptedInteraction& ui)
{
    return ui.balloons().empty() ? QString() : ui.balloons().back().text + QStringLiteral(" @") + ui.balloons().back().anchor;
}

}

TEST(TForm8, KeepsItsAdvancedItemsBetweenOpeningsAndAnulareKeepsTheFixedColumns)
{
    ListsWindowWorld w;
    TForm8 form(w.ctx, nullptr);
    form.prepare();
    EXPECT_EQ(form.ComboBox1()->count(), 4);
    EXPECT_EQ(form.VolCombo()->count(), 3); // "Indiferent", 1, 2
    EXPECT_EQ(itemTexts(form.ListView1(), 2), (QStringList{"LOCALITATEA", "Cap gospodarie", "CNP"}));
    EXPECT_EQ(form.ComboBox4()->currentText(), QStringLiteral("COD SEX (1 = M, 2 = F)"));

    form.ComboBox3()->setCurrentIndex(1); // chapter 2
    EXPECT_EQ(form.ComboBox4()->count(), 1);
    form.BitBtn4Click();
    form.ValMin()->setText(QStringLiteral("1"));
    form.BitBtn6Click();
    form.BitBtn4Click();
    EXPECT_EQ(lastBalloon(w.ui), QStringLiteral("Coloana Teren arabil este deja adaugata! @BitBtn4"));
    form.BitBtn6Click();
    EXPECT_EQ(lastBalloon(w.ui), QStringLiteral("Randul Teren arabil mai este deja adaugat! @BitBtn6"));
    form.ComboBox3()->setCurrentIndex(5); // chapter 7: the year offers 14.1 only
    ASSERT_EQ(form.ComboBox4()->count(), 1);
    form.BitBtn4Click();
    EXPECT_EQ(itemTexts(form.ListView1(), 1), (QStringList{"0", "0", "0", "1", "14.1"}));
    EXPECT_EQ(itemTexts(form.ListView2(), 3), (QStringList{"1"}));

    // A new opening resets the selectors and the bounds, not the advanced items.
    form.prepare();
    EXPECT_EQ(form.ComboBox3()->currentIndex(), 0);
    EXPECT_TRUE(form.ValMin()->text().isEmpty());
    EXPECT_EQ(form.ListView1()->topLevelItemCount(), 5);
    EXPECT_EQ(form.ListView2()->topLevelItemCount(), 1);

    form.BitBtn5Click();
    EXPECT_EQ(lastBalloon(w.ui), QStringLiteral("Alegeti din tabel o linie! @BitBtn5"));
    form.ListView1()->setCurrentItem(form.ListView1()->topLevelItem(1));
    form.BitBtn5Click();
    EXPECT_EQ(lastBalloon(w.ui), QStringLiteral("Primele 3 coloane sunt obligatorii! @BitBtn5"));
    form.ListView1()->setCurrentItem(form.ListView1()->topLevelItem(4));
    form.BitBtn5Click();
    EXPECT_EQ(form.ListView1()->topLevelItemCount(), 4);

    form.BitBtn3Click();
    EXPECT_EQ(itemTexts(form.ListView1(), 2), (QStringList{"LOCALITATEA", "Cap gospodarie", "CNP"}));
    EXPECT_EQ(form.ListView2()->topLevelItemCount(), 0);
    form.BitBtn7Click();
    EXPECT_EQ(lastBalloon(w.ui), QStringLiteral("Nu mai aveti ce sterge! @BitBtn7"));
    form.BitBtn6Click();
    EXPECT_EQ(lastBalloon(w.ui), QStringLiteral("Nu ati pus nici o conditie! @ValMin"));
}

TEST(TForm8, CreazaListaRunsTheSelectionListOrTheAdvancedList)
{
    ListsWindowWorld w;
    TForm8 form(w.ctx, nullptr);
    QStringList previews;
    std::vector<SelectionResult> exported;
    std::vector<engine::ResultSet> advanced;
    form.previewReport = [&](const output::ReportDocument& document, const QString& title) {
        previews << title + QLatin1Char(' ') + QString::number(document.pageCount());
    };
    form.exportSelection = [&](const SelectionResult& result) { exported.push_back(result); };
    form.showAdvanced = [&](const engine::ResultSet& rows) { advanced.push_back(rows); };
    form.prepare();

    // A chapter without rows in the year has nothing to list.
    form.ComboBox3()->setCurrentIndex(4); // chapter 5
    EXPECT_EQ(form.ComboBox4()->count(), 0);
    form.BitBtn1Click(false);
    EXPECT_EQ(lastBalloon(w.ui), QStringLiteral("Nu exista nici un rand definit! @ComboBox4"));

    form.ComboBox3()->setCurrentIndex(1);
    form.ValMin()->setText(QStringLiteral("1"));
    form.BitBtn1Click(false);
    EXPECT_EQ(previews, (QStringList{"RAPORT 1"}));
    form.BitBtn1Click(true);
    ASSERT_EQ(exported.size(), 1u);
    ASSERT_EQ(exported[0].rows.rows.size(), 1u);
    EXPECT_EQ(std::get<QString>(exported[0].rows.rows[0][0]), QStringLiteral("POP ION"));

    // With an advanced item both buttons show the advanced list.
    form.ValMin()->clear();
    form.BitBtn4Click();
    form.BitBtn1Click(true);
    ASSERT_EQ(advanced.size(), 1u);
    ASSERT_EQ(advanced[0].rows.size(), 2u);
    EXPECT_EQ(advanced[0].fields.size(), 7);
    EXPECT_EQ(std::get<QString>(advanced[0].rows[0][1]), QStringLiteral("ZAHARIA ANA"));
    EXPECT_EQ(previews.size(), 1);
    EXPECT_TRUE(w.ui.messages().empty());

    // The advanced list's window shows the rows under the column names.
    form.form37()->load(advanced[0]);
    QAbstractItemModel* model = form.form37()->DBGrid1()->model();
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("C211"));
    EXPECT_EQ(form.form37()->windowTitle(), QStringLiteral("Cautare avansata"));
}

TEST(TForm8, BothExportsWriteTheListsRows)
{
    ListsWindowWorld w;
    TForm8 form(w.ctx, nullptr);
    std::vector<engine::ResultSet> advanced;
    form.showAdvanced = [&](const engine::ResultSet& rows) { advanced.push_back(rows); };
    form.prepare();
    form.ComboBox3()->setCurrentIndex(1);

    const auto exportThrough = [&](const QString& file, const std::function<void()>& press) {
        w.ui.pushSaveFile(file);
        QString title;
        test::whenReady([] { return test::activeModalOf<output::ExportFormatDialog>() != nullptr; },
                        [&] {
                            auto* dialog = test::activeModalOf<output::ExportFormatDialog>();
                            title = dialog->windowTitle();
                            dialog->selectFormat(output::ExportFormat::Csv);
                            dialog->fileButton()->click();
                        },
                        test::failAndCloseModal);
        press();
        QFile written(file);
        EXPECT_TRUE(written.open(QIODevice::ReadOnly)) << file.toStdString();
        return title + QLatin1Char('\n') + QString::fromUtf8(written.readAll());
    };

    // "Export in excel" of the simple list: the format dialog over the list's rows.
    const QString simple = exportThrough(w.home.home() + QStringLiteral("/simplu.csv"), [&] { form.BitBtn1Click(true); });
    EXPECT_TRUE(simple.startsWith(QStringLiteral("Export datele\n"))) << simple.toStdString();
    EXPECT_TRUE(simple.contains(QStringLiteral("POZ"))) << simple.toStdString();
    EXPECT_TRUE(simple.contains(QStringLiteral("POP ION")));
    EXPECT_TRUE(simple.contains(QStringLiteral("ZAHARIA ANA")));

    // "&EXPORTA" of the advanced list: the grid export of what TForm37 shows.
    form.BitBtn4Click();
    form.BitBtn1Click(false);
    ASSERT_EQ(advanced.size(), 1u);
    form.form37()->load(advanced[0]);
    const QString grid = exportThrough(w.home.home() + QStringLiteral("/avansat.csv"), [&] { form.form37()->ExportBut()->click(); });
    EXPECT_TRUE(grid.contains(QStringLiteral("C211"))) << grid.toStdString();
    EXPECT_TRUE(grid.contains(QStringLiteral("2.1"))) << grid.toStdString();
    EXPECT_TRUE(grid.contains(QStringLiteral("ZAHARIA ANA")));
    EXPECT_TRUE(w.ui.messages().empty());
}
