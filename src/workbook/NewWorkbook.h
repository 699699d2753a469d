#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <variant>

namespace velmor::workbook {

// The look of a group of cells in a new workbook.
struct CellStyle {
    int font = 0;            // index into WorkbookDesign::fonts
    bool border = false;     // thin lines on all four sides
    enum class Align { General, Left, Center, Right } align = Align::General;
    bool middle = false;     // vertically centred (else bottom)
    bool wrap = false;
    int numberFormat = 0;    // a built-in number format (0 General, 2 "0.00")
};

struct FontStyle {
    int points = 10;
    bool bold = false;
    QString name = QStringLiteral("Arial");
};

// A new one-sheet workbook described cell by cell; rows and columns from 1.
struct WorkbookDesign {
    struct CellItem {
        int row = 1;
        int column = 1;
        std::variant<std::monostate, QString, double> value; // monostate: a formatted blank
        int style = -1; // index into styles; -1 for the default format
    };
    struct Merge {
        int firstRow, lastRow, firstColumn, lastColumn;
    };
    QString sheetName = QStringLiteral("Sheet1");
    QList<FontStyle> fonts {FontStyle{}};
    QList<CellStyle> styles;
    QList<QPair<int, double>> columnWidths; // column, width in characters
    QList<QPair<int, double>> rowHeights;   // row, height in points
    QList<CellItem> cells;
    QList<Merge> merges;
    int emptySheets = 0; // further empty sheets after sheet 1
};

// The bytes of an Excel 97 file holding the design. Throws WorkbookError for a design that cannot
// be written (a cell outside the sheet, an unknown style).
QByteArray writeNewWorkbook(const WorkbookDesign& design);

}
