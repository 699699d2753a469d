#pragma once

#include "workbook/Workbook.h"

#include <QString>

#include <optional>

namespace velmor {
class Interaction;
namespace engine {
class DataSet;
}
}

namespace velmor::reports {

// Fills a copy of a template workbook from a query result, driven by the placeholders written
// in the template's cells: header placeholders ("#JUDET"), the template row (marked "#DBF") with
// its field placeholders ("#NUMEP") and the running number ("%NRCRT").
class TExportXLSModel {
public:
    // `outputDirectory` receives the numbered outputs "Rap<n>.xls".
    TExportXLSModel(Interaction& ui, QString outputDirectory);

    // Writes the output to this file instead of a numbered name, and does not open it.
    void setFixedOutput(const QString& path) { m_fixedOutput = path; }

    // Opens the template copy and selects sheet 1; false, without a message, when the file does not
    // exist. Throws WorkbookError for a file that is not a readable workbook.
    bool openTemplate(const QString& path);
    bool isOpen() const { return m_workbook.has_value(); }

    // Every cell of sheet 1 whose trimmed text equals the name (letters A-Z without regard to
    // case) receives the value.
    void replaceHeader(const QString& name, const QString& value);

    // Fills the template row once per record from the current one to the end; returns the rows
    // written. Nothing happens when the data set is not open; throws WorkbookError when no
    // workbook is open.
    int fill(engine::DataSet& data);

    // Saves the workbook (under the first free numbered name, or the fixed output), closes it and
    // opens the file with the system's default program. Returns the file written; nullopt when no
    // workbook was open, or when every numbered name is in use (the user is told).
    std::optional<QString> saveAndShow();

    const QString& outputName() const { return m_outputName; }

private:
    Interaction& m_ui;
    QString m_outputDirectory;
    QString m_fixedOutput;
    QString m_outputName;
    std::optional<workbook::Workbook> m_workbook;
};

}
