#pragma once

#include <QList>

#include <functional>

class QEvent;
class QObject;
class QWidget;

namespace velmor {

// Enter (or the keypad's Enter) in a field of `order` moves the focus to the next field; in the
// last field it runs `atLast`. True when the key was taken. For a window's event filter.
bool moveOnEnter(QObject* watched, QEvent* event, const QList<QWidget*>& order, const std::function<void()>& atLast);

}
