#include "model/ProfileRecord.h"

#include <algorithm>

namespace keyloom {

bool ProfileRecord::assign(std::span<const std::uint8_t> reply) {
    if (reply.size() < kSize) {
        return false;
    }
    std::copy_n(reply.begin(), kSize, bytes.begin());
    return true;
}

std::uint32_t colourAt(const ProfileRecord& record, std::size_t offset) {
    if (offset + 3 > ProfileRecord::kSize) {
        return 0;
    }
    return static_cast<std::uint32_t>(record.bytes[offset]) |
           (static_cast<std::uint32_t>(record.bytes[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(record.bytes[offset + 2]) << 16);
}

void decodeLightingState(const ProfileRecord& record, LightingState& state) {
    const auto& b = record.bytes;
    state.effect = b[ProfileRecord::kEffect];
    state.brightness = b[ProfileRecord::kBrightness];
    state.speed = b[ProfileRecord::kSpeed];
    state.direction = b[ProfileRecord::kDirection];
    state.colourful = b[ProfileRecord::kColourful] != 0;
    state.colourChoice = b[ProfileRecord::kColourChoice];
    state.reportRate = std::min(b[ProfileRecord::kReportRate], ProfileRecord::kMaxReportRate);

    const std::uint8_t random7 = b[ProfileRecord::kEffect7Random];
    if (state.effect == ProfileRecord::kRandomColourEffect && random7 <= 1) {
        state.effect7Random = random7 == 1;
    }
    const std::uint8_t trigger = b[ProfileRecord::kReactionTrigger];
    if (trigger <= 1) {
        state.singleKeyTrigger = trigger == 0;
        state.gridTrigger = trigger == 1;
    }

    state.secondRandom = b[ProfileRecord::kSecondRandom] != 0;
    state.thirdRandom = b[ProfileRecord::kThirdRandom] != 0;
    state.mainColour = colourAt(record, ProfileRecord::kMainColour);
    state.secondColour = colourAt(record, ProfileRecord::kSecondColour);
    state.thirdColour = colourAt(record, ProfileRecord::kThirdColour);
}

}  // namespace keyloom
