#include "storage/SkinScreen.h"

#include "platform/ini/Ini.h"
#include "storage/SkinGeometry.h"

namespace keyloom {

namespace {

std::string folderOf(const std::string& file) {
    auto slash = file.find_last_of('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string resolve(const std::string& skinFile, const std::string& name) {
    if (name.empty())
        return {};
    if (name.front() == '/')
        return name;
    return folderOf(skinFile) + name;
}

}  // namespace

SkinScreen readSkinScreen(const std::string& skinFile) {
    SkinScreen screen;
    screen.mainPicture = ini::readString(skinFile, "SCREEN", "Main", "");
    screen.maskPicture = ini::readString(skinFile, "SCREEN", "Mask", screen.mainPicture);
    screen.mainPicturePath = resolve(skinFile, screen.mainPicture);
    screen.maskPicturePath = resolve(skinFile, screen.maskPicture);
    return screen;
}

std::array<std::string, 3> readSkinLinks(const std::string& mainSkinFile) {
    return {ini::readString(mainSkinFile, "SCREEN", "Link", kDefaultWebAddress),
            ini::readString(mainSkinFile, "SCREEN", "Link1", kDefaultWebAddress),
            ini::readString(mainSkinFile, "SCREEN", "Link2", kDefaultWebAddress)};
}

PictureOffset readPictureOffset(const std::string& skinFile, std::string_view section,
                                std::string_view key) {
    SkinGeometry g = readSkinGeometry(skinFile, section, key);
    return {g.x, g.y};
}

std::string arrowOffsetKey(std::string_view arrow, int number) {
    return std::string(arrow) + std::to_string(number);
}

}  // namespace keyloom
