#include "editors/qt/KeyDialogEvents.h"

#include <chrono>

#include "platform/keys/LinuxKeyMap.h"

namespace keyloom::editors::qt {

namespace {

// X11 and Wayland deliver Linux key codes shifted by the X keycode offset.
constexpr quint32 kNativeScanOffset = 8;
// Num Lock is the Mod2 bit of the X modifier state (and of xkb's on Wayland).
constexpr quint32 kNumLockModifier = 0x10;

}  // namespace

bool numLockOn(const QKeyEvent& event) {
    return (event.nativeModifiers() & kNumLockModifier) != 0;
}

std::optional<HookEvents> hookEventsOf(const QKeyEvent& event) {
    const quint32 native = event.nativeScanCode();
    if (native <= kNativeScanOffset) {
        return std::nullopt;
    }
    const keys::WindowsKeystroke stroke =
        keys::windowsKeystrokeOf(native - kNativeScanOffset, numLockOn(event));
    if (!stroke.isKey()) {
        return std::nullopt;
    }
    HookEvents events;
    events.thread.virtualKey = stroke.virtualKey;
    events.thread.keystrokeFlags = stroke.keystrokeFlags;
    events.thread.released = event.type() == QEvent::KeyRelease;
    events.thread.autoRepeat = event.isAutoRepeat();
    events.thread.timeMs = event.timestamp();
    if (windowsKeyCodeOf(stroke.virtualKey, true) != 0) {
        LowLevelKeyEvent low;
        low.virtualKey = stroke.virtualKey;
        low.message = events.thread.released ? LowLevelMessage::KeyUp : LowLevelMessage::KeyDown;
        low.timeMs = events.thread.timeMs;
        events.lowLevel = low;
    }
    const KeyCode code = events.thread.keyCode();
    events.hidden = (events.thread.released && events.thread.autoRepeat) ||
                    (!events.thread.released && IsSingleEventKey(code));
    return events;
}

void EventClock::observe(std::uint64_t eventMs, std::uint64_t steadyMs) {
    seen_ = true;
    eventMs_ = eventMs;
    steadyMs_ = steadyMs;
}

std::uint64_t EventClock::now(std::uint64_t steadyMs) const {
    if (!seen_) {
        return 0;
    }
    return eventMs_ + (steadyMs >= steadyMs_ ? steadyMs - steadyMs_ : 0);
}

std::uint64_t steadyMilliseconds() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace keyloom::editors::qt
