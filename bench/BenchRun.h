#pragma once

#include <QElapsedTimer>
#include <QString>

#include <algorithm>
#include <functional>
#include <vector>

namespace velmor {
class RegisterServices;
namespace engine {
class Engine;
}
namespace cli {
class CliInteraction;
}
}

namespace velmor::bench {

// One line of the results: a scenario's median time on the engine and, for statements, on the
// native mirror (0: none).
struct Measurement {
    QString name;
    double engineMs = 0;
    double nativeMs = 0;
};

// What every scenario of a benchmark run is given, and where it puts its measurements.
struct BenchRun {
    QString dataDir; // the register measured
    QString workDir; // the run's scratch folder (work tables, outputs)
    QString year;    // the latest year of the register
    std::vector<qint64> codids; // the households of that year
    RegisterServices* services = nullptr; // the engine and settings over dataDir
    engine::Engine* engine = nullptr;     // the services' engine
    cli::CliInteraction* ui = nullptr;
    int rounds = 7;
    QString only;          // --only: run only the scenarios whose name contains it
    double generatorMs = -1; // the writing of the demo register; -1 when the register was given
    std::vector<Measurement> results;

    // True when the run measures the scenario of this name.
    bool wanted(const QString& name) const { return only.isEmpty() || name.contains(only); }
    // True when the register was written for this run (scenarios that change it need that).
    bool generated() const { return generatorMs >= 0; }
    QString path(const QString& table) const { return dataDir + QLatin1Char('/') + table + QStringLiteral(".dbf"); }
    void add(const QString& name, double engineMs, double nativeMs = 0) { results.push_back({name, engineMs, nativeMs}); }
};

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : (v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2);
}

// The median time of `rounds` runs of `body`, in milliseconds.
inline double timed(int rounds, const std::function<void()>& body)
{
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

}
