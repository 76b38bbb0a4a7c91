// Macro records as profile files hold them, their numbering, and the 4-byte
// device form of a single macro event.

#include <gtest/gtest.h>

#include <vector>

#include "model/DeviceAction.h"
#include "model/KeyTable.h"
#include "model/MacroRecord.h"

namespace keyloom {
namespace {

TEST(MacroRecord, SerializesTheFixedLayoutAndReadsItBack) {
    MacroRecord macro;
    macro.name = u"ab";
    macro.playCount = 3;
    macro.number = 42;
    macro.actions = {{12345, 0x02A, 0}, {0, 0x02A, 1}};
    std::vector<std::uint8_t> bytes(MacroRecord::kSize, 0xEE);
    ASSERT_TRUE(macro.serialize(bytes));
    EXPECT_EQ(bytes[0], 'a');
    EXPECT_EQ(bytes[2], 'b');
    EXPECT_EQ(bytes[4], 0);
    EXPECT_EQ(bytes[499], 0);
    EXPECT_EQ(bytes[500], 3);
    EXPECT_EQ(bytes[506], 42);
    EXPECT_EQ(bytes[508], 2);
    EXPECT_EQ(bytes[512], 0x39);  // 12345 = 0x3039
    EXPECT_EQ(bytes[513], 0x30);
    EXPECT_EQ(bytes[516], 0x2A);
    EXPECT_EQ(bytes[526], 1);
    EXPECT_EQ(bytes[MacroRecord::kSize - 1], 0);  // unused action room zeroed

    MacroRecord back;
    ASSERT_TRUE(MacroRecord::parse(bytes, back));
    EXPECT_EQ(back, macro);
    EXPECT_FALSE(MacroRecord::parse(std::vector<std::uint8_t>(MacroRecord::kSize - 1), back));
}

TEST(MacroRecord, LongNamesAndActionListsAreCutToWhatTheRecordHolds) {
    MacroRecord macro;
    macro.name = std::u16string(300, u'x');
    macro.actions.resize(4100, {10, 0x01E, 0});
    EXPECT_EQ(macro.storedName().size(), 249u);
    EXPECT_EQ(macro.storedActions().size(), 4000u);

    std::vector<std::uint8_t> bytes(MacroRecord::kSize);
    ASSERT_TRUE(macro.serialize(bytes));
    EXPECT_EQ(bytes[2 * 249], 0);  // the terminator always fits
    MacroRecord back;
    ASSERT_TRUE(MacroRecord::parse(bytes, back));
    EXPECT_EQ(back.name, std::u16string(249, u'x'));
    EXPECT_EQ(back.actions.size(), 4000u);

    macro.name = std::u16string(u"ab\0cd", 5);
    EXPECT_EQ(macro.storedName(), u"ab");
}

TEST(MacroRecord, ParsingAFileRecordNeverTrustsItsCounts) {
    std::vector<std::uint8_t> bytes(MacroRecord::kSize, 0x41);  // no terminator anywhere
    bytes[508] = 0xFF;                                          // action count 0xFFFF
    bytes[509] = 0xFF;
    MacroRecord macro;
    ASSERT_TRUE(MacroRecord::parse(bytes, macro));
    EXPECT_EQ(macro.name.size(), 249u);
    EXPECT_EQ(macro.actions.size(), 4000u);
}

TEST(MacroNumbering, SmallestFreeNumberAndPositions) {
    std::vector<MacroRecord> macros(3);
    macros[0].number = 2;
    macros[1].number = 1;
    macros[2].number = 4;
    EXPECT_EQ(nextMacroNumber(macros), 3);
    EXPECT_EQ(findMacroPosition(macros, 4), 2u);
    EXPECT_FALSE(findMacroPosition(macros, 3).has_value());

    macros.resize(100);
    for (std::uint16_t i = 0; i < 100; ++i) {
        macros[i].number = static_cast<std::uint16_t>(100 - i);
    }
    EXPECT_EQ(nextMacroNumber(macros), 0);
    EXPECT_EQ(nextMacroNumber({}), 1);
    EXPECT_EQ(defaultMacroName(u"Macro ", 12), u"Macro 12");
}

TEST(DeviceAction, LeftShiftPressAndRelease) {
    const DeviceAction press = encodeDeviceAction({0, 0x02A, MacroAction::kPressed});
    const DeviceAction release = encodeDeviceAction({0, 0x02A, MacroAction::kReleased});
    EXPECT_EQ(press, (DeviceAction{0xA000, 0x01, 0x02}));
    EXPECT_EQ(release, (DeviceAction{0x2000, 0x01, 0x02}));
    EXPECT_EQ(decodeDeviceAction(press), (MacroAction{0, 0x02A, MacroAction::kPressed}));
    EXPECT_EQ(decodeDeviceAction(release), (MacroAction{0, 0x02A, MacroAction::kReleased}));
}

TEST(DeviceAction, DelaysAreWholeTenMillisecondUnitsAndBoundedBeforeEncoding) {
    const DeviceAction a = encodeDeviceAction({12345, 0x01E, MacroAction::kReleased});
    EXPECT_EQ(a.word & 0x0FFF, 1234);
    EXPECT_EQ(decodeDeviceAction(a).delayMs, 12340u);

    EXPECT_EQ(delayUnitsOf(40950), 4095);
    EXPECT_EQ(delayUnitsOf(40951), 4000);  // not wrapped into a short delay
    EXPECT_EQ(delayUnitsOf(0xFFFFFFFF), 4000);
    EXPECT_EQ(encodeDeviceAction({100000, 0x01E, 0}).word, 0x8000 | 0x2000 | 4000);
}

TEST(DeviceAction, EventClassesAndTheirKeysComeBack) {
    struct Case {
        KeyCode key;
        DeviceAction expected;  // pressed, no delay
    };
    const Case cases[] = {
        {0x01E, {0xA000, 0x02, 0x04}},  // keyboard key
        {0x15C, {0xA000, 0x01, 0x80}},  // right Windows as a modifier
        {0x130, {0xA000, 0x02, 0xC0}},  // media key: keyboard class, pseudo code
        {0x15E, {0xC000, 0x81, 0x00}},  // power: system class
        {0x163, {0xC000, 0x83, 0x00}}, {0x171, {0x9000, 0x01, 0x01}},  // left button
        {0x173, {0x9000, 0x01, 0x04}}, {0x161, {0x9000, 0x05, 0x01}},  // wheel up
        {0x162, {0x9000, 0x05, 0xFF}},
    };
    for (const auto& c : cases) {
        const DeviceAction encoded = encodeDeviceAction({0, c.key, MacroAction::kPressed});
        EXPECT_EQ(encoded, c.expected) << std::hex << c.key;
        EXPECT_EQ(decodeDeviceAction(encoded).keyCode, c.key) << std::hex << c.key;
    }
    // Keys the keyboard cannot send become empty events and come back as no key.
    const DeviceAction none = encodeDeviceAction({20, 0x054, MacroAction::kPressed});
    EXPECT_EQ(none, (DeviceAction{0x8002, 0, 0}));
    EXPECT_EQ(decodeDeviceAction(none).keyCode, 0);
}

TEST(DeviceAction, DecodesConsumerEventsAndIgnoresUnknownClasses) {
    EXPECT_EQ(decodeDeviceAction({0x3000, 0xE2, 0x00}).keyCode, 0x120);  // Mute by usage
    EXPECT_EQ(decodeDeviceAction({0x6000, 0xA2, 0x01}).keyCode, 0);      // not an event class
    EXPECT_EQ(decodeDeviceAction({0x5000, 0x01, 0x00}).keyCode, 0);
    EXPECT_EQ(decodeDeviceAction({0x1000, 0x01, 0x08}).keyCode, 0);
}

}  // namespace
}  // namespace keyloom
