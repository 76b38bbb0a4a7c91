#pragma once
// Macro operations on the stores: the lookups the editors use on the working
// store, and the macro area and key matrix encodings the write sequence takes
// from the device store. The overloads on a store take its lock for the call;
// those on StoreContents are for callers that already hold it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/ConfigurationStore.h"
#include "model/KeyMatrix.h"
#include "model/MacroArea.h"

namespace keyloom {

// Number of the macro at list position `position`; 0 when the position is
// negative or beyond the list.
std::uint16_t macroNumberAt(const StoreContents& contents, long position);
std::uint16_t macroNumberAt(WorkingStore& store, long position);

// List position of the macro with `number`; 0 when no macro has it (which is
// also how such a Macro assignment is written: as the first macro).
std::size_t macroPositionOf(const StoreContents& contents, std::uint16_t number);
std::size_t macroPositionOf(WorkingStore& store, std::uint16_t number);

// Encoded macro area sizes of the device store's macros.
MacroAreaSizes macroAreaSizes(DeviceStore& store);
// The device store's macros encoded with or without names (empty on failure).
std::vector<std::uint8_t> encodeMacroArea(DeviceStore& store, bool withNames);
// The matrix to write for `profile` (0-2) from the device store's image and
// macros; the default matrix unchanged for any other profile number.
KeyMatrix encodeKeyMatrix(DeviceStore& store, const KeyMatrix& defaults, std::size_t profile);

}  // namespace keyloom
