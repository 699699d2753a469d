#include "register/ui/ChapterPages.h"

#include "register/ui/ChapterPage.h"
#include "register/ui/NotesPage.h"
#include "register/ui/TForm6.h"

namespace velmor {

void installChapterPages(TForm6& form, AppContext& ctx)
{
    for (int chapter = 2; chapter <= 10; ++chapter)
        form.setPage(chapter + 1, new ChapterPage(ctx, form.logic(), chapter));
    form.setPage(12, new NotesPage(ctx, form.logic()));
}

}
