#pragma once

#include "services/CouncilProfile.h"

#include <QString>
#include <QStringList>

namespace velmor {

struct AppContext;

// The logic of the administration window's general page and of its constants: the village list
// file, the constants, the data and backup paths and the document models. Talks to the user only
// through the context's interaction seam.
class Administration {
public:
    static constexpr const char* Section = "CONSTANTE";
    static constexpr const char* VillageFile = "Sate.lst";

    explicit Administration(AppContext& ctx);

    // ---- constants ----
    // The texts the window shows until constants are saved.
    static CouncilConstants designedConstants();
    // The stored constants over `shown`: a non-empty stored value replaces the shown one. TIPLOC:
    // the stored type when it is one of the three, empty when it matches none, "COMUNA" when
    // nothing is stored.
    CouncilConstants readConstants(const CouncilConstants& shown) const;
    // Writes all seven keys. Raises ServiceError.
    void writeConstants(const CouncilConstants& constants);

    // ---- villages ----
    // data directory + "/Sate.lst" (an existing file whose name differs in letter case is used).
    QString villageFilePath() const;
    // One name a line, Windows-1250; blank lines are skipped. Empty when the file is missing.
    // Raises ServiceError when it exists but cannot be read.
    QStringList readVillages() const;
    // Writes the list, Windows-1250 with CR LF, replacing the file at once. Raises ServiceError.
    void writeVillages(const QStringList& villages);

    // Saves the village list and the constants (closing the window); every failure is shown.
    // False when something could not be written.
    bool saveOnClose(const QStringList& villages, const CouncilConstants& constants);

    // The automatic-backup directory of the registry, or "-" when none is set.
    QString readBackupDirectory() const;

    // ---- data path ----
    // Each returns true when the program must end now (the user was told to start it again).
    bool useNetworkData();
    bool useLocalData();

    // ---- automatic-backup path; `caleSalvari` is the text of the label CaleSalvari ----
    void chooseBackupDirectory(QString& caleSalvari);
    void stopAutomaticBackup(QString& caleSalvari);

    // ---- document models ----
    // "Model 1" .. "Model 4": Adv.rtf, Adv2.rtf .. Adv4.rtf of the program home.
    void DeschideModelAdeverinta(int model);
    void DeschideModelRAgr2();
    // "Formularul L1" .. "Formularul L4": the last character selects the form.
    void DeschideModelRecensamant(const QString& caption);

    // Whether a file can be created in the folder (tried with a scratch file of that name).
    static bool canWriteIn(const QString& folder, const QString& testName);

private:
    void openModel(const QString& path, const QString& title);

    AppContext& m_ctx;
};

}
