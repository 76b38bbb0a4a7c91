#include "cli/KeySyntax.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "model/AssignmentDescription.h"
#include "model/AssignmentImage.h"
#include "model/KeyAssignmentCodec.h"
#include "model/MediaTable.h"
#include "storage/Language.h"

namespace keyloom::cli {

namespace {

constexpr std::size_t kKeyNameLength = 64;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<unsigned long> parseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    unsigned long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Short names people type for keys whose caption is a symbol or a plain
// modifier word.
struct Alias {
    std::string_view name;
    KeyCode code;
};
constexpr Alias kAliases[] = {
    {"Up", 0x148},        {"Down", 0x150},       {"Left", 0x14B},     {"Right", 0x14D},
    {"Left Ctrl", 0x01D}, {"Left Shift", 0x02A}, {"Left Alt", 0x038}, {"Left Win", 0x15B},
    {"PgUp", 0x149},      {"PgDn", 0x151},       {"Del", 0x153},      {"Ins", 0x152},
    {"Escape", 0x001},    {"Return", 0x01C},     {"Menu", 0x15D},
};

std::optional<int> parseG(std::string_view text) {
    if (text.size() == 2 && (text[0] == 'G' || text[0] == 'g') && text[1] >= '1' && text[1] <= '9')
        return text[1] - '1';
    return std::nullopt;
}

std::string mediaName(std::size_t index) {
    return lookupText(MediaTable[index].nameKey);
}

}  // namespace

std::optional<KeyCode> parseKeyCode(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    if (auto number = parseNumber(text); number && text.size() > 2 && text[0] == '0') {
        if (*number == 0 || *number > 0xFFFF)
            return std::nullopt;
        return static_cast<KeyCode>(*number);
    }
    for (const Alias& alias : kAliases)
        if (equalsIgnoringCase(text, alias.name))
            return alias.code;
    const auto table = KeyTable();
    for (int index = 0; index < static_cast<int>(table.size()); ++index)
        if (!table[index].caption.empty() && equalsIgnoringCase(text, table[index].caption))
            return KeyCodeOf(index);
    for (int index = 0; index < static_cast<int>(table.size()); ++index)
        if (!table[index].nameKey.empty() &&
            equalsIgnoringCase(text, KeyName(KeyCodeOf(index), kKeyNameLength)))
            return KeyCodeOf(index);
    return std::nullopt;
}

std::optional<std::size_t> parseKeyEntry(std::string_view text) {
    if (auto g = parseG(text))
        return AssignmentImage::kFirstExtraKeyEntry + static_cast<std::size_t>(*g);
    auto code = parseKeyCode(text);
    if (!code)
        return std::nullopt;
    return blockIndexOfKey(*code);
}

std::string entryName(std::size_t entry) {
    const bool extra =
        entry >= AssignmentImage::kFirstExtraKeyEntry &&
        entry < AssignmentImage::kFirstExtraKeyEntry + AssignmentImage::kExtraKeyEntryCount;
    // Extra keys have no key code of their own; the code that reaches them
    // lies 0x100 above their entry.
    const auto code =
        static_cast<unsigned>(extra ? entry + 0x100 : KeyCodeOf(static_cast<int>(entry)));
    std::string name;
    if (extra)
        name = "G" + std::to_string((entry - AssignmentImage::kFirstExtraKeyEntry) %
                                        AssignmentImage::kExtraKeysPerBank +
                                    1);
    else
        name = KeyName(static_cast<KeyCode>(code), kKeyNameLength);
    // Two entries may share a name (the extended right Shift is "Right
    // Shift" too; each bank of extra keys has its G1-G9): such an entry is
    // printed as its code, which names it alone.
    if (const auto named = parseKeyEntry(name); named && *named != entry) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%03x", code);
        name = hex;
    }
    return name;
}

std::optional<KeyAssignment> parseAction(std::string_view text, std::size_t entry,
                                         std::span<const MacroRecord> macros, std::string& error) {
    KeyAssignment assignment;
    // Extra keys keep their fixed code whatever they are given.
    if (entry >= AssignmentImage::kFirstExtraKeyEntry &&
        entry < AssignmentImage::kFirstExtraKeyEntry + AssignmentImage::kExtraKeyEntryCount)
        assignment.parameter = extraKeyDefaultCode(entry - AssignmentImage::kFirstExtraKeyEntry);

    auto colon = text.find(':');
    std::string_view verb = text.substr(0, colon);
    std::string_view rest = colon == std::string_view::npos ? "" : text.substr(colon + 1);

    if (equalsIgnoringCase(verb, "default") && rest.empty()) {
        assignment.kind = AssignmentKind::Default;
    } else if (equalsIgnoringCase(verb, "disabled") && rest.empty()) {
        assignment.kind = AssignmentKind::Disabled;
    } else if (equalsIgnoringCase(verb, "stop-macro") && rest.empty()) {
        assignment.kind = AssignmentKind::StopMacro;
    } else if (equalsIgnoringCase(verb, "key")) {
        auto code = parseKeyCode(rest);
        if (!code || KeyIndexOf(*code) == 0) {
            error = "no such key: '" + std::string(rest) + "'";
            return std::nullopt;
        }
        assignment.kind = AssignmentKind::Key;
        assignment.value = *code;
    } else if (equalsIgnoringCase(verb, "macro")) {
        auto second = rest.find(':');
        auto number = parseNumber(rest.substr(0, second));
        unsigned long count = MacroRecord::kDefaultPlayCount;
        if (second != std::string_view::npos) {
            auto parsed = parseNumber(rest.substr(second + 1));
            if (!parsed || *parsed < 1 || *parsed > 255) {
                error = "the play count must be 1-255";
                return std::nullopt;
            }
            count = *parsed;
        }
        if (!number || *number < 1 || *number > MacroRecord::kMaxNumber ||
            !findMacroPosition(macros, static_cast<std::uint16_t>(*number))) {
            error = "no macro numbered '" + std::string(rest.substr(0, second)) +
                    "' (see 'keyloomctl macro list')";
            return std::nullopt;
        }
        assignment.kind = AssignmentKind::Macro;
        assignment.value = static_cast<std::uint32_t>(*number);
        assignment.parameter = static_cast<std::uint16_t>(count);
    } else if (equalsIgnoringCase(verb, "media")) {
        std::optional<std::size_t> index;
        if (auto number = parseNumber(rest); number && *number >= 1 && *number <= MediaTable.size())
            index = *number - 1;
        for (std::size_t i = 0; !index && i < MediaTable.size(); ++i)
            if (equalsIgnoringCase(rest, mediaName(i)))
                index = i;
        if (!index) {
            error = "no such media key: '" + std::string(rest) + "' (a name or 1-18)";
            return std::nullopt;
        }
        assignment.kind = AssignmentKind::Media;
        assignment.value = static_cast<std::uint32_t>(*index);
    } else if (equalsIgnoringCase(verb, "function")) {
        auto number = parseNumber(rest);
        if (!number || *number < 1 || *number > kFunctionCount) {
            error = "keyboard functions are numbered 1-11";
            return std::nullopt;
        }
        assignment.kind = AssignmentKind::Function;
        assignment.value = static_cast<std::uint32_t>(*number - 1);
    } else {
        error = "unknown action '" + std::string(text) +
                "' (default, disabled, key:KEY, macro:N[:COUNT], media:NAME, function:N, "
                "stop-macro)";
        return std::nullopt;
    }
    return assignment;
}

std::string describeAction(const KeyAssignment& assignment, std::span<const MacroRecord> macros) {
    return assignmentText(assignment, macros, [](std::string_view key) { return lookupText(key); });
}

std::string assignableName(std::size_t entry) {
    std::string name = entryName(entry);
    if (name.empty() || name == "#Error" || parseKeyEntry(name) != entry) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%03x",
                      static_cast<unsigned>(KeyCodeOf(static_cast<int>(entry))));
        name = code;
    }
    return name;
}

}  // namespace keyloom::cli
