// Reading the reference registers written by other software in dBase IV, level 7 and dBase III.

#include "DbfTestSupport.h"

#include "data/dbf/DbfError.h"
#include "data/dbf/DbfTable.h"
#include "support/TestDirs.h"

#include <QDir>

#include <map>

using namespace velmor;
using velmor::test::show;
using velmor::test::showRow;

namespace {

const QStringList kTables = {
    QStringLiteral("Identificare.dbf"), QStringLiteral("CAP1.dbf"), QStringLiteral("CAP2.dbf"),
    QStringLiteral("CAP3.dbf"), QStringLiteral("CAP4.dbf"), QStringLiteral("CAP5.dbf"),
    QStringLiteral("CAP6.dbf"), QStringLiteral("CAP7.dbf"), QStringLiteral("CAP8.dbf"),
    QStringLiteral("CAP9.dbf"), QStringLiteral("CAP10.dbf"), QStringLiteral("CAP11.dbf"),
    QStringLiteral("Tarlale.dbf"), QStringLiteral("OmTarla.dbf"), QStringLiteral("PozeTarla.dbf"),
};

const QStringList kFormats = {
    QStringLiteral("register-dbase4"), QStringLiteral("register-level7"), QStringLiteral("register-dbase3"),
};

using Rows = std::vector<std::vector<std::string>>;

Rows allRows(const dbf::DbfTable& t)
{
    Rows rows;
    for (int r = 0; r < t.recordCount(); ++r) {
        std::vector<std::string> row;
        row.push_back(t.isDeleted(r) ? "*" : " ");
        for (int c = 0; c < t.fieldCount(); ++c)
            row.push_back(show(t.value(r, c)));
        rows.push_back(row);
    }
    return rows;
}

std::string layoutOf(const dbf::DbfTable& t)
{
    std::string out;
    for (const auto& f : t.fields())
        out += f.name.toStdString() + " " + f.type + std::to_string(f.width) + "," + std::to_string(f.decimals) + ";";
    return out;
}

// Value of `column` in the rows where every (name, shown value) pair of `where` matches.
std::vector<std::string> column(const dbf::DbfTable& t, const QString& name,
                                const std::vector<std::pair<QString, std::string>>& where = {})
{
    const int c = t.fieldIndex(name);
    EXPECT_GE(c, 0) << name.toStdString();
    std::vector<std::string> out;
    for (int r = 0; r < t.recordCount(); ++r) {
        bool match = !t.isDeleted(r);
        for (const auto& [n, v] : where)
            match = match && show(t.value(r, t.fieldIndex(n))) == v;
        if (match)
            out.push_back(show(t.value(r, c)));
    }
    return out;
}

class DbfFixtureRead : public ::testing::TestWithParam<QString> {
protected:
    QString path(const QString& table) const { return test::fixturePath(GetParam() + QLatin1Char('/') + table); }
};

TEST_P(DbfFixtureRead, EveryTableOpensWithItsVersionAndDriver)
{
    for (const QString& name : kTables) {
        SCOPED_TRACE(name.toStdString());
        dbf::DbfTable t(path(name));
        const bool memo = name == QLatin1String("CAP11.dbf");
        if (GetParam() == QLatin1String("register-dbase4")) {
            EXPECT_EQ(t.versionByte(), memo ? 0x8B : 0x03);
            EXPECT_EQ(t.level(), dbf::Level::DBase4);
            EXPECT_EQ(t.languageDriver(), 0xC8);
            EXPECT_EQ(t.productionIndexFlag(), name != QLatin1String("CAP1.dbf"));
        } else if (GetParam() == QLatin1String("register-level7")) {
            EXPECT_EQ(t.versionByte(), memo ? 0x8C : 0x04);
            EXPECT_EQ(t.level(), dbf::Level::Level7);
            EXPECT_EQ(t.languageDriver(), 0xC8);
            EXPECT_EQ(t.productionIndexFlag(), name != QLatin1String("CAP1.dbf"));
        } else {
            EXPECT_EQ(t.versionByte(), memo ? 0x83 : 0x03);
            EXPECT_EQ(t.languageDriver(), 0);
            EXPECT_FALSE(t.productionIndexFlag());
        }
        EXPECT_EQ(t.deletedCount(), 0);
        EXPECT_FALSE(t.changedOnDisk());
    }
}

TEST_P(DbfFixtureRead, HouseholdsOfBothYears)
{
    dbf::DbfTable t(path(QStringLiteral("Identificare.dbf")));
    ASSERT_EQ(t.recordCount(), 13);
    EXPECT_EQ(column(t, QStringLiteral("CODID"), {{QStringLiteral("ANUL"), "i:2010"}}),
              (std::vector<std::string> {"i:101", "i:102", "i:103", "i:104", "i:105", "i:106", "i:107", "i:108"}));
    EXPECT_EQ(column(t, QStringLiteral("CODID"), {{QStringLiteral("ANUL"), "i:2009"}}),
              (std::vector<std::string> {"i:1", "i:2", "i:3", "i:4", "i:5"}));
    // village, type, volume, position per household of 2010
    const std::map<std::string, std::vector<std::string>> expected = {
        {"i:101", {"t:SAT NOU", "i:1", "i:1", "i:1"}},     {"i:102", {"t:SAT NOU", "i:1", "i:1", "i:2"}},
        {"i:103", {"t:SAT NOU", "i:1", "i:1", "i:4"}},     {"i:104", {"t:DEALU MARE", "i:1", "i:2", "i:1"}},
        {"i:105", {"t:DEALU MARE", "i:2", "i:1", "i:1"}},  {"i:106", {"t:VALEA LUNGA", "i:3", "i:1", "i:1"}},
        {"i:107", {"t:VALEA LUNGA", "i:4", "i:1", "i:1"}}, {"i:108", {"t:SAT NOU", "i:1", "i:1", "i:5"}},
    };
    for (const auto& [codid, values] : expected) {
        SCOPED_TRACE(codid);
        const std::vector<std::pair<QString, std::string>> where = {{QStringLiteral("CODID"), codid}};
        EXPECT_EQ(column(t, QStringLiteral("LOCALIT"), where), std::vector<std::string> {values[0]});
        EXPECT_EQ(column(t, QStringLiteral("TIPRA"), where), std::vector<std::string> {values[1]});
        EXPECT_EQ(column(t, QStringLiteral("VOLUM"), where), std::vector<std::string> {values[2]});
        EXPECT_EQ(column(t, QStringLiteral("POZ"), where), std::vector<std::string> {values[3]});
    }
    EXPECT_EQ(column(t, QStringLiteral("DENUMIRE"), {{QStringLiteral("CODID"), "i:106"}}),
              std::vector<std::string> {"t:AGRO \"VALEA\" SRL"});
    EXPECT_EQ(column(t, QStringLiteral("DENUMIRE"), {{QStringLiteral("CODID"), "i:101"}}),
              std::vector<std::string> {"NULL"});
    EXPECT_EQ(column(t, QStringLiteral("NR"), {{QStringLiteral("CODID"), "i:102"}}),
              std::vector<std::string> {"t:10A"});
    // Numeric columns without decimals are integers whatever their width.
    EXPECT_EQ(t.fields()[t.fieldIndex(QStringLiteral("CODID"))].width, 10);
    EXPECT_TRUE(t.fields()[t.fieldIndex(QStringLiteral("CODID"))].isInteger());
}

TEST_P(DbfFixtureRead, MembersWithCodesDiacriticsAndDates)
{
    dbf::DbfTable t(path(QStringLiteral("CAP1.dbf")));
    ASSERT_EQ(t.recordCount(), 12);
    const auto codid = [](const char* v) { return std::vector<std::pair<QString, std::string>> {{QStringLiteral("CODID"), v}}; };
    EXPECT_EQ(column(t, QStringLiteral("NUMEP"), codid("i:101")),
              (std::vector<std::string> {"t:POPESCU ION", "t:POPESCU MARIA", "t:POPESCU ANA"}));
    EXPECT_EQ(column(t, QStringLiteral("COD"), codid("i:101")), (std::vector<std::string> {"i:1", "i:2", "i:3"}));
    EXPECT_EQ(column(t, QStringLiteral("CNP"), codid("i:101")),
              (std::vector<std::string> {"t:1800101221144", "t:2820517012355", "t:6050309013561"}));
    EXPECT_EQ(column(t, QStringLiteral("MENTIUNI"), codid("i:101")),
              (std::vector<std::string> {"NULL", "NULL", "t:eleva"}));
    EXPECT_EQ(column(t, QStringLiteral("NUMEP"), codid("i:102")),
              (std::vector<std::string> {"t:ŢĂRAN GHEORGHE", "t:ŢĂRAN ŞTEFANA"}));
    EXPECT_EQ(column(t, QStringLiteral("DATAN"), codid("i:102")),
              (std::vector<std::string> {"d:1945-11-30", "d:1948-02-29"}));
    EXPECT_EQ(column(t, QStringLiteral("MENTIUNI"), codid("i:102")),
              (std::vector<std::string> {"NULL", "t:DECEDATA 2009"}));
    // Blank character and date fields are NULL.
    EXPECT_EQ(column(t, QStringLiteral("CNP"), codid("i:103")), std::vector<std::string> {"NULL"});
    EXPECT_EQ(column(t, QStringLiteral("DATAN"), codid("i:103")), std::vector<std::string> {"NULL"});
    EXPECT_EQ(column(t, QStringLiteral("DENUM"), codid("i:104")),
              (std::vector<std::string> {"t:Cap de gospodarie", "t:Nepot / Nepoata"}));
    EXPECT_EQ(column(t, QStringLiteral("COD"), codid("i:104")), (std::vector<std::string> {"i:1", "i:4"}));
    EXPECT_EQ(column(t, QStringLiteral("NUMEP"), codid("i:105")), std::vector<std::string> {"t:RUSU PETRU"});
    EXPECT_EQ(column(t, QStringLiteral("NUMEP"), codid("i:106")), std::vector<std::string> {"t:STAN MIHAI"});
    EXPECT_TRUE(column(t, QStringLiteral("NUMEP"), codid("i:107")).empty());
    EXPECT_TRUE(column(t, QStringLiteral("NUMEP"), codid("i:108")).empty());
    EXPECT_EQ(column(t, QStringLiteral("COD1"), {}),
              (std::vector<std::string> {"i:101", "i:102", "i:103", "i:104", "i:105", "i:106", "i:107", "i:108",
                                         "i:109", "i:110", "i:111", "i:112"}));
    // The text accessor gives the date as the user sees it.
    const int row = 4;
    EXPECT_EQ(t.text(row, t.fieldIndex(QStringLiteral("DATAN"))), QStringLiteral("29.02.1948"));
    EXPECT_EQ(t.text(row, t.fieldIndex(QStringLiteral("NUMEP"))), QStringLiteral("ŢĂRAN ŞTEFANA"));
}

TEST_P(DbfFixtureRead, ChapterTwoOfHousehold101)
{
    dbf::DbfTable t(path(QStringLiteral("CAP2.dbf")));
    const auto at = [&](const char* rand, const char* col) {
        return column(t, QString::fromLatin1(col), {{QStringLiteral("CODID"), "i:101"}, {QStringLiteral("RAND"), rand}});
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(at("i:1", "BHA"), V {"i:1"});
    EXPECT_EQ(at("i:1", "BARI"), V {"r:50.25"});
    EXPECT_EQ(at("i:1", "IHA"), V {"i:0"});
    EXPECT_EQ(at("i:1", "IARI"), V {"r:50"});
    EXPECT_EQ(at("i:2", "BHA"), V {"i:2"});
    EXPECT_EQ(at("i:2", "BARI"), V {"r:0"});
    EXPECT_EQ(at("i:4", "BARI"), V {"r:10"});
    EXPECT_EQ(at("i:5", "BARI"), V {"r:10"});
    EXPECT_EQ(at("i:8", "BHA"), V {"i:3"});
    EXPECT_EQ(at("i:8", "BARI"), V {"r:60.25"});
    EXPECT_EQ(at("i:10", "BARI"), V {"r:15"});
    EXPECT_EQ(at("i:12", "BHA"), V {"i:3"});
    EXPECT_EQ(at("i:12", "BARI"), V {"r:75.25"});
    EXPECT_EQ(at("i:12", "IARI"), V {"r:65"});
    EXPECT_EQ(at("i:1", "CATEG"), V {"t:Teren arabil"});
    // Household 105 holds its 3 ha in the third pair.
    EXPECT_EQ(column(t, QStringLiteral("CHA"), {{QStringLiteral("CODID"), "i:105"}, {QStringLiteral("RAND"), "i:12"}}),
              V {"i:3"});
    EXPECT_EQ(column(t, QStringLiteral("RAND"), {{QStringLiteral("CODID"), "i:101"}}).size(), 12u);
}

TEST_P(DbfFixtureRead, ChaptersFiveSevenAndTen)
{
    using V = std::vector<std::string>;
    dbf::DbfTable cap5(path(QStringLiteral("CAP5.dbf")));
    EXPECT_EQ(column(cap5, QStringLiteral("NR"), {{QStringLiteral("CODID"), "i:103"}, {QStringLiteral("RAND"), "i:5"}}),
              (V {"i:7", "i:7"}));

    dbf::DbfTable cap7(path(QStringLiteral("CAP7.dbf")));
    const auto nr = [&](const char* codid, const char* rand) {
        return column(cap7, QStringLiteral("NR"), {{QStringLiteral("CODID"), codid}, {QStringLiteral("RAND"), rand}});
    };
    EXPECT_EQ(nr("i:101", "r:1"), V {"i:3"});
    EXPECT_EQ(nr("i:101", "r:2"), V {"i:2"});
    EXPECT_EQ(nr("i:101", "r:3"), V {"i:1"});
    EXPECT_EQ(nr("i:101", "r:28"), V {"i:25"});
    EXPECT_EQ(nr("i:101", "r:30"), V {"i:1"});
    EXPECT_EQ(nr("i:101", "r:14.1"), V {"i:0"});
    EXPECT_EQ(nr("i:102", "r:20.1"), V {"i:1"});
    EXPECT_EQ(column(cap7, QStringLiteral("RAND"), {{QStringLiteral("CODID"), "i:101"}}).size(), 33u);
    const V rows103 = column(cap7, QStringLiteral("RAND"), {{QStringLiteral("CODID"), "i:103"}});
    EXPECT_EQ(rows103.size(), 30u);
    for (size_t i = 0; i < rows103.size(); ++i)
        EXPECT_EQ(rows103[i], "r:" + std::to_string(i + 1));

    dbf::DbfTable cap10(path(QStringLiteral("CAP10.dbf")));
    const auto detalii = [&](const char* rand) {
        return column(cap10, QStringLiteral("DETALII"), {{QStringLiteral("CODID"), "i:101"}, {QStringLiteral("RAND"), rand}});
    };
    EXPECT_EQ(detalii("i:1"), V {"r:80"});
    EXPECT_EQ(detalii("i:2"), V {"r:2"});
    EXPECT_EQ(detalii("i:3"), V {"r:1975"});
    EXPECT_EQ(detalii("i:4"), V {"r:120"});
    EXPECT_EQ(detalii("i:5"), V {"r:12"});
    EXPECT_EQ(detalii("i:6"), V {"r:2001"});
    EXPECT_EQ(detalii("i:13"), V {"r:30"});
    EXPECT_EQ(column(cap10, QStringLiteral("UM"), {{QStringLiteral("RAND"), "i:13"}}), V {"t:mp"});
    EXPECT_EQ(column(cap10, QStringLiteral("UM"), {{QStringLiteral("RAND"), "i:1"}}), V {"NULL"});
}

TEST_P(DbfFixtureRead, PlotsHoldersAndPictures)
{
    using V = std::vector<std::string>;
    dbf::DbfTable t(path(QStringLiteral("Tarlale.dbf")));
    const std::vector<std::pair<QString, std::string>> of101 = {{QStringLiteral("CODID"), "i:101"}};
    EXPECT_EQ(column(t, QStringLiteral("CODT"), of101), (V {"i:501", "i:502", "i:503"}));
    EXPECT_EQ(column(t, QStringLiteral("SUPRAF"), of101), (V {"r:0.5", "r:1.0025", "r:0.1"}));
    EXPECT_EQ(column(t, QStringLiteral("INTRA"), of101), (V {"t:INTRAVILAN", "t:EXTRAVILAN", "t:EXTRAVILAN"}));
    EXPECT_EQ(column(t, QStringLiteral("CATEG"), of101),
              (V {"t:TEREN ARABIL", "t:TEREN ARABIL", "t:VII, PEPINIERE VITICOLE"}));
    EXPECT_EQ(column(t, QStringLiteral("NRPARC"), of101), (V {"t:12", "t:12A", "t:123"}));
    EXPECT_EQ(column(t, QStringLiteral("DATAELIB"), of101), (V {"t:12.03.1992", "t:12.03.1992", "t:01.02.2005"}));

    dbf::DbfTable holders(path(QStringLiteral("OmTarla.dbf")));
    EXPECT_EQ(column(holders, QStringLiteral("TITULAR"), {{QStringLiteral("CODT"), "i:501"}}),
              (V {"t:POPESCU ION", "t:POPESCU MARIA"}));
    EXPECT_EQ(column(holders, QStringLiteral("TITULAR"), {{QStringLiteral("CODT"), "i:502"}}), V {"t:POPESCU ION"});
    EXPECT_EQ(column(holders, QStringLiteral("TITULAR"), {{QStringLiteral("CODT"), "i:503"}}), V {"t:POPESCU ION"});

    dbf::DbfTable pictures(path(QStringLiteral("PozeTarla.dbf")));
    ASSERT_EQ(pictures.recordCount(), 1);
    EXPECT_EQ(show(pictures.value(0, pictures.fieldIndex(QStringLiteral("CODT")))), "i:501");
    EXPECT_EQ(show(pictures.value(0, pictures.fieldIndex(QStringLiteral("FISIER")))), "t:C:\\Poze\\titlu123.jpg");
}

TEST_P(DbfFixtureRead, NotesMemoOnTwoLines)
{
    dbf::DbfTable t(path(QStringLiteral("CAP11.dbf")));
    ASSERT_EQ(t.recordCount(), 2);
    const int memo = t.fieldIndex(QStringLiteral("MENTIUNI"));
    EXPECT_EQ(t.fields()[memo].type, 'M');
    EXPECT_EQ(show(t.value(0, t.fieldIndex(QStringLiteral("CODID")))), "i:101");
    EXPECT_EQ(t.value(0, memo),
              dbf::Value(QStringLiteral("Teren în arendă la AGRO SRL.\r\nVerificat în teren 2010.")));
    EXPECT_EQ(show(t.value(1, memo)), "NULL");
    EXPECT_TRUE(t.isNull(1, memo));
}

INSTANTIATE_TEST_SUITE_P(Formats, DbfFixtureRead, ::testing::ValuesIn(kFormats.begin(), kFormats.end()),
                         [](const auto& info) {
                             QString name = info.param;
                             return name.remove(QLatin1Char('-')).toStdString();
                         });

TEST(DbfFixtureCompare, ThreeFormatsHoldTheSameRows)
{
    for (const QString& name : kTables) {
        SCOPED_TRACE(name.toStdString());
        dbf::DbfTable d4(test::fixturePath(QStringLiteral("register-dbase4/") + name));
        dbf::DbfTable l7(test::fixturePath(QStringLiteral("register-level7/") + name));
        dbf::DbfTable d3(test::fixturePath(QStringLiteral("register-dbase3/") + name));
        EXPECT_EQ(layoutOf(d4), layoutOf(l7));
        EXPECT_EQ(layoutOf(d4), layoutOf(d3));
        ASSERT_GT(d4.recordCount(), 0);
        EXPECT_EQ(d4.recordLength(), l7.recordLength());
        const Rows rows = allRows(d4);
        const Rows rows7 = allRows(l7);
        const Rows rows3 = allRows(d3);
        ASSERT_EQ(rows.size(), rows7.size());
        ASSERT_EQ(rows.size(), rows3.size());
        for (size_t r = 0; r < rows.size(); ++r) {
            EXPECT_EQ(rows[r], rows7[r]) << "row " << r;
            EXPECT_EQ(rows[r], rows3[r]) << "row " << r;
        }
    }
}

TEST(DbfFixtureCompare, TablesCopiedWithLowerCaseNamesOpenThroughAnyCase)
{
    test::TempHome home;
    const QString source = test::fixturePath(QStringLiteral("register-dbase4"));
    ASSERT_TRUE(QFile::copy(source + QStringLiteral("/CAP11.dbf"), home.dataFile(QStringLiteral("cap11.DBF"))));
    ASSERT_TRUE(QFile::copy(source + QStringLiteral("/CAP11.dbt"), home.dataFile(QStringLiteral("Cap11.Dbt"))));
    dbf::DbfTable t(home.dataFile(QStringLiteral("cap11.DBF")));
    EXPECT_TRUE(std::get<QString>(t.value(0, 2)).startsWith(QStringLiteral("Teren în arendă")));
    EXPECT_EQ(dbf::memoPathFor(home.dataFile(QStringLiteral("CAP11.dbf"))), home.dataFile(QStringLiteral("Cap11.Dbt")));
}

}
