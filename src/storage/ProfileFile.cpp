#include "storage/ProfileFile.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <new>

#include "model/ImageHeader.h"
#include "model/MacroRecord.h"
#include "model/StringTable.h"
#include "platform/fs/FileIo.h"
#include "platform/text/SafeFormat.h"
#include "storage/Language.h"

namespace keyloom {

namespace {

constexpr std::uint64_t kImageSize = AssignmentImage::kSize;
constexpr std::uint64_t kRecordSize = MacroRecord::kSize;

std::uint64_t statedTotal(const ImageHeader& header) {
    return kImageSize + header.macroCount * kRecordSize + header.poolSize;
}

// Header checks in the order the file check runs them; the first that fails
// names the fault.
ProfileFileFault checkHeader(const ImageHeader& header) {
    if (header.magic != ImageHeader::kMagic)
        return ProfileFileFault::BadMagic;
    if (header.headerSize != ImageHeader::kSize)
        return ProfileFileFault::BadHeaderSize;
    if (header.formatWord != ImageHeader::kFormatWord)
        return ProfileFileFault::BadFormatWord;
    if (header.formatVersion != ImageHeader::kFormatVersion) {
        return ProfileFileFault::BadFormatVersion;
    }
    if (header.totalSize < kImageSize)
        return ProfileFileFault::TotalSizeTooSmall;
    if (header.entryCount != ImageHeader::kEntryCount)
        return ProfileFileFault::BadEntryCount;
    if (header.macroCount > ImageHeader::kMaxMacroCount)
        return ProfileFileFault::TooManyMacros;
    if (header.flag > 1)
        return ProfileFileFault::BadFlag;
    if (header.totalSize != statedTotal(header))
        return ProfileFileFault::TotalSizeMismatch;
    if (!header.checksumMatches())
        return ProfileFileFault::BadChecksum;
    return ProfileFileFault::None;
}

enum class ReadOutcome { Ok, Unusable, CannotOpen, OutOfMemory };

// Reads a whole candidate profile file. Missing files, anything that is not
// a regular file, and sizes outside [image size, 4 GiB) are unusable.
ReadOutcome readCandidate(const std::string& path, std::vector<std::uint8_t>& out) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status))
        return ReadOutcome::Unusable;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size < kImageSize || size >= profile_file::kSizeLimit) {
        return ReadOutcome::Unusable;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return ReadOutcome::CannotOpen;
    try {
        out.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        out.clear();
        return ReadOutcome::OutOfMemory;
    }
    file.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
    // A file cut short while we read it is as unreadable as one we cannot open.
    out.resize(static_cast<std::size_t>(file.gcount()));
    return out.size() == size ? ReadOutcome::Ok : ReadOutcome::CannotOpen;
}

}  // namespace

ProfileFileFault checkProfileBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kImageSize)
        return ProfileFileFault::TooShort;
    const ImageHeader header = ImageHeader::parse(bytes);
    if (const auto fault = checkHeader(header); fault != ProfileFileFault::None)
        return fault;
    // Loading would otherwise read past the end of the file.
    if (bytes.size() < header.totalSize)
        return ProfileFileFault::Truncated;
    return ProfileFileFault::None;
}

ProfileFileCheck validateProfileFile(const std::string& path) {
    ProfileFileCheck check;
    std::vector<std::uint8_t> bytes;
    switch (readCandidate(path, bytes)) {
        case ReadOutcome::Unusable:
            check.fault = ProfileFileFault::Unusable;
            return check;
        case ReadOutcome::CannotOpen:
            check.code = profile_file::kCannotOpen;
            return check;
        case ReadOutcome::OutOfMemory:
            check.code = profile_file::kOutOfMemory;
            return check;
        case ReadOutcome::Ok:
            break;
    }
    check.fault = checkProfileBytes(bytes);
    if (check.fault == ProfileFileFault::None) {
        check.code = profile_file::kValid;
    } else if (check.fault != ProfileFileFault::TooShort) {
        check.message = text::formatString(lookupText(kProfileFormatErrorKey), path);
    }
    return check;
}

int loadProfileBytes(std::span<const std::uint8_t> bytes, StoreContents& store) {
    if (bytes.size() < kImageSize)
        return 0;
    const ImageHeader header = ImageHeader::parse(bytes);
    if (header.macroCount > ImageHeader::kMaxMacroCount || statedTotal(header) > bytes.size()) {
        return 0;
    }
    try {
        StoreContents loaded;
        loaded.image->parse(bytes);
        loaded.macros.resize(header.macroCount);
        for (std::size_t i = 0; i < loaded.macros.size(); ++i) {
            MacroRecord::parse(bytes.subspan(kImageSize + i * kRecordSize, kRecordSize),
                               loaded.macros[i]);
        }
        const auto pool =
            bytes.subspan(kImageSize + header.macroCount * kRecordSize, header.poolSize);
        loaded.texts = unpackTexts(*loaded.image, pool);
        store = std::move(loaded);
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int loadProfileFile(const std::string& path, StoreContents& store) {
    std::vector<std::uint8_t> bytes;
    if (readCandidate(path, bytes) != ReadOutcome::Ok)
        return 0;
    return loadProfileBytes(bytes, store);
}

bool buildProfileBytes(StoreContents& store, std::vector<std::uint8_t>& out) {
    const std::size_t macroCount = store.macros.size();
    const std::size_t textSize = store.texts.totalSize();
    if (macroCount > ImageHeader::kMaxMacroCount ||
        textSize > std::numeric_limits<std::uint32_t>::max())
        return false;
    try {
        // Work on a copy so that a failure leaves the store as it was.
        AssignmentImage image = *store.image;
        if (!image.header().rebuild(static_cast<std::uint16_t>(macroCount),
                                    static_cast<std::uint32_t>(textSize))) {
            return false;
        }
        const StringTable placed = packTexts(image, store.texts, textSize);
        const std::vector<std::uint8_t> pool = buildStringPool(image, placed, textSize);

        std::vector<std::uint8_t> bytes(image.header().totalSize);
        const std::span<std::uint8_t> view(bytes);
        image.serialize(view);
        for (std::size_t i = 0; i < macroCount; ++i) {
            store.macros[i].serialize(view.subspan(kImageSize + i * kRecordSize, kRecordSize));
        }
        std::copy(pool.begin(), pool.end(), view.begin() + kImageSize + macroCount * kRecordSize);

        *store.image = image;
        out = std::move(bytes);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

int saveProfileFile(StoreContents& store, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!buildProfileBytes(store, bytes))
        return 0;
    return fs::writeFileAtomically(path, bytes) ? 1 : 0;
}

int saveProfileFile(WorkingStore& store, const std::string& path) {
    auto access = store.lock();
    return saveProfileFile(*access, path);
}

int createEmptyProfileFile(const std::string& path) {
    try {
        const AssignmentImage image = AssignmentImage::fresh();
        return fs::writeFileAtomically(path, image.toBytes()) ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

}  // namespace keyloom
