#include "model/KeyMatrixCodec.h"

#include "model/KeyAssignmentCodec.h"

namespace keyloom {

KeyMatrix encodeKeyMatrix(const KeyMatrix& defaults, AssignmentImage::ConstBlock block,
                          std::span<const MacroRecord> macros) {
    KeyMatrix out = defaults;
    for (std::size_t position = 0; position < KeyMatrix::kEntryCount; ++position) {
        const MatrixEntry defaultEntry = defaults.entry(position);
        const auto index = blockIndexOfKey(defaultKeyCode(defaultEntry));
        if (!index) {
            continue;  // no key at this position: keep the default bytes
        }
        out.setEntry(position, encodeMatrixEntry(block[*index], defaultEntry, macros));
    }
    return out;
}

bool matrixCarriesEntry(const KeyMatrix& defaults, std::size_t entry) {
    for (std::size_t position = 0; position < KeyMatrix::kEntryCount; ++position) {
        if (blockIndexOfKey(defaultKeyCode(defaults.entry(position))) == entry) {
            return true;
        }
    }
    return false;
}

void decodeKeyMatrix(const KeyMatrix& deviceMatrix, const KeyMatrix& defaults,
                     AssignmentImage::Block block) {
    for (std::size_t position = 0; position < KeyMatrix::kEntryCount; ++position) {
        decodeMatrixEntry(deviceMatrix.entry(position), defaults.entry(position), block);
    }
}

AssignmentImage imageFromKeyMatrices(const KeyMatrix& defaults,
                                     std::span<const KeyMatrix, 3> profileMatrices) {
    AssignmentImage image = AssignmentImage::fresh();
    for (std::size_t profile = 0; profile < profileMatrices.size(); ++profile) {
        decodeKeyMatrix(profileMatrices[profile], defaults, image.block(profile));
    }
    return image;
}

}  // namespace keyloom
