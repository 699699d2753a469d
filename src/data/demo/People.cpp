#include "data/demo/People.h"

#include "data/demo/Codes.h"
#include "data/demo/Random.h"
#include "data/demo/Vocabulary.h"

#include <algorithm>

namespace velmor::data::demo {

QString People::personName()
{
    const bool male = m_random.percent(50);
    return QString::fromUtf8(m_random.pick(kFamilyNames)) + QLatin1Char(' ')
        + QString::fromUtf8(male ? m_random.pick(kMaleNames) : m_random.pick(kFemaleNames));
}

QString People::makeCnp(int sex, const QDate& birth, int countyCode)
{
    const int s = birth.year() < 2000 ? (sex == 1 ? 1 : 2) : (sex == 1 ? 5 : 6);
    for (;;) {
        const QString body = QString::number(s) + twoDigits(birth.year() % 100) + twoDigits(birth.month())
            + twoDigits(birth.day()) + twoDigits(countyCode)
            + QString::number(m_random.irange(1, 999)).rightJustified(3, QLatin1Char('0'));
        const QString cnp = body + QString::number(cnpCheckDigit(body));
        if (!m_cnps.contains(cnp)) {
            m_cnps.insert(cnp);
            return cnp;
        }
    }
}

Person People::makePerson(const QString& family, int sex, int birthYear, int kinship, int countyCode)
{
    Person p;
    p.family = family;
    p.sex = sex;
    p.first = QString::fromUtf8(sex == 1 ? m_random.pick(kMaleNames) : m_random.pick(kFemaleNames));
    p.birth = m_random.date(birthYear);
    p.cnp = makeCnp(sex, p.birth, countyCode);
    p.kinship = kinship;
    if (m_random.percent(12)) {
        // A remark that fits the member's age.
        const int age = m_year - birthYear;
        if (age >= 7 && age <= 18)
            p.notes = QStringLiteral("ELEV");
        else if (age >= 19 && age <= 24)
            p.notes = m_random.percent(60) ? QStringLiteral("STUDENT") : QStringLiteral("PLECAT IN STRAINATATE");
        else if (age >= 62)
            p.notes = QStringLiteral("PENSIONAR");
        else if (age >= 25)
            p.notes = QString::fromLatin1(m_random.pick(kMemberNotes));
    }
    return p;
}

void People::makeFamily(Household& h, int year, bool young)
{
    const auto county = [&] {
        if (h.type == 1)
            return m_random.percent(85) ? kCouncilCountyCode : m_random.irange(1, kLastCountyCode);
        return m_random.irange(1, kLastCountyCode);
    };
    int size;
    if (h.type == 1)
        size = young ? m_random.irange(1, 3) : m_random.weighted({3, 20, 30, 18, 15, 9, 5});
    else if (h.type == 2)
        size = m_random.weighted({10, 55, 35});
    else
        size = m_random.percent(30) ? 1 : 0;
    if (size == 0)
        return;

    const QString family = QString::fromUtf8(m_random.pick(kFamilyNames));
    const int headAge = young ? m_random.irange(21, 34) : m_random.irange(25, 88);
    const int headSex = (size == 1 && headAge > 70) ? (m_random.percent(55) ? 2 : 1) : (m_random.percent(78) ? 1 : 2);
    h.members.push_back(makePerson(family, headSex, year - headAge, KinHead, county()));

    if (size >= 2 && headAge < 86 && m_random.percent(88)) {
        const int age = std::max(18, headAge + m_random.irange(-6, 6));
        Person spouse = makePerson(family, 3 - headSex, year - age, KinSpouse, county());
        if (m_random.percent(6)) {
            spouse.family = QString::fromUtf8(m_random.pick(kFamilyNames));
            spouse.kinship = KinPartner;
        }
        h.members.push_back(spouse);
    }
    while (int(h.members.size()) < size) {
        const int roll = m_random.irange(0, 99);
        if (roll < 70 && headAge >= 20) {
            const int age = headAge - m_random.irange(20, 38);
            if (age >= 0) {
                h.members.push_back(makePerson(family, m_random.irange(1, 2), year - age, KinChild, county()));
                continue;
            }
        }
        if (roll < 82 && headAge >= 42) {
            const int age = headAge - m_random.irange(42, 60);
            if (age >= 0) {
                h.members.push_back(makePerson(family, m_random.irange(1, 2), year - age, KinGrandchild, county()));
                continue;
            }
        }
        if (roll < 90 && headAge >= 40) {
            const int age = headAge - m_random.irange(18, 30);
            h.members.push_back(makePerson(QString::fromUtf8(m_random.pick(kFamilyNames)), m_random.irange(1, 2),
                                           year - std::max(18, age), KinInLaw, county()));
            continue;
        }
        if (roll < 96 && headAge <= 65) {
            const int age = std::min(99, headAge + m_random.irange(22, 32));
            h.members.push_back(makePerson(family, m_random.irange(1, 2), year - age, KinRelative, county()));
            continue;
        }
        h.members.push_back(makePerson(QString::fromUtf8(m_random.pick(kFamilyNames)), m_random.irange(1, 2),
                                       year - m_random.irange(18, 70), KinUnrelated, county()));
    }
}

}
