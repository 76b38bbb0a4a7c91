// keyloomctl reads back what it prints, and refuses input it cannot keep as
// given before anything is written: names over the limit, bad delays, keys
// that play a macro the file lacks.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "model/AssignmentImage.h"
#include "model/MacroRecord.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

class KeyloomctlWords : public ::testing::Test {
protected:
    CliRun run(std::vector<std::string> args, const std::string& model = "0c45:652f") {
        args.insert(args.begin(), {"--simulate", model + ":" + dir.file(model + ".state"),
                                   "--data-dir", dir.file("data-" + model)});
        return runKeyloomctl(args, dir.path());
    }
    static bool has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    TempDir dir;
};

TEST_F(KeyloomctlWords, MacroSetRefusesOrNamesEveryChangedInput) {
    CliRun name = run({"macro", "set", "1", std::string(300, 'x'), "A+10"});
    EXPECT_EQ(name.exitCode, 2);
    EXPECT_TRUE(has(name.err, "at most 249")) << name.err;

    CliRun sign = run({"macro", "set", "1", "X", "A+-5"});
    EXPECT_EQ(sign.exitCode, 2);
    EXPECT_TRUE(has(sign.err, "must be a whole number of milliseconds, not '-5'")) << sign.err;

    CliRun delays = run({"macro", "set", "1", "X", "A+5", "A-50000", "B+20"});
    ASSERT_EQ(delays.exitCode, 0) << delays.err;
    EXPECT_TRUE(has(delays.err, "A+5: the keyboard counts delays in steps of 10 ms; kept as 0 ms"))
        << delays.err;
    EXPECT_TRUE(has(delays.err, "A-50000: a delay is at most 40000 ms; kept as 40000 ms"))
        << delays.err;
    EXPECT_FALSE(has(delays.err, "B+20")) << delays.err;

    // A missing macro is a usage mistake wherever it is named.
    EXPECT_EQ(run({"macro", "delete", "9"}).exitCode, 2);
    EXPECT_EQ(run({"assign", "A", "macro:9"}).exitCode, 2);
}

TEST_F(KeyloomctlWords, AKeyPlayingAMissingMacroIsNamedBeforeAnythingIsWritten) {
    ASSERT_EQ(run({"macro", "set", "1", "Hi", "A+10"}).exitCode, 0);
    ASSERT_EQ(run({"assign", "B", "macro:1"}).exitCode, 0);
    ASSERT_EQ(run({"backup", "a.klm"}).exitCode, 0);
    // Renumber the file's only macro: key B now plays one it does not hold.
    std::string bytes = dir.read("a.klm");
    bytes[AssignmentImage::kSize + MacroRecord::kNumberOffset] = 2;
    dir.write("b.klm", bytes);

    for (std::vector<std::string> args :
         {std::vector<std::string>{"validate", "b.klm"}, {"restore", "b.klm"}}) {
        CliRun refused = run(args);
        EXPECT_EQ(refused.exitCode, 1) << args[0];
        EXPECT_TRUE(has(refused.err, "profile 1: B plays macro 1")) << refused.err;
    }
    EXPECT_TRUE(has(run({"show", "b.klm"}).out, "macro:1 (missing)"));

    ASSERT_EQ(run({"export", "a.klm", "--out", "a.json"}).exitCode, 0);
    std::string json = dir.read("a.json");
    json.replace(json.find("\"macro:1"), 8, "\"macro:7");
    dir.write("c.json", json);
    CliRun imported = run({"import", "c.json", "--out", "c.klm"});
    EXPECT_EQ(imported.exitCode, 1);
    EXPECT_TRUE(has(imported.err, "profile 1: B plays macro 7")) << imported.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.klm")));
    // The JSON form given to restore is recognised for what it is.
    CliRun jsonRestore = run({"restore", "a.json"});
    EXPECT_EQ(jsonRestore.exitCode, 1);
    EXPECT_TRUE(has(jsonRestore.err, "JSON form")) << jsonRestore.err;
    EXPECT_TRUE(has(jsonRestore.err, "keyloomctl import")) << jsonRestore.err;

    CliRun missing = run({"validate", "nowhere.klm"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(has(missing.err, "nowhere.klm does not exist")) << missing.err;
}

TEST_F(KeyloomctlWords, ShowPrintsWhatAssignTakesAndThePlayCountIsTheMacros) {
    const std::string model = "320f:5064";
    ASSERT_EQ(run({"macro", "set", "1", "Hi", "A+10"}, model).exitCode, 0);
    CliRun bank = run({"assign", "G3 bank 2", "key:Right Ctrl"}, model);
    ASSERT_EQ(bank.exitCode, 0) << bank.err;
    EXPECT_TRUE(has(bank.out, "G3 bank 2 -> key:Right Ctrl")) << bank.out;
    CliRun counted = run({"assign", "G4", "macro:1:2"}, model);
    ASSERT_EQ(counted.exitCode, 0) << counted.err;
    EXPECT_TRUE(has(counted.out, "every key that plays macro 1 now plays it 2 times"))
        << counted.out;
    EXPECT_TRUE(has(run({"macro", "list"}, model).out, "Hi  (x2)"));

    CliRun shown = run({"show"}, model);
    ASSERT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_TRUE(has(shown.out, "G3 bank 2      key:Right Ctrl")) << shown.out;
    EXPECT_TRUE(has(shown.out, "G4             macro:1:2 (Hi)")) << shown.out;
    // Pasted back, the printed words give the same assignment.
    EXPECT_EQ(run({"assign", "G3 bank 2", "key:Right Ctrl"}, model).exitCode, 0);
}

}  // namespace
}  // namespace keyloom::testing
