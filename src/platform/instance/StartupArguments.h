#pragma once
// The window program's command line. The two instance switches keep their
// order, since a "/Kill" ends the start at the point where it stands:
//   "/Start" or "--start"  start hidden (only the tray icon)
//   "/Kill"  or "--kill"   end the running instance, and this start with it
// both compared without regard to case and only as whole arguments. Besides
// them: "--simulate MODEL[:STATEFILE]", "--trace FILE", "--data-dir DIR"
// (also written "--name=value") and "--help" / "-h". The toolkit's own options
// ("-platform NAME", "-style=NAME", "-reverse" ...) are passed over with their
// values; anything else is collected in `unknown` for the caller to refuse.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace keyloom::instance {

enum class StartupSwitch { Start, Kill };

struct StartupArguments {
    std::vector<StartupSwitch> switches;  // in command-line order
    std::string simulate;                 // MODEL[:STATEFILE]; empty: real keyboards
    std::string trace;                    // report trace file; empty: none
    std::string dataDir;                  // per-user data folder override
    bool help = false;
    bool platformGiven = false;  // the toolkit's "-platform NAME" was given
    // Options given without their value, e.g. "--trace needs a value".
    std::vector<std::string> problems;
    // Arguments that are none of the above, in command-line order.
    std::vector<std::string> unknown;

    bool hasSwitch(StartupSwitch which) const;
};

// `arguments` are the arguments after the program name.
StartupArguments parseStartupArguments(std::span<const std::string_view> arguments);
// argv as main() receives it; argv[0] is the program and is skipped.
StartupArguments parseStartupArguments(int argc, const char* const* argv);

}  // namespace keyloom::instance
