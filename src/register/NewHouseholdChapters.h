#pragma once

#include <QString>

namespace velmor {

struct AppContext;

// Creates the chapter rows of a household that has none: every catalogue row of chapters 2 to 10
// with zero values (row code and printed row name; chapter 10 without a name) and the one empty
// notes row of chapter 11. Chapters that already hold rows of the household are left alone.
void createChapterRows(AppContext& ctx, const QString& year, qint64 codid);

}
