#pragma once
// The "SCREEN" section of a skin file: the window's background picture, its
// shape mask (default: the background picture) and, in the main skin file,
// the three web addresses of the link buttons. Picture names are relative to
// the skin file's folder; the paths here are resolved against it.

#include <array>
#include <string>
#include <string_view>

namespace keyloom {

// Used for a link key that is missing from the main skin file.
inline constexpr std::string_view kDefaultWebAddress = "https://keyloom.app/";

struct SkinScreen {
    std::string mainPicture;      // file name as written; empty when missing
    std::string maskPicture;      // file name as written; the "Main" name when missing
    std::string mainPicturePath;  // in the skin file's folder; empty when no name
    std::string maskPicturePath;
};

SkinScreen readSkinScreen(const std::string& skinFile);

// "Link", "Link1", "Link2" in that order. A key present with an empty value
// stays empty (the button then opens nothing).
std::array<std::string, 3> readSkinLinks(const std::string& mainSkinFile);

// Picture offset from section "BUTTONINFO2": x and y of the key (only those
// two of its x,y,w,h are used); a missing key gives (1, 1).
struct PictureOffset {
    int x = 1;
    int y = 1;
};
PictureOffset readPictureOffset(const std::string& skinFile, std::string_view section,
                                std::string_view key);

// "%s%d" names of the arrow offsets, e.g. arrowOffsetKey("UP_ARROW_LEFT", 1).
std::string arrowOffsetKey(std::string_view arrow, int number);

}  // namespace keyloom
