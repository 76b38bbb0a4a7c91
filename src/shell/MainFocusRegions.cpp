#include "shell/MainFocusRegions.h"

#include <array>

#include "storage/SkinGeometry.h"

namespace keyloom::shell {

controls::ScreenOrderFocus::RegionOf mainWindowRegions(const std::string& skinFile) {
    // Region 0 is everything above the key view; then these, in order.
    std::array<QRect, 3> panels;
    const char* const keys[] = {"KEYBOARD_BODY", "LIGHTING_PANEL", "BOTTOM_BAR"};
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const SkinGeometry g = readSkinGeometry(skinFile, "ARTWORK", keys[i]);
        panels[i] = QRect(g.x, g.y, g.w, g.h);
    }
    return [panels](const QRect& place) {
        for (std::size_t i = 0; i < panels.size(); ++i)
            if (panels[i].contains(place.center()))
                return static_cast<int>(i) + 1;
        return 0;
    };
}

}  // namespace keyloom::shell
