#pragma once
// The main window's pictures: its background and the buttons' faces, cut
// down to what the buttons show, decoded when first needed and held only
// while they are being shown.
//
// The skin paints the buttons from full-window pictures (normal, hover,
// pressed, disabled and the two toggle faces), yet each button only ever
// draws its own rectangle of each. Decoded, every such picture costs over
// 3 MB and a good part of the window's start-up. So a button receives the
// cut of its own rectangle of a picture the first time it paints a face
// from it. The normal picture is also the window's background: its cuts
// share its pixels. A picture is decoded when a cut of it is first needed
// and held whole only briefly (a mouse moving over the keys needs many cuts
// of the hover picture in a row). Once nothing was painted for that while,
// the pictures and the cuts are dropped together: the window on screen
// keeps what it showed, and a settled window holds none of its pictures
// (the next paint decodes what it needs again). A program started hidden in
// the tray decodes nothing until its window opens.

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
    // How long the pictures and cuts are held after the last paint.
    static constexpr std::chrono::milliseconds kHoldWhole{1000};

    explicit MainPictures(std::chrono::milliseconds hold = kHoldWhole);
    MainPictures(const MainPictures&) = delete;
    MainPictures& operator=(const MainPictures&) = delete;

    // Gives the normal picture already decoded elsewhere (and keeps no
    // reference to it), or a null picture.
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
    // swapped by hand, so that a later cut does not undo the swap), and
    // keeps them until release().
    void complete(controls::CSkinButton& button);
    void release(controls::CSkinButton& button);
    // Gives the button only its normal picture now, for a face drawn from it
    // by hand (a disabled button's dimmed face), and keeps it for good; its
    // other pictures are still cut when first shown, so no other picture is
    // decoded for it.
    void provideNormal(controls::CSkinButton& button);

    // The whole normal picture, for the window's background: decoded (or
    // taken from the normal source) if it is not held, then held like the
    // others. A null picture when it cannot be read.
    const QImage& normalPicture() { return whole(Normal); }

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
    // Drops the pictures held whole, the parts decoded ahead and the cuts of
    // every button but those kept by complete() or provideNormal() (the hold
    // timer does this by itself once nothing was painted for a while).
    void dropPictures();

private:
    struct Dressed {
        controls::CSkinButton* button;
        std::string faces;
        bool toggleFaces;
        QPoint origin;
        std::array<QPixmap, kCount> cuts;
        // Kept by complete() (until release()) or provideNormal() (for
        // good): its pictures are not dropped. One kept for good has a
        // normal cut of its own: a shared one would keep the whole picture.
        bool kept = false;
        bool keptForGood = false;
    };

    // A rectangle of a picture, decoded alone.
    struct Part {
        QRect rect;
        QImage image;
    };

    void provide(controls::CSkinButton& button, controls::SkinFace face);
    Dressed* find(const controls::CSkinButton& button);
    // Keeps the button's pictures for good, its normal cut a copy.
    void keepForGood(Dressed& d);
    // The hold's end: drops everything unless something was painted since
    // the hold began, then waits for the rest of the hold after that paint.
    void holdEnded();
    void dropHeld();
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
    std::array<bool, kCount> unreadable_{};
    std::array<int, kCount> decodings_{};
    std::chrono::milliseconds hold_;
    QTimer holdTimer_;
    // When a dressed button last painted.
    std::chrono::steady_clock::time_point lastPaint_;
    QPixmap arrows_;
};

}  // namespace keyloom::shell
