#include "controls/TintOverlay.h"

#include <QPainter>

#include "controls/LegendContrast.h"
#include "controls/SkinSlice.h"

namespace keyloom::controls {

namespace {

// a x b / 255, rounded, for bytes.
inline unsigned mul255(unsigned a, unsigned b) {
    const unsigned t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

// Screen mode for one byte: s + d - s x d / 255.
inline unsigned screen(unsigned s, unsigned d) {
    return s + d - mul255(s, d);
}

// The share of the colour a channel d takes through coverage a.
inline std::uint32_t weight(unsigned a, unsigned d) {
    return mul255(a, 255 - d);
}

}  // namespace

void TintOverlay::drawShape(QSize size) {
    shape_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    shape_.fill(Qt::transparent);
    QPainter painter(&shape_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(shape_.rect()).adjusted(3, 3, -3, -3), 5, 5);
}

void TintOverlay::drawFace(const QPixmap& picture, QPoint pictureOffset, QPoint pictureOrigin,
                           QSize size) {
    face_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    face_.fill(Qt::transparent);
    QPainter painter(&face_);
    drawPictureSlice(painter, picture, pictureOffset, size, pictureOrigin);
    faceKey_ = picture.cacheKey();
    faceOffset_ = pictureOffset;
    faceOrigin_ = pictureOrigin;
}

void TintOverlay::prepareBlend() {
    // Screen mode through the shape's coverage a, on premultiplied pixels:
    //   out = d + (c x a / 255) x (255 - d) / 255   for each channel c
    //   alpha = a + da - a x da / 255
    // The colour is the only part that changes from tick to tick, so the
    // weight a x (255 - d) of each channel and the alpha are kept per pixel.
    // The inverted face under a light colour blends the colour times the
    // face's complement in through the coverage:
    //   out = d x (255 - a) / 255 + (c x a / 255) x (255 - d) / 255
    // which takes the same weights on a base of its own.
    const auto pixels = static_cast<std::size_t>(face_.width()) * face_.height();
    base_.assign(pixels, 0);
    darkBase_.assign(pixels, 0);
    weights_.assign(pixels, 0);
    std::size_t i = 0;
    opaque_ = true;
    for (int y = 0; y < face_.height(); ++y) {
        const QRgb* cover = reinterpret_cast<const QRgb*>(shape_.constScanLine(y));
        const QRgb* face = reinterpret_cast<const QRgb*>(face_.constScanLine(y));
        for (int x = 0; x < face_.width(); ++x, ++i) {
            const unsigned a = qAlpha(cover[x]);
            const QRgb d = face[x];
            base_[i] = (screen(a, qAlpha(d)) << 24) | (d & 0xFFFFFFu);
            const unsigned keep = 255 - a;
            darkBase_[i] = (base_[i] & 0xFF000000u) |
                           (mul255(static_cast<unsigned>(qRed(d)), keep) << 16) |
                           (mul255(static_cast<unsigned>(qGreen(d)), keep) << 8) |
                           mul255(static_cast<unsigned>(qBlue(d)), keep);
            opaque_ = opaque_ && (base_[i] >> 24) == 255;
            weights_[i] = (weight(a, static_cast<unsigned>(qRed(d))) << 16) |
                          (weight(a, static_cast<unsigned>(qGreen(d))) << 8) |
                          weight(a, static_cast<unsigned>(qBlue(d)));
        }
    }
}

const QImage& TintOverlay::picture(const QPixmap& picture, QPoint pictureOffset,
                                   QPoint pictureOrigin, QSize size, QRgb colour) {
    colour &= 0xFFFFFF;
    bool changed = false;
    if (shape_.size() != size) {
        drawShape(size);
        changed = true;
    }
    if (changed || face_.size() != size || faceKey_ != picture.cacheKey() ||
        faceOffset_ != pictureOffset || faceOrigin_ != pictureOrigin) {
        drawFace(picture, pictureOffset, pictureOrigin, size);
        prepareBlend();
        tinted_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
        changed = true;
    }
    if (!changed && colour == colour_)
        return tinted_;

    // Within one step of the exact blend (the weight and the product are each
    // rounded by at most half a step), and never above 255 - d over the base
    // (255 on the inverted face), so the sum does not carry into the next
    // channel. Plain arrays, so that the compiler
    // can vectorise the loop.
    const std::uint32_t red = qRed(colour), green = qGreen(colour), blue = qBlue(colour);
    const std::uint32_t* base = wantsDarkLegend(colour) ? darkBase_.data() : base_.data();
    const std::uint32_t* weights = weights_.data();
    // 32-bit rows have no padding: the picture is one run of pixels, taken
    // with one call (scanLine would check for sharing on every row).
    auto* out = reinterpret_cast<std::uint32_t*>(tinted_.bits());
    const std::size_t pixels = base_.size();
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint32_t w = weights[i];
        out[i] = base[i] + (mul255(red, w >> 16) << 16) + (mul255(green, (w >> 8) & 0xFF) << 8) +
                 mul255(blue, w & 0xFF);
    }
    colour_ = colour;
    return tinted_;
}

}  // namespace keyloom::controls
