#pragma once

#include "services/AppContext.h"
#include "services/RegistryStore.h"
#include "services/ScriptedInteraction.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace velmor::test {

// A temporary program home (not created yet), a registry store redirected to a temporary INI
// file, a scripted interaction and a context wired to them.
struct StartupEnv {
    StartupEnv();

    QTemporaryDir dir;
    QString home;     // <tmp>/home
    QString registryPath;
    std::unique_ptr<RegistryStore> registry;
    ScriptedInteraction ui;
    AppContext ctx;

    QString localData() const { return home + QStringLiteral("/Data"); }
    // A directory of the temporary folder (created).
    QString makeDir(const QString& name) const;
};

// Creates the fifteen tables in `directory` (which must exist).
void createRegister(const QString& directory);
// Runs a statement over the tables of `directory`; returns the rows changed.
int runSql(const QString& directory, const QString& statement);
// Rows of a SELECT, each row's fields as text joined by "|".
QStringList selectRows(const QString& directory, const QString& statement);
// Quoted path of a table of a directory, for statements.
QString tableOf(const QString& directory, const QString& fileName);
// Reads the record count in a dBase header.
int headerRecordCount(const QString& path);
// Identity of a file on disk (inode on Unix); 0 when unknown.
quint64 fileIdentity(const QString& path);

}
