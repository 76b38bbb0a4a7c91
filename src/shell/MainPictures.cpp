#include "shell/MainPictures.h"

#include <QImage>
#include <QImageReader>
#include <QRect>
#include <algorithm>
#include <memory>

#include "controls/BackgroundDecode.h"
#include "platform/memory/FreedMemory.h"

namespace keyloom::shell {

using controls::CSkinButton;
using controls::SkinFace;
using controls::SkinPictureSet;

namespace {

using Picture = MainPictures::Picture;

constexpr std::array<const char*, MainPictures::kCount> kFiles = {
    MainPictures::kNormalFile, "main_over.jpg",   "main_down.jpg",
    "main_disable.jpg",        "main_color0.jpg", "main_color1.jpg",
};

Picture pictureOfLetter(char letter) {
    switch (letter) {
        case 'H':
            return MainPictures::Hover;
        case 'P':
            return MainPictures::Pressed;
        case 'D':
            return MainPictures::Disabled;
        default:
            return MainPictures::Normal;
    }
}

// The picture of state `s` (0-4: normal, hover, pressed, disabled, selected).
Picture pictureOfState(std::string_view faces, std::size_t s) {
    return pictureOfLetter(s < faces.size() ? faces[s] : 'N');
}

bool showsPicture(std::string_view faces, bool toggleFaces, Picture picture) {
    if (picture == MainPictures::ToggleOff || picture == MainPictures::ToggleOn)
        return toggleFaces;
    for (std::size_t s = 0; s < 5; ++s)
        if (pictureOfState(faces, s) == picture)
            return true;
    return false;
}

// The rectangle of the full-window picture a button draws: from one pixel up
// and left of its picture offset, its own size (see drawPictureSlice).
QRect wantedRect(const CSkinButton& button) {
    return QRect(button.pictureOffset() - QPoint(1, 1), button.size());
}

// Where a button's cuts begin in the full-window picture: the wanted
// rectangle's corner, moved into the picture where it lies above or left of
// it; every cut then holds exactly what the button would draw of the whole.
QPoint cutOrigin(const QRect& wanted) {
    return QPoint(std::max(wanted.left(), 0), std::max(wanted.top(), 0));
}

QPixmap cut(const QImage& picture, const QRect& wanted) {
    const QRect inside = wanted.intersected(picture.rect());
    if (inside.isEmpty())
        return {};
    return QPixmap::fromImage(picture.copy(inside));
}

// A cut that shares the pixels of a picture held as long as the cut (the
// window's background): no copy, and the picture lives as long as the cut.
QPixmap sharedCut(const QImage& picture, const QRect& wanted) {
    const QRect inside = wanted.intersected(picture.rect());
    if (inside.isEmpty())
        return {};
    const int bytesPerPixel = picture.depth() / 8;
    if (bytesPerPixel == 0)
        return cut(picture, wanted);
    const uchar* first =
        picture.constBits() + inside.top() * picture.bytesPerLine() + inside.left() * bytesPerPixel;
    auto keep = std::make_unique<QImage>(picture);
    QImage view(
        first, inside.width(), inside.height(), picture.bytesPerLine(), picture.format(),
        [](void* kept) { std::unique_ptr<QImage>{static_cast<QImage*>(kept)}.reset(); },
        keep.get());
    keep.release();  // now owned by the view's clean-up
    return QPixmap::fromImage(std::move(view));
}

}  // namespace

MainPictures::MainPictures(std::chrono::milliseconds hold) : hold_(hold) {
    holdTimer_.setSingleShot(true);
    holdTimer_.callOnTimeout([this] { holdEnded(); });
}

bool MainPictures::dress(const std::string& skinFolder, NormalSource normal,
                         std::span<const Use> uses, std::string& missing) {
    // A missing or unreadable picture ends the start as before, although
    // the pictures are decoded only later: their headers are read now.
    std::array<QSize, kCount> sizes;
    for (std::size_t p = 0; p < kCount; ++p) {
        QImageReader reader(QString::fromStdString(skinFolder + kFiles[p]));
        sizes[p] = reader.size();
        if (!reader.canRead() || !sizes[p].isValid()) {
            missing = skinFolder + kFiles[p];
            return false;
        }
    }
    QPixmap arrows;
    if (!arrows.load(QString::fromStdString(skinFolder + kArrowFile))) {
        missing = skinFolder + kArrowFile;
        return false;
    }
    arrows_ = arrows;
    sizes_ = sizes;
    folder_ = skinFolder;
    normal_ = std::move(normal);
    dropHeld();
    unreadable_ = {};
    for (const Dressed& d : dressed_)
        QObject::disconnect(d.button, &CSkinButton::painted, &holdTimer_, nullptr);
    dressed_.clear();
    for (const Use& use : uses) {
        if (!use.button)
            continue;
        // A button painting its cuts keeps them held.
        QObject::connect(use.button, &CSkinButton::painted, &holdTimer_,
                         [this] { lastPaint_ = std::chrono::steady_clock::now(); });
        dressed_.push_back({use.button,
                            std::string(use.faces),
                            use.toggleFaces,
                            cutOrigin(wantedRect(*use.button)),
                            {},
                            false,
                            false});
        use.button->setPictureLoader(
            [this](CSkinButton& button, SkinFace face) { provide(button, face); });
    }
    return true;
}

MainPictures::Dressed* MainPictures::find(const CSkinButton& button) {
    const auto d = std::find_if(dressed_.begin(), dressed_.end(),
                                [&](const Dressed& x) { return x.button == &button; });
    return d == dressed_.end() ? nullptr : &*d;
}

void MainPictures::keepForGood(Dressed& d) {
    if (!d.keptForGood && !d.cuts[Normal].isNull())
        d.cuts[Normal] = QPixmap::fromImage(d.cuts[Normal].toImage().copy());
    d.kept = true;
    d.keptForGood = true;
}

void MainPictures::complete(CSkinButton& button) {
    Dressed* d = find(button);
    if (!d)
        return;
    d->kept = true;
    for (std::size_t p = 0; p < kCount; ++p)
        if (showsPicture(d->faces, d->toggleFaces, static_cast<Picture>(p)))
            cutFor(*d, static_cast<Picture>(p));
    applyStatePictures(*d);
    if (d->toggleFaces)
        applyTogglePictures(*d);
}

void MainPictures::release(CSkinButton& button) {
    if (Dressed* d = find(button))
        d->kept = d->keptForGood;
}

void MainPictures::provideNormal(CSkinButton& button) {
    Dressed* d = find(button);
    if (!d)
        return;
    keepForGood(*d);
    if (cutFor(*d, Normal))
        applyStatePictures(*d);
}

void MainPictures::decodePartsAhead(Picture picture, std::span<CSkinButton* const> selectable) {
    if (picture == Normal || !whole_[picture].isNull() || partsAhead_[picture].valid())
        return;
    const auto shows = [&](const Dressed& d, SkinFace face) {
        return pictureOfState(d.faces, static_cast<std::size_t>(face)) == picture;
    };
    // The rectangles of those buttons, joined into bands where their rows
    // overlap: a part costs the rows down to its bottom, far less than the
    // whole picture's memory.
    const QRect full(QPoint(0, 0), sizes_[picture]);
    std::vector<QRect> bands;
    for (const Dressed& d : dressed_) {
        const bool drawn =
            (!d.button->isEnabled() && shows(d, SkinFace::Disabled)) ||
            (std::find(selectable.begin(), selectable.end(), d.button) != selectable.end() &&
             shows(d, SkinFace::Selected));
        const QRect inside = wantedRect(*d.button).intersected(full);
        if (!drawn || inside.isEmpty())
            continue;
        const auto band = std::find_if(bands.begin(), bands.end(), [&](const QRect& b) {
            return b.top() <= inside.bottom() && inside.top() <= b.bottom();
        });
        if (band == bands.end())
            bands.push_back(inside);
        else
            *band = band->united(inside);
    }
    if (bands.empty())
        return;
    // QImage may be decoded on any thread; the pixmaps are cut from it on
    // the window thread.
    partsAhead_[picture] = controls::runInBackground([path = folder_ + kFiles[picture], bands] {
        std::vector<Part> parts;
        for (const QRect& band : bands) {
            QImageReader reader(QString::fromStdString(path));
            reader.setClipRect(band);
            QImage image;
            if (reader.read(&image) && image.size() == band.size())
                parts.push_back({band, std::move(image)});
        }
        return parts;
    });
    holdTimer_.start(controls::kHoldAhead);
}

QPixmap MainPictures::cutFromParts(Picture picture, const QRect& wanted) {
    if (partsAhead_[picture].valid()) {
        parts_[picture] = partsAhead_[picture].get();
        partDecodings_[picture] += static_cast<int>(parts_[picture].size());
    }
    const QRect inside = wanted.intersected(QRect(QPoint(0, 0), sizes_[picture]));
    for (const Part& part : parts_[picture])
        if (!inside.isEmpty() && part.rect.contains(inside))
            return QPixmap::fromImage(part.image.copy(inside.translated(-part.rect.topLeft())));
    return {};
}

void MainPictures::provide(CSkinButton& button, SkinFace face) {
    Dressed* d = find(button);
    if (!d)
        return;
    const bool toggle = face == SkinFace::ToggleOff || face == SkinFace::ToggleOn;
    if (toggle && !d->toggleFaces)
        return;
    const Picture picture = face == SkinFace::ToggleOff ? ToggleOff
                            : face == SkinFace::ToggleOn
                                ? ToggleOn
                                : pictureOfState(d->faces, static_cast<std::size_t>(face));
    // A cut made before is given again: the button lost it to pictures set
    // by hand.
    if (d->cuts[picture].isNull() && !cutFor(*d, picture))
        return;
    if (toggle)
        applyTogglePictures(*d);
    else
        applyStatePictures(*d);
}

bool MainPictures::cutFor(Dressed& d, Picture picture) {
    if (!d.cuts[picture].isNull())
        return true;
    // Cuts are dropped with the pictures, after the hold.
    holdTimer_.start(hold_);
    if (picture != Normal) {
        d.cuts[picture] = cutFromParts(picture, wantedRect(*d.button));
        if (!d.cuts[picture].isNull())
            return true;
    }
    const QImage& full = whole(picture);
    if (full.isNull())
        return false;
    // Cuts of the normal picture share its pixels, which the window paints
    // as its background while the cuts are held; any other picture is held
    // whole less often, so its cuts are copies, as are those of a button
    // kept for good.
    d.cuts[picture] = picture == Normal && !d.keptForGood ? sharedCut(full, wantedRect(*d.button))
                                                          : cut(full, wantedRect(*d.button));
    return true;
}

const QImage& MainPictures::whole(Picture picture) {
    QImage& full = whole_[picture];
    if (full.isNull() && !unreadable_[picture]) {
        if (picture == Normal && normal_)
            full = normal_().toImage();
        if (full.isNull()) {
            full = controls::decodePicture(QString::fromStdString(folder_ + kFiles[picture]));
            // A picture that turns out unreadable is not tried again; its
            // faces stay undrawn.
            if (full.isNull())
                unreadable_[picture] = true;
            else
                ++decodings_[picture];
        }
    }
    if (!full.isNull())
        holdTimer_.start(hold_);
    return full;
}

void MainPictures::holdEnded() {
    // Held for the whole hold after the last paint, no longer.
    const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - lastPaint_);
    if (since < hold_)
        holdTimer_.start(hold_ - since);
    else
        dropPictures();
}

void MainPictures::dropHeld() {
    holdTimer_.stop();
    partsAhead_ = {};
    parts_ = {};
    whole_ = {};
}

void MainPictures::dropPictures() {
    dropHeld();
    // The buttons ask for their cuts again at their next paint.
    for (Dressed& d : dressed_) {
        if (d.kept)
            continue;
        d.cuts = {};
        applyStatePictures(d);
        if (d.toggleFaces)
            applyTogglePictures(d);
    }
    // What decoding and cutting freed, the cuts last, goes back to the
    // system too.
    platform::returnFreedMemory();
}

void MainPictures::applyStatePictures(const Dressed& d) {
    const auto face = [&](std::size_t s) -> const QPixmap& {
        return d.cuts[pictureOfState(d.faces, s)];
    };
    d.button->setPictures(SkinPictureSet{face(0), face(1), face(2), face(3), face(4)},
                          d.button->pictureOffset(), d.origin);
}

void MainPictures::applyTogglePictures(const Dressed& d) {
    d.button->setTogglePictures(d.cuts[ToggleOff], d.cuts[ToggleOn]);
}

}  // namespace keyloom::shell
