#include "model/MouseTable.h"

namespace keyloom {

const MouseRow* mouseRowOfKey(KeyCode code) {
    for (const auto& row : MouseTable) {
        if (row.keyCode == code) {
            return &row;
        }
    }
    return nullptr;
}

const MouseRow* mouseRowOfDeviceCode(std::uint16_t deviceCode) {
    for (const auto& row : MouseTable) {
        if (row.deviceCode == deviceCode) {
            return &row;
        }
    }
    return nullptr;
}

KeyCode mouseKeyOf(std::uint8_t sub, std::uint8_t value) {
    for (const auto& row : MouseTable) {
        if (row.sub == sub && row.value == value) {
            return row.keyCode;
        }
    }
    return 0;
}

}  // namespace keyloom
