// The device link against the simulated keyboard: the same code paths as with
// a real keyboard, checked against the keyboard's memory and its report log.

#include <array>
#include <atomic>
#include <thread>

#include "LinkFixture.h"
#include "device/DiscoveryMonitor.h"
#include "device/ProtocolResult.h"
#include "sim/SimBackend.h"

namespace keyloom::testing {
namespace {

class CountingHandler : public ConnectionHandler {
public:
    void connectionChanged(int connected) override {
        std::lock_guard lock(mutex_);
        values_.push_back(connected);
        changed_.notify_all();
    }
    std::vector<int> waitFor(std::size_t n) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(20), [&] { return values_.size() >= n; });
        return values_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<int> values_;
};

class SimEndToEnd : public ::testing::Test {
protected:
    void connect(const sim::SimModel& model) {
        keyboard = backend->addKeyboard(model);
        platform.addBackend(backend);
        DiscoveryMonitor monitor(link, handler, startup);
        ASSERT_EQ(monitor.scanOnce(), DiscoveryMonitor::ScanResult::Found);
        ASSERT_EQ(link.configurationDevice().path(), keyboard->configPath());
        keyboard->withFirmware([](sim::SimFirmware& f) { f.log().clear(); });
    }

    std::vector<sim::LogEntry> received() {
        return keyboard->withFirmware([](sim::SimFirmware& f) {
            std::vector<sim::LogEntry> out;
            for (const auto& entry : f.log().entries())
                if (entry.direction == sim::Direction::Received)
                    out.push_back(entry);
            return out;
        });
    }

    RuntimeFolder runtimeDir;
    std::shared_ptr<sim::SimBackend> backend = std::make_shared<sim::SimBackend>();
    std::shared_ptr<sim::SimKeyboard> keyboard;
    hid::HidPlatform platform;
    ReportTrace trace;
    DeviceLink link{platform, trace};
    CountingHandler handler;
    StartupState startup;
};

TEST_F(SimEndToEnd, KeyMatrixOfTheStride512ModelRoundTrips) {
    connect(sim::kModel5064);
    EXPECT_EQ(link.modelValues().keyMatrixLength, 384);
    std::array<std::uint8_t, kKeyMatrixBufferSize> matrix{};
    for (std::size_t i = 0; i < 384; ++i)
        matrix[i] = static_cast<std::uint8_t>(i ^ 0x5A);
    ASSERT_EQ(link.WriteKeyMatrix(matrix, 2), result::Success);
    std::array<std::uint8_t, kKeyMatrixBufferSize> back{};
    ASSERT_EQ(link.ReadKeyMatrix(back, 2), result::Success);
    EXPECT_EQ(back, matrix);

    auto memory = keyboard->withFirmware([](sim::SimFirmware& f) { return f.memory(); });
    for (std::size_t i = 0; i < 384; ++i)
        ASSERT_EQ(memory.keyMatrices[1024 + i], matrix[i]);
    auto requests = received();
    ASSERT_EQ(requests.size(), 14u);
    EXPECT_EQ(requests[0].bytes[5], 0x00);
    EXPECT_EQ(requests[0].bytes[6], 0x04);
}

TEST_F(SimEndToEnd, ParameterBlockAndRefusalStatusesComeThrough) {
    connect(sim::kModel652F);
    std::array<std::uint8_t, kParameterBlockSize> block{};
    ASSERT_EQ(link.ReadParameterBlock(block), result::Success);
    auto memory = keyboard->withFirmware([](sim::SimFirmware& f) { return f.memory(); });
    EXPECT_EQ(block, memory.parameters);

    block.fill(0xAA);
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().refuseCommand(3, 0xFE, 1); });
    EXPECT_EQ(link.ReadParameterBlock(block), result::StatusFE);
    for (std::uint8_t b : block)
        EXPECT_EQ(b, 0xAA);
}

TEST_F(SimEndToEnd, RequestLostOnceIsWrittenAgain) {
    connect(sim::kModel652F);
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().dropRequests(1); });
    EXPECT_EQ(link.BeginTransfer(), result::Success);
    auto requests = received();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].bytes, requests[1].bytes);
}

// The first request's reply comes late, so the exchange writes it again and
// the extra replies are still on their way when the next request starts.
TEST_F(SimEndToEnd, LateRepliesNeverAnswerTheNextRequest) {
    connect(sim::kModel652F);
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().delayReplies(700, 1); });
    static_cast<void>(link.BeginTransfer());
    std::array<std::uint8_t, kParameterBlockSize> block{};
    ASSERT_EQ(link.ReadParameterBlock(block), result::Success);
    auto memory = keyboard->withFirmware([](sim::SimFirmware& f) { return f.memory(); });
    EXPECT_EQ(block, memory.parameters);
}

TEST_F(SimEndToEnd, TwoLinksOnOneKeyboardEachGetTheirOwnReplies) {
    connect(sim::kModel652F);
    DeviceLink other(platform, trace);
    ASSERT_TRUE(other.openConfigurationDevice(keyboard->configPath()));
    other.setConnected(true);
    auto memory = keyboard->withFirmware([](sim::SimFirmware& f) { return f.memory(); });

    std::atomic<int> wrong{0};
    std::thread a([&] {
        for (int i = 0; i < 100; ++i) {
            std::array<std::uint8_t, kParameterBlockSize> block{};
            if (link.ReadParameterBlock(block) != result::Success || block != memory.parameters)
                ++wrong;
        }
    });
    std::thread b([&] {
        for (int i = 0; i < 100; ++i) {
            std::array<std::uint8_t, kMaxReportData> record{};
            if (other.ReadProfileSettings(record, 42, 42) != result::Success ||
                !std::equal(record.begin(), record.begin() + 42,
                            memory.profileSettings.begin() + 42))
                ++wrong;
        }
    });
    a.join();
    b.join();
    EXPECT_EQ(wrong, 0);
}

TEST_F(SimEndToEnd, CloseFromAnotherThreadEndsAWaitingRead) {
    connect(sim::kModel652F);
    CHidDevice& device = link.configurationDevice();
    std::atomic<int> outcome{-1};
    std::thread reader([&] {
        std::array<std::uint8_t, 64> buffer{};
        std::uint32_t bytes = 0;
        outcome = device.Read(buffer, bytes, hid::kInfinite) ? 1 : 0;
    });
    while (!device.readPending())
        std::this_thread::yield();
    EXPECT_TRUE(link.closeConfigurationDevice());
    reader.join();
    EXPECT_EQ(outcome, 0);
}

TEST_F(SimEndToEnd, BootModeReportLeavesTheKeyboardInItsLoader) {
    connect(sim::kModel652F);
    ASSERT_EQ(link.EnterBootMode(), result::Success);
    EXPECT_TRUE(keyboard->inBootMode());
    auto requests = received();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].bytes[1], 0);
    EXPECT_EQ(requests[0].bytes[2], 0);
    EXPECT_EQ(requests[0].bytes[3], 0xEE);
    EXPECT_EQ(requests[0].bytes[4], 0xEE);
}

TEST_F(SimEndToEnd, KeyboardComesBackFromItsLoaderWithItsSettings) {
    keyboard = backend->addKeyboard(sim::kModel5064);
    keyboard->setBootLoaderTime(std::chrono::milliseconds(200));
    platform.addBackend(backend);
    DiscoveryMonitor monitor(
        link, handler, startup,
        {std::chrono::milliseconds(1), std::chrono::milliseconds(1), std::chrono::milliseconds(1)});
    monitor.start();
    ASSERT_EQ(handler.waitFor(2), (std::vector<int>{1, 1}));
    std::array<std::uint8_t, kKeyMatrixBufferSize> matrix{};
    matrix[7] = 0x42;
    ASSERT_EQ(link.WriteKeyMatrix(matrix, 1), result::Success);
    const std::string before = keyboard->configPath();

    ASSERT_EQ(link.EnterBootMode(), result::Success);
    EXPECT_EQ(handler.waitFor(4), (std::vector<int>{1, 1, 0, 1}));
    monitor.stop();
    EXPECT_FALSE(keyboard->inBootMode());
    EXPECT_NE(keyboard->configPath(), before) << "a restarted keyboard is a new device";
    std::array<std::uint8_t, kKeyMatrixBufferSize> back{};
    ASSERT_EQ(link.ReadKeyMatrix(back, 1), result::Success);
    EXPECT_EQ(back, matrix);
}

TEST_F(SimEndToEnd, DiscoveryFollowsUnplugAndReplug) {
    keyboard = backend->addKeyboard(sim::kModel652F);
    platform.addBackend(backend);
    DiscoveryMonitor monitor(
        link, handler, startup,
        {std::chrono::milliseconds(1), std::chrono::milliseconds(1), std::chrono::milliseconds(1)});
    monitor.start();
    EXPECT_EQ(handler.waitFor(2), (std::vector<int>{1, 1}));
    keyboard->unplug();
    EXPECT_EQ(handler.waitFor(3), (std::vector<int>{1, 1, 0}));
    keyboard->plug();
    EXPECT_EQ(handler.waitFor(4), (std::vector<int>{1, 1, 0, 1}));
    monitor.stop();
    EXPECT_EQ(link.configurationDevice().path(), keyboard->configPath());
    std::array<std::uint8_t, kParameterBlockSize> block{};
    EXPECT_EQ(link.ReadParameterBlock(block), result::Success);
}

}  // namespace
}  // namespace keyloom::testing
