#pragma once
// Key events as the editors' keyboard hooks see them, and the rules by which
// the key assignment dialog takes a key from them.
//
// Two hooks deliver events: one on the dialog's own thread, which sees the
// virtual key and keystroke flags of every key, and a system-wide low-level
// one, which the editors use only for the Windows and Application keys so
// that the Start menu does not open.

#include <cstdint>

#include "model/KeyTable.h"

namespace keyloom::editors {

// An event of the thread hook.
struct KeyEvent {
    std::uint32_t virtualKey = 0;
    // Scan code in bits 16-23, extended flag in bit 24.
    std::uint32_t keystrokeFlags = 0;
    bool released = false;
    // A press while the key was already down.
    bool autoRepeat = false;
    // When the event happened (milliseconds of the system tick counter).
    std::uint64_t timeMs = 0;

    KeyCode keyCode() const { return KeyCodeFromEvent(virtualKey, keystrokeFlags); }
    bool freshPress() const { return !released && !autoRepeat; }
};

enum class LowLevelMessage { KeyDown, KeyUp, SystemKeyDown, SystemKeyUp, Other };

// An event of the low-level hook.
struct LowLevelKeyEvent {
    std::uint32_t virtualKey = 0;
    LowLevelMessage message = LowLevelMessage::Other;
    std::uint64_t timeMs = 0;

    bool isDown() const {
        return message == LowLevelMessage::KeyDown || message == LowLevelMessage::SystemKeyDown;
    }
};

// What a hook does with an event: hand it on to the system or swallow it.
enum class HookVerdict { PassOn, Swallow };

struct CaptureDecision {
    HookVerdict verdict = HookVerdict::PassOn;
    KeyCode captured = 0;  // 0 = nothing captured
};

inline constexpr KeyCode kPrintScreenKey = 0x137;
inline constexpr std::uint32_t kLeftWindowsVk = 91;
inline constexpr std::uint32_t kRightWindowsVk = 92;
inline constexpr std::uint32_t kApplicationVk = 93;

// Key code of a Windows or Application key's virtual key; 0 for any other.
KeyCode windowsKeyCodeOf(std::uint32_t virtualKey, bool withApplicationKey);

// Thread hook: code 0 and media keys pass on; every other event is
// swallowed and captured when the keyboard option is selected and it is a
// fresh press (Print Screen, which delivers only its release, on any event).
CaptureDecision captureFromThreadHook(const KeyEvent& event, bool keyboardOptionSelected);

// Low-level hook: the Windows and Application keys are captured and
// swallowed on every key message; everything else passes on.
CaptureDecision captureFromLowLevelHook(const LowLevelKeyEvent& event);

}  // namespace keyloom::editors
