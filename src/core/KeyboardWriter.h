#pragma once
// Writing the working store's key configuration to the keyboard: the macro
// area and the key matrices of the chosen profiles, as one bracketed
// transfer; and telling the user when that did not happen.

#include <cstdint>
#include <span>

#include "core/CoreParts.h"

namespace keyloom {

class KeyboardWriter {
public:
    struct Result {
        bool written = false;
        bool macrosTooLong = false;  // nothing was written
        bool namesDropped = false;   // written without the macro names
        // Every transfer succeeded, but reading back found the keyboard
        // holding something other than what was sent.
        bool mismatch = false;
        // Why nothing (or not everything) reached the keyboard: the result
        // code of the failed step; NotWritten when nothing could be sent.
        DeviceResult failedCode = DeviceResult::NotWritten;
    };

    explicit KeyboardWriter(CoreParts parts) : parts_(parts) {}

    // Writes all three profiles when `allProfiles` or the write-all flag is
    // set, else the active one, and tells the user the outcome when it needs
    // telling. True when everything was written.
    bool writeAll(bool allProfiles);
    // The write itself, under the caller's working-store lock; the user is
    // told afterwards (tell), once the lock is released, since a message box
    // lets the window thread handle other work meanwhile.
    Result writeLocked(const WorkingStore::Access& working, bool allProfiles);
    void tell(const Result& result);
    // Tells the user that the keyboard was not written and why, from the
    // result code of the failed step.
    void tellFailure(DeviceResult code);

private:
    // Reads back the macro area and the written matrices (inside the open
    // transfer) and sets `mismatch` when they differ from what was sent.
    // Returns the result of the first failed read.
    DeviceResult readBack(std::span<const std::uint8_t> area, std::span<const KeyMatrix> matrices,
                          std::span<const int> profiles, bool& mismatch);

    CoreParts parts_;
};

}  // namespace keyloom
