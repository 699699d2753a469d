#include "data/demo/Buildings.h"

#include "data/demo/Random.h"

#include <algorithm>

namespace velmor::data::demo {

namespace {

// The three rows of each dwelling house.
struct HouseRows {
    int area, material, year;
};
constexpr HouseRows kHouses[] = {
    {cap10::HouseAArea, cap10::HouseAMaterial, cap10::HouseAYear},
    {cap10::HouseBArea, cap10::HouseBMaterial, cap10::HouseBYear},
    {cap10::HouseCArea, cap10::HouseCMaterial, cap10::HouseCYear},
    {cap10::HouseDArea, cap10::HouseDMaterial, cap10::HouseDYear},
};

}

bool Buildings::isArea(int row)
{
    return std::any_of(std::begin(kHouses), std::end(kHouses), [row](const HouseRows& h) { return h.area == row; })
        || row >= cap10::Stables;
}

void Buildings::makeBuildings(Household& h, int year)
{
    auto& b = h.buildings;
    const bool hasYard = std::any_of(h.plots.begin(), h.plots.end(), [](const Plot& p) { return p.category == Yard; });
    if (!hasYard)
        return;
    const auto house = [&](const HouseRows& rows) {
        b[rows.area] = m_random.range(50, 200) * 100;
        b[rows.material] = qint64(m_random.weighted({8, 60, 10, 20, 2}) + 1) * 100;
        const int built = m_random.weighted({10, 25, 30, 20, 15}) * 20 + 1910 + m_random.irange(0, 19);
        b[rows.year] = qint64(std::min(built, year - 1)) * 100;
    };
    if (h.type <= 2) {
        if (h.type == 1 || m_random.percent(30)) {
            house(kHouses[0]);
            if (m_random.percent(10))
                house(kHouses[1]);
            if (m_random.percent(1))
                house(kHouses[2]);
        }
        const auto some = [&](int row, int chance, int lo, int hi) {
            if (m_random.percent(chance))
                b[row] = m_random.range(lo, hi) * 100 + (m_random.percent(10) ? 50 : 0);
        };
        if (h.animals[cap7::Cows] + h.animals[cap7::WorkHorses] > 0)
            some(cap10::Stables, 100, 20, 80);
        some(cap10::Corncribs, 40, 6, 20);
        some(cap10::Granaries, 35, 10, 40);
        some(cap10::Barns, 25, 20, 80);
        some(cap10::Sheds, 10, 15, 50);
        some(cap10::Garages, 20, 15, 30);
        some(cap10::Annexes, 30, 10, 60);
        if (b[cap10::HouseAArea] > 0 && m_random.percent(3))
            h.buildingNotes[cap10::HouseAArea] = m_random.percent(50) ? QStringLiteral("RENOVATA") : QStringLiteral("NECESITA REPARATII");
    } else {
        if (h.animals[cap7::Cows] > 0)
            b[cap10::Stables] = m_random.range(300, 1500) * 100;
        b[cap10::Granaries] = m_random.range(200, 800) * 100;
        b[cap10::Sheds] = m_random.range(100, 600) * 100;
        b[cap10::Annexes] = m_random.range(100, 1000) * 100;
    }
}

void Buildings::changeBuildings(Household& h)
{
    auto& b = h.buildings;
    if (b[cap10::Garages] == 0 && b[cap10::HouseAArea] > 0 && m_random.permille(5))
        b[cap10::Garages] = m_random.range(15, 30) * 100;
}

}
