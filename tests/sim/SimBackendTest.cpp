#include "sim/SimBackend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/hid/HidPlatform.h"
#include "sim/SimDescriptors.h"

namespace keyloom::sim {
namespace {

using hid::TransferResult;

constexpr hid::OpenOptions kReadWrite{true, true, true, false};
constexpr hid::OpenOptions kReadOnly{true, false, true, false};

class SimBackendTest : public ::testing::Test {
protected:
    std::shared_ptr<SimBackend> backend = std::make_shared<SimBackend>();
    std::shared_ptr<SimKeyboard> keyboard = backend->addKeyboard(kModel652F);
    hid::CancelEvent cancel;

    std::unique_ptr<hid::HidHandle> openConfig(const hid::OpenOptions& options = kReadWrite) {
        auto handle = backend->open(keyboard->configPath(), options);
        EXPECT_NE(handle, nullptr);
        return handle;
    }

    TransferResult send(hid::HidHandle& handle, const Report& request) {
        std::size_t written = 0;
        return handle.write(request, written, 1000, cancel);
    }

    TransferResult receive(hid::HidHandle& handle, Report& reply, std::uint32_t timeoutMs) {
        std::size_t got = 0;
        auto result = handle.read(reply, got, timeoutMs, cancel);
        if (result == TransferResult::Done) {
            EXPECT_EQ(got, kReportSize);
        }
        return result;
    }
};

TEST_F(SimBackendTest, EnumeratesThreeInterfacesPerKeyboard) {
    auto second = backend->addKeyboard(kModel5064);
    std::vector<std::string> paths;
    ASSERT_TRUE(backend->enumerate(paths));
    const std::vector<std::string> expected = {
        "/sim/hidraw0#vid_0c45&pid_652f&mi_00",       "/sim/hidraw1#vid_0c45&pid_652f&mi_01&col01",
        "/sim/hidraw1#vid_0c45&pid_652f&mi_01&col02", "/sim/hidraw2#vid_320f&pid_5064&mi_00",
        "/sim/hidraw3#vid_320f&pid_5064&mi_01&col01", "/sim/hidraw3#vid_320f&pid_5064&mi_01&col02",
    };
    EXPECT_EQ(paths, expected);
    EXPECT_EQ(keyboard->configPath(), expected[2]);
    EXPECT_EQ(second->consumerPath(), expected[4]);
    EXPECT_TRUE(backend->ownsPath("/sim/anything"));
    EXPECT_FALSE(backend->ownsPath("/dev/hidraw0"));
    EXPECT_FALSE(backend->isPresent("/sim/hidraw9#vid_0c45&pid_652f&mi_00"));
    EXPECT_EQ(backend->open("/sim/hidraw1#vid_0c45&pid_652f&mi_01&col03", kReadWrite), nullptr);
}

TEST_F(SimBackendTest, CollectionsCarryTheirUsagesAndReportLengths) {
    struct Expected {
        std::string path;
        std::uint16_t usagePage, usage, input, output;
    };
    const Expected expected[] = {
        {keyboard->keyboardPath(), 0x0001, 0x0006, 9, 2},
        {keyboard->consumerPath(), 0x000C, 0x0001, 3, 0},
        {keyboard->configPath(), 0xFF1C, 0x0092, 64, 64},
    };
    for (const auto& e : expected) {
        auto handle = backend->open(e.path, {});
        ASSERT_NE(handle, nullptr) << e.path;
        const auto& caps = handle->descriptor().caps();
        EXPECT_EQ(caps.usagePage, e.usagePage) << e.path;
        EXPECT_EQ(caps.usage, e.usage) << e.path;
        EXPECT_EQ(caps.inputReportByteLength, e.input) << e.path;
        EXPECT_EQ(caps.outputReportByteLength, e.output) << e.path;
        EXPECT_EQ(handle->attributes().vendorId, 0x0C45);
        EXPECT_EQ(handle->attributes().productId, 0x652F);
    }
}

TEST_F(SimBackendTest, ExchangeThroughThePlatform) {
    hid::HidPlatform platform;
    platform.addBackend(backend);
    std::vector<std::string> paths;
    ASSERT_TRUE(platform.enumerate(paths));
    ASSERT_EQ(paths.size(), 3u);
    auto handle = platform.open(paths[2], kReadWrite);
    ASSERT_NE(handle, nullptr);
    ASSERT_EQ(send(*handle, makeRequest(3, 44, 0)), TransferResult::Done);
    Report reply{};
    ASSERT_EQ(receive(*handle, reply, 300), TransferResult::Done);
    EXPECT_EQ(reply[3], 3);
    EXPECT_EQ(reply[8 + 11], 32);
    EXPECT_TRUE(platform.isPresent(paths[2]));
}

TEST_F(SimBackendTest, EveryOpenConfigHandleGetsEveryReply) {
    auto first = openConfig();
    auto second = openConfig(kReadOnly);
    auto consumer = backend->open(keyboard->consumerPath(), kReadOnly);
    ASSERT_EQ(send(*first, makeRequest(1, 0, 0)), TransferResult::Done);
    Report a{}, b{};
    EXPECT_EQ(receive(*first, a, 0), TransferResult::Done);
    EXPECT_EQ(receive(*second, b, 0), TransferResult::Done);
    EXPECT_EQ(a, b);
    EXPECT_EQ(receive(*consumer, a, 0), TransferResult::TimedOut);

    // A stale reply can be dropped before the next request.
    ASSERT_EQ(send(*first, makeRequest(1, 0, 0)), TransferResult::Done);
    second->discardQueuedInput();
    EXPECT_EQ(receive(*second, b, 0), TransferResult::TimedOut);
    EXPECT_EQ(receive(*first, a, 0), TransferResult::Done);
}

TEST_F(SimBackendTest, WritesMustBeWholeConfigReportsOnWritableHandles) {
    auto readOnly = openConfig(kReadOnly);
    EXPECT_EQ(send(*readOnly, makeRequest(1, 0, 0)), TransferResult::Failed);
    auto handle = openConfig();
    std::size_t written = 99;
    Report request = makeRequest(1, 0, 0);
    EXPECT_EQ(handle->write(std::span(request).first(63), written, 1000, cancel),
              TransferResult::Failed);
    EXPECT_EQ(written, 0u);
    request[0] = 3;
    EXPECT_EQ(send(*handle, request), TransferResult::Failed);
    auto consumer = backend->open(keyboard->consumerPath(), kReadWrite);
    EXPECT_EQ(send(*consumer, makeRequest(1, 0, 0)), TransferResult::Failed);
    Report reply{};
    EXPECT_EQ(receive(*handle, reply, 0), TransferResult::TimedOut);

    // A longer buffer is cut to the report; a reader needs room for a whole one.
    std::array<std::uint8_t, 80> longer{};
    Report valid = makeRequest(1, 0, 0);
    std::copy(valid.begin(), valid.end(), longer.begin());
    longer[70] = 0x55;
    EXPECT_EQ(handle->write(longer, written, 1000, cancel), TransferResult::Done);
    EXPECT_EQ(written, kReportSize);
    std::array<std::uint8_t, 63> shortBuffer{};
    EXPECT_EQ(handle->read(shortBuffer, written, 0, cancel), TransferResult::Failed);
    EXPECT_EQ(receive(*handle, reply, 0), TransferResult::Done);
    EXPECT_EQ(reply[field::kStatus], 0);

    auto keys = backend->open(keyboard->keyboardPath(), kReadWrite);
    std::uint8_t leds[2] = {0, 0x02};
    EXPECT_EQ(keys->write(leds, written, 1000, cancel), TransferResult::Done);
}

TEST_F(SimBackendTest, NotificationIsAPressThenAReleaseOnTheConsumerCollection) {
    auto consumer = backend->open(keyboard->consumerPath(), kReadOnly);
    auto config = openConfig();
    ASSERT_TRUE(keyboard->sendNotification(0x1811));

    const auto& descriptor = consumer->descriptor();
    for (std::uint16_t expected : {0x1811, 0}) {
        std::uint8_t report[3] = {};
        std::size_t got = 0;
        ASSERT_EQ(consumer->read(report, got, 100, cancel), TransferResult::Done);
        ASSERT_EQ(got, kNotificationReportSize);
        std::uint16_t usages[4] = {};
        std::uint32_t length = 4;
        EXPECT_EQ(descriptor.getUsages(hid::ReportType::Input, 0x000C, 0, usages, length, report),
                  hid::status::Success);
        if (expected == 0) {
            EXPECT_EQ(length, 0u);
        } else {
            ASSERT_EQ(length, 1u);
            EXPECT_EQ(usages[0], expected);
        }
    }
    Report reply{};
    EXPECT_EQ(receive(*config, reply, 0), TransferResult::TimedOut);

    ASSERT_TRUE(keyboard->selectProfileOnKeyboard(2));
    std::uint8_t report[3] = {};
    std::size_t got = 0;
    ASSERT_EQ(consumer->read(report, got, 100, cancel), TransferResult::Done);
    EXPECT_EQ(report[1] | report[2] << 8, 0x0402);
    EXPECT_EQ(keyboard->withFirmware(
                  [](SimFirmware& f) { return f.memory().parameters[kParameterActiveProfile]; }),
              2);
}

TEST_F(SimBackendTest, LostRequestTimesOutOnceThenAnswers) {
    auto handle = openConfig();
    keyboard->withFirmware([](SimFirmware& f) { f.faults().dropRequests(1); });
    Report reply{};
    ASSERT_EQ(send(*handle, makeRequest(3, 44, 0)), TransferResult::Done);
    EXPECT_EQ(receive(*handle, reply, 20), TransferResult::TimedOut);
    ASSERT_EQ(send(*handle, makeRequest(3, 44, 0)), TransferResult::Done);
    EXPECT_EQ(receive(*handle, reply, 20), TransferResult::Done);

    keyboard->withFirmware([](SimFirmware& f) { f.faults().dropRequests(SimFaults::kAlways); });
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(send(*handle, makeRequest(3, 44, 0)), TransferResult::Done);
        EXPECT_EQ(receive(*handle, reply, 1), TransferResult::TimedOut);
    }
}

TEST_F(SimBackendTest, LateReplyIsNotReadableBeforeItsTime) {
    auto handle = openConfig();
    keyboard->withFirmware([](SimFirmware& f) { f.faults().delayReplies(150, 1); });
    Report reply{};
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(send(*handle, makeRequest(3, 44, 0)), TransferResult::Done);
    // Only a reader that came 150 ms later may see it at once.
    if (receive(*handle, reply, 0) == TransferResult::Done) {
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
        EXPECT_EQ(reply[3], 3);
        return;
    }
    // A later request that is answered at once still comes after the late reply.
    ASSERT_EQ(send(*handle, makeRequest(1, 0, 0)), TransferResult::Done);
    ASSERT_EQ(receive(*handle, reply, hid::kInfinite), TransferResult::Done);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    EXPECT_EQ(reply[3], 3);
    ASSERT_EQ(receive(*handle, reply, 0), TransferResult::Done);
    EXPECT_EQ(reply[3], 1);
}

TEST_F(SimBackendTest, CancelEndsAWaitingRead) {
    auto consumer = backend->open(keyboard->consumerPath(), kReadOnly);
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        cancel.set();
    });
    std::uint8_t report[3];
    std::size_t got = 7;
    EXPECT_EQ(consumer->read(report, got, hid::kInfinite, cancel), TransferResult::Cancelled);
    EXPECT_EQ(got, 0u);
    canceller.join();
    EXPECT_FALSE(cancel.consume());
}

TEST_F(SimBackendTest, UnplugFailsHandlesAndReplugGivesANewIdentity) {
    const std::string oldPath = keyboard->configPath();
    auto config = openConfig();
    auto consumer = backend->open(keyboard->consumerPath(), kReadOnly);

    std::thread unplugger([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        keyboard->unplug();
    });
    std::uint8_t report[3];
    std::size_t got = 0;
    EXPECT_EQ(consumer->read(report, got, hid::kInfinite, cancel), TransferResult::Failed);
    unplugger.join();

    EXPECT_FALSE(config->stillPresent());
    EXPECT_FALSE(backend->isPresent(oldPath));
    EXPECT_EQ(send(*config, makeRequest(1, 0, 0)), TransferResult::Failed);
    std::vector<std::string> paths;
    backend->enumerate(paths);
    EXPECT_TRUE(paths.empty());
    EXPECT_FALSE(keyboard->sendNotification(0x0401));

    keyboard->plug();
    EXPECT_TRUE(keyboard->present());
    EXPECT_NE(keyboard->configPath(), oldPath);
    EXPECT_FALSE(config->stillPresent());
    EXPECT_EQ(backend->open(oldPath, kReadWrite), nullptr);
    auto fresh = openConfig();
    EXPECT_TRUE(fresh->stillPresent());
    Report reply{};
    ASSERT_EQ(send(*fresh, makeRequest(1, 0, 0)), TransferResult::Done);
    EXPECT_EQ(receive(*fresh, reply, 0), TransferResult::Done);
}

TEST_F(SimBackendTest, BootModeHidesTheKeyboardUntilReset) {
    auto config = openConfig();
    ASSERT_EQ(send(*config, bootModeRequest()), TransferResult::Done);
    EXPECT_TRUE(keyboard->inBootMode());
    EXPECT_FALSE(keyboard->present());
    EXPECT_FALSE(config->stillPresent());
    Report reply{};
    EXPECT_EQ(receive(*config, reply, 10), TransferResult::Failed);
    std::vector<std::string> paths;
    backend->enumerate(paths);
    EXPECT_TRUE(paths.empty());
    keyboard->replug();  // still in the boot loader
    EXPECT_FALSE(keyboard->present());

    keyboard->reset();
    EXPECT_TRUE(keyboard->present());
    backend->enumerate(paths);
    EXPECT_EQ(paths.size(), 3u);
}

TEST_F(SimBackendTest, EveryComingAndGoingIsAnnouncedOnThePlatform) {
    hid::HidPlatform platform;
    platform.addBackend(backend);
    ASSERT_TRUE(platform.announcesChanges());
    // The keyboard's arrival at construction.
    EXPECT_EQ(platform.waitForChange(std::chrono::milliseconds(0), cancel),
              hid::ChangeWait::Changed);
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"unplug", [&] { keyboard->unplug(); }},
        {"plug", [&] { keyboard->plug(); }},
        {"boot mode", [&] { send(*openConfig(), bootModeRequest()); }},
        {"reset", [&] { keyboard->reset(); }},
        {"remove", [&] { backend->removeKeyboard(*keyboard); }},
    };
    for (const auto& [name, step] : steps) {
        SCOPED_TRACE(name);
        step();
        EXPECT_EQ(platform.waitForChange(std::chrono::milliseconds(0), cancel),
                  hid::ChangeWait::Changed);
        // Taken by that wait: a quiet bus announces nothing.
        EXPECT_EQ(platform.waitForChange(std::chrono::milliseconds(0), cancel),
                  hid::ChangeWait::TimedOut);
    }
    cancel.set();
    EXPECT_EQ(platform.waitForChange(std::chrono::hours(1), cancel), hid::ChangeWait::Cancelled);
}

TEST_F(SimBackendTest, RemovedKeyboardIsGone) {
    auto config = openConfig();
    backend->removeKeyboard(*keyboard);
    EXPECT_FALSE(config->stillPresent());
    EXPECT_TRUE(backend->keyboards().empty());
    std::vector<std::string> paths;
    backend->enumerate(paths);
    EXPECT_TRUE(paths.empty());
}

TEST_F(SimBackendTest, ConcurrentExchangesOnTwoHandlesStayWhole) {
    // Each thread reads only after its own write; the replies of both land on
    // both handles, so each thread checks that every reply is an intact report.
    auto first = openConfig();
    auto second = openConfig();
    auto worker = [&](hid::HidHandle& handle) {
        hid::CancelEvent localCancel;
        for (int i = 0; i < 200; ++i) {
            Report request = makeRequest(3, 44, 0);
            std::size_t n = 0;
            ASSERT_EQ(handle.write(request, n, 1000, localCancel), TransferResult::Done);
            Report reply{};
            ASSERT_EQ(handle.read(reply, n, 1000, localCancel), TransferResult::Done);
            EXPECT_EQ(readU16(reply, 1), reportChecksum(reply));
        }
    };
    std::thread a(worker, std::ref(*first));
    std::thread b(worker, std::ref(*second));
    a.join();
    b.join();
    EXPECT_EQ(keyboard->withFirmware([](SimFirmware& f) { return f.log().size(); }), 800u);
}

}  // namespace
}  // namespace keyloom::sim
