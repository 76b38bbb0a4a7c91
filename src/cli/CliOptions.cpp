#include "cli/CliOptions.h"

#include <string_view>

namespace keyloom::cli {

namespace {

// Reads the value of an option given as "--name VALUE" or "--name=VALUE".
bool optionValue(std::string_view arg, std::string_view name, int& i, int argc,
                 const char* const* argv, std::string& value, std::string& error, bool& matched) {
    matched = false;
    if (arg == name) {
        matched = true;
        if (i + 1 >= argc) {
            error = std::string(name) + " needs a value";
            return false;
        }
        value = argv[++i];
        return true;
    }
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=') {
        matched = true;
        value = std::string(arg.substr(name.size() + 1));
        return true;
    }
    return true;
}

}  // namespace

bool parseCommandLine(int argc, const char* const* argv, CliOptions& options, std::string& error) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--help" || arg == "-h") {
                options.help = true;
                continue;
            }
            if (arg == "--version") {
                options.version = true;
                continue;
            }
            if (arg == "--json") {
                options.json = true;
                continue;
            }
            if (arg == "--direct") {
                options.direct = true;
                continue;
            }
            bool matched = false;
            for (auto [name, target] :
                 {std::pair<std::string_view, std::string*>{"--simulate", &options.simulate},
                  {"--trace", &options.trace},
                  {"--data-dir", &options.dataDir}}) {
                if (!optionValue(arg, name, i, argc, argv, *target, error, matched))
                    return false;
                if (matched)
                    break;
            }
            if (matched)
                continue;
            if (!options.command.empty()) {
                // Unknown options after the command word belong to the command.
                options.args.emplace_back(arg);
                continue;
            }
            error = "unknown option " + std::string(arg);
            return false;
        }
        if (options.command.empty())
            options.command = std::string(arg);
        else
            options.args.emplace_back(arg);
    }
    return true;
}

}  // namespace keyloom::cli
