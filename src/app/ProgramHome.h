#pragma once

#include <QString>

namespace velmor {

// The program home: --home DIR, else $VELMOR_HOME, else the per-user application data folder.
// Holds the local data directory (<home>/Data), generated documents and delivered models.
class ProgramHome {
public:
    // `explicitHome` is the --home option; empty when not given.
    static QString locate(const QString& explicitHome);

    explicit ProgramHome(const QString& path);

    const QString& path() const { return m_path; }
    QString localDataDirectory() const;
    // Creates the home and its Data folder when missing; false when that fails.
    bool ensureExists() const;

private:
    QString m_path;
};

}
