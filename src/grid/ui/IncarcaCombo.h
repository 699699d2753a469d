#pragma once

#include <QString>

class QComboBox;

namespace velmor::engine {
class Query;
}

namespace velmor {

class Interaction;

// The distinct-values fill of a combo box (engine::ValoriDistincte): appends those values to the
// box's items (the box is not emptied first) and selects its first item (none when it stays empty).
// `ui`, when given, lets windows repaint while the values are read.
void IncarcaCombo(QComboBox* box, engine::Query& query, const QString& table, const QString& column,
                  const QString& condition, Interaction* ui = nullptr);

}
