#include "register/ui/PlaceDialogs.h"

#include "register/HouseholdEditor.h"
#include "register/ui/TForm35.h"
#include "register/ui/TForm36.h"

#include "core/ErrorReport.h"
#include "services/AppContext.h"

namespace velmor {

PlaceDialogs::PlaceDialogs(AppContext& ctx, HouseholdEditor& editor, QWidget* parent)
    : m_ctx(ctx)
    , m_editor(editor)
    , m_form35(new TForm35(parent))
    , m_form36(new TForm36(parent))
{
}

PlaceDialogs::~PlaceDialogs() = default;

bool PlaceDialogs::runPlace(PlaceMode mode, Place& place)
{
    QStringList villages;
    try {
        villages = m_positions ? m_positions->villages() : QStringList();
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
    }
    const qint64 self = mode == PlaceMode::Modify ? m_editor.currentCodid() : 0;
    return m_form35->run(mode, place, villages, [this, self](PlaceMode m, Place& p) {
        try {
            return m_positions && m_positions->confirmPlace(m, p, self);
        } catch (const std::exception& error) {
            showError(*m_ctx.interaction, error);
            return false;
        }
    });
}

int PlaceDialogs::Stergere()
{
    return m_form36->Stergere();
}

}
