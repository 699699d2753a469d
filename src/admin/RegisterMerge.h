#pragma once

#include "core/Error.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmor {

class Interaction;
class Settings;
namespace engine {
class Engine;
}

// A merge that was refused before any change, or failed and was undone. `balloon` marks the
// refusals shown as a balloon at the merge log ("Baza incompleta!", an old source).
class MergeError : public Error {
public:
    explicit MergeError(const QString& message, bool balloon = false)
        : Error(message)
        , m_balloon(balloon)
    {
    }
    bool balloon() const { return m_balloon; }

private:
    bool m_balloon;
};

// What a merge did.
struct MergeReport {
    struct Table {
        QString name; // "Identificare", "CAP1", ... "PozeTarla"
        qint64 removed = 0;  // rows of this register replaced
        qint64 appended = 0; // source rows appended
    };
    struct Counter {
        QString kind; // "CODID", "COD1", "CODT"
        qint64 before = 0;
        qint64 after = 0;
    };
    bool cancelled = false; // "Adaugam datele ?" not answered DA: nothing was done
    qint64 common = 0;      // positions of the year held in both registers
    bool replaced = false;  // the common positions were replaced by the source's
    QList<Table> tables;    // in copy order
    QList<Counter> counters;
    QStringList villages;   // the village list after the merge
    QString safetyArchive;  // saved before the first change
};

// The village list after a merge: `villages` in their order, then the villages of `held` (those
// of Identificare) it lacks, first in the order of `sourceVillages`, then sorted.
QStringList mergedVillageList(const QStringList& villages, const QStringList& held, const QStringList& sourceVillages);

// Appends the households of one year of another register's backup archive to this data
// directory, with all their rows, the identifiers shifted above this register's.
//
// All or nothing: the archive is extracted and checked in a private scratch folder, every source
// table is read whole and every row to append is written, already shifted and in this register's
// column layout, into scratch tables before the first change; a value that would not fit is
// refused then. The data directory is saved into a safety archive beside it
// ("Lipire-yyyyMMdd-HHmmss.kt") and any later failure restores it from there.
class RegisterMerge {
public:
    // `scratchParent` receives the private scratch folder (removed at the end). Questions,
    // progress and refusals go through `ui`; counters live in `settings`.
    RegisterMerge(engine::Engine& engine, QString dataDirectory, QString scratchParent, Settings& settings,
                  Interaction& ui);

    // Each line of the merge log, as it is written.
    std::function<void(const QString&)> log;

    // Merges the archive's households of `year`. `villages` is the current village list: it keeps
    // its villages and order, the missing villages of Identificare are appended (first in the order
    // of the source's Sate.lst, then sorted). Throws MergeError with nothing changed.
    MergeReport run(const QString& archivePath, const QString& year, const QStringList& villages);

    // The tables in copy order.
    static QStringList tableNames();

private:
    void write(const QString& line);

    engine::Engine& m_engine;
    QString m_dataDir;
    QString m_scratchParent;
    Settings& m_settings;
    Interaction& m_ui;
};

}
