#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

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

// Runs `action` from the event loop once `ready` holds (polled every 10 ms). When it does not hold
// within `timeoutMs`, `giveUp` runs instead (for a modal dialog: close it, so the test fails
// rather than hangs). Used to answer modal dialogs from inside their own loop.
inline void whenReady(std::function<bool()> ready, std::function<void()> action, int timeoutMs = 5000,
                      std::function<void()> giveUp = {})
{
    auto* timer = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, action, deadline, giveUp] {
        if (ready()) {
            timer->stop();
            timer->deleteLater();
            action();
        } else if (deadline->hasExpired()) {
            timer->stop();
            timer->deleteLater();
            if (giveUp)
                giveUp();
        }
    });
    timer->start(10);
}

// Gives up on a modal window or popup that did not come as expected: fails and closes it.
inline void failAndCloseModal()
{
    ADD_FAILURE() << "the expected window did not come up in time";
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
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
