#include "SearchTestWorld.h"

#include "search/ChapterSummaries.h"
#include "search/SummaryText.h"

#include <gtest/gtest.h>

#include <QFile>

#include <functional>

using namespace velmor;
using namespace velmor::search;
using velmor::test::Columns;
using velmor::test::real;
using velmor::test::SearchWorld;
using velmor::test::text;
using velmor::test::whole;

namespace {

constexpr qint64 H = 7;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

Columns ha(qint64 hectares, double ares, const char* haField = "HA", const char* ariField = "ARI")
{
    return {{QString::fromLatin1(haField), whole(hectares)}, {QString::fromLatin1(ariField), real(ares)}};
}

Columns b(qint64 hectares, double ares) { return ha(hectares, ares, "BHA", "BARI"); }

Columns nr(qint64 n) { return {{QStringLiteral("NR"), whole(n)}}; }

Columns detalii(double v) { return {{QStringLiteral("DETALII"), real(v)}}; }

struct SummaryCase {
    const char* name;
    std::function<void(SearchWorld&)> setup;
    std::function<QString(ChapterSummaries&)> summary;
    QString expected;
};

void runCases(const std::vector<SummaryCase>& cases, const LocalTariffs::Values& tariffs = {})
{
    for (const SummaryCase& c : cases) {
        SearchWorld w;
        w.household(H, QStringLiteral("SAT NOU"), 1, 1, 1);
        c.setup(w);
        ChapterSummaries summaries(*w.engine, w.ctx.dataDirectory, tariffs);
        EXPECT_EQ(c.summary(summaries), c.expected) << c.name;
    }
}

}

TEST(SummaryText, SharedSteps)
{
    EXPECT_EQ(Finalizeaza(QStringLiteral("  Meri: 5buc., ")), QStringLiteral("Meri: 5buc."));
    EXPECT_EQ(Finalizeaza(QStringLiteral(" din care: ")), QStringLiteral("din care:"));
    EXPECT_EQ(Finalizeaza(QStringLiteral("   ")), QString());
    EXPECT_EQ(Finalizeaza(QString()), QString());
    EXPECT_EQ(Finalizeaza(QStringLiteral(",")), QStringLiteral("."));
    EXPECT_EQ(Finalizeaza(QStringLiteral("Albine: 1 familii, ")), QStringLiteral("Albine: 1 familii."));
    EXPECT_EQ(Finalizeaza(QStringLiteral("ogoare: 10ari,. ")), QStringLiteral("ogoare: 10ari,."));

    EXPECT_EQ(Capitalizeaza(QStringLiteral("  TARLA MARE")), QStringLiteral("Tarla mare"));
    EXPECT_EQ(Capitalizeaza(u("ŢARINA LUNGĂ")), u("Ţarina lungĂ"));
    EXPECT_EQ(Capitalizeaza(QStringLiteral("   ")), QString());
    EXPECT_EQ(Capitalizeaza(QStringLiteral("vale")), QStringLiteral("Vale"));

    EXPECT_EQ(TextMaterial(QStringLiteral("12")),
              u("din beton armat sau prefabricate din beton, din cărămidă, piatră sau înlocuitori"));
    EXPECT_EQ(TextMaterial(QStringLiteral("3")), QStringLiteral("din lemn"));
    EXPECT_EQ(TextMaterial(QStringLiteral("0")), QStringLiteral("din material nespecificat"));
    EXPECT_EQ(TextMaterial(QStringLiteral("45")), u("din paiantă, chirpici, din alte materiale"));
    EXPECT_EQ(TextMaterial(QStringLiteral("9x")), QString());
    EXPECT_EQ(TextMaterial(QString()), QString());
}

TEST(SummaryText, NumberFormats)
{
    EXPECT_EQ(plotAreaText(0.5), QStringLiteral("0.50"));
    EXPECT_EQ(plotAreaText(0.3333), QStringLiteral("0.3333"));
    EXPECT_EQ(plotAreaText(1.0025), QStringLiteral("1.0025"));
    EXPECT_EQ(plotAreaText(2), QStringLiteral("2.00"));
    EXPECT_EQ(plotAreaText(0.125), QStringLiteral("0.125"));
    EXPECT_EQ(wholeText(2.5), QStringLiteral("3"));
    EXPECT_EQ(wholeText(99.4), QStringLiteral("99"));
    EXPECT_EQ(plainText(50.25), QStringLiteral("50.25"));
    EXPECT_EQ(plainText(5), QStringLiteral("5"));
    EXPECT_EQ(annexText(12.345), QStringLiteral("12.35"));
    EXPECT_EQ(annexText(30), QStringLiteral("30"));

    EXPECT_EQ(squareMetres(1, 50.25), 15025);
    EXPECT_EQ(squareMetres(-1, 5), 0);
    const WholeArea carried = wholeArea(squareMetres(1, 99.6));
    EXPECT_EQ(carried.hectares, 2);
    EXPECT_FALSE(carried.hasAres);
    const WholeArea small = wholeArea(squareMetres(0, 0.4));
    EXPECT_EQ(small.hectares, 0);
    EXPECT_TRUE(small.hasAres);
    EXPECT_EQ(small.ares, 0);

    EXPECT_EQ((Fixed4::fromDouble(120.5) * Fixed4::fromUnits(5000)).moneyText(), QStringLiteral("60.25"));
    EXPECT_EQ(Fixed4::fromDouble(1020.275).dividedBy(3).units(), 3400917);
    EXPECT_EQ(Fixed4::fromDouble(1020.275).moneyText(), QStringLiteral("1020.28"));
    EXPECT_EQ(Fixed4().moneyText(), QStringLiteral("0.00"));
}

TEST(ChapterSummaries, LandOwned)
{
    runCases({
        {"nothing", [](SearchWorld&) {}, [](ChapterSummaries& s) { return s.TextCap2(H); }, QStringLiteral("nu detine.")},
        {"half an are in all",
         [](SearchWorld& w) { w.row(2, H, 1, b(0, 0.5)); },
         [](ChapterSummaries& s) { return s.TextCap2(H); }, QStringLiteral("nu detine.")},
        {"only the total row, 50 ares inside",
         [](SearchWorld& w) { w.row(2, H, 12, Columns {{"BHA", whole(2)}, {"BARI", real(0)}, {"IHA", whole(0)}, {"IARI", real(50)}}); },
         [](ChapterSummaries& s) { return s.TextCap2(H); },
         QStringLiteral("Total teren: 2ha repartizati astfel: 0ha 50ari intravilan si 1ha 50ari extravilan, din care:")},
        {"total, agricultural land and its parts",
         [](SearchWorld& w) {
             w.row(2, H, 1, Columns {{"BHA", whole(1)}, {"BARI", real(50.25)}});
             w.row(2, H, 2, b(2, 0));
             w.row(2, H, 4, b(0, 10));
             w.row(2, H, 5, b(0, 10));
             w.row(2, H, 7, b(0, 0));
             w.row(2, H, 8, b(3, 60.25));
             w.row(2, H, 10, b(0, 15));
             w.row(2, H, 12, Columns {{"BHA", whole(3)}, {"BARI", real(75.25)}, {"IHA", whole(0)}, {"IARI", real(65)}});
         },
         [](ChapterSummaries& s) { return s.TextCap2(H); },
         QStringLiteral("Total teren: 3ha75.25ari repartizati astfel: 0ha 65ari intravilan si 3ha 10.25ari extravilan, "
                        "din care: Curti si cladiri: 15ari, Teren agricol: 3ha60.25ari, compus din: Teren arabil: "
                        "1ha50.25ari,Pasuni naturale: 2ha, Vii: 10ari,din care: vii pe rod: 10ari.")},
        {"more inside than in all: nothing outside",
         [](SearchWorld& w) { w.row(2, H, 12, Columns {{"BHA", whole(1)}, {"BARI", real(0)}, {"IHA", whole(2)}, {"IARI", real(0)}}); },
         [](ChapterSummaries& s) { return s.TextCap2(H); },
         QStringLiteral("Total teren: 1ha repartizati astfel: 2ha 0ari intravilan si 0ha 0ari extravilan, din care:")},
        {"rows outside the chapter are skipped",
         [](SearchWorld& w) {
             w.row(2, H, 13, b(5, 0), QStringLiteral("RAND STRAIN"));
             w.row(2, H, 0, b(5, 0), QStringLiteral("ZERO"));
             w.row(2, H, 7, b(1, 0));
         },
         [](ChapterSummaries& s) { return s.TextCap2(H); }, QStringLiteral("din care pe rod: 1ha.")},
    });
}

TEST(ChapterSummaries, AgriculturalUseAndArableLand)
{
    runCases({
        {"use: nothing", [](SearchWorld& w) { w.row(3, H, 1, ha(0, 0)); },
         [](ChapterSummaries& s) { return s.TextCap3(H); }, u(" nu posedă suprafata agricolă.")},
        {"use: ares that round to a hectare",
         [](SearchWorld& w) {
             w.row(3, H, 1, ha(1, 99.6));
             w.row(3, H, 15, ha(1, 99.6));
         },
         [](ChapterSummaries& s) { return s.TextCap3(H); },
         u("Suprafată agricolă utilizată: 2ha, compusă din: Suprafată agricolă în proprietate: 2ha.")},
        {"use: received, given",
         [](SearchWorld& w) {
             w.row(3, H, 1, ha(3, 0));
             w.row(3, H, 2, ha(1, 20.4));
             w.row(3, H, 3, ha(1, 20.4));
             w.row(3, H, 8, ha(0, 50));
             w.row(3, H, 11, ha(0, 50));
             w.row(3, H, 15, ha(3, 70.4));
         },
         [](ChapterSummaries& s) { return s.TextCap3(H); },
         u("Suprafată agricolă utilizată: 3ha70ari, compusă din: Suprafată agricolă în proprietate: 3ha, "
           "Suprafată agricolă primită: 1ha20ari, astfel:- in arenda: 1ha20ari,.  Suprafată agricolă dată: 50ari, "
           "astfel:- in asociere: 50ari.")},
        {"arable: total, cultivated, wheat",
         [](SearchWorld& w) {
             w.row(4, H, 1, ha(2, 50));
             w.row(4, H, 33, ha(2, 50));
             w.row(4, H, 35, ha(2, 50));
         },
         [](ChapterSummaries& s) { return s.TextCap4(H); },
         u("Total teren arabil: 2ha 50ari,  compus din  Total suprafată arabilă cultivată: 2ha 50ari,  cu culturile:"
           "Grau: 2ha 50ari.")},
        {"arable: vegetables, melons, ares carried",
         [](SearchWorld& w) {
             w.row(4, H, 21, ha(0, 99.6));
             w.row(4, H, 22, ha(0, 99.6));
             w.row(4, H, 26, ha(0, 30));
             w.row(4, H, 33, ha(1, 29.6));
             w.row(4, H, 34, ha(0, 10));
             w.row(4, H, 35, ha(1, 39.6));
         },
         [](ChapterSummaries& s) { return s.TextCap4(H); },
         u("Total teren arabil: 1ha 40ari,  compus din  Rămas neânsământat si ogoare: 10ari,  Total suprafată arabilă "
           "cultivată: 1ha 30ari,  cu culturile: Total legume în câmp si solarii: 1ha,  astfel:- tomate total: 1ha, ; "
           "Pepeni verzi si galbeni: 30ari.")},
        {"arable: half an are", [](SearchWorld& w) { w.row(4, H, 35, ha(0, 0.5)); },
         [](ChapterSummaries& s) { return s.TextCap4(H); }, QStringLiteral("nu detine.")},
    });
}

TEST(ChapterSummaries, TreesAndIrrigation)
{
    runCases({
        {"trees: total and apple trees",
         [](SearchWorld& w) {
             w.row(5, H, 1, nr(5));
             w.row(5, H, 2, nr(5));
             w.row(5, H, 3, nr(0));
         },
         [](ChapterSummaries& s) { return s.TextCap5(H); }, QStringLiteral("Pomi pe rod total: 5buc.,  astfel: Meri: 5buc.")},
        {"trees: without a total the bearing kinds are not shown",
         [](SearchWorld& w) {
             w.row(5, H, 2, nr(5));
             w.row(5, H, 8, nr(3));
             w.row(5, H, 12, nr(10));
         },
         [](ChapterSummaries& s) { return s.TextCap5(H); }, QStringLiteral("Ciresi: 3buc., Pomi tineri: 10buc.")},
        {"trees: none", [](SearchWorld& w) { w.row(5, H, 1, nr(0)); },
         [](ChapterSummaries& s) { return s.TextCap5(H); }, QStringLiteral("nu detine.")},
        {"irrigation below one hectare",
         [](SearchWorld& w) {
             w.row(6, H, 11, b(0, 50));
             w.row(6, H, 15, b(0, 50));
         },
         [](ChapterSummaries& s) { return s.TextCap6(H); },
         QStringLiteral("Total teren agricol irigat: 50 ari,  din care: Pasuni naturale: 50 ari.")},
        {"irrigation: arable land and its crops",
         [](SearchWorld& w) {
             w.row(6, H, 1, b(2, 0));
             w.row(6, H, 3, b(1, 99.7));
             w.row(6, H, 7, b(0, 0.3));
             w.row(6, H, 15, b(2, 0));
         },
         [](ChapterSummaries& s) { return s.TextCap6(H); },
         QStringLiteral("Total teren agricol irigat: 2 ha,  din care: Teren arabil total: 2 ha,  din care:- porumb boabe: "
                        "2 ha, - legume: 0 ari.")},
        {"irrigation: nothing", [](SearchWorld& w) { w.row(6, H, 15, b(0, 0)); },
         [](ChapterSummaries& s) { return s.TextCap6(H); }, QStringLiteral("nu detine.")},
    });
}

TEST(ChapterSummaries, Livestock)
{
    runCases({
        {"cattle, cows and bees",
         [](SearchWorld& w) {
             w.row(7, H, 1, nr(3));
             w.row(7, H, 2, nr(2));
             w.row(7, H, 30, nr(1));
         },
         [](ChapterSummaries& s) { return s.TextCap7(H); },
         QStringLiteral("Bovine- Total: 3 capete,  din care: - Vaci si bivolite: 2 capete, Albine - familii: 1 familii.")},
        {"boars after the other pig rows",
         [](SearchWorld& w) {
             w.row(7, H, 20.1, nr(1));
             w.row(7, H, 17, nr(5));
             w.row(7, H, 18, nr(2));
             w.row(7, H, 19, nr(1));
         },
         [](ChapterSummaries& s) { return s.TextCap7(H); },
         u("Porcine -total-: 5 capete,  din care:- scroafe de prăsilă: 2 capete, > tineret femel prasila (6-9luni): "
           "1 capete, > vieri de reproductie autorizati: 1 capete.")},
        {"sheep, rams, horses and stallions",
         [](SearchWorld& w) {
             w.row(7, H, 11, nr(10));
             w.row(7, H, 12, nr(6));
             w.row(7, H, 14.1, nr(1));
             w.row(7, H, 21, nr(2));
             w.row(7, H, 22.1, nr(1));
             w.row(7, H, 28, nr(25));
         },
         [](ChapterSummaries& s) { return s.TextCap7(H); },
         u("Ovine -total-: 10 capete,  din care:- oi fătătoare: 6 capete, > berbeci de reproductie autorizati: 1 capete, "
           "Cabaline -total-: 2 capete, - armasari de reproductie autorizati: 1 capete, Pasari -total-: 25 capete.")},
        {"a code outside the chapter is skipped",
         [](SearchWorld& w) {
             w.row(7, H, 1, nr(3));
             w.row(7, H, 31, nr(4), QStringLiteral("STRUTI"));
             w.row(7, H, 14.5, nr(4), QStringLiteral("CODE STRAIN"));
         },
         [](ChapterSummaries& s) { return s.TextCap7(H); }, QStringLiteral("Bovine- Total: 3 capete,  din care:")},
        {"no animals", [](SearchWorld& w) { w.row(7, H, 1, nr(0)); },
         [](ChapterSummaries& s) { return s.TextCap7(H); }, QStringLiteral("nu detine.")},
    });
}

TEST(ChapterSummaries, LivestockChanges)
{
    auto everyRow = [](SearchWorld& w) {
        for (int r = 1; r <= 40; ++r) {
            const qint64 first = r == 2 ? 3 : r == 4 ? 1 : 0;
            const qint64 second = r == 29 ? 4 : 0;
            w.row(8, H, r, Columns {{"SEM_1", whole(first)}, {"SEM_2", whole(second)}});
        }
    };
    runCases({
        {"no movement", [](SearchWorld& w) { w.row(8, H, 1, Columns {{"SEM_1", whole(0)}, {"SEM_2", whole(0)}}); },
         [](ChapterSummaries& s) { return s.TextCap8(H, 1); }, u("nu a înregistrat modificări.")},
        {"first half-year", everyRow, [](ChapterSummaries& s) { return s.TextCap8(H, 1); },
         u("Bovine Sem.1 vitei obtinuti: 0 capete, > Cumparari: 3 capete, > Vanzari: 1 capete, din care vaci si bivolite "
           "Sem.1 cumpărări: 0 capete, Ovine Sem.1 miei obtinuti: 0 capete, Caprine Sem.1 iezi obtinuti: 0 capete, "
           "Porcine Sem.1 purcei obtinuti: 0 capete, Cabaline Sem.1 manji obtinuti: 0 capete.")},
        {"second half-year", everyRow, [](ChapterSummaries& s) { return s.TextCap8(H, 2); },
         u("Bovine Sem.2 vitei obtinuti: 0 capete, din care vaci si bivolite Sem.2 cumpărări: 0 capete, Ovine Sem.2 miei "
           "obtinuti: 0 capete, Caprine Sem.2 iezi obtinuti: 0 capete, Porcine Sem.2 purcei obtinuti: 0 capete, > "
           "Cumparari: 4 capete, Cabaline Sem.2 manji obtinuti: 0 capete.")},
        {"second half-year without movement", [](SearchWorld& w) { w.row(8, H, 2, Columns {{"SEM_1", whole(3)}, {"SEM_2", whole(0)}}); },
         [](ChapterSummaries& s) { return s.TextCap8(H, 2); }, u("nu a înregistrat modificări.")},
    });
}

TEST(ChapterSummaries, Machines)
{
    runCases({
        {"tractors, seeders, combines",
         [](SearchWorld& w) {
             w.row(9, H, 1, nr(0));
             w.row(9, H, 2, nr(1));
             w.row(9, H, 14, nr(2));
             w.row(9, H, 23, nr(1));
             w.row(9, H, 36, nr(1));
         },
         [](ChapterSummaries& s) { return s.TextCap9(H); },
         u("Tractoare > intre 46-55 CP: 1 buc., Semănători mecanice pt.prasitoare: 2 buc., Combine autopropulsate > "
           "porumb: 1 buc., Care si carute: 1 buc.")},
        {"no machines", [](SearchWorld& w) { w.row(9, H, 1, nr(0)); },
         [](ChapterSummaries& s) { return s.TextCap9(H); }, QStringLiteral("nu detine.")},
    });
}

TEST(ChapterSummaries, Buildings)
{
    auto rows = [](std::vector<std::pair<int, double>> values) {
        return [values](SearchWorld& w) {
            for (const auto& [code, value] : values)
                w.row(10, H, code, detalii(value));
        };
    };
    runCases({
        {"two dwellings and a stable",
         rows({{1, 80}, {2, 2}, {3, 1975}, {4, 120}, {5, 12}, {6, 2001}, {7, 0}, {8, 0}, {9, 0}, {10, 0}, {11, 0}, {12, 0},
               {13, 30}, {14, 0}, {15, 0}, {16, 0}, {17, 0}, {18, 0}, {19, 0}}),
         [](ChapterSummaries& s) { return s.TextCap10(H); },
         u("Case de locuit:  Imobil 1: suprafata construită 80 mp, din cărămidă, piatră sau înlocuitori,  din anul 1975,  "
           "Imobil 2: suprafata construită 120 mp, din beton armat sau prefabricate din beton, din cărămidă, piatră sau "
           "înlocuitori,  din anul 2001,  grajduri : 30 mp.")},
        {"first dwelling without surface",
         rows({{1, 0}, {2, 0}, {3, 0}, {4, 60}, {5, 3}, {6, 1990}, {13, 30}, {19, 12.5}}),
         [](ChapterSummaries& s) { return s.TextCap10(H); },
         u("Case de locuit:  nu detine.  grajduri : 30 mp,  cladiri anexe: 12.5 mp.")},
        {"wooden house, annexes",
         rows({{1, 45.5}, {2, 3}, {3, 1960}, {14, 4}, {15, 6}, {16, 20}, {17, 9}, {18, 18}}),
         [](ChapterSummaries& s) { return s.TextCap10(H); },
         u("Case de locuit:  Imobil 1: suprafata construită 45.5 mp, din lemn,  din anul 1960,  pătule : 4 mp,  "
           "magazii,hambare pentru cereale: 6 mp,  sură, fânar : 20 mp,  remize, soproane : 9 mp,  garaje: 18 mp.")},
        {"rows looked up by their code: a missing material row",
         rows({{13, 10}, {3, 1980}, {1, 60}}),
         [](ChapterSummaries& s) { return s.TextCap10(H); },
         u("Case de locuit:  Imobil 1: suprafata construită 60 mp, ,  din anul 1980,  grajduri : 10 mp.")},
        {"nothing", rows({{1, 0}, {13, 0.5}}), [](ChapterSummaries& s) { return s.TextCap10(H); },
         QStringLiteral("nu detine.")},
    });
}

TEST(ChapterSummaries, MembersPlotsAndMentions)
{
    runCases({
        {"members in code order",
         [](SearchWorld& w) {
             w.member(H, QStringLiteral("POPESCU ANA"), 3, {}, QStringLiteral("fiica"));
             w.member(H, QStringLiteral("POPESCU ION"), 1, {}, QStringLiteral("cap gospodarie"));
             w.member(H, QStringLiteral("POPESCU MARIA"), 2, {}, QStringLiteral("sotie"));
         },
         [](ChapterSummaries& s) { return s.TextMembri(H); },
         QStringLiteral("POPESCU ION - cap gospodarie, POPESCU MARIA - sotie, POPESCU ANA - fiica.")},
        {"no members", [](SearchWorld&) {}, [](ChapterSummaries& s) { return s.TextMembri(H); }, QStringLiteral(" fara membri.")},
        {"plots grouped by their place",
         [](SearchWorld& w) {
             auto plot = [&w](qint64 codt, const char* intra, const char* tarla, const char* categ, double area) {
                 w.insert(QStringLiteral("Tarlale.dbf"),
                          {{QStringLiteral("ANUL"), whole(2010)}, {QStringLiteral("CODID"), whole(H)},
                           {QStringLiteral("CODT"), whole(codt)}, {QStringLiteral("INTRA"), text(intra)},
                           {QStringLiteral("TARLA"), text(tarla)}, {QStringLiteral("NRTARLA"), text("5")},
                           {QStringLiteral("NRPARC"), text("12A")}, {QStringLiteral("CATEG"), text(categ)},
                           {QStringLiteral("SUPRAF"), real(area)}});
             };
             plot(1, "INTRAVILAN", "LA VALE", "TEREN ARABIL", 0.5);
             plot(2, "EXTRAVILAN", " DEALUL MARE", "FANEATA", 0.3333);
             plot(3, "EXTRAVILAN", "", "VII", 1.0025);
         },
         [](ChapterSummaries& s) { return s.TextParcele(H); },
         QStringLiteral("EXTRAVILAN :  tarla: Dealul mare nr.5 parcela 12A categoria faneata = 0.3333 ha;  tarla:  nr.5 "
                        "parcela 12A categoria vii = 1.0025 ha; INTRAVILAN :  tarla: La vale nr.5 parcela 12A categoria "
                        "teren arabil = 0.50 ha; ")},
        {"no plots", [](SearchWorld&) {}, [](ChapterSummaries& s) { return s.TextParcele(H); }, QStringLiteral(" nu detine teren.")},
        {"mentions on two lines",
         [](SearchWorld& w) {
             w.insert(QStringLiteral("CAP11.dbf"), {{QStringLiteral("ANUL"), whole(2010)}, {QStringLiteral("CODID"), whole(H)},
                                                    {QStringLiteral("MENTIUNI"), text("  Casa noua,\r\nfara acte ")}});
         },
         [](ChapterSummaries& s) { return s.TextMentiuni(H); }, QStringLiteral("Casa noua,fara acte")},
        {"no mentions", [](SearchWorld&) {}, [](ChapterSummaries& s) { return s.TextMentiuni(H); }, QString()},
    });
}

TEST(ChapterSummaries, Income)
{
    LocalTariffs::Values tariffs;
    tariffs.tariffs[0] = 120.5; // arable land inside
    tariffs.tariffs[11] = 10;   // arable land outside
    tariffs.tariffs[1] = 7;     // hay fields inside
    tariffs.tariffs[5] = 300;   // cattle
    tariffs.tariffs[10] = 50;   // bee families
    tariffs.tariffs[8] = 100;   // pigs
    tariffs.hotarare = QStringLiteral("HCL 12/2010");
    auto land = [](SearchWorld& w) {
        w.row(2, H, 1, Columns {{"AHA", whole(1)}, {"AARI", real(50.25)}, {"IHA", whole(0)}, {"IARI", real(50)}});
        w.row(2, H, 3, Columns {{"AHA", whole(0)}, {"AARI", real(20)}, {"IHA", whole(0)}, {"IARI", real(40)}});
        w.row(2, H, 10, Columns {{"AHA", whole(5)}, {"AARI", real(0)}, {"IHA", whole(5)}, {"IARI", real(0)}});
        w.row(7, H, 1, nr(3));
        w.row(7, H, 17, nr(0));
        w.row(7, H, 20.1, nr(2));
        w.row(7, H, 30, nr(1));
    };
    // 120.5 x 0.5 + 10 x 1.0025 + 7 x 0.4 (more inside than in all: nothing outside) + 300 x 3 + 50 x 1
    runCases({
        {"three members",
         [land](SearchWorld& w) {
             land(w);
             w.member(H, QStringLiteral("A"), 1);
             w.member(H, QStringLiteral("B"), 2);
             w.member(H, QStringLiteral("C"), 3);
         },
         [](ChapterSummaries& s) { return s.TextVenit(H); },
         QStringLiteral("HCL 12/2010 un venit agricol de 1023.08 lei/luna, venitul mediu pe membru de familie fiind de "
                        "341.03 lei/luna.")},
        {"no members", land, [](ChapterSummaries& s) { return s.TextVenit(H); },
         QStringLiteral("HCL 12/2010 un venit agricol de 1023.08 lei/luna, venitul mediu pe membru de familie fiind de "
                        "0.00 lei/luna.")},
    },
             tariffs);
}

TEST(ChapterSummaries, AllInTheCertificatesOrder)
{
    SearchWorld w;
    w.household(H, QStringLiteral("SAT NOU"), 1, 1, 1);
    ChapterSummaries summaries(*w.engine, w.ctx.dataDirectory, {});
    QStringList names;
    for (const auto& summary : summaries.all(H))
        names << summary.name;
    EXPECT_EQ(names, (QStringList {"TextMembri", "TextParcele", "TextCap2", "TextCap3", "TextCap4", "TextCap5", "TextCap6",
                                   "TextCap7", "TextCap8_1", "TextCap8_2", "TextCap9", "TextCap10", "TextMentiuni",
                                   "TextVenit"}));
    EXPECT_EQ(summaries.all(H)[1].text, QStringLiteral(" nu detine teren."));
}

TEST(ChapterSummaries, MissingTableIsAnError)
{
    SearchWorld w;
    QFile::remove(w.home.dataFile(QStringLiteral("CAP5.dbf")));
    ChapterSummaries summaries(*w.engine, w.ctx.dataDirectory, {});
    EXPECT_THROW(summaries.TextCap5(H), std::exception);
}
