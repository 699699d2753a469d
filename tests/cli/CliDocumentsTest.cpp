// velmor-cli recalc, certificate and ragr2 run as programs over a copy of the reference register.

#include "CliRun.h"

#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "support/FileBytes.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QMap>
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

// A selection that names nothing of the year is refused, as chapters refuses, and nothing changes.
TEST(CliDocuments, RecalcRefusesWhatTheYearDoesNotHave)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const struct {
        QStringList options;
        const char* message;
    } cases[] = {
        {{QStringLiteral("--year"), QStringLiteral("2010"), QStringLiteral("--household"), QStringLiteral("424242")},
         "Gospodaria cu CODID 424242 nu exista in anul 2010."},
        {{QStringLiteral("--year"), QStringLiteral("2009"), QStringLiteral("--household"), QStringLiteral("108")},
         "Gospodaria cu CODID 108 nu exista in anul 2009."},
        {{QStringLiteral("--year"), QStringLiteral("2010"), QStringLiteral("--village"), QStringLiteral("NICIUNDE")},
         "Localitatea NICIUNDE nu are gospodarii in anul 2010."},
        {{QStringLiteral("--year"), QStringLiteral("2010"), QStringLiteral("--type"), QStringLiteral("7")},
         "Tipul 7 nu exista; tipurile sunt 1, 2, 3 si 4."},
        {{QStringLiteral("--year"), QStringLiteral("2010"), QStringLiteral("--village"), QStringLiteral("SAT NOU"), QStringLiteral("--volume"),
          QStringLiteral("999")},
         "Nicio gospodarie din anul 2010 nu are volumul si pozitia alese."},
        {{QStringLiteral("--year"), QStringLiteral("2031")}, "Anul 2031 nu are gospodarii."},
    };
    QMap<QString, QByteArray> before;
    for (const QString& name : QDir(home.data()).entryList(QDir::Files)) {
        QFile f(home.dataFile(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        before.insert(name, f.readAll());
    }
    for (const auto& c : cases) {
        const CliRun r = cli(QStringList {QStringLiteral("recalc"), QStringLiteral("--data"), home.data()} + c.options);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    QMap<QString, QByteArray> after;
    for (const QString& name : QDir(home.data()).entryList(QDir::Files)) {
        QFile f(home.dataFile(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        after.insert(name, f.readAll());
    }
    EXPECT_EQ(after, before);
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

// A document that cannot be written leaves the older file of that name and the numbers as they
// were; once written, the numbers move.
TEST(CliDocuments, AFailedDocumentKeepsTheOldOutputAndUsesNoNumber)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const auto put = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    const auto siruta = [&] {
        return QSettings(home.dataFile(QStringLiteral("Velmor.ini")), QSettings::IniFormat).value(QStringLiteral("CONST/SIRUTA")).toString();
    };
    const QString certificate = home.home() + QStringLiteral("/adeverinta.rtf");
    const QString form = home.home() + QStringLiteral("/ragr2.rtf");
    put(certificate, "adeverinta de ieri");
    put(form, "formularul de ieri");
    // Empty models: the documents cannot be made.
    put(home.home() + QStringLiteral("/Adv.rtf"), "");
    put(home.home() + QStringLiteral("/RAGR2.rtf"), "");
    const QString number = counter(home.data(), QStringLiteral("ADEVNR"));
    const QString formNumber = counter(home.data(), QStringLiteral("RAGR2"));
    const QString code = siruta();
    const QStringList certificateRun {QStringLiteral("certificate"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"),
                                      home.home(), QStringLiteral("--household"), QStringLiteral("101"), QStringLiteral("--chapters"),
                                      QStringLiteral("1"), QStringLiteral("--destination"), QStringLiteral("BANCA"), QStringLiteral("--clerk"),
                                      QStringLiteral("POP ANA"), QStringLiteral("--out"), certificate};
    const QStringList formRun {QStringLiteral("ragr2"), QStringLiteral("--data"), home.data(), QStringLiteral("--home"), home.home(),
                               QStringLiteral("--year"), QStringLiteral("2010"), QStringLiteral("--siruta"), QStringLiteral("98765"),
                               QStringLiteral("--number"), QStringLiteral("41"), QStringLiteral("--out"), form};
    CliRun r = cli(certificateRun);
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    r = cli(formRun);
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_EQ(velmor::test::fileBytes(certificate), QByteArray("adeverinta de ieri"));
    EXPECT_EQ(velmor::test::fileBytes(form), QByteArray("formularul de ieri"));
    EXPECT_EQ(counter(home.data(), QStringLiteral("ADEVNR")), number);
    EXPECT_EQ(counter(home.data(), QStringLiteral("RAGR2")), formNumber);
    EXPECT_EQ(siruta(), code);
    EXPECT_TRUE(QDir(home.home()).entryList({QStringLiteral(".*.rtf.*")}, QDir::Files | QDir::Hidden).isEmpty());

    // The delivered models again: both are written, and only now the numbers move.
    QFile::remove(home.home() + QStringLiteral("/Adv.rtf"));
    QFile::remove(home.home() + QStringLiteral("/RAGR2.rtf"));
    r = cli(certificateRun);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(velmor::test::fileBytes(certificate).startsWith("{\\rtf1"));
    EXPECT_EQ(counter(home.data(), QStringLiteral("ADEVNR")).toLongLong(), r.out.trimmed().toLongLong() + 1);
    r = cli(formRun);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(velmor::test::fileBytes(form).startsWith("{\\rtf1"));
    EXPECT_EQ(counter(home.data(), QStringLiteral("RAGR2")), QStringLiteral("42"));
    EXPECT_EQ(siruta(), QStringLiteral("98765"));
}

// A file that cannot be written is told in Romanian, one sentence a line.
TEST(CliDocuments, SystemErrorsAreToldInRomanian)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const CliRun r = cli({QStringLiteral("export"), QStringLiteral("--data"), home.data(), QStringLiteral("--format"), QStringLiteral("csv"),
                          QStringLiteral("--out"), home.home() + QStringLiteral("/nu/exista/lista.csv"),
                          QStringLiteral("SELECT NUMEP FROM \"CAP1.dbf\"")});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.isEmpty());
    for (const char* english : {"No such file", "directory", "Permission", "denied", "Unknown error"})
        EXPECT_FALSE(r.err.contains(QLatin1String(english), Qt::CaseInsensitive)) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QLatin1Char('\r')));
}
