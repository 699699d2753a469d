#pragma once

#include "data/demo/Household.h"

#include <utility>

namespace velmor::data::demo {

class Random;

// Chapters 7 and 8 of one household and year (chapter 9 is the household's machines as they
// are). A chapter 8 row holds the first and the second half-year.
struct FarmChapters {
    RowValues<qint64, cap7::Count> cap7;
    RowValues<std::pair<qint64, qint64>, cap8::Count> cap8;
};

// Animals and machines of a household (chapters 7 to 9).
class Farm {
public:
    explicit Farm(Random& random)
        : m_random(random)
    {
    }

    // The herds and machines of a new household.
    void makeFarm(Household& h);

    // Year to year.
    void changeAnimals(Household& h);
    void changeMachines(Household& h);

    // Chapter 7 with its totals, and chapter 8: the year's changes, drawn from the herds.
    FarmChapters chapters(const Household& h);

private:
    Random& m_random;
};

}
