#pragma once

#include "admin/BackupRestore.h"

#include <QString>
#include <QStringList>

namespace velmor {

struct AppContext;

// The logic of the window "Salvare - Incarcare" (TForm21) over the data directory in use:
// saving into a ".kt" archive, restoring from one, and the automatic backup at close.
//
// A restore first extracts the archive into a staging folder beside the data directory and
// checks it: every member is read whole (its zlib stream complete, its declared size matched,
// its name a plain file of "Data\") and the fifteen tables are present. Only then are the data
// directory's files moved aside and the archive's files moved in; a failure while swapping puts
// the old files back. A damaged or incomplete archive leaves the data directory as it was.
class DataBackup {
public:
    using Outcome = BackupRestore::Outcome;
    using Result = BackupRestore::Result;

    explicit DataBackup(AppContext& ctx);

    QString dataDirectory() const;

    // "Salveaza baza de date".
    Result BitBtn1Click();
    // "Incarca o baza de date": after its checks and question, replaces the data directory's files
    // with the archive's. Success asks for a restart (terminateProgram).
    Result BitBtn2Click();
    // The automatic backup when the main window closes, with its end message.
    bool SalvareAutomata(const QString& archivePath);

    // The restore without dialogs (progress only). Raises ArchiveError; the data directory is
    // unchanged unless it returns. Returns the files now in the data directory.
    QStringList restoreFrom(const QString& archivePath);

private:
    AppContext& m_ctx;
};

}
