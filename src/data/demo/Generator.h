#pragma once

#include "data/DemoRegister.h"
#include "data/demo/Buildings.h"
#include "data/demo/CarryOver.h"
#include "data/demo/Farm.h"
#include "data/demo/Households.h"
#include "data/demo/Land.h"
#include "data/demo/People.h"
#include "data/demo/Plots.h"
#include "data/demo/Random.h"

#include <vector>

namespace velmor::data::demo {

// Generates the register year by year into a data directory whose tables exist and are empty:
// the first year's households, then each year carried over from the one before, each written
// as it is made; finally Sate.lst and Velmor.ini. Every piece draws from one random sequence.
class Generator {
public:
    // `options` are checked and complete (firstYear set).
    Generator(const DemoOptions& options, const QString& dataDirectory, Interaction& ui);

    DemoSummary run();

private:
    void makeFirstYear();

    DemoOptions m_options;
    QString m_dir;
    Interaction& m_ui;
    Random m_random;
    People m_people;
    Plots m_plots;
    Land m_land;
    Farm m_farm;
    Buildings m_buildings;
    Households m_householdMaker;
    CarryOver m_carryOver;
    std::vector<Household> m_households;
};

}
