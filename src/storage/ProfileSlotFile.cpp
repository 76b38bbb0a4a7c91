#include "storage/ProfileSlotFile.h"

#include "platform/fs/FileIo.h"
#include "platform/text/SafeFormat.h"
#include "storage/ProfileFile.h"

namespace keyloom {

std::string slotFileName() {
    return text::formatInt(kSlotFileNameFormat, 0);
}

std::string slotFilePath(std::string_view dataFolder) {
    std::string path(dataFolder);
    path += '/';
    path += slotFileName();
    return path;
}

FileResult saveToSlotFile(StoreContents& store, const std::string& slotFile) {
    // The slot file is created by dumping the keyboard at connection; without
    // it there is no mirror of the keyboard to keep up to date.
    if (!fs::fileExists(slotFile))
        return FileResult::Failed;
    return saveProfileFile(store, slotFile);
}

FileResult saveToSlotFile(WorkingStore& store, const std::string& slotFile) {
    auto access = store.lock();
    return saveToSlotFile(*access, slotFile);
}

}  // namespace keyloom
