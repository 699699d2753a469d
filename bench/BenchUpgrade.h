#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace velmor {
class Interaction;
}

namespace velmor::bench {

// The schema upgrade of a copy of the register rewritten into the oldest layouts (safety archive
// included), then the check the start-up pays on a current register (median of `rounds`).
// Scenario names and their times in milliseconds; none when `only` names another scenario.
std::vector<std::pair<QString, double>> upgradeScenarios(const QString& dataDir, const QString& workDir, Interaction& ui,
                                                         int rounds, const QString& only);

}
