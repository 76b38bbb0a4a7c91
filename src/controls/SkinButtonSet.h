#pragma once
// The skinned buttons of a window, by control id: each placed from the skin
// file's BUTTONINFO section, owned here and dressed from a picture set, so
// that a window only lists its buttons and the pictures they wear.

#include <QPixmap>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "controls/CSkinButton.h"
#include "controls/SkinPictureSet.h"

class QWidget;

namespace keyloom::controls {

// The picture file of each face; a name may stand for several faces.
struct SkinFaceFiles {
    std::string_view normal, hover, pressed, disabled, selected;
};

class SkinButtonSet {
public:
    // The buttons are children of `window`.
    explicit SkinButtonSet(QWidget& window) : window_(window) {}
    SkinButtonSet(const SkinButtonSet&) = delete;
    SkinButtonSet& operator=(const SkinButtonSet&) = delete;

    // A click on any button of the set reaches `handler` with the button's id.
    void setClickHandler(std::function<void(int id)> handler) { clicked_ = std::move(handler); }

    // Creates button `id` where `skinKey` places it, showing `pictures`
    // from its own place (disabled where the skin leaves the key out).
    CSkinButton& add(int id, const std::string& skinFile, std::string_view skinKey,
                     const SkinPictureSet& pictures = {});
    // nullptr for an id the set does not hold.
    CSkinButton* find(int id) const;
    // Every button shows `pictures`, each from its own place.
    void dressAll(const SkinPictureSet& pictures);
    // Dresses every button from the faces' files in `folder`, decoded at the
    // first call that finds them all; false with `missing` as loadPictureSet.
    bool dressAllFrom(const std::string& folder, const SkinFaceFiles& files, std::string& missing);

    const std::map<int, std::unique_ptr<CSkinButton>>& all() const { return buttons_; }

private:
    QWidget& window_;
    std::function<void(int)> clicked_;
    bool dressedFromFiles_ = false;
    std::map<int, std::unique_ptr<CSkinButton>> buttons_;
};

// Loads the five faces from `folder`, each file decoded once. False, with
// `missing` the path of the first file that cannot be read, leaves `set`
// as it was.
bool loadPictureSet(const std::string& folder, const SkinFaceFiles& files, SkinPictureSet& set,
                    std::string& missing);

// The program icon of the skin folder ("keyloom.png"), and its file; null
// when missing.
QPixmap programIcon(const std::string& skinFolder);
std::string programIconFile(const std::string& skinFolder);

}  // namespace keyloom::controls
