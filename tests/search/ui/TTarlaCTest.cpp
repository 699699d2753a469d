#include "register/EditorTestWorld.h"
#include "UiTestUtil.h"

#include "search/ui/TTarlaC.h"

#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "grid/ui/StandardGrid.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::EditorWorld;
using velmor::test::failAndCloseModal;
using velmor::test::isActiveModal;
using velmor::test::showAndFocus;
using velmor::test::whenReady;

namespace {

QStringList items(QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

// The plot codes of the result grid, in its order.
QList<qint64> shownPlots(TTarlaC& form)
{
    QList<qint64> codes;
    for (int r = 0; r < form.logic().rowCount(); ++r)
        codes << std::get<std::int64_t>(form.logic().value(r, QStringLiteral("CODT")));
    return codes;
}

int column(const char* field) { return int(search::PlotSearch::gridFields().indexOf(QLatin1String(field))); }

}

TEST(TTarlaC, LooksAsDesignedAndListsThePlots)
{
    EditorWorld w(QStringLiteral("2010"));
    TTarlaC form(w.ctx);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Parcele"));
    QStringList labels;
    for (QLabel* label : form.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"Parcele - Rapoarte, cautare", "Act doveditor", "Numarul", "Categoria", "Incadrare", "Tarlaua",
                             "Nr.parcela", "Cap gospodarie", "Nr.cadastral", "Cine lucreaza", "TIP", "Localitatea",
                             "REZULTATELE CAUTARII", "FISIERE ATASATE"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
    EXPECT_EQ(form.BitBtn1()->text(), QStringLiteral("&Exporta Lista"));
    EXPECT_EQ(form.BitBtn1()->toolTip(), QStringLiteral("Duce tabelul rezultat intr-un program pentru a fi listat."));
    EXPECT_EQ(form.BitBtn2()->text(), QStringLiteral("&Inchide fereastra"));
    EXPECT_EQ(form.BitBtn2()->toolTip(), QStringLiteral("Inchide fereastra."));
    EXPECT_EQ(form.Poze()->toolTip(), QStringLiteral("Dublu click pe poza pentru deschidere."));
    EXPECT_EQ(form.findChild<QStatusBar*>()->currentMessage(), QStringLiteral("ESC - Iesire"));
    EXPECT_EQ(form.Edit1()->maxLength(), 15);
    EXPECT_EQ(form.Edit3()->maxLength(), 15);
    EXPECT_EQ(form.Edit4()->maxLength(), 16);
    EXPECT_EQ(form.Edit2()->maxLength(), 40);
    EXPECT_EQ(form.NrCad()->maxLength(), 10);
    EXPECT_EQ(items(form.ComboBox3()), search::PlotSearch::categories());
    EXPECT_EQ(items(form.ComboBox4()), (QStringList {" * ORICARE *", "INTRAVILAN", "EXTRAVILAN"}));
    EXPECT_EQ(items(form.TipRA()), (QStringList {" * ORICARE *", "1", "2", "3", "4"}));

    // Deeds from the plots (no list file), workers from their list file with the "any" item put first.
    {
        QFile workers(w.home.dataFile(QStringLiteral("CineLuc.txt")));
        ASSERT_TRUE(workers.open(QIODevice::WriteOnly));
        workers.write("POPESCU ION\r\nARENDAS SRL\r\n");
    }
    form.pregateste();
    EXPECT_EQ(items(form.LocalitC()), (QStringList {" * ORICARE *", "DEALU MARE", "SAT NOU", "VALEA LUNGA"}));
    EXPECT_EQ(items(form.ComboBox2()), (QStringList {" * ORICARE *", "CONTRACT VANZARE", "TITLU DE PROPRIETATE"}));
    EXPECT_EQ(items(form.CineLuc()), (QStringList {" * NU CONTEAZA *", "POPESCU ION", "ARENDAS SRL"}));
    EXPECT_EQ(form.SMDBGrid11()->model()->rowCount(), 3);
    EXPECT_EQ(form.SMDBGrid11()->model()->headerData(column("SUPRAF"), Qt::Horizontal).toString(), QStringLiteral("Supraf. (ha)"));
    EXPECT_EQ(form.Total()->text(), QStringLiteral("Total suprafata : 1.6025 ha   "));
    EXPECT_EQ(form.busy(), 0);

    // Typing filters at once, in capitals; the parcel rule.
    QTest::keyClicks(form.Edit4(), QStringLiteral("12a"));
    EXPECT_EQ(form.Edit4()->text(), QStringLiteral("12A"));
    EXPECT_EQ(shownPlots(form), QList<qint64> {502});
    EXPECT_EQ(form.Total()->text(), QStringLiteral("Total suprafata : 1.0025 ha   "));
    form.Edit4()->setText(QStringLiteral("12"));
    EXPECT_EQ(shownPlots(form), (QList<qint64> {502, 501}));
    form.Edit4()->clear();
    form.ComboBox4()->setCurrentIndex(1); // INTRAVILAN
    EXPECT_EQ(shownPlots(form), QList<qint64> {501});
    form.ComboBox4()->setCurrentIndex(0);
    EXPECT_EQ(form.SMDBGrid11()->model()->rowCount(), 3);

    // Enter moves to the next filter.
    ASSERT_TRUE(showAndFocus(form.Edit1()));
    QTest::keyClick(form.Edit1(), Qt::Key_Return);
    EXPECT_TRUE(velmor::test::waitUntil([&] { return form.ComboBox3()->hasFocus(); }));
    EXPECT_TRUE(form.isVisible());
    form.hide();
}

TEST(TTarlaC, SortingPicturesAndExport)
{
    EditorWorld w(QStringLiteral("2010"));
    const QString picture = QDir(w.home.home()).filePath(QStringLiteral("titlu.jpg"));
    {
        QFile f(picture);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("jpeg");
        engine::Query q(*w.engine);
        q.add(QStringLiteral("INSERT INTO ") + engine::quotedPath(w.home.dataFile(QStringLiteral("PozeTarla.dbf")))
              + QStringLiteral(" (ANUL, CODT, FISIER) VALUES (2010, 502, :F)"));
        q.bind(QStringLiteral("F"), picture);
        q.execSQL();
    }
    TTarlaC form(w.ctx);
    form.pregateste();
    ASSERT_EQ(shownPlots(form), (QList<qint64> {503, 502, 501}));

    // The pictures follow the current row.
    form.Poze()->setCurrentIndex(QModelIndex());
    form.openPicture();
    ASSERT_EQ(w.ui.balloons().size(), 1u);
    EXPECT_EQ(w.ui.balloons().back().text, QStringLiteral("Nu aveti nici o poza!"));
    form.SMDBGrid11()->setCurrentIndex(form.SMDBGrid11()->model()->index(2, 0)); // 501
    ASSERT_EQ(form.Poze()->model()->rowCount(), 1);
    form.Poze()->setCurrentIndex(form.Poze()->model()->index(0, 0));
    form.openPicture();
    EXPECT_EQ(w.ui.balloons().back().text, QStringLiteral("Fisierul nu mai exista!"));
    form.SMDBGrid11()->setCurrentIndex(form.SMDBGrid11()->model()->index(1, 0)); // 502
    ASSERT_EQ(form.Poze()->model()->rowCount(), 1);
    form.Poze()->setCurrentIndex(form.Poze()->model()->index(0, 0));
    form.openPicture();
    EXPECT_EQ(w.ui.openedFiles(), QStringList {picture});

    // A title click sorts and keeps the household.
    form.SMDBGrid11()->horizontalHeader()->sectionClicked(column("SUPRAF"));
    EXPECT_EQ(shownPlots(form), (QList<qint64> {503, 501, 502}));
    EXPECT_EQ(form.SMDBGrid11()->currentIndex().row(), 0);
    EXPECT_EQ(std::get<std::int64_t>(form.logic().value(form.logic().current(), QStringLiteral("CODID"))), 101);

    // The export writes the next free list and opens it; the window stays usable.
    form.BitBtn1()->click();
    const QString list = QDir(w.home.home()).filePath(QStringLiteral("Lista0.xls"));
    EXPECT_TRUE(QFile::exists(list));
    EXPECT_EQ(w.ui.openedFiles().back(), list);
    EXPECT_EQ(form.busy(), 0);
    form.Edit2()->setText(QStringLiteral("NIMENI"));
    EXPECT_EQ(form.SMDBGrid11()->model()->rowCount(), 0);
    EXPECT_EQ(form.Total()->text(), QStringLiteral("Total suprafata : 0 ha   "));
    form.BitBtn1()->click(); // nothing to export
    EXPECT_FALSE(QFile::exists(QDir(w.home.home()).filePath(QStringLiteral("Lista1.xls"))));
}

TEST(TTarlaC, OpensModallyAndEscCloses)
{
    EditorWorld w(QStringLiteral("2010"));
    TTarlaC form(w.ctx);
    bool seen = false;
    whenReady([&] { return isActiveModal(&form); },
              [&] {
                  seen = form.SMDBGrid11()->model()->rowCount() == 3;
                  QTest::keyClick(&form, Qt::Key_Escape);
              },
              failAndCloseModal);
    form.Deschide();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.SMDBGrid11()->model()->rowCount(), 0);
}
