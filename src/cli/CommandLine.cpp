#include "cli/CommandLine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "KeyloomVersion.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "cli/Forwarding.h"
#include "device/ReportTrace.h"
#include "platform/hid/HidPlatform.h"
#include "storage/Language.h"
#include "storage/LanguageTables.h"

namespace keyloom::cli {

namespace {

void printHelp(std::FILE* out) {
    std::fprintf(out,
                 "Usage: keyloomctl [OPTIONS] COMMAND [ARGS]\n"
                 "Configure a Keyloom keyboard from the command line.\n\n"
                 "When the window program runs on your session bus, the commands that use the\n"
                 "keyboard run inside it, on the state it holds, so that the window shows\n"
                 "their changes at once.\n\n"
                 "Options:\n"
                 "  --simulate MODEL[:STATEFILE]  add a simulated keyboard (MODEL 0c45:652f or\n"
                 "                                320f:5064), its memory kept in STATEFILE;\n"
                 "                                never goes to the running program\n"
                 "  --direct                      open the keyboard here even when the window\n"
                 "                                program runs\n"
                 "  --trace FILE                  append every configuration report to FILE\n"
                 "                                (also: environment variable KEYLOOM_TRACE)\n"
                 "  --data-dir DIR                use DIR as the per-user data folder\n"
                 "  --json                        machine-readable output where offered\n"
                 "  --help                        this text; COMMAND --help for a command\n"
                 "  --version                     the program's version\n\n"
                 "Commands:\n");
    // The summaries start in one column, two blanks after the longest name.
    std::size_t width = 0;
    for (const Command& command : allCommands())
        width = std::max(width, command.name.size());
    for (const Command& command : allCommands())
        std::fprintf(out, "  %-*s  %s\n", static_cast<int>(width),
                     std::string(command.name).c_str(), std::string(command.summary).c_str());
    std::fprintf(out, "\nExit codes: 0 success, 1 device or file failure, 2 wrong usage.\n");
}

void printCommandHelp(std::FILE* out, const Command& command) {
    std::fprintf(out, "Usage: keyloomctl [OPTIONS] %s %s\n\n%s\n",
                 std::string(command.name).c_str(), std::string(command.usage).c_str(),
                 std::string(command.details).c_str());
}

// Why the running program does not take this command line; empty when it does.
std::string refusedByHost(const CliOptions& options) {
    if (!options.simulate.empty())
        return "--simulate names a keyboard of its own; the running Keyloom keeps its own";
    if (!options.trace.empty() || !options.dataDir.empty())
        return "the running Keyloom keeps its own trace and data folder; give --direct to use "
               "--trace or --data-dir";
    if (options.direct)
        return "--direct opens the keyboard in keyloomctl, not in the running Keyloom";
    for (std::size_t i : fileArguments(options))
        if (options.args[i].empty() || options.args[i][0] != '/')
            return "file names given to the running Keyloom must be absolute: '" + options.args[i] +
                   "'";
    return {};
}

// Text written to a memory stream, freed with it.
class CapturedStream {
public:
    CapturedStream() : stream_(::open_memstream(&text_, &size_)) {}
    ~CapturedStream() {
        close();
        std::free(text_);
    }
    CapturedStream(const CapturedStream&) = delete;
    CapturedStream& operator=(const CapturedStream&) = delete;

    std::FILE* stream() const { return stream_; }
    std::string take() {
        close();
        return text_ != nullptr ? std::string(text_, size_) : std::string();
    }

private:
    void close() {
        if (stream_ != nullptr)
            std::fclose(stream_);
        stream_ = nullptr;
    }
    char* text_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* stream_;
};

}  // namespace

int runParsedCommandLine(CliContext& context) {
    if (context.options.version && context.options.command.empty()) {
        std::fprintf(context.out, "keyloomctl %s\n", std::string(kKeyloomVersion).c_str());
        return kExitOk;
    }
    if (context.options.command.empty()) {
        if (context.options.help) {
            printHelp(context.out);
            return kExitOk;
        }
        return usageError(context, "no command given");
    }
    const Command* command = findCommand(context.options.command);
    if (command == nullptr)
        return usageError(context, "unknown command '" + context.options.command + "'");
    if (context.options.help) {
        printCommandHelp(context.out, *command);
        return kExitOk;
    }
    if (context.host != nullptr) {
        if (const std::string why = refusedByHost(context.options); !why.empty())
            return usageError(context, why);
        return command->run(context);
    }

    if (!context.options.trace.empty() && !ReportTrace::instance().open(context.options.trace))
        return fail(context, "cannot open the trace file " + context.options.trace);

    if (!context.options.simulate.empty()) {
        // A state file kept in the data folder would create the folder and so
        // skip its first-run seeding: prepare it first.
        AppPaths paths;
        if (setUpProgramFiles(context, paths))
            prepareDataFolder(paths);
        const auto use = looksOnly(context.options) ? sim::SimFirmware::StateFileUse::LookOnly
                                                    : sim::SimFirmware::StateFileUse::KeepChanges;
        std::string error;
        if (!sim::startSimulation(context.options.simulate, hid::HidPlatform::system(),
                                  context.simulation, error, use))
            return usageError(context, error);
        if (!context.simulation.message.empty())
            std::fprintf(context.err, "keyloomctl: %s\n", context.simulation.message.c_str());
    }
    return command->run(context);
}

CommandRun runCommandLine(const std::vector<std::string>& args, CliHost& host) {
    // keyloomctl reads and prints English names whatever the window speaks.
    const ThreadLanguageFiles english(std::make_shared<LanguageFiles>(
        host.core().paths().programFolder, nullptr, kFallbackLanguage));
    CapturedStream out;
    CapturedStream err;
    CliContext context;
    context.host = &host;
    if (out.stream() == nullptr || err.stream() == nullptr)
        return {kExitFailure, {}, "keyloomctl: out of memory\n"};
    context.out = out.stream();
    context.err = err.stream();

    std::vector<const char*> argv{"keyloomctl"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    std::string error;
    CommandRun run;
    if (!parseCommandLine(static_cast<int>(argv.size()), argv.data(), context.options, error))
        run.exitCode = usageError(context, error);
    else
        run.exitCode = runParsedCommandLine(context);
    run.out = out.take();
    run.err = err.take();
    return run;
}

}  // namespace keyloom::cli
