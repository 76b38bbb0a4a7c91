// Reads arbitrary bytes as a user lighting-mode file, as loading a profile's
// user mode does, and checks that what comes out is in range and that saving
// it and reading it back gives the same values.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "lighting/UserModeFile.h"
#include "platform/ini/IniDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace keyloom;
    ini::IniDocument document = ini::IniDocument::parse(std::span<const std::uint8_t>(data, size));
    const UserModeData read = parseUserMode(document);
    if (read.currentMode < 0 || read.currentMode >= kUserModeCount) {
        __builtin_trap();
    }

    // Write the values back the way painting and the brush pickers do.
    const std::string section = modeSectionName(read.currentMode);
    ini::IniDocument written;
    written.setValue("PRESENTMODE", "mode", std::to_string(read.currentMode));
    written.setValue(section, "tool", read.brush.tool == BrushTool::BaseColour ? "1" : "0");
    written.setValue(section, "jcolor", formatColourValue(read.brush.baseColour));
    written.setValue(section, "color", formatColourValue(read.brush.singleColour));
    const auto& keys = colourKeys();
    for (std::size_t slot = 0; slot < kFileSlotCount; ++slot) {
        if (keys[slot].colourIndex != kNoColourIndex) {
            written.setValue(section, std::to_string(keys[slot].colourIndex),
                             formatKeyValue(read.keys[slot]));
        }
    }
    const std::vector<std::uint8_t> bytes = written.serialize();
    const UserModeData again = parseUserMode(ini::IniDocument::parse(bytes));
    if (again.currentMode != read.currentMode || !(again.brush == read.brush)) {
        __builtin_trap();
    }
    for (std::size_t slot = 0; slot < kFileSlotCount; ++slot) {
        if (!(again.keys[slot] == read.keys[slot])) {
            __builtin_trap();
        }
    }
    return 0;
}
