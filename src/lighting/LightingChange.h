#pragma once
// One lighting change as the keyboard receives it: a few writes sent between
// one begin and one end command. Writes go either into a profile's lighting
// record or into a profile's block of the key colour area.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/KeyColourMap.h"
#include "model/ProfileRecord.h"

namespace keyloom {

struct LightingWrite {
    enum class Area : std::uint8_t { ProfileRecord, KeyColours };

    Area area = Area::ProfileRecord;
    int profile = 0;
    // Field offset within the profile's record, or the first key colour index.
    std::uint16_t start = 0;
    std::vector<std::uint8_t> bytes;

    // Offset within the profile-settings area (profile x 42 + field) or the
    // key colour index (the link adds the profile's block itself).
    std::uint16_t deviceOffset() const;

    friend bool operator==(const LightingWrite&, const LightingWrite&) = default;
};

struct LightingChange {
    std::vector<LightingWrite> writes;

    bool empty() const { return writes.empty(); }
    // Every byte of the keyboard this change writes, as positions in the
    // profile-settings area and in the key colour area.
    struct Footprint {
        std::bitset<ProfileRecord::kAreaSize> settings;
        std::bitset<KeyColourMap::kProfileCount * KeyColourMap::kProfileBytes> colours;
        // True when every byte of `other` is also written here.
        bool covers(const Footprint& other) const;
    };
    Footprint footprint() const;

    friend bool operator==(const LightingChange&, const LightingChange&) = default;
};

// A change of `bytes` at `field` of `profile`'s lighting record.
LightingWrite recordWrite(int profile, std::size_t field, std::vector<std::uint8_t> bytes);
// The colours of `profile`'s first 144 keys as eight 54-byte writes.
LightingChange colourBlockChange(const KeyColourMap& colours, int profile);

}  // namespace keyloom
