#pragma once

#include "data/engine/Parameters.h"
#include "output/ExportFormat.h"
#include "output/ExportTable.h"

#include <QDate>
#include <QString>

#include <optional>

namespace velmor {
class Interaction;
}

namespace velmor::engine {
class Engine;
}

namespace velmor::output {

// Writes export tables into files.
class DataExport {
public:
    // Writes the table to `path` in the format. The file is written under a temporary name beside
    // it and put in place when complete: on failure nothing is left and an older file at `path`
    // is untouched. Shows progress through `progress` when given. Throws ExportError.
    static void write(const ExportTable& table, ExportFormat format, const QString& path,
                      Interaction* progress = nullptr);
    // The file content of a format written in memory (every format but Xlsx).
    static QByteArray render(const ExportTable& table, ExportFormat format, Interaction* progress = nullptr);
};

struct ExportOptions {
    // Unset: the format the output file's extension names, else Excel.
    std::optional<ExportFormat> format;
    QString title;
    QString footer;
    QDate exportDate;         // invalid: today
    bool rowNumbers = false;  // a first column "Nr." numbering the rows
    engine::Parameters parameters; // values of the statement's ":NAME" parameters
    Interaction* progress = nullptr;
};

// The format an export with these options writes to `outPath`.
ExportFormat chosenFormat(const ExportOptions& options, const QString& outPath);

// The export verb of the command line: runs the SELECT statement (the program's dialect, table
// paths in double quotes) on the engine and writes all its rows and columns to `outPath`, with the
// options' title, footer and date. Throws SqlError when the statement fails and ExportError when
// it is not a SELECT or the file cannot be written; no file is left behind then.
void exportStatement(engine::Engine& engine, const QString& statement, const ExportOptions& options,
                     const QString& outPath);

// Where the format dialog sends an export.
struct ExportChoice {
    enum class Destination { File, ViewOnly };
    ExportFormat format = ExportFormat::Xlsx;
    Destination destination = Destination::File;
};

// Carries out a choice of the format dialog: File asks for the file through chooseSaveFile (the
// extension of the format is added when missing; an existing file is replaced only after DA) and
// writes it; ViewOnly writes a file in the
// system's temporary folder and opens it with its default program. Returns the file written;
// empty when the user cancelled the file choice. Throws ExportError.
QString exportAsChosen(const ExportTable& table, const ExportChoice& choice, Interaction& ui,
                       const QString& directory = QString());

}
