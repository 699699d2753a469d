#pragma once

#include <QString>

class QTextStream;

namespace velmor::workbook {

class Workbook;

// "A1"-style address of a cell, row and column from 1.
QString cellAddress(int row, int column);

// Lists sheet 1 of a workbook: one line per non-empty cell, "A1<TAB>n<TAB>12" for a number or
// "B2<TAB>s<TAB>text" for a text (a backslash, tab, carriage return or line break inside a text is
// written as \\, \t, \r, \n), in row and then column order; then one line "MERGE<TAB>A11:O11" per
// merged range in the order the sheet holds them.
void listCells(const Workbook& workbook, QTextStream& out);

// The `velmor-cli xls-cells FILE` command: opens the file and lists its sheet 1; returns 0.
// Throws WorkbookError for a file that is missing, damaged or not a workbook.
int printWorkbookCells(const QString& file, QTextStream& out);

}
