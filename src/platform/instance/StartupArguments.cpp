#include "platform/instance/StartupArguments.h"

#include <algorithm>
#include <utility>

#include "platform/instance/AsciiCase.h"

namespace keyloom::instance {

namespace {

// "/word" or "--word", in any mix of capital and small letters.
bool isSwitch(std::string_view argument, std::string_view word) {
    if (argument.starts_with('/'))
        return equalsIgnoringAsciiCase(argument.substr(1), word);
    if (argument.starts_with("--"))
        return equalsIgnoringAsciiCase(argument.substr(2), word);
    return false;
}

// "--name VALUE" or "--name=VALUE". Returns whether `arguments[i]` is the
// option; `i` then points at its last argument.
bool takeValue(std::span<const std::string_view> arguments, std::size_t& i, std::string_view name,
               std::string& value, std::vector<std::string>& problems) {
    std::string_view argument = arguments[i];
    if (argument == name) {
        if (i + 1 >= arguments.size()) {
            problems.push_back(std::string(name) + " needs a value");
            return true;
        }
        value = std::string(arguments[++i]);
        return true;
    }
    if (argument.size() > name.size() && argument.starts_with(name) &&
        argument[name.size()] == '=') {
        value = std::string(argument.substr(name.size() + 1));
        return true;
    }
    return false;
}

}  // namespace

bool StartupArguments::hasSwitch(StartupSwitch which) const {
    return std::find(switches.begin(), switches.end(), which) != switches.end();
}

StartupArguments parseStartupArguments(std::span<const std::string_view> arguments) {
    StartupArguments parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (isSwitch(argument, "start")) {
            parsed.switches.push_back(StartupSwitch::Start);
        } else if (isSwitch(argument, "kill")) {
            parsed.switches.push_back(StartupSwitch::Kill);
        } else if (argument == "--help" || argument == "-h") {
            parsed.help = true;
        } else if (takeValue(arguments, i, "--simulate", parsed.simulate, parsed.problems) ||
                   takeValue(arguments, i, "--trace", parsed.trace, parsed.problems) ||
                   takeValue(arguments, i, "--data-dir", parsed.dataDir, parsed.problems)) {
            continue;
        }
    }
    return parsed;
}

StartupArguments parseStartupArguments(int argc, const char* const* argv) {
    std::vector<std::string_view> arguments;
    for (int i = 1; i < argc && argv; ++i) {
        if (argv[i])
            arguments.emplace_back(argv[i]);
    }
    return parseStartupArguments(arguments);
}

}  // namespace keyloom::instance
