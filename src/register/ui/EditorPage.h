#pragma once

#include "register/EditorPageHooks.h"

#include <QWidget>

namespace velmor {

class HouseholdEditor;

// A page of the household register editor (pages 1 to 13). The frame calls its hooks when the
// page is entered and left, when the household changes while it is shown, when the editor opens
// and closes and when the unlocked state is applied. The pages' contents subclass it and take
// their place with TForm6::setPage.
class EditorPage : public QWidget, public EditorPageHooks {
    Q_OBJECT
public:
    EditorPage(HouseholdEditor& editor, int number, QWidget* parent = nullptr);

    int number() const { return m_number; }
    // The caption of the page's button.
    QString caption() const;

protected:
    HouseholdEditor& editor() { return m_editor; }

private:
    HouseholdEditor& m_editor;
    int m_number;
};

}
