#include "model/KeyWords.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <limits>

#include "model/AssignmentImage.h"
#include "model/KeyAssignmentCodec.h"
#include "model/MacroRecord.h"
#include "model/MediaTable.h"

namespace keyloom::words {

namespace {

constexpr std::size_t kFirstExtra = AssignmentImage::kFirstExtraKeyEntry;
constexpr std::size_t kBank = AssignmentImage::kExtraKeysPerBank;
constexpr std::string_view kBankTwoSuffix = " bank 2";
constexpr unsigned kLargestCount = 255;

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

template <typename Number>
std::optional<Number> parseNumber(std::string_view text, int base = 10) {
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "0x1D" in either case, or a decimal code written with a leading zero
// ("0310"), as earlier versions of keyloomctl took them.
std::optional<std::uint32_t> parseCodeNumber(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return parseNumber<std::uint32_t>(text.substr(2), 16);
    if (text.size() > 2 && text[0] == '0')
        return parseNumber<std::uint32_t>(text);
    return std::nullopt;
}

// Short names people type for keys whose name is long or whose legend is a
// symbol.
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

std::string rowName(std::size_t index) {
    const KeyRow& row = KeyTable()[index];
    return row.nameKey.empty() ? std::string() : englishText(row.nameKey);
}

std::optional<std::size_t> parseExtraKey(std::string_view text) {
    std::size_t bank = 0;
    if (text.size() > kBankTwoSuffix.size() &&
        sameWord(text.substr(text.size() - kBankTwoSuffix.size()), kBankTwoSuffix)) {
        text.remove_suffix(kBankTwoSuffix.size());
        bank = 1;
    }
    if (text.size() == 2 && (text[0] == 'G' || text[0] == 'g') && text[1] >= '1' && text[1] <= '9')
        return kFirstExtra + bank * kBank + static_cast<std::size_t>(text[1] - '1');
    return std::nullopt;
}

std::string raw(const KeyAssignment& assignment) {
    return "raw:" + std::to_string(static_cast<unsigned>(assignment.kind)) + ":" +
           std::to_string(assignment.value);
}

}  // namespace

std::string hexCode(unsigned code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%03X", code);
    return buffer;
}

std::optional<KeyCode> parseKeyCodeWord(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    if (const auto number = parseCodeNumber(text)) {
        if (*number == 0 || *number > std::numeric_limits<KeyCode>::max())
            return std::nullopt;
        return static_cast<KeyCode>(*number);
    }
    for (const Alias& alias : kAliases)
        if (sameWord(text, alias.name))
            return alias.code;
    const auto table = KeyTable();
    for (std::size_t index = 1; index < table.size(); ++index)
        if (!table[index].nameKey.empty() && sameWord(text, rowName(index)))
            return KeyCodeOf(static_cast<int>(index));
    for (std::size_t index = 1; index < table.size(); ++index)
        if (!table[index].caption.empty() && sameWord(text, table[index].caption))
            return KeyCodeOf(static_cast<int>(index));
    return std::nullopt;
}

std::string keyCodeWord(KeyCode code) {
    const int index = KeyIndexOf(code);
    if (index > 0 && index < static_cast<int>(kKeyTableSize)) {
        const std::string name = rowName(static_cast<std::size_t>(index));
        if (!name.empty() && parseKeyCodeWord(name) == code)
            return name;
    }
    return hexCode(code);
}

bool isExtraKeyEntry(std::size_t entry) {
    return entry >= kFirstExtra && entry < kFirstExtra + AssignmentImage::kExtraKeyEntryCount;
}

std::uint16_t freshParameter(std::size_t entry) {
    return isExtraKeyEntry(entry) ? extraKeyDefaultCode(entry - kFirstExtra) : 0;
}

std::optional<std::size_t> parseEntryWord(std::string_view text) {
    if (text.size() > 1 && text[0] == '#') {
        const auto index = parseNumber<std::size_t>(text.substr(1));
        if (index && *index < AssignmentImage::kEntriesPerBlock)
            return index;
        return std::nullopt;
    }
    if (auto extra = parseExtraKey(text))
        return extra;
    if (auto code = parseKeyCodeWord(text))
        return blockIndexOfKey(*code);
    return std::nullopt;
}

std::string entryWord(std::size_t entry) {
    if (isExtraKeyEntry(entry)) {
        const std::size_t offset = entry - kFirstExtra;
        return "G" + std::to_string(offset % kBank + 1) +
               (offset >= kBank ? std::string(kBankTwoSuffix) : std::string());
    }
    const KeyCode code = KeyCodeOf(static_cast<int>(entry));
    if (code != 0 && entry < kKeyTableSize) {
        // Two entries may share a name (the extended right Shift is "Right
        // Shift" too): the second is printed as its code.
        if (std::string name = rowName(entry); !name.empty() && parseEntryWord(name) == entry)
            return name;
        if (std::string hex = hexCode(code); parseEntryWord(hex) == entry)
            return hex;
    }
    return "#" + std::to_string(entry);
}

std::string mediaWord(std::size_t mediaIndex) {
    return mediaIndex < MediaTable.size() ? englishText(MediaTable[mediaIndex].nameKey)
                                          : std::string();
}

std::string actionWord(const KeyAssignment& assignment, std::size_t entry) {
    const std::uint32_t value = assignment.value;
    switch (assignment.kind) {
        case AssignmentKind::Default:
            return value == 0 ? "default" : raw(assignment);
        case AssignmentKind::Disabled:
            return value == 0 ? "disabled" : raw(assignment);
        case AssignmentKind::StopMacro:
            return value == 0 ? "stop-macro" : raw(assignment);
        case AssignmentKind::Key:
            if (value > 0 && value <= std::numeric_limits<KeyCode>::max())
                return "key:" + keyCodeWord(static_cast<KeyCode>(value));
            break;
        case AssignmentKind::Macro:
            if (value >= 1 && value <= MacroRecord::kMaxNumber) {
                std::string word = "macro:" + std::to_string(value);
                if (assignment.parameter >= 1 && assignment.parameter <= kLargestCount &&
                    assignment.parameter != freshParameter(entry))
                    word += ":" + std::to_string(assignment.parameter);
                return word;
            }
            break;
        case AssignmentKind::Media:
            if (value < MediaTable.size())
                return "media:" + mediaWord(value);
            break;
        case AssignmentKind::Function:
            if (value < kFunctionCount)
                return "function:" + std::to_string(value + 1);
            break;
        case AssignmentKind::LaunchProgram:
            return "launch";
        case AssignmentKind::TextBlock:
            return "text";
    }
    return raw(assignment);
}

bool wordCarriesParameter(const KeyAssignment& assignment, std::size_t entry) {
    std::string error;
    const auto back = parseActionWord(actionWord(assignment, entry), entry, error);
    return back && back->assignment.parameter == assignment.parameter;
}

std::optional<ParsedAction> parseActionWord(std::string_view text, std::size_t entry,
                                            std::string& error) {
    const auto colon = text.find(':');
    const std::string_view verb = text.substr(0, colon);
    const std::string_view rest = colon == std::string_view::npos ? "" : text.substr(colon + 1);
    const bool bare = colon == std::string_view::npos;
    ParsedAction parsed;
    KeyAssignment& out = parsed.assignment;
    out.parameter = freshParameter(entry);

    auto numberIn = [&](std::uint32_t low, std::uint32_t high) -> std::optional<std::uint32_t> {
        auto number = parseNumber<std::uint32_t>(rest);
        if (!number || *number < low || *number > high)
            return std::nullopt;
        return number;
    };

    if (bare && sameWord(verb, "default")) {
        out.kind = AssignmentKind::Default;
    } else if (bare && sameWord(verb, "disabled")) {
        out.kind = AssignmentKind::Disabled;
    } else if (bare && sameWord(verb, "stop-macro")) {
        out.kind = AssignmentKind::StopMacro;
    } else if (bare && sameWord(verb, "launch")) {
        out.kind = AssignmentKind::LaunchProgram;
    } else if (bare && sameWord(verb, "text")) {
        out.kind = AssignmentKind::TextBlock;
    } else if (!bare && sameWord(verb, "key")) {
        const auto code = parseKeyCodeWord(rest);
        if (!code) {
            error = "unknown key name '" + std::string(rest) + "'";
            return std::nullopt;
        }
        out.kind = AssignmentKind::Key;
        out.value = *code;
    } else if (!bare && sameWord(verb, "macro")) {
        const auto second = rest.find(':');
        const auto number = parseNumber<std::uint32_t>(rest.substr(0, second));
        if (!number || *number < 1 || *number > MacroRecord::kMaxNumber) {
            error = "macros are numbered 1-100, not '" + std::string(rest.substr(0, second)) + "'";
            return std::nullopt;
        }
        if (second != std::string_view::npos) {
            // 0 (a key read back from the keyboard) and an extra key's fixed
            // code are what earlier exports wrote for keys without a count.
            const auto count = parseNumber<std::uint16_t>(rest.substr(second + 1));
            if (!count ||
                (*count > kLargestCount && !(isExtraKeyEntry(entry) && *count == out.parameter))) {
                error = "the play count must be 1-255, not '" +
                        std::string(rest.substr(second + 1)) + "'";
                return std::nullopt;
            }
            parsed.count = *count;
            out.parameter = *count;
        }
        out.kind = AssignmentKind::Macro;
        out.value = *number;
    } else if (!bare && sameWord(verb, "media")) {
        std::optional<std::uint32_t> index;
        if (auto number = numberIn(1, static_cast<std::uint32_t>(MediaTable.size())))
            index = *number - 1;
        for (std::uint32_t i = 0; !index && i < MediaTable.size(); ++i)
            if (sameWord(rest, mediaWord(i)))
                index = i;
        if (!index) {
            error = "no such media key: '" + std::string(rest) + "' (a name or 1-18)";
            return std::nullopt;
        }
        out.kind = AssignmentKind::Media;
        out.value = *index;
    } else if (!bare && sameWord(verb, "function")) {
        const auto number = numberIn(1, kFunctionCount);
        if (!number) {
            error = "keyboard functions are numbered 1-11";
            return std::nullopt;
        }
        out.kind = AssignmentKind::Function;
        out.value = *number - 1;
    } else if (!bare && sameWord(verb, "raw")) {
        const auto second = rest.find(':');
        const auto kind = parseNumber<std::uint16_t>(rest.substr(0, second));
        const auto value = second == std::string_view::npos
                               ? std::nullopt
                               : parseNumber<std::uint32_t>(rest.substr(second + 1));
        if (!kind || !value) {
            error = "a raw action is raw:KIND:VALUE with KIND 0-65535 and VALUE 0-4294967295";
            return std::nullopt;
        }
        out.kind = static_cast<AssignmentKind>(*kind);
        out.value = *value;
    } else {
        error = "unknown action '" + std::string(text) + "'";
        return std::nullopt;
    }
    return parsed;
}

std::string eventWord(const MacroAction& event) {
    // Only presses and releases have a word; the JSON form keeps another
    // state in its patches.
    return keyCodeWord(event.keyCode) + (event.state == MacroAction::kReleased ? "-" : "+") +
           std::to_string(event.delayMs);
}

std::optional<ParsedEvent> parseEventWord(std::string_view text, std::string& error) {
    // Key names may hold '+' or '-' ("Num +"): the sign is the last one.
    const auto sign = text.find_last_of("+-");
    const std::string form =
        "an event is KEY+DELAY (press) or KEY-DELAY (release), DELAY in ms: '" + std::string(text) +
        "'";
    if (sign == std::string_view::npos || sign == 0) {
        error = form;
        return std::nullopt;
    }
    const std::string_view key = text.substr(0, sign);
    const std::string_view digits = text.substr(sign + 1);
    const bool allDigits = !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    auto code = parseKeyCodeWord(key);
    // A stored event may name key code 0, which export writes as 0x000.
    if (!code && parseCodeNumber(key) == 0u)
        code = KeyCode{0};
    // "A+-5": a key, its sign and a delay that is no whole number.
    const bool signedDelay = !code && key.size() > 1 && (key.back() == '+' || key.back() == '-') &&
                             parseKeyCodeWord(key.substr(0, key.size() - 1));
    if (signedDelay) {
        error = "the delay of '" + std::string(text) +
                "' must be a whole number of milliseconds, not '" + std::string(text.substr(sign)) +
                "'";
        return std::nullopt;
    }
    if (!allDigits) {
        error = form;
        return std::nullopt;
    }
    if (!code) {
        error = "unknown key name '" + std::string(key) + "'";
        return std::nullopt;
    }
    ParsedEvent parsed;
    parsed.event.keyCode = *code;
    parsed.event.state = text[sign] == '-' ? MacroAction::kReleased : MacroAction::kPressed;
    if (const auto delay = parseNumber<std::uint32_t>(digits))
        parsed.event.delayMs = *delay;
    else
        parsed.delayTooLarge = true;
    return parsed;
}

}  // namespace keyloom::words
