#pragma once

#include "core/Error.h"
#include "services/OperationMarker.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace velmor {

class Interaction;
namespace engine {
class Engine;
}

// A check before the first change of an operation that refused it; nothing was changed.
class PreflightError : public Error {
public:
    using Error::Error;
};

// What every operation over several files does around its changes: before the first one it checks
// that each file it may touch opens for writing (tables also as tables) and that the folder takes,
// renames and removes a file of its own, notes which files were empty or missing, may save a
// safety archive, and writes the marker Velmor.op; after the last step it removes what it saved for
// the undo (unless kept) and then the marker. A guard destroyed before finish() leaves the marker:
// the next start or command finds the operation interrupted.
class OperationGuard {
public:
    OperationGuard(QString dataDirectory, const QString& operation, engine::Engine* engine = nullptr);

    // Every file of the data directory and the named ones (which may be missing). Raises
    // PreflightError naming the first file or the folder that refuses.
    void preflight(const QStringList& mayCreate = {});
    // The fifteen tables and the settings file: what the register operations touch.
    static QStringList registerFiles();

    OperationMarker& marker() { return m_marker; }

    // Saves the data directory into an archive for the undo (the marker names it); a temporary
    // one (keep = false) is removed by finish(). Progress goes to `progress` when given. Raises
    // Error.
    void saveArchive(const QString& archivePath, Interaction* progress, bool keep);
    // A temporary archive beside the data directory for this operation.
    QString temporaryArchivePath() const;

    // Writes the marker: the first change.
    void begin();
    // After the last step: the temporary archive, then the marker, are removed.
    void finish();
    // An operation that undid itself (or changed nothing) ends its guard the same way.
    void abandon() { finish(); }

    // Puts back the data directory an archived operation changed: the archived files are restored
    // (those unchanged stay), the files that were empty are emptied again and those that were
    // missing removed. Raises Error.
    static void undoFromArchive(const QString& dataDirectory, const OperationMarker& marker, Interaction& ui,
                                engine::Engine* engine);

    // Runs `body` as an archived operation over the register: checked, saved into a temporary
    // archive, marked; a step that fails puts the register back from the archive and the error
    // goes on (a failed undo leaves the marker for the next start).
    static void runArchived(const QString& dataDirectory, const QString& operation, engine::Engine* engine,
                            Interaction& ui, const QMap<QString, QString>& values, const std::function<void()>& body);

private:
    QString m_dataDir;
    engine::Engine* m_engine;
    OperationMarker m_marker;
    bool m_begun = false;
    bool m_keepArchive = true;
};

// Whether a file name is one of the data directory's own lock and marker files, which are never
// archived, restored or moved.
bool isLockOrMarkerFile(const QString& fileName);

}
