#pragma once
// The slot file: the profile file in the per-user data folder that mirrors
// the keyboard's key assignments and macros of all three on-board profiles.
// It is refreshed from the keyboard at every connection and saved from the
// working store at every Apply.

#include <string>
#include <string_view>
#include "storage/FileResult.h"

#include "model/ConfigurationStore.h"

namespace keyloom {

// Format of the slot file's name, applied to 0; no extension.
inline constexpr std::string_view kSlotFileNameFormat = "$Profile%d";

// "$Profile0"
std::string slotFileName();
// `dataFolder` + "/$Profile0" (the data folder has no '/' at its end).
std::string slotFilePath(std::string_view dataFolder);

// Save to slot file: saves `store` (the locked working store's contents) to
// `slotFile`, but only when that file already exists; otherwise nothing is
// written and nothing in the store changes. 1 written, 0 not.
FileResult saveToSlotFile(StoreContents& store, const std::string& slotFile);
// The same, taking the working-store lock.
FileResult saveToSlotFile(WorkingStore& store, const std::string& slotFile);

}  // namespace keyloom
