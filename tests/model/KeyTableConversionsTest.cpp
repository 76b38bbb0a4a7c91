// Conversions of the key table: indexes, list positions, virtual keys, device
// usages, key events and the key sets.

#include <gtest/gtest.h>

#include "model/KeyTable.h"

namespace keyloom {
namespace {

constexpr std::uint32_t Flags(unsigned scanCode, bool extended) {
    return (scanCode << 16) | (extended ? 1u << 24 : 0u);
}

TEST(KeyTableConversions, KeyIndexAndKeyCodeFoldTheExtendedRange) {
    EXPECT_EQ(KeyIndexOf(0x01E), 30);
    EXPECT_EQ(KeyIndexOf(0x11C), 156);
    EXPECT_EQ(KeyCodeOf(156), 0x11C);
    EXPECT_EQ(KeyIndexOf(0x100), 128);
    EXPECT_EQ(KeyIndexOf(0x17F), 255);
    EXPECT_EQ(KeyIndexOf(0x180), 0);  // wraps round
    EXPECT_EQ(KeyIndexOf(0x1FF), 127);
    EXPECT_EQ(KeyIndexOf(0x200), 256);
    EXPECT_EQ(KeyIndexOf(0xFFFF), 0xFEFF);
    for (int index = 0; index < 256; ++index) {
        EXPECT_EQ(KeyIndexOf(KeyCodeOf(index)), index);
    }
    EXPECT_EQ(KeyCodeOf(-1), 0);
    EXPECT_EQ(KeyCodeOf(256), 0);
    // Indexes without a row behave as the empty row.
    EXPECT_EQ(ListPositionOf(0x200), kNoListPosition);
    EXPECT_EQ(ListPositionOf(0xFFFF), kNoListPosition);
    EXPECT_EQ(DeviceUsageOf(0x1234), (DeviceUsage{kUsageNone, 0}));
    EXPECT_EQ(KeyRowAt(-5).listPosition, kNoListPosition);
}

TEST(KeyTableConversions, ListPositions) {
    EXPECT_EQ(ListPositionOf(0x01E), 0);
    EXPECT_EQ(KeyCodeAtListPosition(0), 0x01E);
    EXPECT_EQ(KeyCodeAtListPosition(103), 0x036);  // not 0x136
    EXPECT_EQ(ListPositionOf(0x136), 103);
    EXPECT_EQ(KeyCodeAtListPosition(106), 0);
    EXPECT_EQ(KeyCodeAtListPosition(107), 0x171);
    EXPECT_EQ(KeyCodeAtListPosition(0x802D), 0x064);
    EXPECT_EQ(ListPositionOf(0), kNoListPosition);
    // The choice list shows every key at the position it is chosen from.
    for (std::uint16_t p = 0; p <= kLastChoiceListPosition; ++p) {
        EXPECT_EQ(ListPositionOf(KeyCodeAtListPosition(p)), p);
    }
}

TEST(KeyTableConversions, VirtualKeyTableTakesTheLowestRowWithExceptions) {
    EXPECT_EQ(KeyIndexOfVirtualKey(0x41), 30);
    EXPECT_EQ(KeyIndexOfVirtualKey(0x0D), 28);   // Enter, not Num Enter
    EXPECT_EQ(KeyIndexOfVirtualKey(0xA1), 54);   // Right Shift's lower row
    EXPECT_EQ(KeyIndexOfVirtualKey(0x24), 199);  // Home; Num 7's second VK does not count
    EXPECT_EQ(KeyIndexOfVirtualKey(0x10), 42);
    EXPECT_EQ(KeyIndexOfVirtualKey(0x11), 29);
    EXPECT_EQ(KeyIndexOfVirtualKey(0x12), 56);
    EXPECT_EQ(KeyIndexOfVirtualKey(0x2C), 183);  // Print Screen, not Sys Req
    for (int vk : {0x00, 0x01, 0x02, 0x04, 0x88, 0x8A, 0x8C, 0x97, 0x9C, 0x9F, 0xFF, 0x07}) {
        EXPECT_EQ(KeyIndexOfVirtualKey(static_cast<std::uint8_t>(vk)), 0) << vk;
    }
    // Every other row's VK leads back to a row with that VK.
    for (int index = 1; index < 256; ++index) {
        const std::uint8_t vk = KeyRowAt(index).vk;
        const int found = KeyIndexOfVirtualKey(vk);
        if (found != 0 && vk != 0x2C) {
            EXPECT_EQ(KeyRowAt(found).vk, vk);
            EXPECT_LE(found, index);
        }
    }
}

TEST(KeyTableConversions, DeviceUsageOfAKey) {
    EXPECT_EQ(DeviceUsageOf(0x01E), (DeviceUsage{kUsageKeyboard, 0x04}));
    EXPECT_EQ(DeviceUsageOf(0x15E), (DeviceUsage{kUsageSystem, 0x81}));
    EXPECT_EQ(DeviceUsageOf(0x171), (DeviceUsage{kUsageMouse, 0xF1}));
    EXPECT_EQ(DeviceUsageOf(0x162), (DeviceUsage{kUsageMouse, 0xF5}));
    EXPECT_EQ(DeviceUsageOf(0x054), (DeviceUsage{kUsageNone, 0}));
    EXPECT_EQ(DeviceUsageOf(0x120), (DeviceUsage{kUsageKeyboard, 0xCD}));
    EXPECT_EQ(DeviceUsageOf(0), (DeviceUsage{kUsageNone, 0}));
}

TEST(KeyTableConversions, KeyOfADeviceUsage) {
    EXPECT_EQ(KeyCodeOfDeviceUsage(kUsageConsumer, 0x0E2), 0x120);
    EXPECT_EQ(KeyCodeOfDeviceUsage(kUsageKeyboard, 0x48), 0x045);  // Pause, not Break
    EXPECT_EQ(KeyCodeOfDeviceUsage(kUsageKeyboard, 0xE5), 0x036);
    EXPECT_EQ(KeyCodeOfDeviceUsage(kUsageMouse, 0xF1), 0);
    EXPECT_EQ(KeyCodeOfDeviceUsage(kUsageSystem, 0x82), 0x15F);
    EXPECT_EQ(KeyCodeOfDeviceUsage(kUsageSystem, 0x04), 0);
    EXPECT_EQ(KeyCodeOfDeviceUsage(kUsageKeyboard, 0x104), 0);  // above a byte
    EXPECT_EQ(KeyCodeOfDeviceUsage(kUsageKeyboard, 0), 0);
    EXPECT_EQ(KeyCodeOfDeviceUsage(3, 0x04), 0);
    // Usage 0 is no usage: it must not pick the Zoom- key from an unused slot.
    EXPECT_EQ(KeyCodeOfDeviceUsage(kUsageConsumer, 0), 0);
    EXPECT_EQ(KeyCodeOfDeviceUsage(kUsageConsumer, 0x1234), 0);

    // Every key the keyboard knows comes back from its own usage, except the
    // second Right Shift and Break, whose device codes belong to lower rows.
    for (int index = 1; index < 256; ++index) {
        const KeyCode code = KeyCodeOf(index);
        const DeviceUsage usage = DeviceUsageOf(code);
        if (usage.usageClass == kUsageKeyboard || usage.usageClass == kUsageSystem) {
            const KeyCode back = KeyCodeOfDeviceUsage(usage.usageClass, usage.value);
            EXPECT_EQ(back, code == 0x136 ? 0x036 : code == 0x146 ? 0x045 : code) << index;
        }
    }
    // Consumer usages lead to the media keys.
    for (unsigned slot = 0; slot < 18; ++slot) {
        const KeyCode code = KeyCodeOfDeviceUsage(kUsageConsumer, ConsumerUsageTable()[slot]);
        EXPECT_EQ(DeviceUsageOf(code), (DeviceUsage{kUsageKeyboard, std::uint16_t(0xC0 + slot)}));
        EXPECT_TRUE(IsMediaKey(code)) << slot;
    }
}

TEST(KeyTableConversions, KeyCodeFromEvent) {
    // Keypad 0 with Num Lock off shares its virtual key with Insert.
    EXPECT_EQ(KeyCodeFromEvent(0x2D, Flags(0x52, false)), 0x052);
    EXPECT_EQ(KeyCodeFromEvent(0x2D, Flags(0x52, true)), 0x152);
    EXPECT_EQ(KeyCodeFromEvent(0x60, Flags(0x52, false)), 0x052);
    // No scan code: the virtual key decides.
    EXPECT_EQ(KeyCodeFromEvent(0x10, 0), 0x02A);
    EXPECT_EQ(KeyCodeFromEvent(0x2C, 0), 0x137);
    EXPECT_EQ(KeyCodeFromEvent(0x07, 0), 0);
    // Right Shift by scan code, whatever the virtual key.
    for (std::uint32_t vk : {0x10u, 0xA0u, 0xA1u, 0x41u, 0xFFu, 0u}) {
        EXPECT_EQ(KeyCodeFromEvent(vk, Flags(0x36, false)), 0x036) << vk;
    }
    // Side-neutral modifiers keep the side of their scan code.
    EXPECT_EQ(KeyCodeFromEvent(0x11, Flags(0x1D, true)), 0x11D);
    EXPECT_EQ(KeyCodeFromEvent(0x12, Flags(0x38, true)), 0x138);
    EXPECT_EQ(KeyCodeFromEvent(0x10, Flags(0x2A, false)), 0x02A);
    // Keys without a virtual key of their own are taken by scan code.
    EXPECT_EQ(KeyCodeFromEvent(0xFF, Flags(0x70, false)), 0x070);
    EXPECT_EQ(KeyCodeFromEvent(0x1FF, Flags(0x5E, true)), 0x15E);  // only the low byte counts
    // Scan code and virtual key disagree: the virtual key wins.
    EXPECT_EQ(KeyCodeFromEvent(0x41, Flags(0x10, false)), 0x01E);
    EXPECT_EQ(KeyCodeFromEvent(0x0D, Flags(0x1C, true)), 0x11C);
    // Bits outside the scan code and the extended flag are ignored.
    EXPECT_EQ(KeyCodeFromEvent(0x41, Flags(0x1E, false) | 0xC000FFFFu), 0x01E);
}

TEST(KeyTableConversions, KeySets) {
    int media = 0;
    for (unsigned code = 0; code <= 0xFFFF; ++code) {
        if (IsMediaKey(static_cast<KeyCode>(code))) {
            ++media;
            const auto d = KeyRowAt(KeyIndexOf(static_cast<KeyCode>(code))).deviceCode;
            EXPECT_TRUE(d >= 0xC0 && d <= 0xD1) << std::hex << code;
        }
    }
    EXPECT_EQ(media, 18);
    for (KeyCode code : {0x054, 0x071, 0x072, 0x137}) {
        EXPECT_TRUE(IsSingleEventKey(code)) << code;
    }
    EXPECT_FALSE(IsSingleEventKey(0x037));
    EXPECT_FALSE(IsSingleEventKey(0x070));
}

}  // namespace
}  // namespace keyloom
