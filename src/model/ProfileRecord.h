#pragma once
// One profile's 42-byte lighting record of the profile-settings area, and the
// lighting state the lighting panel works from, decoded out of it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace keyloom {

struct ProfileRecord {
    static constexpr std::size_t kSize = 42;
    static constexpr std::size_t kProfileCount = 3;
    // Records of profiles 0, 1, 2 lie at p * 42 in the profile-settings area.
    static constexpr std::size_t kAreaSize = kSize * kProfileCount;

    // Field offsets within the record.
    static constexpr std::size_t kEffect = 0;
    static constexpr std::size_t kBrightness = 1;
    static constexpr std::size_t kSpeed = 2;
    static constexpr std::size_t kDirection = 3;
    static constexpr std::size_t kColourful = 4;
    static constexpr std::size_t kMainColour = 5;  // red, green, blue
    static constexpr std::size_t kReportRate = 15;
    static constexpr std::size_t kColourChoice = 17;
    static constexpr std::size_t kEffect7Random = 18;
    static constexpr std::size_t kReactionTrigger = 19;
    static constexpr std::size_t kSecondColour = 25;
    static constexpr std::size_t kSecondRandom = 28;
    static constexpr std::size_t kThirdColour = 30;
    static constexpr std::size_t kThirdRandom = 33;

    static constexpr std::uint8_t kMaxReportRate = 3;
    // Reports per second of report-rate steps 0-3.
    static constexpr std::array<int, kMaxReportRate + 1> kReportRatesHz{125, 250, 500, 1000};
    static constexpr std::uint8_t kRandomColourEffect = 7;

    std::array<std::uint8_t, kSize> bytes{};

    // Takes the first 42 bytes of a reply (the rest is ignored); false when
    // the reply is shorter (the record is then left unchanged).
    bool assign(std::span<const std::uint8_t> reply);
};

// The three profiles' records, in profile order.
using ProfileRecords = std::array<ProfileRecord, ProfileRecord::kProfileCount>;

// The lighting profile's record as the lighting panel uses it. Colours are
// 0x00BBGGRR.
struct LightingState {
    std::uint8_t effect = 0;
    std::uint8_t brightness = 0;
    std::uint8_t speed = 0;
    std::uint8_t direction = 0;
    std::uint8_t colourChoice = 0;
    std::uint8_t reportRate = 0;
    bool colourful = false;
    bool singleKeyTrigger = true;  // reaction trigger 0
    bool gridTrigger = false;      // reaction trigger 1
    bool secondRandom = false;
    bool thirdRandom = false;
    bool effect7Random = false;
    std::uint32_t mainColour = 0;
    std::uint32_t secondColour = 0;
    std::uint32_t thirdColour = 0;

    friend bool operator==(const LightingState&, const LightingState&) = default;
};

// Decodes `record` into `state`. A report rate above 3 is taken as 3. The
// effect-7 random flag (read only for effect 7) and the reaction trigger are
// taken only when they hold 0 or 1; any other byte keeps the previous value
// in `state`, which is why the state is updated in place.
void decodeLightingState(const ProfileRecord& record, LightingState& state);

// 0x00BBGGRR from three bytes red, green, blue at `offset` of the record.
std::uint32_t colourAt(const ProfileRecord& record, std::size_t offset);

}  // namespace keyloom
