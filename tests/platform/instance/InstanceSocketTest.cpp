// OPEN and KILL over the instance socket within one process: a sender thread
// plays the second start, the test thread plays the window thread.

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/instance/InstanceClient.h"
#include "platform/instance/InstanceRequest.h"
#include "platform/instance/InstanceServer.h"
#include "support/TempDir.h"

namespace keyloom::instance {
namespace {

using keyloom::testing::TempDir;
using namespace std::chrono_literals;

constexpr auto kSafetyLimit = 30s;

// A raw client for what a well-behaved sender never does.
int connectRaw(const std::string& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool isSocket(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

class InstanceSocketTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("instance.sock");
    InstanceServer server;
};

TEST_F(InstanceSocketTest, RequestRunsOnThePumpingThreadBeforeTheSenderReturns) {
    ASSERT_TRUE(server.start(path));
    ASSERT_TRUE(isSocket(path));

    std::atomic<bool> handled{false};
    std::vector<InstanceRequest> seen;
    std::thread::id handlerThread;
    for (InstanceRequest request : {InstanceRequest::Open, InstanceRequest::Kill}) {
        handled = false;
        std::atomic<int> outcome{-1};  // -1 running, 0 false, 1 true; 2: returned before handler
        std::thread sender([&] {
            bool reached = sendToInstance(::getpid(), request, path);
            outcome = !handled ? 2 : (reached ? 1 : 0);
        });
        ASSERT_TRUE(server.waitForRequest(kSafetyLimit));
        EXPECT_EQ(server.handlePending([&](InstanceRequest r) {
            seen.push_back(r);
            handlerThread = std::this_thread::get_id();
            handled = true;
        }),
                  1u);
        sender.join();
        EXPECT_EQ(outcome, 1);
        EXPECT_EQ(handlerThread, std::this_thread::get_id());
    }
    EXPECT_EQ(seen, (std::vector<InstanceRequest>{InstanceRequest::Open, InstanceRequest::Kill}));
    server.stop();
    EXPECT_FALSE(isSocket(path));
}

TEST_F(InstanceSocketTest, WordsTravelLittleEndianAndOnlyExactPairsReachTheHandler) {
    EXPECT_EQ(encodeRequest(wordsOf(InstanceRequest::Open)),
              (std::array<std::uint8_t, 8>{0x50, 0x53, 0, 0, 0x4E, 0x45, 0x50, 0x4F}));
    EXPECT_EQ(encodeRequest(wordsOf(InstanceRequest::Kill)),
              (std::array<std::uint8_t, 8>{0x4B, 0x4D, 0, 0, 0x4B, 0x49, 0x4C, 0x4C}));
    ASSERT_TRUE(server.start(path));

    // OPEN's message number with KILL's word: answered, but nothing runs.
    int raw = connectRaw(path);
    ASSERT_GE(raw, 0);
    const auto mixed = encodeRequest({kOpenMessage, kKillWord});
    ASSERT_EQ(::write(raw, mixed.data(), mixed.size()), 8);
    ASSERT_TRUE(server.waitForRequest(kSafetyLimit));
    int calls = 0;
    EXPECT_EQ(server.handlePending([&](InstanceRequest) { ++calls; }), 1u);
    EXPECT_EQ(calls, 0);
    std::array<std::uint8_t, 4> answer{};
    EXPECT_EQ(::read(raw, answer.data(), answer.size()), 4);
    EXPECT_EQ(decodeAnswer(answer), 0u);
    ::close(raw);
}

TEST_F(InstanceSocketTest, ATruncatedRequestIsDroppedAndLaterSendersAreServed) {
    ASSERT_TRUE(server.start(path));
    int raw = connectRaw(path);
    ASSERT_GE(raw, 0);
    ASSERT_EQ(::write(raw, "OPE", 3), 3);
    ::close(raw);

    std::atomic<bool> reached{false};
    std::thread sender([&] { reached = sendToInstance(::getpid(), InstanceRequest::Open, path); });
    ASSERT_TRUE(server.waitForRequest(kSafetyLimit));
    int calls = 0;
    EXPECT_EQ(server.handlePending([&](InstanceRequest) { ++calls; }), 1u);
    sender.join();
    EXPECT_TRUE(reached);
    EXPECT_EQ(calls, 1);
}

TEST_F(InstanceSocketTest, OnlyTheNamedProcessIsAddressed) {
    ASSERT_TRUE(server.start(path));
    // Process 1 lives but does not own this socket.
    EXPECT_FALSE(sendToInstance(1, InstanceRequest::Kill, path, 2s));
    EXPECT_FALSE(sendToInstance(0, InstanceRequest::Kill, path, 2s));
    EXPECT_FALSE(server.waitForRequest(0ms));
    EXPECT_FALSE(sendToInstance(::getpid(), InstanceRequest::Open, dir.file("nobody.sock"), 50ms));
    EXPECT_FALSE(
        sendToInstance(::getpid(), InstanceRequest::Open, dir.file(std::string(200, 'x')), 50ms));
}

TEST_F(InstanceSocketTest, AnInstanceThatDoesNotAnswerCannotHoldTheSenderForEver) {
    ASSERT_TRUE(server.start(path));
    EXPECT_FALSE(sendToInstance(::getpid(), InstanceRequest::Open, path, 100ms));
}

TEST_F(InstanceSocketTest, StoppingDropsWaitingRequestsWithoutAnAnswer) {
    ASSERT_TRUE(server.start(path));
    std::atomic<int> outcome{-1};
    std::thread sender([&] {
        outcome = sendToInstance(::getpid(), InstanceRequest::Open, path, kSafetyLimit) ? 1 : 0;
    });
    ASSERT_TRUE(server.waitForRequest(kSafetyLimit));
    server.stop();
    sender.join();
    EXPECT_EQ(outcome, 0);
    EXPECT_EQ(server.handlePending([](InstanceRequest) {}), 0u);
    server.stop();  // twice is harmless
}

TEST_F(InstanceSocketTest, ALeftoverSocketIsReplacedButNoOtherFile) {
    {
        // A socket file whose listener is gone, as a crash leaves it.
        int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(stale);
    }
    ASSERT_TRUE(isSocket(path));
    ASSERT_TRUE(server.start(path));
    EXPECT_FALSE(server.start(path));  // already running
    std::atomic<bool> reached{false};
    std::thread sender([&] { reached = sendToInstance(::getpid(), InstanceRequest::Open, path); });
    ASSERT_TRUE(server.waitForRequest(kSafetyLimit));
    server.handlePending({});
    sender.join();
    EXPECT_TRUE(reached);
    server.stop();

    dir.write("instance.sock", "not a socket");
    InstanceServer other;
    EXPECT_FALSE(other.start(path));
    EXPECT_EQ(dir.read("instance.sock"), "not a socket");
    EXPECT_FALSE(other.start(dir.file(std::string(120, 'y'))));
}

TEST_F(InstanceSocketTest, StopRemovesOnlyItsOwnSocketFile) {
    ASSERT_TRUE(server.start(path));
    // Someone replaced the file meanwhile: it is not ours to remove.
    ASSERT_EQ(::unlink(path.c_str()), 0);
    dir.write("instance.sock", "replacement");
    server.stop();
    EXPECT_EQ(dir.read("instance.sock"), "replacement");
}

}  // namespace
}  // namespace keyloom::instance
