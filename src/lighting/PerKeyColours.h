#pragma once
// The per-key colours in memory: the key colour mirror of all three
// profiles, each key's base-group flag per profile, and the brush of the
// lighting profile's current user mode. Plain logic: the caller saves the
// entries and sends the writes these operations return.

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lighting/ColourIndexTable.h"
#include "lighting/LightingChange.h"
#include "lighting/UserModeFile.h"
#include "model/KeyColourMap.h"

namespace keyloom {

class PerKeyColours {
public:
    const KeyColourMap& mirror() const { return mirror_; }
    KeyColourMap& mirror() { return mirror_; }
    const Brush& brush() const { return brush_; }
    int currentMode() const { return currentMode_; }
    const std::array<std::string, kUserModeCount>& modeNames() const { return names_; }

    bool inBaseGroup(int profile, int controlId) const;
    // The colour the key shows for `profile` (black for a key without a
    // position).
    Rgb keyColour(int profile, int controlId) const;

    // Takes a profile's file contents: its keys and the G keys' shared
    // position into the mirror and flags;
    // the brush, mode and names become the current ones.
    void load(int profile, const UserModeData& data);

    struct Painted {
        std::uint8_t colourIndex;
        KeyPaint paint;
        LightingChange change;  // the key's three bytes
    };
    // Paints the key with the brush for `profile`; empty for a key that is
    // not paintable.
    std::optional<Painted> paintKey(int profile, int controlId);

    // New base colour: the keys of `profile`'s base group take it. Returns the
    // file entries that changed, in repaint order (key buttons, Fn, G
    // buttons), each colour index once; empty when the colour is the one held.
    std::vector<KeyEntry> setBaseColour(int profile, Rgb colour);
    void setSingleColour(Rgb colour) { brush_.singleColour = colour; }
    void setTool(BrushTool tool) { brush_.tool = tool; }

    // For every profile and key: flag = (mirror colour == base colour).
    void markBaseGroup();

private:
    static std::size_t flagAt(int profile, std::size_t slot) {
        return static_cast<std::size_t>(profile) * kKeySlotCount + slot;
    }

    KeyColourMap mirror_;
    std::bitset<KeyColourMap::kProfileCount * kKeySlotCount> flags_;
    Brush brush_;
    int currentMode_ = 0;
    std::array<std::string, kUserModeCount> names_{};
};

}  // namespace keyloom
