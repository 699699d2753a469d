// The accounting report, the lists of heads of household and the three exported lists over small
// registers: namesakes, negative extravilan, heads by relationship, streets by letter case, house
// numbers as text, addresses, legal units, counts of houses and members, an export read back.

#include "ExportReaders.h"
#include "core/Error.h"
#include "data/Schema.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "output/DataExport.h"
#include "reports/Accounting.h"
#include "reports/HouseholdHeads.h"
#include "reports/ResidentLists.h"
#include "data/dbf/ValueConversions.h"
#include "services/ScriptedInteraction.h"
#include "support/EmptyRegister.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace velmor;
using reports::Accounting;
using reports::HouseholdHeads;
using reports::ResidentLists;

namespace {

class Register : public test::EmptyRegister {
public:
    void household(std::int64_t codid, const QString& village, int type, const QString& street = QString(),
                   const QString& number = QString(), std::int64_t rol = 0)
    {
        insert("Identificare.dbf", QStringLiteral("ANUL, CODID, LOCALIT, TIPRA, VOLUM, POZ, ROL, STRADA, NR"),
               {std::int64_t(2010), codid, village, std::int64_t(type), std::int64_t(1), codid, rol, street, number});
    }
    void member(std::int64_t codid, const QString& name, int code, const QString& relation = QString(), const QString& cnp = QString())
    {
        insert("CAP1.dbf", QStringLiteral("ANUL, CODID, NUMEP, COD, COD1, DENUM, CNP"),
               {std::int64_t(2010), codid, name, std::int64_t(code), codid * 10 + code,
                relation.isEmpty() && code == 1 ? QStringLiteral("Cap de gospodarie") : relation, cnp});
    }
    void land(std::int64_t codid, int row, int aha, double aari, int iha, double iari)
    {
        insert("CAP2.dbf", QStringLiteral("ANUL, CODID, CATEG, RAND, AHA, AARI, IHA, IARI"),
               {std::int64_t(2010), codid, QStringLiteral("Teren"), std::int64_t(row), std::int64_t(aha), aari,
                std::int64_t(iha), iari});
    }
    void building(std::int64_t codid, int row, double value)
    {
        insert("CAP10.dbf", QStringLiteral("ANUL, CODID, RAND, DETALII"), {std::int64_t(2010), codid, std::int64_t(row), value});
    }
};

QString text(const dbf::Value& value)
{
    if (std::holds_alternative<QString>(value))
        return std::get<QString>(value);
    if (dbf::isNull(value))
        return QString();
    return dbf::decimalText(dbf::numberOnly(value), 4);
}

QList<QStringList> texts(const engine::ResultSet& rows)
{
    QList<QStringList> result;
    for (const auto& row : rows.rows) {
        QStringList cells;
        for (const auto& value : row)
            cells << text(value);
        result << cells;
    }
    return result;
}

}

TEST(Accounting, NamesakesStayApartAndExtravilanMayBeNegative)
{
    Register r;
    r.household(1, QStringLiteral("DEAL"), 1);
    r.household(2, QStringLiteral("DEAL"), 1);
    r.household(3, QStringLiteral("DEAL"), 1, {}, {}, 7);
    r.household(4, QStringLiteral("DEAL"), 1);
    r.member(1, QStringLiteral("POP ION"), 1);
    r.member(1, QStringLiteral("POP ANA"), 2);
    r.member(2, QStringLiteral("POP ION"), 1);
    r.member(3, QStringLiteral("ALB DAN"), 1);
    // 4 has land but no head: not in the report.
    r.land(1, 1, 1, 50.25, 0, 50);
    r.land(1, 10, 0, 15, 0, 15);
    r.land(1, 8, 9, 0, 0, 0); // a total row, not a category
    r.land(2, 1, 2, 0, 0, 0);
    r.land(3, 2, 0, 10, 0, 30); // more inside than in all
    r.land(3, 11, 0, 0.01, 0, 0);
    r.land(3, 11, 0, 0.02, 0, 0);
    r.land(4, 1, 5, 0, 0, 0);

    Accounting accounting(r.engine, r.home.data(), r.home.home(), 2010);
    ScriptedInteraction ui;
    accounting.build(&ui);
    EXPECT_EQ(ui.progressLabels().value(0), QStringLiteral("Creez raportul..."));
    EXPECT_FALSE(ui.progressVisible());
    EXPECT_TRUE(QFileInfo::exists(accounting.tablePath(QStringLiteral("RCF.dbf"))));
    const engine::ResultSet rows = accounting.rows();
    QStringList names;
    for (const auto& field : rows.fields)
        names << field.name;
    EXPECT_EQ(names, QStringList({"CODID", "LOCALIT", "NUMEP", "ROL", "TI1", "TE1", "TI2", "TE2", "TI3", "TE3", "TI4", "TE4",
                                  "TI6", "TE6", "TI9", "TE9", "TI10", "TE10", "TI11", "TE11"}));
    const QList<QStringList> expected{
        {"3", "DEAL", "ALB DAN", "7", "0", "0", "0.3", "-0.2", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0.0003"},
        {"1", "DEAL", "POP ION", "0", "0.5", "1.0025", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0.15", "0", "0", "0"},
        {"2", "DEAL", "POP ION", "0", "0", "2", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
    };
    EXPECT_EQ(texts(rows), expected);

    accounting.removeTables();
    EXPECT_FALSE(QFileInfo::exists(accounting.tablePath(QStringLiteral("RCF.dbf"))));
    EXPECT_FALSE(QFileInfo::exists(accounting.tablePath(QStringLiteral("RC.dbf"))));
}

TEST(Accounting, FailureRemovesTheWorkTables)
{
    Register r;
    r.household(1, QStringLiteral("DEAL"), 1);
    r.member(1, QStringLiteral("POP ION"), 1);
    QFile::remove(r.home.dataFile(QStringLiteral("CAP2.dbf")));
    Accounting accounting(r.engine, r.home.data(), r.home.home(), 2010);
    ScriptedInteraction ui;
    EXPECT_THROW(accounting.build(&ui), Error);
    EXPECT_FALSE(ui.progressVisible());
    EXPECT_FALSE(QFileInfo::exists(accounting.tablePath(QStringLiteral("RCF.dbf"))));
}

TEST(HouseholdHeads, FoundByRelationshipText)
{
    Register r;
    r.household(1, QStringLiteral("SAT"), 1, QStringLiteral("MORII"), QStringLiteral("3"));
    r.household(2, QStringLiteral("DEAL"), 1, QStringLiteral("MARE"), QStringLiteral("1"));
    r.household(3, QStringLiteral("DEAL"), 2);
    r.member(1, QStringLiteral("ZAN ION"), 1, {}, QStringLiteral("1800101221144"));
    r.member(2, QStringLiteral("BAN ANA"), 2, QStringLiteral("Cap de gospodarie"));
    r.member(3, QStringLiteral("COD UNU"), 1, QStringLiteral("Sot / Sotie"));

    HouseholdHeads heads(r.engine, r.home.data(), 2010);
    EXPECT_EQ(texts(heads.rows(HouseholdHeads::List::Address)),
              (QList<QStringList>{{"BAN ANA", "DEAL", "MARE", "1"}, {"ZAN ION", "SAT", "MORII", "3"}}));
    EXPECT_EQ(texts(heads.rows(HouseholdHeads::List::Positions)),
              (QList<QStringList>{{"BAN ANA", "DEAL", "", "2", "1"}, {"ZAN ION", "SAT", "1800101221144", "1", "1"}}));
}

TEST(ResidentLists, StreetsByLetterCaseAndNumbersAsText)
{
    Register r;
    r.household(1, QStringLiteral("SAT NOU"), 1, QStringLiteral("MORII"), QStringLiteral("12"));
    r.household(2, QStringLiteral("SAT NOU"), 1, QStringLiteral("Morii"), QStringLiteral("10A"));
    r.household(3, QStringLiteral("DEAL"), 1, QStringLiteral("morii "), QStringLiteral("2"));
    r.household(4, QStringLiteral("SAT NOU"), 2, QStringLiteral("MORII"), QStringLiteral("1"));
    r.household(5, QStringLiteral("SAT NOU"), 1, QStringLiteral("GARII"), QStringLiteral("1"));
    r.member(1, QStringLiteral("POP ION"), 1);
    r.member(1, QStringLiteral("POP ANA"), 2);
    r.member(2, QStringLiteral("RUS DAN"), 1);
    r.member(3, QStringLiteral("ALB EVA"), 1);
    r.member(4, QStringLiteral("DOMICILIU ALTUNDEVA"), 1);
    r.member(5, QStringLiteral("GAR ION"), 1);

    ResidentLists lists(r.engine, r.home.data(), 2010);
    EXPECT_EQ(lists.streets(), (QStringList{"GARII", "MORII"}));
    const engine::ResultSet rows = lists.residents(QStringLiteral("MORII"));
    EXPECT_EQ(texts(rows), (QList<QStringList>{{"DEAL", "1", "3", "2", "ALB EVA", ""},
                                               {"SAT NOU", "1", "2", "10A", "RUS DAN", ""},
                                               {"SAT NOU", "1", "1", "12", "POP ANA", ""},
                                               {"SAT NOU", "1", "1", "12", "POP ION", ""}}));

    // The export read back: headings, row numbers, title and footer.
    const QString path = QDir(r.home.home()).filePath(QStringLiteral("strada.html"));
    output::DataExport::write(ResidentLists::residentsExport(rows, QStringLiteral("MORII")), output::ExportFormat::Html, path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const test::ReadBack back = test::readHtml(file.readAll());
    ASSERT_TRUE(back.problem.isEmpty()) << back.problem.toStdString();
    EXPECT_EQ(back.headings, (QStringList{"Nr.", "Localitatea", "Volum", "Pozitia", "Numar", "Nume si prenume", "Data nasterii"}));
    ASSERT_EQ(back.rows.size(), 4);
    EXPECT_EQ(back.rows[1], (QStringList{"2", "SAT NOU", "1", "2", "10A", "RUS DAN", ""}));
    EXPECT_EQ(back.title, QStringLiteral("Lista Locuitori dupa Strada MORII"));
    EXPECT_EQ(back.footer, QStringLiteral("Total persoane: 4"));
}

TEST(ResidentLists, HouseholdSizes)
{
    Register r;
    r.household(1, QStringLiteral("SAT"), 1);
    r.household(2, QStringLiteral("SAT"), 2);
    r.household(3, QStringLiteral("ALBA"), 1);
    r.member(1, QStringLiteral("POP ION"), 1);
    r.member(1, QStringLiteral("POP ANA (decedata)"), 2);
    r.member(1, QStringLiteral("POP DAN"), 3);
    r.member(2, QStringLiteral("SINGUR"), 1);
    r.member(3, QStringLiteral("FARA CAP"), 2);

    const engine::ResultSet rows = ResidentLists(r.engine, r.home.data(), 2010).householdSizes();
    EXPECT_EQ(texts(rows), (QList<QStringList>{{"1", "SAT", "1", "1", "0", "POP ION", "3"}, {"2", "SAT", "1", "2", "0", "SINGUR", "1"}}));
    QStringList names;
    for (const auto& field : rows.fields)
        names << field.name;
    EXPECT_EQ(names, (QStringList{"TIPRA", "LOCALIT", "VOLUM", "POZ", "ROL", "CAP_GOSP", "NRLOC"}));
}

TEST(ResidentLists, Dwellings)
{
    Register r;
    r.household(1, QStringLiteral("SAT"), 1, QStringLiteral("MORII"), QStringLiteral("12"));
    r.insert("Identificare.dbf", QStringLiteral("ANUL, CODID, LOCALIT, TIPRA, JUDET, LOC, STRADA, NR, STR2, NR2"),
             {std::int64_t(2010), std::int64_t(2), QStringLiteral("SAT"), std::int64_t(2), QStringLiteral("CLUJ"),
              QStringLiteral("FLORESTI"), QStringLiteral("GARII"), QStringLiteral("9"), QString(), QStringLiteral("5")});
    r.insert("Identificare.dbf", QStringLiteral("ANUL, CODID, LOCALIT, TIPRA, STRADA, DENUMIRE"),
             {std::int64_t(2010), std::int64_t(3), QStringLiteral("SAT"), std::int64_t(3), QStringLiteral("GARII"),
              QStringLiteral("AGRO SRL")});
    r.insert("Identificare.dbf", QStringLiteral("ANUL, CODID, LOCALIT, TIPRA, JUDET, LOC, STRADA, NR, DENUMIRE, CODFISCAL"),
             {std::int64_t(2010), std::int64_t(4), QStringLiteral("SAT"), std::int64_t(4), QStringLiteral("JUDETUL CU NUME LUNG"),
              QStringLiteral("LOCALITATEA CU NUMELE FOARTE LUN"), QStringLiteral("STRADA CU UN NUME LUNG DE 32 CAR"),
              QStringLiteral("NUMARUL 12345678901234567890ABCD"), QStringLiteral("COOP"), QStringLiteral("RO1")});
    r.household(5, QStringLiteral("SAT"), 1);
    r.member(1, QStringLiteral("POP ION"), 1, {}, QStringLiteral("1800101221144"));
    r.member(3, QStringLiteral("STAN MIHAI"), 1, {}, QStringLiteral("1750912019267"));
    r.building(1, 1, 80);
    r.building(1, 7, 60);
    r.building(1, 4, 0);
    r.building(1, 13, 30);
    r.building(2, 10, 45);
    r.building(3, 1, 200);
    r.building(4, 4, 90);
    r.building(5, 13, 20); // a stable only

    const engine::ResultSet rows = ResidentLists(r.engine, r.home.data(), 2010).dwellings();
    const QString longAddress = QStringLiteral("jud.JUDETUL CU NUME LUNG loc.LOCALITATEA CU NUMELE FOARTE LUN str.STRADA CU UN NUME LUNG DE 32 CAR nr.NUMARUL 12345678901234567890ABCD");
    EXPECT_EQ(longAddress.size(), 134);
    EXPECT_EQ(texts(rows), (QList<QStringList>{{"SAT", " - ", "jud.CLUJ loc.FLORESTI str. - nr.5", " - ", "", "", "", "1"},
                                               {"SAT", "AGRO SRL", "str.GARII nr. -", " - ", "", "", "", "1"},
                                               {"SAT", "COOP", longAddress, "RO1", "", "", "", "1"},
                                               {"SAT", "POP ION", "str.MORII nr.12", "1800101221144", "0", "1", "1", "2"}}));
    EXPECT_EQ(rows.fields[2].name, QStringLiteral("ADRESA"));
    EXPECT_EQ(rows.fields[2].width, 160);

    const struct {
        int type;
        const char* address;
    } addresses[] = {{1, "str. - nr. -"}, {3, "str.S nr.N"}, {2, "jud.J loc.L str.D nr.DN"}, {4, "jud.J loc.L str.S nr.N"}, {0, ""}, {5, ""}};
    for (const auto& c : addresses) {
        const bool blank = c.type == 1;
        EXPECT_EQ(ResidentLists::address(c.type, QStringLiteral("J"), QStringLiteral("L"), blank ? QStringLiteral("  ") : QStringLiteral("S"),
                                         blank ? QString() : QStringLiteral("N"), QStringLiteral("D"), QStringLiteral("DN")),
                  QString::fromLatin1(c.address))
            << c.type;
    }
}
