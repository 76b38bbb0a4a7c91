// Decodes arbitrary key matrices against an arbitrary default matrix and
// encodes the result again: nothing may be read or written outside the
// buffers, and positions whose default names no key keep their bytes.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "model/KeyAssignmentCodec.h"
#include "model/KeyMatrixCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace keyloom;
    constexpr std::size_t kMatrixBytes = KeyMatrix::kBufferSize;
    if (size < kMatrixBytes) {
        return 0;
    }
    KeyMatrix defaults;
    defaults.assign({data, kMatrixBytes});
    std::array<KeyMatrix, 3> profiles{};
    std::size_t used = kMatrixBytes;
    for (auto& profile : profiles) {
        const std::size_t take = std::min(size - used, kMatrixBytes);
        profile.assign({data + used, take});
        used += take;
    }

    const AssignmentImage image = imageFromKeyMatrices(defaults, profiles);
    std::array<MacroRecord, 2> macros{};
    macros[0].number = 1;
    macros[1].number = 2;
    for (std::size_t p = 0; p < profiles.size(); ++p) {
        const KeyMatrix out = encodeKeyMatrix(defaults, image.block(p), macros);
        for (std::size_t position = 0; position < KeyMatrix::kEntryCount; ++position) {
            const bool keyed =
                blockIndexOfKey(defaultKeyCode(defaults.entry(position))).has_value();
            if (!keyed && out.entry(position) != defaults.entry(position)) {
                __builtin_trap();
            }
        }
        if (!std::equal(out.bytes.begin() + 3 * KeyMatrix::kEntryCount, out.bytes.end(),
                        defaults.bytes.begin() + 3 * KeyMatrix::kEntryCount)) {
            __builtin_trap();
        }
    }
    return 0;
}
