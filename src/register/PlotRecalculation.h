#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace velmor {

class Interaction;
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

// Rebuilds chapter 2 (land owned) and the dependent rows of chapter 3 from the households' plots.
// Everything is read and computed first; then each household is written in its own step, and a
// household whose writing fails is put back as it was, so none is left half recalculated.
class PlotRecalculation {
public:
    PlotRecalculation(engine::Engine& engine, QString dataDirectory, Interaction* progress = nullptr);

    // The chapter 2 rows a plot category adds to (vines and orchards also to the row below).
    static QList<int> chapterRowsOf(const QString& category);

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
    QString table(const char* name) const;

    engine::Engine& m_engine;
    QString m_dataDirectory;
    Interaction* m_progress;
    std::function<void(qint64)> m_betweenWrites;
};

}
