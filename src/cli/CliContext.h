#pragma once
// What every keyloomctl command runs with: the parsed options, the simulated
// keyboard when one was asked for, and where output goes.

#include <cstdio>
#include <string>

#include "cli/CliHost.h"
#include "cli/CliOptions.h"
#include "sim/SimSetup.h"

namespace keyloom::cli {

struct CliContext {
    CliOptions options;
    sim::Simulation simulation;
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    // Set when the command runs inside the window program, on its core.
    CliHost* host = nullptr;
};

// The command only reads the keyboard and files: a simulated keyboard's state
// file is then never written or moved aside.
bool looksOnly(const CliOptions& options);

// Prints a failure line to stderr ("keyloomctl: ...") and returns kExitFailure.
int fail(const CliContext& context, const std::string& message);
// Same for wrong usage; returns kExitUsage.
int usageError(const CliContext& context, const std::string& message);

}  // namespace keyloom::cli
