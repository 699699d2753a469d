#pragma once

#include <QString>

namespace velmor {

class Interaction;

// The archive commands of the command-line program:
//   velmor-cli backup --data DIR ARCHIVE     -> runBackupCommand(DIR, ARCHIVE)
//   velmor-cli restore ARCHIVE --into DIR    -> runRestoreCommand(ARCHIVE, DIR)
// Each returns the empty text on success and the error text otherwise; `progress` may be null.
// `members`, when given, receives the number of files saved or restored.
class ArchiveCommands {
public:
    // Writes the archive of every non-empty file of the data directory. Refuses a missing data
    // directory, a directory with nothing to save and an archive inside the data directory.
    static QString runBackupCommand(const QString& dataDir, const QString& archivePath,
                                    Interaction* progress = nullptr, int* members = nullptr);

    // Extracts the archive's files ("Data\X") straight into DIR, which must be empty or missing
    // (it is created). Refuses an archive without members; a bad archive leaves DIR empty.
    static QString runRestoreCommand(const QString& archivePath, const QString& intoDir,
                                     Interaction* progress = nullptr, int* members = nullptr);
};

}
