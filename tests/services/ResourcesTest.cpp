#include "services/Resources.h"
#include "support/FileBytes.h"

#include "support/TestDirs.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::TempHome;

namespace {

}

TEST(ExtrageResursa, WritesBuiltInResource)
{
    TempHome home;
    const QString path = home.dataFile(QStringLiteral("Model.rtf"));
    EXPECT_TRUE(ExtrageResursa(QStringLiteral("RTF"), QStringLiteral("Model.rtf"), path));
    EXPECT_EQ(velmor::test::existingFileBytes(path), QByteArray("{\\rtf1 Adeverinta [NUME]}\r\n"));
}

TEST(ExtrageResursa, ReplacesExistingFile)
{
    TempHome home;
    const QString path = home.dataFile(QStringLiteral("Model.rtf"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("an older and much longer copy of the template that must disappear entirely");
    }
    EXPECT_TRUE(ExtrageResursa(QStringLiteral("RTF"), QStringLiteral("Model.rtf"), path));
    EXPECT_EQ(velmor::test::existingFileBytes(path), QByteArray("{\\rtf1 Adeverinta [NUME]}\r\n"));
    EXPECT_EQ(QDir(home.data()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(ExtrageResursa, MissingResourceOrUnwritablePathGivesFalse)
{
    TempHome home;
    EXPECT_FALSE(ExtrageResursa(QStringLiteral("RTF"), QStringLiteral("Lipsa.rtf"), home.dataFile(QStringLiteral("x.rtf"))));
    EXPECT_FALSE(QFile::exists(home.dataFile(QStringLiteral("x.rtf"))));
    EXPECT_FALSE(ExtrageResursa(QStringLiteral("XLS"), QStringLiteral("Model.rtf"), home.dataFile(QStringLiteral("x.rtf"))));
    EXPECT_FALSE(ExtrageResursa(QStringLiteral("RTF"), QStringLiteral("Model.rtf"),
                                home.home() + QStringLiteral("/lipsa/Model.rtf")));
    EXPECT_FALSE(ExtrageResursa(QStringLiteral("RTF"), QStringLiteral("Model.rtf"), home.data()));

    const QString readOnly = home.dataFile(QStringLiteral("ro.rtf"));
    {
        QFile f(readOnly);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner);
    EXPECT_FALSE(ExtrageResursa(QStringLiteral("RTF"), QStringLiteral("Model.rtf"), readOnly));
    EXPECT_EQ(velmor::test::existingFileBytes(readOnly), QByteArray("keep"));
}
