#pragma once
// What the main window shows of the core's state. The core calls these from
// the window thread or from the keyboard work's thread; the window runs each
// on its own thread. The core never calls them while it holds a store lock,
// so the window may lock the stores in any of them.

namespace keyloom::window {

class MainView {
public:
    virtual ~MainView() = default;

    // The core's modified state (unapplied key changes) was set: the window
    // mirrors it in Apply's enabled state.
    virtual void modifiedChanged(bool modified) = 0;
    // Redraws key faces and rebuilds key tooltips from the working store.
    virtual void redrawKeyView() = 0;
    // Shows button `activeProfile` (0-2) selected, the others not; other
    // values leave the buttons as they are.
    virtual void setProfileButtons(int activeProfile) = 0;
    // Shows report-rate button `step` (0-3) selected, the others not.
    virtual void setReportRateButtons(int step) = 0;
    // Key-toggle mode was switched off: the switch text and key faces follow.
    virtual void keyToggleModeOff() = 0;
    // The profile menu's items or check mark changed: rebuild it and the
    // profile label from the core's menu model.
    virtual void profileMenuChanged() = 0;
    // Busy indicator around Apply's keyboard write.
    virtual void busyIndicatorOn() = 0;
    virtual void busyIndicatorOff() = 0;
};

}  // namespace keyloom::window
