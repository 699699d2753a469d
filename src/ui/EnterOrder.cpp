#include "ui/EnterOrder.h"

#include <QKeyEvent>
#include <QWidget>

namespace velmor {

bool moveOnEnter(QObject* watched, QEvent* event, const QList<QWidget*>& order, const std::function<void()>& atLast)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    const qsizetype index = order.indexOf(qobject_cast<QWidget*>(watched));
    if (index < 0)
        return false;
    if (index + 1 == order.size()) {
        if (atLast)
            atLast();
        return true;
    }
    order[index + 1]->setFocus(Qt::TabFocusReason);
    return true;
}

}
