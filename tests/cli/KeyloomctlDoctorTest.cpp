// keyloomctl doctor on this machine: whatever it finds, its verdict, exit
// code and advice agree (no keyboard is plugged in on a build machine).

#include <gtest/gtest.h>

#include <string>

#include "cli/CliRunner.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

TEST(KeyloomctlDoctor, TheVerdictMatchesTheExitCodeAndAFixIsGiven) {
    TempDir dir;
    const CliRun json = runKeyloomctl({"doctor", "--json"}, dir.path());
    const bool ok = json.out.find("\"ok\": true") != std::string::npos;
    EXPECT_EQ(json.exitCode, ok ? 0 : 1) << json.out;
    for (const char* field : {"\"nodes\"", "\"udevRule\"", "\"session\"", "\"fixes\""})
        EXPECT_NE(json.out.find(field), std::string::npos) << field;

    const CliRun text = runKeyloomctl({"doctor"}, dir.path());
    EXPECT_EQ(text.exitCode, json.exitCode);
    EXPECT_NE(text.out.find(ok ? "All is well." : "cannot use the keyboard"), std::string::npos)
        << text.out;
    if (text.out.find("udev rule: not installed") != std::string::npos) {
        EXPECT_NE(text.out.find("sudo install -m 0644 "), std::string::npos) << text.out;
        EXPECT_NE(text.out.find("/etc/udev/rules.d/60-keyloom.rules"), std::string::npos);
    }
    EXPECT_EQ(runKeyloomctl({"doctor", "extra"}, dir.path()).exitCode, 2);
}

}  // namespace
}  // namespace keyloom::testing
