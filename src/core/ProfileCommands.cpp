#include "core/ProfileCommands.h"

#include "device/ProtocolResult.h"
#include "storage/Language.h"

namespace keyloom {

namespace {

// The lighting view goes off (and the switch is stored) when it is on;
// true when it was.
bool turnLightingViewOff(LightingService& lighting) {
    auto access = lighting.lock();
    if (!access->lightingView())
        return false;
    static_cast<void>(access->setLightingView(false));
    return true;
}

}  // namespace

ProfileCommands::ProfileCommands(CoreParts parts, SlotFileSync& slot,
                                 ConnectionSequence& connection, KeyCommands& keys)
    : parts_(parts),
      connection_(connection),
      switcher_(
          parts.window, parts.state.editors, parts.areas, parts.working, parts.modified,
          [&slot](WorkingStore::Access& working) { return slot.reload(working); },
          [&keys] { keys.apply(); }) {}

bool ProfileCommands::switchActiveProfile(int profile) {
    return switcher_.switchTo(profile);
}

bool ProfileCommands::profileButton(int profile) {
    if (profile < 0 || profile >= kProfileCount)
        return false;
    window::CoreWindow& window = parts_.window;
    LightingService& lighting = parts_.lighting;
    lighting->setLightingProfile(profile);
    connection_.readLightingRecords();
    lighting->reloadLightingView();
    if (parts_.data.supportsPerKeyColours())
        lighting->loadUserMode(profile, true);
    const bool viewWasOn = turnLightingViewOff(lighting);
    window.lighting.lightingChanged();
    if (viewWasOn)
        window.view.redrawKeyView();
    connection_.showReportRate();

    if (parts_.areas.activeProfile() == profile)
        return true;
    if (!switchActiveProfile(profile))
        return false;
    window.view.setProfileButtons(profile);
    parts_.state.keyToggleMode = false;
    window.view.keyToggleModeOff();
    window.view.redrawKeyView();
    return true;
}

void ProfileCommands::profileRefreshFromKeyboard() {
    ParameterBlock block;
    LightingService& lighting = parts_.lighting;
    if (parts_.areas.readParameterBlock(block) == result::Success) {
        parts_.data.setParameterBlock(block);
        const int active = block.activeProfile();
        lighting->setLightingProfile(active);
        if (turnLightingViewOff(lighting))
            parts_.window.view.redrawKeyView();
        parts_.window.lighting.lightingChanged();
        if (switchActiveProfile(active)) {
            parts_.window.view.setProfileButtons(active);
            if (block.supportsPerKeyColours()) {
                int seeded = parts_.state.connection.activeProfile.load();
                if (seeded < 0 || seeded >= kProfileCount)
                    seeded = lighting.profile();
                lighting->reseedUserModes(seeded);
            }
        }
    }
    connection_.lightingRefresh();
    profileButton(0);
}

ProfileMenu ProfileCommands::profileMenu() {
    return buildProfileMenu(parts_.state.connection.activeProfile.load(),
                            [](std::string_view key) { return lookupText(key); });
}

bool ProfileCommands::chooseProfileMenuItem(int command) {
    if (!ProfileMenu::isMenuCommand(command))
        return false;
    const int profile = ProfileMenu::profileOfCommand(command);
    const bool switched = switchActiveProfile(profile);
    // A profile switched to from elsewhere than its button becomes the
    // lighting profile, so the report-rate buttons and lighting controls
    // act on the profile the keyboard now uses.
    if (switched && profile >= 0 && profile < kProfileCount) {
        parts_.lighting->setLightingProfile(profile);
        parts_.window.lighting.lightingChanged();
        connection_.showReportRate();
    }
    return switched;
}

}  // namespace keyloom
