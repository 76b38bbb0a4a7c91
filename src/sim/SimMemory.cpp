#include "sim/SimMemory.h"

#include <algorithm>
#include <span>

namespace keyloom::sim {

namespace {

// One position of the factory layout: a key (keyboard usage), a modifier
// (mask), or a position without a key.
struct Slot {
    std::uint8_t kind;  // 'k' key, 'm' modifier, '-' no key
    std::uint8_t value;
};

constexpr Slot K(std::uint8_t usage) {
    return {'k', usage};
}
constexpr Slot M(std::uint8_t mask) {
    return {'m', mask};
}
constexpr Slot N{'-', 0};

// Six rows of 21 columns, a full-size ISO board with keypad. The positions
// without a key hold the extra keys on models that have them.
constexpr Slot kLayout[kFactoryMatrixEntries] = {
    // Esc F1-F12, Print Screen, Scroll Lock, Pause
    K(0x29),
    K(0x3A),
    K(0x3B),
    K(0x3C),
    K(0x3D),
    K(0x3E),
    K(0x3F),
    K(0x40),
    K(0x41),
    K(0x42),
    K(0x43),
    K(0x44),
    K(0x45),
    K(0x46),
    K(0x47),
    K(0x48),
    N,
    N,
    N,
    N,
    N,
    // ` 1-0 - = Backspace, Insert Home PageUp, NumLock Kp/ Kp* Kp-
    K(0x35),
    K(0x1E),
    K(0x1F),
    K(0x20),
    K(0x21),
    K(0x22),
    K(0x23),
    K(0x24),
    K(0x25),
    K(0x26),
    K(0x27),
    K(0x2D),
    K(0x2E),
    K(0x2A),
    K(0x49),
    K(0x4A),
    K(0x4B),
    K(0x53),
    K(0x54),
    K(0x55),
    K(0x56),
    // Tab Q-P [ ] \, Delete End PageDown, Kp7 Kp8 Kp9 Kp+
    K(0x2B),
    K(0x14),
    K(0x1A),
    K(0x08),
    K(0x15),
    K(0x17),
    K(0x1C),
    K(0x18),
    K(0x0C),
    K(0x12),
    K(0x13),
    K(0x2F),
    K(0x30),
    K(0x31),
    K(0x4C),
    K(0x4D),
    K(0x4E),
    K(0x5F),
    K(0x60),
    K(0x61),
    K(0x57),
    // Caps A-L ; ' Enter, Kp4 Kp5 Kp6
    K(0x39),
    K(0x04),
    K(0x16),
    K(0x07),
    K(0x09),
    K(0x0A),
    K(0x0B),
    K(0x0D),
    K(0x0E),
    K(0x0F),
    K(0x33),
    K(0x34),
    K(0x28),
    N,
    N,
    N,
    K(0x5C),
    K(0x5D),
    K(0x5E),
    N,
    N,
    // Left Shift, the key left of Z, Z-/ , Right Shift, Up, Kp1 Kp2 Kp3 KpEnter
    M(0x02),
    K(0x64),
    K(0x1D),
    K(0x1B),
    K(0x06),
    K(0x19),
    K(0x05),
    K(0x11),
    K(0x10),
    K(0x36),
    K(0x37),
    K(0x38),
    M(0x20),
    N,
    K(0x52),
    N,
    K(0x59),
    K(0x5A),
    K(0x5B),
    K(0x58),
    N,
    // Ctrl Win Alt Space AltGr RightWin App RightCtrl, Left Down Right, Kp0 Kp.
    M(0x01),
    M(0x08),
    M(0x04),
    K(0x2C),
    M(0x40),
    M(0x80),
    K(0x65),
    M(0x10),
    K(0x50),
    K(0x51),
    K(0x4F),
    K(0x62),
    K(0x63),
    N,
    N,
    N,
    N,
    N,
    N,
    N,
    N,
};

constexpr std::size_t kExtraKeyPositions = 18;

void putEntry(std::vector<std::uint8_t>& matrix, std::size_t index, std::uint8_t c, std::uint8_t s,
              std::uint8_t v) {
    matrix[index * kMatrixEntrySize] = c;
    matrix[index * kMatrixEntrySize + 1] = s;
    matrix[index * kMatrixEntrySize + 2] = v;
}

void fillProfileRecord(std::span<std::uint8_t> record, std::uint8_t effect, std::uint8_t brightness,
                       std::uint8_t speed, std::uint8_t direction, std::uint8_t colourful,
                       std::array<std::uint8_t, 9> colours, std::uint8_t rateStep) {
    record[0] = effect;
    record[1] = brightness;
    record[2] = speed;
    record[3] = direction;
    record[4] = colourful;
    std::copy_n(colours.begin(), 3, record.begin() + 5);
    record[15] = rateStep;
    std::copy_n(colours.begin() + 3, 3, record.begin() + 25);
    std::copy_n(colours.begin() + 6, 3, record.begin() + 30);
}

}  // namespace

std::vector<std::uint8_t> factoryKeyMatrix(const SimModel& model) {
    std::vector<std::uint8_t> matrix(model.keyMatrixLength, 0);
    std::size_t extraKeys = 0;
    for (std::size_t i = 0; i < kFactoryMatrixEntries; ++i) {
        const Slot& slot = kLayout[i];
        if (slot.kind == 'k') {
            putEntry(matrix, i, 0x02, 0x02, slot.value);
        } else if (slot.kind == 'm') {
            putEntry(matrix, i, 0x02, 0x01, slot.value);
        } else if (model.hasExtraKeys && extraKeys < kExtraKeyPositions) {
            putEntry(matrix, i, 0x06, 0xA2, static_cast<std::uint8_t>(++extraKeys));
        } else {
            putEntry(matrix, i, 0x05, 0x00, 0x00);
        }
    }
    // Entries past the 126 of the layout (two on the 384-byte model) are
    // positions without a key.
    for (std::size_t i = kFactoryMatrixEntries; (i + 1) * kMatrixEntrySize <= matrix.size(); ++i)
        putEntry(matrix, i, 0x05, 0x00, 0x00);
    return matrix;
}

std::vector<std::uint8_t> emptyMacroArea(std::size_t capacity) {
    std::vector<std::uint8_t> area(capacity, 0);
    const std::uint8_t header[] = {0xAA, 0x55, kMacroHeaderSize, 0x00, 0x00, 0x00, 0x01, 0x00};
    std::copy_n(header, std::min(sizeof header, capacity), area.begin());
    return area;
}

SimMemory factoryMemory(const SimModel& model, std::uint8_t macroCapacityUnits) {
    SimMemory memory;

    // Firmware version 1.07 of 2024-03-15, then the model's ids.
    const std::uint8_t version[10] = {
        0x01,
        0x07,
        0x24,
        0x03,
        0x15,
        0x00,
        static_cast<std::uint8_t>(model.productId & 0xFF),
        static_cast<std::uint8_t>(model.productId >> 8),
        0x00,
        0x00,
    };
    std::copy(std::begin(version), std::end(version), memory.parameters.begin());
    memory.parameters[kParameterActiveProfile] = 0;
    memory.parameters[kParameterMacroCapacity] = macroCapacityUnits;
    for (std::uint8_t effect = 1; effect <= 18; ++effect)
        memory.parameters[kParameterEffectList + effect - 1] = effect;
    memory.parameters[kParameterEffectList + 18] = 20;

    memory.defaultMatrix = factoryKeyMatrix(model);
    memory.keyMatrices.assign(kProfileCount * model.keyMatrixStride, 0);
    for (std::size_t p = 0; p < kProfileCount; ++p)
        std::copy(
            memory.defaultMatrix.begin(), memory.defaultMatrix.end(),
            memory.keyMatrices.begin() + static_cast<std::ptrdiff_t>(p * model.keyMatrixStride));

    auto record = [&](std::size_t p) {
        return std::span<std::uint8_t>(memory.profileSettings)
            .subspan(p * kProfileRecordSize, kProfileRecordSize);
    };
    // Effect 1 cycling its own colours, effect 5 in one colour, and per-key
    // colours (effect 20).
    fillProfileRecord(record(0), 1, 4, 2, 0, 1,
                      {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF}, 3);
    fillProfileRecord(record(1), 5, 3, 1, 255, 0,
                      {0x00, 0x80, 0xFF, 0xFF, 0x80, 0x00, 0x80, 0x00, 0xFF}, 2);
    fillProfileRecord(record(2), 20, 4, 2, 0, 0,
                      {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00}, 3);

    // 144 keys per profile: white, blue and orange.
    const std::uint8_t colours[kProfileCount][3] = {
        {0xFF, 0xFF, 0xFF}, {0x00, 0x40, 0xFF}, {0xFF, 0x80, 0x00}};
    for (std::size_t p = 0; p < kProfileCount; ++p)
        for (std::size_t k = 0; k < 144; ++k)
            std::copy_n(colours[p], 3,
                        memory.keyColours.begin() +
                            static_cast<std::ptrdiff_t>(p * kKeyColourBlockSize + 3 * k));

    memory.macroArea = emptyMacroArea(std::size_t{macroCapacityUnits} * kMacroCapacityUnit);
    return memory;
}

}  // namespace keyloom::sim
