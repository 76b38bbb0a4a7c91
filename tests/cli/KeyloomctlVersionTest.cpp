// keyloomctl --version: the project's version, alone or before a command.

#include <gtest/gtest.h>

#include <regex>

#include "cli/CliRunner.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

TEST(KeyloomctlVersion, PrintsTheProjectVersion) {
    TempDir dir;
    const CliRun run = runKeyloomctl({"--version"}, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(std::regex_match(run.out, std::regex("keyloomctl [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << run.out;
}

}  // namespace
}  // namespace keyloom::testing
