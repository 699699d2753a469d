// Plots with their holders and pictures, the value lists, and chapters 2 and 3 rebuilt from plots.

#include "EditorTestWorld.h"

#include "core/Error.h"
#include "data/dbf/DbfTable.h"
#include "register/PlotRecalculation.h"
#include "register/PlotStore.h"
#include "register/PlotValueLists.h"

#include <QFile>

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace velmor;
using velmor::test::EditorWorld;

namespace {

constexpr int kYear = 2011;

struct PlotWorld : EditorWorld {
    PlotStore store {*engine, home.data(), *settings};

    PlotWorld()
        : EditorWorld(QString::number(kYear))
    {
    }

    void member(qint64 codid, const QString& name, int kinship)
    {
        engine::Parameters p;
        p.bind(QStringLiteral("ANUL"), std::int64_t(kYear));
        p.bind(QStringLiteral("CODID"), std::int64_t(codid));
        p.bind(QStringLiteral("NUMEP"), name);
        p.bind(QStringLiteral("COD"), std::int64_t(kinship));
        engine->execute(QStringLiteral("INSERT INTO ") + engine::quotedPath(ctx.tablePath(QStringLiteral("CAP1.dbf")))
                            + QStringLiteral(" (ANUL, CODID, NUMEP, COD) VALUES (:ANUL, :CODID, :NUMEP, :COD)"),
                        p);
    }

    // Chapter rows with the given codes; pairs in hectares and ares.
    void chapterRow(const char* table, qint64 codid, int code, const QString& set = {})
    {
        engine::Parameters p;
        p.bind(QStringLiteral("ANUL"), std::int64_t(kYear));
        p.bind(QStringLiteral("CODID"), std::int64_t(codid));
        p.bind(QStringLiteral("RAND"), std::int64_t(code));
        engine->execute(QStringLiteral("INSERT INTO ") + engine::quotedPath(ctx.tablePath(QLatin1String(table)))
                            + QStringLiteral(" (ANUL, CODID, RAND) VALUES (:ANUL, :CODID, :RAND)"),
                        p);
        if (!set.isEmpty())
            engine->execute(QStringLiteral("UPDATE ") + engine::quotedPath(ctx.tablePath(QLatin1String(table))) + QStringLiteral(" SET ")
                                + set + QStringLiteral(" WHERE ANUL=:ANUL AND CODID=:CODID AND RAND=:RAND"),
                            p);
    }

    void fullChapters(qint64 codid, const QString& typedIn = {})
    {
        for (int code = 1; code <= 12; ++code)
            chapterRow("CAP2.dbf", codid, code, typedIn);
        for (int code = 1; code <= 15; ++code)
            chapterRow("CAP3.dbf", codid, code);
    }

    qint64 plot(qint64 codid, const QString& category, const QString& classification, double hectares)
    {
        PlotDetails d;
        d.category = category;
        d.classification = classification;
        d.area = hectares;
        d.holderLines = {QStringLiteral("POP ION")};
        return store.add(kYear, codid, d);
    }

    // Square metres of a pair of a chapter row: "A", "B", "C", "I" for chapter 2, "" for chapter 3.
    qint64 m(const char* table, qint64 codid, int code, const QString& pair) const
    {
        const QString ha = pair + QStringLiteral("HA");
        const QString ari = pair + QStringLiteral("ARI");
        const engine::ResultSet rows = engine->select(QStringLiteral("SELECT IFNULL(") + ha + QStringLiteral(",0)*10000+IFNULL(") + ari
                                                      + QStringLiteral(",0)*100 AS M FROM ") + engine::quotedPath(ctx.tablePath(QLatin1String(table)))
                                                      + QStringLiteral(" WHERE ANUL=%1 AND CODID=%2 AND RAND=%3").arg(kYear).arg(codid).arg(code));
        if (rows.rows.empty())
            return -1;
        const auto& v = rows.rows.front().front();
        if (const auto* d = std::get_if<double>(&v))
            return std::llround(*d);
        if (const auto* i = std::get_if<std::int64_t>(&v))
            return *i;
        return 0;
    }
};

TEST(PlotRecalculation, ChaptersTwoAndThreeFollowThePlots)
{
    PlotWorld w;
    // 1: the worked example, with values typed in column C before; chapter 3 rows 2 and 8 given.
    w.addHousehold(QString::number(kYear), 501, QStringLiteral("SAT NOU"), 1, 1, 1);
    w.fullChapters(501, QStringLiteral("CHA=3, CARI=12.5"));
    w.engine->execute(QStringLiteral("UPDATE ") + engine::quotedPath(w.ctx.tablePath(QStringLiteral("CAP3.dbf")))
                      + QStringLiteral(" SET HA=1 WHERE CODID=501 AND RAND=2"));
    w.engine->execute(QStringLiteral("UPDATE ") + engine::quotedPath(w.ctx.tablePath(QStringLiteral("CAP3.dbf")))
                      + QStringLiteral(" SET ARI=30 WHERE CODID=501 AND RAND=8"));
    w.plot(501, QStringLiteral("TEREN ARABIL"), QStringLiteral("INTRAVILAN"), 0.5);
    w.plot(501, QStringLiteral("TEREN ARABIL"), QStringLiteral("EXTRAVILAN"), 1.25);
    w.plot(501, QStringLiteral("VII, PEPINIERE VITICOLE"), QStringLiteral("EXTRAVILAN"), 0.1);
    // 2: yards and buildings, and two thirds of an hectare in two plots.
    w.addHousehold(QString::number(kYear), 502, QStringLiteral("SAT NOU"), 1, 1, 2);
    w.fullChapters(502);
    w.plot(502, QStringLiteral("CURTI SI CLADIRI"), QStringLiteral("INTRAVILAN"), 0.12);
    w.plot(502, QStringLiteral("TEREN ARABIL"), QStringLiteral("EXTRAVILAN"), 0.3333);
    w.plot(502, QStringLiteral("TEREN ARABIL"), QStringLiteral("EXTRAVILAN"), 0.3333);
    w.plot(502, QStringLiteral("LIVADA"), QStringLiteral("EXTRAVILAN"), 5); // no chapter 2 row
    // 3: chapter rows with values but no plots: everything becomes zero.
    w.addHousehold(QString::number(kYear), 503, QStringLiteral("DEALU MARE"), 2, 1, 1);
    w.fullChapters(503, QStringLiteral("AHA=4, BHA=4, IHA=1"));
    // 4: no chapter 2 rows at all: skipped, its plot untouched.
    w.addHousehold(QString::number(kYear), 504, QStringLiteral("DEALU MARE"), 2, 1, 2);
    w.plot(504, QStringLiteral("TEREN ARABIL"), QStringLiteral("EXTRAVILAN"), 1);

    ScriptedInteraction progress;
    const RecalcResult result = PlotRecalculation(*w.engine, w.home.data(), &progress).run(kYear, {});
    EXPECT_EQ(result.recalculated, 3);
    EXPECT_EQ(result.skipped, 1);

    struct Expect {
        qint64 codid;
        const char* table;
        int row;
        const char* pair;
        qint64 squareMetres;
    };
    const Expect expected[] = {
        {501, "CAP2.dbf", 1, "A", 17500},  {501, "CAP2.dbf", 1, "B", 17500}, {501, "CAP2.dbf", 1, "I", 5000},
        {501, "CAP2.dbf", 1, "C", 0},      {501, "CAP2.dbf", 4, "A", 1000},  {501, "CAP2.dbf", 4, "I", 0},
        {501, "CAP2.dbf", 5, "B", 1000},   {501, "CAP2.dbf", 8, "A", 18500}, {501, "CAP2.dbf", 8, "I", 5000},
        {501, "CAP2.dbf", 12, "A", 18500}, {501, "CAP2.dbf", 12, "B", 18500}, {501, "CAP2.dbf", 12, "I", 5000},
        {501, "CAP2.dbf", 6, "C", 0},      {501, "CAP3.dbf", 1, "", 18500},  {501, "CAP3.dbf", 15, "", 25500},
        {502, "CAP2.dbf", 1, "A", 6666},   {502, "CAP2.dbf", 10, "A", 1200}, {502, "CAP2.dbf", 10, "I", 1200},
        {502, "CAP2.dbf", 8, "A", 6666},   {502, "CAP2.dbf", 8, "I", 0},     {502, "CAP2.dbf", 12, "A", 7866},
        {502, "CAP2.dbf", 12, "I", 1200},  {502, "CAP3.dbf", 1, "", 6666},   {502, "CAP3.dbf", 15, "", 6666},
        {503, "CAP2.dbf", 1, "A", 0},      {503, "CAP2.dbf", 1, "I", 0},     {503, "CAP2.dbf", 12, "B", 0},
    };
    for (const Expect& e : expected)
        EXPECT_EQ(w.m(e.table, e.codid, e.row, QLatin1String(e.pair)), e.squareMetres)
            << e.codid << ' ' << e.table << " row " << e.row << ' ' << e.pair;
    // 0.6666 ha is 0 ha and 66.66 ares.
    const engine::ResultSet pair = w.engine->select(QStringLiteral("SELECT AHA, AARI FROM ")
                                                    + engine::quotedPath(w.ctx.tablePath(QStringLiteral("CAP2.dbf")))
                                                    + QStringLiteral(" WHERE ANUL=2011 AND CODID=502 AND RAND=1"));
    EXPECT_EQ(pair.rows.front()[0], dbf::Value(std::int64_t(0)));
    EXPECT_EQ(pair.rows.front()[1], dbf::Value(66.66));
    EXPECT_EQ(w.count(QStringLiteral("CAP2.dbf"), QStringLiteral("CODID=504")), 0);
    EXPECT_FALSE(progress.progressVisible());
    for (const auto& event : progress.progressEvents()) {
        if (event.type == ScriptedInteraction::ProgressEventType::Maximum)
            EXPECT_GT(event.value, 0);
    }
}

TEST(PlotRecalculation, PlanFromPlotsAndRowsBefore)
{
    using Values = RecalcPlan::Cap2Values;
    struct Case {
        const char* name;
        std::vector<int> cap2Rows;              // the chapter 2 rows the household has
        std::map<int, qint64> plotA, plotI;     // square metres by chapter 2 row
        std::map<int, RecalcPlan::HaAri> cap3;  // chapter 3 rows before
        bool planned;
        std::map<int, Values> cap2After;
        std::map<int, RecalcPlan::HaAri> cap3After;
    };
    const Values zero {};
    const std::vector<Case> cases {
        {"no chapter 2 rows", {13}, {{1, 5000}}, {}, {}, false, {}, {}},
        {"rows 8 and 12 add their rows; a missing row adds nothing",
         {1, 2, 4, 5, 8, 9, 12},
         {{1, 15000}, {2, 2500}, {3, 7000}, {4, 1000}, {5, 1000}, {9, 300}},
         {{1, 5000}},
         {{1, {9, 0}}, {2, {1, 50}}, {8, {0, 20}}, {15, {0, 0}}},
         true,
         {{1, {1, 50, 1, 50, 0, 0, 0, 50}},
          {2, {0, 25, 0, 25, 0, 0, 0, 0}},
          {4, {0, 10, 0, 10, 0, 0, 0, 0}},
          {5, {0, 10, 0, 10, 0, 0, 0, 0}},
          {8, {1, 85, 1, 85, 0, 0, 0, 50}},
          {9, {0, 3, 0, 3, 0, 0, 0, 0}},
          {12, {1, 88, 1, 88, 0, 0, 0, 50}}},
         {{1, {1, 85}}, {15, {3, 15}}}},
        {"chapter 3 used never below zero", {8}, {}, {}, {{8, {2, 0}}, {15, {4, 0}}}, true,
         {{8, zero}}, {{15, {0, 0}}}},
    };
    for (const Case& c : cases) {
        RecalcPlan plan;
        for (int row : c.cap2Rows)
            plan.cap2Before[row] = Values {7, 0, 7, 0, 1, 0, 0, 0};
        plan.plotA = c.plotA;
        plan.plotI = c.plotI;
        plan.cap3Before = c.cap3;
        EXPECT_EQ(PlotRecalculation::computePlan(1, plan), c.planned) << c.name;
        EXPECT_EQ(plan.cap2After, c.cap2After) << c.name;
        EXPECT_EQ(plan.cap3After, c.cap3After) << c.name;
    }

    // A total over 9999 ha does not fit chapter 2.
    RecalcPlan tooLarge;
    tooLarge.cap2Before[9] = zero;
    tooLarge.plotA[9] = qint64(10000) * 10000;
    EXPECT_THROW(PlotRecalculation::computePlan(1, tooLarge), Error);
}

TEST(PlotRecalculation, SelectionOverflowAndFailureLeaveHouseholdsWholeOrUnchanged)
{
    PlotWorld w;
    for (qint64 codid = 501; codid <= 503; ++codid) {
        w.addHousehold(QString::number(kYear), codid, QStringLiteral("SAT NOU"), 1, 1, int(codid - 500));
        w.fullChapters(codid, QStringLiteral("AHA=7, BHA=7"));
        w.plot(codid, QStringLiteral("TEREN ARABIL"), QStringLiteral("EXTRAVILAN"), 2);
    }
    // The selection picks one household by its position.
    RecalcSelection onePosition;
    onePosition.village = QStringLiteral("SAT NOU");
    onePosition.type = 1;
    onePosition.volume = 1;
    onePosition.position = 2;
    EXPECT_EQ(PlotRecalculation(*w.engine, w.home.data()).run(kYear, onePosition).recalculated, 1);
    EXPECT_EQ(w.m("CAP2.dbf", 502, 1, QStringLiteral("A")), 20000);
    EXPECT_EQ(w.m("CAP2.dbf", 501, 1, QStringLiteral("A")), 70000);

    // A total over 9999 ha is refused before anything is written.
    w.plot(503, QStringLiteral("FOND FORESTIER"), QStringLiteral("EXTRAVILAN"), 99999);
    EXPECT_THROW(PlotRecalculation(*w.engine, w.home.data()).run(kYear, {}), Error);
    EXPECT_EQ(w.m("CAP2.dbf", 501, 1, QStringLiteral("A")), 70000);
    w.engine->execute(QStringLiteral("DELETE FROM ") + engine::quotedPath(w.ctx.tablePath(QStringLiteral("Tarlale.dbf")))
                      + QStringLiteral(" WHERE SUPRAF>99998"));

    // A failure between the two chapters of household 3: 1 and 2 are done, 3 is as it was.
    PlotRecalculation failing(*w.engine, w.home.data());
    failing.setBetweenWrites([](qint64 household) {
        if (household == 503)
            throw Error(QStringLiteral("disc plin"));
    });
    try {
        failing.run(kYear, {});
        FAIL() << "the failure was not reported";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("disc plin"))) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QStringLiteral("codul 503"))) << e.message().toStdString();
    }
    EXPECT_EQ(w.m("CAP2.dbf", 501, 1, QStringLiteral("A")), 20000);
    EXPECT_EQ(w.m("CAP3.dbf", 501, 1, QString()), 20000);
    EXPECT_EQ(w.m("CAP2.dbf", 503, 1, QStringLiteral("A")), 70000);
    EXPECT_EQ(w.m("CAP2.dbf", 503, 8, QStringLiteral("B")), 70000);
    EXPECT_EQ(w.m("CAP3.dbf", 503, 1, QString()), 0);
}

TEST(PlotStore, AddChangeAndRemoveKeepHoldersAndPictures)
{
    PlotWorld w;
    w.addHousehold(QString::number(kYear), 507, QStringLiteral("SAT NOU"), 1, 1, 1);
    w.member(507, QStringLiteral("POP ANA"), 2);
    w.member(507, QStringLiteral("POP ION"), 1);
    EXPECT_EQ(w.store.memberNames(kYear, 507), (QStringList {QStringLiteral("POP ION"), QStringLiteral("POP ANA")}));

    PlotDetails d;
    d.deed = QStringLiteral("TITLU \"PROPRIETATE\"");
    d.deedNumber = QStringLiteral(" 12/3 ");
    d.deedDate = QStringLiteral("01.02.2003");
    d.notes = QStringLiteral("la 'podul' lui * Ion\\");
    d.classification = QStringLiteral("EXTRAVILAN");
    d.block = QStringLiteral("LA SALCÂMI");
    d.category = QStringLiteral("LIVEZI");
    d.area = 1.23456; // rounded to four decimals
    d.north = QStringLiteral("DRUM");
    d.worker = QStringLiteral("POP ION");
    d.holderLines = {QStringLiteral("  pop ion "), QString(), QStringLiteral("pop ana")};
    const qint64 codt = w.store.add(kYear, 507, d);
    const qint64 other = w.plot(507, QStringLiteral("LIVEZI"), QStringLiteral("EXTRAVILAN"), 1);

    PlotDetails stored = w.store.read(kYear, codt);
    EXPECT_EQ(stored.deed, d.deed);
    EXPECT_EQ(stored.deedNumber, QStringLiteral("12/3"));
    EXPECT_EQ(stored.notes, d.notes);
    EXPECT_EQ(stored.block, d.block);
    EXPECT_DOUBLE_EQ(stored.area, 1.2346);
    EXPECT_EQ(stored.holderLines, (QStringList {QStringLiteral("POP ANA"), QStringLiteral("POP ION")}));

    // Pictures: the same path twice on a plot is refused, on another plot accepted.
    const QString picture = w.home.data() + QStringLiteral("/act 12.pdf");
    w.store.addPicture(kYear, codt, picture);
    EXPECT_THROW(w.store.addPicture(kYear, codt, picture), PlotRefusal);
    w.store.addPicture(kYear, other, picture);
    EXPECT_THROW(w.store.addPicture(kYear, codt, QStringLiteral("/p/") + QString(240, QLatin1Char('x'))), PlotRefusal);

    // A change keeps the plot's code and pictures and replaces its holders.
    d.area = 2;
    d.holderLines = {QStringLiteral("POP MARIA")};
    w.store.change(kYear, 507, codt, d);
    stored = w.store.read(kYear, codt);
    EXPECT_DOUBLE_EQ(stored.area, 2);
    EXPECT_EQ(stored.holderLines, QStringList {QStringLiteral("POP MARIA")});
    EXPECT_EQ(w.store.pictures(kYear, codt), QStringList {picture});
    EXPECT_EQ(w.count(QStringLiteral("Tarlale.dbf"), QStringLiteral("CODID=507")), 2);

    // A refused change leaves the plot as it was.
    d.deedNumber = QString(16, QLatin1Char('9'));
    EXPECT_THROW(w.store.change(kYear, 507, codt, d), PlotRefusal);
    EXPECT_EQ(w.store.read(kYear, codt).holderLines, QStringList {QStringLiteral("POP MARIA")});

    // Removing deletes the plot, its holders and its pictures; the other plot keeps its own.
    w.store.remove(kYear, codt);
    EXPECT_EQ(w.count(QStringLiteral("Tarlale.dbf"), QStringLiteral("CODT=%1").arg(codt)), 0);
    EXPECT_EQ(w.count(QStringLiteral("OmTarla.dbf"), QStringLiteral("CODT=%1").arg(codt)), 0);
    EXPECT_EQ(w.count(QStringLiteral("PozeTarla.dbf"), QStringLiteral("CODT=%1").arg(codt)), 0);
    EXPECT_EQ(w.store.pictures(kYear, other), QStringList {picture});
    // The picture file was never the program's to delete.
    w.store.removePicture(kYear, other, picture);
    EXPECT_TRUE(w.store.pictures(kYear, other).isEmpty());
}

TEST(PlotStore, RefusalsNameTheirField)
{
    const auto valid = [] {
        PlotDetails d;
        d.area = 1;
        d.category = QStringLiteral("TEREN ARABIL");
        d.classification = QStringLiteral("EXTRAVILAN");
        d.holderLines = {QStringLiteral("A")};
        return d;
    };
    struct Case {
        std::function<void(PlotDetails&)> change;
        PlotField field;
    };
    const Case cases[] = {
        {[](PlotDetails& d) { d.area = 0; }, PlotField::Area},
        {[](PlotDetails& d) { d.area = -1; }, PlotField::Area},
        {[](PlotDetails& d) { d.area = 100000; }, PlotField::Area},
        {[](PlotDetails& d) { d.holderLines = {QStringLiteral("  "), QString()}; }, PlotField::Holders},
        {[](PlotDetails& d) { d.holderLines = {QString(41, QLatin1Char('A'))}; }, PlotField::Holders},
        {[](PlotDetails& d) { d.deed = QString(46, QLatin1Char('A')); }, PlotField::Deed},
        {[](PlotDetails& d) { d.notes = QString(241, QLatin1Char('A')); }, PlotField::Notes},
        {[](PlotDetails& d) { d.cadastral = QString(11, QLatin1Char('1')); }, PlotField::Cadastral},
        {[](PlotDetails& d) { d.west = QString(121, QLatin1Char('V')); }, PlotField::West},
    };
    EXPECT_NO_THROW(PlotStore::check(valid()));
    for (const Case& c : cases) {
        PlotDetails d = valid();
        c.change(d);
        try {
            PlotStore::check(d);
            ADD_FAILURE() << "accepted, expected a refusal at " << plotFieldLabel(c.field).toStdString();
        } catch (const PlotRefusal& e) {
            EXPECT_EQ(e.field(), c.field);
        }
    }
    // 99999.9999 ha and 40-letter holders fit exactly.
    PlotDetails edge = valid();
    edge.area = 99999.9999;
    edge.holderLines = {QString(40, QLatin1Char('A'))};
    EXPECT_NO_THROW(PlotStore::check(edge));
}

TEST(PlotStore, OnlyDocumentsAndPicturesAreOpened)
{
    const std::map<QString, bool> paths {
        {QStringLiteral("/a/b/act.PDF"), true},   {QStringLiteral("C:\\acte\\poza.jpeg"), true},
        {QStringLiteral("scan.tif"), true},       {QStringLiteral("nota.txt"), true},
        {QStringLiteral("run.exe"), false},       {QStringLiteral("act.pdf.bat"), false},
        {QStringLiteral("script.sh"), false},     {QStringLiteral("fara_extensie"), false},
        {QStringLiteral("macro.docm"), false},    {QStringLiteral("link.lnk"), false},
    };
    for (const auto& [path, allowed] : paths)
        EXPECT_EQ(PlotStore::mayOpen(path), allowed) << path.toStdString();
}

TEST(PlotValueLists, ListsFromThePlotsAndCategoryMemory)
{
    PlotWorld w;
    w.addHousehold(QString::number(kYear), 501, QStringLiteral("SAT NOU"), 1, 1, 1);
    PlotDetails d;
    d.area = 1;
    d.holderLines = {QStringLiteral("X")};
    d.deed = QStringLiteral("TITLU");
    d.block = QStringLiteral("B1");
    d.worker = QStringLiteral("ION");
    w.store.add(kYear, 501, d);
    d.deed = QStringLiteral("CONTRACT");
    w.store.add(kYear, 501, d);

    PlotValueLists lists(*w.engine, w.home.data(), *w.settings);
    lists.IncarcaListe();
    const QStringList deeds = lists.values(PlotValueLists::List::Deeds);
    EXPECT_TRUE(deeds.contains(QStringLiteral("TITLU")) && deeds.contains(QStringLiteral("CONTRACT")));
    EXPECT_EQ(deeds, [&] { QStringList sorted = deeds; sorted.sort(); return sorted; }());
    EXPECT_TRUE(QFile::exists(w.home.data() + QStringLiteral("/Tarlale.txt")));
    EXPECT_FALSE(lists.AdaugaInLista(PlotValueLists::List::Blocks, QStringLiteral(" b1 ")));
    EXPECT_FALSE(lists.AdaugaInLista(PlotValueLists::List::Blocks, QStringLiteral("   ")));
    EXPECT_TRUE(lists.AdaugaInLista(PlotValueLists::List::Blocks, QStringLiteral(" LA PĂDURE ")));
    EXPECT_TRUE(lists.values(PlotValueLists::List::Blocks).contains(QStringLiteral("LA PĂDURE")));

    EXPECT_EQ(PlotValueLists::classificationOf(QStringLiteral("B3 intravilan sat")), QStringLiteral("INTRAVILAN"));
    EXPECT_EQ(PlotValueLists::classificationOf(QStringLiteral("INTRAVILANUL")), QStringLiteral("EXTRAVILAN"));
    EXPECT_EQ(PlotValueLists::classificationOf(QStringLiteral("B1")), QStringLiteral("EXTRAVILAN"));
    EXPECT_EQ(lists.rememberedCategory(QStringLiteral("EXTRAVILAN"), QStringLiteral("B1")), 0);
    lists.rememberCategory(QStringLiteral("EXTRAVILAN"), QStringLiteral("B1"), 4);
    EXPECT_EQ(lists.rememberedCategory(QStringLiteral("EXTRAVILAN"), QStringLiteral(" B1 ")), 4);
    EXPECT_EQ(lists.rememberedCategory(QStringLiteral("INTRAVILAN"), QStringLiteral("B1")), 0);
}

}
