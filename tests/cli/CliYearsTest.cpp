// Identifiers handed out above those of every year, and per-household verbs that stay in their
// year, run through velmor-cli over a copy of the reference register.

#include "CliRun.h"

#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "services/IniFile.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

using namespace velmor;
using velmor::test::cli;
using velmor::test::CliRun;

namespace {

struct Register {
    test::TempHome home;
    Register() { home.copyFixture(QStringLiteral("register-dbase4")); }

    QString table(const char* name) const { return engine::quotedPath(home.dataFile(QLatin1String(name))); }

    // The rows of a statement, one tab-separated line each.
    QStringList rows(const QString& statement) const
    {
        engine::Engine engine(home.data());
        const engine::ResultSet r = engine.select(statement);
        QStringList lines;
        for (const auto& row : r.rows) {
            QStringList cells;
            for (const dbf::Value& v : row) {
                if (const auto* i = std::get_if<std::int64_t>(&v))
                    cells << QString::number(*i);
                else if (const auto* d = std::get_if<double>(&v))
                    cells << QString::number(*d, 'f', 4);
                else if (const auto* s = std::get_if<QString>(&v))
                    cells << *s;
                else
                    cells << QString();
            }
            lines << cells.join(QLatin1Char('\t'));
        }
        return lines;
    }
    qint64 number(const QString& statement) const { return rows(statement).value(0).toLongLong(); }
    void execute(const QString& statement) const { engine::Engine(home.data()).execute(statement); }

    void setCounter(const char* key, const char* value) const
    {
        IniFile(home.dataFile(QStringLiteral("Velmor.ini"))).setValue(QStringLiteral("INDEX"), QLatin1String(key), QLatin1String(value));
    }

    // Every row of every table that belongs to the year, as text.
    QStringList yearRows(int year) const
    {
        QStringList all;
        const QStringList tables {QStringLiteral("Identificare"), QStringLiteral("Tarlale"), QStringLiteral("OmTarla"),
                                  QStringLiteral("PozeTarla")};
        QStringList names = tables;
        for (int n = 1; n <= 11; ++n)
            names << QStringLiteral("CAP%1").arg(n);
        for (const QString& name : names) {
            const QStringList lines = rows(QStringLiteral("SELECT * FROM ") + engine::quotedPath(home.dataFile(name + QStringLiteral(".dbf")))
                                           + QStringLiteral(" WHERE ANUL=%1").arg(year));
            for (const QString& line : lines)
                all << name + QLatin1Char('\t') + line;
        }
        all.sort();
        return all;
    }
};

}

// A counter that is missing or stale never hands out an identifier an older year holds.
TEST(CliYears, TakeoverIdentifiersLieAboveThoseOfEveryYear)
{
    Register reg;
    reg.setCounter("CODID", "1");
    reg.setCounter("COD1", "1");
    reg.setCounter("CODT", "1");
    const struct {
        const char* kind;
        QStringList tables;
    } kinds[] = {
        {"CODID", {QStringLiteral("Identificare")}},
        {"COD1", {QStringLiteral("CAP1")}},
        {"CODT", {QStringLiteral("Tarlale"), QStringLiteral("OmTarla"), QStringLiteral("PozeTarla")}},
    };
    const auto extreme = [&](const char* function, const char* kind, const QString& condition) {
        qint64 result = -1;
        for (const auto& k : kinds) {
            if (qstrcmp(k.kind, kind) != 0)
                continue;
            for (const QString& t : k.tables) {
                const QStringList found = reg.rows(QStringLiteral("SELECT %1(%2) FROM ").arg(QLatin1String(function), QLatin1String(kind))
                                                   + engine::quotedPath(reg.home.dataFile(t + QStringLiteral(".dbf"))) + QStringLiteral(" WHERE ") + condition);
                if (found.isEmpty() || found[0].isEmpty())
                    continue;
                const qint64 value = found[0].toLongLong();
                result = result < 0 ? value : (qstrcmp(function, "MAX") == 0 ? std::max(result, value) : std::min(result, value));
            }
        }
        return result;
    };
    std::map<std::string, qint64> before;
    for (const auto& k : kinds)
        before[k.kind] = extreme("MAX", k.kind, QStringLiteral("ANUL<2012"));
    const QStringList older = reg.yearRows(2010) + reg.yearRows(2009);

    const CliRun r = cli({QStringLiteral("takeover"), QStringLiteral("--data"), reg.home.data(), QStringLiteral("--year"),
                          QStringLiteral("2012"), QStringLiteral("--home"), reg.home.home()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    for (const auto& k : kinds) {
        ASSERT_GT(before[k.kind], 0) << k.kind;
        EXPECT_EQ(extreme("MIN", k.kind, QStringLiteral("ANUL=2012")), before[k.kind] + 1) << k.kind;
        const IniFile ini(reg.home.dataFile(QStringLiteral("Velmor.ini")));
        EXPECT_EQ(ini.value(QStringLiteral("INDEX"), QLatin1String(k.kind)).toLongLong(),
                  extreme("MAX", k.kind, QStringLiteral("ANUL=2012")) + 1)
            << k.kind;
    }
    EXPECT_EQ(reg.yearRows(2010) + reg.yearRows(2009), older);
    // The scratch table and its memo file are gone.
    EXPECT_FALSE(QFile::exists(reg.home.home() + QStringLiteral("/tmp.dbf")));
    EXPECT_FALSE(QFile::exists(reg.home.home() + QStringLiteral("/tmp.dbt")));
}

// A household of 2011 that carries the identifier of a 2010 household (as older registers may):
// deleting, completing, summarising and recalculating it leave 2010 as it was.
TEST(CliYears, PerHouseholdVerbsStayInTheirYear)
{
    Register reg;
    const qint64 codid = reg.number(QStringLiteral("SELECT MIN(CODID) FROM ") + reg.table("Identificare.dbf") + QStringLiteral(" WHERE ANUL=2010"));
    ASSERT_GT(codid, 0);
    reg.execute(QStringLiteral("INSERT INTO ") + reg.table("Identificare.dbf")
                + QStringLiteral(" (ANUL, CODID, LOCALIT, TIPRA, VOLUM, POZ) VALUES (2011, %1, 'SAT NOU', 1, 90, 1)").arg(codid));
    reg.execute(QStringLiteral("INSERT INTO ") + reg.table("CAP1.dbf")
                + QStringLiteral(" (ANUL, CODID, COD1, NUMEP, COD) VALUES (2011, %1, 99001, 'NOUL VENIT', 1)").arg(codid));
    reg.execute(QStringLiteral("INSERT INTO ") + reg.table("CAP2.dbf")
                + QStringLiteral(" (ANUL, CODID, RAND, CATEG, AHA, AARI) VALUES (2011, %1, 1, 'x', 0, 0)").arg(codid));
    reg.execute(QStringLiteral("INSERT INTO ") + reg.table("Tarlale.dbf")
                + QStringLiteral(" (ANUL, CODID, CODT, CATEG, INTRA, SUPRAF) VALUES (2011, %1, 99002, 'TEREN ARABIL', 'EXTRAVILAN', 1)").arg(codid));
    reg.execute(QStringLiteral("INSERT INTO ") + reg.table("OmTarla.dbf")
                + QStringLiteral(" (ANUL, CODID, CODT, TITULAR) VALUES (2011, %1, 99002, 'NOUL VENIT')").arg(codid));
    const QStringList year2010 = reg.yearRows(2010);
    ASSERT_FALSE(year2010.filter(QStringLiteral("CAP2\t")).isEmpty());

    const QString data = reg.home.data();
    const QString id = QString::number(codid);
    CliRun r = cli({QStringLiteral("chapters"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2011"),
                    QStringLiteral("--household"), id});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(reg.yearRows(2010), year2010);
    EXPECT_EQ(reg.number(QStringLiteral("SELECT COUNT(*) FROM ") + reg.table("CAP2.dbf") + QStringLiteral(" WHERE ANUL=2011 AND CODID=") + id), 12);

    r = cli({QStringLiteral("recalc"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2011"),
             QStringLiteral("--household"), id});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(reg.yearRows(2010), year2010);

    // The summary reads the latest year that has the household.
    r = cli({QStringLiteral("summary"), QStringLiteral("--data"), data, QStringLiteral("--household"), id});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString members = r.out.split(QLatin1Char('\n')).filter(QStringLiteral("TextMembri\t")).value(0);
    EXPECT_TRUE(members.contains(QStringLiteral("NOUL VENIT"))) << members.toStdString();
    const QString head2010 = reg.rows(QStringLiteral("SELECT NUMEP FROM ") + reg.table("CAP1.dbf")
                                      + QStringLiteral(" WHERE ANUL=2010 AND CODID=%1 ORDER BY COD").arg(codid))
                                 .value(0);
    ASSERT_FALSE(head2010.isEmpty());
    EXPECT_FALSE(members.contains(head2010)) << members.toStdString();

    r = cli({QStringLiteral("household-delete"), QStringLiteral("--data"), data, QStringLiteral("--year"), QStringLiteral("2011"),
             QStringLiteral("--codid"), id, QStringLiteral("--home"), reg.home.home()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(reg.yearRows(2011).isEmpty()) << reg.yearRows(2011).join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(reg.yearRows(2010), year2010);
}
