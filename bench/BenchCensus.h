#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace velmor {
class Interaction;
namespace engine {
class Engine;
}
}

namespace velmor::bench {

// The census forms L1 (one village) and C1 of a year, the plot search of a year without a filter
// and its list of land in ownership: each scenario's name and median time in ms over `rounds`.
// `only` selects scenarios by a part of their name (empty: all).
QList<QPair<QString, double>> benchCensus(engine::Engine& engine, const QString& dataDir, const QString& workDir,
                                          const QString& year, int rounds, const QString& only, Interaction& ui);

}
