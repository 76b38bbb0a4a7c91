#include "shell/KeyTooltip.h"

#include "model/MediaTable.h"
#include "platform/text/Utf16.h"

namespace keyloom::shell {

std::string keyTooltip(std::string_view label, const KeyAssignment& entry,
                       std::span<const MacroRecord> macros, const TooltipLookup& text,
                       const KeyNameLookup& keyName) {
    std::string tip(label);
    if (entry.kind == AssignmentKind::Default)
        return tip;
    tip += text("KEY_PROMPT_SET");
    switch (entry.kind) {
        case AssignmentKind::Key:
            tip += text("KEY_PROMPT_SINGLE");
            tip += keyName(static_cast<std::uint16_t>(entry.value));
            tip += ')';
            break;
        case AssignmentKind::Macro: {
            tip += text("KEY_PROMPT_MACRO");
            // Values above 0xFFFF never name a macro; they must not alias one.
            if (entry.value <= 0xFFFF) {
                if (auto at = findMacroPosition(macros, static_cast<std::uint16_t>(entry.value)))
                    tip += keyloom::text::utf16ToUtf8(macros[*at].storedName());
            }
            tip += ')';
            break;
        }
        case AssignmentKind::Media:
            tip += text("KEY_PROMPT_MEDIA");
            // An index outside the table (damaged profile file) names nothing.
            if (entry.value < MediaTable.size())
                tip += text(MediaTable[entry.value].nameKey);
            tip += ')';
            break;
        case AssignmentKind::Function:
            tip += text("KEY_PROMPT_FUNCTION");
            tip += text("FUNC_KEY_DESC" + std::to_string(std::uint64_t{entry.value} + 1));
            tip += ')';
            break;
        default:
            break;
    }
    return tip;
}

std::string gButtonLabel(std::size_t j) {
    return "G" + std::to_string(j + 1);
}

}  // namespace keyloom::shell
