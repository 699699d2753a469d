#pragma once

#include "data/engine/ResultSet.h"

#include <QString>
#include <QStringList>

struct sqlite3;

namespace velmor::bench {

// Native SQLite tables holding the same rows as the dBase tables of a data directory, with
// indexes on ANUL, CODID and RAND: the yardstick of the engine's speed. Like the engine's
// tables they live in a file, are held in memory once read, and are written without a journal
// or a sync to disk.
class NativeMirror {
public:
    explicit NativeMirror(const QString& databasePath);
    ~NativeMirror();
    NativeMirror(const NativeMirror&) = delete;
    NativeMirror& operator=(const NativeMirror&) = delete;

    // Copies one table (read through the engine) under the name `name`.
    void copyTable(const QString& name, const engine::ResultSet& rows, const QStringList& declaredTypes);

    // Runs a statement (SQLite text) and materialises its rows as the engine does.
    int run(const QString& sql, engine::ResultSet* rows = nullptr);

private:
    sqlite3* m_db = nullptr;
};

}
