#pragma once

#include "register/HouseholdNotes.h"
#include "register/ui/EditorPage.h"

class QLabel;
class QPlainTextEdit;

namespace velmor {

struct AppContext;

// Chapter 11 (page 12): the household's notes as one multi-line text, saved when the page is left;
// read-only while the program is locked.
class NotesPage : public EditorPage {
    Q_OBJECT
public:
    NotesPage(AppContext& ctx, HouseholdEditor& editor, QWidget* parent = nullptr);

    QPlainTextEdit* Mentiuni() const { return m_text; }
    HouseholdNotes& notes() { return m_notes; }

    void IncarcaPagina() override;
    void StopCap() override;
    void editorClosed() override { StopCap(); }
    void applyUnlocked(bool unlocked) override;

private:
    AppContext& m_ctx;
    HouseholdNotes m_notes;
    QPlainTextEdit* m_text = nullptr;
    bool m_unlocked = false;
};

}
