#pragma once
// The lighting panel's part of the main window, as the core's sequences
// (full read, profile buttons, profile refresh, Restore default) drive it.
// The core may call these from the keyboard work's thread: the window runs
// each on the window thread.

namespace keyloom::window {

class LightingView {
public:
    virtual ~LightingView() = default;

    // Re-reads the lighting-view switch from the per-user settings file.
    virtual void reloadLightingViewSwitch() = 0;
    virtual void rebuildLightingPanel() = 0;
    // Turns the lighting view off when it is on.
    virtual void lightingViewOff() = 0;
    // Restore default while the lighting view is on: the lighting of the
    // lighting profile back to its defaults.
    virtual void resetLightingIfViewOn() = 0;
    // Fills the user-mode list of `profile` and loads its current user mode,
    // sending its key colours to the keyboard when `send` is set.
    virtual void loadUserModes(int profile, bool send) = 0;
    // Seeds the three profiles' user-mode files from the template and
    // reloads them without sending.
    virtual void reseedUserModes() = 0;
    // Marks in the key view which keys hold the paint colour.
    virtual void markKeyColourMarks() = 0;
};

}  // namespace keyloom::window
