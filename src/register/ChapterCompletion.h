#pragma once

#include "register/ChapterRows.h"

#include <QList>
#include <QString>

namespace velmor {

class Interaction;

namespace engine {
class Engine;
}

// A code that appears more than once in a household's chapter with data in every copy: the rows
// are kept and the set is reported.
struct KeptDuplicates {
    int chapter = 0;
    qint64 codid = 0;
    double code = 0;
    int rows = 0;
};

struct CompletionReport {
    int added = 0;
    int removed = 0;
    QList<KeptDuplicates> kept;
    ChapterRows rows; // the household's rows afterwards
};

// Makes a household's chapter hold its catalogue rows (CompleteazaCapitol without the load-time
// computations): the codes missing from the catalogue's set are created with zero values and the
// catalogue names, gathered first in the scratch table Ft.dbf and added with one statement (all of
// them or none; the scratch table is deleted with the object); a code present more than once loses its all-zero copies and the copies repeating
// the values of another (one copy always stays); copies holding different data are kept and
// reported. Rows with codes outside the catalogue are left
// alone. Chapter 11 gets its single notes row when it has none.
class ChapterCompletion {
public:
    ChapterCompletion(engine::Engine& engine, QString dataDirectory, QString scratchDirectory, Interaction& ui);
    // Deletes the scratch table.
    ~ChapterCompletion();
    ChapterCompletion(const ChapterCompletion&) = delete;
    ChapterCompletion& operator=(const ChapterCompletion&) = delete;

    // Throws an Error when the rows cannot be created; nothing is added then.
    CompletionReport complete(int chapter, qint64 codid, qint64 year);

    QString tablePath(int chapter) const;
    QString scratchTablePath() const;

private:
    int insertMissing(int chapter, qint64 codid, qint64 year, const QList<int>& positions);
    void dropScratch();

    // The scratch table is created at the first missing row and kept, emptied, for the next
    // household of the same chapter (a repair of a whole year); another chapter creates it anew.
    int m_scratchChapter = 0;

    engine::Engine& m_engine;
    QString m_dataDirectory;
    QString m_scratchDirectory;
    Interaction& m_ui;
};

}

namespace velmor {

// The computations each opening runs after the completion, in memory: chapter 3 row 1 from
// chapter 2 row 8 (read from the data directory) and VerificaCAP3, whose message text is returned;
// the totals of chapters 4, 5 and 7. Other chapters are left as they are.
QString applyLoadRules(engine::Engine& engine, const QString& dataDirectory, int chapter, qint64 codid, qint64 year,
                       ChapterRows& rows);

}
