#pragma once
// The keyloomctl commands: name, one-line summary, usage, and the function
// that runs it.

#include <span>
#include <string_view>

#include "cli/CliContext.h"

namespace keyloom::cli {

struct Command {
    std::string_view name;
    std::string_view usage;    // arguments after the name
    std::string_view summary;  // one line
    std::string_view details;  // printed by "COMMAND --help"
    int (*run)(CliContext& context);
};

std::span<const Command> allCommands();
const Command* findCommand(std::string_view name);

// Each group of commands lives in its own file.
int runList(CliContext& context);
int runInfo(CliContext& context);
int runDumpDevice(CliContext& context);
int runBackup(CliContext& context);
int runRestore(CliContext& context);
int runProfile(CliContext& context);
int runAssign(CliContext& context);
int runMacro(CliContext& context);
int runDefault(CliContext& context);
int runReportRate(CliContext& context);
int runValidate(CliContext& context);
int runShow(CliContext& context);
int runWatch(CliContext& context);
int runPreview(CliContext& context);
int runProfiles(CliContext& context);
int runFirmwareMode(CliContext& context);
int runLighting(CliContext& context);
int runColour(CliContext& context);
int runColours(CliContext& context);
int runExport(CliContext& context);
int runImport(CliContext& context);
int runDoctor(CliContext& context);
int runAutostart(CliContext& context);

}  // namespace keyloom::cli
