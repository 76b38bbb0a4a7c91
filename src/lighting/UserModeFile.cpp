#include "lighting/UserModeFile.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/fs/FileIo.h"
#include "platform/ini/Ini.h"
#include "platform/ini/IniCache.h"

namespace keyloom {

namespace {

constexpr std::string_view kPresentSection = "PRESENTMODE";
constexpr std::string_view kNameSection = "MODENAME";
constexpr std::size_t kMaxTemplateBytes = 1u << 20;

// Reads the numbers of "%d,%d,...": each an optional sign and at least one
// digit, separated by commas, blanks allowed around them. Text after the last
// number is ignored. False when fewer than `out.size()` numbers are found.
bool scanNumbers(std::string_view text, std::span<int> out) {
    std::size_t at = 0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        if (n > 0) {
            while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
                ++at;
            if (at >= text.size() || text[at] != ',')
                return false;
            ++at;
        }
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        bool negative = false;
        if (at < text.size() && (text[at] == '-' || text[at] == '+'))
            negative = text[at++] == '-';
        const std::size_t first = at;
        long value = 0;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
            value = std::min(value * 10 + (text[at] - '0'), 100000L);
        if (at == first)
            return false;
        out[n] = static_cast<int>(negative ? -value : value);
    }
    return true;
}

std::uint8_t channel(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

// A value as every other ini reader of the program gives it: without
// enclosing quotes, cut to the usual buffer.
std::optional<std::string> value(const ini::IniDocument& document, std::string_view section,
                                 std::string_view key) {
    return ini::readValue(document, section, key);
}

int readNumber(const ini::IniDocument& document, std::string_view section, std::string_view key,
               int fallback) {
    const std::optional<std::string> text = value(document, section, key);
    std::array<int, 1> number{};
    if (!text || !scanNumbers(*text, number))
        return fallback;
    return number[0];
}

}  // namespace

std::string userModeFilePath(std::string_view prefix, int profile) {
    return std::string(prefix) + std::to_string(profile) + ".userd";
}

std::string modeSectionName(int mode) {
    return "Mode" + std::to_string(mode);
}

Rgb parseColourValue(std::string_view text, Rgb fallback) {
    std::array<int, 3> n{};
    if (!scanNumbers(text, n))
        return fallback;
    return {channel(n[0]), channel(n[1]), channel(n[2])};
}

KeyPaint parseKeyValue(std::string_view text) {
    std::array<int, 4> n{};
    if (!scanNumbers(text, n))
        return {};
    return {{channel(n[0]), channel(n[1]), channel(n[2])}, n[3] != 0};
}

std::string formatColourValue(Rgb colour) {
    return std::to_string(colour.red) + ',' + std::to_string(colour.green) + ',' +
           std::to_string(colour.blue);
}

std::string formatKeyValue(const KeyPaint& paint) {
    return formatColourValue(paint.colour) + ',' + (paint.inBaseGroup ? '1' : '0');
}

UserModeData parseUserMode(const ini::IniDocument& document) {
    UserModeData data;
    const int mode = readNumber(document, kPresentSection, "mode", 0);
    data.currentMode = mode >= 0 && mode < kUserModeCount ? mode : 0;
    for (int m = 0; m < kUserModeCount; ++m) {
        const std::optional<std::string> name = value(document, kNameSection, std::to_string(m));
        data.names[static_cast<std::size_t>(m)] = name ? *name : "0";
    }

    const std::string section = modeSectionName(data.currentMode);
    data.brush.tool = readNumber(document, section, "tool", 0) != 0 ? BrushTool::BaseColour
                                                                    : BrushTool::SingleColour;
    if (const std::optional<std::string> text = value(document, section, "jcolor"))
        data.brush.baseColour = parseColourValue(*text);
    if (const std::optional<std::string> text = value(document, section, "color"))
        data.brush.singleColour = parseColourValue(*text);

    const auto& keys = colourKeys();
    for (std::size_t slot = 0; slot < kFileSlotCount; ++slot) {
        const std::uint8_t index = keys[slot].colourIndex;
        if (index == kNoColourIndex)
            continue;
        if (const std::optional<std::string> text = value(document, section, std::to_string(index)))
            data.keys[slot] = parseKeyValue(*text);
    }
    if (const std::optional<std::string> text =
            value(document, section, std::to_string(kGButtonColourIndex)))
        data.gKeys = parseKeyValue(*text);
    return data;
}

UserModeData readUserModeFile(const std::string& path) {
    const ini::LoadedFile file = ini::loadFile(path);
    // Read whole once a connection or a profile change, and the largest of
    // the files read at the start: its parsed lines are not kept cached.
    ini::forgetFile(path);
    if (file.state != ini::FileState::Loaded)
        return {};
    return parseUserMode(*file.document);
}

namespace {

bool setBrush(ini::IniDocument& document, const std::string& section, const Brush& brush) {
    return document.setValue(section, "tool", brush.tool == BrushTool::BaseColour ? "1" : "0") &&
           document.setValue(section, "jcolor", formatColourValue(brush.baseColour)) &&
           document.setValue(section, "color", formatColourValue(brush.singleColour));
}

bool setKeys(ini::IniDocument& document, const std::string& section,
             std::span<const KeyEntry> entries) {
    for (const KeyEntry& entry : entries)
        if (!document.setValue(section, std::to_string(entry.colourIndex),
                               formatKeyValue(entry.paint)))
            return false;
    return true;
}

}  // namespace

bool saveBrush(const std::string& path, int mode, const Brush& brush) {
    const std::string section = modeSectionName(mode);
    return ini::editFile(
        path, [&](ini::IniDocument& document) { return setBrush(document, section, brush); });
}

bool saveKeys(const std::string& path, int mode, std::span<const KeyEntry> entries) {
    if (entries.empty())
        return true;
    const std::string section = modeSectionName(mode);
    return ini::editFile(
        path, [&](ini::IniDocument& document) { return setKeys(document, section, entries); });
}

bool saveBrushAndKeys(const std::string& path, int mode, const Brush& brush,
                      std::span<const KeyEntry> entries) {
    const std::string section = modeSectionName(mode);
    return ini::editFile(path, [&](ini::IniDocument& document) {
        return setBrush(document, section, brush) && setKeys(document, section, entries);
    });
}

SeedResult seedFromTemplate(const std::string& templatePath, const std::string& userPath) {
    std::vector<std::uint8_t> bytes;
    if (!fs::readFile(templatePath, bytes, kMaxTemplateBytes))
        return SeedResult::TemplateUnreadable;
    const bool written = fs::writeFileAtomically(userPath, bytes);
    ini::forgetFile(userPath);
    return written ? SeedResult::Copied : SeedResult::NotWritten;
}

}  // namespace keyloom
