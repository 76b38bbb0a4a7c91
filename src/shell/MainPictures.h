#pragma once
// The main window's button pictures, cut down to what the buttons show and
// decoded when first shown.
//
// The skin paints the buttons from full-window pictures (normal, hover,
// pressed, disabled and the two toggle faces), yet each button only ever
// draws its own rectangle of each. Decoded, every such picture costs over
// 3 MB and a good part of the window's start-up. So a button receives the
// cut of its own rectangle of a picture the first time it paints a face
// from it. The normal picture is the window's background, which stays in
// memory anyway, and its cuts share its pixels; any other picture is
// decoded when a cut is first needed and held whole only briefly (a mouse
// moving over the keys needs many cuts of the hover picture in a row), then
// dropped. A program started hidden in the tray decodes nothing until its
// window opens.

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <array>
#include <chrono>
#include <functional>
#include <future>
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
    // How long a decoded picture is held whole after its last use.
    static constexpr std::chrono::milliseconds kHoldWhole{1000};

    MainPictures();
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
    // swapped by hand, so that a later cut does not undo the swap).
    void complete(controls::CSkinButton& button);
    // Gives the button only its normal picture now, for a face drawn from it
    // by hand (a disabled button's dimmed face); its other pictures are still
    // cut when first shown, so no other picture is decoded for it.
    void provideNormal(controls::CSkinButton& button);

    // The arrow indicators' picture, small enough to keep whole.
    const QPixmap& arrows() const { return arrows_; }

    // The pictures, in decoding order.
    enum Picture : std::size_t { Normal, Hover, Pressed, Disabled, ToggleOff, ToggleOn, kCount };
    // Starts decoding, on a worker thread, only the parts of the picture
    // that the first frame draws, a band of rows at a time: those of the
    // buttons whose disabled face it is and that are disabled now, and of
    // the buttons in `selectable` whose selected face it is (which of them
    // is selected is not known yet). The first frame needs a few buttons of
    // a picture, and decoding it whole costs several times as much. A button
    // that needs the picture later gets its cut from the whole picture as
    // before. Call after dress().
    void decodePartsAhead(Picture picture, std::span<controls::CSkinButton* const> selectable);

    // Whether the picture is held whole or parts of it decoded ahead now,
    // and how often it was decoded whole.
    bool heldWhole(Picture picture) const { return !whole_[picture].isNull(); }
    bool heldAhead(Picture picture) const {
        return partsAhead_[picture].valid() || !parts_[picture].empty();
    }
    int decodings(Picture picture) const { return decodings_[picture]; }
    // How many parts of the picture were decoded ahead.
    int partDecodings(Picture picture) const { return partDecodings_[picture]; }
    // Drops the pictures held whole and the parts decoded ahead (the hold
    // timer does this by itself).
    void dropWholePictures();

private:
    struct Dressed {
        controls::CSkinButton* button;
        std::string faces;
        bool toggleFaces;
        QPoint origin;
        std::array<QPixmap, kCount> cuts;
    };

    // A rectangle of a picture, decoded alone.
    struct Part {
        QRect rect;
        QImage image;
    };

    void provide(controls::CSkinButton& button, controls::SkinFace face);
    // The cut of `wanted` from a part decoded ahead that holds all of it.
    QPixmap cutFromParts(Picture picture, const QRect& wanted);
    // Cuts the button's part of the picture unless it has it; false when the
    // picture cannot be decoded.
    bool cutFor(Dressed& d, Picture picture);
    const QImage& whole(Picture picture);
    static void applyStatePictures(const Dressed& d);
    static void applyTogglePictures(const Dressed& d);

    std::string folder_;
    NormalSource normal_;
    std::vector<Dressed> dressed_;
    std::array<QImage, kCount> whole_;
    std::array<std::future<std::vector<Part>>, kCount> partsAhead_;
    std::array<std::vector<Part>, kCount> parts_;
    std::array<QSize, kCount> sizes_;
    std::array<int, kCount> partDecodings_{};
    // The normal picture held is the background given, not a decoding.
    bool normalShared_ = false;
    std::array<bool, kCount> unreadable_{};
    std::array<int, kCount> decodings_{};
    QTimer holdTimer_;
    QPixmap arrows_;
};

}  // namespace keyloom::shell
