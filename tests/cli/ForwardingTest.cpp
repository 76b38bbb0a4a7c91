// Which command lines keyloomctl hands to a running Keyloom, and which of
// their words are file names that must be made absolute first.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/Forwarding.h"

namespace keyloom::cli {
namespace {

TEST(ForwardingTest, CommandsThatHoldNoKeyboardStateRunHereAndFilesAreFound) {
    struct Case {
        std::vector<const char*> argv;
        bool here;
        std::vector<std::size_t> files;
    };
    const Case cases[] = {
        {{"assign", "A", "key:B"}, false, {}},
        {{"backup", "out.klm"}, false, {0}},
        {{"restore", "in.klm"}, false, {0}},
        {{"show"}, false, {}},
        {{"show", "--json", "file.klm"}, true, {0}},
        {{"watch"}, true, {}},
        {{"watch", "--for", "3"}, false, {}},
        {{"export", "--out", "a.json", "b.klm"}, true, {1, 2}},
        {{"--direct", "profile", "2"}, true, {}},
        {{"--simulate", "0c45:652f", "profile", "2"}, true, {}},
        {{"doctor"}, true, {}},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"keyloomctl"};
        argv.insert(argv.end(), c.argv.begin(), c.argv.end());
        CliOptions options;
        std::string error;
        ASSERT_TRUE(parseCommandLine(static_cast<int>(argv.size()), argv.data(), options, error));
        EXPECT_EQ(runsHere(options), c.here) << c.argv[0] << " " << c.argv.size();
        EXPECT_EQ(fileArguments(options), c.files) << c.argv[0] << " " << c.argv.size();
    }
}

}  // namespace
}  // namespace keyloom::cli
