#include "register/ui/NotesPage.h"

#include "register/HouseholdEditor.h"

#include "core/ErrorReport.h"
#include "services/AppContext.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace velmor {

NotesPage::NotesPage(AppContext& ctx, HouseholdEditor& editor, QWidget* parent)
    : EditorPage(editor, 12, parent)
    , m_ctx(ctx)
    , m_notes(ctx)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* title = new QLabel(QStringLiteral("11.MENTIUNI SPECIALE"), this);
    title->setObjectName(QStringLiteral("TitluCap11"));
    QFont font = title->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 2);
    title->setFont(font);
    layout->addWidget(title);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("Mentiuni"));
    m_text->setReadOnly(true);
    layout->addWidget(m_text, 1);
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        if (m_notes.isOpen())
            m_notes.setText(m_text->toPlainText());
    });
}

void NotesPage::IncarcaPagina()
{
    m_text->clear();
    if (!editor().hasCurrent())
        return;
    try {
        m_notes.open(editor().currentCodid());
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
        return;
    }
    const QString text = m_notes.text();
    m_text->setPlainText(text);
    m_notes.setText(text);
    m_text->setReadOnly(!m_unlocked);
}

void NotesPage::StopCap()
{
    m_notes.StopCap(m_unlocked);
}

void NotesPage::applyUnlocked(bool unlocked)
{
    m_unlocked = unlocked;
    m_text->setReadOnly(!unlocked);
}

}
