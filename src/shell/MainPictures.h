#pragma once
// The main window's button pictures, cut down to what the buttons show and
// decoded when first shown.
//
// The skin paints the buttons from full-window pictures (normal, hover,
// pressed, disabled and the two toggle faces), yet each button only ever
// draws its own rectangle of each. Decoded, every such picture costs over
// 3 MB and a good part of the window's start-up. So every picture is
// decoded the first time a button paints a face from it (the normal picture
// is taken from the window's background, which is the same file), each
// button receives the cut of its own rectangle and the full picture is
// dropped again. A program started hidden in the tray decodes none of them
// until its window opens.

#include <QPixmap>
#include <QPoint>
#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "controls/CSkinButton.h"

namespace keyloom::shell {

class MainPictures {
public:
    // A placed button, which picture each of its five states shows (letters
    // N H P D for normal, hover, pressed and disabled, in the order normal,
    // hover, pressed, disabled, selected) and whether it also shows the two
    // toggle faces.
    struct Use {
        controls::CSkinButton* button = nullptr;
        std::string_view faces;
        bool toggleFaces = false;
    };

    static constexpr const char* kNormalFile = "main_normal.jpg";
    static constexpr const char* kArrowFile = "Arrow.jpg";

    MainPictures() = default;
    MainPictures(const MainPictures&) = delete;
    MainPictures& operator=(const MainPictures&) = delete;

    // Gives the normal picture already decoded elsewhere, or a null picture.
    using NormalSource = std::function<QPixmap()>;

    // Checks that every picture in `skinFolder` can be read, loads the arrow
    // picture and lets every button ask for the cut of its rectangle (from
    // its picture offset and size) of each picture when it first paints it.
    // `normal`, when set, is asked for the normal picture before the file
    // is decoded. False, with `missing` set to the picture's path, when a
    // picture cannot be read; the buttons are then left as they were. The
    // buttons must not outlive this object.
    bool dress(const std::string& skinFolder, NormalSource normal, std::span<const Use> uses,
               std::string& missing);

    // Gives the button every picture it uses now (before its pictures are
    // swapped by hand, so that a later decoding does not undo the swap).
    void complete(controls::CSkinButton& button);

    // The arrow indicators' picture, small enough to keep whole.
    const QPixmap& arrows() const { return arrows_; }

    // The pictures, in decoding order.
    enum Picture : std::size_t { Normal, Hover, Pressed, Disabled, ToggleOff, ToggleOn, kCount };
    // Whether a picture was decoded (or tried: a picture that turns out
    // unreadable is not tried again and leaves its faces undrawn).
    bool decoded(Picture picture) const { return tried_[picture]; }

private:
    struct Dressed {
        controls::CSkinButton* button;
        std::string faces;
        bool toggleFaces;
        QPoint origin;
        std::array<QPixmap, kCount> cuts;
    };

    void provide(controls::CSkinButton& button, controls::SkinFace face);
    void decode(Picture picture);
    static void applyStatePictures(const Dressed& d);

    std::string folder_;
    NormalSource normal_;
    std::vector<Dressed> dressed_;
    std::array<bool, kCount> tried_{};
    QPixmap arrows_;
};

}  // namespace keyloom::shell
