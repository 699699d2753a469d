#pragma once

#include "data/demo/Household.h"

namespace velmor::data::demo {

class People;
class Random;

// Plots of land: deed, place, neighbours, who works the plot, its holders and scanned pictures.
class Plots {
public:
    Plots(Random& random, People& people)
        : m_random(random)
        , m_people(people)
    {
    }

    // A plot of `m2` square metres of the household, inside the built-up area when `intra`.
    Plot makePlot(const Household& h, int category, bool intra, qint64 m2, int year);

private:
    Random& m_random;
    People& m_people;
};

}
