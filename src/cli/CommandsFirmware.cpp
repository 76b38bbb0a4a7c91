// keyloomctl firmware-mode: saves the settings, then switches the keyboard
// into its boot loader, where it waits for the firmware updater.

#include <chrono>
#include <cstdio>
#include <string>

#include "cli/CliSession.h"
#include "cli/Commands.h"
#include "device/ProtocolResult.h"
#include "editors/FirmwareUpdateState.h"

namespace keyloom::cli {

namespace {

const char kExplanation[] =
    "firmware-mode switches the keyboard into its boot loader, where it waits for the\n"
    "firmware updater that came with it. The keyboard stops working as a keyboard until\n"
    "the updater has run (or until it is unplugged and plugged in again).\n"
    "Before that, its settings are saved to before-update-YYYYMMDD-HHMMSS.klm in the\n"
    "data folder. Nothing was sent; run 'keyloomctl firmware-mode --yes' to go ahead.\n";

}  // namespace

int runFirmwareMode(CliContext& context) {
    bool confirmed = false;
    for (const std::string& arg : context.options.args) {
        if (arg != "--yes")
            return usageError(context, "firmware-mode takes only --yes");
        confirmed = true;
    }
    if (!confirmed) {
        std::fputs(kExplanation, context.err);
        return kExitUsage;
    }

    ConnectedKeyboard keyboard(context);
    if (!keyboard.open())
        return kExitFailure;
    KeyloomCore& core = keyboard.core();
    const std::string backup =
        editors::beforeUpdateBackupPath(core.paths().dataFolder, std::chrono::system_clock::now());
    if (!core.backupToFile(backup))
        return fail(context, "the settings could not be saved to " + backup +
                                 "; nothing was sent to the keyboard");
    if (core.link().EnterBootMode() != result::Success)
        return fail(context,
                    "the boot-mode report could not be sent (settings saved to " + backup + ")");
    std::fprintf(context.out,
                 "Settings saved to %s\n"
                 "The keyboard now waits for its updater: start the updater program.\n",
                 backup.c_str());
    return kExitOk;
}

}  // namespace keyloom::cli
