#pragma once

#include "register/ChapterRows.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace velmor {

// The derived rows and checks of chapters 2 to 7 and 10, on a household's rows in memory. Rows are
// addressed by their code; a missing row counts as zero and is not created. Computations write
// into `rows`; what to save is found by comparing with the rows as read.
namespace chapter_rules {

inline const QString Cap3Warning = QStringLiteral("Valorile introduse la CAP.3 sunt incorecte !");
inline const QString Cap3Reason = QStringLiteral("Suprafata agr.data (cod 8) nu poate fi mai mare decat cod 1+2 !");

// Chapter 2's totals: row 8 (agricultural land) adds rows 1, 2, 3, 4 and 6; row 12 (all land)
// adds row 8 and rows 9 to 11. `metres` gives the square metres of a row code.
struct Cap2Totals {
    qint64 agricultural = 0;
    qint64 total = 0;
};
Cap2Totals cap2Totals(const std::function<qint64(int code)>& metres);

// Chapter 2 after the row at `saved` (index into rows) was saved: built-up-area check (I at most
// B), A := B on that row, rows 8 and 12, checks of rows 5 and 7. Returns the warnings in order.
QStringList afterSaveCap2(ChapterRows& rows, int saved);
// Rows 8 and 12 of chapter 2 from the others, with A := B on every row first.
void totalsCap2(ChapterRows& rows);
// Chapter 2's shown columns of a row: total B + C and outside the built-up area B - I, 0 when negative.
area::HaAri totalOfCap2Row(const ChapterRow& row);
area::HaAri outsideOfCap2Row(const ChapterRow& row);

// Chapter 3 row 1 := chapter 2 row 8 column A, copied as it is.
void CalculeazaCAP3(ChapterRows& cap3, double ownedHa, double ownedAri);
// Chapter 3 rows 15, 8 and 2; a negative result is stored as zero and gives the message text.
QString VerificaCAP3(ChapterRows& cap3);

// Chapter 4 rows 21, 33 and 35.
void CalculeazaCAP4Intern(ChapterRows& rows);
// Chapter 5 row 1 := the trees of rows 2 to 11.
void CalculeazaCAP5Intern(ChapterRows& rows);
// Chapter 6 after the row at `saved` was saved: A := B on it, rows 1 and 15.
void afterSaveCap6(ChapterRows& rows, int saved);
// Rows 1 and 15 of chapter 6, with A := B on every row first.
void totalsCap6(ChapterRows& rows);
// Chapter 7 row 1 := bovines of rows 2, 3, 4, 5, 6, 8 and 10.
void CalculeazaCAP7Intern(ChapterRows& rows);
// Chapter 10 checks of a saved row: material codes (0 to 345) and years put in use (1700 to
// `currentYear`); 0 is not checked.
QStringList checkCap10(const ChapterRow& row, int currentYear);

}

}
