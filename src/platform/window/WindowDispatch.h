#pragma once
// How any thread reaches the main window: messages sent (wait until the
// window thread has handled them) or posted (don't wait), one-shot window
// timers, the tray icon's picture and hiding the window. The Qt main window's
// port implements it; QueuedWindow implements it with the standard library
// for the command-line tool and the tests.
//
// Every member may be called from any thread.

#include <chrono>

#include "platform/window/WindowMessages.h"

namespace keyloom::window {

class WindowDispatch {
public:
    virtual ~WindowDispatch() = default;

    // Runs the window's handler of `msg` on the window thread and returns when
    // it is done; called on the window thread it runs the handler directly.
    virtual void sendMessage(const WindowMessage& msg) = 0;
    // Queues `msg` for the window thread and returns at once.
    virtual void postMessage(const WindowMessage& msg) = 0;
    // One-shot timer: fires once on the window thread after `delay`. A timer
    // already pending with the same id is replaced, so a burst gives one run.
    virtual void startTimer(int id, std::chrono::milliseconds delay) = 0;
    // Cancels a pending timer with this id (no-op when none is pending).
    virtual void killTimer(int id) = 0;
    // Replaces the picture of the tray icon (128, 141, 142). The remembered
    // status icon logic is TrayStatus's, not the window's.
    virtual void showTrayIcon(int iconId) = 0;
    // Hides the main window (it stays in the tray).
    virtual void hideWindow() = 0;
    // Shutdown: the window thread handles no more messages. Sends waiting
    // now and later return without running, so threads blocked in a send can
    // be joined; posts and timers are dropped.
    virtual void stopMessages() = 0;
};

}  // namespace keyloom::window
