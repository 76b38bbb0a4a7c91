#include "cli/Commands.h"

namespace keyloom::cli {

namespace {

constexpr Command kCommands[] = {
    {"list", "", "list the HID interfaces of supported keyboards",
     "Lists every HID interface of a supported keyboard with its path, vendor:product,\n"
     "usage page:usage and whether you may open it. Exit 1 when none is present.",
     runList},
    {"info", "", "find the keyboard and print its model and state",
     "Finds the keyboard as the program does (probe, then one scan) and prints the\n"
     "model, the configuration interface, the active profile, the macro capacity and\n"
     "the supported lighting effects. Exit 1 when no keyboard is found.",
     runInfo},
};

}  // namespace

std::span<const Command> allCommands() {
    return kCommands;
}

const Command* findCommand(std::string_view name) {
    for (const Command& command : kCommands)
        if (command.name == name)
            return &command;
    return nullptr;
}

}  // namespace keyloom::cli
