#pragma once
// Application start-up state shared with the discovery thread.

#include <atomic>

namespace keyloom {

struct StartupState {
    // Set: the main window is never shown automatically. Set by a hidden
    // start and by discovery when its first scan finds no keyboard.
    std::atomic<bool> startHidden{false};
};

}  // namespace keyloom
