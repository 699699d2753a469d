#include "core/ChangeCounter.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace velmor {

namespace {

std::atomic<qint64> g_stopAfter {0};
std::atomic<qint64> g_done {0};

}

void ChangeCounter::stopAfter(qint64 n)
{
    g_stopAfter = n > 0 ? n : 0;
}

void ChangeCounter::count()
{
    const qint64 now = ++g_done;
    const qint64 stop = g_stopAfter.load();
    if (stop > 0 && now >= stop) {
        std::fflush(nullptr);
        std::_Exit(StoppedStatus);
    }
}

qint64 ChangeCounter::done()
{
    return g_done.load();
}

}
