#pragma once
// keyloomctl's side of the session bus: hands a command line to the Keyloom
// that owns io.github.keyloom.Keyloom and brings back what it printed. Uses
// sd-bus (libsystemd), so keyloomctl needs no window libraries; the call
// never starts a Keyloom (no auto-start): without one the command runs here.

#include <optional>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace keyloom::cli {

// Nothing when no session bus can be reached or no Keyloom owns the name
// (then nothing ran and the caller runs the command itself); otherwise the
// command's result, or a failure when the call did not complete (the owner
// ended in the middle, a bus error).
std::optional<CommandRun> runInRunningKeyloom(const std::vector<std::string>& args, double seconds);

}  // namespace keyloom::cli
