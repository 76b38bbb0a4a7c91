// The keyboard's macro area: sizes, the choice between names and no names,
// the encoded layout, and decoding areas that may be damaged or hostile.

#include <gtest/gtest.h>

#include <vector>

#include "model/MacroArea.h"

namespace keyloom {
namespace {

MacroRecord macro(std::u16string name, std::size_t actions, std::uint8_t playCount = 1) {
    MacroRecord m;
    m.name = std::move(name);
    m.playCount = playCount;
    for (std::size_t i = 0; i < actions; ++i) {
        m.actions.push_back(
            {static_cast<std::uint32_t>(10 * i), 0x01E, static_cast<std::uint16_t>(i % 2)});
    }
    return m;
}

std::uint16_t u16At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

void putU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

const std::vector<MacroRecord> kTwoMacros{macro(u"ab", 3, 2), macro(u"c", 0)};

TEST(MacroArea, SizesAndBlockOffsetsOfTwoMacros) {
    EXPECT_EQ(macroAreaSizes(kTwoMacros), (MacroAreaSizes{40, 46}));

    const auto bare = encodeMacroArea(kTwoMacros, false);
    ASSERT_EQ(bare.size(), 40u);
    EXPECT_EQ(u16At(bare, 0), 0x55AA);
    EXPECT_EQ(u16At(bare, 2), 40);
    EXPECT_EQ(u16At(bare, 4), 2);
    EXPECT_EQ(u16At(bare, 6), 0);
    EXPECT_EQ(u16At(bare, 16), 20);
    EXPECT_EQ(u16At(bare, 18), 36);
    EXPECT_EQ(u16At(bare, 20), 3);  // action count
    EXPECT_EQ(bare[22], 2);         // play count
    EXPECT_EQ(bare[23], 0);         // no name

    const auto named = encodeMacroArea(kTwoMacros, true);
    ASSERT_EQ(named.size(), 46u);
    EXPECT_EQ(u16At(named, 2), 46);
    EXPECT_EQ(u16At(named, 6), 1);
    EXPECT_EQ(u16At(named, 16), 20);
    EXPECT_EQ(u16At(named, 18), 40);
    EXPECT_EQ(named[23], 2);
    EXPECT_EQ(u16At(named, 36), u'a');
    EXPECT_EQ(u16At(named, 38), u'b');
    EXPECT_EQ(named[43], 1);
    EXPECT_EQ(u16At(named, 44), u'c');
}

TEST(MacroArea, EventsAreWrittenAsDeviceActions) {
    MacroRecord shift;
    shift.actions = {{0, 0x02A, MacroAction::kPressed}, {0, 0x02A, MacroAction::kReleased}};
    const auto area = encodeMacroArea(std::vector<MacroRecord>{shift}, false);
    ASSERT_EQ(area.size(), 16u + 2 + 4 + 8);
    EXPECT_EQ((std::vector<std::uint8_t>(area.begin() + 22, area.end())),
              (std::vector<std::uint8_t>{0x00, 0xA0, 0x01, 0x02, 0x00, 0x20, 0x01, 0x02}));
}

TEST(MacroArea, PlanAgainstTheCapacity) {
    const MacroAreaSizes none = macroAreaSizes({});
    EXPECT_EQ(none, (MacroAreaSizes{16, 16}));
    EXPECT_EQ(planMacroArea(none, 0).fit, MacroAreaFit::TooLong);  // byte 11 = 0
    const MacroAreaPlan empty = planMacroArea(none, 128);
    EXPECT_EQ(empty.fit, MacroAreaFit::WithNames);
    EXPECT_EQ(empty.size, 16u);
    const auto header = encodeMacroArea(std::vector<MacroRecord>{}, empty.withNames());
    EXPECT_EQ(header,
              (std::vector<std::uint8_t>{0xAA, 0x55, 16, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    const MacroAreaSizes two = macroAreaSizes(kTwoMacros);
    EXPECT_EQ(planMacroArea(two, 46).fit, MacroAreaFit::WithNames);
    const MacroAreaPlan tight = planMacroArea(two, 45);
    EXPECT_EQ(tight.fit, MacroAreaFit::WithoutNames);
    EXPECT_EQ(tight.size, 40u);
    EXPECT_EQ(planMacroArea(two, 39).fit, MacroAreaFit::TooLong);
}

TEST(MacroArea, EncodingRefusesBuffersTooSmallAndAreasBeyond16Bits) {
    std::vector<std::uint8_t> small(45);
    EXPECT_EQ(encodeMacroArea(kTwoMacros, true, small), 0u);
    EXPECT_EQ(encodeMacroArea(kTwoMacros, false, small), 40u);

    const std::vector<MacroRecord> huge(20, macro(u"", 4000));  // 20 x 16,004 bytes
    EXPECT_TRUE(encodeMacroArea(huge, false).empty());
}

TEST(MacroArea, DecodesWhatWasEncoded) {
    std::vector<MacroRecord> macros{macro(u"ab", 3, 2), macro(u"c", 0), macro(u"media", 0)};
    macros[2].actions = {{12345, 0x130, MacroAction::kPressed}, {0, 0x130, MacroAction::kReleased}};
    const auto area = encodeMacroArea(macros, true);

    const auto back = decodeMacroArea(area, 1024, u"M");
    ASSERT_EQ(back.size(), 3u);
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back[i].name, macros[i].name);
        EXPECT_EQ(back[i].number, i + 1);
        EXPECT_EQ(back[i].newFlag, 0u);
        EXPECT_EQ(back[i].playCount, macros[i].playCount);
        ASSERT_EQ(back[i].actions.size(), macros[i].actions.size());
    }
    EXPECT_EQ(back[0].actions[2], (MacroAction{20, 0x01E, MacroAction::kPressed}));
    EXPECT_EQ(back[2].actions[0], (MacroAction{12340, 0x130, MacroAction::kPressed}));
    EXPECT_EQ(back[2].actions[1], (MacroAction{0, 0x130, MacroAction::kReleased}));
}

TEST(MacroArea, WithoutNamesMacrosComeBackWithDefaultNamesInAreaOrder) {
    const auto back = decodeMacroArea(encodeMacroArea(kTwoMacros, false), 1024, u"Macro ");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].name, u"Macro 1");
    EXPECT_EQ(back[1].name, u"Macro 2");
}

TEST(MacroArea, AreasWithoutMarkerOrTooShortHoldNoMacros) {
    auto area = encodeMacroArea(kTwoMacros, true);
    area[0] = 0xAB;
    EXPECT_TRUE(decodeMacroArea(area, 1024, u"M").empty());
    EXPECT_TRUE(decodeMacroArea({}, 1024, u"M").empty());
    EXPECT_TRUE(
        decodeMacroArea(std::vector<std::uint8_t>{0xAA, 0x55, 16, 0, 1}, 1024, u"M").empty());
}

TEST(MacroArea, ReadsOnlyInsideTheSizeFieldTheCapacityAndTheBytesRead) {
    const auto area = encodeMacroArea(kTwoMacros, true);  // 46 bytes, blocks at 20 and 40

    // Capacity 44 cuts the second block's name: default name, block intact.
    auto back = decodeMacroArea(area, 44, u"M");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].name, u"ab");
    EXPECT_EQ(back[1].name, u"M2");

    // A size field of 30 cuts the first block's actions and the second block.
    auto shortened = area;
    putU16(shortened, 2, 30);
    back = decodeMacroArea(shortened, 1024, u"M");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].actions.size(), 1u);  // (30 - 24) / 4 whole actions fit
    EXPECT_EQ(back[0].name, u"M1");

    // Fewer bytes read than the size field claims.
    back = decodeMacroArea(std::span(area).first(20), 1024, u"M");
    EXPECT_TRUE(back.empty());
    back = decodeMacroArea(std::span(area).first(17), 1024, u"M");
    EXPECT_TRUE(back.empty());
}

TEST(MacroArea, BadOffsetsSkipOnlyTheirMacroAndKeepNumbersByPosition) {
    auto area = encodeMacroArea(kTwoMacros, true);
    putU16(area, 16, 0xFFF0);  // first block outside the area
    auto back = decodeMacroArea(area, 1024, u"M");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, u"c");
    EXPECT_EQ(back[0].number, 2);  // key entries refer to it as position 1

    putU16(area, 16, 4);  // pointing into the header
    EXPECT_EQ(decodeMacroArea(area, 1024, u"M").size(), 1u);
}

TEST(MacroArea, HugeCountsAreBounded) {
    // A count of 0xFFFF in a 64-byte area: only offsets inside the area are read.
    std::vector<std::uint8_t> area(64, 0);
    putU16(area, 0, 0x55AA);
    putU16(area, 2, 64);
    putU16(area, 4, 0xFFFF);
    for (std::size_t i = 16; i < 64; i += 2) {
        putU16(area, i, 16);  // every offset pointing back at the table itself
    }
    auto back = decodeMacroArea(area, 64, u"M");
    EXPECT_EQ(back.size(), 24u);

    // A block claiming 0xFFFF actions keeps those that fit.
    putU16(area, 4, 1);
    putU16(area, 16, 20);
    putU16(area, 20, 0xFFFF);
    area[23] = 200;  // a name that cannot follow
    back = decodeMacroArea(area, 64, u"M");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].actions.size(), 10u);
    EXPECT_EQ(back[0].name, u"M1");
}

TEST(MacroArea, MoreThan100MacrosKeepTheFirst100) {
    const std::vector<MacroRecord> many(120, macro(u"", 0));
    const auto area = encodeMacroArea(many, false);
    ASSERT_EQ(u16At(area, 4), 120);
    const auto back = decodeMacroArea(area, area.size(), u"M");
    ASSERT_EQ(back.size(), 100u);
    EXPECT_EQ(back.back().number, 100);
    EXPECT_EQ(back.back().name, u"M100");
}

TEST(MacroArea, NamesAreCutTo249CharactersAndStopAtAZero) {
    std::vector<MacroRecord> macros{macro(std::u16string(255, u'n'), 1)};
    EXPECT_EQ(macroAreaSizes(macros).withNames, 16u + 2 + 4 + 4 + 2 * 249);
    auto area = encodeMacroArea(macros, true);
    EXPECT_EQ(area[16 + 2 + 3], 249);
    auto back = decodeMacroArea(area, 4096, u"M");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name.size(), 249u);

    // A keyboard area with a 255-unit name: cut on reading too.
    std::vector<std::uint8_t> raw(16 + 2 + 4 + 510, 0);
    putU16(raw, 0, 0x55AA);
    putU16(raw, 2, static_cast<std::uint16_t>(raw.size()));
    putU16(raw, 4, 1);
    putU16(raw, 16, 18);
    raw[21] = 255;
    for (std::size_t i = 0; i < 255; ++i) {
        putU16(raw, 22 + 2 * i, i == 3 ? 0 : u'z');
    }
    back = decodeMacroArea(raw, 4096, u"M");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, u"zzz");
}

}  // namespace
}  // namespace keyloom
