#pragma once

#include "data/engine/Query.h"
#include "data/engine/TableCursor.h"

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace velmor {
class Interaction;
}

namespace velmor::engine {
class Engine;
}

namespace velmor::data {

// The program must end now (after the user was told why); the caller that owns the run acts on
// it. Logic never exits the process itself.
class ProgramTermination : public std::runtime_error {
public:
    explicit ProgramTermination(const QString& reason)
        : std::runtime_error(reason.toStdString())
        , m_reason(reason)
    {
    }
    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};

// Layouts of the register's tables, one per creator.
enum class Layout {
    Identificare,
    Cap1,
    Cap2,
    Cap3, // CAP3 and CAP4
    Cap5, // CAP5 and CAP9
    Cap6,
    Cap7,
    Cap8,
    Cap10,
    Cap11,
    Tarlale,
    OmTarla,
    PozeTarla,
};

// The persistent tables of a data directory: their creators, the check that a directory is
// complete, packing and the engine's indexes. Uses the statement runner `Sx` and the shared
// single-table cursor `Tx`, both owned here.
class Schema {
public:
    Schema(engine::Engine& engine, QString dataDirectory, Interaction& ui);

    engine::Engine& engine() { return m_engine; }
    const QString& dataDirectory() const { return m_dataDirectory; }
    engine::Query& Sx() { return m_sx; }
    engine::TableCursor& Tx() { return m_tx; }

    // data directory + separator + file name, with the platform's separators.
    QString tablePath(const QString& fileName) const;

    // Table creators: each replaces the file at `path` with a new, empty table of its layout.
    // CreazaIdentificare throws ProgramTermination (after the message) when the existing file
    // cannot be deleted; the others raise the engine's SqlError when the creation fails.
    void CreazaIdentificare(const QString& path);
    void CreazaCap1(const QString& path);
    void CreazaCap2(const QString& path);
    void CreazaCap3(const QString& path);
    void CreazaCap5(const QString& path);
    void CreazaCap6(const QString& path);
    void CreazaCap7(const QString& path);
    void CreazaCap8(const QString& path);
    void CreazaCap10(const QString& path);
    void CreazaCap11(const QString& path);
    void CreazaTarlale(const QString& path);
    void CreazaOmTarla(const QString& path);
    void CreazaPozeTarla(const QString& path);
    // The creator of chapter n (1 to 11): 3 and 4 share a layout, as do 5 and 9.
    void CreazaCapitol(int chapter, const QString& path);

    // Creates every missing table of the data directory; existing tables are not touched.
    void CreazaBaza();
    // True when all fifteen table files exist in the directory (names matched without regard to
    // letter case).
    static bool ExistaBaza(const QString& directory);

    // Clears the production-index flag (header byte 28) and deletes the table's .mdx file. A table
    // file that cannot be opened is left alone; a missing .mdx is no error.
    void RemoveIndex(const QString& path);
    // Packs one table through the shared cursor, opened exclusively. A table without deleted rows
    // is not rewritten.
    void Impacheteaza(const QString& path);
    // One engine index per column of a ";"-separated list; failing columns are skipped silently.
    void CreazaIndex(const QString& path, const QString& columns);
    // Packs the table, then indexes the listed columns.
    void StergePuneIndex(const QString& path, const QStringList& columns);

    // The text lines of a layout's creating statement, after its "CREATE TABLE" line.
    static QStringList layoutLines(Layout layout);
    // Layout of chapter n (1 to 11); throws std::invalid_argument for another number.
    static Layout chapterLayout(int chapter);
    // Layout of one of the fifteen table files (any letter case, with or without ".dbf"); throws
    // std::invalid_argument for another name.
    static Layout tableLayout(const QString& tableFileName);
    // Column names of a layout, in the order its creator declares them.
    static QStringList layoutColumns(Layout layout);
    // The fifteen table files, in the order ExistaBaza examines them.
    static QStringList tableFileNames();
    // The columns indexed after re-indexing, by table file name (any letter case).
    static QStringList indexColumns(const QString& tableFileName);

private:
    void create(Layout layout, const QString& path);
    void runCreate(Layout layout, const QString& path);

    engine::Engine& m_engine;
    QString m_dataDirectory;
    Interaction& m_ui;
    engine::Query m_sx;
    engine::TableCursor m_tx;
};

}
