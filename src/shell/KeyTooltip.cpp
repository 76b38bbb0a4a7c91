#include "shell/KeyTooltip.h"

#include "model/AssignmentDescription.h"
#include "model/MediaTable.h"
#include "platform/text/SafeFormat.h"
#include "platform/text/Utf16.h"

namespace keyloom::shell {

std::string keyTooltip(std::string_view label, const KeyAssignment& entry,
                       std::span<const MacroRecord> macros, const TooltipLookup& text,
                       const KeyNameLookup& keyName) {
    std::string tip(label);
    if (entry.kind == AssignmentKind::Default)
        return tip;
    // A disabled key does nothing: "remapped" would send the user looking
    // for what it now does.
    if (entry.kind == AssignmentKind::Disabled)
        return tip + text("KEYLOOM_KEY_PROMPT_DISABLED");
    if (entry.kind == AssignmentKind::StopMacro)
        return tip + text("KEYLOOM_KEY_PROMPT_STOP_MACRO");
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
            if (described.macroPosition) {
                const MacroRecord& macro = macros[*described.macroPosition];
                tip += keyloom::text::utf16ToUtf8(macro.storedName());
                // The count is the macro's own, whichever key plays it: the
                // entry's own field means something else on some keys.
                tip += keyloom::text::formatInt(text("KEYLOOM_KEY_PROMPT_PLAYS"), macro.playCount);
            }
            tip += ')';
            break;
        case AssignmentKind::Media:
            tip += text("KEY_PROMPT_MEDIA");
            if (described.mediaIndex)
                tip += text(MediaTable[*described.mediaIndex].nameKey);
            tip += ')';
            break;
        case AssignmentKind::Function:
            tip += text("KEY_PROMPT_FUNCTION");
            if (described.functionNumber)
                tip += text("FUNC_KEY_DESC" + std::to_string(*described.functionNumber));
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
