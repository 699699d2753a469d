#pragma once

#include "data/engine/Parameters.h"
#include "data/engine/ResultSet.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

struct sqlite3;

namespace velmor::engine {

class TableHandle;
struct Statement;

// Runs the program's statements over the dBase tables of a data directory. One engine object per
// data directory; every query object and table cursor of the program goes through it, so they all
// see the same records and indexes. Not thread-safe (the program uses one thread).
class Engine {
public:
    explicit Engine(const QString& dataDirectory);
    ~Engine();

    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    const QString& dataDirectory() const { return m_dataDirectory; }
    // A register opened only for reading: every change of a table of the data directory is
    // refused (tables elsewhere, the scratch tables of the program home, stay writable).
    void setReadOnly(bool on);
    bool readOnly() const { return m_readOnly; }

    // Statements and cursors reach only tables under the registered directories (after symbolic
    // links are followed); any other path is refused with a message naming it. The data directory
    // is registered by the constructor; the program adds its home and its scratch folders.
    void addTableRoot(const QString& directory);
    QStringList tableRoots() const { return m_roots; }

    // The file a table path of a statement names: backslashes become the platform's separators,
    // a relative path is taken inside the data directory, letter case is matched to the disk.
    QString resolvePath(const QString& path) const;

    // Runs a SELECT and returns its rows; throws SqlError. Every ":NAME" of the statement takes its
    // value from `parameters`; a parameter without a value, or a value for a name the statement does
    // not use, is an error.
    ResultSet select(const QString& statement, const Parameters& parameters = {});
    // Runs any other statement (changes and data definition); returns the rows changed.
    // Throws SqlError.
    int execute(const QString& statement, const Parameters& parameters = {});
    // Runs either kind; `rows` receives a SELECT's rows.
    int run(const QString& statement, ResultSet* rows, const Parameters& parameters = {});

    // The table behind a path, read again when another program changed the file.
    TableHandle& table(const QString& path);
    // Drops what the engine holds of a table (after it was deleted or replaced outside the engine).
    void forget(const QString& path);

private:
    struct Entry;
    Entry& entryFor(const QString& resolvedPath);
    QString sqlNameFor(const QString& path);
    // The resolved file of a table path, refused (SqlError naming the path) when it is outside
    // every table root.
    QString allowedPath(const QString& written) const;
    bool underRoot(const QString& path) const;
    // A SQLite message in Romanian, virtual table names replaced by the paths they stand for.
    QString explain(const QString& sqliteText) const;
    int runStatement(const QString& statement, ResultSet* rows, const Parameters& parameters);
    bool inDataDirectory(const QString& path) const;
    bool m_readOnly = false;
    bool m_statementChanged = false; // the last statement changed a table (counted as a change)
    void runDefinition(const Statement& statement);
    void dropSqlTable(Entry& entry);
    static QString keyOf(const QString& resolvedPath);

    QString m_dataDirectory;
    QStringList m_roots;
    mutable QHash<QString, QString> m_realRoots; // root -> its real path with a final "/"
    sqlite3* m_db = nullptr;
    QHash<QString, std::shared_ptr<Entry>> m_entries;
    QHash<QString, QString> m_resolved; // table path as written -> resolved path
    std::vector<std::shared_ptr<Entry>> m_byId;
    std::vector<std::shared_ptr<Entry>> m_statementTables; // tables of the running statement
    QHash<QString, QString> m_statementPaths;              // SQL name -> table path as written
    int m_nextSqlName = 0;
};

}
