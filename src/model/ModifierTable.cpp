#include "model/ModifierTable.h"

namespace keyloom {

std::uint8_t modifierMaskOf(KeyCode code) {
    for (const auto& row : ModifierTable) {
        if (row.keyCode == code) {
            return row.mask;
        }
    }
    return 0;
}

KeyCode modifierKeyOfMask(std::uint8_t mask) {
    for (const auto& row : ModifierTable) {
        if ((mask & row.mask) != 0) {
            return row.keyCode;
        }
    }
    return 0;
}

}  // namespace keyloom
