#include "core/QueuedWindowBinding.h"

namespace keyloom {

void bindQueuedWindow(window::QueuedWindow& window, KeyloomCore& core) {
    window.setMessageHandler(
        [&core](const window::WindowMessage& msg) { core.handleWindowMessage(msg); });
    window.setTimerHandler([&core](int id) { core.handleTimer(id); });
    window.setApplyHandler([&core] { core.apply(); });
}

}  // namespace keyloom
