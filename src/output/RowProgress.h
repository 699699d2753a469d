#pragma once

#include "core/ProgressShown.h"

#include <optional>

namespace velmor::output {

// Progress of an export over its rows, shown through the interaction seam when there is one:
// label "Prelucrez...", maximum the row count, the position moved every `Step` rows and at the end.
class RowProgress {
public:
    static constexpr int Step = 100;

    RowProgress(Interaction* ui, int rowCount);
    // Call after each row written.
    void rowDone();
    void finish();

private:
    Interaction* m_ui;
    std::optional<ProgressShown> m_shown;
    int m_rowCount;
    int m_done = 0;
};

}
