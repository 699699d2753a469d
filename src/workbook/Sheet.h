#pragma once

#include "workbook/BiffRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <map>

namespace velmor::workbook {

class SharedStrings;

// A rectangle of cells, 0-based, both ends included.
struct CellRange {
    int firstRow = 0;
    int lastRow = 0;
    int firstColumn = 0;
    int lastColumn = 0;
    bool operator==(const CellRange&) const = default;
};

// One cell of the cell table.
struct Cell {
    enum class Kind { Blank, Number, Rk, Text, Other };
    Kind kind = Kind::Blank;
    quint16 xf = 15;
    double number = 0;  // Number and Rk (decoded)
    quint32 rk = 0;     // Rk as stored
    quint32 sst = 0;    // Text: index into the shared strings
    // Other: the cell's record as read (FORMULA, BOOLERR, LABEL, RSTRING) with the records that
    // belong to it (STRING, ARRAY, SHRFMLA, TABLE); its row is rewritten when it moves.
    QList<Record> raw;
};

// A worksheet: the records before the cell table (with INDEX and DIMENSIONS), the cell table as
// rows and cells, and the records after it (with the merged ranges and cell notes).
class Sheet {
public:
    // Reads a worksheet substream; throws WorkbookError when its cell table is damaged.
    explicit Sheet(const Substream& part);

    // nullptr when the cell is not in the table; row and column 0-based.
    const Cell* cell(int row, int column) const;
    // The text a cell shows: its text, or its number; empty for blanks and formulas.
    QString displayText(int row, int column, const SharedStrings& strings) const;
    void setText(int row, int column, quint32 sstIndex);
    void setNumber(int row, int column, double value);
    // Makes the cell a blank one, keeping its format.
    void clear(int row, int column);

    // One past the last row and column holding a cell (blank formatted cells count); 0 when empty.
    int rowEnd() const;
    int columnEnd() const;
    // Visits every cell in row, then column order.
    template <typename F>
    void forEachCell(F&& visit) const
    {
        for (const auto& [r, row] : m_rows) {
            for (const auto& [c, cell] : row.cells)
                visit(r, c, cell);
        }
    }

    const QList<CellRange>& mergedRanges() const { return m_merges; }

    // Inserts `times` copies of rows first..last before row `at`; rows, merged ranges and notes
    // from `at` down move down. Copies keep the cells, formats, heights and merged ranges of the
    // source rows.
    void insertRowCopies(int first, int last, int at, int times);
    // Removes `count` rows from `first`; what is below moves up.
    void deleteRows(int first, int count);

    // Cells referring to the shared strings.
    quint32 sharedStringRefs() const;

    // The substream with INDEX, DBCELL and DIMENSIONS rebuilt, for a sheet starting at
    // `streamOffset` in the workbook stream.
    QByteArray serialize(qsizetype streamOffset) const;

private:
    struct Row {
        QByteArray record; // ROW body (16 bytes), empty when the file had none
        std::map<int, Cell> cells;
    };

    void readCellRecord(const Record& record);
    Cell& cellAt(int row, int column);
    void checkRow(int row) const;

    QList<Record> m_head;   // BOF .. last record before the cell table
    int m_indexAt = -1;     // INDEX in m_head, or -1
    int m_dimensionsAt = -1;
    std::map<int, Row> m_rows;
    QList<Record> m_tail;   // after the cell table, merged ranges taken out
    int m_mergesAt = -1;    // where the merged ranges go in m_tail
    QList<CellRange> m_merges;
    Cell* m_lastFormula = nullptr;
};

}
