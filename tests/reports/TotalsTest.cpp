// The totals over a register: worked examples of the rules (areas, extravilan, houses, deceased
// members, missing birth dates, the species walk, filter texts), the reference register, values with
// quotes and totals larger than a chapter column.

#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "reports/Totals.h"
#include "services/ScriptedInteraction.h"
#include "support/EmptyRegister.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace velmor;
using engine::quotedPath;
using reports::Totals;
using reports::TotalsFilter;
using reports::TotalsTable;

namespace {

// An empty register of year 2010 with households added by the cases.
class Register : public test::EmptyRegister {
public:

    void household(std::int64_t codid, const QString& village, int type = 1, int volume = 1, int position = 1)
    {
        engine::Parameters p;
        p.bind(QStringLiteral("CODID"), codid);
        p.bind(QStringLiteral("LOCALIT"), village);
        p.bind(QStringLiteral("TIPRA"), std::int64_t(type));
        p.bind(QStringLiteral("VOLUM"), std::int64_t(volume));
        p.bind(QStringLiteral("POZ"), std::int64_t(position));
        engine.execute(QStringLiteral("INSERT INTO ") + table("Identificare.dbf")
                           + QStringLiteral(" (ANUL, CODID, LOCALIT, TIPRA, VOLUM, POZ) VALUES (2010, :CODID, :LOCALIT, :TIPRA, :VOLUM, :POZ)"),
                       p);
    }
    void member(std::int64_t codid, const QString& name, int sex, const QDate& born, const QString& remarks)
    {
        engine::Parameters p;
        p.bind(QStringLiteral("CODID"), codid);
        p.bind(QStringLiteral("NUMEP"), name);
        p.bind(QStringLiteral("CODSEX"), std::int64_t(sex));
        p.bind(QStringLiteral("DATAN"), born.isValid() ? dbf::Value(born) : dbf::Value());
        p.bind(QStringLiteral("MENTIUNI"), remarks);
        engine.execute(QStringLiteral("INSERT INTO ") + table("CAP1.dbf")
                           + QStringLiteral(" (ANUL, CODID, NUMEP, CODSEX, DATAN, MENTIUNI) VALUES (2010, :CODID, :NUMEP, :CODSEX, :DATAN, :MENTIUNI)"),
                       p);
    }
    // Chapter 2 row: total A and intravilan I pairs.
    void land(std::int64_t codid, int row, int aha, double aari, int iha = 0, double iari = 0)
    {
        engine::Parameters p;
        p.bind(QStringLiteral("CODID"), codid);
        p.bind(QStringLiteral("RAND"), std::int64_t(row));
        p.bind(QStringLiteral("AHA"), std::int64_t(aha));
        p.bind(QStringLiteral("AARI"), aari);
        p.bind(QStringLiteral("IHA"), std::int64_t(iha));
        p.bind(QStringLiteral("IARI"), iari);
        engine.execute(QStringLiteral("INSERT INTO ") + table("CAP2.dbf")
                           + QStringLiteral(" (ANUL, CODID, CATEG, RAND, AHA, AARI, BHA, BARI, CHA, CARI, IHA, IARI) "
                                            "VALUES (2010, :CODID, 'Teren', :RAND, :AHA, :AARI, 0, 0, 0, 0, :IHA, :IARI)"),
                       p);
    }
    void use(std::int64_t codid, int row, int ha, double ari)
    {
        engine::Parameters p;
        p.bind(QStringLiteral("CODID"), codid);
        p.bind(QStringLiteral("RAND"), std::int64_t(row));
        p.bind(QStringLiteral("HA"), std::int64_t(ha));
        p.bind(QStringLiteral("ARI"), ari);
        engine.execute(QStringLiteral("INSERT INTO ") + table("CAP3.dbf")
                           + QStringLiteral(" (ANUL, CODID, CATEG, RAND, HA, ARI) VALUES (2010, :CODID, 'Utilizata', :RAND, :HA, :ARI)"),
                       p);
    }
    void building(std::int64_t codid, int row, double detail)
    {
        engine::Parameters p;
        p.bind(QStringLiteral("CODID"), codid);
        p.bind(QStringLiteral("RAND"), std::int64_t(row));
        p.bind(QStringLiteral("DETALII"), detail);
        engine.execute(QStringLiteral("INSERT INTO ") + table("CAP10.dbf")
                           + QStringLiteral(" (ANUL, CODID, RAND, UM, DETALII) VALUES (2010, :CODID, :RAND, 'mp', :DETALII)"),
                       p);
    }
    void movement(std::int64_t codid, int row, int first, int second)
    {
        engine::Parameters p;
        p.bind(QStringLiteral("CODID"), codid);
        p.bind(QStringLiteral("RAND"), std::int64_t(row));
        p.bind(QStringLiteral("S1"), std::int64_t(first));
        p.bind(QStringLiteral("S2"), std::int64_t(second));
        p.bind(QStringLiteral("CATEG"), QStringLiteral("Rand %1").arg(row));
        engine.execute(QStringLiteral("INSERT INTO ") + table("CAP8.dbf")
                           + QStringLiteral(" (ANUL, CODID, CATEG, RAND, SEM_1, SEM_2) VALUES (2010, :CODID, :CATEG, :RAND, :S1, :S2)"),
                       p);
    }

    QString totals(TotalsTable table, const TotalsFilter& filter = {})
    {
        Totals totals(engine, home.data(), home.home(), 2010);
        totals.build(filter);
        const QString text = reports::totalsTsv(totals.page(table));
        totals.removeTables();
        return text;
    }
};

QString tsv(std::initializer_list<const char*> lines)
{
    QString text;
    for (const char* line : lines)
        text += QString::fromUtf8(line) + QLatin1Char('\n');
    return text;
}

}

TEST(Totals, WorkedExamples)
{
    struct Case {
        const char* name;
        std::function<void(Register&)> fill;
        TotalsTable table;
        TotalsFilter filter;
        QString expected;
    };
    TotalsFilter women;
    women.sex = 2;
    const Case cases[] = {
        {"areas add up in whole square metres",
         [](Register& r) {
             r.household(1, QStringLiteral("SAT NOU"));
             r.household(2, QStringLiteral("SAT NOU"), 1, 1, 2);
             r.land(1, 1, 3, 150);
             r.land(2, 1, 0, 75);
             r.land(1, 8, 1, 50.25);
             r.land(2, 8, 0, 0.01);
         },
         TotalsTable::Chapter2, {},
         tsv({"CATEG\tRAND\tAHA\tAARI\tBHA\tBARI\tCHA\tCARI\tIHA\tIARI\tEHA\tEARI",
              "Teren\t1\t5\t25\t0\t0\t0\t0\t0\t0\t5\t25",
              "Teren\t8\t1\t50.26\t0\t0\t0\t0\t0\t0\t1\t50.26"})},
        {"extravilan is the total less intravilan, truncated toward zero",
         [](Register& r) {
             r.household(1, QStringLiteral("SAT NOU"));
             r.land(1, 1, 2, 0, 2, 50);
         },
         TotalsTable::Chapter2, {},
         tsv({"CATEG\tRAND\tAHA\tAARI\tBHA\tBARI\tCHA\tCARI\tIHA\tIARI\tEHA\tEARI",
              "Teren\t1\t2\t0\t0\t0\t0\t0\t2\t50\t0\t-50"})},
        {"house rows 1, 4, 7 and 10 are one line in mp; sums beyond a chapter column",
         [](Register& r) {
             r.household(1, QStringLiteral("SAT NOU"));
             r.household(2, QStringLiteral("SAT NOU"), 1, 1, 2);
             r.building(1, 1, 120);
             r.building(1, 4, 80);
             r.building(2, 2, 1975);
             r.building(1, 13, 99999.99);
             r.building(2, 13, 60000.01);
         },
         TotalsTable::Chapter10, {},
         tsv({"CATEG\tRAND\tUM\tD1", "Case de locuit\t1\tmp\t200", "Grajduri\t13\tmp\t160000"})},
        {"deceased members in any letter case are left out; no birth date shows a dash",
         [](Register& r) {
             r.household(1, QStringLiteral("SAT NOU"));
             r.member(1, QStringLiteral("ALB ANA"), 2, QDate(1950, 2, 3), QStringLiteral("mama"));
             r.member(1, QStringLiteral("ALB ION"), 1, QDate(), QString());
             r.member(1, QStringLiteral("ALB VASILE"), 1, QDate(1920, 1, 1), QStringLiteral("Decedat in 2009"));
             r.member(1, QStringLiteral("ALB MARIA"), 2, QDate(1925, 1, 1), QStringLiteral("decedata"));
             r.member(1, QStringLiteral("ALB DAN"), 1, QDate(1990, 1, 1), QStringLiteral("DECEDAT"));
         },
         TotalsTable::Population, {},
         tsv({"LOCALIT\tNUMEP\tCODSEX\tCNP\tDATAS\tVOLUM\tPOZ", "SAT NOU\tALB ANA\t2\t\t03.02.1950\t1\t1",
              "SAT NOU\tALB ION\t1\t\t     -\t1\t1"})},
        {"the member filter keeps one sex",
         [](Register& r) {
             r.household(1, QStringLiteral("SAT NOU"));
             r.member(1, QStringLiteral("ALB ANA"), 2, QDate(1950, 2, 3), QString());
             r.member(1, QStringLiteral("ALB ION"), 1, QDate(1951, 2, 3), QString());
         },
         TotalsTable::Population, women,
         tsv({"LOCALIT\tNUMEP\tCODSEX\tCNP\tDATAS\tVOLUM\tPOZ", "SAT NOU\tALB ANA\t2\t\t03.02.1950\t1\t1"})},
        {"species walk: a missing closing row carries its sums into the next species",
         [](Register& r) {
             r.household(1, QStringLiteral("SAT NOU"));
             r.movement(1, 1, 5, 1);
             r.movement(1, 4, 2, 0);
             r.movement(1, 7, 1, 0);
             r.movement(1, 14, 3, 3);
             r.movement(1, 21, 4, 0);
             r.movement(1, 12, 100, 100);
             r.movement(1, 27, 0, 1);
         },
         TotalsTable::Chapter8Net, {}, tsv({"CATEG\tSEM_1\tSEM_2", "Bovine\t2\t1", "Caprine\t7\t2"})},
        {"chapter 3 keeps four decimals",
         [](Register& r) {
             r.household(1, QStringLiteral("SAT NOU"));
             r.use(1, 1, 1, 0.25);
             r.use(1, 15, 0, 150.5);
         },
         TotalsTable::Chapter3, {}, tsv({"CATEG\tRAND\tD1", "Utilizata\t1\t1.0025", "Utilizata\t15\t1.505"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Register r;
        c.fill(r);
        EXPECT_EQ(r.totals(c.table, c.filter).toStdString(), c.expected.toStdString());
    }
}

TEST(Totals, FormTexts)
{
    TotalsFilter filter;
    EXPECT_EQ(Totals::filterDescription(filter), QString());
    EXPECT_EQ(Totals::populationLine(filter), QString());
    filter.village = QStringLiteral("SAT NOU");
    filter.type = 1;
    EXPECT_EQ(Totals::filterDescription(filter), QStringLiteral("LOCALIT : SAT NOU TIP : 1"));
    filter.volume = 3;
    EXPECT_EQ(Totals::filterDescription(filter), QStringLiteral("LOCALIT : SAT NOU TIP : 1 VOLUM : 3"));
    filter.sex = 2;
    EXPECT_EQ(Totals::populationLine(filter), QStringLiteral("persoane de sex Feminin"));
    filter.anyBirthDate = false;
    filter.bornFrom = QDate(1950, 1, 1);
    filter.bornTo = QDate(1960, 12, 31);
    EXPECT_EQ(Totals::populationLine(filter), QStringLiteral("persoane nascute in perioada 01.01.1950 - 31.12.1960, de sex Feminin"));
    filter.sex = 0;
    EXPECT_EQ(Totals::populationLine(filter), QStringLiteral("persoane nascute in perioada 01.01.1950 - 31.12.1960"));
    EXPECT_EQ(Totals::yearLine(TotalsTable::Chapter2, 2010), QStringLiteral("ANUL : 2010"));
    EXPECT_EQ(Totals::yearLine(TotalsTable::Chapter7, 2010), QStringLiteral("2010"));
    EXPECT_EQ(Totals::householdFilterText(2010, {QStringLiteral("CAPU' DEALULUI"), 2, 4}),
              QStringLiteral("(ANUL=2010) AND (LOCALIT=%1) AND (TIPRA=2) AND (VOLUM=4)")
                  .arg(engine::filterText(QStringLiteral("CAPU' DEALULUI"))));
}

TEST(Totals, ReferenceRegister)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    engine::Engine engine(home.data());
    Totals totals(engine, home.data(), home.home(), 2010);
    ScriptedInteraction ui;
    totals.build({}, &ui);
    EXPECT_EQ(ui.progressLabels(),
              (QStringList{QStringLiteral("Calculez CAP1. ..."), QStringLiteral("Calculez CAP.2 ..."), QStringLiteral("Calculez CAP.4 ..."),
                           QStringLiteral("Calculez CAP 5. ..."), QStringLiteral("Calculez CAP.6 ..."), QStringLiteral("Calculez CAP 7. ..."),
                           QStringLiteral("Calculez CAP.8 ..."), QStringLiteral("Calculez CAP9. ..."), QStringLiteral("Calculez CAP 10. ...")}));

    // Row 1: 1 ha 50.25 ari (50 ari inside) of 101, 60 ari of 102, 3 ha elsewhere of 105; the year
    // 2009 household 1 is not counted. Row 12: 3 ha 75.25 ari (65 inside) and 60 ari.
    const QString land = reports::totalsTsv(totals.page(TotalsTable::Chapter2));
    EXPECT_TRUE(land.contains(QStringLiteral("\nTeren arabil\t1\t2\t10.25\t2\t10.25\t3\t0\t0\t50\t1\t60.25\n"))) << land.toStdString();
    EXPECT_TRUE(land.contains(QStringLiteral("\t12\t4\t35.25\t4\t35.25\t3\t0\t0\t65\t3\t70.25\n"))) << land.toStdString();
    const QString people = reports::totalsTsv(totals.page(TotalsTable::Population));
    EXPECT_TRUE(people.contains(QStringLiteral("ŢĂRAN GHEORGHE")));
    EXPECT_FALSE(people.contains(QStringLiteral("ŞTEFANA")));
    EXPECT_TRUE(people.contains(QStringLiteral("SAT NOU\tIONESCU VASILE\t1\t\t     -\t1\t4")));

    // The temporary tables are in the work folder and go when removed.
    for (const char* name : {"T2.dbf", "Rapt1.dbf", "Rap2.dbf", "Rap11.dbf", "RapA.dbf"})
        EXPECT_TRUE(QFile::exists(QDir(home.home()).filePath(QLatin1String(name)))) << name;
    totals.removeTables();
    for (const char* name : {"T2.dbf", "Rapt1.dbf", "Rap2.dbf", "Rap11.dbf", "RapA.dbf"})
        EXPECT_FALSE(QFile::exists(QDir(home.home()).filePath(QLatin1String(name)))) << name;

    // No household of the filter: refused before anything is built.
    TotalsFilter none;
    none.village = QStringLiteral("SAT NOU");
    none.type = 4;
    EXPECT_THROW(totals.build(none), reports::NoHouseholdsError);
    EXPECT_FALSE(QFile::exists(QDir(home.home()).filePath(QStringLiteral("T2.dbf"))));
    EXPECT_TRUE(totals.households(none).rows.empty());
    none.type = 0;
    EXPECT_EQ(totals.households(none).rows.size(), 4u);
}

TEST(Totals, VillageWithQuoteGetsItsTotals)
{
    test::TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    engine::Engine engine(home.data());
    engine::Parameters rename;
    rename.bind(QStringLiteral("NOU"), QStringLiteral("CAPU' DEALULUI"));
    rename.bind(QStringLiteral("VECHI"), QStringLiteral("SAT NOU"));
    engine.execute(QStringLiteral("UPDATE ") + quotedPath(QDir(home.data()).filePath(QStringLiteral("Identificare.dbf")))
                       + QStringLiteral(" SET LOCALIT=:NOU WHERE LOCALIT=:VECHI"),
                   rename);
    Totals totals(engine, home.data(), home.home(), 2010);
    TotalsFilter filter;
    filter.village = QStringLiteral("CAPU' DEALULUI");
    totals.build(filter);
    const QString people = reports::totalsTsv(totals.page(TotalsTable::Population));
    EXPECT_TRUE(people.contains(QStringLiteral("CAPU' DEALULUI\tPOPESCU ION\t1\t1800101221144\t01.01.1980\t1\t1"))) << people.toStdString();
    EXPECT_FALSE(people.contains(QStringLiteral("RUSU PETRU")));
    const QString land = reports::totalsTsv(totals.page(TotalsTable::Chapter2));
    EXPECT_TRUE(land.contains(QStringLiteral("\nTeren arabil\t1\t2\t10.25\t2\t10.25\t0\t0\t0\t50\t1\t60.25\n"))) << land.toStdString();
    EXPECT_EQ(totals.households(filter).rows.size(), 4u);
}
