#include "controls/SkinReaders.h"

#include "storage/SkinGeometry.h"
#include "storage/SkinScreen.h"

namespace keyloom::controls {

void readSkinControl(CSkinButton& control, const std::string& skinFile, std::string_view section,
                     std::string_view key, const SkinPictureSet& pictures) {
    const SkinGeometry g = readSkinGeometry(skinFile, section, key);
    control.setGeometry(g.x, g.y, g.w, g.h);
    control.setPictures(pictures, QPoint(g.x, g.y));
    if (isDisabledPlacement(g)) {
        control.setEnabled(false);
    }
}

void placeControl(QWidget& control, const std::string& skinFile, std::string_view section,
                  std::string_view key) {
    const SkinGeometry g = readSkinGeometry(skinFile, section, key);
    control.setGeometry(g.x, g.y, g.w, g.h);
}

void placeControlWithSource(CSkinButton& control, const std::string& skinFile,
                            std::string_view section, std::string_view key,
                            std::string_view sourceSection, std::string_view sourceKey,
                            const QPixmap& picture) {
    placeControl(control, skinFile, section, key);
    const PictureOffset offset = readPictureOffset(skinFile, sourceSection, sourceKey);
    control.setPictures(SkinPictureSet::uniform(picture), QPoint(offset.x, offset.y));
}

void moveControl(QWidget& control, const std::string& skinFile, std::string_view section,
                 std::string_view key) {
    const SkinGeometry g = readSkinGeometry(skinFile, section, key);
    control.move(g.x, g.y);
    control.update();
}

}  // namespace keyloom::controls
