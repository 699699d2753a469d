#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace velmor {

struct AppContext;
class DataDirectoryLock;
class RegisterServices;
class Settings;

namespace engine {
class Engine;
}
namespace data {
class Schema;
}

// The start-up sequence run one timer tick after the splash shows: fixes the data directory and
// the data mode, creates missing tables, loads constants and lists into the windows, and in local
// data mode cleans old rows, upgrades, resets the counters and re-indexes every table. Talks to
// the user only through the interaction seam of the context; the windows it feeds are reached
// through hooks, so tests run it without any window.
class StartupSequence {
public:
    // Calls into other windows. An empty hook is a step whose window is not built yet.
    struct Hooks {
        std::function<void(const QString&)> setStatus; // splash status line Label5
        std::function<void(int)> setBar;               // splash progress bar position (0..100)
        std::function<void()> showDataPath;            // administration window's data path label
        std::function<void()> setMainCaption;          // main window caption := version title
        std::function<void()> loadConstants;           // TForm4.IncarcaConstante
        std::function<void()> loadTariffs;             // local tariffs window start-up load
        std::function<void()> upgrade;                 // schema upgrade (errors swallowed); empty: runUpgrade()
        std::function<void()> loadPlotLists;           // lists of the plot window
        std::function<void(bool)> applySquareMetres;   // household editor's square-metre box
    };

    enum class Outcome {
        HandOver,  // show the main window
        Terminate, // the program must end (the user was told why)
    };

    struct Result {
        Outcome outcome = Outcome::HandOver;
        QString error; // an error shown to the user, if any
    };

    // Bar advances of the re-indexing step, in table order.
    struct ReindexStep {
        QString table;
        QStringList columns;
        int advance = 0;
    };
    static const std::vector<ReindexStep>& reindexSteps();

    // The fifteen tables in the order their production indexes are removed.
    static QStringList removeIndexOrder();

    // `programDirectory` is the program home; the context receives the directories, the data
    // mode, the engine and the settings file, which this object owns for the whole run.
    StartupSequence(AppContext& ctx, QString programDirectory, Hooks hooks = {});
    ~StartupSequence();

    Hooks& hooks() { return m_hooks; }

    // Steps 1 to 19; the caller hands over to the main window when the outcome says so.
    Result run();

    // Individual phases (run() calls them in order); public for tests.
    void connect();      // steps 1 to 8
    void prepare();      // steps 10 to 19

    // The schema upgrade of step 12: status line and bar through the hooks; failed steps are
    // shown once, as one error message.
    void runUpgrade();

    int barPosition() const { return m_bar; }
    // The data directory's lock, held for the whole run (none when another holds it).
    DataDirectoryLock* lock() const { return m_lock.get(); }

private:
    // Takes the data directory's lock (or asks to read only) and mends an interrupted operation.
    void claimDataDirectory();
    // The administrator's take-over of a lock held by another, after asking.
    bool takeOverLock();
    // Read-only or not: the context, the engine and the settings file.
    void setReadOnly(bool on);
    void status(const QString& text);
    void advanceBar(int amount);
    void pump();
    void cleanOldRows();
    void resetCounters();
    void applySquareMetreSetting();
    void reindex();
    QString table(const QString& fileName) const;

    AppContext& m_ctx;
    QString m_programDirectory;
    Hooks m_hooks;
    std::unique_ptr<RegisterServices> m_services;
    std::unique_ptr<data::Schema> m_schema;
    std::unique_ptr<DataDirectoryLock> m_lock;
    int m_bar = 0;
};

// A path compared as the program compares data paths: separators made uniform, trailing
// separators removed, letters A to Z upper-cased.
QString comparablePath(const QString& path);

}
