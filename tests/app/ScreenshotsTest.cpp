#include "app/Screenshots.h"
#include "services/RegistryStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace velmor;

TEST(Screenshots, EveryWindowIsRenderedIntoAFileNamedAfterIt)
{
    QTemporaryDir dir;
    RegistryStore::redirectDefault(dir.path() + QStringLiteral("/registry.ini"));
    const QString home = dir.path() + QStringLiteral("/home");
    QDir().mkpath(home);
    const QString out = dir.path() + QStringLiteral("/shots");
    QStringList written;
    QStringList log;
    const int code = takeScreenshots(home, out, &written, &log);
    RegistryStore::redirectDefault(QString());

    EXPECT_EQ(code, 0) << log.join(QLatin1Char('\n')).toStdString();
    const QStringList expected {QStringLiteral("TForm1"), QStringLiteral("TForm3"), QStringLiteral("PopupMenu1"),
                                QStringLiteral("PopupMenu2"), QStringLiteral("Hint1"), QStringLiteral("TErori_Atentie"),
                                QStringLiteral("TErori_Eroare"), QStringLiteral("TErori_Informatie"),
                                QStringLiteral("TErori_Confirmare"), QStringLiteral("TContor"), QStringLiteral("TForm5"),
                                QStringLiteral("TForm21"), QStringLiteral("TFTarife"), QStringLiteral("TForm4_1"),
                                QStringLiteral("TForm4_2"), QStringLiteral("TForm4_3"), QStringLiteral("TForm6_0"),
                                QStringLiteral("TForm6_13"), QStringLiteral("TTarlaF"), QStringLiteral("TRecalcSelect"),
                                QStringLiteral("TForm39"), QStringLiteral("TForm7_0"),
                                QStringLiteral("TRecensamantF"), QStringLiteral("TTarlaC")};
    for (const QString& name : expected) {
        const QString path = out + QLatin1Char('/') + name + QStringLiteral(".png");
        EXPECT_TRUE(written.contains(path)) << name.toStdString();
        const QImage image(path);
        EXPECT_FALSE(image.isNull()) << name.toStdString();
    }
    EXPECT_FALSE(QImage(out + QStringLiteral("/TForm33.png")).isNull());
    EXPECT_FALSE(QImage(out + QStringLiteral("/TForm38.png")).isNull());
    // The start-up ran on the home.
    EXPECT_TRUE(QFileInfo::exists(home + QStringLiteral("/Data/Identificare.dbf")));
}

TEST(Screenshots, UnwritableTargetFails)
{
    QTemporaryDir dir;
    RegistryStore::redirectDefault(dir.path() + QStringLiteral("/registry.ini"));
    QFile blocker(dir.path() + QStringLiteral("/file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QStringList log;
    const int code = takeScreenshots(dir.path() + QStringLiteral("/home"), dir.path() + QStringLiteral("/file/shots"),
                                     nullptr, &log);
    RegistryStore::redirectDefault(QString());
    EXPECT_EQ(code, 1);
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.front().startsWith(QStringLiteral("Nu pot crea directorul")));
}

TEST(Screenshots, HouseholdPagesAndDialogsShowTheHomesRegister)
{
    QTemporaryDir dir;
    RegistryStore::redirectDefault(dir.path() + QStringLiteral("/registry.ini"));
    const QString home = dir.path() + QStringLiteral("/home");
    QDir().mkpath(home + QStringLiteral("/Data"));
    const QDir fixture(QStringLiteral(VELMOR_FIXTURES_DIR) + QStringLiteral("/register-dbase4"));
    for (const QString& name : fixture.entryList(QDir::Files)) {
        ASSERT_TRUE(QFile::copy(fixture.filePath(name), home + QStringLiteral("/Data/") + name));
        QFile::setPermissions(home + QStringLiteral("/Data/") + name, QFile::ReadOwner | QFile::WriteOwner);
    }
    const QString out = dir.path() + QStringLiteral("/shots");
    QStringList written;
    QStringList log;
    const int code = takeScreenshots(home, out, &written, &log);
    RegistryStore::redirectDefault(QString());
    EXPECT_EQ(code, 0) << log.join(QLatin1Char('\n')).toStdString();
    for (const char* name : {"TForm6_0", "TForm6_1", "TForm6_2", "TForm32", "TForm35", "TForm36", "TForm7_0", "TForm7_1",
                             "TForm7_2", "TForm7_3", "TForm7_4", "TForm7_5", "TForm7_6", "TForm7_7", "TForm7_8", "TForm7_9",
                             "TForm7_10", "TForm8", "TForm37", "TForm9", "TListLocNr"}) {
        const QString path = out + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".png");
        EXPECT_TRUE(written.contains(path)) << name;
        EXPECT_FALSE(QImage(path).isNull()) << name;
    }
}
