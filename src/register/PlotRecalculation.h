#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <optional>

namespace velmor {

class Interaction;
class ProgressSteps;
namespace engine {
class Engine;
}

// Which households of the working year are recalculated; an empty choice means any.
struct RecalcSelection {
    std::optional<QString> village; // LOCALIT
    std::optional<qint64> type;     // TIPRA
    std::optional<qint64> volume;   // VOLUM
    std::optional<qint64> position; // POZ
    std::optional<qint64> household; // CODID, instead of the four above
};

struct RecalcResult {
    int recalculated = 0;
    int skipped = 0; // households without any of chapter 2's rows 1 to 12
};

// What one household's chapter 2 and 3 hold now and will hold after the recalculation.
struct RecalcPlan {
    // AHA, AARI, BHA, BARI, CHA, CARI, IHA, IARI of a chapter 2 row.
    using Cap2Values = std::array<double, 8>;
    using HaAri = std::pair<double, double>;

    std::map<int, Cap2Values> cap2Before; // by row code; a repeated code keeps its first row
    std::map<int, HaAri> cap3Before;      // rows 1, 2, 8 and 15
    std::map<int, qint64> plotA;          // square metres of the plots by chapter 2 row
    std::map<int, qint64> plotI;          // of them inside the built-up area

    std::map<int, Cap2Values> cap2After; // rows 1 to 12 that exist
    std::map<int, HaAri> cap3After;
};

// Rebuilds chapter 2 (land owned) and the dependent rows of chapter 3 from the households' plots.
// Everything is read and computed first; then each household is written in its own step, and a
// household whose writing fails is put back as it was, so none is left half recalculated.
class PlotRecalculation {
public:
    PlotRecalculation(engine::Engine& engine, QString dataDirectory, Interaction* progress = nullptr);

    // The chapter 2 rows a plot category adds to (vines and orchards also to the row below).
    static QList<int> chapterRowsOf(const QString& category);

    // Fills the plan's chapter 2 and 3 rows after the recalculation from its plots and the rows
    // before; false (nothing filled) when the household has none of chapter 2's rows 1 to 12.
    // Throws Error when a total does not fit its column.
    static bool computePlan(qint64 codid, RecalcPlan& plan);

    // Throws Error when a statement fails or a total does not fit its column (nothing is written
    // then for any household), and, before anything, when the year has no household or the
    // household, village, type, volume or position chosen selects none.
    RecalcResult run(int year, const RecalcSelection& selection);

    // The values the selection dialog offers: villages, volumes and positions of every year.
    QStringList villages() const;
    QStringList volumes() const;
    QStringList positions() const;

    // Runs between a household's chapter 2 and chapter 3 writes; lets tests make a write fail there.
    void setBetweenWrites(std::function<void(qint64 household)> hook) { m_betweenWrites = std::move(hook); }

private:
    void refuseEmptySelection(int year, const RecalcSelection& selection) const;
    // The plans of the selected households with their plots and rows before.
    std::map<qint64, RecalcPlan> readPlans(int year, const RecalcSelection& selection, ProgressSteps& progress) const;
    // Writes a household's plan (or its rows before) in the statements of one step each.
    void writeCap2(int year, qint64 codid, const std::map<int, RecalcPlan::Cap2Values>& rows, bool othersZero);
    void writeCap3(int year, qint64 codid, const std::map<int, RecalcPlan::HaAri>& rows);
    QString table(const char* name) const;

    engine::Engine& m_engine;
    QString m_dataDirectory;
    Interaction* m_progress;
    std::function<void(qint64)> m_betweenWrites;
};

}
