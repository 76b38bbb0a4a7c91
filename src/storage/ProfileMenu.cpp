#include "storage/ProfileMenu.h"

namespace keyloom {

namespace {

std::string fileTitle(std::string_view path) {
    if (const auto slash = path.find_last_of('/'); slash != std::string_view::npos)
        path.remove_prefix(slash + 1);
    if (const auto dot = path.find_last_of('.'); dot != std::string_view::npos && dot > 0)
        path = path.substr(0, dot);
    return std::string(path);
}

}  // namespace

ProfileMenu buildProfileMenu(std::string_view slotFile, int activeProfile,
                             const std::function<std::string(std::string_view)>& lookupText) {
    ProfileMenu menu;
    menu.items.push_back({ProfileMenu::kDefaultCommand, lookupText("DEFAULT_PROFILE_NAME"), false});
    menu.items.push_back({});
    const std::string title = fileTitle(slotFile);
    for (int n = 0; n < 3; ++n)
        menu.items.push_back({ProfileMenu::kFirstProfileCommand + n, title, false});

    // Item positions: 0 default, 1 separator, 2-4 the profiles.
    const std::size_t checked =
        activeProfile >= 0 && activeProfile < 3 ? static_cast<std::size_t>(activeProfile) + 2 : 0;
    menu.items[checked].checked = true;
    menu.label = menu.items[checked].text;
    menu.tooltip = lookupText("PROFILE_TIP") + menu.label;
    return menu;
}

}  // namespace keyloom
