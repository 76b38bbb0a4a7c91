#pragma once
// Profile files (".klm"): the working store on disk. A file is the 32,832-byte
// assignment image, then the header's macro count of 32,512-byte macro
// records, then the string pool with the texts of the LaunchProgram and
// TextBlock entries (zero-terminated UTF-16, packed in entry order, each
// entry's value field holding its text's byte offset in the pool).
//
// Every function returns its result instead of showing anything; where the
// user must be told about a malformed file, the already formatted text is
// handed back for the caller to show. Saves replace the file atomically, so
// a crash or a full disk never leaves a half-written profile file behind.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ConfigurationStore.h"
#include "storage/FileResult.h"

namespace keyloom {

inline constexpr std::string_view kProfileFileExtension = "klm";
// Language key of the message for a file whose header is wrong; formatted
// with the file's path.
inline constexpr std::string_view kProfileFormatErrorKey = "PROFILE_FORMAT_ERROR";

// Result codes of validateProfileFile.
namespace profile_file {
inline constexpr FileResult kValid = FileResult::Ok;
// Missing, too small or too large, or a wrong header.
inline constexpr FileResult kInvalid = FileResult::Failed;
inline constexpr FileResult kCannotOpen = FileResult::CannotOpen;
inline constexpr FileResult kOutOfMemory = FileResult::OutOfMemory;
// Files of 4 GiB or more are never profile files.
inline constexpr std::uint64_t kSizeLimit = std::uint64_t{1} << 32;
}  // namespace profile_file

// Why the bytes of a file are not a usable profile file.
enum class ProfileFileFault {
    None,
    // Missing, not a regular file, or of a size no profile file has (under
    // 32,832 bytes or 4 GiB and more): not reported to the user.
    Unusable,
    TooShort,  // fewer bytes than the image: not reported to the user
    BadMagic,
    BadHeaderSize,
    BadFormatWord,
    BadFormatVersion,
    TotalSizeTooSmall,
    BadEntryCount,
    TooManyMacros,
    BadFlag,
    TotalSizeMismatch,  // total size differs from image + macros + pool
    BadChecksum,
    Truncated,  // the file ends before the total size its header states
};

// Checks the header of a profile file's bytes, and that the file holds
// everything the header says follows the image. Bytes past the stated total
// size are allowed (and ignored by the load).
ProfileFileFault checkProfileBytes(std::span<const std::uint8_t> bytes);

struct ProfileFileCheck {
    FileResult code = profile_file::kInvalid;
    ProfileFileFault fault = ProfileFileFault::None;
    // Set when the header was wrong: the language text "PROFILE_FORMAT_ERROR"
    // formatted with the path. The caller shows it.
    std::string message;

    bool valid() const { return code == profile_file::kValid; }
};

// Validate file: 1 valid, 0 invalid or unusable (missing, under 32,832 bytes,
// 4 GiB or more, wrong header; only the last comes with a message), -2 cannot
// be opened or read, -3 out of memory.
ProfileFileCheck validateProfileFile(const std::string& path);

// Loads profile file bytes into `store`, replacing its image, macros and
// texts. The bytes must hold the image and the macro records and pool its
// header names, with at most 100 macros (a file that fails validation for
// other reasons is still taken as it stands). A text whose offset or whose
// terminator lies outside the pool leaves its entry without text. Returns 1,
// or 0 with `store` unchanged (malformed bytes, out of memory).
FileResult loadProfileBytes(std::span<const std::uint8_t> bytes, StoreContents& store);

// Load file into the working store: `store` is the locked working store's
// contents. 1, or 0 with the store unchanged.
FileResult loadProfileFile(const std::string& path, StoreContents& store);

// The bytes a save writes for `store`. Rebuilds the store's image header
// (macro count, pool size = the texts' total size, flag 0, checksum) and sets
// the offset field of every LaunchProgram / TextBlock entry that has a text.
// Such entries without a text keep their field unless it points into the
// pool; then it is set to the pool size, so that the entry does not pick up
// another entry's text when the file is loaded. False (store unchanged) with
// more than 100 macros or when memory runs out.
bool buildProfileBytes(StoreContents& store, std::vector<std::uint8_t>& out);

// Save working store to file, for a caller that holds the working-store lock
// (`store` is its contents): 1 written, 0 not (the old file is then intact).
FileResult saveProfileFile(StoreContents& store, const std::string& path);
// The same, taking the working-store lock for the save.
FileResult saveProfileFile(WorkingStore& store, const std::string& path);

// Create empty profile file: a fresh image (extra-key codes in block 0), no
// macros, no texts. 1 or 0.
FileResult createEmptyProfileFile(const std::string& path);

}  // namespace keyloom
