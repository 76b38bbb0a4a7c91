#pragma once
// The simulated keyboard's memory as a text file:
//
//   keyloom-sim-state 1
//   model 0c45:652f
//   parameters <hex>
//   key-matrices <hex>
//   profile-settings <hex>
//   key-colours <hex>
//   macro-area <hex>
//
// Each area is one line of lower-case hex. The factory key layout is not
// stored: it belongs to the model.

#include <cstddef>
#include <string>
#include <string_view>

#include "sim/SimMemory.h"
#include "sim/SimModel.h"

namespace keyloom::sim {

inline constexpr std::size_t kMaxStateFileSize = 1u << 20;

std::string serializeState(const SimModel& model, const SimMemory& memory);

// Fills the stored areas of `memory` from `text`. False, with `memory`
// untouched and the reason in `reason`, when the text is damaged, of another
// version or of another model.
bool parseState(std::string_view text, const SimModel& model, SimMemory& memory,
                std::string& reason);

}  // namespace keyloom::sim
