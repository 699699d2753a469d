#pragma once

#include "data/demo/Household.h"

#include <vector>

namespace velmor::data::demo {

class Buildings;
class Farm;
class Households;
class Land;
class People;
class Plots;
class Random;

// One year to the next: households deleted, members who die, leave, are born or marry, herds,
// crops and machines that change, plots bought and sold, and new households.
class CarryOver {
public:
    CarryOver(Random& random, People& people, Plots& plots, Land& land, Farm& farm, Buildings& buildings,
              Households& households)
        : m_random(random)
        , m_people(people)
        , m_plots(plots)
        , m_land(land)
        , m_farm(farm)
        , m_buildings(buildings)
        , m_households(households)
    {
    }

    // The households of `year` from those of the year before, in register order: the ones kept,
    // then the new ones.
    std::vector<Household> carryOver(std::vector<Household>& previous, int year);

private:
    // Children who set up a household of their own go to `leaving`.
    void changeMembers(Household& h, int year, std::vector<Household>& leaving);
    void changeFarm(Household& h);
    void changePlots(Household& h, int year);

    Random& m_random;
    People& m_people;
    Plots& m_plots;
    Land& m_land;
    Farm& m_farm;
    Buildings& m_buildings;
    Households& m_households;
};

}
