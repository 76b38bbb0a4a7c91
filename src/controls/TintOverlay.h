#pragma once
// A key face with its lighting tint: the face's slice of the skin picture,
// lightened in screen mode by the tint colour through the rounded key shape
// (antialiased once per size). On a light colour the face is inverted under
// the colour instead, so the light legends turn dark and stay legible. The preview recolours every
// key twenty times a second; blending here in plain integer steps costs a fraction of what the
// paint engine's screen mode takes for the same pixels.

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <cstdint>
#include <vector>

namespace keyloom::controls {

class TintOverlay {
public:
    // The slice of `picture` a button of `size` shows (as drawPictureSlice
    // draws it) with `colour` (0xRRGGBB) blended over it; premultiplied.
    const QImage& picture(const QPixmap& picture, QPoint pictureOffset, QPoint pictureOrigin,
                          QSize size, QRgb colour);
    // Whether the last picture covers every pixel, so that it can be copied
    // rather than blended onto what lies beneath.
    bool opaque() const { return opaque_; }

private:
    void drawShape(QSize size);
    void drawFace(const QPixmap& picture, QPoint pictureOffset, QPoint pictureOrigin, QSize size);
    void prepareBlend();

    QImage shape_;  // the shape's coverage in alpha
    QImage face_;   // the untinted face
    QImage tinted_;
    // Per pixel: the face with the blended alpha, and the weights the colour
    // is multiplied by (a x (255 - d) / 255 per channel, one byte each, laid
    // out as the channels are): two words a pixel to read on every tick.
    std::vector<std::uint32_t> base_;
    // The same for the inverted face: the face's channels weakened by the
    // coverage, d x (255 - a) / 255; the weights are the same.
    std::vector<std::uint32_t> darkBase_;
    std::vector<std::uint32_t> weights_;
    std::int64_t faceKey_ = 0;
    QPoint faceOffset_;
    QPoint faceOrigin_;
    QRgb colour_ = 0;
    bool opaque_ = false;
};

}  // namespace keyloom::controls
