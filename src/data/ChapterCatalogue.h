#pragma once

#include <QString>

namespace velmor::data {

// The fixed row catalogues of chapters 2 to 11. Rows are addressed by their 1-based position;
// the row code (RAND) equals the position except in chapter 7, where positions 15, 22 and 25
// carry the codes 14.1, 20.1 and 22.1 and the following positions are shifted.

// Number of catalogue rows of a chapter (2 to 11); 0 for any other chapter.
int chapterRowCount(int chapter);

// Row code of a position; 0 for a chapter or position outside the catalogue (and for the single
// row of chapter 11, which has no code).
double chapterRowCode(int chapter, int position);

// The code as written in statements: a point as decimal separator, no trailing zeros ("14.1", "3").
QString chapterRowCodeText(int chapter, int position);

// Code multiplied by ten (chapter 7 codes have one decimal): exact for comparisons.
int chapterRowCodeTenths(int chapter, int position);

// Position of a row code within its chapter's catalogue; 0 when the code is not in it.
int chapterPositionOfCode(int chapter, double code);

// Printed row name (CATEG) of a position; empty for chapters 10 and 11 (their rows carry no name)
// and outside the catalogue.
QString chapterRowName(int chapter, int position);

}
