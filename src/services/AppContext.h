#pragma once

#include "services/CouncilProfile.h"
#include "services/UnlockState.h"
#include "services/WorkingYear.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace velmor {

namespace engine {
class Engine;
}
class Settings;
class RegistryStore;
class Interaction;

// The process-wide values of one run, fixed by the start-up sequence and read by every window
// and logic class: directories, the data mode, the shared services, the council profile, the
// working year and the unlocked state.
struct AppContext {
    static constexpr const char* VersionTitle = "VELMOR 3.18";
    static constexpr const char* ApplicationTitle = "KT 2009";

    QString programDirectory;   // the program home
    QString dataDirectory;      // tables, Sate.lst, Velmor.ini
    QString windowsDirectory;   // the system temporary directory
    bool localDataMode = true;

    engine::Engine* engine = nullptr;
    Settings* settings = nullptr;
    RegistryStore* registry = nullptr;
    Interaction* interaction = nullptr;

    // Run-wide state every window reads: the council's constants and villages, the working year.
    CouncilProfile profile;
    WorkingYear year;
    QString workingYear() const { return year.text(); }

    // Points the run at its directories and the services over the data directory; the one way
    // the program, the command line and the benchmark fill these fields.
    void attach(const QString& programDir, const QString& dataDir, engine::Engine* engineOfData, Settings* settingsOfData,
                Interaction* ui)
    {
        programDirectory = programDir;
        dataDirectory = dataDir;
        engine = engineOfData;
        settings = settingsOfData;
        interaction = ui;
    }

    // Full path of a table of the data directory.
    QString tablePath(const QString& fileName) const { return dataDirectory + QLatin1Char('/') + fileName; }

    // Another computer or program holds the data directory's lock, or an interrupted operation
    // was left as it is: the register is only read; the unlocked state cannot be set.
    bool readOnly = false;
    // The administrator's take-over of the lock held by another (asks first); true when taken, and
    // the register is then no longer read-only.
    std::function<bool()> takeOverLock;

    // The unlocked state; windows connect to `unlock.changed` (the main window switches its buttons).
    UnlockState unlock;
    bool unlocked() const { return unlock.unlocked(); }
    void setUnlocked(bool on) { unlock.set(on, readOnly); }
};

}
