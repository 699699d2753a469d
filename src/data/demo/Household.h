#pragma once

#include "data/ChapterCatalogue.h"
#include "data/demo/RowValues.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

namespace velmor::data::demo {

// Kinship of the member dialog: the text written in DENUM and the code written in COD.
struct KinshipText {
    const char* text;
    int code;
};
inline constexpr KinshipText kKinships[] = {
    {"Cap de gospodarie", 1}, {"Sot / Sotie", 2},     {"Fiu / Fiica", 3},   {"Alte rude", 4},
    {"Neinrudit", 5},         {"Nepot / Nepoata", 4}, {"Ginere / Nora", 4}, {"Concubin", 5},
};
// Index into kKinships.
enum Kinship : int {
    KinHead = 0, KinSpouse, KinChild, KinRelative, KinUnrelated, KinGrandchild, KinInLaw, KinPartner,
};

struct Person {
    QString family;
    QString first;
    int sex = 1; // 1 male, 2 female
    QDate birth;
    QString cnp;
    int kinship = KinHead;
    QString notes;

    QString name() const { return (family + QLatin1Char(' ') + first).left(40); }
};

// Plot categories of the plot dialog: the text written in CATEG and the chapter 2 row a plot of
// the category counts in.
enum PlotCategory : int { Arable = 0, Pasture, Hay, Vines, Orchard, Forest, Yard, OtherLand };
struct PlotCategoryText {
    const char* text;
    int chapter2Row;
};
inline constexpr PlotCategoryText kPlotCategories[] = {
    {"TEREN ARABIL", cap2::Arable},
    {"PASUNI NATURALE", cap2::Pasture},
    {"FANETE NATURALE", cap2::Hayfields},
    {"VII, PEPINIERE VITICOLE", cap2::Vineyards},
    {"LIVEZI", cap2::Orchards},
    {"FOND FORESTIER", cap2::Forest},
    {"CURTI SI CLADIRI", cap2::YardsAndBuildings},
    {"ALTE TERENURI", cap2::OtherLand},
};

struct Plot {
    int category = Arable;
    bool intra = false;
    qint64 m2 = 0;
    QString deed, deedNumber, deedDate, block, blockNumber, parcel, cadastral, worker, notes;
    QString north, south, east, west;
    QStringList holders;
    QStringList pictures;
};

// Forms in which agricultural land is given or received (chapter 3).
enum LandForm : int { Lease = 0, Share, Association, AsShares, OtherForm, LandFormCount };

// A household of the register and everything that is carried from year to year.
struct Household {
    int village = 0;
    int type = 1;
    int volume = 1;
    int position = 1;
    qint64 role = 0;
    QString street, number, county, locality, street2, number2, siruta, unit, subunit, sirues, fiscalCode;
    std::vector<Person> members;
    std::vector<Plot> plots;

    RowValues<qint64, cap2::Count> otherLand {}; // chapter 2 areas in other localities, m2
    int vinesBearing = 100;                      // per cent of the vines in bearing
    int orchardBearing = 100;
    std::array<qint64, LandFormCount> received {}; // chapter 3 land received, m2
    std::array<int, LandFormCount> givenPercent {}; // chapter 3 land given, per cent of the arable land
    int givenToCompanies = 0;                    // per cent of the land given in lease that goes to companies
    std::vector<std::pair<int, int>> crops;      // chapter 4 row, weight
    int unsownPercent = 0;
    int lucernePercent = 0;
    int irrigatedPercent = 0;
    RowValues<qint64, cap5::Count> trees {};     // totals filled when written
    RowValues<qint64, cap7::Count> animals {};   // totals filled when written
    qint64 sheepOther = 0, goatYoung = 0, pigFattening = 0, foals = 0, poultryOther = 0;
    RowValues<qint64, cap9::Count> machines {};
    RowValues<qint64, cap10::Count> buildings {}; // DETALII x 100
    RowValues<QString, cap10::Count> buildingNotes;
    QString notes;
};

}
