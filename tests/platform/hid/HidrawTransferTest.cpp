// Transfers through the real poll/read/write code, with a socketpair end in
// place of the hidraw node and the test (or a thread) acting as the device.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "platform/hid/DescriptorSamples.h"
#include "platform/hid/FakeHidrawTree.h"

namespace keyloom::hid {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::FakeHidrawTree;

constexpr OpenOptions kReadWrite{true, true, true, false};

// What the device sends: one datagram per report, as hidraw delivers them.
void deviceSends(int fd, const Bytes& report) {
    ASSERT_EQ(::send(fd, report.data(), report.size(), 0), static_cast<ssize_t>(report.size()));
}

Bytes deviceReceives(int fd) {
    Bytes buffer(5000);
    ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
    buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return buffer;
}

class HidrawTransfer : public ::testing::Test {
protected:
    // hidraw1: keyboard without report ids; hidraw2: consumer and vendor
    // collections on one node.
    void SetUp() override {
        tree_.addNode({1, "0003:00000C45:0000652F", samples::bootKeyboard(), "1-1:1.0"});
        Bytes shared = samples::consumerControl();
        Bytes vendor = samples::vendorCollection();
        shared.insert(shared.end(), vendor.begin(), vendor.end());
        tree_.addNode({2, "0003:00000C45:0000652F", shared, "1-1:1.1"});
        backend_ = tree_.backend();
    }

    std::unique_ptr<HidHandle> open(const std::string& tail, OpenOptions options = kReadWrite) {
        return backend_->open(tree_.devRoot() + tail, options);
    }
    std::unique_ptr<HidHandle> keyboard() { return open("/hidraw1#vid_0c45&pid_652f&mi_00"); }
    std::unique_ptr<HidHandle> consumer() { return open("/hidraw2#vid_0c45&pid_652f&mi_01&col01"); }
    std::unique_ptr<HidHandle> vendor() { return open("/hidraw2#vid_0c45&pid_652f&mi_01&col02"); }

    FakeHidrawTree tree_;
    std::shared_ptr<HidrawBackend> backend_;
    CancelEvent cancel_;
};

TEST_F(HidrawTransfer, ReadTimesOutWithNothingTransferred) {
    auto handle = vendor();
    ASSERT_TRUE(handle);
    Bytes buffer(64, 0xEE);
    std::size_t transferred = 99;
    EXPECT_EQ(handle->read(buffer, transferred, 20, cancel_), TransferResult::TimedOut);
    EXPECT_EQ(transferred, 0u);
    EXPECT_EQ(handle->read(buffer, transferred, 0, cancel_), TransferResult::TimedOut);
}

TEST_F(HidrawTransfer, CancelEndsAWaitingReadAndIsConsumed) {
    auto handle = vendor();
    ASSERT_TRUE(handle);
    Bytes buffer(64);
    std::size_t transferred = 99;
    std::thread canceller([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        cancel_.set();
    });
    EXPECT_EQ(handle->read(buffer, transferred, kInfinite, cancel_), TransferResult::Cancelled);
    canceller.join();
    EXPECT_EQ(transferred, 0u);
    EXPECT_FALSE(cancel_.consume());

    // A cancel set before the transfer wins even over a ready report.
    deviceSends(tree_.deviceEnd(2), Bytes(64, 4));
    cancel_.set();
    EXPECT_EQ(handle->read(buffer, transferred, kInfinite, cancel_), TransferResult::Cancelled);
    EXPECT_EQ(handle->read(buffer, transferred, 100, cancel_), TransferResult::Done);
}

TEST_F(HidrawTransfer, ReportsOfTheOtherCollectionAreDropped) {
    auto cc = consumer();
    auto vd = vendor();
    ASSERT_TRUE(cc && vd);
    int device = tree_.deviceEnd(2);
    Bytes vendorReply(64, 0x11);
    vendorReply[0] = 4;
    deviceSends(device, vendorReply);
    deviceSends(device, {3, 0xE9, 0x00, 0x00, 0x00});

    Bytes buffer(5, 0xEE);
    std::size_t transferred = 0;
    ASSERT_EQ(cc->read(buffer, transferred, 1000, cancel_), TransferResult::Done);
    EXPECT_EQ(transferred, 5u);
    EXPECT_EQ(buffer, (Bytes{3, 0xE9, 0, 0, 0}));

    // Only the other collection's report queued: the wait runs out.
    deviceSends(device, vendorReply);
    EXPECT_EQ(cc->read(buffer, transferred, 30, cancel_), TransferResult::TimedOut);
    EXPECT_EQ(transferred, 0u);
}

TEST_F(HidrawTransfer, ReportsWithoutIdsGetALeadingZero) {
    auto kb = keyboard();
    ASSERT_TRUE(kb);
    EXPECT_FALSE(kb->descriptor().usesReportIds());
    deviceSends(tree_.deviceEnd(1), {0x02, 0x00, 0x04, 0, 0, 0, 0, 0});
    Bytes buffer(9, 0xEE);
    std::size_t transferred = 0;
    ASSERT_EQ(kb->read(buffer, transferred, 1000, cancel_), TransferResult::Done);
    EXPECT_EQ(transferred, 9u);
    EXPECT_EQ(buffer, (Bytes{0, 0x02, 0x00, 0x04, 0, 0, 0, 0, 0}));

    // A short report is padded to the input report length.
    deviceSends(tree_.deviceEnd(1), {0x01});
    ASSERT_EQ(kb->read(buffer, transferred, 1000, cancel_), TransferResult::Done);
    EXPECT_EQ(transferred, 9u);
    EXPECT_EQ(buffer, (Bytes{0, 0x01, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(HidrawTransfer, WritesKeepTheReportNumberByte) {
    auto vd = vendor();
    auto kb = keyboard();
    ASSERT_TRUE(vd && kb);
    Bytes request(64, 0x22);
    request[0] = 4;
    std::size_t transferred = 0;
    ASSERT_EQ(vd->write(request, transferred, 1000, cancel_), TransferResult::Done);
    EXPECT_EQ(transferred, 64u);
    EXPECT_EQ(deviceReceives(tree_.deviceEnd(2)), request);

    // Without report ids the first byte is 0, and hidraw still gets it.
    ASSERT_EQ(kb->write(Bytes{0x00, 0x03}, transferred, 1000, cancel_), TransferResult::Done);
    EXPECT_EQ(deviceReceives(tree_.deviceEnd(1)), (Bytes{0x00, 0x03}));

    // Refused: another collection's id, a non-zero first byte without ids,
    // a report shorter than the output length, a collection without output.
    request[0] = 3;
    EXPECT_EQ(vd->write(request, transferred, 1000, cancel_), TransferResult::Failed);
    EXPECT_EQ(transferred, 0u);
    EXPECT_EQ(kb->write(Bytes{0x01, 0x03}, transferred, 1000, cancel_), TransferResult::Failed);
    request[0] = 4;
    EXPECT_EQ(vd->write(std::span(request).first(63), transferred, 1000, cancel_),
              TransferResult::Failed);
    auto cc = consumer();
    EXPECT_EQ(cc->write(Bytes{3, 0, 0, 0, 0}, transferred, 1000, cancel_), TransferResult::Failed);
}

TEST_F(HidrawTransfer, TransfersNeedTheMatchingAccessAndBuffer) {
    auto readOnly = open("/hidraw2#vid_0c45&pid_652f&mi_01&col02", {true, false, true, false});
    auto writeOnly = open("/hidraw2#vid_0c45&pid_652f&mi_01&col02", {false, true, true, false});
    ASSERT_TRUE(readOnly && writeOnly);
    Bytes report(64, 0);
    report[0] = 4;
    std::size_t transferred = 0;
    EXPECT_EQ(readOnly->write(report, transferred, 100, cancel_), TransferResult::Failed);
    EXPECT_EQ(writeOnly->read(report, transferred, 100, cancel_), TransferResult::Failed);
    // A buffer shorter than the input report length is refused up front.
    Bytes small(10);
    EXPECT_EQ(readOnly->read(small, transferred, 100, cancel_), TransferResult::Failed);
}

TEST_F(HidrawTransfer, RequestAndReplyWithAnAnsweringDevice) {
    auto vd = vendor();
    ASSERT_TRUE(vd);
    int device = tree_.deviceEnd(2);
    std::thread firmware([device] {
        for (int i = 0; i < 3; ++i) {
            Bytes request = deviceReceives(device);
            if (request.size() != 64)
                return;
            request[7] = static_cast<std::uint8_t>(0x80 + i);  // status byte
            deviceSends(device, request);
        }
    });
    for (int i = 0; i < 3; ++i) {
        Bytes request(64, 0);
        request[0] = 4;
        request[3] = static_cast<std::uint8_t>(i + 1);
        std::size_t transferred = 0;
        ASSERT_EQ(vd->write(request, transferred, 1000, cancel_), TransferResult::Done);
        Bytes reply(64);
        ASSERT_EQ(vd->read(reply, transferred, 5000, cancel_), TransferResult::Done);
        EXPECT_EQ(transferred, 64u);
        EXPECT_EQ(reply[3], i + 1);
        EXPECT_EQ(reply[7], 0x80 + i);
    }
    firmware.join();
}

// Writes go out without a wait while the node takes them; only a node that
// is full makes the write wait, up to its limit, for the device to drain it.
TEST_F(HidrawTransfer, WriteWaitsOnlyWhileTheNodeIsFull) {
    auto vd = vendor();
    ASSERT_TRUE(vd);
    Bytes request(64, 0);
    request[0] = 4;
    std::size_t transferred = 0;
    int accepted = 0;
    while (accepted < 100000 && vd->write(request, transferred, 0, cancel_) == TransferResult::Done)
        ++accepted;
    ASSERT_GT(accepted, 0);
    ASSERT_LT(accepted, 100000) << "the node never filled up";
    EXPECT_EQ(vd->write(request, transferred, 20, cancel_), TransferResult::TimedOut);
    EXPECT_EQ(transferred, 0u);

    int device = tree_.deviceEnd(2);
    std::thread drain([device, accepted] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        for (int i = 0; i <= accepted; ++i)
            if (deviceReceives(device).size() != 64)
                return;
    });
    EXPECT_EQ(vd->write(request, transferred, 5000, cancel_), TransferResult::Done);
    EXPECT_EQ(transferred, 64u);
    drain.join();
}

TEST_F(HidrawTransfer, DiscardDropsQueuedReports) {
    auto vd = vendor();
    ASSERT_TRUE(vd);
    Bytes report(64, 0);
    report[0] = 4;
    for (int i = 0; i < 3; ++i)
        deviceSends(tree_.deviceEnd(2), report);
    vd->discardQueuedInput();
    std::size_t transferred = 0;
    EXPECT_EQ(vd->read(report, transferred, 20, cancel_), TransferResult::TimedOut);
}

TEST_F(HidrawTransfer, DeviceGoneFailsTransfers) {
    auto vd = vendor();
    ASSERT_TRUE(vd);
    std::thread unplug([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        tree_.closeDeviceEnd(2);
    });
    Bytes buffer(64);
    std::size_t transferred = 0;
    EXPECT_EQ(vd->read(buffer, transferred, kInfinite, cancel_), TransferResult::Failed);
    unplug.join();
    EXPECT_EQ(transferred, 0u);
    buffer[0] = 4;
    EXPECT_EQ(vd->write(buffer, transferred, 1000, cancel_), TransferResult::Failed);
    vd->discardQueuedInput();  // returns at once
}

}  // namespace
}  // namespace keyloom::hid
