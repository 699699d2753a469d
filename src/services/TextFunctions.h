#pragma once

#include <QString>

namespace velmor {

// Removes blanks and control characters (everything up to the space) at both ends.
QString Trim(const QString& text);

// Joins parenthesised conditions written side by side: trims the text and inserts " AND "
// between every adjacent ")" and "(". "(A)(B)(C)" becomes "(A) AND (B) AND (C)".
QString PuneAnd(const QString& text);

// Trims the text and reduces every run of blanks to a single blank.
QString Curata(const QString& text);

}
