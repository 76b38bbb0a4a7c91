#include "lighting/LightingChange.h"

#include <utility>

namespace keyloom {

std::uint16_t LightingWrite::deviceOffset() const {
    if (area == Area::KeyColours)
        return start;
    return static_cast<std::uint16_t>(profile * static_cast<int>(ProfileRecord::kSize) + start);
}

bool LightingChange::Footprint::covers(const Footprint& other) const {
    return (other.settings & ~settings).none() && (other.colours & ~colours).none();
}

LightingChange::Footprint LightingChange::footprint() const {
    Footprint print;
    for (const LightingWrite& write : writes) {
        if (write.profile < 0)
            continue;
        const auto profile = static_cast<std::size_t>(write.profile);
        for (std::size_t i = 0; i < write.bytes.size(); ++i) {
            if (write.area == LightingWrite::Area::ProfileRecord) {
                const std::size_t at = profile * ProfileRecord::kSize + write.start + i;
                if (at < print.settings.size())
                    print.settings.set(at);
            } else {
                const std::size_t at = profile * KeyColourMap::kProfileBytes + write.start * 3u + i;
                if (at < print.colours.size())
                    print.colours.set(at);
            }
        }
    }
    return print;
}

LightingWrite recordWrite(int profile, std::size_t field, std::vector<std::uint8_t> bytes) {
    return {LightingWrite::Area::ProfileRecord, profile, static_cast<std::uint16_t>(field),
            std::move(bytes)};
}

LightingChange colourBlockChange(const KeyColourMap& colours, int profile) {
    LightingChange change;
    for (std::size_t chunk = 0; chunk < KeyColourMap::kTransferCount; ++chunk) {
        const auto bytes = colours.transferChunk(static_cast<std::size_t>(profile), chunk);
        if (bytes.empty())
            return {};
        change.writes.push_back({LightingWrite::Area::KeyColours,
                                 profile,
                                 static_cast<std::uint16_t>(KeyColourMap::transferFirstKey(chunk)),
                                 {bytes.begin(), bytes.end()}});
    }
    return change;
}

}  // namespace keyloom
