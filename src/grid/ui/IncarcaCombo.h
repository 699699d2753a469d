#pragma once

#include <QString>

class QComboBox;

namespace velmor::engine {
class Query;
}

namespace velmor {

// The distinct-values fill of a combo box (engine::ValoriDistincte): appends those values to the
// box's items (the box is not emptied first) and selects its first item (none when it stays empty).
void IncarcaCombo(QComboBox* box, engine::Query& query, const QString& table, const QString& column,
                  const QString& condition);

}
