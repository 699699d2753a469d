#pragma once

#include "core/Interaction.h"

#include <algorithm>

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

// The steps of a progress window shown by the caller; without one (`ui` null) nothing happens.
// Each step lets the window repaint.
class ProgressSteps {
public:
    explicit ProgressSteps(Interaction* ui)
        : m_ui(ui)
    {
    }

    // A new stage: its label (when given), its maximum (at least 1) and position 0.
    void stage(const QString& label, int maximum)
    {
        if (!m_ui)
            return;
        if (!label.isEmpty())
            m_ui->setProgressLabel(label);
        maximumOf(std::max(1, maximum)); // never a window over zero items
        step(0);
    }
    void maximumOf(int maximum)
    {
        if (m_ui)
            m_ui->setProgressMaximum(maximum);
    }
    void step(int position)
    {
        if (m_ui) {
            m_ui->setProgressPosition(position);
            m_ui->processEvents();
        }
    }

private:
    Interaction* m_ui;
};

}
