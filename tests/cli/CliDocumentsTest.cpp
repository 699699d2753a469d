// velmor-cli recalc, certificate and ragr2 run as programs over a copy of the reference register.

#include "CliRun.h"

#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "support/TestDirs.h"

#include <QFile>
#include <QProcess>
#include <QSettings>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::cli;
using velmor::test::CliRun;

namespace {

QString counter(const QString& data, const QString& key)
{
    return QSettings(data + QStringLiteral("/Velmor.ini"), QSettings::IniFormat).value(QStringLiteral("INDEX/") + key).toString();
}

}

TEST(CliDocuments, RecalcCountsRecalculatedAndSkippedHouseholds)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    CliRun r = cli({QStringLiteral("recalc"), QStringLiteral("--data"), home.data(), QStringLiteral("--year"), QStringLiteral("2010")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("recalculated\t")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("skipped\t")));
    const int total = lines[0].section(QLatin1Char('\t'), 1).toInt() + lines[1].section(QLatin1Char('\t'), 1).toInt();
    engine::Engine engine(home.data());
    const auto households = engine.select(QStringLiteral("SELECT COUNT(DISTINCT CODID) FROM ")
                                          + engine::quotedPath(home.data() + QStringLiteral("/Identificare.dbf")) + QStringLiteral(" WHERE ANUL=2010"));
    EXPECT_EQ(total, std::get<std::int64_t>(households.rows.at(0).at(0)));

    // One household, and the refusals.
    r = cli({QStringLiteral("recalc"), QStringLiteral("--data"), home.data(), QStringLiteral("--year"), QStringLiteral("2010"),
             QStringLiteral("--household"), QStringLiteral("101")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("recalculated\t1\nskipped\t0\n"));
    r = cli({QStringLiteral("recalc"), QStringLiteral("--data"), home.data(), QStringLiteral("--year"), QStringLiteral("2010"),
             QStringLiteral("--household"), QStringLiteral("101"), QStringLiteral("--village"), QStringLiteral("SAT NOU")});
    EXPECT_EQ(r.status, 2);
    r = cli({QStringLiteral("recalc"), QStringLiteral("--data"), home.data() + QStringLiteral("/lipsa"), QStringLiteral("--year"),
             QStringLiteral("2010")});
    EXPECT_EQ(r.status, 1);
}

TEST(CliDocuments, CertificateAndFormTakeAndStoreTheirNumbers)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QString before = counter(home.data(), QStringLiteral("ADEVNR"));
    const QString out = home.home() + QStringLiteral("/adeverinta.rtf");
    CliRun r = cli({QStringLiteral("certificate"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home(),
                    QStringLiteral("--household"), QStringLiteral("101"), QStringLiteral("--chapters"), QStringLiteral("1,12"),
                    QStringLiteral("--destination"), QStringLiteral("BANCA \"X\""), QStringLiteral("--clerk"), QStringLiteral("POP ANA"),
                    QStringLiteral("--out"), out});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), before.isEmpty() ? QStringLiteral("1") : before);
    EXPECT_EQ(counter(home.data(), QStringLiteral("ADEVNR")).toLongLong(), r.out.trimmed().toLongLong() + 1);
    QFile document(out);
    ASSERT_TRUE(document.open(QIODevice::ReadOnly));
    EXPECT_TRUE(document.readAll().startsWith("{\\rtf1"));

    // A chapter position out of range is refused before anything is written.
    r = cli({QStringLiteral("certificate"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home(),
             QStringLiteral("--household"), QStringLiteral("101"), QStringLiteral("--chapters"), QStringLiteral("15"),
             QStringLiteral("--destination"), QStringLiteral("BANCA"), QStringLiteral("--out"), out});
    EXPECT_EQ(r.status, 2);

    const QString form = home.home() + QStringLiteral("/ragr2.rtf");
    r = cli({QStringLiteral("ragr2"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home(), QStringLiteral("--year"),
             QStringLiteral("2010"), QStringLiteral("--siruta"), QStringLiteral("1234"), QStringLiteral("--number"), QStringLiteral("41"),
             QStringLiteral("--date"), QStringLiteral("01.02.2026"), QStringLiteral("--out"), form});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QStringLiteral("41"));
    EXPECT_EQ(counter(home.data(), QStringLiteral("RAGR2")), QStringLiteral("42"));
    EXPECT_TRUE(QFile::exists(form));
}
