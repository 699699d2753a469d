#pragma once

#include <QString>
#include <QTemporaryDir>

namespace velmor::test {

// Folder of the foreign reference files (tables and archives written by other software).
QString fixturesDir();
QString fixturePath(const QString& relative);

// The path of an external program a test reads its output with (soffice, pdftotext), empty when
// it is not installed. Such programs come from scripts/test-packages.txt.
QString externalProgram(const QString& name);
// True in CI (CI=true), where every external program must be there.
bool externalProgramsRequired();

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

// Declares `var` as the path of program `name`; without it the test is skipped, or fails in CI.
#define VELMOR_REQUIRE_PROGRAM(var, name)                                                              \
    const QString var = ::velmor::test::externalProgram(QStringLiteral(name));                         \
    if (var.isEmpty()) {                                                                               \
        if (::velmor::test::externalProgramsRequired())                                                \
            FAIL() << name << " is missing: the test command installs scripts/test-packages.txt";     \
        GTEST_SKIP() << name << " is not installed";                                                   \
    }
