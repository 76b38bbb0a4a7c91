// keyloomctl export and import as a user runs them: a backup of a simulated
// keyboard goes to JSON and back to the same file, an edit in the JSON lands
// in the file, and a broken JSON file leaves nothing behind.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliRunner.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

class KeyloomctlExport : public ::testing::Test {
protected:
    CliRun run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--simulate", "0c45:652f:" + dir.file("kb.state"), "--data-dir",
                                   dir.file("data")});
        return runKeyloomctl(args, dir.path());
    }

    TempDir dir;
};

TEST_F(KeyloomctlExport, ABackupComesBackByteForByteAndEditsLand) {
    ASSERT_EQ(run({"assign", "B", "disabled"}).exitCode, 0);
    ASSERT_EQ(run({"macro", "set", "1", "Hi", "A+10", "A-20"}).exitCode, 0);
    ASSERT_EQ(run({"backup", "a.klm"}).exitCode, 0);

    const CliRun exported = run({"export", "a.klm", "--out", "a.json"});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    ASSERT_EQ(run({"import", "a.json", "--out", "b.klm"}).exitCode, 0);
    EXPECT_EQ(dir.read("a.klm"), dir.read("b.klm"));

    // Without --out the JSON goes to standard output.
    const CliRun shown = run({"export", "a.klm"});
    EXPECT_EQ(shown.out, dir.read("a.json"));

    std::string json = dir.read("a.json");
    json.replace(json.find("\"disabled\""), 10, "\"key:Esc\"");
    dir.write("c.json", json);
    ASSERT_EQ(run({"import", "c.json", "--out", "c.klm"}).exitCode, 0);
    EXPECT_NE(run({"show", "c.klm"}).out.find("Esc"), std::string::npos);
}

TEST_F(KeyloomctlExport, ABrokenJsonFileIsNamedAndNothingIsWritten) {
    ASSERT_EQ(run({"backup", "a.klm"}).exitCode, 0);
    ASSERT_EQ(run({"export", "a.klm", "--out", "a.json"}).exitCode, 0);
    std::string json = dir.read("a.json");
    json.replace(json.find("\"flag\": 0"), 9, "\"flag\": true");
    dir.write("bad.json", json);

    const CliRun imported = run({"import", "bad.json", "--out", "bad.klm"});
    EXPECT_EQ(imported.exitCode, 1);
    EXPECT_NE(imported.err.find("bad.json: /header/flag: expected a whole number"),
              std::string::npos)
        << imported.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.klm")));

    dir.write("notes.txt", "not a profile file");
    EXPECT_EQ(run({"export", "notes.txt", "--out", "x.json"}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.json")));
    EXPECT_EQ(run({"import", "a.json"}).exitCode, 2);
}

}  // namespace
}  // namespace keyloom::testing
