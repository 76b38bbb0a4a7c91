#pragma once
// One keyloomctl command line from its words to its exit code: help,
// version, the command's own help, the trace and the simulated keyboard,
// then the command. keyloomctl's main runs it on the process's own output;
// the window program runs it on its own core and hands the output back.

#include <string>
#include <vector>

#include "cli/CliContext.h"

namespace keyloom::cli {

// What the command printed and how it ended.
struct CommandRun {
    int exitCode = kExitFailure;
    std::string out;
    std::string err;
};

// Runs the command of `context.options` (already parsed).
int runParsedCommandLine(CliContext& context);

// Parses `args` (without the program name) and runs them on `host`'s core,
// output captured. Options naming a keyboard, trace or data folder of their
// own, and file names that are not absolute, are refused: the running
// program keeps its own, and its working folder is not the caller's.
CommandRun runCommandLine(const std::vector<std::string>& args, CliHost& host);

}  // namespace keyloom::cli
