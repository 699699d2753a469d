#pragma once

#include <QtGlobal>

namespace velmor::area {

// An area stored as whole hectares plus ares (one hectare is 100 ares, one are 100 square metres).
struct HaAri {
    qint64 ha = 0;
    double ari = 0;
    bool operator==(const HaAri&) const = default;
};

// Square metres of a pair, rounded to a whole number, so sums and comparisons are exact.
qint64 metres(double ha, double ari);
inline qint64 metres(const HaAri& pair) { return metres(double(pair.ha), pair.ari); }

// A square-metre value split back into a pair: hectares truncated toward zero, the rest in ares
// (at most two decimals). A negative value gives a negative (or zero) hectare and ares part.
HaAri split(qint64 squareMetres);

}
