#pragma once
// A profile's user lighting-mode file ("UserDengColor_<p>.userd", ini
// syntax): the current user mode, the ten mode names, and per mode the brush
// (tool, base colour, single colour) and every key's colour with its
// base-group flag, keyed by the key's colour index.
//
// The files are the user's to edit, so every value is checked: a value that
// does not hold the expected numbers gives the default, a number outside
// 0-255 is clamped, a mode outside 0-9 counts as mode 0. A missing or
// unreadable file gives the defaults throughout (every key red and in the
// base group, tool 0, black base and single colours).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "lighting/ColourIndexTable.h"
#include "model/KeyColourMap.h"
#include "platform/ini/IniDocument.h"

namespace keyloom {

inline constexpr int kUserModeCount = 10;
inline constexpr int kUserModeFileProfileCount = 3;
// The template's number in its file name.
inline constexpr int kUserModeTemplateNumber = 3;

enum class BrushTool : std::uint8_t { SingleColour = 0, BaseColour = 1 };

struct Brush {
    BrushTool tool = BrushTool::SingleColour;
    Rgb baseColour;
    Rgb singleColour;
    friend bool operator==(const Brush&, const Brush&) = default;
};

struct KeyPaint {
    Rgb colour{255, 0, 0};
    bool inBaseGroup = true;
    friend bool operator==(const KeyPaint&, const KeyPaint&) = default;
};

struct UserModeData {
    int currentMode = 0;
    std::array<std::string, kUserModeCount> names{"0", "0", "0", "0", "0",
                                                  "0", "0", "0", "0", "0"};  // "0": no name
    Brush brush;
    // Slots 0-104 the key buttons, 105 Fn (ColourIndexTable.h). Keys without
    // a colour position keep the default.
    std::array<KeyPaint, kFileSlotCount> keys{};
    // The G keys' shared position 125, which a base-colour repaint saves:
    // black and in the base group when the file has no entry for it.
    KeyPaint gKeys{{0, 0, 0}, true};
};

// prefix + profile + ".userd"
std::string userModeFilePath(std::string_view prefix, int profile);
std::string modeSectionName(int mode);

// The values of the current mode of a parsed file.
UserModeData parseUserMode(const ini::IniDocument& document);
// Reads the file (the defaults when it is missing or unreadable).
UserModeData readUserModeFile(const std::string& path);

// Field readers, exposed for the checks: "%d,%d,%d" and "%d,%d,%d,%d" with
// each number clamped to 0-255 and the flag taken as set for any non-zero
// number. The default when the text does not hold all the numbers.
Rgb parseColourValue(std::string_view text, Rgb fallback = {});
KeyPaint parseKeyValue(std::string_view text);
std::string formatColourValue(Rgb colour);
std::string formatKeyValue(const KeyPaint& paint);

// Saves tool, base and single colour of `mode`. False when the file could
// not be written.
bool saveBrush(const std::string& path, int mode, const Brush& brush);

struct KeyEntry {
    std::uint8_t colourIndex;
    KeyPaint paint;
};
// Saves the keys' entries in `mode`'s section, all of them in one replace of
// the file. False when the file could not be written.
bool saveKeys(const std::string& path, int mode, std::span<const KeyEntry> entries);
// Both in one replace of the file (a base-colour repaint).
bool saveBrushAndKeys(const std::string& path, int mode, const Brush& brush,
                      std::span<const KeyEntry> entries);

enum class SeedResult {
    Copied,
    TemplateUnreadable,  // the user file was left as it is
    NotWritten,          // the user file could not be replaced; it is as it was
};
// Copies the template byte for byte over the user file. The template is read
// first, so a template that cannot be read leaves the user file alone.
SeedResult seedFromTemplate(const std::string& templatePath, const std::string& userPath);

}  // namespace keyloom
