#include "core/ProfileSwitch.h"

#include <utility>

#include "core/Prompts.h"
#include "device/ProtocolResult.h"

namespace keyloom {

ProfileSwitcher::ProfileSwitcher(window::CoreWindow window, EditorState& editors,
                                 KeyboardAreas& areas, WorkingStore& working,
                                 ModifiedState& modified, ReloadSlotFile reloadSlotFile,
                                 Apply apply)
    : window_(window),
      editors_(editors),
      areas_(areas),
      working_(working),
      modified_(modified),
      reloadSlotFile_(std::move(reloadSlotFile)),
      apply_(std::move(apply)) {}

bool ProfileSwitcher::switchTo(int profile) {
    if (profile >= kProfileCount)
        profile = 0;
    if (editors_.keyAssignmentDialogOpen()) {
        showPrompt(window_.prompts, "PROFILE_SEELCT_PROMPT2",
                   {window::MessageButtons::Ok, window::MessageIcon::Information, false});
        return false;
    }

    const bool unapplied = editors_.profileManagerHasUnappliedChanges() || modified_.isModified();
    if (unapplied && !promptShowing_) {
        settleUnappliedChanges();
    } else if (editors_.profileManagerOpen() && profile >= 0) {
        editors_.profileManagerRowSelected();
        window_.editors.profileManagerSelectRow(profile);
    }

    bool switched = true;
    if (profile >= 0)
        switched = areas_.setActiveProfile(profile) == result::Success;

    // The key view follows the (possibly reloaded) store and the new profile.
    window_.view.redrawKeyView();
    window_.view.profileMenuChanged();
    return switched;
}

void ProfileSwitcher::settleUnappliedChanges() {
    promptShowing_ = true;
    if (askYesNo(window_.prompts, "PROFILE_SELECT_PROMPT")) {
        apply_();
    } else {
        // The edits are dropped by reloading the slot file; when that fails
        // the store still holds them, so they stay marked as unapplied.
        bool dropped = true;
        if (areas_.values().activeProfile.load() != ConnectionValues::kUnknownProfile) {
            auto working = working_.lock();
            dropped = reloadSlotFile_(working);
        }
        if (dropped)
            modified_.clear();
        else
            showPrompt(window_.prompts, "KEYLOOM_DISCARD_FAILED",
                       {window::MessageButtons::Ok, window::MessageIcon::Warning, false});
    }
    promptShowing_ = false;
}

}  // namespace keyloom
