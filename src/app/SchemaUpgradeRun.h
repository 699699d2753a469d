#pragma once

#include "data/SchemaUpgrade.h"

#include <QString>

#include <functional>

namespace velmor {

class Interaction;
namespace engine {
class Engine;
}

// The schema upgrade as the start-up and `velmor-cli upgrade` run it: before its first change it
// checks every file, saves the directory into the safety archive UpGrade-yyyyMMdd-HHmmss.kt beside
// it and leaves its marker until the end; a run that finds the marker of an interrupted upgrade
// finishes that one (its archive is the one of the first run). The caller holds the lock.
class SchemaUpgradeRun {
public:
    SchemaUpgradeRun(engine::Engine& engine, QString dataDirectory, Interaction& ui);

    std::function<void(const QString&)> setStatus;
    std::function<void(int)> setBar; // 0..100

    data::UpgradeReport run();
    // The safety archive written by this run (empty when none was needed).
    const QString& safetyArchive() const { return m_archive; }

    // The safety archive's name for a data directory, now.
    static QString archivePathFor(const QString& dataDirectory);
    // What the start-up tells about notes kept whole in MentiuniLungi.txt; empty when none.
    static QString longNotesMessage(const data::UpgradeReport& report, const QString& dataDirectory);
    // The one message of the start-up about failed steps; empty when none failed.
    static QString failureMessage(const data::UpgradeReport& report);

private:
    engine::Engine& m_engine;
    QString m_dataDir;
    Interaction& m_ui;
    QString m_archive;
};

}
