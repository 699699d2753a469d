#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace velmor {
class Interaction;
}

namespace velmor::bench {

// The consistency checks and the missing positions of the year on the register, then (only on a
// register the benchmark generated, since it changes it) the merge of a generated 300-household
// archive of that year, safety archive included. Returns (scenario, milliseconds).
std::vector<std::pair<QString, double>> runMergeScenarios(const QString& dataDir, const QString& workDir, const QString& year,
                                                          bool generated, const QString& only, Interaction& ui);

}
