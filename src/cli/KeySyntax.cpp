#include "cli/KeySyntax.h"

#include "platform/text/Utf16.h"

namespace keyloom::cli {

namespace {

constexpr std::uint16_t kLargestPlayCount = 255;

}  // namespace

std::optional<KeyCode> parseKeyCode(std::string_view text) {
    return words::parseKeyCodeWord(text);
}

std::optional<std::size_t> parseKeyEntry(std::string_view text) {
    return words::parseEntryWord(text);
}

std::string entryName(std::size_t entry) {
    return words::entryWord(entry);
}

std::string assignableName(std::size_t entry) {
    return words::entryWord(entry);
}

std::optional<words::ParsedAction> parseAssignAction(std::string_view text, std::size_t entry,
                                                     std::span<const MacroRecord> macros,
                                                     std::string& error) {
    auto parsed = words::parseActionWord(text, entry, error);
    if (!parsed) {
        if (error.rfind("unknown action", 0) == 0)
            error +=
                " (default, disabled, key:KEY, macro:N[:COUNT], media:NAME, function:N, "
                "stop-macro)";
        return std::nullopt;
    }
    KeyAssignment& assignment = parsed->assignment;
    switch (assignment.kind) {
        case AssignmentKind::Default:
        case AssignmentKind::Disabled:
        case AssignmentKind::StopMacro:
        case AssignmentKind::Media:
        case AssignmentKind::Function:
            break;
        case AssignmentKind::Key:
            // Codes that reach no row of the key table name no key.
            if (KeyIndexOf(static_cast<KeyCode>(assignment.value)) == 0) {
                error = "unknown key name '" + std::string(text.substr(text.find(':') + 1)) + "'";
                return std::nullopt;
            }
            break;
        case AssignmentKind::Macro: {
            if (parsed->count && (*parsed->count < 1 || *parsed->count > kLargestPlayCount)) {
                error = "the play count must be 1-255";
                return std::nullopt;
            }
            const auto at = findMacroPosition(macros, static_cast<std::uint16_t>(assignment.value));
            if (!at) {
                error = "no macro numbered " + std::to_string(assignment.value) +
                        " (see 'keyloomctl macro list')";
                return std::nullopt;
            }
            // The play count belongs to the macro; the key keeps a copy, as
            // the key dialog writes it.
            assignment.parameter = parsed->count.value_or(macros[*at].playCount);
            break;
        }
        default:
            error = "keyloomctl assign gives no '" + std::string(text) +
                    "' action; such actions come from profile files";
            return std::nullopt;
    }
    return parsed;
}

std::optional<KeyAssignment> parseAction(std::string_view text, std::size_t entry,
                                         std::span<const MacroRecord> macros, std::string& error) {
    auto parsed = parseAssignAction(text, entry, macros, error);
    if (!parsed)
        return std::nullopt;
    return parsed->assignment;
}

std::string describeAction(const KeyAssignment& assignment, std::span<const MacroRecord> macros) {
    if (assignment.kind != AssignmentKind::Macro || assignment.value < 1 ||
        assignment.value > MacroRecord::kMaxNumber)
        return words::actionWord(assignment, 0);
    const std::string word = "macro:" + std::to_string(assignment.value);
    const auto at = findMacroPosition(macros, static_cast<std::uint16_t>(assignment.value));
    if (!at)
        return word + " (missing)";
    const MacroRecord& macro = macros[*at];
    return word + ":" + std::to_string(macro.playCount) + " (" + text::utf16ToUtf8(macro.name) +
           ")";
}

}  // namespace keyloom::cli
