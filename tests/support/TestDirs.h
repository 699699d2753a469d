#pragma once

#include <QString>
#include <QTemporaryDir>

namespace velmor::test {

// Folder of the foreign reference files (tables and archives written by other software).
QString fixturesDir();
QString fixturePath(const QString& relative);

// A temporary program home with its Data folder; removed when it goes out of scope.
class TempHome {
public:
    TempHome();
    QString home() const { return m_dir.path(); }
    QString data() const;
    // Copies every file of a fixture data directory into data() and makes them writable.
    void copyFixture(const QString& fixtureFolder) const;
    QString dataFile(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

}
