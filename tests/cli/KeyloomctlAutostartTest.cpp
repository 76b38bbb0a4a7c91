// keyloomctl autostart: on, status and off against the user's config folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cli/CliRunner.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

TEST(KeyloomctlAutostart, OnWritesTheEntryOffRemovesItStatusTells) {
    TempDir dir;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", dir.file("cfg").c_str(), 1);
    const std::string entry = dir.file("cfg/autostart/keyloom.desktop");

    EXPECT_EQ(runKeyloomctl({"autostart", "on"}, dir.path()).exitCode, 0);
    ASSERT_TRUE(std::filesystem::exists(entry));
    // The window program beside keyloomctl, started hidden.
    EXPECT_NE(dir.read("cfg/autostart/keyloom.desktop").find("keyloom --start\n"),
              std::string::npos);
    EXPECT_NE(runKeyloomctl({"autostart", "status"}, dir.path()).out.find(": on"),
              std::string::npos);
    EXPECT_EQ(runKeyloomctl({"autostart", "off"}, dir.path()).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_NE(runKeyloomctl({"autostart", "status"}, dir.path()).out.find(": off"),
              std::string::npos);
    EXPECT_EQ(runKeyloomctl({"autostart", "maybe"}, dir.path()).exitCode, 2);

    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace keyloom::testing
