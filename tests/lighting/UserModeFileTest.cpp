// The user-mode file reader with hand-edited and broken files, and the
// template the skin ships.

#include <filesystem>

#include <gtest/gtest.h>

#include "lighting/UserModeFile.h"
#include "platform/ini/Ini.h"
#include "platform/ini/IniDocument.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

TEST(UserModeFile, KeyEntriesAreClampedOrDefaulted) {
    struct Case {
        const char* text;
        KeyPaint expected;
    };
    const KeyPaint fallback{};  // 255,0,0 in the base group
    for (const Case& c : {
             Case{"10,20,30,5", {{10, 20, 30}, true}},
             Case{"10,20,30,0", {{10, 20, 30}, false}},
             Case{"999,0,0,1", {{255, 0, 0}, true}},
             Case{"-4, 300 ,7,0", {{0, 255, 7}, false}},
             Case{"abc", fallback},
             Case{"1,2", fallback},
             Case{"", fallback},
             Case{"1,2,3,", fallback},
             Case{"99999999999999999999,1,1,1", {{255, 1, 1}, true}},
         }) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseKeyValue(c.text), c.expected);
    }
    EXPECT_EQ(parseColourValue("1,2,3"), (Rgb{1, 2, 3}));
    EXPECT_EQ(parseColourValue("1;2;3"), (Rgb{}));
    EXPECT_EQ(formatKeyValue({{1, 2, 3}, true}), "1,2,3,1");
}

TEST(UserModeFile, BadModeAndBrushValuesGiveTheDefaults) {
    const ini::IniDocument document = ini::IniDocument::fromText(
        "[PRESENTMODE]\nmode=42\n[Mode0]\ntool=7\njcolor=abc\ncolor=1,2,300\n53=1,2\n");
    const UserModeData data = parseUserMode(document);
    EXPECT_EQ(data.currentMode, 0);
    EXPECT_EQ(data.brush.tool, BrushTool::BaseColour);
    EXPECT_EQ(data.brush.baseColour, (Rgb{}));
    EXPECT_EQ(data.brush.singleColour, (Rgb{1, 2, 255}));
    EXPECT_EQ(data.keys[0], KeyPaint{});
}

TEST(UserModeFile, QuotedValuesReadAsEveryIniFileReads) {
    const ini::IniDocument document = ini::IniDocument::fromText(
        "[PRESENTMODE]\nmode=\"2\"\n[MODENAME]\n2='Night'\n"
        "[Mode2]\ntool=\"1\"\ncolor=\"4,5,6\"\n53=\"10,20,30,1\"\n");
    const UserModeData data = parseUserMode(document);
    EXPECT_EQ(data.currentMode, 2);
    EXPECT_EQ(data.names[2], "Night");
    EXPECT_EQ(data.brush.tool, BrushTool::BaseColour);
    EXPECT_EQ(data.brush.singleColour, (Rgb{4, 5, 6}));
    EXPECT_EQ(data.keys[0], (KeyPaint{{10, 20, 30}, true}));
}

TEST(UserModeFile, MissingOrUnreadableFilesGiveTheDefaults) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("folder.userd"));
    for (const std::string& path : {dir.file("missing.userd"), dir.file("folder.userd")}) {
        SCOPED_TRACE(path);
        const UserModeData data = readUserModeFile(path);
        EXPECT_EQ(data.currentMode, 0);
        EXPECT_EQ(data.brush, Brush{});
        EXPECT_EQ(data.names[9], "0");
        for (const KeyPaint& key : data.keys)
            EXPECT_EQ(key, KeyPaint{});
    }
}

TEST(UserModeFile, ManyKeysAreSavedInOneReplace) {
    TempDir dir;
    const std::string path = dir.write("u.userd", "; kept\n[Mode2]\n53=0,0,0,0\n");
    std::vector<KeyEntry> entries;
    for (std::uint8_t index : {53, 54, 91})
        entries.push_back({index, {{index, 0, 0}, true}});
    ASSERT_TRUE(saveKeys(path, 2, entries));
    EXPECT_EQ(dir.read("u.userd"), "; kept\n[Mode2]\n53=53,0,0,1\n54=54,0,0,1\n91=91,0,0,1\n");
    // A file that cannot be read is not replaced.
    std::filesystem::create_directories(dir.file("d.userd"));
    EXPECT_FALSE(saveKeys(dir.file("d.userd"), 0, entries));
}

// The template the skin build draws: ten named modes, each with an entry for
// every key that has a colour position.
TEST(UserModeTemplate, HoldsTenNamedModesCoveringEveryKey) {
    const std::string path = std::string(KEYLOOM_BUILD_DIR) + "/bin/Skins/UserDengColor_3.userd";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "the skin was not built";
    for (int m = 0; m < kUserModeCount; ++m) {
        SCOPED_TRACE(m);
        const std::string name = ini::readString(path, "MODENAME", std::to_string(m), "");
        EXPECT_FALSE(name.empty());
        EXPECT_NE(name, "0");
        const std::string section = modeSectionName(m);
        for (const ColourKey& key : colourKeys()) {
            if (key.colourIndex == kNoColourIndex || key.colourIndex == kGButtonColourIndex)
                continue;
            EXPECT_NE(ini::readString(path, section, std::to_string(key.colourIndex), ""), "")
                << "index " << int(key.colourIndex);
        }
    }
    EXPECT_EQ(ini::readInt(path, "PRESENTMODE", "mode", -1), 0);
}

}  // namespace
}  // namespace keyloom::testing
