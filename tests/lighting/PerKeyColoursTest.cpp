// Painting keys, the base-colour group and the user-mode files, against the
// simulated keyboard and real files.

#include <sys/stat.h>

#include <filesystem>

#include "LightingFixture.h"
#include "platform/fs/FileIo.h"
#include "platform/ini/Ini.h"

namespace keyloom::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kKeyA = 1058;      // colour index 53
constexpr int kKeyS = 1059;      // 54
constexpr int kRightWin = 1087;  // 112, shared with Page Up
constexpr int kPageUp = 1096;    // 112
constexpr int kGrave = 1029;     // no position
constexpr int kBaseTool = 1165;
constexpr int kSingleTool = 1164;
constexpr int kBasePicker = 1162;
constexpr int kSinglePicker = 1160;

class PerKeyColoursTest : public LightingFixture {
protected:
    // Lighting profile 1 with effect 20 selected and its user mode loaded.
    LightingController& perKeyController() {
        LightingController& c = makeController(1, blockWithEffects({1, 20}), 20);
        c.loadUserMode(1, false);
        return c;
    }
    std::string entry(const std::string& key, int mode = 0) {
        return ini::readString(userFile(1), "Mode" + std::to_string(mode), key, "<none>");
    }
};

TEST_F(PerKeyColoursTest, PaintingSendsTheKeyAndSavesItsEntry) {
    LightingController& c = perKeyController();
    c.controlClicked(kSingleTool);
    c.colourPicked(kSinglePicker, {1, 2, 3});
    clearLog();
    ASSERT_TRUE(c.paintKey(kKeyA));
    EXPECT_EQ(oneBracket(received()), (std::vector<Written>{{17, 512 + 53 * 3, {1, 2, 3}}}));
    EXPECT_EQ(entry("53"), "1,2,3,0");
    EXPECT_EQ(c.keyColour(kKeyA), (Rgb{1, 2, 3}));
    EXPECT_FALSE(c.perKey().inBaseGroup(1, kKeyA));
}

TEST_F(PerKeyColoursTest, FnIsPaintedAtIndex91AndSavedUnderItsIndex) {
    LightingController& c = perKeyController();
    c.controlClicked(kBaseTool);
    c.colourPicked(kBasePicker, {7, 8, 9});
    clearLog();
    ASSERT_TRUE(c.paintKey(kFnControlId));
    EXPECT_EQ(oneBracket(received()), (std::vector<Written>{{17, 512 + 91 * 3, {7, 8, 9}}}));
    EXPECT_EQ(entry("91"), "7,8,9,1");
}

TEST_F(PerKeyColoursTest, NothingIsPaintedOutsideEffect20OrWithoutAPosition) {
    LightingController& c = makeController(1, blockWithEffects({1, 20}), 1);
    EXPECT_FALSE(c.paintKey(kKeyA));
    c.selectEffectAt(c.effects().positionOf(20));
    clearLog();
    EXPECT_FALSE(c.paintKey(kGrave));
    EXPECT_FALSE(c.paintKey(1000));  // G button: shows index 125, never painted
    EXPECT_TRUE(received().empty());
    EXPECT_FALSE(fs::fileExists(userFile(1)));
    EXPECT_FALSE(isPaintable(kGrave));
    EXPECT_FALSE(isPaintable(1091));
    EXPECT_FALSE(isPaintable(1108));
    EXPECT_TRUE(isPaintable(kFnControlId));
}

TEST_F(PerKeyColoursTest, KeysSharingAPositionShowTheSameColour) {
    EXPECT_EQ(controlsSharingPosition(kPageUp), std::vector<int>{kRightWin});
    EXPECT_TRUE(controlsSharingPosition(kKeyA).empty());
    EXPECT_TRUE(controlsSharingPosition(kGrave).empty());
    LightingController& c = perKeyController();
    c.controlClicked(kSingleTool);
    c.colourPicked(kSinglePicker, {0, 0, 200});
    ASSERT_TRUE(c.paintKey(kPageUp));
    EXPECT_EQ(c.keyColour(kRightWin), (Rgb{0, 0, 200}));
}

TEST_F(PerKeyColoursTest, ToolZeroTakesAKeyOutOfTheBaseGroup) {
    // A missing file: every key red and in the base group.
    LightingController& c = perKeyController();
    EXPECT_TRUE(c.perKey().inBaseGroup(1, kKeyA));
    c.controlClicked(kSingleTool);
    c.colourPicked(kSinglePicker, {0, 255, 0});
    c.paintKey(kKeyA);
    clearLog();

    c.colourPicked(kBasePicker, {0, 0, 255});
    EXPECT_EQ(c.keyColour(kKeyA), (Rgb{0, 255, 0}));
    EXPECT_EQ(c.keyColour(kKeyS), (Rgb{0, 0, 255}));
    EXPECT_EQ(entry("53"), "0,255,0,0");
    EXPECT_EQ(entry("54"), "0,0,255,1");
    EXPECT_EQ(entry("91"), "0,0,255,1");
    EXPECT_EQ(entry("jcolor"), "0,0,255");

    // One bracket of eight 54-byte writes covering indexes 0-143.
    const std::vector<Written> writes = oneBracket(received());
    ASSERT_EQ(writes.size(), 8u);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].command, 17);
        EXPECT_EQ(writes[i].offset, 512 + i * 54);
        EXPECT_EQ(writes[i].data.size(), 54u);
    }
    EXPECT_EQ(Bytes(writes[2].data.begin() + (53 - 36) * 3, writes[2].data.begin() + (54 - 36) * 3),
              (Bytes{0, 255, 0}));
}

TEST_F(PerKeyColoursTest, TheSameBaseColourSendsNothingAndLeavesTheFile) {
    dir.write("UserDengColor_1.userd", "[PRESENTMODE]\nmode=0\n[Mode0]\njcolor=5,6,7\n");
    LightingController& c = perKeyController();
    struct stat before {};
    ASSERT_EQ(::stat(userFile(1).c_str(), &before), 0);
    c.colourPicked(kBasePicker, {5, 6, 7});
    struct stat after {};
    ASSERT_EQ(::stat(userFile(1).c_str(), &after), 0);
    EXPECT_TRUE(received().empty());
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(dir.read("UserDengColor_1.userd"), "[PRESENTMODE]\nmode=0\n[Mode0]\njcolor=5,6,7\n");
}

TEST_F(PerKeyColoursTest, LoadingReadsTheCurrentModeAndSendsOnlyWhenAsked) {
    dir.write("UserDengColor_2.userd",
              "[PRESENTMODE]\nmode=4\n[MODENAME]\n4=Arena\n"
              "[Mode4]\ntool=1\njcolor=1,1,1\ncolor=2,2,2\n53=10,20,30,5\n91=4,5,6,0\n");
    LightingController& c = makeController(2, blockWithEffects({20}), 20);
    c.loadUserMode(2, false);
    EXPECT_TRUE(received().empty());
    EXPECT_EQ(c.keyColour(kKeyA), (Rgb{10, 20, 30}));
    EXPECT_TRUE(c.perKey().inBaseGroup(2, kKeyA));
    EXPECT_EQ(c.keyColour(kFnControlId), (Rgb{4, 5, 6}));
    EXPECT_FALSE(c.perKey().inBaseGroup(2, kFnControlId));
    EXPECT_EQ(c.keyColour(kKeyS), (Rgb{255, 0, 0}));  // missing entry
    EXPECT_EQ(c.perKey().currentMode(), 4);
    EXPECT_EQ(c.perKey().modeNames()[4], "Arena");
    EXPECT_EQ(c.perKey().modeNames()[3], "0");
    EXPECT_EQ(c.perKey().brush().tool, BrushTool::BaseColour);

    c.loadUserMode(2, true);
    const std::vector<Written> writes = oneBracket(received());
    ASSERT_EQ(writes.size(), 8u);
    EXPECT_EQ(writes[0].offset, 1024);
    // Painting now saves into the current mode's section.
    c.paintKey(kKeyS);
    EXPECT_EQ(ini::readString(userFile(2), "Mode4", "54", ""), "1,1,1,1");
}

TEST_F(PerKeyColoursTest, MarkBaseGroupComparesWithTheBaseColour) {
    dir.write("UserDengColor_1.userd",
              "[PRESENTMODE]\nmode=0\n[Mode0]\njcolor=9,9,9\n53=9,9,9,0\n54=1,1,1,1\n");
    LightingController& c = perKeyController();
    c.markBaseGroup();
    EXPECT_TRUE(c.perKey().inBaseGroup(1, kKeyA));
    EXPECT_FALSE(c.perKey().inBaseGroup(1, kKeyS));
}

TEST_F(PerKeyColoursTest, AFileThatCannotBeUsedChangesNothingSendsNothingAndIsTold) {
    using Kind = UserFileFailure::Kind;
    struct Case {
        const char* name;
        bool userFileIsFolder;
        bool withTemplate;
        void (*act)(LightingController&);
        Kind kind;
    };
    const Case cases[] = {
        {"paint", true, false, [](LightingController& c) { EXPECT_FALSE(c.paintKey(kKeyA)); },
         Kind::NotSaved},
        {"base colour", true, false,
         [](LightingController& c) {
             c.colourPicked(kBasePicker, {1, 2, 3});
         },
         Kind::NotSaved},
        {"single colour", true, false,
         [](LightingController& c) {
             c.colourPicked(kSinglePicker, {1, 2, 3});
         },
         Kind::NotSaved},
        {"tool", true, false, [](LightingController& c) { c.controlClicked(kBaseTool); },
         Kind::NotSaved},
        {"reset, no template", false, false, [](LightingController& c) { c.resetUserMode(); },
         Kind::TemplateUnreadable},
        {"reset, file unwritable", true, true, [](LightingController& c) { c.resetUserMode(); },
         Kind::NotSaved},
    };
    for (const Case& t : cases) {
        std::filesystem::remove_all(userFile(1));
        std::filesystem::remove_all(dir.file("Skins"));
        if (t.userFileIsFolder)
            std::filesystem::create_directories(userFile(1));
        else
            dir.write("UserDengColor_1.userd", "[PRESENTMODE]\nmode=0\n[Mode0]\n53=9,9,9,1\n");
        if (t.withTemplate)
            dir.write("Skins/UserDengColor_3.userd", "[PRESENTMODE]\nmode=0\n");
        LightingController& c = perKeyController();
        const Rgb colour = c.keyColour(kKeyA);
        const Brush brush = c.perKey().brush();
        t.act(c);
        EXPECT_TRUE(received().empty()) << t.name;
        EXPECT_EQ(c.keyColour(kKeyA), colour) << t.name;
        EXPECT_EQ(c.perKey().brush(), brush) << t.name;
        const auto failure = c.takeFileFailure();
        ASSERT_TRUE(failure) << t.name;
        EXPECT_EQ(failure->kind, t.kind) << t.name;
        EXPECT_EQ(failure->path,
                  t.kind == Kind::NotSaved ? userFile(1) : dir.file("Skins/UserDengColor_3.userd"))
            << t.name;
        EXPECT_FALSE(c.takeFileFailure()) << t.name << ": told once";
    }
}

TEST_F(PerKeyColoursTest, SeedingWithoutATemplateKeepsTheUserFiles) {
    const std::string own = "[PRESENTMODE]\nmode=0\n[Mode0]\njcolor=4,4,4\n53=1,2,3,0\n";
    dir.write("UserDengColor_0.userd", own);
    LightingController& c = makeController(0, blockWithEffects({20}), 20);
    c.reseedUserModes(0);
    EXPECT_EQ(c.keyColour(kKeyA), (Rgb{1, 2, 3}));
    EXPECT_EQ(dir.read("UserDengColor_0.userd"), own);
    // The brush is the lighting profile's, though profiles 1 and 2 were
    // loaded too.
    EXPECT_EQ(c.perKey().brush().baseColour, (Rgb{4, 4, 4}));

    dir.write("Skins/UserDengColor_3.userd",
              "[PRESENTMODE]\nmode=0\n[Mode0]\njcolor=8,8,8\n53=7,7,7,1\n");
    dir.write("UserDengColor_1.userd", "[PRESENTMODE]\nmode=0\n[Mode0]\njcolor=1,1,1\n");
    c.reseedUserModes(0);
    EXPECT_EQ(c.keyColour(kKeyA), (Rgb{7, 7, 7}));
    EXPECT_EQ(dir.read("UserDengColor_2.userd"), dir.read("Skins/UserDengColor_3.userd"));
    EXPECT_TRUE(received().empty());
    EXPECT_EQ(c.lightingProfile(), 0);
    EXPECT_EQ(c.perKey().brush().baseColour, (Rgb{8, 8, 8}));
}

}  // namespace
}  // namespace keyloom::testing
