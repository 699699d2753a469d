#pragma once

#include "data/demo/Household.h"
#include "data/demo/Vocabulary.h"

#include <array>
#include <map>
#include <utility>
#include <vector>

namespace velmor::data::demo {

class Buildings;
class Farm;
class Land;
class People;
class Random;

// New households: address or seat, members, land, farm and buildings, and their place (volume
// and position) in the register.
class Households {
public:
    Households(Random& random, People& people, Land& land, Farm& farm, Buildings& buildings)
        : m_random(random)
        , m_people(people)
        , m_land(land)
        , m_farm(farm)
        , m_buildings(buildings)
    {
    }

    // The streets of each village: the common ones and a few drawn. Called once, first.
    void makeStreets();
    // A village drawn with the villages' weights.
    int randomVillage();

    // A new household of the village and register type. `family` replaces the generated
    // members when given (a new household of known people).
    Household makeHousehold(int village, int type, int year, bool young, const std::vector<Person>* family = nullptr);
    // Gives a new household the next free position of its village and type (a volume holds 100).
    void placeNew(Household& h);
    // The volume and position handed out last.
    std::pair<int, int> lastAdded() const { return m_lastAdded; }

    // Year to year: now and then a remark.
    void changeNotes(Household& h);

private:
    void makeAddress(Household& h, int village, int type);

    Random& m_random;
    People& m_people;
    Land& m_land;
    Farm& m_farm;
    Buildings& m_buildings;
    std::array<QStringList, kVillageCount> m_villageStreets;
    std::map<std::pair<int, int>, std::pair<int, int>> m_lastSlot; // (village, type) -> (volume, position)
    std::pair<int, int> m_lastAdded {0, 0};
    qint64 m_nextRole = 1;
};

}
