#include "register/ChapterRules.h"

#include "data/ChapterCatalogue.h"

#include <algorithm>

namespace velmor::chapter_rules {

using namespace data;

namespace {

const QString A = QStringLiteral("A");
const QString B = QStringLiteral("B");
const QString C = QStringLiteral("C");
const QString I = QStringLiteral("I");
const QString HaAri = QString(); // the HA/ARI pair of chapters 3 and 4

qint64 sumMetres(const ChapterRows& rows, std::initializer_list<int> codes, const QString& pair)
{
    qint64 sum = 0;
    for (int code : codes)
        sum += rows.metres(code, pair);
    return sum;
}

qint64 sumRange(const ChapterRows& rows, int from, int to, const QString& pair)
{
    qint64 sum = 0;
    for (int code = from; code <= to; ++code)
        sum += rows.metres(code, pair);
    return sum;
}

void setArea(ChapterRows& rows, int code, const QString& pair, qint64 metres)
{
    if (ChapterRow* row = rows.at(code))
        row->setArea(pair, metres);
}

void setTotals(ChapterRows& rows, int code, qint64 b, qint64 c, const qint64* i)
{
    ChapterRow* row = rows.at(code);
    if (!row)
        return;
    row->setArea(B, b);
    row->setArea(C, c);
    row->setArea(A, b);
    if (i)
        row->setArea(I, *i);
}

bool negative(const area::HaAri& pair)
{
    return pair.ha < 0 || pair.ari < 0;
}

// Writes split(metres) into a chapter 3 row, or 0 and 0 when it comes out negative.
bool setChecked(ChapterRows& rows, int code, qint64 metres)
{
    const area::HaAri pair = area::split(metres);
    const bool bad = negative(pair);
    if (ChapterRow* row = rows.at(code))
        row->setArea(HaAri, bad ? area::HaAri {} : pair);
    return bad;
}

void cap2TotalRows(ChapterRows& rows)
{
    const auto of = [&rows](const QString& pair) {
        return cap2Totals([&](int code) { return rows.metres(code, pair); });
    };
    const Cap2Totals b = of(B);
    const Cap2Totals c = of(C);
    const Cap2Totals i = of(I);
    setTotals(rows, cap2::AgriculturalTotal, b.agricultural, c.agricultural, &i.agricultural);
    setTotals(rows, cap2::TotalArea, b.total, c.total, &i.total);
}

void cap6TotalRows(ChapterRows& rows)
{
    qint64 b = sumRange(rows, cap6::WheatAndRye, cap6::OtherCrops, B);
    qint64 c = sumRange(rows, cap6::WheatAndRye, cap6::OtherCrops, C);
    setTotals(rows, cap6::ArableTotal, b, c, nullptr);
    b += sumRange(rows, cap6::Pasture, cap6::Orchards, B);
    c += sumRange(rows, cap6::Pasture, cap6::Orchards, C);
    setTotals(rows, cap6::AgriculturalTotal, b, c, nullptr);
}

void copyBToA(ChapterRow& row)
{
    row.setNumber(ChapterLayout::haField(A), row.number(ChapterLayout::haField(B)));
    row.setNumber(ChapterLayout::ariField(A), row.number(ChapterLayout::ariField(B)));
}

}

Cap2Totals cap2Totals(const std::function<qint64(int code)>& metres)
{
    Cap2Totals totals;
    for (int code : {cap2::Arable, cap2::Pasture, cap2::Hayfields, cap2::Vineyards, cap2::Orchards})
        totals.agricultural += metres(code);
    totals.total = totals.agricultural;
    for (int code : {cap2::Forest, cap2::YardsAndBuildings, cap2::OtherLand})
        totals.total += metres(code);
    return totals;
}

QStringList afterSaveCap2(ChapterRows& rows, int saved)
{
    QStringList warnings;
    if (saved >= 0 && saved < rows.size()) {
        ChapterRow& row = rows.rows()[saved];
        const qint64 b = row.metres(B);
        if (row.metres(I) > b) {
            row.setArea(I, b);
            warnings << QStringLiteral("Suprafata intravilana incorecta !");
        }
        row.setArea(A, b);
    }
    if (rows.metres(cap2::VineyardsBearing, A) > rows.metres(cap2::Vineyards, A))
        warnings << QStringLiteral("Linia cod 4 sau 5 este incorecta !");
    if (rows.metres(cap2::OrchardsBearing, A) > rows.metres(cap2::Orchards, A))
        warnings << QStringLiteral("Linia cod 6 sau 7 este incorecta !");
    cap2TotalRows(rows);
    return warnings;
}

void totalsCap2(ChapterRows& rows)
{
    for (ChapterRow& row : rows.rows())
        row.setArea(A, row.metres(B));
    cap2TotalRows(rows);
}

area::HaAri totalOfCap2Row(const ChapterRow& row)
{
    return area::split(std::max<qint64>(0, row.metres(B) + row.metres(C)));
}

area::HaAri outsideOfCap2Row(const ChapterRow& row)
{
    return area::split(std::max<qint64>(0, row.metres(B) - row.metres(I)));
}

void CalculeazaCAP3(ChapterRows& cap3, double ownedHa, double ownedAri)
{
    if (ChapterRow* row = cap3.at(cap3::Owned)) {
        row->setNumber(QStringLiteral("HA"), ownedHa);
        row->setNumber(QStringLiteral("ARI"), ownedAri);
    }
}

QString VerificaCAP3(ChapterRows& cap3)
{
    QString message;
    const qint64 owned = cap3.metres(cap3::Owned, HaAri);
    const qint64 received = sumRange(cap3, cap3::ReceivedLease, cap3::ReceivedOther, HaAri);
    const qint64 given = sumRange(cap3, cap3::GivenLease, cap3::GivenOther, HaAri);
    const QString withCr = Cap3Warning + QLatin1Char('\r') + Cap3Reason;
    if (setChecked(cap3, cap3::Used, owned + received - given))
        message = withCr;
    if (setChecked(cap3, cap3::GivenTotal, given))
        message = withCr;
    if (setChecked(cap3, cap3::ReceivedTotal, received))
        message = Cap3Warning + QStringLiteral("\r\n") + Cap3Reason;
    return message;
}

void CalculeazaCAP4Intern(ChapterRows& rows)
{
    using namespace cap4;
    const qint64 field = sumRange(rows, Wheat, Potatoes, HaAri);
    const qint64 vegetables = sumRange(rows, Tomatoes, OtherVegetables, HaAri);
    // Lucerne is one of the fodder plants: not added again.
    const qint64 others = sumMetres(rows, {Melons, FodderPlants, SeedCrops, Strawberries, Flowers, OtherCrops}, HaAri);
    setArea(rows, VegetablesTotal, HaAri, vegetables);
    setArea(rows, CultivatedTotal, HaAri, field + vegetables + others);
    setArea(rows, ArableTotal, HaAri, rows.metres(Unsown, HaAri) + field + vegetables + others);
}

void CalculeazaCAP5Intern(ChapterRows& rows)
{
    const QString nr = QStringLiteral("NR");
    qint64 sum = 0;
    for (int code = cap5::Apple; code <= cap5::OtherTrees; ++code)
        sum += std::llround(rows.number(code, nr));
    if (ChapterRow* row = rows.at(cap5::BearingTotal))
        row->setNumber(nr, double(sum));
}

void afterSaveCap6(ChapterRows& rows, int saved)
{
    if (saved >= 0 && saved < rows.size())
        copyBToA(rows.rows()[saved]);
    cap6TotalRows(rows);
}

void totalsCap6(ChapterRows& rows)
{
    for (ChapterRow& row : rows.rows())
        copyBToA(row);
    cap6TotalRows(rows);
}

void CalculeazaCAP7Intern(ChapterRows& rows)
{
    const QString nr = QStringLiteral("NR");
    qint64 sum = 0;
    // Positions equal codes up to row 14 of chapter 7.
    using namespace cap7;
    for (int code : {Cows, PregnantHeifers, Bulls, WorkOxen, YoungFemales, YoungMales, BovineFattening})
        sum += std::llround(rows.number(code, nr));
    if (ChapterRow* row = rows.at(BovineTotal))
        row->setNumber(nr, double(sum));
}

QStringList checkCap10(const ChapterRow& row, int currentYear)
{
    const qint64 v = std::llround(row.number(QStringLiteral("DETALII")));
    if (v == 0)
        return {};
    const int code = row.codeTenths() % 10 == 0 ? row.codeTenths() / 10 : 0;
    bool wrong = false;
    // Every house has three rows: area, material, year.
    const auto ofHouses = [code](int first, int last) { return code >= first && code <= last && (code - first) % 3 == 0; };
    if (ofHouses(cap10::HouseAMaterial, cap10::HouseDMaterial))
        wrong = v < 0 || v > 345;
    else if (ofHouses(cap10::HouseAYear, cap10::HouseDYear))
        wrong = v < 1700 || v > currentYear;
    if (!wrong)
        return {};
    return {QStringLiteral("Linia cod ") + QString::number(code) + QStringLiteral(" este incorecta !")};
}

}
