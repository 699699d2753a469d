#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

struct AppContext;
struct OperationMarker;
class Interaction;
namespace engine {
class Engine;
}

// The logic of the window "Salvare - Incarcare" (TForm21) and of the archive commands of the
// command-line program: saving the data directory into a ".kt" archive, restoring it from one,
// the automatic backup at close and the extraction used before a merge. Talks to the user only
// through the interaction seam.
//
// There is one restore: the archive is first extracted into a staging folder beside the data
// directory and checked there: every member is read whole (its zlib stream complete, its declared
// size matched, its name a plain file of "Data\") and the household table is present. Only then
// are the data directory's files moved aside and the archive's files moved in; a failure while
// swapping puts the old files back. A damaged or incomplete archive leaves the data directory as
// it was. Tables an older archive lacks are created by the next start.
class DataBackup {
public:
    enum class Outcome {
        Cancelled, // the user cancelled a dialog or answered NU
        Refused,   // a check refused the choice (message shown)
        Done,      // finished; success message shown
        Failed,    // an error was shown instead of the success message
    };

    struct Result {
        Outcome outcome = Outcome::Cancelled;
        bool terminateProgram = false; // a restore that changed the data directory ends the program
        QString error;                 // text of the error shown, for Failed
    };

    static constexpr const char* ArchiveFilter = "Salvari (*.kt)";

    // `engine`, when given, forgets the tables a restore replaces.
    DataBackup(QString dataDirectory, Interaction& ui, engine::Engine* engine = nullptr);
    explicit DataBackup(AppContext& ctx);

    const QString& dataDirectory() const { return m_dataDir; }

    // "Salveaza baza de date": asks where, refuses the data directory, asks before replacing an
    // existing archive, writes the archive with progress and informs.
    Result saveDatabase();
    // "Incarca o baza de date": asks which archive, refuses a missing one or one inside the data
    // directory, asks for confirmation, then restores. Success asks for a restart.
    Result loadDatabase();
    // The automatic backup when the main window closes, with its end message; true when written.
    bool SalvareAutomata(const QString& archivePath);

    // Extracts an archive below the target directory ("Data\X" lands in <target>/Data/X) with
    // progress, for a merge. Raises ArchiveError; a bad archive writes nothing.
    QStringList Dezarhiveaza(const QString& archivePath, const QString& targetDir);

    // The building blocks without dialogs (progress only). Both raise ArchiveError.
    // Save: refuses an archive inside the data directory and a directory with nothing to save;
    // returns the member count.
    int saveTo(const QString& archivePath);
    // Restore: the staged restore described above; the data directory is created when missing.
    // WholeDirectory leaves the directory holding exactly the archive's files; ArchivedFiles swaps
    // only the files the archive holds and leaves every other file as it is (the undo of an
    // operation that saved the directory first: empty files, which archives skip, stay). Returns
    // the files written.
    enum class Scope { WholeDirectory, ArchivedFiles };
    // A whole-directory restore checks every file before its first move and leaves the marker
    // Velmor.op (with its staging folder) until it is done.
    QStringList restoreFrom(const QString& archivePath, Scope scope = Scope::WholeDirectory);

    // Mends a restore that was interrupted: once every old file was moved aside the restore is
    // finished from the staging folder ("completed"), before that the old files are put back
    // ("rolled-back"); "none" when the staging folder is gone. Removes the staging folder and the
    // marker. Raises ArchiveError.
    static QString recoverRestore(const QString& dataDirectory, const OperationMarker& marker,
                                  engine::Engine* engine = nullptr);

private:
    QString m_dataDir;
    Interaction& m_ui;
    engine::Engine* m_engine = nullptr;
};

}
