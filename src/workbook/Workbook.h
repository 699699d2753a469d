#pragma once

#include "workbook/CompoundFile.h"
#include "workbook/SharedStrings.h"
#include "workbook/Sheet.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <variant>

namespace velmor::workbook {

// What a cell holds, as the engine's users see it.
struct CellValue {
    enum class Kind { Empty, Number, Text, Other };
    Kind kind = Kind::Empty;
    double number = 0;
    QString text; // the text of a text cell; a number as text for number cells
};

// An Excel 97 (BIFF8) workbook opened for filling: one sheet at a time is selected and its cells
// are read and written by row and column (both from 1). Records the engine does not edit are
// written back byte for byte; the string table and its index, sheet offsets, row blocks and their
// index and the sheet dimensions are rebuilt on save.
class Workbook {
public:
    // Opens a workbook file and selects sheet 1; throws WorkbookError.
    explicit Workbook(const QString& path);
    // Reads a workbook held in memory (`name` for messages); selects sheet 1.
    Workbook(const QByteArray& bytes, const QString& name);
    ~Workbook();
    Workbook(Workbook&&) noexcept;
    Workbook& operator=(Workbook&&) noexcept;

    const QString& fileName() const { return m_name; }
    int sheetCount() const { return int(m_sheetParts.size()); }
    QString sheetName(int number) const;
    // Selects a worksheet by its number (from 1); throws WorkbookError for a missing sheet or a
    // sheet that is not a worksheet.
    void selectSheet(int number);

    CellValue cell(int row, int column) const;
    // A text cell's text, a number cell's number as text, empty otherwise.
    QString text(int row, int column) const;
    // Writes a text cell (the cell keeps its format).
    void setText(int row, int column, const QString& text);
    // Writes a number cell (the cell keeps its format).
    void setNumber(int row, int column, double value);
    // Empties a cell, keeping its format.
    void clearCell(int row, int column);

    // Last row and column holding a cell (formatted blanks included); 0 for an empty sheet.
    int lastRow() const;
    int lastColumn() const;
    // Merged ranges of the selected sheet, rows and columns from 1.
    QList<CellRange> mergedRanges() const;

    // Inserts `times` copies of rows first..last (from 1) before row `at`; every row, merged
    // range and note from `at` down moves down. The copies keep formats, heights and merges.
    void insertRowCopies(int first, int last, int at, int times = 1);
    // Deletes `count` rows from `first` (from 1); what is below moves up.
    void deleteRows(int first, int count = 1);

    // The whole workbook file as it would be saved.
    QByteArray workbookStream() const;
    // Saves under a file name: written aside and put in place only when complete.
    void saveAs(const QString& path) const;

private:
    struct Part;
    void load(CompoundFile file);
    Sheet& sheet();
    const Sheet& sheet() const;
    static int toIndex(int number, const char* what);

    QString m_name;
    CompoundFile m_file;
    QString m_streamName;
    Substream m_globals;
    SharedStrings m_strings;
    std::vector<std::unique_ptr<Part>> m_parts;
    QList<int> m_sheetParts;   // per BOUNDSHEET (tab order): index into m_parts
    QList<int> m_boundSheets;  // per BOUNDSHEET: index of the record in m_globals
    int m_selected = -1;       // index into m_parts
};

}
