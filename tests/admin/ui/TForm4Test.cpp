#include "AdminTestWorld.h"
#include "UiTestUtil.h"

#include "admin/AccessControl.h"
#include "admin/ui/TForm4.h"
#include "admin/ui/TForm38.h"
#include "data/engine/SqlText.h"
#include "XlsxTestReader.h"

#include <QApplication>
#include <QGroupBox>
#include "data/Schema.h"
#include "tariffs/ui/TFTarife.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QStatusBar>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::AdminWorld;
using velmor::test::failAndCloseModal;
using velmor::test::whenReady;

namespace {

bool isUp(QWidget* window)
{
    return velmor::test::isActiveModal(window);
}

}

TEST(TForm4, LooksAsDesigned)
{
    AdminWorld w;
    TForm4 form(w.ctx);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Administrare"));
    ASSERT_EQ(form.PageList()->count(), 3);
    EXPECT_EQ(form.PageList()->item(0)->text(), QStringLiteral("GENERAL"));
    EXPECT_EQ(form.PageList()->item(1)->text(), QStringLiteral("DATE DESPRE PRIMARIE"));
    EXPECT_EQ(form.PageList()->item(2)->text(), QStringLiteral("Utilitare"));
    form.PageList()->setCurrentRow(2);
    EXPECT_EQ(form.Pages()->currentIndex(), 2);
    EXPECT_FALSE(form.CheckBox1()->isVisibleTo(&form));
    EXPECT_EQ(form.CheckBox1()->text(), QStringLiteral("PROGRAM DEBLOCAT"));
    EXPECT_EQ(form.SaveAndClose()->text(), QStringLiteral("Sal&veaza si inchide"));
    EXPECT_EQ(form.statusBar()->currentMessage(), QStringLiteral("ESC - Iesire din Administrare"));
    EXPECT_EQ(form.ModelAdeverinta()->text(), QStringLiteral("&Modifica modelul de adeverinta"));
    EXPECT_EQ(form.ModelRAgr2()->text(), QStringLiteral("M&odifica modelul RAgr2"));
    EXPECT_EQ(form.ModeleRecensamant()->text(), QStringLiteral("Mo&difica modele Recensamant 2010"));
    EXPECT_EQ(form.TarifeStabilite()->text(), QStringLiteral("Tarife stabilite"));
    ASSERT_EQ(form.ModelAdeverinta()->menu()->actions().size(), 4);
    EXPECT_EQ(form.ModelAdeverinta()->menu()->actions().at(3)->text(), QStringLiteral("Model 4"));
    EXPECT_EQ(form.ModeleRecensamant()->menu()->actions().at(0)->text(), QStringLiteral("Formularul L1"));
    EXPECT_EQ(form.TipLoc()->count(), 3);
}

TEST(TForm4, StartUpLoadWithoutConstantsKeepsTheDesignedTexts)
{
    AdminWorld w;
    int yearLoads = 0;
    w.ctx.year.setLoader([&yearLoads] {
        ++yearLoads;
        return QStringList {QStringLiteral("2024")};
    });
    std::vector<bool> heard;
    QObject::connect(&w.ctx.unlock, &UnlockState::changed, [&heard](bool on) { heard.push_back(on); });
    TForm4 form(w.ctx);
    form.IncarcaConstante();

    EXPECT_EQ(yearLoads, 1);
    EXPECT_EQ(form.Constante(), Administration::designedConstants());
    EXPECT_EQ(form.TipLoc()->currentText(), QStringLiteral("COMUNA"));
    EXPECT_EQ(form.TipLocalitate(), QStringLiteral("comunei"));
    EXPECT_EQ(form.ListaSate()->count(), 0);
    EXPECT_TRUE(w.ctx.profile.villages().isEmpty());
    EXPECT_EQ(form.CaleSalvari()->text(), QStringLiteral("-"));
    EXPECT_EQ(w.ctx.profile.backupDirectory(), QStringLiteral("-"));
    EXPECT_EQ(form.DataPath()->text(), QDir::toNativeSeparators(w.home.data()));
    EXPECT_FALSE(w.ctx.unlocked());
    EXPECT_FALSE(heard.empty()); // the unlock box was applied
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(TForm4, StartUpLoadReadsVillagesConstantsAndBackupDirectory)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    w.settings->Scrie_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("TIPLOC"), QStringLiteral("ORASUL"));
    w.registry->Scrie_Reg(QStringLiteral("CALESALVARI"), QStringLiteral("/mnt/stick"));
    TForm4 form(w.ctx);
    form.IncarcaConstante();
    EXPECT_EQ(form.Sate(), QStringList({ QStringLiteral("SAT NOU"), QStringLiteral("DEALU MARE"), QStringLiteral("VALEA LUNGA") }));
    EXPECT_EQ(w.ctx.profile.villages(), form.Sate());
    EXPECT_EQ(form.ComunaText(), w.settings->Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("Comuna")));
    EXPECT_EQ(form.JudetText(), QStringLiteral("ALBA"));
    EXPECT_EQ(form.TipLocText(), QStringLiteral("ORASUL"));
    EXPECT_EQ(form.TipLocalitate(), QStringLiteral("orasului"));
    EXPECT_EQ(form.CaleSalvari()->text(), QStringLiteral("/mnt/stick"));
    EXPECT_EQ(w.ctx.profile.backupDirectory(), QStringLiteral("/mnt/stick"));
}

TEST(TForm4, ClosingWritesSevenKeysAndTheVillageList)
{
    AdminWorld w;
    TForm4 form(w.ctx);
    form.IncarcaConstante();
    whenReady([&form] { return isUp(&form); },
              [&form] {
                  form.InSat()->setText(QStringLiteral("  Valea  Mare "));
                  QTest::keyClick(form.InSat(), Qt::Key_Return);
                  form.PrimarI()->setText(QStringLiteral("ION POP"));
                  QTest::keyClick(&form, Qt::Key_Escape);
              },
              failAndCloseModal);
    form.Deschide();
    EXPECT_FALSE(form.isVisible());
    for (const QString& key : CouncilConstants::keys())
        EXPECT_FALSE(w.settings->Citeste_Ini(QStringLiteral("CONSTANTE"), key).isEmpty()) << key.toStdString();
    EXPECT_EQ(w.settings->Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("PRIMAR")), QStringLiteral("ION POP"));
    EXPECT_EQ(w.settings->Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("TIPLOC")), QStringLiteral("COMUNA"));
    EXPECT_EQ(test::fileBytes(w.data(QStringLiteral("Sate.lst"))), QByteArray("Valea Mare\r\n"));
    EXPECT_EQ(w.ctx.profile.villages(), QStringList({ QStringLiteral("Valea Mare") }));

    // A restart shows what was saved.
    TForm4 again(w.ctx);
    again.IncarcaConstante();
    EXPECT_EQ(again.Constante(), form.Constante());
    EXPECT_EQ(again.Sate(), QStringList({ QStringLiteral("Valea Mare") }));
}

TEST(TForm4, ShowingResetsTheLogs)
{
    AdminWorld w;
    TForm4 form(w.ctx);
    form.Memo2()->setPlainText(QStringLiteral("old"));
    QString memo1;
    QString memo2 = QStringLiteral("not read");
    whenReady([&form] { return isUp(&form); },
              [&] {
                  memo1 = form.Memo1()->toPlainText();
                  memo2 = form.Memo2()->toPlainText();
                  form.reject();
              },
              failAndCloseModal);
    form.Deschide();
    EXPECT_EQ(memo1, QStringLiteral("Adaugare date din alt program KT.\n") + QString(35, QLatin1Char('*')));
    EXPECT_TRUE(memo2.isEmpty());
}

TEST(TForm4, UnlockBoxMirrorsTheUnlockedState)
{
    AdminWorld w;
    TForm4 form(w.ctx);
    form.IncarcaConstante();
    EXPECT_FALSE(form.CheckBox1()->isChecked());
    AccessControl(w.ctx).Deblocheaza();
    EXPECT_TRUE(form.CheckBox1()->isChecked());
    EXPECT_TRUE(w.ctx.unlocked());
}

TEST(TForm4, VillageCommandsWorkOnTheListAndTheTables)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    TForm4 form(w.ctx);
    form.IncarcaConstante();

    // Rename the selected village.
    form.ListaSate()->setCurrentRow(1);
    w.ui.pushText(QStringLiteral("dealu nou"));
    form.SpeedButton3Click();
    EXPECT_EQ(form.Sate().at(1), QStringLiteral("DEALU NOU"));
    EXPECT_EQ(w.ctx.profile.villages().at(1), QStringLiteral("DEALU NOU"));

    // Nothing selected: the question is not asked.
    form.ListaSate()->clearSelection();
    form.SpeedButton2Click();
    EXPECT_EQ(w.ui.lastMessage().text, QStringLiteral("Selectati mai intai cu mouse-ul localitatea din tabel !"));

    // Delete the renamed village with its households.
    form.ListaSate()->setCurrentRow(1);
    w.ui.pushYes();
    form.SpeedButton2Click();
    EXPECT_EQ(form.Sate(), QStringList({ QStringLiteral("SAT NOU"), QStringLiteral("VALEA LUNGA") }));
    EXPECT_TRUE(form.ListaSate()->selectedItems().isEmpty());
    EXPECT_EQ(w.ui.lastMessage().text, QStringLiteral("Localitatea DEALU NOU a fost stearsa!"));

    // Edit in the list moves the name into the field.
    form.ListaSate()->setCurrentRow(0);
    form.Modifica1Click();
    EXPECT_EQ(form.InSat()->text(), QStringLiteral("SAT NOU"));
    EXPECT_EQ(form.Sate(), QStringList({ QStringLiteral("VALEA LUNGA") }));
}

TEST(TForm4, EngineErrorOfAVillageCommandIsShown)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    QFile::remove(w.data(QStringLiteral("CAP3.dbf")));
    TForm4 form(w.ctx);
    form.IncarcaConstante();
    form.ListaSate()->setCurrentRow(0);
    w.ui.pushYes();
    form.SpeedButton2Click();
    EXPECT_EQ(w.ui.lastMessage().title, QStringLiteral("Eroare"));
    EXPECT_EQ(w.ui.lastMessage().kind, KindError);
    EXPECT_EQ(form.Sate().size(), 3);
    EXPECT_TRUE(form.SpeedButton2()->isEnabled());
}

TEST(TForm4, PasswordFieldsEnterOrderAndChange)
{
    AdminWorld w;
    TForm4 form(w.ctx);
    form.show();
    ASSERT_TRUE(test::showAndFocus(form.Edit2()));
    QTest::keyClicks(form.Edit2(), QStringLiteral("noua"));
    QTest::keyClick(form.Edit2(), Qt::Key_Return);
    EXPECT_TRUE(form.Edit3()->hasFocus());
    QTest::keyClicks(form.Edit3(), QStringLiteral("noua"));
    QTest::keyClick(form.Edit3(), Qt::Key_Return);
    EXPECT_TRUE(form.SchimbaParola()->hasFocus());
    QTest::keyClick(form.SchimbaParola(), Qt::Key_Space);
    EXPECT_EQ(w.registry->Citeste_Reg(QStringLiteral("Erori")), CodeazaStr(QStringLiteral("noua")));
    EXPECT_TRUE(form.Edit2()->text().isEmpty());
    EXPECT_TRUE(form.Edit3()->text().isEmpty());
    form.hide();
}

TEST(TForm4, UtilitiesPageHoldsTheMergeAndTheChecks)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    w.ctx.year.setYears({QStringLiteral("2009"), QStringLiteral("2010")});
    w.ctx.year.setText(QStringLiteral("2010"));
    TForm4 form(w.ctx);
    form.IncarcaConstante();
    w.ctx.year.setText(QStringLiteral("2010"));
    EXPECT_EQ(form.MergeButton()->text(), QStringLiteral("&Adauga o salvare KT"));
    EXPECT_EQ(form.MergeButton()->toolTip(), QStringLiteral("Adaugare date dintr-un alt program KT."));
    EXPECT_EQ(form.MissingPositionsButton()->text(), QStringLiteral("&Cauta pozitiile lipsa"));
    EXPECT_EQ(form.MissingPositionsButton()->toolTip(), QStringLiteral("Cauta in fiecare volum pozitiile lipsa."));
    EXPECT_EQ(form.CheckDataButton()->text(), QStringLiteral("&Porneste Verificarea"));
    EXPECT_EQ(form.CheckDataButton()->toolTip(), QStringLiteral("Face o verificare a corectitudinii bazei de date."));
    QStringList headings;
    for (const QGroupBox* group : form.Pages()->widget(2)->findChildren<QGroupBox*>())
        headings << group->title();
    EXPECT_EQ(headings, (QStringList {QStringLiteral("Adaugare pozitii dintr-o salvare"), QStringLiteral("Depistare pozitii lipsa"),
                                      QStringLiteral("Verificare date")}));

    // Missing positions of the working year.
    form.MissingPositionsButton()->click();
    EXPECT_TRUE(form.Memo2()->toPlainText().endsWith(QStringLiteral("LIPSESC :\n  SAT NOU TIP 1 > VOL.1 POZ. 3")))
        << form.Memo2()->toPlainText().toStdString();

    // An archive without tables: a balloon at the log, nothing merged.
    w.ui.pushOpenFile(velmor::test::fixturePath(QStringLiteral("archives/empty.kt")));
    form.MergeButton()->click();
    ASSERT_EQ(w.ui.balloons().size(), 1u);
    EXPECT_EQ(w.ui.balloons().back().text, QStringLiteral("Baza incompleta!"));
    EXPECT_EQ(w.ui.balloons().back().anchor, QStringLiteral("Memo1"));

    // The register's own backup, replacing every household of 2010.
    w.ui.pushOpenFile(velmor::test::fixturePath(QStringLiteral("archives/register.kt"))).pushYes().pushYes();
    form.MergeButton()->click();
    EXPECT_EQ(w.ui.choices().back().title, QStringLiteral("Indicati salvarea KT de preluat!"));
    EXPECT_TRUE(form.Memo1()->toPlainText().endsWith(QStringLiteral("Inlocuire.\nOperatie incheiata cu succes!")))
        << form.Memo1()->toPlainText().toStdString();
    const engine::ResultSet ids = w.engine->select(QStringLiteral("SELECT MIN(CODID) AS A, MAX(CODID) AS B FROM ")
                                                   + engine::quotedPath(w.data(QStringLiteral("Identificare.dbf")))
                                                   + QStringLiteral(" WHERE ANUL=2010"));
    EXPECT_EQ(std::get<std::int64_t>(ids.rows[0][0]), 210);
    EXPECT_EQ(std::get<std::int64_t>(ids.rows[0][1]), 217);
    EXPECT_EQ(form.Sate(), (QStringList {QStringLiteral("SAT NOU"), QStringLiteral("DEALU MARE"), QStringLiteral("VALEA LUNGA")}));

    // Cancelling the file choice does nothing.
    const auto asked = w.ui.messages().size();
    form.MergeButton()->click();
    EXPECT_EQ(w.ui.messages().size(), asked);

    // The verification window comes up modally.
    QString title;
    whenReady([] { return qobject_cast<TForm38*>(QApplication::activeModalWidget()) != nullptr; },
              [&] {
                  auto* checks = qobject_cast<TForm38*>(QApplication::activeModalWidget());
                  title = checks->windowTitle();
                  checks->reject();
              },
              failAndCloseModal);
    form.CheckDataButton()->click();
    EXPECT_EQ(title, QStringLiteral("Verificare Baza de Date"));
}

TEST(TForm38, ChecksFillTheGridAndDeleteTheListedHouseholds)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    w.ctx.year.setYears({QStringLiteral("2010")});
    w.ctx.year.setText(QStringLiteral("2010"));
    TForm38 form(w.ctx);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Verificare Baza de Date"));
    EXPECT_EQ(form.Label6()->text(), QStringLiteral("Rezultat"));
    EXPECT_EQ(form.Inchide()->toolTip(), QStringLiteral("Inchide aceasta fereastra."));
    EXPECT_EQ(form.StergeLe()->text(), QStringLiteral("&Sterge-le !"));
    EXPECT_FALSE(form.Panel4()->isVisibleTo(&form));

    form.PozitiiFaraCap()->click();
    EXPECT_EQ(form.Label6()->text(), QStringLiteral("Rezultat : AVETI 2 ANOMALII!"));
    EXPECT_EQ(form.model().rowCount(), 2);
    EXPECT_EQ(form.lastCheck(), 3);
    form.DiferenteParcele()->click();
    EXPECT_EQ(form.Label6()->text(), QStringLiteral("Exista 1 ANOMALII!!"));
    ASSERT_EQ(form.model().rowCount(), 1);
    EXPECT_DOUBLE_EQ(std::get<double>(form.model().value(0, form.model().fieldIndex(QStringLiteral("DIFERA")))), 2.15);

    // Export Excel asks for a file and writes the grid.
    const QString xlsx = w.inHome(QStringLiteral("verificare.xlsx"));
    w.ui.pushSaveFile(xlsx);
    form.ExportExcel()->click();
    const velmor::test::XlsxTestReader book(xlsx);
    ASSERT_TRUE(book.ok()) << book.error().toStdString();
    bool found = false;
    for (int row = 0; row < book.rowCount(); ++row)
        found = found || book.cell(row, 1).text == QLatin1String("SAT NOU");
    EXPECT_TRUE(found);

    form.Corectitudine()->click();
    EXPECT_EQ(form.Label6()->text(), QStringLiteral("Rezultat : toate bune!"));
    EXPECT_FALSE(form.Panel4()->isVisibleTo(&form));
    w.engine->execute(QStringLiteral("UPDATE ") + engine::quotedPath(w.data(QStringLiteral("Identificare.dbf")))
                      + QStringLiteral(" SET POZ=0 WHERE CODID=103"));
    form.Corectitudine()->click();
    EXPECT_EQ(form.Label6()->text(), QStringLiteral("Rezultat : AVETI 1 ANOMALII!"));
    EXPECT_TRUE(form.Panel4()->isVisibleTo(&form));
    // NU keeps them.
    w.ui.pushNo();
    form.StergeLe()->click();
    EXPECT_EQ(form.model().rowCount(), 1);
    w.ui.pushYes();
    form.StergeLe()->click();
    EXPECT_EQ(w.ui.lastMessage().text, QStringLiteral("Stergeti liniile afisate?"));
    EXPECT_EQ(form.Label6()->text(), QStringLiteral("Rezultat : toate bune!"));
    EXPECT_EQ(form.model().rowCount(), 0);
    const engine::ResultSet left = w.engine->select(QStringLiteral("SELECT COUNT(*) AS N FROM ")
                                                    + engine::quotedPath(w.data(QStringLiteral("CAP1.dbf")))
                                                    + QStringLiteral(" WHERE CODID=103"));
    EXPECT_EQ(std::get<std::int64_t>(left.rows[0][0]), 0);
    form.Reset();
    EXPECT_EQ(form.Label6()->text(), QStringLiteral("Rezultat"));
}

TEST(TForm4, TarifeStabiliteOpensTheTariffsWindow)
{
    AdminWorld w;
    TForm4 form(w.ctx);
    TFTarife tarife(w.ctx);
    form.setTarife(&tarife);
    bool opened = false;
    whenReady([&form] { return isUp(&form); }, [&form] { form.TarifeStabilite()->click(); }, failAndCloseModal);
    whenReady([&tarife] { return isUp(&tarife); },
              [&] {
                  opened = true;
                  EXPECT_FALSE(form.TarifeStabilite()->isEnabled());
                  tarife.reject();
                  QTimer::singleShot(0, &form, [&form] { form.reject(); });
              },
              failAndCloseModal);
    form.Deschide();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(form.TarifeStabilite()->isEnabled());
}

TEST(TForm4, NetworkPathChangeClosesTheWindowAndEndsTheProgram)
{
    AdminWorld w;
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Retea"));
    QDir().mkpath(folder);
    for (const QString& table : data::Schema::tableFileNames())
        QFile::copy(test::fixturePath(QStringLiteral("register-dbase4/") + table), folder + QLatin1Char('/') + table);
    w.ui.pushFolder(folder);
    TForm4 form(w.ctx);
    form.IncarcaConstante();
    QSignalSpy ended(&form, &TForm4::programEndRequested);
    whenReady([&form] { return isUp(&form); }, [&form] { form.SetCaleNet()->click(); }, failAndCloseModal);
    EXPECT_THROW(form.Deschide(), data::ProgramTermination);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(w.registry->Citeste_Reg(QStringLiteral("CaleDate")), QDir::toNativeSeparators(folder));
    // Closing saved the constants as any close does.
    EXPECT_EQ(w.settings->Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("TIPLOC")), QStringLiteral("COMUNA"));
}

TEST(TForm4, BackupPathButtonsUpdateTheLabel)
{
    AdminWorld w;
    QTemporaryDir dir;
    TForm4 form(w.ctx);
    form.IncarcaConstante();
    w.ui.pushFolder(dir.path());
    form.ConvexBtn6()->click();
    EXPECT_EQ(form.CaleSalvari()->text(), QDir::toNativeSeparators(dir.path()));
    EXPECT_EQ(form.CaleSalvariText(), w.ctx.profile.backupDirectory());
    w.ui.pushYes();
    form.ConvexBtn5()->click();
    EXPECT_EQ(form.CaleSalvari()->text(), QStringLiteral("-"));
    EXPECT_EQ(w.ctx.profile.backupDirectory(), QStringLiteral("-"));
}

TEST(TForm4, EnterMovesThroughTheConstants)
{
    AdminWorld w;
    TForm4 form(w.ctx);
    form.show();
    form.PageList()->setCurrentRow(1);
    ASSERT_TRUE(test::showAndFocus(form.NumePrimarie()));
    QTest::keyClick(form.NumePrimarie(), Qt::Key_Return);
    EXPECT_TRUE(form.TipLoc()->hasFocus());
    QTest::keyClick(form.TipLoc(), Qt::Key_Return);
    EXPECT_TRUE(form.Comuna()->hasFocus());
    form.SecretarI()->setFocus();
    QTest::keyClick(form.SecretarI(), Qt::Key_Enter);
    EXPECT_TRUE(form.InSat()->hasFocus());
    EXPECT_TRUE(form.isVisible());
    form.hide();
}
