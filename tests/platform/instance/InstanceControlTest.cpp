// Instance control across real processes: a forked child is the running
// instance, the test process is the later start.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "platform/instance/InstanceControl.h"
#include "support/TempDir.h"

namespace keyloom::instance {
namespace {

using keyloom::testing::TempDir;
using testing::ChildProcess;
using testing::sleepForever;
using testing::StatusPipe;
using namespace std::chrono_literals;

constexpr char kPrimary = 'P';
constexpr char kNotPrimary = 'N';

StartupArguments arguments(std::vector<std::string_view> list) {
    return parseStartupArguments(list);
}

void appendLine(const std::string& path, std::string_view line) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    std::string text = std::string(line) + "\n";
    [[maybe_unused]] ssize_t written = ::write(fd, text.data(), text.size());
    ::close(fd);
}

class InstanceControlTest : public ::testing::Test {
protected:
    InstanceSettings settings() const {
        InstanceSettings s;
        s.folder = dir.path();
        // Never matches a real process, so only the lock file names the
        // instance (other runs of this test program may be about).
        s.programFileName = "keyloom-instance-test-no-such-program";
        return s;
    }
    std::string log() const { return dir.read("handled.log"); }

    // A child that becomes the running instance and records each request it
    // handles, ending after KILL as the program's shutdown would.
    ChildProcess& startPrimary() {
        primary_.emplace_back(std::make_unique<ChildProcess>([this] {
            InstanceControl control(settings());
            bool primary = control.run({}) == StartDecision::ContinueAsPrimary &&
                           control.ownsLock() && control.server();
            ready_.send(primary ? kPrimary : kNotPrimary);
            if (!primary)
                return 2;
            bool killed = false;
            while (!killed && control.server()->waitForRequest(30s)) {
                control.server()->handlePending([&](InstanceRequest request) {
                    appendLine(dir.file("handled.log"), requestName(request));
                    if (request == InstanceRequest::Kill) {
                        killed = true;
                        control.release();
                    }
                });
            }
            return killed ? 0 : 3;
        }));
        EXPECT_EQ(ready_.receive(), kPrimary);
        return *primary_.back();
    }

    TempDir dir;

private:
    StatusPipe ready_;
    std::vector<std::unique_ptr<ChildProcess>> primary_;
};

TEST_F(InstanceControlTest, SecondStartSendsOpenAndEndsAfterThePrimaryHandledIt) {
    ChildProcess& primary = startPrimary();
    EXPECT_EQ(dir.read("keyloom-RX24P06C-1.lock"), std::to_string(primary.pid()) + "\n");

    InstanceControl second(settings());
    EXPECT_EQ(second.run({}), StartDecision::Exit);
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_TRUE(second.handover().has_value());
    EXPECT_EQ(second.handover()->request, InstanceRequest::Open);
    EXPECT_EQ(second.handover()->target, primary.pid());
    EXPECT_TRUE(second.handover()->reached);
    EXPECT_FALSE(second.ownsLock());
    EXPECT_EQ(second.server(), nullptr);
    EXPECT_EQ(log(), "OPEN\n");  // already there: the answer came after the handler

    InstanceControl third(settings());
    EXPECT_EQ(third.run(arguments({"/Start"})), StartDecision::Exit);
    EXPECT_TRUE(third.startHidden());
    EXPECT_EQ(log(), "OPEN\nOPEN\n");

    EXPECT_TRUE(sendToInstance(primary.pid(), InstanceRequest::Kill, second.socketPath()));
    EXPECT_EQ(primary.wait(), 0);
}

TEST_F(InstanceControlTest, KillEndsTheRunningInstanceAndThisStart) {
    ChildProcess& primary = startPrimary();
    InstanceControl killer(settings());
    EXPECT_EQ(killer.run(arguments({"/kILL", "/Start"})), StartDecision::Exit);
    ASSERT_TRUE(killer.handover().has_value());
    EXPECT_EQ(killer.handover()->request, InstanceRequest::Kill);
    EXPECT_TRUE(killer.handover()->reached);
    EXPECT_FALSE(killer.startHidden());  // arguments after /Kill are not processed
    EXPECT_EQ(log(), "KILL\n");
    EXPECT_EQ(primary.wait(), 0);

    // The instance is gone: the next start runs.
    InstanceControl next(settings());
    EXPECT_EQ(next.run({}), StartDecision::ContinueAsPrimary);
    EXPECT_TRUE(next.ownsLock());
}

TEST_F(InstanceControlTest, StartThenKillNotesTheSwitchAndEndsBoth) {
    ChildProcess& primary = startPrimary();
    InstanceControl killer(settings());
    EXPECT_EQ(killer.run(arguments({"/Start", "--kill"})), StartDecision::Exit);
    EXPECT_TRUE(killer.startHidden());
    ASSERT_TRUE(killer.handover().has_value());
    EXPECT_EQ(killer.handover()->request, InstanceRequest::Kill);
    EXPECT_EQ(primary.wait(), 0);
    EXPECT_EQ(log(), "KILL\n");
}

TEST_F(InstanceControlTest, KillWithoutARunningInstanceIsIgnored) {
    InstanceControl control(settings());
    EXPECT_EQ(control.run(arguments({"/KILL", "/start", "/kill"})),
              StartDecision::ContinueAsPrimary);
    EXPECT_TRUE(control.startHidden());
    EXPECT_FALSE(control.handover().has_value());
    EXPECT_TRUE(control.ownsLock());
    ASSERT_NE(control.server(), nullptr);
    EXPECT_TRUE(control.server()->running());

    control.release();
    EXPECT_FALSE(control.ownsLock());
    EXPECT_EQ(dir.read("keyloom-RX24P06C-1.lock"), "");
    struct stat info {};
    EXPECT_NE(::lstat(control.socketPath().c_str(), &info), 0);
}

TEST_F(InstanceControlTest, LeftoversOfACrashedInstanceAreTakenOver) {
    ChildProcess dead([&] {
        InstanceControl control(settings());
        bool primary = control.run({}) == StartDecision::ContinueAsPrimary && control.server();
        ::_exit(primary ? 9 : 1);  // ends without shutting down
        return 1;
    });
    ASSERT_EQ(dead.wait(), 9);
    struct stat info {};
    ASSERT_EQ(::lstat(dir.file("keyloom-RX24P06C-1.sock").c_str(), &info), 0);

    InstanceControl control(settings());
    EXPECT_EQ(control.run({}), StartDecision::ContinueAsPrimary);
    EXPECT_FALSE(control.handover().has_value());
    EXPECT_TRUE(control.ownsLock());
    ASSERT_NE(control.server(), nullptr);
    EXPECT_EQ(dir.read("keyloom-RX24P06C-1.lock"), std::to_string(::getpid()) + "\n");

    // The socket is the new instance's now.
    std::atomic<bool> reached{false};
    std::thread sender(
        [&] { reached = sendToInstance(::getpid(), InstanceRequest::Open, control.socketPath()); });
    ASSERT_TRUE(control.server()->waitForRequest(30s));
    control.server()->handlePending({});
    sender.join();
    EXPECT_TRUE(reached);
}

TEST_F(InstanceControlTest, LockHeldByAProcessThatCannotBeFoundMeansRunAnyway) {
    StatusPipe holding;
    const std::string lockPath = dir.file("keyloom-RX24P06C-1.lock");
    ChildProcess holder([&]() -> int {
        // Takes the lock without saying who it is, as a foreign program would.
        int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
        holding.send(fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? kPrimary : kNotPrimary);
        sleepForever();
    });
    ASSERT_EQ(holding.receive(), kPrimary);

    InstanceControl control(settings());
    EXPECT_EQ(control.run(arguments({"/kill"})), StartDecision::ContinueAsPrimary);
    EXPECT_FALSE(control.handover().has_value());
    EXPECT_FALSE(control.ownsLock());
    EXPECT_EQ(control.server(), nullptr);  // the socket is not ours to take
}

TEST_F(InstanceControlTest, AnInstanceThatNeverAnswersStillEndsTheSecondStart) {
    StatusPipe ready;
    ChildProcess hung([&]() -> int {
        InstanceControl control(settings());
        ready.send(control.run({}) == StartDecision::ContinueAsPrimary && control.server()
                       ? kPrimary
                       : kNotPrimary);
        sleepForever();  // never pumps its requests
    });
    ASSERT_EQ(ready.receive(), kPrimary);

    InstanceSettings impatient = settings();
    impatient.answerTimeout = 200ms;
    InstanceControl second(impatient);
    EXPECT_EQ(second.run({}), StartDecision::Exit);
    ASSERT_TRUE(second.handover().has_value());
    EXPECT_EQ(second.handover()->target, hung.pid());
    EXPECT_FALSE(second.handover()->reached);
}

TEST_F(InstanceControlTest, WithoutAUsableFolderTheStartRunsUnguarded) {
    InstanceSettings s = settings();
    s.folder = dir.file("missing");
    InstanceControl control(s);
    EXPECT_EQ(control.run({}), StartDecision::ContinueAsPrimary);
    EXPECT_FALSE(control.ownsLock());
    EXPECT_EQ(control.server(), nullptr);
}

}  // namespace
}  // namespace keyloom::instance
