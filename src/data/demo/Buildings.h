#pragma once

#include "data/demo/Household.h"

namespace velmor::data::demo {

class Random;

// Buildings of a household (chapter 10): dwelling houses and annexes on the yard.
class Buildings {
public:
    explicit Buildings(Random& random)
        : m_random(random)
    {
    }

    // The buildings of a new household that has a yard; its animals decide the stables.
    void makeBuildings(Household& h, int year);
    // Year to year: now and then a garage.
    void changeBuildings(Household& h);

    // True for the rows whose value is an area in square metres (unit "mp").
    static bool isArea(int row);

private:
    Random& m_random;
};

}
