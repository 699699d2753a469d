#pragma once

#include "register/ChapterGridSource.h"
#include "register/ChapterSession.h"
#include "register/ui/EditorPage.h"

#include "grid/EditableGridModel.h"

class QCheckBox;
class QLabel;

namespace velmor {

struct AppContext;
namespace grid {
class EditableGrid;
}

// A chapter page of the household register editor (chapters 2 to 10, pages 3 to 11): the title,
// the chapter's grid over the current household's rows and, on chapter 2, the square-metre switch;
// on chapter 10 the legend of the material codes. The logic is ChapterSession's.
class ChapterPage : public EditorPage {
    Q_OBJECT
public:
    ChapterPage(AppContext& ctx, HouseholdEditor& editor, int chapter, QWidget* parent = nullptr);

    int chapter() const { return m_session.chapter(); }
    ChapterSession& session() { return m_session; }
    ChapterGridSource& source() { return m_source; }
    grid::EditableGrid* Grid() const { return m_grid; }
    grid::EditableGridModel& model() { return m_model; }
    QLabel* Titlu() const { return m_title; }
    // Chapter 2 only ("Afisare suprafete in metri patrati"); null on the others.
    QCheckBox* MetriPatrati() const { return m_squareMetres; }

    void IncarcaPagina() override;
    void StopCap() override;
    void editorClosed() override { StopCap(); }
    void applyUnlocked(bool unlocked) override;

    // The square-metre switch as stored in the settings file.
    static bool squareMetresChosen(const AppContext& ctx);

private:
    void showRows();
    void squareMetresToggled(bool on);

    AppContext& m_ctx;
    ChapterSession m_session;
    ChapterGridSource m_source;
    grid::EditableGridModel m_model;
    grid::EditableGrid* m_grid = nullptr;
    QLabel* m_title = nullptr;
    QCheckBox* m_squareMetres = nullptr;
    int m_rowsShown = -1;
};

}
