// The reference registers read through SQL: the three formats give the same rows, with the values
// the reference files hold, and the same rows the storage layer reads directly.

#include "EngineTestSupport.h"

#include "data/dbf/DbfTable.h"

using namespace velmor;
using test::Register;
using test::Rows;

namespace {

const QStringList kTables = {
    QStringLiteral("Identificare.dbf"), QStringLiteral("CAP1.dbf"), QStringLiteral("CAP2.dbf"),
    QStringLiteral("CAP3.dbf"), QStringLiteral("CAP4.dbf"), QStringLiteral("CAP5.dbf"),
    QStringLiteral("CAP6.dbf"), QStringLiteral("CAP7.dbf"), QStringLiteral("CAP8.dbf"),
    QStringLiteral("CAP9.dbf"), QStringLiteral("CAP10.dbf"), QStringLiteral("CAP11.dbf"),
    QStringLiteral("Tarlale.dbf"), QStringLiteral("OmTarla.dbf"), QStringLiteral("PozeTarla.dbf"),
};

using V = std::vector<std::string>;

class EngineFixture : public ::testing::TestWithParam<const char*> {
protected:
    Register reg {QString::fromLatin1(GetParam())};
    QString t(const char* name) const { return reg.t(QString::fromLatin1(name)); }
};

TEST_P(EngineFixture, EveryTableReadsLikeTheStorageLayer)
{
    for (const QString& name : kTables) {
        SCOPED_TRACE(name.toStdString());
        const engine::ResultSet r = reg.select(QStringLiteral("SELECT * FROM ") + reg.t(name));
        dbf::DbfTable direct(reg.file(name));
        ASSERT_EQ(r.fields.size(), direct.fieldCount());
        for (int c = 0; c < direct.fieldCount(); ++c) {
            EXPECT_EQ(r.fields[c].name, direct.fields()[c].name);
            if (direct.fields()[c].type != 'D' && direct.fields()[c].type != 'M')
                EXPECT_EQ(r.fields[c].width, direct.fields()[c].width) << c;
            EXPECT_EQ(r.fields[c].decimals, direct.fields()[c].decimals) << c;
        }
        ASSERT_EQ(int(r.rows.size()), direct.recordCount());
        for (int row = 0; row < direct.recordCount(); ++row) {
            std::vector<dbf::Value> values;
            for (int c = 0; c < direct.fieldCount(); ++c)
                values.push_back(direct.value(row, c));
            EXPECT_EQ(test::showRow(r.rows[size_t(row)]), test::showRow(values)) << "row " << row;
        }
    }
}

TEST_P(EngineFixture, ResultColumnTypes)
{
    const engine::ResultSet r = reg.select(QStringLiteral("SELECT CODID, NUMEP, DATAN, COD FROM ") + t("CAP1.dbf"));
    EXPECT_EQ(r.fields[0].type, engine::FieldType::Integer);
    EXPECT_EQ(r.fields[0].width, 10);
    EXPECT_EQ(r.fields[1].type, engine::FieldType::Text);
    EXPECT_EQ(r.fields[1].width, 40);
    EXPECT_EQ(r.fields[2].type, engine::FieldType::Date);
    EXPECT_EQ(r.fields[3].type, engine::FieldType::Integer);
    const engine::ResultSet c2 = reg.select(QStringLiteral("SELECT AARI, RAND FROM ") + t("CAP2.dbf"));
    EXPECT_EQ(c2.fields[0].type, engine::FieldType::Float);
    EXPECT_EQ(c2.fields[0].width, 6);
    EXPECT_EQ(c2.fields[0].decimals, 2);
    EXPECT_EQ(c2.fields[1].type, engine::FieldType::Integer);
    const engine::ResultSet c11 = reg.select(QStringLiteral("SELECT MENTIUNI FROM ") + t("CAP11.dbf"));
    EXPECT_EQ(c11.fields[0].type, engine::FieldType::Memo);
}

TEST_P(EngineFixture, VillagesAndHouseholds)
{
    EXPECT_EQ(reg.column(QStringLiteral("SELECT DISTINCT LOCALIT FROM ") + t("Identificare.dbf") + QStringLiteral(" ORDER BY LOCALIT")),
              (V {"t:DEALU MARE", "t:SAT NOU", "t:VALEA LUNGA"}));
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT CODID, LOCALIT, TIPRA, VOLUM, POZ FROM ") + t("Identificare.dbf")
                       + QStringLiteral(" WHERE ANUL=2010 ORDER BY CODID")),
              (Rows {{"i:101", "t:SAT NOU", "i:1", "i:1", "i:1"},
                     {"i:102", "t:SAT NOU", "i:1", "i:1", "i:2"},
                     {"i:103", "t:SAT NOU", "i:1", "i:1", "i:4"},
                     {"i:104", "t:DEALU MARE", "i:1", "i:2", "i:1"},
                     {"i:105", "t:DEALU MARE", "i:2", "i:1", "i:1"},
                     {"i:106", "t:VALEA LUNGA", "i:3", "i:1", "i:1"},
                     {"i:107", "t:VALEA LUNGA", "i:4", "i:1", "i:1"},
                     {"i:108", "t:SAT NOU", "i:1", "i:1", "i:5"}}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT CODID FROM ") + t("Identificare.dbf") + QStringLiteral(" WHERE ANUL=2009 ORDER BY CODID")),
              (V {"i:1", "i:2", "i:3", "i:4", "i:5"}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT DENUMIRE FROM ") + t("Identificare.dbf") + QStringLiteral(" WHERE CODID=106")),
              "t:AGRO \"VALEA\" SRL");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT CODID FROM ") + t("Identificare.dbf")
                      + QStringLiteral(" WHERE DENUMIRE=\"AGRO \"\"VALEA\"\" SRL\"")),
              "i:106");
}

TEST_P(EngineFixture, MembersInCodeOrder)
{
    const QString sql = QStringLiteral("SELECT NUMEP, CNP, DATAN, MENTIUNI, DENUM FROM ") + t("CAP1.dbf")
        + QStringLiteral(" WHERE CODID=%1 AND ANUL=2010 ORDER BY COD");
    EXPECT_EQ(reg.rows(sql.arg(101)),
              (Rows {{"t:POPESCU ION", "t:1800101221144", "d:1980-01-01", "NULL", "t:Cap de gospodarie"},
                     {"t:POPESCU MARIA", "t:2820517012355", "d:1982-05-17", "NULL", "t:Sot / Sotie"},
                     {"t:POPESCU ANA", "t:6050309013561", "d:2005-03-09", "t:eleva", "t:Fiu / Fiica"}}));
    EXPECT_EQ(reg.rows(sql.arg(102)),
              (Rows {{"t:ŢĂRAN GHEORGHE", "t:1451130014717", "d:1945-11-30", "NULL", "t:Cap de gospodarie"},
                     {"t:ŢĂRAN ŞTEFANA", "t:2480229015821", "d:1948-02-29", "t:DECEDATA 2009", "t:Sot / Sotie"}}));
    EXPECT_EQ(reg.rows(sql.arg(103)), (Rows {{"t:IONESCU VASILE", "NULL", "NULL", "NULL", "t:Cap de gospodarie"}}));
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT NUMEP, COD, DENUM FROM ") + t("CAP1.dbf") + QStringLiteral(" WHERE CODID=104 ORDER BY COD")),
              (Rows {{"t:MUNTEANU ELENA", "i:1", "t:Cap de gospodarie"}, {"t:MUNTEANU DAN", "i:4", "t:Nepot / Nepoata"}}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT NUMEP FROM ") + t("CAP1.dbf") + QStringLiteral(" WHERE CODID IN (105, 106)")),
              (V {"t:RUSU PETRU", "t:STAN MIHAI"}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM ") + t("CAP1.dbf") + QStringLiteral(" WHERE CODID IN (107, 108)")), "i:0");
    // Diacritics in a condition.
    EXPECT_EQ(reg.one(QStringLiteral("SELECT CODID FROM ") + t("CAP1.dbf") + QStringLiteral(" WHERE NUMEP=\"ŢĂRAN ŞTEFANA\"")),
              "i:102");
}

TEST_P(EngineFixture, ChapterValuesOfHousehold101)
{
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT RAND, BHA, BARI, IHA, IARI FROM ") + t("CAP2.dbf")
                       + QStringLiteral(" WHERE CODID=101 AND RAND IN (1,2,4,5,8,10,12) ORDER BY RAND")),
              (Rows {{"i:1", "i:1", "r:50.25", "i:0", "r:50"},
                     {"i:2", "i:2", "r:0", "i:0", "r:0"},
                     {"i:4", "i:0", "r:10", "i:0", "r:0"},
                     {"i:5", "i:0", "r:10", "i:0", "r:0"},
                     {"i:8", "i:3", "r:60.25", "i:0", "r:50"},
                     {"i:10", "i:0", "r:15", "i:0", "r:15"},
                     {"i:12", "i:3", "r:75.25", "i:0", "r:65"}}));
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT RAND, NR FROM ") + t("CAP7.dbf")
                       + QStringLiteral(" WHERE CODID=101 AND NR>0 ORDER BY RAND")),
              (Rows {{"r:1", "i:3"}, {"r:2", "i:2"}, {"r:3", "i:1"}, {"r:28", "i:25"}, {"r:30", "i:1"}}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT NR FROM ") + t("CAP7.dbf") + QStringLiteral(" WHERE CODID=102 AND RAND=20.1")), "i:1");
    EXPECT_EQ(reg.one(QStringLiteral("SELECT Count(*) FROM ") + t("CAP7.dbf") + QStringLiteral(" WHERE CODID=103")), "i:30");
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT RAND, DETALII, UM FROM ") + t("CAP10.dbf")
                       + QStringLiteral(" WHERE CODID=101 AND DETALII<>0 ORDER BY RAND")),
              (Rows {{"i:1", "r:80", "NULL"}, {"i:2", "r:2", "NULL"}, {"i:3", "r:1975", "NULL"},
                     {"i:4", "r:120", "NULL"}, {"i:5", "r:12", "NULL"}, {"i:6", "r:2001", "NULL"},
                     {"i:13", "r:30", "t:mp"}}));
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT NR, CATEG FROM ") + t("CAP5.dbf") + QStringLiteral(" WHERE CODID=103 AND RAND=5")),
              (Rows {{"i:7", "t:Pruni"}, {"i:7", "t:Pruni"}}));
}

TEST_P(EngineFixture, PlotsWithTheirHolders)
{
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT T.CODT, T.SUPRAF, T.INTRA, T.NRPARC, O.TITULAR FROM ") + t("Tarlale.dbf")
                       + QStringLiteral(" T, ") + t("OmTarla.dbf")
                       + QStringLiteral(" O WHERE O.CODT=T.CODT AND T.CODID=101 ORDER BY T.CODT, O.TITULAR")),
              (Rows {{"i:501", "r:0.5", "t:INTRAVILAN", "t:12", "t:POPESCU ION"},
                     {"i:501", "r:0.5", "t:INTRAVILAN", "t:12", "t:POPESCU MARIA"},
                     {"i:502", "r:1.0025", "t:EXTRAVILAN", "t:12A", "t:POPESCU ION"},
                     {"i:503", "r:0.1", "t:EXTRAVILAN", "t:123", "t:POPESCU ION"}}));
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT CODT, FISIER FROM ") + t("PozeTarla.dbf")),
              (Rows {{"i:501", "t:C:\\Poze\\titlu123.jpg"}}));
}

TEST_P(EngineFixture, NotesMemo)
{
    EXPECT_EQ(reg.rows(QStringLiteral("SELECT ANUL, CODID, MENTIUNI FROM ") + t("CAP11.dbf") + QStringLiteral(" ORDER BY ANUL DESC")),
              (Rows {{"i:2010", "i:101", "t:Teren în arendă la AGRO SRL.\r\nVerificat în teren 2010."},
                     {"i:2009", "i:1", "NULL"}}));
    EXPECT_EQ(reg.one(QStringLiteral("SELECT CODID FROM ") + t("CAP11.dbf") + QStringLiteral(" WHERE MENTIUNI LIKE \"%arendă%\"")),
              "i:101");
}

INSTANTIATE_TEST_SUITE_P(Formats, EngineFixture,
                         ::testing::Values("register-dbase4", "register-level7", "register-dbase3"),
                         [](const auto& info) {
                             std::string name = info.param;
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

// Numbers as other programs spell them: SQL reads every field as the storage layer does.
TEST(EngineForeignNumbers, SqlReadsEverySpellingLikeTheStorageLayer)
{
    const QList<test::RawField> fields = {{"ID", 'N', 3, 0}, {"SUMA", 'N', 10, 2}, {"VAL", 'F', 12, 4}};
    const QList<QList<QByteArray>> values = {
        {"1", "1.14", "1.0131"},
        {"2", "-0.50", "-1.0353"},
        {"3", "+3.5", "+2"},
        {"4", ".25", "7."},
        {"5", "", "1.5E+02"},
        {"6", QByteArray(10, '\0'), QByteArray("\0\0\0\0\0\0\0\0\0" "2.5", 12)},
        {"7", "***.**", "-"},
        {"8", "12345678", "1e-3"},
    };
    QByteArray bytes = test::rawHeader(0x03, quint32(values.size()), fields);
    for (const auto& row : values)
        bytes += test::rawRecord(fields, row);
    bytes += "\x1A";
    Register reg;
    test::writeBytes(reg.file(QStringLiteral("Straini.dbf")), bytes);

    dbf::DbfTable direct(reg.file(QStringLiteral("Straini.dbf")));
    const auto r = reg.select(QStringLiteral("SELECT * FROM {Straini}"));
    ASSERT_EQ(int(r.rows.size()), direct.recordCount());
    for (int row = 0; row < direct.recordCount(); ++row) {
        for (int c = 0; c < direct.fieldCount(); ++c)
            EXPECT_EQ(test::show(r.rows[size_t(row)][size_t(c)]), test::show(direct.value(row, c))) << "row " << row << " column " << c;
    }
    EXPECT_EQ(test::show(direct.value(0, 1)), "r:1.14");
    EXPECT_EQ(test::show(direct.value(0, 2)), "r:1.0131");
    EXPECT_EQ(test::show(direct.value(3, 1)), "r:0.25");
    EXPECT_EQ(test::show(direct.value(4, 1)), "NULL");
    EXPECT_EQ(test::show(direct.value(4, 2)), "r:150");
    EXPECT_EQ(test::show(direct.value(5, 1)), "NULL");
    EXPECT_EQ(test::show(direct.value(6, 1)), "NULL");
    // A condition meets the values it reads.
    EXPECT_EQ(reg.column(QStringLiteral("SELECT ID FROM {Straini} WHERE VAL=150")), (V {"i:5"}));
    EXPECT_EQ(reg.column(QStringLiteral("SELECT ID FROM {Straini} WHERE VAL+0=150")), (V {"i:5"}));
}

TEST(EngineFixtureCompare, ThreeFormatsGiveTheSameRows)
{
    Register d4(QStringLiteral("register-dbase4"));
    Register l7(QStringLiteral("register-level7"));
    Register d3(QStringLiteral("register-dbase3"));
    for (const QString& name : kTables) {
        SCOPED_TRACE(name.toStdString());
        const QString sql = QStringLiteral("SELECT * FROM %1");
        const Rows rows = d4.rows(sql.arg(d4.t(name)));
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows, l7.rows(sql.arg(l7.t(name))));
        EXPECT_EQ(rows, d3.rows(sql.arg(d3.t(name))));
    }
}

}
