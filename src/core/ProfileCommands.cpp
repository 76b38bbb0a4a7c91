#include "core/ProfileCommands.h"

#include "device/ProtocolResult.h"
#include "storage/Language.h"

namespace keyloom {

ProfileCommands::ProfileCommands(CoreParts parts, SlotFileSync& slot,
                                 ConnectionSequence& connection, KeyCommands& keys)
    : parts_(parts),
      connection_(connection),
      switcher_(
          parts.window, parts.areas, parts.working, parts.modified,
          [&slot](WorkingStore::Access& working) { return slot.reload(working); },
          [&keys] { keys.apply(); }) {}

bool ProfileCommands::switchActiveProfile(int profile) {
    return switcher_.switchTo(profile);
}

bool ProfileCommands::profileButton(int profile) {
    if (profile < 0 || profile >= kProfileCount)
        return false;
    window::CoreWindow& window = parts_.window;
    parts_.data.setLightingProfile(profile);
    connection_.readLightingRecords();
    window.lighting.reloadLightingViewSwitch();
    if (parts_.data.supportsPerKeyColours())
        window.lighting.loadUserModes(profile, true);
    window.lighting.rebuildLightingPanel();
    window.lighting.lightingViewOff();
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
    if (parts_.areas.readParameterBlock(block) == result::Success) {
        parts_.data.setParameterBlock(block);
        const int active = block.activeProfile();
        parts_.data.setLightingProfile(active);
        parts_.window.lighting.lightingViewOff();
        if (switchActiveProfile(active)) {
            parts_.window.view.setProfileButtons(active);
            if (block.supportsPerKeyColours())
                parts_.window.lighting.reseedUserModes();
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
        parts_.data.setLightingProfile(profile);
        parts_.data.decodeLightingProfile();
        parts_.window.lighting.rebuildLightingPanel();
        connection_.showReportRate();
    }
    return switched;
}

}  // namespace keyloom
