#include "editors/MacroRecorder.h"

#include <algorithm>
#include <limits>

namespace keyloom::editors {

MacroRecorder::MacroRecorder(MacroEditor& editor, Clock clock)
    : editor_(editor), clock_(std::move(clock)) {}

bool MacroRecorder::start() {
    if (editor_.selectedRecord() == nullptr) {
        return false;
    }
    recording_ = true;
    lastEventMs_ = clock_ ? clock_() : 0;
    heldWindowsVk_ = 0;
    return true;
}

void MacroRecorder::stop() {
    recording_ = false;
    heldWindowsVk_ = 0;
}

std::uint32_t MacroRecorder::pauseUntil(std::uint64_t timeMs) {
    // An event stamped before the last one (it cannot happen with one tick
    // counter, but a wrapped counter would) counts as no pause rather than
    // as a pause of days.
    const std::uint64_t pause = timeMs >= lastEventMs_ ? timeMs - lastEventMs_ : 0;
    lastEventMs_ = std::max(lastEventMs_, timeMs);
    if (!measured_) {
        return kFixedDelayMs;
    }
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(pause, std::numeric_limits<std::uint32_t>::max()));
}

void MacroRecorder::record(KeyCode key, std::uint16_t state, std::uint64_t timeMs) {
    editor_.insertEvent(key, state, pauseUntil(timeMs));
}

HookVerdict MacroRecorder::onThreadKeyEvent(const KeyEvent& event) {
    if (!recording_) {
        return HookVerdict::PassOn;
    }
    const KeyCode key = event.keyCode();
    if (key == 0 || IsMediaKey(key)) {
        return HookVerdict::PassOn;
    }
    if (!event.released && event.autoRepeat) {
        return HookVerdict::Swallow;
    }
    if (event.released && IsSingleEventKey(key)) {
        // Only the release arrives: record a press at the event's time and
        // let it be held briefly, so the pause before it stays the user's.
        record(key, MacroAction::kPressed, event.timeMs);
        editor_.insertEvent(key, MacroAction::kReleased,
                            measured_ ? kSingleEventHoldMs : kFixedDelayMs);
        return HookVerdict::Swallow;
    }
    record(key, event.released ? MacroAction::kReleased : MacroAction::kPressed, event.timeMs);
    return HookVerdict::Swallow;
}

HookVerdict MacroRecorder::onLowLevelKeyEvent(const LowLevelKeyEvent& event) {
    if (!recording_) {
        return HookVerdict::PassOn;
    }
    if (!event.isDown()) {
        heldWindowsVk_ = 0;
    }
    const KeyCode key = windowsKeyCodeOf(event.virtualKey, false);
    if (key == 0 || event.message == LowLevelMessage::Other) {
        return HookVerdict::PassOn;
    }
    if (event.isDown()) {
        if (heldWindowsVk_ == event.virtualKey) {
            return HookVerdict::Swallow;
        }
        heldWindowsVk_ = event.virtualKey;
        record(key, MacroAction::kPressed, event.timeMs);
    } else {
        record(key, MacroAction::kReleased, event.timeMs);
    }
    return HookVerdict::Swallow;
}

}  // namespace keyloom::editors
