#pragma once
// The two keyboard models the simulated keyboard can be: their USB ids and the
// size and spacing of their key matrices in the keyboard's memory.

#include <cstdint>
#include <string>
#include <string_view>

namespace keyloom::sim {

struct SimModel {
    std::uint16_t vendorId;
    std::uint16_t productId;
    // Bytes moved per profile by the key matrix commands.
    std::uint16_t keyMatrixLength;
    // Distance between two profiles' matrices in the key matrix address space.
    std::uint16_t keyMatrixStride;
    // Whether the factory layout carries positions for the nine extra keys
    // in two banks.
    bool hasExtraKeys;
};

inline constexpr SimModel kModel652F{0x0C45, 0x652F, 378, 378, false};
inline constexpr SimModel kModel5064{0x320F, 0x5064, 384, 512, true};

// The model with these USB ids; nullptr for any other pair.
const SimModel* findModel(std::uint16_t vendorId, std::uint16_t productId);

// Parses "vvvv:pppp" (hexadecimal, either case); nullptr when the text is
// malformed or names no supported model.
const SimModel* parseModelName(std::string_view text);

// "0c45:652f" form of the model's ids.
std::string modelName(const SimModel& model);

}  // namespace keyloom::sim
