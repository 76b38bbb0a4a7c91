#include "storage/AppProfile.h"

#include <gtest/gtest.h>

#include "storage/SettingsKey.h"
#include "support/TempDir.h"

namespace keyloom {
namespace {

using keyloom::testing::TempDir;

TEST(AppProfile, ValuesLiveUnderTheApplicationTitle) {
    TempDir dir;
    registry::Registry reg(dir.file("registry.ini"));
    ASSERT_TRUE(writeAppInt(reg, kProfilesSection, kTopRowSwitchValue, 1));
    ASSERT_TRUE(writeAppString(reg, kProfilesSection, profileListValueName(1), "/home/a/x.klm"));
    std::string text;
    ASSERT_EQ(
        reg.readString("Software\\ORVK_Keyboard\\Orvane Compact Keyboard\\PROFILES", "Flip", text),
        registry::ValueState::Present);
    EXPECT_EQ(text, "1");
    EXPECT_EQ(readAppString(reg, "profiles", "PROFILE01", ""), "/home/a/x.klm");
    EXPECT_EQ(profileListValueName(0), "PROFILE00");
    EXPECT_EQ(profileListValueName(12), "PROFILE12");
}

TEST(AppProfile, NumbersFromTextOrDwordAndDefaultsWhenMissing) {
    TempDir dir;
    registry::Registry reg(dir.file("registry.ini"));
    std::string key = applicationSectionPath(kProfilesSection);
    EXPECT_EQ(readAppInt(reg, kProfilesSection, "Flip", 0), 0);
    ASSERT_TRUE(reg.writeDword(key, "Flip", 1));
    EXPECT_EQ(readAppInt(reg, kProfilesSection, "Flip", 0), 1);
    ASSERT_TRUE(reg.writeString(key, "Flip", "7 apples"));
    EXPECT_EQ(readAppInt(reg, kProfilesSection, "Flip", 0), 7);
    ASSERT_TRUE(reg.writeString(key, "Flip", "none"));
    EXPECT_EQ(readAppInt(reg, kProfilesSection, "Flip", 5), 0);
    EXPECT_EQ(readAppString(reg, kProfilesSection, "Missing", "dflt"), "dflt");
}

}  // namespace
}  // namespace keyloom
