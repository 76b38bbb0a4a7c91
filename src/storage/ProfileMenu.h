#pragma once
// The profile menu as a model, without any widget: its items, which one
// carries the check mark, and the profile label and tooltip the main window
// shows from it. The window builds its popup from this after every change.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace keyloom {

struct ProfileMenuItem {
    int command = 0;  // 0 for the separator
    std::string text;
    bool checked = false;

    bool separator() const { return command == 0; }
};

struct ProfileMenu {
    static constexpr int kDefaultCommand = 9000;
    static constexpr int kFirstProfileCommand = 9001;
    static constexpr int kLastCommand = 9200;

    // The default item, a separator, one item per on-board profile 0-2.
    std::vector<ProfileMenuItem> items;
    std::string label;    // the checked item's text
    std::string tooltip;  // "PROFILE_TIP" followed by the label

    // The profile number a menu command passes to the profile switch:
    // command - 9001, so -1 for the default item.
    static int profileOfCommand(int command) { return command - kFirstProfileCommand; }
    static bool isMenuCommand(int command) {
        return command >= kDefaultCommand && command <= kLastCommand;
    }
};

// The profile items are "Profile 1" to "Profile 3" (the language text
// "KEYLOOM_PROFILE_NAME" with the number): the three on-board profiles share
// one slot file, so its name cannot tell them apart. The item of
// `activeProfile` (0-2) is checked, the default item for any other value.
// `lookupText` gives language texts by key.
ProfileMenu buildProfileMenu(int activeProfile,
                             const std::function<std::string(std::string_view)>& lookupText);

// "Profile N" for on-board profile 0-2 (N = profile + 1).
std::string profileName(int profile,
                        const std::function<std::string(std::string_view)>& lookupText);

}  // namespace keyloom
