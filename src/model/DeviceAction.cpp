#include "model/DeviceAction.h"

#include "model/KeyAssignmentCodec.h"
#include "model/KeyTable.h"
#include "model/ModifierTable.h"
#include "model/MouseTable.h"

namespace keyloom {

std::uint16_t delayUnitsOf(std::uint32_t delayMs) {
    if (delayMs > DeviceAction::kMaxRepresentableDelayMs) {
        delayMs = DeviceAction::kDelayBoundMs;
    }
    return static_cast<std::uint16_t>(delayMs / DeviceAction::kDelayUnitMs);
}

DeviceAction encodeDeviceAction(const MacroAction& action) {
    DeviceAction out;
    out.word = delayUnitsOf(action.delayMs) & DeviceAction::kDelayMask;
    auto setClass = [&out](std::uint8_t eventClass) {
        out.word |= static_cast<std::uint16_t>(eventClass << DeviceAction::kClassShift);
    };

    const DeviceUsage usage = DeviceUsageOf(action.keyCode);
    switch (usage.usageClass) {
        case kUsageKeyboard:
            setClass(DeviceAction::kKeyboard);
            if (const std::uint8_t mask = modifierMaskOf(action.keyCode); mask != 0) {
                out.data0 = matrix::kKeyboardModifier;
                out.data1 = mask;
            } else {
                out.data0 = matrix::kKeyboardKey;
                out.data1 = static_cast<std::uint8_t>(usage.value);
            }
            break;
        case kUsageSystem:
            setClass(DeviceAction::kSystem);
            out.data0 = static_cast<std::uint8_t>(usage.value & 0xFF);
            out.data1 = static_cast<std::uint8_t>(usage.value >> 8);
            break;
        case kUsageMouse:
            if (const MouseRow* mouse = mouseRowOfDeviceCode(usage.value)) {
                setClass(DeviceAction::kMouse);
                out.data0 = mouse->sub;
                out.data1 = mouse->value;
            }
            break;
        default:
            break;
    }
    if (action.pressed()) {
        out.word |= DeviceAction::kPressBit;
    }
    return out;
}

MacroAction decodeDeviceAction(const DeviceAction& action) {
    MacroAction out;
    out.delayMs = static_cast<std::uint32_t>(action.word & DeviceAction::kDelayMask) *
                  DeviceAction::kDelayUnitMs;
    out.state = (action.word & DeviceAction::kPressBit) != 0 ? MacroAction::kPressed
                                                             : MacroAction::kReleased;
    // Event classes 1-4 use the same numbers and data bytes as matrix entry
    // classes, so the matrix rules name the key.
    const std::uint8_t eventClass = action.eventClass();
    if (eventClass >= DeviceAction::kMouse && eventClass <= DeviceAction::kSystem) {
        out.keyCode = defaultKeyCode({eventClass, action.data0, action.data1});
    }
    return out;
}

}  // namespace keyloom
