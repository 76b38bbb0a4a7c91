#include "storage/ProfileDump.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <new>
#include <span>
#include <vector>

#include "device/ProtocolResult.h"
#include "model/ConfigurationStore.h"
#include "model/KeyMatrixCodec.h"
#include "model/MacroArea.h"
#include "platform/fs/FileIo.h"
#include "platform/fs/UniqueFd.h"
#include "platform/text/Utf16.h"
#include "storage/Language.h"
#include "storage/ProfileFile.h"

namespace keyloom {

namespace {

constexpr int kHighestKnownProfile = 3;
constexpr std::string_view kMacroNamePrefixKey = "MACRO_NEW_PREFIX";

// The macro area as far as it is in use and within the capacity; just the
// header when it holds no macros. False when a read fails.
bool readMacroArea(const KeyboardDumpSource& source, std::vector<std::uint8_t>& area) {
    area.assign(MacroAreaHeader::kSize, 0);
    if (source.link.ReadMacroArea(area) != result::Success)
        return false;
    const auto header = MacroAreaHeader::parse(area);
    if (!header || !header->holdsMacros())
        return true;
    // The size field comes from the keyboard: never read past the capacity.
    const std::size_t inUse = std::min<std::size_t>(header->bytesInUse, source.macroCapacity);
    if (inUse <= area.size())
        return true;
    area.assign(inUse, 0);
    return source.link.ReadMacroArea(area) == result::Success;
}

// True when `path` is a regular file holding exactly `bytes`. Read in pieces
// and compared as it goes: a profile file with many macros runs to megabytes,
// and a copy of it would cost more than the comparison.
bool fileHolds(const std::string& path, std::span<const std::uint8_t> bytes) {
    fs::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) != bytes.size())
        return false;
    std::array<std::uint8_t, 16384> chunk;
    std::size_t compared = 0;
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return compared == bytes.size();  // the file may have shrunk meanwhile
        const auto got = static_cast<std::size_t>(n);
        if (got > bytes.size() - compared ||
            !std::equal(chunk.begin(), chunk.begin() + n, bytes.begin() + compared))
            return false;
        compared += got;
    }
}

// The keyboard is dumped into the slot file at every connection and mostly
// holds what it held the last time: a file that already has exactly these
// bytes is left alone. It got them from an atomic, synchronised write, so
// skipping the new one loses nothing and spares its disk flushes.
bool writeUnlessSame(const std::string& path, std::span<const std::uint8_t> bytes) {
    return fileHolds(path, bytes) || fs::writeFileAtomically(path, bytes);
}

}  // namespace

FileResult dumpKeyboardToFile(const KeyboardDumpSource& source, int activeProfile,
                              const std::string& path) {
    std::vector<std::uint8_t> written;
    return dumpKeyboardToFile(source, activeProfile, path, written);
}

FileResult dumpKeyboardToFile(const KeyboardDumpSource& source, int activeProfile,
                              const std::string& path, std::vector<std::uint8_t>& written) {
    return dumpKeyboardToFile(source, activeProfile, path,
                              text::utf8ToUtf16(lookupText(kMacroNamePrefixKey)), written);
}

FileResult dumpKeyboardToBytes(const KeyboardDumpSource& source, int activeProfile,
                               std::u16string_view defaultNamePrefix,
                               std::vector<std::uint8_t>& bytes) {
    if (activeProfile < 0 || activeProfile > kHighestKnownProfile)
        return FileResult::Failed;
    try {
        std::array<KeyMatrix, kProfileCount> matrices{};
        for (int profile = 0; profile < kProfileCount; ++profile) {
            if (source.link.ReadKeyMatrix(matrices[profile].bytes, profile) != result::Success) {
                return FileResult::Failed;
            }
        }
        std::vector<std::uint8_t> area;
        if (!readMacroArea(source, area))
            return FileResult::Failed;

        StoreContents contents;
        *contents.image = imageFromKeyMatrices(source.defaultMatrix, matrices);
        contents.macros = decodeMacroArea(area, source.macroCapacity, defaultNamePrefix);
        // The header counts the records actually decoded, so the file stays
        // consistent when the keyboard's count was damaged or above 100.
        return buildProfileBytes(contents, bytes) ? FileResult::Ok : FileResult::Failed;
    } catch (const std::bad_alloc&) {
        return FileResult::Failed;
    }
}

FileResult dumpKeyboardToFile(const KeyboardDumpSource& source, int activeProfile,
                              const std::string& path, std::u16string_view defaultNamePrefix) {
    std::vector<std::uint8_t> written;
    return dumpKeyboardToFile(source, activeProfile, path, defaultNamePrefix, written);
}

FileResult dumpKeyboardToFile(const KeyboardDumpSource& source, int activeProfile,
                              const std::string& path, std::u16string_view defaultNamePrefix,
                              std::vector<std::uint8_t>& written) {
    written.clear();
    std::vector<std::uint8_t> bytes;
    if (dumpKeyboardToBytes(source, activeProfile, defaultNamePrefix, bytes) != FileResult::Ok ||
        !writeUnlessSame(path, bytes))
        return FileResult::Failed;
    written = std::move(bytes);
    return FileResult::Ok;
}

}  // namespace keyloom
