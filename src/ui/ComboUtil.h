#pragma once

#include <QString>

class QComboBox;

namespace velmor {

// Selects the first item exactly equal to `text` (case-sensitive). When none is equal the box's
// text is cleared and no item is selected. Pending events run afterwards.
void SelecteazaInCombo(QComboBox* combo, const QString& text);

}
