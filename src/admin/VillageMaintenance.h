#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

struct AppContext;

// Village maintenance of the page "DATE DESPRE PRIMARIE": add, edit in the list, rename or
// merge across all years, and delete with everything that belongs to the village's households.
// Works on the live list (the window's ListaSate) and the selected row (-1: none); the list
// reaches Sate.lst when the administration window closes, the tables change at once.
// Statement errors (engine::SqlError) propagate; the steps already done stay done.
class VillageMaintenance {
public:
    enum class Outcome {
        Refused,   // a check refused (message shown)
        Cancelled, // a question or prompt was not answered DA / OK
        Done,
    };

    static constexpr const char* ScratchTable = "delt1.dbf";

    explicit VillageMaintenance(AppContext& ctx);

    // SpeedButton1 "Adauga": cleans `inSat` (the field shows the cleaned text) and appends it.
    Outcome addVillage(QStringList& villages, QString& inSat);
    // Context menu "Modifica": moves the selected name into `inSat` for correction.
    Outcome takeForCorrection(QStringList& villages, int selected, QString& inSat);
    // SpeedButton3 "Modifica": renames the selected village, or merges it into a listed one.
    Outcome renameVillage(QStringList& villages, int selected);
    // SpeedButton2 "Sterge": deletes the selected village; with households, after a question,
    // deletes all of them (every year) with members, chapters, plots, holders and pictures.
    Outcome deleteVillage(QStringList& villages, int selected);

    // The statements' building blocks (tests and the merge use them).
    void renameInTables(const QString& oldName, const QString& newName);
    bool hasHouseholds(const QString& village);
    void deleteHouseholds(const QString& village);

    QString scratchPath() const;

private:
    QString table(const QString& fileName) const;
    void recreateScratch(const QString& columnDefinition);
    // The statements of deleteHouseholds(), run inside its guarded operation.
    void deleteHouseholdsNow(const QString& village);
    void removeScratch();

    AppContext& m_ctx;
};

}
