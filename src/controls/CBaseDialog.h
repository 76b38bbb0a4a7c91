#pragma once
// The base of every skinned window: a frameless dialog that paints its
// background picture at natural size from the top-left corner, takes the
// picture's size, takes its shape from the mask picture (pure white is cut
// out) and can be dragged by its background once the pointer has moved a
// few pixels with the button held. It owns the window's skinned buttons
// (SkinButtonSet), so that each window only lists them and their pictures.

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRegion>
#include <future>
#include <optional>
#include <string>

#include "controls/SkinButtonSet.h"

class QPainter;

namespace keyloom::controls {

class CBaseDialog : public QDialog {
    Q_OBJECT

public:
    explicit CBaseDialog(QWidget* parent = nullptr);

    // When the skin's pictures are decoded: at once, or when they are first
    // needed (the background when painted, the mask when the window is
    // shown), so that a window that starts hidden costs no decoding until
    // it opens. The window takes the background's size at once either way.
    enum class SkinPictures { Now, WhenNeeded };

    // Skins the window from the "SCREEN" section of `skinFile`: background
    // picture "Main", shape mask "Mask" (default: the background picture),
    // both in the skin file's folder. Returns whether the background was
    // loaded (WhenNeeded: whether it can be read); without it the window
    // keeps its size and paints no background. A mask that cannot be loaded
    // leaves the window rectangular.
    bool loadSkin(const std::string& skinFile, SkinPictures when = SkinPictures::Now);
    // Starts decoding the pictures left for later (and the mask's shape) on a
    // worker thread, for a window that is going to open: they are ready by
    // the time it first shows, and the first need only takes the result.
    void decodeAhead();
    // Drops a background decoded ahead and not used yet; it is decoded again
    // when needed (the hold's timer does this by itself).
    void dropUnusedAhead() { backgroundAhead_ = {}; }

    // The window takes the picture's size.
    void setBackground(const QPixmap& picture);
    // The background picture, decoded first if it was left for later.
    const QPixmap& background() const;
    // The same, for a window that holds its background elsewhere: when it
    // was left for later, the window keeps no reference to it, and the next
    // need decodes it again.
    QPixmap takeBackground();
    // Shapes the window from a mask picture; a null picture removes the shape.
    void setMaskPicture(const QImage& mask);

    // Opens modally and returns when the window closed, or opens without
    // waiting (tests); both false, with the window left closed, when
    // prepareToOpen() refuses.
    bool run();
    bool openWithoutWaiting();

    // The window's skinned buttons, by control id.
    SkinButtonSet& skinButtons() { return skinButtons_; }
    const SkinButtonSet& skinButtons() const { return skinButtons_; }
    // Takes the skin folder's program icon as the window's icon (none when
    // it is missing) and returns it for the window's own pictures.
    QPixmap useProgramIcon(const std::string& skinFolder);
    // The same from the icon decoded elsewhere (programIconFile).
    void useProgramIcon(const QImage& icon);

protected:
    // Readies the window for an opening (its pictures, texts and state);
    // false keeps it closed.
    virtual bool prepareToOpen() { return true; }

    void paintEvent(QPaintEvent* event) override;
    // Draws the window's background; a window that holds its background
    // elsewhere draws that instead.
    virtual void paintBackground(QPainter& painter);
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void applyMask(const QRegion& region);

    mutable QPixmap background_;
    // Pictures left for later: decoded on first need, then cleared.
    mutable std::string pendingBackground_;
    std::string pendingMask_;
    // Results of decodeAhead(), taken on first need.
    mutable std::future<QImage> backgroundAhead_;
    std::future<std::optional<QRegion>> maskAhead_;
    // Where the left button went down on the background (global), while it
    // is held; the window moves once the pointer has travelled from there.
    std::optional<QPoint> pressPoint_;
    // Where the window was grabbed, relative to its top-left corner, for a
    // move by hand (when the window system cannot move it for us).
    QPoint dragOffset_;
    bool moving_ = false;
    SkinButtonSet skinButtons_;
};

}  // namespace keyloom::controls
