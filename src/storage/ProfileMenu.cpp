#include "storage/ProfileMenu.h"

#include "platform/text/SafeFormat.h"

namespace keyloom {

std::string profileName(int profile,
                        const std::function<std::string(std::string_view)>& lookupText) {
    return text::formatInt(lookupText("KEYLOOM_PROFILE_NAME"), profile + 1);
}

ProfileMenu buildProfileMenu(int activeProfile,
                             const std::function<std::string(std::string_view)>& lookupText) {
    ProfileMenu menu;
    menu.items.push_back({ProfileMenu::kDefaultCommand, lookupText("DEFAULT_PROFILE_NAME"), false});
    menu.items.push_back({});
    for (int n = 0; n < 3; ++n)
        menu.items.push_back(
            {ProfileMenu::kFirstProfileCommand + n, profileName(n, lookupText), false});

    // Item positions: 0 default, 1 separator, 2-4 the profiles.
    const std::size_t checked =
        activeProfile >= 0 && activeProfile < 3 ? static_cast<std::size_t>(activeProfile) + 2 : 0;
    menu.items[checked].checked = true;
    menu.label = menu.items[checked].text;
    menu.tooltip = lookupText("PROFILE_TIP") + menu.label;
    return menu;
}

}  // namespace keyloom
