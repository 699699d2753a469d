#pragma once

#include <functional>

class QLineEdit;
class QMenu;
class QPoint;

namespace velmor {

// Context menu for the program's own entry fields: copying and selecting work as usual, cutting
// and pasting go through the field's own rules.
void showEditMenu(QLineEdit* edit, const QPoint& globalPos, const std::function<void()>& cut,
                  const std::function<void()>& paste);

}
