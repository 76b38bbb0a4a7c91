#include "SkinLayout.h"

#include "storage/SkinGeometry.h"
#include "storage/SkinScreen.h"

namespace keyloom::painter {
namespace {

// The key's value as written; nothing when the key is missing (a missing
// key reads as the 1 x 1 default at 1,1).
std::optional<QRect> rectOf(const SkinGeometry& g) {
    if (g.w <= 0 || g.h <= 0) {
        return std::nullopt;
    }
    return QRect(g.x, g.y, g.w, g.h);
}

}  // namespace

std::optional<QRect> SkinLayout::read(const char* section, const char* key) const {
    const SkinGeometry g = readSkinGeometry(skinFile_, section, key);
    if (isDisabledPlacement(g)) {
        return std::nullopt;
    }
    return rectOf(g);
}

std::optional<QRect> SkinLayout::readOffset(const char* section, const char* key) const {
    return rectOf(readSkinGeometry(skinFile_, section, key));
}

std::optional<QRect> SkinLayout::controlArt(const char* key) const {
    const SkinGeometry g = readSkinGeometry(skinFile_, "BUTTONINFO", key);
    if (isDisabledPlacement(g) || g.w <= 0 || g.h <= 0) {
        return std::nullopt;
    }
    const PictureRect shown = pictureRectOf(g);
    return QRect(shown.left, shown.top, shown.width, shown.height);
}

std::optional<QRect> SkinLayout::arrowCell(const char* key) const {
    const PictureOffset offset = readPictureOffset(skinFile_, "BUTTONINFO2", key);
    const auto size = readOffset("BUTTONINFO2", key);
    if (!size) {
        return std::nullopt;
    }
    const PictureRect shown = pictureRectOf(offset.x, offset.y, size->width(), size->height());
    return QRect(shown.left, shown.top, shown.width, shown.height);
}

std::optional<QRect> SkinLayout::artwork(const char* key) const {
    return read("ARTWORK", key);
}

QSize SkinLayout::windowSize() const {
    const auto window = readOffset("ARTWORK", "WINDOW");
    return window ? window->size() : QSize();
}

}  // namespace keyloom::painter
