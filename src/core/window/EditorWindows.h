#pragma once
// What the core asks of the main window's profile manager when it switches
// the keyboard's profile. Which editors are open is not asked here: the
// window keeps that in the core (EditorState), so the keyboard-work thread
// reads it without reaching a widget.

namespace keyloom::window {

class EditorWindows {
public:
    virtual ~EditorWindows() = default;

    // Any thread: the open profile manager ticks row `profile` (on the
    // window thread, later when called from elsewhere) and shows no
    // unapplied changes.
    virtual void profileManagerSelectRow(int profile) = 0;
};

}  // namespace keyloom::window
