// The on-board profile commands: the profile buttons, the profile switch,
// the profile menu and the refresh after the keyboard changed its profile.

#include "core/KeyloomCore.h"
#include "device/ProtocolResult.h"
#include "storage/Language.h"

namespace keyloom {

bool KeyloomCore::switchActiveProfile(int profile) {
    return switcher_.switchTo(profile);
}

bool KeyloomCore::profileButton(int profile) {
    if (profile < 0 || profile >= kProfileCount)
        return false;
    setLightingProfile(profile);
    readLightingRecords();
    port_.reloadLightingViewSwitch();
    if (supportsPerKeyColours())
        port_.loadUserModes(profile, true);
    port_.rebuildLightingPanel();
    port_.lightingViewOff();

    if (areas_.activeProfile() == profile)
        return true;
    if (!switchActiveProfile(profile))
        return false;
    port_.setProfileButtons(profile);
    state_.keyToggleMode = false;
    port_.keyToggleModeOff();
    port_.redrawKeyView();
    return true;
}

void KeyloomCore::profileRefreshFromKeyboard() {
    ParameterBlock block;
    if (areas_.readParameterBlock(block) == result::Success) {
        {
            std::lock_guard lock(dataMutex_);
            parameters_ = block;
        }
        const int active = block.activeProfile();
        setLightingProfile(active);
        port_.lightingViewOff();
        if (switchActiveProfile(active)) {
            port_.setProfileButtons(active);
            if (block.supportsPerKeyColours())
                port_.reseedUserModes();
        }
    }
    lightingRefresh();
    profileButton(0);
}

ProfileMenu KeyloomCore::profileMenu() {
    return buildProfileMenu(slotFile(), state_.connection.activeProfile.load(),
                            [](std::string_view key) { return lookupText(key); });
}

bool KeyloomCore::chooseProfileMenuItem(int command) {
    if (!ProfileMenu::isMenuCommand(command))
        return false;
    return switchActiveProfile(ProfileMenu::profileOfCommand(command));
}

}  // namespace keyloom
