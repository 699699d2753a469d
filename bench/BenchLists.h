#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace velmor::engine {
class Engine;
}

namespace velmor::bench {

struct ListTiming {
    QString name;
    double ms = 0;
};

// The lists of one year: the offered rows of every chapter (as the lists window opens), an
// advanced list and a selection list; medians over the rounds. `only` picks scenarios by name.
std::vector<ListTiming> benchLists(engine::Engine& engine, const QString& dataDir, const QString& workDir, std::int64_t year,
                                   int rounds, const QString& only);

}
