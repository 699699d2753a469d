#include "domain/AreaMetres.h"

#include <cmath>

namespace velmor::area {

qint64 metres(double ha, double ari)
{
    return qint64(std::llround(ha * 10000.0 + ari * 100.0));
}

HaAri split(qint64 squareMetres)
{
    HaAri pair;
    pair.ha = squareMetres / 10000; // C++ division truncates toward zero
    pair.ari = double(squareMetres - pair.ha * 10000) / 100.0;
    return pair;
}

}
