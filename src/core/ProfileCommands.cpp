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
    window_.lighting.reloadLightingViewSwitch();
    if (supportsPerKeyColours())
        window_.lighting.loadUserModes(profile, true);
    window_.lighting.rebuildLightingPanel();
    window_.lighting.lightingViewOff();

    if (areas_.activeProfile() == profile)
        return true;
    if (!switchActiveProfile(profile))
        return false;
    window_.view.setProfileButtons(profile);
    state_.keyToggleMode = false;
    window_.view.keyToggleModeOff();
    window_.view.redrawKeyView();
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
        window_.lighting.lightingViewOff();
        if (switchActiveProfile(active)) {
            window_.view.setProfileButtons(active);
            if (block.supportsPerKeyColours())
                window_.lighting.reseedUserModes();
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
