#include "platform/window/TrayStatus.h"

namespace keyloom::window {

TrayStatus::TrayStatus(WindowDispatch& port, int shownIcon) : port_(port), shownIcon_(shownIcon) {}

void TrayStatus::set(Mode mode, int iconId) {
    std::lock_guard lock(mutex_);
    if (mode == Mode::Indicator) {
        showLocked(icon::kIndicator);
        return;
    }
    if (iconId != 0) {
        statusIcon_ = iconId;
    }
    showLocked(statusIcon_);
}

void TrayStatus::forgetShownIcon() {
    std::lock_guard lock(mutex_);
    shownIcon_ = 0;
}

int TrayStatus::shownIcon() const {
    std::lock_guard lock(mutex_);
    return shownIcon_;
}

int TrayStatus::statusIcon() const {
    std::lock_guard lock(mutex_);
    return statusIcon_;
}

void TrayStatus::showLocked(int iconId) {
    if (iconId == shownIcon_) {
        return;
    }
    // Under the lock, so two threads' changes reach the icon in the order
    // their remembered values were taken.
    port_.showTrayIcon(iconId);
    shownIcon_ = iconId;
}

}  // namespace keyloom::window
