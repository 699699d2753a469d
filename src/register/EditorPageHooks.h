#pragma once

#include <QString>

namespace velmor {

// What a page of the household register editor does when the editor's frame enters or leaves it,
// or changes the current household while it is shown. Pages 1 to 13 implement what they need;
// every hook does nothing by default.
class EditorPageHooks {
public:
    virtual ~EditorPageHooks() = default;

    // Loads the page for the current household: when the page's button is pressed, and (pages 2 to
    // 13) after the navigator moved to another household.
    virtual void IncarcaPagina() {}
    // Saves and closes what the page has open: when another page is chosen, when the editor
    // closes, and (pages 2 to 13) before the navigator moves to another household.
    virtual void StopCap() {}
    // The editor opens for the working year (prepare queries that depend on the year).
    virtual void editorOpened(const QString& year) { Q_UNUSED(year); }
    // The editor closed: close every query and table the page opened and clear their statements.
    virtual void editorClosed() {}
    // The unlocked state, applied each time the editor is shown: what may change on the page.
    virtual void applyUnlocked(bool unlocked) { Q_UNUSED(unlocked); }
};

}
