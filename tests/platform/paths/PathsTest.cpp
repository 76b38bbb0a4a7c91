#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/paths/PathRules.h"
#include "platform/paths/ProgramFolder.h"
#include "platform/paths/UserFolders.h"
#include "support/TempDir.h"

namespace keyloom::paths {
namespace {

using keyloom::testing::TempDir;

TEST(UserFolders, XdgVariablesWinWhenAbsolute) {
    UserEnvironment env{"/home/ann", "/data/xdg", "/cfg/xdg/"};
    EXPECT_EQ(dataHome(env), "/data/xdg");
    EXPECT_EQ(configHome(env), "/cfg/xdg");
}

TEST(UserFolders, DefaultsUnderHomeWhenUnsetEmptyOrRelative) {
    UserEnvironment unset{"/home/ann", std::nullopt, std::nullopt};
    EXPECT_EQ(dataHome(unset), "/home/ann/.local/share");
    EXPECT_EQ(configHome(unset), "/home/ann/.config");
    UserEnvironment relative{"/home/ann/", "", "relative/cfg"};
    EXPECT_EQ(dataHome(relative), "/home/ann/.local/share");
    EXPECT_EQ(configHome(relative), "/home/ann/.config");
}

TEST(UserFolders, NothingWithoutHomeOrVariable) {
    UserEnvironment none{std::nullopt, std::nullopt, "rel"};
    EXPECT_EQ(dataHome(none), "");
    EXPECT_EQ(configHome(none), "");
}

TEST(UserFolders, ProcessEnvironmentAlwaysHasAHome) {
    EXPECT_TRUE(processEnvironment().home.has_value());
}

TEST(PathRules, NormalizesFoldersAndSplitsNames) {
    EXPECT_EQ(normalizeFolder("/a//b///c/"), "/a/b/c");
    EXPECT_EQ(normalizeFolder("/"), "/");
    EXPECT_EQ(normalizeFolder("/a/./b/."), "/a/b");
    std::string cwd = normalizeFolder(".");
    EXPECT_EQ(normalizeFolder("x/y"), cwd + "/x/y");
    EXPECT_EQ(parentFolder("/a/b/keyloom"), "/a/b");
    EXPECT_EQ(parentFolder("/keyloom"), "/");
    EXPECT_EQ(parentFolder("keyloom"), "");
    EXPECT_EQ(fileNameOf("/a/b/keyloom"), "keyloom");
    EXPECT_TRUE(fitsPathLimit(std::string(4095, 'a')));
    EXPECT_FALSE(fitsPathLimit(std::string(4096, 'a')));
}

TEST(ProgramFolder, ExecutableFolderWhenItHoldsSkins) {
    TempDir dir;
    dir.write("build/Skins/Main.ini", "");
    EXPECT_EQ(programFolderFor(dir.file("build")), dir.path() + "/build/");
    EXPECT_EQ(programFolderFor(dir.file("build") + "/"), dir.path() + "/build/");
}

TEST(ProgramFolder, InstalledShareFolderOtherwise) {
    TempDir dir;
    dir.write("usr/bin/keyloom", "");
    dir.write("usr/share/keyloom/Skins/Main.ini", "");
    EXPECT_EQ(programFolderFor(dir.file("usr/bin")), dir.path() + "/usr/share/keyloom/");
    // Without Skins anywhere the installed location is still the answer.
    dir.write("opt/kl/bin/keyloom", "");
    EXPECT_EQ(programFolderFor(dir.file("opt/kl/bin")), dir.path() + "/opt/kl/share/keyloom/");
}

TEST(ProgramFolder, ExecutablePathIsThisTestProgram) {
    std::string exe = executablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_EQ(exe.front(), '/');
    EXPECT_EQ(::access(exe.c_str(), X_OK), 0);
}

}  // namespace
}  // namespace keyloom::paths
