#include "tariffs/LocalTariffs.h"
#include "services/Settings.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace velmor;

TEST(LocalTariffs, LabelsColumnsAndUnits)
{
    EXPECT_EQ(LocalTariffs::key(1), QStringLiteral("Tariful1"));
    EXPECT_EQ(LocalTariffs::key(16), QStringLiteral("Tariful16"));
    EXPECT_EQ(LocalTariffs::label(1), QStringLiteral("Teren arabil"));
    EXPECT_EQ(LocalTariffs::column(1), QStringLiteral("Intravilan"));
    EXPECT_EQ(LocalTariffs::label(12), QStringLiteral("Teren arabil"));
    EXPECT_EQ(LocalTariffs::column(12), QStringLiteral("Extravilan"));
    EXPECT_EQ(LocalTariffs::label(5), QStringLiteral("Fond forestier"));
    EXPECT_EQ(LocalTariffs::label(16), QStringLiteral("Fond forestier"));
    EXPECT_EQ(LocalTariffs::unit(5), QStringLiteral("lei / ha"));
    EXPECT_EQ(LocalTariffs::label(6), QStringLiteral("Bovine"));
    EXPECT_EQ(LocalTariffs::unit(10), QStringLiteral("lei / cap"));
    EXPECT_EQ(LocalTariffs::label(10), QStringLiteral("Pasari"));
    EXPECT_EQ(LocalTariffs::label(11), QStringLiteral("Albine"));
    EXPECT_EQ(LocalTariffs::unit(11), QStringLiteral("lei / fam."));
    EXPECT_TRUE(LocalTariffs::column(11).isEmpty());
}

TEST(LocalTariffs, StoredTextsAsNumbers)
{
    EXPECT_EQ(LocalTariffs::parseStored(QStringLiteral("12.5")), 12.5);
    EXPECT_EQ(LocalTariffs::parseStored(QStringLiteral(" 300 ")), 300.0);
    EXPECT_EQ(LocalTariffs::parseStored(QString()), 0.0);
    EXPECT_EQ(LocalTariffs::parseStored(QStringLiteral("abc")), 0.0);
    EXPECT_EQ(LocalTariffs::parseStored(QStringLiteral("12,5")), 0.0);
    EXPECT_EQ(LocalTariffs::parseStored(QStringLiteral("1,000")), 0.0);
    EXPECT_EQ(LocalTariffs::parseStored(QStringLiteral("nan")), 0.0);
    EXPECT_EQ(LocalTariffs::parseStored(QStringLiteral("inf")), 0.0);
}

TEST(LocalTariffs, ShortestForms)
{
    EXPECT_EQ(LocalTariffs::formatForField(12.5), QStringLiteral("12.5"));
    EXPECT_EQ(LocalTariffs::formatForField(0), QStringLiteral("0"));
    EXPECT_EQ(LocalTariffs::formatForField(300), QStringLiteral("300"));
    EXPECT_EQ(LocalTariffs::formatForField(1.23456), QStringLiteral("1.2346"));
    EXPECT_EQ(LocalTariffs::formatForStore(120.5), QStringLiteral("120.5"));
    EXPECT_EQ(LocalTariffs::formatForStore(0.00004), QStringLiteral("0"));
    EXPECT_EQ(LocalTariffs::formatForStore(2.00005), QStringLiteral("2.0001"));
    EXPECT_EQ(LocalTariffs::formatForStore(999999.99), QStringLiteral("999999.99"));
    EXPECT_EQ(LocalTariffs::formatForStore(-0.0), QStringLiteral("0"));
}

TEST(LocalTariffs, NothingStoredReadsAsZeros)
{
    QTemporaryDir dir;
    Settings settings(dir.path());
    const LocalTariffs::Values values = LocalTariffs(settings).load();
    for (double v : values.tariffs)
        EXPECT_EQ(v, 0.0);
    EXPECT_TRUE(values.hotarare.isEmpty());
}

TEST(LocalTariffs, SaveAndLoadRoundTrip)
{
    QTemporaryDir dir;
    Settings settings(dir.path());
    LocalTariffs::Values values;
    values.tariffs[0] = 12.5;
    values.tariffs[5] = 300;
    values.tariffs[15] = 7.25;
    values.hotarare = QStringLiteral("HCL 12/2010");
    LocalTariffs(settings).save(values);
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("Tariful1")), QStringLiteral("12.5"));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("Tariful2")), QStringLiteral("0"));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("Tariful6")), QStringLiteral("300"));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("Tariful16")), QStringLiteral("7.25"));
    EXPECT_EQ(settings.Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("HOTARARE")), QStringLiteral("HCL 12/2010"));

    Settings restarted(dir.path());
    const LocalTariffs::Values read = LocalTariffs(restarted).load();
    EXPECT_EQ(read.tariffs, values.tariffs);
    EXPECT_EQ(read.hotarare, values.hotarare);
}
