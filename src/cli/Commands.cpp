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
     "model, the configuration interface, the active profile, the macro capacity, the\n"
     "active profile's report rate and the supported lighting effects with their names.\n"
     "Exit 1 when no keyboard is found.",
     runInfo},
    {"dump-device", "[--json]", "print the keyboard's memory areas in hex (read only)",
     "Prints the parameter block, the default key matrix, the three key matrices, the\n"
     "three lighting records and the macro area in use, in hex. Writes nothing.",
     runDumpDevice},
    {"backup", "FILE", "save the keyboard's whole configuration to a profile file",
     "Reads the three profiles' keys and the macros from the keyboard into FILE\n"
     "(a .klm profile file). Writes nothing to the keyboard.",
     runBackup},
    {"restore", "FILE", "write a profile file to all three profiles",
     "Checks FILE, saves what the keyboard holds to before-restore-YYYYMMDD-HHMMSS.klm\n"
     "in the data folder (the newest ten are kept), loads FILE, saves it as the slot\n"
     "file and writes it to all three on-board profiles, as the window's Restore from\n"
     "file does. When that copy cannot be saved, nothing is sent.",
     runRestore},
    {"profile", "[N]", "print the active profile, or switch to profile N (1-3)",
     "Without N prints the active on-board profile (1-3) and writes nothing.\n"
     "With N switches the keyboard to profile N.",
     runProfile},
    {"assign", "KEY ACTION", "give a key of the active profile an action and apply",
     "KEY: a key name (A, Esc, F1, Right Ctrl, Num 7, Left Mouse Button, ...),\n"
     "G1-G9, \"G1 bank 2\"-\"G9 bank 2\", or a key code such as 0x01E.\n"
     "ACTION: default | disabled | key:KEY | macro:NUMBER[:COUNT] |\n"
     "        media:NAME-or-1..18 | function:1..11 | stop-macro\n"
     "COUNT (1-255) is the macro's play count: every key that plays it plays it\n"
     "COUNT times. The change is saved to the slot file and written to the keyboard. A key the\n"
     "keyboard does not have (G1-G9 on a keyboard without them) is refused.",
     runAssign},
    {"macro", "list | set NUMBER NAME [--count N] EVENT... | delete NUMBER",
     "list, add, replace or delete macros and apply",
     "EVENT is KEY+DELAY for a press followed by DELAY ms, KEY-DELAY for a release\n"
     "(kept in steps of 10 ms, at most 40000 ms; each delay changed is named).\n"
     "'set' replaces macro NUMBER, or adds a new macro that takes the smallest free\n"
     "number (at most 100 macros); 'delete' also sets keys that played it back to\n"
     "Default in all three profiles, and renumbers the later macros. Changes are saved\n"
     "and written to the keyboard.",
     runMacro},
    {"default", "", "every key of the active profile back to its default, and apply",
     "Restores the default of every key of the active profile and writes it.", runDefault},
    {"report-rate", "[STEP | RATE]", "print or set the report rate of the active profile",
     "Without an argument prints the active profile's report-rate step and rate.\n"
     "With STEP (0-3) or RATE (125, 250, 500 or 1000 Hz) sets the active profile's\n"
     "report rate on the keyboard.",
     runReportRate},
    {"validate", "FILE", "check a profile file (exit 0 valid, 1 not)",
     "Checks FILE's header as the program does before importing it.", runValidate},
    {"show", "[FILE] [--json]", "list the keys and macros of a profile file or the keyboard",
     "Prints every key of each profile that does not do its default, and every\n"
     "macro with its events: of FILE, or without FILE of what the keyboard holds\n"
     "(as backup would save it; nothing is written). Macro keys show as\n"
     "macro:NUMBER:COUNT, as assign takes them.",
     runShow},
    {"watch", "[--for SECONDS]", "print every notification from the keyboard as it arrives",
     "Listens on the keyboard's notification interface and prints each code and what\n"
     "the program does about it, until interrupted (or for SECONDS). Writes nothing.",
     runWatch},
    {"preview",
     "EFFECT [--colourful on|off] [--colour RRGGBB] [--direction left|right] [--frames N] "
     "[--seed S] [--json]",
     "print the frames the lighting preview draws for an effect",
     "Draws N frames (default 1, at most 1000; one per 50 ms tick, frame 0 right after\n"
     "the effect is chosen) of EFFECT (1-18 or 20) without writing to the keyboard.\n"
     "The lighting state is the keyboard's when one is present (or simulated), else\n"
     "multicolour white running left; the options override it, and --colour turns\n"
     "multicolour off unless --colourful on is given. Effect 20 shows the per-key\n"
     "colours of the keyboard's user mode file, or every key in the main colour without\n"
     "a keyboard with per-key colours. S seeds the random effects (10, 13-16).",
     runPreview},
    {"profiles", "[--json]", "print the stored profile list and the active on-board profile",
     "Prints the profile files the profile manager's Apply stored (count and paths) and,\n"
     "when a keyboard is found, its active on-board profile (1-3). Writes nothing.",
     runProfiles},
    {"firmware-mode", "--yes", "save the settings, then put the keyboard into its boot loader",
     "Saves the keyboard's settings to before-update-YYYYMMDD-HHMMSS.klm in the data\n"
     "folder, then sends the boot-mode report: the keyboard leaves and waits for its\n"
     "firmware updater. Without --yes it only explains this and exits 2.",
     runFirmwareMode},
    {"lighting", "[SETTING VALUE | reset] [--json]",
     "print or change the lighting of the active profile",
     "Without a setting prints the lighting profile's effect, brightness, speed (slider\n"
     "position, 0 leftmost), direction, colourful flag, colour, colour choice (effect 17)\n"
     "and report rate. With one, sends it to the keyboard as the lighting panel does:\n"
     "  effect N (one the keyboard lists)    brightness 0-4    speed 0-3\n"
     "  direction left|right    colourful on|off    colour RRGGBB    swatch 1-8\n"
     "  choice red|yellow|green|blue (effect 17)\n"
     "colour and swatch turn colourful off; a slider or switch already at the value\n"
     "sends nothing. 'reset' writes the default lighting and, with per-key colours,\n"
     "copies the template over the user mode file and sends its colours.",
     runLighting},
    {"colour", "KEY RRGGBB | --base RRGGBB", "paint one key, or choose the base colour",
     "KEY RRGGBB paints one key of the lighting profile with the colour brush (the key\n"
     "leaves the base group) while effect 20 runs; KEY as for assign, or Fn. A key\n"
     "without a colour position cannot be painted. --base RRGGBB gives the base group\n"
     "a new colour: its keys are repainted, saved to the user mode file and sent.\n"
     "Needs a keyboard with per-key colours.",
     runColour},
    {"colours", "[--json]", "list each key's colour and base-group flag",
     "Prints the lighting profile's brush and, for every key, its colour, colour\n"
     "position and whether it is in the base group, from its user mode file. Needs a\n"
     "keyboard with per-key colours.",
     runColours},
    {"export", "FILE.klm [--out FILE.json]", "write a profile file as JSON",
     "Writes FILE.klm in the JSON form import reads back to the same bytes: the\n"
     "header fields a save does not compute; \"profiles\", four blocks (on-board\n"
     "profiles 1-3 and a fourth no profile uses) listing each key that differs from a\n"
     "new file as {\"key\", \"action\"} with \"text\" (or \"offset\") for launch and\n"
     "text actions and \"parameter\", \"toggle\", \"reserved\" when set; \"macros\"\n"
     "with number, name, playCount and events; and, for bytes the fields do not\n"
     "express, \"size\" and \"patches\" ({\"offset\", \"bytes\" in hex}, applied last).\n"
     "KEY: as for assign (Left Ctrl, Num 7, G1 bank 2, 0x01E), or #INDEX.\n"
     "ACTION: default | disabled | stop-macro | key:KEY | macro:NUMBER[:COUNT] |\n"
     "media:NAME-or-1..18 | function:1..11 | launch | text |\n"
     "raw:KIND:VALUE. EVENT: KEY+DELAY (press) or KEY-DELAY (release), in ms.\n"
     "The schema is profile.schema.json in the program's share folder.\n"
     "Without --out the JSON goes to standard output.",
     runExport},
    {"import", "FILE.json --out FILE.klm", "write a profile file from its JSON form",
     "Reads the JSON form export writes and saves the profile file. A JSON error\n"
     "(syntax, a missing field, a wrong type, an unknown key name, a macro over the\n"
     "limits: 100 macros, 249-unit names, 4000 events) is reported with its place\n"
     "and nothing is written.",
     runImport},
    {"doctor", "[--json]", "explain whether you may open the keyboard, and how to fix it",
     "Lists the hidraw nodes of every supported keyboard with owner, group, mode and\n"
     "whether you may open them; whether the udev rule is installed (/etc/udev/rules.d,\n"
     "/usr/lib/udev/rules.d); and whether your login session is the active one, so\n"
     "that the rule's uaccess gives it the keyboard. For anything missing it prints\n"
     "the commands that fix it, and whether a replug or a new login is needed.\n"
     "Exit 0 when a keyboard is present and may be opened, 1 otherwise.",
     runDoctor},
    {"autostart", "on | off | status", "start the window program with the desktop session",
     "on writes $XDG_CONFIG_HOME/autostart/keyloom.desktop (default ~/.config/autostart),\n"
     "which starts keyloom --start (hidden in the tray) when you log in; off removes it;\n"
     "status says whether it is there. The tray menu's \"Start with the desktop\" does the\n"
     "same.",
     runAutostart},
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
