#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace velmor::test {

// How long a window test waits for a window to come up, or to go after it was answered. Only a
// hang reaches it, so it is generous for a loaded machine.
inline constexpr int windowWaitMs = 30000;

// Runs the event loop until `condition` holds or `timeoutMs` passes; returns the condition.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = windowWaitMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

// Ends a modal window or closes a popup, whatever it is.
inline void closeWindow(QWidget* window)
{
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->done(QDialog::Rejected);
    else
        window->close();
}

// Closes every popup and every visible modal window, innermost first; returns how many it closed.
inline int closeModalsAndPopups()
{
    int closed = 0;
    for (int guard = 0; guard < 100; ++guard) {
        QWidget* window = QApplication::activePopupWidget();
        if (!window)
            window = QApplication::activeModalWidget();
        if (!window) {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->isVisible() && top->isModal()) {
                    window = top;
                    break;
                }
            }
        }
        if (!window)
            break;
        closeWindow(window);
        if (window->isVisible())
            window->hide();
        ++closed;
    }
    return closed;
}

// Gives up on a modal window or popup that did not come as expected: fails and closes it.
inline void failAndCloseModal()
{
    ADD_FAILURE() << "the expected window did not come up in time";
    closeModalsAndPopups();
}

// Owner of the timers of pending answers; the test's end deletes them, so no answer of one test
// can run inside the next one over objects that are gone.
inline QObject& pendingAnswers()
{
    static QObject* owner = new QObject;
    return *owner;
}

// Called at the end of every window test: a pending answer that gives up when its window does not
// come is a window that never came.
inline void endPendingAnswers()
{
    const auto timers = pendingAnswers().findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    for (QTimer* timer : timers) {
        if (timer->property("failsWhenMissed").toBool())
            ADD_FAILURE() << "the test ended before the window it expected came up";
        delete timer;
    }
}

// Runs `answer` from the event loop once `ready` holds (polled every 10 ms); used to answer modal
// windows from inside their own loop. It then watches the window that was up when it answered:
// still open `timeoutMs` later, that window is closed and the test fails. When `ready` does not
// hold within `timeoutMs`, `giveUp` runs instead (for a modal window: fail and close it).
inline void whenReady(std::function<bool()> ready, std::function<void()> answer, int timeoutMs,
                      std::function<void()> giveUp = {})
{
    auto* poll = new QTimer(&pendingAnswers());
    poll->setProperty("failsWhenMissed", bool(giveUp));
    auto deadline = std::make_shared<QDeadlineTimer>(timeoutMs);
    QObject::connect(poll, &QTimer::timeout, [poll, ready, answer, deadline, giveUp, timeoutMs] {
        if (!ready()) {
            if (deadline->hasExpired()) {
                poll->deleteLater();
                poll->stop();
                poll->setProperty("failsWhenMissed", false);
                if (giveUp)
                    giveUp();
            }
            return;
        }
        poll->stop();
        poll->setProperty("failsWhenMissed", false);
        poll->deleteLater();
        QWidget* up = QApplication::activePopupWidget();
        if (!up)
            up = QApplication::activeModalWidget();
        if (up) {
            // A separate timer, so it fires even while the answer runs a nested loop of its own.
            auto* watch = new QTimer(&pendingAnswers());
            auto closeBy = std::make_shared<QDeadlineTimer>(timeoutMs);
            QPointer<QWidget> window(up);
            QObject::connect(watch, &QTimer::timeout, [watch, window, closeBy] {
                if (!window || !window->isVisible()) {
                    watch->stop();
                    watch->deleteLater();
                } else if (closeBy->hasExpired()) {
                    watch->stop();
                    watch->deleteLater();
                    ADD_FAILURE() << "the window answered is still open: " << window->metaObject()->className()
                                  << " \"" << window->windowTitle().toStdString() << "\"";
                    closeWindow(window);
                }
            });
            watch->start(50);
        }
        answer();
    });
    poll->start(10);
}

// The same, waiting the usual time for the window.
inline void whenReady(std::function<bool()> ready, std::function<void()> answer, std::function<void()> giveUp)
{
    whenReady(std::move(ready), std::move(answer), windowWaitMs, std::move(giveUp));
}

// True when `window` is the active modal window and has the keyboard: typing reaches it.
inline bool isActiveModal(const QWidget* window)
{
    return QApplication::activeModalWidget() == window && window->isVisible() && window->isActiveWindow();
}

// The active modal window when it is a T that has the keyboard, else null.
template <typename T>
T* activeModalOf()
{
    auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
    return window && window->isActiveWindow() ? window : nullptr;
}

// Answers a file dialog with `path` (a file, or a folder in folder mode) and accepts it. The name
// box is written directly: selectFile() leaves it alone while it has the focus. False when the
// dialog has no name box.
inline bool answerFileDialog(QFileDialog* dialog, const QString& path)
{
    const QFileInfo info(path);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!name)
        return false;
    if (dialog->fileMode() == QFileDialog::Directory) {
        dialog->setDirectory(info.absoluteFilePath());
        name->clear();
    } else {
        dialog->setDirectory(info.absolutePath());
        name->setText(info.fileName());
    }
    static_cast<QDialog*>(dialog)->accept();
    return true;
}

// Shows `widget`'s window, waits until it is active and gives `widget` the focus.
inline bool showAndFocus(QWidget* widget)
{
    QWidget* window = widget->window();
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window, windowWaitMs))
        return false;
    widget->setFocus(Qt::OtherFocusReason);
    return waitUntil([widget] { return widget->hasFocus(); }, windowWaitMs);
}

}
