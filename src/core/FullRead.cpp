// Reading the keyboard into the window: the full read after a connection,
// the refresh of the working store, and the lighting records.

#include <array>

#include "core/KeyloomCore.h"
#include "device/ProtocolResult.h"

namespace keyloom {

namespace {

constexpr std::uint16_t kReactionTriggerOffset = ProfileRecord::kReactionTrigger;

}  // namespace

void KeyloomCore::fullRead() {
    refreshFromKeyboard();

    const int active = areas_.activeProfile();
    window_.view.setProfileButtons(active);
    setLightingProfile(active);

    ParameterBlock block;
    if (areas_.readParameterBlock(block) == result::Success) {
        {
            std::lock_guard lock(dataMutex_);
            parameters_ = block;
        }
        // Wakes the keyboard's lighting engine: two begins, then the
        // reaction-trigger byte of the profile-settings area set to 1.
        areas_.begin();
        areas_.begin();
        const std::array<std::uint8_t, 1> one{1};
        areas_.writeProfileSettings(one, kReactionTriggerOffset);
        areas_.end();
        if (block.supportsPerKeyColours())
            window_.lighting.loadUserModes(lightingProfile(), true);

        ProfileRecords records = profileRecords();
        const int code = areas_.readProfileRecords(records);
        areas_.end();
        {
            std::lock_guard lock(dataMutex_);
            records_ = records;
        }
        if (code == result::Success)
            decodeLightingProfile();
        window_.lighting.reloadLightingViewSwitch();
    }

    window_.lighting.rebuildLightingPanel();
    if (supportsPerKeyColours())
        window_.lighting.markKeyColourMarks();
}

bool KeyloomCore::readLightingRecords() {
    ParameterBlock block;
    if (areas_.readParameterBlock(block) != result::Success)
        return false;
    {
        std::lock_guard lock(dataMutex_);
        parameters_ = block;
    }
    ProfileRecords records = profileRecords();
    areas_.begin();
    const int code = areas_.readProfileRecords(records);
    areas_.end();
    {
        std::lock_guard lock(dataMutex_);
        records_ = records;
    }
    if (code == result::Success)
        decodeLightingProfile();
    return true;
}

void KeyloomCore::lightingRefresh() {
    readLightingRecords();
    window_.lighting.reloadLightingViewSwitch();
    window_.lighting.rebuildLightingPanel();
}

}  // namespace keyloom
