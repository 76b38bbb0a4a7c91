// The autostart entry: where it goes, what it runs, and switching it on and off.

#include <gtest/gtest.h>

#include "storage/Autostart.h"
#include "support/TempDir.h"

namespace keyloom {
namespace {

using testing::TempDir;

TEST(Autostart, TheEntryLivesInTheConfigFoldersAutostartFolder) {
    EXPECT_EQ(autostartPath({"/home/u", std::nullopt, "/cfg"}), "/cfg/autostart/keyloom.desktop");
    EXPECT_EQ(autostartPath({"/home/u", std::nullopt, std::nullopt}),
              "/home/u/.config/autostart/keyloom.desktop");
    EXPECT_EQ(autostartPath({std::nullopt, std::nullopt, std::nullopt}), "");
}

TEST(Autostart, ExecStartsTheProgramHiddenQuotedAsDesktopEntriesRequire) {
    const std::pair<std::string, std::string> cases[] = {
        {"/usr/bin/keyloom", "Exec=/usr/bin/keyloom --start\n"},
        {"/opt/my apps/keyloom", "Exec=\"/opt/my apps/keyloom\" --start\n"},
        {"/opt/$x\"100%", "Exec=\"/opt/\\\\$x\\\\\"100%%\" --start\n"},
        {"/opt/a\\b", "Exec=\"/opt/a\\\\\\\\b\" --start\n"},
    };
    for (const auto& [program, exec] : cases) {
        const std::string text = autostartEntryText(program);
        EXPECT_NE(text.find(exec), std::string::npos) << text;
        EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    }
}

TEST(Autostart, OnWritesTheEntryAndOffRemovesIt) {
    TempDir dir;
    const std::string path = autostartPath({std::nullopt, std::nullopt, dir.file("cfg")});
    EXPECT_FALSE(autostartEnabled(path));
    ASSERT_TRUE(setAutostart(path, true, "/usr/bin/keyloom"));
    EXPECT_TRUE(autostartEnabled(path));
    EXPECT_EQ(dir.read("cfg/autostart/keyloom.desktop"), autostartEntryText("/usr/bin/keyloom"));
    ASSERT_TRUE(setAutostart(path, false, ""));
    EXPECT_FALSE(autostartEnabled(path));
    // Off again is no failure.
    EXPECT_TRUE(setAutostart(path, false, ""));
}

}  // namespace
}  // namespace keyloom
