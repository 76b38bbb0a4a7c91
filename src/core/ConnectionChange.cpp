// The connection change, run by the discovery thread each time the keyboard
// comes or goes.

#include "core/KeyloomCore.h"
#include "core/Prompts.h"
#include "device/ProtocolResult.h"

namespace keyloom {

void KeyloomCore::connectionChanged(int connected) {
    ConnectionValues& values = state_.connection;
    connected = connected ? 1 : 0;
    values.busy = true;
    if (connected == values.state.load()) {
        values.busy = false;
        return;
    }

    if (connected == 0) {
        values.activeProfile = ConnectionValues::kUnknownProfile;
        // The window closes its editors before it hides.
        window_.dispatch.sendMessage(window::kDeviceGoneMessage);
        window_.dispatch.hideWindow();
    } else {
        KeyMatrix defaults;
        if (areas_.readDefaultKeyMatrix(defaults) == result::Success) {
            std::lock_guard lock(dataMutex_);
            defaultMatrix_ = defaults;
        } else {
            // The previous default matrix stays; the connection goes on.
            showPrompt(window_.prompts, "MAIN_DEFAULT_MATRIX_PROMPT");
        }
        ParameterBlock block;
        if (areas_.readParameterBlock(block) == result::Success) {
            std::lock_guard lock(dataMutex_);
            parameters_ = block;
            values.macroCapacity = block.macroCapacity();
        }
        // Runs the full read on the window thread before it returns.
        window_.dispatch.sendMessage(window::kReadProfileMessage);
    }

    tray_.set(window::TrayStatus::Mode::Status,
              connected ? window::icon::kConnected : window::icon::kDisconnected);
    values.state = connected;
    // Only the first change after a normal start may open the window.
    if (!state_.startup.startHidden.exchange(true) && connected)
        window_.dispatch.postMessage(window::kOpenMessage);
    values.busy = false;
}

}  // namespace keyloom
