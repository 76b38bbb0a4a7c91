#include "storage/ProfileJsonNames.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <limits>

#include "model/AssignmentImage.h"
#include "model/MediaTable.h"

namespace keyloom::profile_json {

namespace {

constexpr std::size_t kFirstExtra = AssignmentImage::kFirstExtraKeyEntry;
constexpr std::size_t kBank = AssignmentImage::kExtraKeysPerBank;
constexpr std::string_view kBankTwoSuffix = " bank 2";

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
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

std::optional<std::uint16_t> parseHexCode(std::string_view text) {
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return std::nullopt;
    return parseNumber<std::uint16_t>(text.substr(2), 16);
}

// The legend of key index `index` when no other row has the same one (a
// legend two keys share would not read back as either).
std::string_view uniqueCaption(std::size_t index) {
    const auto table = KeyTable();
    if (index >= table.size() || table[index].caption.empty())
        return {};
    const std::string_view caption = table[index].caption;
    for (std::size_t other = 0; other < table.size(); ++other)
        if (other != index && equalsIgnoringCase(caption, table[other].caption))
            return {};
    return caption;
}

std::optional<std::size_t> indexOfCaption(std::string_view text) {
    const auto table = KeyTable();
    for (std::size_t index = 0; index < table.size(); ++index)
        if (!table[index].caption.empty() && equalsIgnoringCase(text, uniqueCaption(index)))
            return index;
    return std::nullopt;
}

std::optional<std::size_t> parseExtraKey(std::string_view text) {
    std::size_t bank = 0;
    if (text.size() > kBankTwoSuffix.size() &&
        equalsIgnoringCase(text.substr(text.size() - kBankTwoSuffix.size()), kBankTwoSuffix)) {
        text.remove_suffix(kBankTwoSuffix.size());
        bank = 1;
    }
    if (text.size() == 2 && (text[0] == 'G' || text[0] == 'g') && text[1] >= '1' && text[1] <= '9')
        return kFirstExtra + bank * kBank + static_cast<std::size_t>(text[1] - '1');
    return std::nullopt;
}

std::string hexCode(unsigned code) {
    std::array<char, 16> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "0x%03X", code);
    return buffer.data();
}

}  // namespace

std::string entryName(std::size_t entry) {
    if (entry >= kFirstExtra && entry < kFirstExtra + AssignmentImage::kExtraKeyEntryCount) {
        const std::size_t offset = entry - kFirstExtra;
        return "G" + std::to_string(offset % kBank + 1) +
               (offset >= kBank ? std::string(kBankTwoSuffix) : std::string());
    }
    if (const std::string_view caption = uniqueCaption(entry); !caption.empty())
        return std::string(caption);
    return "#" + std::to_string(entry);
}

std::optional<std::size_t> parseEntryName(std::string_view text) {
    if (text.size() > 1 && text[0] == '#') {
        const auto index = parseNumber<std::size_t>(text.substr(1));
        if (index && *index < AssignmentImage::kEntriesPerBlock)
            return index;
        return std::nullopt;
    }
    if (auto extra = parseExtraKey(text))
        return extra;
    return indexOfCaption(text);
}

std::string keyCodeName(KeyCode code) {
    const int index = KeyIndexOf(code);
    if (index > 0 && index < static_cast<int>(kKeyTableSize) && KeyCodeOf(index) == code) {
        if (const std::string_view caption = uniqueCaption(static_cast<std::size_t>(index));
            !caption.empty())
            return std::string(caption);
    }
    return hexCode(code);
}

std::optional<KeyCode> parseKeyCodeName(std::string_view text) {
    if (auto code = parseHexCode(text))
        return code;
    if (auto index = indexOfCaption(text))
        return KeyCodeOf(static_cast<int>(*index));
    return std::nullopt;
}

std::string actionName(const KeyAssignment& entry) {
    const std::uint32_t value = entry.value;
    switch (entry.kind) {
        case AssignmentKind::Default:
            if (value == 0)
                return "default";
            break;
        case AssignmentKind::Disabled:
            if (value == 0)
                return "disabled";
            break;
        case AssignmentKind::StopMacro:
            if (value == 0)
                return "stop-macro";
            break;
        case AssignmentKind::Key:
            if (value > 0 && value <= std::numeric_limits<KeyCode>::max())
                return "key:" + keyCodeName(static_cast<KeyCode>(value));
            break;
        case AssignmentKind::Macro:
            if (value >= 1 && value <= MacroRecord::kMaxNumber)
                return "macro:" + std::to_string(value) + ":" + std::to_string(entry.parameter);
            break;
        case AssignmentKind::Media:
            if (value < MediaTable.size())
                return "media:" + std::to_string(value + 1);
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
    return "raw:" + std::to_string(static_cast<unsigned>(entry.kind)) + ":" + std::to_string(value);
}

std::optional<KeyAssignment> parseActionName(std::string_view text, std::string& error) {
    const auto colon = text.find(':');
    const std::string_view verb = text.substr(0, colon);
    const std::string_view rest = colon == std::string_view::npos ? "" : text.substr(colon + 1);
    const bool bare = colon == std::string_view::npos;
    KeyAssignment entry;

    auto numberIn = [&](std::uint32_t low, std::uint32_t high) -> std::optional<std::uint32_t> {
        auto number = parseNumber<std::uint32_t>(rest);
        if (!number || *number < low || *number > high)
            return std::nullopt;
        return number;
    };

    if (bare && verb == "default") {
        entry.kind = AssignmentKind::Default;
    } else if (bare && verb == "disabled") {
        entry.kind = AssignmentKind::Disabled;
    } else if (bare && verb == "stop-macro") {
        entry.kind = AssignmentKind::StopMacro;
    } else if (bare && verb == "launch") {
        entry.kind = AssignmentKind::LaunchProgram;
    } else if (bare && verb == "text") {
        entry.kind = AssignmentKind::TextBlock;
    } else if (!bare && verb == "key") {
        const auto code = parseKeyCodeName(rest);
        if (!code || *code == 0) {
            error = "unknown key name '" + std::string(rest) + "'";
            return std::nullopt;
        }
        entry.kind = AssignmentKind::Key;
        entry.value = *code;
    } else if (!bare && verb == "macro") {
        const auto second = rest.find(':');
        const auto number = parseNumber<std::uint32_t>(rest.substr(0, second));
        const auto count = second == std::string_view::npos
                               ? std::optional<std::uint16_t>(MacroRecord::kDefaultPlayCount)
                               : parseNumber<std::uint16_t>(rest.substr(second + 1));
        if (!number || *number < 1 || *number > MacroRecord::kMaxNumber || !count) {
            error = "a macro action is macro:NUMBER:COUNT with NUMBER 1-100 and COUNT 0-65535";
            return std::nullopt;
        }
        entry.kind = AssignmentKind::Macro;
        entry.value = *number;
        entry.parameter = *count;
    } else if (!bare && verb == "media") {
        const auto number = numberIn(1, static_cast<std::uint32_t>(MediaTable.size()));
        if (!number) {
            error = "media keys are numbered 1-18";
            return std::nullopt;
        }
        entry.kind = AssignmentKind::Media;
        entry.value = *number - 1;
    } else if (!bare && verb == "function") {
        const auto number = numberIn(1, kFunctionCount);
        if (!number) {
            error = "keyboard functions are numbered 1-11";
            return std::nullopt;
        }
        entry.kind = AssignmentKind::Function;
        entry.value = *number - 1;
    } else if (!bare && verb == "raw") {
        const auto second = rest.find(':');
        const auto kind = parseNumber<std::uint16_t>(rest.substr(0, second));
        const auto value = second == std::string_view::npos
                               ? std::nullopt
                               : parseNumber<std::uint32_t>(rest.substr(second + 1));
        if (!kind || !value) {
            error = "a raw action is raw:KIND:VALUE with KIND 0-65535 and VALUE 0-4294967295";
            return std::nullopt;
        }
        entry.kind = static_cast<AssignmentKind>(*kind);
        entry.value = *value;
    } else {
        error = "unknown action '" + std::string(text) +
                "' (default, disabled, stop-macro, key:CODE, macro:NUMBER:COUNT, media:N, "
                "function:N, launch, text, raw:KIND:VALUE)";
        return std::nullopt;
    }
    return entry;
}

std::string eventName(const MacroAction& event) {
    // Only presses and releases are written; another state is kept by the
    // patches of the JSON form.
    return keyCodeName(event.keyCode) + (event.state == MacroAction::kReleased ? "-" : "+") +
           std::to_string(event.delayMs);
}

std::optional<MacroAction> parseEventName(std::string_view text, std::string& error) {
    // Legends may hold '+' or '-' ("Num +"): the sign is the last one.
    const auto sign = text.find_last_of("+-");
    const auto delay = sign == std::string_view::npos
                           ? std::nullopt
                           : parseNumber<std::uint32_t>(text.substr(sign + 1));
    if (!delay || sign == 0) {
        error = "an event is KEY+DELAY or KEY-DELAY (DELAY in ms)";
        return std::nullopt;
    }
    const auto code = parseKeyCodeName(text.substr(0, sign));
    if (!code) {
        error = "unknown key name '" + std::string(text.substr(0, sign)) + "'";
        return std::nullopt;
    }
    MacroAction event;
    event.keyCode = *code;
    event.delayMs = *delay;
    event.state = text[sign] == '-' ? MacroAction::kReleased : MacroAction::kPressed;
    return event;
}

}  // namespace keyloom::profile_json
