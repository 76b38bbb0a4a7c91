// The working store and the slot file: refreshed from the keyboard through
// the slot file, saved to it at Apply, reloaded from it to drop edits; and
// the keyboard's own contents written to a profile file.

#include "core/KeyloomCore.h"
#include "storage/ProfileDump.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileSlotFile.h"

namespace keyloom {

bool KeyloomCore::dumpKeyboard(const std::string& path) {
    const int active = areas_.activeProfile();
    if (active == ConnectionValues::kUnknownProfile)
        return false;
    const KeyMatrix defaults = defaultMatrix();
    const KeyboardDumpSource source{link_, defaults, state_.connection.macroCapacity.load()};
    return dumpKeyboardToFile(source, active, path) == 1;
}

void KeyloomCore::refreshFromKeyboard(bool keepModified) {
    prepareDataFolder(paths_);
    const std::string slot = slotFile();
    const bool dumped = dumpKeyboard(slot);
    {
        auto working = working_.lock();
        // The slot file keeps its last contents when the keyboard could not
        // be read; the store starts empty then.
        if (!dumped || loadProfileFile(slot, *working) != 1)
            working->reset();
    }
    window_.view.redrawKeyView();
    if (!keepModified)
        modified_.clear();
}

bool KeyloomCore::saveToSlotFile(const WorkingStore::Access& working) {
    return keyloom::saveToSlotFile(*working, slotFile()) == 1;
}

bool KeyloomCore::reloadSlotFile(WorkingStore::Access& working) {
    return loadProfileFile(slotFile(), *working) == 1;
}

}  // namespace keyloom
