#include "storage/ProfileFileReason.h"

namespace keyloom {

std::string_view importFailureReasonKey(const ProfileFileCheck& check, bool exists) {
    if (check.code == profile_file::kCannotOpen || check.code == profile_file::kOutOfMemory)
        return "KEYLOOM_IMPORT_UNREADABLE";
    switch (check.fault) {
        case ProfileFileFault::Unusable:
            return exists ? "KEYLOOM_IMPORT_WRONG_SIZE" : "KEYLOOM_IMPORT_MISSING";
        case ProfileFileFault::TooShort:
        case ProfileFileFault::TotalSizeTooSmall:
        case ProfileFileFault::TotalSizeMismatch:
        case ProfileFileFault::Truncated:
            return "KEYLOOM_IMPORT_WRONG_SIZE";
        case ProfileFileFault::TooManyMacros:
            return "KEYLOOM_IMPORT_TOO_MANY_MACROS";
        case ProfileFileFault::BadChecksum:
            return "KEYLOOM_IMPORT_BAD_CHECKSUM";
        case ProfileFileFault::None:
            // Valid when checked, but unreadable when loaded.
            return "KEYLOOM_IMPORT_UNREADABLE";
        default:
            return "KEYLOOM_IMPORT_BAD_HEADER";
    }
}

}  // namespace keyloom
