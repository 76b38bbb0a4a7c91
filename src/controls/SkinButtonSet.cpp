#include "controls/SkinButtonSet.h"

#include <QWidget>
#include <array>

#include "controls/SkinReaders.h"

namespace keyloom::controls {

CSkinButton& SkinButtonSet::add(int id, const std::string& skinFile, std::string_view skinKey,
                                const SkinPictureSet& pictures) {
    auto button = std::make_unique<CSkinButton>(&window_);
    readSkinControl(*button, skinFile, "BUTTONINFO", skinKey, pictures);
    // The handler is looked up at click time: it may be set after the buttons.
    QObject::connect(button.get(), &CSkinButton::clicked, button.get(), [this, id] {
        if (clicked_)
            clicked_(id);
    });
    CSkinButton& added = *button;
    buttons_[id] = std::move(button);
    return added;
}

CSkinButton* SkinButtonSet::find(int id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second.get();
}

void SkinButtonSet::dressAll(const SkinPictureSet& pictures) {
    for (auto& [id, button] : buttons_)
        button->setPictures(pictures, button->pictureOffset());
}

bool SkinButtonSet::dressAllFrom(const std::string& folder, const SkinFaceFiles& files,
                                 std::string& missing) {
    if (dressedFromFiles_)
        return true;
    SkinPictureSet faces;
    if (!loadPictureSet(folder, files, faces, missing))
        return false;
    dressAll(faces);
    dressedFromFiles_ = true;
    return true;
}

bool loadPictureSet(const std::string& folder, const SkinFaceFiles& files, SkinPictureSet& set,
                    std::string& missing) {
    const std::array<std::string_view, 5> names{files.normal, files.hover, files.pressed,
                                                files.disabled, files.selected};
    std::map<std::string_view, QPixmap> decoded;
    for (std::string_view name : names) {
        if (decoded.count(name))
            continue;
        const std::string path = folder + std::string(name);
        QPixmap picture(QString::fromStdString(path));
        if (picture.isNull()) {
            missing = path;
            return false;
        }
        decoded.emplace(name, std::move(picture));
    }
    set = {decoded[files.normal], decoded[files.hover], decoded[files.pressed],
           decoded[files.disabled], decoded[files.selected]};
    return true;
}

std::string programIconFile(const std::string& skinFolder) {
    return skinFolder + "keyloom.png";
}

QPixmap programIcon(const std::string& skinFolder) {
    return QPixmap(QString::fromStdString(programIconFile(skinFolder)));
}

}  // namespace keyloom::controls
