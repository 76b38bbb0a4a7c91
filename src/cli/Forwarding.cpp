#include "cli/Forwarding.h"

#include <array>
#include <string_view>

namespace keyloom::cli {

namespace {

bool isOption(std::string_view word) {
    return word.size() > 1 && word[0] == '-';
}

}  // namespace

bool runsHere(const CliOptions& options) {
    static constexpr std::array<std::string_view, 6> kLocal = {"list",   "validate", "export",
                                                               "import", "doctor",   "autostart"};
    if (!options.simulate.empty() || options.direct || options.help)
        return true;
    for (std::string_view name : kLocal)
        if (options.command == name)
            return true;
    if (options.command == "show")  // show FILE reads only the file
        return !fileArguments(options).empty();
    if (options.command == "watch") {
        for (const std::string& word : options.args)
            if (word == "--for")
                return false;
        return true;
    }
    return false;
}

std::vector<std::size_t> fileArguments(const CliOptions& options) {
    std::vector<std::size_t> files;
    const std::string_view command = options.command;
    if (command == "backup" || command == "restore" || command == "show" || command == "validate") {
        for (std::size_t i = 0; i < options.args.size(); ++i)
            if (!isOption(options.args[i]))
                files.push_back(i);
    } else if (command == "export" || command == "import") {
        for (std::size_t i = 0; i < options.args.size(); ++i) {
            if (options.args[i] == "--out" && i + 1 < options.args.size())
                files.push_back(++i);
            else if (!isOption(options.args[i]))
                files.push_back(i);
        }
    }
    return files;
}

}  // namespace keyloom::cli
