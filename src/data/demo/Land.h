#pragma once

#include "data/demo/Household.h"

namespace velmor::data::demo {

class Plots;
class Random;

// A chapter 2 or 6 row: A (total), B (in the locality), C (other localities), I (inside the
// built-up area), in square metres.
struct AreaRow {
    qint64 a = 0, b = 0, c = 0, i = 0;
};

// Chapters 2 to 6 of one household and year, in square metres (chapter 5: trees).
struct LandChapters {
    RowValues<AreaRow, cap2::Count> cap2;
    RowValues<qint64, cap3::Count> cap3;
    RowValues<qint64, cap4::Count> cap4;
    RowValues<qint64, cap5::Count> cap5;
    RowValues<qint64, cap6::Count> cap6;
};

// Land of a household: its plots by category, land given and received, crops, trees and
// irrigation, and the chapter 2 to 6 rows that follow from them.
class Land {
public:
    Land(Random& random, Plots& plots)
        : m_random(random)
        , m_plots(plots)
    {
    }

    // Plots, land in other localities, land given and received, and crops of a new household.
    void makeLand(Household& h, int year);
    // Trees of the orchard (one per 25 square metres, a few species) and a few in the yard.
    void makeTrees(Household& h);
    // Part of the crops irrigated, seldom.
    void chooseIrrigation(Household& h);

    // Year to year: crops, land given and received, trees; irrigation set up now and then.
    void changeLand(Household& h);
    void changeIrrigation(Household& h);

    // The rows of chapters 2 to 6; chapter 4 and 6 areas are whole tenths of an are.
    static LandChapters chapters(const Household& h);

private:
    void chooseCrops(Household& h);

    Random& m_random;
    Plots& m_plots;
};

}
