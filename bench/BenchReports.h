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

// The statistics file, the accounting report and the three lists of a year, each the median of
// `rounds` runs in milliseconds; `only` picks the scenarios whose name contains it.
QList<QPair<QString, double>> benchReports(engine::Engine& engine, const QString& dataDir, const QString& workDir,
                                           const QString& year, int rounds, const QString& only, Interaction& ui);

}
