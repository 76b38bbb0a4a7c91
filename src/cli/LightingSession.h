#pragma once
// The lighting side of keyloomctl: the keyboard connected as the program
// connects, and the core's lighting on the lighting profile as the window
// holds it after the full read. Writes go out synchronously, so every change
// has reached the keyboard when a command returns; the first write the
// keyboard refused is kept for the command to report.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/CliSession.h"
#include "core/LightingService.h"
#include "lighting/LightingController.h"
#include "lighting/LightingControls.h"

namespace keyloom::cli {

class LightingSession {
public:
    explicit LightingSession(CliContext& context) : context_(context), keyboard_(context) {}

    // Connects and takes the parameter block, the records and (on a keyboard
    // with per-key colours) the lighting profile's user mode; false, with the
    // reason printed, when the keyboard cannot be connected.
    bool open();

    // The core's lighting, held for as long as the Access lives.
    LightingService::Access controller() { return keyboard_.core().lighting().lock(); }
    KeyloomCore& core() { return keyboard_.core(); }
    // 1-based, for output.
    int profileNumber() { return keyboard_.core().lighting().profile() + 1; }

    // Exit code of a command that sent something: prints `done` and returns
    // kExitOk, or kExitFailure with the reason when the keyboard refused a
    // write or a user-mode file could not be used.
    int finish(const std::string& done);

private:
    CliContext& context_;
    ConnectedKeyboard keyboard_;
    int toldAtOpen_ = 0;
};

// The id the controller knows the panel control by (the first of a group).
inline int controlId(LightingControl control) {
    return lightingControlTable()[static_cast<std::size_t>(control)].firstId;
}

// RRGGBB (six hex digits); nothing for any other text.
std::optional<Rgb> parseRgb(std::string_view text);
std::string rgbHex(Rgb colour);

}  // namespace keyloom::cli
