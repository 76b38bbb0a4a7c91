#include "core/ConnectionSequence.h"

#include <array>

#include "core/Prompts.h"
#include "device/ProtocolResult.h"

namespace keyloom {

void ConnectionSequence::connectionChanged(int connected) {
    ConnectionValues& values = parts_.state.connection;
    connected = connected ? 1 : 0;
    values.busy = true;
    if (connected == values.state.load()) {
        values.busy = false;
        return;
    }

    if (connected == 0) {
        values.activeProfile = ConnectionValues::kUnknownProfile;
        // The window closes its editors before it hides.
        parts_.window.dispatch.sendMessage(window::kDeviceGoneMessage);
        parts_.window.dispatch.hideWindow();
    } else {
        KeyMatrix defaults;
        if (parts_.areas.readDefaultKeyMatrix(defaults) == result::Success) {
            parts_.data.setDefaultMatrix(defaults);
        } else {
            // The previous default matrix stays; the connection goes on.
            showPrompt(parts_.window.prompts, "MAIN_DEFAULT_MATRIX_PROMPT");
        }
        ParameterBlock block;
        if (parts_.areas.readParameterBlock(block) == result::Success) {
            parts_.data.setParameterBlock(block);
            values.macroCapacity = block.macroCapacity();
        }
        // Runs the full read on the window thread before it returns.
        parts_.window.dispatch.sendMessage(window::kReadProfileMessage);
    }

    parts_.tray.set(window::TrayStatus::Mode::Status,
                    connected ? window::icon::kConnected : window::icon::kDisconnected);
    values.state = connected;
    // Only the first change after a normal start may open the window.
    if (!parts_.state.startup.startHidden.exchange(true) && connected)
        parts_.window.dispatch.postMessage(window::kOpenMessage);
    values.busy = false;
}

void ConnectionSequence::fullRead() {
    KeyboardAreas& areas = parts_.areas;
    KeyboardData& data = parts_.data;
    slot_.refreshFromKeyboard(false);

    const int active = areas.activeProfile();
    parts_.window.view.setProfileButtons(active);
    data.setLightingProfile(active);

    ParameterBlock block;
    if (areas.readParameterBlock(block) == result::Success) {
        data.setParameterBlock(block);
        // Wakes the keyboard's lighting engine: two begins, then the
        // reaction-trigger byte of the profile-settings area set to 1.
        // A failed wake-up is not told: the records read next say more.
        static_cast<void>(areas.begin());
        static_cast<void>(areas.begin());
        const std::array<std::uint8_t, 1> one{1};
        static_cast<void>(areas.writeProfileSettings(one, ProfileRecord::kReactionTrigger));
        static_cast<void>(areas.end());
        if (block.supportsPerKeyColours())
            parts_.window.lighting.loadUserModes(data.lightingProfile(), true);

        ProfileRecords records = data.profileRecords();
        const DeviceResult code = areas.readProfileRecords(records);
        static_cast<void>(areas.end());
        data.setProfileRecords(records);
        if (code == result::Success)
            data.decodeLightingProfile();
        parts_.window.lighting.reloadLightingViewSwitch();
    }

    parts_.window.lighting.rebuildLightingPanel();
    if (data.supportsPerKeyColours())
        parts_.window.lighting.markKeyColourMarks();
    showReportRate();
}

bool ConnectionSequence::readLightingRecords() {
    KeyboardAreas& areas = parts_.areas;
    KeyboardData& data = parts_.data;
    ParameterBlock block;
    if (areas.readParameterBlock(block) != result::Success)
        return false;
    data.setParameterBlock(block);
    ProfileRecords records = data.profileRecords();
    static_cast<void>(areas.begin());
    const DeviceResult code = areas.readProfileRecords(records);
    static_cast<void>(areas.end());
    data.setProfileRecords(records);
    if (code == result::Success)
        data.decodeLightingProfile();
    return true;
}

void ConnectionSequence::lightingRefresh() {
    readLightingRecords();
    parts_.window.lighting.reloadLightingViewSwitch();
    parts_.window.lighting.rebuildLightingPanel();
    showReportRate();
}

void ConnectionSequence::showReportRate() {
    parts_.window.view.setReportRateButtons(parts_.data.lightingState().reportRate);
}

}  // namespace keyloom
