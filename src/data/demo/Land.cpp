#include "data/demo/Land.h"

#include "data/demo/Plots.h"
#include "data/demo/Random.h"

#include <algorithm>

namespace velmor::data::demo {

namespace {

// Chapter 3 rows of each form of land received and given.
constexpr int kReceivedRows[LandFormCount] = {
    cap3::ReceivedLease, cap3::ReceivedShare, cap3::ReceivedAssociation, cap3::ReceivedAsShares, cap3::ReceivedOther,
};
constexpr int kGivenRows[LandFormCount] = {
    cap3::GivenLease, cap3::GivenShare, cap3::GivenAssociation, cap3::GivenAsShares, cap3::GivenOther,
};

// Chapter 4 crops a household may grow, with the chapter 6 row each counts in when irrigated.
struct Crop {
    int row;
    int irrigatedRow;
};
constexpr Crop kCrops[] = {
    {cap4::Wheat, cap6::WheatAndRye}, {cap4::Rye, cap6::WheatAndRye}, {cap4::Barley, cap6::OtherCrops},
    {cap4::TwoRowBarley, cap6::OtherCrops}, {cap4::Oats, cap6::OtherCrops}, {cap4::GrainMaize, cap6::GrainMaize},
    {cap4::OtherCereals, cap6::OtherCrops}, {cap4::Peas, cap6::OtherCrops}, {cap4::Beans, cap6::OtherCrops},
    {cap4::Sunflower, cap6::Sunflower}, {cap4::Rapeseed, cap6::OtherCrops}, {cap4::Soybeans, cap6::Soybeans},
    {cap4::SugarBeet, cap6::SugarBeet}, {cap4::Tobacco, cap6::OtherCrops}, {cap4::MedicinalPlants, cap6::OtherCrops},
    {cap4::Potatoes, cap6::Potatoes}, {cap4::Tomatoes, cap6::Vegetables}, {cap4::Cabbage, cap6::Vegetables},
    {cap4::Peppers, cap6::Vegetables}, {cap4::OtherVegetables, cap6::Vegetables}, {cap4::Melons, cap6::OtherCrops},
    {cap4::FodderPlants, cap6::FodderPlants}, {cap4::SeedCrops, cap6::OtherCrops},
    {cap4::Strawberries, cap6::OtherCrops}, {cap4::Flowers, cap6::OtherCrops}, {cap4::OtherCrops, cap6::OtherCrops},
};

}

void Land::makeLand(Household& h, int year)
{
    const auto add = [&](int category, bool intra, qint64 lo, qint64 hi, int parcels) {
        for (int k = 0; k < parcels; ++k)
            h.plots.push_back(m_plots.makePlot(h, category, intra, m_random.range(lo, hi), year));
    };
    switch (h.type) {
    case 1:
        if (m_random.percent(95))
            add(Yard, true, 300, 3000, 1);
        if (m_random.percent(60))
            add(Arable, true, 500, 4000, 1);
        if (m_random.percent(70))
            add(Arable, false, 2000, 15000, m_random.irange(1, 5));
        if (m_random.percent(15))
            add(Pasture, false, 3000, 20000, 1);
        if (m_random.percent(20))
            add(Hay, false, 2000, 10000, m_random.irange(1, 2));
        if (m_random.percent(25))
            add(Vines, m_random.percent(50), 300, 3000, 1);
        if (m_random.percent(20))
            add(Orchard, m_random.percent(60), 500, 5000, 1);
        if (m_random.percent(10))
            add(Forest, false, 5000, 30000, 1);
        if (m_random.percent(3))
            add(OtherLand, m_random.percent(50), 100, 2000, 1);
        break;
    case 2:
        if (m_random.percent(30))
            add(Yard, true, 300, 2000, 1);
        add(Arable, false, 3000, 20000, m_random.irange(1, 3));
        if (m_random.percent(25))
            add(Hay, false, 2000, 10000, 1);
        if (m_random.percent(10))
            add(Forest, false, 5000, 20000, 1);
        break;
    case 3:
        add(Yard, true, 5000, 20000, 1);
        add(Arable, false, 10000, 300000, m_random.irange(3, 12));
        if (m_random.percent(40))
            add(Pasture, false, 20000, 200000, m_random.irange(1, 3));
        if (m_random.percent(20))
            add(Orchard, false, 10000, 80000, 1);
        break;
    default:
        add(Arable, false, 10000, 200000, m_random.irange(2, 8));
        if (m_random.percent(20))
            add(Hay, false, 10000, 50000, 1);
        break;
    }
    h.vinesBearing = m_random.irange(60, 100);
    h.orchardBearing = m_random.irange(50, 100);
    if (h.type == 1 && m_random.percent(8))
        h.otherLand[cap2::Arable] = m_random.range(1000, 20000);
    if (h.type == 1 && m_random.percent(3))
        h.otherLand[cap2::Hayfields] = m_random.range(1000, 8000);
    if (h.type == 3 && m_random.percent(10))
        h.otherLand[cap2::Arable] = m_random.range(50000, 500000);

    // Chapter 3: land given and received.
    if ((h.type == 1 || h.type == 2) && m_random.percent(h.type == 2 ? 40 : 8)) {
        const int form = m_random.weighted({70, 20, 5, 0, 5});
        h.givenPercent[size_t(form)] = m_random.irange(30, 100);
        if (form == Lease)
            h.givenToCompanies = m_random.percent(50) ? 100 : 0;
    }
    if (h.type == 1 && m_random.percent(5))
        h.received[size_t(m_random.weighted({60, 30, 5, 0, 5}))] = m_random.range(10000, 50000);
    if (h.type == 3)
        h.received[Lease] = m_random.range(100000, 3000000);
    chooseCrops(h);
}

void Land::chooseCrops(Household& h)
{
    h.crops.clear();
    const auto add = [&](int row, int weight) { h.crops.emplace_back(row, weight); };
    if (h.type >= 3) {
        add(cap4::Wheat, m_random.irange(20, 40));
        add(cap4::GrainMaize, m_random.irange(20, 40));
        add(cap4::Sunflower, m_random.irange(5, 25));
        if (m_random.percent(50))
            add(cap4::Rapeseed, m_random.irange(5, 15));
        if (m_random.percent(30))
            add(cap4::Soybeans, m_random.irange(5, 15));
        if (m_random.percent(30))
            add(cap4::Barley, m_random.irange(5, 15));
    } else {
        add(cap4::GrainMaize, m_random.irange(20, 50));
        if (m_random.percent(60))
            add(cap4::Wheat, m_random.irange(10, 30));
        if (m_random.percent(50))
            add(cap4::Potatoes, m_random.irange(5, 15));
        if (m_random.percent(40))
            add(cap4::Tomatoes, m_random.irange(1, 4));
        if (m_random.percent(30))
            add(cap4::Cabbage, m_random.irange(1, 3));
        if (m_random.percent(25))
            add(cap4::Peppers, m_random.irange(1, 3));
        if (m_random.percent(30))
            add(cap4::OtherVegetables, m_random.irange(1, 3));
        if (m_random.percent(35))
            add(cap4::FodderPlants, m_random.irange(5, 25));
        if (m_random.percent(15))
            add(cap4::Beans, m_random.irange(2, 8));
        if (m_random.percent(10))
            add(cap4::Sunflower, m_random.irange(5, 20));
        if (m_random.percent(8))
            add(cap4::Oats, m_random.irange(3, 10));
        if (m_random.percent(5))
            add(m_random.pick(kCrops).row, m_random.irange(2, 8));
    }
    h.unsownPercent = m_random.percent(30) ? m_random.irange(1, 10) : 0;
    h.lucernePercent = m_random.irange(0, 100);
}

void Land::makeTrees(Household& h)
{
    qint64 orchard = 0;
    bool yard = false;
    for (const Plot& p : h.plots) {
        if (p.category == Orchard)
            orchard += p.m2;
        yard = yard || p.category == Yard;
    }
    qint64 left = orchard / 25;
    const int species = m_random.irange(1, 4);
    for (int k = 0; k < species && left > 0; ++k) {
        const qint64 part = k + 1 == species ? left : left * m_random.irange(20, 70) / 100;
        h.trees[m_random.irange(cap5::Apple, cap5::OtherTrees)] += part;
        left -= part;
    }
    if (yard && h.type <= 2 && m_random.percent(80)) {
        const int n = m_random.irange(1, 12);
        for (int k = 0; k < n; ++k)
            h.trees[m_random.irange(cap5::Apple, cap5::OtherTrees)] += 1;
    }
    if (m_random.percent(20))
        h.trees[cap5::YoungTrees] = m_random.irange(1, 10);
    if (m_random.percent(5))
        h.trees[cap5::Mulberry] = m_random.irange(1, 2);
}

void Land::chooseIrrigation(Household& h)
{
    if (m_random.percent(4))
        h.irrigatedPercent = m_random.irange(20, 100);
}

void Land::changeLand(Household& h)
{
    if (m_random.percent(40))
        chooseCrops(h);
    if (m_random.percent(10))
        h.unsownPercent = m_random.percent(50) ? 0 : m_random.irange(1, 10);
    for (qint64& r : h.received) {
        if (r > 0 && m_random.percent(10))
            r = m_random.drift(r, 20);
    }
    if (m_random.permille(15)) {
        const int form = m_random.irange(Lease, Share);
        h.givenPercent[size_t(form)] = h.givenPercent[size_t(form)] > 0 ? 0 : m_random.irange(30, 100);
    }
    for (int row = cap5::Pear; row <= cap5::YoungTrees; ++row) {
        if (h.trees[row] > 0 && m_random.percent(20))
            h.trees[row] = m_random.drift(h.trees[row], 15);
    }
}

void Land::changeIrrigation(Household& h)
{
    if (h.irrigatedPercent == 0 && m_random.permille(5))
        h.irrigatedPercent = m_random.irange(20, 100);
}

LandChapters Land::chapters(const Household& h)
{
    LandChapters out;

    // Chapter 2 from the plots.
    auto& c2 = out.cap2;
    for (const Plot& p : h.plots) {
        AreaRow& row = c2[kPlotCategories[p.category].chapter2Row];
        row.b += p.m2;
        if (p.intra)
            row.i += p.m2;
    }
    c2[cap2::VineyardsBearing].b = c2[cap2::Vineyards].b * h.vinesBearing / 100;
    c2[cap2::VineyardsBearing].i = std::min(c2[cap2::Vineyards].i, c2[cap2::VineyardsBearing].b);
    c2[cap2::OrchardsBearing].b = c2[cap2::Orchards].b * h.orchardBearing / 100;
    c2[cap2::OrchardsBearing].i = std::min(c2[cap2::Orchards].i, c2[cap2::OrchardsBearing].b);
    for (int row = 1; row <= cap2::Count; ++row)
        c2[row].c = h.otherLand[row];
    const auto addTo = [&](int total, std::initializer_list<int> rows) {
        for (int row : rows) {
            c2[total].b += c2[row].b;
            c2[total].c += c2[row].c;
            c2[total].i += c2[row].i;
        }
    };
    addTo(cap2::AgriculturalTotal, {cap2::Arable, cap2::Pasture, cap2::Hayfields, cap2::Vineyards, cap2::Orchards});
    c2[cap2::TotalArea] = c2[cap2::AgriculturalTotal];
    addTo(cap2::TotalArea, {cap2::Forest, cap2::YardsAndBuildings, cap2::OtherLand});
    for (AreaRow& row : c2)
        row.a = row.b;

    // Chapter 3.
    auto& c3 = out.cap3;
    c3[cap3::Owned] = c2[cap2::AgriculturalTotal].a;
    for (int form = 0; form < LandFormCount; ++form) {
        c3[kReceivedRows[form]] = h.received[size_t(form)];
        c3[cap3::ReceivedTotal] += h.received[size_t(form)];
    }
    {
        const qint64 arable = c2[cap2::Arable].b;
        qint64 given = 0;
        for (int form = 0; form < LandFormCount; ++form) {
            qint64 part = arable * h.givenPercent[size_t(form)] / 100;
            part = std::min(part, arable - given);
            c3[kGivenRows[form]] = part;
            given += part;
        }
        c3[cap3::GivenTotal] = given;
        c3[cap3::GivenToCompanies] = c3[cap3::GivenLease] * h.givenToCompanies / 100;
        c3[cap3::Used] = c3[cap3::Owned] + c3[cap3::ReceivedTotal] - c3[cap3::GivenTotal];
    }

    // Chapter 4: the arable land worked, in tenths of an are.
    auto& c4 = out.cap4;
    {
        const qint64 worked = std::max<qint64>(0, c2[cap2::Arable].b + c3[cap3::ReceivedTotal] - c3[cap3::GivenTotal]) / 10 * 10;
        const qint64 unsown = worked / 10 * h.unsownPercent / 100 * 10;
        const qint64 units = (worked - unsown) / 10;
        qint64 weights = 0;
        for (const auto& crop : h.crops)
            weights += crop.second;
        qint64 used = 0;
        if (weights > 0) {
            for (const auto& crop : h.crops) {
                const qint64 part = units * crop.second / weights;
                c4[crop.first] += part * 10;
                used += part;
            }
            c4[h.crops.front().first] += (units - used) * 10;
        } else if (units > 0) {
            c4[cap4::OtherCrops] += units * 10;
        }
        c4[cap4::Lucerne] = c4[cap4::FodderPlants] * h.lucernePercent / 100 / 10 * 10;
        c4[cap4::VegetablesTotal] = c4[cap4::Tomatoes] + c4[cap4::Cabbage] + c4[cap4::Peppers] + c4[cap4::OtherVegetables];
        qint64 total = c4[cap4::VegetablesTotal];
        for (int row = cap4::Wheat; row <= cap4::Potatoes; ++row)
            total += c4[row];
        for (int row : {cap4::Melons, cap4::FodderPlants, cap4::SeedCrops, cap4::Strawberries, cap4::Flowers, cap4::OtherCrops})
            total += c4[row];
        c4[cap4::CultivatedTotal] = total;
        c4[cap4::Unsown] = unsown;
        c4[cap4::ArableTotal] = c4[cap4::CultivatedTotal] + c4[cap4::Unsown];
    }

    // Chapter 5: trees of the orchard and of the yard.
    auto& c5 = out.cap5;
    c5 = h.trees;
    c5[cap5::BearingTotal] = 0;
    for (int row = cap5::Apple; row <= cap5::OtherTrees; ++row)
        c5[cap5::BearingTotal] += c5[row];

    // Chapter 6: part of the crops irrigated.
    auto& c6 = out.cap6;
    if (h.irrigatedPercent > 0) {
        for (const Crop& crop : kCrops)
            c6[crop.irrigatedRow] += c4[crop.row] * h.irrigatedPercent / 100 / 10 * 10;
        for (int row = cap6::WheatAndRye; row <= cap6::OtherCrops; ++row)
            c6[cap6::ArableTotal] += c6[row];
        c6[cap6::AgriculturalTotal] = c6[cap6::ArableTotal];
        for (int row = cap6::Pasture; row <= cap6::Orchards; ++row)
            c6[cap6::AgriculturalTotal] += c6[row];
    }
    return out;
}

}
