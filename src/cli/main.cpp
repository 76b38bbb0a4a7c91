// keyloomctl: the keyboard's configuration from the command line.

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "cli/BusClient.h"
#include "cli/CommandLine.h"
#include "cli/Forwarding.h"

namespace {

using namespace keyloom::cli;

// How long a forwarded command may take: a watch its own time and more,
// anything else as long as a full write of a slow keyboard.
double callSeconds(const CliOptions& options) {
    double seconds = 300;
    if (options.command == "watch")
        for (std::size_t i = 0; i + 1 < options.args.size(); ++i)
            if (options.args[i] == "--for") {
                long asked = 0;
                const std::string& text = options.args[i + 1];
                std::from_chars(text.data(), text.data() + text.size(), asked);
                seconds += static_cast<double>(asked);
            }
    return seconds;
}

// The command line as the running program gets it: the global options,
// then after "--" the command word and its arguments exactly as parsed, file
// names made absolute against this program's working folder.
std::vector<std::string> forwardedWords(const CliOptions& options) {
    std::vector<std::string> words;
    if (options.json)
        words.emplace_back("--json");
    for (const auto& [name, value] :
         {std::pair<const char*, const std::string*>{"--trace", &options.trace},
          {"--data-dir", &options.dataDir}})
        if (!value->empty())
            words.push_back(std::string(name) + "=" + *value);
    words.emplace_back("--");
    words.push_back(options.command);
    std::vector<std::string> args = options.args;
    for (std::size_t i : fileArguments(options)) {
        std::error_code error;
        const auto absolute = std::filesystem::absolute(args[i], error);
        if (!error)
            args[i] = absolute.string();
    }
    words.insert(words.end(), args.begin(), args.end());
    return words;
}

}  // namespace

int main(int argc, char** argv) {
    CliContext context;
    std::string error;
    if (!parseCommandLine(argc, argv, context.options, error))
        return usageError(context, error);

    const CliOptions& options = context.options;
    if (!options.version && !options.command.empty() && !runsHere(options)) {
        if (auto run = runInRunningKeyloom(forwardedWords(options), callSeconds(options))) {
            std::fputs(run->out.c_str(), stdout);
            std::fputs(run->err.c_str(), stderr);
            return run->exitCode;
        }
    }
    return runParsedCommandLine(context);
}
