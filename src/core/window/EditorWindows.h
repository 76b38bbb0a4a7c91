#pragma once
// What the core asks of the main window's editor dialogs (the key assignment
// dialog and the profile manager) before it switches the keyboard's profile.
// Window thread only.

namespace keyloom::window {

class EditorWindows {
public:
    virtual ~EditorWindows() = default;

    virtual bool isKeyAssignmentDialogOpen() = 0;
    virtual bool isProfileManagerOpen() = 0;
    virtual bool profileManagerHasUnappliedChanges() = 0;
    // Ticks row `profile` of the open profile manager and marks it as having
    // no unapplied changes.
    virtual void profileManagerSelectRow(int profile) = 0;
};

}  // namespace keyloom::window
