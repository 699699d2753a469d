#include "data/demo/Households.h"

#include "data/demo/Buildings.h"
#include "data/demo/Codes.h"
#include "data/demo/Farm.h"
#include "data/demo/Land.h"
#include "data/demo/People.h"
#include "data/demo/Random.h"

namespace velmor::data::demo {

namespace {

constexpr int kPositionsPerVolume = 100;

}

void Households::makeStreets()
{
    for (int v = 0; v < kVillageCount; ++v) {
        QStringList streets;
        for (int k = 0; k < kCommonStreets; ++k)
            streets << QString::fromLatin1(kStreets[k]);
        const int extra = m_random.irange(4, 8);
        for (int k = 0; k < extra; ++k) {
            const QString s = QString::fromLatin1(m_random.pick(kStreets));
            if (!streets.contains(s))
                streets << s;
        }
        m_villageStreets[size_t(v)] = streets;
    }
}

int Households::randomVillage()
{
    return m_random.weighted({kVillageWeights[0], kVillageWeights[1], kVillageWeights[2], kVillageWeights[3],
                              kVillageWeights[4]});
}

void Households::makeAddress(Household& h, int village, int type)
{
    const QString villageName = QString::fromUtf8(kVillages[village]);
    const QStringList& streets = m_villageStreets[size_t(village)];
    const auto houseNumber = [&] {
        QString n = QString::number(m_random.irange(1, 250));
        if (m_random.percent(5))
            n += QLatin1Char('A' + m_random.irange(0, 2));
        else if (m_random.percent(2))
            n += QStringLiteral(" BIS");
        return n;
    };
    switch (type) {
    case 1:
        h.street = m_random.pick(streets);
        h.number = houseNumber();
        h.county = QString::fromLatin1(kCouncilCounty);
        h.locality = villageName;
        break;
    case 2: {
        const Place& place = m_random.pick(kPlacesElsewhere);
        h.county = QString::fromLatin1(place.county);
        h.locality = QString::fromLatin1(place.locality);
        h.siruta = QString::fromLatin1(place.siruta);
        h.street2 = QString::fromLatin1(m_random.pick(kCityStreets));
        h.number2 = houseNumber();
        if (m_random.percent(40))
            h.number2 += QStringLiteral(" BL.%1 AP.%2").arg(m_random.irange(1, 40)).arg(m_random.irange(1, 60));
        h.street = h.street2;
        h.number = h.number2;
        break;
    }
    default: {
        const QString family = QString::fromUtf8(m_random.pick(kFamilyNames));
        if (type == 3) {
            switch (m_random.irange(0, 6)) {
            case 0: h.unit = QStringLiteral("SC AGRO %1 SRL").arg(villageName); break;
            case 1: h.unit = QStringLiteral("SC FERMA %1 SRL").arg(family); break;
            case 2: h.unit = QStringLiteral("ASOCIATIA AGRICOLA %1").arg(villageName); break;
            case 3: h.unit = QStringLiteral("PAROHIA ORTODOXA %1").arg(villageName); break;
            case 4: h.unit = QStringLiteral("II %1 %2").arg(family, QString::fromUtf8(m_random.pick(kMaleNames))); break;
            case 5: h.unit = QStringLiteral("SC `%1` AGROSERV SRL").arg(family); break;
            default: h.unit = QStringLiteral("OBSTEA %1").arg(villageName); break;
            }
            h.county = QString::fromLatin1(kCouncilCounty);
            h.locality = villageName;
            h.street = m_random.pick(streets);
            if (m_random.percent(30))
                h.subunit = QStringLiteral("PUNCT DE LUCRU %1").arg(villageName);
        } else {
            const Place& place = m_random.pick(kPlacesElsewhere);
            switch (m_random.irange(0, 3)) {
            case 0: h.unit = QStringLiteral("SC CEREALCOM SA"); break;
            case 1: h.unit = QStringLiteral("SC %1 AGROTRANS SRL").arg(QString::fromLatin1(place.locality)); break;
            case 2: h.unit = QStringLiteral("SC AGRICOLA %1 SRL").arg(family); break;
            default: h.unit = QStringLiteral("SC MOLDOVA AGRO INVEST SA"); break;
            }
            h.county = QString::fromLatin1(place.county);
            h.locality = QString::fromLatin1(place.locality);
            h.street = QString::fromLatin1(m_random.pick(kCityStreets));
        }
        h.unit = h.unit.left(40);
        h.number = houseNumber();
        h.street2 = h.street;
        h.number2 = h.number;
        h.sirues = QString::number(m_random.range(100000000, 999999999));
        h.fiscalCode = withTaxCheckDigit(m_random.range(1000000, 49999999));
        break;
    }
    }
}

Household Households::makeHousehold(int village, int type, int year, bool young, const std::vector<Person>* family)
{
    Household h;
    h.village = village;
    h.type = type;
    h.role = m_nextRole++;
    makeAddress(h, village, type);
    if (family)
        h.members = *family;
    else
        m_people.makeFamily(h, year, young);
    m_land.makeLand(h, year);
    m_farm.makeFarm(h);
    m_buildings.makeBuildings(h, year);
    m_land.makeTrees(h);
    m_land.chooseIrrigation(h);
    if (m_random.percent(8)) {
        h.notes = QString::fromUtf8(m_random.pick(kHouseholdNotes));
        if (m_random.percent(30))
            h.notes += QStringLiteral("\r\n") + QString::fromUtf8(m_random.pick(kHouseholdNotes));
    }
    return h;
}

void Households::placeNew(Household& h)
{
    auto& slot = m_lastSlot[{h.village, h.type}];
    if (slot.first == 0)
        slot = {1, 0};
    if (slot.second >= kPositionsPerVolume)
        slot = {slot.first + 1, 0};
    slot.second += 1;
    h.volume = slot.first;
    h.position = slot.second;
    m_lastAdded = slot;
}

void Households::changeNotes(Household& h)
{
    if (m_random.permille(10) && h.notes.isEmpty())
        h.notes = QString::fromUtf8(m_random.pick(kHouseholdNotes));
}

}
