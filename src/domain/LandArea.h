#pragma once

#include <QtGlobal>

namespace velmor::area {

// An area as the chapters keep it: whole hectares and ares (one hectare is 100 ares, one are
// 100 square metres). Sums and comparisons are done on square metres, so they are exact.
struct Pair {
    qint64 hectares = 0;
    double ares = 0;
};

// hectares × 10000 + ares × 100, rounded to a whole number of square metres.
qint64 squareMetres(double hectares, double ares);
// Hectares truncated toward zero, the rest in ares (two decimals at most): a negative value gives
// a negative hectare part and a negative or zero ares part.
Pair split(qint64 squareMetres);
// A plot's area in hectares (four decimals) in whole square metres.
qint64 fromHectares(double hectares);

}
