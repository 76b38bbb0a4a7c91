// The report trace file: its line format is relied on in bug reports.

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "device/ReportTrace.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(ReportTrace, EnvironmentVariableOpensTheProcessWideTrace) {
    TempDir dir;
    const std::string path = dir.file("env-trace.txt");
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::setenv("KEYLOOM_TRACE", path.c_str(), 1);
        const std::uint8_t report[] = {0x04, 0xAB};
        ReportTrace::instance().sent(report);
        ReportTrace::instance().received(report);
        ::_exit(ReportTrace::instance().isOpen() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(linesOf(path), (std::vector<std::string>{"> 04ab", "< 04ab"}));
}

TEST(ReportTrace, AppendsToAnExistingFileAndKeepsLinesWholeAcrossThreads) {
    TempDir dir;
    const std::string path = dir.write("trace.txt", "earlier line\n");
    ReportTrace trace;
    ASSERT_TRUE(trace.open(path));
    EXPECT_TRUE(trace.isOpen());
    std::array<std::uint8_t, 64> a{}, b{};
    a.fill(0x11);
    b.fill(0xEE);
    std::thread first([&] {
        for (int i = 0; i < 200; ++i)
            trace.sent(a);
    });
    std::thread second([&] {
        for (int i = 0; i < 200; ++i)
            trace.received(b);
    });
    first.join();
    second.join();
    trace.close();

    auto lines = linesOf(path);
    ASSERT_EQ(lines.size(), 401u);
    EXPECT_EQ(lines[0], "earlier line");
    const std::string sent = "> " + std::string(128, '1');
    const std::string received = "< " + std::string(128, 'e');
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(lines[i] == sent || lines[i] == received) << lines[i];
}

TEST(ReportTrace, UnwritablePathLeavesTheTraceClosed) {
    ReportTrace trace;
    EXPECT_FALSE(trace.open("/nonexistent-folder/trace.txt"));
    EXPECT_FALSE(trace.isOpen());
    const std::uint8_t report[] = {4};
    trace.sent(report);  // nothing to write to, nothing happens
}

}  // namespace
}  // namespace keyloom::testing
