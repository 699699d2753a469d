#include "data/demo/Plots.h"

#include "data/demo/People.h"
#include "data/demo/Random.h"
#include "data/demo/Vocabulary.h"

namespace velmor::data::demo {

namespace {

// The name plots are held under: the head's, or the unit's for types 3 and 4.
QString holderName(const Household& h)
{
    if (h.type >= 3)
        return h.unit.left(40);
    for (const Person& p : h.members) {
        if (p.kinship == KinHead)
            return p.name();
    }
    return {};
}

}

Plot Plots::makePlot(const Household& h, int category, bool intra, qint64 m2, int year)
{
    Plot p;
    p.category = category;
    p.intra = intra;
    p.m2 = m2;
    p.deed = QString::fromLatin1(h.type >= 3 && m_random.percent(50) ? kSaleContract : m_random.pick(kDeedKinds));
    p.deedNumber = m_random.percent(60)
        ? QStringLiteral("%1/%2").arg(m_random.irange(1, 3999)).arg(m_random.irange(1, 120))
        : QString::number(m_random.irange(1, 25000));
    const int deedYear = m_random.irange(1991, std::max(1991, year - 1));
    p.deedDate = m_random.date(deedYear).toString(QStringLiteral("dd.MM.yyyy"));
    if (intra) {
        p.block = (QStringLiteral("INTRAVILAN ") + QString::fromUtf8(kVillages[h.village])).left(32);
        p.blockNumber = m_random.percent(50) ? QString::number(m_random.irange(1, 30)) : QString();
    } else {
        p.block = QString::fromLatin1(m_random.pick(kFieldBlocks));
        p.blockNumber = QString::number(m_random.irange(1, 140));
    }
    p.parcel = QString::number(m_random.irange(1, 999));
    if (m_random.percent(15))
        p.parcel += QStringLiteral("/") + QString::number(m_random.irange(1, 9));
    else if (m_random.percent(8))
        p.parcel += QLatin1Char('A');
    if (m_random.percent(60))
        p.cadastral = QString::number(m_random.irange(50000, 59999));
    const QString holder = holderName(h);
    if (category == Yard || m_random.percent(75))
        p.worker = holder.isEmpty() ? QString() : holder;
    else if (m_random.percent(60))
        p.worker = QString::fromLatin1(m_random.pick(kTenants));
    const auto neighbour = [&]() -> QString {
        if (m_random.percent(55))
            return m_people.personName();
        if (intra)
            return QStringLiteral("STR. ") + QString::fromLatin1(m_random.pick(kStreets));
        if (m_random.percent(50))
            return QStringLiteral("DE ") + QString::number(m_random.irange(1, 900));
        return QString::fromLatin1(m_random.pick(kBoundaries));
    };
    p.north = neighbour();
    p.south = neighbour();
    p.east = neighbour();
    p.west = neighbour();
    if (intra && h.type != 2 && m_random.percent(50))
        p.notes = QStringLiteral("STR. %1 NR. %2").arg(h.street, h.number);
    if (!holder.isEmpty())
        p.holders << holder;
    if (h.type <= 2) {
        for (const Person& m : h.members) {
            if (m.kinship == KinSpouse && m_random.percent(60))
                p.holders << m.name();
        }
        if (p.holders.isEmpty())
            p.holders << m_people.personName(); // the title is still on a former owner
    }
    if (m_random.percent(4)) {
        const int count = m_random.irange(1, 2);
        for (int k = 1; k <= count; ++k)
            p.pictures << QStringLiteral("C:\\Documente\\Scanari\\Parcela_%1_%2.jpg").arg(p.parcel.left(4).remove(QLatin1Char('/'))).arg(k);
    }
    return p;
}

}
