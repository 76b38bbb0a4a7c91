#include "editors/MacroRecorder.h"

#include <algorithm>
#include <utility>

namespace keyloom::editors {

namespace {

// A pause as the keyboard plays it: whole steps of 10 ms, at most the
// longest delay the editor takes.
std::uint32_t roundedDelay(std::uint64_t pauseMs) {
    const std::uint64_t bounded = std::min<std::uint64_t>(pauseMs, MacroEditor::kMaxDelayMs);
    return static_cast<std::uint32_t>(bounded / MacroEditor::kDelayStepMs *
                                      MacroEditor::kDelayStepMs);
}

}  // namespace

MacroRecorder::MacroRecorder(MacroEditor& editor, Clock clock)
    : editor_(editor), clock_(std::move(clock)) {}

bool MacroRecorder::start() {
    if (editor_.selectedRecord() == nullptr) {
        return false;
    }
    recording_ = true;
    lastEventMs_ = clock_ ? clock_() : 0;
    forget();
    return true;
}

void MacroRecorder::stop() {
    recording_ = false;
    forget();
}

void MacroRecorder::forget() {
    heldWindowsVk_ = 0;
    held_.clear();
    lastRelease_.reset();
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
    return roundedDelay(pause);
}

void MacroRecorder::record(KeyCode key, std::uint16_t state, std::uint64_t timeMs) {
    lastRelease_.reset();
    editor_.insertEvent(key, state, pauseUntil(timeMs));
}

bool MacroRecorder::recordPress(KeyCode key, std::uint64_t timeMs) {
    const std::optional<RecordedRelease> release = std::exchange(lastRelease_, std::nullopt);
    if (release && release->key == key && release->timeMs == timeMs && release->row >= 0) {
        editor_.removeInsertedEvent(static_cast<std::size_t>(release->row));
        lastEventMs_ = release->lastEventMsBefore;
        held_.insert(key);
        return false;
    }
    if (!held_.insert(key).second) {
        return false;
    }
    record(key, MacroAction::kPressed, timeMs);
    return true;
}

bool MacroRecorder::recordRelease(KeyCode key, std::uint64_t timeMs) {
    // A release without its press (the key went down before recording, or
    // answered a question meanwhile) is no part of the macro.
    if (held_.erase(key) == 0) {
        return false;
    }
    const std::uint64_t before = lastEventMs_;
    record(key, MacroAction::kReleased, timeMs);
    lastRelease_ = RecordedRelease{key, timeMs, before, editor_.selectedRow()};
    return true;
}

HookVerdict MacroRecorder::onThreadKeyEvent(const KeyEvent& event) {
    if (!recording_) {
        return HookVerdict::PassOn;
    }
    const KeyCode key = event.keyCode();
    if (key == 0 || IsMediaKey(key)) {
        return HookVerdict::PassOn;
    }
    if (event.autoRepeat) {
        return HookVerdict::Swallow;
    }
    if (event.released && IsSingleEventKey(key)) {
        // Only the release arrives: record a press at the event's time and
        // let it be held briefly, so the pause before it stays the user's.
        record(key, MacroAction::kPressed, event.timeMs);
        editor_.insertEvent(key, MacroAction::kReleased,
                            measured_ ? roundedDelay(kSingleEventHoldMs) : kFixedDelayMs);
        return HookVerdict::Swallow;
    }
    if (event.released) {
        recordRelease(key, event.timeMs);
    } else {
        recordPress(key, event.timeMs);
    }
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
        recordPress(key, event.timeMs);
    } else {
        recordRelease(key, event.timeMs);
    }
    return HookVerdict::Swallow;
}

}  // namespace keyloom::editors
