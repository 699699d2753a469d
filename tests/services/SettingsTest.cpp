#include "services/ServiceError.h"
#include "support/FileBytes.h"
#include "services/Settings.h"

#include "support/TestDirs.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::TempHome;

namespace {

}

TEST(Settings, ReadsAndWritesVelmorIniOfTheDataDirectory)
{
    TempHome home;
    Settings settings(home.data());
    EXPECT_EQ(settings.iniPath(), home.dataFile(QStringLiteral("Velmor.ini")));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("SIRUTA")), QString());
    settings.Scrie_Ini(QStringLiteral("CONST"), QStringLiteral("SIRUTA"), QStringLiteral("1234"));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("const"), QStringLiteral("siruta")), QStringLiteral("1234"));
    EXPECT_EQ(velmor::test::existingFileBytes(home.dataFile(QStringLiteral("Velmor.ini"))), QByteArray("[CONST]\r\nSIRUTA=1234\r\n"));
}

TEST(Settings, UsesExistingFileWhoseNameDiffersInCase)
{
    TempHome home;
    QFile f(home.dataFile(QStringLiteral("VELMOR.INI")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[CONSTANTE]\r\nJUDET=ALBA\r\n");
    f.close();
    Settings settings(home.data());
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("JUDET")), QStringLiteral("ALBA"));
}

TEST(Settings, ReadsForeignRegister)
{
    TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    Settings settings(home.data());
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("JUDET")), QStringLiteral("ALBA"));
    EXPECT_EQ(settings.CodExistent(QStringLiteral("CODID")), QStringLiteral("109"));
    EXPECT_EQ(settings.CodNou(QStringLiteral("ADEVNR")), QStringLiteral("17"));
    EXPECT_EQ(settings.CodExistent(QStringLiteral("ADEVNR")), QStringLiteral("18"));
}

TEST(Counters, CodNouOnAbsentCounterStartsAtOne)
{
    TempHome home;
    Settings settings(home.data());
    EXPECT_EQ(settings.CodNou(QStringLiteral("CODID")), QStringLiteral("1"));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID")), QStringLiteral("2"));
    EXPECT_EQ(settings.CodNou(QStringLiteral("CODID")), QStringLiteral("2"));
    EXPECT_EQ(settings.CodNou(QStringLiteral("CODID")), QStringLiteral("3"));
    EXPECT_EQ(settings.CodExistent(QStringLiteral("CODID")), QStringLiteral("4"));
    // Counters are independent.
    EXPECT_EQ(settings.CodNou(QStringLiteral("COD1")), QStringLiteral("1"));
    EXPECT_EQ(settings.CodExistent(QStringLiteral("CODID")), QStringLiteral("4"));
}

TEST(Counters, CodNouOnEmptyCounterStartsAtOne)
{
    TempHome home;
    Settings settings(home.data());
    settings.Scrie_Ini(QStringLiteral("INDEX"), QStringLiteral("CODT"), QString());
    EXPECT_EQ(settings.CodExistent(QStringLiteral("CODT")), QStringLiteral("1"));
    EXPECT_EQ(settings.CodNou(QStringLiteral("CODT")), QStringLiteral("1"));
    EXPECT_EQ(settings.CodExistent(QStringLiteral("CODT")), QStringLiteral("2"));
}

TEST(Counters, CodNouOnNonIntegerRaisesAndLeavesCounter)
{
    TempHome home;
    Settings settings(home.data());
    for (const QString& bad : { QStringLiteral("12a"), QStringLiteral("1.5"), QStringLiteral("abc"),
                                QStringLiteral("99999999999999999999"), QStringLiteral("-") }) {
        settings.Scrie_Ini(QStringLiteral("INDEX"), QStringLiteral("COD1"), bad);
        const QByteArray before = velmor::test::existingFileBytes(settings.iniPath());
        EXPECT_THROW(settings.CodNou(QStringLiteral("COD1")), ServiceError) << bad.toStdString();
        EXPECT_EQ(velmor::test::existingFileBytes(settings.iniPath()), before);
        EXPECT_EQ(settings.CodExistent(QStringLiteral("COD1")), bad);
    }
}

TEST(Counters, CodNouReturnsStoredTextAndStoresItsSuccessor)
{
    TempHome home;
    Settings settings(home.data());
    settings.Scrie_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID"), QStringLiteral("  9999999999 "));
    EXPECT_EQ(settings.CodNou(QStringLiteral("CODID")), QStringLiteral("9999999999"));
    EXPECT_EQ(settings.CodExistent(QStringLiteral("CODID")), QStringLiteral("10000000000"));
}

TEST(Counters, SetCodStoresSuccessorOrOne)
{
    TempHome home;
    Settings settings(home.data());
    settings.SetCod(QStringLiteral("CODID"), QStringLiteral("41"));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID")), QStringLiteral("42"));
    settings.SetCod(QStringLiteral("CODID"), QStringLiteral("nu e numar"));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID")), QStringLiteral("1"));
    settings.SetCod(QStringLiteral("CODID"), QString());
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID")), QStringLiteral("1"));
    settings.SetCod(QStringLiteral("CODID"), QStringLiteral("-1"));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID")), QStringLiteral("0"));
    settings.SetCod(QStringLiteral("CODID"), QStringLiteral("12.0"));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID")), QStringLiteral("1"));
}

TEST(Counters, MissingDataDirectoryIsAnError)
{
    TempHome home;
    Settings settings(home.home() + QStringLiteral("/nu-exista"));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID")), QString());
    EXPECT_THROW(settings.CodNou(QStringLiteral("CODID")), ServiceError);
    EXPECT_THROW(settings.SetCod(QStringLiteral("CODID"), QStringLiteral("5")), ServiceError);
}

TEST(ParseInteger, Bounds)
{
    qint64 v = 0;
    EXPECT_TRUE(parseInteger(QStringLiteral("9223372036854775807"), v));
    EXPECT_EQ(v, std::numeric_limits<qint64>::max());
    EXPECT_TRUE(parseInteger(QStringLiteral("-9223372036854775808"), v));
    EXPECT_EQ(v, std::numeric_limits<qint64>::min());
    EXPECT_FALSE(parseInteger(QStringLiteral("9223372036854775808"), v));
    EXPECT_FALSE(parseInteger(QStringLiteral("+"), v));
    EXPECT_TRUE(parseInteger(QStringLiteral("+7"), v));
    EXPECT_EQ(v, 7);
}

TEST(Settings, WithoutDataDirectoryNothingIsReadOrWrittenInTheCurrentFolder)
{
    Settings settings;
    EXPECT_THROW(settings.iniPath(), ServiceError);
    EXPECT_THROW(settings.Citeste_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID")), ServiceError);
    EXPECT_THROW(settings.Scrie_Ini(QStringLiteral("INDEX"), QStringLiteral("CODID"), QStringLiteral("1")), ServiceError);
    EXPECT_THROW(settings.CodNou(QStringLiteral("CODID")), ServiceError);
    EXPECT_FALSE(QFile::exists(QStringLiteral("Velmor.ini")));
}
