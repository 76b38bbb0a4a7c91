#pragma once
// Whether this user can open the supported keyboards' hidraw nodes, and when
// not, the exact commands that fix it: for keyloomctl doctor and for the
// window program, which says so instead of acting as if no keyboard were
// plugged in.

#include <optional>
#include <string>
#include <vector>

#include "platform/hid/HidrawAccess.h"

namespace keyloom {

enum class SessionState { Active, Inactive, Unknown };

struct AccessDiagnosis {
    hid::HidrawAccessScan scan;
    std::optional<std::string> rulePath;
    // A copy udev never reads (cmake --install to /usr/local).
    std::optional<std::string> ignoredRulePath;
    SessionState session = SessionState::Unknown;
    std::string sessionNote;
    std::vector<std::string> fixes;
    bool replug = false;
    bool newLogin = false;
    bool ok = false;
};

// The hidraw nodes of the supported keyboards plugged in, with who may open
// them: cheap, for checking before the full diagnosis.
hid::HidrawAccessScan scanKeyboardNodes();
// A supported keyboard is plugged in, but one of its nodes is missing or
// cannot be opened for reading and writing.
bool anyNodeBlocked(const hid::HidrawAccessScan& scan);

// The scan plus the udev rule and the login session (runs loginctl).
AccessDiagnosis diagnoseKeyboardAccess();

// What to do about a blocked keyboard, one line each: the commands to run,
// then whether to replug the keyboard or log in again. Empty when nothing
// needs doing.
std::vector<std::string> accessAdvice(const AccessDiagnosis& diagnosis);

}  // namespace keyloom
