#pragma once

#include "register/HouseholdMembers.h"
#include "register/ui/EditorPage.h"

class QLabel;
class QPushButton;

namespace velmor {

struct AppContext;
class TForm32;
namespace grid {
class StandardGrid;
}

// Page 2 of the household register editor, "1. Componenta gospodariei": the members of the
// current household, the chosen member's notes and the three member buttons with the member
// dialog TForm32.
class MembersPage : public EditorPage, private MemberDialogs {
    Q_OBJECT
public:
    MembersPage(AppContext& ctx, HouseholdEditor& editor, QWidget* parent = nullptr);
    ~MembersPage() override;

    HouseholdMembers& logic() { return m_logic; }
    TForm32* Form32() const { return m_form32; }

    void IncarcaPagina() override;
    void StopCap() override;
    void editorOpened(const QString& year) override;
    void editorClosed() override;
    void applyUnlocked(bool unlocked) override;

    grid::StandardGrid* Grid() const { return m_grid; }
    QLabel* Mentiuni() const { return m_notes; }
    QPushButton* Adauga() const { return m_add; }
    QPushButton* Modifica() const { return m_modify; }
    QPushButton* Sterge() const { return m_delete; }

public slots:
    void AdaugaClick();
    void ModificaClick();
    void StergeClick();

private:
    bool Adaugare(MemberEntry& entry) override;
    bool Modificare(MemberEntry& entry) override;
    bool check(MemberEntry& entry, qint64 self);
    void showMembers();
    void showNotes();
    void afterChange(bool changed);

    AppContext& m_ctx;
    HouseholdMembers m_logic;
    TForm32* m_form32 = nullptr;
    grid::StandardGrid* m_grid = nullptr;
    QLabel* m_notes = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_modify = nullptr;
    QPushButton* m_delete = nullptr;
    bool m_syncing = false;
};

}
