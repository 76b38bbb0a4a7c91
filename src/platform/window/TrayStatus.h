#pragma once
// The tray icon's status picture: the connection icon that the connection
// change sets (141 connected, 128 not; 128 at start) and the indicator icon
// 142 that the keyboard's indicator notifications switch on and off without
// forgetting the connection icon. The port is asked to change the picture only
// when it differs from the one shown last.
//
// Thread-safe: called from the discovery thread, the indicator workers and
// the window thread.

#include <mutex>

#include "platform/window/WindowDispatch.h"

namespace keyloom::window {

class TrayStatus {
public:
    enum class Mode { Status = 0, Indicator = 1 };

    // The tray icon is created showing `shownIcon`.
    explicit TrayStatus(WindowDispatch& port, int shownIcon = icon::kDisconnected);
    TrayStatus(const TrayStatus&) = delete;
    TrayStatus& operator=(const TrayStatus&) = delete;

    // Mode Status with an icon: show it and remember it as the status icon.
    // Mode Status with icon 0: show the remembered status icon again.
    // Mode Indicator: show 142, keeping the remembered status icon.
    void set(Mode mode, int iconId);

    // The tray icon has been removed: the next set shows its icon whatever
    // was shown before.
    void forgetShownIcon();

    int shownIcon() const;
    int statusIcon() const;

private:
    void showLocked(int iconId);

    WindowDispatch& port_;
    mutable std::mutex mutex_;
    int shownIcon_;
    int statusIcon_ = icon::kDisconnected;
};

}  // namespace keyloom::window
