#include "data/demo/CarryOver.h"

#include "data/demo/Buildings.h"
#include "data/demo/Farm.h"
#include "data/demo/Households.h"
#include "data/demo/Land.h"
#include "data/demo/People.h"
#include "data/demo/Plots.h"
#include "data/demo/Random.h"
#include "data/demo/Vocabulary.h"

#include <algorithm>

namespace velmor::data::demo {

void CarryOver::changeMembers(Household& h, int year, std::vector<Household>& leaving)
{
    auto& members = h.members;
    // Deaths.
    for (size_t k = 0; k < members.size();) {
        const int age = year - members[k].birth.year();
        const int chance = age > 85 ? 120 : age > 70 ? 40 : age > 55 ? 8 : 1;
        if (m_random.permille(chance))
            members.erase(members.begin() + qsizetype(k));
        else
            ++k;
    }
    // Grown children leave to a household of their own.
    for (size_t k = 0; k < members.size();) {
        const Person& p = members[k];
        const int age = year - p.birth.year();
        if ((p.kinship == KinChild || p.kinship == KinGrandchild) && age >= 20 && age <= 35 && m_random.permille(60)) {
            if (h.type == 1 && m_random.percent(40)) {
                std::vector<Person> family {p};
                family.front().kinship = KinHead;
                family.front().notes.clear();
                if (m_random.percent(60)) {
                    family.push_back(m_people.makePerson(p.sex == 1 ? p.family : QString::fromUtf8(m_random.pick(kFamilyNames)),
                                                         3 - p.sex, year - std::max(18, age + m_random.irange(-4, 4)), KinSpouse,
                                                         m_random.percent(70) ? kCouncilCountyCode : m_random.irange(1, kLastCountyCode)));
                }
                leaving.push_back(m_households.makeHousehold(h.village, 1, year, true, &family));
            }
            members.erase(members.begin() + qsizetype(k));
        } else {
            ++k;
        }
    }
    // A new head when the head is gone.
    if (!members.empty() && std::none_of(members.begin(), members.end(), [](const Person& p) { return p.kinship == KinHead; })) {
        auto next = std::find_if(members.begin(), members.end(),
                                 [](const Person& p) { return p.kinship == KinSpouse || p.kinship == KinPartner; });
        if (next == members.end()) {
            next = std::min_element(members.begin(), members.end(),
                                    [](const Person& x, const Person& y) { return x.birth < y.birth; });
        }
        next->kinship = KinHead;
        std::rotate(members.begin(), next, next + 1);
    }
    // Births.
    if (h.type == 1 && !members.empty() && members.size() < 6) {
        const bool youngCouple = std::any_of(members.begin(), members.end(), [&](const Person& p) {
            const int age = year - p.birth.year();
            return (p.kinship == KinHead || p.kinship == KinSpouse) && p.sex == 2 && age >= 20 && age <= 42;
        });
        if (youngCouple && m_random.permille(80)) {
            const QString family = members.front().family;
            Person child = m_people.makePerson(family, m_random.irange(1, 2), year - 1, KinChild, kCouncilCountyCode);
            members.push_back(child);
        }
    }
    // Marriage of a single head.
    if (h.type == 1 && members.size() == 1) {
        const Person& head = members.front();
        const int age = year - head.birth.year();
        if (age >= 22 && age <= 40 && m_random.permille(70)) {
            members.push_back(m_people.makePerson(head.sex == 1 ? head.family : QString::fromUtf8(m_random.pick(kFamilyNames)),
                                                  3 - head.sex, year - std::max(18, age + m_random.irange(-5, 3)), KinSpouse,
                                                  m_random.percent(70) ? kCouncilCountyCode : m_random.irange(1, kLastCountyCode)));
        }
    }
}

void CarryOver::changeFarm(Household& h)
{
    m_farm.changeAnimals(h);
    m_land.changeLand(h);
    m_farm.changeMachines(h);
    m_buildings.changeBuildings(h);
    m_households.changeNotes(h);
    m_land.changeIrrigation(h);
}

// Now and then a plot sold (never the yard) or an arable plot bought.
void CarryOver::changePlots(Household& h, int year)
{
    if (m_random.permille(25)) {
        if (!h.plots.empty() && m_random.percent(40)) {
            const size_t k = size_t(m_random.range(0, qint64(h.plots.size()) - 1));
            if (h.plots[k].category != Yard)
                h.plots.erase(h.plots.begin() + qsizetype(k));
        } else {
            h.plots.push_back(m_plots.makePlot(h, Arable, false, m_random.range(2000, 10000), year));
        }
    }
}

std::vector<Household> CarryOver::carryOver(std::vector<Household>& previous, int year)
{
    std::vector<Household> next;
    std::vector<Household> leaving;
    next.reserve(previous.size() + previous.size() / 20 + 4);
    for (Household& h : previous) {
        const bool removed = h.type <= 2 ? m_random.permille(10) : m_random.permille(20);
        if (removed)
            continue;
        changeMembers(h, year, leaving);
        changeFarm(h);
        changePlots(h, year);
        next.push_back(std::move(h));
    }
    // Households added during the year: the children who left, and others.
    const int others = std::max(0, int(previous.size()) / 120 + (m_random.percent(50) ? 1 : 0) - int(leaving.size()));
    for (int k = 0; k < others; ++k) {
        const int type = m_random.weighted({85, 11, 2, 2}) + 1;
        const int village = m_households.randomVillage();
        leaving.push_back(m_households.makeHousehold(village, type, year, type == 1));
    }
    for (Household& h : leaving) {
        m_households.placeNew(h);
        next.push_back(std::move(h));
    }
    return next;
}

}
