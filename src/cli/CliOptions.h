#pragma once
// The global options of keyloomctl and the command words after them.

#include <string>
#include <vector>

namespace keyloom::cli {

// Exit codes of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // device or file failure
inline constexpr int kExitUsage = 2;    // wrong usage

struct CliOptions {
    std::string simulate;  // MODEL[:STATEFILE], empty: no simulated keyboard
    std::string trace;     // report trace file, empty: KEYLOOM_TRACE or none
    std::string dataDir;   // per-user data folder override
    bool json = false;
    bool direct = false;  // open the keyboard here even when a Keyloom runs
    bool help = false;
    bool version = false;
    std::string command;
    std::vector<std::string> args;  // the command's own arguments
};

// Parses argv. Global options may stand before or after the command word;
// "--" ends option parsing. On failure returns false with `error` set.
bool parseCommandLine(int argc, const char* const* argv, CliOptions& options, std::string& error);

}  // namespace keyloom::cli
