// keyloomctl list and info against the simulated keyboard, checked as a user
// and a script see them: output, exit codes and the report trace.

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <vector>

#include "cli/CliRunner.h"
#include "platform/text/Hex.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

TEST(KeyloomctlInfo, PrintsModelAndTracesChecksummedParameterBlockReads) {
    TempDir dir;
    CliRun run = runKeyloomctl({"--simulate", "0c45:652f", "--trace", "t.txt", "info"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("0c45:652f"), std::string::npos);
    EXPECT_NE(run.out.find("Active profile:   1"), std::string::npos);
    EXPECT_NE(run.out.find("4096 bytes"), std::string::npos);
    // Effects by number and language name, and the active profile's report rate.
    EXPECT_NE(run.out.find("Report rate:      step 3 (1000 Hz)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\n    1  Wave\n"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("#Error"), std::string::npos) << run.out;

    std::vector<std::string> trace = lines(dir.read("t.txt"));
    ASSERT_GE(trace.size(), 4u);
    int parameterReads = 0;
    for (const std::string& line : trace) {
        ASSERT_EQ(line.size(), 2u + 128u) << line;
        std::vector<std::uint8_t> report;
        ASSERT_TRUE(text::fromHex(line.substr(2), report)) << line;
        if (line[0] != '>')
            continue;
        unsigned sum = 0;
        for (std::size_t i = 3; i < report.size(); ++i)
            sum += report[i];
        EXPECT_EQ(report[1] | report[2] << 8, static_cast<int>(sum & 0xFFFF)) << line;
        if (report[3] == 3 && report[4] == 44)
            ++parameterReads;
    }
    // The probe's read and the one info asks for.
    EXPECT_EQ(parameterReads, 2);
}

TEST(KeyloomctlInfo, SecondModelAndJson) {
    TempDir dir;
    CliRun run = runKeyloomctl({"--simulate", "320f:5064", "--json", "info"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\"model\": \"320f:5064\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"perKeyColours\": true"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"Per-Key Colors\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"reportRateHz\": "), std::string::npos) << run.out;
}

TEST(KeyloomctlList, ShowsEveryCollectionOfTheSimulatedKeyboard) {
    TempDir dir;
    CliRun run = runKeyloomctl({"--simulate", "0c45:652f", "list"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("ff1c:0092  ok"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("000c:0001  ok"), std::string::npos) << run.out;
}

TEST(KeyloomctlUsage, ExitCodesForMistakesAndMissingKeyboards) {
    TempDir dir;
    EXPECT_EQ(runKeyloomctl({"frobnicate"}, dir.path()).exitCode, 2);
    EXPECT_EQ(runKeyloomctl({"--simulate", "1234:5678", "info"}, dir.path()).exitCode, 2);
    EXPECT_EQ(runKeyloomctl({"--simulate"}, dir.path()).exitCode, 2);
    EXPECT_EQ(runKeyloomctl({"info", "extra"}, dir.path()).exitCode, 2);
    CliRun help = runKeyloomctl({"info", "--help"}, dir.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: keyloomctl"), std::string::npos);
}

}  // namespace
}  // namespace keyloom::testing

namespace keyloom::testing {
namespace {

TEST(KeyloomctlWatch, ListensOnTheConsumerCollectionUntilItsTimeIsUp) {
    TempDir dir;
    CliRun run = runKeyloomctl({"--simulate", "320f:5064", "watch", "--for", "1"}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Listening on /sim/"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("&col01"), std::string::npos) << run.out;
    EXPECT_EQ(runKeyloomctl({"watch", "--for", "x"}, dir.path()).exitCode, 2);
}

}  // namespace
}  // namespace keyloom::testing
