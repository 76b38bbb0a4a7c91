// The notification listener through the real CHidDevice and backend path:
// against the simulated keyboard for the codes, and against scripted HID
// interfaces for what the simulated keyboard cannot do (odd reports, missing
// collections, failing enumeration).

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "FakeHid.h"
#include "TestDescriptors.h"
#include "device/NotificationListener.h"
#include "sim/SimBackend.h"
#include "support/RecordingDispatch.h"

namespace keyloom::testing {
namespace {

using window::icon::kConnected;
using window::icon::kDisconnected;
using window::icon::kIndicator;
using window::timer::kLightingRefresh;
using window::timer::kProfileRefresh;
using State = NotificationListenerState;

// The limit only keeps a broken test from hanging; nothing depends on speed.
bool waitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class ListenerTest : public ::testing::Test {
protected:
    void startListener() {
        listener.setObservers({[this](std::uint16_t code, std::string_view what) {
                                   std::lock_guard lock(mutex);
                                   codes.push_back(code);
                                   texts.emplace_back(what);
                               },
                               {}});
        listener.start();
    }
    std::vector<std::uint16_t> seenCodes() {
        std::lock_guard lock(mutex);
        return codes;
    }
    void waitForCodes(std::size_t count) {
        ASSERT_TRUE(waitUntil([&] { return seenCodes().size() >= count; }));
    }
    void waitForIcons(std::size_t count) {
        ASSERT_TRUE(waitUntil([&] { return window.trayIcons().size() >= count; }));
    }
    void waitForListenCount(std::uint64_t count) {
        ASSERT_TRUE(waitUntil([&] {
            return listener.listenCount() >= count && listener.state() == State::Listening;
        }));
    }

    hid::HidPlatform platform;
    RecordingDispatch<> window;  // the test thread plays the window thread
    window::TrayStatus tray{window};
    NotificationListener listener{platform, window, tray,
                                  NotificationTiming{std::chrono::milliseconds(5), {}}};
    std::mutex mutex;
    std::vector<std::uint16_t> codes;
    std::vector<std::string> texts;
};

class SimListenerTest : public ListenerTest {
protected:
    void SetUp() override {
        keyboard = backend->addKeyboard(sim::kModel652F);
        platform.addBackend(backend);
        startListener();
        waitForListenCount(1);
    }
    void TearDown() override { listener.stop(); }

    std::shared_ptr<sim::SimBackend> backend = std::make_shared<sim::SimBackend>();
    std::shared_ptr<sim::SimKeyboard> keyboard;
};

TEST_F(SimListenerTest, RefreshBurstsBeforeTheWindowRunsGiveOneRefreshEach) {
    for (std::uint16_t code : {0x0401, 0x0401, 0x1801, 0x1804, 0x0402, 0x0402, 0x1234})
        ASSERT_TRUE(keyboard->sendNotification(code));
    waitForCodes(14);  // a press and a release each
    EXPECT_EQ(seenCodes(), (std::vector<std::uint16_t>{0x0401, 0, 0x0401, 0, 0x1801, 0, 0x1804, 0,
                                                       0x0402, 0, 0x0402, 0, 0x1234, 0}));
    EXPECT_EQ(texts[0], "lighting refresh (timer 1051)");
    EXPECT_EQ(texts[1], "nothing");
    EXPECT_EQ(texts[4], "recognised, ignored");
    window.pumpPending();
    EXPECT_EQ(window.firedTimers(), (std::vector<int>{kLightingRefresh, kProfileRefresh}));
    EXPECT_TRUE(window.trayIcons().empty());
    EXPECT_EQ(listener.reportCount(), 14u);
}

TEST_F(SimListenerTest, IndicatorComesBackToTheConnectionIcon) {
    ASSERT_TRUE(keyboard->sendNotification(0x1811));
    ASSERT_TRUE(keyboard->sendNotification(0x1810));
    waitForIcons(2);
    EXPECT_EQ(window.trayIcons(), (std::vector<int>{kIndicator, kDisconnected}));

    tray.set(window::TrayStatus::Mode::Status, kConnected);  // the keyboard connects
    window.clearRecords();
    ASSERT_TRUE(keyboard->sendNotification(0x1811));
    ASSERT_TRUE(keyboard->sendNotification(0x1810));
    waitForIcons(2);
    EXPECT_EQ(window.trayIcons(), (std::vector<int>{kIndicator, kConnected}));
    EXPECT_EQ(tray.statusIcon(), kConnected);
}

TEST_F(SimListenerTest, MixedBurstKeepsTheOrderOfTheIndicatorCodes) {
    tray.set(window::TrayStatus::Mode::Status, kConnected);
    window.clearRecords();
    for (int i = 0; i < 8; ++i) {
        for (std::uint16_t code : {0x1811, 0x0401, 0x1810})
            ASSERT_TRUE(keyboard->sendNotification(code));
    }
    waitForIcons(16);
    std::vector<int> expected;
    for (int i = 0; i < 8; ++i)
        expected.insert(expected.end(), {kIndicator, kConnected});
    EXPECT_EQ(window.trayIcons(), expected);
    window.pumpPending();
    EXPECT_EQ(window.firedTimers(), std::vector<int>{kLightingRefresh});
}

TEST(NotificationIndicatorTest, AFloodStaysBoundedInOrderAndIsJoined) {
    RecordingDispatch<> window;
    window::TrayStatus tray(window);
    tray.set(window::TrayStatus::Mode::Status, kConnected);
    window.clearRecords();
    constexpr int kCodes = 100;
    {
        NotificationIndicator indicator(tray);
        for (int i = 0; i < kCodes; ++i) {
            indicator.start(i % 2 == 0);
            EXPECT_LE(indicator.workerCount(), NotificationIndicator::kMaxWorkers);
        }
    }  // destruction waits for every worker
    std::vector<int> expected;
    for (int i = 0; i < kCodes / 2; ++i)
        expected.insert(expected.end(), {kIndicator, kConnected});
    EXPECT_EQ(window.trayIcons(), expected);
}

TEST(NotificationIndicatorTest, EachChangeIsHeldAndTheWorkerServesLaterCodes) {
    RecordingDispatch<> window;
    window::TrayStatus tray(window);
    tray.set(window::TrayStatus::Mode::Status, kConnected);
    window.clearRecords();
    NotificationIndicator indicator(tray, {std::chrono::milliseconds(20)});
    const auto started = std::chrono::steady_clock::now();
    indicator.start(true);
    indicator.start(false);
    indicator.joinAll();
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(40));
    EXPECT_EQ(indicator.workerCount(), 0u);
    // The worker outlives joinAll and takes the next code.
    indicator.start(true);
    indicator.joinAll();
    EXPECT_EQ(window.trayIcons(), (std::vector<int>{kIndicator, kConnected, kIndicator}));
}

TEST_F(SimListenerTest, UnplugEndsTheReadAndScanningFindsTheKeyboardAgain) {
    keyboard->unplug();
    ASSERT_TRUE(waitUntil([&] { return listener.state() == State::Searching; }));
    EXPECT_FALSE(keyboard->sendNotification(0x0401));
    keyboard->plug();
    waitForListenCount(2);
    ASSERT_TRUE(keyboard->sendNotification(0x0402));
    waitForCodes(2);
    window.pumpPending();
    EXPECT_EQ(window.firedTimers(), std::vector<int>{kProfileRefresh});
}

TEST_F(SimListenerTest, StopEndsTheEndlessRead) {
    listener.stop();
    EXPECT_EQ(listener.state(), State::Ended);
    // The device was closed: nothing is read any more.
    keyboard->sendNotification(0x0401);
    window.pumpPending();
    EXPECT_TRUE(window.firedTimers().empty());
}

// Scripted interfaces: reports and collections the simulated keyboard never
// produces.
class ScriptedListenerTest : public ListenerTest {
protected:
    void SetUp() override { platform.addBackend(backend); }
    void TearDown() override { listener.stop(); }

    std::shared_ptr<FakeInterface> add(const std::string& tail, const Bytes& descriptor,
                                       std::uint16_t vendor = 0x0C45,
                                       std::uint16_t product = 0x652F) {
        return backend->add("fake:" + tail, descriptor, vendor, product);
    }
    // Scans keep coming and nothing reaches the window.
    void expectScanningWithoutEffect() {
        const int before = backend->enumerations();
        ASSERT_TRUE(waitUntil([&] { return backend->enumerations() >= before + 3; }));
        EXPECT_EQ(listener.state(), State::Searching);
        EXPECT_EQ(listener.listenCount(), 0u);
        window.pumpPending();
        EXPECT_TRUE(window.firedTimers().empty());
    }

    std::shared_ptr<FakeBackend> backend = std::make_shared<FakeBackend>();
};

TEST_F(ScriptedListenerTest, OnlyReportsThatDecodeTheCodeFieldDispatch) {
    auto consumer = add("kb#vid_0c45&pid_652f&mi_01&col01", kConsumerDescriptor);
    startListener();
    waitForListenCount(1);
    consumer->pushInput({3, 0x02, 0x04});  // 0x0402
    consumer->pushInput({5, 0x01, 0x04});  // another report id: no new code
    consumer->pushInput({});               // empty read
    consumer->pushInput({3, 0x00, 0x00});  // release
    consumer->pushInput({3, 0x01, 0x04});  // 0x0401, still read afterwards
    waitForCodes(5);
    EXPECT_EQ(seenCodes(), (std::vector<std::uint16_t>{0x0402, 0, 0, 0, 0x0401}));
    window.pumpPending();
    EXPECT_EQ(window.firedTimers(), (std::vector<int>{kLightingRefresh, kProfileRefresh}));
    EXPECT_EQ(consumer->readTimeouts().front(), hid::kInfinite);
}

TEST_F(ScriptedListenerTest, KeepsScanningWithoutAnAcceptedConsumerCollection) {
    startListener();
    expectScanningWithoutEffect();  // no keyboard at all

    // An accepted keyboard without its consumer collection, a consumer
    // collection of another maker and one whose path names an accepted pair
    // but whose device does not.
    auto vendor = add("kb#vid_0c45&pid_652f&mi_01&col02", kVendorDescriptor);
    add("other#vid_046d&pid_c52b&mi_01", kConsumerDescriptor, 0x046D, 0xC52B);
    auto impostor = add("imp#vid_0c45&pid_652f&mi_01", kConsumerDescriptor, 0x046D, 0xC52B);
    expectScanningWithoutEffect();
    EXPECT_GE(vendor->openCount(), 2);
    EXPECT_GE(impostor->openCount(), 2);

    add("kb#vid_0c45&pid_652f&mi_01&col01", kConsumerDescriptor);
    waitForListenCount(1);
}

TEST_F(ScriptedListenerTest, EnumerationFailureEndsTheThread) {
    backend->failEnumeration = true;
    startListener();
    ASSERT_TRUE(waitUntil([&] { return listener.state() == State::Ended; }));
    EXPECT_EQ(backend->enumerations(), 1);
}

}  // namespace
}  // namespace keyloom::testing
