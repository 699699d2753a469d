#pragma once

#include "services/OperationMarker.h"

#include <QString>

namespace velmor {

class Interaction;
namespace engine {
class Engine;
}

// The mend of an interrupted operation, the same for the start-up and `velmor-cli recover`:
// a restore is finished or rolled back from its staging folder; a take-over, a household delete
// and the village changes are put back from their archive; a chapter repair and a
// recalculation are run again. Raises Error when it cannot.
class OperationRecovery {
public:
    OperationRecovery(QString dataDirectory, Interaction& ui, engine::Engine* engine = nullptr);

    // The interrupted operation of the data directory: a marker whose holder no longer runs.
    std::optional<OperationMarker> interrupted() const;

    // The question the start-up asks: "Operatia ... nu s-a terminat." and what the mend does.
    static QString question(const OperationMarker& marker);

    // Mends it; returns "rolled-back", "completed", "rerun" or "none".
    QString mend(const OperationMarker& marker);

private:
    QString m_dataDir;
    Interaction& m_ui;
    engine::Engine* m_engine;
};

}
