#include "sim/SimFirmware.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace keyloom::sim {
namespace {

Report reply(SimFirmware& firmware, const Report& request) {
    auto response = firmware.handleRequest(request);
    EXPECT_TRUE(response.replied);
    return response.reply;
}

std::uint8_t statusOf(SimFirmware& firmware, const Report& request) {
    return reply(firmware, request)[field::kStatus];
}

// Reads `total` bytes with 56-byte chunks from `base`, as the host does.
std::vector<std::uint8_t> chunkedRead(SimFirmware& firmware, std::uint8_t cmd, std::size_t total,
                                      std::uint16_t base, std::vector<std::uint16_t>* offsets) {
    std::vector<std::uint8_t> out;
    for (std::size_t p = 0; p < total; p += kReportDataSize) {
        auto n = static_cast<std::uint8_t>(std::min(kReportDataSize, total - p));
        auto offset = static_cast<std::uint16_t>(base + p);
        if (offsets)
            offsets->push_back(offset);
        Report r = reply(firmware, makeRequest(cmd, n, offset));
        EXPECT_EQ(r[field::kStatus], 0);
        out.insert(out.end(), r.begin() + field::kData, r.begin() + field::kData + n);
    }
    return out;
}

TEST(SimFirmware, ParameterBlockReplyByteByByte) {
    SimFirmware firmware(kModel652F);
    Report request = makeRequest(command::kReadParameterBlock, 44, 0);
    EXPECT_EQ(request[1], 0x2F);  // checksum of 03 2C
    EXPECT_EQ(request[2], 0x00);

    Report r = reply(firmware, request);
    EXPECT_EQ(r[0], 4);
    EXPECT_EQ(r[3], 3);
    EXPECT_EQ(r[4], 44);
    EXPECT_EQ(r[7], 0);
    EXPECT_EQ(readU16(r, 1), reportChecksum(r));
    EXPECT_EQ(r[8 + 10], 0);   // active profile
    EXPECT_EQ(r[8 + 11], 32);  // 4096-byte macro area
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(r[8 + 12 + i], i + 1);
    EXPECT_EQ(r[8 + 12 + 18], 20);
    for (int i = 12 + 19; i < 44; ++i)
        EXPECT_EQ(r[8 + i], 0) << i;
    for (int i = 8 + 44; i < 64; ++i)
        EXPECT_EQ(r[i], 0) << i;
}

TEST(SimFirmware, CommandsWithoutDataSucceed) {
    SimFirmware firmware(kModel652F);
    for (std::uint8_t cmd : {1, 2, 11, 12, 13, 14}) {
        Report r = reply(firmware, makeRequest(cmd, 0, 0));
        EXPECT_EQ(r[field::kCommand], cmd);
        EXPECT_EQ(r[field::kStatus], 0) << int(cmd);
    }
    EXPECT_EQ(statusOf(firmware, makeRequest(0, 0, 0)), reply_status::kRefused);
    EXPECT_EQ(statusOf(firmware, makeRequest(18, 0, 0)), reply_status::kRefused);
}

TEST(SimFirmware, KeyMatrixReadInChunksAtProfileOffsets) {
    struct Case {
        const SimModel* model;
        std::uint16_t profile;
        std::vector<std::uint16_t> offsets;
    };
    const Case cases[] = {
        {&kModel652F, 0, {0, 56, 112, 168, 224, 280, 336}},
        {&kModel652F, 1, {378, 434, 490, 546, 602, 658, 714}},
        {&kModel5064, 2, {1024, 1080, 1136, 1192, 1248, 1304, 1360}},
    };
    for (const auto& c : cases) {
        SimFirmware firmware(*c.model);
        std::vector<std::uint16_t> offsets;
        auto matrix = chunkedRead(firmware, command::kReadKeyMatrix, c.model->keyMatrixLength,
                                  c.profile * c.model->keyMatrixStride, &offsets);
        EXPECT_EQ(offsets, c.offsets);
        EXPECT_EQ(matrix, firmware.memory().defaultMatrix);
        auto defaults = chunkedRead(firmware, command::kReadDefaultKeyMatrix,
                                    c.model->keyMatrixLength, 0, nullptr);
        EXPECT_EQ(defaults, matrix);
    }
    // The last chunk of a 378-byte matrix is 42 bytes and ends the area.
    SimFirmware firmware(kModel652F);
    EXPECT_EQ(statusOf(firmware, makeRequest(command::kReadKeyMatrix, 42, 2 * 378 + 336)), 0);
    EXPECT_EQ(statusOf(firmware, makeRequest(command::kReadKeyMatrix, 43, 2 * 378 + 336)),
              reply_status::kRefused);
}

TEST(SimFirmware, WritesAreReadBack) {
    SimFirmware firmware(kModel5064);
    std::vector<std::uint8_t> data(56);
    std::iota(data.begin(), data.end(), 0x40);

    struct Area {
        std::uint8_t write, read;
        std::uint16_t offset;
        std::uint8_t length;
    };
    for (Area a : {Area{8, 7, 512 + 56, 56}, Area{10, 9, 4000, 56}, Area{17, 16, 812, 3},
                   Area{6, 5, 84 + 5, 3}}) {
        auto response = firmware.handleRequest(makeRequest(a.write, a.length, a.offset, data));
        EXPECT_EQ(response.reply[field::kStatus], 0) << int(a.write);
        EXPECT_TRUE(response.memoryChanged);
        Report r = reply(firmware, makeRequest(a.read, a.length, a.offset));
        EXPECT_TRUE(std::equal(data.begin(), data.begin() + a.length, r.begin() + 8))
            << int(a.read);
    }
    // Writing the same bytes again changes nothing.
    EXPECT_FALSE(firmware.handleRequest(makeRequest(17, 3, 812, data)).memoryChanged);
    EXPECT_EQ(firmware.memory().keyColours[812], 0x40);
    EXPECT_EQ(firmware.memory().profileSettings[84 + 5], 0x40);
}

TEST(SimFirmware, ProfileRecordsReadAsTheHostReadsThem) {
    SimFirmware firmware(kModel652F);
    for (std::uint16_t offset : {0, 42, 84}) {
        Report r = reply(firmware, makeRequest(command::kReadProfileSettings, 56, offset));
        ASSERT_EQ(r[field::kStatus], 0) << offset;
        const auto& area = firmware.memory().profileSettings;
        std::size_t inside = std::min<std::size_t>(56, area.size() - offset);
        EXPECT_TRUE(
            std::equal(area.begin() + offset, area.begin() + offset + inside, r.begin() + 8));
        for (std::size_t i = inside; i < 56; ++i)
            EXPECT_EQ(r[8 + i], 0);
    }
    EXPECT_EQ(statusOf(firmware, makeRequest(command::kReadProfileSettings, 56, 126)),
              reply_status::kRefused);
    // Writes must stay inside the 126 bytes.
    std::uint8_t two[2] = {1, 2};
    EXPECT_EQ(statusOf(firmware, makeRequest(command::kWriteProfileSettings, 2, 125, two)),
              reply_status::kRefused);
}

TEST(SimFirmware, OutOfRangeRequestsAreRefusedAndChangeNothing) {
    SimFirmware firmware(kModel652F);
    const SimMemory before = firmware.memory();
    std::vector<std::uint8_t> data(56, 0xAB);
    const Report refused[] = {
        makeRequest(command::kReadParameterBlock, 45, 0),
        makeRequest(command::kReadParameterBlock, 44, 1),
        makeRequest(command::kWriteParameterBlock, 44, 1, data),
        makeRequest(command::kReadKeyMatrix, 57, 0),
        makeRequest(command::kReadKeyMatrix, 1, 3 * 378),
        makeRequest(command::kWriteKeyMatrix, 56, 3 * 378 - 55, data),
        makeRequest(command::kReadDefaultKeyMatrix, 2, 377),
        makeRequest(command::kReadMacroArea, 1, 4096),
        makeRequest(command::kWriteMacroArea, 56, 4096 - 55, data),
        makeRequest(command::kWriteKeyColours, 4, 1533, data),
        makeRequest(command::kReadKeyColours, 1, 0xFFFF),
    };
    for (const auto& request : refused) {
        Report r = reply(firmware, request);
        EXPECT_EQ(r[field::kStatus], reply_status::kRefused) << int(request[3]);
        for (std::size_t i = field::kData; i < kReportSize; ++i)
            ASSERT_EQ(r[i], 0);
    }
    EXPECT_EQ(firmware.memory(), before);
}

TEST(SimFirmware, BadChecksumIsAnsweredWithFE) {
    SimFirmware firmware(kModel652F);
    std::uint8_t data[3] = {1, 2, 3};
    Report request = makeRequest(command::kWriteKeyColours, 3, 0, data);
    request[field::kData] ^= 0x01;
    auto response = firmware.handleRequest(request);
    ASSERT_TRUE(response.replied);
    EXPECT_EQ(response.reply[field::kStatus], reply_status::kBadChecksum);
    EXPECT_FALSE(response.memoryChanged);
    EXPECT_EQ(firmware.memory().keyColours[0], 0xFF);
}

TEST(SimFirmware, ParameterBlockWriteKeepsCapacityAndChecksProfile) {
    SimFirmware firmware(kModel652F);
    auto block = firmware.memory().parameters;
    block[kParameterActiveProfile] = 2;
    block[kParameterMacroCapacity] = 200;
    EXPECT_EQ(statusOf(firmware, makeRequest(command::kWriteParameterBlock, 44, 0, block)), 0);
    EXPECT_EQ(firmware.memory().parameters[kParameterActiveProfile], 2);
    EXPECT_EQ(firmware.memory().parameters[kParameterMacroCapacity], 32);
    EXPECT_EQ(firmware.memory().macroArea.size(), 4096u);

    block[kParameterActiveProfile] = 3;
    EXPECT_EQ(statusOf(firmware, makeRequest(command::kWriteParameterBlock, 44, 0, block)),
              reply_status::kRefused);
    EXPECT_EQ(firmware.memory().parameters[kParameterActiveProfile], 2);
}

TEST(SimFirmware, BootModeReportSilencesTheKeyboardUntilReset) {
    SimFirmware firmware(kModel652F);
    auto response = firmware.handleRequest(bootModeRequest());
    EXPECT_FALSE(response.replied);
    EXPECT_TRUE(response.enteredBootMode);
    EXPECT_TRUE(firmware.inBootMode());
    EXPECT_FALSE(firmware.handleRequest(makeRequest(3, 44, 0)).replied);
    firmware.leaveBootMode();
    EXPECT_TRUE(firmware.handleRequest(makeRequest(3, 44, 0)).replied);
}

TEST(SimFirmware, RequestsOfAnotherReportIdGoUnanswered) {
    SimFirmware firmware(kModel652F);
    Report request = makeRequest(3, 44, 0);
    request[0] = 5;
    EXPECT_FALSE(firmware.handleRequest(request).replied);
}

TEST(SimFirmware, LostRequestsOnceCountedAndAlways) {
    SimFirmware firmware(kModel652F);
    std::uint8_t colour[3] = {1, 2, 3};
    firmware.faults().dropRequests(2);
    EXPECT_FALSE(firmware.handleRequest(makeRequest(17, 3, 0, colour)).replied);
    EXPECT_FALSE(firmware.handleRequest(makeRequest(3, 44, 0)).replied);
    EXPECT_TRUE(firmware.handleRequest(makeRequest(3, 44, 0)).replied);
    EXPECT_EQ(firmware.memory().keyColours[0], 0xFF);  // the lost write was not carried out

    firmware.faults().dropRequests(SimFaults::kAlways);
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(firmware.handleRequest(makeRequest(1, 0, 0)).replied);
    firmware.faults().clear();
    EXPECT_TRUE(firmware.handleRequest(makeRequest(1, 0, 0)).replied);
}

TEST(SimFirmware, RefusalsForNextRequestOrOneCommand) {
    SimFirmware firmware(kModel652F);
    firmware.faults().refuseNext(0xFE);
    EXPECT_EQ(statusOf(firmware, makeRequest(1, 0, 0)), 0xFE);
    EXPECT_EQ(statusOf(firmware, makeRequest(1, 0, 0)), 0);

    std::uint8_t block[44] = {};
    firmware.faults().refuseCommand(command::kWriteParameterBlock, 0xFF, 1);
    EXPECT_EQ(statusOf(firmware, makeRequest(3, 44, 0)), 0);
    EXPECT_EQ(statusOf(firmware, makeRequest(4, 44, 0, block)), 0xFF);
    EXPECT_EQ(firmware.memory().parameters[kParameterEffectList], 1);  // not carried out
    EXPECT_EQ(statusOf(firmware, makeRequest(3, 44, 0)), 0);

    firmware.faults().refuseCommand(command::kReadParameterBlock, 0xFE);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(statusOf(firmware, makeRequest(3, 44, 0)), 0xFE);
    EXPECT_EQ(statusOf(firmware, makeRequest(1, 0, 0)), 0);
}

TEST(SimFirmware, DelayedRepliesCarryTheirDelay) {
    SimFirmware firmware(kModel652F);
    firmware.faults().delayReplies(250, 1);
    EXPECT_EQ(firmware.handleRequest(makeRequest(1, 0, 0)).delayMs, 250u);
    EXPECT_EQ(firmware.handleRequest(makeRequest(1, 0, 0)).delayMs, 0u);
    firmware.faults().delayReplies(40);
    EXPECT_EQ(firmware.handleRequest(makeRequest(1, 0, 0)).delayMs, 40u);
    EXPECT_EQ(firmware.handleRequest(makeRequest(1, 0, 0)).delayMs, 40u);
    firmware.faults().delayReplies(0);
    EXPECT_EQ(firmware.handleRequest(makeRequest(1, 0, 0)).delayMs, 0u);
}

TEST(SimFirmware, LogKeepsRequestsAndRepliesAndStaysBounded) {
    SimFirmware firmware(kModel652F);
    Report request = makeRequest(3, 44, 0);
    Report r = reply(firmware, request);
    ASSERT_EQ(firmware.log().size(), 2u);
    EXPECT_EQ(firmware.log().at(0).direction, Direction::Received);
    EXPECT_TRUE(std::equal(request.begin(), request.end(), firmware.log().at(0).bytes.begin()));
    EXPECT_EQ(firmware.log().at(1).direction, Direction::Sent);
    EXPECT_TRUE(std::equal(r.begin(), r.end(), firmware.log().at(1).bytes.begin()));
    firmware.log().clear();
    EXPECT_EQ(firmware.log().size(), 0u);

    SimReportLog log(3);
    for (std::uint8_t i = 0; i < 5; ++i) {
        std::uint8_t bytes[1] = {i};
        log.record(Direction::Sent, bytes);
    }
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(log.dropped(), 2u);
    EXPECT_EQ(log.at(0).bytes[0], 2);
    EXPECT_EQ(log.entries().back().bytes[0], 4);
}

TEST(SimFirmware, BracketingFaultsNameTheCommands) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> commands;
        std::vector<std::string> faults;
    };
    const Case cases[] = {
        {"lighting wake-up", {1, 1, 6, 2}, {}},
        {"reads and a lone End", {3, 2, 5, 7, 16}, {}},
        {"write outside a group", {1, 8, 2, 17}, {"command 17 (write) outside a Begin/End group"}},
        {"interleaved groups",
         {1, 10, 1, 6, 2, 10, 2},
         {"command 1 (Begin) inside an open group that wrote command 10",
          "command 10 (write) outside a Begin/End group"}},
    };
    for (const Case& c : cases) {
        SimFirmware firmware(kModel652F);
        for (std::uint8_t cmd : c.commands)
            firmware.handleRequest(makeRequest(cmd, cmd == 4 ? 44 : 1, 0));
        EXPECT_EQ(firmware.protocolFaults(), c.faults) << c.what;
    }
}

}  // namespace
}  // namespace keyloom::sim
