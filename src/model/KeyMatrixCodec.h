#pragma once
// Whole key matrices: building the matrix a profile is written with from the
// default key matrix and the profile's block of the image, and reading a
// matrix that came from the keyboard back into a block.

#include <cstddef>
#include <span>

#include "model/AssignmentImage.h"
#include "model/KeyMatrix.h"
#include "model/MacroRecord.h"

namespace keyloom {

// The matrix to write for one profile: a copy of the default matrix in which
// each of the 126 positions whose default names a key is replaced by the
// encoding of that key's assignment in `block`. Bytes past the 126 positions
// stay those of the default matrix, so the 384-byte model's two extra
// entries are sent as the keyboard's own defaults.
KeyMatrix encodeKeyMatrix(const KeyMatrix& defaults, AssignmentImage::ConstBlock block,
                          std::span<const MacroRecord> macros);

// Whether a matrix written from `defaults` carries the block entry `entry`:
// some position's default names that key. Assignments of other entries stay
// in the image and never reach the keyboard.
bool matrixCarriesEntry(const KeyMatrix& defaults, std::size_t entry);

// Decodes the 126 positions of a matrix read from the keyboard into `block`,
// which should start cleared (Default everywhere): positions equal to their
// default leave the block as it is.
void decodeKeyMatrix(const KeyMatrix& deviceMatrix, const KeyMatrix& defaults,
                     AssignmentImage::Block block);

// A fresh image (extra-key codes in block 0) with blocks 0-2 decoded from the
// three profiles' matrices; block 3 stays Default. The header describes an
// image without macros or texts.
AssignmentImage imageFromKeyMatrices(const KeyMatrix& defaults,
                                     std::span<const KeyMatrix, 3> profileMatrices);

}  // namespace keyloom
