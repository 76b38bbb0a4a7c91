#pragma once
// The main window's commands that change the keyboard's key configuration
// or the report rate: Apply, Restore default, restore from and back up to a
// profile file, and the report-rate buttons.

#include <string>

#include "core/CoreParts.h"
#include "core/KeyboardWriter.h"
#include "core/SlotFileSync.h"

namespace keyloom {

enum class RestoreResult {
    Written,       // loaded, saved to the slot file and written to the keyboard
    NotWritten,    // loaded and saved, but the keyboard write failed: Apply stays enabled
    InvalidFile,   // the file failed the check; nothing changed
    LoadFailed,    // the file could not be read; nothing changed
    BackupFailed,  // what it would replace could not be saved first; nothing changed
};

class KeyCommands {
public:
    KeyCommands(CoreParts parts, SlotFileSync& slot, KeyboardWriter& writer)
        : parts_(parts), slot_(slot), writer_(writer) {}

    // Saves the slot file and writes the active profile when modified; the
    // modified state is cleared only when both succeed.
    bool apply();
    // Asks first; every key of the active profile back to Default, then Apply.
    bool restoreDefault();
    // Checks and reads the file, saves the working store to a new
    // before-restore file of the data folder (RestoreBackup.h), then loads
    // the file, saves it to the slot file and writes all three profiles.
    // `backupFile` (when given) receives the before-restore file's path.
    RestoreResult restoreFromFile(const std::string& path, std::string* backupFile = nullptr);
    // Saves the working store (with any unapplied edits) to `path`.
    bool backupToFile(const std::string& path);
    // Report-rate step 0-3 of the lighting profile, one byte at offset 15.
    DeviceResult writeReportRate(int step);

private:
    // The file could not be imported: the message names the file and why.
    void tellImportFailure(const std::string& path, const std::string& reason);
    // The before-restore copy could not be written: nothing was sent.
    void tellBackupFailure();

    CoreParts parts_;
    SlotFileSync& slot_;
    KeyboardWriter& writer_;
};

}  // namespace keyloom
