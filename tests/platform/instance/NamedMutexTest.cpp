// The instance lock and the folder it lives in.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "platform/instance/InstanceFolder.h"
#include "platform/instance/NamedMutex.h"
#include "support/TempDir.h"

namespace keyloom::instance {
namespace {

using keyloom::testing::TempDir;
using testing::ChildProcess;

std::string ownPidLine() {
    return std::to_string(::getpid()) + "\n";
}

TEST(NamedMutex, FirstOpenOwnsAndStoresItsPidOthersSeeItExistUntilReleased) {
    TempDir dir;
    const std::string path = lockPathFor(dir.path(), kInstanceMutexName);
    EXPECT_EQ(path, dir.path() + "/keyloom-RX24P06C-1.lock");

    NamedMutex first = NamedMutex::acquire(path);
    ASSERT_EQ(first.state(), NamedMutex::State::Created);
    EXPECT_EQ(dir.read("keyloom-RX24P06C-1.lock"), ownPidLine());
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // A separate open is another holder, as a second process would be.
    NamedMutex second = NamedMutex::acquire(path);
    EXPECT_EQ(second.state(), NamedMutex::State::Exists);
    EXPECT_EQ(second.holderPid(), ::getpid());
    EXPECT_EQ(first.holderPid(), 0);  // only asked of a lock held elsewhere

    NamedMutex moved = std::move(first);
    EXPECT_TRUE(moved.owned());
    EXPECT_FALSE(first.owned());
    moved.release();
    EXPECT_EQ(dir.read("keyloom-RX24P06C-1.lock"), "");
    EXPECT_EQ(second.holderPid(), 0);
    EXPECT_EQ(NamedMutex::acquire(path).state(), NamedMutex::State::Created);
}

TEST(NamedMutex, LockOfAProcessThatDiedIsFreeDespiteItsStalePid) {
    TempDir dir;
    const std::string path = lockPathFor(dir.path(), kInstanceMutexName);
    ChildProcess crashed([&] {
        NamedMutex mine = NamedMutex::acquire(path);
        ::_exit(mine.owned() ? 7 : 1);  // no release: as a crash would leave it
        return 1;
    });
    const std::string childPid = std::to_string(crashed.pid()) + "\n";
    ASSERT_EQ(crashed.wait(), 7);
    EXPECT_EQ(dir.read("keyloom-RX24P06C-1.lock"), childPid);

    NamedMutex taken = NamedMutex::acquire(path);
    EXPECT_EQ(taken.state(), NamedMutex::State::Created);
    EXPECT_EQ(dir.read("keyloom-RX24P06C-1.lock"), ownPidLine());
}

TEST(NamedMutex, UnusableOrLinkedLockFileGivesNoLock) {
    TempDir dir;
    EXPECT_EQ(NamedMutex::acquire(dir.file("missing/x.lock")).state(),
              NamedMutex::State::Unavailable);
    // A link planted in place of the lock file is not followed.
    dir.write("elsewhere", "keep");
    ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), dir.file("x.lock").c_str()), 0);
    NamedMutex linked = NamedMutex::acquire(dir.file("x.lock"));
    EXPECT_EQ(linked.state(), NamedMutex::State::Unavailable);
    EXPECT_EQ(linked.holderPid(), 0);
    EXPECT_EQ(dir.read("elsewhere"), "keep");
}

TEST(NamedMutex, StoredPidsAreReadStrictly) {
    EXPECT_EQ(parseStoredPid("4242\n"), 4242);
    EXPECT_EQ(parseStoredPid("17"), 17);
    for (std::string_view bad :
         {"", "\n", "0", "-5", "12 ", " 12", "1x", "99999999999", "2147483648", "12\n\n"})
        EXPECT_EQ(parseStoredPid(bad), 0) << bad;
}

class InstanceFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        hadRuntime_ = old != nullptr;
        saved_ = old ? old : "";
    }
    void TearDown() override {
        if (hadRuntime_)
            ::setenv("XDG_RUNTIME_DIR", saved_.c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

private:
    bool hadRuntime_ = false;
    std::string saved_;
};

TEST_F(InstanceFolderTest, RuntimeFolderIsUsedOnlyWhenPrivate) {
    TempDir dir;
    ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    EXPECT_EQ(instanceFolder(), dir.path());

    const std::string fallback = "/tmp/keyloom-" + std::to_string(::geteuid());
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    EXPECT_EQ(instanceFolder(), fallback);
    ::setenv("XDG_RUNTIME_DIR", "relative/run", 1);
    EXPECT_EQ(instanceFolder(), fallback);
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(instanceFolder(), fallback);
    EXPECT_TRUE(isPrivateFolder(fallback));
}

TEST_F(InstanceFolderTest, FoldersOthersCanWriteOrThatAreLinksAreRefused) {
    TempDir dir;
    const std::string folder = dir.file("run");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    EXPECT_TRUE(isPrivateFolder(folder));
    ASSERT_EQ(::chmod(folder.c_str(), 0720), 0);
    EXPECT_FALSE(isPrivateFolder(folder));
    ASSERT_EQ(::chmod(folder.c_str(), 0702), 0);
    EXPECT_FALSE(isPrivateFolder(folder));
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    EXPECT_TRUE(isPrivateFolder(folder));  // readable by others is fine

    ASSERT_EQ(::symlink(folder.c_str(), dir.file("link").c_str()), 0);
    EXPECT_FALSE(isPrivateFolder(dir.file("link")));
    EXPECT_FALSE(isPrivateFolder(dir.write("plain", "")));
    EXPECT_FALSE(isPrivateFolder(""));

    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(folder.c_str(), 12345, 12345), 0);
        EXPECT_FALSE(isPrivateFolder(folder));
    }
}

TEST(InstanceFolder, NamesKeepOnlySafeCharacters) {
    EXPECT_EQ(socketPathFor("/run/user/5", "RX24P06C-1"), "/run/user/5/keyloom-RX24P06C-1.sock");
    EXPECT_EQ(lockPathFor("/r", "../a b/c"), "/r/keyloom-.._a_b_c.lock");
}

}  // namespace
}  // namespace keyloom::instance
