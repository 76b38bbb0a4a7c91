// keyloomctl commands that change the configuration, end to end against a
// simulated keyboard whose memory persists in a state file between runs, as
// a user scripting several commands sees it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "platform/text/Hex.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

class KeyloomctlConfig : public ::testing::Test {
protected:
    CliRun run(std::vector<std::string> args, const std::string& model = "0c45:652f") {
        args.insert(args.begin(), {"--simulate", model + ":" + dir.file(model + ".state"),
                                   "--data-dir", dir.file("data")});
        return runKeyloomctl(args, dir.path());
    }

    // A JSON string field of dump-device's output, as bytes.
    std::vector<std::uint8_t> dumpField(const std::string& json, const std::string& name,
                                        int nth = 0) {
        std::regex pattern("\"([0-9a-f]+)\"");
        auto start = json.find("\"" + name + "\"");
        EXPECT_NE(start, std::string::npos) << name;
        std::string rest = json.substr(start + name.size() + 2);
        std::smatch match;
        for (int i = 0; i <= nth; ++i) {
            EXPECT_TRUE(std::regex_search(rest, match, pattern));
            if (i < nth)
                rest = match.suffix();
        }
        std::vector<std::uint8_t> bytes;
        text::fromHex(match[1], bytes);
        return bytes;
    }

    // Matrix position of the keyboard key with HID usage `usage` (02 02 usage).
    std::size_t positionOfUsage(const std::vector<std::uint8_t>& defaults, std::uint8_t usage) {
        for (std::size_t i = 0; i + 2 < defaults.size(); i += 3)
            if (defaults[i] == 2 && defaults[i + 1] == 2 && defaults[i + 2] == usage)
                return i;
        ADD_FAILURE() << "no position for usage " << int(usage);
        return 0;
    }

    TempDir dir;
};

TEST_F(KeyloomctlConfig, AssignWritesTheMatrixEntryAndBackupShowsIt) {
    CliRun assign = run({"--trace", "t.txt", "assign", "A", "key:Ctrl"});
    ASSERT_EQ(assign.exitCode, 0) << assign.err;
    EXPECT_NE(assign.out.find("A -> key:Left Ctrl"), std::string::npos) << assign.out;

    CliRun dump = run({"--json", "dump-device"});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    auto defaults = dumpField(dump.out, "defaultKeyMatrix");
    auto active = dumpField(dump.out, "keyMatrices", 0);
    std::size_t a = positionOfUsage(defaults, 0x04);
    ASSERT_LT(a + 2, active.size());
    EXPECT_EQ(active[a], 0x02);
    EXPECT_EQ(active[a + 1], 0x01);
    EXPECT_EQ(active[a + 2], 0x01);
    // Nothing else of the matrix changed.
    defaults[a + 1] = 0x01;
    defaults[a + 2] = 0x01;
    EXPECT_EQ(active, defaults);

    CliRun backup = runKeyloomctl({"--simulate", "0c45:652f:" + dir.file("0c45:652f.state"),
                                   "--data-dir", dir.file("d2"), "backup", "f.klm"},
                                  dir.path());
    ASSERT_EQ(backup.exitCode, 0) << backup.err;
    CliRun show = runKeyloomctl({"show", "f.klm"}, dir.path());
    ASSERT_EQ(show.exitCode, 0) << show.err;
    EXPECT_TRUE(std::regex_search(show.out, std::regex("Profile 1:\n  A +key:Left Ctrl\n")))
        << show.out;
    EXPECT_EQ(runKeyloomctl({"validate", "f.klm"}, dir.path()).exitCode, 0);
}

// Scripts and exported files rely on the names keyloomctl reads and prints,
// so a German desktop must not turn "Left Ctrl" into "Strg links".
TEST_F(KeyloomctlConfig, NamesStayEnglishOnADesktopInAnotherLanguage) {
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    CliRun assign = run({"assign", "A", "key:Left Ctrl"});
    ::unsetenv("LC_ALL");
    ASSERT_EQ(assign.exitCode, 0) << assign.err;
    EXPECT_NE(assign.out.find("A -> key:Left Ctrl"), std::string::npos) << assign.out;
}

TEST_F(KeyloomctlConfig, LookingCommandsNeverWriteToTheKeyboard) {
    ASSERT_EQ(run({"assign", "B", "disabled"}).exitCode, 0);
    for (std::vector<std::string> args : {std::vector<std::string>{"info"},
                                          {"dump-device"},
                                          {"profile"},
                                          {"backup", "x.klm"},
                                          {"report-rate"},
                                          {"show"}}) {
        std::remove(dir.file("t.txt").c_str());
        args.insert(args.begin(), {"--trace", "t.txt"});
        CliRun looked = run(args);
        ASSERT_EQ(looked.exitCode, 0) << args.back() << ": " << looked.err;
        // Reads only: parameter block, matrices, records, macro area.
        std::string trace = dir.read("t.txt");
        for (std::size_t at = 0; (at = trace.find("> ", at)) != std::string::npos; at += 2) {
            std::string command = trace.substr(at + 2 + 6, 2);
            EXPECT_TRUE(command == "03" || command == "05" || command == "07" || command == "09" ||
                        command == "0f")
                << args.back() << " sent command " << command;
        }
    }
}

TEST_F(KeyloomctlConfig, MacrosProfilesAndReportRate) {
    CliRun set =
        run({"macro", "set", "1", "Hello", "--count", "2", "H+50", "H-20", "Num -+5", "Num --0"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    CliRun list = run({"macro", "list"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("Hello  (x2)"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("H-20"), std::string::npos) << list.out;

    EXPECT_EQ(run({"assign", "A", "macro:9"}).exitCode, 2);
    ASSERT_EQ(run({"assign", "A", "macro:1:3"}).exitCode, 0);

    ASSERT_EQ(run({"profile", "3"}).exitCode, 0);
    CliRun profile = run({"profile"});
    EXPECT_EQ(profile.out, "3\n");
    EXPECT_EQ(run({"profile", "4"}).exitCode, 2);

    std::remove(dir.file("t.txt").c_str());
    ASSERT_EQ(run({"--trace", "t.txt", "report-rate", "3"}).exitCode, 0);
    // One byte of value 3 at offset 2 x 42 + 15 of the lighting records.
    EXPECT_NE(dir.read("t.txt").find("060163000003"), std::string::npos);
    EXPECT_EQ(run({"report-rate", "4"}).exitCode, 2);

    ASSERT_EQ(run({"macro", "delete", "1"}).exitCode, 0);
    CliRun after = run({"macro", "list"});
    EXPECT_NE(after.out.find("No macros."), std::string::npos) << after.out;
}

TEST_F(KeyloomctlConfig, GKeysAreRefusedWhereTheKeyboardHasNone) {
    CliRun before = run({"--json", "dump-device"});
    ASSERT_EQ(before.exitCode, 0) << before.err;
    CliRun refused = run({"assign", "G3", "key:Z"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("no G3 key"), std::string::npos) << refused.err;
    EXPECT_EQ(refused.out, "");
    CliRun after = run({"--json", "dump-device"});
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(dumpField(after.out, "keyMatrices", p), dumpField(before.out, "keyMatrices", p));

    // The other model's default matrix has positions 06 A2 01-12 for them.
    const std::string model = "320f:5064";
    CliRun dump = run({"--json", "dump-device"}, model);
    auto defaults = dumpField(dump.out, "defaultKeyMatrix");
    CliRun assigned = run({"assign", "G3", "key:Z"}, model);
    ASSERT_EQ(assigned.exitCode, 0) << assigned.err;
    EXPECT_NE(assigned.out.find("G3 -> key:Z"), std::string::npos) << assigned.out;
    auto active = dumpField(run({"--json", "dump-device"}, model).out, "keyMatrices", 0);
    std::size_t g3 = 0;
    while (g3 + 2 < defaults.size() &&
           !(defaults[g3] == 6 && defaults[g3 + 1] == 0xA2 && defaults[g3 + 2] == 3))
        g3 += 3;
    ASSERT_LT(g3 + 2, active.size());
    EXPECT_EQ(std::vector<std::uint8_t>(active.begin() + g3, active.begin() + g3 + 3),
              (std::vector<std::uint8_t>{2, 2, 0x1D}));

    // The colour list has G keys only where the keyboard has them.
    EXPECT_EQ(run({"colours"}).out.find("G1"), std::string::npos);
    EXPECT_NE(run({"colours"}, model).out.find("G1"), std::string::npos);
}

TEST_F(KeyloomctlConfig, DefaultClearsBothBanksOfTheGKeys) {
    const std::string model = "320f:5064";
    auto matrix = [&] {
        return dumpField(run({"--json", "dump-device"}, model).out, "keyMatrices");
    };
    const auto factory = matrix();
    ASSERT_EQ(run({"assign", "G3 bank 2", "key:Z"}, model).exitCode, 0);
    ASSERT_NE(matrix(), factory);
    CliRun reset = run({"default"}, model);
    ASSERT_EQ(reset.exitCode, 0) << reset.err;
    EXPECT_EQ(matrix(), factory);
}

TEST_F(KeyloomctlConfig, RestoreSavesWhatTheKeyboardHeldFirstAndNamesIt) {
    ASSERT_EQ(run({"backup", "plain.klm"}).exitCode, 0);
    ASSERT_EQ(run({"assign", "A", "key:Ctrl"}).exitCode, 0);
    CliRun restored = run({"restore", "plain.klm"});
    ASSERT_EQ(restored.exitCode, 0) << restored.err;
    std::smatch named;
    ASSERT_TRUE(std::regex_search(
        restored.out, named, std::regex("saved to (\\S+/before-restore-\\d{8}-\\d{6}\\.klm)\n")))
        << restored.out;
    EXPECT_TRUE(named[1].str().starts_with(dir.file("data") + "/")) << named[1];
    CliRun held = runKeyloomctl({"show", named[1]}, dir.path());
    EXPECT_TRUE(std::regex_search(held.out, std::regex("\n  A +key:Left Ctrl\n"))) << held.out;
}

TEST_F(KeyloomctlConfig, TooLongADelayIsSavedAsTheLongestWithAWarning) {
    CliRun set = run({"macro", "set", "3", "X", "Q+50000", "Q-99999999999999999999999"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_NE(set.err.find("warning: Q+50000: a delay is at most 40000 ms; kept as 40000 ms"),
              std::string::npos)
        << set.err;
    EXPECT_NE(set.out.find("saved to the keyboard"), std::string::npos) << set.out;
    // What the keyboard now holds, read back through a backup.
    ASSERT_EQ(run({"backup", "m.klm"}).exitCode, 0);
    CliRun show = runKeyloomctl({"show", "m.klm"}, dir.path());
    EXPECT_NE(show.out.find("Q+40000 Q-40000"), std::string::npos) << show.out;
    EXPECT_EQ(run({"macro", "set", "3", "X", "Q+5x"}).exitCode, 2);
}

TEST_F(KeyloomctlConfig, ReportRateTakesStepsOrRatesAndPrintsTheCurrentOne) {
    // The simulated keyboard's first profile starts at step 3.
    CliRun current = run({"report-rate"});
    ASSERT_EQ(current.exitCode, 0) << current.err;
    EXPECT_EQ(current.out, "Report rate step 3 (1000 Hz) on profile 1\n");

    CliRun set = run({"--trace", "t.txt", "report-rate", "250"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(set.out, "Report rate step 1 (250 Hz) written to profile 1\n");
    // One byte of value 1 at offset 0 x 42 + 15 of the lighting records.
    EXPECT_NE(dir.read("t.txt").find("0601"
                                     "0f00"
                                     "0001"),
              std::string::npos);
    CliRun json = run({"--json", "report-rate"});
    EXPECT_EQ(json.out, "{\"profile\": 1, \"step\": 1, \"rateHz\": 250}\n");

    for (const char* wrong : {"4", "124", "300", "2000", "-1", "fast"})
        EXPECT_EQ(run({"report-rate", wrong}).exitCode, 2) << wrong;
    CliRun help = runKeyloomctl({"report-rate", "--help"}, dir.path());
    EXPECT_EQ(help.out.find("lighting record"), std::string::npos) << help.out;
}

TEST_F(KeyloomctlConfig, ShowWithoutFileShowsTheKeyboardAsABackupWould) {
    ASSERT_EQ(run({"macro", "set", "1", "Hello", "H+50"}).exitCode, 0);
    ASSERT_EQ(run({"assign", "A", "macro:1:3"}).exitCode, 0);

    CliRun shown = run({"show"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    ASSERT_EQ(run({"backup", "b.klm"}).exitCode, 0);
    CliRun file = runKeyloomctl({"show", "b.klm"}, dir.path());
    EXPECT_EQ(shown.out, file.out);
    // The play count is the macro's own, whether read from the keyboard or
    // from the slot file, in the form assign takes.
    EXPECT_TRUE(std::regex_search(shown.out, std::regex("\n  A +macro:1:3 \\(Hello\\)\n")))
        << shown.out;
    CliRun slot = runKeyloomctl({"show", dir.file("data") + "/$Profile0"}, dir.path());
    EXPECT_TRUE(std::regex_search(slot.out, std::regex("\n  A +macro:1:3 \\(Hello\\)\n")))
        << slot.out;
    EXPECT_EQ(runKeyloomctl({"show", "b.klm", "extra"}, dir.path()).exitCode, 2);
}

TEST_F(KeyloomctlConfig, UsageMistakesAreExitCodeTwo) {
    EXPECT_EQ(runKeyloomctl({"assign", "NoSuchKey", "disabled"}, dir.path()).exitCode, 2);
    EXPECT_EQ(runKeyloomctl({"assign", "A"}, dir.path()).exitCode, 2);
    EXPECT_EQ(runKeyloomctl({"macro", "frob"}, dir.path()).exitCode, 2);
    EXPECT_EQ(runKeyloomctl({"validate"}, dir.path()).exitCode, 2);
    dir.write("junk.klm", std::string(40000, 'x'));
    CliRun junk = runKeyloomctl({"validate", "junk.klm"}, dir.path());
    EXPECT_EQ(junk.exitCode, 1);
    EXPECT_FALSE(junk.err.empty());
}

}  // namespace
}  // namespace keyloom::testing
