#include "model/KeyAssignment.h"

#include "model/LittleEndian.h"

namespace keyloom {

KeyAssignment KeyAssignment::fromBytes(std::span<const std::uint8_t> bytes) {
    KeyAssignment entry;
    entry.kind = static_cast<AssignmentKind>(le::readU16(bytes, 0));
    entry.parameter = le::readU16(bytes, 2);
    entry.value = le::readU32(bytes, 4);
    entry.toggle = le::readU32(bytes, 8);
    entry.reserved = le::readU32(bytes, 12);
    return entry;
}

void KeyAssignment::toBytes(std::span<std::uint8_t> bytes) const {
    le::writeU16(bytes, 0, static_cast<std::uint16_t>(kind));
    le::writeU16(bytes, 2, parameter);
    le::writeU32(bytes, 4, value);
    le::writeU32(bytes, 8, toggle);
    le::writeU32(bytes, 12, reserved);
}

}  // namespace keyloom
