#pragma once
// Reads a candidate profile file piece by piece, so that loading a file of a
// hundred macros needs one record's worth of buffer rather than a copy of
// the whole file. Opening tells apart what the file check reports
// differently: no usable file, a file that cannot be opened.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace keyloom {

class ProfileFileReader {
public:
    enum class OpenResult {
        Ok,
        // Missing, not a regular file, or smaller than `minimumSize` or not
        // smaller than `sizeLimit`.
        Unusable,
        CannotOpen,
    };

    OpenResult open(const std::string& path, std::uint64_t minimumSize, std::uint64_t sizeLimit);

    // The file's size when it was opened.
    std::uint64_t size() const { return size_; }

    // `length` bytes at `offset`, valid until the next read. Nothing when
    // they lie outside the file or cannot be read. Throws std::bad_alloc when
    // no buffer of that size can be had.
    std::optional<std::span<const std::uint8_t>> read(std::uint64_t offset, std::size_t length);

private:
    std::ifstream file_;
    std::uint64_t size_ = 0;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace keyloom
