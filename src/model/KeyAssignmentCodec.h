#pragma once
// Conversion between a key's KeyAssignment in the image and the 3-byte
// MatrixEntry the keyboard stores, one matrix position at a time. A position
// of the matrix belongs to the key its default entry stands for
// (defaultKeyCode); positions whose default names no key are never changed.

#include <cstddef>
#include <optional>
#include <span>

#include "model/AssignmentImage.h"
#include "model/KeyAssignment.h"
#include "model/KeyTable.h"
#include "model/MacroRecord.h"
#include "model/MatrixEntry.h"

namespace keyloom {

// The key a default-matrix entry stands for: mouse rows, keyboard keys and
// modifiers (the first key of the mask), consumer and system keys, and the
// extra keys (06 A2 n gives 511 + n). 0 when it names no key.
KeyCode defaultKeyCode(MatrixEntry defaultEntry);

// Entry index within a profile block of the key `code`; nothing for code 0
// or an index outside the block's 512 entries.
std::optional<std::size_t> blockIndexOfKey(KeyCode code);

// The entry the keyboard is sent for `assignment` at a position whose default
// entry is `defaultEntry`. `macros` is the macro list being written; a Macro
// assignment is sent as the list position of its macro (0 when the number no
// longer exists). Kinds the program does not write (above 8), and Media
// indexes outside the media table, are sent as the default entry.
MatrixEntry encodeMatrixEntry(const KeyAssignment& assignment, MatrixEntry defaultEntry,
                              std::span<const MacroRecord> macros);

// Records what the keyboard holds at one position (`deviceEntry`) in the
// block: an entry equal to the default leaves the key's assignment as it is
// (Default in a freshly cleared block); anything else sets the key's kind
// (Disabled when the entry means nothing known) and, where the entry carries
// one, its value. Parameter, toggle and reserved fields are kept.
void decodeMatrixEntry(MatrixEntry deviceEntry, MatrixEntry defaultEntry,
                       AssignmentImage::Block block);

}  // namespace keyloom
