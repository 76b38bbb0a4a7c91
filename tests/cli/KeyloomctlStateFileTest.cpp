// The simulated keyboard's state file through keyloomctl: a file that cannot
// be used is kept aside under a name of its own, never over an earlier copy,
// and commands that only look leave the file exactly as it is.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

class KeyloomctlStateFile : public ::testing::Test {
protected:
    CliRun run(const std::string& model, std::vector<std::string> args) {
        args.insert(args.begin(), {"--simulate", model + ":" + dir.file("mm.state"), "--data-dir",
                                   dir.file("data")});
        return runKeyloomctl(args, dir.path());
    }
    bool exists(const std::string& name) { return std::filesystem::exists(dir.file(name)); }

    TempDir dir;
};

TEST_F(KeyloomctlStateFile, WrongModelKeepsEveryEarlierMemory) {
    ASSERT_EQ(run("0c45:652f", {"assign", "S", "key:Z"}).exitCode, 0);
    const std::string original = dir.read("mm.state");

    // The other model cannot use the file: it is kept aside, and this model's
    // memory is kept in the named file from now on.
    CliRun other = run("320f:5064", {"assign", "A", "key:B"});
    EXPECT_EQ(other.exitCode, 0) << other.err;
    EXPECT_NE(other.err.find(dir.file("mm.state.bad-1")), std::string::npos) << other.err;
    EXPECT_EQ(dir.read("mm.state.bad-1"), original);
    const std::string otherModel = dir.read("mm.state");

    // Looking says the file is not this model's, and shows no factory keys.
    CliRun shown = run("0c45:652f", {"show"});
    EXPECT_NE(shown.exitCode, 0);
    EXPECT_NE(shown.err.find("belongs to model 320f:5064"), std::string::npos) << shown.err;
    EXPECT_NE(shown.err.find("left as it is"), std::string::npos) << shown.err;
    EXPECT_EQ(shown.out.find("key:"), std::string::npos) << shown.out;
    EXPECT_EQ(dir.read("mm.state"), otherModel);
    EXPECT_FALSE(exists("mm.state.bad-2"));

    // A second writing run keeps the second file beside the first.
    ASSERT_EQ(run("0c45:652f", {"assign", "S", "key:X"}).exitCode, 0);
    EXPECT_EQ(dir.read("mm.state.bad-1"), original);
    EXPECT_EQ(dir.read("mm.state.bad-2"), otherModel);
}

TEST_F(KeyloomctlStateFile, CommandsThatOnlyLookNeverMoveADamagedFile) {
    const std::string damaged = "keyloom-sim-state 1\nmodel 0c45:652f\nparameters zz\n";
    dir.write("mm.state", damaged);
    const std::vector<std::vector<std::string>> looks = {
        {"show"},         {"info"},    {"list"},        {"dump-device"}, {"backup", "b.klm"},
        {"profiles"},     {"profile"}, {"report-rate"}, {"lighting"},    {"colours"},
        {"macro", "list"}};
    for (const auto& args : looks) {
        CliRun looked = run("0c45:652f", args);
        EXPECT_NE(looked.err.find("is not usable"), std::string::npos) << args[0] << looked.err;
        EXPECT_EQ(dir.read("mm.state"), damaged) << args[0];
        EXPECT_FALSE(exists("mm.state.bad-1")) << args[0];
    }
    EXPECT_FALSE(exists("b.klm"));
}

}  // namespace
}  // namespace keyloom::testing
