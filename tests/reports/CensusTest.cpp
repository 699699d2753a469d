// The census 2010 forms over the reference register: the rows of each form, the house-number
// key, the areas, the counts, the templates (built-in, foreign, edited) read back with the
// independent cell reader, and the work tables that never stay behind.

#include "XlsTestReader.h"

#include "core/Error.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "reports/Census.h"
#include "reports/TemplateDesigns.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"
#include "workbook/NewWorkbook.h"
#include "workbook/Workbook.h"
#include "workbook/WorkbookError.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace velmor;
using reports::Census;
using reports::CensusForm;
using reports::CensusRequest;

namespace {

// Each listed cell of the workbook holds the value given ("n:" number, "s:" text).
void expectCells(const test::XlsContent& x, std::initializer_list<std::pair<const char*, const char*>> cells)
{
    for (const auto& [cell, value] : cells)
        EXPECT_EQ(x.cells.value(QLatin1String(cell)), QString::fromUtf8(value)) << cell;
}

QString fixture(const QString& name) { return test::fixturePath(QStringLiteral("workbooks/") + name); }

class CensusForms : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.copyFixture(QStringLiteral("register-dbase4"));
        engine = std::make_unique<engine::Engine>(home.data());
        engine->addTableRoot(home.home());
    }

    Census census() { return Census({engine.get(), home.data(), home.home(), &ui}, QStringLiteral("ALBA"), QStringLiteral("TÂRGU VECHI")); }

    void exec(const QString& statement)
    {
        engine::Query q(*engine);
        q.add(statement);
        q.execSQL();
    }
    QString table(const char* name) const { return engine::quotedPath(home.dataFile(QLatin1String(name))); }

    static CensusRequest request(CensusForm form, const QString& village, bool includeNu = false, bool ignoreOther = false)
    {
        CensusRequest r;
        r.form = form;
        r.village = village;
        r.includeNu = includeNu;
        r.ignoreOther = ignoreOther;
        r.date = QDate(2010, 3, 5);
        return r;
    }

    // The rows as text, the named columns, values as the CLI would print them.
    static QList<QStringList> table(const engine::ResultSet& rows, const QStringList& columns)
    {
        QList<QStringList> out;
        for (const auto& row : rows.rows) {
            QStringList cells;
            for (const QString& column : columns) {
                const dbf::Value& v = row[size_t(rows.fieldIndex(column))];
                if (const auto* t = std::get_if<QString>(&v))
                    cells << *t;
                else if (const auto* i = std::get_if<std::int64_t>(&v))
                    cells << QString::number(*i);
                else if (const auto* d = std::get_if<double>(&v))
                    cells << QString::number(*d, 'g', 12);
                else
                    cells << QString();
            }
            out << cells;
        }
        return out;
    }

    void expectNoWorkTables() const
    {
        EXPECT_FALSE(QFile::exists(QDir(home.home()).filePath(QStringLiteral("Tmp.dbf"))));
        EXPECT_FALSE(QFile::exists(QDir(home.home()).filePath(QStringLiteral("Tmp2.dbf"))));
    }

    test::TempHome home;
    ScriptedInteraction ui;
    std::unique_ptr<engine::Engine> engine;
};

}

TEST(CensusKeys, HouseNumberKeyAndDate)
{
    const QList<QPair<QString, double>> keys {
        {"2", 2}, {"10", 10}, {"10A", 10.0065}, {"10B", 10.0066}, {" 12a ", 12.0065}, {"", 0}, {"BL. 4", 0.0066},
        {"5Ţ", 5.0222}, {"1234567890123", 123456789}, {"123456789012X", 123456789.0088}, {"7/2", 7.0047}};
    for (const auto& [number, key] : keys)
        EXPECT_NEAR(Census::houseNumberKey(number), key, 1e-6) << number.toStdString();
    EXPECT_LT(Census::houseNumberKey(QStringLiteral("10A")), Census::houseNumberKey(QStringLiteral("10B")));
    EXPECT_EQ(Census::dateText(QDate(2010, 3, 5)), QStringLiteral("ziua 05  luna 03  2010"));
    EXPECT_EQ(Census::dateText(QDate(2026, 12, 10)), QStringLiteral("ziua 10  luna 12  2010"));
}

// The rows of each form (the columns of the work table, in the report's order).
TEST_F(CensusForms, RowsOfEachForm)
{
    const QStringList list {"CODID", "NUMEP", "STRADA", "NR", "NRN", "HA", "ARI", "ANIMALE", "ARE"};
    const QStringList elsewhere {"CODID", "NUMEP", "JUD", "LOC", "STRADA", "NR", "HA", "ARI", "ANIMALE", "ARE"};
    struct Case {
        const char* what;
        CensusRequest request;
        QStringList columns;
        QList<QStringList> rows;
    };
    const QList<Case> cases {
        {"L1 SAT NOU", request(CensusForm::L1, "SAT NOU"), list,
         {{"102", "ŢĂRAN GHEORGHE", "MORII", "10A", "10.0065", "0", "60", "X", "DA"},
          {"101", "POPESCU ION", "MORII", "12", "12", "3", "60.25", "X", "DA"}}},
        {"L1 SAT NOU with the households without land or animals", request(CensusForm::L1, "SAT NOU", true), list,
         {{"103", "IONESCU VASILE", "", "2", "2", "0", "0", "", "NU"},
          {"102", "ŢĂRAN GHEORGHE", "MORII", "10A", "10.0065", "0", "60", "X", "DA"},
          {"101", "POPESCU ION", "MORII", "12", "12", "3", "60.25", "X", "DA"},
          {"108", "", "MORII", "20", "20", "0", "0", "", "NU"}}},
        {"L1 of a village with no land or animals", request(CensusForm::L1, "VALEA LUNGA"), list, {}},
        {"L2 with the land of other localities", request(CensusForm::L2, "DEALU MARE"), elsewhere,
         {{"105", "RUSU PETRU", "CLUJ", "FLORESTI", "EROILOR", "5", "3", "0", "", "DA"}}},
        {"L2 without it", request(CensusForm::L2, "DEALU MARE", false, true), elsewhere, {}},
        {"L2 without it, every household", request(CensusForm::L2, "DEALU MARE", true, true), elsewhere,
         {{"105", "RUSU PETRU", "CLUJ", "FLORESTI", "EROILOR", "5", "0", "0", "", "NU"}}},
        {"L3 the unit's own name", request(CensusForm::L3, "VALEA LUNGA", true), list,
         {{"106", "AGRO \"VALEA\" SRL", "GARII", "7", "7", "0", "0", "", "NU"}}},
        {"L4 the seat address", request(CensusForm::L4, "VALEA LUNGA", true), elsewhere,
         {{"107", "COOP SIBIU", "SIBIU", "SIBIU", "", "", "0", "0", "", "NU"}}},
        {"C1 per village", request(CensusForm::C1, "SAT NOU"), {"LOCALITATE", "NR1", "NR2", "NR3", "NR4"}, {{"SAT NOU", "2", "", "", ""}}},
        {"C2 for the council", request(CensusForm::C2, "SAT NOU"), {"NR1", "NR2", "NR3", "NR4"}, {{"2", "", "", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const engine::ResultSet rows = census().rows(c.request, QStringLiteral("2010"));
        EXPECT_EQ(table(rows, c.columns), c.rows);
        expectNoWorkTables();
    }
}

// House numbers 2, 10, 10A, 10B in one street sort as numbers, 10A before 10B; a negative total
// keeps its sign in both parts and marks nothing by itself; areas are exact in square metres.
TEST_F(CensusForms, HouseNumbersAndAreas)
{
    exec(QStringLiteral("UPDATE ") + table("Identificare.dbf") + QStringLiteral(" SET STRADA='MORII', NR='10B' WHERE CODID=101"));
    exec(QStringLiteral("UPDATE ") + table("Identificare.dbf") + QStringLiteral(" SET STRADA='MORII', NR='10' WHERE CODID=102"));
    exec(QStringLiteral("UPDATE ") + table("Identificare.dbf") + QStringLiteral(" SET STRADA='MORII', NR='10A' WHERE CODID=103"));
    exec(QStringLiteral("UPDATE ") + table("Identificare.dbf") + QStringLiteral(" SET STRADA='MORII', NR='2' WHERE CODID=108"));
    // 101 gives away 5 ha: 3.6025 - 5 = -1.3975 ha; 102 receives 0.0001 ha more than it has.
    exec(QStringLiteral("UPDATE ") + table("CAP3.dbf") + QStringLiteral(" SET HA=5, ARI=0 WHERE ANUL=2010 AND CODID=101 AND RAND=8"));
    exec(QStringLiteral("INSERT INTO ") + table("CAP3.dbf") + QStringLiteral(" (ANUL, CODID, RAND, HA, ARI) VALUES (2010, 102, 2, 1, 39.41)"));
    exec(QStringLiteral("DELETE FROM ") + table("CAP7.dbf") + QStringLiteral(" WHERE ANUL=2010 AND CODID=101"));

    const engine::ResultSet rows = census().rows(request(CensusForm::L1, "SAT NOU", true), QStringLiteral("2010"));
    EXPECT_EQ(table(rows, {"CODID", "NR", "NRN", "HA", "ARI", "ANIMALE", "ARE"}),
              (QList<QStringList> {{"108", "2", "2", "0", "0", "", "NU"},
                                   {"102", "10", "10", "1", "99.41", "X", "DA"},
                                   {"103", "10A", "10.0065", "0", "0", "", "NU"},
                                   {"101", "10B", "10.0066", "-1", "-39.75", "", "NU"}}));
}

// C1/C2: a register type outside 1-4 is left out and told; C2 keeps its single row.
TEST_F(CensusForms, CountsLeaveOutUnknownRegisterTypes)
{
    exec(QStringLiteral("INSERT INTO ") + table("CAP7.dbf") + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2010, 104, 1, 2)"));
    exec(QStringLiteral("INSERT INTO ") + table("CAP7.dbf") + QStringLiteral(" (ANUL, CODID, RAND, NR) VALUES (2010, 106, 1, 2)"));
    exec(QStringLiteral("UPDATE ") + table("Identificare.dbf") + QStringLiteral(" SET TIPRA=7 WHERE CODID=104"));
    int leftOut = 0;
    const engine::ResultSet c1 = census().rows(request(CensusForm::C1, "SAT NOU"), QStringLiteral("2010"), &leftOut);
    EXPECT_EQ(leftOut, 1);
    EXPECT_EQ(table(c1, {"LOCALITATE", "NR1", "NR2", "NR3", "NR4"}),
              (QList<QStringList> {{"DEALU MARE", "", "", "", ""}, {"SAT NOU", "2", "", "", ""}, {"VALEA LUNGA", "", "", "1", ""}}));

    const QString out = QDir(home.home()).filePath(QStringLiteral("c2.xls"));
    auto c = census();
    c.setOutputFile(out);
    const reports::CensusResult result = c.run(request(CensusForm::C2, "SAT NOU"), QStringLiteral("2010"));
    EXPECT_EQ(result.rows, 1);
    EXPECT_EQ(result.leftOut, 1);
    EXPECT_TRUE(ui.hasMessage(QStringLiteral("Recensamant"),
                              QStringLiteral("1 gospodarii cu tipul registrului in afara valorilor 1-4 nu au fost numarate.")));
    const test::XlsContent x = test::readXls(out);
    ASSERT_TRUE(x.faults.isEmpty()) << x.faults.join(';').toStdString();
    expectCells(x, {
        {"A25", "n:1"},
        {"B25", "s:TÂRGU VECHI"},
        {"C25", "n:2"},
        {"D25", "n:0"},
        {"E25", "n:1"},
        {"F25", "n:0"},
        {"F13", "s:ziua 05  luna 03  2010"},
        {"A7", "s:orasului, comunei TÂRGU VECHI"},
    });
    EXPECT_FALSE(x.cells.contains("A26"));
    expectNoWorkTables();

    // Nothing counted at all: still the one row, all zeros.
    exec(QStringLiteral("DELETE FROM ") + table("CAP7.dbf"));
    exec(QStringLiteral("DELETE FROM ") + table("CAP2.dbf"));
    EXPECT_EQ(table(census().rows(request(CensusForm::C2, "SAT NOU"), QStringLiteral("2010")), {"NR1", "NR2", "NR3", "NR4"}),
              (QList<QStringList> {{"", "", "", ""}}));
}

// The whole report with the built-in template: copy made, headers replaced, rows filled, the
// signature block moved down, the output aside then Rap0.xls, opened; the work tables gone.
TEST_F(CensusForms, L1WithTheBuiltInTemplate)
{
    const reports::CensusResult result = census().run(request(CensusForm::L1, "SAT NOU"), QStringLiteral("2010"));
    EXPECT_TRUE(result.templateOpened);
    EXPECT_EQ(result.rows, 2);
    ASSERT_TRUE(result.output);
    EXPECT_EQ(*result.output, QDir(home.home()).filePath(QStringLiteral("Rap0.xls")));
    EXPECT_EQ(ui.openedFiles(), QStringList {*result.output});
    EXPECT_EQ(ui.progressLabels(), (QStringList {"Caut Capii de gospodarie...", "Caut Suprafetele...", "Caut Animalele..."}));
    EXPECT_FALSE(ui.progressVisible());
    EXPECT_TRUE(QFile::exists(home.dataFile(QStringLiteral("L1.xls"))));
    expectNoWorkTables();
    const test::XlsContent c = test::readXls(*result.output);
    ASSERT_TRUE(c.faults.isEmpty()) << c.faults.join(';').toStdString();
    expectCells(c, {
        {"A4", "s:JUDETUL ALBA"},
        {"A9", "s:Localitatea componenta/ satul SAT NOU"},
        {"G13", "s:ziua 05  luna 03  2010"},
        {"G1", "s:Formular L1"},
    });
    const QList<QStringList> rows {
        {c.cells.value("A24"), c.cells.value("B24"), c.cells.value("C24"), c.cells.value("D24"), c.cells.value("E24"), c.cells.value("F24"), c.cells.value("G24")},
        {c.cells.value("A25"), c.cells.value("B25"), c.cells.value("C25"), c.cells.value("D25"), c.cells.value("E25"), c.cells.value("F25"), c.cells.value("G25")}};
    EXPECT_EQ(rows, (QList<QStringList> {{"n:1", "s:ŢĂRAN GHEORGHE", "s:MORII", "s:10A", "n:0", "n:60", "s:X"},
                                         {"n:2", "s:POPESCU ION", "s:MORII", "s:12", "n:3", "n:60.25", "s:X"}}));
    EXPECT_FALSE(c.cells.contains("H24"));
    EXPECT_FALSE(c.cells.contains("A26"));
    EXPECT_EQ(c.cells.value("B28"), "s:Intocmit de ");
}

// Both foreign L1 templates and an edited copy of the data directory (used as it is, never
// overwritten).
TEST_F(CensusForms, ForeignAndEditedTemplates)
{
    for (const char* name : {"l1-xlwt.xls", "l1-libreoffice.xls"}) {
        SCOPED_TRACE(name);
        auto c = census();
        c.setTemplateFile(fixture(QLatin1String(name)));
        const QString out = QDir(home.home()).filePath(QStringLiteral("out.xls"));
        c.setOutputFile(out);
        const reports::CensusResult result = c.run(request(CensusForm::L1, "SAT NOU"), QStringLiteral("2010"));
        EXPECT_EQ(result.rows, 2);
        const test::XlsContent x = test::readXls(out);
        ASSERT_TRUE(x.faults.isEmpty()) << x.faults.join(';').toStdString();
        expectCells(x, {
            {"A4", "s:JUDETUL ALBA"},
            {"A7", "s:orasului, comunei TÂRGU VECHI"},
            {"G13", "s:ziua 05  luna 03  2010"},
            {"B24", "s:ŢĂRAN GHEORGHE"},
            {"B25", "s:POPESCU ION"},
            {"F25", "n:60.25"},
        });
        EXPECT_EQ(x.sheetCount, 2);
    }

    {
        workbook::Workbook book(fixture(QStringLiteral("l1-libreoffice.xls")));
        book.setText(1, 1, QStringLiteral("Modificat de functionar"));
        book.saveAs(home.dataFile(QStringLiteral("L1.xls")));
    }
    QFile before(home.dataFile(QStringLiteral("L1.xls")));
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray edited = before.readAll();
    before.close();
    const reports::CensusResult result = census().run(request(CensusForm::L1, "SAT NOU"), QStringLiteral("2010"));
    ASSERT_TRUE(result.output);
    EXPECT_EQ(test::readXls(*result.output).cells.value("A1"), "s:Modificat de functionar");
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    EXPECT_EQ(before.readAll(), edited);
}

// Each built-in template holds its form's cell map, and the resources are what the designs write.
TEST(CensusTemplates, BuiltInTemplatesFollowTheirCellMaps)
{
    struct Map {
        int k;
        QMap<QString, QString> cells;
    };
    const QString common[][2] = {{"B1", "s:ROMÂNIA"}, {"A2", "s:RECENSAMANTUL GENERALAGRICOL - 2010"}, {"A4", "s:#JUDET"},
                                 {"A6", "s:Primaria municipiului, sect.m.Bucuresti,"}, {"A7", "s:#PRIMARIA"}};
    const QList<Map> maps {
        {1, {{"A9", "s:#LOCALIT"}, {"G13", "s:#DATA"}, {"G1", "s:Formular L1"}, {"C15", "s:LISTA"}, {"A24", "s:%NRCRT"},
             {"B24", "s:#NUMEP"}, {"C24", "s:#STRADA"}, {"D24", "s:#NR"}, {"E24", "s:#HA"}, {"F24", "s:#ARI"}, {"G24", "s:#ANIMALE"},
             {"H24", "s:#DBF"}, {"A23", "s:0"}, {"B23", "s:1"}, {"C23", "s:2"}, {"D23", "s:3"}, {"E23", "s:4"}, {"G23", "s:5"},
             {"B18", "s:NUMELE SI PRENUMELE"}, {"B19", "s:(capul exploatatiei agricole)"}, {"C18", "s:Strada"}, {"D18", "s:Numar"},
             {"E18", "s:   Suprafata agricola"}, {"E19", "s:ha"}, {"F19", "s:ari"}, {"G18", "s:Animale"}}},
        {2, {{"A9", "s:#LOCALIT"}, {"H13", "s:#DATA"}, {"H1", "s:Formular L2"}, {"A24", "s:%NRCRT"}, {"B24", "s:#NUMEP"},
             {"C24", "s:#JUD"}, {"D24", "s:#LOC"}, {"E24", "s:#STRADA"}, {"F24", "s:#NR"}, {"G24", "s:#HA"}, {"H24", "s:#ARI"},
             {"I24", "s:#ANIMALE"}, {"J24", "s:#DBF"}, {"A23", "s:0"}, {"I23", "s:7"}}},
        {3, {{"A9", "s:#LOCALIT"}, {"F13", "s:#DATA"}, {"F1", "s:Formular L3"}, {"A24", "s:%NRCRT"}, {"B24", "s:#NUMEP"},
             {"C24", "s:#STRADA"}, {"D24", "s:#NR"}, {"E24", "s:#HA"}, {"F24", "s:#ARI"}, {"G24", "s:#ANIMALE"}, {"H24", "s:#DBF"}}},
        {4, {{"A9", "s:#LOCALIT"}, {"H13", "s:#DATA"}, {"H1", "s:Formular L4"}, {"C24", "s:#JUD"}, {"I24", "s:#ANIMALE"}, {"J24", "s:#DBF"}}},
        {5, {{"F13", "s:#DATA"}, {"F1", "s:Formular C1"}, {"B20", "s:LOCALITATI COMPONENTE"}, {"A25", "s:%NRCRT"},
             {"B25", "s:#LOCALITATE"}, {"C25", "s:#NR1"}, {"D25", "s:#NR2"}, {"E25", "s:#NR3"}, {"F25", "s:#NR4"}, {"G25", "s:#DBF"}}},
        {6, {{"F13", "s:#DATA"}, {"F1", "s:Formular C2"}, {"B20", "s:PRIMARIA"}, {"A25", "s:%NRCRT"}, {"B25", "s:#DENLOC"},
             {"C25", "s:#NR1"}, {"D25", "s:#NR2"}, {"E25", "s:#NR3"}, {"F25", "s:#NR4"}, {"G25", "s:#DBF"}}},
    };
    QTemporaryDir dir;
    for (const Map& m : maps) {
        SCOPED_TRACE(m.k);
        const reports::BuiltInTemplate& t = reports::censusTemplate(m.k);
        QFile resource(QStringLiteral(":/%1/MODEL").arg(QLatin1String(t.type)));
        ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
        const QByteArray bytes = resource.readAll();
        EXPECT_EQ(bytes, workbook::writeNewWorkbook(reports::censusDesign(m.k)));
        const QString path = dir.filePath(QLatin1String(t.copyName));
        QFile copy(path);
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(bytes);
        copy.close();
        const test::XlsContent c = test::readXls(path);
        ASSERT_TRUE(c.faults.isEmpty()) << c.faults.join(';').toStdString();
        for (const auto& pair : common)
            EXPECT_EQ(c.cells.value(pair[0]), pair[1]) << pair[0].toStdString();
        for (auto it = m.cells.cbegin(); it != m.cells.cend(); ++it)
            EXPECT_EQ(c.cells.value(it.key()), it.value()) << it.key().toStdString();
        // The signature block below the template row.
        const int below = m.k <= 4 ? 24 : 25;
        bool signature = false;
        for (auto it = c.cells.cbegin(); it != c.cells.cend(); ++it) {
            if (it.value() == QLatin1String("s:Intocmit de ")) {
                QString row = it.key();
                row.remove(0, 1);
                signature = row.toInt() > below;
            }
        }
        EXPECT_TRUE(signature);
        int markers = 0;
        for (const QString& v : c.cells)
            markers += v == QLatin1String("s:#DBF");
        EXPECT_EQ(markers, 1);
    }
}

// The village is compared as a bound value; a stale work table is replaced; one that cannot be
// removed stops the report with its message; a damaged template leaves no work table behind.
TEST_F(CensusForms, VillageTextsWorkTablesAndFailures)
{
    EXPECT_TRUE(census().rows(request(CensusForm::L1, "SAT NOU\" OR \"1\"=\"1"), QStringLiteral("2010")).rows.empty());
    EXPECT_THROW(census().rows(request(CensusForm::L1, "  "), QStringLiteral("2010")), Error);

    QFile stale(QDir(home.home()).filePath(QStringLiteral("Tmp.dbf")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("not a table");
    stale.close();
    EXPECT_EQ(census().rows(request(CensusForm::L1, "SAT NOU"), QStringLiteral("2010")).rows.size(), 2u);
    expectNoWorkTables();

    const QString damaged = QDir(home.home()).filePath(QStringLiteral("damaged.xls"));
    QFile d(damaged);
    ASSERT_TRUE(d.open(QIODevice::WriteOnly));
    d.write("no workbook at all");
    d.close();
    auto c = census();
    c.setTemplateFile(damaged);
    c.setOutputFile(QDir(home.home()).filePath(QStringLiteral("out.xls")));
    EXPECT_THROW(c.run(request(CensusForm::C1, "SAT NOU"), QStringLiteral("2010")), workbook::WorkbookError);
    expectNoWorkTables();
    EXPECT_FALSE(QFile::exists(QDir(home.home()).filePath(QStringLiteral("out.xls"))));

    ASSERT_TRUE(QDir(home.home()).mkpath(QStringLiteral("Tmp2.dbf/held")));
    const reports::CensusResult locked = census().run(request(CensusForm::C2, "SAT NOU"), QStringLiteral("2010"));
    EXPECT_TRUE(locked.locked);
    EXPECT_FALSE(locked.output);
    EXPECT_TRUE(ui.hasMessage(QStringLiteral("Recensamant"),
                              QStringLiteral("Fisierul ") + QDir::toNativeSeparators(QDir(home.home()).filePath(QStringLiteral("Tmp2.dbf")))
                                  + QStringLiteral(" este blocat!\rRestartati calculatorul!")));
    EXPECT_FALSE(QFile::exists(home.dataFile(QStringLiteral("L6.xls"))));
}
