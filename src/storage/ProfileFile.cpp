#include "storage/ProfileFile.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>

#include "model/ImageHeader.h"
#include "model/MacroRecord.h"
#include "model/StringTable.h"
#include "platform/fs/FileIo.h"
#include "platform/text/SafeFormat.h"
#include "storage/Language.h"
#include "storage/ProfileFileReader.h"

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

// The header's verdict, then whether a file of `fileSize` bytes holds all
// the header says follows the image (loading would otherwise read past its end).
ProfileFileFault checkHeaderAndSize(std::span<const std::uint8_t> headerBytes,
                                    std::uint64_t fileSize) {
    const ImageHeader header = ImageHeader::parse(headerBytes);
    if (const auto fault = checkHeader(header); fault != ProfileFileFault::None)
        return fault;
    if (fileSize < header.totalSize)
        return ProfileFileFault::Truncated;
    return ProfileFileFault::None;
}

// Loads a profile of `size` bytes whose pieces `fetch(offset, length)` gives
// (nothing when they cannot be had). All-or-nothing: `store` changes only
// when everything was read.
template <typename Fetch>
FileResult loadProfile(std::uint64_t size, Fetch&& fetch, StoreContents& store) {
    if (size < kImageSize)
        return FileResult::Failed;
    try {
        StoreContents loaded;
        const auto image = fetch(0, kImageSize);
        if (!image)
            return FileResult::Failed;
        loaded.image->parse(*image);
        const ImageHeader& header = loaded.image->header();
        if (header.macroCount > ImageHeader::kMaxMacroCount || statedTotal(header) > size) {
            return FileResult::Failed;
        }
        loaded.macros.resize(header.macroCount);
        for (std::size_t i = 0; i < loaded.macros.size(); ++i) {
            const auto record = fetch(kImageSize + i * kRecordSize, kRecordSize);
            if (!record)
                return FileResult::Failed;
            MacroRecord::parse(*record, loaded.macros[i]);
        }
        const auto pool = fetch(kImageSize + header.macroCount * kRecordSize, header.poolSize);
        if (!pool)
            return FileResult::Failed;
        loaded.texts = unpackTexts(*loaded.image, *pool);
        store = std::move(loaded);
        return FileResult::Ok;
    } catch (const std::bad_alloc&) {
        return FileResult::Failed;
    }
}

// A LaunchProgram or TextBlock entry without a text keeps its offset field,
// but a stale offset into the new pool would give it another entry's text
// when the file is loaded again (a key launching the wrong program). Such
// offsets are moved to the end of the pool, where no text is found.
void pointTextlessEntriesPastPool(AssignmentImage& image, const StringTable& placed,
                                  std::size_t poolSize) {
    auto entries = image.entries();
    for (std::size_t slot = 0; slot < entries.size(); ++slot) {
        auto& entry = entries[slot];
        // Texts are read from the even offset at or below the field's value.
        const std::size_t readFrom = entry.value & ~std::uint32_t{1};
        if (carriesText(entry.kind) && !placed.text(slot) && readFrom < poolSize) {
            entry.value = static_cast<std::uint32_t>(poolSize);
        }
    }
}

}  // namespace

ProfileFileFault checkProfileBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kImageSize)
        return ProfileFileFault::TooShort;
    return checkHeaderAndSize(bytes, bytes.size());
}

ProfileFileCheck validateProfileFile(const std::string& path) {
    ProfileFileCheck check;
    try {
        ProfileFileReader reader;
        switch (reader.open(path, kImageSize, profile_file::kSizeLimit)) {
            case ProfileFileReader::OpenResult::Unusable:
                check.fault = ProfileFileFault::Unusable;
                return check;
            case ProfileFileReader::OpenResult::CannotOpen:
                check.code = profile_file::kCannotOpen;
                return check;
            case ProfileFileReader::OpenResult::Ok:
                break;
        }
        const auto header = reader.read(0, ImageHeader::kSize);
        if (!header) {
            check.code = profile_file::kCannotOpen;
            return check;
        }
        check.fault = checkHeaderAndSize(*header, reader.size());
        if (check.fault == ProfileFileFault::None) {
            check.code = profile_file::kValid;
        } else {
            check.message = text::formatString(lookupText(kProfileFormatErrorKey), path);
        }
    } catch (const std::bad_alloc&) {
        check = ProfileFileCheck{};
        check.code = profile_file::kOutOfMemory;
    }
    return check;
}

FileResult loadProfileBytes(std::span<const std::uint8_t> bytes, StoreContents& store) {
    auto fetch = [bytes](std::uint64_t offset,
                         std::size_t length) -> std::optional<std::span<const std::uint8_t>> {
        if (offset > bytes.size() || length > bytes.size() - offset)
            return std::nullopt;
        return bytes.subspan(static_cast<std::size_t>(offset), length);
    };
    return loadProfile(bytes.size(), fetch, store);
}

FileResult loadProfileFile(const std::string& path, StoreContents& store) {
    ProfileFileReader reader;
    if (reader.open(path, kImageSize, profile_file::kSizeLimit) !=
        ProfileFileReader::OpenResult::Ok) {
        return FileResult::Failed;
    }
    auto fetch = [&reader](std::uint64_t offset, std::size_t length) {
        return reader.read(offset, length);
    };
    return loadProfile(reader.size(), fetch, store);
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
        pointTextlessEntriesPastPool(image, placed, textSize);
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

FileResult saveProfileFile(StoreContents& store, const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (!buildProfileBytes(store, bytes))
        return FileResult::Failed;
    return fs::writeFileAtomically(path, bytes) ? FileResult::Ok : FileResult::Failed;
}

FileResult saveProfileFile(WorkingStore& store, const std::string& path) {
    auto access = store.lock();
    return saveProfileFile(*access, path);
}

FileResult createEmptyProfileFile(const std::string& path) {
    try {
        const AssignmentImage image = AssignmentImage::fresh();
        return fs::writeFileAtomically(path, image.toBytes()) ? FileResult::Ok : FileResult::Failed;
    } catch (const std::bad_alloc&) {
        return FileResult::Failed;
    }
}

}  // namespace keyloom
