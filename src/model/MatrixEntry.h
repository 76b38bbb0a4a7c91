#pragma once
// One 3-byte entry of a key matrix as the keyboard stores it: class,
// sub-class, value. Class 3 and 4 entries keep one 16-bit value in bytes 1-2,
// low byte first.

#include <cstdint>

namespace keyloom {

struct MatrixEntry {
    std::uint8_t cls = 0;
    std::uint8_t sub = 0;
    std::uint8_t value = 0;

    // Bytes 1-2 read as one little-endian 16-bit value (classes 3 and 4).
    std::uint16_t wideValue() const { return static_cast<std::uint16_t>(sub | (value << 8)); }

    static MatrixEntry withWideValue(std::uint8_t cls, std::uint16_t wide) {
        return {cls, static_cast<std::uint8_t>(wide & 0xFF), static_cast<std::uint8_t>(wide >> 8)};
    }

    friend bool operator==(const MatrixEntry&, const MatrixEntry&) = default;
};

// Entry classes and sub-classes the codec knows.
namespace matrix {
inline constexpr std::uint8_t kClassNone = 0;
inline constexpr std::uint8_t kClassMouse = 1;
inline constexpr std::uint8_t kClassKeyboard = 2;
inline constexpr std::uint8_t kClassConsumer = 3;
inline constexpr std::uint8_t kClassSystem = 4;
inline constexpr std::uint8_t kClassMacro = 5;
inline constexpr std::uint8_t kClassExtraKey = 6;

inline constexpr std::uint8_t kMouseButtons = 1;
inline constexpr std::uint8_t kMouseWheel = 5;
inline constexpr std::uint8_t kKeyboardModifier = 1;
inline constexpr std::uint8_t kKeyboardKey = 2;
inline constexpr std::uint8_t kMacroPlay = 1;
inline constexpr std::uint8_t kMacroStop = 2;
inline constexpr std::uint8_t kMacroFunction = 5;
inline constexpr std::uint8_t kExtraKeyPosition = 0xA2;
}  // namespace matrix

}  // namespace keyloom
