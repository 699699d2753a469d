#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace velmor {

// A stored value column of a chapter table: its storage (width and decimals of the dBase field)
// and what the grid lets the user type into it.
struct ChapterColumn {
    enum class Kind { Hectares, Ares, Count, Decimal, Text };

    QString field;
    Kind kind = Kind::Count;
    int width = 0;        // storage width, point included
    int decimals = 0;     // storage decimals
    int typedDigits = 0;  // digits the user may type before the point (text: characters)
    int typedDecimals = 0;
    double typedMax = 0;  // largest value the user may type
    bool editable = false;

    bool isNumeric() const { return kind != Kind::Text; }
    // True when the value can be written into the field without being cut.
    bool fits(double value) const;
};

// A column the chapter's grid shows: a stored column or one the grid computes (chapter 2's total
// and outside-built-up pairs), with its heading and the group heading above it.
struct ChapterGridColumn {
    QString field;
    QString heading;
    QString group;
    int width = 0; // characters
    bool editable = false;
    bool computed = false; // derived for display, not stored
    ChapterColumn::Kind kind = ChapterColumn::Kind::Text;
};

// The shape of one chapter (2 to 11): its table, title, value columns, the rows the program
// computes and the columns of its grid.
class ChapterLayout {
public:
    static const ChapterLayout& of(int chapter); // throws std::invalid_argument outside 2..11

    int chapter = 0;
    QString tableFile;       // "CAP2.dbf" ...
    QString title;           // the page's title
    QString nameHeading;     // heading of CATEG; empty for chapters 10 and 11
    QList<ChapterColumn> columns; // stored value columns
    QList<int> computedCodes;     // row codes x 10 of the rows the program derives
    QList<ChapterGridColumn> gridColumns;

    // Columns holding hectare/ares pairs, by their prefix ("A", "B", ... or "" for HA/ARI).
    QStringList areaPairs;

    bool hasCategory() const { return chapter != 10 && chapter != 11; }
    // The catalogue's row count.
    int rowCount() const;
    const ChapterColumn* column(const QString& field) const;
    // The column as the grid heads it ("TOTAL ha"), for messages; the field name when the grid
    // does not show it.
    QString caption(const QString& field) const;
    bool isComputedCode(int codeTenths) const { return computedCodes.contains(codeTenths); }
    // The columns copied when rows are created: ANUL, CODID, RAND, CATEG (not chapter 10), values.
    QStringList insertColumns() const;
    // The ares columns whose format follows the square-metre switch.
    bool areaChapter() const { return chapter == 2 || chapter == 3 || chapter == 4 || chapter == 6; }

    // Hectare and ares field names of a pair prefix.
    static QString haField(const QString& pair) { return pair + QStringLiteral("HA"); }
    static QString ariField(const QString& pair) { return pair + QStringLiteral("ARI"); }
};

// Names of the rows of chapter 10, shown beside its grid; and the group "Case de locuit" a) to d).
QString constructionRowName(int code);
// The house letter of chapter 10 row codes 1 to 12 ("a" .. "d"); empty for the others.
QString constructionHouse(int code);

}
