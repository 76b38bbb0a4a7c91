#pragma once
// Which editor dialogs the window has open, and whether the profile manager
// holds changes not yet applied. The window sets them on its own thread as
// its dialogs open, change and close; the keyboard-work thread reads them
// before a profile switch, so it never has to ask a widget.

#include <atomic>

namespace keyloom {

class EditorState {
public:
    void setKeyAssignmentDialogOpen(bool open) { keyDialogOpen_ = open; }
    bool keyAssignmentDialogOpen() const { return keyDialogOpen_.load(); }

    // A closed manager holds no unapplied changes.
    void setProfileManager(bool open, bool unapplied) {
        managerUnapplied_ = open && unapplied;
        managerOpen_ = open;
    }
    bool profileManagerOpen() const { return managerOpen_.load(); }
    bool profileManagerHasUnappliedChanges() const { return managerUnapplied_.load(); }
    // A profile switch ticked the manager's row of the new profile: what it
    // shows is what the keyboard holds again.
    void profileManagerRowSelected() { managerUnapplied_ = false; }

private:
    std::atomic<bool> keyDialogOpen_{false};
    std::atomic<bool> managerOpen_{false};
    std::atomic<bool> managerUnapplied_{false};
};

}  // namespace keyloom
