#pragma once
// Recording key events into the selected macro. While recording, the
// dialog's thread hook and a low-level hook hand every key event here; the
// events land in the editor's rows at the selected row, each with the pause
// that came before it.
//
// Pauses come from the events' own timestamps, so an event handled late is
// still timed right, and are kept in the keyboard's steps of 10 ms up to the
// editor's 40,000 ms, so that the rows show what the keyboard will play. With
// measured delays off every pause is 50 ms.
//
// A held key repeats. Besides repeats flagged as such, a press of a key that
// is already down is a repeat, and so is a release followed at once by a
// press of the same key with the same time stamp (how X reports a held
// key): the release is taken back and the press dropped.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>

#include "editors/KeyCapture.h"
#include "editors/MacroEditor.h"

namespace keyloom::editors {

class MacroRecorder {
public:
    // Milliseconds of the same tick counter the key events are stamped with.
    using Clock = std::function<std::uint64_t()>;

    static constexpr std::uint32_t kFixedDelayMs = 50;
    // How long a key that reports only its release is held in the recording
    // (below one step of the keyboard: stored as 0, as the keyboard plays it).
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
    // The release recorded last, while the next event may still show it to
    // be half of a repeat.
    struct RecordedRelease {
        KeyCode key = 0;
        std::uint64_t timeMs = 0;
        std::uint64_t lastEventMsBefore = 0;
        long row = -1;
    };

    void record(KeyCode key, std::uint16_t state, std::uint64_t timeMs);
    // Records a press; false when it is a repeat of a held key (dropped).
    bool recordPress(KeyCode key, std::uint64_t timeMs);
    // Records a release of a key seen pressed; false when it is dropped.
    bool recordRelease(KeyCode key, std::uint64_t timeMs);
    std::uint32_t pauseUntil(std::uint64_t timeMs);
    void forget();

    MacroEditor& editor_;
    Clock clock_;
    bool measured_ = false;
    bool recording_ = false;
    std::uint64_t lastEventMs_ = 0;
    // The Windows key last pressed (0 = none): its next down messages are repeats.
    std::uint32_t heldWindowsVk_ = 0;
    std::set<KeyCode> held_;
    std::optional<RecordedRelease> lastRelease_;
};

}  // namespace keyloom::editors
