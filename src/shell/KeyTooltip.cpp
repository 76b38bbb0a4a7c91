#include "shell/KeyTooltip.h"

#include "model/AssignmentDescription.h"
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
    // Values that name nothing (a damaged profile file) leave the brackets empty.
    const AssignmentDescription described = describeAssignment(entry, macros);
    switch (described.kind) {
        case AssignmentKind::Key:
            tip += text("KEY_PROMPT_SINGLE");
            if (described.keyCode)
                tip += keyName(*described.keyCode);
            tip += ')';
            break;
        case AssignmentKind::Macro:
            tip += text("KEY_PROMPT_MACRO");
            if (described.macroPosition)
                tip += keyloom::text::utf16ToUtf8(macros[*described.macroPosition].storedName());
            tip += ')';
            break;
        case AssignmentKind::Media:
            tip += text("KEY_PROMPT_MEDIA");
            if (described.mediaIndex)
                tip += text(MediaTable[*described.mediaIndex].nameKey);
            tip += ')';
            break;
        case AssignmentKind::Function:
            // The text is looked up for any value; one outside 1-11 finds none.
            tip += text("KEY_PROMPT_FUNCTION");
            tip += text("FUNC_KEY_DESC" + std::to_string(std::uint64_t{described.value} + 1));
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
