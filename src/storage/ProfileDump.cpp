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

#include "model/ConfigurationStore.h"
#include "model/KeyMatrixCodec.h"
#include "model/MacroArea.h"
#include "platform/fs/FileIo.h"
#include "platform/fs/UniqueFd.h"
#include "storage/ProfileFile.h"

namespace keyloom {

namespace {

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

FileResult buildDumpBytes(const KeyMatrix& defaultMatrix, const KeyboardContents& contents,
                          std::size_t macroCapacity, std::u16string_view defaultNamePrefix,
                          std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    try {
        StoreContents store;
        *store.image = imageFromKeyMatrices(defaultMatrix, contents.matrices);
        store.macros = decodeMacroArea(contents.macroArea, macroCapacity, defaultNamePrefix);
        // The header counts the records actually decoded, so the file stays
        // consistent when the keyboard's count was damaged or above 100.
        return buildProfileBytes(store, bytes) ? FileResult::Ok : FileResult::Failed;
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return FileResult::Failed;
    }
}

FileResult writeDumpFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    return writeUnlessSame(path, bytes) ? FileResult::Ok : FileResult::Failed;
}

}  // namespace keyloom
