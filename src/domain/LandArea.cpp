#include "domain/LandArea.h"

#include <cmath>

namespace velmor::area {

qint64 squareMetres(double hectares, double ares)
{
    return std::llround(hectares * 10000.0 + ares * 100.0);
}

Pair split(qint64 squareMetres)
{
    const qint64 hectares = squareMetres / 10000;
    return {hectares, double(squareMetres - hectares * 10000) / 100.0};
}

qint64 fromHectares(double hectares)
{
    return std::llround(hectares * 10000.0);
}

}
