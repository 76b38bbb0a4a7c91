#include "cli/CliContext.h"

#include <array>
#include <string_view>

namespace keyloom::cli {

bool looksOnly(const CliOptions& options) {
    static constexpr std::array<std::string_view, 12> kAlways = {
        "list",  "info",    "dump-device", "backup", "validate", "show",
        "watch", "preview", "profiles",    "export", "import",   "doctor"};
    // These read without arguments and change something with them.
    static constexpr std::array<std::string_view, 4> kWithoutArguments = {"profile", "report-rate",
                                                                          "lighting", "colours"};
    const std::string_view command = options.command;
    for (std::string_view name : kAlways)
        if (command == name)
            return true;
    for (std::string_view name : kWithoutArguments)
        if (command == name)
            return options.args.empty();
    return command == "macro" && !options.args.empty() && options.args[0] == "list";
}

int fail(const CliContext& context, const std::string& message) {
    std::fprintf(context.err, "keyloomctl: %s\n", message.c_str());
    return kExitFailure;
}

int usageError(const CliContext& context, const std::string& message) {
    std::fprintf(context.err, "keyloomctl: %s\nTry 'keyloomctl --help'.\n", message.c_str());
    return kExitUsage;
}

}  // namespace keyloom::cli
