// keyloomctl: the keyboard's configuration from the command line.

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "KeyloomVersion.h"
#include "cli/CliContext.h"
#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "device/ReportTrace.h"
#include "platform/hid/HidPlatform.h"

namespace {

using namespace keyloom::cli;

void printHelp(std::FILE* out) {
    std::fprintf(out,
                 "Usage: keyloomctl [OPTIONS] COMMAND [ARGS]\n"
                 "Configure a Keyloom keyboard from the command line.\n\n"
                 "Options:\n"
                 "  --simulate MODEL[:STATEFILE]  add a simulated keyboard (MODEL 0c45:652f or\n"
                 "                                320f:5064), its memory kept in STATEFILE\n"
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

}  // namespace

int main(int argc, char** argv) {
    CliContext context;
    std::string error;
    if (!parseCommandLine(argc, argv, context.options, error))
        return usageError(context, error);

    if (context.options.version && context.options.command.empty()) {
        std::printf("keyloomctl %s\n", std::string(keyloom::kKeyloomVersion).c_str());
        return kExitOk;
    }
    if (context.options.command.empty()) {
        if (context.options.help) {
            printHelp(stdout);
            return kExitOk;
        }
        return usageError(context, "no command given");
    }
    const Command* command = findCommand(context.options.command);
    if (command == nullptr)
        return usageError(context, "unknown command '" + context.options.command + "'");
    if (context.options.help) {
        printCommandHelp(stdout, *command);
        return kExitOk;
    }

    if (!context.options.trace.empty() &&
        !keyloom::ReportTrace::instance().open(context.options.trace))
        return fail(context, "cannot open the trace file " + context.options.trace);

    if (!context.options.simulate.empty()) {
        // A state file kept in the data folder would create the folder and so
        // skip its first-run seeding: prepare it first.
        keyloom::AppPaths paths;
        if (setUpProgramFiles(context, paths))
            keyloom::prepareDataFolder(paths);
        const auto use = looksOnly(context.options)
                             ? keyloom::sim::SimFirmware::StateFileUse::LookOnly
                             : keyloom::sim::SimFirmware::StateFileUse::KeepChanges;
        if (!keyloom::sim::startSimulation(context.options.simulate,
                                           keyloom::hid::HidPlatform::system(), context.simulation,
                                           error, use))
            return usageError(context, error);
        if (!context.simulation.message.empty())
            std::fprintf(stderr, "keyloomctl: %s\n", context.simulation.message.c_str());
    }
    return command->run(context);
}
