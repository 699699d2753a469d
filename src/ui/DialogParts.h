#pragma once

#include <QString>

class QPushButton;
class QStatusBar;
class QWidget;

namespace velmor {

// A command button of a window: Enter presses it only when it has the focus.
QPushButton* commandButton(const QString& caption, const QString& objectName, QWidget* parent,
                           const QString& hint = QString());

// The status line at the foot of a window, without a size grip, showing `text`.
QStatusBar* statusLine(QWidget* parent, const QString& text);

}
