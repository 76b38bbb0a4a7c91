#pragma once
// The copy of the working store saved before a whole-keyboard replacement
// (Restore from file, the profile manager's file row, keyloomctl restore):
// "before-restore-YYYYMMDD-HHMMSS.klm" in the data folder. Only the newest
// ten are kept, so repeated restores do not fill the folder.

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "model/ConfigurationStore.h"

namespace keyloom {

inline constexpr std::string_view kRestoreBackupKind = "before-restore";
inline constexpr std::size_t kRestoreBackupsKept = 10;

// Saves `store` as a new before-restore file of `dataFolder`, never over an
// older one (a second restore within the same second gets "-2", "-3", ...),
// then removes the oldest such files beyond the newest ten. The new file's
// path, or empty when it could not be written (nothing is removed then).
std::string saveRestoreBackup(StoreContents& store, const std::string& dataFolder,
                              std::chrono::system_clock::time_point now);

// Removes the oldest before-restore files of `dataFolder` beyond `kept`;
// `keep` (the one just written) is never removed. Other files are left alone.
void pruneRestoreBackups(const std::string& dataFolder, const std::string& keep, std::size_t kept);

}  // namespace keyloom
