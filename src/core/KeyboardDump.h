#pragma once
// Reading the keyboard's key matrices and macro area into a profile file
// (backup, show, and the slot file at every connection). The reads run as a
// job of the keyboard queue; the result keeps the keyboard's answer apart
// from the file's, so a caller can tell "the keyboard did not answer" from
// "the file could not be written".

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/DeviceLink.h"
#include "device/KeyboardQueue.h"
#include "device/ProtocolResult.h"
#include "model/KeyMatrix.h"
#include "storage/FileResult.h"

namespace keyloom {

struct KeyboardDumpSource {
    DeviceLink& link;
    // The keyboard's default key matrix, as read at connection.
    const KeyMatrix& defaultMatrix;
    // Macro area capacity in bytes (parameter block byte 11 x 128); nothing
    // of the area beyond it is read or trusted.
    std::size_t macroCapacity = 0;
};

struct KeyboardDump {
    // Success when every read went through, else the first failed read's
    // result. BadProfile: the active profile is not known (not 0-3) and
    // nothing was read. NoReply also when the queue had stopped.
    DeviceResult device = result::Success;
    // Ok when the file's bytes were built (and written, for a dump to a
    // file); Failed when they were not, or the keyboard could not be read:
    // a dump that silently lacked the macros would later wipe them from the
    // keyboard, so an old file is then left intact. OutOfMemory when what
    // was read could not be held.
    FileResult file = FileResult::Failed;
    // The bytes the file holds; empty on failure.
    std::vector<std::uint8_t> bytes;

    bool ok() const { return device == result::Success && file == FileResult::Ok; }
};

// The language's name for a macro the keyboard holds without one; a number
// follows it.
std::u16string unnamedMacroPrefix();

// The profile file's bytes for what the keyboard holds, without writing them
// (keyloomctl show). Waits for the queue's earlier work; at once from a job.
KeyboardDump readKeyboardDump(KeyboardQueue& queue, const KeyboardDumpSource& source,
                              int activeProfile, std::u16string_view defaultNamePrefix);

// The same, written to `path`; a file that already holds the bytes is left
// alone.
KeyboardDump dumpKeyboardToFile(KeyboardQueue& queue, const KeyboardDumpSource& source,
                                int activeProfile, const std::string& path,
                                std::u16string_view defaultNamePrefix);

}  // namespace keyloom
