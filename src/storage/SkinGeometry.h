#pragma once
// Control geometry from skin files: each control key holds "x,y,w,h" - the
// control's left and top edge in the window's client area and its size. A
// missing key reads as "1,1,1,1,x" (a 1 x 1 control at (1, 1)); a skinned
// button at x = 1 and y = 1 is disabled, so a skin hides a button by leaving
// its key out. The control shows the w x h rectangle of its state pictures
// whose top-left corner is one pixel up and left of its picture offset.

#include <string>
#include <string_view>

namespace keyloom {

inline constexpr std::string_view kMissingGeometry = "1,1,1,1,x";

struct SkinGeometry {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;

    bool operator==(const SkinGeometry&) const = default;
};

struct PictureRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PictureRect&) const = default;
};

// Parses like "%d,%d,%d,%d": each number may have blanks and a sign before
// it, each comma must follow its number directly, and the text after the
// fourth number is ignored. Numbers that fail to parse (and all after them)
// are 0; numbers beyond the int range are clamped; a negative width or
// height counts as 0.
SkinGeometry parseSkinGeometry(std::string_view value);

// The geometry of `key` in `section` of the skin file.
SkinGeometry readSkinGeometry(const std::string& skinFile, std::string_view section,
                              std::string_view key);

// Buttons skinned from their geometry are disabled at (1, 1).
inline bool isDisabledPlacement(const SkinGeometry& g) {
    return g.x == 1 && g.y == 1;
}

// The part of a state picture shown by a control of size w x h whose picture
// offset is (x, y).
inline PictureRect pictureRectOf(int offsetX, int offsetY, int w, int h) {
    return {offsetX - 1, offsetY - 1, w, h};
}
inline PictureRect pictureRectOf(const SkinGeometry& g) {
    return pictureRectOf(g.x, g.y, g.w, g.h);
}

// Skin key of a key button: "KEY_%03X" of the scan code folded into one
// byte (codes below 0x100 as they are, extended codes 0x1NN as 0x80 + NN).
std::string keyButtonSkinKey(unsigned keyCode);

}  // namespace keyloom
