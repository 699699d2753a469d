#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace velmor::test {

// Runs the event loop until `condition` holds or `timeoutMs` passes; returns the condition.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 3000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

// Runs `action` from the event loop once `ready` holds (polled every 10 ms, given up after 5 s).
// Used to answer modal dialogs from inside their own loop.
inline void whenReady(std::function<bool()> ready, std::function<void()> action, int timeoutMs = 5000)
{
    auto* timer = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, action, deadline] {
        if (ready()) {
            timer->stop();
            timer->deleteLater();
            action();
        } else if (deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

// Shows `widget`'s window, waits until it is active and gives `widget` the focus.
inline bool showAndFocus(QWidget* widget)
{
    QWidget* window = widget->window();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return false;
    widget->setFocus(Qt::OtherFocusReason);
    return waitUntil([widget] { return widget->hasFocus(); });
}

}
