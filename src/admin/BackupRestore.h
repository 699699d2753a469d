#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

class Interaction;

// The logic of the window "Salvare - Incarcare" (TForm21): saving the data directory into a
// ".kt" archive and restoring it from one, the automatic backup at close and the extraction
// used before a merge. Talks to the user only through the interaction seam.
class BackupRestore {
public:
    enum class Outcome {
        Cancelled, // the user cancelled a dialog or answered NU
        Refused,   // a check refused the choice (message shown)
        Done,      // finished; success message shown
        Failed,    // an error was shown instead of the success message
    };

    struct Result {
        Outcome outcome = Outcome::Cancelled;
        bool terminateProgram = false; // a successful restore ends the program
        QString error;                 // text of the error shown, for Failed
    };

    static constexpr const char* Caption = "Salvare - Incarcare";
    static constexpr const char* ArchiveFilter = "Salvari (*.kt)";

    BackupRestore(Interaction& ui, QString dataDir);

    QString dataDir() const { return m_dataDir; }

    // "Salveaza baza de date": asks where, refuses the data directory, asks before replacing an
    // existing archive, writes the archive with progress and informs.
    Result BitBtn1Click();
    // "Incarca o baza de date": asks which archive, refuses a missing one or one inside the data
    // directory, asks for confirmation, then replaces every file of the data directory with the
    // archive's files. The archive is read whole before anything is touched, so a damaged one
    // leaves the data directory as it was.
    Result BitBtn2Click();

    // Automatic backup at close; true when written (or nothing to write). Errors are shown.
    bool SalvareAutomata(const QString& archivePath);

    // Extracts an archive below the target directory ("Data\X" lands in <target>/Data/X) with
    // progress. Raises ArchiveError; a bad archive writes nothing.
    QStringList Dezarhiveaza(const QString& archivePath, const QString& targetDir);

    // Building blocks without dialogs. Save: member count (0 and no file when the directory holds
    // nothing to save). Restore: replaces the data directory's files; refuses an archive without
    // members. Both raise ArchiveError.
    int saveTo(const QString& archivePath);
    QStringList restoreFrom(const QString& archivePath);

private:
    Interaction& m_ui;
    QString m_dataDir;
};

}
