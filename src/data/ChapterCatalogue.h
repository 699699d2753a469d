#pragma once

#include <QString>

namespace velmor::data {

// The fixed row catalogues of chapters 2 to 11. Rows are addressed by their 1-based position;
// the row code (RAND) equals the position except in chapter 7, where positions 15, 22 and 25
// carry the codes 14.1, 20.1 and 22.1 and the following positions are shifted.

// Number of catalogue rows of a chapter (2 to 11); 0 for any other chapter.
int chapterRowCount(int chapter);

// Row code of a position; 0 for a chapter or position outside the catalogue (and for the single
// row of chapter 11, which has no code).
double chapterRowCode(int chapter, int position);

// The code as written in statements: a point as decimal separator, no trailing zeros ("14.1", "3").
QString chapterRowCodeText(int chapter, int position);

// Code multiplied by ten (chapter 7 codes have one decimal): exact for comparisons.
int chapterRowCodeTenths(int chapter, int position);

// Position of a row code within its chapter's catalogue; 0 when the code is not in it.
int chapterPositionOfCode(int chapter, double code);

// Printed row name (CATEG) of a position; empty for chapters 10 and 11 (their rows carry no name)
// and outside the catalogue.
QString chapterRowName(int chapter, int position);

}

namespace velmor::data {

// Named catalogue positions of chapters 2 to 10 (1-based, as chapterRowName takes them); Count
// is the chapter's row count. Positions equal row codes except in chapter 7.

namespace cap2 {
enum Row : int {
    Arable = 1, Pasture, Hayfields, Vineyards, VineyardsBearing, Orchards, OrchardsBearing,
    AgriculturalTotal, Forest, YardsAndBuildings, OtherLand, TotalArea,
};
inline constexpr int Count = TotalArea;
}

namespace cap3 {
enum Row : int {
    Owned = 1, ReceivedTotal, ReceivedLease, ReceivedShare, ReceivedAssociation, ReceivedAsShares,
    ReceivedOther, GivenTotal, GivenLease, GivenShare, GivenAssociation, GivenAsShares, GivenOther,
    GivenToCompanies, Used,
};
inline constexpr int Count = Used;
}

namespace cap4 {
enum Row : int {
    Wheat = 1, Rye, Barley, TwoRowBarley, Oats, GrainMaize, OtherCereals, Peas, Beans, OtherPulses,
    TextilePlants, Sunflower, Rapeseed, Soybeans, OtherOilPlants, SugarBeet, Tobacco,
    OtherIndustrialPlants, MedicinalPlants, Potatoes, VegetablesTotal, Tomatoes, Cabbage, Peppers,
    OtherVegetables, Melons, FodderPlants, Lucerne, SeedCrops, Strawberries, Flowers, OtherCrops,
    CultivatedTotal, Unsown, ArableTotal,
};
inline constexpr int Count = ArableTotal;
}

namespace cap5 {
enum Row : int {
    BearingTotal = 1, Apple, Pear, Quince, Plum, Apricot, Peach, Cherry, SourCherry, Walnut,
    OtherTrees, YoungTrees, Mulberry,
};
inline constexpr int Count = Mulberry;
}

namespace cap6 {
enum Row : int {
    ArableTotal = 1, WheatAndRye, GrainMaize, Sunflower, Soybeans, SugarBeet, Vegetables, Potatoes,
    FodderPlants, OtherCrops, Pasture, Hayfields, Vineyards, Orchards, AgriculturalTotal,
};
inline constexpr int Count = AgriculturalTotal;
}

namespace cap7 {
enum Row : int {
    BovineTotal = 1, Cows, PregnantHeifers, Bulls, WorkOxen, YoungFemales, YoungFemalesUnder6Months,
    YoungMales, YoungMalesUnder6Months, BovineFattening,
    SheepTotal, Ewes, MatedYoungEwes, LambsUnderOneYear, Rams, // Rams: code 14.1
    GoatsTotal, SheGoats,
    PigsTotal, Sows, YoungBreedingSows, Weaners, Boars, // Boars: code 20.1
    HorsesTotal, WorkHorses, Stallions, // Stallions: code 22.1
    DonkeysAndMules, Rabbits, Foxes, Minks, Nutrias, PoultryTotal, LayingHens, BeeFamilies,
};
inline constexpr int Count = BeeFamilies;
}

namespace cap8 {
enum Row : int {
    CalvesBorn = 1, BovinePurchases, BovineOtherIn, BovineSales, BovineSlaughtered, BovineDead, BovineOtherOut,
    CowPurchases, CowOtherIn, CowSales, CowSlaughtered, CowDead, CowOtherOut,
    LambsBorn, SheepPurchases, SheepOtherIn, SheepSales, SheepSlaughtered, SheepDead, SheepOtherOut,
    KidsBorn, GoatPurchases, GoatOtherIn, GoatSales, GoatSlaughtered, GoatDead, GoatOtherOut,
    PigletsBorn, PigPurchases, PigOtherIn, PigSales, PigSlaughtered, PigDead, PigOtherOut,
    FoalsBorn, HorsePurchases, HorseOtherIn, HorseSales, HorseDead, HorseOtherOut,
};
inline constexpr int Count = HorseOtherOut;
}

namespace cap9 {
enum Row : int {
    TractorsUpTo45Hp = 1, Tractors46To55Hp, Tractors56To65Hp, TractorsOver65Hp, Motocultivators,
    MotorMowers, TractorPloughs, AnimalPloughs, Cultivators, TractorHarrows, AnimalHarrows,
    Combinators, CerealSeeders, RowCropSeeders, AnimalSeeders, PotatoPlanters, SeedlingPlanters,
    FertiliserSpreaders, ManureSpreaders, Sprayers, HerbicideSprayers, CerealCombines,
    MaizeCombines, ForageCombines, Threshers, BeetCombines, BeetLifters, BeetToppers,
    PotatoHarvesters, TractorMowers, Windrowers, BalingPresses, TractorTrailers, LorriesUpTo1_5t,
    LorriesOver1_5t, Carts, HydraulicLoaders, IrrigationPumps, MilkingMachines, FeedPreparation,
    ManureRemoval, BrandyStills,
};
inline constexpr int Count = BrandyStills;
}

// Chapter 10: four dwelling houses a) to d) of three rows each (built area in square metres,
// building material code, year put in use), then the annexes.
namespace cap10 {
enum Row : int {
    HouseAArea = 1, HouseAMaterial, HouseAYear,
    HouseBArea, HouseBMaterial, HouseBYear,
    HouseCArea, HouseCMaterial, HouseCYear,
    HouseDArea, HouseDMaterial, HouseDYear,
    Stables, Corncribs, Granaries, Barns, Sheds, Garages, Annexes,
};
inline constexpr int Count = Annexes;
}

}
