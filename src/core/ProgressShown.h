#pragma once

#include "core/Interaction.h"

namespace velmor {

// Shows the progress window with a label for as long as it lives (or until hide()), however
// the operation ends.
class ProgressShown {
public:
    ProgressShown(Interaction& ui, const QString& label)
        : m_ui(ui)
    {
        m_ui.setProgressLabel(label);
        m_ui.setProgressPosition(0);
        m_ui.Arata();
    }
    ~ProgressShown() { hide(); }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

    void hide()
    {
        if (m_shown) {
            m_shown = false;
            m_ui.Distruge();
        }
    }

private:
    Interaction& m_ui;
    bool m_shown = true;
};

}
