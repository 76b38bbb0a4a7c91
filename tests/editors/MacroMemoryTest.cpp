// How much of the keyboard's macro area the edited macros take, and the
// stored record-delay setting.

#include <gtest/gtest.h>

#include "editors/MacroMemory.h"
#include "editors/RecordDelaySetting.h"
#include "storage/AppProfile.h"
#include "storage/SettingsKey.h"
#include "support/TempDir.h"

namespace keyloom::editors {
namespace {

MacroRecord macro(std::u16string name, std::size_t actions) {
    MacroRecord m;
    m.name = std::move(name);
    m.actions.assign(actions, MacroAction{10, 0x01E, 0});
    return m;
}

TEST(MacroMemory, SaysWhetherTheMacrosFitWithOrWithoutNames) {
    // 40 bytes without names, 46 with them.
    const std::vector<MacroRecord> macros{macro(u"ab", 3), macro(u"c", 0)};
    struct Case {
        std::size_t capacity;
        MacroAreaFit fit;
        std::string_view message;
    };
    const Case cases[] = {
        {46, MacroAreaFit::WithNames, ""},
        {45, MacroAreaFit::WithoutNames, "EXTRA_PROFILE_SPACE_TIGHT"},
        {40, MacroAreaFit::WithoutNames, "EXTRA_PROFILE_SPACE_TIGHT"},
        {39, MacroAreaFit::TooLong, "EXTRA_MACRO_TOO_LONG"},
    };
    for (const auto& c : cases) {
        const MacroMemory memory = macroMemoryOf(macros, c.capacity);
        EXPECT_EQ(memory.sizes, (MacroAreaSizes{40, 46}));
        EXPECT_EQ(memory.fit, c.fit) << c.capacity;
        EXPECT_EQ(memory.messageKey(), c.message) << c.capacity;
    }
}

TEST(MacroMemory, CapacityComesFromTheParameterBlock) {
    ParameterBlock parameters;
    parameters.bytes[ParameterBlock::kMacroCapacityByte] = 0;
    // Even no macros need the 16-byte header.
    EXPECT_EQ(macroMemoryOf({}, parameters).fit, MacroAreaFit::TooLong);
    parameters.bytes[ParameterBlock::kMacroCapacityByte] = 2;
    const MacroMemory memory = macroMemoryOf({}, parameters);
    EXPECT_EQ(memory.capacity, 256u);
    EXPECT_EQ(memory.fit, MacroAreaFit::WithNames);
}

TEST(RecordDelaySetting, OnlyZeroAndOneAreKept) {
    keyloom::testing::TempDir dir;
    registry::Registry reg(dir.file("registry.ini"));
    const std::string entry = "Record delay";
    EXPECT_FALSE(loadRecordDelaySetting(reg, entry));  // missing: off

    ASSERT_TRUE(storeRecordDelaySetting(reg, entry, true));
    EXPECT_TRUE(loadRecordDelaySetting(reg, entry));

    writeAppString(reg, kProfilesSection, entry, "7");
    EXPECT_FALSE(loadRecordDelaySetting(reg, entry));
    EXPECT_EQ(readAppString(reg, kProfilesSection, entry, ""), "0");
}

}  // namespace
}  // namespace keyloom::editors
