#include "register/ui/EditorPage.h"

#include "register/HouseholdEditor.h"

namespace velmor {

EditorPage::EditorPage(HouseholdEditor& editor, int number, QWidget* parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_number(number)
{
    setObjectName(QStringLiteral("Page%1").arg(number));
    setAccessibleName(caption());
}

QString EditorPage::caption() const
{
    const QStringList captions = HouseholdEditor::pageCaptions();
    return m_number >= 0 && m_number < captions.size() ? captions[m_number] : QString();
}

}
