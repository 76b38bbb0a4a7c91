#pragma once
// Recording key events into the selected macro. While recording, the
// dialog's thread hook and a low-level hook hand every key event here; the
// events land in the editor's rows at the selected row, each with the pause
// that came before it.
//
// Pauses come from the events' own timestamps, so an event handled late is
// still timed right. With measured delays off every pause is 50 ms.

#include <cstdint>
#include <functional>

#include "editors/KeyCapture.h"
#include "editors/MacroEditor.h"

namespace keyloom::editors {

class MacroRecorder {
public:
    // Milliseconds of the same tick counter the key events are stamped with.
    using Clock = std::function<std::uint64_t()>;

    static constexpr std::uint32_t kFixedDelayMs = 50;
    // How long a key that reports only its release is held in the recording.
    static constexpr std::uint32_t kSingleEventHoldMs = 2;

    MacroRecorder(MacroEditor& editor, Clock clock);

    // The record-delay setting: true = measured pauses, false = 50 ms.
    void setMeasuredDelays(bool on) { measured_ = on; }
    bool measuredDelays() const { return measured_; }

    // Starts when a macro is selected; the first pause counts from now.
    bool start();
    void stop();
    bool recording() const { return recording_; }

    // Thread hook: keys without a code and media keys pass on; auto-repeats
    // are swallowed unrecorded; every other event is recorded and swallowed.
    HookVerdict onThreadKeyEvent(const KeyEvent& event);
    // Low-level hook: records the two Windows keys (each held key once, its
    // repeats swallowed) so the Start menu does not open; all else passes on.
    HookVerdict onLowLevelKeyEvent(const LowLevelKeyEvent& event);

private:
    void record(KeyCode key, std::uint16_t state, std::uint64_t timeMs);
    std::uint32_t pauseUntil(std::uint64_t timeMs);

    MacroEditor& editor_;
    Clock clock_;
    bool measured_ = false;
    bool recording_ = false;
    std::uint64_t lastEventMs_ = 0;
    // The Windows key last pressed (0 = none): its next down messages are repeats.
    std::uint32_t heldWindowsVk_ = 0;
};

}  // namespace keyloom::editors
