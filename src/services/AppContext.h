#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace velmor {

namespace engine {
class Engine;
}
class Settings;
class RegistryStore;
class Interaction;

// The process-wide values of one run, fixed by the start-up sequence and read by every window
// and logic class: directories, the data mode, the shared services and the unlocked state.
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

    // Owned by the administration window: the villages of Sate.lst and the automatic-backup
    // directory ("-" when none is configured).
    QStringList villages;
    QString backupDirectory = QStringLiteral("-");

    // The main window's working year (text of its year combo) and the reload of its year list.
    std::function<QString()> yearProvider;
    std::function<void()> loadYearList;
    QString workingYear() const { return yearProvider ? yearProvider() : QString(); }

    // Full path of a table of the data directory.
    QString tablePath(const QString& fileName) const { return dataDirectory + QLatin1Char('/') + fileName; }

    bool unlocked() const { return m_unlocked; }
    void setUnlocked(bool on)
    {
        m_unlocked = on;
        for (const auto& listener : unlockListeners)
            listener(on);
    }
    // Called whenever the unlocked state is set (the main window switches its buttons).
    std::vector<std::function<void(bool)>> unlockListeners;

private:
    bool m_unlocked = false;
};

}
