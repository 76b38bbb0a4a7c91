#include "core/SlotFileSync.h"

#include "storage/ProfileFile.h"
#include "storage/ProfileSlotFile.h"

namespace keyloom {

std::string SlotFileSync::slotFile() const {
    return slotFilePath(parts_.paths.dataFolder);
}

KeyboardDump SlotFileSync::dumpKeyboard(const std::string& path) {
    const KeyMatrix defaults = parts_.data.defaultMatrix();
    const KeyboardDumpSource source{parts_.link, defaults,
                                    parts_.state.connection.macroCapacity.load()};
    return dumpKeyboardToFile(parts_.queue, source, parts_.areas.activeProfile(), path,
                              unnamedMacroPrefix());
}

void SlotFileSync::refreshFromKeyboard(bool keepModified) {
    prepareDataFolder(parts_.paths);
    // The store is loaded from the bytes the slot file was just given, which
    // is what reading the file back would yield.
    const KeyboardDump dump = dumpKeyboard(slotFile());
    {
        auto working = parts_.working.lock();
        // The slot file keeps its last contents when the keyboard could not
        // be read; the store starts empty then.
        if (!dump.ok() || loadProfileBytes(dump.bytes, *working) != FileResult::Ok)
            working->reset();
    }
    parts_.window.view.redrawKeyView();
    if (!keepModified)
        parts_.modified.clear();
}

bool SlotFileSync::save(const WorkingStore::Access& working) {
    return saveToSlotFile(*working, slotFile()) == FileResult::Ok;
}

bool SlotFileSync::reload(WorkingStore::Access& working) {
    return loadProfileFile(slotFile(), *working) == FileResult::Ok;
}

}  // namespace keyloom
