// The configuration protocol as it appears on the wire.

#include <array>
#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "LinkFixture.h"
#include "device/ProtocolResult.h"

namespace keyloom::testing {
namespace {

using KeyMatrix = std::array<std::uint8_t, kKeyMatrixBufferSize>;

std::uint16_t storedChecksum(const Bytes& report) {
    return static_cast<std::uint16_t>(report[1] | report[2] << 8);
}

std::uint16_t byteSum(const Bytes& report) {
    unsigned sum = 0;
    for (std::size_t i = 3; i < report.size(); ++i)
        sum += report[i];
    return static_cast<std::uint16_t>(sum);
}

using DeviceLinkWire = LinkFixture;

TEST_F(DeviceLinkWire, RequestsCarryHeaderAndChecksumOfBytes3To63) {
    ASSERT_EQ(link->BeginTransfer(), result::Success);
    std::array<std::uint8_t, kParameterBlockSize> block{};
    ASSERT_EQ(link->ReadParameterBlock(block), result::Success);

    auto writes = keyboard->writes();
    ASSERT_EQ(writes.size(), 2u);
    Bytes begin(64, 0);
    begin[0] = 4;
    begin[1] = 1;
    begin[3] = 1;
    EXPECT_EQ(writes[0], begin);
    // 03 2C: checksum 0x002F stored little-endian.
    EXPECT_EQ(writes[1][1], 0x2F);
    EXPECT_EQ(writes[1][2], 0x00);
    EXPECT_EQ(writes[1][3], 0x03);
    EXPECT_EQ(writes[1][4], 0x2C);
    // The block is reply bytes 8-51.
    for (std::size_t i = 0; i < block.size(); ++i)
        EXPECT_EQ(block[i], i);
}

TEST_F(DeviceLinkWire, KeyMatrixOf378ModelGoesIn56ByteChunksFromProfileTimesStride) {
    KeyMatrix matrix{};
    ASSERT_EQ(link->ReadKeyMatrix(matrix, 1), result::Success);
    auto writes = keyboard->writes();
    ASSERT_EQ(writes.size(), 7u);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i][3], 7);
        EXPECT_EQ(offsetOf(writes[i]), 378 + 56 * i);
        EXPECT_EQ(writes[i][4], i < 6 ? 56 : 42);
        EXPECT_EQ(storedChecksum(writes[i]), byteSum(writes[i]));
    }
    // Each chunk's reply lands at its place; nothing past the length.
    for (std::size_t p = 0; p < 378; ++p)
        EXPECT_EQ(matrix[p], static_cast<std::uint8_t>(378 + p)) << p;
    EXPECT_EQ(matrix[378], 0);
}

TEST_F(DeviceLinkWire, KeyMatrixOf384ModelUsesStride512) {
    link->modelValues().keyMatrixLength = 384;
    link->modelValues().keyMatrixStride = 512;
    KeyMatrix matrix{};
    ASSERT_EQ(link->ReadKeyMatrix(matrix, 2), result::Success);
    auto writes = keyboard->writes();
    ASSERT_EQ(writes.size(), 7u);
    EXPECT_EQ(writes[0][5], 0x00);
    EXPECT_EQ(writes[0][6], 0x04);
    EXPECT_EQ(offsetOf(writes[6]), 1024 + 336);
    EXPECT_EQ(writes[6][4], 48);
}

TEST_F(DeviceLinkWire, KeyMatrixWriteSendsEachChunksBytes) {
    KeyMatrix matrix{};
    for (std::size_t i = 0; i < matrix.size(); ++i)
        matrix[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_EQ(link->WriteKeyMatrix(matrix, 0), result::Success);
    auto writes = keyboard->writes();
    ASSERT_EQ(writes.size(), 7u);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i][3], 8);
        for (std::size_t b = 0; b < writes[i][4]; ++b)
            ASSERT_EQ(writes[i][8 + b], matrix[56 * i + b]) << "chunk " << i << " byte " << b;
        EXPECT_EQ(storedChecksum(writes[i]), byteSum(writes[i]));
    }
    // The short last chunk still carries the previous chunk's bytes past its
    // length, as every earlier version of the program sent them.
    const auto& last = writes.back();
    for (std::size_t b = last[4]; b < 56; ++b)
        ASSERT_EQ(last[8 + b], matrix[56 * (writes.size() - 2) + b]) << "byte " << b;
}

TEST_F(DeviceLinkWire, DefaultKeyMatrixAndMacroAreaStartAtOffsetZero) {
    KeyMatrix matrix{};
    ASSERT_EQ(link->ReadDefaultKeyMatrix(matrix), result::Success);
    std::array<std::uint8_t, 16> header{};
    ASSERT_EQ(link->ReadMacroArea(header), result::Success);
    std::vector<std::uint8_t> macros(130, 0x5A);
    ASSERT_EQ(link->WriteMacroArea(macros), result::Success);
    ASSERT_EQ(link->ReadMacroArea({}), result::Success);  // nothing to move, nothing sent

    auto writes = keyboard->writes();
    ASSERT_EQ(writes.size(), 7u + 1u + 3u);
    EXPECT_EQ(writes[0][3], 15);
    EXPECT_EQ(offsetOf(writes[0]), 0u);
    EXPECT_EQ(writes[7][3], 9);
    EXPECT_EQ(writes[7][4], 16);
    EXPECT_EQ(offsetOf(writes[7]), 0u);
    EXPECT_EQ(writes[10][3], 10);
    EXPECT_EQ(offsetOf(writes[10]), 112u);
    EXPECT_EQ(writes[10][4], 18);
}

TEST_F(DeviceLinkWire, KeyColourOffsetIsProfileTimes512PlusIndexTimes3) {
    const std::uint8_t rgb[3] = {0x11, 0x22, 0x33};
    ASSERT_EQ(link->WriteKeyColours(rgb, 100, 1), result::Success);
    std::array<std::uint8_t, kMaxReportData> out{};
    ASSERT_EQ(link->ReadKeyColours(out, 54, 2, 18), result::Success);

    auto writes = keyboard->writes();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0][3], 17);
    EXPECT_EQ(writes[0][4], 3);
    EXPECT_EQ(writes[0][5], 0x2C);
    EXPECT_EQ(writes[0][6], 0x03);
    EXPECT_EQ(writes[0][8], 0x11);
    EXPECT_EQ(writes[0][10], 0x33);
    EXPECT_EQ(writes[1][3], 16);
    EXPECT_EQ(offsetOf(writes[1]), 1024u + 54u);
    EXPECT_EQ(out[0], static_cast<std::uint8_t>(1024 + 54));
}

TEST_F(DeviceLinkWire, CommandsWithoutCallersUseTheirNumbersAndTwoByteForms) {
    EXPECT_EQ(link->SendCommand11(), result::Success);
    EXPECT_EQ(link->SendCommand12(), result::Success);
    EXPECT_EQ(link->SendTestCommand(), result::Success);
    EXPECT_EQ(link->SendCommand14(), result::Success);
    EXPECT_EQ(link->EndTransfer(), result::Success);
    EXPECT_EQ(link->WriteProfileSettingsWord(0xBEEF), result::Success);
    keyboard->setResponder([](const Bytes& request) -> std::optional<Bytes> {
        Bytes reply = replyWithStatus(0);
        reply[8] = 0x34;
        reply[9] = 0x12;
        reply[3] = request[3];
        return reply;
    });
    std::uint16_t word = 0;
    EXPECT_EQ(link->ReadProfileSettingsWord(word), result::Success);
    EXPECT_EQ(word, 0x1234);

    auto writes = keyboard->writes();
    ASSERT_EQ(writes.size(), 7u);
    const std::uint8_t commands[] = {11, 12, 13, 14, 2, 6, 5};
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i][3], commands[i]);
        EXPECT_EQ(writes[i][4], i >= 5 ? 2 : 0);
        EXPECT_EQ(offsetOf(writes[i]), 0u);
    }
    EXPECT_EQ(writes[5][8], 0xEF);
    EXPECT_EQ(writes[5][9], 0xBE);
}

TEST_F(DeviceLinkWire, ProfileSettingsCarryLengthOffsetAndWholeReplyData) {
    const std::uint8_t effect[3] = {1, 2, 3};
    ASSERT_EQ(link->WriteProfileSettings(effect, 42 + 5), result::Success);
    std::array<std::uint8_t, kMaxReportData> record{};
    ASSERT_EQ(link->ReadProfileSettings(record, 56, 84), result::Success);
    auto writes = keyboard->writes();
    EXPECT_EQ(writes[0][4], 3);
    EXPECT_EQ(offsetOf(writes[0]), 47u);
    EXPECT_EQ(writes[1][4], 56);
    EXPECT_EQ(record[55], static_cast<std::uint8_t>(84 + 55));
}

TEST_F(DeviceLinkWire, BootModeReportHasNoChecksumAndWaitsForNoReply) {
    ASSERT_EQ(link->EnterBootMode(), result::Success);
    auto writes = keyboard->writes();
    ASSERT_EQ(writes.size(), 1u);
    Bytes expected(64, 0);
    expected[0] = 4;
    expected[3] = 0xEE;
    expected[4] = 0xEE;
    EXPECT_EQ(writes[0], expected);
    EXPECT_TRUE(keyboard->readTimeouts().empty());
}

using DeviceLinkFailures = LinkFixture;

TEST_F(DeviceLinkFailures, NotConnectedSendsNothing) {
    link->setConnected(false);
    KeyMatrix matrix{};
    std::array<std::uint8_t, kParameterBlockSize> block{};
    EXPECT_EQ(link->BeginTransfer(), result::NoReply);
    EXPECT_EQ(link->ReadParameterBlock(block), result::NoReply);
    EXPECT_EQ(link->ReadKeyMatrix(matrix, 0), result::NoReply);
    EXPECT_EQ(link->EnterBootMode(), result::NoReply);
    EXPECT_TRUE(keyboard->writes().empty());
}

TEST_F(DeviceLinkFailures, SilentKeyboardGetsFourWritesThenNoReply) {
    keyboard->setResponder(nullptr);
    std::array<std::uint8_t, kParameterBlockSize> block{};
    EXPECT_EQ(link->ReadParameterBlock(block), result::NoReply);
    auto writes = keyboard->writes();
    ASSERT_EQ(writes.size(), 4u);
    for (const auto& write : writes)
        EXPECT_EQ(write, writes[0]);
    EXPECT_EQ(keyboard->readTimeouts(), (std::vector<std::uint32_t>{300, 300, 300, 300}));
}

TEST_F(DeviceLinkFailures, ErrorStatusesLeaveTheCallersBufferUnchanged) {
    std::array<std::uint8_t, kParameterBlockSize> block;
    block.fill(0xAA);
    keyboard->setResponder([](const Bytes&) { return std::optional(replyWithStatus(0xFE, 7)); });
    EXPECT_EQ(link->ReadParameterBlock(block), result::StatusFE);
    keyboard->setResponder([](const Bytes&) { return std::optional(replyWithStatus(0xFF, 7)); });
    EXPECT_EQ(link->ReadParameterBlock(block), result::StatusFF);
    for (std::uint8_t b : block)
        EXPECT_EQ(b, 0xAA);
    EXPECT_EQ(keyboard->writes().size(), 2u);  // an error status is an answer: no retry
}

TEST_F(DeviceLinkFailures, ChunkedTransferStopsAtTheFirstErrorStatus) {
    int count = 0;
    keyboard->setResponder([&count](const Bytes& request) {
        return ++count == 3 ? std::optional(replyWithStatus(0xFF)) : patternReply(request);
    });
    KeyMatrix matrix{};
    EXPECT_EQ(link->WriteKeyMatrix(matrix, 0), result::StatusFF);
    EXPECT_EQ(keyboard->writes().size(), 3u);
}

TEST_F(DeviceLinkFailures, KeyMatrixProfileOutsideZeroToTwoIsRefusedBeforeAnythingElse) {
    KeyMatrix matrix{};
    EXPECT_EQ(link->ReadKeyMatrix(matrix, 3), result::BadProfile);
    EXPECT_EQ(link->WriteKeyMatrix(matrix, 3), result::BadProfile);
    EXPECT_EQ(link->WriteKeyMatrix(matrix, -1), result::BadProfile);
    link->setConnected(false);
    EXPECT_EQ(link->ReadKeyMatrix(matrix, 7), result::BadProfile);
    EXPECT_TRUE(keyboard->writes().empty());
}

TEST_F(DeviceLinkFailures, RequestsTheReportCannotCarryAreRefused) {
    std::vector<std::uint8_t> tooLong(57, 1);
    EXPECT_EQ(link->WriteProfileSettings(tooLong, 0), result::NotWritten);
    EXPECT_EQ(link->WriteKeyColours(tooLong, 0, 0), result::NotWritten);
    // Offset 0xFFFF + 3 would wrap to the start of the area.
    const std::uint8_t rgb[3] = {};
    EXPECT_EQ(link->WriteKeyColours(rgb, 0xFFFF, 0), result::NotWritten);
    std::vector<std::uint8_t> huge(0x10001);
    EXPECT_EQ(link->WriteMacroArea(huge), result::NotWritten);
    EXPECT_TRUE(keyboard->writes().empty());
}

TEST_F(DeviceLinkFailures, FailedWriteIsNotRetried) {
    keyboard->failWrites = true;
    EXPECT_EQ(link->BeginTransfer(), result::NotWritten);
    EXPECT_TRUE(keyboard->readTimeouts().empty());
    EXPECT_EQ(link->EnterBootMode(), result::NoReply);
}

TEST_F(DeviceLinkFailures, LateReplyIsDiscardedBeforeTheNextRequest) {
    keyboard->setResponder(nullptr);
    EXPECT_EQ(link->BeginTransfer(), result::NoReply);
    // The keyboard answers the abandoned request after all.
    keyboard->pushInput(replyWithStatus(0xFE));
    keyboard->setResponder(patternReply);
    std::array<std::uint8_t, kParameterBlockSize> block{};
    EXPECT_EQ(link->ReadParameterBlock(block), result::Success);
    EXPECT_EQ(block[5], 5);
}

TEST_F(DeviceLinkFailures, ExchangeOnAClosedDeviceReportsTheWriteFailure) {
    ASSERT_TRUE(link->closeConfigurationDevice());
    EXPECT_EQ(link->BeginTransfer(), result::NotWritten);
}

using DeviceLinkConcurrency = LinkFixture;

// Each reply echoes its request's offset; a reader that got another thread's
// reply would find a different offset.
TEST_F(DeviceLinkConcurrency, RequestReplyPairsOfTwoThreadsNeverInterleave) {
    keyboard->writeLatencyMicros = 50;
    auto worker = [this](std::uint16_t base, std::atomic<int>& mismatches) {
        for (int i = 0; i < 200; ++i) {
            std::array<std::uint8_t, kMaxReportData> out{};
            const auto offset = static_cast<std::uint16_t>(base + i);
            if (link->ReadProfileSettings(out, 1, offset) != result::Success ||
                out[0] != static_cast<std::uint8_t>(offset))
                ++mismatches;
        }
    };
    std::atomic<int> mismatches{0};
    std::thread a(worker, 0x1000, std::ref(mismatches));
    std::thread b(worker, 0x2000, std::ref(mismatches));
    a.join();
    b.join();
    EXPECT_EQ(mismatches, 0);
    auto events = keyboard->events();
    ASSERT_EQ(events.size(), 800u);
    for (std::size_t i = 0; i < events.size(); i += 2) {
        ASSERT_EQ(events[i].kind, 'w');
        ASSERT_EQ(events[i + 1].kind, 'r');
        ASSERT_EQ(offsetOf(events[i].bytes), offsetOf(events[i + 1].bytes));
    }
}

// Two links with their own handles on one keyboard stand for two Keyloom
// programs; every handle receives every reply, as on hidraw.
TEST_F(DeviceLinkConcurrency, TwoLinksOnOneKeyboardNeverInterleave) {
    DeviceLink other(platform, trace);
    ASSERT_TRUE(other.openConfigurationDevice(kKeyboardPath));
    other.setConnected(true);
    keyboard->writeLatencyMicros = 50;
    auto worker = [](DeviceLink& l, std::uint16_t base, std::atomic<int>& mismatches) {
        for (int i = 0; i < 200; ++i) {
            std::array<std::uint8_t, kMaxReportData> out{};
            const auto offset = static_cast<std::uint16_t>(base + i);
            if (l.ReadProfileSettings(out, 1, offset) != result::Success ||
                out[0] != static_cast<std::uint8_t>(offset))
                ++mismatches;
        }
    };
    std::atomic<int> mismatches{0};
    std::thread a(worker, std::ref(*link), 0x1000, std::ref(mismatches));
    std::thread b(worker, std::ref(other), 0x2081, std::ref(mismatches));
    a.join();
    b.join();
    EXPECT_EQ(mismatches, 0);
    auto events = keyboard->events();
    ASSERT_EQ(events.size(), 800u);
    for (std::size_t i = 0; i < events.size(); i += 2) {
        ASSERT_EQ(events[i].kind, 'w') << i;
        ASSERT_EQ(events[i + 1].kind, 'r') << i;
        ASSERT_EQ(events[i].handle, events[i + 1].handle) << i;
    }
}

TEST_F(DeviceLinkConcurrency, ExchangeWaitsForTheLockHeldByAnotherProcess) {
    auto held = lock::CrossProcessLock::forKey("fake:kb0");
    ASSERT_TRUE(held.valid());
    held.lock();
    std::atomic<DeviceResult> code{DeviceResult::NotWritten};
    std::thread exchange([&] { code.store(link->BeginTransfer()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(keyboard->writes().empty());
    held.unlock();
    exchange.join();
    EXPECT_EQ(code, result::Success);
    EXPECT_EQ(keyboard->writes().size(), 1u);
}

TEST(ReportTraceFile, LogsEveryReportWrittenAndReadInBothDirections) {
    TempDir dir;
    RuntimeFolder runtime;
    auto backend = std::make_shared<FakeBackend>();
    hid::HidPlatform platform;
    platform.addBackend(backend);
    auto keyboard = backend->add(kKeyboardPath, kVendorDescriptor, 0x0C45, 0x652F);
    ReportTrace trace;
    ASSERT_TRUE(trace.open(dir.file("trace.txt")));
    DeviceLink link(platform, trace);
    ASSERT_TRUE(link.openConfigurationDevice(kKeyboardPath));
    link.setConnected(true);

    EXPECT_EQ(link.BeginTransfer(), result::NoReply);  // silent: four requests
    keyboard->setResponder(patternReply);
    EXPECT_EQ(link.BeginTransfer(), result::Success);
    EXPECT_EQ(link.EnterBootMode(), result::Success);
    trace.close();
    EXPECT_EQ(link.BeginTransfer(), result::Success);  // no longer traced

    std::ifstream in(dir.file("trace.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 7u);
    const std::string begin = "> 040100010000000000" + std::string(110, '0');
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(lines[i], begin);
    EXPECT_EQ(lines[5].substr(0, 2), "< ");
    EXPECT_EQ(lines[5].size(), 2u + 128u);
    EXPECT_EQ(lines[6], "> 040000eeee" + std::string(118, '0'));
}

}  // namespace
}  // namespace keyloom::testing
