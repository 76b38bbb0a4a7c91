// Describing key assignments: each kind in words, and values a damaged
// profile file may hold that must name nothing rather than alias a valid one.

#include <gtest/gtest.h>

#include <vector>

#include "model/AssignmentDescription.h"

namespace keyloom::testing {
namespace {

std::string bracketed(std::string_view key) {
    return "[" + std::string(key) + "]";
}

std::vector<MacroRecord> twoMacros() {
    std::vector<MacroRecord> macros(2);
    macros[0].number = 1;
    macros[0].name = u"First";
    macros[1].number = 7;
    macros[1].name = u"\u00dcbung";
    return macros;
}

TEST(AssignmentDescription, EachKindInWords) {
    const auto macros = twoMacros();
    struct Case {
        KeyAssignment assignment;
        const char* text;
    };
    const Case cases[] = {
        {{}, "Default"},
        {{AssignmentKind::Disabled, 0, 5}, "Disabled"},
        {{AssignmentKind::StopMacro, 0, 0}, "Stop macro"},
        {{AssignmentKind::Key, 0, 0x01D}, "Key: [IDS_KEYBOARD_LCTRL]"},
        {{AssignmentKind::Macro, 1, 7},
         "macro:7:1 (\xc3\x9c"
         "bung)"},
        {{AssignmentKind::Macro, 3, 1}, "macro:1:3 (First)"},
        {{AssignmentKind::Macro, 0, 1}, "macro:1 (First)"},  // read back: no count
        {{AssignmentKind::Macro, 1, 5}, "macro:5:1 (missing)"},
        {{AssignmentKind::Media, 0, 1}, "Media: [MEDIA_PALY_PAUSE_2]"},
        {{AssignmentKind::Function, 0, 10}, "Function 11: [FUNC_KEY_DESC11]"},
        {{AssignmentKind::LaunchProgram, 0, 40}, "Launch program"},
        {{AssignmentKind::TextBlock, 0, 40}, "Text block"},
        {{static_cast<AssignmentKind>(23), 0, 0}, "Kind 23"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(assignmentText(c.assignment, macros, bracketed), c.text);
}

TEST(AssignmentDescription, ValuesBeyondTheTablesNameNothing) {
    const auto macros = twoMacros();
    // 0x10001 matches macro 1 in its low 16 bits only.
    const AssignmentDescription macro =
        describeAssignment({AssignmentKind::Macro, 2, 0x10001}, macros);
    EXPECT_FALSE(macro.macroNumber);
    EXPECT_FALSE(macro.macroPosition);
    EXPECT_EQ(macro.playCount, 2);
    EXPECT_EQ(assignmentText({AssignmentKind::Macro, 2, 0x10001}, macros, bracketed),
              "macro:65537:2 (missing)");

    EXPECT_EQ(describeAssignment({AssignmentKind::Macro, 1, 7}, macros).macroPosition, 1u);
    EXPECT_EQ(assignmentText({AssignmentKind::Key, 0, 0x1001D}, macros, bracketed), "Key: unknown");
    EXPECT_EQ(assignmentText({AssignmentKind::Media, 0, 18}, macros, bracketed), "Media: unknown");
    EXPECT_EQ(assignmentText({AssignmentKind::Function, 0, 11}, macros, bracketed),
              "Function: unknown");
    EXPECT_EQ(assignmentText({AssignmentKind::Function, 0, 0xFFFFFFFF}, macros, bracketed),
              "Function: unknown");
}

}  // namespace
}  // namespace keyloom::testing
