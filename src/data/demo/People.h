#pragma once

#include "data/demo/Household.h"

#include <QSet>

namespace velmor::data::demo {

class Random;

// Members of households: names, birth dates, personal numeric codes (unique over the whole
// register) and the family a new household starts with.
class People {
public:
    explicit People(Random& random)
        : m_random(random)
    {
    }

    // The year being generated: members' remarks fit their age in it.
    void setYear(int year) { m_year = year; }

    // "FAMILY FIRST" of someone outside the register (a neighbour, a former owner).
    QString personName();
    // A new member born in `birthYear`, with a personal code of the county.
    Person makePerson(const QString& family, int sex, int birthYear, int kinship, int countyCode);
    // The members of a new household of the given type; `young` gives a small family with a
    // young head (a household newly set up).
    void makeFamily(Household& h, int year, bool young);

private:
    QString makeCnp(int sex, const QDate& birth, int countyCode);

    Random& m_random;
    QSet<QString> m_cnps;
    int m_year = 0;
};

}
