#include <gtest/gtest.h>

#include "storage/SkinGeometry.h"
#include "storage/SkinScreen.h"
#include "storage/UserSettings.h"
#include "support/TempDir.h"

namespace keyloom {
namespace {

using keyloom::testing::TempDir;

TEST(SkinGeometry, ParsesLikeScanfWithZeroForWhatFails) {
    struct Case {
        const char* text;
        SkinGeometry expected;
    };
    const Case cases[] = {
        {"10,20,30,40", {10, 20, 30, 40}},
        {"1,1,1,1,x", {1, 1, 1, 1}},
        {" 10, 20,\t30, 40 trailing", {10, 20, 30, 40}},
        {"-5,+6,7,8", {-5, 6, 7, 8}},
        {"10,20", {10, 20, 0, 0}},
        {"10 ,20,30,40", {10, 0, 0, 0}},  // the comma must follow the number
        {"10,x,30,40", {10, 0, 0, 0}},    // scanning stops at the first failure
        {"", {0, 0, 0, 0}},
        {"abc", {0, 0, 0, 0}},
        {"12.5,3,4,5", {12, 0, 0, 0}},
        {"99999999999,-99999999999,1,1", {2147483647, -2147483647 - 1, 1, 1}},
        {"1,1,-50,-60", {1, 1, 0, 0}},
        {"3,4,5,6,7,8", {3, 4, 5, 6}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseSkinGeometry(c.text), c.expected) << c.text;
}

TEST(SkinGeometry, ReadsKeysWithTheMissingDefault) {
    TempDir dir;
    auto skin = dir.write("Skins/Main.ini",
                          "[BUTTONINFO]\nKEY_01E=10,20,30,40\nFUNC_G1=1,1,50,50\nbroken=oops\n");
    SkinGeometry a = readSkinGeometry(skin, "BUTTONINFO", "KEY_01E");
    EXPECT_EQ(a, (SkinGeometry{10, 20, 30, 40}));
    EXPECT_FALSE(isDisabledPlacement(a));
    EXPECT_EQ(pictureRectOf(a), (PictureRect{9, 19, 30, 40}));

    SkinGeometry g1 = readSkinGeometry(skin, "BUTTONINFO", "FUNC_G1");
    EXPECT_TRUE(isDisabledPlacement(g1));  // disabled even with a real size

    SkinGeometry missing = readSkinGeometry(skin, "BUTTONINFO", "KEY_FN");
    EXPECT_EQ(missing, (SkinGeometry{1, 1, 1, 1}));
    EXPECT_TRUE(isDisabledPlacement(missing));
    EXPECT_EQ(readSkinGeometry(dir.file("none.ini"), "BUTTONINFO", "KEY_01E"),
              (SkinGeometry{1, 1, 1, 1}));
    EXPECT_EQ(readSkinGeometry(skin, "BUTTONINFO", "broken"), (SkinGeometry{0, 0, 0, 0}));
}

TEST(SkinGeometry, KeyButtonNamesFoldExtendedCodes) {
    EXPECT_EQ(keyButtonSkinKey(0x01E), "KEY_01E");
    EXPECT_EQ(keyButtonSkinKey(0x137), "KEY_0B7");
    EXPECT_EQ(keyButtonSkinKey(0x11D), "KEY_09D");
    EXPECT_EQ(keyButtonSkinKey(0x001), "KEY_001");
}

TEST(SkinScreen, MaskDefaultsToMainAndLinksToOurAddress) {
    TempDir dir;
    auto skin = dir.write("Skins/Main.ini",
                          "[SCREEN]\nMain=main_normal.jpg\nLink=https://example.org/a\nLink2=\n"
                          "[BUTTONINFO2]\nUP_ARROW_LEFT1=15,25,3,3\n");
    SkinScreen screen = readSkinScreen(skin);
    EXPECT_EQ(screen.mainPicture, "main_normal.jpg");
    EXPECT_EQ(screen.maskPicture, "main_normal.jpg");
    EXPECT_EQ(screen.mainPicturePath, dir.path() + "/Skins/main_normal.jpg");
    EXPECT_EQ(screen.maskPicturePath, dir.path() + "/Skins/main_normal.jpg");

    auto links = readSkinLinks(skin);
    EXPECT_EQ(links[0], "https://example.org/a");
    EXPECT_EQ(links[1], kDefaultWebAddress);
    EXPECT_EQ(links[2], "");

    auto offset = readPictureOffset(skin, "BUTTONINFO2", arrowOffsetKey("UP_ARROW_LEFT", 1));
    EXPECT_EQ(offset.x, 15);
    EXPECT_EQ(offset.y, 25);
    auto missingOffset = readPictureOffset(skin, "BUTTONINFO2", "DOWN_ARROW_RIGHT2");
    EXPECT_EQ(missingOffset.x, 1);
    EXPECT_EQ(missingOffset.y, 1);

    auto other = dir.write("Skins/Profile.ini", "[SCREEN]\nMain=p.jpg\nMask=mask.bmp\n");
    EXPECT_EQ(readSkinScreen(other).maskPicturePath, dir.path() + "/Skins/mask.bmp");
    SkinScreen none = readSkinScreen(dir.file("Skins/none.ini"));
    EXPECT_EQ(none.mainPicture, "");
    EXPECT_EQ(none.mainPicturePath, "");
}

TEST(UserSettings, LightingViewSwitchDefaultsOffAndCreatesTheFile) {
    TempDir dir;
    auto file = dir.file("tzkb.ini");
    EXPECT_FALSE(readLightingView(file));
    ASSERT_TRUE(writeLightingView(file, true));
    EXPECT_TRUE(readLightingView(file));
    EXPECT_EQ(dir.read("tzkb.ini"), "[KEYCOLOR]\nDengCheck=1\n");
    ASSERT_TRUE(writeLightingView(file, false));
    EXPECT_FALSE(readLightingView(file));
    dir.write("tzkb.ini", "[keycolor]\ndengcheck=2\n");
    EXPECT_FALSE(readLightingView(file));
    EXPECT_FALSE(writeLightingView(dir.file("missing/tzkb.ini"), true));
}

}  // namespace
}  // namespace keyloom
