// The window's notice for a keyboard it may not open: the language text, a
// blank line, then the same advice keyloomctl doctor gives.

#include <gtest/gtest.h>

#include "core/AccessNotice.h"

namespace keyloom::testing {
namespace {

TEST(AccessNotice, FollowsTheTextWithEachFixAndWhatToDoAfterwards) {
    AccessDiagnosis diagnosis;
    diagnosis.fixes = {"sudo install rule", "sudo udevadm trigger"};
    diagnosis.replug = true;
    diagnosis.newLogin = true;
    const std::string text = accessNoticeText(diagnosis);
    const std::string advice =
        "\n\nTo fix, run:\n  sudo install rule\n  sudo udevadm trigger\n"
        "Then unplug the keyboard and plug it in again.\n"
        "Log in on the computer's own screen (a new login is needed).";
    ASSERT_GT(text.size(), advice.size());
    EXPECT_EQ(text.substr(text.size() - advice.size()), advice);

    EXPECT_EQ(accessNoticeText(AccessDiagnosis{}).find('\n'), std::string::npos);
}

}  // namespace
}  // namespace keyloom::testing
