// The plot search over the reference register: the filters (bound texts, the parcel rule, the
// prefixes), the total, sorting, and the list of land in ownership read back by the independent
// cell reader (cells, fonts, widths, borders, number format) with its numbered file names.

#include "XlsTestReader.h"

#include "core/Error.h"
#include "data/engine/Engine.h"
#include "data/engine/Query.h"
#include "data/engine/SqlText.h"
#include "search/PlotSearch.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

using namespace velmor;
using search::PlotFilters;
using search::PlotSearch;

namespace {

quint16 u16(const QByteArray& b, int at) { return quint16(quint8(b[at]) | (quint8(b[at + 1]) << 8)); }
quint32 u32(const QByteArray& b, int at) { return quint32(u16(b, at)) | (quint32(u16(b, at + 2)) << 16); }

class Plots : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.copyFixture(QStringLiteral("register-dbase4"));
        engine = std::make_unique<engine::Engine>(home.data());
    }

    void exec(const QString& statement, const QList<QPair<QString, dbf::Value>>& values = {})
    {
        engine::Query q(*engine);
        q.add(statement);
        for (const auto& [name, value] : values)
            q.bind(name, value);
        q.execSQL();
    }
    QString table(const char* name) const { return engine::quotedPath(home.dataFile(QLatin1String(name))); }

    void plot(qint64 codt, qint64 codid, const QString& parcel, const QString& cadastral, double area = 0.1)
    {
        exec(QStringLiteral("INSERT INTO ") + table("Tarlale.dbf")
                 + QStringLiteral(" (ANUL, CODID, CODT, ACT, NRACT, INTRA, TARLA, NRTARLA, NRPARC, CATEG, SUPRAF, NRCAD) "
                                  "VALUES (2010, :CODID, :CODT, 'ORDIN PREFECT', '55', 'EXTRAVILAN', 'LUNCA', '2', :P, 'LIVEZI', :S, :C)"),
             {{"CODID", std::int64_t(codid)}, {"CODT", std::int64_t(codt)}, {"P", parcel}, {"C", cadastral}, {"S", area}});
    }
    void head(qint64 codid, const QString& name, const QString& relation = QStringLiteral("Cap de gospodarie"))
    {
        exec(QStringLiteral("UPDATE ") + table("CAP1.dbf") + QStringLiteral(" SET NUMEP=:N, DENUM=:D WHERE ANUL=2010 AND CODID=:C AND COD=1"),
             {{"N", name}, {"D", relation}, {"C", std::int64_t(codid)}});
    }

    // The CODTs found, in the result's order.
    QList<qint64> found(PlotSearch& s) const
    {
        QList<qint64> codes;
        for (int r = 0; r < s.rowCount(); ++r)
            codes << std::get<std::int64_t>(s.value(r, QStringLiteral("CODT")));
        return codes;
    }

    test::TempHome home;
    ScriptedInteraction ui;
    std::unique_ptr<engine::Engine> engine;
};

}

// Without a filter: every plot of the working year's heads, their total, in the window's order.
TEST_F(Plots, NoFilterListsEveryPlotOfTheYearWithItsTotal)
{
    PlotSearch s(*engine, home.data(), QStringLiteral("2010"));
    s.run({});
    EXPECT_EQ(found(s), (QList<qint64> {503, 502, 501}));
    EXPECT_EQ(s.totalTenThousandths(), 16025);
    EXPECT_EQ(s.totalLabel(), QStringLiteral("Total suprafata : 1.6025 ha   "));
    EXPECT_EQ(s.current(), 0);
    EXPECT_EQ(s.currentPlot(), 503);
    EXPECT_EQ(s.pictures(501), QStringList {QStringLiteral("C:\\Poze\\titlu123.jpg")});
    EXPECT_TRUE(s.pictures(503).isEmpty());

    PlotSearch old(*engine, home.data(), QStringLiteral("2009"));
    old.run({});
    EXPECT_EQ(found(old), QList<qint64> {401});
}

TEST(PlotTotal, LabelInShortestDecimals)
{
    const QList<QPair<qint64, const char*>> cases {
        {0, "0"}, {10000, "1"}, {16025, "1.6025"}, {3, "0.0003"}, {-5000, "-0.5"}, {123450000, "12345"}, {10010, "1.001"}};
    for (const auto& [total, text] : cases)
        EXPECT_EQ(PlotSearch::totalLabel(total), QStringLiteral("Total suprafata : %1 ha   ").arg(QLatin1String(text))) << total;
}

// Each filter alone; typed texts are values, never patterns or statement text.
TEST_F(Plots, FiltersFindWhatIsTyped)
{
    plot(601, 102, QStringLiteral("7"), QStringLiteral("12"));
    plot(602, 102, QStringLiteral("7A"), QStringLiteral("123"));
    plot(603, 102, QStringLiteral("7/2"), QStringLiteral("12A"));
    plot(604, 102, QStringLiteral("71"), QStringLiteral("1%3"));
    plot(605, 102, QStringLiteral("17"), QStringLiteral("1_3"));
    plot(606, 102, QStringLiteral("  7\"B"), QStringLiteral("X\"Y"));
    head(103, QStringLiteral("POP%_ \"IO\""));
    plot(607, 103, QStringLiteral("1"), QStringLiteral("9"));
    head(104, QStringLiteral("POPA ELENA"));
    plot(608, 104, QStringLiteral("1"), QStringLiteral("9"));
    head(105, QStringLiteral("POPOVICI PETRU"), QStringLiteral("Cap gospodarie"));
    plot(609, 105, QStringLiteral("1"), QStringLiteral("9"));
    // Ten plots of 0.1 ha: the total is exact.
    for (int k = 0; k < 10; ++k)
        plot(700 + k, 106, QStringLiteral("99"), QStringLiteral("0"), 0.1);

    struct Case {
        const char* what;
        PlotFilters filters;
        QSet<qint64> codes;
    };
    auto with = [](auto set) {
        PlotFilters f;
        set(f);
        return f;
    };
    QSet<qint64> tenth;
    for (int k = 0; k < 10; ++k)
        tenth << 700 + k;
    const QList<Case> cases {
        {"parcel 7", with([](PlotFilters& f) { f.parcel = QStringLiteral("7"); }), {601, 602, 603, 606}},
        {"parcel 7 typed with spaces", with([](PlotFilters& f) { f.parcel = QStringLiteral(" 7 "); }), {601, 602, 603, 606}},
        {"parcel 12", with([](PlotFilters& f) { f.parcel = QStringLiteral("12"); }), {501, 502}},
        {"parcel with a quote", with([](PlotFilters& f) { f.parcel = QStringLiteral("7\"B"); }), {606}},
        {"head POP", with([](PlotFilters& f) { f.head = QStringLiteral("POP"); }), {501, 502, 503, 607, 608}},
        {"head POP%", with([](PlotFilters& f) { f.head = QStringLiteral("POP%"); }), {607}},
        {"head POP_", with([](PlotFilters& f) { f.head = QStringLiteral("POP_"); }), {}},
        {"head with quotes", with([](PlotFilters& f) { f.head = QStringLiteral("POP%_ \"I"); }), {607}},
        {"head of another relation text", with([](PlotFilters& f) { f.head = QStringLiteral("POPOVICI"); }), {}},
        {"cadastral 12", with([](PlotFilters& f) { f.cadastral = QStringLiteral("12"); }), {601, 602, 603}},
        {"cadastral 1%", with([](PlotFilters& f) { f.cadastral = QStringLiteral("1%"); }), {604}},
        {"cadastral 1_", with([](PlotFilters& f) { f.cadastral = QStringLiteral("1_"); }), {605}},
        {"cadastral with a quote", with([](PlotFilters& f) { f.cadastral = QStringLiteral("X\""); }), {606}},
        {"deed", with([](PlotFilters& f) { f.deed = QStringLiteral("CONTRACT VANZARE"); }), {503}},
        {"deed number", with([](PlotFilters& f) { f.deedNumber = QStringLiteral(" 123 "); }), {501, 502}},
        {"category", with([](PlotFilters& f) { f.category = QStringLiteral("TEREN ARABIL"); }), {501, 502}},
        {"area kind", with([](PlotFilters& f) { f.areaKind = QStringLiteral("INTRAVILAN"); }), {501}},
        {"block", with([](PlotFilters& f) { f.block = QStringLiteral("LA PARAU"); }), {502}},
        {"block number", with([](PlotFilters& f) { f.blockNumber = QStringLiteral("3"); }), {503}},
        {"worker", with([](PlotFilters& f) { f.worker = QStringLiteral("POPESCU ION"); }), {502}},
        {"type 3", with([](PlotFilters& f) { f.type = QStringLiteral("3"); }), tenth},
        {"village", with([](PlotFilters& f) { f.village = QStringLiteral("DEALU MARE"); }), {608}},
        {"village with a quote", with([](PlotFilters& f) { f.village = QStringLiteral("SAT\" OR \"1\"=\"1"); }), {}},
        {"two filters", with([](PlotFilters& f) {
             f.parcel = QStringLiteral("7");
             f.cadastral = QStringLiteral("12");
         }),
         {601, 602, 603}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlotSearch s(*engine, home.data(), QStringLiteral("2010"));
        s.run(c.filters);
        const QList<qint64> codes = found(s);
        EXPECT_EQ(QSet<qint64>(codes.begin(), codes.end()), c.codes);
    }
    PlotSearch s(*engine, home.data(), QStringLiteral("2010"));
    s.run(with([](PlotFilters& f) { f.type = QStringLiteral("3"); }));
    EXPECT_EQ(s.totalTenThousandths(), 10000);
    EXPECT_EQ(s.totalLabel(), QStringLiteral("Total suprafata : 1 ha   "));
}

TEST_F(Plots, OverlongTextsAndUnknownTypesAreRefused)
{
    PlotSearch s(*engine, home.data(), QStringLiteral("2010"));
    PlotFilters f;
    f.cadastral = QStringLiteral("12345678901");
    EXPECT_THROW(s.run(f), Error);
    EXPECT_EQ(*PlotSearch::refusal(f), QStringLiteral("Nr.cadastral are cel mult 10 caractere."));
    f = {};
    f.type = QStringLiteral("5");
    ASSERT_TRUE(PlotSearch::refusal(f));
    f.type = QStringLiteral("4");
    EXPECT_FALSE(PlotSearch::refusal(f));
}

// Sorting by a column keeps the current household; the export's order by type first.
TEST_F(Plots, SortingKeepsTheCurrentHousehold)
{
    plot(601, 102, QStringLiteral("7"), QStringLiteral("12"), 5.0);
    plot(602, 104, QStringLiteral("8"), QStringLiteral("12"), 0.01);
    PlotSearch s(*engine, home.data(), QStringLiteral("2010"));
    s.run({});
    EXPECT_EQ(found(s), (QList<qint64> {602, 503, 502, 501, 601}));
    s.setCurrent(4); // household 102
    ASSERT_TRUE(s.sortBy(QStringLiteral("SUPRAF")));
    EXPECT_EQ(found(s), (QList<qint64> {602, 503, 501, 502, 601}));
    EXPECT_EQ(std::get<std::int64_t>(s.value(s.current(), QStringLiteral("CODID"))), 102);
    s.setCurrent(2); // household 101
    ASSERT_TRUE(s.sortBy(QStringLiteral("numep")));
    EXPECT_EQ(std::get<std::int64_t>(s.value(s.current(), QStringLiteral("CODID"))), 101);
    EXPECT_FALSE(s.sortBy(QStringLiteral("CODID; DROP")));
    exec(QStringLiteral("UPDATE ") + table("Identificare.dbf") + QStringLiteral(" SET TIPRA=2 WHERE CODID=102"));
    s.run({});
    s.setCurrent(0);
    s.exportOrder();
    EXPECT_EQ(found(s), (QList<qint64> {602, 503, 502, 501, 601}));
    EXPECT_EQ(std::get<std::int64_t>(s.value(s.current(), QStringLiteral("CODID"))), 104);
}

// The list of land in ownership, read back record by record.
TEST_F(Plots, ListOfLandInOwnershipReadBack)
{
    plot(601, 102, QStringLiteral("7"), QStringLiteral("12"), 2.1235);
    PlotSearch s(*engine, home.data(), QStringLiteral("2010"));
    s.run({});
    s.exportOrder();
    const std::optional<QString> file = s.exportList(home.home(), QStringLiteral("PRIMARIA COMUNEI TÂRGU VECHI"), QDate(2010, 3, 5), ui);
    ASSERT_TRUE(file);
    EXPECT_EQ(*file, QDir(home.home()).filePath(QStringLiteral("Lista0.xls")));
    EXPECT_EQ(ui.openedFiles(), QStringList {*file});
    const test::XlsContent c = test::readXls(*file);
    ASSERT_TRUE(c.faults.isEmpty()) << c.faults.join(QLatin1Char(';')).toStdString();

    const QMap<QString, QString> expected {
        {"A1", "s:Primaria   PRIMARIA COMUNEI TÂRGU VECHI"},
        {"D3", "s:Lista terenurilor in proprietate"},
        {"D4", "s:la data de 05.03.2010"},
        {"A6", "s:SAT NOU"}, {"D6", "s:TIP 1;  Vol.1   Poz.1"}, {"E6", "s:POPESCU ION"}, {"D7", "s:str. MORII nr.12"},
        {"C8", "s:LOCALIZARE"}, {"D8", "s:TARLAUA"}, {"E8", "s:NR."}, {"F8", "s:PARCELA"}, {"G8", "s:CATEGORIA"},
        {"H8", "s:SUPR.(ha)"}, {"I8", "s:Observatii"},
        {"B9", "s:CONTRACT VANZARE nr.9 / 01.02.2005"},
        {"C10", "s:extravilan"}, {"D10", "s:DEALUL VIILOR"}, {"E10", "s:3"}, {"F10", "s:123"}, {"G10", "s:vii, pepiniere viticole"}, {"H10", "n:0.1"},
        {"B11", "s:TITLU DE PROPRIETATE nr.123 / 12.03.1992"},
        {"C12", "s:extravilan"}, {"D12", "s:LA PARAU"}, {"E12", "s:7"}, {"F12", "s:12A"}, {"G12", "s:teren arabil"}, {"H12", "n:1.0025"},
        {"C13", "s:intravilan"}, {"D13", "s:VATRA SAT"}, {"E13", "s:1"}, {"F13", "s:12"}, {"G13", "s:teren arabil"}, {"H13", "n:0.5"},
        // the next household after one empty row
        {"A15", "s:SAT NOU"}, {"D15", "s:TIP 1;  Vol.1   Poz.2"}, {"E15", "s:ŢĂRAN GHEORGHE"}, {"D16", "s:str. MORII nr.10A"},
        {"C17", "s:LOCALIZARE"}, {"D17", "s:TARLAUA"}, {"E17", "s:NR."}, {"F17", "s:PARCELA"}, {"G17", "s:CATEGORIA"},
        {"H17", "s:SUPR.(ha)"}, {"I17", "s:Observatii"},
        {"B18", "s:ORDIN PREFECT nr.55 / "},
        {"C19", "s:extravilan"}, {"D19", "s:LUNCA"}, {"E19", "s:2"}, {"F19", "s:7"}, {"G19", "s:livezi"}, {"H19", "n:2.1235"},
    };
    EXPECT_EQ(c.cells, expected);

    // Fonts (index 4 does not exist), formats and widths from the raw records.
    QList<QByteArray> fonts;
    QList<QByteArray> formats;
    for (const test::XlsRecord& r : c.globals) {
        if (r.type == 0x0031)
            fonts << r.body;
        if (r.type == 0x00E0)
            formats << r.body;
    }
    auto fontOf = [&](quint16 index) { return fonts.value(index < 4 ? index : index - 1); };
    QMap<QString, quint16> xfOf;
    QMap<int, int> widths;
    for (const test::XlsRecord& r : c.sheets.value(0)) {
        if (r.type == 0x00FD || r.type == 0x0203 || r.type == 0x0201)
            xfOf.insert(test::address(u16(r.body, 0) + 1, u16(r.body, 2) + 1), u16(r.body, 4));
        if (r.type == 0x007D)
            for (int col = u16(r.body, 0); col <= u16(r.body, 2); ++col)
                widths.insert(col + 1, u16(r.body, 4));
    }
    EXPECT_EQ(widths, (QMap<int, int> {{1, 768}, {2, 768}, {3, 3072}, {4, 4096}, {5, 2304}, {6, 3072}, {7, 4096}, {8, 2560}, {9, 4864}}));
    struct Look {
        const char* cell;
        int points;
        bool bold;
        bool bordered;
        int format;
    };
    const Look looks[] = {
        {"A1", 10, true, false, 0}, {"D3", 14, true, false, 0}, {"D4", 10, true, false, 0}, {"A6", 10, true, false, 0},
        {"E6", 10, true, false, 0}, {"D7", 10, true, false, 0}, {"C8", 10, false, true, 0}, {"I8", 10, false, true, 0},
        {"B9", 10, false, false, 0}, {"F10", 10, false, false, 0}, {"H10", 10, false, false, 2}, {"H19", 10, false, false, 2},
    };
    for (const Look& l : looks) {
        SCOPED_TRACE(l.cell);
        ASSERT_TRUE(xfOf.contains(QLatin1String(l.cell)));
        const QByteArray xf = formats.value(xfOf.value(QLatin1String(l.cell)));
        ASSERT_EQ(xf.size(), 20);
        const QByteArray font = fontOf(u16(xf, 0));
        ASSERT_GE(font.size(), 16);
        EXPECT_EQ(u16(font, 0), l.points * 20);
        EXPECT_EQ(u16(font, 6), l.bold ? 700 : 400);
        EXPECT_EQ(QString::fromLatin1(font.mid(16, quint8(font[14]))), QStringLiteral("Arial"));
        EXPECT_EQ(u16(xf, 2), l.format);
        const quint32 lines = u32(xf, 10);
        const bool all = (lines & 0xF) && (lines & 0xF0) && (lines & 0xF00) && (lines & 0xF000);
        EXPECT_EQ(all, l.bordered);
        if (!l.bordered)
            EXPECT_EQ(lines & 0xFFFF, 0u);
    }
}

// A list still open elsewhere pushes the next one to the next free name; every name in use, or
// a folder that cannot be written, is told and nothing is opened.
TEST_F(Plots, NumberedListFilesAndFailures)
{
    PlotSearch s(*engine, home.data(), QStringLiteral("2010"));
    s.run({});
    const QDir dir(home.home());
    QFile old(dir.filePath(QStringLiteral("Lista0.xls")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older list, open in a spreadsheet program");
    old.close();
    QFile lock(dir.filePath(QStringLiteral(".~lock.Lista0.xls#")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();
    const auto second = s.exportList(home.home(), QStringLiteral("P"), QDate(2010, 3, 5), ui);
    ASSERT_TRUE(second);
    EXPECT_EQ(*second, dir.filePath(QStringLiteral("Lista1.xls")));
    QFile kept(dir.filePath(QStringLiteral("Lista0.xls")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("older list, open in a spreadsheet program"));
    EXPECT_TRUE(test::readXls(*second).faults.isEmpty());

    for (int n = 1; n <= 100; ++n) {
        QFile f(dir.filePath(QStringLiteral("Lista%1.xls").arg(n)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QFile l(dir.filePath(QStringLiteral(".~lock.Lista%1.xls#").arg(n)));
        ASSERT_TRUE(l.open(QIODevice::WriteOnly));
    }
    ui.clear();
    EXPECT_FALSE(s.exportList(home.home(), QStringLiteral("P"), QDate(2010, 3, 5), ui));
    EXPECT_TRUE(ui.hasMessage(QStringLiteral("Lista titluri"),
                              QStringLiteral("Nu pot scrie in ") + QDir::toNativeSeparators(home.home()) + QStringLiteral(" !")));
    EXPECT_TRUE(ui.openedFiles().isEmpty());

    const QString missing = dir.filePath(QStringLiteral("no-such-folder"));
    EXPECT_FALSE(s.exportList(missing, QStringLiteral("P"), QDate(2010, 3, 5), ui));
    EXPECT_TRUE(ui.hasMessage(QStringLiteral("Lista proprietati"), QStringLiteral("Inchideti Excelul si repetati!")));
    EXPECT_TRUE(ui.openedFiles().isEmpty());
    EXPECT_FALSE(QDir(missing).exists());
}
