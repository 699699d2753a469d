#pragma once

#include "register/ChapterCompletion.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace velmor {

class Interaction;

namespace engine {
class Engine;
}

// The repair an administrator runs after an import or a merge: for every household of a year (or
// one), the catalogue completion of chapters 2 to 11, then the totals of chapters 2 and 6 (A := B,
// chapter 2 rows 8 and 12, chapter 6 rows 1 and 15) and the load-time computations of chapters 3,
// 4, 5 and 7, with the classes the chapter pages use.
class ChapterRepair {
public:
    struct ChapterCounts {
        int added = 0;
        int removed = 0;
        int changed = 0;
    };
    struct Report {
        int households = 0;
        std::array<ChapterCounts, 12> chapters {}; // by chapter number, 2..11 used
        QList<KeptDuplicates> kept;
        // Households whose computed values did not fit their columns (left unchanged).
        QStringList refused;
    };

    ChapterRepair(engine::Engine& engine, QString dataDirectory, QString scratchDirectory, Interaction& ui);

    // Throws an Error when a table cannot be read or written; a PreflightError, with nothing
    // changed, when a table is damaged or cannot be written.
    Report run(qint64 year, std::optional<qint64> household = std::nullopt);
    // Called after each chapter is finished for every household, with its counts.
    void setChapterDone(std::function<void(int chapter, const ChapterCounts&)> done) { m_chapterDone = std::move(done); }

private:
    void repairChapter(int chapter, qint64 codid, qint64 year, Report& report);

    engine::Engine& m_engine;
    QString m_dataDirectory;
    ChapterCompletion m_completion;
    std::function<void(int, const ChapterCounts&)> m_chapterDone;
};

}
