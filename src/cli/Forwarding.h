#pragma once
// Which keyloomctl command lines go to a running Keyloom and which run in
// keyloomctl itself. Commands that only read files, list or check device
// nodes or write the autostart entry hold no copy of the keyboard's state,
// so they run here; so does an endless watch, which a call could not stream.

#include <cstddef>
#include <vector>

#include "cli/CliOptions.h"

namespace keyloom::cli {

// True when the command line runs in keyloomctl even with a Keyloom running.
bool runsHere(const CliOptions& options);

// Positions in `options.args` that name files (made absolute before a call,
// since the running program has a working folder of its own).
std::vector<std::size_t> fileArguments(const CliOptions& options);

}  // namespace keyloom::cli
