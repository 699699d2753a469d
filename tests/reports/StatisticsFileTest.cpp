// The statistics file: the reference register's file byte for byte, the rules of its lines on small
// registers, and the delivery into the chosen folder (replace, keep, cancel, a failed copy).

#include "core/StagedFile.h"
#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "reports/StatisticsFile.h"
#include "services/ScriptedInteraction.h"
#include "support/EmptyRegister.h"
#include "support/TestDirs.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace velmor;
using reports::StatisticsFile;

namespace {

const QDate Day(2009, 12, 8);

CouncilConstants council()
{
    CouncilConstants c;
    c.Comuna = QStringLiteral("TÂRGU VECHI");
    c.TIPLOC = QStringLiteral("COMUNA");
    c.CodFiscal = QStringLiteral("4321987");
    return c;
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// An empty register with rows added by the cases.
class Register : public test::EmptyRegister {
public:
    void household(std::int64_t codid, const QString& village, dbf::Value type)
    {
        insert("Identificare.dbf", QStringLiteral("ANUL, CODID, LOCALIT, TIPRA, VOLUM, POZ"),
               {std::int64_t(2010), codid, village, type, std::int64_t(1), codid});
    }
    void land(std::int64_t codid, int row, int aha, double aari)
    {
        insert("CAP2.dbf", QStringLiteral("ANUL, CODID, CATEG, RAND, AHA, AARI, BHA, BARI, CHA, CARI, IHA, IARI"),
               {std::int64_t(2010), codid, QStringLiteral("Teren arabil"), std::int64_t(row), std::int64_t(aha), aari,
                std::int64_t(0), 0.0, std::int64_t(0), 0.0, std::int64_t(0), 0.0});
    }
    void building(std::int64_t codid, int row, double value)
    {
        insert("CAP10.dbf", QStringLiteral("ANUL, CODID, RAND, DETALII"), {std::int64_t(2010), codid, std::int64_t(row), value});
    }
    void plot(std::int64_t codid, const dbf::Value& intra, const QString& tarla, double supraf)
    {
        insert("Tarlale.dbf", QStringLiteral("ANUL, CODID, CODT, INTRA, TARLA, NRTARLA, CATEG, SUPRAF"),
               {std::int64_t(2010), codid, codid * 10, intra, tarla, QStringLiteral("5"), QStringLiteral("ARABIL"), supraf});
    }

    QStringList file()
    {
        const QByteArray bytes = StatisticsFile(engine, home.data(), home.home()).build(council(), 2010).toBytes();
        return QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    }
};

// The lines of one section, without the section header.
QStringList section(const QStringList& lines, const QString& name)
{
    QStringList result;
    bool inside = false;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('['))) {
            inside = line == QLatin1Char('[') + name + QLatin1Char(']');
            continue;
        }
        if (inside && !line.isEmpty())
            result << line;
    }
    return result;
}

QString bb(const char* text)
{
    // Test texts use "|" for the separator byte 0xBB.
    return QString::fromLatin1(text).replace(QLatin1Char('|'), QChar(0x00BB));
}

}

TEST(StatisticsFile, ReferenceRegisterByteForByte)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    engine::Engine engine(home.data());
    ScriptedInteraction ui;
    ui.pushFolder(folder.path());
    StatisticsFile file(engine, home.data(), home.home());
    ASSERT_EQ(file.run(council(), QStringLiteral("2010"), Day, ui), StatisticsFile::Outcome::Delivered);

    const QString name = QStringLiteral("TÂRGU VECHI_08_12_2009.txt");
    EXPECT_EQ(file.deliveredPath(), QDir(folder.path()).filePath(name));
    const QByteArray expected = test::fileBytes(QStringLiteral(VELMOR_EXPECTED_DIR "/TARGU_VECHI_2010.txt"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(test::fileBytes(QDir(folder.path()).filePath(name)), expected);
    EXPECT_TRUE(ui.hasMessage(QStringLiteral("Salvare raport"), QStringLiteral("Raport creat cu succes!")));
    EXPECT_FALSE(QFileInfo::exists(QDir(home.home()).filePath(name))) << "the working copy is removed";
    EXPECT_EQ(ui.choices().at(0).title, QStringLiteral("Unde salvam raportul?"));
    EXPECT_EQ(ui.progressLabels().value(0), QStringLiteral("Creez raportul ..."));
    EXPECT_FALSE(ui.progressVisible());
    EXPECT_EQ(ui.progressPositions().back(), 100);
}

TEST(StatisticsFile, LineRules)
{
    Register r;
    // A household of unknown type is stored first and sorts first; it is left out everywhere.
    r.household(1, QStringLiteral("DEAL"), dbf::Value());
    r.household(2, QStringLiteral("DEAL"), std::int64_t(1));
    r.household(3, QStringLiteral("DEAL"), std::int64_t(7));
    r.household(4, QStringLiteral("DEAL"), std::int64_t(2));
    r.land(1, 1, 9, 0);
    r.land(3, 1, 9, 0);
    r.land(2, 1, 1, 150);
    r.land(2, 1, 0, 0.25);
    r.building(2, 1, 80);
    r.building(2, 4, 120);
    r.building(2, 7, 0);
    r.building(2, 13, 30);
    r.building(2, 25, 99);
    r.building(3, 1, 500);
    r.plot(2, dbf::Value(), QStringLiteral("LA MORA"), 0.5);
    r.plot(2, QStringLiteral("INTRAVILAN"), QStringLiteral("VATRA"), 0.25);
    r.plot(2, QStringLiteral("INTRAVILAN"), QStringLiteral("VATRA"), 0.0001);
    r.plot(2, QStringLiteral("INTRAVILAN"), QStringLiteral("GOL"), 0);
    const QStringList lines = r.file();

    const QStringList sections{QStringLiteral("[CAP1]"), QStringLiteral("[CAP2]"), QStringLiteral("[CAP3]"),
                               QStringLiteral("[CAP4]"), QStringLiteral("[CAP5]"), QStringLiteral("[CAP7]"),
                               QStringLiteral("[CAP9]"), QStringLiteral("[CAP6]"), QStringLiteral("[CAP8]"),
                               QStringLiteral("[CAP10]"), QStringLiteral("[TARLALE]")};
    QStringList found;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('[')))
            found << line;
    }
    EXPECT_EQ(found, sections);

    EXPECT_EQ(section(lines, QStringLiteral("CAP1")).mid(2),
              (QStringList{QStringLiteral("FORMAT_LINIE=") + bb("LOCALIT|TIPRA|POZITII|VOLUME|LOCUITOR"),
                           bb("L1=DEAL| 1| 1| 1| 0"), bb("L2=DEAL| 2| 1| 1| 0"), QStringLiteral("LINII=2")}));
    // 1 ha 150 ari and 0.25 ari on row 1: 2 ha 50.25 ari; the type 2 household has no rows.
    EXPECT_EQ(section(lines, QStringLiteral("CAP2")).mid(1),
              (QStringList{bb("L1=DEAL| 1| Teren arabil| 1| 2|50.25|0|0|0|0|0|0"), bb("L2=DEAL| 2| | | 0|0|0|0|0|0|0|0"),
                           QStringLiteral("LINII=2")}));
    // Only blank categories: the section stays, empty.
    EXPECT_EQ(section(lines, QStringLiteral("CAP6")).mid(1), QStringList{QStringLiteral("LINII=0")});
    // Houses of rows 1 and 4 add up on line 1 and count on line 2; row 7 holds 0, row 25 is no row.
    EXPECT_EQ(section(lines, QStringLiteral("CAP10")).mid(1, 9),
              (QStringList{bb("L1=DEAL|1|1|200"), bb("L2=DEAL|1|2|2"), bb("L3=DEAL|1|13|1"), bb("L4=DEAL|1|14|0"),
                           bb("L5=DEAL|1|15|0"), bb("L6=DEAL|1|16|0"), bb("L7=DEAL|1|17|0"), bb("L8=DEAL|1|18|0"),
                           bb("L9=DEAL|1|19|0")}));
    EXPECT_EQ(section(lines, QStringLiteral("CAP10")).value(10), bb("L10=DEAL|2|1|0"));
    EXPECT_EQ(section(lines, QStringLiteral("CAP10")).last(), QStringLiteral("LINII=18"));
    // A blank INTRA is extravilan; 0.25 ha and one square metre make 2501 m2; an empty plot is left out.
    EXPECT_EQ(section(lines, QStringLiteral("TARLALE")).mid(1),
              (QStringList{bb("L1=DEAL|1|0|0.5|LA MORA|5|ARABIL|"), bb("L2=DEAL|1|0.2501|0|VATRA|5|ARABIL|"),
                           QStringLiteral("LINII=2")}));
}

TEST(StatisticsFile, EmptyYearAndRefusals)
{
    Register r;
    r.household(1, QStringLiteral("DEAL"), std::int64_t(9));
    QTemporaryDir folder;

    struct Case {
        const char* name;
        CouncilConstants constants;
        QString year;
        QString message; // the error, or the balloon when `balloon`
        bool balloon;
    };
    CouncilConstants noCommune = council();
    noCommune.Comuna = QStringLiteral("  ");
    CouncilConstants noCode = council();
    noCode.CodFiscal.clear();
    const Case cases[] = {
        {"no commune", noCommune, QStringLiteral("2010"), StatisticsFile::noCommuneMessage(), false},
        {"no year", council(), QString(), StatisticsFile::noYearMessage(), true},
        {"no fiscal code", noCode, QStringLiteral("2010"), StatisticsFile::noFiscalCodeMessage(), false},
        {"only an unknown type", council(), QStringLiteral("2010"), QStringLiteral(" Nu aveti nici o inregistrare in anul 2010!"), false},
        {"another year", council(), QStringLiteral("2011"), QStringLiteral(" Nu aveti nici o inregistrare in anul 2011!"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedInteraction ui;
        ui.pushFolder(folder.path());
        StatisticsFile file(r.engine, r.home.data(), r.home.home());
        EXPECT_EQ(file.run(c.constants, c.year, Day, ui), StatisticsFile::Outcome::Refused);
        if (c.balloon) {
            ASSERT_EQ(ui.balloons().size(), 1u);
            EXPECT_EQ(ui.balloons()[0].text, c.message);
            EXPECT_EQ(ui.balloons()[0].anchor, QStringLiteral("Anul"));
        } else {
            EXPECT_TRUE(ui.hasMessage(QStringLiteral("Raport statistic"), c.message));
        }
        EXPECT_TRUE(ui.choices().empty());
        EXPECT_FALSE(ui.progressVisible());
        EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
        EXPECT_EQ(QDir(r.home.home()).entryList({QStringLiteral("*.txt")}, QDir::Files), QStringList());
    }
}

TEST(StatisticsFile, DeliveryAnswers)
{
    Register r;
    r.household(1, QStringLiteral("DEAL"), std::int64_t(1));
    QTemporaryDir folder;
    const QString name = StatisticsFile::fileName(council().Comuna, Day);
    const QString target = QDir(folder.path()).filePath(name);
    const QString working = QDir(r.home.home()).filePath(name);

    struct Case {
        const char* name;
        bool folderChosen;
        bool exists;
        int answer; // to the replace question; 0 when none is asked
        StatisticsFile::Outcome outcome;
        bool replaced;
    };
    const Case cases[] = {
        {"new file", true, false, 0, StatisticsFile::Outcome::Delivered, true},
        {"DA replaces", true, true, ResultDa, StatisticsFile::Outcome::Delivered, true},
        {"NU keeps", true, true, ResultNu, StatisticsFile::Outcome::Kept, false},
        {"cancelled folder", false, true, 0, StatisticsFile::Outcome::Cancelled, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(target);
        if (c.exists)
            writeAll(target, "old report");
        ScriptedInteraction ui;
        if (c.folderChosen)
            ui.pushFolder(folder.path());
        if (c.answer)
            ui.pushMessageResult(c.answer);
        StatisticsFile file(r.engine, r.home.data(), r.home.home());
        EXPECT_EQ(file.run(council(), QStringLiteral("2010"), Day, ui), c.outcome);
        const QByteArray now = test::fileBytes(target);
        if (c.replaced)
            EXPECT_TRUE(now.startsWith("[CAP1]\r\nLOCALITATE=COMUNA T\xC2RGU VECHI\r\n")) << now.left(40).toStdString();
        else
            EXPECT_EQ(now, c.exists ? QByteArray("old report") : QByteArray());
        if (c.answer) {
            ASSERT_FALSE(ui.messages().empty());
            EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Salvare raport"));
            EXPECT_EQ(ui.messages()[0].text, QStringLiteral("Exista deja fiserul ") + QDir::toNativeSeparators(target)
                                                 + QStringLiteral(".\r\nIl inlocuim?"));
            EXPECT_EQ(ui.messages()[0].buttons, int(ButtonsDaNu));
        }
        EXPECT_EQ(ui.hasMessage(QStringLiteral("Salvare raport"), QStringLiteral("Raport creat cu succes!")), c.replaced);
        EXPECT_FALSE(QFileInfo::exists(working));
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), (c.exists || c.replaced) ? 1 : 0)
            << "no temporary file is left behind";
    }
}

TEST(StatisticsFile, ProgramHomeKeepsTheWorkingCopy)
{
    Register r;
    r.household(1, QStringLiteral("DEAL"), std::int64_t(1));
    ScriptedInteraction ui;
    ui.pushFolder(r.home.home());
    StatisticsFile file(r.engine, r.home.data(), r.home.home());
    EXPECT_EQ(file.run(council(), QStringLiteral("2010"), Day, ui), StatisticsFile::Outcome::Delivered);
    const QString working = QDir(r.home.home()).filePath(StatisticsFile::fileName(council().Comuna, Day));
    EXPECT_EQ(file.deliveredPath(), working);
    EXPECT_TRUE(test::fileBytes(working).startsWith("[CAP1]\r\n"));
    EXPECT_TRUE(ui.hasMessage(QStringLiteral("Salvare raport"), QStringLiteral("Raport creat cu succes!")));

    // A later run never loses that report: cancelled, delivered elsewhere, or NU to the question.
    writeAll(working, "delivered before");
    QTemporaryDir elsewhere;
    struct Later {
        const char* name;
        QString folder;
        int answer;
        StatisticsFile::Outcome outcome;
    };
    const Later later[] = {
        {"cancelled", QString(), 0, StatisticsFile::Outcome::Cancelled},
        {"another folder", elsewhere.path(), 0, StatisticsFile::Outcome::Delivered},
        {"home again, NU", r.home.home(), ResultNu, StatisticsFile::Outcome::Kept},
    };
    for (const Later& run : later) {
        SCOPED_TRACE(run.name);
        ScriptedInteraction next;
        if (!run.folder.isEmpty())
            next.pushFolder(run.folder);
        if (run.answer)
            next.pushMessageResult(run.answer);
        EXPECT_EQ(StatisticsFile(r.engine, r.home.data(), r.home.home()).run(council(), QStringLiteral("2010"), Day, next), run.outcome);
        EXPECT_EQ(test::fileBytes(working), QByteArray("delivered before"));
    }
}

namespace {
QString failingTarget;
int failRename(const QString& target, StagedFile::Step step, qint64, qint64)
{
    return step == StagedFile::Step::Rename && target == failingTarget ? EACCES : 0;
}
}

TEST(StatisticsFile, FailedCopyKeepsTheOldFile)
{
    Register r;
    r.household(1, QStringLiteral("DEAL"), std::int64_t(1));
    QTemporaryDir folder;
    const QString target = QDir(folder.path()).filePath(StatisticsFile::fileName(council().Comuna, Day));
    writeAll(target, "old report");
    failingTarget = target;
    StagedFile::setFaultHookForTests(failRename);
    ScriptedInteraction ui;
    ui.pushFolder(folder.path());
    ui.pushYes();
    StatisticsFile file(r.engine, r.home.data(), r.home.home());
    const StatisticsFile::Outcome outcome = file.run(council(), QStringLiteral("2010"), Day, ui);
    StagedFile::setFaultHookForTests(nullptr);

    EXPECT_EQ(outcome, StatisticsFile::Outcome::Failed);
    EXPECT_EQ(test::fileBytes(target), QByteArray("old report"));
    EXPECT_FALSE(ui.hasMessage(QStringLiteral("Salvare raport"), QStringLiteral("Raport creat cu succes!")));
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.lastMessage().kind, int(KindError));
    EXPECT_TRUE(ui.lastMessage().text.contains(QDir::toNativeSeparators(target))) << ui.lastMessage().text.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(target).fileName()});
    EXPECT_TRUE(file.deliveredPath().isEmpty());
}

TEST(StatisticsFile, FileNames)
{
    const struct {
        const char* commune;
        const char* name;
    } cases[] = {
        {"ABC", "ABC_08_12_2009.txt"},
        {" ABC ", "ABC_08_12_2009.txt"},
        {"A/B\\C:D*E?F\"G<H>I|J", "A_B_C_D_E_F_G_H_I_J_08_12_2009.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StatisticsFile::fileName(QString::fromUtf8(c.commune), Day), QString::fromUtf8(c.name)) << c.commune;
}

TEST(StatisticsFile, WorkingCopyInUseIsRefused)
{
    Register r;
    r.household(1, QStringLiteral("DEAL"), std::int64_t(1));
    const QString working = QDir(r.home.home()).filePath(StatisticsFile::fileName(council().Comuna, Day));
    ASSERT_TRUE(QDir().mkpath(working)); // something the program cannot open in its place
    QTemporaryDir folder;
    ScriptedInteraction ui;
    ui.pushFolder(folder.path());
    StatisticsFile file(r.engine, r.home.data(), r.home.home());
    EXPECT_EQ(file.run(council(), QStringLiteral("2010"), Day, ui), StatisticsFile::Outcome::Refused);
    EXPECT_TRUE(ui.hasMessage(QStringLiteral("Raport statistic"),
                              QStringLiteral("Fisierul ") + QDir::toNativeSeparators(working)
                                  + QStringLiteral(" este in utilizare!\r\nInchideti programele deschise si mai incercati odata!")));
    EXPECT_TRUE(ui.choices().empty());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QFileInfo(working).isDir());
}
