#pragma once
// Wires a headless window to a core as the Qt window wires itself: its
// messages and timers go to the core's handlers. For keyloomctl and the tests.

#include "core/KeyloomCore.h"
#include "core/window/HeadlessWindow.h"

namespace keyloom {

inline void bindHeadlessWindow(window::HeadlessWindow& window, KeyloomCore& core) {
    window.setMessageHandler(
        [&core](const window::WindowMessage& msg) { core.handleWindowMessage(msg); });
    window.setTimerHandler([&core](int id) { core.handleTimer(id); });
}

}  // namespace keyloom
