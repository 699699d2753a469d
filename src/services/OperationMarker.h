#pragma once

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {

// The marker Velmor.op that an operation over several files (restore, take-over, chapter repair,
// recalculation, household delete, village rename and delete) leaves in the data directory from
// before its first change until after its last step: which operation, who ran it (computer,
// process) and when, what it needs to be undone or finished (its safety archive or staging
// folder, the files that were empty or missing before it, the values it ran with). A marker whose
// holder no longer runs tells of an interrupted operation.
struct OperationMarker {
    static constexpr const char* FileName = "Velmor.op";

    // Operation names, as written in the marker and printed by `velmor-cli recover`.
    static constexpr const char* Restore = "restore";
    static constexpr const char* Takeover = "takeover";
    static constexpr const char* Chapters = "chapters";
    static constexpr const char* Recalc = "recalc";
    static constexpr const char* HouseholdDelete = "household-delete";
    static constexpr const char* VillageRename = "village-rename";
    static constexpr const char* VillageDelete = "village-delete";
    static constexpr const char* Merge = "merge";
    static constexpr const char* Upgrade = "upgrade";

    QString operation;
    QString computer;
    qint64 process = 0;
    QDateTime time;
    QString archive;       // safety archive to restore from
    QString staging;       // staging folder of a restore
    QStringList empty;     // files of the data directory that were empty before the operation
    QStringList missing;   // files the operation may create that were missing before it
    QMap<QString, QString> values; // what the operation ran with (year, household, ...)

    // A marker for this process, now.
    static OperationMarker start(const QString& operation);

    static QString pathIn(const QString& dataDirectory);
    // The marker of the data directory; nullopt when there is none. A marker that cannot be read
    // is returned with an empty operation name.
    static std::optional<OperationMarker> read(const QString& dataDirectory);
    // Writes the marker (complete or not at all); raises ServiceError.
    void write(const QString& dataDirectory) const;
    // Removes the marker; raises ServiceError when it stays.
    static void remove(const QString& dataDirectory);

    // Whether the process that wrote it still runs: a process of this computer is looked for; one
    // of another computer is taken as running while the data directory's lock is held by it.
    bool holderRunning(const QString& dataDirectory) const;

    // The operation's name for the user ("restaurare", "preluare an", ...).
    QString displayName() const;
    // "Operatia <name> din dd.MM.yyyy hh:mm nu s-a terminat."
    QString interruptedText() const;
};

}
