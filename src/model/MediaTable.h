#pragma once
// The 18 media actions a key can be given: media index -> USB consumer usage
// sent in a class-3 matrix entry, the key whose name is shown for it, and
// that key's language key.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/KeyTable.h"

namespace keyloom {

struct MediaRow {
    std::uint16_t usage;
    KeyCode keyCode;
    std::string_view nameKey;
};

inline constexpr std::array<MediaRow, 18> MediaTable{{
    {0x0183, 0x16D, "MEDIA_PALYER_1"},
    {0x00CD, 0x122, "MEDIA_PALY_PAUSE_2"},
    {0x00B7, 0x124, "MEDIA_STOP_PALY_3"},
    {0x00B6, 0x110, "MEDIA_PREV_TRACK_4"},
    {0x00B5, 0x119, "MEDIA_Next_TRACK_5"},
    {0x00EA, 0x12E, "MEDIA_V_LOW_6"},
    {0x00E9, 0x130, "MEDIA_V_ADD_7"},
    {0x00E2, 0x120, "MEDIA_MUTE_8"},
    {0x0223, 0x132, "MEDIA_WWW_HOME_9"},
    {0x0227, 0x167, "MEDIA_WWW_REFRESH_10"},
    {0x0226, 0x168, "MEDIA_WWW_STOP_11"},
    {0x0224, 0x16A, "MEDIA_WWW_BACK_12"},
    {0x0225, 0x169, "MEDIA_WWW_FORWARD_13"},
    {0x022A, 0x166, "MEDIA_WWW_FAVORITE_14"},
    {0x0221, 0x165, "MEDIA_WWW_SEARCH_15"},
    {0x0194, 0x16B, "MEDIA_MY_PC_16"},
    {0x0192, 0x121, "MEDIA_CALC_17"},
    {0x018A, 0x16C, "MEDIA_MAIL_18"},
}};

// Media index of the first row with this usage, if any.
std::optional<std::uint32_t> mediaIndexOfUsage(std::uint16_t usage);

// Keyboard function indexes 0-10; index f is named by "FUNC_KEY_DESC" + (f + 1).
inline constexpr std::uint32_t kFunctionCount = 11;

}  // namespace keyloom
