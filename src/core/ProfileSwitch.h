#pragma once
// Switching the keyboard's active on-board profile from the window: refused
// while the key assignment dialog is open, asks first when there are
// unapplied changes (apply them, or drop them by reloading the slot file),
// then sets the keyboard's active profile and has the window redraw the key
// view and rebuild the profile menu. The working store already holds all
// three profiles, so the keyboard's key matrices are not read again.
//
// Runs as a keyboard job; which editors are open it reads from the
// EditorState the window keeps, never from the window itself.

#include <functional>

#include "core/EditorState.h"
#include "core/KeyboardAreas.h"
#include "core/ModifiedState.h"
#include "core/window/CoreWindow.h"
#include "model/ConfigurationStore.h"

namespace keyloom {

class ProfileSwitcher {
public:
    // Replaces the working store's contents by the slot file's; false when
    // the file could not be loaded.
    using ReloadSlotFile = std::function<bool(WorkingStore::Access&)>;
    // The main window's Apply.
    using Apply = std::function<void()>;

    ProfileSwitcher(window::CoreWindow window, EditorState& editors, KeyboardAreas& areas,
                    WorkingStore& working, ModifiedState& modified, ReloadSlotFile reloadSlotFile,
                    Apply apply);

    // `profile` 3 or above is taken as 0; a negative number runs only the
    // prompt, the redraw and the menu rebuild. True when switched: refused
    // (key editor open) and a failed keyboard write give false.
    bool switchTo(int profile);

private:
    // The unapplied-changes question: apply, or drop the edits.
    void settleUnappliedChanges();

    window::CoreWindow window_;
    EditorState& editors_;
    KeyboardAreas& areas_;
    WorkingStore& working_;
    ModifiedState& modified_;
    ReloadSlotFile reloadSlotFile_;
    Apply apply_;
    bool promptShowing_ = false;
};

}  // namespace keyloom
