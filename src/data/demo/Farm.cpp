#include "data/demo/Farm.h"

#include "data/demo/Random.h"

#include <algorithm>

namespace velmor::data::demo {

namespace {

constexpr int kTractors[] = {cap9::TractorsUpTo45Hp, cap9::Tractors46To55Hp, cap9::Tractors56To65Hp, cap9::TractorsOver65Hp};

}

void Farm::makeFarm(Household& h)
{
    auto& a = h.animals;
    auto& m = h.machines;
    using namespace cap7;
    using namespace cap9;
    if (h.type == 1 || (h.type == 2 && m_random.percent(5))) {
        if (m_random.percent(35)) {
            a[Cows] = m_random.percent(10) ? m_random.irange(4, 10) : m_random.irange(1, 3);
            a[PregnantHeifers] = m_random.percent(20) ? 1 : 0;
            a[YoungFemales] = m_random.irange(0, 2);
            a[YoungFemalesUnder6Months] = a[YoungFemales] > 0 ? m_random.irange(0, int(a[YoungFemales])) : 0;
            a[YoungMales] = m_random.irange(0, 2);
            a[YoungMalesUnder6Months] = a[YoungMales] > 0 ? m_random.irange(0, int(a[YoungMales])) : 0;
        }
        if (m_random.percent(2))
            a[Bulls] = 1;
        if (m_random.percent(1))
            a[WorkOxen] = 2;
        if (m_random.percent(3))
            a[BovineFattening] = m_random.irange(1, 5);
        if (m_random.percent(12)) {
            a[Ewes] = m_random.irange(5, 60);
            a[MatedYoungEwes] = m_random.irange(0, 10);
            a[LambsUnderOneYear] = m_random.irange(0, 20);
            a[Rams] = m_random.irange(0, 2);
            h.sheepOther = m_random.irange(0, 2);
        }
        if (m_random.percent(10)) {
            a[SheGoats] = m_random.irange(1, 6);
            h.goatYoung = m_random.irange(0, 3);
        }
        if (m_random.percent(45)) {
            a[Sows] = m_random.percent(30) ? m_random.irange(1, 2) : 0;
            a[YoungBreedingSows] = m_random.percent(20) ? m_random.irange(1, 2) : 0;
            a[Weaners] = m_random.percent(25) ? m_random.irange(1, 6) : 0;
            a[Boars] = m_random.percent(2) ? 1 : 0;
            h.pigFattening = m_random.irange(1, 4);
        }
        if (m_random.percent(15)) {
            a[WorkHorses] = m_random.irange(1, 2);
            a[Stallions] = m_random.percent(5) ? 1 : 0;
            h.foals = m_random.percent(20) ? 1 : 0;
        }
        if (m_random.percent(1))
            a[DonkeysAndMules] = 1;
        if (m_random.percent(8))
            a[Rabbits] = m_random.irange(2, 20);
        if (m_random.percent(1))
            a[Nutrias] = m_random.irange(2, 10);
        if (m_random.percent(80)) {
            const int total = m_random.irange(5, 60);
            a[LayingHens] = total * m_random.irange(50, 90) / 100;
            h.poultryOther = total - a[LayingHens];
        }
        if (m_random.percent(4))
            a[BeeFamilies] = m_random.irange(2, 40);

        if (m_random.percent(35))
            m[Carts] = 1;
        if (m_random.percent(8)) {
            m[kTractors[m_random.weighted({60, 20, 12, 8})]] = 1;
            m[TractorPloughs] = 1;
            m[TractorHarrows] = m_random.percent(70) ? 1 : 0;
            m[CerealSeeders] = m_random.percent(30) ? 1 : 0;
            m[RowCropSeeders] = m_random.percent(20) ? 1 : 0;
            m[TractorTrailers] = m_random.percent(80) ? 1 : 0;
            m[Cultivators] = m_random.percent(20) ? 1 : 0;
        }
        if (a[WorkHorses] > 0 && m_random.percent(60)) {
            m[AnimalPloughs] = 1;
            m[AnimalHarrows] = m_random.percent(50) ? 1 : 0;
        }
        if (m_random.percent(6))
            m[Motocultivators] = 1;
        if (m_random.percent(4))
            m[MotorMowers] = 1;
        if (m_random.percent(3))
            m[Sprayers] = 1;
        if (m_random.percent(5))
            m[LorriesUpTo1_5t] = 1;
        if (m_random.percent(4))
            m[BrandyStills] = 1;
        if (a[Cows] >= 4 && m_random.percent(30))
            m[MilkingMachines] = 1;
        if (m_random.percent(2))
            m[IrrigationPumps] = 1;
    } else if (h.type == 3) {
        if (m_random.percent(30)) {
            a[Cows] = m_random.irange(20, 200);
            a[PregnantHeifers] = m_random.irange(0, 20);
            a[Bulls] = m_random.irange(0, 3);
            a[YoungFemales] = m_random.irange(5, 40);
            a[YoungFemalesUnder6Months] = m_random.irange(0, int(a[YoungFemales]));
            a[YoungMales] = m_random.irange(5, 40);
            a[YoungMalesUnder6Months] = m_random.irange(0, int(a[YoungMales]));
            m[MilkingMachines] = 1;
            m[FeedPreparation] = 1;
            m[ManureRemoval] = 1;
        }
        for (int row : kTractors)
            m[row] = m_random.irange(0, 3);
        m[TractorsOver65Hp] += 1;
        m[TractorPloughs] = m_random.irange(1, 4);
        m[TractorHarrows] = m_random.irange(1, 4);
        m[Combinators] = m_random.irange(0, 2);
        m[CerealSeeders] = m_random.irange(1, 2);
        m[RowCropSeeders] = m_random.irange(1, 2);
        m[FertiliserSpreaders] = m_random.irange(0, 1);
        m[Sprayers] = m_random.irange(1, 2);
        m[HerbicideSprayers] = m_random.irange(0, 1);
        m[CerealCombines] = m_random.irange(1, 2);
        m[MaizeCombines] = m_random.irange(0, 1);
        m[TractorTrailers] = m_random.irange(1, 5);
        m[LorriesOver1_5t] = m_random.irange(0, 3);
        m[HydraulicLoaders] = m_random.irange(0, 1);
    }
}

void Farm::changeAnimals(Household& h)
{
    auto& a = h.animals;
    for (qint64& n : a) {
        if (n > 0 && m_random.percent(30))
            n = m_random.drift(n, 30);
    }
    a[cap7::YoungFemalesUnder6Months] = std::min(a[cap7::YoungFemalesUnder6Months], a[cap7::YoungFemales]);
    a[cap7::YoungMalesUnder6Months] = std::min(a[cap7::YoungMalesUnder6Months], a[cap7::YoungMales]);
    if (m_random.percent(30))
        h.pigFattening = m_random.drift(h.pigFattening, 50);
    if (m_random.percent(30))
        h.poultryOther = m_random.drift(h.poultryOther, 40);
    if (h.type == 1 && m_random.permille(15))
        a[cap7::Cows] += 1;
    if (h.type == 1 && m_random.permille(30))
        a[cap7::LayingHens] += m_random.irange(5, 20);
}

void Farm::changeMachines(Household& h)
{
    auto& m = h.machines;
    if (m[cap9::Carts] == 0 && h.type == 1 && m_random.permille(10))
        m[cap9::Carts] = 1;
    if (m[cap9::TractorsUpTo45Hp] == 0 && h.type == 1 && m_random.permille(8)) {
        m[cap9::TractorsUpTo45Hp] = 1;
        m[cap9::TractorPloughs] = 1;
        m[cap9::TractorTrailers] = 1;
    }
}

FarmChapters Farm::chapters(const Household& h)
{
    using namespace cap7;
    FarmChapters out;
    auto& c7 = out.cap7;
    c7 = h.animals;
    c7[BovineTotal] = c7[Cows] + c7[PregnantHeifers] + c7[Bulls] + c7[WorkOxen] + c7[YoungFemales] + c7[YoungMales]
        + c7[BovineFattening];
    c7[SheepTotal] = c7[Ewes] + c7[MatedYoungEwes] + c7[LambsUnderOneYear] + c7[Rams] + h.sheepOther;
    c7[GoatsTotal] = c7[SheGoats] + h.goatYoung;
    c7[PigsTotal] = c7[Sows] + c7[YoungBreedingSows] + c7[Weaners] + c7[Boars] + h.pigFattening;
    c7[HorsesTotal] = c7[WorkHorses] + c7[Stallions] + h.foals;
    c7[PoultryTotal] = c7[LayingHens] + h.poultryOther;

    auto& c8 = out.cap8;
    const auto split = [&](qint64 total) -> std::pair<qint64, qint64> {
        const qint64 first = total > 0 ? m_random.range(0, total) : 0;
        return {first, total - first};
    };
    if (c7[Cows] > 0) {
        c8[cap8::CalvesBorn] = split(m_random.range(0, c7[Cows]));
        c8[cap8::BovineSales] = split(m_random.range(0, (c7[YoungFemales] + c7[YoungMales] + 1) / 2));
        if (m_random.percent(10))
            c8[cap8::BovineSlaughtered] = split(1);
        if (m_random.percent(5))
            c8[cap8::BovineDead] = split(1);
        if (m_random.percent(5)) {
            c8[cap8::BovinePurchases] = split(1);
            c8[cap8::CowPurchases] = c8[cap8::BovinePurchases];
        }
        if (m_random.percent(8)) {
            c8[cap8::CowSales] = split(1);
            c8[cap8::BovineSales].first += c8[cap8::CowSales].first;
            c8[cap8::BovineSales].second += c8[cap8::CowSales].second;
        }
    }
    if (c7[Ewes] > 0) {
        const qint64 lambs = c7[Ewes] * m_random.irange(60, 110) / 100;
        c8[cap8::LambsBorn] = {lambs, 0};
        c8[cap8::SheepSales] = split(lambs * m_random.irange(20, 70) / 100);
        c8[cap8::SheepSlaughtered] = split(m_random.range(0, 3));
        if (m_random.percent(20))
            c8[cap8::SheepDead] = split(m_random.range(1, 3));
    }
    if (c7[SheGoats] > 0) {
        c8[cap8::KidsBorn] = {c7[SheGoats] * m_random.irange(50, 150) / 100, 0};
        c8[cap8::GoatSales] = split(c8[cap8::KidsBorn].first / 2);
        c8[cap8::GoatSlaughtered] = split(m_random.range(0, 2));
    }
    if (c7[Sows] > 0) {
        c8[cap8::PigletsBorn] = split(c7[Sows] * m_random.irange(6, 10));
        c8[cap8::PigSales] = split(c8[cap8::PigletsBorn].first / 2 + c8[cap8::PigletsBorn].second / 2);
    }
    if (c7[PigsTotal] > 0)
        c8[cap8::PigSlaughtered] = {m_random.range(0, 1), m_random.range(1, std::max<qint64>(1, c7[PigsTotal]))};
    if (c7[WorkHorses] > 0 && m_random.percent(15))
        c8[cap8::FoalsBorn] = split(1);
    if (c7[HorsesTotal] > 0 && m_random.percent(5))
        c8[cap8::HorseSales] = split(1);
    return out;
}

}
