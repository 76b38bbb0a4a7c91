#include "model/KeyMatrix.h"

#include <algorithm>

namespace keyloom {

MatrixEntry KeyMatrix::entry(std::size_t position) const {
    if (position >= kBufferSize / kEntrySize) {
        return {};
    }
    const std::size_t at = position * kEntrySize;
    return {bytes[at], bytes[at + 1], bytes[at + 2]};
}

bool KeyMatrix::setEntry(std::size_t position, MatrixEntry entry) {
    if (position >= kBufferSize / kEntrySize) {
        return false;
    }
    const std::size_t at = position * kEntrySize;
    bytes[at] = entry.cls;
    bytes[at + 1] = entry.sub;
    bytes[at + 2] = entry.value;
    return true;
}

std::span<const std::uint8_t> KeyMatrix::transferBytes(const KeyMatrixModel& model) const {
    return std::span<const std::uint8_t>(bytes).first(std::min(model.length, kBufferSize));
}

std::size_t KeyMatrix::assign(std::span<const std::uint8_t> received) {
    const std::size_t count = std::min(received.size(), kBufferSize);
    std::copy_n(received.begin(), count, bytes.begin());
    return count;
}

}  // namespace keyloom
