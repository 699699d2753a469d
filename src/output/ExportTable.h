#pragma once

#include "data/dbf/DbfValue.h"

#include <QDate>
#include <QList>
#include <QString>

#include <vector>

namespace velmor::output {

struct ExportColumn {
    enum class Kind { Text, Integer, Real, Date };

    QString heading;
    Kind kind = Kind::Text;
    int decimals = 0; // Real: digits after the point, always written
    int width = 10;   // in characters

    bool isNumeric() const { return kind == Kind::Integer || kind == Kind::Real; }
};

// What an export writes, whatever the format: a title line, the column headings, the rows, a footer
// line and the line with the export date ("Creat la dd.MM.yyyy"). An empty title or footer writes
// no line. Each row holds one value per column: null, integer, real, text, date or boolean; a
// value is written by its own kind (a number in a text column is still a number).
struct ExportTable {
    QString title;
    QString footer;
    QDate exportDate = QDate::currentDate();
    QList<ExportColumn> columns;
    std::vector<std::vector<dbf::Value>> rows;

    QString exportDateLine() const;
};

// A value as text formats write it: null empty, reals with the column's decimals, dates dd.MM.yyyy,
// booleans True/False.
QString cellText(const dbf::Value& value, const ExportColumn& column);

// The table with a first column "Nr." numbering the rows from 1.
ExportTable withRowNumbers(const ExportTable& table);

}
