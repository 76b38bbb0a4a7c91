#include "model/AssignmentDescription.h"

#include <limits>

#include "model/MediaTable.h"
#include "platform/text/Utf16.h"

namespace keyloom {

namespace {

// Key names as long as a key editor's name buffer holds.
constexpr std::size_t kKeyNameLength = 64;

std::optional<std::uint16_t> asUint16(std::uint32_t value) {
    if (value > std::numeric_limits<std::uint16_t>::max())
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

}  // namespace

AssignmentDescription describeAssignment(const KeyAssignment& assignment,
                                         std::span<const MacroRecord> macros) {
    AssignmentDescription description;
    description.kind = assignment.kind;
    description.value = assignment.value;
    switch (assignment.kind) {
        case AssignmentKind::Key:
            description.keyCode = asUint16(assignment.value);
            break;
        case AssignmentKind::Media:
            if (assignment.value < MediaTable.size())
                description.mediaIndex = assignment.value;
            break;
        case AssignmentKind::Function:
            if (assignment.value < kFunctionCount)
                description.functionNumber = assignment.value + 1;
            break;
        case AssignmentKind::Macro:
            description.macroNumber = asUint16(assignment.value);
            if (description.macroNumber)
                description.macroPosition = findMacroPosition(macros, *description.macroNumber);
            description.playCount = assignment.parameter;
            break;
        default:
            break;
    }
    return description;
}

std::string assignmentText(const KeyAssignment& assignment, std::span<const MacroRecord> macros,
                           const TextLookup& text) {
    const AssignmentDescription d = describeAssignment(assignment, macros);
    switch (d.kind) {
        case AssignmentKind::Default:
            return "Default";
        case AssignmentKind::Disabled:
            return "Disabled";
        case AssignmentKind::StopMacro:
            return "Stop macro";
        case AssignmentKind::Key:
            return d.keyCode ? "Key: " + KeyName(*d.keyCode, kKeyNameLength, text) : "Key: unknown";
        case AssignmentKind::Macro: {
            // In the form keyloomctl assign takes; a count of 0 (a key read
            // back from the keyboard, which keeps none) is left out.
            std::string out = "macro:" + std::to_string(d.value);
            if (d.playCount > 0)
                out += ":" + std::to_string(d.playCount);
            out += d.macroPosition ? " (" + text::utf16ToUtf8(macros[*d.macroPosition].name) + ")"
                                   : " (missing)";
            return out;
        }
        case AssignmentKind::Media:
            return d.mediaIndex ? "Media: " + text(MediaTable[*d.mediaIndex].nameKey)
                                : "Media: unknown";
        case AssignmentKind::Function:
            return d.functionNumber ? "Function " + std::to_string(*d.functionNumber) + ": " +
                                          text("FUNC_KEY_DESC" + std::to_string(*d.functionNumber))
                                    : "Function: unknown";
        case AssignmentKind::LaunchProgram:
            return "Launch program";
        case AssignmentKind::TextBlock:
            return "Text block";
    }
    return "Kind " + std::to_string(static_cast<unsigned>(d.kind));
}

}  // namespace keyloom
