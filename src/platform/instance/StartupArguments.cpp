#include "platform/instance/StartupArguments.h"

#include <algorithm>
#include <array>
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

// The toolkit's command-line options, which it takes out of the arguments
// itself: those that take a value, then those that stand alone. Each is
// written with one dash or two.
constexpr std::array<std::string_view, 15> kToolkitValueOptions{
    "platform",      "platformpluginpath",
    "platformtheme", "plugin",
    "qmljsdebugger", "qwindowgeometry",
    "qwindowicon",   "qwindowtitle",
    "session",       "display",
    "name",          "title",
    "geometry",      "style",
    "stylesheet"};
constexpr std::array<std::string_view, 5> kToolkitFlags{"reverse", "widgetcount", "nograb",
                                                        "dograb", "sync"};

// Passes over a toolkit option and its value; false for anything else.
bool skipToolkitOption(std::span<const std::string_view> arguments, std::size_t& i,
                       bool& platformGiven) {
    std::string_view word = arguments[i];
    if (word.starts_with("--"))
        word.remove_prefix(2);
    else if (word.starts_with('-'))
        word.remove_prefix(1);
    else
        return false;
    const std::size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    const auto listed = [name](const auto& list) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    if (listed(kToolkitFlags))
        return equals == std::string_view::npos;
    if (!listed(kToolkitValueOptions))
        return false;
    platformGiven = platformGiven || name == "platform";
    if (equals == std::string_view::npos && i + 1 < arguments.size())
        ++i;
    return true;
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
                   takeValue(arguments, i, "--data-dir", parsed.dataDir, parsed.problems) ||
                   skipToolkitOption(arguments, i, parsed.platformGiven)) {
            continue;
        } else {
            parsed.unknown.emplace_back(argument);
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
