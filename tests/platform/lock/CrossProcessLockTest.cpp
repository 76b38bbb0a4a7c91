// Exclusion between processes (and between separate opens of the lock file).

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/lock/CrossProcessLock.h"
#include "support/TempDir.h"

namespace keyloom::lock {
namespace {

TEST(CrossProcessLock, NamesAreDerivedFromTheKeyWithUnsafeCharactersReplaced) {
    EXPECT_EQ(lockFileNameFor("/dev/hidraw3"), "keyloom-_dev_hidraw3.lock");
    EXPECT_EQ(lockFileNameFor("../x y"), "keyloom-.._x_y.lock");
}

TEST(CrossProcessLock, FileIsPrivateAndSeparateOpensExcludeEachOther) {
    testing::TempDir dir;
    CrossProcessLock first(dir.file("a.lock"));
    CrossProcessLock second(dir.file("a.lock"));
    ASSERT_TRUE(first.valid());
    ASSERT_TRUE(second.valid());
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("a.lock").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    first.lock();
    EXPECT_FALSE(second.try_lock());
    first.unlock();
    EXPECT_TRUE(second.try_lock());
    EXPECT_FALSE(first.try_lock());
    second.unlock();
}

TEST(CrossProcessLock, AChildProcessCannotTakeTheLockWhileTheParentHoldsIt) {
    testing::TempDir dir;
    CrossProcessLock held(dir.file("b.lock"));
    held.lock();
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CrossProcessLock mine(dir.file("b.lock"));
        ::_exit(mine.valid() && !mine.try_lock() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    held.unlock();
}

TEST(CrossProcessLock, UnusableLockFileDegradesToANoOp) {
    CrossProcessLock missing("/nonexistent-folder/for/keyloom.lock");
    EXPECT_FALSE(missing.valid());
    missing.lock();  // must not block or fail
    EXPECT_TRUE(missing.try_lock());
    missing.unlock();
}

TEST(CrossProcessLock, RuntimeFolderFallsBackToAPrivateTmpFolder) {
    testing::TempDir dir;
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = old ? old : "";
    ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
    EXPECT_EQ(runtimeLockFolder(), dir.path());
    ::setenv("XDG_RUNTIME_DIR", "relative/path", 1);
    const std::string fallback = "/tmp/keyloom-" + std::to_string(::geteuid());
    EXPECT_EQ(runtimeLockFolder(), fallback);
    struct stat info {};
    ASSERT_EQ(::lstat(fallback.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0077, 0u);
    CrossProcessLock lock = CrossProcessLock::forKey("/dev/hidraw9");
    EXPECT_TRUE(lock.valid());
    EXPECT_EQ(lock.path(), fallback + "/keyloom-_dev_hidraw9.lock");
    if (old)
        ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace keyloom::lock
