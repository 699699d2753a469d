#include "data/demo/Generator.h"

#include "data/demo/DirectoryFiles.h"
#include "data/demo/RegisterWriter.h"
#include "core/Interaction.h"

#include <algorithm>

namespace velmor::data::demo {

namespace {

// Mixed into the seed, so that seed 0 is as good as any other.
constexpr quint64 kSeedSalt = 0x56454C4D4F52ULL;

}

Generator::Generator(const DemoOptions& options, const QString& dataDirectory, Interaction& ui)
    : m_options(options)
    , m_dir(dataDirectory)
    , m_ui(ui)
    , m_random(options.seed ^ kSeedSalt)
    , m_people(m_random)
    , m_plots(m_random, m_people)
    , m_land(m_random, m_plots)
    , m_farm(m_random)
    , m_buildings(m_random)
    , m_householdMaker(m_random, m_people, m_land, m_farm, m_buildings)
    , m_carryOver(m_random, m_people, m_plots, m_land, m_farm, m_buildings, m_householdMaker)
{
}

// The first year's households in register order: by village, then type.
void Generator::makeFirstYear()
{
    const int first = m_options.firstYear;
    m_people.setYear(first);
    const DemoTypeCounts counts = demoTypeCounts(m_options.households);
    std::vector<int> types;
    types.insert(types.end(), size_t(counts.type1), 1);
    types.insert(types.end(), size_t(counts.type2), 2);
    types.insert(types.end(), size_t(counts.type3), 3);
    types.insert(types.end(), size_t(counts.type4), 4);
    std::vector<std::pair<int, int>> placed; // (village, type)
    for (int type : types)
        placed.emplace_back(m_householdMaker.randomVillage(), type);
    std::stable_sort(placed.begin(), placed.end());
    for (const auto& [village, type] : placed) {
        Household h = m_householdMaker.makeHousehold(village, type, first, false);
        m_householdMaker.placeNew(h);
        if (m_random.percent(2))
            m_householdMaker.placeNew(h); // a slot left empty by an earlier deletion
        m_households.push_back(std::move(h));
    }
}

DemoSummary Generator::run()
{
    DemoSummary summary;
    const int first = m_options.firstYear;
    const int last = first + m_options.years - 1;
    summary.firstYear = first;
    summary.lastYear = last;

    m_householdMaker.makeStreets();
    makeFirstYear();
    RegisterWriter writer(m_dir, summary);
    m_ui.Arata();
    m_ui.setProgressMaximum(m_options.years);
    try {
        for (int year = first; year <= last; ++year) {
            m_people.setYear(year);
            m_ui.setProgressLabel(QStringLiteral("Generez anul %1 ...").arg(year));
            m_ui.setProgressPosition(year - first);
            m_ui.processEvents();
            if (year > first)
                m_households = m_carryOver.carryOver(m_households, year);
            writer.startYear(year);
            for (const Household& h : m_households) {
                const LandChapters land = Land::chapters(h);
                const FarmChapters farm = m_farm.chapters(h);
                writer.writeHousehold(h, land, farm, year);
            }
        }
        m_ui.setProgressLabel(QStringLiteral("Scriu tabelele ..."));
        m_ui.setProgressPosition(m_options.years);
        m_ui.processEvents();
        writer.finish();
        writeVillageList(m_dir);
        SettingsContents settings;
        settings.firstYear = first;
        settings.lastYear = last;
        settings.lastCodid = writer.lastCodid();
        settings.lastCod1 = writer.lastCod1();
        settings.lastCodt = writer.lastCodt();
        settings.households = qint64(m_households.size());
        settings.lastAdded = m_householdMaker.lastAdded();
        writeSettingsFile(m_dir, settings);
    } catch (...) {
        m_ui.Distruge();
        throw;
    }
    m_ui.Distruge();
    summary.lastCodid = writer.lastCodid();
    summary.lastCod1 = writer.lastCod1();
    summary.lastCodt = writer.lastCodt();
    return summary;
}

}
