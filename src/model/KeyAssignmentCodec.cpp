#include "model/KeyAssignmentCodec.h"

#include <limits>

#include "model/MediaTable.h"
#include "model/ModifierTable.h"
#include "model/MouseTable.h"

namespace keyloom {

namespace {

// Extra keys are numbered 1-18 in default matrices; key code 511 + n.
constexpr KeyCode kExtraKeyCodeBase = 511;

MatrixEntry encodeKey(std::uint32_t value) {
    using namespace matrix;
    if (value > std::numeric_limits<KeyCode>::max()) {
        return {kClassKeyboard, kKeyboardKey, 0};  // names no key
    }
    const auto code = static_cast<KeyCode>(value);
    if (const std::uint8_t mask = modifierMaskOf(code); mask != 0) {
        return {kClassKeyboard, kKeyboardModifier, mask};
    }
    if (const MouseRow* mouse = mouseRowOfKey(code)) {
        return {kClassMouse, mouse->sub, mouse->value};
    }
    const DeviceUsage usage = DeviceUsageOf(code);
    if (usage.usageClass == kUsageKeyboard) {
        return {kClassKeyboard, kKeyboardKey, static_cast<std::uint8_t>(usage.value)};
    }
    return {kClassKeyboard, kKeyboardKey, 0};
}

}  // namespace

KeyCode defaultKeyCode(MatrixEntry entry) {
    using namespace matrix;
    switch (entry.cls) {
        case kClassMouse:
            return mouseKeyOf(entry.sub, entry.value);
        case kClassKeyboard:
            if (entry.sub == kKeyboardKey) {
                return KeyCodeOfDeviceUsage(kUsageKeyboard, entry.value);
            }
            return modifierKeyOfMask(entry.value);
        case kClassConsumer:
            return KeyCodeOfDeviceUsage(kUsageConsumer, entry.wideValue());
        case kClassSystem:
            return KeyCodeOfDeviceUsage(kUsageSystem, entry.wideValue());
        case kClassExtraKey:
            // Extra keys are numbered from 1; 06 A2 00 would alias key index 127.
            if (entry.sub == kExtraKeyPosition && entry.value != 0) {
                return static_cast<KeyCode>(kExtraKeyCodeBase + entry.value);
            }
            return 0;
        default:
            return 0;
    }
}

std::optional<std::size_t> blockIndexOfKey(KeyCode code) {
    if (code == 0) {
        return std::nullopt;
    }
    const int index = KeyIndexOf(code);
    if (index < 0 || static_cast<std::size_t>(index) >= AssignmentImage::kEntriesPerBlock) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(index);
}

MatrixEntry encodeMatrixEntry(const KeyAssignment& assignment, MatrixEntry defaultEntry,
                              std::span<const MacroRecord> macros) {
    using namespace matrix;
    switch (assignment.kind) {
        case AssignmentKind::Default:
        case AssignmentKind::LaunchProgram:
            return defaultEntry;
        case AssignmentKind::Disabled:
        case AssignmentKind::TextBlock:
            return {};
        case AssignmentKind::Key:
            return encodeKey(assignment.value);
        case AssignmentKind::Macro: {
            std::size_t position = 0;
            if (assignment.value <= std::numeric_limits<std::uint16_t>::max()) {
                position = findMacroPosition(macros, static_cast<std::uint16_t>(assignment.value))
                               .value_or(0);
            }
            // A list never holds more than 100 macros; a longer one cannot be addressed.
            if (position > std::numeric_limits<std::uint8_t>::max()) {
                position = 0;
            }
            return {kClassMacro, kMacroPlay, static_cast<std::uint8_t>(position)};
        }
        case AssignmentKind::StopMacro:
            return {kClassMacro, kMacroStop, 0};
        case AssignmentKind::Media:
            if (assignment.value >= MediaTable.size()) {
                return defaultEntry;
            }
            return MatrixEntry::withWideValue(kClassConsumer, MediaTable[assignment.value].usage);
        case AssignmentKind::Function:
            return {kClassMacro, kMacroFunction,
                    static_cast<std::uint8_t>(assignment.value & 0xFF)};
    }
    return defaultEntry;  // a kind this program never writes
}

void decodeMatrixEntry(MatrixEntry deviceEntry, MatrixEntry defaultEntry,
                       AssignmentImage::Block block) {
    using namespace matrix;
    if (deviceEntry == defaultEntry) {
        return;
    }
    const auto index = blockIndexOfKey(defaultKeyCode(defaultEntry));
    if (!index) {
        return;
    }
    KeyAssignment& entry = block[*index];
    entry.kind = AssignmentKind::Disabled;
    const std::uint8_t sub = deviceEntry.sub;
    const std::uint8_t value = deviceEntry.value;
    switch (deviceEntry.cls) {
        case kClassMacro:
            if (sub == kMacroPlay) {
                entry.kind = AssignmentKind::Macro;
                entry.value = value + 1u;
            } else if (sub == kMacroStop) {
                entry.kind = AssignmentKind::StopMacro;
            } else if (sub == kMacroFunction) {
                entry.kind = AssignmentKind::Function;
                entry.value = value;
            }
            break;
        case kClassConsumer:
            if (const auto media = mediaIndexOfUsage(deviceEntry.wideValue())) {
                entry.kind = AssignmentKind::Media;
                entry.value = *media;
            }
            break;
        case kClassMouse:
            // A mouse entry beyond the five known rows becomes a Key with no key.
            entry.kind = AssignmentKind::Key;
            entry.value = mouseKeyOf(sub, value);
            break;
        case kClassKeyboard:
            if (sub == kKeyboardKey) {
                if (const KeyCode code = KeyCodeOfDeviceUsage(kUsageKeyboard, value); code != 0) {
                    entry.kind = AssignmentKind::Key;
                    entry.value = code;
                }
            } else if (sub == kKeyboardModifier) {
                entry.kind = AssignmentKind::Key;
                entry.value = modifierKeyOfMask(value);
            }
            break;
        default:
            break;
    }
}

}  // namespace keyloom
