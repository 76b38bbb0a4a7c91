#include "storage/AppPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/fs/FileIo.h"
#include "support/TempDir.h"

namespace keyloom {
namespace {

using keyloom::testing::TempDir;

AppPathsOptions optionsFor(const std::string& executable, paths::UserEnvironment env) {
    AppPathsOptions options;
    options.executablePath = executable;
    options.environment = std::move(env);
    return options;
}

TEST(AppPaths, BuildTreeWithSkinsIsTheProgramFolder) {
    TempDir dir;
    dir.write("build/Skins/Main.ini", "");
    AppPaths p;
    ASSERT_EQ(
        buildAppPaths(
            optionsFor(dir.file("build/keyloom"), {"/home/ann", std::nullopt, std::nullopt}), p),
        AppPathsStatus::Ok);
    std::string prog = dir.path() + "/build/";
    EXPECT_EQ(p.programFileName, "keyloom");
    EXPECT_EQ(p.programFolder, prog);
    EXPECT_EQ(p.helpFolder, prog + "Help/");
    EXPECT_EQ(p.skinFolder, prog + "Skins/");
    EXPECT_EQ(p.mainSkinFile, prog + "Skins/Main.ini");
    EXPECT_EQ(p.compositeSkinFile, prog + "Skins/Composite.ini");
    EXPECT_EQ(p.profileSkinFile, prog + "Skins/Profile.ini");
    EXPECT_EQ(p.updateSkinFile, prog + "Skins/UpdateDlg.ini");
    EXPECT_EQ(p.userModeTemplatePrefix, prog + "Skins/UserDengColor_");
    EXPECT_EQ(p.firmwarePackageFolder, prog + "Package/");
    EXPECT_EQ(p.companionProgram, prog + "KbDaemon");
    EXPECT_EQ(p.dataFolder, "/home/ann/.local/share/ORVK_Keyboard");
    EXPECT_EQ(p.settingsFile, "/home/ann/.local/share/ORVK_Keyboard/tzkb.ini");
    EXPECT_EQ(p.userModeFilePrefix, "/home/ann/.local/share/ORVK_Keyboard/UserDengColor_");
    EXPECT_EQ(p.registryFile, "/home/ann/.config/ORVK_Keyboard/registry.ini");
}

TEST(AppPaths, InstalledBuildUsesShareKeyloomAndXdgFolders) {
    TempDir dir;
    dir.write("usr/bin/keyloom", "");
    AppPaths p;
    ASSERT_EQ(buildAppPaths(
                  optionsFor(dir.file("usr/bin/keyloom"), {"/home/ann", "/x/data", "/x/cfg"}), p),
              AppPathsStatus::Ok);
    EXPECT_EQ(p.programFolder, dir.path() + "/usr/share/keyloom/");
    EXPECT_EQ(p.companionProgram, dir.path() + "/usr/bin/KbDaemon");
    EXPECT_EQ(p.dataFolder, "/x/data/ORVK_Keyboard");
    EXPECT_EQ(p.registryFile, "/x/cfg/ORVK_Keyboard/registry.ini");
}

TEST(AppPaths, OverridesForDataFolderProgramFolderAndRegistry) {
    AppPathsOptions options =
        optionsFor("/opt/kl/bin/keyloomctl", {std::nullopt, std::nullopt, std::nullopt});
    options.programFolder = "/srv/prog";
    options.dataFolder = "/srv/data//";
    options.registryFile = "/srv/registry.ini";
    AppPaths p;
    ASSERT_EQ(buildAppPaths(options, p), AppPathsStatus::Ok);
    EXPECT_EQ(p.programFolder, "/srv/prog/");
    EXPECT_EQ(p.mainSkinFile, "/srv/prog/Skins/Main.ini");
    EXPECT_EQ(p.dataFolder, "/srv/data");
    EXPECT_EQ(p.settingsFile, "/srv/data/tzkb.ini");
    EXPECT_EQ(p.registryFile, "/srv/registry.ini");
}

TEST(AppPaths, RefusesWhatItCannotBuild) {
    AppPaths p;
    p.programFolder = "untouched";
    EXPECT_EQ(
        buildAppPaths(optionsFor("/bin/keyloom", {std::nullopt, std::nullopt, std::nullopt}), p),
        AppPathsStatus::NoHomeFolder);
    EXPECT_EQ(buildAppPaths(optionsFor("keyloom", {"/home/ann", std::nullopt, std::nullopt}), p),
              AppPathsStatus::NoExecutable);

    // A data folder that fits but leaves no room for the file names in it.
    AppPathsOptions options = optionsFor("/bin/keyloom", {"/home/ann", std::nullopt, std::nullopt});
    options.dataFolder = "/" + std::string(4090, 'd');
    EXPECT_EQ(buildAppPaths(options, p), AppPathsStatus::PathTooLong);
    options.dataFolder.clear();
    options.environment =
        paths::UserEnvironment{"/" + std::string(5000, 'h'), std::nullopt, std::nullopt};
    EXPECT_EQ(buildAppPaths(options, p), AppPathsStatus::PathTooLong);
    EXPECT_EQ(p.programFolder, "untouched");
    EXPECT_STRNE(describeAppPathsStatus(AppPathsStatus::PathTooLong), "");
}

TEST(AppPaths, RunningExecutableIsFoundWithoutOptions) {
    AppPathsOptions options;
    options.environment = paths::UserEnvironment{"/home/ann", std::nullopt, std::nullopt};
    AppPaths p;
    ASSERT_EQ(buildAppPaths(options, p), AppPathsStatus::Ok);
    EXPECT_EQ(p.programFileName, "keyloom_tests_storage");
}

TEST(AppPaths, DataFolderIsSeededOnceFromTheTemplate) {
    TempDir dir;
    dir.write("prog/Skins/UserDengColor_3.userd", "[PRESENTMODE]\nmode=0\n");
    AppPathsOptions options =
        optionsFor(dir.file("prog/keyloom"), {"/home/ann", std::nullopt, std::nullopt});
    options.dataFolder = dir.file("data/ORVK_Keyboard");
    AppPaths p;
    ASSERT_EQ(buildAppPaths(options, p), AppPathsStatus::Ok);
    ASSERT_TRUE(prepareDataFolder(p));
    for (const char* name : {"0", "1", "2"}) {
        EXPECT_EQ(dir.read(std::string("data/ORVK_Keyboard/UserDengColor_") + name + ".userd"),
                  "[PRESENTMODE]\nmode=0\n");
    }
    // An existing folder is left as it is, even with files missing.
    std::filesystem::remove(dir.file("data/ORVK_Keyboard/UserDengColor_1.userd"));
    ASSERT_TRUE(prepareDataFolder(p));
    EXPECT_FALSE(fs::fileExists(dir.file("data/ORVK_Keyboard/UserDengColor_1.userd")));
}

TEST(AppPaths, MissingTemplateStillCreatesTheFolder) {
    TempDir dir;
    AppPathsOptions options =
        optionsFor(dir.file("prog/keyloom"), {"/home/ann", std::nullopt, std::nullopt});
    options.dataFolder = dir.file("data/ORVK_Keyboard");
    AppPaths p;
    ASSERT_EQ(buildAppPaths(options, p), AppPathsStatus::Ok);
    EXPECT_TRUE(prepareDataFolder(p));
    EXPECT_TRUE(std::filesystem::is_directory(p.dataFolder));
    EXPECT_FALSE(fs::fileExists(p.userModeFilePrefix + "0.userd"));
}

}  // namespace
}  // namespace keyloom
