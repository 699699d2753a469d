#include "AdminTestWorld.h"

#include "admin/Administration.h"
#include "admin/Models.h"
#include "data/dbf/CodePage1250.h"
#include "services/ServiceError.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::AdminWorld;
using velmor::test::fileBytes;

namespace {

const QChar CR(13);

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A complete register in a folder outside the program home (a network data directory).
QString networkRegister(const QTemporaryDir& dir)
{
    const QString folder = dir.filePath(QStringLiteral("Retea"));
    QDir().mkpath(folder);
    const QDir source(test::fixturePath(QStringLiteral("register-dbase4")));
    for (const QString& name : source.entryList(QDir::Files))
        QFile::copy(source.filePath(name), folder + QLatin1Char('/') + name);
    return folder;
}

}

// ---- constants ----

TEST(Constants, WithoutConstanteTheDesignedTextsStayAndTheTypeIsComuna)
{
    AdminWorld w;
    Administration admin(w.ctx);
    const CouncilConstants designed = Administration::designedConstants();
    const CouncilConstants read = admin.readConstants(designed);
    EXPECT_EQ(read, designed);
    EXPECT_EQ(read.TIPLOC, QStringLiteral("COMUNA"));
    EXPECT_EQ(TipLocalitate(read.TIPLOC), QStringLiteral("comunei"));
}

TEST(Constants, StoredValuesReplaceAndEmptyOnesKeepTheShownText)
{
    AdminWorld w;
    w.settings->Scrie_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("Comuna"), QStringLiteral("TÂRGU VECHI"));
    w.settings->Scrie_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("JUDET"), QStringLiteral("ALBA"));
    w.settings->Scrie_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("PRIMAR"), QString());
    w.settings->Scrie_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("TIPLOC"), QStringLiteral("MUNICIPIUL"));
    const CouncilConstants read = Administration(w.ctx).readConstants(Administration::designedConstants());
    EXPECT_EQ(read.Comuna, QStringLiteral("TÂRGU VECHI"));
    EXPECT_EQ(read.JUDET, QStringLiteral("ALBA"));
    EXPECT_EQ(read.PRIMAR, Administration::designedConstants().PRIMAR);
    EXPECT_EQ(read.TIPLOC, QStringLiteral("MUNICIPIUL"));
    EXPECT_EQ(TipLocalitate(read.TIPLOC), QStringLiteral("municipiului"));
}

TEST(Constants, UnknownTypeSelectsNoEntry)
{
    AdminWorld w;
    w.settings->Scrie_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("TIPLOC"), QStringLiteral("orasul"));
    const CouncilConstants read = Administration(w.ctx).readConstants(Administration::designedConstants());
    EXPECT_TRUE(read.TIPLOC.isEmpty());
    EXPECT_TRUE(TipLocalitate(read.TIPLOC).isEmpty());
}

TEST(Constants, RoundTripWritesAllSevenKeys)
{
    AdminWorld w;
    CouncilConstants c;
    c.NumePrimarie = QStringLiteral("PRIMARIA ORASULUI X");
    c.Comuna = QStringLiteral("X");
    c.CodFiscal = QStringLiteral("1234567");
    c.JUDET = QStringLiteral("CLUJ");
    c.PRIMAR = QStringLiteral("ION POP");
    c.SECRETAR = QStringLiteral("ANA \"MICA\" RUS");
    c.TIPLOC = QStringLiteral("ORASUL");
    Administration(w.ctx).writeConstants(c);

    for (const QString& key : CouncilConstants::keys())
        EXPECT_EQ(w.settings->Citeste_Ini(QStringLiteral("CONSTANTE"), key), c.value(key)) << key.toStdString();

    // A restart reads them back over the designed texts.
    Settings again(w.home.data());
    w.ctx.settings = &again;
    EXPECT_EQ(Administration(w.ctx).readConstants(Administration::designedConstants()), c);
    EXPECT_EQ(TipLocalitate(c.TIPLOC), QStringLiteral("orasului"));
}

// Constants holding quotes, backslashes, stars, percent signs, Romanian letters or 254 characters
// come back exactly (comma-below letters as the file's cedilla forms).
TEST(Constants, AwkwardTextsRoundTrip)
{
    AdminWorld w;
    const QStringList texts = {
        QStringLiteral("PRIMARIA \"SF. ANA\""), QStringLiteral("O'Hara"), QStringLiteral("C:\\DOC\\"), QStringLiteral("*STEA*"),
        QStringLiteral("100%"), QStringLiteral("Ștefănești Țara"), QString(254, QLatin1Char('M')),
    };
    for (const QString& text : texts) {
        CouncilConstants c = Administration::designedConstants();
        c.NumePrimarie = text;
        c.SECRETAR = text;
        Administration(w.ctx).writeConstants(c);
        Settings again(w.home.data());
        w.ctx.settings = &again;
        const CouncilConstants read = Administration(w.ctx).readConstants(Administration::designedConstants());
        EXPECT_EQ(read.NumePrimarie, dbf::cp1250::storedForm(text)) << text.toStdString();
        EXPECT_EQ(read.SECRETAR, dbf::cp1250::storedForm(text)) << text.toStdString();
        w.ctx.settings = w.settings.get();
    }
}

// ---- village list file ----

TEST(VillageFile, ReadsTheReferenceList)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    EXPECT_EQ(Administration(w.ctx).readVillages(),
              QStringList({ QStringLiteral("SAT NOU"), QStringLiteral("DEALU MARE"), QStringLiteral("VALEA LUNGA") }));
}

TEST(VillageFile, MissingFileGivesEmptyList)
{
    AdminWorld w;
    EXPECT_TRUE(Administration(w.ctx).readVillages().isEmpty());
}

TEST(VillageFile, WrittenAsWindows1250WithCrLf)
{
    AdminWorld w;
    Administration admin(w.ctx);
    const QStringList villages = { QStringLiteral("ŢARĂ"), QStringLiteral("SAT \"MIC\"") };
    admin.writeVillages(villages);
    const QByteArray bytes = velmor::test::fileBytes(w.data(QStringLiteral("Sate.lst")));
    EXPECT_EQ(bytes, QByteArray("\xDE" "AR\xC3\r\nSAT \"MIC\"\r\n"));
    EXPECT_EQ(admin.readVillages(), villages);
}

TEST(VillageFile, UnwritableFileRaises)
{
    AdminWorld w;
    // A folder where the file should be: no process can write it.
    QDir().mkpath(w.data(QStringLiteral("Sate.lst")));
    EXPECT_THROW(Administration(w.ctx).writeVillages({ QStringLiteral("SAT") }), ServiceError);
    EXPECT_FALSE(Administration(w.ctx).saveOnClose({ QStringLiteral("SAT") }, Administration::designedConstants()));
    EXPECT_EQ(w.ui.lastMessage().kind, KindError);
    // The constants were still written.
    EXPECT_EQ(w.settings->Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("TIPLOC")), QStringLiteral("COMUNA"));
}

// ---- network data path ----

TEST(SetCaleNet, ProgramsOwnDataFolderInOtherCaseIsRefusedAsLocal)
{
    AdminWorld w(QStringLiteral("register-dbase4"));
    w.ui.pushFolder(w.home.home() + QStringLiteral("/DATA/"));
    EXPECT_FALSE(Administration(w.ctx).useNetworkData());
    EXPECT_EQ(w.ui.choices().at(0).title, QStringLiteral("Indicati directorul cu baza de date"));
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Verificare baza de date"), QStringLiteral("Baza de date indicata este baza locala!")));
    EXPECT_EQ(w.ui.lastMessage().kind, KindError);
    EXPECT_TRUE(w.registry->Citeste_Reg(QStringLiteral("CaleDate")).isEmpty());
}

TEST(SetCaleNet, IncompleteFolderIsRefused)
{
    AdminWorld w;
    QTemporaryDir dir;
    const QString folder = networkRegister(dir);
    QFile::remove(folder + QStringLiteral("/CAP7.dbf"));
    w.ui.pushFolder(folder);
    EXPECT_FALSE(Administration(w.ctx).useNetworkData());
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Verificare baza de date"), QStringLiteral("Baza de date indicata este incompleta!")));
    EXPECT_TRUE(w.registry->Citeste_Reg(QStringLiteral("CaleDate")).isEmpty());
}

TEST(SetCaleNet, UnwritableFolderIsRefused)
{
    AdminWorld w;
    QTemporaryDir dir;
    const QString folder = networkRegister(dir);
    // A folder named like the test file: creating the file fails whatever the permissions.
    QDir().mkpath(folder + QStringLiteral("/p1.txt"));
    w.ui.pushFolder(folder);
    EXPECT_FALSE(Administration(w.ctx).useNetworkData());
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Verificare baza de date"),
                                QStringLiteral("Nu am dreptul sa scriu in ") + native(folder) + QStringLiteral("!!")));
    EXPECT_TRUE(w.registry->Citeste_Reg(QStringLiteral("CaleDate")).isEmpty());
}

TEST(SetCaleNet, GoodFolderIsWrittenAndTheProgramMustRestart)
{
    AdminWorld w;
    QTemporaryDir dir;
    const QString folder = networkRegister(dir);
    w.ui.pushFolder(folder + QLatin1Char('/'));
    EXPECT_TRUE(Administration(w.ctx).useNetworkData());
    EXPECT_EQ(w.registry->Citeste_Reg(QStringLiteral("CaleDate")), native(folder));
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Stabilire baza de date"),
                                QStringLiteral("Baza de date a fost redirectionata!") + CR
                                    + QStringLiteral("Va rog sa porniti programul din nou!")));
    EXPECT_EQ(w.ui.lastMessage().kind, KindInformation);
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/p1.txt")));
}

TEST(SetCaleNet, CancelledChoiceDoesNothing)
{
    AdminWorld w;
    EXPECT_FALSE(Administration(w.ctx).useNetworkData());
    EXPECT_TRUE(w.ui.messages().empty());
    EXPECT_EQ(w.ui.choices().size(), 1u);
}

TEST(SetCaleLocal, AlreadyLocalWarns)
{
    AdminWorld w;
    EXPECT_FALSE(Administration(w.ctx).useLocalData());
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Cale Baza de date"), QStringLiteral("Sunteti deja pe baza locala!")));
    EXPECT_EQ(w.ui.lastMessage().kind, KindWarning);
}

TEST(SetCaleLocal, DaErasesThePathAndTheProgramMustRestart)
{
    AdminWorld w;
    w.registry->Scrie_Reg(QStringLiteral("CaleDate"), QStringLiteral("/srv/registru"));
    w.ui.pushYes().pushOk();
    EXPECT_TRUE(Administration(w.ctx).useLocalData());
    EXPECT_TRUE(w.registry->Citeste_Reg(QStringLiteral("CaleDate")).isEmpty());
    ASSERT_EQ(w.ui.messages().size(), 2u);
    EXPECT_EQ(w.ui.messages()[0].title, QStringLiteral("Baza de date locala"));
    EXPECT_EQ(w.ui.messages()[0].text, QStringLiteral("Doriti sa lucrati pe baza de date de pe acest calculator?"));
    EXPECT_EQ(w.ui.messages()[0].kind, KindConfirmation);
    EXPECT_EQ(w.ui.messages()[0].buttons, ButtonsDaNu);
    EXPECT_EQ(w.ui.messages()[1].text, QStringLiteral("Porniti din nou programul!"));
    EXPECT_EQ(w.ui.messages()[1].kind, KindWarning);
}

TEST(SetCaleLocal, NuKeepsThePath)
{
    AdminWorld w;
    w.registry->Scrie_Reg(QStringLiteral("CaleDate"), QStringLiteral("/srv/registru"));
    w.ui.pushNo();
    EXPECT_FALSE(Administration(w.ctx).useLocalData());
    EXPECT_EQ(w.registry->Citeste_Reg(QStringLiteral("CaleDate")), QStringLiteral("/srv/registru"));
}

// ---- automatic-backup path ----

TEST(ConvexBtn6, DataDirectoryItselfIsRefused)
{
    AdminWorld w;
    QString label = QStringLiteral("-");
    w.ui.pushFolder(w.home.data() + QLatin1Char('/'));
    Administration(w.ctx).chooseBackupDirectory(label);
    EXPECT_EQ(w.ui.choices().at(0).title, QStringLiteral("Indicati calea salvarilor automate"));
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Stabilire cale salvari"),
                                QStringLiteral("Nu puteti salva in baza de date a programului !") + CR + QStringLiteral("Alegeti alta cale!")));
    EXPECT_EQ(label, QStringLiteral("-"));
    EXPECT_TRUE(w.registry->Citeste_Reg(QStringLiteral("CALESALVARI")).isEmpty());
}

TEST(ConvexBtn6, FolderDifferingOnlyInCaseIsAccepted)
{
    AdminWorld w;
    const QString folder = w.home.home() + QStringLiteral("/data");
    QDir().mkpath(folder);
    QString label = QStringLiteral("-");
    w.ui.pushFolder(folder);
    Administration(w.ctx).chooseBackupDirectory(label);
    EXPECT_EQ(label, native(folder));
    EXPECT_EQ(w.ctx.profile.backupDirectory(), native(folder));
    EXPECT_EQ(w.registry->Citeste_Reg(QStringLiteral("CALESALVARI")), native(folder));
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Salvari automate"),
                                QStringLiteral("Calea pentru Salvari Automate este acum") + CR + native(folder) + QStringLiteral(".")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/test.txt")));
}

TEST(ConvexBtn6, UnwritableFolderIsRefused)
{
    AdminWorld w;
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("test.txt")));
    QString label = QStringLiteral("-");
    w.ui.pushFolder(dir.path());
    Administration(w.ctx).chooseBackupDirectory(label);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Stabilire cale salvari"),
                                QStringLiteral("Nu pot scrie in ") + native(dir.path()) + QStringLiteral(" !") + CR
                                    + QStringLiteral("Alegeti alta cale, unde sa pot scrie!")));
    EXPECT_EQ(label, QStringLiteral("-"));
    EXPECT_TRUE(w.registry->Citeste_Reg(QStringLiteral("CALESALVARI")).isEmpty());
}

TEST(ConvexBtn6, OnlyInLocalDataMode)
{
    AdminWorld w;
    w.ctx.localDataMode = false;
    QString label = QStringLiteral("-");
    Administration(w.ctx).chooseBackupDirectory(label);
    EXPECT_TRUE(w.ui.choices().empty());
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Salvare Automata"), QStringLiteral("Numai Serverul poate salva automat!")));
}

TEST(ConvexBtn6, CancelledChoiceDoesNothing)
{
    AdminWorld w;
    QString label = QStringLiteral("/old");
    Administration(w.ctx).chooseBackupDirectory(label);
    EXPECT_EQ(label, QStringLiteral("/old"));
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(ConvexBtn5, NothingToCancelShowsBalloon)
{
    AdminWorld w;
    QString label = QStringLiteral("-");
    Administration(w.ctx).stopAutomaticBackup(label);
    ASSERT_EQ(w.ui.balloons().size(), 1u);
    EXPECT_EQ(w.ui.balloons()[0].text, QStringLiteral("Nu aveti ce sterge."));
    EXPECT_EQ(w.ui.balloons()[0].anchor, QStringLiteral("CaleSalvari"));
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(ConvexBtn5, DaCancelsAutomaticBackups)
{
    AdminWorld w;
    w.registry->Scrie_Reg(QStringLiteral("CALESALVARI"), QStringLiteral("/mnt/stick"));
    w.ctx.profile.setBackupDirectory(QStringLiteral("/mnt/stick"));
    QString label = QStringLiteral("/mnt/stick");
    w.ui.pushYes();
    Administration(w.ctx).stopAutomaticBackup(label);
    EXPECT_EQ(label, QStringLiteral("-"));
    EXPECT_EQ(w.ctx.profile.backupDirectory(), QStringLiteral("-"));
    EXPECT_TRUE(w.registry->Citeste_Reg(QStringLiteral("CALESALVARI")).isEmpty());
    ASSERT_EQ(w.ui.messages().size(), 2u);
    EXPECT_EQ(w.ui.messages()[0].title, QStringLiteral("Stergere cale salvari"));
    EXPECT_EQ(w.ui.messages()[0].text, QStringLiteral("Doriti sa dezactivati salvarea automata?"));
    EXPECT_EQ(w.ui.messages()[1].title, QStringLiteral("Salvare Automata"));
    EXPECT_EQ(w.ui.messages()[1].text, QStringLiteral("Salvarea automata a fost dezactivata!"));
}

TEST(ConvexBtn5, NuKeepsTheDirectory)
{
    AdminWorld w;
    w.registry->Scrie_Reg(QStringLiteral("CALESALVARI"), QStringLiteral("/mnt/stick"));
    QString label = QStringLiteral("/mnt/stick");
    w.ui.pushNo();
    Administration(w.ctx).stopAutomaticBackup(label);
    EXPECT_EQ(label, QStringLiteral("/mnt/stick"));
    EXPECT_EQ(w.registry->Citeste_Reg(QStringLiteral("CALESALVARI")), QStringLiteral("/mnt/stick"));
}

TEST(BackupDirectory, ReadAsDashWhenEmpty)
{
    AdminWorld w;
    EXPECT_EQ(Administration(w.ctx).readBackupDirectory(), QStringLiteral("-"));
    w.registry->Scrie_Reg(QStringLiteral("CALESALVARI"), QStringLiteral("/mnt/stick"));
    EXPECT_EQ(Administration(w.ctx).readBackupDirectory(), QStringLiteral("/mnt/stick"));
}

// ---- models ----

TEST(Models, InstalledWhenMissingAndNeverOverwritten)
{
    AdminWorld w;
    const QStringList written = InstaleazaModele(w.home.home());
    EXPECT_EQ(written.size(), 2);
    const QByteArray delivered = velmor::test::fileBytes(QStringLiteral(":/models/Adv.rtf"));
    ASSERT_FALSE(delivered.isEmpty());
    EXPECT_EQ(velmor::test::fileBytes(w.inHome(QStringLiteral("Adv.rtf"))), delivered);
    EXPECT_EQ(velmor::test::fileBytes(w.inHome(QStringLiteral("RAGR2.rtf"))), velmor::test::fileBytes(QStringLiteral(":/models/RAGR2.rtf")));

    test::writeTextFile(w.inHome(QStringLiteral("Adv.rtf")), "edited by the clerk");
    EXPECT_TRUE(InstaleazaModele(w.home.home()).isEmpty());
    EXPECT_EQ(velmor::test::fileBytes(w.inHome(QStringLiteral("Adv.rtf"))), QByteArray("edited by the clerk"));
}

TEST(Models, CertificateModelsTwoToFourStartAsCopiesOfTheFirst)
{
    AdminWorld w;
    test::writeTextFile(w.inHome(QStringLiteral("Adv.rtf")), "{\\rtf1 model one}");
    Administration admin(w.ctx);
    admin.DeschideModelAdeverinta(3);
    EXPECT_EQ(velmor::test::fileBytes(w.inHome(QStringLiteral("Adv3.rtf"))), QByteArray("{\\rtf1 model one}"));
    admin.DeschideModelAdeverinta(1);
    EXPECT_EQ(w.ui.openedFiles(), QStringList({ w.inHome(QStringLiteral("Adv3.rtf")), w.inHome(QStringLiteral("Adv.rtf")) }));
    EXPECT_FALSE(QFileInfo::exists(w.inHome(QStringLiteral("Adv2.rtf"))));

    // An existing model is opened as it is.
    test::writeTextFile(w.inHome(QStringLiteral("Adv4.rtf")), "model four");
    admin.DeschideModelAdeverinta(4);
    EXPECT_EQ(velmor::test::fileBytes(w.inHome(QStringLiteral("Adv4.rtf"))), QByteArray("model four"));
    EXPECT_TRUE(w.ui.messages().empty());
}

TEST(Models, MissingFirstModelIsDeliveredAgain)
{
    AdminWorld w;
    Administration(w.ctx).DeschideModelAdeverinta(2);
    EXPECT_EQ(velmor::test::fileBytes(w.inHome(QStringLiteral("Adv2.rtf"))), velmor::test::fileBytes(QStringLiteral(":/models/Adv.rtf")));
    EXPECT_EQ(w.ui.openedFiles(), QStringList({ w.inHome(QStringLiteral("Adv2.rtf")) }));
}

TEST(Models, RAgr2IsOpened)
{
    AdminWorld w;
    Administration(w.ctx).DeschideModelRAgr2();
    EXPECT_EQ(w.ui.openedFiles(), QStringList({ w.inHome(QStringLiteral("RAGR2.rtf")) }));
}

TEST(Models, FailingOpenIsReported)
{
    AdminWorld w;
    w.ui.setOpenFileSucceeds(false);
    Administration(w.ctx).DeschideModelRAgr2();
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Modelul RAgr2"),
                                QStringLiteral("Nu pot deschide fisierul ") + native(w.inHome(QStringLiteral("RAGR2.rtf"))) + QStringLiteral("!")));
}

// A missing census copy is written from the built-in form, byte for byte, and opened.
TEST(Models, MissingCensusCopyIsWrittenFromTheBuiltInFormAndOpened)
{
    for (int n = 1; n <= 4; ++n) {
        AdminWorld w;
        ASSERT_TRUE(existaModelRecensamant(n));
        const QString copy = w.data(QStringLiteral("L%1.xls").arg(n));
        Administration(w.ctx).DeschideModelRecensamant(QStringLiteral("Formularul L%1").arg(n));
        EXPECT_EQ(w.ui.openedFiles(), QStringList({ copy }));
        EXPECT_TRUE(w.ui.messages().empty());
        QFile written(copy);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        QFile builtIn(QStringLiteral(":/L%1/MODEL").arg(n));
        ASSERT_TRUE(builtIn.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), builtIn.readAll());
    }
}

TEST(Models, ExistingCensusWorkbookOfTheDataDirectoryIsOpened)
{
    AdminWorld w;
    test::writeTextFile(w.data(QStringLiteral("L3.xls")), "workbook");
    Administration(w.ctx).DeschideModelRecensamant(QStringLiteral("Formularul L3"));
    EXPECT_EQ(w.ui.openedFiles(), QStringList({ w.data(QStringLiteral("L3.xls")) }));
}

namespace {

// Checks a model against the template filler's reading: a header before the first "\pard", a body
// whose braces (counted from one) return to zero only on its last line.
void expectFillerShape(const QByteArray& rtf)
{
    const QList<QByteArray> lines = rtf.split('\n');
    int first = -1;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].contains("\\pard")) {
            first = i;
            break;
        }
    }
    ASSERT_GT(first, 0);
    int depth = 1;
    int closedAt = -1;
    for (int i = first; i < lines.size(); ++i) {
        const QByteArray& line = i == first ? lines[i].mid(lines[i].indexOf("\\pard")) : lines[i];
        for (char c : line) {
            if (c == '{')
                ++depth;
            else if (c == '}')
                --depth;
        }
        if (depth == 0) {
            closedAt = i;
            break;
        }
    }
    ASSERT_GE(closedAt, 0);
    for (int i = closedAt + 1; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i].trimmed().isEmpty());
}

}

TEST(Models, CertificateModelHoldsEveryPlaceholderOnce)
{
    const QByteArray rtf = velmor::test::fileBytes(QStringLiteral(":/models/Adv.rtf"));
    expectFillerShape(rtf);
    const QString text = QString::fromLatin1(rtf).toUpper();
    for (const char* p : { "[JUDET]", "[LOCALITATEA]", "[PRIMARIA]", "[NR]", "[TAXA]", "[CHIT]", "[DESTINATIE]",
                           "[PRIMAR]", "[SECRETAR]", "[INTOCMIT]", "[TIPLOC]", "[NUMEPREN]", "[DL]", "[DLUI]", "[INSCRIS]",
                           "[LOCART]", "[TITULAR]", "[CNP]", "[LOCDOM]", "[ADRESA]", "[LINIA1]", "[POZ]", "[VOL]", "[TIP]",
                           "[CONTINUT]" })
        EXPECT_TRUE(text.contains(QString::fromLatin1(p))) << p;
    // The repeated section line is one complete paragraph.
    for (const QByteArray& line : rtf.split('\n')) {
        if (line.toUpper().contains("[CONTINUT]")) {
            EXPECT_TRUE(line.startsWith("\\pard"));
            EXPECT_TRUE(line.trimmed().endsWith("\\par"));
        }
    }
}

TEST(Models, RAgr2ModelHoldsEveryCellAndHeaderPlaceholder)
{
    const QByteArray rtf = velmor::test::fileBytes(QStringLiteral(":/models/RAGR2.rtf"));
    expectFillerShape(rtf);
    const QString text = QString::fromLatin1(rtf);
    for (int row = 11; row <= 57; ++row) {
        for (int column = 1; column <= 3; ++column) {
            const QString p = QStringLiteral("[%1%2]").arg(column).arg(row);
            EXPECT_EQ(text.count(p), 1) << p.toStdString();
        }
    }
    for (const char* p : { "[J01]", "[R07]", "[R08]", "[R09]", "[003]", "[004]", "[005]", "[006]" })
        EXPECT_EQ(text.count(QString::fromLatin1(p)), 1) << p;
}
