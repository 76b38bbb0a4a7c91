#pragma once
// The on-board profile commands: the profile buttons, the profile switch,
// the profile menu and the refresh after the keyboard changed its profile.

#include "core/ConnectionSequence.h"
#include "core/CoreParts.h"
#include "core/KeyCommands.h"
#include "core/ProfileSwitch.h"
#include "core/SlotFileSync.h"
#include "storage/ProfileMenu.h"

namespace keyloom {

class ProfileCommands {
public:
    ProfileCommands(CoreParts parts, SlotFileSync& slot, ConnectionSequence& connection,
                    KeyCommands& keys);

    // Profile buttons 0-2.
    bool profileButton(int profile);
    // True switched, false refused or failed.
    bool switchActiveProfile(int profile);
    // Timer 1053: the keyboard changed its profile.
    void profileRefreshFromKeyboard();
    ProfileMenu profileMenu();
    // Commands 9000-9200 of the profile menu.
    bool chooseProfileMenuItem(int command);

private:
    CoreParts parts_;
    ConnectionSequence& connection_;
    ProfileSwitcher switcher_;
};

}  // namespace keyloom
