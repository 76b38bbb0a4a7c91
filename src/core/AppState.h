#pragma once
// Process-wide application state shared by the window thread and the device
// threads: the start-up state the discovery thread settles, the connection
// values, the main window's key-toggle mode and its open editors.

#include <atomic>

#include "core/EditorState.h"
#include "device/StartupState.h"
#include "model/ConnectionValues.h"

namespace keyloom {

struct AppState {
    // Start-hidden flag: set by "/Start", by discovery when its first scan
    // finds nothing, and by the first connection change.
    StartupState startup;
    ConnectionValues connection;
    // Clicking a key flips its toggle flag instead of opening the key editor.
    std::atomic<bool> keyToggleMode{false};
    EditorState editors;
};

}  // namespace keyloom
