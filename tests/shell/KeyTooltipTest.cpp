// Key tooltips from assignment entries, including entries a damaged profile
// file could hold (values outside the tables).

#include <gtest/gtest.h>

#include "shell/KeyTooltip.h"

namespace keyloom::testing {
namespace {

using shell::keyTooltip;

std::string text(std::string_view key) {
    if (key == "KEYLOOM_KEY_PROMPT_PLAYS")
        return " x%d";
    return "[" + std::string(key) + "]";
}
std::string keyName(std::uint16_t code) {
    return "key" + std::to_string(code);
}

std::string tip(const KeyAssignment& entry, std::span<const MacroRecord> macros = {}) {
    return keyTooltip("A", entry, macros, text, keyName);
}

TEST(KeyTooltipTest, DefaultKeysShowTheirLabelAlone) {
    EXPECT_EQ(tip({}), "A");
    EXPECT_EQ(shell::gButtonLabel(0), "G1");
    EXPECT_EQ(shell::gButtonLabel(8), "G9");
}

TEST(KeyTooltipTest, EachKindAppendsItsDescription) {
    EXPECT_EQ(tip({AssignmentKind::Key, 0, 0x1D}), "A[KEY_PROMPT_SET][KEY_PROMPT_SINGLE]key29)");
    EXPECT_EQ(tip({AssignmentKind::Media, 0, 1}),
              "A[KEY_PROMPT_SET][KEY_PROMPT_MEDIA][MEDIA_PALY_PAUSE_2])");
    EXPECT_EQ(tip({AssignmentKind::Function, 0, 0}),
              "A[KEY_PROMPT_SET][KEY_PROMPT_FUNCTION][FUNC_KEY_DESC1])");
    // A disabled key says so instead of "remapped".
    EXPECT_EQ(tip({AssignmentKind::Disabled, 0, 0}), "A[KEYLOOM_KEY_PROMPT_DISABLED]");
    EXPECT_EQ(tip({AssignmentKind::StopMacro, 0, 0}), "A[KEYLOOM_KEY_PROMPT_STOP_MACRO]");
    // Kinds without a description of their own.
    EXPECT_EQ(tip({AssignmentKind::TextBlock, 0, 40}), "A[KEY_PROMPT_SET]");
}

TEST(KeyTooltipTest, MacrosAreNamedByNumberWithTheirOwnPlayCount) {
    std::vector<MacroRecord> macros(2);
    macros[0].name = u"First";
    macros[0].number = 3;
    macros[1].name = u"Zweite \u00fcbung";
    macros[1].number = 7;
    macros[1].playCount = 4;
    // The entry's own field (a G key's fixed code, 771) is not the count.
    for (const std::uint16_t field : {std::uint16_t{1}, std::uint16_t{771}})
        EXPECT_EQ(tip({AssignmentKind::Macro, field, 7}, macros),
                  "A[KEY_PROMPT_SET][KEY_PROMPT_MACRO]Zweite \xc3\xbc"
                  "bung x4)");
    // No macro with that number: the name is empty.
    EXPECT_EQ(tip({AssignmentKind::Macro, 1, 5}, macros), "A[KEY_PROMPT_SET][KEY_PROMPT_MACRO])");
    // A value that only matches in its low 16 bits names nothing.
    EXPECT_EQ(tip({AssignmentKind::Macro, 1, 0x10003}, macros),
              "A[KEY_PROMPT_SET][KEY_PROMPT_MACRO])");
}

TEST(KeyTooltipTest, ValuesOutsideTheTablesNameNothing) {
    EXPECT_EQ(tip({AssignmentKind::Key, 0, 0x1001D}), "A[KEY_PROMPT_SET][KEY_PROMPT_SINGLE])");
    EXPECT_EQ(tip({AssignmentKind::Media, 0, 18}), "A[KEY_PROMPT_SET][KEY_PROMPT_MEDIA])");
    EXPECT_EQ(tip({AssignmentKind::Media, 0, 0xFFFFFFFF}), "A[KEY_PROMPT_SET][KEY_PROMPT_MEDIA])");
    EXPECT_EQ(tip({AssignmentKind::Function, 0, 11}), "A[KEY_PROMPT_SET][KEY_PROMPT_FUNCTION])");
    EXPECT_EQ(tip({AssignmentKind::Function, 0, 0xFFFFFFFF}),
              "A[KEY_PROMPT_SET][KEY_PROMPT_FUNCTION])");
}

}  // namespace
}  // namespace keyloom::testing
