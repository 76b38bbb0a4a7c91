#pragma once
// The window program's word on a supported keyboard it may not open: a
// keyboard plugged in but blocked by its permissions is not the same as none,
// so the user is told, with the commands that fix it.

#include <optional>
#include <string>

#include "device/KeyboardAccess.h"

namespace keyloom {

// The language file's text, then the advice of `diagnosis`, one line each.
std::string accessNoticeText(const AccessDiagnosis& diagnosis);

// The notice when a supported keyboard is plugged in but cannot be opened;
// nothing otherwise. Runs the full diagnosis only for a blocked keyboard.
std::optional<std::string> accessNotice();

}  // namespace keyloom
