#include "services/IniFile.h"
#include "support/FileBytes.h"
#include "services/ServiceError.h"

#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::TempHome;
using velmor::test::fixturePath;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}

TEST(IniFileRead, MissingFileSectionOrKeyReadsEmpty)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("Velmor.ini")));
    EXPECT_EQ(ini.value(QStringLiteral("INDEX"), QStringLiteral("CODID")), QString());
    writeBytes(ini.path(), "[INDEX]\r\nCODID=5\r\n");
    EXPECT_EQ(ini.value(QStringLiteral("CONST"), QStringLiteral("CODID")), QString());
    EXPECT_EQ(ini.value(QStringLiteral("INDEX"), QStringLiteral("COD1")), QString());
    EXPECT_EQ(ini.value(QStringLiteral("INDEX"), QStringLiteral("CODID")), QStringLiteral("5"));
}

TEST(IniFileRead, ReadsForeignSettingsFileWithoutRegardToCase)
{
    IniFile ini(fixturePath(QStringLiteral("register-dbase4/Velmor.ini")));
    EXPECT_EQ(ini.value(QStringLiteral("CONSTANTE"), QStringLiteral("Comuna")), QStringLiteral("T\u00c2RGU VECHI"));
    EXPECT_EQ(ini.value(QStringLiteral("constante"), QStringLiteral("COMUNA")), QStringLiteral("T\u00c2RGU VECHI"));
    EXPECT_EQ(ini.value(QStringLiteral("Index"), QStringLiteral("codid")), QStringLiteral("109"));
    EXPECT_EQ(ini.value(QStringLiteral("CONST"), QStringLiteral("Tariful1")), QStringLiteral("120.5"));
    EXPECT_EQ(ini.value(QStringLiteral("CONST"), QStringLiteral("HOTARARE")), QStringLiteral("HCL NR. 12/2010"));
    EXPECT_EQ(ini.sections(), (QStringList { QStringLiteral("CONSTANTE"), QStringLiteral("INDEX"), QStringLiteral("CONST") }));
    EXPECT_EQ(ini.keys(QStringLiteral("index")),
              (QStringList { QStringLiteral("CODID"), QStringLiteral("COD1"), QStringLiteral("CODT"), QStringLiteral("ADEVNR") }));
}

TEST(IniFileRead, ValueIsTextAfterFirstEqualsTrimmed)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("a.ini")));
    writeBytes(ini.path(), "  [ CONST ]  \n  HOTARARE  =   HCL = 12   \t\nGOL=\nFARA\n;COMENT=x\n");
    EXPECT_EQ(ini.value(QStringLiteral("CONST"), QStringLiteral("HOTARARE")), QStringLiteral("HCL = 12"));
    EXPECT_EQ(ini.value(QStringLiteral("CONST"), QStringLiteral("GOL")), QString());
    EXPECT_FALSE(IniDocument::load(ini.path()).contains(QStringLiteral("CONST"), QStringLiteral("FARA")));
    EXPECT_TRUE(IniDocument::load(ini.path()).contains(QStringLiteral("CONST"), QStringLiteral("GOL")));
    EXPECT_EQ(ini.keys(QStringLiteral("CONST")), (QStringList { QStringLiteral("HOTARARE"), QStringLiteral("GOL") }));
}

TEST(IniFileRead, LfOnlyAndMissingFinalLineEnd)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("a.ini")));
    writeBytes(ini.path(), "[A]\nX=1\n[B]\nY=2");
    EXPECT_EQ(ini.value(QStringLiteral("A"), QStringLiteral("X")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("B"), QStringLiteral("Y")), QStringLiteral("2"));
}

TEST(IniFileRead, FirstSectionAndKeyWin)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("a.ini")));
    writeBytes(ini.path(), "[A]\r\nX=1\r\nx=2\r\n[a]\r\nX=3\r\n");
    EXPECT_EQ(ini.value(QStringLiteral("A"), QStringLiteral("X")), QStringLiteral("1"));
    ini.setValue(QStringLiteral("a"), QStringLiteral("x"), QStringLiteral("9"));
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), QByteArray("[A]\r\nX=9\r\nx=2\r\n[a]\r\nX=3\r\n"));
}

TEST(IniFileRead, DirectoryInPlaceOfFileIsAnError)
{
    TempHome home;
    const QString path = home.dataFile(QStringLiteral("Velmor.ini"));
    ASSERT_TRUE(QDir().mkpath(path));
    IniFile ini(path);
    EXPECT_THROW(ini.value(QStringLiteral("A"), QStringLiteral("B")), ServiceError);
    EXPECT_THROW(ini.setValue(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")), ServiceError);
}

TEST(IniFileWrite, ReplacesValueInPlaceAndKeepsOtherLines)
{
    TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    IniFile ini(home.dataFile(QStringLiteral("Velmor.ini")));
    const QByteArray before = velmor::test::existingFileBytes(ini.path());
    ini.setValue(QStringLiteral("index"), QStringLiteral("codid"), QStringLiteral("110"));
    QByteArray expected = before;
    expected.replace("CODID=109", "CODID=110");
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), expected);
    // Writing the same value back gives the original bytes.
    ini.setValue(QStringLiteral("INDEX"), QStringLiteral("CODID"), QStringLiteral("109"));
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), before);
}

TEST(IniFileWrite, KeepsKeySpellingAndBlanksBeforeEquals)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("a.ini")));
    writeBytes(ini.path(), "[Const]\r\n  Bifcap2 =  NU\r\n");
    ini.setValue(QStringLiteral("CONST"), QStringLiteral("BIFCAP2"), QStringLiteral("DA"));
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), QByteArray("[Const]\r\n  Bifcap2 =DA\r\n"));
    EXPECT_EQ(ini.value(QStringLiteral("CONST"), QStringLiteral("BIFCAP2")), QStringLiteral("DA"));
}

TEST(IniFileWrite, AddsMissingKeyAfterLastLineOfItsSection)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("a.ini")));
    writeBytes(ini.path(), "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n");
    ini.setValue(QStringLiteral("A"), QStringLiteral("Z"), QStringLiteral("3"));
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), QByteArray("[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\nY=2\r\n"));
    ini.setValue(QStringLiteral("B"), QStringLiteral("W"), QStringLiteral("4"));
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), QByteArray("[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\nY=2\r\nW=4\r\n"));
}

TEST(IniFileWrite, AddsKeyToEmptySectionRightAfterHeader)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("a.ini")));
    writeBytes(ini.path(), "[A]\r\n\r\n[B]\r\n");
    ini.setValue(QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("1"));
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), QByteArray("[A]\r\nX=1\r\n\r\n[B]\r\n"));
}

TEST(IniFileWrite, AddsMissingSectionAtEndAndCreatesMissingFile)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("Velmor.ini")));
    ini.setValue(QStringLiteral("INDEX"), QStringLiteral("CODID"), QStringLiteral("1"));
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), QByteArray("[INDEX]\r\nCODID=1\r\n"));
    ini.setValue(QStringLiteral("TEMP"), QStringLiteral("POZLAST"), QStringLiteral("7"));
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), QByteArray("[INDEX]\r\nCODID=1\r\n[TEMP]\r\nPOZLAST=7\r\n"));
}

TEST(IniFileWrite, LfOnlyFileIsWrittenWithCrLf)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("a.ini")));
    writeBytes(ini.path(), "[A]\nX=1\n;note\n");
    ini.setValue(QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("2"));
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), QByteArray("[A]\r\nX=2\r\n;note\r\n"));
}

TEST(IniFileWrite, WritesWindows1250AndMapsCommaBelowLetters)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("a.ini")));
    // ș ț Ș Ț are stored as ş ţ Ş Ţ; ă and € exist in the code page.
    ini.setValue(QStringLiteral("CONSTANTE"), QStringLiteral("PRIMAR"), QStringLiteral("\u0218TEFAN \u021a\u0103ran \u20ac"));
    const QByteArray bytes = velmor::test::existingFileBytes(ini.path());
    EXPECT_TRUE(bytes.contains(QByteArray("PRIMAR=\xAA" "TEFAN \xDE\xE3ran \x80\r\n")));
    EXPECT_EQ(ini.value(QStringLiteral("CONSTANTE"), QStringLiteral("PRIMAR")), QStringLiteral("\u015eTEFAN \u0162\u0103ran \u20ac"));
}

TEST(IniFileWrite, CharacterOutsideCodePageIsAnErrorAndChangesNothing)
{
    TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    IniFile ini(home.dataFile(QStringLiteral("Velmor.ini")));
    const QByteArray before = velmor::test::existingFileBytes(ini.path());
    try {
        ini.setValue(QStringLiteral("CONSTANTE"), QStringLiteral("PRIMAR"), QStringLiteral("POPA \u4e2d"));
        FAIL() << "no error";
    } catch (const ServiceError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("\u4e2d")));
        EXPECT_TRUE(e.message().contains(QStringLiteral("Velmor.ini")));
    }
    EXPECT_THROW(ini.setValue(QStringLiteral("SEC\u0416"), QStringLiteral("K"), QStringLiteral("v")), ServiceError);
    EXPECT_THROW(ini.setValue(QStringLiteral("SEC"), QStringLiteral("K\u0416"), QStringLiteral("v")), ServiceError);
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), before);
    EXPECT_FALSE(velmor::test::existingFileBytes(ini.path()).contains('?'));
}

TEST(IniFileWrite, NamesAndValuesThatWouldBreakTheFileAreRefused)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("a.ini")));
    writeBytes(ini.path(), "[A]\r\nX=1\r\n");
    EXPECT_THROW(ini.setValue(QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("1\r\n[B]")), ServiceError);
    EXPECT_THROW(ini.setValue(QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("1\nY=2")), ServiceError);
    EXPECT_THROW(ini.setValue(QStringLiteral("A"), QStringLiteral("X=Y"), QStringLiteral("1")), ServiceError);
    EXPECT_THROW(ini.setValue(QStringLiteral("A"), QStringLiteral("  "), QStringLiteral("1")), ServiceError);
    EXPECT_THROW(ini.setValue(QStringLiteral(""), QStringLiteral("X"), QStringLiteral("1")), ServiceError);
    EXPECT_THROW(ini.setValue(QStringLiteral("A]B"), QStringLiteral("X"), QStringLiteral("1")), ServiceError);
    EXPECT_EQ(velmor::test::existingFileBytes(ini.path()), QByteArray("[A]\r\nX=1\r\n"));
}

TEST(IniFileWrite, ReadOnlyFileIsAnErrorNamingTheFile)
{
    TempHome home;
    const QString path = home.dataFile(QStringLiteral("Velmor.ini"));
    writeBytes(path, "[A]\r\nX=1\r\n");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    IniFile ini(path);
    try {
        ini.setValue(QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("2"));
        FAIL() << "no error";
    } catch (const ServiceError& e) {
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path))) << e.what();
    }
    EXPECT_EQ(velmor::test::existingFileBytes(path), QByteArray("[A]\r\nX=1\r\n"));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST(IniFileWrite, MissingFolderIsAnErrorNamingTheFile)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/lipsa/Velmor.ini");
    IniFile ini(path);
    try {
        ini.setValue(QStringLiteral("A"), QStringLiteral("X"), QStringLiteral("2"));
        FAIL() << "no error";
    } catch (const ServiceError& e) {
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path))) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(home.home() + QStringLiteral("/lipsa")));
}

TEST(IniFileWrite, LeavesNoTemporaryFilesBehind)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("Velmor.ini")));
    for (int i = 0; i < 5; ++i)
        ini.setValue(QStringLiteral("INDEX"), QStringLiteral("K%1").arg(i), QString::number(i));
    EXPECT_THROW(ini.setValue(QStringLiteral("INDEX"), QStringLiteral("K"), QStringLiteral("\u4e2d")), ServiceError);
    EXPECT_EQ(filesIn(home.data()), QStringList { QStringLiteral("Velmor.ini") });
    EXPECT_EQ(ini.keys(QStringLiteral("INDEX")).size(), 5);
}

TEST(IniDocument, BatchEditsAndSave)
{
    TempHome home;
    IniDocument doc;
    doc.setValue(QStringLiteral("STAT"), QStringLiteral("A"), QStringLiteral("1"));
    doc.setValue(QStringLiteral("STAT"), QStringLiteral("B"), QStringLiteral("2"));
    doc.setValue(QStringLiteral("stat"), QStringLiteral("a"), QStringLiteral("3"));
    EXPECT_EQ(doc.toBytes(), QByteArray("[STAT]\r\nA=3\r\nB=2\r\n"));
    const QString path = home.dataFile(QStringLiteral("x.txt"));
    doc.save(path);
    EXPECT_EQ(IniDocument::load(path).value(QStringLiteral("STAT"), QStringLiteral("B")), QStringLiteral("2"));
    EXPECT_TRUE(IniDocument::load(path).hasSection(QStringLiteral("Stat")));
}

// A name typed with comma-below letters is stored with cedillas; either spelling finds it again
// and a second write replaces the value instead of adding a section.
TEST(IniFileWrite, SectionAndKeyNamesWithCommaBelowMatchTheirStoredForm)
{
    TempHome home;
    IniFile ini(home.dataFile(QStringLiteral("Velmor.ini")));
    const QString commaBelow = QStringLiteral("BURS\u0102 \u0218COLAR\u0102 \u021aARA");
    const QString cedilla = QStringLiteral("BURS\u0102 \u015eCOLAR\u0102 \u0162ARA");
    const QString lower = QStringLiteral("burs\u0103 \u0219colar\u0103 \u021bara");
    for (const QString& name : {commaBelow, cedilla, lower}) {
        ini.setValue(name, QStringLiteral("STARE"), QStringLiteral("1000000000000") + QString::number(name == lower));
        ini.setValue(name, QStringLiteral("MODEL"), QStringLiteral("MODEL 2"));
        ini.setValue(QStringLiteral("CONST"), QStringLiteral("\u021aARA"), QStringLiteral("x"));
    }
    EXPECT_EQ(ini.sections(), (QStringList {cedilla, QStringLiteral("CONST")}));
    EXPECT_EQ(ini.keys(commaBelow), (QStringList {QStringLiteral("STARE"), QStringLiteral("MODEL")}));
    EXPECT_EQ(ini.keys(QStringLiteral("CONST")), QStringList {QStringLiteral("\u0162ARA")});
    for (const QString& name : {commaBelow, cedilla, lower}) {
        EXPECT_EQ(ini.value(name, QStringLiteral("STARE")), QStringLiteral("10000000000001"));
        EXPECT_EQ(ini.value(name, QStringLiteral("model")), QStringLiteral("MODEL 2"));
    }
    EXPECT_EQ(ini.value(QStringLiteral("CONST"), QStringLiteral("\u0163ara")), QStringLiteral("x"));
}

TEST(IniDocumentAppend, SectionAppendedAsKeyByKeyWritesIt)
{
    IniDocument byKey = IniDocument::fromBytes("[A]\r\nX=1\r\n");
    IniDocument appended = byKey;
    const std::vector<std::pair<QString, QString>> entries{{QStringLiteral("K"), QStringLiteral("a\u00BBb")},
                                                           {QStringLiteral("L1"), QStringLiteral(" v ")},
                                                           {QStringLiteral("LINII"), QStringLiteral("1")}};
    for (const auto& [key, value] : entries)
        byKey.setValue(QStringLiteral("CAP"), key, value);
    appended.appendSection(QStringLiteral("CAP"), entries);
    EXPECT_EQ(appended.toBytes(), byKey.toBytes());
    EXPECT_EQ(appended.toBytes(), QByteArray("[A]\r\nX=1\r\n[CAP]\r\nK=a\xBB" "b\r\nL1= v \r\nLINII=1\r\n"));

    // An existing section, a key given twice, a value a line cannot hold: refused, nothing added.
    const QByteArray before = appended.toBytes();
    EXPECT_THROW(appended.appendSection(QStringLiteral("cap"), {{QStringLiteral("Z"), QStringLiteral("1")}}), ServiceError);
    EXPECT_THROW(appended.appendSection(QStringLiteral("B"), {{QStringLiteral("Z"), QStringLiteral("1")}, {QStringLiteral("z"), QStringLiteral("2")}}),
                 ServiceError);
    EXPECT_THROW(appended.appendSection(QStringLiteral("B"), {{QStringLiteral("Z"), QStringLiteral("1\n2")}}), ServiceError);
    EXPECT_EQ(appended.toBytes(), before);
    appended.appendSection(QStringLiteral("B"), {});
    EXPECT_EQ(appended.toBytes(), before + "[B]\r\n");
}
