#pragma once
// Wires a QueuedWindow to a core as the Qt window wires itself: its messages
// and timers go to the core's handlers and its Apply command to the core's
// Apply. For keyloomctl and the tests.

#include "core/KeyloomCore.h"
#include "platform/window/QueuedWindow.h"

namespace keyloom {

void bindQueuedWindow(window::QueuedWindow& window, KeyloomCore& core);

}  // namespace keyloom
