// The window program's start from a terminal: arguments it does not know and
// a session without a display end it with a sentence, never with the
// toolkit's abort.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/CliRunner.h"
#include "support/TempDir.h"

namespace keyloom::testing {
namespace {

TEST(KeyloomStart, RefusesUnknownArgumentsAndAMissingDisplayInASentence) {
    if (!std::filesystem::exists(std::string(KEYLOOM_BUILD_DIR) + "/bin/keyloom"))
        GTEST_SKIP() << "the window program is not built";
    const std::vector<std::string> noDisplay{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {{}, 1, "keyloom: there is no display"},
        {{"--start"}, 1, "keyloom: there is no display"},
        {{"--bogus"}, 2, "keyloom: unknown argument '--bogus'"},
        {{"-platform", "offscreen", "stray"}, 2, "keyloom: unknown argument 'stray'"},
        // The toolkit's own options are no reason to refuse.
        {{"-platform", "offscreen", "-style=fusion", "--help"}, 0, ""},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.front());
        const CliRun run = runBuiltProgram("keyloom", c.args, dir.path(), noDisplay);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_EQ(run.err.rfind(c.says, 0), 0u) << run.err;
        if (c.exitCode == 2) {
            EXPECT_NE(run.err.find("Usage: keyloom"), std::string::npos);
        } else if (c.exitCode == 1) {
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one sentence";
        }
    }
}

}  // namespace
}  // namespace keyloom::testing
