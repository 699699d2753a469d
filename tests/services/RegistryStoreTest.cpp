#include "services/RegistryStore.h"
#include "services/ServiceError.h"

#include "support/TestDirs.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::TempHome;

TEST(RegistryStore, AbsentValueReadsEmpty)
{
    TempHome home;
    RegistryStore reg(home.home() + QStringLiteral("/registry.ini"));
    EXPECT_EQ(reg.Citeste_Reg(QStringLiteral("CaleDate")), QString());
}

TEST(RegistryStore, WrittenValuesPersistAcrossInstances)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/registry.ini");
    {
        RegistryStore reg(path);
        reg.Scrie_Reg(QStringLiteral("CaleDate"), QStringLiteral("\\\\server\\share\\Date"));
        reg.Scrie_Reg(QStringLiteral("CALESALVARI"), QStringLiteral("D:\\Salv\u0103ri"));
        reg.Scrie_Reg(QStringLiteral("Erori"), QString());
    }
    RegistryStore again(path);
    EXPECT_EQ(again.Citeste_Reg(QStringLiteral("CaleDate")), QStringLiteral("\\\\server\\share\\Date"));
    EXPECT_EQ(again.Citeste_Reg(QStringLiteral("CALESALVARI")), QStringLiteral("D:\\Salv\u0103ri"));
    EXPECT_EQ(again.Citeste_Reg(QStringLiteral("Erori")), QString());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(again.location(), path);
}

TEST(RegistryStore, UnwritableStoreIsAnError)
{
    TempHome home;
    // The store's folder would have to be a regular file.
    const QString blocker = home.home() + QStringLiteral("/blocker");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    RegistryStore reg(blocker + QStringLiteral("/registry.ini"));
    EXPECT_THROW(reg.Scrie_Reg(QStringLiteral("VER"), QStringLiteral("1.0")), ServiceError);
    EXPECT_THROW(reg.Scrie_Reg(QString(), QStringLiteral("1.0")), ServiceError);
}

TEST(RegistryStore, DefaultStoreCanBeRedirected)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/redirected.ini");
    RegistryStore::redirectDefault(path);
    {
        RegistryStore reg;
        EXPECT_EQ(reg.location(), path);
        reg.Scrie_Reg(QStringLiteral("VER"), QStringLiteral("Velmor 0.1"));
    }
    EXPECT_EQ(RegistryStore().Citeste_Reg(QStringLiteral("VER")), QStringLiteral("Velmor 0.1"));
    EXPECT_EQ(RegistryStore(path).Citeste_Reg(QStringLiteral("VER")), QStringLiteral("Velmor 0.1"));
    RegistryStore::redirectDefault(QString());
    EXPECT_TRUE(RegistryStore::redirectedDefault().isEmpty());
    // The real store is only named here, never written.
    EXPECT_NE(RegistryStore().location(), path);
}
