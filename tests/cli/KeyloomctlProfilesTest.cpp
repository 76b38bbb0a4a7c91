// keyloomctl profiles and firmware-mode against a simulated keyboard: the
// stored profile list as the profile manager writes it, and the boot-mode
// report sent only when asked for, after the settings are on disk.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "platform/registry/Registry.h"
#include "storage/AppProfile.h"
#include "storage/SettingsKey.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

constexpr const char* kBootModeReport = "> 040000eeee00";

class KeyloomctlProfiles : public ::testing::Test {
protected:
    // The registry lives below the test's own config folder.
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            oldConfig_ = old;
        setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    }
    void TearDown() override {
        if (oldConfig_)
            setenv("XDG_CONFIG_HOME", oldConfig_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }
    CliRun run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--simulate", "0c45:652f:" + dir.file("kb.state"), "--data-dir",
                                   dir.file("data"), "--trace", "trace.txt"});
        return runKeyloomctl(args, dir.path());
    }
    void store(int number, const std::string& value) {
        registry::Registry registry(dir.file("config/ORVK_Keyboard/registry.ini"));
        ASSERT_TRUE(
            writeAppString(registry, kProfilesSection, profileListValueName(number), value));
    }
    std::vector<std::string> backups() {
        std::vector<std::string> found;
        if (std::filesystem::exists(dir.file("data")))
            for (const auto& entry : std::filesystem::directory_iterator(dir.file("data")))
                if (entry.path().filename().string().starts_with("before-update-"))
                    found.push_back(entry.path().string());
        return found;
    }
    bool bootModeSent() {
        return std::filesystem::exists(dir.file("trace.txt")) &&
               dir.read("trace.txt").find(kBootModeReport) != std::string::npos;
    }

    TempDir dir;

private:
    std::optional<std::string> oldConfig_;
};

TEST_F(KeyloomctlProfiles, ProfilesPrintsTheStoredListAndTheActiveProfile) {
    CliRun empty = run({"profiles"});
    ASSERT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_NE(empty.out.find("No profile list stored"), std::string::npos) << empty.out;

    store(0, "3");
    store(1, "/d/Profile 1.klm");
    store(2, "/home/u/fps.klm");  // row 3 is missing
    CliRun text = run({"profiles"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("2  /home/u/fps.klm"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("3  (missing)"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Active on-board profile: 1"), std::string::npos) << text.out;

    CliRun json = run({"profiles", "--json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("\"count\": 3"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"/d/Profile 1.klm\""), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"activeProfile\": 1"), std::string::npos) << json.out;
    EXPECT_FALSE(bootModeSent());
}

TEST_F(KeyloomctlProfiles, DamagedListIsReportedWithWhereItIsKept) {
    const std::string file = dir.file("config/ORVK_Keyboard/registry.ini");
    std::filesystem::create_directories(dir.file("config/ORVK_Keyboard"));
    dir.write("config/ORVK_Keyboard/registry.ini", "[Software\\ORVK_Keyboard]\njunk\n");
    CliRun damaged = run({"profiles"});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_NE(damaged.err.find(file + " is damaged"), std::string::npos) << damaged.err;
    EXPECT_NE(damaged.err.find(file + ".damaged-1"), std::string::npos) << damaged.err;
    EXPECT_EQ(damaged.out.find("No profile list stored"), std::string::npos) << damaged.out;

    // Once a setting was stored, the list is gone from the registry but the
    // kept copy is named.
    registry::Registry registry(file);
    ASSERT_TRUE(registry.writeDword(kSettingsKeyPath, kLanguageIdValue, 0x0409));
    CliRun kept = run({"profiles"});
    EXPECT_EQ(kept.exitCode, 0) << kept.err;
    EXPECT_NE(kept.out.find("kept as " + file + ".damaged-1"), std::string::npos) << kept.out;
}

TEST_F(KeyloomctlProfiles, FirmwareModeSendsNothingWithoutYes) {
    CliRun dry = run({"firmware-mode"});
    EXPECT_EQ(dry.exitCode, 2);
    EXPECT_NE(dry.err.find("--yes"), std::string::npos) << dry.err;
    EXPECT_FALSE(bootModeSent());
    EXPECT_TRUE(backups().empty());
    EXPECT_EQ(run({"firmware-mode", "--force"}).exitCode, 2);
}

TEST_F(KeyloomctlProfiles, FirmwareModeSavesTheSettingsBeforeTheBootModeReport) {
    CliRun go = run({"firmware-mode", "--yes"});
    ASSERT_EQ(go.exitCode, 0) << go.err;
    EXPECT_NE(go.out.find("waits for its updater"), std::string::npos) << go.out;
    EXPECT_TRUE(bootModeSent());
    const std::vector<std::string> saved = backups();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_NE(go.out.find(saved[0]), std::string::npos) << "says where the settings went";
    EXPECT_EQ(runKeyloomctl({"validate", saved[0]}, dir.path()).exitCode, 0);
}

}  // namespace
}  // namespace keyloom::testing
