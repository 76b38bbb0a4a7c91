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
        // Through the keyboard queue, like every transfer: after whatever
        // work was asked for before.
        bool defaultsRead = false;
        parts_.queue.runAndWait([&] {
            KeyMatrix defaults;
            defaultsRead = parts_.areas.readDefaultKeyMatrix(defaults) == result::Success;
            if (defaultsRead)
                parts_.data.setDefaultMatrix(defaults);
            ParameterBlock block;
            if (parts_.areas.readParameterBlock(block) == result::Success) {
                parts_.data.setParameterBlock(block);
                values.macroCapacity = block.macroCapacity();
            }
            // With nothing to tell first, the full read follows in the same
            // job: handing back and forth between threads costs a wake-up
            // each way, long ones while the window starts.
            if (defaultsRead)
                fullRead();
        });
        if (!defaultsRead) {
            // The previous default matrix stays; the connection goes on.
            showPrompt(parts_.window.prompts, "MAIN_DEFAULT_MATRIX_PROMPT");
            parts_.queue.runAndWait([this] { fullRead(); });
        }
        // The window redraws from what was read; both before it may open.
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
    LightingService& lighting = parts_.lighting;
    slot_.refreshFromKeyboard(false);

    const int active = areas.activeProfile();
    parts_.window.view.setProfileButtons(active);
    lighting->setLightingProfile(active);

    ParameterBlock block;
    if (areas.readParameterBlock(block) == result::Success) {
        parts_.data.setParameterBlock(block);
        // Wakes the keyboard's lighting engine: two begins, then the
        // reaction-trigger byte of the profile-settings area set to 1.
        // A failed wake-up is not told: the records read next say more.
        static_cast<void>(areas.begin());
        static_cast<void>(areas.begin());
        const std::array<std::uint8_t, 1> one{1};
        static_cast<void>(areas.writeProfileSettings(one, ProfileRecord::kReactionTrigger));
        static_cast<void>(areas.end());
        // The colour block goes out here, in the read's own order.
        if (block.supportsPerKeyColours())
            lighting->loadUserMode(lighting.profile(), parts_.sendUserModeAtRead);
        readRecords(block);
        lighting->reloadLightingView();
    }

    if (parts_.data.supportsPerKeyColours())
        lighting->markBaseGroup();
    parts_.window.lighting.lightingChanged();
    showReportRate();
}

void ConnectionSequence::readRecords(const ParameterBlock& block) {
    LightingService& lighting = parts_.lighting;
    ProfileRecords records = lighting->records();
    const DeviceResult code = parts_.areas.readProfileRecords(records);
    static_cast<void>(parts_.areas.end());
    lighting->recordsRead(block, records, code == result::Success);
}

bool ConnectionSequence::readLightingRecords() {
    KeyboardAreas& areas = parts_.areas;
    ParameterBlock block;
    if (areas.readParameterBlock(block) != result::Success)
        return false;
    parts_.data.setParameterBlock(block);
    static_cast<void>(areas.begin());
    readRecords(block);
    return true;
}

void ConnectionSequence::lightingRefresh() {
    readLightingRecords();
    parts_.lighting->reloadLightingView();
    parts_.window.lighting.lightingChanged();
    showReportRate();
}

void ConnectionSequence::showReportRate() {
    parts_.window.view.setReportRateButtons(parts_.lighting.reportRate());
}

}  // namespace keyloom
