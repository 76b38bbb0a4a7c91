// keyloomctl autostart: start the window program with the desktop session.

#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/Commands.h"
#include "platform/paths/ProgramFolder.h"
#include "storage/Autostart.h"

namespace keyloom::cli {

namespace {

// The window program beside this one when it is there, else by name.
std::string windowProgram() {
    const std::string self = paths::executablePath();
    if (!self.empty()) {
        const auto sibling = std::filesystem::path(self).parent_path() / "keyloom";
        std::error_code error;
        if (std::filesystem::is_regular_file(sibling, error))
            return sibling.string();
    }
    return "keyloom";
}

}  // namespace

int runAutostart(CliContext& context) {
    const auto& args = context.options.args;
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off" && args[0] != "status"))
        return usageError(context, "autostart needs on, off or status");
    const std::string path = autostartPath(paths::processEnvironment());
    if (path.empty())
        return fail(context, "no home folder and no XDG_CONFIG_HOME: nowhere to keep the entry");
    if (args[0] != "status" && !setAutostart(path, args[0] == "on", windowProgram()))
        return fail(context,
                    "cannot " + std::string(args[0] == "on" ? "write " : "remove ") + path);
    const bool enabled = autostartEnabled(path);
    std::fprintf(context.out, "Start with the desktop: %s (%s)\n", enabled ? "on" : "off",
                 path.c_str());
    return kExitOk;
}

}  // namespace keyloom::cli
