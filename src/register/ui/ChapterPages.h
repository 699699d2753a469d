#pragma once

namespace velmor {

struct AppContext;
class TForm6;

// Puts the chapter pages (chapters 2 to 11, pages 3 to 12) into the editor.
void installChapterPages(TForm6& form, AppContext& ctx);

}
