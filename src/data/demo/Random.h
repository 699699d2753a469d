#pragma once

#include <QDate>
#include <QtGlobal>

#include <algorithm>
#include <initializer_list>
#include <iterator>

namespace velmor::data::demo {

// Random numbers of the demo register: SplitMix64, the same sequence on every platform and
// standard library. Every piece of the generator draws from one shared instance, so the order
// of the draws decides the output.
class Random {
public:
    explicit Random(quint64 seed)
        : m_state(seed)
    {
    }

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Inclusive range.
    qint64 range(qint64 lo, qint64 hi)
    {
        if (hi <= lo)
            return lo;
        return lo + qint64(next() % quint64(hi - lo + 1));
    }
    int irange(int lo, int hi) { return int(range(lo, hi)); }
    bool percent(int p) { return range(0, 99) < p; }
    bool permille(int p) { return range(0, 999) < p; }

    template <typename List>
    const auto& pick(const List& list)
    {
        return list[size_t(range(0, qint64(std::size(list)) - 1))];
    }

    // Index chosen with the given weights.
    int weighted(std::initializer_list<int> weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = irange(0, total - 1);
        int i = 0;
        for (int w : weights) {
            if (r < w)
                return i;
            r -= w;
            ++i;
        }
        return i - 1;
    }

    // A value changed by up to `percent` per cent either way, never below zero.
    qint64 drift(qint64 value, int percent)
    {
        if (value <= 0)
            return value;
        const qint64 span = std::max<qint64>(1, value * percent / 100);
        return std::max<qint64>(0, value + range(-span, span));
    }

    // A day of the given year: the month first, then the day.
    QDate date(int year)
    {
        const int month = irange(1, 12);
        const int day = irange(1, QDate(year, month, 1).daysInMonth());
        return QDate(year, month, day);
    }

private:
    quint64 m_state;
};

}
