// Conversions between key codes, key indexes, list positions, device codes
// and key events. The names are in KeyNames.cpp.

#include "model/KeyTable.h"

#include <algorithm>
#include <array>

namespace keyloom {
namespace {

const KeyRow kEmptyRow{};

constexpr std::array<KeyCode, 18> kMediaKeys = {0x110, 0x119, 0x120, 0x121, 0x122, 0x124,
                                                0x12E, 0x130, 0x132, 0x165, 0x166, 0x167,
                                                0x168, 0x169, 0x16A, 0x16B, 0x16C, 0x16D};
constexpr std::array<KeyCode, 4> kSingleEventKeys = {0x054, 0x071, 0x072, 0x137};

// Virtual-key codes that no key of the table stands for although a row
// carries them: mouse buttons, the function-key pseudo codes, and 0xFF (keys
// Windows gives no virtual key of their own).
constexpr bool IsVirtualKeyWithoutRow(int vk) {
    return vk == 0x01 || vk == 0x02 || vk == 0x04 || (vk >= 0x88 && vk <= 0x8C) ||
           (vk >= 0x97 && vk <= 0x9F) || vk == 0xFF;
}

// For every virtual-key code the lowest row producing it, except that the
// side-neutral Shift, Ctrl and Alt codes name the left keys and Print Screen
// names the Print Screen key rather than Sys Req.
std::array<std::uint8_t, 256> BuildVirtualKeyTable() {
    std::array<std::uint8_t, 256> byVk{};
    const auto table = KeyTable();
    for (int vk = 0; vk < 256; ++vk) {
        if (IsVirtualKeyWithoutRow(vk)) {
            continue;
        }
        for (std::size_t index = 1; index < table.size(); ++index) {
            if (table[index].listPosition != kNoListPosition && table[index].vk == vk) {
                byVk[static_cast<std::size_t>(vk)] = static_cast<std::uint8_t>(index);
                break;
            }
        }
    }
    byVk[0x10] = 42;   // Shift -> left Shift
    byVk[0x11] = 29;   // Ctrl -> left Ctrl
    byVk[0x12] = 56;   // Alt -> left Alt
    byVk[0x2C] = 183;  // Print Screen, not Sys Req
    return byVk;
}

const std::array<std::uint8_t, 256>& VirtualKeyTable() {
    static const std::array<std::uint8_t, 256> table = BuildVirtualKeyTable();
    return table;
}

// Index of the lowest row satisfying `matches`, or -1.
template <typename Predicate>
int FirstRowWhere(Predicate matches) {
    const auto table = KeyTable();
    const auto found = std::find_if(table.begin(), table.end(), matches);
    return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

}  // namespace

const KeyRow& KeyRowAt(int keyIndex) {
    if (keyIndex < 0 || keyIndex >= static_cast<int>(kKeyTableSize)) {
        return kEmptyRow;
    }
    return KeyTable()[static_cast<std::size_t>(keyIndex)];
}

int KeyIndexOf(KeyCode code) {
    if (code < 0x100) {
        return code;
    }
    if (code < 0x200) {
        return (code - 0x80) % 256;
    }
    return code - 0x100;
}

KeyCode KeyCodeOf(int keyIndex) {
    if (keyIndex < 0 || keyIndex >= static_cast<int>(kKeyTableSize)) {
        return 0;
    }
    return static_cast<KeyCode>(keyIndex < 128 ? keyIndex : keyIndex + 0x80);
}

int KeyIndexOfVirtualKey(std::uint8_t virtualKey) {
    return VirtualKeyTable()[virtualKey];
}

std::uint16_t ListPositionOf(KeyCode code) {
    return KeyRowAt(KeyIndexOf(code)).listPosition;
}

KeyCode KeyCodeAtListPosition(std::uint16_t listPosition) {
    const int index = FirstRowWhere(
        [listPosition](const KeyRow& row) { return row.listPosition == listPosition; });
    return index < 0 ? 0 : KeyCodeOf(index);
}

DeviceUsage DeviceUsageOf(KeyCode code) {
    const std::uint8_t d = KeyRowAt(KeyIndexOf(code)).deviceCode;
    if (d == 0x00 || d == 0xFF) {
        return {kUsageNone, 0};
    }
    if (d >= 0x81 && d <= 0x83) {
        return {kUsageSystem, d};
    }
    if (d >= 0xF1 && d <= 0xF8) {
        return {kUsageMouse, d};
    }
    return {kUsageKeyboard, d};
}

KeyCode KeyCodeOfDeviceUsage(std::uint32_t usageClass, std::uint32_t value) {
    std::uint32_t deviceCode = 0;
    if (usageClass == kUsageKeyboard) {
        deviceCode = value;
    } else if (usageClass == kUsageSystem) {
        deviceCode = (value >= 0x81 && value <= 0x83) ? value : 0;
    } else if (usageClass == kUsageConsumer && value != 0) {
        // Usage 0 is "no usage"; it must not match the unused slots.
        const auto usages = ConsumerUsageTable();
        const auto slot = std::find(usages.begin(), usages.end(), value);
        if (slot != usages.end()) {
            deviceCode = 0xC0 + static_cast<std::uint32_t>(slot - usages.begin());
        }
    }
    if (deviceCode > 0xFF) {
        return 0;
    }
    // Device code 0 meets row 0, which is key code 0.
    const int index =
        FirstRowWhere([deviceCode](const KeyRow& row) { return row.deviceCode == deviceCode; });
    return index < 0 ? 0 : KeyCodeOf(index);
}

KeyCode KeyCodeFromEvent(std::uint32_t virtualKey, std::uint32_t keystrokeFlags) {
    const std::uint8_t v = static_cast<std::uint8_t>(virtualKey & 0xFF);
    // Scan code with the extended flag as 0x100: already a key code.
    const KeyCode s = static_cast<KeyCode>((keystrokeFlags >> 16) & 0x1FF);
    const int vkIndex = KeyIndexOfVirtualKey(v);
    const KeyCode byVirtualKey = KeyCodeOf(vkIndex);

    // Right Shift is known by its scan code whatever virtual key comes with it.
    if (s == 0x036) {
        return s;
    }
    // Keys without a virtual key of their own are known by their scan code.
    if (v == 0xFF) {
        return s;
    }
    const int scanByte = s & 0xFF;
    if (scanByte == 0) {
        return byVirtualKey;
    }
    // The scan code wins whenever it agrees with the virtual key.
    const KeyRow& scanRow = KeyRowAt(KeyIndexOf(s));
    if (scanRow.vk == v || scanRow.secondVk == v) {
        return s;
    }
    if (vkIndex == scanByte) {
        return s;
    }
    return byVirtualKey;
}

bool IsMediaKey(KeyCode code) {
    return std::find(kMediaKeys.begin(), kMediaKeys.end(), code) != kMediaKeys.end();
}

bool IsSingleEventKey(KeyCode code) {
    return std::find(kSingleEventKeys.begin(), kSingleEventKeys.end(), code) !=
           kSingleEventKeys.end();
}

}  // namespace keyloom
