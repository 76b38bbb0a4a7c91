// keyloomctl preview, run as the user runs it: the frames as JSON by key
// name, the state taken from a (simulated) keyboard, and refused input.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

// The values of one key in every frame, in frame order.
std::vector<std::string> valuesOf(const std::string& json, const std::string& key) {
    std::vector<std::string> values;
    const std::string field = "\"" + key + "\": \"";
    for (auto at = json.find(field); at != std::string::npos; at = json.find(field, at + 1))
        values.push_back(json.substr(at + field.size(), 6));
    return values;
}

class KeyloomctlPreview : public ::testing::Test {
protected:
    CliRun run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--data-dir", dir.file("data")});
        return runKeyloomctl(args, dir.path());
    }
    CliRun runSimulated(std::vector<std::string> args) {
        args.insert(args.begin(), {"--simulate", "0c45:652f:" + dir.file("kb.state")});
        return run(args);
    }

    TempDir dir;
};

TEST_F(KeyloomctlPreview, JsonFramesNameEveryKeyAndFollowTheTicks) {
    CliRun preview = run({"preview", "1", "--frames", "3", "--json"});
    ASSERT_EQ(preview.exitCode, 0) << preview.err;
    EXPECT_NE(preview.out.find("\"effect\": 1"), std::string::npos) << preview.out;
    // Esc stands in column 0, Tab in column 1: hue steps 0, 9, 18 (running
    // left, the default) and 9 further along.
    EXPECT_EQ(valuesOf(preview.out, "Esc"),
              (std::vector<std::string>{"ff0100", "ff2000", "ff6300"}));
    EXPECT_EQ(valuesOf(preview.out, "Tab"),
              (std::vector<std::string>{"ff2000", "ff6300", "ffc800"}));
    for (const char* key : {"A", "Space", "Left Ctrl", "Num Enter", "Fn"})
        EXPECT_EQ(valuesOf(preview.out, key).size(), 3u) << key;
    for (const char* key : {"G1", "G9"})
        EXPECT_TRUE(valuesOf(preview.out, key).empty()) << key;
}

TEST_F(KeyloomctlPreview, OptionsOverrideTheKeyboardsState) {
    // The simulated keyboard's active profile runs backwards (direction 0).
    CliRun fromKeyboard = runSimulated({"preview", "4", "--frames", "2", "--json"});
    ASSERT_EQ(fromKeyboard.exitCode, 0) << fromKeyboard.err;
    EXPECT_EQ(valuesOf(fromKeyboard.out, "A"), (std::vector<std::string>{"ff0100", "ff0002"}));

    CliRun left = runSimulated({"preview", "4", "--frames", "2", "--direction", "left", "--json"});
    ASSERT_EQ(left.exitCode, 0) << left.err;
    EXPECT_EQ(valuesOf(left.out, "A"), (std::vector<std::string>{"ff0100", "ff0500"}));

    CliRun single = run({"preview", "6", "--colour", "102030", "--json"});
    ASSERT_EQ(single.exitCode, 0) << single.err;
    EXPECT_EQ(valuesOf(single.out, "Num Lock"), (std::vector<std::string>{"102030"}));
}

TEST_F(KeyloomctlPreview, RefusesBadInputWithUsageExit) {
    const std::vector<std::vector<std::string>> cases{
        {"preview"},
        {"preview", "0"},
        {"preview", "19"},
        {"preview", "21"},
        {"preview", "seven"},
        {"preview", "1", "--colour", "fff"},
        {"preview", "1", "--colour", "12345g"},
        {"preview", "1", "--colourful", "yes"},
        {"preview", "1", "--direction", "up"},
        {"preview", "1", "--frames", "0"},
        {"preview", "1", "--frames", "-5"},
        {"preview", "1", "--frames", "100000000000000000000"},
        {"preview", "1", "--seed", "x"},
        {"preview", "1", "--frames"},
    };
    for (const auto& args : cases) {
        CliRun preview = run(args);
        EXPECT_EQ(preview.exitCode, 2) << args.back();
        EXPECT_TRUE(preview.out.empty()) << args.back();
        EXPECT_NE(preview.err.find("keyloomctl: "), std::string::npos) << args.back();
    }
}

TEST_F(KeyloomctlPreview, GridWithoutJsonShowsHexPerCell) {
    CliRun preview = run({"preview", "7"});
    ASSERT_EQ(preview.exitCode, 0) << preview.err;
    EXPECT_EQ(preview.out.substr(0, 8), "frame 0\n");
    EXPECT_NE(preview.out.find(" ...... ...... ...... 000000 000000"), std::string::npos)
        << preview.out;
    EXPECT_EQ(preview.out.find("\x1b["), std::string::npos) << "no colour codes into a pipe";
}

}  // namespace
}  // namespace keyloom::testing
