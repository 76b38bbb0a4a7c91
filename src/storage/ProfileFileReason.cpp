#include "storage/ProfileFileReason.h"

#include <fstream>

#include "storage/ProfileJson.h"

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

bool looksLikeProfileJson(const std::string& path) {
    // The format field comes first in every export; a hand-made file may
    // put it a little further down.
    constexpr std::size_t kLookAhead = 4096;
    std::ifstream in(path, std::ios::binary);
    std::string start(kLookAhead, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(in.gcount()));
    std::string_view text(start);
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{' &&
           text.find("\"" + std::string(kProfileJsonFormat) + "\"") != std::string_view::npos;
}

}  // namespace keyloom
