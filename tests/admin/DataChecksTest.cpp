#include "AdminTestWorld.h"

#include "admin/DataChecks.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "data/dbf/ValueConversions.h"
#include "services/OperationMarker.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace velmor {
namespace {

using test::AdminWorld;

// The rows of the query as text lines.
QStringList lines(const engine::Query& q)
{
    QStringList out;
    for (const auto& row : q.result().rows) {
        QStringList cells;
        for (const auto& v : row)
            cells << dbf::toText(v);
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

struct ChecksWorld : AdminWorld {
    ChecksWorld()
        : AdminWorld(QStringLiteral("register-dbase4"))
        , checks(*engine, home.data(), home.home(), ui)
        , query(*engine)
    {
    }
    void exec(const QString& statement)
    {
        QString text = statement;
        text.replace(QStringLiteral("%1"), engine::quotedPath(data(QStringLiteral("Identificare.dbf"))));
        text.replace(QStringLiteral("%2"), engine::quotedPath(data(QStringLiteral("CAP1.dbf"))));
        engine->execute(text);
    }
    qint64 count(const QString& table, const QString& where)
    {
        return dbf::toWhole(engine->select(QStringLiteral("SELECT COUNT(*) FROM ") + engine::quotedPath(data(table)) + QStringLiteral(" WHERE ") + where)
                                 .rows.front().front());
    }
    DataChecks checks;
    engine::Query query;
};

TEST(DataChecks, TheFixtureRegister)
{
    ChecksWorld w;
    EXPECT_EQ(w.checks.householdCheck(w.query), QStringLiteral("Rezultat : toate bune!"));
    EXPECT_TRUE(w.query.result().rows.empty());
    EXPECT_EQ(w.query.fieldNames(), (QStringList {"ANUL", "LOCALIT", "POZ", "VOLUM", "CODID"}));

    EXPECT_EQ(w.checks.memberCheck(w.query, QStringLiteral("2010")), QStringLiteral("Rezultat : Aveti 1 persoane cu date incomplete!"));
    EXPECT_EQ(lines(w.query), QStringList {QStringLiteral("SAT NOU|4|1|IONESCU VASILE||1")});

    EXPECT_EQ(w.checks.headCheck(w.query, QStringLiteral("2010")), QStringLiteral("Rezultat : AVETI 2 ANOMALII!"));
    EXPECT_EQ(lines(w.query), (QStringList {QStringLiteral("SAT NOU|5|1|"), QStringLiteral("VALEA LUNGA|1|1|")}));

    EXPECT_EQ(w.checks.areaCheck(w.query, QStringLiteral("2010")), QStringLiteral("Exista 1 ANOMALII!!"));
    EXPECT_EQ(w.query.fieldNames(), (QStringList {"TIP", "LOCALIT", "POZITIE", "VOLUM", "DIFERA"}));
    EXPECT_EQ(lines(w.query), QStringList {QStringLiteral("1|SAT NOU|1|1|2.15")});
    EXPECT_TRUE(QFileInfo::exists(w.checks.scratchTable()));
    w.checks.removeScratch();
    EXPECT_FALSE(QFileInfo::exists(w.checks.scratchTable()));

    EXPECT_EQ(w.checks.missingPositions(QStringLiteral("2010")),
              (QStringList {QStringLiteral("DEALU MARE TIP 1 > VOL.2 : POZ.:1 ... 1"), QStringLiteral("DEALU MARE TIP 2 > VOL.1 : POZ.:1 ... 1"),
                            QStringLiteral("SAT NOU TIP 1 > VOL.1 : POZ.:1 ... 5"), QStringLiteral("VALEA LUNGA TIP 3 > VOL.1 : POZ.:1 ... 1"),
                            QStringLiteral("VALEA LUNGA TIP 4 > VOL.1 : POZ.:1 ... 1"), QStringLiteral("LIPSESC :"),
                            QStringLiteral("  SAT NOU TIP 1 > VOL.1 POZ. 3")}));
}

// Blank numbers and texts are missing values: each one is an anomaly.
TEST(DataChecks, BlanksAreAnomalies)
{
    ChecksWorld w;
    w.exec(QStringLiteral("INSERT INTO %1 (ANUL, LOCALIT, POZ, VOLUM, CODID, TIPRA) VALUES (NULL, 'SAT NOU', 7, 1, 901, 1)"));
    w.exec(QStringLiteral("INSERT INTO %1 (ANUL, LOCALIT, POZ, VOLUM, CODID, TIPRA) VALUES (2010, NULL, 8, 1, 902, 1)"));
    w.exec(QStringLiteral("INSERT INTO %1 (ANUL, LOCALIT, POZ, VOLUM, CODID, TIPRA) VALUES (2010, 'SAT NOU', NULL, 1, 903, 1)"));
    w.exec(QStringLiteral("INSERT INTO %1 (ANUL, LOCALIT, POZ, VOLUM, CODID, TIPRA) VALUES (2010, 'SAT NOU', 9, NULL, 904, 1)"));
    w.exec(QStringLiteral("INSERT INTO %1 (ANUL, LOCALIT, POZ, VOLUM, CODID, TIPRA) VALUES (2010, 'SAT NOU', 10, 1, NULL, 1)"));
    w.exec(QStringLiteral("INSERT INTO %1 (ANUL, LOCALIT, POZ, VOLUM, CODID, TIPRA) VALUES (1999, 'SAT NOU', 11, 1, 906, 1)"));
    EXPECT_EQ(w.checks.householdCheck(w.query), QStringLiteral("Rezultat : AVETI 6 ANOMALII!"));

    // A member without sex and one of sex 3, in 2010; the same in 2009 does not count.
    w.exec(QStringLiteral("INSERT INTO %2 (ANUL, CODID, NUMEP, CNP, CODSEX, COD, COD1) VALUES (2010, 101, 'POPESCU DAN', '1900101221144', NULL, 3, 991)"));
    w.exec(QStringLiteral("INSERT INTO %2 (ANUL, CODID, NUMEP, CNP, CODSEX, COD, COD1) VALUES (2010, 101, 'POPESCU IOANA', '2900101221144', 3, 3, 992)"));
    w.exec(QStringLiteral("INSERT INTO %2 (ANUL, CODID, NUMEP, CNP, CODSEX, COD, COD1) VALUES (2009, 1, 'VECHI', NULL, 3, 3, 993)"));
    EXPECT_EQ(w.checks.memberCheck(w.query, QStringLiteral("2010")), QStringLiteral("Rezultat : Aveti 3 persoane cu date incomplete!"));
    const QStringList rows = lines(w.query);
    EXPECT_TRUE(rows.contains(QStringLiteral("SAT NOU|1|1|POPESCU DAN|1900101221144|")));
    EXPECT_TRUE(rows.contains(QStringLiteral("SAT NOU|1|1|POPESCU IOANA|2900101221144|3")));

    // A member of a household with a blank village.
    w.exec(QStringLiteral("INSERT INTO %2 (ANUL, CODID, NUMEP, CNP, CODSEX, COD, COD1) VALUES (2010, 902, 'FARA SAT', '1900101221144', 1, 1, 994)"));
    EXPECT_EQ(w.checks.memberCheck(w.query, QStringLiteral("2010")), QStringLiteral("Rezultat : Aveti 4 persoane cu date incomplete!"));
}

// "Sterge-le !" removes the listed households with every row they own, whatever the year.
TEST(DataChecks, DeletingLeavesNoOrphan)
{
    ChecksWorld w;
    w.exec(QStringLiteral("UPDATE %1 SET POZ=0 WHERE CODID=101"));
    EXPECT_EQ(w.checks.householdCheck(w.query), QStringLiteral("Rezultat : AVETI 1 ANOMALII!"));
    const qint64 household2009 = w.count(QStringLiteral("CAP2.dbf"), QStringLiteral("ANUL=2009"));
    ASSERT_GT(w.count(QStringLiteral("CAP2.dbf"), QStringLiteral("CODID=101")), 0);
    ASSERT_GT(w.count(QStringLiteral("PozeTarla.dbf"), QStringLiteral("CODT=501")), 0);

    EXPECT_EQ(w.checks.deleteListed(w.query), QStringLiteral("Rezultat : toate bune!"));
    EXPECT_TRUE(w.query.result().rows.empty());
    for (const QString& table : {QStringLiteral("Identificare.dbf"), QStringLiteral("CAP1.dbf"), QStringLiteral("CAP2.dbf"),
                                 QStringLiteral("CAP7.dbf"), QStringLiteral("CAP10.dbf"), QStringLiteral("CAP11.dbf"),
                                 QStringLiteral("Tarlale.dbf"), QStringLiteral("OmTarla.dbf")})
        EXPECT_EQ(w.count(table, QStringLiteral("CODID=101")), 0) << table.toStdString();
    EXPECT_EQ(w.count(QStringLiteral("PozeTarla.dbf"), QStringLiteral("CODT>=501 AND CODT<=503")), 0);
    EXPECT_EQ(w.count(QStringLiteral("Identificare.dbf"), QStringLiteral("ANUL=2010")), 7);
    EXPECT_EQ(w.count(QStringLiteral("CAP2.dbf"), QStringLiteral("ANUL=2009")), household2009);
    EXPECT_FALSE(OperationMarker::read(w.home.data()).has_value());
}

// 150 missing positions: 100 are listed, then "etc..."; a stray large position writes nothing.
TEST(DataChecks, ManyMissingPositionsAreCut)
{
    ChecksWorld w;
    w.exec(QStringLiteral("INSERT INTO %1 (ANUL, LOCALIT, POZ, VOLUM, CODID, TIPRA) VALUES (2010, 'SAT NOU', 155, 1, 950, 1)"));
    QStringList out = w.checks.missingPositions(QStringLiteral("2010"));
    const int head = int(out.indexOf(QStringLiteral("LIPSESC :")));
    ASSERT_GE(head, 0);
    EXPECT_EQ(out[2], QStringLiteral("SAT NOU TIP 1 > VOL.1 : POZ.:1 ... 155"));
    EXPECT_EQ(out.size() - head - 1, 101);
    EXPECT_EQ(out[head + 1], QStringLiteral("  SAT NOU TIP 1 > VOL.1 POZ. 3"));
    EXPECT_EQ(out[head + 2], QStringLiteral("  SAT NOU TIP 1 > VOL.1 POZ. 6"));
    EXPECT_EQ(out.last(), QStringLiteral("etc..."));

    // Exactly 100 missing: no "etc...".
    w.exec(QStringLiteral("UPDATE %1 SET POZ=105 WHERE CODID=950"));
    out = w.checks.missingPositions(QStringLiteral("2010"));
    EXPECT_EQ(out.last(), QStringLiteral("  SAT NOU TIP 1 > VOL.1 POZ. 104"));

    w.exec(QStringLiteral("UPDATE %1 SET POZ=999999 WHERE CODID=950"));
    out = w.checks.missingPositions(QStringLiteral("2010"));
    EXPECT_EQ(out.last(), QStringLiteral("etc..."));
    EXPECT_EQ(out.size(), 5 + 1 + 100 + 1);
    // Types are kept apart: a type 2 volume of SAT NOU with one position is complete.
    w.exec(QStringLiteral("UPDATE %1 SET POZ=3, TIPRA=2 WHERE CODID=950"));
    out = w.checks.missingPositions(QStringLiteral("2010"));
    EXPECT_TRUE(out.contains(QStringLiteral("SAT NOU TIP 2 > VOL.1 : POZ.:3 ... 3")));
    EXPECT_TRUE(out.contains(QStringLiteral("  SAT NOU TIP 1 > VOL.1 POZ. 3")));
}

// Whole square metres: 0.0001 ha apart is no anomaly, 0.0002 ha is.
TEST(DataChecks, AreaDifferencesInSquareMetres)
{
    ChecksWorld w;
    const QString tarlale = engine::quotedPath(w.data(QStringLiteral("Tarlale.dbf")));
    // 101's plots total 1.6025 ha against 3.7525: make them 3.7524, then 3.7523.
    w.engine->execute(QStringLiteral("UPDATE ") + tarlale + QStringLiteral(" SET SUPRAF=2.2499 WHERE CODT=503 AND ANUL=2010"));
    EXPECT_EQ(w.checks.areaCheck(w.query, QStringLiteral("2010")), QStringLiteral("Toate bune si frumoase!"));
    w.engine->execute(QStringLiteral("UPDATE ") + tarlale + QStringLiteral(" SET SUPRAF=2.2498 WHERE CODT=503 AND ANUL=2010"));
    EXPECT_EQ(w.checks.areaCheck(w.query, QStringLiteral("2010")), QStringLiteral("Exista 1 ANOMALII!!"));
    EXPECT_EQ(lines(w.query), QStringList {QStringLiteral("1|SAT NOU|1|1|0.0002")});

    // A 28-letter village and position 12000 fit the work table.
    w.exec(QStringLiteral("UPDATE %1 SET LOCALIT='%3', POZ=12000 WHERE CODID=101").replace(QStringLiteral("%3"), QLatin1String("VALEA LUNGA DIN DEAL SI VALE")));
    EXPECT_EQ(w.checks.areaCheck(w.query, QStringLiteral("2010")), QStringLiteral("Exista 1 ANOMALII!!"));
    EXPECT_EQ(lines(w.query), QStringList {QStringLiteral("1|VALEA LUNGA DIN DEAL SI VALE|12000|1|0.0002")});
}

}
}
