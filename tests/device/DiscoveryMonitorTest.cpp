// Finding the keyboard, the start-up reports and watching for its loss.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "LinkFixture.h"
#include "device/DiscoveryMonitor.h"
#include "device/KeyboardModels.h"

namespace keyloom::testing {
namespace {

// Records each report together with what the link looked like at that moment.
class RecordingHandler : public ConnectionHandler {
public:
    explicit RecordingHandler(DeviceLink& link) : link_(link) {}

    struct Change {
        int connected;
        bool linkConnected;
        std::uint16_t length;
        std::uint16_t stride;
    };

    void connectionChanged(int connected) override {
        std::lock_guard lock(mutex_);
        changes_.push_back({connected, link_.isConnected(), link_.modelValues().keyMatrixLength,
                            link_.modelValues().keyMatrixStride});
        changed_.notify_all();
    }

    // Waits for the n-th report (no time limit beyond a generous hang guard).
    std::vector<Change> waitFor(std::size_t n) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(20), [&] { return changes_.size() >= n; });
        return changes_;
    }
    std::vector<Change> changes() {
        std::lock_guard lock(mutex_);
        return changes_;
    }
    std::vector<int> values() {
        std::vector<int> out;
        for (const auto& change : changes())
            out.push_back(change.connected);
        return out;
    }

private:
    DeviceLink& link_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Change> changes_;
};

constexpr DiscoveryTiming kFast{std::chrono::milliseconds(1), std::chrono::milliseconds(1),
                                std::chrono::milliseconds(1)};

class DiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override { platform.addBackend(backend); }

    std::shared_ptr<FakeInterface> addKeyboard(const std::string& node, std::uint16_t vid,
                                               std::uint16_t pid,
                                               const Bytes& descriptor = kVendorDescriptor) {
        char tail[64];
        std::snprintf(tail, sizeof tail, "#vid_%04x&pid_%04x", vid, pid);
        auto iface = backend->add("fake:" + node + tail, descriptor, vid, pid);
        iface->setResponder(patternReply);
        return iface;
    }

    RuntimeFolder runtimeDir;
    std::shared_ptr<FakeBackend> backend = std::make_shared<FakeBackend>();
    hid::HidPlatform platform;
    ReportTrace trace;
    DeviceLink link{platform, trace};
    RecordingHandler handler{link};
    StartupState startup;
};

TEST(KeyboardPaths, OnlyTheTwoExactVendorProductPairsAreAccepted) {
    EXPECT_TRUE(pathNamesAcceptedKeyboard("/dev/hidraw1#vid_0c45&pid_652f&mi_01"));
    EXPECT_TRUE(pathNamesAcceptedKeyboard("/dev/hidraw1#VID_320F&PID_5064"));
    EXPECT_FALSE(pathNamesAcceptedKeyboard("/dev/hidraw1#vid_0c45&pid_5064"));
    EXPECT_FALSE(pathNamesAcceptedKeyboard("/dev/hidraw1#vid_320f&pid_652f"));
    EXPECT_FALSE(pathNamesAcceptedKeyboard("/dev/hidraw1#vid_0c45"));
    EXPECT_FALSE(pathNamesAcceptedKeyboard("/dev/hidraw1"));
    EXPECT_TRUE(pathNamesAcceptedKeyboard("#vid_10c45&pid_1652f"));  // low 16 bits count
}

TEST_F(DiscoveryTest, ScanOpensOnlyTheVendorCollectionOfAnAcceptedKeyboard) {
    auto keys = addKeyboard("n0&col01", 0x0C45, 0x652F, kKeyboardDescriptor);
    auto consumer = addKeyboard("n0&col02", 0x0C45, 0x652F, kConsumerDescriptor);
    auto vendor = addKeyboard("n0&col03", 0x0C45, 0x652F);
    DiscoveryMonitor monitor(link, handler, startup, kFast);

    EXPECT_EQ(monitor.scanOnce(), DiscoveryMonitor::ScanResult::Found);
    EXPECT_EQ(keys->openCount(), 1);
    EXPECT_EQ(consumer->openCount(), 1);
    EXPECT_EQ(vendor->openCount(), 1);
    EXPECT_TRUE(link.isConnected());
    EXPECT_TRUE(link.configurationDevice().IsOpen());
    EXPECT_EQ(link.configurationDevice().path(), vendor->path);
    EXPECT_EQ(handler.values(), std::vector<int>{1});
}

TEST_F(DiscoveryTest, MixedVendorProductPairsAreNeverAccepted) {
    auto mixedPath = addKeyboard("n0", 0x0C45, 0x5064);
    // A path naming an accepted pair in front of a device that says otherwise.
    auto lying = backend->add("fake:n1#vid_320f&pid_5064", kVendorDescriptor, 0x320F, 0x652F);
    DiscoveryMonitor monitor(link, handler, startup, kFast);

    EXPECT_EQ(monitor.scanOnce(), DiscoveryMonitor::ScanResult::NotFound);
    EXPECT_EQ(mixedPath->openCount(), 0);
    EXPECT_EQ(lying->openCount(), 1);
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(link.configurationDevice().IsOpen());
    EXPECT_TRUE(handler.changes().empty());
}

TEST_F(DiscoveryTest, UnopenableInterfacesAreSkipped) {
    auto refused = addKeyboard("n0", 0x0C45, 0x652F);
    refused->refuseOpen = true;
    auto good = addKeyboard("n1", 0x0C45, 0x652F);
    DiscoveryMonitor monitor(link, handler, startup, kFast);
    EXPECT_EQ(monitor.scanOnce(), DiscoveryMonitor::ScanResult::Found);
    EXPECT_EQ(link.configurationDevice().path(), good->path);
}

TEST_F(DiscoveryTest, ModelValuesAreInPlaceBeforeTheConnectionIsReported) {
    addKeyboard("n0", 0x320F, 0x5064);
    DiscoveryMonitor monitor(link, handler, startup, kFast);
    ASSERT_EQ(monitor.scanOnce(), DiscoveryMonitor::ScanResult::Found);
    auto changes = handler.changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_TRUE(changes[0].linkConnected);
    EXPECT_EQ(changes[0].length, 384);
    EXPECT_EQ(changes[0].stride, 512);
}

TEST_F(DiscoveryTest, ProbeReadsTheParameterBlockOnceAndLeavesNothingOpen) {
    auto vendor = addKeyboard("n0", 0x0C45, 0x652F);
    DiscoveryMonitor monitor(link, handler, startup, kFast);
    EXPECT_TRUE(monitor.probe());
    auto writes = vendor->writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0][3], 3);
    EXPECT_EQ(writes[0][4], 44);
    EXPECT_FALSE(link.isConnected());
    EXPECT_FALSE(link.configurationDevice().IsOpen());
    EXPECT_TRUE(handler.changes().empty());
}

TEST_F(DiscoveryTest, PresenceLossIsReportedOnce) {
    auto vendor = addKeyboard("n0", 0x0C45, 0x652F);
    DiscoveryMonitor monitor(link, handler, startup, kFast);
    ASSERT_EQ(monitor.scanOnce(), DiscoveryMonitor::ScanResult::Found);
    EXPECT_TRUE(monitor.checkPresence());
    vendor->present = false;
    EXPECT_FALSE(monitor.checkPresence());
    EXPECT_FALSE(monitor.checkPresence());
    EXPECT_EQ(handler.values(), (std::vector<int>{1, 0}));
    EXPECT_FALSE(link.isConnected());
}

TEST_F(DiscoveryTest, KeyboardPresentAtANormalStartIsReportedTwiceThenWatched) {
    auto vendor = addKeyboard("n0", 0x0C45, 0x652F);
    DiscoveryMonitor monitor(link, handler, startup, kFast);
    monitor.start();
    EXPECT_EQ(handler.waitFor(2).size(), 2u);
    // Presence tests keep the connection without further reports.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(handler.values(), (std::vector<int>{1, 1}));
    EXPECT_FALSE(startup.startHidden);
    // The probe's parameter block read is the only traffic.
    EXPECT_EQ(vendor->writes().size(), 1u);

    backend->remove(vendor->path);
    handler.waitFor(3);
    monitor.stop();
    EXPECT_EQ(handler.values(), (std::vector<int>{1, 1, 0}));
}

TEST_F(DiscoveryTest, HiddenStartGivesTheSameReportsAndStaysHidden) {
    addKeyboard("n0", 0x0C45, 0x652F);
    startup.startHidden = true;
    DiscoveryMonitor monitor(link, handler, startup, kFast);
    monitor.start();
    handler.waitFor(2);
    monitor.stop();
    EXPECT_EQ(handler.values(), (std::vector<int>{1, 1}));
    EXPECT_TRUE(startup.startHidden);
}

TEST_F(DiscoveryTest, NoKeyboardAtStartSetsStartHiddenAndALaterArrivalIsReported) {
    DiscoveryMonitor monitor(link, handler, startup, kFast);
    monitor.start();
    handler.waitFor(1);
    EXPECT_EQ(handler.values(), std::vector<int>{0});
    EXPECT_TRUE(startup.startHidden);

    addKeyboard("n0", 0x320F, 0x5064);
    auto changes = handler.waitFor(2);
    monitor.stop();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].connected, 1);
    EXPECT_EQ(changes[1].length, 384);
    EXPECT_TRUE(startup.startHidden);
}

// With changes announced the timers are only a safety net: set to an hour,
// arrival and removal are still seen; a quiet keyboard is not tested on the
// short timer; and a change nobody announced is caught by the slow test.
constexpr auto kHour = std::chrono::hours(1);

TEST_F(DiscoveryTest, AnnouncedArrivalAndRemovalAreSeenWithoutTimers) {
    backend->announceChanges = true;
    auto vendor = addKeyboard("n0", 0x0C45, 0x652F);
    DiscoveryMonitor monitor(link, handler, startup, {kHour, kHour, kHour, kHour});
    monitor.start();
    handler.waitFor(2);
    backend->remove(vendor->path);
    handler.waitFor(3);
    addKeyboard("n1", 0x0C45, 0x652F);
    handler.waitFor(4);
    monitor.stop();  // also ends an hour-long wait at once
    EXPECT_EQ(handler.values(), (std::vector<int>{1, 1, 0, 1}));
}

TEST_F(DiscoveryTest, AnnouncedPresenceIsNotPolledAndTheSafetyNetCatchesAMissedLoss) {
    backend->announceChanges = true;
    auto vendor = addKeyboard("n0", 0x0C45, 0x652F);
    {
        DiscoveryMonitor monitor(link, handler, startup,
                                 {std::chrono::milliseconds(1), kHour, kHour, kHour});
        monitor.start();
        handler.waitFor(2);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        // At most the one look that follows the arrival's announcement.
        EXPECT_LE(backend->presenceTests(), 1);
    }
    link.setConnected(false);
    DiscoveryMonitor monitor(link, handler, startup,
                             {kHour, kHour, kHour, std::chrono::milliseconds(1)});
    monitor.start();
    handler.waitFor(4);
    vendor->present = false;  // gone without an announcement
    handler.waitFor(5);
    monitor.stop();
    EXPECT_EQ(handler.values(), (std::vector<int>{1, 1, 1, 1, 0}));
}

TEST_F(DiscoveryTest, EnumerationFailureEndsTheThreadWithoutReports) {
    backend->failEnumeration = true;
    DiscoveryMonitor monitor(link, handler, startup, kFast);
    monitor.start();
    while (monitor.running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(backend->enumerations(), 1);
    EXPECT_TRUE(handler.changes().empty());
    EXPECT_EQ(monitor.scanOnce(), DiscoveryMonitor::ScanResult::EnumerationFailed);
}

}  // namespace
}  // namespace keyloom::testing
