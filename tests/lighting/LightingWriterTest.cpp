// The background writer: it never holds up the caller, keeps the order of
// changes, drops queued writes a newer change rewrites, and reports a
// failure once.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "LightingFixture.h"
#include "device/ProtocolResult.h"
#include "lighting/LightingOps.h"

namespace keyloom::testing {
namespace {

using namespace std::chrono_literals;

// Holds the first begin until released, so that later changes queue up.
class GatedTransport : public LightingTransport {
public:
    explicit GatedTransport(LightingTransport& inner) : inner_(inner) {}
    TransferResult begin() override {
        std::unique_lock lock(mutex_);
        ++begins_;
        started_.notify_all();
        open_.wait(lock, [&] { return released_; });
        lock.unlock();
        return inner_.begin();
    }
    TransferResult end() override { return inner_.end(); }
    TransferResult writeProfileSettings(std::span<const std::uint8_t> data,
                                        std::uint16_t offset) override {
        return inner_.writeProfileSettings(data, offset);
    }
    TransferResult writeKeyColours(std::span<const std::uint8_t> data, std::uint16_t keyIndex,
                                   int profile) override {
        return inner_.writeKeyColours(data, keyIndex, profile);
    }
    void waitForFirstBegin() {
        std::unique_lock lock(mutex_);
        started_.wait(lock, [&] { return begins_ > 0; });
    }
    void release() {
        {
            std::lock_guard lock(mutex_);
            released_ = true;
        }
        open_.notify_all();
    }

private:
    LightingTransport& inner_;
    std::mutex mutex_;
    std::condition_variable started_;
    std::condition_variable open_;
    int begins_ = 0;
    bool released_ = false;
};

class LightingWriterTest : public LightingFixture {
protected:
    std::vector<Written> settingsWrites() {
        std::vector<Written> out;
        for (const Request& r : received())
            if (r.command == 6)
                out.push_back({r.command, r.offset, r.data});
        return out;
    }
};

TEST_F(LightingWriterTest, QueuedChangesToTheSameFieldCollapseToTheLast) {
    GatedTransport gated(transport);
    LightingWriter writer(gated);
    LightingState state;
    writer.submit(lighting::moveBrightness(state, 0, 1));
    gated.waitForFirstBegin();
    for (int p : {2, 3, 4})
        writer.submit(lighting::moveBrightness(state, 0, p));
    writer.submit(lighting::moveSpeed(state, 0, 0));
    EXPECT_EQ(writer.queued(), 2u);
    gated.release();
    ASSERT_TRUE(writer.flush(20s));
    EXPECT_EQ(settingsWrites(), (std::vector<Written>{{6, 1, {1}}, {6, 1, {4}}, {6, 2, {3}}}));
}

TEST_F(LightingWriterTest, TheLastChoiceIsSentBeforeTheWriterGoes) {
    GatedTransport gated(transport);
    {
        LightingWriter writer(gated);
        LightingState state;
        writer.submit(lighting::moveBrightness(state, 0, 1));
        gated.waitForFirstBegin();
        writer.submit(lighting::moveBrightness(state, 0, 4));
        gated.release();
    }
    EXPECT_EQ(memoryOf(*keyboard).profileSettings[1], 4);
}

TEST_F(LightingWriterTest, ACollapsedChangeGoesLastSoOverlappingFieldsEndRight) {
    GatedTransport gated(transport);
    LightingWriter writer(gated);
    LightingState state;
    writer.submit(lighting::moveBrightness(state, 0, 1));
    gated.waitForFirstBegin();
    // Colour, multicolour on, another colour: the keyboard must end with
    // multicolour off (offset 4 = 0) and the second colour.
    writer.submit(lighting::pickColour(state, 0, {1, 1, 1}));
    writer.submit(lighting::toggleColourful(state, 0));
    writer.submit(lighting::pickColour(state, 0, {2, 2, 2}));
    gated.release();
    ASSERT_TRUE(writer.flush(20s));
    const std::vector<Written> writes = settingsWrites();
    ASSERT_GE(writes.size(), 2u);
    EXPECT_EQ(writes[writes.size() - 2], (Written{6, 4, {0}}));
    EXPECT_EQ(writes.back(), (Written{6, 5, {2, 2, 2}}));
    const sim::SimMemory memory = memoryOf(*keyboard);
    EXPECT_EQ(memory.profileSettings[4], 0);
    EXPECT_EQ(memory.profileSettings[5], 2);
}

TEST_F(LightingWriterTest, ASilentKeyboardDoesNotHoldUpTheCaller) {
    keyboard->withFirmware(
        [](sim::SimFirmware& f) { f.faults().dropRequests(sim::SimFaults::kAlways); });
    std::atomic<int> failures{0};
    {
        LightingWriter writer(transport, LightingWriter::Mode::Background,
                              [&](DeviceResult) { ++failures; });
        LightingState state;
        const auto start = std::chrono::steady_clock::now();
        for (int p = 0; p <= 4; ++p)
            writer.submit(lighting::moveBrightness(state, 0, p));
        EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
        EXPECT_FALSE(writer.flush(50ms));
        // Let the change in progress finish so the writer joins quickly.
        keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().clear(); });
    }
    EXPECT_LE(failures.load(), 1);
}

TEST_F(LightingWriterTest, AFailureIsReportedOnceUntilAWriteSucceedsAgain) {
    std::vector<DeviceResult> codes;
    LightingWriter writer(transport, LightingWriter::Mode::Synchronous,
                          [&](DeviceResult code) { codes.push_back(code); });
    LightingState state;
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().refuseCommand(6, 0xFF); });
    for (int p : {1, 2, 3})
        writer.submit(lighting::moveBrightness(state, 0, p));
    EXPECT_EQ(codes, std::vector<DeviceResult>{result::StatusFF});
    // The state keeps what the user chose.
    EXPECT_EQ(state.brightness, 3);

    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().clear(); });
    writer.submit(lighting::moveBrightness(state, 0, 4));
    keyboard->withFirmware([](sim::SimFirmware& f) { f.faults().refuseCommand(6, 0xFE); });
    writer.submit(lighting::moveBrightness(state, 0, 0));
    EXPECT_EQ(codes, (std::vector<DeviceResult>{result::StatusFF, result::StatusFE}));
    // Every failed change still closed its bracket.
    const auto requests = received();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().command, 2);
}

TEST_F(LightingWriterTest, NotConnectedIsAFailureWithItsCode) {
    link.setConnected(false);
    std::vector<DeviceResult> codes;
    LightingWriter writer(transport, LightingWriter::Mode::Synchronous,
                          [&](DeviceResult code) { codes.push_back(code); });
    LightingState state;
    writer.submit(lighting::moveBrightness(state, 0, 1));
    EXPECT_EQ(codes, std::vector<DeviceResult>{result::NoReply});
}

}  // namespace
}  // namespace keyloom::testing
