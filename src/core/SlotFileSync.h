#pragma once
// The working store and the slot file: refreshed from the keyboard through
// the slot file, saved to it at Apply, reloaded from it to drop edits; and
// the keyboard's own contents written to a profile file.

#include <string>

#include "core/CoreParts.h"
#include "core/KeyboardDump.h"

namespace keyloom {

class SlotFileSync {
public:
    explicit SlotFileSync(CoreParts parts) : parts_(parts) {}

    std::string slotFile() const;
    // Key matrices and macro area from the keyboard through the slot file
    // into the working store (an empty image when that fails); clears the
    // modified state unless `keepModified`.
    void refreshFromKeyboard(bool keepModified);
    // Writes what the keyboard itself holds to `path` as a profile file.
    KeyboardDump dumpKeyboard(const std::string& path);
    bool save(const WorkingStore::Access& working);
    // Replaces the store's contents by the slot file's; false when it could
    // not be loaded (the store is then unchanged).
    bool reload(WorkingStore::Access& working);

private:
    CoreParts parts_;
};

}  // namespace keyloom
