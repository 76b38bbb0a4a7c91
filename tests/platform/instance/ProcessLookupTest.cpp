// Finding the running instance's process through /proc.

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "platform/instance/ProcessLookup.h"
#include "support/TempDir.h"

namespace keyloom::instance {
namespace {

using keyloom::testing::TempDir;
using testing::ChildProcess;
using testing::sleepForever;

// A stand-in for /proc: one folder per process with its "exe" link.
class FakeProc {
public:
    void process(pid_t pid, const std::string& exe) {
        const std::string folder = dir_.file(std::to_string(pid));
        ::mkdir(folder.c_str(), 0755);
        if (!exe.empty()) {
            ASSERT_EQ(::symlink(exe.c_str(), (folder + "/exe").c_str()), 0);
        }
    }
    const std::string& root() const { return dir_.path(); }
    TempDir& dir() { return dir_; }

private:
    TempDir dir_;
};

TEST(ProcessLookup, LowestOtherProcessRunningTheProgramFileMatches) {
    FakeProc proc;
    proc.process(1, "/sbin/init");
    proc.process(9000, "/opt/x/keyloom");
    proc.process(250, "/usr/bin/KeyLoom");
    proc.process(30, "/usr/bin/keyloom-helper");
    proc.process(31, "/keyloom/bin/other");
    proc.process(40, "");  // a kernel thread: no exe
    proc.dir().write("self/exe-not-a-link", "");
    proc.dir().write("locks", "");
    EXPECT_EQ(findInstanceProcess("keyloom", proc.root()), 250);
    EXPECT_EQ(findInstanceProcess("KEYLOOM", proc.root()), 250);
    EXPECT_EQ(findInstanceProcess("init", proc.root()), 1);
    EXPECT_EQ(findInstanceProcess("keyloom.exe", proc.root()), 0);
    EXPECT_EQ(findInstanceProcess("", proc.root()), 0);
}

TEST(ProcessLookup, AReplacedProgramFileStillCountsButThisProcessNever) {
    FakeProc proc;
    proc.process(::getpid(), "/usr/bin/keyloom");
    EXPECT_EQ(findInstanceProcess("keyloom", proc.root()), 0);
    proc.process(::getpid() + 1, "/usr/bin/keyloom (deleted)");
    EXPECT_EQ(findInstanceProcess("keyloom", proc.root()), ::getpid() + 1);
}

TEST(ProcessLookup, UnreadableProcessTableFindsNothing) {
    EXPECT_EQ(findInstanceProcess("keyloom", "/nonexistent/proc"), 0);
}

TEST(ProcessLookup, FindsAnotherRealProcessOfThisProgram) {
    const std::string program = currentProgramFileName();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.find('/'), std::string::npos);
    EXPECT_EQ(findInstanceProcess(program + "-no-such-program"), 0);

    ChildProcess child([]() -> int { sleepForever(); });
    ASSERT_GT(child.pid(), 0);
    // The child runs this test program; so may other test runs in parallel.
    pid_t found = findInstanceProcess(program);
    EXPECT_NE(found, 0);
    EXPECT_NE(found, ::getpid());
    EXPECT_TRUE(isProcessAlive(child.pid()));
    const pid_t gone = child.pid();
    child.kill();
    EXPECT_FALSE(isProcessAlive(gone));
    EXPECT_FALSE(isProcessAlive(0));
    EXPECT_FALSE(isProcessAlive(-1));
}

}  // namespace
}  // namespace keyloom::instance
