#pragma once
// Qt key events as the key assignment dialog's two keyboard hooks see them.
// The event's native scan code (the Linux key code + 8 on X11 and Wayland)
// goes through the Linux key table, so the key-code rules get what a Windows
// hook would report for the same physical key.

#include <QKeyEvent>
#include <cstdint>
#include <optional>

#include "editors/KeyCapture.h"

namespace keyloom::editors::qt {

struct HookEvents {
    KeyEvent thread;
    // Set for the Windows and Application keys, which the low-level hook
    // sees first.
    std::optional<LowLevelKeyEvent> lowLevel;
    // An event Windows would not deliver to the hooks at all: the repeated
    // release of a held key, and the press of a key that reports only its
    // release (Print Screen and its kin).
    bool hidden = false;
};

// Nothing for events without a usable scan code (synthesised events).
std::optional<HookEvents> hookEventsOf(const QKeyEvent& event);

// Whether Num Lock is on in the event's native modifier state.
bool numLockOn(const QKeyEvent& event);

// The hooks' clock: "now" in the time base of the window system's event
// timestamps, estimated from the last input event and the steady clock, so
// that the first recorded pause counts from the click on the record button.
class EventClock {
public:
    void observe(std::uint64_t eventMs, std::uint64_t steadyMs);
    std::uint64_t now(std::uint64_t steadyMs) const;

private:
    bool seen_ = false;
    std::uint64_t eventMs_ = 0;
    std::uint64_t steadyMs_ = 0;
};

std::uint64_t steadyMilliseconds();

}  // namespace keyloom::editors::qt
